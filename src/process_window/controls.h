#pragma once

// The control model of frmProcess: plain objects that hold each control's properties and the
// window's own. Handlers and operations read and write only these; the Win32 binding mirrors
// every change into the real windows (ControlMirror), and reflects back what the user and the
// system change (typed text, a selected option, the window's size).

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "process_window/design.h"

namespace frm {

enum class Property : std::uint8_t { Caption, Enabled, Visible, Value, Position, Timer };

// Writes the model's changes into the real controls. A control that refuses a change raises
// sys::Failure, which the event's boundary reports.
class ControlMirror {
  public:
    virtual void Changed(Id id, Property property) = 0;
    // Brings the window to the front of the Z-order, without moving or sizing it.
    virtual void BringToFront() = 0;

  protected:
    ~ControlMirror() = default;
};

// Position and size in twips, as single-precision numbers like the window's own.
struct Placement {
    float left = 0, top = 0, width = 0, height = 0;
};

class Control {
  public:
    const ControlDesign& design() const { return *design_; }
    Id id() const { return design_->id; }

    // The caption, or the text of a text box.
    const std::wstring& Caption() const { return caption_; }
    void SetCaption(std::wstring caption);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // The option button's selection. Selecting one button of an array clears the other.
    bool Value() const { return value_; }
    void SetValue(bool value);
    const Placement& placement() const { return placement_; }
    float Height() const { return placement_.height; }
    // Moves the control in one step; a negative width or height is refused as an invalid
    // property value (380), and nothing moves.
    void Move(float left, float top, float width, float height);
    // The timer: interval in ms (0 gives no ticks) and its enabled flag (Enabled above).
    std::int32_t Interval() const { return interval_; }
    void SetInterval(std::int32_t milliseconds);

    // What the user or the system changed in the real control: taken into the model without
    // being mirrored back.
    void ReflectCaption(std::wstring caption) { caption_ = std::move(caption); }
    void ReflectPlacement(const Placement& placement) { placement_ = placement; }

  private:
    friend class Controls;
    void Changed(Property property);

    const ControlDesign* design_ = nullptr;
    class Controls* owner_ = nullptr;
    std::wstring caption_;
    bool enabled_ = true;
    bool visible_ = true;
    bool value_ = false;
    std::int32_t interval_ = 0;
    Placement placement_;
};

// Window states.
inline constexpr std::int32_t kNormal = 0;
inline constexpr std::int32_t kMinimized = 1;
inline constexpr std::int32_t kMaximized = 2;

// The window's own properties.
struct FormProperties {
    std::uint32_t hWnd = 0;
    std::int32_t windowState = kNormal;
    float width = 0, height = 0;  // outer size, frame and title bar included, in twips
};

// Every control of the window in its state at creation, and the window's own properties.
class Controls {
  public:
    explicit Controls(ControlMirror* mirror = nullptr);
    Controls(const Controls&) = delete;
    Controls& operator=(const Controls&) = delete;

    Control& operator[](Id id) { return controls_[static_cast<std::size_t>(id)]; }
    const Control& operator[](Id id) const { return controls_[static_cast<std::size_t>(id)]; }
    FormProperties& form() { return form_; }
    const FormProperties& form() const { return form_; }
    void SetMirror(ControlMirror* mirror) { mirror_ = mirror; }
    ControlMirror* mirror() const { return mirror_; }

    // Keeps the controls docked to the top as wide as the client area, at their own height.
    void DockTop(float clientWidth);
    // The option button of the same array with the other index.
    Control* Partner(const Control& option);
    // The control that the Tab key moves the focus to from `from` (nothing: the window itself),
    // in the order of the tab indexes, around: one that can take the focus, is shown with its
    // containers and enabled; of an option array only the selected button.
    std::optional<Id> NextInTabOrder(std::optional<Id> from, bool backwards) const;

  private:
    friend class Control;
    std::array<Control, kControlCount> controls_;
    FormProperties form_;
    ControlMirror* mirror_;
};

}  // namespace frm
