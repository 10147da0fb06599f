#include "platform/midi/jack_midi.h"

#include <QSocketNotifier>
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

} // namespace

JackMidi::JackMidi() {
    sem_init(&arrived_, 0, 0);
    audio::setJackClientHook(this);
}

JackMidi::~JackMidi() {
    audio::setJackClientHook(nullptr);
    if (waker_.joinable()) {
        stopping_.store(true);
        sem_post(&arrived_);
        waker_.join();
    }
    notifier_.reset();
    if (wakeFd_ >= 0)
        ::close(wakeFd_);
    sem_destroy(&arrived_);
}

void JackMidi::setWake(std::function<void()> wake) {
    wakeFd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeFd_ < 0)
        return;
    notifier_ = std::make_unique<QSocketNotifier>(wakeFd_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this, wake = std::move(wake)] {
        std::uint64_t count = 0;
        if (::read(wakeFd_, &count, sizeof count) == sizeof count)
            wake();
    });
    waker_ = std::thread([this] { runWaker(); });
}

void JackMidi::runWaker() {
    for (;;) {
        while (sem_wait(&arrived_) != 0) // interrupted by a signal: wait on
            continue;
        // A burst of posts is one wake: the poll reads everything there is.
        while (sem_trywait(&arrived_) == 0)
            continue;
        // Set before the last post, so seen once that post is taken.
        if (stopping_.load())
            return;
        // Fails only when the counter is full: a wake is waiting to be read then.
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(wakeFd_, &one, sizeof one);
    }
}

void JackMidi::attach(jack_client_t* client) {
    std::lock_guard lock(mutex_);
    in_ = jack_port_register(client, "midi_in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
    out_ = jack_port_register(client, "midi_out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    client_ = client;
    rescan_.store(true);
    sem_post(&arrived_);
}

void JackMidi::detach(jack_client_t* client, bool lost) {
    std::lock_guard lock(mutex_);
    if (!lost) {
        if (in_)
            jack_port_unregister(client, in_);
        if (out_)
            jack_port_unregister(client, out_);
    }
    in_ = out_ = nullptr;
    client_ = nullptr;
}

bool JackMidi::connectAll() {
    if (!client_ || !in_ || !out_)
        return true;
    bool done = true;
    std::set<std::string> senders; // clients with a MIDI output: the devices
    for (const std::string& source : otherPorts(client_, JackPortIsOutput)) {
        senders.insert(clientOf(source));
        if (jack_port_connected_to(in_, source.c_str()))
            continue;
        done = jack_connect(client_, source.c_str(), jack_port_name(in_)) == 0 && done;
    }
    // Lights go to the devices only, not to a synthesizer that only listens.
    for (const std::string& target : otherPorts(client_, JackPortIsInput)) {
        if (!senders.contains(clientOf(target)) || jack_port_connected_to(out_, target.c_str()))
            continue;
        done = jack_connect(client_, jack_port_name(out_), target.c_str()) == 0 && done;
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

std::vector<std::string> JackMidi::devices() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> names;
    if (!client_ || !in_)
        return names;
    if (const char** connected = jack_port_get_connections(in_)) {
        for (const char** name = connected; *name; ++name)
            names.emplace_back(*name);
        jack_free(connected);
    }
    return names;
}

void JackMidi::process(jack_nframes_t frames) {
    if (!in_ || !out_)
        return;
    if (void* in = jack_port_get_buffer(in_, frames)) {
        const jack_nframes_t count = jack_midi_get_event_count(in);
        bool arrived = false;
        for (jack_nframes_t i = 0; i < count; ++i) {
            jack_midi_event_t event;
            if (jack_midi_event_get(&event, in, i) != 0 || event.size == 0 || event.size > 3)
                continue; // system exclusive and the like: not bound to anything
            MidiMessage message;
            std::memcpy(message.bytes.data(), event.buffer, event.size);
            message.size = static_cast<std::uint8_t>(event.size);
            arrived = received_.push(message) || arrived;
        }
        if (arrived)
            sem_post(&arrived_); // no lock: wakes our thread if it waits
    }
    if (void* out = jack_port_get_buffer(out_, frames)) {
        jack_midi_clear_buffer(out);
        MidiMessage message;
        while (outgoing_.pop(message))
            if (jack_midi_event_write(out, 0, message.bytes.data(), message.size) != 0)
                break; // the period's buffer is full: this one is lost, the rest waits
    }
}

} // namespace midi
