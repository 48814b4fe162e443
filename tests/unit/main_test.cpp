#include "startup/main.h"

#include "sim_fixture.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::wstring kEinrichten = L"Datenverzeichnis jetzt einrichten ?";
const std::wstring kKorrigieren = L"Datenverzeichnis jetzt korrigieren ?";
const std::wstring kJetztStarten = L"Jetzt starten ?";

sim::Call Box(const std::wstring& text, int buttons, const std::wstring& title, int answer) {
    return Called(L"ShowMessageBox", {text, buttons, title}, answer);
}
sim::Call Question(const std::wstring& text, int answer,
                   const std::wstring& title = L"ZARVIK Setup") {
    return Box(text, 36, title, answer);
}

// Which calls of a facility fail: those whose first argument (a path) ends with the text.
sim::ArgumentTest PathEndsWith(const std::wstring& end) {
    return [end](const std::vector<sim::Value>& arguments) {
        const std::wstring path = sim::TextOf(arguments.at(0));
        return path.size() >= end.size() &&
               path.compare(path.size() - end.size(), end.size(), end) == 0;
    };
}

// A medium in D:\Setup with everything in place, a data path with its database, and the
// launcher started from C:\Users\Anna.
class MainTest : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        files().AddDrive(L'D');
        files().AddDrive(L'E');
        UseProgram(L"D:\\Setup\\Setup.exe");
        for (const wchar_t* file :
             {L"Installer.exe", L"PreInstaller.exe", L"KORPELT.EXE", L"VENTARIS.EXE"}) {
            files().AddFile(L"D:\\Setup\\" + std::wstring(file));
        }
        StoreDataPath(L"E:\\Daten");
        files().AddFile(L"E:\\Daten\\DAT\\Pelmadat.mdb");
        world().shell.folders[38] = {L"C:\\Program Files (x86)"};
        files().SetCurrentDirectory(L"C:\\Users\\Anna");
    }

    static sim::Files& files() { return world().files; }

    // A second medium, D:\Kit, with the launcher and the installer but no pre-installer.
    void UseMediumWithoutPreInstaller() {
        UseProgram(L"D:\\Kit\\Setup.exe");
        files().AddFile(L"D:\\Kit\\Installer.exe");
    }

    void UseProgram(const std::wstring& path) {
        world().programPath = path;
        files().AddFile(path);
    }
    void StoreDataPath(const std::wstring& path) {
        world().settings.Store(L"ZARVIK-Software", L"Quandor", L"NetzwerkPfad", path);
    }

    // Runs the sequence; gives whether it ended the program itself (rather than returning).
    bool RunMain() {
        try {
            startup::Main();
            return false;
        } catch (const sim::ProgramEnded&) {
            return true;
        }
    }

    // "image | command line | style" of each program started, in order.
    std::vector<std::wstring> Started() const {
        std::vector<std::wstring> started;
        for (const sys::ProcessId id : world().started) {
            const sim::Process& process = world().processes.Get(id);
            started.push_back(process.image + L" | " + process.commandLine + L" | " +
                              std::to_wstring(static_cast<int>(*process.style)));
        }
        return started;
    }

    std::vector<sim::Call> Boxes() const { return CallsTo(L"ShowMessageBox"); }
    // The calls of the system and the runtime, without the lines of the support trace.
    static std::vector<std::wstring> Calls() {
        std::vector<std::wstring> names;
        for (const auto& name : CallNames()) {
            if (name != L"OutputDebugStringW") {
                names.push_back(name);
            }
        }
        return names;
    }
    // The lines of the support trace.
    static std::vector<sim::Value> TraceLines() { return log().Argument(L"OutputDebugStringW", 0); }
    std::vector<sim::Value> LookedUp() const { return log().Argument(L"LookUpFile", 0); }

    static sys::Failure Failing() { return sys::Failure(21, L"not ready"); }
};

