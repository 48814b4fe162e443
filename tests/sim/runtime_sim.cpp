// The simulated binding of the seam's runtime facilities.

#include <string>

#include "sim.h"
#include "runtime/rules.h"

namespace sys {

using sim::Quoted;
using sim::TheWorld;

namespace {

std::wstring Style(WindowStyle style) {
    return std::to_wstring(static_cast<int>(style));
}

// Logs a facility's call, and raises the failure the test set for that facility.
void Enter(const std::wstring& name, const std::wstring& arguments) {
    auto& world = TheWorld();
    if (const auto failure = world.FacilityFailure(name, arguments)) {
        world.Log(name + L"(" + arguments + L") -> failure " + std::to_wstring(failure->number()));
        throw *failure;
    }
}

Failure FailureOf(std::uint32_t number) {
    return Failure(number, L"simulated error " + std::to_wstring(number));
}

// Raises, and logs, a failure found by the simulation itself.
[[noreturn]] void Fail(const std::wstring& call, std::uint32_t number) {
    TheWorld().Log(call + L" -> failure " + std::to_wstring(number));
    throw FailureOf(number);
}

bool MatchesPattern(const std::wstring& name, const std::wstring& pattern) {
    if (pattern.empty()) {
        return name.empty();
    }
    if (pattern[0] == L'*') {
        for (std::size_t skip = 0; skip <= name.size(); ++skip) {
            if (MatchesPattern(name.substr(skip), pattern.substr(1))) {
                return true;
            }
        }
        return false;
    }
    return !name.empty() && (pattern[0] == L'?' || pattern[0] == name[0]) &&
           MatchesPattern(name.substr(1), pattern.substr(1));
}

// The file a program path names, as the system looks for it: the current directory for a bare
// name. Raises the failure the system would give when there is no such program.
std::wstring ProgramFile(const std::wstring& call, const std::wstring& program) {
    auto& world = TheWorld();
    const std::wstring full = world.FullPath(program);
    if (const std::uint32_t problem = world.RootProblem(full)) {
        Fail(call, problem == kErrorInvalidDrive ? kErrorPathNotFound : problem);
    }
    const sim::Entry* entry = world.FindEntry(full);
    if (entry == nullptr || entry->folder) {
        Fail(call, kErrorFileNotFound);
    }
    return full;
}

}  // namespace

std::wstring ProgramFolder() {
    Enter(L"ProgramFolder", L"");
    const std::wstring folder = runtime::FolderOfPath(TheWorld().programPath);
    TheWorld().Log(L"ProgramFolder() -> " + Quoted(folder));
    return folder;
}

std::wstring ProgramFileName() {
    Enter(L"ProgramFileName", L"");
    const std::wstring name = runtime::FileNameWithoutExtension(TheWorld().programPath);
    TheWorld().Log(L"ProgramFileName() -> " + Quoted(name));
    return name;
}

void ChangeDrive(const std::wstring& drive) {
    auto& world = TheWorld();
    const std::wstring call = L"ChangeDrive(" + Quoted(drive) + L")";
    Enter(L"ChangeDrive", Quoted(drive));
    const wchar_t letter = drive.empty() ? L'\0' : drive.front();
    if (!((letter >= L'A' && letter <= L'Z') || (letter >= L'a' && letter <= L'z'))) {
        Fail(call, kErrorInvalidDrive);
    }
    const std::wstring full = world.FullPath(std::wstring{letter, L':'});
    if (const std::uint32_t problem = world.RootProblem(full)) {
        Fail(call, problem);
    }
    world.ChangeCurrentDirectory(full);
    world.Log(call + L" -> " + Quoted(world.CurrentDirectory()));
}

void ChangeDirectory(const std::wstring& path) {
    auto& world = TheWorld();
    const std::wstring call = L"ChangeDirectory(" + Quoted(path) + L")";
    Enter(L"ChangeDirectory", Quoted(path));
    const std::wstring full = world.FullPath(path);
    if (const std::uint32_t problem = world.RootProblem(full)) {
        Fail(call, problem);
    }
    const sim::Entry* entry = world.FindEntry(full);
    const bool isRoot = full.size() >= 1 && full.back() == L'\\';
    if (path.empty() || (!isRoot && (entry == nullptr || !entry->folder))) {
        Fail(call, kErrorFileNotFound);
    }
    world.ChangeCurrentDirectory(full);
    world.Log(call + L" -> " + Quoted(world.CurrentDirectory()));
}

std::wstring ReadSetting(const std::wstring& application, const std::wstring& section,
                         const std::wstring& key, const std::wstring& defaultValue) {
    const std::wstring arguments = Quoted(application) + L", " + Quoted(section) + L", " +
                                   Quoted(key) + L", " + Quoted(defaultValue);
    Enter(L"ReadSetting", arguments);
    const std::wstring value =
        TheWorld().ReadStoredSetting(application, section, key).value_or(defaultValue);
    TheWorld().Log(L"ReadSetting(" + arguments + L") -> " + Quoted(value));
    return value;
}

std::wstring LookUpFile(const std::wstring& path) {
    auto& world = TheWorld();
    const std::wstring call = L"LookUpFile(" + Quoted(path) + L")";
    Enter(L"LookUpFile", Quoted(path));
    const std::wstring full = world.FullPath(path);
    if (const std::uint32_t problem = world.RootProblem(full)) {
        Fail(call, problem);
    }
    const std::size_t separator = full.find_last_of(L'\\');
    const std::wstring folder = full.substr(0, separator);
    const std::wstring pattern = sim::UpperCase(full.substr(separator + 1));
    std::wstring found;
    for (const sim::Entry* entry : world.EntriesIn(folder)) {
        if (MatchesPattern(sim::UpperCase(entry->name), pattern) &&
            runtime::CountsAsFile(entry->attributes) && !entry->folder) {
            found = entry->name;
            break;
        }
    }
    world.Log(call + L" -> " + Quoted(found));
    return found;
}

ProcessId StartProgram(const std::wstring& program, const std::wstring& arguments,
                       WindowStyle style) {
    auto& world = TheWorld();
    const std::wstring call = L"StartProgram(" + Quoted(program) + L", " + Quoted(arguments) +
                              L", " + Style(style) + L")";
    Enter(L"StartProgram", Quoted(program) + L", " + Quoted(arguments) + L", " + Style(style));
    if (!runtime::ShowCommandFor(style)) {
        Fail(call, kErrorInvalidParameter);
    }
    const std::wstring file = runtime::WithDefaultExtension(program);
    const std::wstring image = ProgramFile(call, file);
    const ProcessId id =
        world.StartProcess(image, runtime::QuotedCommandLine(file, arguments), style);
    world.Log(call + L" -> " + std::to_wstring(id));
    return id;
}

ProcessId StartCommandLine(const std::wstring& commandLine, WindowStyle style) {
    auto& world = TheWorld();
    const std::wstring call =
        L"StartCommandLine(" + Quoted(commandLine) + L", " + Style(style) + L")";
    Enter(L"StartCommandLine", Quoted(commandLine) + L", " + Style(style));
    if (!runtime::ShowCommandFor(style)) {
        Fail(call, kErrorInvalidParameter);
    }
    // The system's splitting: a quoted program ends at its closing quote; otherwise each blank in
    // turn is tried as the end of the program's path, shortest first.
    std::wstring image;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        const std::size_t close = commandLine.find(L'"', 1);
        image = ProgramFile(call, runtime::WithDefaultExtension(commandLine.substr(1, close - 1)));
    } else {
        for (std::size_t end = commandLine.find(L' '); image.empty();
             end = commandLine.find(L' ', end + 1)) {
            const std::wstring candidate =
                runtime::WithDefaultExtension(commandLine.substr(0, end));
            if (world.FileExists(candidate)) {
                image = world.FullPath(candidate);
            } else if (end == std::wstring::npos) {
                Fail(call, kErrorFileNotFound);
            }
        }
    }
    const ProcessId id = world.StartProcess(image, commandLine, style);
    world.Log(call + L" -> " + std::to_wstring(id));
    return id;
}

