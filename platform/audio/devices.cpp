#include "platform/audio/devices.h"

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <portaudio.h>
#include <unistd.h>

namespace audio {

OutputMode outputModeFromEnvironment() {
    const char* value = std::getenv("VORLAN_AUDIO");
    if (!value)
        return OutputMode::Device;
    if (std::strcmp(value, "offline") == 0)
        return OutputMode::Offline;
    if (std::strcmp(value, "silent") == 0)
        return OutputMode::Silent;
    return OutputMode::Device;
}

QuietConsole::QuietConsole() {
    ::setenv("JACK_NO_START_SERVER", "1", 0);
    ::setenv("JACK_NO_AUDIO_RESERVATION", "1", 0);
    std::fflush(stderr);
    savedError_ = ::dup(STDERR_FILENO);
    const int null = ::open("/dev/null", O_WRONLY);
    if (null >= 0) {
        ::dup2(null, STDERR_FILENO);
        ::close(null);
    }
}

QuietConsole::~QuietConsole() {
    if (savedError_ >= 0) {
        std::fflush(stderr);
        ::dup2(savedError_, STDERR_FILENO);
        ::close(savedError_);
    }
}

namespace {

struct PortAudioList {
    std::vector<std::string> descriptions{"Default output"};
    JackDevices jack;
};

bool isJackDevice(const PaDeviceInfo& info) {
    const PaHostApiInfo* host = Pa_GetHostApiInfo(info.hostApi);
    return host && host->type == paJACK;
}

// PortAudio's output devices, read once and kept.
const PortAudioList& portAudioList() {
    static const PortAudioList list = [] {
        PortAudioList found;
        QuietConsole quiet;
        if (Pa_Initialize() != paNoError)
            return found;
        const PaDeviceIndex defaultOutput = Pa_GetDefaultOutputDevice();
        found.jack.hasDefaultOutput = defaultOutput != paNoDevice;
        for (PaDeviceIndex i = 0; i < Pa_GetDeviceCount(); ++i) {
            const PaDeviceInfo* info = Pa_GetDeviceInfo(i);
            if (!info || info->maxOutputChannels <= 0)
                continue;
            const std::string name = info->name ? info->name : "Output device";
            found.descriptions.push_back(name);
            found.jack.byDevice.push_back(isJackDevice(*info) ? name : "");
            if (i == defaultOutput)
                found.jack.defaultOutput = found.jack.byDevice.back();
        }
        const PaHostApiIndex jack = Pa_HostApiTypeIdToHostApiIndex(paJACK);
        const PaHostApiInfo* jackHost = jack >= 0 ? Pa_GetHostApiInfo(jack) : nullptr;
        if (found.jack.defaultOutput.empty() && jackHost &&
            jackHost->defaultOutputDevice != paNoDevice)
            if (const PaDeviceInfo* info = Pa_GetDeviceInfo(jackHost->defaultOutputDevice);
                info && info->name && info->maxOutputChannels > 0)
                found.jack.defaultOutput = info->name;
        Pa_Terminate();
        return found;
    }();
    return list;
}

} // namespace

const std::vector<std::string>& deviceDescriptions() {
    static const std::vector<std::string> offline{"Default output", "Offline output"};
    static const std::vector<std::string> silent{"Default output", "Silent output"};
    switch (outputModeFromEnvironment()) {
    case OutputMode::Offline:
        return offline;
    case OutputMode::Silent:
        return silent;
    case OutputMode::Device:
        break;
    }
    return portAudioList().descriptions;
}

const JackDevices& portAudioJackDevices() {
    return portAudioList().jack;
}

} // namespace audio
