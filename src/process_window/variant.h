#pragma once

// The window's public operations take some arguments as variants: a value of any kind, converted
// to the type the operation needs when it uses it. A value that does not convert raises a
// conversion error to the caller.

#include <cstdint>
#include <string>
#include <variant>

namespace frm {

// The Boolean of the window's public interface: 16 bits, True = -1, False = 0.
using VbBool = std::int16_t;
inline constexpr VbBool kTrue = -1;
inline constexpr VbBool kFalse = 0;

struct Empty {};  // a variant that was never given a value
struct Null {};   // the explicit absence of a value
struct Boolean {
    VbBool value = kFalse;
};

using Variant =
    std::variant<Empty, Null, Boolean, std::int16_t, std::int32_t, float, double, std::wstring>;

// The variant as a 32-bit integer, as the runtime converts it: numbers rounded half to even,
// texts read as decimal numbers (blanks around them allowed, "." as the decimal point, an
// exponent) or as "&H" hexadecimal, Empty as 0, True as -1. Raises sys::Failure: 13 for a value
// that is no number, 6 for one outside the 32-bit range, 94 for Null.
std::int32_t ToLong(const Variant& value);

}  // namespace frm
