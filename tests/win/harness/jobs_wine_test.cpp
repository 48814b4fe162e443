// Jobs of the process window on the real system: ProcessHost.exe starts a fixture program by
// either route, watches it, kills it, and ends programs by title and by process id, worked with
// real input.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <thread>

#include "bench.h"
#include "probe.h"
#include "ui.h"
#include "window_app.h"

namespace {

using namespace harness;
using ::testing::ElementsAre;

constexpr const char* kStillRunning = "1010";
constexpr const char* kProcess = "1004";
constexpr const char* kThread = "1003";
constexpr const char* kProcessId = "1002";
constexpr const char* kThreadId = "1001";
constexpr const char* kKill = "1016";
constexpr const char* kCreate = "1015";
constexpr const char* kShell = "1014";
constexpr const char* kDestroyByProcess = "1023";

// A log that window_app writes when ProcessHost starts it.
class JobLog {
  public:
    JobLog() : file_(Bench::Get().NewFolder("job") / "log.txt") {}
    Environment Variable() const { return {{"ZARVIK_WINDOW_APP_LOG", WinePath(file_)}}; }
    // The first record of this kind, once it has come.
    Record WaitFor(const std::string& kind, std::size_t which = 0) const {
        for (int wait = 0; wait < 400; ++wait) {
            std::size_t seen = 0;
            for (const Record& record : ReadRecords(file_)) {
                if (record.kind == kind && seen++ == which) {
                    return record;
                }
            }
            std::this_thread::sleep_for(25ms);
        }
        ADD_FAILURE() << "no " << kind << " record";
        return Record{};
    }
    std::vector<std::string> Kinds() const {
        std::vector<std::string> kinds;
        for (const Record& record : ReadRecords(file_)) {
            kinds.push_back(record.kind);
        }
        return kinds;
    }

