// The simulated binding of the seam's kernel32 calls.

#include "program_files.h"
#include "system/system.h"
#include "text.h"
#include "world.h"

namespace sys {

using sim::null;
using sim::TheWorld;
using sim::Value;

namespace {

constexpr std::uint32_t kProcessAllAccess = 0x001F0FFF;
constexpr std::uint32_t kThreadAllAccess = 0x001F03FF;

Value Text(const std::optional<std::wstring>& text) {
    return text ? Value(*text) : Value(null);
}

// A handle that the program closed before is misused, not merely invalid.
void ReportIfClosed(sim::World& world, Handle handle, const wchar_t* call) {
    if (world.processes.WasClosed(handle)) {
        world.errors.push_back(std::wstring(call) + L" on a handle closed before: " +
                               std::to_wstring(handle));
    }
}

}  // namespace

Handle OpenProcess(std::uint32_t desiredAccess, Bool inheritHandle, ProcessId processId) {
    auto& world = TheWorld();
    Handle handle = 0;
    const sim::Process* process = world.processes.Find(processId);
    if (process != nullptr && process->openable && process->running) {
        handle = world.processes.Open({sim::HandleObject::Kind::Process, processId, desiredAccess});
    }
    world.Record({L"OpenProcess", {desiredAccess, inheritHandle, processId}, handle});
    return handle;
}

std::uint32_t WaitForSingleObject(Handle object, std::uint32_t milliseconds) {
    auto& world = TheWorld();
    ReportIfClosed(world, object, L"WaitForSingleObject");
    std::uint32_t result = kWaitFailed;
    if (const sim::HandleObject* entry = world.processes.FindHandle(object);
        entry != nullptr && (entry->access & kSynchronize) != 0) {
        const sim::HandleObject waited = *entry;
        const std::optional<std::uint64_t> deadline =
            milliseconds == kInfinite ? std::nullopt
                                      : std::optional(world.clock.Now() + milliseconds);
        if (world.clock.RunUntil([&] { return world.Signalled(waited); }, deadline)) {
            result = kWaitObject0;
        } else if (deadline) {
            result = kWaitTimeout;
        } else {
            world.Record({L"WaitForSingleObject", {object, milliseconds}, L"never returns"});
            throw sim::Hang("the waited-for process never ends");
        }
    }
    world.Record({L"WaitForSingleObject", {object, milliseconds}, result});
    return result;
}

Bool CloseHandle(Handle object) {
    auto& world = TheWorld();
    const Bool closed = world.processes.Close(object) ? 1 : 0;
    if (!closed) {
        world.errors.push_back(L"CloseHandle on a handle that is not open: " +
                               std::to_wstring(object));
    }
    world.Record({L"CloseHandle", {object}, closed});
    return closed;
}

Bool CreateProcessA(const std::optional<std::wstring>& applicationName,
                    const std::wstring& commandLine, Bool inheritHandles,
                    std::uint32_t creationFlags,
                    const std::optional<std::wstring>& currentDirectory,
                    const StartupInfo& startupInfo, ProcessInformation& processInformation) {
    auto& world = TheWorld();
    const std::vector<Value> arguments = {Text(applicationName),  commandLine,
                                          inheritHandles,         creationFlags,
                                          Text(currentDirectory), startupInfo.cb};
    // The A call hands the program its command line in the ANSI code page.
    const std::wstring line = sim::ThroughAnsi(commandLine);
    const std::optional<std::wstring> image =
        (applicationName ? sim::FindProgram(world, *applicationName)
                         : sim::FindProgramOfCommandLine(world, line))
            .image;
    if (!image || sizeof startupInfo != startupInfo.cb) {
        world.Record({L"CreateProcessA", arguments, 0});
        return 0;
    }
    const ProcessId id = world.StartProcess(*image, line);
    sim::Process& process = world.processes.Get(id);
    process.startupInfo = startupInfo;
    process.inheritedHandles = inheritHandles;
    process.creationFlags = creationFlags;
    if (currentDirectory) {
        process.currentDirectory = world.files.FullPath(*currentDirectory);
    }
    processInformation.hProcess =
        world.processes.Open({sim::HandleObject::Kind::Process, id, kProcessAllAccess});
    processInformation.hThread =
        world.processes.Open({sim::HandleObject::Kind::Thread, id, kThreadAllAccess});
    processInformation.dwProcessId = id;
    processInformation.dwThreadId = process.mainThread;
    world.Record(
        {L"CreateProcessA",
         arguments,
         1,
         {processInformation.hProcess, processInformation.hThread, id, process.mainThread}});
    return 1;
}

Bool TerminateProcess(Handle process, std::uint32_t exitCode) {
    auto& world = TheWorld();
    ReportIfClosed(world, process, L"TerminateProcess");
    // A process that has ended already is refused, as Windows documents it (Wine accepts it; the
    // program never tests the result).
    Bool terminated = 0;
    if (const sim::HandleObject* entry = world.processes.FindHandle(process);
        entry != nullptr && entry->kind == sim::HandleObject::Kind::Process &&
        (entry->access & kProcessTerminate) != 0 && world.processes.Get(entry->process).running) {
        world.EndProcess(entry->process, exitCode);
        terminated = 1;
    }
    world.Record({L"TerminateProcess", {process, exitCode}, terminated});
    return terminated;
}

Module LoadLibraryA(const std::wstring& fileName) {
    auto& world = TheWorld();
    const std::wstring name = sim::UpperCase(fileName);
    Module module = 0;
    if (world.shell.shfolderPresent && (name == L"SHFOLDER" || name == L"SHFOLDER.DLL")) {
        module = world.shell.Load();
    }
    world.Record({L"LoadLibraryA", {fileName}, module});
    return module;
}

Bool FreeLibrary(Module library) {
    auto& world = TheWorld();
    const Bool freed = world.shell.Unload(library) ? 1 : 0;
    if (!freed) {
        world.errors.push_back(L"FreeLibrary on a module that is not loaded: " +
                               std::to_wstring(library));
    }
    world.Record({L"FreeLibrary", {library}, freed});
    return freed;
}

void OutputDebugStringW(const std::wstring& text) {
    TheWorld().Record({L"OutputDebugStringW", {text}});
}

}  // namespace sys
