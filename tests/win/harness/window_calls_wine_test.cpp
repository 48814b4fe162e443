// The seam's window and process calls on the real system, through the program's own Windows
// binding (seamprobe): what the process window's lookups, adoption and jobs rely on, and what the
// simulated system plays for the native tests.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "bench.h"
#include "probe.h"
#include "window_app.h"

namespace {

using namespace harness;
using ::testing::ElementsAre;
using ::testing::StartsWith;

std::vector<std::string> Values(const std::vector<ProbeAnswer>& answers) {
    std::vector<std::string> values;
    for (const auto& answer : answers) {
        EXPECT_TRUE(answer.ok) << answer.number << " " << answer.description;
        values.push_back(answer.value);
    }
    return values;
}

std::vector<std::string> Split(const std::string& text, char separator = ',') {
    std::vector<std::string> parts;
    std::istringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);) {
        parts.push_back(part);
    }
    return parts;
}

constexpr const char* kNext = "2";  // GW_HWNDNEXT

TEST(WindowCallsOnWine, ParentIsTheParentOfAChildTheOwnerOfAPopupAndNothingElse) {
    const auto v = Values(Probe({{"make-window", "top", "Oben", "overlapped"},
                                 {"make-window", "owned", "Besessen", "overlapped", "top"},
                                 {"make-window", "popup", "Dialog", "popup", "top"},
                                 {"make-window", "child", "Kind", "child", "top"},
                                 {"parent", "top"},
                                 {"parent", "owned"},
                                 {"parent", "popup"},
                                 {"parent", "child"},
                                 {"parent", "0"}}));
    EXPECT_THAT(std::vector(v.begin() + 4, v.end()), ElementsAre("0", "0", v[0], v[0], "0"));
}

TEST(WindowCallsOnWine, ZOrderWalkBeginsAtTheFirstWindowAndEndsWithZero) {
    const auto v = Values(Probe({{"make-window", "a", "Erstes", "overlapped"},
                                 {"make-window", "b", "Zweites", "hidden-overlapped"},
                                 {"foreground", "a"},
                                 {"find-any"},
                                 {"z-order"},
                                 {"destroy", "b"},
                                 {"window", "b", kNext}}));
    const auto order = Split(v[4]);
    ASSERT_FALSE(order.empty());
    EXPECT_EQ(order.front(), v[3]);  // FindWindowA(null, null) is the top of the Z-order
    EXPECT_THAT(order, ::testing::Contains(v[0]));
    EXPECT_THAT(order, ::testing::Contains(v[1]));  // hidden windows are walked too
    EXPECT_EQ(v[6], "0");                           // a destroyed window has no next one
}

TEST(WindowCallsOnWine, QueueWindowStandInWalksTheZOrderAroundBackToItsStart) {
    const auto first = Values(
        Probe({{"make-window", "a", "Start", "overlapped"}, {"foreground", "a"}, {"z-order"}}));
    const std::size_t count = Split(first[2]).size();
    const auto v = Values(Probe({{"make-window", "a", "Start", "overlapped"},
                                 {"make-window", "b", "Weiter", "overlapped"},
                                 {"foreground", "a"},
                                 {"z-order"},
                                 {"queue", "a", std::to_string(count + 2)},
                                 {"make-window", "c", "Weg", "overlapped"},
                                 {"destroy", "c"},
                                 {"queue", "c", "1"},
                                 {"queue", "0", "1"}}));
    const auto order = Split(v[3]);
    const auto walk = Split(v[4]);
    ASSERT_EQ(walk.size(), count + 2);
    // The window after the start, then the rest in Z-order, wrapping to the first.
    for (std::size_t step = 0; step + 1 < order.size(); ++step) {
        EXPECT_EQ(walk[step], order[step + 1]);
    }
    EXPECT_EQ(walk[order.size() - 1], v[0]);  // back at the start
    EXPECT_EQ(v[7], "0");                     // a destroyed start leads nowhere
    EXPECT_EQ(v[8], "0");                     // nor does the handle 0
}

TEST(WindowCallsOnWine, ThreadAndProcessOfAWindowAndARejectedHandleLeavesTheIdAlone) {
    WindowApp app({"Anderes Programm"});
    const auto v = Values(Probe({{"thread-process", app.windows()[0], "0"},
                                 {"make-window", "gone", "Weg", "overlapped"},
                                 {"destroy", "gone"},
                                 {"thread-process", "gone", "77"},
                                 {"thread-process", "0", "78"}}));
    EXPECT_EQ(v[0], app.thread() + "," + app.pid());
    EXPECT_EQ(v[3], "0,77");
    EXPECT_EQ(v[4], "0,78");
}