  private:
    std::filesystem::path file_;
};

std::vector<std::string> Job(const std::string& route, const std::vector<std::string>& rest) {
    std::vector<std::string> arguments = {route, WinePath(Bench::Get().Executable("window_app"))};
    arguments.insert(arguments.end(), rest.begin(), rest.end());
    return arguments;
}

std::string Text(const std::string& window, const char* id) {
    return ControlOf(window, id).text;
}

// Waits until the control shows the text; the moment it saw it, in 100 ns units.
unsigned long long SeenAt(const std::string& window, const char* id, const std::string& text) {
    const std::string seen = Drive({{"wait-text", window, id, text, "10000"}}).value;
    return std::stoull(seen.substr(seen.find(',') + 1));
}

void ExpectIdle(const std::string& w) {
    EXPECT_EQ(Text(w, kStillRunning), "Fertig");
    EXPECT_TRUE(ControlOf(w, kStillRunning).visible);
    EXPECT_TRUE(ControlOf(w, kCreate).enabled);
    EXPECT_TRUE(ControlOf(w, kShell).enabled);
    EXPECT_FALSE(ControlOf(w, kKill).enabled);
    EXPECT_FALSE(ControlOf(w, kDestroyByProcess).enabled);
    for (const char* value : {kProcess, kThread, kProcessId, kThreadId}) {
        EXPECT_EQ(Text(w, value), "");
    }
}

TEST(JobsOnWine, ProcessCreationShowsTheJobsHandlesAndIdsAndNoticesItsEndWithinASecond) {
    JobLog log;
    HostedWindow host(Job("--create", {"--exit-after=2500", "Jöb"}), log.Variable());
    const std::string& w = host.window();
    const Record ready = log.WaitFor("ready");
    EXPECT_EQ(Text(w, kProcessId), ready["pid"]);
    EXPECT_EQ(Text(w, kThreadId), ready["thread"]);
    // Handle values (which may, by chance, equal the ids under Wine: both are small multiples
    // of 4); that they are the job's handles shows the in-process test below.
    EXPECT_GT(std::stoul(Text(w, kProcess)), 0u);
    EXPECT_GT(std::stoul(Text(w, kThread)), 0u);
    EXPECT_EQ(Text(w, kStillRunning), "Ausführung läuft ....");
    EXPECT_FALSE(ControlOf(w, kCreate).enabled);
    EXPECT_TRUE(ControlOf(w, kKill).enabled);

    const unsigned long long fertig = SeenAt(w, kStillRunning, "Fertig");
    const unsigned long long exited = std::stoull(log.WaitFor("exit")["time"]);
    // At the first tick after the exit: at most the timer's second, and the time to look.
    EXPECT_LT((fertig - exited) / 10000, 1500u) << "ms from the job's exit to \"Fertig\"";
    ExpectIdle(w);
    EXPECT_EQ(host.Close(), 1);  // ProcessFinished is True
}

TEST(JobsOnWine, TheShellRouteShowsOnlyTheJobsProcessIdAndNeverWatchesIt) {
    JobLog log;
    HostedWindow host(Job("--shell", {"--exit-after=1500", "Shell-Job"}), log.Variable());
    const std::string& w = host.window();
    EXPECT_EQ(Text(w, kProcessId), log.WaitFor("ready")["pid"]);
    for (const char* dash : {kProcess, kThread, kThreadId}) {
        EXPECT_EQ(Text(w, dash), "-");
    }
    EXPECT_EQ(Text(w, kStillRunning), "");
    log.WaitFor("exit");
    Drive({{"sleep", "1500"}});
    EXPECT_EQ(Text(w, kStillRunning), "");  // never "Fertig"
    EXPECT_TRUE(ControlOf(w, kCreate).enabled);
    EXPECT_EQ(host.Close(), 0);  // ProcessFinished stays False
}

TEST(JobsOnWine, AKillEndsTheJobWithExitCodeZeroAndAStartAfterFertigWatchesANewJob) {
    JobLog log;
    HostedWindow host(Job("--create", {"Ziel"}), log.Variable());
    const std::string& w = host.window();
    const std::string pid = log.WaitFor("ready")["pid"];
    Bench& bench = Bench::Get();
    auto watcher = bench.Start(bench.Executable("seamprobe"), {"watch-exit", pid, "20000"});
    ASSERT_EQ(watcher->ReadLine(10s), "ok\twatching");

    Drive({{"keys", w, "alt+f10"}, {"click", w, kKill, "10", "5"}});
    SeenAt(w, kStillRunning, "Fertig");
    EXPECT_EQ(watcher->Wait(10s).out, "ok\t0\n");  // the exit code of the kill
    ExpectIdle(w);

    Drive({{"click", w, kCreate, "10", "5"}});  // the same Cmdline, started anew
    const std::string again = log.WaitFor("ready", 1)["pid"];
    EXPECT_NE(again, pid);
    EXPECT_EQ(Text(w, kProcessId), again);
    EXPECT_EQ(Text(w, kStillRunning), "Ausführung läuft ....");
    Drive({{"click", w, kKill, "10", "5"}});
    SeenAt(w, kStillRunning, "Fertig");
}

TEST(JobsOnWine, EndingByTitlePostsCloseOrQuitToTheFirstWindowWhoseTitleHoldsTheText) {
    WindowApp closing({"Ziel Eins"});
    WindowApp quitting({"Ziel Zwei"});
    HostedWindow host;
    const std::string& w = host.window();
    Drive({{"keys", w, "alt+f10"},
           {"type", w, "1019", "Ziel Eins"},
           {"click", w, "1021", "10", "5"}});  // Close is selected
    EXPECT_EQ(closing.WaitForExit(10s), 0);
    EXPECT_THAT(closing.Records().at(1).kind, "close");

    Drive({{"click", w, "1018", "5", "5"},  // Quit
           {"focus", w, "1019"},
           {"type", w, "1019", "\b\b\b\bZwei"},
           {"click", w, "1021", "10", "5"}});
    EXPECT_EQ(quitting.WaitForExit(10s), 0);
    ASSERT_TRUE(quitting.WaitFor("loop-quit", 1s));  // the posted quit reached its message loop
}

TEST(JobsOnWine, EndingByProcessClosesEveryWindowOfTheJobAndStopsAtOneThatRefuses) {
    JobLog log;
    HostedWindow host(Job("--create", {"A", "B", "C"}), log.Variable());
    const std::string& w = host.window();
    log.WaitFor("ready");
    Drive({{"keys", w, "alt+f10"}, {"click", w, kDestroyByProcess, "10", "5"}});
    log.WaitFor("exit");
    EXPECT_THAT(log.Kinds(), ElementsAre("ready", "close", "close", "close", "exit"));
    SeenAt(w, kStillRunning, "Fertig");
    host.Close();

    JobLog refusing;
    HostedWindow second(Job("--create", {"Bleibt,refuse"}), refusing.Variable());
    const std::string& v = second.window();
    refusing.WaitFor("ready");
    Drive({{"keys", v, "alt+f10"}, {"click", v, kDestroyByProcess, "10", "5"}});
    refusing.WaitFor("close");
    // The loop ended: the window still answers, and the job runs on.
    Drive({{"keys", v, "alt+f10"}});
    EXPECT_FALSE(ControlOf(v, "1011").visible);
    EXPECT_THAT(refusing.Kinds(), ElementsAre("ready", "close"));
    EXPECT_EQ(Text(v, kStillRunning), "Ausführung läuft ....");
    Drive({{"keys", v, "alt+f10"}, {"click", v, kKill, "10", "5"}});
    SeenAt(v, kStillRunning, "Fertig");
}

TEST(JobsOnWine, TheValueLabelsShowTheJobsHandlesAndIdsAndTheHostLeaksNone) {
    Bench& bench = Bench::Get();
    const std::string line = WinePath(bench.Executable("window_app")) + " --exit-after=1200 X";
    const Outcome outcome = bench.Wine(bench.Executable("form_host"), {"job", line}, 60s);
    ASSERT_EQ(outcome.exitCode, 0) << outcome.out << outcome.err;
    const Record record = ParseRecord(Lines(outcome.out).at(0));
    EXPECT_EQ(record["finished"], "1");
    EXPECT_EQ(record["handles-after"], record["handles-before"]);
    // The handles shown name the job's process and its main thread, whose ids are shown beside.
    EXPECT_EQ(record["process-of-handle"], record["process-id"]);
    EXPECT_EQ(record["thread-of-handle"], record["thread-id"]);
    EXPECT_NE(record["process-id"], "0");
}

}  // namespace
