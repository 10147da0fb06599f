#pragma once
// MIDI on the JACK output's client "Vorlan": ports "midi_in" and "midi_out"
// are registered on the client when it opens (they go with it). "midi_in"
// is connected to every other client's MIDI output port and "midi_out" to
// every other client's MIDI input port, those there at the start and those
// registered later. Messages are read in the client's process callback and
// reach the UI thread through a lock-free queue, and a semaphore (posted
// without locking) wakes a thread of ours that tells the UI thread through
// an event descriptor; sent messages go the other way and leave at the
// start of the next period.
#include "platform/audio/jack_client_hook.h"
#include "platform/midi/midi_transport.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <semaphore.h>
#include <thread>

class QSocketNotifier;

namespace midi {

class JackMidi final : public MidiTransport, private audio::JackClientHook {
public:
    // Hooks onto the JACK output's client (now, or when it opens).
    JackMidi();
    ~JackMidi() override;
    JackMidi(const JackMidi&) = delete;
    JackMidi& operator=(const JackMidi&) = delete;

    void poll(std::vector<MidiMessage>& into) override;
    void send(const MidiMessage& message) override;
    std::vector<std::string> devices() const override;
    void setWake(std::function<void()> wake) override;

private:
    void attach(jack_client_t* client) override;
    void detach(jack_client_t* client, bool lost) override;
    void process(jack_nframes_t frames) override;
    void portsChanged() override {
        rescan_.store(true);
        sem_post(&arrived_);
    }
    // Our thread: tells the UI thread of what arrived until the transport goes.
    void runWaker();
    // Connects our ports to every MIDI port of the other clients; true when done.
    bool connectAll();

    mutable std::mutex mutex_; // client_ between the UI and the engine's threads
    jack_client_t* client_ = nullptr;
    // Registered before the hook goes live; the process thread only reads them.
    jack_port_t* in_ = nullptr;
    jack_port_t* out_ = nullptr;
    MessageRing received_; // process thread -> UI thread
    MessageRing outgoing_; // UI thread -> process thread
    std::atomic<bool> rescan_{false};
    sem_t arrived_{}; // posted by the process and notification threads
    int wakeFd_ = -1; // eventfd: our thread -> the UI thread's notifier
    std::unique_ptr<QSocketNotifier> notifier_;
    std::atomic<bool> stopping_{false};
    std::thread waker_;
};

} // namespace midi
