#include "winpaths/winpaths.h"

#include <gmock/gmock.h>

#include "sim_fixture.h"

namespace {

using ::testing::ElementsAre;

constexpr std::int32_t kProgramFiles = 38;
constexpr std::int32_t kDrives = 17;  // "My Computer": known to the shell, no file-system path
const std::wstring kProgramFilesPath = L"C:\\Program Files (x86)";

class GetSpecialFolderTest : public SimTest {};

TEST_F(GetSpecialFolderTest, ShellAnswersThroughTheItemIdListWhichIsFreed) {
    world().shellFolders[kProgramFiles] = {kProgramFilesPath};

    EXPECT_EQ(WinPaths::GetSpecialFolder(kProgramFiles, false), kProgramFilesPath);
    EXPECT_THAT(world().CallNames(), ElementsAre(L"SHGetSpecialFolderLocation",
                                                 L"SHGetPathFromIDListA", L"CoTaskMemFree"));
    EXPECT_THAT(CallsTo(L"SHGetSpecialFolderLocation"),
                ElementsAre(::testing::StartsWith(L"SHGetSpecialFolderLocation(0, 38)")));
}

TEST_F(GetSpecialFolderTest, ResultHoldsNeitherTheNulNorTheBlanksAfterIt) {
    const std::wstring longest = L"C:\\" + std::wstring(sys::kMaxPath - 4, L'x');  // 259 chars
    world().shellFolders[kProgramFiles] = {longest};
    EXPECT_EQ(WinPaths::GetSpecialFolder(kProgramFiles, false), longest);

    world().shellFolders[kProgramFiles] = {L"D:\\"};
    EXPECT_EQ(WinPaths::GetSpecialFolder(kProgramFiles, false), L"D:\\");  // the system's "\"
}

TEST_F(GetSpecialFolderTest, CreateFlagIsSetOnlyWhenAskedAndNeverChangesOtherBits) {
    world().shellFolders[kProgramFiles] = {kProgramFilesPath};
    WinPaths::GetSpecialFolder(kProgramFiles, false);
    WinPaths::GetSpecialFolder(kProgramFiles, true);
    WinPaths::GetSpecialFolder(kProgramFiles | 0x8000, true);
    WinPaths::GetSpecialFolder(kProgramFiles | 0x8000, false);
    EXPECT_THAT(CallsTo(L"SHGetSpecialFolderLocation"),
                ElementsAre(::testing::StartsWith(L"SHGetSpecialFolderLocation(0, 38)"),
                            ::testing::StartsWith(L"SHGetSpecialFolderLocation(0, 32806)"),
                            ::testing::StartsWith(L"SHGetSpecialFolderLocation(0, 32806)"),
                            ::testing::StartsWith(L"SHGetSpecialFolderLocation(0, 32806)")));
}

TEST_F(GetSpecialFolderTest, FolderNotYetThereIsFoundOnlyWithCreate) {
    world().shellFolders[kProgramFiles] = {kProgramFilesPath, false};
    world().shfolderFolders[kProgramFiles] = {kProgramFilesPath, false};

    EXPECT_EQ(WinPaths::GetSpecialFolder(kProgramFiles, false), L"");
    EXPECT_EQ(WinPaths::GetSpecialFolder(kProgramFiles, true), kProgramFilesPath);
}

TEST_F(GetSpecialFolderTest, FolderWithoutPathGivesEmptyAndShfolderIsNotConsulted) {
    world().shellFolders[kDrives] = {std::nullopt};
    world().shfolderFolders[kDrives] = {L"C:\\wrong"};

    EXPECT_EQ(WinPaths::GetSpecialFolder(kDrives, false), L"");
    EXPECT_THAT(world().CallNames(), ElementsAre(L"SHGetSpecialFolderLocation",
                                                 L"SHGetPathFromIDListA", L"CoTaskMemFree"));
}

TEST_F(GetSpecialFolderTest, UnknownToTheShellIsAskedOfShfolderWhichIsUnloadedAfter) {
    world().shfolderFolders[kProgramFiles] = {kProgramFilesPath};

    EXPECT_EQ(WinPaths::GetSpecialFolder(kProgramFiles, false), kProgramFilesPath);
    EXPECT_THAT(world().CallNames(), ElementsAre(L"SHGetSpecialFolderLocation", L"LoadLibraryA",
                                                 L"SHGetFolderPathA", L"FreeLibrary"));
    EXPECT_THAT(CallsTo(L"LoadLibraryA"),
                ElementsAre(::testing::StartsWith(L"LoadLibraryA(\"shfolder\")")));
    // No owner, the same folder number, no token, flags 0.
    EXPECT_THAT(CallsTo(L"SHGetFolderPathA"),
                ElementsAre(::testing::HasSubstr(L", 0, 38, 0, 0) -> 0")));
}

TEST_F(GetSpecialFolderTest, ShfolderFailingGivesEmptyAndIsStillUnloaded) {
    EXPECT_EQ(WinPaths::GetSpecialFolder(kProgramFiles, true), L"");
    EXPECT_THAT(world().CallNames(), ElementsAre(L"SHGetSpecialFolderLocation", L"LoadLibraryA",
                                                 L"SHGetFolderPathA", L"FreeLibrary"));
    EXPECT_THAT(CallsTo(L"SHGetFolderPathA"),
                ElementsAre(::testing::HasSubstr(L", 0, 32806, 0, 0) -> ")));
}

TEST_F(GetSpecialFolderTest, ShfolderMissingGivesEmpty) {
    world().shfolderPresent = false;
    world().shfolderFolders[kProgramFiles] = {kProgramFilesPath};

    EXPECT_EQ(WinPaths::GetSpecialFolder(kProgramFiles, false), L"");
    EXPECT_THAT(world().CallNames(), ElementsAre(L"SHGetSpecialFolderLocation", L"LoadLibraryA"));
}

TEST_F(GetSpecialFolderTest, PathComesThroughTheAnsiCodePage) {
    world().shellFolders[kProgramFiles] = {L"C:\\Programme \u00e4\u03a9"};
    // The A call gives the path in the ANSI code page: a character it lacks comes back as "?".
    EXPECT_EQ(WinPaths::GetSpecialFolder(kProgramFiles, false), L"C:\\Programme \u00e4?");
}

}  // namespace
