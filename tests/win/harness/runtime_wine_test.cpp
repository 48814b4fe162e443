// The program's Windows binding of the runtime facilities and WinPaths, on the real system.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <thread>

#include "bench.h"
#include "probe.h"

namespace {

using namespace harness;
namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::Field;

const std::string kApp = "ZARVIK-Software";
const std::string kSection = "Quandor";

void Touch(const fs::path& file) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "x";
}

std::string Hex(unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, "%x", value);
    return text;
}

TEST(SpecialFolderOnWine, GivesTheProgramFilesFolderOfA32BitProgram) {
    const auto answers = Probe({{"special-folder", "38", "0"},
                                {"special-folder", "17", "0"},     // "My Computer": no path
                                {"special-folder", "255", "0"}});  // unknown everywhere
    EXPECT_EQ(answers[0].value, "C:\\Program Files (x86)");
    EXPECT_TRUE(answers[1].ok);
    EXPECT_EQ(answers[1].value, "");
    EXPECT_EQ(answers[2].value, "");
}

TEST(SpecialFolderOnWine, CreatesAMissingFolderOnlyWithTheCreateFlag) {
    // The CD burning area does not exist in a new prefix.
    const auto answers = Probe({{"special-folder", "59", "0"},
                                {"special-folder", "59", "1"},
                                {"special-folder", "59", "0"}});
    EXPECT_EQ(answers[0].value, "");
    EXPECT_THAT(answers[1].value, ::testing::EndsWith("\\Burn\\Burn"));
    EXPECT_EQ(answers[2].value, answers[1].value);
}

TEST(ReadSettingOnWine, GivesTheTextOfStringValuesAndTheDefaultOtherwise) {
    // 1 MiB with its NUL: the most a value may hold in the registry's standard format.
    const std::string longText(524287, 'y');
    const auto answers = Probe({
        {"set-setting", kApp, kSection, "plain", "sz", "D:\\Daten"},
        {"read-setting", kApp, kSection, "plain", "dflt"},
        {"set-setting", kApp, kSection, "expand", "expand", "%SystemRoot%\\Daten"},
        {"read-setting", kApp, kSection, "expand", "dflt"},
        {"set-setting", kApp, kSection, "number", "dword", "5"},
        {"read-setting", kApp, kSection, "number", "dflt"},
        {"set-setting", kApp, kSection, "bytes", "binary", "D:\\Daten"},
        {"read-setting", kApp, kSection, "bytes", "dflt"},
        {"set-setting", kApp, kSection, "list", "multi", "D:\\Daten"},
        {"read-setting", kApp, kSection, "list", "dflt"},
        {"set-setting", kApp, kSection, "empty", "sz", ""},
        {"read-setting", kApp, kSection, "empty", "dflt"},
        {"set-setting", kApp, kSection, "unterminated", "sz-unterminated", "D:\\Offen"},
        {"read-setting", kApp, kSection, "unterminated", "dflt"},
        {"set-setting", kApp, kSection, "odd", "sz-odd", "D:\\Ungerade"},
        {"read-setting", kApp, kSection, "odd", "dflt"},
        {"set-setting", kApp, kSection, "unicode", "sz", "D:\\Dätän Ωλ 中文"},
        {"read-setting", kApp, kSection, "unicode", "dflt"},
        {"set-setting", kApp, kSection, "long", "sz-repeat", "524287:y"},
        {"read-setting", kApp, kSection, "long", "dflt"},
        {"read-setting", kApp, kSection, "missing", "dflt"},
        {"read-setting", kApp, "NoSuchSection", "plain", "dflt"},
    });
    EXPECT_EQ(answers[1].value, "D:\\Daten");
    EXPECT_EQ(answers[3].value, "C:\\windows\\Daten");  // REG_EXPAND_SZ is expanded
    EXPECT_EQ(answers[5].value, "dflt");                // REG_DWORD holds no text
    EXPECT_EQ(answers[7].value, "dflt");                // nor does REG_BINARY
    EXPECT_EQ(answers[9].value, "dflt");                // nor REG_MULTI_SZ
    EXPECT_TRUE(answers[11].ok);
    EXPECT_EQ(answers[11].value, "");  // an empty text is a stored text
    EXPECT_EQ(answers[13].value, "D:\\Offen");
    EXPECT_EQ(answers[15].value, "D:\\Ungerade");
    EXPECT_EQ(answers[17].value, "D:\\Dätän Ωλ 中文");  // beyond the ANSI code page
    EXPECT_EQ(answers[19].value.size(), longText.size());
    EXPECT_EQ(answers[19].value, longText);
    EXPECT_EQ(answers[20].value, "dflt");
    EXPECT_EQ(answers[21].value, "dflt");
}

