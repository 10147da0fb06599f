#include "platform/audio/phones_device.h"

#include "platform/audio/devices.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <portaudio.h>
#include <samplerate.h>

namespace audio {
namespace {

// Frames taken from the ring at a time, and the card's own period.
constexpr std::size_t takeFrames = 256;
constexpr unsigned long cardPeriodFrames = 512;
// The correction never reads more than this much faster or slower.
constexpr double mostCorrection = 0.001;

int phonesCallback(const void*, void* output, unsigned long frames, const PaStreamCallbackTimeInfo*,
                   PaStreamCallbackFlags, void* self) {
    static_cast<PhonesDevice*>(self)->fill(static_cast<float*>(output), frames);
    return paContinue;
}

} // namespace

double DriftControl::correction(double filled) {
    if (average_ < 0)
        held_ = average_ = filled;
    // The fill jumps by whole periods of both cards; its average over about
    // fifty calls is what drifts.
    average_ += 0.02 * (filled - average_);
    const double error = std::clamp((average_ - held_) / held_, -1.0, 1.0);
    // A steady drift (the cards' clocks differ by a constant ratio) is taken
    // up by the integral; the proportional part answers quickly.
    integral_ = std::clamp(integral_ + 0.00002 * error, -mostCorrection, mostCorrection);
    return std::clamp(1.0 + 0.0005 * error + integral_, 1.0 - mostCorrection, 1.0 + mostCorrection);
}

PhonesDevice::PhonesDevice(int mixRate, std::size_t periodFrames)
    : mixRate_(mixRate), ring_(8 * (2 * periodFrames + cardPeriodFrames)),
      drift_(static_cast<double>(2 * periodFrames + cardPeriodFrames)), taken_(takeFrames * 2),
      input_(takeFrames * 2), deviceRate_(mixRate) {
    int error = 0;
    resampler_ = src_new(SRC_SINC_FASTEST, 2, &error);
}

PhonesDevice::~PhonesDevice() {
    QuietConsole quiet;
    if (stream_) {
        if (running_)
            Pa_StopStream(stream_);
        Pa_CloseStream(stream_);
    }
    if (resampler_)
        src_delete(resampler_);
}

bool PhonesDevice::open(int index) {
    const PaDeviceInfo* info = Pa_GetDeviceInfo(index);
    if (!info || info->maxOutputChannels < 2)
        return false;
    PaStreamParameters parameters{};
    parameters.device = index;
    parameters.channelCount = 2;
    parameters.sampleFormat = paFloat32;
    parameters.suggestedLatency = info->defaultLowOutputLatency;
    deviceRate_ = Pa_IsFormatSupported(nullptr, &parameters, mixRate_) == paFormatIsSupported
                      ? mixRate_
                      : static_cast<int>(std::lround(info->defaultSampleRate));
    if (deviceRate_ <= 0 || !resampler_)
        return false;
    if (Pa_OpenStream(&stream_, nullptr, &parameters, deviceRate_, cardPeriodFrames, paNoFlag,
                      &phonesCallback, this) != paNoError) {
        stream_ = nullptr;
        return false;
    }
    return true;
}

bool PhonesDevice::start() {
    if (!stream_)
        return false;
    if (!running_)
        running_ = Pa_StartStream(stream_) == paNoError;
    return running_;
}

void PhonesDevice::stop() {
    if (stream_ && running_)
        Pa_StopStream(stream_);
    running_ = false;
}

void PhonesDevice::push(const std::int16_t* frames, std::size_t count) {
    std::size_t done = 0;
    const std::size_t written = ring_.produceInto(count, [&](std::int16_t* into, std::size_t room) {
        std::memcpy(into, frames + done * 2, room * 2 * sizeof(std::int16_t));
        done += room;
        return room;
    });
    if (written < count)
        dropped_.fetch_add(count - written, std::memory_order_relaxed);
}

void PhonesDevice::fill(float* out, std::size_t frames) {
    const auto silence = [&](std::size_t from) {
        std::fill(out + from * 2, out + frames * 2, 0.0f);
        silent_.fetch_add(frames - from, std::memory_order_relaxed);
    };
    const std::size_t waiting = ring_.readable();
    // After the start or a gap, the card waits until the ring holds enough
    // to play on without running dry at every period.
    if (!primed_) {
        if (static_cast<double>(waiting) < drift_.start())
            return silence(0);
        primed_ = true;
    }
    const double correction = drift_.correction(static_cast<double>(waiting + inputFrames_));
    const double ratio = static_cast<double>(deviceRate_) / mixRate_ / correction;
    for (std::size_t done = 0; done < frames;) {
        if (inputFrames_ == 0) {
            const std::size_t got = ring_.read(taken_.data(), takeFrames);
            if (got == 0) {
                // The cards' periods need more room than the start gave:
                // wait for more from now on.
                primed_ = false;
                drift_.restart(static_cast<double>(ring_.capacity()) / 2);
                return silence(done);
            }
            for (std::size_t i = 0; i < got * 2; ++i)
                input_[i] = static_cast<float>(taken_[i]) / 32768.0f;
            inputOffset_ = 0;
            inputFrames_ = got;
        }
        SRC_DATA data{};
        data.data_in = input_.data() + inputOffset_ * 2;
        data.input_frames = static_cast<long>(inputFrames_);
        data.data_out = out + done * 2;
        data.output_frames = static_cast<long>(frames - done);
        data.src_ratio = ratio;
        if (src_process(resampler_, &data) != 0 ||
            (data.input_frames_used == 0 && data.output_frames_gen == 0))
            return silence(done);
        inputOffset_ += static_cast<std::size_t>(data.input_frames_used);
        inputFrames_ -= static_cast<std::size_t>(data.input_frames_used);
        done += static_cast<std::size_t>(data.output_frames_gen);
    }
}

} // namespace audio
