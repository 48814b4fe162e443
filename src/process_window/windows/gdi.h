#pragma once

// The fonts and brushes of the window, made once per distinct design value and deleted with the
// window, and the design's colours as the system's colour values.

#include <map>
#include <tuple>
#include <vector>

#include "process_window/design.h"
#include "system/owned.h"
#include "system/windows/win32.h"

namespace frm::win {

using OwnedFont = sys::Owned<HFONT, &::DeleteObject>;
using OwnedBrush = sys::Owned<HBRUSH, &::DeleteObject>;

// The colour, or `fallback` (a system colour index) for a control that keeps its kind's default.
COLORREF ColourValue(const Colour& colour, int fallback);

class GdiObjects {
  public:
    explicit GdiObjects(int dpi) : dpi_(dpi) {}
    // The font of a design value at the display's DPI.
    HFONT FontFor(const Font& font);
    // A solid brush of the colour.
    HBRUSH BrushFor(COLORREF colour);

  private:
    int dpi_;
    std::vector<std::pair<Font, OwnedFont>> fonts_;
    std::map<COLORREF, OwnedBrush> brushes_;
};

}  // namespace frm::win
