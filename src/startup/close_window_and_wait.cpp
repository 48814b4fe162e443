#include "startup/close_window_and_wait.h"

#include "startup/trace.h"
#include "system/decimal_text.h"
#include "system/owned.h"
#include "system/system.h"

namespace startup {

namespace {

void Say(const Trace* trace, const std::wstring& text) {
    if (trace != nullptr) {
        trace->Step(1, text);
    }
}

}  // namespace

void CloseWindowAndWait(std::wstring title, const Trace* trace) {
    const sys::Hwnd window = sys::FindWindowA(std::nullopt, title);
    if (window == 0) {
        Say(trace, L"no window " + Quoted(title) + L": nothing to close");
        return;
    }
    sys::ProcessId process = 0;
    sys::GetWindowThreadProcessId(window, &process);
    // Opened before the close request is posted, so that the process cannot end and its id be
    // taken by another process in between. The right to wait is all that is asked for.
    const sys::OwnedHandle handle(sys::OpenProcess(sys::kSynchronize, 0, process));
    sys::PostMessageA(window, sys::kWmClose, 0, 0);
    Say(trace, L"window " + Quoted(title) + L" of process " + sys::DecimalText(process) +
                   L" asked to close; " +
                   (handle ? L"waiting for its process to end"
                           : L"its process cannot be opened, so it is not waited for"));
    // No time limit: a program that asks whether to save, and is told not to close, is waited for
    // until it ends some other way. Without a handle the wait fails at once.
    const std::uint32_t waited = sys::WaitForSingleObject(handle.get(), sys::kInfinite);
    if (handle) {
        Say(trace, L"process " + sys::DecimalText(process) +
                       (waited == sys::kWaitObject0 ? L" has ended" : L": the wait failed"));
    }
}

}  // namespace startup
