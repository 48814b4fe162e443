// Windows binding of the drive and directory change.

#include <string>

#include "runtime/guards.h"
#include "runtime/windows/shell_start.h"
#include "system/system.h"
#include "system/windows/win32.h"

namespace sys {

namespace {

bool IsDriveLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

}  // namespace

static void ChangeDriveWork(const std::wstring& drive) {
    if (drive.empty() || !IsDriveLetter(drive.front())) {
        throw win::FailureOf(ERROR_INVALID_DRIVE);
    }
    // "X:" alone names the folder the drive remembers as its current one, its root when it has
    // none yet. A command prompt hands that folder on to its programs (the hidden "=X:"), and it
    // may no longer exist: then the drive's root is taken, as long as there is such a drive.
    const std::wstring target{drive.front(), L':'};
    if (SetCurrentDirectoryW(target.c_str())) {
        return;
    }
    DWORD error = GetLastError();
    const std::wstring root = target + L'\\';
    if (GetDriveTypeW(root.c_str()) != DRIVE_NO_ROOT_DIR) {
        if (SetCurrentDirectoryW(root.c_str())) {
            return;
        }
        error = GetLastError();
    }
    throw win::FailureOf(error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND
                             ? ERROR_INVALID_DRIVE
                             : error);
}

static void ChangeDirectoryWork(const std::wstring& path) {
    // The system resolves "\..." on the current drive and any other path against the current
    // directory.
    if (!SetCurrentDirectoryW(path.c_str())) {
        throw win::LastErrorFailure();
    }
}

void ChangeDrive(const std::wstring& drive) {
    runtime::GuardingMemory([&] { ChangeDriveWork(drive); }, runtime::win::OutOfMemory);
}

void ChangeDirectory(const std::wstring& path) {
    runtime::GuardingMemory([&] { ChangeDirectoryWork(path); }, runtime::win::OutOfMemory);
}

}  // namespace sys
