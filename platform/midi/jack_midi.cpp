#include "platform/midi/jack_midi.h"

#include <QSocketNotifier>
#include <algorithm>
#include <cstring>
#include <jack/midiport.h>
#include <set>
#include <string_view>
#include <sys/eventfd.h>
#include <unistd.h>

namespace midi {

namespace {

// The names of the ports of other clients of `type` and `flags`.
std::vector<std::string> otherPorts(jack_client_t* client, unsigned long flags) {
    std::vector<std::string> names;
    const char** found = jack_get_ports(client, nullptr, JACK_DEFAULT_MIDI_TYPE, flags);
    if (!found)
        return names;
    const std::string own = std::string(jack_get_client_name(client)) + ":";
    for (const char** name = found; *name; ++name)
        if (std::string_view(*name).substr(0, own.size()) != own)
            names.emplace_back(*name);
    jack_free(found);
    return names;
}

// The client part of a full port name ("client:port").
std::string clientOf(const std::string& port) {
    return port.substr(0, port.find(':'));
}

// Our port of pair `index` and direction: "midi_in", "midi_in_2", ...
std::string pairPortName(std::size_t index, const char* direction) {
    std::string name = std::string("midi_") + direction;
    return index == 0 ? name : name + "_" + std::to_string(index + 1);
}

// Where the lights of the device sending from `source` go: the input ports
// of its client; of a client with several (a bridge carrying many devices,
// "system" or "a2j"), the one named as the source with "capture" become
// "playback" when there is one.
std::vector<std::string> lightsTargets(const std::string& source,
                                       const std::vector<std::string>& inputs) {
    std::vector<std::string> same;
    for (const std::string& input : inputs)
        if (clientOf(input) == clientOf(source))
            same.push_back(input);
    if (same.size() <= 1)
        return same;
    std::string paired = source;
    for (std::size_t at; (at = paired.find("capture")) != std::string::npos;)
        paired.replace(at, 7, "playback");
    for (const std::string& input : same)
        if (input == paired)
            return {input};
    return same;
}

} // namespace

JackMidi::JackMidi() : wakeFd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
    audio::setJackClientHook(this);
}

JackMidi::~JackMidi() {
    audio::setJackClientHook(nullptr);
    notifier_.reset();
    if (wakeFd_ >= 0)
        ::close(wakeFd_);
}

void JackMidi::setWake(std::function<void()> wake) {
    if (wakeFd_ < 0)
        return;
    notifier_ = std::make_unique<QSocketNotifier>(wakeFd_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this, wake = std::move(wake)] {
        // A burst of wakes is one read: the poll takes everything there is.
        std::uint64_t count = 0;
        if (::read(wakeFd_, &count, sizeof count) == sizeof count)
            wake();
    });
    // Whatever came before the notifier existed.
    wakeUi();
}

void JackMidi::wakeUi() const {
    if (wakeFd_ < 0)
        return;
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeFd_, &one, sizeof one);
}

void JackMidi::attach(jack_client_t* client) {
    std::lock_guard lock(mutex_);
    client_ = client;
    // The first pair from the start, so the names are there for a patchbay.
    pairFor({});
    rescan_.store(true);
    wakeUi();
}

void JackMidi::detach(jack_client_t* client, bool lost) {
    std::lock_guard lock(mutex_);
    for (Pair& pair : pairs_) {
        for (std::atomic<jack_port_t*>* port : {&pair.in, &pair.out})
            if (jack_port_t* registered = port->exchange(nullptr); registered && !lost)
                jack_port_unregister(client, registered);
        pair.source.clear();
    }
    client_ = nullptr;
}

