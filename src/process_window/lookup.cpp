// Window lookup: by process id or by a piece of the title along the queue windows, and the
// top-level window of a process along the Z-order.

#include <unordered_set>

#include "process_window/frm_process.h"
#include "system/constants.h"
#include "system/system.h"

namespace frm {

namespace {

// The mode of GetNextQueueWindow that the lookups walk with.
constexpr std::int32_t kNextQueueWindow = 2;

// A walk examines at most this many windows: a session's table of window handles has no more
// entries, so a sequence that has not come back to its start by then never will.
constexpr std::size_t kMaxWindowsPerWalk = 65536;

constexpr std::int32_t kTitleCapacity = 80;

}  // namespace

sys::Hwnd frmProcess::WalkQueueWindows(const std::function<bool(sys::Hwnd)>& matches) {
    const sys::Hwnd start = sys::GetActiveWindow();
    sys::Hwnd current = start;
    std::unordered_set<sys::Hwnd> met;
    for (std::size_t examined = 0; examined < kMaxWindowsPerWalk; ++examined) {
        current = sys::GetNextQueueWindow(current, kNextQueueWindow);
        // The match test comes first, so the start window is examined last, when the walk is
        // back at it.
        if (matches(current)) {
            return current;
        }
        if (current == start) {
            return 0;
        }
        // A sequence that does not lead back to its start ends too: at a 0 from the step (the
        // start was 0 or destroyed), or at a window met before (a cycle among other windows).
        if (current == 0 || !met.insert(current).second) {
            return 0;
        }
    }
    return 0;
}

sys::Hwnd frmProcess::gethWndFromProcessID(sys::ProcessId ProcessID) {
    // One variable for the whole walk, which a rejected handle leaves as it was.
    sys::ProcessId process = 0;
    return WalkQueueWindows([&](sys::Hwnd window) {
        state_.ApiResult =
            static_cast<std::int32_t>(sys::GetWindowThreadProcessId(window, &process));
        return process == ProcessID;
    });
}

sys::Hwnd frmProcess::gethWndFromTitle(const std::wstring& strAppTitle) {
    // One buffer for the whole walk; each title is taken up to the count the call gives.
    std::wstring buffer(kTitleCapacity, L' ');
    return WalkQueueWindows([&](sys::Hwnd window) {
        const std::int32_t count = sys::GetWindowTextA(window, buffer, kTitleCapacity);
        return count != 0 && buffer.substr(0, static_cast<std::size_t>(count)).find(strAppTitle) !=
                                 std::wstring::npos;
    });
}

sys::Hwnd frmProcess::getTopWndFromProcessID(sys::ProcessId processId) {
    sys::ProcessId process = 0;
    sys::Hwnd current = sys::FindWindowA(std::nullopt, std::nullopt);
    for (std::size_t examined = 0; current != 0 && examined < kMaxWindowsPerWalk; ++examined) {
        // Windows with a parent or an owner are passed over without asking for their process.
        if (sys::GetParent(current) == 0) {
            sys::GetWindowThreadProcessId(current, &process);
            if (process == processId) {
                return current;
            }
        }
        current = sys::GetWindow(current, sys::kGwHwndNext);
    }
    return 0;
}

}  // namespace frm
