// The simulated system plays the window and process calls as the Wine tests of the same names
// (window_calls_wine_test.cpp) show the real system doing them.

#include "sim_fixture.h"
#include "system/constants.h"

namespace {

using ::testing::ElementsAre;

class SimulatedSystem : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        other_ = world().AddProcess(L"C:\\Fremd\\fremd.exe");
    }
    // A window of the program itself, on its UI thread.
    sys::Hwnd Own(const std::wstring& title, sim::WindowKind kind = sim::WindowKind::Overlapped,
                  sys::Hwnd relative = 0) {
        return world().AddWindow(world().self, title, sim::CloseReaction::AtOnce(), kind, relative);
    }
    sys::Hwnd Foreign(const std::wstring& title,
                      sim::CloseReaction reaction = sim::CloseReaction::AtOnce()) {
        return world().AddWindow(other_, title, reaction);
    }
    static std::wstring TextOf(sys::Hwnd window, std::int32_t capacity) {
        std::wstring buffer(static_cast<std::size_t>(capacity), L' ');
        const std::int32_t count = sys::GetWindowTextA(window, buffer, capacity);
        return std::to_wstring(count) + L"|" + buffer.substr(0, buffer.find(L'\0'));
    }
    sys::ProcessId other_ = 0;
};

TEST_F(SimulatedSystem, ParentIsTheParentOfAChildTheOwnerOfAPopupAndNothingElse) {
    const sys::Hwnd top = Own(L"Oben");
    const sys::Hwnd owned = Own(L"Besessen", sim::WindowKind::Overlapped, top);
    const sys::Hwnd popup = Own(L"Dialog", sim::WindowKind::Popup, top);
    const sys::Hwnd child = Own(L"Kind", sim::WindowKind::Child, top);
    EXPECT_EQ(sys::GetParent(top), 0u);
    EXPECT_EQ(sys::GetParent(owned), 0u);
    EXPECT_EQ(sys::GetParent(popup), top);
    EXPECT_EQ(sys::GetParent(child), top);
    EXPECT_EQ(sys::GetParent(0), 0u);
}

TEST_F(SimulatedSystem, ZOrderWalkBeginsAtTheFirstWindowAndEndsWithZero) {
    const sys::Hwnd first = Own(L"Erstes");
    const sys::Hwnd hidden = Own(L"Zweites");
    world().desktop.Get(hidden).visible = false;
    EXPECT_EQ(sys::FindWindowA(std::nullopt, std::nullopt), first);
    EXPECT_EQ(sys::GetWindow(first, sys::kGwHwndNext), hidden);
    EXPECT_EQ(sys::GetWindow(hidden, sys::kGwHwndNext), 0u);
    world().desktop.Destroy(hidden);
    EXPECT_EQ(sys::GetWindow(hidden, sys::kGwHwndNext), 0u);
}

TEST_F(SimulatedSystem, QueueWindowStandInWalksTheZOrderAroundBackToItsStart) {
    const sys::Hwnd a = Own(L"Start");
    const sys::Hwnd b = Foreign(L"Weiter");
    const sys::Hwnd c = Foreign(L"Noch eins");
    EXPECT_EQ(sys::GetNextQueueWindow(b, 2), c);
    EXPECT_EQ(sys::GetNextQueueWindow(c, 2), a);
    EXPECT_EQ(sys::GetNextQueueWindow(a, 2), b);
    world().desktop.Destroy(c);
    EXPECT_EQ(sys::GetNextQueueWindow(c, 2), 0u);
    EXPECT_EQ(sys::GetNextQueueWindow(0, 2), 0u);
}

TEST_F(SimulatedSystem, ThreadAndProcessOfAWindowAndARejectedHandleLeavesTheIdAlone) {
    const sys::Hwnd window = Foreign(L"Anderes Programm");
    sys::ProcessId process = 0;
    EXPECT_EQ(sys::GetWindowThreadProcessId(window, &process),
              world().processes.Get(other_).mainThread);
    EXPECT_EQ(process, other_);
    world().desktop.Destroy(window);
    process = 77;
    EXPECT_EQ(sys::GetWindowThreadProcessId(window, &process), 0u);
    EXPECT_EQ(process, 77u);
}

