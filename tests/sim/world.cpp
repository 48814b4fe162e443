#include "world.h"

#include <memory>

#include "text.h"

namespace sim {

namespace {

std::unique_ptr<World> theWorld;

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

std::wstring TextOf(const Value& value) {
    const std::wstring* text = value.Text();
    return text != nullptr ? *text : std::wstring();
}

World::World() {
    self = NewId();
    selfThread = NewId();
    processes.Add(self, selfThread, programPath);
}

std::uint32_t World::NewId() {
    const std::uint32_t id = nextId_;
    nextId_ += 4;
    return id;
}

Hwnd World::NewWindowHandle() {
    const Hwnd handle = nextWindow_;
    nextWindow_ += 4;
    return handle;
}

void World::Record(Call call) {
    call.at = clock.Now();
    log.Add(std::move(call));
}

ProcessId World::AddProcess(const std::wstring& image) {
    const ProcessId id = NewId();
    processes.Add(id, NewId(), image);
    return id;
}

Hwnd World::AddWindow(ProcessId process, const std::wstring& title, CloseReaction onClose,
                      WindowKind kind, Hwnd parentOrOwner) {
    const Hwnd handle = NewWindowHandle();
    Window& window =
        desktop.Add(handle, process, processes.Get(process).mainThread, title, kind, parentOrOwner);
    window.onClose = onClose;
    return handle;
}

void World::DefineProgram(const std::wstring& image, Program program) {
    programs_[UpperCase(files.FullPath(image))] = std::move(program);
}

void World::FailFacility(const std::wstring& name, const sys::Failure& failure, ArgumentTest when) {
    failingFacilities_.push_back(Failing{name, std::move(when), failure});
}

std::optional<sys::Failure> World::FacilityFailure(const std::wstring& name,
                                                   const std::vector<Value>& arguments) const {
    for (const Failing& failing : failingFacilities_) {
        if (failing.name == name && (!failing.when || failing.when(arguments))) {
            return failing.failure;
        }
    }
    return std::nullopt;
}

bool World::AllocationFails(const std::wstring& name) const {
    return std::find(allocationFailures_.begin(), allocationFailures_.end(), name) !=
           allocationFailures_.end();
}

const Program* World::ProgramAt(const std::wstring& image) const {
    const auto found = programs_.find(UpperCase(image));
    return found == programs_.end() ? nullptr : &found->second;
}

ProcessId World::StartProcess(const std::wstring& image, const std::wstring& commandLine) {
    const ProcessId id = AddProcess(image);
    Process& process = processes.Get(id);
    process.commandLine = commandLine;
    process.currentDirectory = files.CurrentDirectory();
    started.push_back(id);

    const auto defined = programs_.find(UpperCase(image));
    if (defined == programs_.end()) {
        return id;
    }
    const Program& program = defined->second;
    for (const PlannedWindow& planned : program.windows) {
        clock.After(planned.after, [this, id, planned] {
            const Process* owner = processes.Find(id);
            if (owner == nullptr || !owner->running) {
                return;
            }
            const Hwnd handle = AddWindow(id, planned.title, planned.onClose, planned.kind);
            Window& window = desktop.Get(handle);
            window.visible = planned.visible;
            window.destroyedBySentQuit = planned.destroyedBySentQuit;
            // A program's new window comes up in front of the others, active in its thread.
            desktop.Place(handle, 0);
            if (planned.visible) {
                desktop.SetActive(window.thread, handle);
            }
        });
    }
    if (program.runsFor) {
        const std::uint32_t exitCode = program.exitCode;
        clock.After(*program.runsFor, [this, id, exitCode] { EndProcess(id, exitCode); });
    }
    return id;
}

void World::EndProcess(ProcessId id, std::uint32_t exitCode) {
    processes.End(id, exitCode);
    // Its windows go, top-level ones and those another program adopted as its children.
    std::vector<Hwnd> pending = desktop.Children(0);
    while (!pending.empty()) {
        const Hwnd handle = pending.back();
        pending.pop_back();
        if (Window* window = desktop.FindAlive(handle)) {
            if (window->process == id) {
                desktop.Destroy(handle);
                continue;
            }
            for (const Hwnd child : desktop.Children(handle)) {
                pending.push_back(child);
            }
        }
    }
}

bool World::Signalled(const HandleObject& object) const {
    // A process and its main thread are signalled when the process has ended.
    return !processes.Get(object.process).running;
}

}  // namespace sim
