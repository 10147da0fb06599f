#pragma once
// Key lock: a real-time time-stretcher (Rubber Band) between the decoded
// frames and the frames the output plays, so that a stream's tempo changes
// and its key stays. Runs on the decode side only (the worker thread, or the
// offline output's fill), never in the output callback.
#include "platform/audio/ring_buffer.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace RubberBand {
class RubberBandStretcher;
}

namespace audio {

// Off, Rubber Band's faster engine (R2), or its finer engine (R3).
enum class KeyLockMode : int { Off = 0, Faster = 1, Finer = 2 };

class TimeStretch {
public:
    // Stereo at the file's `sampleRate`.
    TimeStretch(int sampleRate, KeyLockMode mode);
    ~TimeStretch();
    TimeStretch(const TimeStretch&) = delete;
    TimeStretch& operator=(const TimeStretch&) = delete;

    KeyLockMode mode() const { return mode_; }
    // Starts over (after a seek): the first frame stretched then is the first
    // frame read from `in` afterwards, with the stretcher's delay removed.
    void reset();
    // Stretches frames read from `in` into `out` at `tempo` (playback speed:
    // 1.08 = 8 % faster) until `out` holds `target` frames or `in` runs dry.
    // `inputEnded`: no frames come into `in` after those it holds; the
    // stretcher is then flushed. Returns true once the last frame is in `out`.
    bool fill(FrameRing& in, FrameRing& out, std::size_t target, double tempo, bool inputEnded);

private:
    // Moves up to `frames` stretched frames into `out`, dropping the start delay first.
    std::size_t retrieve(FrameRing& out, std::size_t frames);
    // Output frames still owed after the flush.
    std::size_t remaining() const;
    // Writes frames `from`..`to` of the channel buffers into `out`.
    std::size_t put(FrameRing& out, std::size_t from, std::size_t to);

    KeyLockMode mode_;
    std::unique_ptr<RubberBand::RubberBandStretcher> stretcher_;
    double tempo_ = 1.0;
    // Frames put out and input frames / speed taken in since the reset: the
    // length the output must have at the end.
    std::size_t written_ = 0;
    double expected_ = 0.0;
    std::size_t discard_ = 0; // output frames of the start delay still to drop
    bool flushed_ = false, finished_ = false;
    std::vector<std::int16_t> interleaved_;
    std::vector<float> left_, right_;
};

} // namespace audio