const std::wstring kPreInstallerStarted =
    L"D:\\Setup\\PreInstaller.exe | \"PreInstaller.exe\" D:\\Setup | 1";

TEST_F(MainTest, HappyPathAsksNothingAndHandsOverToThePreInstallerBesideIt) {
    EXPECT_FALSE(RunMain());
    EXPECT_THAT(Calls(), ElementsAre(L"ProgramFileName", L"FindWindowA", L"HandlePendingMessages",
                                     L"ProgramFolder", L"ChangeDrive", L"ChangeDirectory",
                                     L"ReadSetting", L"LookUpFile", L"LookUpFile", L"LookUpFile",
                                     L"LookUpFile", L"StartProgram"));
    EXPECT_THAT(CallsTo(L"ChangeDrive"), ElementsAre(Called(L"ChangeDrive", {L"D:"}, L"D:\\")));
    EXPECT_THAT(CallsTo(L"ChangeDirectory"),
                ElementsAre(Called(L"ChangeDirectory", {L"\\Setup"}, L"D:\\Setup")));
    EXPECT_THAT(
        CallsTo(L"ReadSetting"),
        ElementsAre(Called(L"ReadSetting", {L"ZARVIK-Software", L"Quandor", L"NetzwerkPfad", L""},
                           L"E:\\Daten")));
    EXPECT_THAT(LookedUp(),
                ElementsAre(L"E:\\Daten\\DAT\\Pelmadat.mdb", L"D:\\Setup\\Installer.exe",
                            L"PreInstaller.exe", L"PreInstaller.exe"));
    EXPECT_THAT(Started(), ElementsAre(kPreInstallerStarted));
    EXPECT_THAT(Boxes(), IsEmpty());
}

TEST_F(MainTest, NoDataPathAndYesStartsTheSetupToolAndSkipsTheDatabaseCheck) {
    StoreDataPath(L"");
    world().desktop.AnswerMessageBox(sys::kIdYes);
    EXPECT_FALSE(RunMain());
    EXPECT_THAT(Boxes(), ElementsAre(Question(kEinrichten, 6)));
    EXPECT_THAT(Started(), ElementsAre(L"D:\\Setup\\KORPELT.EXE | \"D:\\Setup\\KORPELT.EXE\" | 2",
                                       kPreInstallerStarted));
    EXPECT_THAT(LookedUp(),
                ElementsAre(L"D:\\Setup\\Installer.exe", L"PreInstaller.exe", L"PreInstaller.exe"));
}

TEST_F(MainTest, NothingStoredGivesTheEmptyDefaultAndTheQuestion) {
    world().settings.Forget(L"ZARVIK-Software", L"Quandor", L"NetzwerkPfad");
    world().desktop.AnswerMessageBox(sys::kIdNo);
    EXPECT_TRUE(RunMain());
    EXPECT_THAT(Boxes(), ElementsAre(Question(kEinrichten, 7)));
}

TEST_F(MainTest, NoDataPathAndNoEndsAtOnce) {
    StoreDataPath(L"");
    world().desktop.AnswerMessageBox(sys::kIdNo);
    EXPECT_TRUE(RunMain());
    EXPECT_EQ(Calls().back(), L"EndProgram");
    EXPECT_THAT(Started(), IsEmpty());
    EXPECT_THAT(LookedUp(), IsEmpty());
}

TEST_F(MainTest, OnlyIdYesCountsAsYes) {
    StoreDataPath(L"");
    world().desktop.AnswerMessageBox(sys::kIdOk);  // whatever a box gives that is not IDYES
    EXPECT_TRUE(RunMain());
    EXPECT_THAT(Started(), IsEmpty());
}

TEST_F(MainTest, FailingQuestionBoxCountsAsYes) {
    StoreDataPath(L"");
    world().desktop.FailMessageBox(Failing());
    EXPECT_FALSE(RunMain());
    EXPECT_THAT(Started(), ElementsAre(L"D:\\Setup\\KORPELT.EXE | \"D:\\Setup\\KORPELT.EXE\" | 2",
                                       kPreInstallerStarted));
}

