// Setup.exe and a running main application: the stand-in "Velmora" window and its process.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "bench.h"
#include "medium.h"
#include "probe.h"

namespace {

using namespace harness;
namespace fs = std::filesystem;
using ::testing::IsEmpty;

// The stand-in main application, with a window of the given title, answering WM_CLOSE as told.
class StandIn {
  public:
    StandIn(const std::string& title, const std::string& mode, int delayMs = 0) {
        Bench& bench = Bench::Get();
        log_ = bench.NewFolder("standin") / "standin.log";
        process_ =
            bench.Start(bench.Executable("standin_app"), {title, mode, std::to_string(delayMs)},
                        {{"ZARVIK_STANDIN_LOG", WinePath(log_)}});
        for (int wait = 0; wait < 200 && Find("ready") == nullptr; ++wait) {
            std::this_thread::sleep_for(50ms);
        }
        if (Find("ready") == nullptr) {
            throw std::runtime_error("the stand-in did not come up");
        }
    }
    std::optional<Record> Event(const std::string& kind) const {
        for (const auto& record : ReadRecords(log_)) {
            if (record.kind == kind) {
                return record;
            }
        }
        return std::nullopt;
    }
    unsigned long long Time(const std::string& kind) const {
        const auto event = Event(kind);
        return event ? std::stoull((*event)["time"]) : 0;
    }
    Outcome Wait(std::chrono::milliseconds timeout) { return process_->Wait(timeout); }

  private:
    const Record* Find(const std::string& kind) {
        records_ = ReadRecords(log_);
        for (const auto& record : records_) {
            if (record.kind == kind) {
                return &record;
            }
        }
        return nullptr;
    }
    fs::path log_;
    std::unique_ptr<Child> process_;
    std::vector<Record> records_;
};

constexpr unsigned long long kTicksPerMs = 10000;  // FILETIME counts 100 ns

TEST(VelmoraOnWine, WindowThatClosesAtOnceIsClosedAndTheSequenceGoesOn) {
    Medium medium;
    StandIn velmora("Velmora", "close");
    EXPECT_EQ(medium.RunSetup().exitCode, 0);
    EXPECT_TRUE(velmora.Event("close-requested"));
    EXPECT_FALSE(velmora.Wait(10s).timedOut);
    const Record started = medium.OnlyStarted();
    EXPECT_GE(std::stoull(started["time"]), velmora.Time("exit"));
}

TEST(VelmoraOnWine, NothingIsStartedBeforeADelayedCloseHasEndedTheProcess) {
    Medium medium;
    StandIn velmora("Velmora", "delay", 2000);
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(medium.RunSetup().exitCode, 0);
    EXPECT_GE(std::chrono::steady_clock::now() - before, 2000ms);
    const Record started = medium.OnlyStarted();
    const unsigned long long startedAt = std::stoull(started["time"]);
    EXPECT_GT(startedAt, velmora.Time("exit"));
    EXPECT_GE(startedAt - velmora.Time("close-requested"), 2000 * kTicksPerMs);
}

TEST(VelmoraOnWine, ProcessThatRunsOnAfterItsWindowClosedIsWaitedFor) {
    Medium medium;
    StandIn velmora("Velmora", "linger", 2000);
    EXPECT_EQ(medium.RunSetup().exitCode, 0);
    const Record started = medium.OnlyStarted();
    EXPECT_GT(std::stoull(started["time"]), velmora.Time("exit"));
    EXPECT_GE(velmora.Time("exit") - velmora.Time("close-requested"), 2000 * kTicksPerMs);
}

TEST(VelmoraOnWine, WindowWhoseTitleOnlyContainsVelmoraIsLeftAlone) {
    Medium medium;
    StandIn other("Velmora - Mandant 1", "close");
    EXPECT_EQ(medium.RunSetup().exitCode, 0);
    EXPECT_EQ(medium.Started(1).size(), 1u);
    EXPECT_FALSE(other.Event("close-requested"));
    EXPECT_TRUE(other.Wait(200ms).timedOut);  // still running; killed now
}

TEST(VelmoraOnWine, TitleIsComparedWithoutRegardToCase) {
    // What the simulated FindWindowA does as well.
    Medium medium;
    StandIn velmora("VELMORA", "close");
    EXPECT_EQ(medium.RunSetup().exitCode, 0);
    EXPECT_TRUE(velmora.Event("close-requested"));
}

TEST(VelmoraOnWine, CloseWindowAndWaitLeavesNoHandleOpen) {
    StandIn velmora("Velmora", "delay", 500);
    const ProbeAnswer answer = ProbeOne({"close-window-and-wait", "Velmora"});
    ASSERT_TRUE(answer.ok) << answer.description;
    // "handles BEFORE AFTER waited MS"
    std::istringstream words(answer.value);
    std::string word;
    std::size_t before = 0;
    std::size_t after = 0;
    long waited = 0;
    words >> word >> before >> after >> word >> waited;
    EXPECT_GT(before, 0u);
    EXPECT_EQ(after, before);
    EXPECT_GE(waited, 450);
    EXPECT_TRUE(velmora.Event("exit"));
}

TEST(SetupLeavesNoTrace, ShowsNoWindowOfItsOwnAndWritesNothing) {
    Medium medium;
    medium.StoreDataPath(std::nullopt);
    Bench& bench = Bench::Get();
    const auto snapshot = [&] {
        std::string state;
        for (const auto& entry : fs::recursive_directory_iterator(medium.UnixFolder())) {
            state += entry.path().string() + " " +
                     (entry.is_regular_file() ? std::to_string(entry.file_size()) : "dir") + " " +
                     std::to_string(entry.last_write_time().time_since_epoch().count()) + "\n";
        }
        const fs::path exported = bench.scratch() / "hkcu.reg";
        fs::remove(exported);
        bench.Wine("C:\\windows\\regedit.exe",
                   {"/E", WinePath(exported), "HKEY_CURRENT_USER\\Software"});
        std::ifstream file(exported, std::ios::binary);
        return state + std::string(std::istreambuf_iterator<char>(file), {});
    };
    const std::string before = snapshot();

    const auto setup = medium.StartSetup();
    const Outcome shown = bench.Wine(bench.Executable("mbdriver"),
                                     {"wait", "--image", "Setup.exe", "--timeout", "20000"});
    ASSERT_EQ(shown.exitCode, 0);
    const Outcome windows =
        bench.Wine(bench.Executable("mbdriver"), {"windows", "--image", "Setup.exe"});
    const auto lines = Lines(windows.out);
    ASSERT_EQ(lines.size(), 1u) << windows.out;  // the question, and nothing else
    EXPECT_EQ(ParseRecord(lines[0])["class"], "#32770");
    AnswerBox(7);
    EXPECT_FALSE(setup->Wait(30s).timedOut);

    EXPECT_EQ(snapshot(), before);
}

}  // namespace
