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

// PortAudio's output devices, read once and kept.
const std::vector<std::string>& portAudioDescriptions() {
    static const std::vector<std::string> descriptions = [] {
        std::vector<std::string> names{"Default output"};
        QuietConsole quiet;
        if (Pa_Initialize() != paNoError)
            return names;
        for (PaDeviceIndex i = 0; i < Pa_GetDeviceCount(); ++i) {
            const PaDeviceInfo* info = Pa_GetDeviceInfo(i);
            if (info && info->maxOutputChannels > 0)
                names.push_back(info->name ? info->name : "Output device");
        }
        Pa_Terminate();
        return names;
    }();
    return descriptions;
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
    return portAudioDescriptions();
}

} // namespace audio
