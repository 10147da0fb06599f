#pragma once
// MIDI through the ALSA sequencer (every Linux desktop offers it, PipeWire
// included): a client "Vorlan" with a port "in" subscribed to every other
// client's readable port and a port "out" subscribed to every writable one
// (the sequencer's own "Midi Through" left out, which would echo our lights
// back). A device is a readable port; its id is its address (client << 8 |
// port), and its lights go straight to its own port when that is writable,
// else to its client's first writable port. The announce port tells when a
// device comes or goes; the next poll subscribes to the new ports. Read
// without blocking on the UI thread, when the sequencer's descriptors say
// something is there.
#include "platform/midi/midi_transport.h"

#include <map>
#include <memory>

class QSocketNotifier;
typedef struct _snd_seq snd_seq_t;

namespace midi {

class AlsaSequencer final : public MidiTransport {
public:
    AlsaSequencer();
    ~AlsaSequencer() override;
    AlsaSequencer(const AlsaSequencer&) = delete;
    AlsaSequencer& operator=(const AlsaSequencer&) = delete;

    // False where there is no sequencer (no /dev/snd/seq): then nothing is
    // connected and nothing arrives.
    bool open() const { return seq_ != nullptr; }

    void poll(std::vector<MidiMessage>& into) override;
    void send(const MidiMessage& message) override;
    std::vector<MidiDevice> devices() const override { return devices_; }
    void setWake(std::function<void()> wake) override;

private:
    void connectAll();

    snd_seq_t* seq_ = nullptr;
    int in_ = -1;
    int out_ = -1;
    bool rescan_ = true;
    std::vector<MidiDevice> devices_;     // the readable ports "in" is subscribed to
    std::map<std::uint32_t, int> lights_; // device id -> the address its lights go to, or -1
    std::function<void()> wake_;
    std::vector<std::unique_ptr<QSocketNotifier>> notifiers_;
};

} // namespace midi
