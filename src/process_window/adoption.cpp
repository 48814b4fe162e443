// Window adoption: the single steps, public and usable on any window, and EmbedJobWindow, which
// takes the job's top-level window into frmProcess.

#include "process_window/frm_process.h"
#include "system/constants.h"
#include "system/system.h"

namespace frm {

namespace {

constexpr std::int32_t kTitleCapacity = 256;

}  // namespace

std::int32_t frmProcess::SetParentEx(sys::Hwnd ChildWnd, sys::Hwnd NewParentWnd) {
    const sys::Hwnd previous = sys::SetParent(ChildWnd, NewParentWnd);
    // Read after the re-parenting: only a window whose user data is still 0 records its parent.
    if (sys::GetWindowLongA(ChildWnd, sys::kGwlUserData) == 0) {
        sys::SetWindowLongA(ChildWnd, sys::kGwlUserData, static_cast<std::int32_t>(previous));
        return 0;
    }
    return static_cast<std::int32_t>(previous);
}

VbBool frmProcess::SetTopMost(const Variant& hwnd, std::optional<VbBool> State,
                              std::optional<VbBool> Activate) {
    // Converted before any call is made, so a value that does not convert changes nothing.
    const auto window = static_cast<sys::Hwnd>(ToLong(hwnd));
    const VbBool state = State.value_or(kTrue);
    const VbBool activate = Activate.value_or(kTrue);
    const sys::Hwnd insertAfter = state == kTrue    ? sys::kHwndTopMost
                                  : state == kFalse ? sys::kHwndNoTopMost
                                                    : 0;  // the top of the window's band
    std::uint32_t flags = sys::kSwpNoMove | sys::kSwpNoSize;
    if (activate == 0) {
        flags |= sys::kSwpNoActivate;
    }
    return sys::SetWindowPos(window, insertAfter, 0, 0, 0, 0, flags) != 0 ? kTrue : kFalse;
}

void frmProcess::SetOwner(const Variant& FormOwned, const Variant& FormOwner) {
    const auto owned = static_cast<sys::Hwnd>(ToLong(FormOwned));
    const std::int32_t owner = ToLong(FormOwner);
    sys::SetWindowLongA(owned, sys::kGwlHwndParent, owner);
}

void frmProcess::EmbedJobWindow() {
    // 1. The job's top-level window; 0 when it has none (yet).
    const sys::Hwnd h = getTopWndFromProcessID(state_.JobProcessID);
    // 2. Its title, at most 255 characters; empty for 0 or an untitled window.
    std::wstring title(kTitleCapacity, L' ');
    title.resize(static_cast<std::size_t>(sys::GetWindowTextA(h, title, kTitleCapacity)));
    // 3.
    controls_[Id::lblJob].SetCaption(title);
    // 4. Into the topmost band, activated.
    const auto handle = Variant(static_cast<std::int32_t>(h));
    SetTopMost(handle, kTrue, kTrue);
    // 5. A child of this window, its first parent recorded in its user data.
    const auto self = static_cast<sys::Hwnd>(controls_.form().hWnd);
    SetParentEx(h, self);
    // 6. Owned by this window.
    SetOwner(handle, Variant(static_cast<std::int32_t>(self)));
    // 7.
    sys::SetActiveWindow(h);
}

}  // namespace frm
