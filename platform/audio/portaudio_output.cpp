#include "platform/audio/audible_clock.h"
#include "platform/audio/bass.h"
#include "platform/audio/devices.h"
#include "platform/audio/output.h"
#include "platform/audio/phones_device.h"
#include "platform/audio/rate_converter.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <pa_jack.h>
#include <portaudio.h>
#include <string>
#include <vector>

namespace audio {
namespace {

// Frames per callback on devices whose period we choose.
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

bool isJack(const PaDeviceInfo& info) {
    const PaHostApiInfo* host = Pa_GetHostApiInfo(info.hostApi);
    return host && host->type == paJACK;
}

class PortAudioOutput final : public Output {
public:
    explicit PortAudioOutput(int rate) : Output(rate), deviceRate_(rate) {}
    ~PortAudioOutput() override {
        // A stream whose device went away is left as it is: stopping it could
        // wait for a device that no longer answers. Its callback no longer
        // runs; what its last run wrote is seen before this object goes.
        if (abandoned()) {
            callbacksDone_.load(std::memory_order_acquire);
            return;
        }
        QuietConsole quiet;
        if (stream_) {
            Pa_StopStream(stream_);
            Pa_CloseStream(stream_);
        }
        phonesDevice_.reset();
        if (initialised_)
            Pa_Terminate();
    }

    // Opens `device` at the engine's rate when it takes that rate, else at
    // its own rate with the mix converted to it. A device of the JACK host is
    // not opened here: its client name goes to `jackTarget` for the JACK
    // output. With `phones`, output device `phonesDevice` (numbered as
    // `device`) plays the headphone mix, or without one, a device of four
    // channels or more plays the main mix on its first two channels and the
    // headphone mix on the third and fourth.
    int open(int device, std::string& jackTarget, bool phones, int phonesDevice) {
        QuietConsole quiet;
        PaJack_SetClientName("Vorlan");
        if (Pa_Initialize() != paNoError)
            return BASS_ERROR_DRIVER;
        initialised_ = true;
        const PaDeviceIndex index = outputDeviceIndex(device);
        if (index == paNoDevice)
            return BASS_ERROR_DEVICE;
        const PaDeviceInfo* info = Pa_GetDeviceInfo(index);
        if (isJack(*info)) {
            jackTarget = info->name ? info->name : "system";
            return BASS_OK;
        }
        phones_ = phones && phonesDevice < 0 && info->maxOutputChannels >= 4;
        PaStreamParameters parameters{};
        parameters.device = index;
        parameters.channelCount = phones_ ? 4 : 2;
        parameters.sampleFormat = paInt16;
        parameters.suggestedLatency = info->defaultLowOutputLatency;
        if (Pa_IsFormatSupported(nullptr, &parameters, mixer_.outputRate()) !=
            paFormatIsSupported) {
            deviceRate_ = static_cast<int>(std::lround(info->defaultSampleRate));
            if (deviceRate_ <= 0)
                return BASS_ERROR_DRIVER;
            converter_ = std::make_unique<RateConverter>(mixer_.outputRate(), deviceRate_, phones_);
            if (!converter_->ready())
                return BASS_ERROR_MEM;
            parameters.sampleFormat = paFloat32;
        }
        if (Pa_OpenStream(&stream_, nullptr, &parameters, deviceRate_, periodFrames, paNoFlag,
                          &PortAudioOutput::callback, this) != paNoError) {
            stream_ = nullptr;
            return BASS_ERROR_DRIVER;
        }
        if (const PaStreamInfo* streamInfo = Pa_GetStreamInfo(stream_))
            latencySeconds_ = streamInfo->outputLatency;
        if (phones_) {
            pairs_.assign(pieceFrames * 4, 0);
            floatPairs_.assign(pieceFrames * 4, 0.0f);
        }
        if (phones && phonesDevice >= 0)
            openPhonesDevice(outputDeviceIndex(phonesDevice), index);
        return BASS_OK;
    }

