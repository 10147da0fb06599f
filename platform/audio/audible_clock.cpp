#include "platform/audio/audible_clock.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace audio {

double steadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double audibleDelaySeconds(double outputBufferDacTime, double currentTime, double outputLatency) {
    if (outputBufferDacTime > 0 && currentTime > 0) {
        const double delay = outputBufferDacTime - currentTime;
        if (delay >= 0 && delay <= maxPlausibleDelaySeconds)
            return delay;
    }
    return std::isfinite(outputLatency) ? std::clamp(outputLatency, 0.0, maxPlausibleDelaySeconds)
                                        : 0.0;
}

void AudibleClock::record(const Chunk& chunk) {
    const std::uint64_t index = written_.load(std::memory_order_relaxed);
    Slot& slot = slots_[index % capacity];
    slot.index.store(busy, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    slot.audibleAt.store(chunk.audibleAt, std::memory_order_relaxed);
    slot.seconds.store(chunk.seconds, std::memory_order_relaxed);
    slot.startTicks.store(chunk.startTicks, std::memory_order_relaxed);
    slot.endTicks.store(chunk.endTicks, std::memory_order_relaxed);
    slot.ticksPerSecond.store(chunk.ticksPerSecond, std::memory_order_relaxed);
    slot.peaks.store(chunk.peaks, std::memory_order_relaxed);
    slot.index.store(index, std::memory_order_release);
    written_.store(index + 1, std::memory_order_release);
}

bool AudibleClock::read(std::uint64_t index, Chunk& chunk) const {
    const Slot& slot = slots_[index % capacity];
    const std::uint64_t before = slot.index.load(std::memory_order_acquire);
    chunk.audibleAt = slot.audibleAt.load(std::memory_order_relaxed);
    chunk.seconds = slot.seconds.load(std::memory_order_relaxed);
    chunk.startTicks = slot.startTicks.load(std::memory_order_relaxed);
    chunk.endTicks = slot.endTicks.load(std::memory_order_relaxed);
    chunk.ticksPerSecond = slot.ticksPerSecond.load(std::memory_order_relaxed);
    chunk.peaks = slot.peaks.load(std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_acquire);
    const std::uint64_t after = slot.index.load(std::memory_order_relaxed);
    return before == index && after == index;
}

void AudibleClock::restart(std::int64_t ticks) {
    first_.store(written_.load(std::memory_order_relaxed), std::memory_order_relaxed);
    floor_.store(ticks, std::memory_order_relaxed);
}

std::int64_t AudibleClock::ticksAt(double now) const {
    const std::int64_t floor = floor_.load(std::memory_order_relaxed);
    std::uint64_t written = 0;
    Chunk chunk, oldest;
    std::uint64_t seen = 0;
    // Should the output overwrite even the newest record while we read it, read again.
    for (int attempt = 0; attempt < 4 && seen == 0; ++attempt) {
        written = written_.load(std::memory_order_acquire);
        const std::uint64_t kept = std::min<std::uint64_t>(written - first_.load(), capacity);
        for (; seen < kept; ++seen) {
            if (!read(written - 1 - seen, chunk))
                break; // overwritten while we read: older records are gone
            if (chunk.audibleAt <= now)
                return std::max(positionWithin(chunk, now), floor);
            oldest = chunk;
        }
        if (seen == kept)
            break;
    }
    // Nothing recorded is heard yet. When older records were lost, the oldest
    // one left tells how far back the position heard now lies.
    const bool lost = seen > 0 && written - first_.load() > seen;
    if (!lost)
        return floor;
    const double back = (oldest.audibleAt - now) * oldest.ticksPerSecond;
    return std::max(oldest.startTicks - static_cast<std::int64_t>(back), floor);
}

std::int64_t AudibleClock::positionWithin(const Chunk& chunk, double now) {
    const double moved = (now - chunk.audibleAt) * chunk.ticksPerSecond;
    const auto rendered = static_cast<double>(chunk.endTicks - chunk.startTicks);
    return moved < rendered ? chunk.startTicks + static_cast<std::int64_t>(moved) : chunk.endTicks;
}

std::uint32_t AudibleClock::peaksAt(double now, double window) const {
    const std::uint64_t written = written_.load(std::memory_order_acquire);
    const std::uint64_t kept = std::min<std::uint64_t>(written - first_.load(), capacity);
    std::uint32_t left = 0, right = 0;
    Chunk chunk;
    for (std::uint64_t i = 0; i < kept; ++i) {
        if (!read(written - 1 - i, chunk))
            break;
        if (chunk.audibleAt > now)
            continue;
        if (chunk.audibleAt + chunk.seconds <= now - window)
            break;
        left = std::max(left, chunk.peaks & 0xFFFF);
        right = std::max(right, chunk.peaks >> 16);
    }
    return left | (right << 16);
}

} // namespace audio
