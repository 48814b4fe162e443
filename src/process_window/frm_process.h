#pragma once

// frmProcess, the process-control window: its controls and state record, its public members and
// operations, and the handlers of its events. The Win32 binding (windows/) creates the real
// window from the design, mirrors the control model into it and raises the events here; every
// decision lives in the handlers below.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "process_window/controls.h"
#include "process_window/state.h"
#include "process_window/variant.h"
#include "system/types.h"

namespace frm {

// The events the binding raises. Only those of the wiring table (events.cpp) reach a handler.
enum class Event : std::uint8_t { Click, GotFocus, Resize, Timer };

class frmProcess {
  public:
    explicit frmProcess(ControlMirror* mirror = nullptr);

    Controls& controls() { return controls_; }
    const Controls& controls() const { return controls_; }
    Control& operator[](Id id) { return controls_[id]; }

    // ---- public members and operations
    const std::wstring& Cmdline() const { return state_.Cmdline; }
    void Cmdline(std::wstring commandLine) { state_.Cmdline = std::move(commandLine); }
    VbBool ProcessFinished() const { return state_.ProcessFinished; }
    void ProcessFinished(VbBool finished) { state_.ProcessFinished = finished; }
    std::int32_t SetParentEx(sys::Hwnd ChildWnd, sys::Hwnd NewParentWnd);
    VbBool SetTopMost(const Variant& hwnd, std::optional<VbBool> State = std::nullopt,
                      std::optional<VbBool> Activate = std::nullopt);
    sys::Hwnd gethWndFromProcessID(sys::ProcessId ProcessID);
    sys::Hwnd gethWndFromTitle(const std::wstring& strAppTitle);
    void CreateThisProcess();
    void StartViaShell();
    void SetOwner(const Variant& FormOwned, const Variant& FormOwner);

    // ---- events, raised by the binding. Each handler runs inside the event boundary: a failure
    // that it does not catch is reported with its number and description, and the program ends.
    // source: the control, or nothing for the window itself.
    void Raise(Event event, std::optional<Id> source = std::nullopt);
    // A key released while the window is active, whichever control has the focus (key preview).
    void RaiseKeyUp(std::int16_t keyCode, std::int16_t shift);

    // The state record, for a caller that inspects the window (tests, the host's exit code).
    const State& state() const { return state_; }

  private:
    friend struct Wiring;
    friend class frmProcessInspector;  // tests reach the private state through it

    void cmdCreateProcess_Click();
    void EmbedJobWindow();
    void cmdDestroy_Click();
    void cmdDestroyByProcessID_Click();
    void DestroyByProcessID(const sys::ProcessId& pid);
    void cmdKill_Click();
    void cmdShell_Click();
    void Form_Click();
    void Form_GotFocus();
    void Form_KeyUp(std::int16_t& KeyCode, std::int16_t& Shift);
    void Form_Resize();
    void Image1_Click();
    void Picture1_Click();
    void tmrRunning_Timer();
    sys::Hwnd getTopWndFromProcessID(sys::ProcessId processId);

    // Both starts take the command line from Cmdline through txtStart.
    std::wstring CommandLineThroughTextBox();
    // The end-of-job steps of the watch.
    void EndOfJob();
    // Closes the job's handles if they are open: process handle first, or thread handle first.
    void CloseJobHandles(bool threadFirst);
    // The queue walk of the two public lookups, with the lookup's test.
    sys::Hwnd WalkQueueWindows(const std::function<bool(sys::Hwnd)>& matches);
    // Runs a handler inside the event boundary.
    void Handle(const std::function<void()>& handler);

    Controls controls_;
    State state_;
};

}  // namespace frm
