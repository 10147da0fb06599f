#pragma once
// One stream: a decoder feeding a bounded ring (on a worker thread for the
// real-time outputs, synchronously for the offline output), and the
// output-side state the callback uses to resample, apply gains and mix.
#include "platform/audio/audible_clock.h"
#include "platform/audio/decoder.h"
#include "platform/audio/level_history.h"
#include "platform/audio/ring_buffer.h"
#include "platform/audio/time_stretch.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

typedef struct SRC_STATE_tag SRC_STATE;

namespace audio {

enum class PlayState : int { Stopped = 0, Playing = 1, Paused = 3 };

class Stream {
public:
    // Largest chunk the output hands to render().
    static constexpr std::size_t maxChunkFrames = 512;

    Stream(Family family, std::unique_ptr<Decoder> decoder);
    ~Stream();
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    Family family() const { return family_; }
    Decoder& decoder() { return *decoder_; }

    // --- user-interface thread (engine lock held) ---
    // Opens the codec, the ring (`bufferSeconds` of decode-ahead) and the
    // resampler for an output at `outputRate`. Idempotent.
    bool activate(double bufferSeconds, int outputRate);
    bool active() const { return active_; }
    int sampleRate() const { return decoder_->sampleRate(); }
    std::int64_t lengthFrames() const { return decoder_->lengthFrames(); }
    // Makes the length and seeks exact (scans an MPEG file's packets once;
    // decoding goes on meanwhile).
    void makeExact();
    // Starts the decode-ahead thread (real-time outputs).
    void startWorker();
    // Decodes synchronously until `frames` frames are buffered (or the end).
    void prebuffer(std::size_t frames);
    // Moves to `frame`; `waitIdle` returns once the output no longer renders this stream.
    template <typename WaitIdle> void seek(std::int64_t frame, WaitIdle&& waitIdle) {
        makeExact(); // frame indices are exact from then on
        hold_.store(true);
        waitIdle();
        seekHeld(frame);
        hold_.store(false);
    }
    // Key lock on (time-stretched: the rate changes the tempo, the key stays)
    // or off (varispeed). Played on from the frame rendered last, so the
    // position neither jumps nor drifts; `waitIdle` as for seek().
    template <typename WaitIdle> void setKeyLock(KeyLockMode mode, WaitIdle&& waitIdle) {
        if (mode == keyLock())
            return;
        makeExact();
        hold_.store(true);
        waitIdle();
        switchKeyLock(mode);
        hold_.store(false);
    }
    KeyLockMode keyLock() const { return static_cast<KeyLockMode>(keyLock_.load()); }
    // Keeps the output away from this stream from now on (before freeing it).
    void hold() { hold_.store(true); }

    PlayState state() const { return static_cast<PlayState>(state_.load()); }
    // A stream set playing wakes its decode worker, which then fills the ring.
    void setState(PlayState state);
    // Before the stream starts playing again: the position reported does not
    // fall below the one it starts from.
    void markPlayStart();
    // Frames of the file heard so far, within the length: as rendered, or,
    // given `now` (the output's audibleNow()), as heard through the device at
    // that time.
    std::int64_t positionFrames(std::optional<double> now = std::nullopt) const;
    bool atEnd() const { return ended_.load(); }

    int rate() const { return rate_.load(); }
    int volume() const { return volume_.load(); }
    int pan() const { return pan_.load(); }
    void setRate(int hz) { rate_.store(hz); }
    void setVolume(int volume) { volume_.store(volume); }
    void setPan(int pan) { pan_.store(pan); }
    // Peaks over the ~20 ms last rendered, or, given `now`, over the ~20 ms
    // heard up to then: low word left, high word right.
    std::uint32_t level(std::optional<double> now = std::nullopt) const;
    std::uint64_t underruns() const { return underruns_.load(); }
    // Pre-listen: the stream also goes to the headphones, before its volume and pan.
    void setPrelisten(bool on) { prelisten_.store(on, std::memory_order_relaxed); }
    bool prelisten() const { return prelisten_.load(std::memory_order_relaxed); }

