#include "startup/main.h"

#include <cstdint>
#include <optional>
#include <string>

#include "startup/close_window_and_wait.h"
#include "system/system.h"
#include "winpaths/winpaths.h"

namespace startup {

namespace {

constexpr wchar_t kMainApplicationTitle[] = L"Velmora";
constexpr wchar_t kSettingsApplication[] = L"ZARVIK-Software";
constexpr wchar_t kSettingsSection[] = L"Quandor";
constexpr wchar_t kDataPathKey[] = L"NetzwerkPfad";
constexpr wchar_t kSetupTool[] = L"\\KORPELT.EXE";
constexpr wchar_t kMasterDatabase[] = L"DAT\\Pelmadat.mdb";
constexpr wchar_t kAdministrationTool[] = L"\\VENTARIS.EXE";
constexpr wchar_t kInstaller[] = L"\\Installer.exe";
constexpr wchar_t kPreInstaller[] = L"PreInstaller.exe";
constexpr wchar_t kPreInstallerFolder[] = L"\\ZARVIK Installer\\";
constexpr wchar_t kInstallerTitle[] = L"ZARVIK INSTALLER";

constexpr std::uint32_t kQuestion = sys::kMbYesNo | sys::kMbIconQuestion;  // 36

// Makes one action of the sequence on its own. A failing action is passed over without a
// message: what it was to produce is not stored, and the sequence goes on with the next action.
template <typename Action>
bool Try(Action action) {
    try {
        action();
        return true;
    } catch (const sys::Failure&) {
        return false;
    }
}

// Whether the file lookup found the file; nothing when the lookup failed, which each test
// counts in the sense in which its step is worded.
std::optional<bool> Found(const std::wstring& path) {
    std::wstring found;
    if (!Try([&] { found = sys::LookUpFile(path); })) {
        return std::nullopt;
    }
    return !found.empty();
}

// "Missing": a failing lookup counts as missing.
bool IsMissing(const std::wstring& path) {
    return !Found(path).value_or(false);
}

// A question counts as answered Yes when the box gives IDYES, and also when the box fails.
bool AnsweredYes(const std::wstring& question, const std::optional<std::wstring>& title) {
    int answer = sys::kIdYes;
    Try([&] { answer = sys::ShowMessageBox(question, kQuestion, title); });
    return answer == sys::kIdYes;
}

// Starts a program and never waits for it; one that cannot be started is passed over.
void Start(const std::wstring& program, const std::wstring& arguments, sys::WindowStyle style) {
    Try([&] { sys::StartProgram(program, arguments, style); });
}

std::wstring WithoutSurroundingBlanks(const std::wstring& text) {
    const std::size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos) {
        return L"";
    }
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

}  // namespace

void Main() {
    // 1. The main application is closed first, and its process waited for.
    CloseWindowAndWait(kMainApplicationTitle);

    // 2. Pending window messages are handled once.
    Try([] { sys::HandlePendingMessages(); });

    // 3. The program's folder becomes the current drive and directory, in two separate actions:
    //    D: then \Setup for D:\Setup; a network folder (\\server\...) fails the drive change.
    std::wstring folder;
    Try([&] { folder = sys::ProgramFolder(); });
    Try([&] { sys::ChangeDrive(folder.substr(0, 2)); });
    Try([&] { sys::ChangeDirectory(folder.size() > 2 ? folder.substr(2) : L""); });

    // 4. The working path starts as the stored data path.
    std::wstring working;
    Try([&] {
        working = sys::ReadSetting(kSettingsApplication, kSettingsSection, kDataPathKey, L"");
    });

    // 5. No data path: offer the data-path setup tool. After a Yes, the tool is about to store the
    //    path, so the database is not looked for on this run: steps 6 and 7 are passed over.
    if (working.empty()) {
        if (!AnsweredYes(L"Datenverzeichnis jetzt einrichten ?", std::nullopt)) {
            sys::EndProgram();
        }
        Start(folder + kSetupTool, L"", sys::WindowStyle::MinimizedFocus);
    } else {
        // 6. Blanks (spaces only) around the path go; it ends in exactly one "\" of its own.
        working = WithoutSurroundingBlanks(working);
        if (working.empty() || working.back() != L'\\') {
            working += L'\\';
        }

        // 7. No master database beneath it: offer the administration tool.
        if (IsMissing(working + kMasterDatabase) &&
            AnsweredYes(L"Datenverzeichnis jetzt korrigieren ?", std::nullopt)) {
            Start(folder + kAdministrationTool, L"", sys::WindowStyle::MinimizedFocus);
        }
    }

    // 8. Without the installer beside it, the launcher stops with a message.
    working = folder + kInstaller;
    if (IsMissing(working)) {
        Try([&] { sys::ShowMessageBox(working + L"\r\n FEHLT !", sys::kMbOk); });
        return;
    }

    // 9. The pre-installer: beside the launcher (the current directory), else beneath the
    //    program-files folder. This test asks for presence, so a failing lookup counts as found.
    if (Found(kPreInstaller).value_or(true)) {
        working = kPreInstaller;
    } else {
        working = WinPaths::GetSpecialFolder(sys::kCsidlProgramFiles, false) + kPreInstallerFolder +
                  kPreInstaller;
    }

    // 10. Hand over to the pre-installer with the program's folder as its argument, unquoted;
    //     without one, offer to start the launcher itself anew.
    if (IsMissing(working)) {
        if (!AnsweredYes(L"Jetzt starten ?", kInstallerTitle)) {
            sys::EndProgram();
        }
        std::wstring name;
        Try([&] { name = sys::ProgramFileName(); });
        Start(folder + L"\\" + name, L"", sys::WindowStyle::MinimizedNoFocus);
        return;
    }
    Start(working, folder, sys::WindowStyle::NormalFocus);

    // 11. The sequence is over; with no window open, the program ends when Main returns.
}

}  // namespace startup
