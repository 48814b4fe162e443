#include <algorithm>
#include <memory>

#include "sim.h"

namespace sim {

namespace {

std::unique_ptr<World> theWorld;

bool IsLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

// Splits a full path into its root ("D:" or "\\SERVER\SHARE") and its components.
std::pair<std::wstring, std::vector<std::wstring>> Split(const std::wstring& fullPath) {
    std::wstring root;
    std::size_t position = 0;
    if (fullPath.rfind(L"\\\\", 0) == 0) {
        const std::size_t server = fullPath.find(L'\\', 2);
        const std::size_t share =
            server == std::wstring::npos ? std::wstring::npos : fullPath.find(L'\\', server + 1);
        root = fullPath.substr(0, share);
        position = share == std::wstring::npos ? fullPath.size() : share;
    } else {
        root = fullPath.substr(0, 2);
        position = 2;
    }
    std::vector<std::wstring> parts;
    while (position < fullPath.size()) {
        const std::size_t next = fullPath.find(L'\\', position + 1);
        const std::wstring part = fullPath.substr(
            position + 1, next == std::wstring::npos ? std::wstring::npos : next - position - 1);
        if (!part.empty()) {
            parts.push_back(part);
        }
        position = next == std::wstring::npos ? fullPath.size() : next;
    }
    return {root, parts};
}

std::wstring Join(const std::wstring& root, const std::vector<std::wstring>& parts) {
    std::wstring path = root;
    for (const auto& part : parts) {
        path += L'\\';
        path += part;
    }
    if (parts.empty()) {
        path += L'\\';
    }
    return path;
}

// Collapses repeated separators and resolves "." and "..", as the system's path handling does.
std::wstring Normalize(const std::wstring& fullPath) {
    std::wstring path = fullPath;
    std::replace(path.begin(), path.end(), L'/', L'\\');
    auto [root, parts] = Split(path);
    std::vector<std::wstring> kept;
    for (const auto& part : parts) {
        if (part == L".") {
            continue;
        }
        if (part == L"..") {
            if (!kept.empty()) {
                kept.pop_back();
            }
            continue;
        }
        kept.push_back(part);
    }
    return Join(root, kept);
}

std::wstring RootOf(const std::wstring& fullPath) {
    return UpperCase(Split(fullPath).first);
}

std::wstring ParentOf(const std::wstring& fullPath) {
    auto [root, parts] = Split(fullPath);
    if (!parts.empty()) {
        parts.pop_back();
    }
    return Join(root, parts);
}

}  // namespace

World& TheWorld() {
    if (!theWorld) {
        ResetWorld();
    }
    return *theWorld;
}

void ResetWorld() {
    theWorld = std::make_unique<World>();
}

std::wstring ThroughAnsi(const std::wstring& text) {
    std::wstring result = text;
    for (auto& c : result) {
        if (static_cast<std::uint32_t>(c) > 0xFF) {
            c = L'?';
        }
    }
    return result;
}

std::wstring UpperCase(const std::wstring& text) {
    std::wstring result = text;
    for (auto& c : result) {
        const auto code = static_cast<std::uint32_t>(c);
        if ((c >= L'a' && c <= L'z') || (code >= 0xE0 && code <= 0xFE && code != 0xF7)) {
            c = static_cast<wchar_t>(code - 0x20);
        }
    }
    return result;
}

std::wstring Quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

std::wstring Quoted(const std::optional<std::wstring>& text) {
    return text ? Quoted(*text) : L"null";
}

World::World() {
    AddDrive(L'C');
    currentDirectory_ = L"C:\\";
}

void World::AddDrive(wchar_t letter, bool readable) {
    const std::wstring root = UpperCase(std::wstring{letter, L':'});
    drives_[root] = Drive{readable, root + L"\\"};
}

void World::AddShare(const std::wstring& root, bool readable) {
    drives_[UpperCase(root)] = Drive{readable, root + L"\\"};
}

void World::AddFolder(const std::wstring& path) {
    const std::wstring full = FullPath(path);
    auto [root, parts] = Split(full);
    std::vector<std::wstring> prefix;
    for (const auto& part : parts) {
        prefix.push_back(part);
        const std::wstring key = UpperCase(Join(root, prefix));
        if (entries_.count(key) == 0) {
            entries_[key] = Entry{part, 0x10, true};
        }
    }
}

void World::AddFile(const std::wstring& path, std::uint32_t attributes) {
    const std::wstring full = FullPath(path);
    AddFolder(ParentOf(full));
    auto [root, parts] = Split(full);
    entries_[UpperCase(full)] = Entry{parts.empty() ? L"" : parts.back(), attributes, false};
}

void World::RemoveFile(const std::wstring& path) {
    entries_.erase(UpperCase(FullPath(path)));
}

void World::SetCurrentDirectory(const std::wstring& path) {
    const std::wstring full = FullPath(path);
    AddFolder(full);
    ChangeCurrentDirectory(full);
}

bool World::FileExists(const std::wstring& path) const {
    const Entry* entry = FindEntry(FullPath(path));
    return entry != nullptr && !entry->folder;
}

void World::StoreSetting(const std::wstring& application, const std::wstring& section,
                         const std::wstring& key, const std::wstring& value) {
    settings_[UpperCase(application + L"\\" + section + L"\\" + key)] = value;
}

void World::ForgetSetting(const std::wstring& application, const std::wstring& section,
                          const std::wstring& key) {
    settings_.erase(UpperCase(application + L"\\" + section + L"\\" + key));
}

std::optional<std::wstring> World::ReadStoredSetting(const std::wstring& application,
                                                     const std::wstring& section,
                                                     const std::wstring& key) const {
    const auto found = settings_.find(UpperCase(application + L"\\" + section + L"\\" + key));
    if (found == settings_.end()) {
        return std::nullopt;
    }
    return found->second;
}

std::wstring World::FullPath(const std::wstring& path) const {
    const std::wstring currentRoot = Split(currentDirectory_).first;
    if (path.rfind(L"\\\\", 0) == 0) {
        return Normalize(path);
    }
    if (path.size() >= 2 && path[1] == L':' && IsLetter(path[0])) {
        const std::wstring root = UpperCase(path.substr(0, 2));
        if (path.size() >= 3 && (path[2] == L'\\' || path[2] == L'/')) {
            return Normalize(path);
        }
        // "X:name": relative to the directory that drive X has as its current one.
        std::wstring base = root + L"\\";
        if (UpperCase(currentRoot) == root) {
            base = currentDirectory_;
        } else if (const auto drive = drives_.find(root); drive != drives_.end()) {
            base = drive->second.currentDirectory;
        }
        return Normalize(base + L"\\" + path.substr(2));
    }
    if (!path.empty() && (path[0] == L'\\' || path[0] == L'/')) {
        return Normalize(currentRoot + path);
    }
    return Normalize(currentDirectory_ + L"\\" + path);
}

std::uint32_t World::RootProblem(const std::wstring& fullPath) const {
    const std::wstring root = RootOf(fullPath);
    const auto drive = drives_.find(root);
    const bool share = root.rfind(L"\\\\", 0) == 0;
    if (drive == drives_.end()) {
        return share ? sys::kErrorBadNetPath : sys::kErrorInvalidDrive;
    }
    if (!drive->second.readable) {
        return share ? sys::kErrorBadNetPath : sys::kErrorNotReady;
    }
    return 0;
}

const Entry* World::FindEntry(const std::wstring& fullPath) const {
    const auto found = entries_.find(UpperCase(fullPath));
    return found == entries_.end() ? nullptr : &found->second;
}

std::vector<const Entry*> World::EntriesIn(const std::wstring& folderFullPath) const {
    std::vector<const Entry*> result;
    const std::wstring folder = UpperCase(Normalize(folderFullPath));
    for (const auto& [key, entry] : entries_) {
        if (UpperCase(ParentOf(key)) == folder && key != folder) {
            result.push_back(&entry);
        }
    }
    return result;
}

void World::ChangeCurrentDirectory(const std::wstring& fullPath) {
    const std::wstring oldRoot = RootOf(currentDirectory_);
    if (const auto drive = drives_.find(oldRoot); drive != drives_.end()) {
        drive->second.currentDirectory = currentDirectory_;
    }
    currentDirectory_ = fullPath;
}

void World::FailFacility(const std::wstring& name, const sys::Failure& failure,
                         const std::wstring& arguments) {
    failingFacilities_.push_back(Failing{name, arguments, failure});
}

std::optional<sys::Failure> World::FacilityFailure(const std::wstring& name,
                                                   const std::wstring& arguments) const {
    for (const Failing& failing : failingFacilities_) {
        if (failing.name == name && arguments.find(failing.arguments) != std::wstring::npos) {
            return failing.failure;
        }
    }
    return std::nullopt;
}

std::optional<int> World::NextAnswer(std::optional<sys::Failure>& failure) {
    if (answers_.empty()) {
        return std::nullopt;
    }
    Answer answer = answers_.front();
    answers_.pop_front();
    failure = answer.failure;
    return answer.button;
}

std::vector<std::wstring> World::CallNames() const {
    std::vector<std::wstring> names;
    for (const auto& call : calls) {
        names.push_back(call.substr(0, call.find(L'(')));
    }
    return names;
}

ProcessId World::AddProcess(const std::wstring& image) {
    const ProcessId id = nextId_++;
    Process process;
    process.id = id;
    process.mainThread = nextId_++;
    process.image = image;
    processes_[id] = process;
    return id;
}

Process& World::ProcessById(ProcessId id) {
    return processes_.at(id);
}

const Process* World::FindProcess(ProcessId id) const {
    const auto found = processes_.find(id);
    return found == processes_.end() ? nullptr : &found->second;
}

Hwnd World::AddWindow(ProcessId process, const std::wstring& title, CloseReaction onClose) {
    const Hwnd handle = nextId_++;
    Window window;
    window.handle = handle;
    window.title = title;
    window.process = process;
    window.thread = processes_.at(process).mainThread;
    window.onClose = onClose;
    windows_[handle] = window;
    zOrder_.push_back(handle);
    return handle;
}

Window& World::WindowByHandle(Hwnd handle) {
    return windows_.at(handle);
}

Window* World::FindWindowByHandle(Hwnd handle) {
    const auto found = windows_.find(handle);
    return found == windows_.end() ? nullptr : &found->second;
}

std::vector<Hwnd> World::TopLevelWindows() const {
    std::vector<Hwnd> result;
    for (const Hwnd handle : zOrder_) {
        const Window& window = windows_.at(handle);
        if (window.alive && window.parent == 0) {
            result.push_back(handle);
        }
    }
    return result;
}

Handle World::OpenHandle(ProcessId process, std::uint32_t access) {
    const Handle handle = 0x100 + 4 * static_cast<Handle>(nextId_++);
    handles_[handle] = HandleEntry{process, access};
    return handle;
}

const World::HandleEntry* World::FindHandle(Handle handle) const {
    const auto found = handles_.find(handle);
    return found == handles_.end() ? nullptr : &found->second;
}

bool World::CloseHandleEntry(Handle handle) {
    return handles_.erase(handle) != 0;
}

ItemIdList World::AllocateItemIdList(std::int32_t folder) {
    const ItemIdList list = 0x5000 + nextId_++;
    itemIdLists_[list] = folder;
    return list;
}

std::optional<std::int32_t> World::FolderOfList(ItemIdList list) const {
    const auto found = itemIdLists_.find(list);
    if (found == itemIdLists_.end()) {
        return std::nullopt;
    }
    return found->second;
}

bool World::FreeItemIdList(ItemIdList list) {
    return itemIdLists_.erase(list) != 0;
}

Module World::LoadLibrary() {
    const Module module = 0x70000000 + nextId_++;
    libraries_.insert(module);
    return module;
}

bool World::UnloadLibrary(Module module) {
    return libraries_.erase(module) != 0;
}

void World::Schedule(std::uint64_t at, Hwnd window, ProcessId process) {
    events_.push_back(Event{at, window, process});
}

void World::EndProcess(ProcessId id) {
    Process& process = processes_.at(id);
    process.running = false;
    for (auto& [handle, window] : windows_) {
        if (window.process == id) {
            window.alive = false;
        }
    }
}

bool World::RunUntilEnded(ProcessId id, std::optional<std::uint64_t> deadline) {
    for (;;) {
        const Process& process = processes_.at(id);
        if (!process.running) {
            return true;
        }
        // The next thing to happen: a scheduled event or the process's own end.
        std::optional<std::uint64_t> next;
        auto event = std::min_element(events_.begin(), events_.end(),
                                      [](const Event& a, const Event& b) { return a.at < b.at; });
        if (event != events_.end()) {
            next = event->at;
        }
        if (process.endsAt && (!next || *process.endsAt <= *next)) {
            next = *process.endsAt;
            event = events_.end();
        }
        if (!next || (deadline && *next > *deadline)) {
            if (deadline) {
                now = std::max(now, *deadline);
            }
            return false;
        }
        now = std::max(now, *next);
        if (event == events_.end()) {
            EndProcess(id);
            continue;
        }
        const Event happened = *event;
        events_.erase(event);
        if (happened.window != 0) {
            windows_.at(happened.window).alive = false;
        }
        if (happened.process != 0) {
            EndProcess(happened.process);
        }
    }
}

ProcessId World::StartProcess(const std::wstring& image, const std::wstring& commandLine,
                              sys::WindowStyle style) {
    const ProcessId id = AddProcess(image);
    Process& process = processes_.at(id);
    process.commandLine = commandLine;
    process.currentDirectory = currentDirectory_;
    process.style = style;
    started.push_back(id);
    return id;
}

}  // namespace sim
