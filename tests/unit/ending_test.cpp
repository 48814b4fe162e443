// Ending programs by a piece of their title (posted) and every window of the job (sent).

#include "form_fixture.h"
#include "system/constants.h"

namespace {

using namespace frm;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class EndingTest : public FormTest {
  protected:
    // The job as a start leaves it: its id in the state and in lblProcessID.
    sys::ProcessId Job(std::vector<sim::CloseReaction> windows) {
        const sys::ProcessId job = world().AddProcess(L"C:\\Jobs\\job.exe");
        for (std::size_t i = 0; i < windows.size(); ++i) {
            jobWindows_.push_back(world().AddWindow(job, L"Job " + std::to_wstring(i), windows[i]));
        }
        state().JobProcessID = job;
        control(Id::lblProcessID).SetCaption(std::to_wstring(job));
        return job;
    }
    std::vector<sys::Hwnd> jobWindows_;
};

TEST_F(EndingTest, ByTitleWithAnEmptyTextOrNoMatchSendsNothingAndLeavesApiResult) {
    ProgramWithWindow(L"Editor");
    state().ApiResult = 4711;
    Click(Id::cmdDestroy);
    EXPECT_THAT(log().All(), IsEmpty());  // not even a lookup
    control(Id::txtDestroy).ReflectCaption(L"nirgends");
    Click(Id::cmdDestroy);
    EXPECT_THAT(CallsTo(L"PostMessageA"), IsEmpty());
    EXPECT_EQ(state().ApiResult, 4711);
}

TEST_F(EndingTest, ByTitlePostsToTheFirstWindowOfTheWalkCloseOrQuitAsTheOptionSays) {
    sys::Hwnd first = 0;
    sys::Hwnd second = 0;
    ProgramWithWindow(L"Rechnung 1 - Editor", &first);
    const sys::ProcessId other = ProgramWithWindow(L"Rechnung 2 - Editor", &second);
    control(Id::txtDestroy).ReflectCaption(L"Editor");
    Click(Id::cmdDestroy);
    EXPECT_THAT(CallsTo(L"PostMessageA"),
                ElementsAre(Called(L"PostMessageA", {first, sys::kWmClose, 0, 0}, 1)));
    EXPECT_EQ(state().ApiResult, 1);
    world().clock.Advance(1);  // the first closes

    control(Id::Option1_1).SetValue(true);  // Quit
    Click(Id::cmdDestroy);  // looks again from the start: the second is now the first
    EXPECT_EQ(CallsTo(L"PostMessageA").at(1),
              Called(L"PostMessageA", {second, sys::kWmQuit, 0, 0}, 1));
    world().clock.Advance(1);
    EXPECT_FALSE(world().processes.Get(other).running);  // the quit ended its message loop
}

TEST_F(EndingTest, ByTitleThisWindowIsTheTargetWhenNoOtherTitleHoldsTheText) {
    ProgramWithWindow(L"Editor");
    control(Id::txtDestroy).ReflectCaption(L"hrung");
    Click(Id::cmdDestroy);
    EXPECT_THAT(CallsTo(L"PostMessageA"),
                ElementsAre(Called(L"PostMessageA", {self(), sys::kWmClose, 0, 0}, 1)));
}

TEST_F(EndingTest, ByProcessWithoutAJobShownDoesNothingNotEvenALookup) {
    Job({sim::CloseReaction::AtOnce()});
    control(Id::lblProcessID).SetCaption(L"");
    Click(Id::cmdDestroyByProcessID);
    EXPECT_THAT(log().All(), IsEmpty());
}

TEST_F(EndingTest, ByProcessSendsToEachWindowOfTheJobUntilTheLookupFindsNone) {
    Job({sim::CloseReaction::AtOnce(), sim::CloseReaction::AtOnce(), sim::CloseReaction::AtOnce()});
    Click(Id::cmdDestroyByProcessID);
    EXPECT_THAT(log().Argument(L"SendMessageA", 0),
                ElementsAre(jobWindows_[0], jobWindows_[1], jobWindows_[2]));
    EXPECT_THAT(log().Argument(L"SendMessageA", 1), ElementsAre(16, 16, 16));
    // Four lookups, each a walk from this window that ends with it; ApiResult holds what the last
    // one left: the thread id of this window, examined last.
    EXPECT_EQ(CallsTo(L"GetActiveWindow").size(), 4u);
    EXPECT_EQ(state().ApiResult, static_cast<std::int32_t>(world().selfThread));
}

TEST_F(EndingTest, ByProcessEndsAtAWindowThatRefusesToClose) {
    Job({sim::CloseReaction::Refused(), sim::CloseReaction::AtOnce()});
    Click(Id::cmdDestroyByProcessID);
    EXPECT_THAT(log().Argument(L"SendMessageA", 0), ElementsAre(jobWindows_[0]));
    EXPECT_TRUE(world().desktop.Get(jobWindows_[0]).alive);
    EXPECT_EQ(state().ApiResult,
              static_cast<std::int32_t>(world().processes.Get(state().JobProcessID).mainThread));
}

TEST_F(EndingTest, ByProcessWithQuitEndsAtTheFirstWindowWhoseProcedureIgnoresIt) {
    Job({sim::CloseReaction::AtOnce(), sim::CloseReaction::AtOnce()});
    control(Id::Option2_1).SetValue(true);
    Click(Id::cmdDestroyByProcessID);
    EXPECT_THAT(log().Argument(L"SendMessageA", 1), ElementsAre(18));
    EXPECT_TRUE(world().desktop.Get(jobWindows_[0]).alive);  // a sent quit reaches no loop
}

TEST_F(EndingTest, ByProcessWithQuitGoesOnWhileTheWindowsActOnIt) {
    Job({sim::CloseReaction::AtOnce(), sim::CloseReaction::AtOnce()});
    for (const sys::Hwnd window : jobWindows_) {
        world().desktop.Get(window).destroyedBySentQuit = true;
    }
    control(Id::Option2_1).SetValue(true);
    Click(Id::cmdDestroyByProcessID);
    EXPECT_THAT(log().Argument(L"SendMessageA", 1), ElementsAre(18, 18));
}

TEST_F(EndingTest, ByProcessStopsAfterTheMostWindowsAProcessCanOwn) {
    Job({sim::CloseReaction::Reopening()});  // each close is answered with a new window
    Click(Id::cmdDestroyByProcessID);
    EXPECT_EQ(CallsTo(L"SendMessageA").size(), 10000u);
}

}  // namespace