JackMidi::Pair* JackMidi::pairFor(const std::string& source) {
    Pair* free = nullptr;
    for (std::size_t i = 0; i < pairs_.size(); ++i) {
        Pair& pair = pairs_[i];
        if (!source.empty() && pair.source == source)
            return &pair;
        if (free || !pair.source.empty())
            continue;
        if (!pair.in.load()) {
            jack_port_t* in = jack_port_register(client_, pairPortName(i, "in").c_str(),
                                                 JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
            jack_port_t* out = jack_port_register(client_, pairPortName(i, "out").c_str(),
                                                  JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
            if (!in || !out) {
                if (in)
                    jack_port_unregister(client_, in);
                if (out)
                    jack_port_unregister(client_, out);
                return nullptr;
            }
            pair.out.store(out, std::memory_order_release);
            pair.in.store(in, std::memory_order_release);
        }
        free = &pair;
    }
    return free;
}

bool JackMidi::connectAll() {
    if (!client_)
        return true;
    const std::vector<std::string> sources = otherPorts(client_, JackPortIsOutput);
    const std::vector<std::string> inputs = otherPorts(client_, JackPortIsInput);
    // A device that went frees its pair (JACK dropped its connections).
    for (Pair& pair : pairs_)
        if (!pair.source.empty() &&
            std::find(sources.begin(), sources.end(), pair.source) == sources.end())
            pair.source.clear();
    bool done = true;
    for (const std::string& source : sources) {
        Pair* pair = pairFor(source);
        if (!pair)
            continue; // as many devices as pairs already
        jack_port_t* in = pair->in.load();
        jack_port_t* out = pair->out.load();
        if (!jack_port_connected_to(in, source.c_str()) &&
            jack_connect(client_, source.c_str(), jack_port_name(in)) != 0) {
            done = false; // an inactive client cannot connect yet
            continue;
        }
        pair->source = source;
        // Lights go to the device only, not to a synthesizer that only listens.
        for (const std::string& target : lightsTargets(source, inputs))
            if (!jack_port_connected_to(out, target.c_str()))
                done = jack_connect(client_, jack_port_name(out), target.c_str()) == 0 && done;
    }
    return done;
}

void JackMidi::poll(std::vector<MidiMessage>& into) {
    if (rescan_.exchange(false)) {
        std::lock_guard lock(mutex_);
        // An inactive client cannot connect yet: tried again at the next poll.
        if (!connectAll())
            rescan_.store(true);
    }
    MidiMessage message;
    while (received_.pop(message))
        into.push_back(message);
}

void JackMidi::send(const MidiMessage& message) {
    outgoing_.push(message);
}

std::vector<MidiDevice> JackMidi::devices() const {
    std::lock_guard lock(mutex_);
    std::vector<MidiDevice> found;
    for (std::size_t i = 0; i < pairs_.size(); ++i)
        if (!pairs_[i].source.empty())
            found.push_back({static_cast<std::uint32_t>(i), pairs_[i].source});
    return found;
}

void JackMidi::process(jack_nframes_t frames) {
    bool arrived = false;
    std::array<void*, kPairs> outs{};
    for (std::size_t p = 0; p < pairs_.size(); ++p) {
        jack_port_t* inPort = pairs_[p].in.load(std::memory_order_acquire);
        jack_port_t* outPort = pairs_[p].out.load(std::memory_order_acquire);
        if (!inPort || !outPort)
            break; // pairs are registered in order
        if (void* in = jack_port_get_buffer(inPort, frames)) {
            const jack_nframes_t count = jack_midi_get_event_count(in);
            for (jack_nframes_t i = 0; i < count; ++i) {
                jack_midi_event_t event;
                if (jack_midi_event_get(&event, in, i) != 0 || event.size == 0 || event.size > 3)
                    continue; // system exclusive and the like: not bound to anything
                MidiMessage message;
                std::memcpy(message.bytes.data(), event.buffer, event.size);
                message.size = static_cast<std::uint8_t>(event.size);
                message.device = static_cast<std::uint32_t>(p);
                arrived = received_.push(message) || arrived;
            }
        }
        if ((outs[p] = jack_port_get_buffer(outPort, frames)))
            jack_midi_clear_buffer(outs[p]);
    }
    if (arrived)
        wakeUi();
    MidiMessage message;
    while (outgoing_.pop(message)) {
        for (std::size_t p = 0; p < outs.size(); ++p) {
            if (!outs[p] || (message.device != kAllDevices && message.device != p))
                continue;
            // A full buffer loses this message for that device; the rest go on.
            jack_midi_event_write(outs[p], 0, message.bytes.data(), message.size);
        }
    }
}

} // namespace midi
