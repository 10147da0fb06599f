#include "platform/audio/output.h"

#include "platform/audio/bass.h"
#include "platform/audio/stream.h"

#include <algorithm>
#include <chrono>

namespace audio {

void CallbackTimes::record(double percent, bool late) {
    const auto bucket = static_cast<std::size_t>(std::clamp(percent, 0.0, 199.0));
    buckets_[bucket].fetch_add(1, std::memory_order_relaxed);
    callbacks_.fetch_add(1, std::memory_order_relaxed);
    if (late)
        late_.fetch_add(1, std::memory_order_relaxed);
    double seen = max_.load(std::memory_order_relaxed);
    while (percent > seen && !max_.compare_exchange_weak(seen, percent))
        ;
}

void CallbackTimes::reset() {
    for (auto& bucket : buckets_)
        bucket.store(0);
    callbacks_.store(0);
    late_.store(0);
    max_.store(0);
}

double CallbackTimes::percentile(double fraction) const {
    const std::uint64_t total = callbacks_.load();
    if (total == 0)
        return 0;
    const auto wanted = static_cast<std::uint64_t>(fraction * static_cast<double>(total));
    std::uint64_t seen = 0;
    for (std::size_t i = 0; i < buckets_.size(); ++i) {
        seen += buckets_[i].load();
        if (seen > wanted)
            return static_cast<double>(i + 1);
    }
    return static_cast<double>(buckets_.size());
}

int OfflineOutput::start() {
    if (failNextStart_ != 0) {
        const int code = failNextStart_;
        failNextStart_ = 0;
        return code;
    }
    running_ = true;
    return BASS_OK;
}

void OfflineOutput::render(std::int16_t* out, std::size_t frames, std::int16_t* phones) {
    for (std::size_t done = 0; done < frames;) {
        const std::size_t n = std::min(frames - done, Stream::maxChunkFrames);
        mixer_.fillFor(n);
        mixer_.render(out ? out + done * 2 : nullptr, n, noAudibleTime,
                      phones ? phones + done * 2 : nullptr);
        done += n;
    }
}

int SilentOutput::start() {
    if (thread_.joinable())
        return BASS_OK;
    buffer_.assign(periodFrames * 2, 0);
    stopping_.store(false);
    thread_ = std::thread([this] { run(); });
    return BASS_OK;
}

void SilentOutput::stop() {
    stopping_.store(true);
    if (thread_.joinable())
        thread_.join();
}

double SilentOutput::periodMicroseconds() const {
    return 1e6 * static_cast<double>(periodFrames) / mixer_.outputRate();
}

// Renders one period per period of wall-clock time, as a device would.
void SilentOutput::run() {
    using clock = std::chrono::steady_clock;
    const auto period = std::chrono::duration_cast<clock::duration>(
        std::chrono::duration<double, std::micro>(periodMicroseconds()));
    auto deadline = clock::now();
    while (!stopping_.load()) {
        const auto begin = clock::now();
        const bool late = begin > deadline + period;
        mixer_.render(buffer_.data(), periodFrames);
        times_.recordSince(begin, periodMicroseconds(), late);
        deadline += period;
        if (late)
            deadline = clock::now();
        std::this_thread::sleep_until(deadline);
    }
}

} // namespace audio