TEST(WindowCallsOnWine, WindowTextIsCutAtCapacityLessOneAndCountedInCharacters) {
    WindowApp app({"Jöb Fenster ÄÖÜ"});
    const std::string& job = app.windows()[0];
    const auto v = Values(Probe({{"text", job, "80"},
                                 {"text", job, "5"},
                                 {"text", job, "1"},
                                 {"text", "0", "80"},
                                 {"make-window", "gone", "Weg", "overlapped"},
                                 {"destroy", "gone"},
                                 {"text", "gone", "80"},
                                 {"make-window", "untitled", "", "overlapped"},
                                 {"text", "untitled", "80"}}));
    // count | the text up to its NUL | whether the rest of the buffer is left as it was
    EXPECT_EQ(v[0], "15|Jöb Fenster ÄÖÜ|1");
    EXPECT_EQ(v[1], "4|Jöb |1");
    EXPECT_EQ(v[2], "0||1");
    EXPECT_EQ(v[3], "0||1");
    EXPECT_EQ(v[6], "0||1");
    EXPECT_EQ(v[8], "0||1");
}

TEST(WindowCallsOnWine, WindowTextCountIsInCharactersUnderADoubleByteCodePage) {
    // Wine takes its ANSI code page (932) from the Unix locale, made here for this test alone.
    Bench& bench = Bench::Get();
    const auto locales = bench.NewFolder("locales");
    const Outcome made = harness::Run(
        {"localedef", "-i", "ja_JP", "-f", "UTF-8", (locales / "ja_JP.UTF-8").string()}, {}, 60s);
    ASSERT_EQ(made.exitCode, 0) << made.err;
    const Environment japanese = {{"LOCPATH", locales.string()}, {"LANG", "ja_JP.UTF-8"}};
    const auto v = Values(Probe({{"make-window", "w", "\\u65e5\\u672c\\u8a9eabc", "overlapped"},
                                 {"text", "w", "80"},
                                 {"text", "w", "5"}},
                                japanese));
    EXPECT_EQ(v[1], "6|日本語abc|1");  // 9 bytes in the code page, 6 characters
    EXPECT_EQ(v[2], "2|日本|1");       // 4 bytes fit before the NUL
}

TEST(WindowCallsOnWine, TopmostBandIsEnteredAndLeftAndTheHandleZeroIsRefused) {
    const auto v = Values(Probe({{"make-window", "w", "Oben", "overlapped"},
                                 {"set-pos", "0", "-1", "3"},
                                 {"set-pos", "w", "-1", "3"},
                                 {"set-pos", "w", "-2", "19"},
                                 {"set-pos", "w", "0", "3"}}));
    // result, then whether the window lies in the topmost band
    EXPECT_THAT(std::vector(v.begin() + 1, v.end()), ElementsAre("0,0", "1,1", "1,0", "1,0"));
}

TEST(WindowCallsOnWine, AnotherProgramsWindowIsReparentedOwnedAndKeepsUserData) {
    WindowApp app({"Fremd"});
    const std::string& job = app.windows()[0];
    const auto v = Values(Probe({{"make-window", "form", "Ausführung", "overlapped"},
                                 {"desktop"},
                                 {"get-long", job, "-21"},
                                 {"set-parent", job, "form"},
                                 {"ancestor", job},
                                 {"parent", job},
                                 {"get-long", job, "-21"},
                                 {"set-long", job, "-21", "12345"},
                                 {"get-long", job, "-21"},
                                 {"set-parent", job, "form"},
                                 {"set-long", job, "-8", "form"},
                                 {"ancestor", job},
                                 {"owner", job}}));
    const std::string& form = v[0];
    const std::string& desktop = v[1];
    EXPECT_EQ(v[2], "0");
    EXPECT_EQ(v[3], desktop);  // the previous parent of a top-level window is the desktop
    EXPECT_EQ(v[4], form);
    EXPECT_EQ(v[5], "0");  // an overlapped window has no parent to GetParent, even a child's
    EXPECT_EQ(v[6], "0");  // the user data is read after the re-parenting, still 0
    EXPECT_EQ(v[7], "0");  // the user data it had
    EXPECT_EQ(v[8], "12345");
    EXPECT_EQ(v[9], form);  // the second re-parenting gives the first one's new parent
    // The owner index on a window whose parent is not the desktop re-parents it instead.
    EXPECT_EQ(v[10], form);
    EXPECT_EQ(v[11], form);
    EXPECT_EQ(v[12], "0");
}

TEST(WindowCallsOnWine, OwnerOfATopLevelWindowIsSetByTheOwnerIndex) {
    const auto v = Values(Probe({{"make-window", "form", "Ausführung", "overlapped"},
                                 {"make-window", "w", "Fenster", "overlapped"},
                                 {"set-long", "w", "-8", "form"},
                                 {"owner", "w"},
                                 {"get-long", "w", "-8"}}));
    EXPECT_EQ(v[2], "0");
    EXPECT_EQ(v[3], v[0]);
    EXPECT_EQ(v[4], v[0]);
}

