// The window's events: the wiring of clicks, Alt+F10, the resize of the picture, the focus, and
// the report of a failure that no handler catches.

#include "form_fixture.h"

namespace {

using namespace frm;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class EventsTest : public FormTest {};

TEST_F(EventsTest, AltF10AndOnlyAltF10TogglesTheAdministrationPanel) {
    struct Case {
        std::int16_t key, shift;
        bool toggles;
    };
    for (const Case& c : std::vector<Case>{{121, 4, true},
                                           {121, 0, false},  // F10 alone, or Alt let go first
                                           {121, 5, false},  // Shift+Alt
                                           {121, 6, false},  // Ctrl+Alt
                                           {121, 7, false},
                                           {120, 4, false}}) {  // Alt+F9
        const bool before = control(Id::picAdmin).Visible();
        form().RaiseKeyUp(c.key, c.shift);
        EXPECT_EQ(control(Id::picAdmin).Visible(), before != c.toggles)
            << c.key << " with " << c.shift;
    }
    form().RaiseKeyUp(121, 4);
    EXPECT_FALSE(control(Id::picAdmin).Visible());  // a second Alt+F10 hides it again
    EXPECT_THAT(log().All(), IsEmpty());
}

TEST_F(EventsTest, ResizePlacesThePictureBelowTheStripFromTheOuterSize) {
    FormProperties& window = form().controls().form();
    struct Case {
        std::int32_t state;
        float width, height;
        Placement expected;
    };
    const Placement design{0, 1560, 7215, 6135};
    for (const Case& c : std::vector<Case>{
             {kMinimized, 20000, 15000, design},  // minimized: left where it was
             {kMaximized, 19320, 14520, {0, 1515, 19320, 13005}},
             {kNormal, 12105, 10035, {0, 1515, 12105, 8520}},
             {kNormal, 6000, 1500, {0, 1515, 12105, 8520}},  // lower than the strip: skipped
             {kNormal, 6000, 1515, {0, 1515, 6000, 0}},
         }) {
        window.windowState = c.state;
        window.width = c.width;
        window.height = c.height;
        form().Raise(Event::Resize);
        const Placement& p = control(Id::Image1).placement();
        EXPECT_EQ(p.left, c.expected.left);
        EXPECT_EQ(p.top, c.expected.top);
        EXPECT_EQ(p.width, c.expected.width);
        EXPECT_EQ(p.height, c.expected.height);
    }
    EXPECT_THAT(log().All(), IsEmpty());  // no message, and no system call
}

TEST_F(EventsTest, FocusBringsTheWindowToTheFront) {
    form().Raise(Event::GotFocus);
    EXPECT_EQ(mirror_.broughtToFront, 1);
    form().Raise(Event::GotFocus, Id::txtStart);  // a control's focus is not wired
    EXPECT_EQ(mirror_.broughtToFront, 1);
}

TEST_F(EventsTest, ClicksOnTheWindowThePictureAndTheStripReadoptTheJobsWindowOthersDoNot) {
    sys::Hwnd window = 0;
    frmProcessInspector::state(form()).JobProcessID = ProgramWithWindow(L"Job", &window);
    for (const std::optional<Id> source :
         {std::optional<Id>{}, std::optional(Id::Image1), std::optional(Id::Picture1)}) {
        world().desktop.SetParent(window, 0);  // given back, so that there is one to adopt
        control(Id::lblJob).SetCaption(L"");
        world().log.Clear();
        Click(source);
        EXPECT_EQ(control(Id::lblJob).Caption(), L"Job");
        EXPECT_EQ(world().desktop.Get(window).parent, self());
    }
    world().log.Clear();
    for (const Id other : {Id::lblJob, Id::lblProcess, Id::lblStillRunning, Id::List1, Id::picAdmin,
                           Id::fraStart, Id::frmDestroyByProcessID, Id::txtStart}) {
        Click(other);
    }
    EXPECT_THAT(log().All(), IsEmpty());
}

TEST_F(EventsTest, AFailureNoHandlerCatchesIsReportedAndEndsTheProgram) {
    mirror_.Refuse(Id::lblJob, Property::Caption);
    EXPECT_TRUE(EndsTheProgram([&] { Click(Id::Image1); }));
    EXPECT_EQ(CallsTo(L"ReportUnhandledFailure").at(0),
              Called(L"ReportUnhandledFailure", {380, L"Ung\u00fcltiger Eigenschaftswert"}));
    EXPECT_THAT(CallsTo(L"SetParent"), IsEmpty());  // the handler went no further
}

}  // namespace
