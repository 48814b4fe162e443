// Window lookup on simulated desktops: the queue walk by process id and by title, the Z-order
// walk to a process's top-level window, and the ends of walks that never come back.

#include "form_fixture.h"

namespace {

using namespace frm;
using ::testing::Each;
using ::testing::ElementsAre;

class LookupTest : public FormTest {
  protected:
    // The windows the queue walk examined, in order.
    std::vector<sim::Value> Stepped() const { return log().Argument(L"GetNextQueueWindow", 0); }
};

TEST_F(LookupTest, TheQueueWalkStartsAfterTheActiveWindowAndExaminesItLast) {
    sys::Hwnd other = 0;
    ProgramWithWindow(L"Ausf\u00fchrung - Kopie", &other);
    EXPECT_EQ(form().gethWndFromTitle(L"Ausf\u00fchrung"), other);
    EXPECT_THAT(log().Argument(L"GetWindowTextA", 0), ElementsAre(other));
    // When nothing else matches, the start window is the result.
    world().desktop.Destroy(other);
    EXPECT_EQ(form().gethWndFromTitle(L"hrung"), self());
    EXPECT_THAT(log().Argument(L"GetNextQueueWindow", 1), Each(2));  // the walk's mode
}

TEST_F(LookupTest, TitlesAreComparedExactlyOnTheirFirst79Characters) {
    sys::Hwnd notepad = 0;
    sys::Hwnd untitled = 0;
    sys::Hwnd longTitle = 0;
    ProgramWithWindow(L"", &untitled);
    ProgramWithWindow(L"Rechnung.txt - Editor", &notepad);
    ProgramWithWindow(std::wstring(79, L'x') + L"Ende", &longTitle);
    struct Case {
        std::wstring text;
        sys::Hwnd expected;
    };
    for (const Case& c : std::vector<Case>{
             {L"Editor", notepad},
             {L"editor", 0},                  // case matters
             {L"Rechnung.txt  - Editor", 0},  // no trimming, no wildcards
             {L"Rechnung*", 0},
             {L"", notepad},  // the first window of the walk whose title is not empty
             {std::wstring(79, L'x'), longTitle},
             {L"Ende", 0},  // beyond the 79 characters read
         }) {
        EXPECT_EQ(form().gethWndFromTitle(c.text), c.expected) << sim::Narrow(c.text);
    }
}

TEST_F(LookupTest, TitleLookupLeavesApiResultAlone) {
    state().ApiResult = 4711;
    ProgramWithWindow(L"Editor");
    form().gethWndFromTitle(L"Editor");
    form().gethWndFromTitle(L"nirgends");
    EXPECT_EQ(state().ApiResult, 4711);
}

TEST_F(LookupTest, ProcessLookupStoresEachThreadIdAndEndsWithThatOfTheLastWindow) {
    sys::Hwnd first = 0;
    const sys::ProcessId job = ProgramWithWindow(L"Job", &first);
    const sys::Hwnd second = world().AddWindow(job, L"Job, zweites Fenster");
    const sys::ThreadId jobThread = world().processes.Get(job).mainThread;

    EXPECT_EQ(form().gethWndFromProcessID(job), first);
    EXPECT_EQ(state().ApiResult, static_cast<std::int32_t>(jobThread));
    world().desktop.Destroy(first);
    EXPECT_EQ(form().gethWndFromProcessID(job), second);

    const std::size_t before = CallsTo(L"GetWindowThreadProcessId").size();
    EXPECT_EQ(form().gethWndFromProcessID(999999), 0u);
    // Every window was asked, the start window (this window, on this thread) last.
    EXPECT_EQ(CallsTo(L"GetWindowThreadProcessId").size() - before, 2u);
    EXPECT_EQ(state().ApiResult, static_cast<std::int32_t>(world().selfThread));
    EXPECT_EQ(form().gethWndFromProcessID(world().self), self());
}

TEST_F(LookupTest, WalksThatDoNotLeadBackToTheirStartStillEnd) {
    const sys::Hwnd a = world().AddWindow(world().AddProcess(L"C:\\a.exe"), L"A");
    const sys::Hwnd b = world().AddWindow(world().AddProcess(L"C:\\b.exe"), L"B");
    struct Case {
        const char* what;
        std::function<void()> arrange;
        std::size_t steps;
    };
    std::vector<Case> cases = {
        {"no active window: the walk starts at 0",
         [&] { world().desktop.SetActive(world().selfThread, 0); }, 1},
        {"the step gives 0", [&] { world().desktop.queueSequence = [](sys::Hwnd) { return 0u; }; },
         1},
        {"a cycle among other windows",
         [&] { world().desktop.queueSequence = [a, b](sys::Hwnd w) { return w == a ? b : a; }; },
         3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        world().desktop.SetActive(world().selfThread, self());
        world().desktop.queueSequence = nullptr;
        c.arrange();
        world().log.Clear();
        EXPECT_EQ(form().gethWndFromTitle(L"nirgends"), 0u);
        EXPECT_EQ(Stepped().size(), c.steps);
        EXPECT_EQ(form().gethWndFromProcessID(999999), 0u);
    }
}

TEST_F(LookupTest, TheStartWindowDestroyedDuringTheWalkEndsIt) {
    const sys::ProcessId other = world().AddProcess(L"C:\\a.exe");
    const sys::Hwnd a = world().AddWindow(other, L"A");
    world().AddWindow(other, L"B");
    // The walk's own step destroys the start window while it walks.
    world().desktop.queueSequence = [&, a](sys::Hwnd w) {
        world().desktop.Destroy(self());
        return w == self() ? a : world().desktop.Next(w);
    };
    EXPECT_EQ(form().gethWndFromTitle(L"nirgends"), 0u);
    EXPECT_EQ(Stepped().size(), 3u);  // A, B, then the 0 after the last
}

TEST_F(LookupTest, ASequenceThatNeverRepeatsEndsAtTheBoundOfAllWindowHandles) {
    sys::Hwnd next = 0x100000;
    world().desktop.queueSequence = [&next](sys::Hwnd) { return next += 4; };
    EXPECT_EQ(form().gethWndFromProcessID(999999), 0u);
    EXPECT_EQ(Stepped().size(), 65536u);
}

TEST_F(LookupTest, TopLevelWindowOfAProcessIsTheFirstWithoutParentOrOwnerInZOrder) {
    const sys::ProcessId job = world().AddProcess(L"C:\\Jobs\\job.exe");
    auto& frm = form();
    const auto top = [&] { return frmProcessInspector::getTopWndFromProcessID(frm, job); };
    EXPECT_EQ(top(), 0u);  // no window yet

    const sys::Hwnd main = world().AddWindow(job, L"Hauptfenster");
    const sys::Hwnd dialog = world().AddWindow(job, L"Dialog", sim::CloseReaction::AtOnce(),
                                               sim::WindowKind::Popup, main);
    world().desktop.Place(dialog, 0);  // the owned dialog lies above everything
    world().log.Clear();
    EXPECT_EQ(top(), main);
    EXPECT_THAT(log().Argument(L"GetWindowThreadProcessId", 0), ElementsAre(self(), main));

    const sys::Hwnd hidden = world().AddWindow(job, L"");
    world().desktop.Get(hidden).visible = false;
    world().desktop.Place(hidden, 0);
    EXPECT_EQ(top(), hidden);  // visibility and title do not matter

    world().desktop.Destroy(main);  // takes its dialog and the hidden window stays
    EXPECT_EQ(top(), hidden);
    EXPECT_EQ(state().ApiResult, 0);  // this walk leaves ApiResult alone
}

TEST_F(LookupTest, AnOwnedDialogIsNeverTheTopLevelWindowEvenWhenItIsTheOnlyOne) {
    const sys::ProcessId job = world().AddProcess(L"C:\\Jobs\\job.exe");
    world().AddWindow(job, L"Dialog", sim::CloseReaction::AtOnce(), sim::WindowKind::Popup, self());
    EXPECT_EQ(frmProcessInspector::getTopWndFromProcessID(form(), job), 0u);
}

}  // namespace
