#include "runtime/guards.h"
#include "runtime/rules.h"
#include "system/buffer_text.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace runtime;
using sys::UpToFirstNul;

TEST(ProgramFolderAndName, FolderKeepsItsBackslashOnlyAtADrivesRoot) {
    EXPECT_EQ(FolderOfPath(L"D:\\Setup\\Setup.exe"), L"D:\\Setup");
    EXPECT_EQ(FolderOfPath(L"D:\\Setup.exe"), L"D:\\");
    EXPECT_EQ(FolderOfPath(L"D:\\Medium\\CD 1\\Setup.exe"), L"D:\\Medium\\CD 1");
    EXPECT_EQ(FolderOfPath(L"\\\\server\\share\\Setup.exe"), L"\\\\server\\share");
    EXPECT_EQ(FolderOfPath(L"\\\\server\\share\\Kit\\Setup.exe"), L"\\\\server\\share\\Kit");
}

TEST(ProgramFolderAndName, ExecutablePathLosesItsNtPrefix) {
    EXPECT_EQ(PlainExecutablePath(L"\\\\?\\UNC\\server\\share\\Setup.exe"),
              L"\\\\server\\share\\Setup.exe");
    EXPECT_EQ(PlainExecutablePath(L"UNC\\server\\share\\Setup.exe"),  // as Wine gives it
              L"\\\\server\\share\\Setup.exe");
    EXPECT_EQ(PlainExecutablePath(L"\\\\?\\D:\\Setup\\Setup.exe"), L"D:\\Setup\\Setup.exe");
    EXPECT_EQ(PlainExecutablePath(L"\\\\server\\share\\Setup.exe"),
              L"\\\\server\\share\\Setup.exe");
    EXPECT_EQ(PlainExecutablePath(L"D:\\UNC\\Setup.exe"), L"D:\\UNC\\Setup.exe");
}

TEST(ProgramFolderAndName, NameLosesOnlyItsLastExtension) {
    EXPECT_EQ(FileNameWithoutExtension(L"D:\\Setup\\Setup.exe"), L"Setup");
    EXPECT_EQ(FileNameWithoutExtension(L"D:\\Setup\\My.Setup.exe"), L"My.Setup");
    EXPECT_EQ(FileNameWithoutExtension(L"D:\\Kit.v2\\Setup"), L"Setup");
    EXPECT_EQ(FileNameWithoutExtension(L"\\\\server\\share\\Installieren.EXE"), L"Installieren");
}

TEST(StartProgramRules, ExeIsAddedOnlyWhenTheFileNameHasNoExtension) {
    EXPECT_EQ(WithDefaultExtension(L"D:\\Setup\\KORPELT"), L"D:\\Setup\\KORPELT.exe");
    EXPECT_EQ(WithDefaultExtension(L"D:\\Setup\\KORPELT.EXE"), L"D:\\Setup\\KORPELT.EXE");
    EXPECT_EQ(WithDefaultExtension(L"D:\\Kit.v2\\Setup"), L"D:\\Kit.v2\\Setup.exe");
    EXPECT_EQ(WithDefaultExtension(L"PreInstaller.exe"), L"PreInstaller.exe");
    EXPECT_EQ(WithDefaultExtension(L"tool.cmd"), L"tool.cmd");
}

TEST(StartProgramRules, PathIsQuotedAndArgumentsPassUnquoted) {
    EXPECT_EQ(QuotedCommandLine(L"C:\\Program Files (x86)\\ZARVIK Installer\\PreInstaller.exe",
                                L"D:\\Medium CD"),
              L"\"C:\\Program Files (x86)\\ZARVIK Installer\\PreInstaller.exe\" D:\\Medium CD");
    EXPECT_EQ(QuotedCommandLine(L"D:\\\\KORPELT.EXE", L""), L"\"D:\\\\KORPELT.EXE\"");
    EXPECT_EQ(QuotedCommandLine(L"PreInstaller.exe", L"D:\\"), L"\"PreInstaller.exe\" D:\\");
}

