// Windows binding of the runtime facilities that concern the program itself: its folder and name,
// and its end.

#include <string>

#include "runtime/rules.h"
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

std::wstring ProgramFolder() {
    return runtime::FolderOfPath(runtime::PlainExecutablePath(ExecutablePath()));
}

std::wstring ProgramFileName() {
    return runtime::FileNameWithoutExtension(ExecutablePath());
}

void EndProgram() {
    ExitProcess(0);
}

}  // namespace sys
