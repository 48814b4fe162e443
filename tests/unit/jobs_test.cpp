// Starting a job: by process creation and by the shell route, the failed starts, and a start
// while a job is still watched.

#include <cstring>

#include "form_fixture.h"
#include "system/constants.h"

namespace {

using namespace frm;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

const std::wstring kJob = L"C:\\Jobs\\job.exe";
const std::wstring kRunning = L"Ausf\u00fchrung l\u00e4uft ....";

class JobsTest : public FormTest {
  protected:
    void SetUp() override {
        FormTest::SetUp();
        world().files.AddFile(kJob);
        world().DefineProgram(kJob, sim::Program{std::nullopt, 1, {{L"J\u00f6b", 0}}});
    }
    // The job's handles stay open while it is watched; a test that leaves it watched says so.
    void LeaveWatched() { ExpectOpenHandlesAtEnd(2); }
    std::wstring Caption(Id id) { return control(id).Caption(); }
    std::vector<bool> StartAndKill() {
        return {control(Id::cmdCreateProcess).Enabled(), control(Id::cmdShell).Enabled(),
                control(Id::cmdKill).Enabled(), control(Id::cmdDestroyByProcessID).Enabled()};
    }
};

TEST_F(JobsTest, ProcessCreationStartsTheCommandLineOfCmdlineAndWatchesIt) {
    form().Cmdline(kJob + L" -x  \"zwei drei\"");
    control(Id::txtStart).ReflectCaption(L"was der Benutzer tippte");
    Click(Id::cmdCreateProcess);
    LeaveWatched();

    const auto created = CallsTo(L"CreateProcessA");
    ASSERT_EQ(created.size(), 1u);
    const auto& written = created[0].written;
    // Null name and folder, inherited handles, NORMAL_PRIORITY_CLASS, only cb set (68).
    EXPECT_EQ(created[0], Called(L"CreateProcessA",
                                 {sim::null, kJob + L" -x  \"zwei drei\"", 1, 0x20, sim::null, 68},
                                 1, written));
    const State& s = state();
    EXPECT_EQ(s.ApiResult, 1);
    EXPECT_EQ(s.JobProcess, s.ProcInfo.hProcess);
    EXPECT_EQ(s.JobThread, s.ProcInfo.hThread);
    EXPECT_EQ(s.JobProcessID, s.ProcInfo.dwProcessId);
    EXPECT_EQ(s.JobThreadID, s.ProcInfo.dwThreadId);
    const sim::Process& job = world().processes.Get(s.JobProcessID);
    EXPECT_EQ(job.mainThread, s.JobThreadID);
    sys::StartupInfo onlySize{};
    onlySize.cb = 68;
    EXPECT_EQ(std::memcmp(&*job.startupInfo, &onlySize, sizeof onlySize), 0);
    EXPECT_EQ(job.inheritedHandles, 1);
    EXPECT_EQ(job.creationFlags, 0x20u);

    EXPECT_EQ(Caption(Id::txtStart), form().Cmdline());
    EXPECT_EQ(Caption(Id::lblStillRunning), kRunning);
    EXPECT_EQ(StartAndKill(), (std::vector<bool>{false, false, true, true}));
    EXPECT_EQ(Caption(Id::lblProcess), std::to_wstring(s.JobProcess));  // handles, not ids
    EXPECT_EQ(Caption(Id::lblThread), std::to_wstring(s.JobThread));
    EXPECT_NE(Caption(Id::lblProcess), Caption(Id::lblProcessID));
    EXPECT_EQ(Caption(Id::lblProcessID), std::to_wstring(s.JobProcessID));
    EXPECT_EQ(Caption(Id::lblThreadID), std::to_wstring(s.JobThreadID));
    EXPECT_EQ(control(Id::tmrRunning).Interval(), 1000);
    EXPECT_TRUE(control(Id::tmrRunning).Enabled());
    EXPECT_EQ(form().ProcessFinished(), kFalse);
    // The steps in their order: labels, buttons, values, the window's adoption, the timer.
    using C = RecordingMirror::Change;
    EXPECT_THAT(
        mirror_.changes,
        ElementsAreArray(
            {C{Id::txtStart, Property::Caption}, C{Id::lblStillRunning, Property::Caption},
             C{Id::cmdCreateProcess, Property::Enabled}, C{Id::cmdShell, Property::Enabled},
             C{Id::cmdKill, Property::Enabled}, C{Id::cmdDestroyByProcessID, Property::Enabled},
             C{Id::lblProcess, Property::Caption}, C{Id::lblThread, Property::Caption},
             C{Id::lblThreadID, Property::Caption}, C{Id::lblProcessID, Property::Caption},
             C{Id::lblJob, Property::Caption}, C{Id::tmrRunning, Property::Timer},
             C{Id::tmrRunning, Property::Timer}}));
    // EmbedJobWindow came right after the start, before the job had shown its window.
    EXPECT_EQ(Caption(Id::lblJob), L"");
}

TEST_F(JobsTest, AnEmptyCmdlineEmptiesTheTextBoxAndDoesNothingElse) {
    for (const Id button : {Id::cmdCreateProcess, Id::cmdShell}) {
        control(Id::txtStart).ReflectCaption(L"getippt");
        form().ProcessFinished(kTrue);
        Click(button);
        EXPECT_EQ(Caption(Id::txtStart), L"");
        EXPECT_EQ(form().ProcessFinished(), kFalse);
    }
    EXPECT_THAT(log().All(), IsEmpty());
}

TEST_F(JobsTest, AFailedProcessCreationIsReportedInGermanAndChangesNothingElse) {
    form().Cmdline(L"C:\\nirgends\\nichts.exe /a");
    world().desktop.AnswerMessageBox(sys::kIdOk);
    Click(Id::cmdCreateProcess);
    EXPECT_EQ(CallsTo(L"ShowMessageBox").at(0),
              Called(L"ShowMessageBox",
                     {L"Prozess konnte nicht gestartet werden : C:\\nirgends\\nichts.exe /a", 0,
                      L"ZARVIK Setup"},
                     1));
    EXPECT_EQ(form().ProcessFinished(), kTrue);
    EXPECT_EQ(state().ApiResult, 0);
    EXPECT_EQ(StartAndKill(), (std::vector<bool>{true, true, false, false}));
    EXPECT_EQ(control(Id::tmrRunning).Interval(), 0);
    EXPECT_EQ(state().JobProcessID, 0u);
    EXPECT_EQ(Caption(Id::lblProcessID), L"");
}

TEST_F(JobsTest, TheShellRouteStartsHiddenShowsOnlyTheIdAndIsNotWatched) {
    form().Cmdline(kJob + L" -y");
    Click(Id::cmdShell);
    EXPECT_EQ(CallsTo(L"StartCommandLine").at(0),
              Called(L"StartCommandLine", {kJob + L" -y", 0}, state().JobProcessID));
    EXPECT_EQ(world().processes.Get(state().JobProcessID).style, sys::WindowStyle::Hidden);
    EXPECT_EQ(Caption(Id::lblStillRunning), L"");
    EXPECT_EQ(Caption(Id::lblProcess), L"-");
    EXPECT_EQ(Caption(Id::lblThread), L"-");
    EXPECT_EQ(Caption(Id::lblThreadID), L"-");
    EXPECT_EQ(Caption(Id::lblProcessID), std::to_wstring(state().JobProcessID));
    EXPECT_EQ(StartAndKill(), (std::vector<bool>{true, true, false, false}));
    EXPECT_EQ(control(Id::tmrRunning).Interval(), 0);
    EXPECT_EQ(form().ProcessFinished(), kFalse);
    EXPECT_EQ(CallsTo(L"FindWindowA").size(), 1u);  // EmbedJobWindow, at once
    RunFor(5000);
    EXPECT_THAT(CallsTo(L"WaitForSingleObject"), IsEmpty());
    EXPECT_NE(Caption(Id::lblStillRunning), L"Fertig");
}

TEST_F(JobsTest, AFailedShellStartIsReportedWithNumberAndDescriptionAndKeepsEarlierValues) {
    form().Cmdline(kJob);
    Click(Id::cmdShell);
    const sys::ProcessId earlier = state().JobProcessID;
    form().Cmdline(L"nichts.exe");
    world().desktop.AnswerMessageBox(sys::kIdOk);
    Click(Id::cmdShell);
    EXPECT_EQ(CallsTo(L"ShowMessageBox").at(0),
              Called(L"ShowMessageBox",
                     {L"Fehler aufgetreten : nichts.exe\n\nError 2 simulated error 2", 0,
                      L"ZARVIK Setup"},
                     1));
    EXPECT_EQ(form().ProcessFinished(), kFalse);
    EXPECT_EQ(state().JobProcessID, earlier);
    EXPECT_EQ(Caption(Id::lblProcessID), std::to_wstring(earlier));
}

TEST_F(JobsTest, AFailureInsideTheShellRouteIsHandledThereAndTheStepsBeforeItStayDone) {
    form().Cmdline(kJob);
    mirror_.Refuse(Id::lblJob, Property::Caption);  // inside EmbedJobWindow
    world().desktop.AnswerMessageBox(sys::kIdOk);
    EXPECT_FALSE(EndsTheProgram([&] { Click(Id::cmdShell); }));
    EXPECT_EQ(CallsTo(L"ShowMessageBox").at(0).arguments.at(0),
              L"Fehler aufgetreten : " + kJob + L"\n\nError 380 Ung\u00fcltiger Eigenschaftswert");
    EXPECT_EQ(Caption(Id::lblProcessID), std::to_wstring(state().JobProcessID));
}

TEST_F(JobsTest, AFailureInsideTheProcessCreationRouteIsUnhandledAndEndsTheProgram) {
    form().Cmdline(kJob);
    mirror_.Refuse(Id::lblProcess, Property::Caption);
    EXPECT_TRUE(EndsTheProgram([&] { Click(Id::cmdCreateProcess); }));
    EXPECT_EQ(CallsTo(L"ReportUnhandledFailure").size(), 1u);
    LeaveWatched();  // the program is over; its job's handles die with it
}

TEST_F(JobsTest, AProcessCreationStartWhileAJobIsWatchedClosesTheEarlierJobsHandlesFirst) {
    form().Cmdline(kJob);
    form().CreateThisProcess();
    const State first = state();
    form().CreateThisProcess();
    LeaveWatched();
    EXPECT_THAT(CallsTo(L"CloseHandle"), ElementsAre(Called(L"CloseHandle", {first.JobProcess}, 1),
                                                     Called(L"CloseHandle", {first.JobThread}, 1)));
    EXPECT_TRUE(world().processes.Get(first.JobProcessID).running);  // it runs on, unwatched
    EXPECT_NE(state().JobProcess, first.JobProcess);
}

TEST_F(JobsTest, AShellStartWhileAJobIsWatchedLeavesTheWatchOnTheEarlierJob) {
    form().Cmdline(kJob);
    form().CreateThisProcess();
    const State first = state();
    form().StartViaShell();
    LeaveWatched();
    EXPECT_NE(state().JobProcessID, first.JobProcessID);
    RunFor(1000);
    EXPECT_EQ(CallsTo(L"WaitForSingleObject").at(0).arguments.at(0), first.JobProcess);
}

}  // namespace