class FileLookupOnWine : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = Bench::Get().NewFolder("lookup");
        for (const char* name : {"plain.exe", "readonly.exe", "hidden.exe", "system.exe"}) {
            Touch(folder_ / name);
        }
        fs::create_directories(folder_ / "folder.exe");
        Bench::Get().MapDrive('m', folder_);
        Bench::Get().MapDrive('n', folder_ / "ejected");  // a drive whose medium is gone
        Bench::Get().MapShare("localhost", "kit", folder_);
    }
    void TearDown() override {
        Bench::Get().UnmapDrive('m');
        Bench::Get().UnmapDrive('n');
    }
    fs::path folder_;
};

TEST_F(FileLookupOnWine, CountsReadOnlyFilesButNotHiddenSystemOrFolders) {
    const auto answers = Probe({
        {"set-attributes", "M:\\readonly.exe", Hex(0x01)},
        {"set-attributes", "M:\\hidden.exe", Hex(0x02)},
        {"set-attributes", "M:\\system.exe", Hex(0x04)},
        {"look-up", "M:\\plain.exe"},
        {"look-up", "M:\\readonly.exe"},
        {"look-up", "M:\\hidden.exe"},
        {"look-up", "M:\\system.exe"},
        {"look-up", "M:\\folder.exe"},
        {"look-up", "M:\\missing.exe"},
        {"look-up", "M:\\no folder\\plain.exe"},
        {"look-up", "M:\\PLAIN.EXE"},
    });
    ASSERT_TRUE(answers[0].ok && answers[1].ok && answers[2].ok) << "attributes not settable";
    EXPECT_EQ(answers[3].value, "plain.exe");
    EXPECT_EQ(answers[4].value, "readonly.exe");
    for (int i : {5, 6, 7, 8, 9}) {
        EXPECT_TRUE(answers[static_cast<std::size_t>(i)].ok) << i;
        EXPECT_EQ(answers[static_cast<std::size_t>(i)].value, "") << i;
    }
    EXPECT_EQ(answers[10].value, "plain.exe");  // the file's own name
}

TEST_F(FileLookupOnWine, BareNameLooksInTheCurrentDirectory) {
    const auto answers = Probe({{"look-up", "plain.exe"},
                                {"change-drive", "M"},
                                {"change-directory", "\\"},
                                {"look-up", "plain.exe"}});
    EXPECT_EQ(answers[0].value, "");
    EXPECT_EQ(answers[3].value, "plain.exe");
}

TEST_F(FileLookupOnWine, FailsWhenTheDriveOrShareCannotBeRead) {
    const auto answers = Probe({{"look-up", "N:\\plain.exe"},
                                {"look-up", "Q:\\plain.exe"},
                                {"look-up", "\\\\nosuchserver\\kit\\plain.exe"},
                                {"look-up", "\\\\localhost\\nosuchshare\\plain.exe"},
                                {"look-up", "\\\\localhost\\kit\\plain.exe"},
                                {"look-up", "\\\\localhost\\kit\\missing.exe"}});
    for (int i : {0, 1, 2, 3}) {
        EXPECT_FALSE(answers[static_cast<std::size_t>(i)].ok) << i;
        EXPECT_NE(answers[static_cast<std::size_t>(i)].number, 0u) << i;
    }
    EXPECT_EQ(answers[4].value, "plain.exe");
    EXPECT_TRUE(answers[5].ok);
    EXPECT_EQ(answers[5].value, "");
}

TEST_F(FileLookupOnWine, DriveAndDirectoryChangeAreSeparateAndCanFail) {
    fs::create_directories(folder_ / "Setup");
    const auto answers = Probe({{"change-drive", "M:\\Setup"},
                                {"change-directory", "\\Setup"},
                                {"change-directory", "nothing here"},
                                {"change-drive", "Q:"},
                                {"change-drive", "\\\\"},
                                {"change-drive", "N"},
                                {"current-directory"}});
    EXPECT_EQ(answers[0].value, "M:\\");
    EXPECT_EQ(answers[1].value, "M:\\Setup");
    EXPECT_FALSE(answers[2].ok);
    EXPECT_FALSE(answers[3].ok);
    EXPECT_FALSE(answers[4].ok);
    EXPECT_FALSE(answers[5].ok);
    EXPECT_EQ(answers[6].value, "M:\\Setup");  // failed changes leave it where it was
}

