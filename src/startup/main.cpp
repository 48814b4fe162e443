#include "startup/main.h"

#include <cstdint>
#include <optional>
#include <string>

#include "startup/close_window_and_wait.h"
#include "startup/trace.h"
#include "system/decimal_text.h"
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
// Gives the failure, for the trace.
template <typename Action>
std::optional<sys::Failure> Try(Action action) {
    try {
        action();
        return std::nullopt;
    } catch (const sys::Failure& failure) {
        return failure;
    }
}

// The sequence's steps with what they tell the support trace.
class Sequence {
  public:
    explicit Sequence(const Trace& trace) : trace_(trace) {}

    // Whether the file lookup found the file; nothing when the lookup failed, which each test
    // counts in the sense in which its step is worded.
    std::optional<bool> Found(int step, const std::wstring& what, const std::wstring& path) {
        std::wstring found;
        if (const auto failure = Try([&] { found = sys::LookUpFile(path); })) {
            trace_.Step(
                step, what + L" " + Quoted(path) + L": the lookup failed, " + Described(*failure));
            return std::nullopt;
        }
        trace_.Step(step, what + L" " + Quoted(path) + (found.empty() ? L": missing" : L": found"));
        return !found.empty();
    }

    // "Missing": a failing lookup counts as missing.
    bool IsMissing(int step, const std::wstring& what, const std::wstring& path) {
        return !Found(step, what, path).value_or(false);
    }

    // A question counts as answered Yes when the box gives IDYES; a box that fails counts as
    // `failedBoxMeans`.
    bool AnsweredYes(int step, const std::wstring& question,
                     const std::optional<std::wstring>& title, bool failedBoxMeans) {
        int answer = sys::kIdNo;
        if (const auto failure =
                Try([&] { answer = sys::ShowMessageBox(question, kQuestion, title); })) {
            trace_.Step(step, L"asked " + Quoted(question) + L": the box failed, " +
                                  Described(*failure) + L", counted as " +
                                  (failedBoxMeans ? L"Yes" : L"No"));
            return failedBoxMeans;
        }
        trace_.Step(
            step, L"asked " + Quoted(question) + L": " + (answer == sys::kIdYes ? L"Yes" : L"No"));
        return answer == sys::kIdYes;
    }

    // Starts a program and never waits for it; one that cannot be started is passed over.
    void Start(int step, const std::wstring& program, const std::wstring& arguments,
               sys::WindowStyle style) {
        const std::wstring started = L"start " + Quoted(program) + L" with arguments " +
                                     Quoted(arguments) + L", window style " +
                                     sys::DecimalText(static_cast<int>(style));
        sys::ProcessId id = 0;
        if (const auto failure = Try([&] { id = sys::StartProgram(program, arguments, style); })) {
            trace_.Step(step, started + L": failed, " + Described(*failure));
        } else {
            trace_.Step(step, started + L": process " + sys::DecimalText(id));
        }
    }

    // An action of the sequence that the trace reports as done or failed.
    template <typename Action>
    void Do(int step, const std::wstring& what, Action action) {
        const auto failure = Try(action);
        trace_.Step(step, what + (failure ? L": failed, " + Described(*failure) : L": done"));
    }

    const Trace& trace() const { return trace_; }

  private:
    const Trace& trace_;
};

std::wstring WithoutSurroundingBlanks(const std::wstring& text) {
    const std::size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos) {
        return L"";
    }
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

}  // namespace

