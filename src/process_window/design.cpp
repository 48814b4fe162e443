#include "process_window/design.h"

namespace frm {

namespace {

constexpr Font kArial{L"Arial", 825, 400, false};
constexpr Font kArialBold{L"Arial", 825, 700, false};
constexpr Font kOwnFont{};  // the window's
constexpr Colour kDefault{};
constexpr Colour kGrey = Rgb(128, 128, 128);
constexpr Colour kLightGrey = Rgb(224, 224, 224);

constexpr ControlDesign Row(Id id, const wchar_t* name, std::int8_t index, Kind kind,
                            std::optional<Id> container, std::int32_t left, std::int32_t top,
                            std::int32_t width, std::int32_t height, std::int8_t tabIndex,
                            const wchar_t* caption) {
    return ControlDesign{id,       name,     index,  kind,     container, left,
                         top,      width,    height, tabIndex, caption,   kDefault,
                         kDefault, kOwnFont, true,   true,     false,     false};
}

constexpr ControlDesign Colours(ControlDesign row, Colour back, Colour fore) {
    row.back = back;
    row.fore = fore;
    return row;
}
constexpr ControlDesign WithFont(ControlDesign row, Font font) {
    row.font = font;
    return row;
}
constexpr ControlDesign Hidden(ControlDesign row) {
    row.visible = false;
    return row;
}
constexpr ControlDesign Disabled(ControlDesign row) {
    row.enabled = false;
    return row;
}
constexpr ControlDesign Selected(ControlDesign row) {
    row.value = true;
    return row;
}
constexpr ControlDesign DockedTop(ControlDesign row) {
    row.dockedTop = true;
    return row;
}
// The frames' grey with light text in bold Arial, and their option buttons' grey and light text.
constexpr ControlDesign FrameLook(ControlDesign row) {
    return WithFont(Colours(row, kGrey, kLightGrey), kArialBold);
}
constexpr ControlDesign OptionLook(ControlDesign row) {
    return Colours(row, kGrey, kLightGrey);
}
// The four value fields: window colours, bold.
constexpr ControlDesign ValueField(ControlDesign row) {
    return WithFont(Colours(row, SystemColour(kColorWindow), SystemColour(kColorWindowText)),
                    kArialBold);
}

constexpr std::optional<Id> kForm{};
constexpr Id kPicture1 = Id::Picture1;
constexpr Id kPicAdmin = Id::picAdmin;

}  // namespace

const FormDesign kFormDesign{L"Ausf\u00fchrung", 11985, 9315, kArial, true, true};

// clang-format off
const std::array<ControlDesign, kControlCount> kControls = {
    DockedTop(Row(Id::Picture1, L"Picture1", -1, Kind::Panel, kForm, 0, 0, 11985, 1515, 0, L"")),
    WithFont(Colours(Row(Id::List1, L"List1", -1, Kind::ListBox, kPicture1, 4800, 0, 5535, 1500, 26, L""),
                     SystemColour(kColorScrollbar), SystemColour(kColorHighlight)), kArialBold),
    Row(Id::tmrRunning, L"tmrRunning", -1, Kind::Timer, kPicture1, 0, 0, 0, 0, -1, L""),
    Hidden(Colours(Row(Id::picAdmin, L"picAdmin", -1, Kind::Panel, kPicture1, 4800, 0, 9855, 2535, 11, L""),
                   kGrey, kDefault)),
    FrameLook(Row(Id::frmDestroyByProcessID, L"frmDestroyByProcessID", -1, Kind::Frame, kPicAdmin, 3600, 240, 2865, 1215, 22, L"ALLE - Nach ProcessID beenden")),
    Selected(OptionLook(Row(Id::Option2_0, L"Option2", 0, Kind::OptionButton, Id::frmDestroyByProcessID, 120, 315, 735, 240, 25, L"Close"))),
    OptionLook(Row(Id::Option2_1, L"Option2", 1, Kind::OptionButton, Id::frmDestroyByProcessID, 120, 600, 960, 240, 24, L"Quit")),
    Disabled(Row(Id::cmdDestroyByProcessID, L"cmdDestroyByProcessID", -1, Kind::CommandButton, Id::frmDestroyByProcessID, 960, 270, 1590, 330, 23, L"Beenden")),
    FrameLook(Row(Id::fraDetroyByTitle, L"fraDetroyByTitle", -1, Kind::Frame, kPicAdmin, 6600, 240, 3105, 1260, 17, L"Nach Namen beenden")),
    Row(Id::cmdDestroy, L"cmdDestroy", -1, Kind::CommandButton, Id::fraDetroyByTitle, 1440, 675, 1590, 330, 21, L"Beenden"),
    Selected(OptionLook(Row(Id::Option1_0, L"Option1", 0, Kind::OptionButton, Id::fraDetroyByTitle, 120, 600, 960, 240, 20, L"Close"))),
    Row(Id::txtDestroy, L"txtDestroy", -1, Kind::TextBox, Id::fraDetroyByTitle, 120, 270, 2895, 330, 19, L""),
    OptionLook(Row(Id::Option1_1, L"Option1", 1, Kind::OptionButton, Id::fraDetroyByTitle, 120, 840, 960, 240, 18, L"Quit")),
    Disabled(Row(Id::cmdKill, L"cmdKill", -1, Kind::CommandButton, kPicAdmin, 120, 1200, 3465, 330, 16, L"TerminateProcess - HOLZHAMMERMETHODE")),
    FrameLook(Row(Id::fraStart, L"fraStart", -1, Kind::Frame, kPicAdmin, 120, 120, 3465, 1035, 12, L"Prozess starten")),
    Row(Id::cmdCreateProcess, L"cmdCreateProcess", -1, Kind::CommandButton, Id::fraStart, 1320, 600, 1935, 330, 15, L"Prozess kreieren"),
    Row(Id::cmdShell, L"cmdShell", -1, Kind::CommandButton, Id::fraStart, 120, 600, 1215, 330, 14, L"Shell-Aufruf"),
    Row(Id::txtStart, L"txtStart", -1, Kind::TextBox, Id::fraStart, 120, 240, 3180, 330, 13, L""),
    Hidden(WithFont(Colours(Row(Id::lblStillRunning, L"lblStillRunning", -1, Kind::Label, kPicture1, 120, 120, 2670, 240, 10, L"Programm arbeitet ...."),
                            kDefault, Rgb(0, 0, 128)), Font{L"Arial", 900, 700, false})),
    WithFont(Row(Id::lblJob, L"lblJob", -1, Kind::Label, kPicture1, 120, 360, 4545, 270, 9, L""),
             Font{L"MS Sans Serif", 825, 400, true}),
    Row(Id::lblProcessMess, L"lblProcessMess", -1, Kind::Label, kPicture1, 120, 800, 1440, 240, 8, L"Process"),
    Row(Id::lblThreadMess, L"lblThreadMess", -1, Kind::Label, kPicture1, 120, 1100, 1320, 240, 7, L"Thread"),
    Row(Id::lblProcessIDMess, L"lblProcessIDMess", -1, Kind::Label, kPicture1, 2520, 800, 1320, 240, 6, L"ProcessID"),
    Row(Id::lblThreadIDMess, L"lblThreadIDMess", -1, Kind::Label, kPicture1, 2520, 1100, 1320, 240, 5, L"ThreadID"),
    ValueField(Row(Id::lblProcess, L"lblProcess", -1, Kind::Label, kPicture1, 1350, 840, 960, 240, 4, L"")),
    ValueField(Row(Id::lblThread, L"lblThread", -1, Kind::Label, kPicture1, 1350, 1100, 960, 240, 3, L"")),
    ValueField(Row(Id::lblProcessID, L"lblProcessID", -1, Kind::Label, kPicture1, 3750, 800, 960, 240, 2, L"")),
    ValueField(Row(Id::lblThreadID, L"lblThreadID", -1, Kind::Label, kPicture1, 3750, 1100, 960, 240, 1, L"")),
    Row(Id::Image1, L"Image1", -1, Kind::Image, kForm, 0, 1560, 7215, 6135, -1, L""),
};
// clang-format on

std::int32_t ControlWindowId(Id id) {
    const ControlDesign& design = DesignOf(id);
    return design.kind == Kind::Image ? 1027 : 1000 + design.tabIndex;
}

}  // namespace frm