    // --- output thread (real-time: no locks, no allocation) ---
    // Adds up to `frames` (<= maxChunkFrames) frames of this stream into `mix`
    // (interleaved stereo, in 16-bit units: full scale = 32768). `audibleAt`:
    // when the first of them is heard (monotonic seconds), or noAudibleTime.
    // A pre-listened stream also adds its frames at full gain into `cue`
    // (when not null).
    void render(float* mix, std::size_t frames, double audibleAt = noAudibleTime,
                float* cue = nullptr);
    // Offline output only, before render(): decodes what `frames` output frames need.
    void fillFor(std::size_t frames);

private:
    void workerLoop();
    // How long the worker may sleep before the ring needs a refill.
    std::chrono::microseconds refillWait() const;
    // Wakes the worker now (user-interface thread; never the output thread).
    void wakeWorker();
    std::size_t decodeChunk(); // decodeMutex_ held
    void seekHeld(std::int64_t frame);
    void switchKeyLock(KeyLockMode mode);
    // Moves the decoder (and the stretcher) to `frame` and refills; the
    // positions restart there unless `keepPosition`. decodeMutex_ held.
    void restartAt(std::int64_t frame, bool keepPosition);
    // Key lock: stretches decoded frames until `frames` stretched frames are
    // buffered or the decoded ones run out (decodeMutex_ held); true if any
    // were added.
    bool stretchAhead(std::size_t frames);
    // Key lock: decodes and stretches until `frames` stretched frames are
    // buffered or the end (decodeMutex_ held).
    void prebufferStretched(std::size_t frames);
    // Key lock: how long the worker may sleep before the stretched frames run low.
    std::chrono::microseconds stretchWait() const;
    // Converts up to `frames` output frames from `source` at `ratio` (output
    // rate / source rate) into `out_`; `sourceEnded`: nothing more comes into it.
    std::size_t resample(std::size_t frames, double ratio, FrameRing& source, bool sourceEnded);
    void finishIfDrained(bool drained);
    void mixWithGains(float* mix, std::size_t frames, float left, float right);
    // Adds `out_` at full gain into `cue` (nothing when null).
    void addToCue(float* cue, std::size_t frames) const;

    Family family_;
    std::unique_ptr<Decoder> decoder_;
    bool active_ = false;
    int outputRate_ = 44100;
    std::unique_ptr<FrameRing> ring_;
    std::mutex decodeMutex_;
    std::thread worker_;
    std::atomic<bool> stopWorker_{false};
    // The worker sleeps on this between refills; a play, a seek and the
    // stream's end wake it early.
    std::mutex wakeMutex_;
    std::condition_variable wake_;
    bool wakeRequested_ = false; // under wakeMutex_
    std::atomic<bool> decodedEnd_{false};
    std::atomic<std::int64_t> endFrame_{0};
    // Key lock: the mode (changed only while held), the stretcher (decode
    // side, decodeMutex_), the few tens of ms of stretched frames at the
    // file's rate the output reads, and whether the last of them is in.
    std::atomic<int> keyLock_{static_cast<int>(KeyLockMode::Off)};
    std::unique_ptr<TimeStretch> stretch_;
    std::unique_ptr<FrameRing> stretched_;
    std::atomic<bool> stretchedEnd_{false};

    std::atomic<int> state_{static_cast<int>(PlayState::Stopped)};
    std::atomic<bool> hold_{false};
    std::atomic<bool> ended_{false};
    // Rendered position in source frames x output rate (exact for any rate).
    std::atomic<std::int64_t> positionTicks_{0};
    // The position heard through a device (records per rendered chunk).
    AudibleClock clock_;
    std::atomic<int> rate_{0};
    std::atomic<int> volume_{100};
    std::atomic<int> pan_{0};
    std::atomic<bool> prelisten_{false};
    std::atomic<std::uint64_t> underruns_{0};
    LevelHistory levels_;

    // Output-side state (owned by the output thread while not held).
    SRC_STATE* resampler_ = nullptr;
    bool resampling_ = false;
    std::vector<std::int16_t> in16_;
    std::vector<float> inFloat_;
    std::size_t inOffset_ = 0, inAvailable_ = 0;
    std::vector<float> out_;
    float gainLeft_ = 1.0f, gainRight_ = 1.0f;
};

} // namespace audio
