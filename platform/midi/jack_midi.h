#pragma once
// MIDI on the JACK output's client "Vorlan": each device (another client's
// MIDI output port) gets a pair of ports of ours, "midi_in"/"midi_out" for
// the first, "midi_in_2"/"midi_out_2" and on for the next, so what a device
// sends is known as its own and its lights go to it alone. Devices there at
// the start and those registered later are connected; a pair freed by a
// device that went is used by the next one (ports stay registered while the
// client lives, so the process thread never sees one go). Messages are read
// in the client's process callback and reach the UI thread through a
// lock-free queue; the callback wakes the UI thread by adding to a
// non-blocking event counter (eventfd), which neither waits nor locks in
// user space, like a semaphore post. Sent messages go the other way and
// leave at the start of the next period.
#include "platform/audio/jack_client_hook.h"
#include "platform/midi/midi_transport.h"

#include <array>
#include <atomic>
#include <memory>
#include <mutex>

class QSocketNotifier;

namespace midi {

class JackMidi final : public MidiTransport, private audio::JackClientHook {
public:
    // Hooks onto the JACK output's client (now, or when it opens).
    JackMidi();
    ~JackMidi() override;
    JackMidi(const JackMidi&) = delete;
    JackMidi& operator=(const JackMidi&) = delete;

    // Devices played at once, at most.
    static constexpr std::size_t kPairs = 16;

    void poll(std::vector<MidiMessage>& into) override;
    void send(const MidiMessage& message) override;
    std::vector<MidiDevice> devices() const override;
    void setWake(std::function<void()> wake) override;

private:
    void attach(jack_client_t* client) override;
    void detach(jack_client_t* client, bool lost) override;
    void process(jack_nframes_t frames) override;
    void portsChanged() override {
        rescan_.store(true);
        wakeUi();
    }
    // Any thread, real-time ones included: adds one to the event counter the
    // UI thread's notifier watches. Never blocks: when the counter is full a
    // wake is already waiting to be read.
    void wakeUi() const;
    // Connects a pair of our ports to every MIDI output port of the other
    // clients (and its lights to the device's input); true when done.
    bool connectAll();
    // The pair for the device sending from `source`: its own, or a free one
    // (registered when new); null when all are taken.
    struct Pair;
    Pair* pairFor(const std::string& source);

    struct Pair {
        // Registered on the UI thread before they are stored; the process
        // thread only reads them.
        std::atomic<jack_port_t*> in{nullptr};
        std::atomic<jack_port_t*> out{nullptr};
        std::string source; // UI thread, under mutex_: the device's port, empty when free
    };

    mutable std::mutex mutex_; // client_ and the pairs' sources between threads
    jack_client_t* client_ = nullptr;
    std::array<Pair, kPairs> pairs_;
    MessageRing received_; // process thread -> UI thread
    MessageRing outgoing_; // UI thread -> process thread
    std::atomic<bool> rescan_{false};
    // eventfd: the process and notification threads -> the UI thread's
    // notifier; made before the hook goes live, closed after it is gone.
    int wakeFd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace midi
