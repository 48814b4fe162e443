#pragma once

// The window's design unit is the twip (1/1440 inch); the display's DPI turns it into pixels.

#include <cmath>

#include "system/windows/win32.h"

namespace frm::win {

inline int Pixels(float twips, int dpi) {
    return MulDiv(static_cast<int>(std::lround(twips)), dpi, 1440);
}

inline float Twips(int pixels, int dpi) {
    return static_cast<float>(MulDiv(pixels, 1440, dpi));
}

}  // namespace frm::win
