// The real Setup.exe on laid-out installation media.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "bench.h"
#include "medium.h"
#include "probe.h"

namespace {

using namespace harness;
namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr int kYes = 6;
constexpr int kNo = 7;
constexpr int kOk = 1;

std::string Module(const Record& record) {
    return record["module"];
}

void ExpectQuestion(const Record& box, const std::string& text,
                    const std::string& title = "ZARVIK Setup") {
    EXPECT_EQ(box.kind, "box");
    EXPECT_EQ(box["text"], text);
    EXPECT_EQ(box["title"], title);
    EXPECT_EQ(box["buttons"], "6,7");
    EXPECT_EQ(box["default"], "6");
    EXPECT_EQ(box["icon"], "question");
}

class SetupOnWine : public ::testing::Test {
  protected:
    Medium medium_;
};

TEST_F(SetupOnWine, HandsOverToThePreInstallerBesideItAskingNothing) {
    const Outcome run = medium_.RunSetup();
    ASSERT_FALSE(run.timedOut) << "Setup.exe did not end: it asked something";
    EXPECT_EQ(run.exitCode, 0);
    const Record started = medium_.OnlyStarted();
    EXPECT_EQ(Module(started), medium_.File("PreInstaller.exe"));
    EXPECT_EQ(started["arguments"], "M:\\Setup");
    EXPECT_EQ(started["show"], "1");
    EXPECT_EQ(started["directory"], "M:\\Setup");  // the launcher's folder became current
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(medium_.StartedNow().size(), 1u);  // and nothing else
}

TEST_F(SetupOnWine, NoDataPathAsksToSetItUpAndYesStartsTheSetupTool) {
    medium_.StoreDataPath(std::nullopt);
    const auto setup = medium_.StartSetup();
    ExpectQuestion(AnswerBox(kYes), "Datenverzeichnis jetzt einrichten ?");
    EXPECT_EQ(setup->Wait(30s).exitCode, 0);
    const auto started = medium_.Started(2);
    ASSERT_EQ(started.size(), 2u);
    std::vector<std::string> modules = {Module(started[0]), Module(started[1])};
    std::sort(modules.begin(), modules.end());
    EXPECT_THAT(modules,
                ElementsAre(medium_.File("KORPELT.EXE"), medium_.File("PreInstaller.exe")));
    for (const auto& record : started) {
        if (Module(record) == medium_.File("KORPELT.EXE")) {
            EXPECT_EQ(record["show"], "2");  // minimized, with focus
            EXPECT_EQ(record["arguments"], "");
        }
    }
}

TEST_F(SetupOnWine, NoDataPathAndNoEndsWithoutStartingAnything) {
    medium_.StoreDataPath(std::nullopt);
    const auto setup = medium_.StartSetup();
    ExpectQuestion(AnswerBox(kNo), "Datenverzeichnis jetzt einrichten ?");
    const Outcome run = setup->Wait(30s);
    EXPECT_FALSE(run.timedOut);
    std::this_thread::sleep_for(300ms);
    EXPECT_THAT(medium_.StartedNow(), IsEmpty());
}

TEST_F(SetupOnWine, MissingDatabaseAsksToCorrectAndYesStartsTheAdministrationTool) {
    medium_.StoreDataPath("M:\\Leer");
    const auto setup = medium_.StartSetup();
    ExpectQuestion(AnswerBox(kYes), "Datenverzeichnis jetzt korrigieren ?");
    EXPECT_EQ(setup->Wait(30s).exitCode, 0);
    const auto started = medium_.Started(2);
    ASSERT_EQ(started.size(), 2u);
    const auto administration = std::find_if(started.begin(), started.end(), [&](const Record& r) {
        return Module(r) == medium_.File("VENTARIS.EXE");
    });
    ASSERT_NE(administration, started.end());
    EXPECT_EQ((*administration)["show"], "2");
}

TEST_F(SetupOnWine, MissingDatabaseAndNoGoesOnToThePreInstaller) {
    medium_.StoreDataPath("  M:\\Leer\\  ");
    const auto setup = medium_.StartSetup();
    ExpectQuestion(AnswerBox(kNo), "Datenverzeichnis jetzt korrigieren ?");
    EXPECT_EQ(setup->Wait(30s).exitCode, 0);
    const Record started = medium_.OnlyStarted();
    EXPECT_EQ(Module(started), medium_.File("PreInstaller.exe"));
}

TEST_F(SetupOnWine, MissingInstallerIsReportedAndNothingIsStarted) {
    medium_.Remove("Installer.exe");
    const auto setup = medium_.StartSetup();
    const Record box = AnswerBox(kOk);
    EXPECT_EQ(box["text"], "M:\\Setup\\Installer.exe\r\n FEHLT !");
    EXPECT_EQ(box["title"], "ZARVIK Setup");
    EXPECT_EQ(box["buttons"], "1");
    EXPECT_EQ(box["icon"], "none");
    EXPECT_EQ(setup->Wait(30s).exitCode, 0);
    std::this_thread::sleep_for(300ms);
    EXPECT_THAT(medium_.StartedNow(), IsEmpty());
}

TEST_F(SetupOnWine, PreInstallerUnderProgramFilesIsStartedAndNoPlantedFile) {
    medium_.Remove("PreInstaller.exe");
    medium_.PutPreInstallerUnderProgramFiles();
    medium_.PlantHijackers();
    EXPECT_EQ(medium_.RunSetup().exitCode, 0);
    const Record started = medium_.OnlyStarted();
    EXPECT_EQ(Module(started), "C:\\Program Files (x86)\\ZARVIK Installer\\PreInstaller.exe");
    EXPECT_EQ(started["arguments"], "M:\\Setup");
    EXPECT_EQ(started["show"], "1");
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(medium_.StartedNow().size(), 1u);
}

TEST_F(SetupOnWine, PreInstallerBesideTheLauncherWinsOverProgramFiles) {
    medium_.PutPreInstallerUnderProgramFiles();
    medium_.PlantHijackers();
    EXPECT_EQ(medium_.RunSetup().exitCode, 0);
    const Record started = medium_.OnlyStarted();
    EXPECT_EQ(Module(started), medium_.File("PreInstaller.exe"));
}

TEST_F(SetupOnWine, NoPreInstallerAndNoEnds) {
    medium_.Remove("PreInstaller.exe");
    const auto setup = medium_.StartSetup();
    ExpectQuestion(AnswerBox(kNo), "Jetzt starten ?", "ZARVIK INSTALLER");
    EXPECT_FALSE(setup->Wait(30s).timedOut);
    std::this_thread::sleep_for(300ms);
    EXPECT_THAT(medium_.StartedNow(), IsEmpty());
}

TEST_F(SetupOnWine, NoPreInstallerAndYesStartsTheLauncherAnewMinimizedWithoutFocus) {
    medium_.Remove("PreInstaller.exe");
    const auto setup = medium_.StartSetup();
    // While the question is open, the launcher on the medium is swapped for the recorder, which
    // shows what the Yes starts and how.
    Bench& bench = Bench::Get();
    const Outcome shown = bench.Wine(bench.Executable("mbdriver"),
                                     {"wait", "--image", "Setup.exe", "--timeout", "20000"});
    ASSERT_EQ(shown.exitCode, 0);
    fs::remove(medium_.UnixFolder() / "Setup.exe");
    medium_.Put("Setup.exe");
    ExpectQuestion(AnswerBox(kYes), "Jetzt starten ?", "ZARVIK INSTALLER");
    EXPECT_EQ(setup->Wait(30s).exitCode, 0);  // the first instance ends
    const Record started = medium_.OnlyStarted();
    EXPECT_EQ(Module(started), medium_.File("Setup.exe"));
    EXPECT_EQ(started["arguments"], "");
    EXPECT_EQ(started["show"], "7");  // SW_SHOWMINNOACTIVE
}

TEST_F(SetupOnWine, NoPreInstallerAndYesRunsTheWholeSequenceAgain) {
    medium_.Remove("PreInstaller.exe");
    const auto setup = medium_.StartSetup();
    ExpectQuestion(AnswerBox(kYes), "Jetzt starten ?", "ZARVIK INSTALLER");
    EXPECT_EQ(setup->Wait(30s).exitCode, 0);
    // The new instance asks again; the first one has ended meanwhile.
    ExpectQuestion(AnswerBox(kNo), "Jetzt starten ?", "ZARVIK INSTALLER");
}

TEST(SetupOnWineAtARoot, HandsTheDrivesRootToThePreInstaller) {
    Medium medium("");
    EXPECT_EQ(medium.RunSetup().exitCode, 0);
    const Record started = medium.OnlyStarted();
    EXPECT_EQ(Module(started), "M:\\PreInstaller.exe");
    EXPECT_EQ(started["arguments"], "M:\\");
}

TEST(SetupOnWineAtARoot, ReportsTheMissingInstallerWithTwoBackslashes) {
    Medium medium("");
    medium.Remove("Installer.exe");
    const auto setup = medium.StartSetup();
    EXPECT_EQ(AnswerBox(kOk)["text"], "M:\\\\Installer.exe\r\n FEHLT !");
    EXPECT_EQ(setup->Wait(30s).exitCode, 0);
}

TEST(SetupOnWineWithBlanks, HandsTheFolderOverUnquoted) {
    Medium medium("Medium CD 1");
    medium.Remove("PreInstaller.exe");
    medium.PutPreInstallerUnderProgramFiles();
    medium.PlantHijackers();
    EXPECT_EQ(medium.RunSetup().exitCode, 0);
    const Record started = medium.OnlyStarted();
    EXPECT_EQ(Module(started), "C:\\Program Files (x86)\\ZARVIK Installer\\PreInstaller.exe");
    EXPECT_EQ(started["arguments"], "M:\\Medium CD 1");
}

TEST(SetupOnWineFromANetworkFolder, StaysInItsStartDirectoryAndStartsThePreInstallerFoundThere) {
    Medium medium;
    Bench& bench = Bench::Get();
    bench.MapShare("localhost", "kit", medium.Drive());
    // A pre-installer beside the launcher on the share too: the one found in the current
    // directory is the one to start, not the first on the system's search path.
    const fs::path startFolder = medium.Drive() / "Start";
    fs::create_directories(startFolder);
    fs::copy_file(bench.Executable("recorder"), startFolder / "PreInstaller.exe");
    const auto setup =
        bench.Start("\\\\localhost\\kit\\Setup\\Setup.exe", {}, medium.Logging(), startFolder);
    EXPECT_EQ(setup->Wait(30s).exitCode, 0);
    const Record started = medium.OnlyStarted();
    EXPECT_THAT(Module(started), ::testing::EndsWith("\\Start\\PreInstaller.exe"));
    EXPECT_EQ(started["arguments"], "\\\\localhost\\kit\\Setup");
    EXPECT_THAT(started["directory"], ::testing::EndsWith("\\Start"));
}

}  // namespace
