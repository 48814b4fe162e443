#include "processes.h"

namespace sim {

Process& Processes::Add(ProcessId id, ThreadId mainThread, const std::wstring& image) {
    Process process;
    process.id = id;
    process.mainThread = mainThread;
    process.image = image;
    return processes_[id] = process;
}

Process* Processes::Find(ProcessId id) {
    const auto found = processes_.find(id);
    return found == processes_.end() ? nullptr : &found->second;
}

Handle Processes::Open(const HandleObject& object) {
    const Handle handle = nextHandle_;
    nextHandle_ += 4;
    handles_[handle] = object;
    closed_.erase(handle);
    return handle;
}

const HandleObject* Processes::FindHandle(Handle handle) const {
    const auto found = handles_.find(handle);
    return found == handles_.end() ? nullptr : &found->second;
}

bool Processes::Close(Handle handle) {
    if (handles_.erase(handle) == 0) {
        return false;
    }
    closed_.insert(handle);
    return true;
}

void Processes::End(ProcessId id, std::uint32_t exitCode) {
    Process& process = processes_.at(id);
    if (process.running) {
        process.running = false;
        process.exitCode = exitCode;
    }
}

}  // namespace sim
