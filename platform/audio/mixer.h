#pragma once
// Mixes the playing streams into 16-bit stereo at the output rate. The output
// thread calls render(); the user-interface thread adds and removes streams
// and waits for a render in progress to end before it touches a stream.
#include "platform/audio/audible_clock.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <vector>

namespace audio {

class Recorder;
class Stream;

class Mixer {
public:
    static constexpr std::size_t maxStreams = 64;

    explicit Mixer(int outputRate);
    int outputRate() const { return outputRate_; }

    // User-interface thread.
    bool add(Stream* stream); // false when every slot is taken
    void remove(Stream* stream);
    void waitIdle() const;
    // Every frame rendered from now on also goes to `recorder` (null: to
    // none). After taking a recorder away, waitIdle() before it goes.
    void setRecorder(Recorder* recorder) { recorder_.store(recorder, std::memory_order_release); }

    // Output thread (real-time): renders `frames` frames into `out` (may be
    // null). `audibleAt` is when the first of them is heard (seconds on the
    // monotonic clock) on a device output, noAudibleTime elsewhere.
    void render(std::int16_t* out, std::size_t frames, double audibleAt = noAudibleTime);
    // Offline output only: decodes synchronously what the next `frames` frames need.
    void fillFor(std::size_t frames);

private:
    void renderChunk(std::int16_t* out, std::size_t frames, double audibleAt);

    int outputRate_;
    std::array<std::atomic<Stream*>, maxStreams> slots_{};
    static_assert(std::atomic<Stream*>::is_always_lock_free);
    std::atomic<std::uint64_t> epoch_{0}; // odd while a render runs
    std::vector<float> mix_;
    std::atomic<Recorder*> recorder_{nullptr};
    std::vector<std::int16_t> recorded_; // the samples of a chunk rendered for the recorder only
};

} // namespace audio
