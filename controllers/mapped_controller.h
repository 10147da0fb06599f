#pragma once
// A controller played through a mapping: each message from the device runs
// or moves the actions bound to it, through the same ActionRunner the
// keyboard uses; lit buttons are told the state of their action. UI thread.
#include "controllers/mapping.h"
#include "platform/midi/midi_message.h"

#include <functional>
#include <optional>

namespace mixer {
class ActionRunner;
}

namespace controllers {

// How near (a part of the travel) a fader with soft takeover must come to
// its control on the screen before it moves it: two and a half 7-bit steps.
inline constexpr double kTakeoverWindow = 2.5 / 127.0;

class MappedController {
public:
    using Send = std::function<void(const midi::MidiMessage&)>;
    MappedController(mixer::ActionRunner& actions, Send send);

    // The mapping in use (none: messages do nothing). Every light is sent
    // again at the next updateLights().
    void setMapping(std::optional<Mapping> mapping);
    const std::optional<Mapping>& mapping() const { return mapping_; }

    // Every light is sent again at the next updateLights() (a device came);
    // where the controls stand is kept.
    void resendLights();
    // A message from the device.
    void receive(const midi::MidiMessage& message);
    // Sends the lights whose action's state changed since they were last sent.
    void updateLights();

private:
    // Where a bound control stands and whether it moves its action yet.
    struct Control {
        int highBits = 0; // the last high 7 bits of a 14-bit pair
        int lowBits = 0;
        bool pressed = false;
        bool engaged = false;     // soft takeover: the control has met the screen's
        double lastHardware = -1; // where the control last was (a part of the action's travel)
        double lastSet = -1;      // what the control last set the action to
        int lit = -1;             // the light last sent: -1 none, 0 off, 1 on
    };
    // The message's raw position (0..1) for `binding`, or empty when it is not the binding's.
    std::optional<double> positionFor(const Binding& binding, Control& control,
                                      const midi::MidiMessage& message) const;
    void moveValue(const Binding& binding, Control& control, double raw, int relativeSteps);
    void pressButton(const Binding& binding, Control& control, bool pressed);

    mixer::ActionRunner& actions_;
    Send send_;
    std::optional<Mapping> mapping_;
    std::vector<Control> controls_; // one per binding
};

} // namespace controllers
