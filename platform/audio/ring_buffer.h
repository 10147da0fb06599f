#pragma once
// A single-producer single-consumer ring of 16-bit stereo frames. The decoder
// worker writes, the output callback reads; neither blocks nor allocates.
// Reset only while neither side runs.
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <vector>

namespace audio {

class FrameRing {
public:
    // Room for at least `frames` frames (rounded up to a power of two).
    explicit FrameRing(std::size_t frames) {
        std::size_t capacity = 1024;
        while (capacity < frames)
            capacity *= 2;
        samples_.assign(capacity * 2, 0);
        mask_ = capacity - 1;
    }

    std::size_t capacity() const { return mask_ + 1; }
    std::size_t readable() const {
        return static_cast<std::size_t>(written_.load(std::memory_order_acquire) -
                                        read_.load(std::memory_order_acquire));
    }
    std::size_t writable() const { return capacity() - readable(); }

    // Consumer: copies up to `frames` frames out; returns how many were there.
    std::size_t read(std::int16_t* out, std::size_t frames) {
        const std::uint64_t r = read_.load(std::memory_order_relaxed);
        const std::uint64_t w = written_.load(std::memory_order_acquire);
        const std::size_t n = std::min<std::size_t>(frames, w - r);
        copy(
            n,
            [&](std::size_t ringIndex, std::size_t offset, std::size_t count) {
                std::memcpy(out + offset * 2, &samples_[ringIndex * 2], count * 4);
            },
            r);
        read_.store(r + n, std::memory_order_release);
        return n;
    }

    // Producer: lets `produce(frames*, room)` write straight into the ring
    // (at most two calls, for the parts before and after the wrap); stops at
    // the first short part. Returns the frames written.
    template <typename Produce> std::size_t produceInto(std::size_t frames, Produce&& produce) {
        const std::uint64_t w = written_.load(std::memory_order_relaxed);
        const std::uint64_t r = read_.load(std::memory_order_acquire);
        const std::size_t n = std::min<std::size_t>(frames, capacity() - (w - r));
        std::size_t done = 0;
        while (done < n) {
            const std::size_t at = static_cast<std::size_t>((w + done) & mask_);
            const std::size_t room = std::min(n - done, capacity() - at);
            const std::size_t got = produce(&samples_[at * 2], room);
            done += got;
            if (got < room)
                break;
        }
        written_.store(w + done, std::memory_order_release);
        return done;
    }

    // Consumer: hands up to `frames` frames to `consume(frames*, count,
    // offset)` in place (at most two calls). Returns the frames consumed.
    template <typename Consume> std::size_t consumeFrom(std::size_t frames, Consume&& consume) {
        const std::uint64_t r = read_.load(std::memory_order_relaxed);
        const std::uint64_t w = written_.load(std::memory_order_acquire);
        const std::size_t n = std::min<std::size_t>(frames, w - r);
        copy(
            n,
            [&](std::size_t ringIndex, std::size_t offset, std::size_t count) {
                consume(&samples_[ringIndex * 2], count, offset);
            },
            r);
        read_.store(r + n, std::memory_order_release);
        return n;
    }

    void reset() {
        read_.store(0);
        written_.store(0);
    }

private:
    template <typename Copy> void copy(std::size_t n, Copy&& part, std::uint64_t start) {
        const std::size_t first = static_cast<std::size_t>(start & mask_);
        const std::size_t head = std::min(n, capacity() - first);
        if (head > 0)
            part(first, 0, head);
        if (n > head)
            part(0, head, n - head);
    }

    std::vector<std::int16_t> samples_;
    std::size_t mask_ = 0;
    std::atomic<std::uint64_t> read_{0};
    std::atomic<std::uint64_t> written_{0};
};

} // namespace audio