TEST_F(MainTest, MissingSetupToolIsAskedForAllTheSameAndThenPassedOver) {
    StoreDataPath(L"");
    files().RemoveFile(L"D:\\Setup\\KORPELT.EXE");
    world().desktop.AnswerMessageBox(sys::kIdYes);
    EXPECT_FALSE(RunMain());
    EXPECT_THAT(Boxes(), ElementsAre(Question(kEinrichten, 6)));
    EXPECT_EQ(CallsTo(L"StartProgram").front(),
              Failed(L"StartProgram", {L"D:\\Setup\\KORPELT.EXE", L"", 2}, 2));
    EXPECT_THAT(Started(), ElementsAre(kPreInstallerStarted));
}

TEST_F(MainTest, MissingDatabaseAndYesStartsTheAdministrationTool) {
    StoreDataPath(L"E:\\Leer");
    world().desktop.AnswerMessageBox(sys::kIdYes);
    EXPECT_FALSE(RunMain());
    EXPECT_THAT(Boxes(), ElementsAre(Question(kKorrigieren, 6)));
    EXPECT_THAT(Started(), ElementsAre(L"D:\\Setup\\VENTARIS.EXE | \"D:\\Setup\\VENTARIS.EXE\" | 2",
                                       kPreInstallerStarted));
}

TEST_F(MainTest, MissingDatabaseAndNoGoesOnToThePreInstaller) {
    StoreDataPath(L"E:\\Leer");
    world().desktop.AnswerMessageBox(sys::kIdNo);
    EXPECT_FALSE(RunMain());
    EXPECT_THAT(Boxes(), ElementsAre(Question(kKorrigieren, 7)));
    EXPECT_THAT(Started(), ElementsAre(kPreInstallerStarted));
}

TEST_F(MainTest, MissingAdministrationToolIsPassedOver) {
    StoreDataPath(L"E:\\Leer");
    world().desktop.AnswerMessageBox(sys::kIdYes);
    files().RemoveFile(L"D:\\Setup\\VENTARIS.EXE");
    EXPECT_FALSE(RunMain());
    EXPECT_THAT(Started(), ElementsAre(kPreInstallerStarted));
}

TEST_F(MainTest, DataPathOfBlanksIsNotEmptyAndBecomesTheDrivesRoot) {
    StoreDataPath(L"   ");
    files().AddFile(L"D:\\DAT\\Pelmadat.mdb");
    EXPECT_FALSE(RunMain());
    EXPECT_THAT(Boxes(), IsEmpty());
    EXPECT_EQ(LookedUp().front(), L"\\DAT\\Pelmadat.mdb");
}

TEST_F(MainTest, BlanksAroundTheDataPathGoAndOneBackslashSeparatesTheDatabase) {
    for (const wchar_t* stored : {L"  E:\\Daten  ", L"E:\\Daten\\", L" E:\\Daten\\ "}) {
        sim::ResetWorld();
        SetUp();
        StoreDataPath(stored);
        EXPECT_FALSE(RunMain());
        EXPECT_EQ(LookedUp().front(), L"E:\\Daten\\DAT\\Pelmadat.mdb") << stored;
        EXPECT_THAT(Boxes(), IsEmpty());
    }
}

TEST_F(MainTest, MissingInstallerIsReportedWithItsPathAndNothingMoreIsStarted) {
    StoreDataPath(L"E:\\Leer");
    world().desktop.AnswerMessageBox(sys::kIdYes);  // the administration tool, started before
    world().desktop.AnswerMessageBox(sys::kIdOk);
    files().AddFolder(L"D:\\Empty");
    UseProgram(L"D:\\Empty\\Setup.exe");
    files().AddFile(L"D:\\Empty\\VENTARIS.EXE");
    EXPECT_FALSE(RunMain());
    EXPECT_THAT(Boxes(),
                ElementsAre(Question(kKorrigieren, 6),
                            Box(L"D:\\Empty\\Installer.exe\r\n FEHLT !", 0, L"ZARVIK Setup", 1)));
    EXPECT_THAT(Started(),
                ElementsAre(L"D:\\Empty\\VENTARIS.EXE | \"D:\\Empty\\VENTARIS.EXE\" | 2"));
    EXPECT_EQ(Calls().back(), L"ShowMessageBox");
}