TEST_F(FileLookupOnWine, ProgramFolderKeepsItsBackslashOnlyAtADrivesRoot) {
    fs::create_directories(folder_ / "CD 1");
    fs::copy_file(Bench::Get().Executable("seamprobe"), folder_ / "Install.exe");
    fs::copy_file(Bench::Get().Executable("seamprobe"), folder_ / "CD 1" / "Install.Kit.exe");
    const auto root = Probe({{"program-folder"}, {"program-name"}}, {}, "M:\\Install.exe");
    const auto nested =
        Probe({{"program-folder"}, {"program-name"}}, {}, "M:\\CD 1\\Install.Kit.exe");
    EXPECT_EQ(root[0].value, "M:\\");
    EXPECT_EQ(root[1].value, "Install");
    EXPECT_EQ(nested[0].value, "M:\\CD 1");
    EXPECT_EQ(nested[1].value, "Install.Kit");
}

class StartProgramOnWine : public ::testing::Test {
  protected:
    void SetUp() override {
        Bench& bench = Bench::Get();
        folder_ = bench.NewFolder("start");
        log_ = folder_ / "started.log";
        const fs::path recorder = bench.Executable("recorder");
        installer_ = bench.DriveC() / "Program Files (x86)" / "ZARVIK Installer";
        fs::create_directories(installer_);
        fs::copy_file(recorder, installer_ / "PreInstaller.exe",
                      fs::copy_options::overwrite_existing);
        // The files that an unquoted command line would start instead.
        fs::copy_file(recorder, bench.DriveC() / "Program.exe",
                      fs::copy_options::overwrite_existing);
        fs::copy_file(recorder, bench.DriveC() / "Program Files (x86)" / "ZARVIK.exe",
                      fs::copy_options::overwrite_existing);
        fs::copy_file(recorder, folder_ / "Tool.exe");
        bench.MapDrive('m', folder_);
    }
    void TearDown() override {
        Bench& bench = Bench::Get();
        fs::remove(bench.DriveC() / "Program.exe");
        fs::remove(bench.DriveC() / "Program Files (x86)" / "ZARVIK.exe");
        bench.UnmapDrive('m');
    }
    Environment Logging() const { return {{"ZARVIK_RECORDER_LOG", WinePath(log_)}}; }
    // The recorder's lines, once as many as expected have come (the starts do not wait).
    std::vector<Record> Started(std::size_t expected) const {
        for (int wait = 0; wait < 200; ++wait) {
            const auto records = ReadRecords(log_);
            if (records.size() >= expected) {
                return records;
            }
            std::this_thread::sleep_for(50ms);
        }
        return ReadRecords(log_);
    }
    fs::path folder_;
    fs::path log_;
    fs::path installer_;
};

TEST_F(StartProgramOnWine, StylesReachTheProgramAsShowCommands) {
    const auto answers = Probe({{"start", "M:\\Tool.exe", "style 0", "0"},
                                {"start", "M:\\Tool.exe", "style 1", "1"},
                                {"start", "M:\\Tool.exe", "style 2", "2"},
                                {"start", "M:\\Tool.exe", "style 6", "6"},
                                {"start", "M:\\Tool.exe", "style 5", "5"}},
                               Logging());
    EXPECT_FALSE(answers[4].ok);  // a style the facility does not know starts nothing
    auto records = Started(4);
    ASSERT_EQ(records.size(), 4u);
    std::sort(records.begin(), records.end(),
              [](const Record& a, const Record& b) { return a["arguments"] < b["arguments"]; });
    const std::vector<std::string> shows = {"0", "1", "2", "7"};  // SW_HIDE ... SW_SHOWMINNOACTIVE
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(records[i]["use-show"], "1");
        EXPECT_EQ(records[i]["show"], shows[i]) << records[i]["arguments"];
        EXPECT_EQ(records[i]["module"], "M:\\Tool.exe");
    }
    // Each start returned the id of the process it started.
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_TRUE(answers[i].ok);
        EXPECT_TRUE(std::any_of(records.begin(), records.end(),
                                [&](const Record& r) { return r["pid"] == answers[i].value; }));
    }
}

TEST_F(StartProgramOnWine, QuotedPathStartsExactlyThatFileDespitePlantedOnes) {
    const std::string preInstaller = "C:\\Program Files (x86)\\ZARVIK Installer\\PreInstaller.exe";
    const auto answer = ProbeOne({"start", preInstaller, "M:\\Medium CD", "1"}, Logging());
    ASSERT_TRUE(answer.ok) << answer.description;
    const auto records = Started(1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0]["module"], preInstaller);
    EXPECT_EQ(records[0]["arguments"], "M:\\Medium CD");  // passed on unquoted, as given
    EXPECT_EQ(records[0]["pid"], answer.value);
}

TEST_F(StartProgramOnWine, WholeCommandLineGetsTheSystemsSplitting) {
    // This is why a known program path is always quoted: the system's splitting of an unquoted
    // line with blanks starts the planted C:\Program.exe.
    const auto answer =
        ProbeOne({"start-command-line",
                  "C:\\Program Files (x86)\\ZARVIK Installer\\PreInstaller.exe M:\\Medium", "1"},
                 Logging());
    ASSERT_TRUE(answer.ok) << answer.description;
    const auto records = Started(1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0]["module"], "C:\\Program.exe");
}

