// Creating frmProcess and its controls from the design, and mirroring the control model into
// them.

#include "process_window/windows/form_window.h"

#include "process_window/windows/dpi.h"
#include "process_window/windows/procedures.h"
#include "window_resources.h"

namespace frm::win {

namespace {

constexpr UINT_PTR kTimerId = 1;

int ScreenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

struct ClassAndStyle {
    const wchar_t* windowClass;
    DWORD style;
    DWORD extendedStyle;
};

// The system's window class and styles of each kind of control. Labels take their clicks
// (SS_NOTIFY) instead of passing them to the strip below, and show "&" as it is (SS_NOPREFIX):
// lblJob shows other programs' titles.
ClassAndStyle ClassOf(const ControlDesign& design) {
    switch (design.kind) {
        case Kind::Panel:
            return {kPanelClass, WS_CLIPCHILDREN | WS_TABSTOP, 0};
        case Kind::ListBox:
            return {L"LISTBOX", WS_VSCROLL | WS_BORDER | WS_TABSTOP | LBS_NOINTEGRALHEIGHT, 0};
        case Kind::Frame:
            return {kFrameClass, WS_CLIPCHILDREN, 0};
        case Kind::OptionButton:
            return {L"BUTTON", BS_RADIOBUTTON | WS_TABSTOP, 0};
        case Kind::CommandButton:
            return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
        case Kind::TextBox:
            return {L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case Kind::Label: {
            // The value fields are framed, as fields are.
            const bool valueField = design.back == SystemColour(kColorWindow);
            return {L"STATIC", SS_LEFT | SS_NOTIFY | SS_NOPREFIX | (valueField ? WS_BORDER : 0u),
                    0};
        }
        case Kind::Image:
            return {kImageClass, 0, 0};
        case Kind::Timer:
            break;
    }
    return {nullptr, 0, 0};
}

[[noreturn]] void FailWithLastError() {
    throw sys::win::LastErrorFailure();
}

}  // namespace

FormWindow::FormWindow(frmProcess& form, std::function<void()> onDestroyed)
    : form_(form),
      onDestroyed_(std::move(onDestroyed)),
      instance_(GetModuleHandleW(nullptr)),
      dpi_(ScreenDpi()),
      gdi_(dpi_),
      picture_(instance_, ZARVIK_WINDOW_PICTURE) {
    Procedures::Register(instance_, this);
    // The design's client area, for the window's normal (restored) size.
    RECT outer{0, 0, Pixels(static_cast<float>(kFormDesign.clientWidth), dpi_),
               Pixels(static_cast<float>(kFormDesign.clientHeight), dpi_)};
    AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, FALSE, 0);
    window_ =
        CreateWindowExW(0, kFormClass, kFormDesign.caption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                        CW_USEDEFAULT, CW_USEDEFAULT, outer.right - outer.left,
                        outer.bottom - outer.top, nullptr, nullptr, instance_, nullptr);
    if (window_ == nullptr) {
        FailWithLastError();
    }
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(gdi_.FontFor(kFormDesign.font)),
                 FALSE);
    form_.controls().form().hWnd = static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(window_));
    CreateControls();
    form_.controls().SetMirror(this);
    // Key preview: the window sees every key released in it, whichever control has the focus,
    // in whatever message loop the thread takes it from.
    keyPreview_ = decltype(keyPreview_)(
        SetWindowsHookExW(WH_GETMESSAGE, Procedures::KeyPreview, nullptr, GetCurrentThreadId()));
}

FormWindow::~FormWindow() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
    Procedures::Register(instance_, nullptr);
}

void FormWindow::Show() {
    ShowWindow(window_, SW_SHOWMAXIMIZED);
    UpdateWindow(window_);
}

void FormWindow::CreateControls() {
    for (const ControlDesign& design : kControls) {
        controls_[static_cast<std::size_t>(design.id)] = CreateControl(design);
    }
}

