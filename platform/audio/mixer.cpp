#include "platform/audio/mixer.h"

#include "platform/audio/recorder.h"
#include "platform/audio/sample_math.h"
#include "platform/audio/stream.h"

#include <algorithm>
#include <cmath>
#include <thread>

namespace audio {

Mixer::Mixer(int outputRate)
    : outputRate_(outputRate), mix_(Stream::maxChunkFrames * 2, 0.0f),
      recorded_(Stream::maxChunkFrames * 2, 0), cue_(Stream::maxChunkFrames * 2, 0.0f),
      phonesMix_(Stream::maxChunkFrames * 2, 0.0f) {}

bool Mixer::add(Stream* stream) {
    for (auto& slot : slots_)
        if (slot.load() == stream)
            return true;
    for (auto& slot : slots_) {
        Stream* empty = nullptr;
        if (slot.compare_exchange_strong(empty, stream))
            return true;
    }
    return false;
}

void Mixer::remove(Stream* stream) {
    for (auto& slot : slots_) {
        Stream* expected = stream;
        slot.compare_exchange_strong(expected, nullptr);
    }
    waitIdle();
}

void Mixer::waitIdle() const {
    const std::uint64_t seen = epoch_.load();
    if ((seen & 1) == 0)
        return;
    while (epoch_.load() == seen)
        std::this_thread::yield();
}

void Mixer::render(std::int16_t* out, std::size_t frames, double audibleAt, std::int16_t* phones) {
    epoch_.fetch_add(1);
    for (std::size_t done = 0; done < frames;) {
        const std::size_t n = std::min(frames - done, Stream::maxChunkFrames);
        const double chunkAudibleAt =
            audibleAt < 0 ? noAudibleTime : audibleAt + static_cast<double>(done) / outputRate_;
        renderChunk(out ? out + done * 2 : nullptr, n, chunkAudibleAt,
                    phones ? phones + done * 2 : nullptr);
        done += n;
    }
    epoch_.fetch_add(1);
}

// The mix buffer is all zeros between chunks.
void Mixer::renderChunk(std::int16_t* out, std::size_t frames, double audibleAt,
                        std::int16_t* phones) {
    float* cue = phones ? cue_.data() : nullptr;
    for (auto& slot : slots_)
        if (Stream* stream = slot.load(std::memory_order_acquire))
            stream->render(mix_.data(), frames, audibleAt, cue);
    if (phones)
        mixPhones(phones, frames);
    Recorder* recorder = recorder_.load(std::memory_order_acquire);
    if (!out && recorder)
        out = recorded_.data();
    if (out)
        toSamplesAndClear(mix_.data(), out, frames * 2);
    else
        std::fill_n(mix_.begin(), frames * 2, 0.0f);
    if (recorder)
        recorder->push(out, frames);
}

void Mixer::mixPhones(std::int16_t* phones, std::size_t frames) {
    const float main = std::clamp(phonesMain_.load(std::memory_order_relaxed), 0.0f, 1.0f);
    const float volume = std::clamp(phonesVolume_.load(std::memory_order_relaxed), 0.0f, 1.0f);
    const float* m = mix_.data();
    float* c = cue_.data();
    float* p = phonesMix_.data();
    if (phonesSplit_.load(std::memory_order_relaxed)) {
        for (std::size_t i = 0; i < frames; ++i) {
            p[i * 2] = volume * 0.5f * (c[i * 2] + c[i * 2 + 1]);
            p[i * 2 + 1] = volume * 0.5f * (m[i * 2] + m[i * 2 + 1]);
        }
    } else {
        const float cueGain = volume * (1.0f - main), mainGain = volume * main;
        for (std::size_t i = 0; i < frames * 2; ++i)
            p[i] = cueGain * c[i] + mainGain * m[i];
    }
    std::fill_n(c, frames * 2, 0.0f);
    toSamplesAndClear(p, phones, frames * 2);
}

void Mixer::fillFor(std::size_t frames) {
    for (auto& slot : slots_)
        if (Stream* stream = slot.load())
            stream->fillFor(frames);
}

} // namespace audio
