// The launcher on the real system in the unusual but real environments where it used to go
// wrong: a drive that remembers a folder that no longer exists, a renamed launcher, a program
// that needs elevation, and the support trace it writes.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "bench.h"
#include "medium.h"
#include "probe.h"

namespace {

using namespace harness;
namespace fs = std::filesystem;
using ::testing::HasSubstr;

TEST(LauncherOnWine, FindsItsMediumWhenTheDriveRemembersAFolderThatIsGone) {
    Medium medium;
    Bench& bench = Bench::Get();
    // As after "cd /d M:\old", "cd /d C:\elsewhere" and "rmdir M:\old" in a command prompt: the
    // prompt's hidden "=M:" names a folder that no longer exists, and programs inherit it.
    const auto starter =
        bench.Start(bench.Executable("start_with"), {"=M:=M:\\old", "--", medium.File("Setup.exe")},
                    medium.Logging(), bench.DriveC());
    EXPECT_EQ(starter->Wait(30s).exitCode, 0);
    const Record started = medium.OnlyStarted();
    EXPECT_EQ(started["module"], medium.File("PreInstaller.exe"));
    EXPECT_EQ(started["arguments"], medium.Folder());
    EXPECT_EQ(started["directory"], medium.Folder());
}

TEST(LauncherOnWine, ARenamedLauncherWithADotInItsNameRestartsItsOwnFile) {
    Medium medium;
    medium.Remove("PreInstaller.exe");
    const fs::path renamed = medium.UnixFolder() / "Setup_v1.2.exe";
    fs::rename(medium.UnixFolder() / "Setup.exe", renamed);
    Bench& bench = Bench::Get();
    const auto setup = bench.Start(renamed, {}, medium.Logging());
    const Outcome shown = bench.Wine(bench.Executable("mbdriver"),
                                     {"wait", "--image", "Setup_v1.2.exe", "--timeout", "20000"});
    ASSERT_EQ(shown.exitCode, 0);
    // While "Jetzt starten ?" is open, the launcher's file is swapped for the recorder, which
    // shows what the Yes starts.
    fs::remove(renamed);
    fs::copy_file(bench.Executable("recorder"), renamed);
    const Record box = AnswerBox(6, "Setup_v1.2.exe");
    EXPECT_EQ(box["text"], "Jetzt starten ?");
    EXPECT_EQ(setup->Wait(30s).exitCode, 0);
    const Record started = medium.OnlyStarted();
    EXPECT_EQ(started["module"], medium.File("Setup_v1.2.exe"));
    EXPECT_EQ(started["show"], "7");
}

// The lines of the support trace in Wine's debug output: Wine 8 reports OutputDebugStringW on its
// "seh" channel, quoted as "...OutputDebugStringA "<text>"", with \ and " escaped.
std::vector<std::string> TraceLines(const std::string& debugOutput) {
    std::vector<std::string> lines;
    const std::string marker = "OutputDebugStringA \"";
    for (const auto& line : Lines(debugOutput)) {
        const std::size_t at = line.find(marker);
        if (at == std::string::npos) {
            continue;
        }
        std::string text;
        for (std::size_t i = at + marker.size(); i + 1 < line.size(); ++i) {
            if (line[i] == '\\' && i + 2 < line.size()) {
                const char next = line[++i];
                text += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
            } else {
                text += line[i];
            }
        }
        lines.push_back(text);
    }
    return lines;
}

const Environment kTraced = {{"WINEDEBUG", "-all,warn+seh"}};

TEST(LauncherTraceOnWine, AHappyPathWritesOneLinePerStep) {
    Medium medium;
    medium.StoreDataPath(medium.DataPathWithDatabase());
    const auto setup = medium.StartSetup(kTraced);
    const Outcome outcome = setup->Wait(30s);
    EXPECT_EQ(outcome.exitCode, 0);
    const std::string pid = medium.OnlyStarted()["pid"];
    const auto lines = TraceLines(outcome.err);
    EXPECT_THAT(
        lines,
        ::testing::ElementsAre(
            "Setup: 1 no window \"Velmora\": nothing to close",
            "Setup: 2 pending window messages handled: done", "Setup: 3 program folder read: done",
            "Setup: 3 program folder \"M:\\Setup\": drive \"M:\" made current: done",
            "Setup: 3 directory \"\\Setup\" made current: done",
            "Setup: 4 data path read: \"M:\\Daten\"",
            "Setup: 7 master database \"M:\\Daten\\DAT\\Pelmadat.mdb\": found",
            "Setup: 8 installer \"M:\\Setup\\Installer.exe\": found",
            "Setup: 9 pre-installer beside the launcher \"PreInstaller.exe\": found",
            "Setup: 10 pre-installer \"PreInstaller.exe\": found",
            "Setup: 10 start \"PreInstaller.exe\" with arguments \"M:\\Setup\", window style "
            "1: process " +
                pid,
            "Setup: 11 the sequence is over"));
}

TEST(LauncherTraceOnWine, AMissingInstallerIsTracedWithThePathLookedFor) {
    Medium medium;
    medium.StoreDataPath(medium.DataPathWithDatabase());
    medium.Remove("Installer.exe");
    const auto setup = medium.StartSetup(kTraced);
    AnswerBox(1);
    const Outcome outcome = setup->Wait(30s);
    const auto lines = TraceLines(outcome.err);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "Setup: 8 installer \"M:\\Setup\\Installer.exe\": missing");
    EXPECT_EQ(lines.back(),
              "Setup: 8 message \"M:\\Setup\\Installer.exe\r\n FEHLT !\" shown: done");
}

TEST(LauncherOnWine, TheShellRouteOfAProgramThatNeedsElevationStartsItExactly) {
    Medium medium;
    const auto answer = ProbeOne(
        {"shell-start", medium.File("Installer.exe"), "M:\\Setup eins", "2"}, medium.Logging());
    ASSERT_TRUE(answer.ok) << answer.description;
    const Record started = medium.OnlyStarted();
    EXPECT_EQ(started["pid"], answer.value);
    EXPECT_EQ(started["module"], medium.File("Installer.exe"));
    EXPECT_EQ(started["arguments"], "M:\\Setup eins");
    EXPECT_EQ(started["use-show"], "1");
    EXPECT_EQ(started["show"], "2");  // SW_SHOWMINIMIZED, the style 2 of the start facility
}

}  // namespace
