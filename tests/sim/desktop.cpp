#include "desktop.h"

#include <algorithm>

#include "system/constants.h"

namespace sim {

Window& Desktop::Add(Hwnd handle, ProcessId process, ThreadId thread, const std::wstring& title,
                     WindowKind kind, Hwnd parentOrOwner) {
    Window window;
    window.handle = handle;
    window.title = title;
    window.kind = kind;
    window.process = process;
    window.thread = thread;
    if (kind == WindowKind::Child) {
        window.parent = parentOrOwner;
    } else {
        window.owner = parentOrOwner;
    }
    zOrder_[window.parent].push_back(handle);
    return windows_[handle] = window;
}

Window* Desktop::Find(Hwnd handle) {
    const auto found = windows_.find(handle);
    return found == windows_.end() ? nullptr : &found->second;
}

Window* Desktop::FindAlive(Hwnd handle) {
    Window* window = Find(handle);
    return window != nullptr && window->alive ? window : nullptr;
}

std::vector<Hwnd> Desktop::Children(Hwnd parent) const {
    const auto found = zOrder_.find(parent);
    return found == zOrder_.end() ? std::vector<Hwnd>{} : found->second;
}

Hwnd Desktop::Next(Hwnd window) const {
    const auto found = windows_.find(window);
    if (found == windows_.end() || !found->second.alive) {
        return 0;
    }
    const std::vector<Hwnd> siblings = Children(found->second.parent);
    const auto at = std::find(siblings.begin(), siblings.end(), window);
    return at == siblings.end() || at + 1 == siblings.end() ? 0 : *(at + 1);
}

Hwnd Desktop::First(Hwnd parent) const {
    const std::vector<Hwnd> children = Children(parent);
    return children.empty() ? 0 : children.front();
}

Hwnd Desktop::Root(Hwnd window) const {
    Hwnd root = window;
    for (auto found = windows_.find(root); found != windows_.end() && found->second.parent != 0;
         found = windows_.find(root)) {
        root = found->second.parent;
    }
    return root;
}

void Desktop::Unlink(Hwnd window) {
    std::vector<Hwnd>& siblings = zOrder_[windows_.at(window).parent];
    siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
}

void Desktop::Place(Hwnd window, Hwnd insertAfter) {
    Window& placed = windows_.at(window);
    if (insertAfter == sys::kHwndTopMost) {
        placed.topmost = true;
    } else if (insertAfter == sys::kHwndNoTopMost) {
        placed.topmost = false;
    }
    Unlink(window);
    std::vector<Hwnd>& siblings = zOrder_[placed.parent];
    if (insertAfter == 1) {  // HWND_BOTTOM
        siblings.push_back(window);
        return;
    }
    // The top of its band: topmost windows lie above all others.
    auto at = siblings.begin();
    if (!placed.topmost) {
        while (at != siblings.end() && windows_.at(*at).topmost) {
            ++at;
        }
    }
    siblings.insert(at, window);
}

void Desktop::SetParent(Hwnd child, Hwnd parent) {
    Unlink(child);
    Window& window = windows_.at(child);
    window.parent = parent;
    window.topmost = false;
    zOrder_[parent].insert(zOrder_[parent].begin(), child);
}

void Desktop::Destroy(Hwnd window) {
    Window* destroyed = FindAlive(window);
    if (destroyed == nullptr) {
        return;
    }
    destroyed->alive = false;
    Unlink(window);
    for (const Hwnd child : Children(window)) {
        Destroy(child);
    }
    for (auto& [handle, other] : windows_) {
        if (other.alive && other.owner == window) {
            Destroy(handle);
        }
    }
}

ThreadId Desktop::QueueOf(ThreadId thread) const {
    const auto found = queueOf_.find(thread);
    return found == queueOf_.end() ? thread : found->second;
}

void Desktop::AttachInput(ThreadId thread, ThreadId other) {
    const ThreadId queue = QueueOf(thread);
    const ThreadId joined = QueueOf(other);
    if (queue == joined) {
        return;
    }
    // The shared queue takes the active window of the queue that joins it, when it has one.
    if (const Hwnd joinedActive = Active(joined); joinedActive != 0) {
        active_[queue] = joinedActive;
    }
    for (auto& [member, owner] : queueOf_) {
        if (owner == joined) {
            owner = queue;
        }
    }
    queueOf_[joined] = queue;
    active_.erase(joined);
}

Hwnd Desktop::Active(ThreadId thread) const {
    const auto found = active_.find(QueueOf(thread));
    if (found == active_.end()) {
        return 0;
    }
    const auto window = windows_.find(found->second);
    return window != windows_.end() && window->second.alive ? found->second : 0;
}

std::optional<int> Desktop::NextAnswer(std::optional<sys::Failure>& failure) {
    if (answers_.empty()) {
        return std::nullopt;
    }
    Answer answer = answers_.front();
    answers_.pop_front();
    failure = answer.failure;
    return answer.button;
}

}  // namespace sim
