#pragma once

// The Win32 binding of frmProcess: it creates the real window and its controls from the design,
// mirrors every change of the control model into them, and raises their events in the window's
// handlers. It decides nothing itself. One window per thread.

#include <array>
#include <functional>
#include <memory>

#include "process_window/frm_process.h"
#include "process_window/windows/gdi.h"
#include "process_window/windows/picture.h"
#include "process_window/windows/system_library.h"
#include "system/owned.h"
#include "system/windows/win32.h"

namespace frm::win {

class FormWindow final : public ControlMirror {
  public:
    // onDestroyed runs once the real window is gone (closed by the user, say).
    FormWindow(frmProcess& form, std::function<void()> onDestroyed);
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;
    ~FormWindow();

    // Shows the window maximized, as it always opens.
    void Show();
    HWND hwnd() const { return window_; }

    void Changed(Id id, Property property) override;
    void BringToFront() override;

  private:
    friend struct Procedures;

    void CreateControls();
    HWND CreateControl(const ControlDesign& design);
    HWND WindowOf(Id id) const { return controls_[static_cast<std::size_t>(id)]; }
    const Control* ControlOf(HWND window) const;
    void ApplyTimer();

    // What the real window reports, taken into the model and raised as events.
    void OnSize(WPARAM kind);
    void OnCommand(HWND control, WORD notification);
    void OnTab(bool backwards);
    void OnPress(HWND window);
    void OnClick(HWND window);
    void PaintBackground(HWND container, HDC dc);
    void PaintFrame(HWND frame, HDC dc);
    LRESULT OnControlColour(HDC dc, HWND control, UINT message, HWND parent, WPARAM wParam,
                            LPARAM lParam);
    void OnDestroyed();

    frmProcess& form_;
    std::function<void()> onDestroyed_;
    HINSTANCE instance_;
    int dpi_;
    GdiObjects gdi_;
    SystemLibrary themes_{L"uxtheme.dll"};
    Picture picture_;
    HWND window_ = nullptr;
    std::array<HWND, kControlCount> controls_{};
    HWND pressed_ = nullptr;  // the window the left button went down on
    sys::Owned<HHOOK, &::UnhookWindowsHookEx> keyPreview_;
};

}  // namespace frm::win
