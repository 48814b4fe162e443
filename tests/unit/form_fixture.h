#pragma once

// A frmProcess on the simulated desktop: its window belongs to the program's own UI thread and
// is active, as after the window was opened; its control model records what the binding would
// be told to mirror.

#include <functional>
#include <vector>

#include "process_window/frm_process.h"
#include "sim_fixture.h"

namespace frm {

// Reaches the window's private operations and state record, for the tests.
class frmProcessInspector {
  public:
    static State& state(frmProcess& form) { return form.state_; }
    static void EmbedJobWindow(frmProcess& form) { form.EmbedJobWindow(); }
    static sys::Hwnd getTopWndFromProcessID(frmProcess& form, sys::ProcessId process) {
        return form.getTopWndFromProcessID(process);
    }
};

}  // namespace frm

// What the model asked the binding to write into the real controls, in order. A test may make
// one property of one control refuse its change, as a real control can.
class RecordingMirror : public frm::ControlMirror {
  public:
    struct Change {
        frm::Id id;
        frm::Property property;
        friend bool operator==(const Change&, const Change&) = default;
    };
    void Changed(frm::Id id, frm::Property property) override {
        if (refusing_ && refusing_->id == id && refusing_->property == property) {
            throw sys::Failure(380, L"Ung\u00fcltiger Eigenschaftswert");
        }
        changes.push_back({id, property});
        if (property == frm::Property::Timer && onTimer) {
            onTimer();
        }
    }
    void BringToFront() override { ++broughtToFront; }
    void Refuse(frm::Id id, frm::Property property) { refusing_ = Change{id, property}; }

    std::vector<Change> changes;
    int broughtToFront = 0;
    std::function<void()> onTimer;  // the timer's interval or enabled flag changed

  private:
    std::optional<Change> refusing_;
};

class FormTest : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        self_ = world().AddWindow(world().self, L"Ausf\u00fchrung");
        form_.controls().form().hWnd = self_;
        world().desktop.SetActive(world().selfThread, self_);
        mirror_.onTimer = [this] { ScheduleTick(); };
    }

    // Lets virtual time pass; the timer ticks on the window's thread as it is set.
    void RunFor(std::uint64_t ms) { world().clock.Advance(ms); }

    frm::frmProcess& form() { return form_; }
    frm::State& state() { return frm::frmProcessInspector::state(form_); }
    frm::Control& control(frm::Id id) { return form_[id]; }
    sys::Hwnd self() const { return self_; }

    // A click on a control (nothing: the window's background): the window becomes the active
    // window, as a click on it makes it, then the event goes to the window.
    void Click(std::optional<frm::Id> source = std::nullopt) {
        world().desktop.SetActive(world().selfThread, self_);
        form_.Raise(frm::Event::Click, source);
    }
    // Runs an event; gives whether it ended the program (an unhandled failure).
    template <typename Action>
    bool EndsTheProgram(Action action) {
        try {
            action();
            return false;
        } catch (const sim::ProgramEnded&) {
            return true;
        }
    }

    // Another program with a window; the process id.
    sys::ProcessId ProgramWithWindow(const std::wstring& title, sys::Hwnd* window = nullptr) {
        const sys::ProcessId process = world().AddProcess(L"C:\\Jobs\\job.exe");
        const sys::Hwnd made = world().AddWindow(process, title);
        if (window != nullptr) {
            *window = made;
        }
        return process;
    }

    RecordingMirror mirror_;

  private:
    // The timer's ticks, every interval from the moment it was set, as the system's timer keeps
    // them (a tick that took a while does not shift the next). A change of the timer starts its
    // count anew.
    void ScheduleTick() { ScheduleTickAfter(world().clock.Now(), ++timerGeneration_); }
    void ScheduleTickAfter(std::uint64_t base, std::uint64_t generation) {
        const frm::Control& timer = form_[frm::Id::tmrRunning];
        if (!timer.Enabled() || timer.Interval() <= 0) {
            return;
        }
        const std::uint64_t due = base + static_cast<std::uint64_t>(timer.Interval());
        world().clock.At(due, [this, generation, due] {
            if (generation == timerGeneration_) {
                form_.Raise(frm::Event::Timer, frm::Id::tmrRunning);
                if (generation == timerGeneration_) {
                    ScheduleTickAfter(due, generation);
                }
            }
        });
    }

    frm::frmProcess form_{&mirror_};
    sys::Hwnd self_ = 0;
    std::uint64_t timerGeneration_ = 0;
};