TEST_F(MainTest, PreInstallerUnderProgramFilesWhenNotBesideTheLauncher) {
    UseMediumWithoutPreInstaller();
    files().AddFile(L"C:\\Program Files (x86)\\ZARVIK Installer\\PreInstaller.exe");
    EXPECT_FALSE(RunMain());
    EXPECT_THAT(log().Argument(L"SHGetSpecialFolderLocation", 1), ElementsAre(38));
    EXPECT_THAT(
        Started(),
        ElementsAre(
            L"C:\\Program Files (x86)\\ZARVIK Installer\\PreInstaller.exe | "
            L"\"C:\\Program Files (x86)\\ZARVIK Installer\\PreInstaller.exe\" D:\\Kit | 1"));
}

TEST_F(MainTest, EmptyProgramFilesFolderLooksAtTheRootOfTheCurrentDrive) {
    world().shell.folders.clear();
    world().shell.shfolderPresent = false;
    UseMediumWithoutPreInstaller();
    files().AddFile(L"D:\\ZARVIK Installer\\PreInstaller.exe");
    EXPECT_FALSE(RunMain());
    EXPECT_EQ(LookedUp().back(), L"\\ZARVIK Installer\\PreInstaller.exe");
    EXPECT_THAT(Started(), ElementsAre(L"D:\\ZARVIK Installer\\PreInstaller.exe | "
                                       L"\"\\ZARVIK Installer\\PreInstaller.exe\" D:\\Kit | 1"));
}

TEST_F(MainTest, NoPreInstallerAndYesStartsTheLauncherAnewMinimizedWithoutFocus) {
    UseMediumWithoutPreInstaller();
    world().desktop.AnswerMessageBox(sys::kIdYes);
    EXPECT_FALSE(RunMain());
    EXPECT_THAT(Boxes(), ElementsAre(Question(kJetztStarten, 6, L"ZARVIK INSTALLER")));
    EXPECT_THAT(Started(), ElementsAre(L"D:\\Kit\\Setup.exe | \"D:\\Kit\\Setup.exe\" | 6"));
    EXPECT_THAT(log().Argument(L"StartProgram", 0), ElementsAre(L"D:\\Kit\\Setup.exe"));
}

TEST_F(MainTest, NoPreInstallerAndNoEndsAtOnce) {
    UseMediumWithoutPreInstaller();
    world().desktop.AnswerMessageBox(sys::kIdNo);
    EXPECT_TRUE(RunMain());
    EXPECT_THAT(Started(), IsEmpty());
}

TEST_F(MainTest, ProgramInADrivesRootComposesPathsWithTwoBackslashes) {
    UseProgram(L"D:\\Setup.exe");
    StoreDataPath(L"");
    world().desktop.AnswerMessageBox(sys::kIdYes);  // einrichten
    world().desktop.AnswerMessageBox(sys::kIdOk);
    EXPECT_FALSE(RunMain());
    EXPECT_THAT(CallsTo(L"ChangeDirectory"),
                ElementsAre(Called(L"ChangeDirectory", {L"\\"}, L"D:\\")));
    EXPECT_THAT(CallsTo(L"StartProgram"),
                ElementsAre(Failed(L"StartProgram", {L"D:\\\\KORPELT.EXE", L"", 2}, 2)));
    EXPECT_THAT(Boxes(),
                ElementsAre(Question(kEinrichten, 6),
                            Box(L"D:\\\\Installer.exe\r\n FEHLT !", 0, L"ZARVIK Setup", 1)));
}

