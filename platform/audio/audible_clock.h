#pragma once
// What one stream's listener hears on a device output: the output thread
// records, per rendered chunk, when the chunk reaches the listener and which
// stream position it covers; the user-interface thread asks for the position
// and the level heard at a given time. Lock-free: every record is a
// sequence-locked slot of atomics in a fixed ring.
//
// Times are seconds on the monotonic clock (steadySeconds()). Positions are
// "ticks": source frames x output rate, as the stream counts them.
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace audio {

// Seconds on the monotonic clock (safe on the output thread).
double steadySeconds();

// Seconds from a device callback until the first frame of its buffer is
// heard: from PortAudio's dac and current times when both are given and
// plausible (0..maxPlausibleDelaySeconds), else the stream's reported output
// latency (negative or missing latency counts as 0).
double audibleDelaySeconds(double outputBufferDacTime, double currentTime, double outputLatency);
inline constexpr double maxPlausibleDelaySeconds = 2.0;
// The time outputs without a listener clock pass for a chunk.
inline constexpr double noAudibleTime = -1.0;

class AudibleClock {
public:
    // Records kept: 256 chunks of up to 512 frames is ~3 s at 44.1 kHz,
    // ~0.7 s at 192 kHz, more than any device buffers.
    static constexpr std::size_t capacity = 256;

    struct Chunk {
        double audibleAt = 0;        // when its first frame is heard, seconds
        double seconds = 0;          // its length on the output, seconds
        std::int64_t startTicks = 0; // stream position at its first frame
        std::int64_t endTicks = 0;   // stream position after its last rendered frame
        double ticksPerSecond = 0;   // how fast the position moves while it plays
        std::uint32_t peaks = 0;     // low word left, high word right, 0..128
    };

    // --- output thread (real-time: no locks, no allocation) ---
    void record(const Chunk& chunk);

    // --- user-interface thread ---
    // After a seek, while the output does not render the stream: forgets
    // every record; nothing before `ticks` is reported from now on.
    void restart(std::int64_t ticks);
    // At a play start: nothing before `ticks` is reported from now on.
    void setFloor(std::int64_t ticks) { floor_.store(ticks, std::memory_order_relaxed); }
    // The position heard at `now`: interpolated within the chunk being heard
    // at its speed, held at the end of the last chunk heard, never below the
    // floor.
    std::int64_t ticksAt(double now) const;
    // Highest peaks of the chunks heard within `window` seconds up to `now`
    // (0 when none is).
    std::uint32_t peaksAt(double now, double window) const;

private:
    static constexpr std::uint64_t busy = ~std::uint64_t{0};

    struct Slot {
        std::atomic<std::uint64_t> index{busy}; // record number, busy while written
        std::atomic<double> audibleAt{0};
        std::atomic<double> seconds{0};
        std::atomic<std::int64_t> startTicks{0};
        std::atomic<std::int64_t> endTicks{0};
        std::atomic<double> ticksPerSecond{0};
        std::atomic<std::uint32_t> peaks{0};
    };
    static_assert(std::atomic<double>::is_always_lock_free);
    static_assert(std::atomic<std::int64_t>::is_always_lock_free);

    // Reads record `index`; false when it was overwritten or is being written.
    bool read(std::uint64_t index, Chunk& chunk) const;
    // Position `now` within a chunk heard from before `now`: at its speed,
    // up to the end of what it holds.
    static std::int64_t positionWithin(const Chunk& chunk, double now);

    std::array<Slot, capacity> slots_{};
    std::atomic<std::uint64_t> written_{0};
    std::atomic<std::uint64_t> first_{0}; // records before this one were forgotten
    std::atomic<std::int64_t> floor_{0};
};

} // namespace audio
