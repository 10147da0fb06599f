#pragma once
// The headphone mix on a second sound card. The main output's callback hands
// each period's headphone frames (16-bit stereo at the mix rate) to a
// lock-free ring; this card's own PortAudio callback takes them out through
// a resampler. The two cards' clocks drift apart, so the resampler's ratio
// follows the ring's fill: a ring filling up is drained a little faster, an
// emptying one a little slower, and the main output is never touched.
#include "platform/audio/ring_buffer.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

typedef struct SRC_STATE_tag SRC_STATE;
typedef void PaStream;

namespace audio {

// Keeps a ring's fill where it stood when the reading (re)started, by a
// small correction of the rate it is read at. Pure arithmetic; one caller
// (the reading callback).
class DriftControl {
public:
    explicit DriftControl(double startFrames) : start_(startFrames) {}
    // Given the frames in the ring now, the factor (near 1) to read faster
    // (> 1) or slower (< 1) than the nominal rate: smoothed over many calls,
    // and within +-0.1 % (ten times the drift of two cards' clocks), so the
    // pitch never moves audibly.
    double correction(double filled);
    // The frames the ring must hold before reading (re)starts.
    double start() const { return start_; }
    // The reading stops (the ring ran dry): it starts again at a half more
    // frames (up to `most`), from the fill found then.
    void restart(double most) {
        start_ = std::min(most, start_ * 1.5);
        average_ = -1;
    }

private:
    double start_;
    double held_ = 0;     // the fill kept, frames
    double average_ = -1; // the fill, smoothed; < 0 until the first call
    double integral_ = 0; // accumulated relative error: the clocks' steady drift
};

class PhonesDevice {
public:
    // `mixRate`: the rate the headphone mix is rendered at, Hz;
    // `periodFrames`: the main output's period, frames of the mix.
    PhonesDevice(int mixRate, std::size_t periodFrames);
    ~PhonesDevice();
    PhonesDevice(const PhonesDevice&) = delete;
    PhonesDevice& operator=(const PhonesDevice&) = delete;

    // Opens PortAudio output device `index` (PortAudio already initialised),
    // at the mix rate when it takes it, else at its own. False when it
    // cannot be opened.
    bool open(int index);
    bool start();
    void stop();

    // Main output thread (real-time): `frames` frames of the headphone mix.
    // Frames that find no room are dropped (counted).
    void push(const std::int16_t* frames, std::size_t count);

    // Any thread: frames the card had to play as silence, frames dropped.
    std::uint64_t silentFrames() const { return silent_.load(std::memory_order_relaxed); }
    std::uint64_t droppedFrames() const { return dropped_.load(std::memory_order_relaxed); }

    // This card's thread (real-time): `frames` frames of float stereo into `out`.
    void fill(float* out, std::size_t frames);

private:
    int mixRate_;
    FrameRing ring_;
    DriftControl drift_;
    bool primed_ = false; // reading started (the ring held enough) since the start or the last gap
    SRC_STATE* resampler_ = nullptr;
    PaStream* stream_ = nullptr;
    bool running_ = false;
    // This card's thread only: frames taken from the ring, not yet resampled.
    std::vector<std::int16_t> taken_;
    std::vector<float> input_;
    int deviceRate_; // the mix rate until a card that does not take it is opened
    std::size_t inputOffset_ = 0, inputFrames_ = 0;
    std::atomic<std::uint64_t> silent_{0};
    std::atomic<std::uint64_t> dropped_{0};
};

} // namespace audio
