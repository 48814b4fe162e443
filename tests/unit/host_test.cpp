// ProcessHost.exe's command line, and the window's icon and picture as they are kept.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "host/command_line.h"

namespace {

using host::ParseCommandLine;
using host::Start;

TEST(HostCommandLine, TakesTheRestAfterItsOptionExactly) {
    struct Case {
        std::wstring whole;
        Start start;
        std::wstring commandLine;
    };
    for (const Case& c : std::vector<Case>{
             {L"ProcessHost.exe", Start::None, L""},
             {L"\"C:\\Program Files\\ZARVIK\\ProcessHost.exe\"  ", Start::None, L""},
             {L"ProcessHost.exe --create notepad.exe  datei.txt", Start::Create,
              L"notepad.exe  datei.txt"},
             {L"\"C:\\a b\\ProcessHost.exe\" --shell \"C:\\x y\\z.exe\" -q", Start::Shell,
              L"\"C:\\x y\\z.exe\" -q"},
             {L"ProcessHost.exe --create", Start::Create, L""},
         }) {
        const auto command = ParseCommandLine(c.whole);
        ASSERT_TRUE(command.has_value());
        EXPECT_EQ(command->start, c.start);
        EXPECT_EQ(command->commandLine, c.commandLine);
    }
}

TEST(HostCommandLine, RefusesWhatItDoesNotKnow) {
    for (const wchar_t* whole : {L"ProcessHost.exe notepad.exe", L"ProcessHost.exe --created x",
                                 L"ProcessHost.exe -create x", L"ProcessHost.exe --CREATE x"}) {
        EXPECT_FALSE(ParseCommandLine(whole).has_value());
    }
}

std::vector<unsigned char> Bytes(const char* name) {
    std::ifstream file(std::string(ZARVIK_RESOURCES) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

unsigned Word(const std::vector<unsigned char>& bytes, std::size_t at, bool bigEndian) {
    return bigEndian ? (bytes.at(at) << 8) | bytes.at(at + 1)
                     : bytes.at(at) | (bytes.at(at + 1) << 8);
}

TEST(WindowResources, TheIconIsOne16By16ImageIn24BitColour) {
    const auto icon = Bytes("frmProcess.ico");
    ASSERT_GE(icon.size(), 6u + 16u + 40u);
    EXPECT_EQ(Word(icon, 2, false), 1u);  // an icon
    EXPECT_EQ(Word(icon, 4, false), 1u);  // one image
    EXPECT_EQ(icon[6], 16);
    EXPECT_EQ(icon[7], 16);
    EXPECT_EQ(Word(icon, 12, false), 24u);       // bits per pixel
    EXPECT_EQ(Word(icon, 22 + 14, false), 24u);  // and so says its bitmap header
}

TEST(WindowResources, ThePictureIsABaselineJpegOf500By345InThreeComponents) {
    const auto jpeg = Bytes("frmProcess.jpg");
    ASSERT_GE(jpeg.size(), 4u);
    EXPECT_EQ(Word(jpeg, 0, true), 0xFFD8u);
    // Walk the markers up to the frame header: SOF0 is baseline; SOF2 would be progressive.
    std::size_t at = 2;
    unsigned marker = 0;
    while (at + 4 <= jpeg.size()) {
        marker = Word(jpeg, at, true);
        if (marker >= 0xFFC0 && marker <= 0xFFCF && marker != 0xFFC4 && marker != 0xFFCC) {
            break;
        }
        at += 2 + Word(jpeg, at + 2, true);
    }
    ASSERT_EQ(marker, 0xFFC0u);
    EXPECT_EQ(jpeg.at(at + 4), 8);              // bits per component
    EXPECT_EQ(Word(jpeg, at + 5, true), 345u);  // height
    EXPECT_EQ(Word(jpeg, at + 7, true), 500u);  // width
    EXPECT_EQ(jpeg.at(at + 9), 3);              // components
}

}  // namespace