TEST_F(MainTest, ProgramInADrivesRootHandsTheRootToThePreInstaller) {
    files().AddFile(L"D:\\Installer.exe");
    files().AddFile(L"D:\\PreInstaller.exe");
    UseProgram(L"D:\\Setup.exe");
    EXPECT_FALSE(RunMain());
    EXPECT_THAT(Started(), ElementsAre(L"D:\\PreInstaller.exe | \"PreInstaller.exe\" D:\\ | 1"));
}

TEST_F(MainTest, NetworkFolderLeavesTheStartDirectoryAndTakesThePreInstallerFoundThere) {
    files().AddShare(L"\\\\server\\share");
    UseProgram(L"\\\\server\\share\\Setup\\Setup.exe");
    files().AddFile(L"\\\\server\\share\\Setup\\Installer.exe");
    files().AddFile(L"C:\\Users\\Anna\\PreInstaller.exe");
    EXPECT_FALSE(RunMain());
    EXPECT_THAT(CallsTo(L"ChangeDrive"), ElementsAre(Failed(L"ChangeDrive", {L"\\\\"}, 15)));
    EXPECT_THAT(CallsTo(L"ChangeDirectory"),
                ElementsAre(Failed(L"ChangeDirectory", {L"server\\share\\Setup"}, 2)));
    EXPECT_EQ(files().CurrentDirectory(), L"C:\\Users\\Anna");
    EXPECT_THAT(Started(), ElementsAre(L"C:\\Users\\Anna\\PreInstaller.exe | \"PreInstaller.exe\" "
                                       L"\\\\server\\share\\Setup | 1"));
}

TEST_F(MainTest, FailingDriveChangeDoesNotKeepTheDirectoryChangeFromBeingMade) {
    world().FailFacility(L"ChangeDrive", Failing());
    world().desktop.AnswerMessageBox(sys::kIdNo);
    // "\Setup" is then taken on the drive that is current, where there is no such folder.
    EXPECT_TRUE(RunMain());
    EXPECT_THAT(CallsTo(L"ChangeDirectory"),
                ElementsAre(Failed(L"ChangeDirectory", {L"\\Setup"}, 2)));
    EXPECT_EQ(files().CurrentDirectory(), L"C:\\Users\\Anna");
}

TEST_F(MainTest, FailingDirectoryChangeLeavesTheDrivesDirectoryCurrent) {
    world().FailFacility(L"ChangeDirectory", Failing());
    files().AddFile(L"D:\\PreInstaller.exe");
    EXPECT_FALSE(RunMain());
    // D: became current, in its root; the pre-installer is looked for and started there.
    EXPECT_EQ(files().CurrentDirectory(), L"D:\\");
    EXPECT_THAT(Started(),
                ElementsAre(L"D:\\PreInstaller.exe | \"PreInstaller.exe\" D:\\Setup | 1"));
}

TEST_F(MainTest, FailingSettingsReadLeavesTheWorkingPathEmpty) {
    world().FailFacility(L"ReadSetting", Failing());
    world().desktop.AnswerMessageBox(sys::kIdNo);
    EXPECT_TRUE(RunMain());
    EXPECT_THAT(Boxes(), ElementsAre(Question(kEinrichten, 7)));
}

TEST_F(MainTest, FailingDatabaseLookupCountsAsMissing) {
    world().FailFacility(L"LookUpFile", Failing(), PathEndsWith(L"\\Pelmadat.mdb"));
    world().desktop.AnswerMessageBox(sys::kIdNo);
    EXPECT_FALSE(RunMain());
    EXPECT_THAT(Boxes(), ElementsAre(Question(kKorrigieren, 7)));
    EXPECT_THAT(Started(), ElementsAre(kPreInstallerStarted));
}

