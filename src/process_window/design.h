#pragma once

// The design of frmProcess: the window's own settings and one row per control, in creation
// order, as the window's designer left them. Positions and sizes are in twips (1/1440 inch) from
// the top-left corner of the container's client area.

#include <array>
#include <cstdint>
#include <optional>

namespace frm {

// The controls in creation order; the index into the design table.
enum class Id : std::uint8_t {
    Picture1,
    List1,
    tmrRunning,
    picAdmin,
    frmDestroyByProcessID,
    Option2_0,
    Option2_1,
    cmdDestroyByProcessID,
    fraDetroyByTitle,
    cmdDestroy,
    Option1_0,
    txtDestroy,
    Option1_1,
    cmdKill,
    fraStart,
    cmdCreateProcess,
    cmdShell,
    txtStart,
    lblStillRunning,
    lblJob,
    lblProcessMess,
    lblThreadMess,
    lblProcessIDMess,
    lblThreadIDMess,
    lblProcess,
    lblThread,
    lblProcessID,
    lblThreadID,
    Image1,
};
inline constexpr std::size_t kControlCount = static_cast<std::size_t>(Id::Image1) + 1;

// Panel: a windowed container that can take the focus. Frame: a captioned group box. Label:
// static text that takes no focus. Image: a picture. Timer: nothing on screen.
enum class Kind : std::uint8_t {
    Panel,
    ListBox,
    Timer,
    Frame,
    OptionButton,
    CommandButton,
    TextBox,
    Label,
    Image
};

// A colour as an RGB triple, as a system colour by its index, or the kind's default.
struct Colour {
    enum class Source : std::uint8_t { Default, Rgb, System };
    Source source = Source::Default;
    std::uint32_t value = 0;  // 0x00BBGGRR, or the system colour's index

    friend constexpr bool operator==(const Colour&, const Colour&) = default;
};
constexpr Colour Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return {Colour::Source::Rgb, static_cast<std::uint32_t>(red | (green << 8) | (blue << 16))};
}
constexpr Colour SystemColour(std::uint32_t index) {
    return {Colour::Source::System, index};
}
inline constexpr std::uint32_t kColorScrollbar = 0;
inline constexpr std::uint32_t kColorWindow = 5;
inline constexpr std::uint32_t kColorWindowText = 8;
inline constexpr std::uint32_t kColorHighlight = 13;

// A font; a control without one of its own uses the window's.
struct Font {
    const wchar_t* face = nullptr;  // null: the window's font
    std::uint16_t hundredthsOfPoints = 0;
    std::uint16_t weight = 400;
    bool underline = false;

    friend constexpr bool operator==(const Font&, const Font&) = default;
};

struct ControlDesign {
    Id id;
    const wchar_t* name;  // the designer's name, shared by the two buttons of an array
    std::int8_t index;    // the index within its control array, or -1
    Kind kind;
    std::optional<Id> container;  // nothing: the window itself
    std::int32_t left, top, width, height;
    std::int8_t tabIndex;  // -1: none (the timer and the image have none)
    const wchar_t* caption;
    Colour back, fore;
    Font font;
    bool visible, enabled, value;  // value: the option button is selected
    bool dockedTop;
};

// The window's own settings.
struct FormDesign {
    const wchar_t* caption;
    std::int32_t clientWidth, clientHeight;  // twips, at design
    Font font;
    bool opensMaximized;
    bool keyPreview;
};

extern const FormDesign kFormDesign;
extern const std::array<ControlDesign, kControlCount> kControls;

inline const ControlDesign& DesignOf(Id id) {
    return kControls[static_cast<std::size_t>(id)];
}

// The control ID of a control's window: 1000 + its tab index, and 1027 for Image1.
std::int32_t ControlWindowId(Id id);

}  // namespace frm
