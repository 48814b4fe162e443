#include <algorithm>

#include "system/decimal_text.h"
#include "system/windows/win32.h"

namespace sys::win {

std::string ToAnsi(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int wideLength = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(CP_ACP, 0, text.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(std::max(length, 0)), '\0');
    if (length > 0) {
        WideCharToMultiByte(CP_ACP, 0, text.data(), wideLength, ansi.data(), length, nullptr,
                            nullptr);
    }
    return ansi;
}

std::wstring FromAnsi(const char* text, std::size_t length) {
    if (length == 0) {
        return {};
    }
    const int ansiLength = static_cast<int>(length);
    const int wideLength = MultiByteToWideChar(CP_ACP, 0, text, ansiLength, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(std::max(wideLength, 0)), L'\0');
    if (wideLength > 0) {
        MultiByteToWideChar(CP_ACP, 0, text, ansiLength, wide.data(), wideLength);
    }
    return wide;
}

std::string AnsiBuffer(const std::wstring& wideBuffer, std::size_t capacity) {
    std::string buffer = ToAnsi(wideBuffer);
    if (buffer.size() < capacity) {
        buffer.resize(capacity, ' ');
    }
    return buffer;
}

std::wstring ErrorDescription(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring description = length != 0 ? std::wstring(text, length) : std::wstring();
    LocalFree(text);
    while (!description.empty() && (description.back() == L'\n' || description.back() == L'\r' ||
                                    description.back() == L' ')) {
        description.pop_back();
    }
    if (description.empty()) {
        description = L"Error " + DecimalText(error);
    }
    return description;
}

}  // namespace sys::win
