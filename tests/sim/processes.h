#pragma once

// Processes, their main threads, and the handles the program holds to them.

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "system/types.h"

namespace sim {

using sys::Handle;
using sys::ProcessId;
using sys::ThreadId;

inline constexpr std::uint32_t kStillActive = 259;

struct Process {
    ProcessId id = 0;
    ThreadId mainThread = 0;
    std::wstring image;        // full path of the started file
    std::wstring commandLine;  // as the program sees it
    std::wstring currentDirectory;
    // How it was started: by the start-program facility (a window style), or by CreateProcessA.
    std::optional<sys::WindowStyle> style;
    bool throughShell = false;  // started by the shell's execute call (elevated)
    std::optional<sys::StartupInfo> startupInfo;
    sys::Bool inheritedHandles = 0;
    std::uint32_t creationFlags = 0;
    bool running = true;
    std::uint32_t exitCode = kStillActive;
    bool openable = true;  // false: OpenProcess is refused (another user's process)
};

// What a handle stands for.
struct HandleObject {
    enum class Kind { Process, Thread };
    Kind kind = Kind::Process;
    ProcessId process = 0;  // the process, or the process whose main thread it is
    std::uint32_t access = 0;
};

class Processes {
  public:
    // ---- set-up and inspection
    Process& Add(ProcessId id, ThreadId mainThread, const std::wstring& image);
    Process& Get(ProcessId id) { return processes_.at(id); }
    const Process& Get(ProcessId id) const { return processes_.at(id); }
    Process* Find(ProcessId id);
    std::size_t OpenHandles() const { return handles_.size(); }

    // ---- the system's side
    Handle Open(const HandleObject& object);
    const HandleObject* FindHandle(Handle handle) const;
    bool Close(Handle handle);
    bool WasClosed(Handle handle) const { return closed_.count(handle) != 0; }
    void End(ProcessId id, std::uint32_t exitCode);

  private:
    std::map<ProcessId, Process> processes_;
    std::map<Handle, HandleObject> handles_;
    std::set<Handle> closed_;
    Handle nextHandle_ = 0x1A4;  // handle values are multiples of 4, apart from every id
};

}  // namespace sim
