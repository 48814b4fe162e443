// The window's events: which handler serves which event (the wiring table), the boundary every
// handler runs in, and the handlers that belong to the window as a whole.

#include <new>

#include "process_window/frm_process.h"
#include "system/system.h"

namespace frm {

namespace {

constexpr std::int16_t kF10 = 121;
constexpr std::int16_t kAltOnly = 4;  // Shift 1, Ctrl 2, Alt 4, added together

}  // namespace

// Which handler serves which event.
struct Wiring {
    std::optional<Id> source;  // nothing: the window itself
    Event event;
    void (frmProcess::*handler)();

    static const Wiring kTable[];
};

// Every event the window handles; every other event of every control is left alone. (Key-up
// reaches Form_KeyUp through RaiseKeyUp, with its arguments.)
const Wiring Wiring::kTable[] = {
    {std::nullopt, Event::Resize, &frmProcess::Form_Resize},
    {std::nullopt, Event::Click, &frmProcess::Form_Click},
    {std::nullopt, Event::GotFocus, &frmProcess::Form_GotFocus},
    {Id::Picture1, Event::Click, &frmProcess::Picture1_Click},
    {Id::Image1, Event::Click, &frmProcess::Image1_Click},
    {Id::cmdCreateProcess, Event::Click, &frmProcess::cmdCreateProcess_Click},
    {Id::cmdShell, Event::Click, &frmProcess::cmdShell_Click},
    {Id::tmrRunning, Event::Timer, &frmProcess::tmrRunning_Timer},
    {Id::cmdKill, Event::Click, &frmProcess::cmdKill_Click},
    {Id::cmdDestroy, Event::Click, &frmProcess::cmdDestroy_Click},
    {Id::cmdDestroyByProcessID, Event::Click, &frmProcess::cmdDestroyByProcessID_Click},
};

void frmProcess::Raise(Event event, std::optional<Id> source) {
    for (const Wiring& wiring : Wiring::kTable) {
        if (wiring.source == source && wiring.event == event) {
            Handle([this, &wiring] { (this->*wiring.handler)(); });
            return;
        }
    }
}

void frmProcess::RaiseKeyUp(std::int16_t keyCode, std::int16_t shift) {
    Handle([&] { Form_KeyUp(keyCode, shift); });
}

void frmProcess::Handle(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const sys::Failure& failure) {
        sys::ReportUnhandledFailure(failure);
    } catch (const std::bad_alloc&) {
        sys::ReportUnhandledFailure(sys::Failure(7, L"Nicht gen\u00fcgend Speicher"));
    }
}

void frmProcess::Form_Click() {
    EmbedJobWindow();
}

void frmProcess::Form_GotFocus() {
    if (ControlMirror* mirror = controls_.mirror()) {
        mirror->BringToFront();
    }
}

void frmProcess::Form_KeyUp(std::int16_t& KeyCode, std::int16_t& Shift) {
    // F10 released while Alt, and only Alt, is held.
    if (KeyCode == kF10 && Shift == kAltOnly) {
        Control& panel = controls_[Id::picAdmin];
        panel.SetVisible(!panel.Visible());
    }
}

void frmProcess::Form_Resize() {
    const FormProperties& form = controls_.form();
    if (form.windowState == kMinimized) {
        return;
    }
    // One step, skipped as a whole when any part of it fails (a window lower than the strip
    // gives a negative height, which the move refuses).
    try {
        const float strip = controls_[Id::Picture1].Height();
        controls_[Id::Image1].Move(0, strip, form.width, form.height - strip);
    } catch (const sys::Failure&) {
    }
}

void frmProcess::Image1_Click() {
    Form_Click();
}

void frmProcess::Picture1_Click() {
    Form_Click();
}

}  // namespace frm
