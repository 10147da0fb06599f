#include "platform/audio/audible_clock.h"
#include "platform/audio/bass.h"
#include "platform/audio/devices.h"
#include "platform/audio/output.h"

#include <chrono>
#include <portaudio.h>

namespace audio {
namespace {

constexpr unsigned long periodFrames = 512;

// The index PortAudio gives the n-th output device (-1 = its default output).
PaDeviceIndex outputDeviceIndex(int device) {
    if (device < 0)
        return Pa_GetDefaultOutputDevice();
    int seen = 0;
    for (PaDeviceIndex i = 0; i < Pa_GetDeviceCount(); ++i) {
        const PaDeviceInfo* info = Pa_GetDeviceInfo(i);
        if (info && info->maxOutputChannels > 0 && seen++ == device)
            return i;
    }
    return paNoDevice;
}

class PortAudioOutput final : public Output {
public:
    explicit PortAudioOutput(int rate) : Output(rate) {}
    ~PortAudioOutput() override {
        if (stream_) {
            QuietConsole quiet;
            Pa_StopStream(stream_);
            Pa_CloseStream(stream_);
        }
        if (initialised_)
            Pa_Terminate();
    }

    int open(int device) {
        QuietConsole quiet;
        if (Pa_Initialize() != paNoError)
            return BASS_ERROR_DRIVER;
        initialised_ = true;
        const PaDeviceIndex index = outputDeviceIndex(device);
        if (index == paNoDevice)
            return BASS_ERROR_DEVICE;
        const PaDeviceInfo* info = Pa_GetDeviceInfo(index);
        PaStreamParameters parameters{};
        parameters.device = index;
        parameters.channelCount = 2;
        parameters.sampleFormat = paInt16;
        parameters.suggestedLatency = info->defaultLowOutputLatency;
        if (Pa_OpenStream(&stream_, nullptr, &parameters, mixer_.outputRate(), periodFrames,
                          paNoFlag, &PortAudioOutput::callback, this) != paNoError) {
            stream_ = nullptr;
            return BASS_ERROR_DRIVER;
        }
        if (const PaStreamInfo* streamInfo = Pa_GetStreamInfo(stream_))
            latencySeconds_ = streamInfo->outputLatency;
        return BASS_OK;
    }

    int start() override {
        if (Pa_IsStreamActive(stream_) == 1)
            return BASS_OK;
        QuietConsole quiet;
        return Pa_StartStream(stream_) == paNoError ? BASS_OK : BASS_ERROR_DRIVER;
    }
    void stop() override {
        if (Pa_IsStreamActive(stream_) == 1)
            Pa_StopStream(stream_);
    }
    bool realTime() const override { return true; }
    double periodMicroseconds() const override {
        return 1e6 * static_cast<double>(periodFrames) / mixer_.outputRate();
    }
    std::optional<double> audibleNow() const override { return steadySeconds(); }

private:
    // Real-time: no locks, no allocation, no I/O.
    static int callback(const void*, void* output, unsigned long frames,
                        const PaStreamCallbackTimeInfo* time, PaStreamCallbackFlags flags,
                        void* self) {
        auto* out = static_cast<PortAudioOutput*>(self);
        const auto begin = std::chrono::steady_clock::now();
        // The first frame of this buffer is heard `delay` seconds from now.
        const double delay =
            audibleDelaySeconds(time ? time->outputBufferDacTime : 0, time ? time->currentTime : 0,
                                out->latencySeconds_);
        const double now = std::chrono::duration<double>(begin.time_since_epoch()).count();
        out->mixer_.render(static_cast<std::int16_t*>(output), frames, now + delay);
        const double spent =
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - begin)
                .count();
        const double period = 1e6 * static_cast<double>(frames) / out->mixer_.outputRate();
        out->times_.record(100.0 * spent / period, (flags & paOutputUnderflow) != 0);
        return paContinue;
    }

    PaStream* stream_ = nullptr;
    bool initialised_ = false;
    double latencySeconds_ = 0; // as the opened stream reports it; set before it starts
};

} // namespace

std::unique_ptr<Output> openPortAudioOutput(int device, int rate, int& error) {
    auto output = std::make_unique<PortAudioOutput>(rate);
    error = output->open(device);
    if (error != BASS_OK)
        return nullptr;
    return output;
}

bool portAudioHasOutput() {
    QuietConsole quiet;
    if (Pa_Initialize() != paNoError)
        return false;
    const bool has = Pa_GetDefaultOutputDevice() != paNoDevice;
    Pa_Terminate();
    return has;
}

} // namespace audio
