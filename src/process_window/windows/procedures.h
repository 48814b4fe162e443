#pragma once

// The window procedures of frmProcess and its own kinds of control, and the key-preview hook:
// each switches on the message and hands it to the binding, which raises the event.

#include "system/windows/win32.h"

namespace frm::win {

class FormWindow;

inline constexpr wchar_t kFormClass[] = L"ZarvikProcessWindow";
inline constexpr wchar_t kPanelClass[] = L"ZarvikPanel";
inline constexpr wchar_t kFrameClass[] = L"ZarvikFrame";
inline constexpr wchar_t kImageClass[] = L"ZarvikImage";

struct Procedures {
    // Registers the window classes once, and makes `window` the thread's window (null: none).
    static void Register(HINSTANCE instance, FormWindow* window);
    // Handles the left button's messages on the window or one of its own controls; gives
    // whether the message was one of them.
    static bool Clicked(FormWindow& form, HWND window, UINT message);

    static LRESULT CALLBACK Form(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Panels and frames: containers in their own colour that hand their controls'
    // notifications and colour requests on to the window.
    static LRESULT CALLBACK Container(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK Image(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK KeyPreview(int code, WPARAM wParam, LPARAM lParam);
};

}  // namespace frm::win
