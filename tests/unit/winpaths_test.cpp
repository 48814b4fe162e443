#include "winpaths/winpaths.h"

#include "sim_fixture.h"
#include "system/constants.h"

namespace {

using ::testing::ElementsAre;
using ::testing::Field;

constexpr std::int32_t kProgramFiles = 38;
constexpr std::int32_t kDrives = 17;  // "My Computer": known to the shell, no file-system path
const std::wstring kProgramFilesPath = L"C:\\Program Files (x86)";

class GetSpecialFolderTest : public SimTest {
  protected:
    static std::map<std::int32_t, sim::ShellFolder>& ShellFolders() {
        return world().shell.folders;
    }
    static std::map<std::int32_t, sim::ShellFolder>& ShfolderFolders() {
        return world().shell.shfolderFolders;
    }
    // The folder numbers the shell was asked for, in order.
    static std::vector<sim::Value> AskedOfTheShell() {
        return log().Argument(L"SHGetSpecialFolderLocation", 1);
    }
};

TEST_F(GetSpecialFolderTest, ShellAnswersThroughTheItemIdListWhichIsFreed) {
    ShellFolders()[kProgramFiles] = {kProgramFilesPath};

    EXPECT_EQ(WinPaths::GetSpecialFolder(kProgramFiles, false), kProgramFilesPath);
    const auto calls = log().All();
    ASSERT_EQ(calls.size(), 3u);
    const sim::Value list = calls[0].written.at(0);
    EXPECT_EQ(calls[0], Called(L"SHGetSpecialFolderLocation", {0, 38}, 0, {list}));
    EXPECT_EQ(calls[1], Called(L"SHGetPathFromIDListA", {list}, 1));
    EXPECT_EQ(calls[2], Called(L"CoTaskMemFree", {list}));
}

TEST_F(GetSpecialFolderTest, ResultHoldsNeitherTheNulNorTheBlanksAfterIt) {
    const std::wstring longest = L"C:\\" + std::wstring(sys::kMaxPath - 4, L'x');  // 259 chars
    ShellFolders()[kProgramFiles] = {longest};
    EXPECT_EQ(WinPaths::GetSpecialFolder(kProgramFiles, false), longest);

    ShellFolders()[kProgramFiles] = {L"D:\\"};
    EXPECT_EQ(WinPaths::GetSpecialFolder(kProgramFiles, false), L"D:\\");  // the system's "\"
}

TEST_F(GetSpecialFolderTest, CreateFlagIsSetOnlyWhenAskedAndNeverChangesOtherBits) {
    ShellFolders()[kProgramFiles] = {kProgramFilesPath};
    WinPaths::GetSpecialFolder(kProgramFiles, false);
    WinPaths::GetSpecialFolder(kProgramFiles, true);
    WinPaths::GetSpecialFolder(kProgramFiles | 0x8000, true);
    WinPaths::GetSpecialFolder(kProgramFiles | 0x8000, false);
    EXPECT_THAT(AskedOfTheShell(), ElementsAre(38, 32806, 32806, 32806));
}

TEST_F(GetSpecialFolderTest, FolderNotYetThereIsFoundOnlyWithCreate) {
    ShellFolders()[kProgramFiles] = {kProgramFilesPath, false};
    ShfolderFolders()[kProgramFiles] = {kProgramFilesPath, false};

    EXPECT_EQ(WinPaths::GetSpecialFolder(kProgramFiles, false), L"");
    EXPECT_EQ(WinPaths::GetSpecialFolder(kProgramFiles, true), kProgramFilesPath);
}

TEST_F(GetSpecialFolderTest, FolderWithoutPathGivesEmptyAndShfolderIsNotConsulted) {
    ShellFolders()[kDrives] = {std::nullopt};
    ShfolderFolders()[kDrives] = {L"C:\\wrong"};

    EXPECT_EQ(WinPaths::GetSpecialFolder(kDrives, false), L"");
    EXPECT_THAT(CallNames(), ElementsAre(L"SHGetSpecialFolderLocation", L"SHGetPathFromIDListA",
                                         L"CoTaskMemFree"));
}

TEST_F(GetSpecialFolderTest, UnknownToTheShellIsAskedOfShfolderWhichIsUnloadedAfter) {
    ShfolderFolders()[kProgramFiles] = {kProgramFilesPath};

    EXPECT_EQ(WinPaths::GetSpecialFolder(kProgramFiles, false), kProgramFilesPath);
    const auto calls = log().All();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].name, L"SHGetSpecialFolderLocation");
    const sim::Value library = calls[1].result;
    EXPECT_EQ(calls[1], Called(L"LoadLibraryA", {L"shfolder"}, library));
    // No owner, the same folder number, no token, flags 0.
    EXPECT_EQ(calls[2], Called(L"SHGetFolderPathA", {library, 0, 38, 0, 0}, 0));
    EXPECT_EQ(calls[3], Called(L"FreeLibrary", {library}, 1));
}

TEST_F(GetSpecialFolderTest, ShfolderFailingGivesEmptyAndIsStillUnloaded) {
    EXPECT_EQ(WinPaths::GetSpecialFolder(kProgramFiles, true), L"");
    EXPECT_THAT(CallNames(), ElementsAre(L"SHGetSpecialFolderLocation", L"LoadLibraryA",
                                         L"SHGetFolderPathA", L"FreeLibrary"));
    EXPECT_THAT(
        CallsTo(L"SHGetFolderPathA"),
        ElementsAre(Field(&sim::Call::arguments, ElementsAre(::testing::_, 0, 32806, 0, 0))));
}

TEST_F(GetSpecialFolderTest, ShfolderMissingGivesEmpty) {
    world().shell.shfolderPresent = false;
    ShfolderFolders()[kProgramFiles] = {kProgramFilesPath};

    EXPECT_EQ(WinPaths::GetSpecialFolder(kProgramFiles, false), L"");
    EXPECT_THAT(CallNames(), ElementsAre(L"SHGetSpecialFolderLocation", L"LoadLibraryA"));
}

TEST_F(GetSpecialFolderTest, PathComesThroughTheAnsiCodePage) {
    ShellFolders()[kProgramFiles] = {L"C:\\Programme \u00e4\u03a9"};
    // The A call gives the path in the ANSI code page: a character it lacks comes back as "?".
    EXPECT_EQ(WinPaths::GetSpecialFolder(kProgramFiles, false), L"C:\\Programme \u00e4?");
}

}  // namespace
