// The simulated binding of the seam's runtime facilities.

#include <string>

#include "program_files.h"
#include "runtime/guards.h"
#include "runtime/rules.h"
#include "system/system.h"
#include "text.h"
#include "world.h"

namespace sys {

using sim::TheWorld;
using sim::Value;

namespace {

Failure FailureOf(std::uint32_t number) {
    return Failure(number, L"simulated error " + std::to_wstring(number));
}

// One call of a facility: raises the failure a test set for it, or one the simulation finds, and
// records the call with its outcome either way.
class FacilityCall {
  public:
    FacilityCall(std::wstring name, std::vector<Value> arguments)
        : name_(std::move(name)), arguments_(std::move(arguments)) {
        if (const auto failure = TheWorld().FacilityFailure(name_, arguments_)) {
            Raise(*failure);
        }
        if (TheWorld().AllocationFails(name_)) {
            // The facility's work runs out of memory; the runtime's rule makes it its failure.
            try {
                runtime::GuardingMemory([]() -> int { throw std::bad_alloc(); },
                                        [] { return FailureOf(runtime::kErrorNotEnoughMemory); });
            } catch (const Failure& failure) {
                Raise(failure);
            }
        }
    }
    [[noreturn]] void Raise(const Failure& failure) {
        TheWorld().Record({name_, arguments_, sim::null, {}, failure.number()});
        throw failure;
    }
    [[noreturn]] void Fail(std::uint32_t number) { Raise(FailureOf(number)); }
    void Done(Value result = sim::null) {
        TheWorld().Record({name_, arguments_, std::move(result)});
    }