TEST_F(SimulatedSystem, WindowTextIsCutAtCapacityLessOneAndCountedInCharacters) {
    const sys::Hwnd job = Foreign(L"J\u00f6b Fenster \u00c4\u00d6\u00dc");
    const sys::Hwnd untitled = Own(L"");
    EXPECT_EQ(TextOf(job, 80), L"15|J\u00f6b Fenster \u00c4\u00d6\u00dc");
    EXPECT_EQ(TextOf(job, 5), L"4|J\u00f6b ");
    EXPECT_EQ(TextOf(job, 1), L"0|");
    EXPECT_EQ(TextOf(0, 80), L"0|");
    EXPECT_EQ(TextOf(untitled, 80), L"0|");
    world().desktop.Destroy(job);
    EXPECT_EQ(TextOf(job, 80), L"0|");
}

TEST_F(SimulatedSystem, TopmostBandIsEnteredAndLeftAndTheHandleZeroIsRefused) {
    const sys::Hwnd below = Own(L"Unten");
    const sys::Hwnd window = Own(L"Oben");
    EXPECT_EQ(sys::SetWindowPos(0, sys::kHwndTopMost, 0, 0, 0, 0, 3), 0);
    EXPECT_EQ(sys::SetWindowPos(window, sys::kHwndTopMost, 0, 0, 0, 0, 3), 1);
    EXPECT_TRUE(world().desktop.Get(window).topmost);
    EXPECT_THAT(world().desktop.Children(), ElementsAre(window, below));
    EXPECT_EQ(sys::SetWindowPos(window, sys::kHwndNoTopMost, 0, 0, 0, 0, 19), 1);
    EXPECT_FALSE(world().desktop.Get(window).topmost);
}

TEST_F(SimulatedSystem, AnotherProgramsWindowIsReparentedOwnedAndKeepsUserData) {
    const sys::Hwnd form = Own(L"Ausf\u00fchrung");
    const sys::Hwnd job = Foreign(L"Fremd");
    EXPECT_EQ(sys::SetParent(job, form), sim::Desktop::kDesktopWindow);
    EXPECT_EQ(world().desktop.Get(job).parent, form);
    EXPECT_EQ(sys::GetParent(job), 0u);
    EXPECT_EQ(sys::GetWindowLongA(job, sys::kGwlUserData), 0);
    EXPECT_EQ(sys::SetWindowLongA(job, sys::kGwlUserData, 12345), 0);
    EXPECT_EQ(sys::GetWindowLongA(job, sys::kGwlUserData), 12345);
    EXPECT_EQ(sys::SetParent(job, form), form);
    EXPECT_EQ(sys::SetWindowLongA(job, sys::kGwlHwndParent, static_cast<std::int32_t>(form)),
              static_cast<std::int32_t>(form));
    EXPECT_EQ(world().desktop.Get(job).parent, form);
    EXPECT_EQ(world().desktop.Get(job).owner, 0u);
}

TEST_F(SimulatedSystem, OwnerOfATopLevelWindowIsSetByTheOwnerIndex) {
    const sys::Hwnd form = Own(L"Ausf\u00fchrung");
    const sys::Hwnd window = Own(L"Fenster");
    EXPECT_EQ(sys::SetWindowLongA(window, sys::kGwlHwndParent, static_cast<std::int32_t>(form)), 0);
    EXPECT_EQ(world().desktop.Get(window).owner, form);
    EXPECT_EQ(sys::GetWindowLongA(window, sys::kGwlHwndParent), static_cast<std::int32_t>(form));
}

TEST_F(SimulatedSystem, ActivationReachesAnotherProgramsWindowOnlyOnceItIsAChild) {
    const sys::Hwnd form = Own(L"Ausf\u00fchrung");
    const sys::Hwnd job = Foreign(L"Fremd");
    world().desktop.SetActive(world().selfThread, form);
    world().desktop.SetActive(world().processes.Get(other_).mainThread, job);  // it showed it
    EXPECT_EQ(sys::SetActiveWindow(job), 0u);
    EXPECT_EQ(sys::GetActiveWindow(), form);
    sys::SetParent(job, form);
    EXPECT_EQ(sys::SetActiveWindow(job), job);
    EXPECT_EQ(sys::GetActiveWindow(), job);
    EXPECT_EQ(sys::SetActiveWindow(0), job);
    EXPECT_EQ(sys::GetActiveWindow(), 0u);
}

