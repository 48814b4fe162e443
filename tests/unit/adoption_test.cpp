// Window adoption: the single steps on any window, and EmbedJobWindow's seven steps.

#include "form_fixture.h"
#include "process_window/variant.h"
#include "system/constants.h"

namespace {

using namespace frm;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class AdoptionTest : public FormTest {
  protected:
    sys::Hwnd JobWindow(const std::wstring& title = L"J\u00f6b") {
        sys::Hwnd window = 0;
        state().JobProcessID = ProgramWithWindow(title, &window);
        return window;
    }
    void Embed() { frmProcessInspector::EmbedJobWindow(form()); }
};

TEST_F(AdoptionTest, SetTopMostMapsStateAndActivateOntoInsertAfterAndFlags) {
    sys::Hwnd window = 0;
    ProgramWithWindow(L"Fenster", &window);
    const auto h = Variant(static_cast<std::int32_t>(window));
    struct Case {
        std::optional<VbBool> state, activate;
        std::int64_t insertAfter, flags;
        bool topmost;
    };
    for (const Case& c : std::vector<Case>{
             {std::nullopt, std::nullopt, sys::kHwndTopMost, 3, true},  // both default to True
             {kFalse, kFalse, sys::kHwndNoTopMost, 19, false},
             {1, 0, 0, 19, false},  // neither True nor False: the top of the window's band
             {kTrue, 1, sys::kHwndTopMost, 3, true},
             {kFalse, 5, sys::kHwndNoTopMost, 3, false},
         }) {
        world().log.Clear();
        EXPECT_EQ(form().SetTopMost(h, c.state, c.activate), kTrue);
        EXPECT_THAT(
            log().All(),
            ElementsAre(Called(L"SetWindowPos", {window, c.insertAfter, 0, 0, 0, 0, c.flags}, 1)));
        EXPECT_EQ(world().desktop.Get(window).topmost, c.topmost);
    }
    EXPECT_EQ(form().SetTopMost(Variant(std::int32_t{0})), kFalse);
}

TEST_F(AdoptionTest, VariantsThatDoNotConvertFailBeforeAnySystemCall) {
    struct Case {
        Variant value;
        std::uint32_t failure;
    };
    for (const Case& c : std::vector<Case>{{std::wstring(L"Fenster"), 13u},
                                           {Null{}, 94u},
                                           {4.0e10, 6u},
                                           {std::wstring(L""), 13u}}) {
        try {
            form().SetTopMost(c.value);
            ADD_FAILURE() << "converted";
        } catch (const sys::Failure& failure) {
            EXPECT_EQ(failure.number(), c.failure);
        }
        EXPECT_THROW(form().SetOwner(Variant(std::int32_t{1}), c.value), sys::Failure);
        EXPECT_THROW(form().SetOwner(c.value, Variant(std::int32_t{1})), sys::Failure);
    }
    EXPECT_THAT(log().All(), IsEmpty());
}

TEST_F(AdoptionTest, SetParentExRecordsOnlyTheFirstParentInTheUserData) {
    const sys::Hwnd window = JobWindow();
    const sys::Hwnd other = world().AddWindow(world().self, L"Anderes");
    EXPECT_EQ(form().SetParentEx(window, self()), 0);
    EXPECT_EQ(world().desktop.Get(window).userData,
              static_cast<std::int32_t>(sim::Desktop::kDesktopWindow));
    EXPECT_EQ(form().SetParentEx(window, other), static_cast<std::int32_t>(self()));
    EXPECT_EQ(world().desktop.Get(window).parent, other);
    EXPECT_EQ(world().desktop.Get(window).userData,
              static_cast<std::int32_t>(sim::Desktop::kDesktopWindow));
    EXPECT_THAT(log().Names(), ElementsAre(L"SetParent", L"GetWindowLongA", L"SetWindowLongA",
                                           L"SetParent", L"GetWindowLongA"));
}

TEST_F(AdoptionTest, SetParentExNeverWritesUserDataTheWindowsProgramKeeps) {
    const sys::Hwnd window = JobWindow();
    world().desktop.Get(window).userData = 0x5A5A;
    EXPECT_EQ(form().SetParentEx(window, self()),
              static_cast<std::int32_t>(sim::Desktop::kDesktopWindow));
    EXPECT_EQ(world().desktop.Get(window).userData, 0x5A5A);
}

TEST_F(AdoptionTest, SetOwnerWritesTheOwnerIndexAndNothingElse) {
    const sys::Hwnd window = JobWindow();
    form().SetOwner(Variant(static_cast<double>(window)), Variant(std::wstring(L" 42 ")));
    EXPECT_THAT(log().All(), ElementsAre(Called(L"SetWindowLongA", {window, -8, 42}, 0)));
}

TEST_F(AdoptionTest, EmbedJobWindowTakesTheJobsWindowInInItsSevenSteps) {
    const sys::Hwnd window = JobWindow(L"J\u00f6b Fenster");
    world().log.Clear();
    Embed();
    const std::vector<std::wstring> names = log().Names();
    // 1. the Z-order walk ... up to the job's window
    const auto text = std::find(names.begin(), names.end(), L"GetWindowTextA");
    ASSERT_NE(text, names.end());
    EXPECT_EQ(names.front(), L"FindWindowA");
    const auto& calls = log().All();
    const std::vector<sim::Call> steps(calls.begin() + (text - names.begin()), calls.end());
    const auto desktop = static_cast<std::int64_t>(sim::Desktop::kDesktopWindow);
    EXPECT_THAT(steps,
                ElementsAre(Called(L"GetWindowTextA", {window, 256}, 11, {L"J\u00f6b Fenster"}),
                            Called(L"SetWindowPos", {window, sys::kHwndTopMost, 0, 0, 0, 0, 3}, 1),
                            Called(L"SetParent", {window, self()}, desktop),
                            Called(L"GetWindowLongA", {window, -21}, 0),
                            Called(L"SetWindowLongA", {window, -21, desktop}, 0),
                            Called(L"SetWindowLongA", {window, -8, self()}, self()),
                            // step 4 activated it in its own thread, whose input the
                            // re-parenting attached to this one's
                            Called(L"SetActiveWindow", {window}, window)));
    EXPECT_EQ(control(Id::lblJob).Caption(), L"J\u00f6b Fenster");
    EXPECT_EQ(world().desktop.Get(window).parent, self());
    EXPECT_EQ(sys::GetActiveWindow(), window);  // its input is now this thread's
}

TEST_F(AdoptionTest, WithoutAJobWindowTheLabelEmptiesAndNothingIsAdopted) {
    control(Id::lblJob).SetCaption(L"altes Fenster");
    Embed();  // JobProcessID 0: no window belongs to it
    EXPECT_EQ(control(Id::lblJob).Caption(), L"");
    EXPECT_EQ(CallsTo(L"SetParent").at(0), Called(L"SetParent", {0, self()}, 0));
    EXPECT_EQ(CallsTo(L"SetActiveWindow").at(0), Called(L"SetActiveWindow", {0}, self()));
}

TEST_F(AdoptionTest, ALongTitleIsShownWithItsFirst255Characters) {
    const std::wstring title = std::wstring(255, L'a') + L"bcdef";
    JobWindow(title);
    Embed();
    EXPECT_EQ(control(Id::lblJob).Caption(), title.substr(0, 255));
}

TEST_F(AdoptionTest, AWindowThatComesUpAfterTheStartIsAdoptedByALaterClick) {
    world().files.AddFile(L"C:\\Jobs\\langsam.exe");
    world().DefineProgram(L"C:\\Jobs\\langsam.exe",
                          sim::Program{std::nullopt, 0, {{L"Langsam", 1500}}});
    state().JobProcessID = world().StartProcess(L"C:\\Jobs\\langsam.exe", L"langsam.exe");
    Embed();
    EXPECT_EQ(control(Id::lblJob).Caption(), L"");
    world().clock.Advance(2000);
    Click(Id::Image1);
    EXPECT_EQ(control(Id::lblJob).Caption(), L"Langsam");
    const sys::Hwnd window = world().desktop.Children(self()).front();
    EXPECT_EQ(world().desktop.Get(window).title, L"Langsam");
}

}  // namespace