TEST(StartProgramRules, StylesMapOntoShowCommands) {
    EXPECT_EQ(ShowCommandFor(sys::WindowStyle::Hidden), 0);          // SW_HIDE
    EXPECT_EQ(ShowCommandFor(sys::WindowStyle::NormalFocus), 1);     // SW_SHOWNORMAL
    EXPECT_EQ(ShowCommandFor(sys::WindowStyle::MinimizedFocus), 2);  // SW_SHOWMINIMIZED
    // Minimized without focus is SW_SHOWMINNOACTIVE, not SW_MINIMIZE (which activates another).
    EXPECT_EQ(ShowCommandFor(sys::WindowStyle::MinimizedNoFocus), 7);
    EXPECT_EQ(ShowCommandFor(static_cast<sys::WindowStyle>(5)), std::nullopt);
    EXPECT_EQ(ShowCommandFor(static_cast<sys::WindowStyle>(-1)), std::nullopt);
}

TEST(FileLookupRules, ReadOnlyCountsHiddenSystemAndFoldersDoNot) {
    EXPECT_TRUE(CountsAsFile(0x00));   // no attributes
    EXPECT_TRUE(CountsAsFile(0x80));   // normal
    EXPECT_TRUE(CountsAsFile(0x01));   // read-only
    EXPECT_TRUE(CountsAsFile(0x21));   // read-only, archive
    EXPECT_FALSE(CountsAsFile(0x02));  // hidden
    EXPECT_FALSE(CountsAsFile(0x04));  // system
    EXPECT_FALSE(CountsAsFile(0x10));  // folder
    EXPECT_FALSE(CountsAsFile(0x23));  // read-only but hidden
}

TEST(FileLookupRules, OnlyNotFoundErrorsMeanNoFile) {
    EXPECT_TRUE(MeansNoSuchFile(2));    // file not found
    EXPECT_TRUE(MeansNoSuchFile(3));    // path not found
    EXPECT_TRUE(MeansNoSuchFile(18));   // no more files
    EXPECT_FALSE(MeansNoSuchFile(21));  // drive not ready
    EXPECT_FALSE(MeansNoSuchFile(53));  // network path not found
    EXPECT_FALSE(MeansNoSuchFile(67));  // network name not found
    EXPECT_FALSE(MeansNoSuchFile(5));   // access denied
}

TEST(SystemBuffers, TextEndsAtTheFirstNul) {
    EXPECT_EQ(UpToFirstNul(std::wstring(L"C:\\Windows\0   ", 14)), L"C:\\Windows");
    EXPECT_EQ(UpToFirstNul(std::wstring(L"\0C:\\", 4)), L"");
    EXPECT_EQ(UpToFirstNul(L"no terminator"), L"no terminator");
}

TEST(FacilityGuards, AFailureOfMemoryBecomesTheFacilitysFailure) {
    const auto outOfMemory = [] { return sys::Failure(8, L"no memory"); };
    EXPECT_EQ(runtime::GuardingMemory([] { return 7; }, outOfMemory), 7);
    for (const auto& work : {std::function<int()>([]() -> int { throw std::bad_alloc(); }),
                             std::function<int()>([]() -> int {
                                 std::wstring text;
                                 text.reserve(text.max_size() + 1);  // std::length_error
                                 return 0;
                             })}) {
        try {
            runtime::GuardingMemory(work, outOfMemory);
            ADD_FAILURE() << "nothing raised";
        } catch (const sys::Failure& failure) {
            EXPECT_EQ(failure.number(), 8u);
        }
    }
    // Other failures pass through unchanged.
    EXPECT_THROW(runtime::GuardingMemory([]() -> int { throw sys::Failure(2, L"x"); }, outOfMemory),
                 sys::Failure);
}

TEST(FacilityGuards, OnlyARefusalForElevationTakesTheShellsExecuteCall) {
    int executed = 0;
    const auto execute = [&] {
        ++executed;
        return sys::ProcessId{42};
    };
    EXPECT_EQ(runtime::StartAskingForElevation([] { return sys::ProcessId{7}; }, execute), 7u);
    EXPECT_EQ(runtime::StartAskingForElevation(
                  []() -> sys::ProcessId { throw sys::Failure(740, L"elevation"); }, execute),
              42u);
    EXPECT_EQ(executed, 1);
    EXPECT_THROW(runtime::StartAskingForElevation(
                     []() -> sys::ProcessId { throw sys::Failure(5, L"denied"); }, execute),
                 sys::Failure);
    EXPECT_EQ(executed, 1);
}

}  // namespace
