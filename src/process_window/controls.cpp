#include "process_window/controls.h"

#include <cwchar>

#include "system/failure.h"

namespace frm {

namespace {

constexpr std::uint32_t kInvalidPropertyValue = 380;

}  // namespace

void Control::Changed(Property property) {
    if (owner_->mirror_ != nullptr) {
        owner_->mirror_->Changed(id(), property);
    }
}

void Control::SetCaption(std::wstring caption) {
    caption_ = std::move(caption);
    Changed(Property::Caption);
}

void Control::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Changed(design_->kind == Kind::Timer ? Property::Timer : Property::Enabled);
}

void Control::SetVisible(bool visible) {
    visible_ = visible;
    Changed(Property::Visible);
}

void Control::SetValue(bool value) {
    value_ = value;
    Changed(Property::Value);
    if (value) {
        if (Control* partner = owner_->Partner(*this); partner != nullptr && partner->value_) {
            partner->value_ = false;
            partner->Changed(Property::Value);
        }
    }
}

void Control::Move(float left, float top, float width, float height) {
    if (width < 0 || height < 0) {
        throw sys::Failure(kInvalidPropertyValue, L"Ung\u00fcltiger Eigenschaftswert");
    }
    placement_ = Placement{left, top, width, height};
    Changed(Property::Position);
}

void Control::SetInterval(std::int32_t milliseconds) {
    if (milliseconds < 0) {
        throw sys::Failure(kInvalidPropertyValue, L"Ung\u00fcltiger Eigenschaftswert");
    }
    interval_ = milliseconds;
    Changed(Property::Timer);
}

Controls::Controls(ControlMirror* mirror) : mirror_(mirror) {
    for (std::size_t i = 0; i < kControlCount; ++i) {
        Control& control = controls_[i];
        const ControlDesign& design = kControls[i];
        control.design_ = &design;
        control.owner_ = this;
        control.caption_ = design.caption;
        control.enabled_ = design.enabled;
        control.visible_ = design.visible;
        control.value_ = design.value;
        control.placement_ =
            Placement{static_cast<float>(design.left), static_cast<float>(design.top),
                      static_cast<float>(design.width), static_cast<float>(design.height)};
    }
}

void Controls::DockTop(float clientWidth) {
    for (Control& control : controls_) {
        if (control.design().dockedTop) {
            control.placement_ = Placement{0, 0, clientWidth, control.placement_.height};
            control.Changed(Property::Position);
        }
    }
}

std::optional<Id> Controls::NextInTabOrder(std::optional<Id> from, bool backwards) const {
    const auto takesFocus = [this](const Control& control) {
        const ControlDesign& design = control.design();
        const bool focusable = design.kind == Kind::Panel || design.kind == Kind::ListBox ||
                               design.kind == Kind::CommandButton || design.kind == Kind::TextBox ||
                               (design.kind == Kind::OptionButton && control.Value());
        if (!focusable || design.tabIndex < 0 || !control.Enabled()) {
            return false;
        }
        for (const Control* c = &control;; c = &(*this)[*c->design().container]) {
            if (!c->Visible()) {
                return false;
            }
            if (!c->design().container) {
                return true;
            }
        }
    };
    constexpr int kTabIndexes = static_cast<int>(kControlCount) - 2;  // all but timer and image
    const int start = from ? (*this)[*from].design().tabIndex : (backwards ? 0 : -1);
    for (int step = 1; step <= kTabIndexes; ++step) {
        const int tab =
            ((start + (backwards ? -step : step)) % kTabIndexes + kTabIndexes) % kTabIndexes;
        for (const Control& control : controls_) {
            if (control.design().tabIndex == tab && takesFocus(control)) {
                return control.id();
            }
        }
    }
    return std::nullopt;
}

Control* Controls::Partner(const Control& option) {
    if (option.design().index < 0) {
        return nullptr;
    }
    for (Control& control : controls_) {
        if (&control != &option && control.design().index >= 0 &&
            std::wcscmp(control.design().name, option.design().name) == 0) {
            return &control;
        }
    }
    return nullptr;
}

}  // namespace frm
