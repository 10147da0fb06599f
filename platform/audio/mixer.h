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
    // With `phones`, the headphone mix of the same frames goes there too.
    void render(std::int16_t* out, std::size_t frames, double audibleAt = noAudibleTime,
                std::int16_t* phones = nullptr);
    // The headphone mix (any thread): `mainShare` 0 only the pre-listened
    // streams .. 1 only the main mix; `volume` 0..1; `split` puts the
    // pre-listened streams on the left ear and the main mix on the right,
    // both as mono.
    void setPhones(float mainShare, float volume, bool split) {
        phonesMain_.store(mainShare, std::memory_order_relaxed);
        phonesVolume_.store(volume, std::memory_order_relaxed);
        phonesSplit_.store(split, std::memory_order_relaxed);
    }
    // Offline output only: decodes synchronously what the next `frames` frames need.
    void fillFor(std::size_t frames);

private:
    void renderChunk(std::int16_t* out, std::size_t frames, double audibleAt, std::int16_t* phones);
    // The headphone mix of the chunk in `mix_` and `cue_` into `phones`;
    // clears `cue_`.
    void mixPhones(std::int16_t* phones, std::size_t frames);

    int outputRate_;
    std::array<std::atomic<Stream*>, maxStreams> slots_{};
    static_assert(std::atomic<Stream*>::is_always_lock_free);
    std::atomic<std::uint64_t> epoch_{0}; // odd while a render runs
    std::vector<float> mix_;
    std::atomic<Recorder*> recorder_{nullptr};
    std::vector<std::int16_t> recorded_; // the samples of a chunk rendered for the recorder only
    std::vector<float> cue_;             // the pre-listened streams of a chunk, at full gain
    std::vector<float> phonesMix_;
    std::atomic<float> phonesMain_{0.5f};
    std::atomic<float> phonesVolume_{1.0f};
    std::atomic<bool> phonesSplit_{false};
    static_assert(std::atomic<float>::is_always_lock_free);
};

} // namespace audio
