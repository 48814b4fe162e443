// The simulated binding of the seam's system calls.

#include <string>

#include "sim.h"

namespace sys {

using sim::Quoted;
using sim::TheWorld;

namespace {

std::wstring Number(std::int64_t value) {
    return std::to_wstring(value);
}

}  // namespace

// ---- user32

Hwnd FindWindowA(const std::optional<std::wstring>& className,
                 const std::optional<std::wstring>& windowName) {
    auto& world = TheWorld();
    // The call compares whole class names and titles without regard to case, after the trip of
    // the caller's text through the ANSI code page.
    const auto wantedClass =
        className ? std::optional(sim::UpperCase(sim::ThroughAnsi(*className))) : std::nullopt;
    const auto wantedTitle =
        windowName ? std::optional(sim::UpperCase(sim::ThroughAnsi(*windowName))) : std::nullopt;
    Hwnd found = 0;
    for (const Hwnd handle : world.TopLevelWindows()) {
        const sim::Window& window = world.WindowByHandle(handle);
        if ((!wantedClass || sim::UpperCase(window.className) == *wantedClass) &&
            (!wantedTitle || sim::UpperCase(window.title) == *wantedTitle)) {
            found = handle;
            break;
        }
    }
    world.Log(L"FindWindowA(" + Quoted(className) + L", " + Quoted(windowName) + L") -> " +
              Number(found));
    return found;
}

ThreadId GetWindowThreadProcessId(Hwnd window, ProcessId* processId) {
    auto& world = TheWorld();
    ThreadId thread = 0;
    std::wstring written = L"-";
    if (const sim::Window* found = world.FindWindowByHandle(window);
        found != nullptr && found->alive) {
        thread = found->thread;
        if (processId != nullptr) {
            *processId = found->process;
        }
        written = Number(found->process);
    }
    world.Log(L"GetWindowThreadProcessId(" + Number(window) + L") -> " + Number(thread) +
              L", process " + written);
    return thread;
}

Bool PostMessageA(Hwnd window, std::uint32_t message, std::uint32_t wParam, std::int32_t lParam) {
    auto& world = TheWorld();
    Bool posted = 0;
    if (sim::Window* target = world.FindWindowByHandle(window);
        target != nullptr && target->alive) {
        posted = 1;
        target->posted.push_back(message);
        if (message == kWmClose && target->onClose.closes) {
            const sim::CloseReaction& reaction = target->onClose;
            world.Schedule(world.now + reaction.windowClosesAfter, window, 0);
            if (reaction.processEndsAfter) {
                world.Schedule(world.now + *reaction.processEndsAfter, 0, target->process);
            }
        }
    }
    world.Log(L"PostMessageA(" + Number(window) + L", " + Number(message) + L", " + Number(wParam) +
              L", " + Number(lParam) + L") -> " + Number(posted));
    return posted;
}

// ---- kernel32

Handle OpenProcess(std::uint32_t desiredAccess, Bool inheritHandle, ProcessId processId) {
    auto& world = TheWorld();
    Handle handle = 0;
    const sim::Process* process = world.FindProcess(processId);
    if (process != nullptr && process->openable && process->running) {
        handle = world.OpenHandle(processId, desiredAccess);
    }
    world.Log(L"OpenProcess(" + Number(desiredAccess) + L", " + Number(inheritHandle) + L", " +
              Number(processId) + L") -> " + Number(handle));
    return handle;
}

std::uint32_t WaitForSingleObject(Handle object, std::uint32_t milliseconds) {
    auto& world = TheWorld();
    const std::wstring call =
        L"WaitForSingleObject(" + Number(object) + L", " + Number(milliseconds) + L")";
    const auto* entry = world.FindHandle(object);
    std::uint32_t result = kWaitFailed;
    if (entry != nullptr && (entry->access & kSynchronize) != 0) {
        const std::optional<std::uint64_t> deadline =
            milliseconds == kInfinite ? std::nullopt
                                      : std::optional<std::uint64_t>(world.now + milliseconds);
        if (world.RunUntilEnded(entry->process, deadline)) {
            result = kWaitObject0;
        } else if (deadline) {
            result = kWaitTimeout;
        } else {
            world.Log(call + L" -> never returns");
            throw sim::Hang("the waited-for process never ends");
        }
    }
    world.Log(call + L" -> " + Number(result) + L" at " +
              Number(static_cast<std::int64_t>(world.now)));
    return result;
}

Bool CloseHandle(Handle object) {
    auto& world = TheWorld();
    const Bool closed = world.CloseHandleEntry(object) ? 1 : 0;
    if (!closed) {
        world.errors.push_back(L"CloseHandle on a handle that is not open: " + Number(object));
    }
    world.Log(L"CloseHandle(" + Number(object) + L") -> " + Number(closed));
    return closed;
}

Module LoadLibraryA(const std::wstring& fileName) {
    auto& world = TheWorld();
    const std::wstring name = sim::UpperCase(fileName);
    Module module = 0;
    if (world.shfolderPresent && (name == L"SHFOLDER" || name == L"SHFOLDER.DLL")) {
        module = world.LoadLibrary();
    }
    world.Log(L"LoadLibraryA(" + Quoted(fileName) + L") -> " + Number(module));
    return module;
}

Bool FreeLibrary(Module library) {
    auto& world = TheWorld();
    const Bool freed = world.UnloadLibrary(library) ? 1 : 0;
    if (!freed) {
        world.errors.push_back(L"FreeLibrary on a module that is not loaded: " + Number(library));
    }
    world.Log(L"FreeLibrary(" + Number(library) + L") -> " + Number(freed));
    return freed;
}

// ---- shell32, ole32, shfolder

namespace {

constexpr HResult kEFail = static_cast<HResult>(0x80004005);
constexpr HResult kEInvalidArg = static_cast<HResult>(0x80070057);
constexpr std::int32_t kFolderNumberMask = 0x00FF;

// Looks a folder number up as the shell does: unknown numbers are invalid; a folder that does not
// exist yet is created only with the create flag.
const sim::ShellFolder* Known(std::map<std::int32_t, sim::ShellFolder>& folders,
                              std::int32_t folder, HResult& result) {
    const auto found = folders.find(folder & kFolderNumberMask);
    if (found == folders.end()) {
        result = kEInvalidArg;
        return nullptr;
    }
    if (!found->second.exists) {
        if ((folder & kCsidlFlagCreate) == 0) {
            result = kEFail;
            return nullptr;
        }
        found->second.exists = true;
    }
    result = kSOk;
    return &found->second;
}

// Writes a path into a caller's MAX_PATH buffer the way the system does: the text in ANSI, a NUL,
// and the rest of the buffer as it was.
void WritePath(std::wstring& buffer, const std::wstring& path) {
    const std::wstring text = sim::ThroughAnsi(path) + L'\0';
    if (buffer.size() < text.size()) {
        buffer.resize(text.size(), L' ');
    }
    buffer.replace(0, text.size(), text);
}

}  // namespace

HResult SHGetSpecialFolderLocation(Hwnd owner, std::int32_t folder, ItemIdList* list) {
    auto& world = TheWorld();
    HResult result = kSOk;
    const sim::ShellFolder* known = Known(world.shellFolders, folder, result);
    *list = known != nullptr ? world.AllocateItemIdList(folder) : 0;
    world.Log(L"SHGetSpecialFolderLocation(" + Number(owner) + L", " + Number(folder) + L") -> " +
              Number(result) + L", list " + Number(*list));
    return result;
}

Bool SHGetPathFromIDListA(ItemIdList list, std::wstring& path) {
    auto& world = TheWorld();
    Bool converted = 0;
    const std::optional<std::int32_t> number = world.FolderOfList(list);
    const auto found =
        number ? world.shellFolders.find(*number & kFolderNumberMask) : world.shellFolders.end();
    const sim::ShellFolder* folder = found == world.shellFolders.end() ? nullptr : &found->second;
    if (list == 0 || folder == nullptr) {
        world.errors.push_back(L"SHGetPathFromIDListA without a list from the shell");
    } else if (folder->path) {
        WritePath(path, *folder->path);
        converted = 1;
    } else if (!path.empty()) {
        path[0] = L'\0';
    }
    world.Log(L"SHGetPathFromIDListA(" + Number(list) + L") -> " + Number(converted));
    return converted;
}

void CoTaskMemFree(ItemIdList list) {
    auto& world = TheWorld();
    if (list != 0 && !world.FreeItemIdList(list)) {
        world.errors.push_back(L"CoTaskMemFree on memory that is not allocated: " + Number(list));
    }
    world.Log(L"CoTaskMemFree(" + Number(list) + L")");
}

HResult SHGetFolderPathA(Module shfolder, Hwnd owner, std::int32_t folder, Handle token,
                         std::uint32_t flags, std::wstring& path) {
    auto& world = TheWorld();
    HResult result = kEFail;
    if (!world.IsLoaded(shfolder)) {
        world.errors.push_back(L"SHGetFolderPathA of a library that is not loaded");
    } else {
        const sim::ShellFolder* known = Known(world.shfolderFolders, folder, result);
        if (known != nullptr && known->path) {
            WritePath(path, *known->path);
        } else if (known != nullptr) {
            result = kEFail;
        }
    }
    world.Log(L"SHGetFolderPathA(" + Number(shfolder) + L", " + Number(owner) + L", " +
              Number(folder) + L", " + Number(token) + L", " + Number(flags) + L") -> " +
              Number(result));
    return result;
}

}  // namespace sys
