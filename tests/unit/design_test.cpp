// The window's design data against its table of controls, transcribed here a second
// time on its own, so that a mistyped position, caption, colour or state fails.

#include <set>

#include "form_fixture.h"
#include "process_window/design.h"

namespace {

using namespace frm;
using ::testing::ElementsAreArray;

struct Expected {
    const wchar_t* name;
    int index;
    Kind kind;
    const wchar_t* container;
    int left, top, width, height, tab;
    const wchar_t* caption;
    Colour back, fore;
    Font font;
    bool visible, enabled, value;
};

constexpr Colour kNone{};
constexpr Colour kGrey = Rgb(128, 128, 128);
constexpr Colour kPale = Rgb(224, 224, 224);
constexpr Font kOwn{};
constexpr Font kBold{L"Arial", 825, 700, false};

// clang-format off
const Expected kTable[] = {
    {L"Picture1", -1, Kind::Panel, L"frmProcess", 0, 0, 11985, 1515, 0, L"", kNone, kNone, kOwn, true, true, false},
    {L"List1", -1, Kind::ListBox, L"Picture1", 4800, 0, 5535, 1500, 26, L"", SystemColour(0), SystemColour(13), kBold, true, true, false},
    {L"tmrRunning", -1, Kind::Timer, L"Picture1", 0, 0, 0, 0, -1, L"", kNone, kNone, kOwn, true, true, false},
    {L"picAdmin", -1, Kind::Panel, L"Picture1", 4800, 0, 9855, 2535, 11, L"", kGrey, kNone, kOwn, false, true, false},
    {L"frmDestroyByProcessID", -1, Kind::Frame, L"picAdmin", 3600, 240, 2865, 1215, 22, L"ALLE - Nach ProcessID beenden", kGrey, kPale, kBold, true, true, false},
    {L"Option2", 0, Kind::OptionButton, L"frmDestroyByProcessID", 120, 315, 735, 240, 25, L"Close", kGrey, kPale, kOwn, true, true, true},
    {L"Option2", 1, Kind::OptionButton, L"frmDestroyByProcessID", 120, 600, 960, 240, 24, L"Quit", kGrey, kPale, kOwn, true, true, false},
    {L"cmdDestroyByProcessID", -1, Kind::CommandButton, L"frmDestroyByProcessID", 960, 270, 1590, 330, 23, L"Beenden", kNone, kNone, kOwn, true, false, false},
    {L"fraDetroyByTitle", -1, Kind::Frame, L"picAdmin", 6600, 240, 3105, 1260, 17, L"Nach Namen beenden", kGrey, kPale, kBold, true, true, false},
    {L"cmdDestroy", -1, Kind::CommandButton, L"fraDetroyByTitle", 1440, 675, 1590, 330, 21, L"Beenden", kNone, kNone, kOwn, true, true, false},
    {L"Option1", 0, Kind::OptionButton, L"fraDetroyByTitle", 120, 600, 960, 240, 20, L"Close", kGrey, kPale, kOwn, true, true, true},
    {L"txtDestroy", -1, Kind::TextBox, L"fraDetroyByTitle", 120, 270, 2895, 330, 19, L"", kNone, kNone, kOwn, true, true, false},
    {L"Option1", 1, Kind::OptionButton, L"fraDetroyByTitle", 120, 840, 960, 240, 18, L"Quit", kGrey, kPale, kOwn, true, true, false},
    {L"cmdKill", -1, Kind::CommandButton, L"picAdmin", 120, 1200, 3465, 330, 16, L"TerminateProcess - HOLZHAMMERMETHODE", kNone, kNone, kOwn, true, false, false},
    {L"fraStart", -1, Kind::Frame, L"picAdmin", 120, 120, 3465, 1035, 12, L"Prozess starten", kGrey, kPale, kBold, true, true, false},
    {L"cmdCreateProcess", -1, Kind::CommandButton, L"fraStart", 1320, 600, 1935, 330, 15, L"Prozess kreieren", kNone, kNone, kOwn, true, true, false},
    {L"cmdShell", -1, Kind::CommandButton, L"fraStart", 120, 600, 1215, 330, 14, L"Shell-Aufruf", kNone, kNone, kOwn, true, true, false},
    {L"txtStart", -1, Kind::TextBox, L"fraStart", 120, 240, 3180, 330, 13, L"", kNone, kNone, kOwn, true, true, false},
    {L"lblStillRunning", -1, Kind::Label, L"Picture1", 120, 120, 2670, 240, 10, L"Programm arbeitet ....", kNone, Rgb(0, 0, 128), {L"Arial", 900, 700, false}, false, true, false},
    {L"lblJob", -1, Kind::Label, L"Picture1", 120, 360, 4545, 270, 9, L"", kNone, kNone, {L"MS Sans Serif", 825, 400, true}, true, true, false},
    {L"lblProcessMess", -1, Kind::Label, L"Picture1", 120, 800, 1440, 240, 8, L"Process", kNone, kNone, kOwn, true, true, false},
    {L"lblThreadMess", -1, Kind::Label, L"Picture1", 120, 1100, 1320, 240, 7, L"Thread", kNone, kNone, kOwn, true, true, false},
    {L"lblProcessIDMess", -1, Kind::Label, L"Picture1", 2520, 800, 1320, 240, 6, L"ProcessID", kNone, kNone, kOwn, true, true, false},
    {L"lblThreadIDMess", -1, Kind::Label, L"Picture1", 2520, 1100, 1320, 240, 5, L"ThreadID", kNone, kNone, kOwn, true, true, false},
    {L"lblProcess", -1, Kind::Label, L"Picture1", 1350, 840, 960, 240, 4, L"", SystemColour(5), SystemColour(8), kBold, true, true, false},
    {L"lblThread", -1, Kind::Label, L"Picture1", 1350, 1100, 960, 240, 3, L"", SystemColour(5), SystemColour(8), kBold, true, true, false},
    {L"lblProcessID", -1, Kind::Label, L"Picture1", 3750, 800, 960, 240, 2, L"", SystemColour(5), SystemColour(8), kBold, true, true, false},
    {L"lblThreadID", -1, Kind::Label, L"Picture1", 3750, 1100, 960, 240, 1, L"", SystemColour(5), SystemColour(8), kBold, true, true, false},
    {L"Image1", -1, Kind::Image, L"frmProcess", 0, 1560, 7215, 6135, -1, L"", kNone, kNone, kOwn, true, true, false},
};
// clang-format on

std::wstring ContainerName(const ControlDesign& design) {
    return design.container ? DesignOf(*design.container).name : L"frmProcess";
}

TEST(WindowDesign, EveryControlInCreationOrderAsTheWindowsTableHasIt) {
    ASSERT_EQ(std::size(kTable), kControlCount);
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const Expected& e = kTable[i];
        const ControlDesign& d = kControls[i];
        SCOPED_TRACE(sim::Narrow(e.name) +
                     (e.index >= 0 ? "(" + std::to_string(e.index) + ")" : ""));
        EXPECT_EQ(static_cast<std::size_t>(d.id), i);
        EXPECT_EQ(std::wstring(d.name), e.name);
        EXPECT_EQ(d.index, e.index);
        EXPECT_EQ(d.kind, e.kind);
        EXPECT_EQ(ContainerName(d), e.container);
        EXPECT_EQ(d.left, e.left);
        EXPECT_EQ(d.top, e.top);
        EXPECT_EQ(d.width, e.width);
        EXPECT_EQ(d.height, e.height);
        EXPECT_EQ(d.tabIndex, e.tab);
        EXPECT_EQ(std::wstring(d.caption), e.caption);
        EXPECT_EQ(d.back, e.back);
        EXPECT_EQ(d.fore, e.fore);
        EXPECT_EQ(d.font.face == nullptr ? L"" : std::wstring(d.font.face),
                  e.font.face == nullptr ? L"" : std::wstring(e.font.face));
        EXPECT_EQ(d.font.hundredthsOfPoints, e.font.hundredthsOfPoints);
        EXPECT_EQ(d.font.weight, e.font.weight);
        EXPECT_EQ(d.font.underline, e.font.underline);
        EXPECT_EQ(d.visible, e.visible);
        EXPECT_EQ(d.enabled, e.enabled);
        EXPECT_EQ(d.value, e.value);
        EXPECT_EQ(d.dockedTop, i == 0);  // only the strip is docked, to the top
    }
}

