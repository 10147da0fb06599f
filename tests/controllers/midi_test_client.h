#pragma once
// A controller on a JACK server, for the tests: a client with a MIDI output
// port "out" (what the hardware sends) and, `withLights`, a MIDI input port
// "in" (where its lights are told), registered when it is made. Without
// lights nothing flows back, so JACK runs it before the program in every
// period (as it runs a sound card's MIDI ports).
#include "platform/midi/midi_message.h"

#include <string>
#include <vector>

typedef struct _jack_client jack_client_t;
typedef struct _jack_port jack_port_t;

namespace controllers_test {

class MidiTestClient {
public:
    MidiTestClient(const std::string& server, const std::string& name, bool withLights = true);
    ~MidiTestClient();
    MidiTestClient(const MidiTestClient&) = delete;
    MidiTestClient& operator=(const MidiTestClient&) = delete;

    bool open() const { return client_ != nullptr; }
    std::string outPort() const;
    // Sent in the next period.
    void send(std::uint8_t kind, int channel, int data1, int data2);
    // Every message that reached "in" so far.
    const std::vector<midi::MidiMessage>& received();

private:
    static int process(std::uint32_t frames, void* self);

    jack_client_t* client_ = nullptr;
    jack_port_t* out_ = nullptr;
    jack_port_t* in_ = nullptr;
    midi::MessageRing toSend_;
    midi::MessageRing arrived_;
    std::vector<midi::MidiMessage> received_;
};

} // namespace controllers_test
