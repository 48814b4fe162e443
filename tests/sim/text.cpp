#include "text.h"

#include <cstdint>

namespace sim {

std::wstring ThroughAnsi(const std::wstring& text) {
    std::wstring result = text;
    for (auto& c : result) {
        if (static_cast<std::uint32_t>(c) > 0xFF) {
            c = L'?';
        }
    }
    return result;
}

std::wstring UpperCase(const std::wstring& text) {
    std::wstring result = text;
    for (auto& c : result) {
        const auto code = static_cast<std::uint32_t>(c);
        if ((c >= L'a' && c <= L'z') || (code >= 0xE0 && code <= 0xFE && code != 0xF7)) {
            c = static_cast<wchar_t>(code - 0x20);
        }
    }
    return result;
}

}  // namespace sim
