// Windows binding of the drive and directory change.

#include <string>

#include "system/system.h"
#include "system/windows/win32.h"

namespace sys {

namespace {

bool IsDriveLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

}  // namespace

void ChangeDrive(const std::wstring& drive) {
    if (drive.empty() || !IsDriveLetter(drive.front())) {
        throw win::FailureOf(ERROR_INVALID_DRIVE);
    }
    // "X:" alone names the drive's current directory, its root when it has none yet.
    const std::wstring target{drive.front(), L':'};
    if (!SetCurrentDirectoryW(target.c_str())) {
        const DWORD error = GetLastError();
        throw win::FailureOf(error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND
                                 ? ERROR_INVALID_DRIVE
                                 : error);
    }
}

void ChangeDirectory(const std::wstring& path) {
    // The system resolves "\..." on the current drive and any other path against the current
    // directory.
    if (!SetCurrentDirectoryW(path.c_str())) {
        throw win::LastErrorFailure();
    }
}

}  // namespace sys