TEST(WindowDesign, TheWindowItself) {
    EXPECT_EQ(std::wstring(kFormDesign.caption), L"Ausf\u00fchrung");
    EXPECT_EQ(kFormDesign.clientWidth, 11985);
    EXPECT_EQ(kFormDesign.clientHeight, 9315);
    EXPECT_EQ(std::wstring(kFormDesign.font.face), L"Arial");
    EXPECT_EQ(kFormDesign.font.hundredthsOfPoints, 825);
    EXPECT_EQ(kFormDesign.font.weight, 400);
    EXPECT_FALSE(kFormDesign.font.underline);
    EXPECT_TRUE(kFormDesign.opensMaximized);
    EXPECT_TRUE(kFormDesign.keyPreview);
}

TEST(WindowDesign, TabOrderRunsFromTheStripToTheListAndGivesEachWindowItsId) {
    std::vector<std::wstring> byTab(27);
    std::set<std::int32_t> ids;
    for (const ControlDesign& d : kControls) {
        if (d.kind == Kind::Timer) {
            continue;
        }
        ids.insert(ControlWindowId(d.id));
        if (d.tabIndex >= 0) {
            byTab.at(static_cast<std::size_t>(d.tabIndex)) =
                std::wstring(d.name) + (d.index >= 0 ? std::to_wstring(d.index) : L"");
        }
    }
    EXPECT_EQ(byTab.front(), L"Picture1");
    EXPECT_EQ(byTab.back(), L"List1");
    for (const auto& name : byTab) {
        EXPECT_FALSE(name.empty()) << "a tab index without a control";
    }
    EXPECT_EQ(ids.size(), kControlCount - 1);  // one window per control but the timer
    EXPECT_EQ(ControlWindowId(Id::Picture1), 1000);
    EXPECT_EQ(ControlWindowId(Id::List1), 1026);
    EXPECT_EQ(ControlWindowId(Id::lblThreadID), 1001);
    EXPECT_EQ(ControlWindowId(Id::Image1), 1027);
}

