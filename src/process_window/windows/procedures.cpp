#include "process_window/windows/procedures.h"

#include "process_window/windows/form_window.h"
#include "window_resources.h"

namespace frm::win {

namespace {

FormWindow* current = nullptr;  // the thread's window

// A failure inside a message of the window that no handler caught (a control refusing a change
// the binding makes on its own): reported like one inside a handler. Nothing may unwind through
// the system's code.
template <typename Handler>
LRESULT Guarded(Handler handler) {
    try {
        return handler();
    } catch (const sys::Failure& failure) {
        sys::ReportUnhandledFailure(failure);
    }
}

bool IsControlColour(UINT message) {
    return message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN ||
           message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
}

std::int16_t ModifierMask() {
    return static_cast<std::int16_t>((GetKeyState(VK_SHIFT) < 0 ? 1 : 0) |
                                     (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
                                     (GetKeyState(VK_MENU) < 0 ? 4 : 0));
}

}  // namespace

bool Procedures::Clicked(FormWindow& form, HWND window, UINT message) {
    if (message == WM_LBUTTONDOWN) {
        form.OnPress(window);
        return true;
    }
    if (message == WM_LBUTTONUP) {
        // A click: the button went down and up again on the same window.
        if (std::exchange(form.pressed_, nullptr) == window) {
            form.OnClick(window);
        }
        return true;
    }
    return false;
}

void Procedures::Register(HINSTANCE instance, FormWindow* window) {
    current = window;
    static const bool registered = [instance] {
        WNDCLASSEXW form{};
        form.cbSize = sizeof form;
        form.lpfnWndProc = Form;
        form.hInstance = instance;
        form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        form.lpszClassName = kFormClass;
        // The window's one icon, at its own size (16 x 16), for the title bar and the taskbar.
        form.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(ZARVIK_WINDOW_ICON),
                                                   IMAGE_ICON, 0, 0, LR_SHARED));
        form.hIconSm = form.hIcon;
        RegisterClassExW(&form);
        WNDCLASSEXW panel = form;
        panel.lpfnWndProc = Container;
        panel.hIcon = panel.hIconSm = nullptr;
        panel.hbrBackground = nullptr;  // painted in the control's own colour
        panel.lpszClassName = kPanelClass;
        RegisterClassExW(&panel);
        WNDCLASSEXW frame = panel;
        frame.lpszClassName = kFrameClass;
        RegisterClassExW(&frame);
        WNDCLASSEXW image = panel;
        image.lpfnWndProc = Image;
        image.lpszClassName = kImageClass;
        RegisterClassExW(&image);
        return true;
    }();
    static_cast<void>(registered);
}

LRESULT CALLBACK Procedures::Form(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    FormWindow* form = current;
    if (form == nullptr || (form->window_ != nullptr && form->window_ != window)) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return Guarded([&]() -> LRESULT {
        if (Clicked(*form, window, message)) {
            return 0;
        }
        switch (message) {
            case WM_SIZE:
                form->OnSize(wParam);
                return 0;
            case WM_SETFOCUS:
                form->form_.Raise(Event::GotFocus);
                return 0;
            case WM_COMMAND:
                form->OnCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
                return 0;
            case WM_TIMER:
                form->form_.Raise(Event::Timer, Id::tmrRunning);
                return 0;
            case WM_NCDESTROY:
                form->OnDestroyed();
                return DefWindowProcW(window, message, wParam, lParam);
            default:
                if (IsControlColour(message)) {
                    return form->OnControlColour(reinterpret_cast<HDC>(wParam),
                                                 reinterpret_cast<HWND>(lParam), message, window,
                                                 wParam, lParam);
                }
                return DefWindowProcW(window, message, wParam, lParam);
        }
    });
}

LRESULT CALLBACK Procedures::Container(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    FormWindow* form = current;
    if (form == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return Guarded([&]() -> LRESULT {
        if (Clicked(*form, window, message)) {
            return 0;
        }
        switch (message) {
            case WM_ERASEBKGND:
                form->PaintBackground(window, reinterpret_cast<HDC>(wParam));
                return 1;
            case WM_PAINT: {
                PAINTSTRUCT paint{};
                const HDC dc = BeginPaint(window, &paint);
                form->PaintFrame(window, dc);
                EndPaint(window, &paint);
                return 0;
            }
            default:
                // The container's controls tell the window, which handles what they report.
                if (message == WM_COMMAND || IsControlColour(message)) {
                    return SendMessageW(form->window_, message, wParam, lParam);
                }
                return DefWindowProcW(window, message, wParam, lParam);
        }
    });
}

LRESULT CALLBACK Procedures::Image(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    FormWindow* form = current;
    if (form == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return Guarded([&]() -> LRESULT {
        if (Clicked(*form, window, message)) {
            return 0;
        }
        switch (message) {
            case WM_ERASEBKGND:
                return 1;  // the picture covers it all
            case WM_PAINT: {
                PAINTSTRUCT paint{};
                const HDC dc = BeginPaint(window, &paint);
                RECT area{};
                GetClientRect(window, &area);
                form->picture_.Draw(dc, area);  // stretched to the control's size
                EndPaint(window, &paint);
                return 0;
            }
            default:
                return DefWindowProcW(window, message, wParam, lParam);
        }
    });
}

LRESULT CALLBACK Procedures::KeyPreview(int code, WPARAM wParam, LPARAM lParam) {
    FormWindow* form = current;
    if (code == HC_ACTION && wParam == PM_REMOVE && form != nullptr && form->window_ != nullptr) {
        MSG& message = *reinterpret_cast<MSG*>(lParam);
        const bool ours = message.hwnd == form->window_ || IsChild(form->window_, message.hwnd);
        if (ours && message.message == WM_KEYDOWN && message.wParam == VK_TAB) {
            // Tab and Shift+Tab move the focus in the order of the tab indexes; the key is
            // taken, so that no control acts on it as well.
            form->OnTab(GetKeyState(VK_SHIFT) < 0);
            message.message = WM_NULL;
        } else if (ours && (message.message == WM_KEYUP || message.message == WM_SYSKEYUP)) {
            const auto key = static_cast<std::int16_t>(message.wParam);
            const std::int16_t shift = ModifierMask();
            Guarded([&]() -> LRESULT {
                form->form_.RaiseKeyUp(key, shift);
                return 0;
            });
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace frm::win