TEST_F(MainTest, FailingInstallerLookupCountsAsMissing) {
    world().FailFacility(L"LookUpFile", Failing(), PathEndsWith(L"\\Installer.exe"));
    world().desktop.AnswerMessageBox(sys::kIdOk);
    EXPECT_FALSE(RunMain());
    EXPECT_THAT(Boxes(),
                ElementsAre(Box(L"D:\\Setup\\Installer.exe\r\n FEHLT !", 0, L"ZARVIK Setup", 1)));
    EXPECT_THAT(Started(), IsEmpty());
}

TEST_F(MainTest, FailingLookupBesideTheLauncherTakesTheBareName) {
    world().FailFacility(L"LookUpFile", Failing(), [](const std::vector<sim::Value>& a) {
        return a.at(0) == L"PreInstaller.exe";
    });
    world().desktop.AnswerMessageBox(sys::kIdNo);
    // The same lookup fails again in the next step, where it counts as missing.
    EXPECT_TRUE(RunMain());
    EXPECT_THAT(LookedUp(),
                ElementsAre(L"E:\\Daten\\DAT\\Pelmadat.mdb", L"D:\\Setup\\Installer.exe",
                            L"PreInstaller.exe", L"PreInstaller.exe"));
    EXPECT_THAT(CallsTo(L"SHGetSpecialFolderLocation"), IsEmpty());
    EXPECT_THAT(Boxes(), ElementsAre(Question(kJetztStarten, 7, L"ZARVIK INSTALLER")));
}

TEST_F(MainTest, FailingPreInstallerLookupCountsAsMissing) {
    UseMediumWithoutPreInstaller();
    files().AddFile(L"C:\\Program Files (x86)\\ZARVIK Installer\\PreInstaller.exe");
    world().FailFacility(L"LookUpFile", Failing(),
                         PathEndsWith(L"\\ZARVIK Installer\\PreInstaller.exe"));
    world().desktop.AnswerMessageBox(sys::kIdYes);
    EXPECT_FALSE(RunMain());
    EXPECT_THAT(Boxes(), ElementsAre(Question(kJetztStarten, 6, L"ZARVIK INSTALLER")));
    EXPECT_THAT(Started(), ElementsAre(L"D:\\Kit\\Setup.exe | \"D:\\Kit\\Setup.exe\" | 6"));
}

TEST_F(MainTest, FailingStartOfThePreInstallerShowsNothingAndEnds) {
    world().FailFacility(L"StartProgram", Failing());
    EXPECT_FALSE(RunMain());
    EXPECT_THAT(Boxes(), IsEmpty());
    EXPECT_EQ(Calls().back(), L"StartProgram");
}

TEST_F(MainTest, FailingMissingInstallerMessageStillEndsTheSequence) {
    world().FailFacility(L"LookUpFile", Failing(), PathEndsWith(L"\\Installer.exe"));
    world().desktop.FailMessageBox(Failing());
    EXPECT_FALSE(RunMain());
    EXPECT_THAT(Started(), IsEmpty());
    EXPECT_EQ(Calls().back(), L"ShowMessageBox");
}

TEST_F(MainTest, VelmoraIsClosedAndItsEndAwaitedBeforeAnythingElse) {
    const sys::ProcessId velmora = world().AddProcess(L"C:\\Velmora\\Velmora.exe");
    world().AddWindow(velmora, L"Velmora", sim::CloseReaction::Delayed(4000));
    EXPECT_FALSE(RunMain());
    const auto names = Calls();
    EXPECT_THAT(std::vector<std::wstring>(names.begin(), names.begin() + 8),
                ElementsAre(L"ProgramFileName", L"FindWindowA", L"GetWindowThreadProcessId",
                            L"OpenProcess", L"PostMessageA", L"WaitForSingleObject", L"CloseHandle",
                            L"HandlePendingMessages"));
    EXPECT_FALSE(world().processes.Get(velmora).running);
    EXPECT_EQ(world().clock.Now(), 4000u);
    EXPECT_THAT(Started(), ElementsAre(kPreInstallerStarted));
}