int ShowMessageBox(const std::wstring& text, std::uint32_t buttonsAndIcon,
                   const std::optional<std::wstring>& title) {
    auto& world = TheWorld();
    const std::wstring shownTitle = title ? *title : std::wstring(kProgramTitle);
    const std::wstring arguments =
        Quoted(text) + L", " + std::to_wstring(buttonsAndIcon) + L", " + Quoted(shownTitle);
    Enter(L"ShowMessageBox", arguments);
    std::optional<Failure> failure;
    const std::optional<int> answer = world.NextAnswer(failure);
    if (!answer) {
        world.Log(L"ShowMessageBox(" + arguments + L") -> unexpected");
        throw sim::Unexpected("a message box that the test did not expect");
    }
    if (failure) {
        world.Log(L"ShowMessageBox(" + arguments + L") -> failure " +
                  std::to_wstring(failure->number()));
        throw *failure;
    }
    world.Log(L"ShowMessageBox(" + arguments + L") -> " + std::to_wstring(*answer));
    return *answer;
}

void HandlePendingMessages() {
    TheWorld().Log(L"HandlePendingMessages()");
}

void EndProgram() {
    TheWorld().Log(L"EndProgram()");
    throw sim::ProgramEnded{};
}

void ReportUnhandledFailure(const Failure& failure) {
    TheWorld().Log(L"ReportUnhandledFailure(" + std::to_wstring(failure.number()) + L", " +
                   Quoted(failure.description()) + L")");
    throw sim::ProgramEnded{};
}

}  // namespace sys
