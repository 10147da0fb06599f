#include "platform/midi/alsa_sequencer.h"

#include <QSocketNotifier>
#include <algorithm>
#include <alsa/asoundlib.h>
#include <cstring>
#include <unistd.h>

namespace midi {

namespace {

constexpr unsigned kReadable = SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ;
constexpr unsigned kWritable = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;

// The message of a sequencer event; empty (size 0) for the other events.
MidiMessage messageOf(const snd_seq_event_t& ev) {
    switch (ev.type) {
    case SND_SEQ_EVENT_NOTEON:
        return makeMessage(kNoteOn, ev.data.note.channel, ev.data.note.note, ev.data.note.velocity);
    case SND_SEQ_EVENT_NOTEOFF:
        return makeMessage(kNoteOff, ev.data.note.channel, ev.data.note.note,
                           ev.data.note.velocity);
    case SND_SEQ_EVENT_CONTROLLER:
        return makeMessage(kControlChange, ev.data.control.channel,
                           static_cast<int>(ev.data.control.param), ev.data.control.value);
    case SND_SEQ_EVENT_PITCHBEND: {
        const int bend = ev.data.control.value + 8192; // -8192..8191 from the centre
        return makeMessage(kPitchBend, ev.data.control.channel, bend & 0x7F, (bend >> 7) & 0x7F);
    }
    default:
        return {};
    }
}

} // namespace

AlsaSequencer::AlsaSequencer() {
    // Without the device ALSA would only print that it is missing.
    if (::access("/dev/snd/seq", R_OK | W_OK) != 0)
        return;
    if (snd_seq_open(&seq_, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK) < 0) {
        seq_ = nullptr;
        return;
    }
    snd_seq_set_client_name(seq_, "Vorlan");
    in_ = snd_seq_create_simple_port(
        seq_, "in", kWritable, SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    out_ = snd_seq_create_simple_port(
        seq_, "out", kReadable, SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    if (in_ < 0 || out_ < 0) {
        snd_seq_close(seq_);
        seq_ = nullptr;
        return;
    }
    // Clients and ports coming and going.
    snd_seq_connect_from(seq_, in_, SND_SEQ_CLIENT_SYSTEM, SND_SEQ_PORT_SYSTEM_ANNOUNCE);
}

AlsaSequencer::~AlsaSequencer() {
    notifiers_.clear();
    if (seq_)
        snd_seq_close(seq_);
}

void AlsaSequencer::setWake(std::function<void()> wake) {
    wake_ = std::move(wake);
    if (!seq_)
        return;
    const int count = snd_seq_poll_descriptors_count(seq_, POLLIN);
    std::vector<pollfd> fds(static_cast<std::size_t>(std::max(count, 0)));
    snd_seq_poll_descriptors(seq_, fds.data(), static_cast<unsigned>(fds.size()), POLLIN);
    for (const pollfd& fd : fds) {
        notifiers_.push_back(std::make_unique<QSocketNotifier>(fd.fd, QSocketNotifier::Read));
        QObject::connect(notifiers_.back().get(), &QSocketNotifier::activated, [this] { wake_(); });
    }
    wake_(); // the devices there already
}

void AlsaSequencer::connectAll() {
    devices_.clear();
    lights_.clear();
    const int own = snd_seq_client_id(seq_);
    snd_seq_client_info_t* client = nullptr;
    snd_seq_port_info_t* port = nullptr;
    snd_seq_client_info_alloca(&client);
    snd_seq_port_info_alloca(&port);
    snd_seq_client_info_set_client(client, -1);
    while (snd_seq_query_next_client(seq_, client) >= 0) {
        const int id = snd_seq_client_info_get_client(client);
        const char* clientName = snd_seq_client_info_get_name(client);
        if (id == own || id == SND_SEQ_CLIENT_SYSTEM ||
            std::strcmp(clientName, "Midi Through") == 0)
            continue;
        struct Port {
            int id;
            unsigned caps;
            std::string name;
        };
        std::vector<Port> ports;
        bool sends = false; // a device; a client that only listens (a synthesizer) gets no lights
        snd_seq_port_info_set_client(port, id);
        snd_seq_port_info_set_port(port, -1);
        while (snd_seq_query_next_port(seq_, port) >= 0) {
            const unsigned caps = snd_seq_port_info_get_capability(port);
            if (caps & SND_SEQ_PORT_CAP_NO_EXPORT)
                continue;
            ports.push_back({snd_seq_port_info_get_port(port), caps,
                             std::string(clientName) + ":" + snd_seq_port_info_get_name(port)});
            sends = sends || (caps & kReadable) == kReadable;
        }
        int firstWritable = -1;
        for (const Port& p : ports)
            if (firstWritable < 0 && (p.caps & kWritable) == kWritable)
                firstWritable = p.id;
        for (const Port& p : ports) {
            // An existing subscription answers -EBUSY: it stays as it is.
            if ((p.caps & kReadable) == kReadable) {
                const int result = snd_seq_connect_from(seq_, in_, id, p.id);
                const auto device = static_cast<std::uint32_t>(id << 8 | p.id);
                if (result >= 0 || result == -EBUSY) {
                    devices_.push_back({device, p.name});
                    const int lightsPort = (p.caps & kWritable) == kWritable ? p.id : firstWritable;
                    lights_[device] = lightsPort < 0 ? -1 : (id << 8 | lightsPort);
                }
            }
            if (sends && (p.caps & kWritable) == kWritable)
                snd_seq_connect_to(seq_, out_, id, p.id);
        }
    }
}

void AlsaSequencer::poll(std::vector<MidiMessage>& into) {
    if (!seq_)
        return;
    snd_seq_event_t* ev = nullptr;
    while (snd_seq_event_input(seq_, &ev) >= 0 && ev) {
        switch (ev->type) {
        case SND_SEQ_EVENT_CLIENT_START:
        case SND_SEQ_EVENT_CLIENT_EXIT:
        case SND_SEQ_EVENT_PORT_START:
        case SND_SEQ_EVENT_PORT_EXIT:
        case SND_SEQ_EVENT_PORT_CHANGE:
            rescan_ = true;
            break;
        default:
            if (MidiMessage message = messageOf(*ev); message.size) {
                message.device =
                    static_cast<std::uint32_t>(ev->source.client << 8 | ev->source.port);
                into.push_back(message);
            }
        }
    }
    if (rescan_) {
        rescan_ = false;
        connectAll();
    }
}

void AlsaSequencer::send(const MidiMessage& message) {
    if (!seq_)
        return;
    snd_seq_event_t ev;
    snd_seq_ev_clear(&ev);
    snd_seq_ev_set_source(&ev, out_);
    if (message.device == kAllDevices) {
        snd_seq_ev_set_subs(&ev);
    } else {
        const auto to = lights_.find(message.device);
        if (to == lights_.end() || to->second < 0)
            return;
        snd_seq_ev_set_dest(&ev, to->second >> 8, to->second & 0xFF);
    }
    snd_seq_ev_set_direct(&ev);
    const int channel = message.channel();
    switch (message.kind()) {
    case kNoteOn:
        snd_seq_ev_set_noteon(&ev, channel, message.data1(), message.data2());
        break;
    case kNoteOff:
        snd_seq_ev_set_noteoff(&ev, channel, message.data1(), message.data2());
        break;
    case kControlChange:
        snd_seq_ev_set_controller(&ev, channel, message.data1(), message.data2());
        break;
    case kPitchBend:
        snd_seq_ev_set_pitchbend(&ev, channel, message.data2() * 128 + message.data1() - 8192);
        break;
    default:
        return;
    }
    snd_seq_event_output_direct(seq_, &ev);
}

} // namespace midi
