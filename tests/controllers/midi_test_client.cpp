#include "tests/controllers/midi_test_client.h"

#include <cstring>
#include <jack/jack.h>
#include <jack/midiport.h>

namespace controllers_test {

MidiTestClient::MidiTestClient(const std::string& server, const std::string& name,
                               bool withLights) {
    jack_status_t status{};
    client_ = jack_client_open(name.c_str(),
                               static_cast<jack_options_t>(JackNoStartServer | JackServerName),
                               &status, server.c_str());
    if (!client_)
        return;
    out_ = jack_port_register(client_, "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    if (withLights)
        in_ = jack_port_register(client_, "in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
    jack_set_process_callback(client_, &MidiTestClient::process, this);
    if (!out_ || (withLights && !in_) || jack_activate(client_) != 0) {
        jack_client_close(client_);
        client_ = nullptr;
    }
}

MidiTestClient::~MidiTestClient() {
    if (client_) {
        jack_deactivate(client_);
        jack_client_close(client_);
    }
}

std::string MidiTestClient::outPort() const {
    return client_ ? jack_port_name(out_) : "";
}

void MidiTestClient::send(std::uint8_t kind, int channel, int data1, int data2) {
    toSend_.push(midi::makeMessage(kind, channel, data1, data2));
}

const std::vector<midi::MidiMessage>& MidiTestClient::received() {
    midi::MidiMessage message;
    while (arrived_.pop(message))
        received_.push_back(message);
    return received_;
}

int MidiTestClient::process(std::uint32_t frames, void* self) {
    auto* c = static_cast<MidiTestClient*>(self);
    void* out = jack_port_get_buffer(c->out_, frames);
    jack_midi_clear_buffer(out);
    midi::MidiMessage message;
    while (c->toSend_.pop(message))
        jack_midi_event_write(out, 0, message.bytes.data(), message.size);
    if (!c->in_)
        return 0;
    void* in = jack_port_get_buffer(c->in_, frames);
    for (jack_nframes_t i = 0, n = jack_midi_get_event_count(in); i < n; ++i) {
        jack_midi_event_t event;
        if (jack_midi_event_get(&event, in, i) == 0 && event.size == 3) {
            std::memcpy(message.bytes.data(), event.buffer, 3);
            message.size = 3;
            c->arrived_.push(message);
        }
    }
    return 0;
}

} // namespace controllers_test
