#pragma once
// Recent per-chunk peaks of one stream, written by the output callback and
// read by the level call; lock-free (each entry is one atomic word).
#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>

namespace audio {

class LevelHistory {
public:
    // Output thread: one rendered chunk of `frames` frames with peaks 0..128.
    void push(std::uint32_t frames, std::uint32_t left, std::uint32_t right) {
        const std::uint32_t slot = next_.load(std::memory_order_relaxed) % entries_.size();
        entries_[slot].store((std::min<std::uint32_t>(frames, 0xFFFF) << 16) | (left << 8) | right,
                             std::memory_order_relaxed);
        next_.store(next_.load(std::memory_order_relaxed) + 1, std::memory_order_release);
    }

    // Highest peaks of the newest chunks covering at least `windowFrames`;
    // low word left, high word right.
    std::uint32_t peak(std::uint32_t windowFrames) const {
        const std::uint32_t newest = next_.load(std::memory_order_acquire);
        std::uint32_t covered = 0, left = 0, right = 0;
        for (std::uint32_t i = 1; i <= entries_.size() && i <= newest && covered < windowFrames;
             ++i) {
            const std::uint32_t entry =
                entries_[(newest - i) % entries_.size()].load(std::memory_order_relaxed);
            covered += entry >> 16;
            left = std::max(left, (entry >> 8) & 0xFF);
            right = std::max(right, entry & 0xFF);
        }
        return left | (right << 16);
    }

    // Only while the output does not render this stream.
    void clear() {
        for (auto& entry : entries_)
            entry.store(0);
        next_.store(0);
    }

private:
    std::array<std::atomic<std::uint32_t>, 64> entries_{};
    std::atomic<std::uint32_t> next_{0};
};

} // namespace audio