    int start() override {
        if (abandoned())
            return BASS_ERROR_DRIVER;
        if (running_)
            return BASS_OK;
        QuietConsole quiet;
        if (Pa_StartStream(stream_) != paNoError)
            return BASS_ERROR_DRIVER;
        running_ = true;
        if (phonesDevice_)
            phonesDevice_->start();
        return BASS_OK;
    }
    void stop() override {
        if (abandoned() || !running_)
            return;
        QuietConsole quiet;
        Pa_StopStream(stream_);
        if (phonesDevice_)
            phonesDevice_->stop();
        running_ = false;
    }
    bool lost() const override { return abandoned(); }
    bool realTime() const override { return true; }
    double periodMicroseconds() const override {
        const unsigned long frames = callbackFrames_.load(std::memory_order_relaxed);
        return 1e6 * static_cast<double>(frames ? frames : periodFrames) / deviceRate_;
    }
    std::optional<double> audibleNow() const override { return steadySeconds(); }
    bool hasPhones() const override { return phones_ || phonesDevice_; }

private:
    // Frames rendered at a time on a four-channel device.
    static constexpr std::size_t pieceFrames = 256;
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
        const double audibleAt =
            std::chrono::duration<double>(begin.time_since_epoch()).count() + delay;
        if (out->phonesDevice_)
            out->renderWithPhonesDevice(output, frames, audibleAt);
        else if (out->phones_)
            for (unsigned long done = 0; done < frames;) {
                const std::size_t n = std::min<std::size_t>(pieceFrames, frames - done);
                out->renderFourChannels(output, done, n, audibleAt + done / out->deviceRate_);
                done += n;
            }
        else if (out->converter_)
            out->converter_->fill(
                static_cast<float*>(output), frames,
                [out, audibleAt](std::int16_t* block, std::size_t n, double after) {
                    out->mixer_.render(block, n, audibleAt + after);
                });
        else
            out->mixer_.render(static_cast<std::int16_t*>(output), frames, audibleAt);
        out->callbackFrames_.store(frames, std::memory_order_relaxed);
        out->times_.recordSince(begin, 1e6 * static_cast<double>(frames) / out->deviceRate_,
                                (flags & paOutputUnderflow) != 0);
        out->callbacksDone_.fetch_add(1, std::memory_order_release);
        return paContinue;
    }

    // `n` frames from frame `at` of a four-channel buffer: the main mix on
    // channels 1-2, the headphone mix on 3-4 (16-bit, or float through the
    // rate conversion). Output thread.
    void renderFourChannels(void* output, std::size_t at, std::size_t n, double audibleAt) {
        std::int16_t* main = pairs_.data();
        std::int16_t* phones = pairs_.data() + pieceFrames * 2;
        if (converter_) {
            float* mainFloats = floatPairs_.data();
            float* phonesFloats = floatPairs_.data() + pieceFrames * 2;
            converter_->fillPairs(mainFloats, phonesFloats, n,
                                  [this, audibleAt](std::int16_t* block, std::int16_t* second,
                                                    std::size_t count, double after) {
                                      mixer_.render(block, count, audibleAt + after, second);
                                  });
            interleave(static_cast<float*>(output) + at * 4, mainFloats, phonesFloats, n);
            return;
        }
        mixer_.render(main, n, audibleAt, phones);
        interleave(static_cast<std::int16_t*>(output) + at * 4, main, phones, n);
    }
    // The main mix into `output` and the headphone mix to the second card.
    // Output thread.
    void renderWithPhonesDevice(void* output, std::size_t frames, double audibleAt) {
        std::int16_t* phones = pairs_.data();
        const auto renderBoth = [this, phones](std::int16_t* main, std::size_t n, double at) {
            mixer_.render(main, n, at, phones);
            phonesDevice_->push(phones, n);
        };
        if (converter_) {
            converter_->fill(static_cast<float*>(output), frames,
                             [&](std::int16_t* block, std::size_t n, double after) {
                                 renderBoth(block, n, audibleAt + after);
                             });
            return;
        }
        for (std::size_t done = 0; done < frames;) {
            const std::size_t n = std::min<std::size_t>(pieceFrames, frames - done);
            renderBoth(static_cast<std::int16_t*>(output) + done * 2, n,
                       audibleAt + static_cast<double>(done) / deviceRate_);
            done += n;
        }
    }
    // Opens PortAudio device `index` for the headphone mix, unless it is the
    // main device or one of the JACK host; without it there are no headphones.
    void openPhonesDevice(PaDeviceIndex index, PaDeviceIndex mainIndex) {
        const PaDeviceInfo* info = index == paNoDevice ? nullptr : Pa_GetDeviceInfo(index);
        if (!info || index == mainIndex || isJack(*info))
            return;
        pairs_.assign(std::max<std::size_t>(pieceFrames, RateConverter::maxBlockFrames) * 2, 0);
        phonesDevice_ = std::make_unique<PhonesDevice>(mixer_.outputRate(), periodFrames);
        if (!phonesDevice_->open(index))
            phonesDevice_.reset();
    }
    template <typename Sample>
    static void interleave(Sample* out, const Sample* main, const Sample* phones, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) {
            out[i * 4] = main[i * 2];
            out[i * 4 + 1] = main[i * 2 + 1];
            out[i * 4 + 2] = phones[i * 2];
            out[i * 4 + 3] = phones[i * 2 + 1];
        }
    }

