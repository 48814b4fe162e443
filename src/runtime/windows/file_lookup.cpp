// Windows binding of the file lookup.

#include <optional>
#include <string>

#include "runtime/guards.h"
#include "runtime/rules.h"
#include "runtime/windows/shell_start.h"
#include "system/owned.h"
#include "system/system.h"
#include "system/windows/win32.h"

namespace sys {

namespace {

// A search that finds nothing says only "path not found" on some systems when the drive letter
// does not exist or the network share cannot be reached (Wine does). Such a root cannot be read,
// which is a failure and not an empty answer.
std::optional<DWORD> UnreadableRoot(const std::wstring& path) {
    if (path.size() >= 2 && path[1] == L':') {
        const std::wstring root{path[0], L':', L'\\'};
        if (GetDriveTypeW(root.c_str()) == DRIVE_NO_ROOT_DIR) {
            return ERROR_INVALID_DRIVE;
        }
        return std::nullopt;
    }
    if (path.rfind(L"\\\\", 0) == 0) {
        const std::size_t server = path.find(L'\\', 2);
        const std::size_t share =
            server == std::wstring::npos ? std::wstring::npos : path.find(L'\\', server + 1);
        const std::wstring root = path.substr(0, share) + L"\\";
        if (GetFileAttributesW(root.c_str()) == INVALID_FILE_ATTRIBUTES) {
            return ERROR_BAD_NETPATH;
        }
    }
    return std::nullopt;
}

}  // namespace

static std::wstring LookUpFileWork(const std::wstring& path) {
    WIN32_FIND_DATAW entry{};
    const Owned<HANDLE, &::FindClose> find(win::NoneIfInvalid(FindFirstFileExW(
        path.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0)));
    if (!find) {
        const DWORD error = GetLastError();
        if (!runtime::MeansNoSuchFile(error)) {
            throw win::FailureOf(error);  // not ready, unreachable share, access denied, ...
        }
        if (const auto unreadable = UnreadableRoot(path)) {
            throw win::FailureOf(*unreadable);
        }
        return L"";
    }
    // A name with wildcards may match several entries; the first that counts is the answer.
    do {
        if (runtime::CountsAsFile(entry.dwFileAttributes)) {
            return entry.cFileName;
        }
    } while (FindNextFileW(find.get(), &entry));
    const DWORD error = GetLastError();
    if (error != ERROR_NO_MORE_FILES) {
        throw win::FailureOf(error);
    }
    return L"";
}

std::wstring LookUpFile(const std::wstring& path) {
    return runtime::GuardingMemory([&] { return LookUpFileWork(path); }, runtime::win::OutOfMemory);
}

}  // namespace sys
