#include "startup/close_window_and_wait.h"

#include "system/owned.h"
#include "system/system.h"

namespace startup {

void CloseWindowAndWait(std::wstring title) {
    const sys::Hwnd window = sys::FindWindowA(std::nullopt, title);
    if (window == 0) {
        return;
    }
    sys::ProcessId process = 0;
    sys::GetWindowThreadProcessId(window, &process);
    // Opened before the close request is posted, so that the process cannot end and its id be
    // taken by another process in between. The right to wait is all that is asked for.
    const sys::OwnedHandle handle(sys::OpenProcess(sys::kSynchronize, 0, process));
    sys::PostMessageA(window, sys::kWmClose, 0, 0);
    // No time limit: a program that asks whether to save, and is told not to close, is waited for
    // until it ends some other way. Without a handle the wait fails at once.
    sys::WaitForSingleObject(handle.get(), sys::kInfinite);
}

}  // namespace startup