class ControlModel : public FormTest {};

TEST_F(ControlModel, AtCreationTheWindowIsIdleWithItsPanelAndIndicatorHidden) {
    EXPECT_FALSE(control(Id::picAdmin).Visible());
    EXPECT_FALSE(control(Id::lblStillRunning).Visible());
    for (const Id id : {Id::cmdCreateProcess, Id::cmdShell, Id::cmdDestroy}) {
        EXPECT_TRUE(control(id).Enabled());
    }
    for (const Id id : {Id::cmdKill, Id::cmdDestroyByProcessID}) {
        EXPECT_FALSE(control(id).Enabled());
    }
    EXPECT_TRUE(control(Id::Option1_0).Value());
    EXPECT_FALSE(control(Id::Option1_1).Value());
    EXPECT_TRUE(control(Id::Option2_0).Value());
    EXPECT_FALSE(control(Id::Option2_1).Value());
    for (const Id id : {Id::txtStart, Id::txtDestroy, Id::lblJob, Id::lblProcess, Id::lblThread,
                        Id::lblProcessID, Id::lblThreadID}) {
        EXPECT_EQ(control(id).Caption(), L"");
    }
    EXPECT_EQ(control(Id::tmrRunning).Interval(), 0);
    EXPECT_TRUE(control(Id::tmrRunning).Enabled());
    EXPECT_EQ(form().ProcessFinished(), kFalse);
    EXPECT_EQ(form().Cmdline(), L"");
    const State& s = state();
    EXPECT_EQ(s.JobProcess | s.JobThread | s.JobProcessID | s.JobThreadID, 0u);
    EXPECT_EQ(s.ApiResult, 0);
    EXPECT_EQ(s.StartInfo.cb, 0u);
    EXPECT_TRUE(mirror_.changes.empty());
}

