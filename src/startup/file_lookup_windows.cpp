// Windows binding of the file lookup.

#include <string>

#include "startup/runtime_rules.h"
#include "system/system.h"
#include "system/windows/win32.h"

namespace sys {

namespace {

// A search that finds nothing on a drive letter the system does not have says only "path not
// found"; that drive cannot be read, which is a failure and not an empty answer.
bool NamesMissingDrive(const std::wstring& path) {
    if (path.size() < 2 || path[1] != L':') {
        return false;
    }
    const std::wstring root{path[0], L':', L'\\'};
    return GetDriveTypeW(root.c_str()) == DRIVE_NO_ROOT_DIR;
}

}  // namespace

std::wstring LookUpFile(const std::wstring& path) {
    WIN32_FIND_DATAW entry{};
    const win::ScopedHandle find(
        FindFirstFileExW(path.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0),
        &FindClose);
    if (!find.valid()) {
        const DWORD error = GetLastError();
        if (!startup::MeansNoSuchFile(error)) {
            throw win::FailureOf(error);  // not ready, unreachable share, access denied, ...
        }
        if (NamesMissingDrive(path)) {
            throw win::FailureOf(ERROR_INVALID_DRIVE);
        }
        return L"";
    }
    // A name with wildcards may match several entries; the first that counts is the answer.
    do {
        if (startup::CountsAsFile(entry.dwFileAttributes)) {
            return entry.cFileName;
        }
    } while (FindNextFileW(find.get(), &entry));
    const DWORD error = GetLastError();
    if (error != ERROR_NO_MORE_FILES) {
        throw win::FailureOf(error);
    }
    return L"";
}

}  // namespace sys