TEST_F(MainTest, VelmoraThatNeverEndsKeepsTheLauncherInItsFirstStep) {
    const sys::ProcessId velmora = world().AddProcess(L"C:\\Velmora\\Velmora.exe");
    world().AddWindow(velmora, L"Velmora", sim::CloseReaction::WindowOnly(std::nullopt));
    EXPECT_THROW(RunMain(), sim::Hang);
    EXPECT_THAT(CallsTo(L"HandlePendingMessages"), IsEmpty());
    EXPECT_THAT(Started(), IsEmpty());
}

TEST_F(MainTest, VelmoraThatCannotBeOpenedIsAskedToCloseAndTheSequenceGoesOn) {
    const sys::ProcessId velmora = world().AddProcess(L"C:\\Velmora\\Velmora.exe");
    const sys::Hwnd window = world().AddWindow(velmora, L"Velmora", sim::CloseReaction::Refused());
    world().processes.Get(velmora).openable = false;
    EXPECT_FALSE(RunMain());
    EXPECT_EQ(world().desktop.Get(window).posted, std::vector<std::uint32_t>{16});
    EXPECT_THAT(Started(), ElementsAre(kPreInstallerStarted));
}

TEST_F(MainTest, WindowWhoseTitleOnlyContainsVelmoraIsLeftAlone) {
    const sys::ProcessId other = world().AddProcess(L"C:\\Velmora\\Velmora.exe");
    const sys::Hwnd window = world().AddWindow(other, L"Velmora - Mandant 1");
    EXPECT_FALSE(RunMain());
    EXPECT_THAT(world().desktop.Get(window).posted, IsEmpty());
}

// ---- unusual but real environments, and the support trace

TEST_F(MainTest, ADriveThatRemembersAFolderThatIsGoneIsEnteredAtItsRoot) {
    // As a command prompt leaves it after "cd /d D:\old", "cd /d C:\..." and "rmdir D:\old".
    files().RememberFolder(L'D', L"D:\\old");
    EXPECT_FALSE(RunMain());
    EXPECT_THAT(CallsTo(L"ChangeDrive"), ElementsAre(Called(L"ChangeDrive", {L"D:"}, L"D:\\")));
    EXPECT_EQ(files().CurrentDirectory(), L"D:\\Setup");
    EXPECT_THAT(Started(), ElementsAre(kPreInstallerStarted));
}

TEST_F(MainTest, TheDriveChangeStillFailsWhereThereIsNoSuchDrive) {
    EXPECT_THROW(sys::ChangeDrive(L"Q:"), sys::Failure);
    files().RememberFolder(L'E', L"E:\\weg");
    sys::ChangeDrive(L"E:");
    EXPECT_EQ(files().CurrentDirectory(), L"E:\\");
}

TEST_F(MainTest, AFacilityThatRunsOutOfMemoryFailsLikeAnyOtherAndIsPassedOver) {
    world().FailAllocation(L"ReadSetting");  // a data path of hundreds of megabytes
    world().desktop.AnswerMessageBox(sys::kIdNo);
    EXPECT_TRUE(RunMain());  // the question of an empty data path, then No: not an abort
    EXPECT_EQ(CallsTo(L"ReadSetting").at(0).failure, 8u);
    EXPECT_THAT(Boxes(), ElementsAre(Question(kEinrichten, 7)));
}

TEST_F(MainTest, ARenamedLauncherWithADotInItsNameRestartsExactlyItsOwnFile) {
    UseProgram(L"D:\\Kit\\Setup_v1.2.exe");
    files().AddFile(L"D:\\Kit\\Installer.exe");
    world().desktop.AnswerMessageBox(sys::kIdYes);
    EXPECT_FALSE(RunMain());
    EXPECT_THAT(Started(),
                ElementsAre(L"D:\\Kit\\Setup_v1.2.exe | \"D:\\Kit\\Setup_v1.2.exe\" | 6"));
}

