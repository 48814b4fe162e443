// Setup.exe as it ships: a 32-bit GUI program that needs only DLLs of every Windows since 7, with
// its manifest and version resource.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "bench.h"
#include "probe.h"

namespace {

using namespace harness;

// What Windows 7 and every later Windows ship in System32 (SysWOW64 for a 32-bit program).
const std::set<std::string> kSystemDlls = {"kernel32.dll", "user32.dll",   "gdi32.dll",
                                           "shell32.dll",  "advapi32.dll", "ole32.dll",
                                           "comctl32.dll", "msvcrt.dll"};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

Outcome Objdump(const std::string& option) {
    return Run({"i686-w64-mingw32-objdump", option, Bench::Get().Executable("Setup").string()}, {},
               30s);
}

TEST(SetupExecutable, IsA32BitGuiProgramImportingOnlySystemDlls) {
    const Outcome headers = Objdump("-p");
    ASSERT_EQ(headers.exitCode, 0) << headers.err;
    EXPECT_THAT(headers.out, ::testing::HasSubstr("Magic\t\t\t010b\t(PE32)"));
    EXPECT_THAT(headers.out, ::testing::HasSubstr("(Windows GUI)"));
    EXPECT_THAT(Objdump("-f").out, ::testing::HasSubstr("file format pei-i386"));

    std::vector<std::string> imported;
    for (const auto& line : Lines(headers.out)) {
        const std::size_t at = line.find("DLL Name: ");
        if (at != std::string::npos) {
            imported.push_back(Lower(line.substr(at + 10)));
        }
    }
    EXPECT_THAT(imported, ::testing::Contains("kernel32.dll"));
    for (const auto& dll : imported) {
        EXPECT_TRUE(kSystemDlls.count(dll) != 0) << "imports " << dll;
    }
}

// Whether the file holds the text in UTF-16, as the program's own texts are kept.
bool HoldsText(const std::filesystem::path& file, const std::string& text) {
    std::ifstream stream(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(stream),
                            std::istreambuf_iterator<char>()};
    std::string wide;
    for (const char c : text) {
        wide += c;
        wide += '\0';
    }
    return bytes.find(wide) != std::string::npos;
}

TEST(SetupExecutable, HoldsTheProcessWindowAndStaysWithin256KiB) {
    const auto setup = Bench::Get().Executable("Setup");
    EXPECT_LE(std::filesystem::file_size(setup), 256u * 1024u);
    EXPECT_TRUE(HoldsText(setup, "ZarvikProcessWindow"));            // the window's class
    EXPECT_TRUE(HoldsText(setup, "ALLE - Nach ProcessID beenden"));  // its design
}

TEST(SetupExecutable, EmbedsItsManifestAndVersion) {
    const std::string setup = WinePath(Bench::Get().Executable("Setup"));
    const auto answers = Probe({{"manifest", setup},
                                {"version", setup, "FileDescription"},
                                {"version", setup, "OriginalFilename"},
                                {"version", setup, "ProductName"}});
    ASSERT_TRUE(answers[0].ok) << answers[0].description;
    const std::string& manifest = answers[0].value;
    EXPECT_THAT(manifest, ::testing::HasSubstr("level=\"asInvoker\""));
    EXPECT_THAT(manifest, ::testing::HasSubstr("name=\"Microsoft.Windows.Common-Controls\" "
                                               "version=\"6.0.0.0\""));
    EXPECT_THAT(manifest, ::testing::HasSubstr(">true</dpiAware>"));
    for (const char* os : {"35138b9a-5d96-4fbd-8e2d-a2440225f93a",     // 7
                           "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",     // 8
                           "1f676c76-80e1-4239-95bb-83d0f6d0da78",     // 8.1
                           "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"}) {  // 10 and 11
        EXPECT_THAT(manifest, ::testing::HasSubstr(os));
    }
    EXPECT_EQ(answers[1].value, "ZARVIK Setup");
    EXPECT_EQ(answers[2].value, "Setup.exe");
    EXPECT_EQ(answers[3].value, "ZARVIK Setup");
}

}  // namespace