void Main() {
    // The program's name begins every line of the trace, and names the file of the restart.
    std::wstring name;
    Try([&] { name = sys::ProgramFileName(); });
    const Trace trace(name.empty() ? std::wstring(sys::kProgramTitle) : name);
    Sequence sequence(trace);

    // 1. The main application is closed first, and its process waited for.
    CloseWindowAndWait(kMainApplicationTitle, &trace);

    // 2. Pending window messages are handled once.
    sequence.Do(2, L"pending window messages handled", [] { sys::HandlePendingMessages(); });

    // 3. The program's folder becomes the current drive and directory, in two separate actions:
    //    D: then \Setup for D:\Setup; a network folder (\\server\...) fails the drive change.
    std::wstring folder;
    sequence.Do(3, L"program folder read", [&] { folder = sys::ProgramFolder(); });
    const std::wstring drive = folder.substr(0, 2);
    const std::wstring directory = folder.size() > 2 ? folder.substr(2) : L"";
    sequence.Do(
        3, L"program folder " + Quoted(folder) + L": drive " + Quoted(drive) + L" made current",
        [&] { sys::ChangeDrive(drive); });
    sequence.Do(3, L"directory " + Quoted(directory) + L" made current",
                [&] { sys::ChangeDirectory(directory); });

    // 4. The working path starts as the stored data path.
    std::wstring working;
    if (const auto failure = Try([&] {
            working = sys::ReadSetting(kSettingsApplication, kSettingsSection, kDataPathKey, L"");
        })) {
        trace.Step(4, L"data path not read: " + Described(*failure));
    } else {
        trace.Step(4, L"data path read: " + Quoted(working));
    }

    // 5. No data path: offer the data-path setup tool. After a Yes, the tool is about to store the
    //    path, so the database is not looked for on this run: steps 6 and 7 are passed over.
    //    A box that fails counts as Yes.
    if (working.empty()) {
        if (!sequence.AnsweredYes(5, L"Datenverzeichnis jetzt einrichten ?", std::nullopt, true)) {
            trace.Step(5, L"the program ends");
            sys::EndProgram();
        }
        sequence.Start(5, folder + kSetupTool, L"", sys::WindowStyle::MinimizedFocus);
    } else {
        // 6. Blanks (spaces only) around the path go; it ends in exactly one "\" of its own.
        working = WithoutSurroundingBlanks(working);
        if (working.empty() || working.back() != L'\\') {
            working += L'\\';
        }

        // 7. No master database beneath it: offer the administration tool. A box that fails
        //    counts as Yes.
        if (sequence.IsMissing(7, L"master database", working + kMasterDatabase) &&
            sequence.AnsweredYes(7, L"Datenverzeichnis jetzt korrigieren ?", std::nullopt, true)) {
            sequence.Start(7, folder + kAdministrationTool, L"", sys::WindowStyle::MinimizedFocus);
        }
    }

    // 8. Without the installer beside it, the launcher stops with a message.
    working = folder + kInstaller;
    if (sequence.IsMissing(8, L"installer", working)) {
        sequence.Do(8, L"message " + Quoted(working + L"\r\n FEHLT !") + L" shown",
                    [&] { sys::ShowMessageBox(working + L"\r\n FEHLT !", sys::kMbOk); });
        return;
    }

    // 9. The pre-installer: beside the launcher (the current directory), else beneath the
    //    program-files folder. This test asks for presence, so a failing lookup counts as found.
    if (sequence.Found(9, L"pre-installer beside the launcher", kPreInstaller).value_or(true)) {
        working = kPreInstaller;
    } else {
        const std::wstring programFiles =
            WinPaths::GetSpecialFolder(sys::kCsidlProgramFiles, false);
        trace.Step(9, L"program-files folder " + Quoted(programFiles));
        working = programFiles + kPreInstallerFolder + kPreInstaller;
    }

    // 10. Hand over to the pre-installer with the program's folder as its argument, unquoted;
    //     without one, offer to start the launcher itself anew. Here a box that fails counts as
    //     No: the restarted launcher's box would fail too, and restart it again, without end.
    if (sequence.IsMissing(10, L"pre-installer", working)) {
        if (!sequence.AnsweredYes(10, L"Jetzt starten ?", kInstallerTitle, false)) {
            trace.Step(10, L"the program ends");
            sys::EndProgram();
        }
        // Exactly the launcher's own file: the name's last dot need not begin its extension
        // (Setup_v1.2.exe).
        sequence.Start(10, folder + L"\\" + name + L".exe", L"",
                       sys::WindowStyle::MinimizedNoFocus);
        return;
    }
    sequence.Start(10, working, folder, sys::WindowStyle::NormalFocus);

    // 11. The sequence is over; with no window open, the program ends when Main returns.
    trace.Step(11, L"the sequence is over");
}

}  // namespace startup