HWND FormWindow::CreateControl(const ControlDesign& design) {
    const auto [windowClass, style, extendedStyle] = ClassOf(design);
    if (windowClass == nullptr) {
        return nullptr;  // the timer has no window
    }
    const Control& control = form_[design.id];
    const HWND parent = design.container ? WindowOf(*design.container) : window_;
    const Placement& at = control.placement();
    const HWND window =
        CreateWindowExW(extendedStyle, windowClass, control.Caption().c_str(),
                        WS_CHILD | WS_CLIPSIBLINGS | style | (control.Visible() ? WS_VISIBLE : 0u) |
                            (control.Enabled() ? 0u : WS_DISABLED),
                        Pixels(at.left, dpi_), Pixels(at.top, dpi_), Pixels(at.width, dpi_),
                        Pixels(at.height, dpi_), parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlWindowId(design.id))),
                        instance_, nullptr);
    if (window == nullptr) {
        FailWithLastError();
    }
    const Font& font = design.font.face != nullptr ? design.font : kFormDesign.font;
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(gdi_.FontFor(font)), FALSE);
    if (design.kind == Kind::OptionButton) {
        SendMessageW(window, BM_SETCHECK, control.Value() ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    if (design.fore.source != Colour::Source::Default && design.kind == Kind::OptionButton) {
        // Visual styles draw the caption in the theme's colour; the design's needs the classic
        // look.
        using SetTheme = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
        if (const auto setTheme = themes_.Get<SetTheme>("SetWindowTheme")) {
            setTheme(window, L"", L"");
        }
    }
    // A later control lies above an earlier one where they overlap; the system puts a new child
    // window below its siblings.
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return window;
}

const Control* FormWindow::ControlOf(HWND window) const {
    for (std::size_t i = 0; i < kControlCount; ++i) {
        if (controls_[i] == window && window != nullptr) {
            return &form_[static_cast<Id>(i)];
        }
    }
    return nullptr;
}

void FormWindow::Changed(Id id, Property property) {
    const HWND window = WindowOf(id);
    const Control& control = form_[id];
    switch (property) {
        case Property::Caption:
            if (!SetWindowTextW(window, control.Caption().c_str())) {
                FailWithLastError();
            }
            InvalidateRect(window, nullptr, TRUE);  // a frame draws its caption itself
            break;
        case Property::Enabled:
            EnableWindow(window, control.Enabled());
            break;
        case Property::Visible:
            ShowWindow(window, control.Visible() ? SW_SHOWNA : SW_HIDE);
            break;
        case Property::Value:
            SendMessageW(window, BM_SETCHECK, control.Value() ? BST_CHECKED : BST_UNCHECKED, 0);
            break;
        case Property::Position: {
            const Placement& at = control.placement();
            if (!MoveWindow(window, Pixels(at.left, dpi_), Pixels(at.top, dpi_),
                            Pixels(at.width, dpi_), Pixels(at.height, dpi_), TRUE)) {
                FailWithLastError();
            }
            break;
        }
        case Property::Timer:
            ApplyTimer();
            break;
    }
}

void FormWindow::ApplyTimer() {
    const Control& timer = form_[Id::tmrRunning];
    if (timer.Enabled() && timer.Interval() > 0) {
        SetTimer(window_, kTimerId, static_cast<UINT>(timer.Interval()), nullptr);
    } else {
        KillTimer(window_, kTimerId);
    }
}

void FormWindow::BringToFront() {
    SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void FormWindow::OnSize(WPARAM kind) {
    if (controls_[0] == nullptr) {
        return;  // still being created
    }
    FormProperties& properties = form_.controls().form();
    properties.windowState = kind == SIZE_MINIMIZED   ? kMinimized
                             : kind == SIZE_MAXIMIZED ? kMaximized
                                                      : kNormal;
    RECT outer{};
    GetWindowRect(window_, &outer);
    properties.width = Twips(outer.right - outer.left, dpi_);
    properties.height = Twips(outer.bottom - outer.top, dpi_);
    if (kind != SIZE_MINIMIZED) {
        RECT client{};
        GetClientRect(window_, &client);
        form_.controls().DockTop(Twips(client.right, dpi_));
    }
    form_.Raise(Event::Resize);
}

void FormWindow::OnCommand(HWND window, WORD notification) {
    const Control* control = ControlOf(window);
    if (control == nullptr) {
        return;
    }
    const Id id = control->id();
    switch (control->design().kind) {
        case Kind::CommandButton:
            if (notification == BN_CLICKED) {
                form_.Raise(Event::Click, id);
            }
            break;
        case Kind::OptionButton:
            if (notification == BN_CLICKED) {
                form_[id].SetValue(true);  // selects it and clears its partner
                form_.Raise(Event::Click, id);
            }
            break;
        case Kind::TextBox:
            if (notification == EN_CHANGE) {
                const int length = GetWindowTextLengthW(window);
                std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
                text.resize(static_cast<std::size_t>(
                    GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
                form_[id].ReflectCaption(std::move(text));
            }
            break;
        default:
            break;
    }
}

void FormWindow::OnTab(bool backwards) {
    const Control* focused = ControlOf(GetFocus());
    const auto next = form_.controls().NextInTabOrder(
        focused != nullptr ? std::optional(focused->id()) : std::nullopt, backwards);
    if (next) {
        SetFocus(WindowOf(*next));
    }
}

void FormWindow::OnPress(HWND window) {
    const Control* control = ControlOf(window);
    if (control != nullptr && control->design().kind == Kind::Panel) {
        SetFocus(window);  // a panel takes the focus; a frame does not
    }
    pressed_ = window;
}

void FormWindow::PaintBackground(HWND container, HDC dc) {
    RECT area{};
    GetClientRect(container, &area);
    const Control* control = ControlOf(container);
    const COLORREF back =
        ColourValue(control != nullptr ? control->design().back : Colour{}, COLOR_BTNFACE);
    FillRect(dc, &area, gdi_.BrushFor(back));
}

// A frame as a group box: an etched border from the middle of its caption's height down, and
// the caption in the frame's colours and font over the border's top edge.
void FormWindow::PaintFrame(HWND frame, HDC dc) {
    const Control* control = ControlOf(frame);
    if (control == nullptr || control->design().kind != Kind::Frame) {
        return;
    }
    const ControlDesign& design = control->design();
    const HGDIOBJ previous = SelectObject(dc, gdi_.FontFor(design.font));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    RECT border{};
    GetClientRect(frame, &border);
    border.top += metrics.tmHeight / 2;
    DrawEdge(dc, &border, EDGE_ETCHED, BF_RECT);
    SetTextColor(dc, ColourValue(design.fore, COLOR_BTNTEXT));
    SetBkColor(dc, ColourValue(design.back, COLOR_BTNFACE));
    SetBkMode(dc, OPAQUE);
    RECT caption{MulDiv(6, dpi_, 96), 0, border.right, metrics.tmHeight};
    DrawTextW(dc, control->Caption().c_str(), -1, &caption,
              DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    SelectObject(dc, previous);
}

void FormWindow::OnClick(HWND window) {
    if (window == window_) {
        form_.Raise(Event::Click);
    } else if (const Control* control = ControlOf(window)) {
        form_.Raise(Event::Click, control->id());
    }
}

LRESULT FormWindow::OnControlColour(HDC dc, HWND control, UINT message, HWND parent, WPARAM wParam,
                                    LPARAM lParam) {
    const Control* found = ControlOf(control);
    if (found == nullptr || (found->design().back.source == Colour::Source::Default &&
                             found->design().fore.source == Colour::Source::Default)) {
        return DefWindowProcW(parent, message, wParam, lParam);
    }
    const ControlDesign& design = found->design();
    const bool field = design.kind == Kind::TextBox || design.kind == Kind::ListBox;
    const COLORREF back = ColourValue(design.back, field ? COLOR_WINDOW : COLOR_BTNFACE);
    SetTextColor(dc, ColourValue(design.fore, field ? COLOR_WINDOWTEXT : COLOR_BTNTEXT));
    SetBkColor(dc, back);
    return reinterpret_cast<LRESULT>(gdi_.BrushFor(back));
}

void FormWindow::OnDestroyed() {
    // Nothing of the model reaches the real controls any more.
    form_.controls().SetMirror(nullptr);
    KillTimer(window_, kTimerId);
    keyPreview_.reset();
    controls_.fill(nullptr);
    window_ = nullptr;
    if (onDestroyed_) {
        onDestroyed_();
    }
}

}  // namespace frm::win
