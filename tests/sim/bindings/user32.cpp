// The simulated binding of the seam's user32 calls.

#include <algorithm>

#include "system/system.h"
#include "text.h"
#include "world.h"

namespace sys {

using sim::null;
using sim::TheWorld;
using sim::Value;

namespace {

Value Text(const std::optional<std::wstring>& text) {
    return text ? Value(*text) : Value(null);
}

constexpr std::uint32_t kGwHwndLast = 1;
constexpr std::uint32_t kGwHwndPrev = 3;
constexpr std::uint32_t kGwOwner = 4;
constexpr std::uint32_t kGwChild = 5;
constexpr std::uint32_t kSwpNoZOrder = 0x0004;

// Writes a text into a caller's buffer the way an A call does: at most capacity - 1 characters
// through the ANSI code page, a NUL, and the rest of the buffer as it was. Gives the count.
std::int32_t WriteText(std::wstring& buffer, const std::wstring& text, std::int32_t capacity) {
    const std::wstring copied =
        sim::ThroughAnsi(text).substr(0, static_cast<std::size_t>(capacity - 1));
    if (buffer.size() < copied.size() + 1) {
        buffer.resize(copied.size() + 1, L' ');
    }
    buffer.replace(0, copied.size() + 1, copied + L'\0');
    return static_cast<std::int32_t>(copied.size());
}

// SetParent as the system makes it; the previous parent, the desktop window for a top-level one.
Hwnd Reparent(sim::World& world, Hwnd child, Hwnd newParent) {
    sim::Window* window = world.desktop.FindAlive(child);
    const Hwnd parent = newParent == sim::Desktop::kDesktopWindow ? 0 : newParent;
    if (window == nullptr || (parent != 0 && world.desktop.FindAlive(parent) == nullptr)) {
        return 0;
    }
    // A window cannot become a child of itself or of one of its own descendants.
    for (Hwnd ancestor = parent; ancestor != 0; ancestor = world.desktop.Get(ancestor).parent) {
        if (ancestor == child) {
            return 0;
        }
    }
    const Hwnd previous = window->parent == 0 ? sim::Desktop::kDesktopWindow : window->parent;
    world.desktop.SetParent(child, parent);
    if (parent != 0) {
        world.desktop.AttachInput(world.desktop.Get(parent).thread, window->thread);
    }
    return previous;
}

}  // namespace

Hwnd FindWindowA(const std::optional<std::wstring>& className,
                 const std::optional<std::wstring>& windowName) {
    auto& world = TheWorld();
    // The call compares whole class names and titles without regard to case, after the trip of
    // the caller's text through the ANSI code page. Hidden windows count.
    const auto wanted = [](const std::optional<std::wstring>& text) {
        return text ? std::optional(sim::UpperCase(sim::ThroughAnsi(*text))) : std::nullopt;
    };
    const auto wantedClass = wanted(className);
    const auto wantedTitle = wanted(windowName);
    Hwnd found = 0;
    for (const Hwnd handle : world.desktop.Children(0)) {
        const sim::Window& window = world.desktop.Get(handle);
        if ((!wantedClass || sim::UpperCase(window.className) == *wantedClass) &&
            (!wantedTitle || sim::UpperCase(window.title) == *wantedTitle)) {
            found = handle;
            break;
        }
    }
    world.Record({L"FindWindowA", {Text(className), Text(windowName)}, found});
    return found;
}

Hwnd GetActiveWindow() {
    auto& world = TheWorld();
    const Hwnd active = world.desktop.Active(world.selfThread);
    world.Record({L"GetActiveWindow", {}, active});
    return active;
}

Hwnd GetNextQueueWindow(Hwnd window, std::int32_t mode) {
    auto& world = TheWorld();
    Hwnd next = 0;
    if (world.desktop.queueSequence) {
        next = world.desktop.queueSequence(window);
    } else if (const sim::Window* current = world.desktop.FindAlive(window)) {
        // The stand-in of the Windows binding: the sibling below, wrapping to the first.
        next = world.desktop.Next(window);
        if (next == 0) {
            next = world.desktop.First(current->parent);
        }
    }
    world.Record({L"GetNextQueueWindow", {window, mode}, next});
    return next;
}

Hwnd GetWindow(Hwnd window, std::uint32_t command) {
    auto& world = TheWorld();
    Hwnd found = 0;
    if (const sim::Window* current = world.desktop.FindAlive(window)) {
        const std::vector<Hwnd> siblings = world.desktop.Children(current->parent);
        const auto at = std::find(siblings.begin(), siblings.end(), window);
        switch (command) {
            case kGwHwndFirst:
                found = siblings.front();
                break;
            case kGwHwndLast:
                found = siblings.back();
                break;
            case kGwHwndNext:
                found = world.desktop.Next(window);
                break;
            case kGwHwndPrev:
                found = at == siblings.begin() ? 0 : *(at - 1);
                break;
            case kGwOwner:
                found = current->owner;
                break;
            case kGwChild:
                found = world.desktop.First(window);
                break;
            default:
                break;
        }
    }
    world.Record({L"GetWindow", {window, command}, found});
    return found;
}

Hwnd GetParent(Hwnd window) {
    auto& world = TheWorld();
    Hwnd parent = 0;
    if (const sim::Window* current = world.desktop.FindAlive(window)) {
        if (current->kind == sim::WindowKind::Popup) {
            parent = current->owner;
        } else if (current->kind == sim::WindowKind::Child) {
            parent = current->parent;
        }
    }
    world.Record({L"GetParent", {window}, parent});
    return parent;
}

ThreadId GetWindowThreadProcessId(Hwnd window, ProcessId* processId) {
    auto& world = TheWorld();
    ThreadId thread = 0;
    std::vector<Value> written;
    // A rejected handle leaves the caller's variable as it was.
    if (const sim::Window* found = world.desktop.FindAlive(window)) {
        thread = found->thread;
        if (processId != nullptr) {
            *processId = found->process;
            written.push_back(found->process);
        }
    }
    world.Record({L"GetWindowThreadProcessId", {window}, thread, written});
    return thread;
}

std::int32_t GetWindowTextA(Hwnd window, std::wstring& buffer, std::int32_t capacity) {
    auto& world = TheWorld();
    std::int32_t copied = 0;
    if (capacity > 0) {
        const sim::Window* found = world.desktop.FindAlive(window);
        copied = WriteText(buffer, found != nullptr ? found->title : L"", capacity);
    }
    world.Record({L"GetWindowTextA",
                  {window, capacity},
                  copied,
                  {buffer.substr(0, static_cast<std::size_t>(copied))}});
    return copied;
}

Bool PostMessageA(Hwnd window, std::uint32_t message, std::uint32_t wParam, std::int32_t lParam) {
    auto& world = TheWorld();
    Bool posted = 0;
    if (sim::Window* target = world.desktop.FindAlive(window)) {
        posted = 1;
        target->posted.push_back(message);
        const ProcessId process = target->process;
        if (message == kWmClose && target->onClose.closes) {
            const sim::CloseReaction& reaction = target->onClose;
            world.clock.After(reaction.windowClosesAfter,
                              [&world, window] { world.desktop.Destroy(window); });
            if (reaction.processEndsAfter) {
                world.clock.After(*reaction.processEndsAfter,
                                  [&world, process] { world.EndProcess(process, 0); });
            }
        } else if (message == kWmQuit) {
            // The quit ends the message loop of the window's thread, and so its program.
            world.clock.After(0, [&world, process, wParam] { world.EndProcess(process, wParam); });
        }
    }
    world.Record({L"PostMessageA", {window, message, wParam, lParam}, posted});
    return posted;
}

std::int32_t SendMessageA(Hwnd window, std::uint32_t message, std::uint32_t wParam,
                          std::int32_t lParam) {
    auto& world = TheWorld();
    if (sim::Window* target = world.desktop.FindAlive(window)) {
        target->sent.push_back(message);
        const ProcessId process = target->process;
        if (message == kWmClose && target->onClose.closes) {
            // The window's procedure runs while the sender waits: it closes its window before the
            // call returns.
            const sim::CloseReaction reaction = target->onClose;
            const std::wstring title = target->title;
            world.desktop.Destroy(window);
            if (reaction.reopens) {
                world.AddWindow(process, title, reaction);
            }
            if (reaction.processEndsAfter) {
                world.clock.After(*reaction.processEndsAfter,
                                  [&world, process] { world.EndProcess(process, 0); });
            }
        } else if (message == kWmQuit && target->destroyedBySentQuit) {
            world.desktop.Destroy(window);
        }
    }
    world.Record({L"SendMessageA", {window, message, wParam, lParam}, 0});
    return 0;
}

Bool SetWindowPos(Hwnd window, Hwnd insertAfter, std::int32_t x, std::int32_t y, std::int32_t cx,
                  std::int32_t cy, std::uint32_t flags) {
    auto& world = TheWorld();
    Bool ok = 0;
    if (const sim::Window* target = world.desktop.FindAlive(window)) {
        ok = 1;
        if ((flags & kSwpNoZOrder) == 0) {
            world.desktop.Place(window, insertAfter);
        }
        if ((flags & kSwpNoActivate) == 0 && target->kind != sim::WindowKind::Child) {
            // The window's own thread activates it.
            world.desktop.SetActive(target->thread, window);
        }
    }
    world.Record({L"SetWindowPos", {window, insertAfter, x, y, cx, cy, flags}, ok});
    return ok;
}

Hwnd SetParent(Hwnd child, Hwnd newParent) {
    auto& world = TheWorld();
    const Hwnd previous = Reparent(world, child, newParent);
    world.Record({L"SetParent", {child, newParent}, previous});
    return previous;
}

std::int32_t GetWindowLongA(Hwnd window, std::int32_t index) {
    auto& world = TheWorld();
    std::int32_t value = 0;
    if (const sim::Window* target = world.desktop.FindAlive(window)) {
        if (index == kGwlUserData) {
            value = target->userData;
        } else if (index == kGwlHwndParent) {
            value = static_cast<std::int32_t>(target->parent != 0 ? target->parent : target->owner);
        }
    }
    world.Record({L"GetWindowLongA", {window, index}, value});
    return value;
}

std::int32_t SetWindowLongA(Hwnd window, std::int32_t index, std::int32_t value) {
    auto& world = TheWorld();
    std::int32_t previous = 0;
    if (sim::Window* target = world.desktop.FindAlive(window)) {
        if (index == kGwlUserData) {
            previous = std::exchange(target->userData, value);
        } else if (index == kGwlHwndParent) {
            // The owner of a top-level window; for a window with another parent than the
            // desktop the system re-parents it instead.
            if (target->parent == 0) {
                previous = static_cast<std::int32_t>(
                    std::exchange(target->owner, static_cast<Hwnd>(value)));
            } else {
                previous =
                    static_cast<std::int32_t>(Reparent(world, window, static_cast<Hwnd>(value)));
            }
        }
    }
    world.Record({L"SetWindowLongA", {window, index, value}, previous});
    return previous;
}

Hwnd SetActiveWindow(Hwnd window) {
    auto& world = TheWorld();
    const Hwnd before = world.desktop.Active(world.selfThread);
    Hwnd result = 0;
    if (window == 0) {
        world.desktop.SetActive(world.selfThread, 0);
        result = before;
    } else if (const sim::Window* target = world.desktop.FindAlive(window);
               target != nullptr && world.desktop.SharesInput(target->thread, world.selfThread)) {
        // Only a window of the thread's own input queue can be activated (another program's
        // window once it has been made a child of one of the thread's windows); a child window
        // is not activated, and the call reports no error for it.
        if (target->kind != sim::WindowKind::Child) {
            world.desktop.SetActive(world.selfThread, window);
        }
        result = before;
    }
    world.Record({L"SetActiveWindow", {window}, result});
    return result;
}

}  // namespace sys