TEST_F(StartProgramOnWine, BareNameStartsTheFileInTheCurrentDirectoryAndExeIsAdded) {
    const auto answers = Probe({{"change-drive", "M"},
                                {"change-directory", "\\"},
                                {"start", "Tool", "bare", "1"},
                                {"start", "Missing.exe", "", "1"},
                                {"start-command-line", "NoSuchProgram at all", "1"}},
                               Logging());
    EXPECT_TRUE(answers[2].ok);
    EXPECT_FALSE(answers[3].ok);
    EXPECT_EQ(answers[3].number, 2u);  // file not found
    EXPECT_FALSE(answers[4].ok);
    EXPECT_FALSE(answers[4].description.empty());
    const auto records = Started(1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0]["module"], "M:\\Tool.exe");
    EXPECT_EQ(records[0]["directory"], "M:\\");
}

TEST(MessageLoopOnWine, YieldHandlesWhatIsPendingAndKeepsTheQuit) {
    EXPECT_EQ(ProbeOne({"yield"}).value, "2 handled, quit 3");
}

TEST(MessageLoopOnWine, EndStopsTheProgramAtOnce) {
    Bench& bench = Bench::Get();
    const Outcome ended = bench.Wine(bench.Executable("seamprobe"),
                                     {"current-directory", "--", "end", "--", "current-directory"});
    EXPECT_EQ(ended.exitCode, 0);
    EXPECT_EQ(Lines(ended.out).size(), 1u);  // nothing after the end ran
}

TEST(MessageLoopOnWine, UnhandledFailureIsShownWithNumberAndDescriptionThenEnds) {
    Bench& bench = Bench::Get();
    const auto failing =
        bench.Start(bench.Executable("seamprobe"),
                    {"unhandled-failure", "53", "Datei nicht gefunden", "--", "current-directory"});
    const Outcome seen =
        bench.Wine(bench.Executable("mbdriver"), {"wait", "--answer", "1", "--timeout", "20000"});
    const Outcome ended = failing->Wait(20s);
    ASSERT_EQ(seen.exitCode, 0) << seen.out;
    const Record box = ParseRecord(Lines(seen.out).at(0));
    EXPECT_EQ(box["title"], "ZARVIK Setup");
    EXPECT_EQ(box["text"], "Laufzeitfehler 53:\r\n\r\nDatei nicht gefunden");
    EXPECT_EQ(box["buttons"], "1");
    EXPECT_EQ(box["icon"], "error");
    EXPECT_EQ(ended.exitCode, 1);
    EXPECT_EQ(ended.out, "");  // the program ended with the box
}

TEST(MessageBoxOnWine, ShowsTextButtonsIconAndTitleAndGivesTheButton) {
    Bench& bench = Bench::Get();
    const auto question = bench.Start(bench.Executable("seamprobe"),
                                      {"message-box", "Datenverzeichnis jetzt einrichten ?", "36"});
    const Outcome seen =
        bench.Wine(bench.Executable("mbdriver"), {"wait", "--answer", "6", "--timeout", "20000"});
    const Outcome answered = question->Wait(20s);
    ASSERT_EQ(seen.exitCode, 0) << seen.out;
    const Record box = ParseRecord(Lines(seen.out).at(0));
    EXPECT_EQ(box["title"], "ZARVIK Setup");  // the program's title, as none was given
    EXPECT_EQ(box["text"], "Datenverzeichnis jetzt einrichten ?");
    EXPECT_EQ(box["buttons"], "6,7");
    EXPECT_EQ(box["default"], "6");
    EXPECT_EQ(box["icon"], "question");
    EXPECT_EQ(Lines(answered.out).at(0), "ok\t6");

    const auto notice =
        bench.Start(bench.Executable("seamprobe"),
                    {"message-box", "M:\\\\Installer.exe\r\n FEHLT !", "0", "ZARVIK INSTALLER"});
    const Outcome seenNotice =
        bench.Wine(bench.Executable("mbdriver"), {"wait", "--answer", "1", "--timeout", "20000"});
    const Outcome closed = notice->Wait(20s);
    const Record noticeBox = ParseRecord(Lines(seenNotice.out).at(0));
    EXPECT_EQ(noticeBox["title"], "ZARVIK INSTALLER");
    EXPECT_EQ(noticeBox["text"], "M:\\\\Installer.exe\r\n FEHLT !");
    EXPECT_EQ(noticeBox["buttons"], "1");
    EXPECT_EQ(noticeBox["icon"], "none");
    EXPECT_EQ(Lines(closed.out).at(0), "ok\t1");
}

}  // namespace
