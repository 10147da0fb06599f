#pragma once
// The sound devices the library offers: initialisation device n (from 0) is
// the n-th PortAudio output device; description n names device n - 1, so
// description 0 is the default output.
#include <string>
#include <vector>

namespace audio {

// What VORLAN_AUDIO asks for: a real device, the silent or the offline output.
enum class OutputMode { Device, Silent, Offline };
OutputMode outputModeFromEnvironment();

// Description texts: [0] the default output, [n] initialisation device n - 1.
// Under VORLAN_AUDIO=offline or silent, that output is the one device;
// otherwise PortAudio's list, read once. The texts live as long as the process.
const std::vector<std::string>& deviceDescriptions();

// What PortAudio's one look at the devices found (each look starts its JACK
// host, a JACK client of its own, which takes a tenth of a second): which
// output devices are JACK ports (their names; "" for others), and the
// default output's. Read once and kept, like the descriptions.
struct JackDevices {
    std::vector<std::string> byDevice; // initialisation device n -> JACK name or ""
    // The default output's JACK name, or "": PortAudio's default output when
    // it is a JACK device, else, while a JACK server runs, the JACK host's
    // (rather than an ALSA device that may only bridge to that server).
    std::string defaultOutput;
    bool hasDefaultOutput = false;
};
const JackDevices& portAudioJackDevices();

// Silences PortAudio's and ALSA's console output while it lives, and keeps
// PortAudio's JACK host from starting a JACK server.
class QuietConsole {
public:
    QuietConsole();
    ~QuietConsole();
    QuietConsole(const QuietConsole&) = delete;
    QuietConsole& operator=(const QuietConsole&) = delete;

private:
    int savedError_ = -1;
};

} // namespace audio
