#pragma once

#include <cstdint>
#include <string>

namespace sys {

// Plain decimal text of a number, without leading zeros or blanks. Written out because the
// standard library's conversions pull the whole C printf machinery into the executable.
inline std::wstring DecimalText(std::int64_t value) {
    const bool negative = value < 0;
    std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    wchar_t digits[24];
    std::size_t count = 0;
    do {
        digits[count++] = static_cast<wchar_t>(L'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    std::wstring text = negative ? L"-" : L"";
    while (count > 0) {
        text += digits[--count];
    }
    return text;
}

}  // namespace sys
