#pragma once

// The simulated system as a whole: its parts, what they do together (a process that ends takes
// its windows with it; a started program opens its windows and ends when its behaviour says),
// the record of every call, the misuse the program made of the system, and the failures a test
// asks a runtime facility to raise.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "clock.h"
#include "desktop.h"
#include "files.h"
#include "processes.h"
#include "record.h"
#include "settings_shell.h"
#include "system/failure.h"

namespace sim {

// Raised by EndProgram and ReportUnhandledFailure: the program is over.
struct ProgramEnded {};

// Raised by a wait that the simulated system can see will never return.
struct Hang : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Raised when the logic does something the test did not prepare for (an unexpected message box).
struct Unexpected : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A window that a started program opens some time after its start.
struct PlannedWindow {
    std::wstring title;
    std::uint64_t after = 0;  // virtual milliseconds after the start
    WindowKind kind = WindowKind::Overlapped;
    bool visible = true;
    CloseReaction onClose = CloseReaction::AtOnce();
    bool destroyedBySentQuit = false;
};

// What a program does once it has been started.
struct Program {
    std::optional<std::uint64_t> runsFor;  // nothing: until it is ended
    std::uint32_t exitCode = 0;
    std::vector<PlannedWindow> windows;
    // Its manifest asks for administrator rights: process creation refuses it (740), and only
    // the shell's execute call, with the user's consent, starts it.
    bool needsElevation = false;
};

// Which calls of a runtime facility fail: all, or those whose arguments this accepts.
using ArgumentTest = std::function<bool(const std::vector<Value>&)>;

class World {
  public:
    World();

    // ---- the program itself: its executable, and its own process and UI thread
    std::wstring programPath = L"D:\\Setup\\Setup.exe";
    ProcessId self = 0;
    ThreadId selfThread = 0;

    // ---- the parts
    Clock clock;
    Processes processes;
    Desktop desktop;
    Files files;
    Settings settings;
    Shell shell;

    // ---- observation
    CallLog log;
    std::vector<std::wstring> errors;  // misuse of the system
    std::vector<ProcessId> started;    // processes started by the program, in order

    // ---- set-up
    ProcessId AddProcess(const std::wstring& image);
    Hwnd AddWindow(ProcessId process, const std::wstring& title,
                   CloseReaction onClose = CloseReaction::AtOnce(),
                   WindowKind kind = WindowKind::Overlapped, Hwnd parentOrOwner = 0);
    // What the program at this full path does when it is started.
    void DefineProgram(const std::wstring& image, Program program);
    void FailFacility(const std::wstring& name, const sys::Failure& failure,
                      ArgumentTest when = nullptr);
    // Every call of the named runtime facility runs out of memory inside.
    void FailAllocation(const std::wstring& name) { allocationFailures_.push_back(name); }

    // ---- the system's side
    std::uint32_t NewId();
    Hwnd NewWindowHandle();
    void Record(Call call);
    std::optional<sys::Failure> FacilityFailure(const std::wstring& name,
                                                const std::vector<Value>& arguments) const;
    bool AllocationFails(const std::wstring& name) const;
    const Program* ProgramAt(const std::wstring& image) const;
    // Starts a process of the image, which must exist, as its program's behaviour says.
    ProcessId StartProcess(const std::wstring& image, const std::wstring& commandLine);
    // The process ends with this exit code; its windows go with it.
    void EndProcess(ProcessId process, std::uint32_t exitCode);
    bool Signalled(const HandleObject& object) const;

  private:
    struct Failing {
        std::wstring name;
        ArgumentTest when;
        sys::Failure failure;
    };
    std::vector<Failing> failingFacilities_;
    std::vector<std::wstring> allocationFailures_;
    std::map<std::wstring, Program> programs_;  // by full path, upper case
    std::uint32_t nextId_ = 4000;
    Hwnd nextWindow_ = 0x10024;
};

// The world the seam's simulated binding works on; fresh for every test.
World& TheWorld();
void ResetWorld();

// The text of a value that holds one, else "".
std::wstring TextOf(const Value& value);

}  // namespace sim