TEST_F(SimulatedSystem, SentCloseAndQuitReachOnlyTheProcedurePostedQuitEndsTheLoop) {
    const sys::Hwnd normal = Foreign(L"Normal");
    const sys::Hwnd refusing = Foreign(L"Verweigert", sim::CloseReaction::Refused());
    const sys::Hwnd quitting = Foreign(L"Quit");
    world().desktop.Get(quitting).destroyedBySentQuit = true;
    EXPECT_EQ(sys::SendMessageA(refusing, sys::kWmClose, 0, 0), 0);
    EXPECT_TRUE(world().desktop.Get(refusing).alive);
    EXPECT_EQ(sys::SendMessageA(normal, sys::kWmQuit, 0, 0), 0);
    EXPECT_TRUE(world().desktop.Get(normal).alive);
    sys::SendMessageA(quitting, sys::kWmQuit, 0, 0);
    EXPECT_FALSE(world().desktop.Get(quitting).alive);
    EXPECT_EQ(sys::PostMessageA(normal, sys::kWmQuit, 7, 0), 1);
    world().clock.Advance(1);
    EXPECT_FALSE(world().processes.Get(other_).running);
    EXPECT_EQ(world().processes.Get(other_).exitCode, 7u);
}

TEST_F(SimulatedSystem, CreateProcessGivesHandlesAndIdsAndPassesOnlyTheRecordSize) {
    world().files.AddFile(L"C:\\Tools\\recorder.exe");
    sys::StartupInfo startup{};
    startup.cb = sizeof startup;
    sys::ProcessInformation created{};
    ASSERT_EQ(sys::CreateProcessA(std::nullopt, L"C:\\Tools\\recorder.exe eins  zwei", 1,
                                  sys::kNormalPriorityClass, std::nullopt, startup, created),
              1);
    EXPECT_NE(created.hProcess, created.dwProcessId);
    EXPECT_NE(created.hThread, created.dwThreadId);
    const sim::Process& process = world().processes.Get(created.dwProcessId);
    EXPECT_EQ(process.mainThread, created.dwThreadId);
    EXPECT_EQ(process.commandLine, L"C:\\Tools\\recorder.exe eins  zwei");
    EXPECT_EQ(process.startupInfo->dwFlags, 0u);
    EXPECT_EQ(sys::WaitForSingleObject(created.hProcess, 1), sys::kWaitTimeout);
    EXPECT_EQ(sys::TerminateProcess(created.hProcess, 0), 1);
    EXPECT_EQ(sys::WaitForSingleObject(created.hProcess, 5000), sys::kWaitObject0);
    EXPECT_EQ(sys::WaitForSingleObject(created.hThread, 0), sys::kWaitObject0);
    EXPECT_EQ(process.exitCode, 0u);
    EXPECT_EQ(sys::CloseHandle(created.hThread), 1);
    EXPECT_EQ(sys::CloseHandle(created.hProcess), 1);

    sys::ProcessInformation none{};
    EXPECT_EQ(sys::CreateProcessA(std::nullopt, L"C:\\no\\such\\program.exe", 1, 0x20, std::nullopt,
                                  startup, none),
              0);
    EXPECT_EQ(none.hProcess, 0u);
}

TEST_F(SimulatedSystem, AHandleUsedAfterItWasClosedIsReportedAsMisuse) {
    world().files.AddFile(L"C:\\Tools\\job.exe");
    sys::StartupInfo startup{};
    startup.cb = sizeof startup;
    sys::ProcessInformation created{};
    sys::CreateProcessA(std::nullopt, L"C:\\Tools\\job.exe", 1, 0x20, std::nullopt, startup,
                        created);
    sys::CloseHandle(created.hThread);
    sys::CloseHandle(created.hProcess);
    sys::WaitForSingleObject(created.hProcess, 1);
    sys::TerminateProcess(created.hProcess, 0);
    EXPECT_EQ(world().errors.size(), 2u);
    world().errors.clear();
}

}  // namespace
