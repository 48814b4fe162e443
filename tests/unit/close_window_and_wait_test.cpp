#include "startup/close_window_and_wait.h"

#include "sim_fixture.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class CloseWindowAndWaitTest : public SimTest {
  protected:
    sys::ProcessId AddVelmora(sim::CloseReaction reaction, const std::wstring& title = L"Velmora") {
        const sys::ProcessId process = world().AddProcess(L"C:\\Velmora\\Velmora.exe");
        window_ = world().AddWindow(process, title, reaction);
        return process;
    }
    sim::Window& Velmora() { return world().desktop.Get(window_); }
    sys::Hwnd window_ = 0;
};

TEST_F(CloseWindowAndWaitTest, NoSuchWindowReturnsAtOnceDoingNothingElse) {
    startup::CloseWindowAndWait(L"Velmora");
    EXPECT_THAT(log().All(), ElementsAre(Called(L"FindWindowA", {sim::null, L"Velmora"}, 0)));
}

TEST_F(CloseWindowAndWaitTest, OpensForWaitingThenPostsCloseThenWaitsWithoutLimitThenCloses) {
    const sys::ProcessId velmora = AddVelmora(sim::CloseReaction::AtOnce());
    startup::CloseWindowAndWait(L"Velmora");

    const auto& calls = log().All();
    ASSERT_EQ(calls.size(), 6u);
    const sim::Value handle = calls[2].result;
    const sim::Value thread = calls[1].result;
    EXPECT_THAT(calls,
                ElementsAre(Called(L"FindWindowA", {sim::null, L"Velmora"}, window_),
                            Called(L"GetWindowThreadProcessId", {window_}, thread, {velmora}),
                            // SYNCHRONIZE only, not inheritable
                            Called(L"OpenProcess", {0x00100000, 0, velmora}, handle),
                            Called(L"PostMessageA", {window_, 16, 0, 0}, 1),
                            Called(L"WaitForSingleObject", {handle, 0xFFFFFFFF}, 0),
                            Called(L"CloseHandle", {handle}, 1)));
    EXPECT_FALSE(world().processes.Get(velmora).running);
}

TEST_F(CloseWindowAndWaitTest, WaitsForTheProcessNotJustItsWindow) {
    const sys::ProcessId velmora = AddVelmora(sim::CloseReaction::WindowOnly(5000));
    startup::CloseWindowAndWait(L"Velmora");
    EXPECT_FALSE(Velmora().alive);
    EXPECT_FALSE(world().processes.Get(velmora).running);
    EXPECT_EQ(world().clock.Now(), 5000u);  // returned when the process ended, not its window
    EXPECT_EQ(CallsTo(L"WaitForSingleObject").size(), 1u);  // one blocking wait, no polling
}

TEST_F(CloseWindowAndWaitTest, DelayedCloseIsWaitedFor) {
    AddVelmora(sim::CloseReaction::Delayed(3000));
    startup::CloseWindowAndWait(L"Velmora");
    EXPECT_EQ(world().clock.Now(), 3000u);
}

TEST_F(CloseWindowAndWaitTest, RefusedCloseKeepsItWaitingWithoutLimit) {
    const sys::ProcessId velmora = AddVelmora(sim::CloseReaction::Refused());
    EXPECT_THROW(startup::CloseWindowAndWait(L"Velmora"), sim::Hang);
    // The simulation gives up on the wait; the handle is still released on the way out.
    const auto waits = CallsTo(L"WaitForSingleObject");
    ASSERT_EQ(waits.size(), 1u);
    EXPECT_EQ(waits[0].result, L"never returns");
    EXPECT_EQ(waits[0].arguments.at(1), 0xFFFFFFFF);
    EXPECT_TRUE(world().processes.Get(velmora).running);
}

TEST_F(CloseWindowAndWaitTest, ProcessThatCannotBeOpenedIsStillAskedAndNotWaitedFor) {
    const sys::ProcessId velmora = AddVelmora(sim::CloseReaction::Refused());
    world().processes.Get(velmora).openable = false;
    startup::CloseWindowAndWait(L"Velmora");
    EXPECT_THAT(CallNames(), ElementsAre(L"FindWindowA", L"GetWindowThreadProcessId",
                                         L"OpenProcess", L"PostMessageA", L"WaitForSingleObject"));
    EXPECT_EQ(CallsTo(L"OpenProcess").at(0).result, 0);
    EXPECT_EQ(CallsTo(L"WaitForSingleObject").at(0),
              Called(L"WaitForSingleObject", {0, 0xFFFFFFFF}, 0xFFFFFFFF));
    EXPECT_EQ(Velmora().posted, std::vector<std::uint32_t>{16});
}

TEST_F(CloseWindowAndWaitTest, OnlyTheWholeTitleIsFound) {
    AddVelmora(sim::CloseReaction::AtOnce(), L"Velmora - Mandant 1");
    const sys::ProcessId other = world().AddProcess(L"C:\\x.exe");
    world().AddWindow(other, L"Velmor");
    startup::CloseWindowAndWait(L"Velmora");
    EXPECT_THAT(CallNames(), ElementsAre(L"FindWindowA"));
    EXPECT_THAT(Velmora().posted, IsEmpty());
}

TEST_F(CloseWindowAndWaitTest, OfTwoWindowsOnlyTheFirstFoundIsClosedAndWaitedFor) {
    const sys::ProcessId first = AddVelmora(sim::CloseReaction::AtOnce());
    const sys::Hwnd firstWindow = window_;
    const sys::ProcessId second = AddVelmora(sim::CloseReaction::AtOnce());
    startup::CloseWindowAndWait(L"Velmora");
    EXPECT_FALSE(world().processes.Get(first).running);
    EXPECT_EQ(world().desktop.Get(firstWindow).posted.size(), 1u);
    EXPECT_TRUE(world().processes.Get(second).running);
    EXPECT_THAT(Velmora().posted, IsEmpty());
}

}  // namespace
