#include "process_window/windows/gdi.h"

namespace frm::win {

COLORREF ColourValue(const Colour& colour, int fallback) {
    switch (colour.source) {
        case Colour::Source::Rgb:
            return colour.value;
        case Colour::Source::System:
            return GetSysColor(static_cast<int>(colour.value));
        case Colour::Source::Default:
            break;
    }
    return GetSysColor(fallback);
}

HFONT GdiObjects::FontFor(const Font& font) {
    for (const auto& [made, handle] : fonts_) {
        if (made == font) {
            return handle.get();
        }
    }
    // Points to pixels at the display's DPI, as the character height (a negative height).
    const int height = -MulDiv(font.hundredthsOfPoints, dpi_, 7200);
    OwnedFont handle(CreateFontW(height, 0, 0, 0, font.weight, FALSE, font.underline, FALSE,
                                 DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                 DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font.face));
    const HFONT made = handle.get();
    fonts_.emplace_back(font, std::move(handle));
    return made;
}

HBRUSH GdiObjects::BrushFor(COLORREF colour) {
    auto& brush = brushes_[colour];
    if (!brush) {
        brush = OwnedBrush(CreateSolidBrush(colour));
    }
    return brush.get();
}

}  // namespace frm::win