  private:
    std::wstring name_;
    std::vector<Value> arguments_;
};

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

std::int64_t StyleNumber(WindowStyle style) {
    return static_cast<std::int64_t>(style);
}

ProcessId Start(FacilityCall& call, const sim::ProgramLookup& program,
                const std::wstring& commandLine, WindowStyle style) {
    if (!program.image) {
        call.Fail(program.error);
    }
    auto& world = TheWorld();
    const ProcessId id = world.StartProcess(*program.image, commandLine);
    world.processes.Get(id).style = style;
    call.Done(id);
    return id;
}

// Process creation refuses a program that needs elevation.
void RefuseElevated(const sim::ProgramLookup& program) {
    if (program.image) {
        if (const sim::Program* defined = TheWorld().ProgramAt(*program.image);
            defined != nullptr && defined->needsElevation) {
            throw FailureOf(runtime::kErrorElevationRequired);
        }
    }
}

}  // namespace

std::wstring ProgramFolder() {
    FacilityCall call(L"ProgramFolder", {});
    const std::wstring folder = runtime::FolderOfPath(TheWorld().programPath);
    call.Done(folder);
    return folder;
}

std::wstring ProgramFileName() {
    FacilityCall call(L"ProgramFileName", {});
    const std::wstring name = runtime::FileNameWithoutExtension(TheWorld().programPath);
    call.Done(name);
    return name;
}

void ChangeDrive(const std::wstring& drive) {
    auto& world = TheWorld();
    FacilityCall call(L"ChangeDrive", {drive});
    const wchar_t letter = drive.empty() ? L'\0' : drive.front();
    if (!((letter >= L'A' && letter <= L'Z') || (letter >= L'a' && letter <= L'z'))) {
        call.Fail(kErrorInvalidDrive);
    }
    std::wstring full = world.files.FullPath(std::wstring{letter, L':'});
    if (const std::uint32_t problem = world.files.RootProblem(full)) {
        call.Fail(problem);
    }
    // The folder the drive remembers may no longer exist: then its root.
    if (!world.files.FolderExists(full)) {
        full = std::wstring{letter, L':', L'\\'};
    }
    world.files.ChangeCurrentDirectory(full);
    call.Done(world.files.CurrentDirectory());
}

void ChangeDirectory(const std::wstring& path) {
    auto& world = TheWorld();
    FacilityCall call(L"ChangeDirectory", {path});
    const std::wstring full = world.files.FullPath(path);
    if (const std::uint32_t problem = world.files.RootProblem(full)) {
        call.Fail(problem);
    }
    const sim::Entry* entry = world.files.FindEntry(full);
    const bool isRoot = !full.empty() && full.back() == L'\\';
    if (path.empty() || (!isRoot && (entry == nullptr || !entry->folder))) {
        call.Fail(kErrorFileNotFound);
    }
    world.files.ChangeCurrentDirectory(full);
    call.Done(world.files.CurrentDirectory());
}

std::wstring ReadSetting(const std::wstring& application, const std::wstring& section,
                         const std::wstring& key, const std::wstring& defaultValue) {
    FacilityCall call(L"ReadSetting", {application, section, key, defaultValue});
    const std::wstring value =
        TheWorld().settings.Read(application, section, key).value_or(defaultValue);
    call.Done(value);
    return value;
}

std::wstring LookUpFile(const std::wstring& path) {
    auto& world = TheWorld();
    FacilityCall call(L"LookUpFile", {path});
    const std::wstring full = world.files.FullPath(path);
    if (const std::uint32_t problem = world.files.RootProblem(full)) {
        call.Fail(problem);
    }
    const std::size_t separator = full.find_last_of(L'\\');
    const std::wstring folder = full.substr(0, separator);
    const std::wstring pattern = sim::UpperCase(full.substr(separator + 1));
    std::wstring found;
    for (const sim::Entry* entry : world.files.EntriesIn(folder)) {
        if (MatchesPattern(sim::UpperCase(entry->name), pattern) &&
            runtime::CountsAsFile(entry->attributes) && !entry->folder) {
            found = entry->name;
            break;
        }
    }
    call.Done(found);
    return found;
}

ProcessId StartProgram(const std::wstring& program, const std::wstring& arguments,
                       WindowStyle style) {
    FacilityCall call(L"StartProgram", {program, arguments, StyleNumber(style)});
    if (!runtime::ShowCommandFor(style)) {
        call.Fail(kErrorInvalidParameter);
    }
    const std::wstring file = runtime::WithDefaultExtension(program);
    const sim::ProgramLookup found = sim::FindProgram(TheWorld(), file);
    return runtime::StartAskingForElevation(
        [&] {
            RefuseElevated(found);
            return Start(call, found, runtime::QuotedCommandLine(file, arguments), style);
        },
        [&] {
            // The shell's execute call: the same file, arguments and show command.
            const ProcessId id =
                Start(call, found, runtime::QuotedCommandLine(file, arguments), style);
            TheWorld().processes.Get(id).throughShell = true;
            return id;
        });
}

ProcessId StartCommandLine(const std::wstring& commandLine, WindowStyle style) {
    FacilityCall call(L"StartCommandLine", {commandLine, StyleNumber(style)});
    if (!runtime::ShowCommandFor(style)) {
        call.Fail(kErrorInvalidParameter);
    }
    return Start(call, sim::FindProgramOfCommandLine(TheWorld(), commandLine), commandLine, style);
}

int ShowMessageBox(const std::wstring& text, std::uint32_t buttonsAndIcon,
                   const std::optional<std::wstring>& title) {
    auto& world = TheWorld();
    const std::wstring shownTitle = title ? *title : std::wstring(kProgramTitle);
    FacilityCall call(L"ShowMessageBox", {text, buttonsAndIcon, shownTitle});
    std::optional<Failure> failure;
    const std::optional<int> answer = world.desktop.NextAnswer(failure);
    if (!answer) {
        call.Done(L"unexpected");
        throw sim::Unexpected("a message box that the test did not expect");
    }
    if (failure) {
        call.Raise(*failure);
    }
    call.Done(*answer);
    return *answer;
}

void HandlePendingMessages() {
    FacilityCall(L"HandlePendingMessages", {}).Done();
}

void EndProgram() {
    FacilityCall(L"EndProgram", {}).Done();
    throw sim::ProgramEnded{};
}

void ReportUnhandledFailure(const Failure& failure) {
    TheWorld().Record({L"ReportUnhandledFailure", {failure.number(), failure.description()}});
    throw sim::ProgramEnded{};
}

}  // namespace sys
