#include "controllers/mapped_controller.h"

#include "mixer/action_runner.h"

#include <algorithm>
#include <cmath>

namespace controllers {

using midi::MidiMessage;

MappedController::MappedController(mixer::ActionRunner& actions, Send send)
    : actions_(actions), send_(std::move(send)) {}

void MappedController::setMapping(std::optional<Mapping> mapping) {
    mapping_ = std::move(mapping);
    controls_.assign(mapping_ ? mapping_->bindings.size() : 0, Control{});
}

void MappedController::resendLights() {
    for (Control& control : controls_)
        control.lit = -1;
}

std::optional<double> MappedController::positionFor(const Binding& binding, Control& control,
                                                    const MidiMessage& message) const {
    if (message.size < 3 || message.channel() != binding.channel)
        return std::nullopt;
    const int kind = message.kind();
    switch (binding.kind) {
    case MessageKind::Note:
        if ((kind != midi::kNoteOn && kind != midi::kNoteOff) || message.data1() != binding.number)
            return std::nullopt;
        return kind == midi::kNoteOn ? message.data2() / 127.0 : 0.0;
    case MessageKind::Control:
        if (kind != midi::kControlChange || message.data1() != binding.number)
            return std::nullopt;
        return message.data2() / 127.0;
    case MessageKind::Control14:
        if (kind != midi::kControlChange)
            return std::nullopt;
        if (message.data1() == binding.number) {
            // The high bits come first; the low ones of the pair follow.
            control.highBits = message.data2();
            control.lowBits = 0;
        } else if (message.data1() == binding.number + 32) {
            control.lowBits = message.data2();
        } else {
            return std::nullopt;
        }
        return (control.highBits * 128 + control.lowBits) / 16383.0;
    case MessageKind::PitchBend:
        if (kind != midi::kPitchBend)
            return std::nullopt;
        return (message.data2() * 128 + message.data1()) / 16383.0;
    }
    return std::nullopt;
}

void MappedController::receive(const MidiMessage& message) {
    if (!mapping_)
        return;
    for (std::size_t i = 0; i < mapping_->bindings.size(); ++i) {
        const Binding& binding = mapping_->bindings[i];
        Control& control = controls_[i];
        const std::optional<double> raw = positionFor(binding, control, message);
        if (!raw)
            continue;
        // An encoder: 1..63 steps up, 127..65 (-1..-63) steps down.
        const int steps = message.data2() < 64 ? message.data2() : message.data2() - 128;
        const bool relative = binding.relative && binding.kind == MessageKind::Control;
        if (mixer::actionRow(binding.action).repeat == mixer::Repeat::Value)
            moveValue(binding, control, *raw, relative ? steps : 0);
        else if (relative)
            for (int n = 0; n < (binding.invert ? -steps : steps); ++n) {
                actions_.run(binding.action, true);
                actions_.run(binding.action, false);
            }
        else
            pressButton(binding, control, binding.invert ? *raw < 0.5 : *raw >= 0.5);
    }
}

void MappedController::moveValue(const Binding& binding, Control& control, double raw,
                                 int relativeSteps) {
    const double now = actions_.value(binding.action);
    double target = 0;
    if (binding.relative && binding.kind == MessageKind::Control) {
        const double step = (binding.high - binding.low) / 127.0;
        target = std::clamp(now + (binding.invert ? -relativeSteps : relativeSteps) * step,
                            binding.low, binding.high);
    } else {
        const double position = binding.invert ? 1.0 - raw : raw;
        target = binding.low + position * (binding.high - binding.low);
        if (binding.softTakeover) {
            // Moved by the mouse, the keyboard or another control since: the
            // hardware must meet the screen again.
            if (control.engaged && std::abs(now - control.lastSet) > 1e-9)
                control.engaged = false;
            const bool near = std::abs(target - now) <= kTakeoverWindow;
            const bool crossed =
                control.lastHardware >= 0 && (control.lastHardware - now) * (target - now) <= 0;
            control.lastHardware = target;
            if (!control.engaged && !near && !crossed)
                return;
            control.engaged = true;
        }
    }
    actions_.setValue(binding.action, target);
    control.lastSet = actions_.value(binding.action);
}

void MappedController::pressButton(const Binding& binding, Control& control, bool pressed) {
    if (pressed == control.pressed)
        return;
    control.pressed = pressed;
    actions_.run(binding.action, pressed);
}

void MappedController::updateLights() {
    if (!mapping_)
        return;
    for (std::size_t i = 0; i < mapping_->bindings.size(); ++i) {
        const Binding& binding = mapping_->bindings[i];
        if (!binding.light ||
            (binding.kind != MessageKind::Note && binding.kind != MessageKind::Control))
            continue;
        const int lit = actions_.isOn(binding.action) ? 1 : 0;
        if (lit == controls_[i].lit)
            continue;
        controls_[i].lit = lit;
        const std::uint8_t kind =
            binding.kind == MessageKind::Note ? midi::kNoteOn : midi::kControlChange;
        send_(midi::makeMessage(kind, binding.channel, binding.number, lit ? 127 : 0));
    }
}

} // namespace controllers
