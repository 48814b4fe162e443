// Windows binding of the runtime facilities that concern the program itself: its folder and name,
// and its end.

#include <string>

#include "runtime/guards.h"
#include "runtime/rules.h"
#include "runtime/windows/shell_start.h"
#include "system/system.h"
#include "system/windows/win32.h"

namespace sys {

namespace {

// Longest path GetModuleFileNameW can give (the \\?\ form included).
constexpr DWORD kLongestPath = 32768;

std::wstring ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            throw win::LastErrorFailure();
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        if (path.size() >= kLongestPath) {
            throw win::FailureOf(ERROR_INSUFFICIENT_BUFFER);
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace

static std::wstring ProgramFolderWork() {
    return runtime::FolderOfPath(runtime::PlainExecutablePath(ExecutablePath()));
}

static std::wstring ProgramFileNameWork() {
    return runtime::FileNameWithoutExtension(ExecutablePath());
}

void EndProgram() {
    ExitProcess(0);
}

std::wstring ProgramFolder() {
    return runtime::GuardingMemory([&] { return ProgramFolderWork(); }, runtime::win::OutOfMemory);
}

std::wstring ProgramFileName() {
    return runtime::GuardingMemory([&] { return ProgramFileNameWork(); },
                                   runtime::win::OutOfMemory);
}

}  // namespace sys
