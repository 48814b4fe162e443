#include "process_window/variant.h"

#include <cmath>
#include <cwchar>
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
    if (number.size() > 2 && (number[0] == L'&') && (number[1] == L'H' || number[1] == L'h')) {
        // Hexadecimal: up to eight digits, their bits taken as a 32-bit integer.
        const std::wstring digits = number.substr(2);
        if (digits.size() > 8 ||
            digits.find_first_not_of(L"0123456789abcdefABCDEF") != std::wstring::npos) {
            throw digits.size() > 8 ? Overflow() : TypeMismatch();
        }
        return static_cast<std::int32_t>(std::wcstoul(digits.c_str(), nullptr, 16));
    }
    if (number.empty() || number.find_first_not_of(L"0123456789+-.eE") != std::wstring::npos) {
        throw TypeMismatch();
    }
    wchar_t* stop = nullptr;
    const double value = std::wcstod(number.c_str(), &stop);
    if (stop != number.c_str() + number.size()) {
        throw TypeMismatch();
    }
    return Rounded(value);
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