TEST(WindowCallsOnWine, ActivationReachesAnotherProgramsWindowOnlyOnceItIsAChild) {
    WindowApp app({"Fremd"});
    const std::string& job = app.windows()[0];
    const auto v = Values(Probe({{"make-window", "form", "Ausführung", "overlapped"},
                                 {"foreground", "form"},
                                 {"active"},
                                 {"set-active", job},
                                 {"active"},
                                 {"set-parent", job, "form"},
                                 {"set-active", job},
                                 {"active"},
                                 {"set-active", "0"},
                                 {"active"}}));
    const std::string& form = v[0];
    EXPECT_EQ(v[2], form);
    EXPECT_EQ(v[3], "0");  // another thread's window is refused
    EXPECT_EQ(v[4], form);
    // Re-parenting attached the two threads' input, and the job's thread had its own window
    // active: that is now the active window of both, and it can be activated from here.
    EXPECT_EQ(v[6], job);
    EXPECT_EQ(v[7], job);
    EXPECT_EQ(v[8], job);
    EXPECT_EQ(v[9], "0");
}

TEST(WindowCallsOnWine, SentCloseAndQuitReachOnlyTheProcedurePostedQuitEndsTheLoop) {
    WindowApp app({"Normal", "Verweigert,refuse", "Quit,quit"});
    const auto& w = app.windows();
    const auto v = Values(Probe({{"send", w[1], "16"},
                                 {"find", "refusing", "Verweigert"},
                                 {"send", w[0], "18"},
                                 {"find", "normal", "Normal"},
                                 {"send", w[2], "18"},
                                 {"pump", "200"},
                                 {"find", "quitting", "Quit"},
                                 {"post", w[0], "18", "7"}}));
    EXPECT_EQ(v[0], "0");
    EXPECT_EQ(v[1], w[1]);  // the refusing window stays
    EXPECT_EQ(v[2], "0");
    EXPECT_EQ(v[3], w[0]);  // a sent quit leaves a window whose procedure ignores it
    EXPECT_EQ(v[6], "0");   // and one that acts on it destroys itself
    EXPECT_EQ(v[7], "1");
    EXPECT_EQ(app.WaitForExit(10s), 7);  // the posted quit ended the message loop
    std::vector<std::string> kinds;
    for (const Record& record : app.Records()) {
        kinds.push_back(record.kind);
    }
    EXPECT_THAT(kinds,
                ElementsAre("ready", "close", "sent-quit", "sent-quit", "loop-quit", "exit"));
}

TEST(WindowCallsOnWine, CreateProcessGivesHandlesAndIdsAndPassesOnlyTheRecordSize) {
    Bench& bench = Bench::Get();
    const auto log = bench.NewFolder("create-process") / "started.log";
    const std::string recorder = WinePath(bench.Executable("recorder"));
    const std::string app = WinePath(bench.Executable("window_app"));
    const auto v = Values(Probe({{"create-process", "r", recorder + " eins  zwei"},
                                 {"wait", "r.process", "10000"},
                                 {"exit-code", "r.process"},
                                 {"wait", "r.thread", "0"},
                                 {"close", "r.thread"},
                                 {"close", "r.process"},
                                 {"create-process", "w", app + " Job"},
                                 {"wait", "w.process", "1"},
                                 {"terminate", "w.process", "0"},
                                 {"wait", "w.process", "5000"},
                                 {"exit-code", "w.process"},
                                 {"close", "w.thread"},
                                 {"close", "w.process"},
                                 {"close", "w.process"},
                                 {"create-process", "x", "Z:\\no\\such\\program.exe"}},
                                {{"ZARVIK_RECORDER_LOG", WinePath(log)}}));
    const auto created = Split(v[0]);  // result, process id, thread id, process and thread handle
    ASSERT_EQ(created.size(), 5u);
    EXPECT_EQ(created[0], "1");
    EXPECT_NE(created[3], created[1]);  // handles are not ids
    EXPECT_NE(created[4], created[2]);
    EXPECT_THAT(std::vector(v.begin() + 1, v.begin() + 6), ElementsAre("0", "0", "0", "1", "1"));
    EXPECT_THAT(std::vector(v.begin() + 7, v.end() - 1),
                ElementsAre("258", "1", "0", "0", "1", "1", "0"));
    EXPECT_EQ(v.back(), "0,0,0,0,0");

    const auto records = ReadRecords(log);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0]["pid"], created[1]);
    EXPECT_EQ(records[0]["arguments"], "eins  zwei");
    EXPECT_EQ(records[0]["use-show"], "0");  // no show command: only cb was set
}

}  // namespace
