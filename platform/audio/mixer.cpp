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
      recorded_(Stream::maxChunkFrames * 2, 0) {}

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

void Mixer::render(std::int16_t* out, std::size_t frames, double audibleAt) {
    epoch_.fetch_add(1);
    for (std::size_t done = 0; done < frames;) {
        const std::size_t n = std::min(frames - done, Stream::maxChunkFrames);
        const double chunkAudibleAt =
            audibleAt < 0 ? noAudibleTime : audibleAt + static_cast<double>(done) / outputRate_;
        renderChunk(out ? out + done * 2 : nullptr, n, chunkAudibleAt);
        done += n;
    }
    epoch_.fetch_add(1);
}

// The mix buffer is all zeros between chunks.
void Mixer::renderChunk(std::int16_t* out, std::size_t frames, double audibleAt) {
    for (auto& slot : slots_)
        if (Stream* stream = slot.load(std::memory_order_acquire))
            stream->render(mix_.data(), frames, audibleAt);
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

void Mixer::fillFor(std::size_t frames) {
    for (auto& slot : slots_)
        if (Stream* stream = slot.load())
            stream->fillFor(frames);
}

} // namespace audio
