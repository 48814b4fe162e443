// Windows binding of the user32 calls of the seam: thin forwarding, with ANSI text for the calls
// whose name ends in A.

#include <algorithm>
#include <optional>

#include "system/system.h"
#include "system/windows/win32.h"

namespace sys {

using win::FromNative;
using win::ToHwnd;

namespace {

std::optional<std::string> OptionalAnsi(const std::optional<std::wstring>& text) {
    if (!text) {
        return std::nullopt;
    }
    return win::ToAnsi(*text);
}

const char* PointerTo(const std::optional<std::string>& text) {
    return text ? text->c_str() : nullptr;
}

using GetNextQueueWindowFunction = HWND(WINAPI*)(HWND, INT);

GetNextQueueWindowFunction ResolveGetNextQueueWindow() {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (user32 == nullptr) {
        return nullptr;
    }
    return win::ExportAs<GetNextQueueWindowFunction>(GetProcAddress(user32, "GetNextQueueWindow"));
}

}  // namespace

Hwnd FindWindowA(const std::optional<std::wstring>& className,
                 const std::optional<std::wstring>& windowName) {
    const auto ansiClass = OptionalAnsi(className);
    const auto ansiName = OptionalAnsi(windowName);
    return FromNative(::FindWindowA(PointerTo(ansiClass), PointerTo(ansiName)));
}

Hwnd GetActiveWindow() {
    return FromNative(::GetActiveWindow());
}

Hwnd GetNextQueueWindow(Hwnd window, std::int32_t mode) {
    static const GetNextQueueWindowFunction exported = ResolveGetNextQueueWindow();
    if (exported != nullptr) {
        return FromNative(exported(ToHwnd(window), mode));
    }
    // The documented stand-in: the cyclic walk of the top-level windows in Z-order.
    if (window == 0) {
        return 0;
    }
    HWND next = ::GetWindow(ToHwnd(window), GW_HWNDNEXT);
    if (next == nullptr) {
        next = ::GetWindow(ToHwnd(window), GW_HWNDFIRST);
    }
    return FromNative(next);
}

Hwnd GetWindow(Hwnd window, std::uint32_t command) {
    return FromNative(::GetWindow(ToHwnd(window), command));
}

Hwnd GetParent(Hwnd window) {
    return FromNative(::GetParent(ToHwnd(window)));
}

ThreadId GetWindowThreadProcessId(Hwnd window, ProcessId* processId) {
    DWORD id = processId != nullptr ? *processId : 0;
    const DWORD thread = ::GetWindowThreadProcessId(ToHwnd(window), &id);
    if (processId != nullptr) {
        *processId = id;
    }
    return thread;
}

std::int32_t GetWindowTextA(Hwnd window, std::wstring& buffer, std::int32_t capacity) {
    if (capacity <= 0) {
        return 0;
    }
    if (window == 0) {
        // Windows rejects the handle 0 and gives an empty title; Wine answers with whatever lies
        // in memory there.
        buffer.resize(std::max(buffer.size(), std::size_t{1}), L' ');
        buffer[0] = L'\0';
        return 0;
    }
    std::string ansi = win::AnsiBuffer(buffer, static_cast<std::size_t>(capacity));
    const int copied = ::GetWindowTextA(ToHwnd(window), ansi.data(), capacity);
    buffer = win::FromAnsi(ansi);
    // The count the caller cuts the buffer at is in the program's characters, which differ from
    // the system's bytes where the code page has double-byte characters.
    return copied > 0 ? static_cast<std::int32_t>(
                            win::FromAnsi(ansi.data(), static_cast<std::size_t>(copied)).size())
                      : 0;
}

Bool PostMessageA(Hwnd window, std::uint32_t message, std::uint32_t wParam, std::int32_t lParam) {
    return ::PostMessageA(ToHwnd(window), message, wParam, lParam);
}

std::int32_t SendMessageA(Hwnd window, std::uint32_t message, std::uint32_t wParam,
                          std::int32_t lParam) {
    return static_cast<std::int32_t>(::SendMessageA(ToHwnd(window), message, wParam, lParam));
}

Bool SetWindowPos(Hwnd window, Hwnd insertAfter, std::int32_t x, std::int32_t y, std::int32_t cx,
                  std::int32_t cy, std::uint32_t flags) {
    return ::SetWindowPos(ToHwnd(window), ToHwnd(insertAfter), x, y, cx, cy, flags);
}

Hwnd SetParent(Hwnd child, Hwnd newParent) {
    return FromNative(::SetParent(ToHwnd(child), ToHwnd(newParent)));
}

std::int32_t GetWindowLongA(Hwnd window, std::int32_t index) {
    return ::GetWindowLongA(ToHwnd(window), index);
}

std::int32_t SetWindowLongA(Hwnd window, std::int32_t index, std::int32_t value) {
    return ::SetWindowLongA(ToHwnd(window), index, value);
}

Hwnd SetActiveWindow(Hwnd window) {
    return FromNative(::SetActiveWindow(ToHwnd(window)));
}

}  // namespace sys