TEST_F(ControlModel, SelectingOneOptionOfAnArrayClearsTheOtherAndOnlyThat) {
    control(Id::Option1_1).SetValue(true);
    EXPECT_FALSE(control(Id::Option1_0).Value());
    EXPECT_TRUE(control(Id::Option2_0).Value());  // the other group is left alone
    control(Id::Option1_0).SetValue(true);
    EXPECT_FALSE(control(Id::Option1_1).Value());
    using C = RecordingMirror::Change;
    EXPECT_THAT(
        mirror_.changes,
        ElementsAreArray({C{Id::Option1_1, Property::Value}, C{Id::Option1_0, Property::Value},
                          C{Id::Option1_0, Property::Value}, C{Id::Option1_1, Property::Value}}));
}

TEST_F(ControlModel, TheStripStaysAtTheTopAsWideAsTheClientAreaAtItsOwnHeight) {
    for (const float width : {20000.0f, 3000.0f}) {
        form().controls().DockTop(width);
        const Placement& p = control(Id::Picture1).placement();
        EXPECT_EQ(p.left, 0);
        EXPECT_EQ(p.top, 0);
        EXPECT_EQ(p.width, width);
        EXPECT_EQ(p.height, 1515);
    }
    EXPECT_EQ(control(Id::picAdmin).placement().width, 9855);  // only the docked control
}

TEST_F(ControlModel, TabMovesTheFocusInTheOrderOfTheTabIndexesOverWhatCanTakeIt) {
    const auto walk = [&](std::optional<Id> from, bool backwards) {
        std::vector<Id> order;
        for (std::optional<Id> at = from; order.size() < 30;) {
            at = form().controls().NextInTabOrder(at, backwards);
            if (!at || *at == Id::Picture1) {
                break;
            }
            order.push_back(*at);
        }
        return order;
    };
    // The panel hidden: the strip, then the list (labels take no focus).
    EXPECT_THAT(walk(Id::Picture1, false), ElementsAreArray({Id::List1}));
    control(Id::picAdmin).SetVisible(true);
    // The disabled buttons and the option buttons that are not selected are passed over.
    EXPECT_THAT(walk(Id::Picture1, false),
                ElementsAreArray({Id::picAdmin, Id::txtStart, Id::cmdShell, Id::cmdCreateProcess,
                                  Id::txtDestroy, Id::Option1_0, Id::cmdDestroy, Id::Option2_0,
                                  Id::List1}));
    EXPECT_THAT(
        walk(Id::Picture1, true),
        ElementsAreArray({Id::List1, Id::Option2_0, Id::cmdDestroy, Id::Option1_0, Id::txtDestroy,
                          Id::cmdCreateProcess, Id::cmdShell, Id::txtStart, Id::picAdmin}));
    EXPECT_EQ(form().controls().NextInTabOrder(std::nullopt, false), Id::Picture1);
}

TEST_F(ControlModel, AMoveWithANegativeSizeIsRefusedAndMovesNothing) {
    EXPECT_THROW(control(Id::Image1).Move(0, 1515, 100, -1), sys::Failure);
    EXPECT_EQ(control(Id::Image1).placement().top, 1560);
    EXPECT_TRUE(mirror_.changes.empty());
}

}  // namespace