TEST_F(MainTest, AFailingBoxAtTheRestartQuestionCountsAsNoSoThatNoRestartsChainWithoutEnd) {
    UseMediumWithoutPreInstaller();
    world().desktop.FailMessageBox(Failing());
    EXPECT_TRUE(RunMain());
    EXPECT_THAT(Started(), IsEmpty());
    EXPECT_EQ(Calls().back(), L"EndProgram");
}

TEST_F(MainTest, AProgramThatNeedsElevationIsStartedThroughTheShellWithItsArguments) {
    sim::Program elevated;
    elevated.needsElevation = true;
    world().DefineProgram(L"D:\\Setup\\PreInstaller.exe", elevated);
    EXPECT_FALSE(RunMain());
    EXPECT_THAT(Started(), ElementsAre(kPreInstallerStarted));
    EXPECT_TRUE(world().processes.Get(world().started.at(0)).throughShell);
    EXPECT_EQ(CallsTo(L"StartProgram").back().result, world().started.at(0));
}

TEST_F(MainTest, OnlyAnElevationRefusalTakesTheShellRoute) {
    StoreDataPath(L"");
    files().RemoveFile(L"D:\\Setup\\KORPELT.EXE");
    world().desktop.AnswerMessageBox(sys::kIdYes);
    EXPECT_FALSE(RunMain());
    EXPECT_EQ(CallsTo(L"StartProgram").at(0).failure, 2u);  // file not found: no second try
    EXPECT_FALSE(world().processes.Get(world().started.at(0)).throughShell);
}

TEST_F(MainTest, TheHappyPathIsTracedStepByStep) {
    EXPECT_FALSE(RunMain());
    const sys::ProcessId preInstaller = world().started.at(0);
    EXPECT_THAT(
        TraceLines(),
        ElementsAre(
            L"Setup: 1 no window \"Velmora\": nothing to close",
            L"Setup: 2 pending window messages handled: done",
            L"Setup: 3 program folder read: done",
            L"Setup: 3 program folder \"D:\\Setup\": drive \"D:\" made current: done",
            L"Setup: 3 directory \"\\Setup\" made current: done",
            L"Setup: 4 data path read: \"E:\\Daten\"",
            L"Setup: 7 master database \"E:\\Daten\\DAT\\Pelmadat.mdb\": found",
            L"Setup: 8 installer \"D:\\Setup\\Installer.exe\": found",
            L"Setup: 9 pre-installer beside the launcher \"PreInstaller.exe\": found",
            L"Setup: 10 pre-installer \"PreInstaller.exe\": found",
            L"Setup: 10 start \"PreInstaller.exe\" with arguments \"D:\\Setup\", window style 1: "
            L"process " +
                std::to_wstring(preInstaller),
            L"Setup: 11 the sequence is over"));
}

TEST_F(MainTest, AMissingInstallerAndAFailedLookupAreTracedWithTheirReasons) {
    world().FailFacility(L"LookUpFile", Failing(), PathEndsWith(L"\\Installer.exe"));
    world().desktop.AnswerMessageBox(sys::kIdOk);
    const sys::ProcessId velmora = world().AddProcess(L"C:\\Velmora\\Velmora.exe");
    world().AddWindow(velmora, L"Velmora");
    EXPECT_FALSE(RunMain());
    const auto lines = TraceLines();
    EXPECT_EQ(lines.at(0), L"Setup: 1 window \"Velmora\" of process " + std::to_wstring(velmora) +
                               L" asked to close; waiting for its process to end");
    EXPECT_EQ(lines.at(1), L"Setup: 1 process " + std::to_wstring(velmora) + L" has ended");
    EXPECT_EQ(lines.at(lines.size() - 2),
              L"Setup: 8 installer \"D:\\Setup\\Installer.exe\": the lookup failed, error 21 "
              L"(not ready)");
    EXPECT_EQ(lines.back(),
              L"Setup: 8 message \"D:\\Setup\\Installer.exe\r\n FEHLT !\" shown: done");
}

}  // namespace
