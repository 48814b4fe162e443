// Ending programs: by a piece of a window title (the message posted) and every window of the job
// (the message sent), with Close or Quit as the option buttons say.

#include "process_window/frm_process.h"
#include "system/constants.h"
#include "system/system.h"

namespace frm {

namespace {

// A process owns at most 10000 windows (the system's default quota of window objects per
// process), so the by-process loop never needs more passes than that.
constexpr std::size_t kMaxWindowsPerProcess = 10000;

}  // namespace

void frmProcess::cmdDestroy_Click() {
    // 1.
    const std::wstring text = controls_[Id::txtDestroy].Caption();
    if (text.empty()) {
        return;
    }
    // 2.-3.
    const sys::Hwnd h = gethWndFromTitle(text);
    if (h == 0) {
        return;
    }
    // 4. The option is read once a window has been found.
    const std::uint32_t message = controls_[Id::Option1_0].Value() ? sys::kWmClose : sys::kWmQuit;
    state_.ApiResult = sys::PostMessageA(h, message, 0, 0);
}

void frmProcess::cmdDestroyByProcessID_Click() {
    // 1. The caption only decides whether anything happens; the id used is JobProcessID.
    if (controls_[Id::lblProcessID].Caption().empty()) {
        return;
    }
    // 2.
    const sys::ProcessId pid = state_.JobProcessID;
    DestroyByProcessID(pid);
}

void frmProcess::DestroyByProcessID(const sys::ProcessId& pid) {
    // 1.
    sys::Hwnd h = gethWndFromProcessID(pid);
    // 2.
    for (std::size_t passes = 0; h != 0 && passes < kMaxWindowsPerProcess; ++passes) {
        // 2.1 Read anew in every pass.
        const std::uint32_t message =
            controls_[Id::Option2_0].Value() ? sys::kWmClose : sys::kWmQuit;
        // 2.2 Sent: the window's procedure has run when the call returns.
        state_.ApiResult = sys::SendMessageA(h, message, 0, 0);
        // 2.3
        const sys::Hwnd next = gethWndFromProcessID(pid);
        // A window still there after its message (its program refused or postponed the close; a
        // sent quit reaches only its procedure) would be found again at once and forever: the
        // loop ends with it.
        if (next == h) {
            break;
        }
        h = next;
    }
}

}  // namespace frm
