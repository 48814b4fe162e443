#include "startup/close_window_and_wait.h"

#include <gmock/gmock.h>

#include "sim_fixture.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

class CloseWindowAndWaitTest : public SimTest {
  protected:
    sys::ProcessId AddVelmora(sim::CloseReaction reaction, const std::wstring& title = L"Velmora") {
        const sys::ProcessId process = world().AddProcess(L"C:\\Velmora\\Velmora.exe");
        window_ = world().AddWindow(process, title, reaction);
        return process;
    }
    sys::Hwnd window_ = 0;
};

TEST_F(CloseWindowAndWaitTest, NoSuchWindowReturnsAtOnceDoingNothingElse) {
    startup::CloseWindowAndWait(L"Velmora");
    EXPECT_THAT(world().calls, ElementsAre(L"FindWindowA(null, \"Velmora\") -> 0"));
}

TEST_F(CloseWindowAndWaitTest, OpensForWaitingThenPostsCloseThenWaitsWithoutLimitThenCloses) {
    const sys::ProcessId velmora = AddVelmora(sim::CloseReaction::AtOnce());
    startup::CloseWindowAndWait(L"Velmora");

    EXPECT_THAT(world().CallNames(),
                ElementsAre(L"FindWindowA", L"GetWindowThreadProcessId", L"OpenProcess",
                            L"PostMessageA", L"WaitForSingleObject", L"CloseHandle"));
    const auto& calls = world().calls;
    // SYNCHRONIZE only, not inheritable, for the window's own process.
    EXPECT_EQ(calls[2].substr(0, calls[2].find(L")")),
              L"OpenProcess(1048576, 0, " + std::to_wstring(velmora));
    EXPECT_EQ(calls[3], L"PostMessageA(" + std::to_wstring(window_) + L", 16, 0, 0) -> 1");
    EXPECT_THAT(calls[4], HasSubstr(L", 4294967295) -> 0"));  // INFINITE, then WAIT_OBJECT_0
    EXPECT_FALSE(world().ProcessById(velmora).running);
}

TEST_F(CloseWindowAndWaitTest, WaitsForTheProcessNotJustItsWindow) {
    const sys::ProcessId velmora = AddVelmora(sim::CloseReaction::WindowOnly(5000));
    startup::CloseWindowAndWait(L"Velmora");
    EXPECT_FALSE(world().WindowByHandle(window_).alive);
    EXPECT_FALSE(world().ProcessById(velmora).running);
    EXPECT_EQ(world().now, 5000u);  // returned when the process ended, not when its window went
    EXPECT_EQ(CallsTo(L"WaitForSingleObject").size(), 1u);  // one blocking wait, no polling
}

TEST_F(CloseWindowAndWaitTest, DelayedCloseIsWaitedFor) {
    AddVelmora(sim::CloseReaction::Delayed(3000));
    startup::CloseWindowAndWait(L"Velmora");
    EXPECT_EQ(world().now, 3000u);
}

TEST_F(CloseWindowAndWaitTest, RefusedCloseKeepsItWaitingWithoutLimit) {
    const sys::ProcessId velmora = AddVelmora(sim::CloseReaction::Refused());
    EXPECT_THROW(startup::CloseWindowAndWait(L"Velmora"), sim::Hang);
    // The simulation gives up on the wait; the handle is still released on the way out.
    EXPECT_THAT(CallsTo(L"WaitForSingleObject"),
                ElementsAre(HasSubstr(L", 4294967295) -> never returns")));
    EXPECT_TRUE(world().ProcessById(velmora).running);
}

TEST_F(CloseWindowAndWaitTest, ProcessThatCannotBeOpenedIsStillAskedAndNotWaitedFor) {
    const sys::ProcessId velmora = AddVelmora(sim::CloseReaction::Refused());
    world().ProcessById(velmora).openable = false;
    startup::CloseWindowAndWait(L"Velmora");
    EXPECT_THAT(world().CallNames(),
                ElementsAre(L"FindWindowA", L"GetWindowThreadProcessId", L"OpenProcess",
                            L"PostMessageA", L"WaitForSingleObject"));
    EXPECT_THAT(world().calls[2], HasSubstr(L"-> 0"));
    EXPECT_THAT(world().calls[4], StartsWith(L"WaitForSingleObject(0, 4294967295) -> 4294967295"));
    EXPECT_EQ(world().WindowByHandle(window_).posted, std::vector<std::uint32_t>{16});
}

TEST_F(CloseWindowAndWaitTest, OnlyTheWholeTitleIsFound) {
    AddVelmora(sim::CloseReaction::AtOnce(), L"Velmora - Mandant 1");
    const sys::ProcessId other = world().AddProcess(L"C:\\x.exe");
    world().AddWindow(other, L"Velmor");
    startup::CloseWindowAndWait(L"Velmora");
    EXPECT_THAT(world().CallNames(), ElementsAre(L"FindWindowA"));
    EXPECT_TRUE(world().WindowByHandle(window_).posted.empty());
}

TEST_F(CloseWindowAndWaitTest, OfTwoWindowsOnlyTheFirstFoundIsClosedAndWaitedFor) {
    const sys::ProcessId first = AddVelmora(sim::CloseReaction::AtOnce());
    const sys::Hwnd firstWindow = window_;
    const sys::ProcessId second = AddVelmora(sim::CloseReaction::AtOnce());
    startup::CloseWindowAndWait(L"Velmora");
    EXPECT_FALSE(world().ProcessById(first).running);
    EXPECT_EQ(world().WindowByHandle(firstWindow).posted.size(), 1u);
    EXPECT_TRUE(world().ProcessById(second).running);
    EXPECT_TRUE(world().WindowByHandle(window_).posted.empty());
}

}  // namespace