    // User-interface thread: true once the started stream has ended by
    // itself (its device or server went away); it is never touched again.
    bool abandoned() const {
        if (!abandoned_ && running_ && Pa_IsStreamActive(stream_) != 1)
            abandoned_ = true;
        return abandoned_;
    }

    PaStream* stream_ = nullptr;
    bool initialised_ = false;
    bool running_ = false;
    mutable bool abandoned_ = false;
    int deviceRate_; // the engine's rate, or the device's own when it does not take that
    // Set when the device does not take the engine's rate; before the stream starts.
    std::unique_ptr<RateConverter> converter_;
    // With the headphone mix on channels 3-4: the two pairs of a piece
    // before they are interleaved (main, then phones). Made before the start.
    bool phones_ = false;
    // With the headphone mix on a second card: that card.
    std::unique_ptr<PhonesDevice> phonesDevice_;
    std::vector<std::int16_t> pairs_;
    std::vector<float> floatPairs_;
    double latencySeconds_ = 0; // as the opened stream reports it; set before it starts
    std::atomic<unsigned long> callbackFrames_{0};
    std::atomic<std::uint64_t> callbacksDone_{0};
    static_assert(std::atomic<unsigned long>::is_always_lock_free);
};

} // namespace

std::unique_ptr<Output> openPortAudioOutput(int device, int rate, int& error, bool phones,
                                            int phonesDevice) {
    // A JACK device of the list read once goes straight to the JACK output,
    // without PortAudio starting its JACK host again; when that fails (the
    // server went since), PortAudio looks at the devices anew.
    const JackDevices& jack = portAudioJackDevices();
    const std::string known = device < 0 ? jack.defaultOutput
                                         : (static_cast<std::size_t>(device) < jack.byDevice.size()
                                                ? jack.byDevice[device]
                                                : "");
    if (!known.empty())
        if (auto output = openJackOutput(known, rate, error, phones))
            return output;
    auto output = std::make_unique<PortAudioOutput>(rate);
    std::string jackTarget;
    error = output->open(device, jackTarget, phones, phonesDevice);
    if (error != BASS_OK)
        return nullptr;
    if (!jackTarget.empty()) {
        output.reset();
        return openJackOutput(jackTarget, rate, error, phones);
    }
    return output;
}

bool portAudioHasOutput() {
    return portAudioJackDevices().hasDefaultOutput;
}

} // namespace audio
