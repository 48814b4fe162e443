#pragma once

// The desktop: top-level and child windows with their titles, parents, owners, user data and
// Z-order, the active window of each thread, what a window's program does with the messages it
// is sent or posted, and the message boxes that a test answers in advance.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "system/failure.h"
#include "system/types.h"

namespace sim {

using sys::Hwnd;
using sys::ProcessId;
using sys::ThreadId;

// The window's style as far as the system's answers depend on it: GetParent gives the parent of
// a child window, the owner of a pop-up window, and 0 for an overlapped window, owned or not.
enum class WindowKind { Overlapped, Popup, Child };

// What the program owning a window does when it gets WM_CLOSE. Times are virtual milliseconds
// after the message arrived; a sent message returns only when the reaction is over.
struct CloseReaction {
    bool closes = true;                                 // false: the close is refused
    std::uint64_t windowClosesAfter = 0;                // the window goes after this delay
    std::optional<std::uint64_t> processEndsAfter = 0;  // nothing: the process runs on
    bool reopens = false;  // its program opens a new window like it as soon as it has closed

    static CloseReaction AtOnce() { return {}; }
    static CloseReaction Refused() { return {false, 0, std::nullopt}; }
    static CloseReaction Delayed(std::uint64_t ms) { return {true, ms, ms}; }
    // The window closes at once but its process goes on, ending after ms (or never).
    static CloseReaction WindowOnly(std::optional<std::uint64_t> ms) { return {true, 0, ms}; }
    // A window that closes, and its program at once opens another one like it.
    static CloseReaction Reopening() { return {true, 0, std::nullopt, true}; }
};

struct Window {
    Hwnd handle = 0;
    std::wstring title;
    std::wstring className = L"SimWindow";
    WindowKind kind = WindowKind::Overlapped;
    Hwnd parent = 0;  // 0: the desktop
    Hwnd owner = 0;
    ProcessId process = 0;
    ThreadId thread = 0;
    std::int32_t userData = 0;
    bool visible = true;
    bool topmost = false;
    bool alive = true;
    CloseReaction onClose;
    // A sent WM_QUIT reaches only the window's procedure; most procedures pass it to the default
    // handling, which does nothing. One that acts on it destroys its window.
    bool destroyedBySentQuit = false;
    std::vector<std::uint32_t> posted;  // messages posted to it, in order
    std::vector<std::uint32_t> sent;    // messages sent to it, in order
};

class Desktop {
  public:
    // The handle of the desktop window, which SetParent gives as the previous parent of a
    // top-level window.
    static constexpr Hwnd kDesktopWindow = 0x10010;

    // ---- set-up and inspection
    // A new top-level window goes below the existing ones (a test lays the Z-order out from the
    // top down); a child window below its siblings, where the system puts a new child.
    Window& Add(Hwnd handle, ProcessId process, ThreadId thread, const std::wstring& title,
                WindowKind kind, Hwnd parentOrOwner);
    Window& Get(Hwnd handle) { return windows_.at(handle); }
    Window* Find(Hwnd handle);  // alive or not; null for a handle never given
    Window* FindAlive(Hwnd handle);
    // Alive windows with this parent (0: the top-level windows), in Z-order from the top.
    std::vector<Hwnd> Children(Hwnd parent = 0) const;

    // ---- the system's side
    Hwnd Next(Hwnd window) const;  // the sibling below, 0 after the last
    Hwnd First(Hwnd parent) const;
    Hwnd Root(Hwnd window) const;  // the top-level window it lies in
    // Puts the window into the Z-order of its siblings: kHwndTopMost, kHwndNoTopMost, 0 (the top
    // of its band) or 1 (the bottom).
    void Place(Hwnd window, Hwnd insertAfter);
    void SetParent(Hwnd child, Hwnd parent);  // it comes to the top of its new siblings
    // Destroys the window, its children and the windows it owns.
    void Destroy(Hwnd window);
    // The active window of a thread's input queue, which threads whose input is attached share.
    Hwnd Active(ThreadId thread) const;
    void SetActive(ThreadId thread, Hwnd window) { active_[QueueOf(thread)] = window; }
    // Making a window the child of another thread's window attaches the two threads' input, as
    // the system does: from then on they share one active window, the other's when it has one.
    void AttachInput(ThreadId thread, ThreadId other);
    bool SharesInput(ThreadId thread, ThreadId other) const {
        return QueueOf(thread) == QueueOf(other);
    }

    // When set, GetNextQueueWindow yields what this gives instead of the cyclic Z-order walk, so
    // that a test can play a sequence that does not lead back to its start.
    std::function<Hwnd(Hwnd)> queueSequence;

    // ---- message boxes: each box takes the next answer; a failing box raises the failure
    void AnswerMessageBox(int button) { answers_.push_back(Answer{button, std::nullopt}); }
    void FailMessageBox(const sys::Failure& failure) { answers_.push_back(Answer{0, failure}); }
    std::size_t UnansweredBoxes() const { return answers_.size(); }
    std::optional<int> NextAnswer(std::optional<sys::Failure>& failure);

  private:
    struct Answer {
        int button;
        std::optional<sys::Failure> failure;
    };
    void Unlink(Hwnd window);
    ThreadId QueueOf(ThreadId thread) const;

    std::map<Hwnd, Window> windows_;
    std::map<Hwnd, std::vector<Hwnd>> zOrder_;  // the children of each parent, top first
    std::map<ThreadId, Hwnd> active_;           // by input queue
    std::map<ThreadId, ThreadId> queueOf_;      // threads attached to another thread's queue
    std::deque<Answer> answers_;
};

}  // namespace sim
