// Windows binding of the message box, the yield and the report of an unhandled failure.

#include <optional>
#include <string>

#include "runtime/guards.h"
#include "runtime/windows/shell_start.h"
#include "system/decimal_text.h"
#include "system/system.h"
#include "system/windows/win32.h"

namespace sys {

namespace {

// A yield handles what is pending, not what keeps arriving: a window that posts to itself on
// every message would otherwise hold the yield forever.
constexpr int kMaxMessagesPerYield = 10000;

}  // namespace

static int ShowMessageBoxWork(const std::wstring& text, std::uint32_t buttonsAndIcon,
                              const std::optional<std::wstring>& title) {
    const std::wstring& caption = title ? *title : std::wstring(kProgramTitle);
    // Task-modal: without an owner window, the box still disables every top-level window of the
    // thread until it is answered.
    const int pressed =
        MessageBoxW(nullptr, text.c_str(), caption.c_str(), buttonsAndIcon | MB_TASKMODAL);
    if (pressed == 0) {
        throw win::LastErrorFailure();
    }
    return pressed;
}

void HandlePendingMessages() {
    MSG message{};
    for (int handled = 0;
         handled < kMaxMessagesPerYield && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);
         ++handled) {
        if (message.message == WM_QUIT) {
            // The message loop that runs after the yield must still see the quit.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void ReportUnhandledFailure(const Failure& failure) {
    const std::wstring text =
        L"Laufzeitfehler " + DecimalText(failure.number()) + L":\r\n\r\n" + failure.description();
    MessageBoxW(nullptr, text.c_str(), kProgramTitle, MB_OK | MB_ICONERROR | MB_TASKMODAL);
    ExitProcess(1);
}

int ShowMessageBox(const std::wstring& text, std::uint32_t buttonsAndIcon,
                   const std::optional<std::wstring>& title) {
    return runtime::GuardingMemory([&] { return ShowMessageBoxWork(text, buttonsAndIcon, title); },
                                   runtime::win::OutOfMemory);
}

}  // namespace sys
