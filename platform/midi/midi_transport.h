#pragma once
// A way to and from MIDI devices (the JACK output's client, the ALSA
// sequencer): it connects to every device there is and to devices as they
// appear, gathers what they send, and sends to one of them or to all. UI
// thread.
#include "platform/midi/midi_message.h"

#include <functional>
#include <string>
#include <vector>

namespace midi {

// A connected device: the id its messages carry, and its name (the port it
// sends from, "client:port").
struct MidiDevice {
    std::uint32_t id = 0;
    std::string name;
};

class MidiTransport {
public:
    virtual ~MidiTransport() = default;
    // Connects to devices that appeared since the last call, and moves the
    // messages received since then into `into`, in the order they came,
    // each with the id of the device it came from.
    virtual void poll(std::vector<MidiMessage>& into) = 0;
    // Sends to the message's device (its lights), or to every connected
    // device with kAllDevices.
    virtual void send(const MidiMessage& message) = 0;
    // The devices connected now.
    virtual std::vector<MidiDevice> devices() const = 0;
    // `wake` is called on the UI thread when messages came or devices
    // changed, to poll. Set once, from the UI thread.
    virtual void setWake(std::function<void()> wake) = 0;
};

} // namespace midi
