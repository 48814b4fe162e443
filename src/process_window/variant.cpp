#include "process_window/variant.h"

#include <algorithm>
#include <cmath>
#include <cwctype>

#include "system/failure.h"

namespace frm {

namespace {

sys::Failure TypeMismatch() {
    return sys::Failure(13, L"Typen unvertr\u00e4glich");
}
sys::Failure Overflow() {
    return sys::Failure(6, L"\u00dcberlauf");
}

std::int32_t Rounded(double number) {
    if (!std::isfinite(number)) {
        throw Overflow();
    }
    const double rounded = std::nearbyint(number);  // the default mode rounds half to even
    if (rounded < -2147483648.0 || rounded > 2147483647.0) {
        throw Overflow();
    }
    return static_cast<std::int32_t>(rounded);
}

// A decimal number: sign, digits with an optional "." among them, an optional exponent. Read
// digit by digit and rounded exactly (half to even), without the C library's floating-point
// reader, which would be the largest piece of the executable.
std::int32_t FromDecimal(const std::wstring& number) {
    std::size_t at = 0;
    const bool negative = number[at] == L'-';
    if (number[at] == L'-' || number[at] == L'+') {
        ++at;
    }
    std::wstring digits;
    std::ptrdiff_t point = -1;  // digits before the decimal point
    for (; at < number.size() && (std::iswdigit(number[at]) || number[at] == L'.'); ++at) {
        if (number[at] == L'.') {
            if (point >= 0) {
                throw TypeMismatch();
            }
            point = static_cast<std::ptrdiff_t>(digits.size());
        } else {
            digits += number[at];
        }
    }
    if (digits.empty()) {
        throw TypeMismatch();
    }
    if (point < 0) {
        point = static_cast<std::ptrdiff_t>(digits.size());
    }
    if (at < number.size()) {
        if (number[at] != L'e' && number[at] != L'E') {
            throw TypeMismatch();
        }
        ++at;
        const bool negativeExponent = at < number.size() && number[at] == L'-';
        if (at < number.size() && (number[at] == L'-' || number[at] == L'+')) {
            ++at;
        }
        if (at == number.size()) {
            throw TypeMismatch();
        }
        std::ptrdiff_t exponent = 0;
        for (; at < number.size(); ++at) {
            if (!std::iswdigit(number[at])) {
                throw TypeMismatch();
            }
            exponent = std::min<std::ptrdiff_t>(exponent * 10 + (number[at] - L'0'), 100000);
        }
        point += negativeExponent ? -exponent : exponent;
    }
    // The whole part, then the first digit after it and whether any other follows.
    std::int64_t whole = 0;
    for (std::ptrdiff_t i = 0; i < point; ++i) {
        const wchar_t digit = i < static_cast<std::ptrdiff_t>(digits.size()) ? digits[i] : L'0';
        whole = whole * 10 + (digit - L'0');
        if (whole > 2147483648LL) {
            throw Overflow();
        }
    }
    const auto digitAt = [&](std::ptrdiff_t i) {
        return i >= 0 && i < static_cast<std::ptrdiff_t>(digits.size()) ? digits[i] - L'0' : 0;
    };
    const int first = digitAt(point);
    bool rest = false;
    for (std::ptrdiff_t i = std::max<std::ptrdiff_t>(point + 1, 0);
         i < static_cast<std::ptrdiff_t>(digits.size()); ++i) {
        rest = rest || digits[i] != L'0';
    }
    if (first > 5 || (first == 5 && (rest || whole % 2 == 1))) {
        ++whole;
    }
    const std::int64_t value = negative ? -whole : whole;
    if (value < -2147483648LL || value > 2147483647LL) {
        throw Overflow();
    }
    return static_cast<std::int32_t>(value);
}

std::int32_t FromText(const std::wstring& text) {
    std::size_t first = 0;
    std::size_t end = text.size();
    while (first < end && std::iswspace(text[first])) {
        ++first;
    }
    while (end > first && std::iswspace(text[end - 1])) {
        --end;
    }
    const std::wstring number = text.substr(first, end - first);
    if (number.empty()) {
        throw TypeMismatch();
    }
    if (number.size() > 2 && number[0] == L'&' && (number[1] == L'H' || number[1] == L'h')) {
        // Hexadecimal: up to eight digits, their bits taken as a 32-bit integer.
        std::uint32_t value = 0;
        const std::wstring digits = number.substr(2);
        for (const wchar_t c : digits) {
            const int digit = std::iswdigit(c)           ? c - L'0'
                              : (c >= L'a' && c <= L'f') ? c - L'a' + 10
                              : (c >= L'A' && c <= L'F') ? c - L'A' + 10
                                                         : -1;
            if (digit < 0) {
                throw TypeMismatch();
            }
            value = value * 16 + static_cast<std::uint32_t>(digit);
        }
        if (digits.size() > 8) {
            throw Overflow();
        }
        return static_cast<std::int32_t>(value);
    }
    return FromDecimal(number);
}

struct Converter {
    std::int32_t operator()(Empty) const { return 0; }
    std::int32_t operator()(Null) const {
        throw sys::Failure(94, L"Unzul\u00e4ssige Verwendung von Null");
    }
    std::int32_t operator()(Boolean b) const { return b.value != 0 ? -1 : 0; }
    std::int32_t operator()(std::int16_t n) const { return n; }
    std::int32_t operator()(std::int32_t n) const { return n; }
    std::int32_t operator()(float n) const { return Rounded(n); }
    std::int32_t operator()(double n) const { return Rounded(n); }
    std::int32_t operator()(const std::wstring& text) const { return FromText(text); }
};

}  // namespace

std::int32_t ToLong(const Variant& value) {
    return std::visit(Converter{}, value);
}

}  // namespace frm
