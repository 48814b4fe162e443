// Watching and killing the job: every state of the watch and every transition, on the
// simulated clock.

#include "form_fixture.h"
#include "system/constants.h"

namespace {

using namespace frm;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

const std::wstring kJob = L"C:\\Jobs\\job.exe";

class WatchTest : public FormTest {
  protected:
    // A job that ends by itself after `runsFor` ms (never, for nothing), with exit code 1.
    void Start(std::optional<std::uint64_t> runsFor) {
        world().files.AddFile(kJob);
        world().DefineProgram(kJob, sim::Program{runsFor, 1, {}});
        form().Cmdline(kJob);
        Click(Id::cmdCreateProcess);
        job_ = state().JobProcessID;
        process_ = state().JobProcess;
        thread_ = state().JobThread;
        world().log.Clear();
        mirror_.changes.clear();
    }
    bool Indicator() { return control(Id::lblStillRunning).Visible(); }
    // Idle, Watching or Killed, as the watch's states are told apart on the window.
    std::string WatchState() {
        const bool ticking = control(Id::tmrRunning).Enabled();
        const bool idle = control(Id::cmdCreateProcess).Enabled() &&
                          control(Id::cmdShell).Enabled() && !control(Id::cmdKill).Enabled() &&
                          !control(Id::cmdDestroyByProcessID).Enabled();
        if (idle && !ticking && !state().JobHandlesOpen) {
            return "Idle";
        }
        if (!idle && ticking) {
            return state().JobHandlesOpen ? "Watching" : "Killed";
        }
        return "inconsistent";
    }
    void ExpectTheEndOfTheJob() {
        EXPECT_EQ(WatchState(), "Idle");
        EXPECT_EQ(control(Id::lblStillRunning).Caption(), L"Fertig");
        EXPECT_TRUE(Indicator());
        EXPECT_EQ(control(Id::tmrRunning).Interval(), 1000);  // kept for the next start
        for (const Id value : {Id::lblProcess, Id::lblProcessID, Id::lblThread, Id::lblThreadID}) {
            EXPECT_EQ(control(value).Caption(), L"");
        }
        EXPECT_EQ(form().ProcessFinished(), kTrue);
    }
    sys::ProcessId job_ = 0;
    sys::Handle process_ = 0, thread_ = 0;
};

TEST_F(WatchTest, WhileTheJobRunsEachTickBlinksTheIndicatorPollsForAMillisecondAndYields) {
    Start(std::nullopt);
    EXPECT_EQ(WatchState(), "Watching");
    std::vector<bool> shown;
    for (int second = 0; second < 4; ++second) {
        RunFor(1000);
        shown.push_back(Indicator());
    }
    EXPECT_THAT(shown, ElementsAre(true, false, true, false));  // it started hidden
    EXPECT_EQ(control(Id::lblStillRunning).Caption(), L"Ausf\u00fchrung l\u00e4uft ....");
    EXPECT_THAT(CallNames(), ElementsAre(L"WaitForSingleObject", L"HandlePendingMessages",
                                         L"WaitForSingleObject", L"HandlePendingMessages",
                                         L"WaitForSingleObject", L"HandlePendingMessages",
                                         L"WaitForSingleObject", L"HandlePendingMessages"));
    EXPECT_EQ(CallsTo(L"WaitForSingleObject").at(0),
              Called(L"WaitForSingleObject", {process_, 1}, sys::kWaitTimeout));
    EXPECT_EQ(state().ApiResult, static_cast<std::int32_t>(sys::kWaitTimeout));
    EXPECT_EQ(WatchState(), "Watching");
    ExpectOpenHandlesAtEnd(2);
}

TEST_F(WatchTest, AJobThatEndsIsNoticedAtTheNextTickWhichRunsTheEndOfJobStepsInOrder) {
    Start(2500);
    RunFor(2999);
    EXPECT_EQ(WatchState(), "Watching");
    RunFor(1);
    ExpectTheEndOfTheJob();
    EXPECT_THAT(
        CallsTo(L"CloseHandle"),  // the process handle first
        ElementsAre(Called(L"CloseHandle", {process_}, 1), Called(L"CloseHandle", {thread_}, 1)));
    EXPECT_EQ(CallNames().back(), L"HandlePendingMessages");
    using C = RecordingMirror::Change;
    const std::vector<C> endSteps(mirror_.changes.end() - 11, mirror_.changes.end());
    EXPECT_THAT(
        endSteps,
        ElementsAreArray(
            {C{Id::lblStillRunning, Property::Caption}, C{Id::lblStillRunning, Property::Visible},
             C{Id::tmrRunning, Property::Timer}, C{Id::cmdCreateProcess, Property::Enabled},
             C{Id::cmdShell, Property::Enabled}, C{Id::cmdKill, Property::Enabled},
             C{Id::cmdDestroyByProcessID, Property::Enabled}, C{Id::lblProcess, Property::Caption},
             C{Id::lblProcessID, Property::Caption}, C{Id::lblThread, Property::Caption},
             C{Id::lblThreadID, Property::Caption}}));
    RunFor(10000);  // no more ticks
    EXPECT_EQ(CallsTo(L"WaitForSingleObject").size(), 3u);
}

TEST_F(WatchTest, AKillTerminatesWithExitCodeZeroAndClosesThreadThenProcessAndTheTickEndsIt) {
    Start(std::nullopt);
    RunFor(1000);
    world().log.Clear();
    mirror_.changes.clear();
    Click(Id::cmdKill);
    EXPECT_THAT(log().All(), ElementsAre(Called(L"TerminateProcess", {process_, 0}, 1),
                                         Called(L"CloseHandle", {thread_}, 1),
                                         Called(L"CloseHandle", {process_}, 1)));
    EXPECT_EQ(world().processes.Get(job_).exitCode, 0u);
    EXPECT_EQ(WatchState(), "Killed");
    EXPECT_THAT(mirror_.changes, IsEmpty());  // nothing on screen changes until the tick

    Click(Id::cmdKill);  // a second kill before the tick does nothing
    EXPECT_EQ(log().All().size(), 3u);

    RunFor(1000);
    ExpectTheEndOfTheJob();
    // The closed handles are neither waited on nor closed again (a misuse the simulated system
    // would report at the end of the test).
    EXPECT_THAT(log().Names(), ElementsAre(L"TerminateProcess", L"CloseHandle", L"CloseHandle",
                                           L"HandlePendingMessages"));
}

TEST_F(WatchTest, AKillOfAJobThatHasEndedAlreadyStillClosesItsHandles) {
    Start(500);
    RunFor(600);  // ended, not yet noticed
    Click(Id::cmdKill);
    EXPECT_EQ(CallsTo(L"TerminateProcess").at(0).result, 0);
    EXPECT_EQ(CallsTo(L"CloseHandle").size(), 2u);
    RunFor(400);
    ExpectTheEndOfTheJob();
}

TEST_F(WatchTest, AFurtherJobStartsWithTheIndicatorAsTheLastOneLeftItAndIsWatchedAnew) {
    Start(1500);
    RunFor(2000);
    ExpectTheEndOfTheJob();
    Click(Id::cmdCreateProcess);  // the same command line, the job defined to end after 1.5 s
    EXPECT_EQ(WatchState(), "Watching");
    EXPECT_TRUE(Indicator());  // visible since "Fertig"
    RunFor(1000);
    EXPECT_FALSE(Indicator());  // the first tick hides it
    EXPECT_EQ(form().ProcessFinished(), kFalse);
    RunFor(1000);
    ExpectTheEndOfTheJob();
}

}  // namespace
