#include "platform/audio/time_stretch.h"

#include <rubberband/RubberBandStretcher.h>

#include <algorithm>
#include <cmath>

namespace audio {
namespace {

// Frames handed to or taken from the stretcher per step.
constexpr std::size_t blockFrames = 512;

RubberBand::RubberBandStretcher::Options optionsFor(KeyLockMode mode) {
    using RB = RubberBand::RubberBandStretcher;
    RB::Options options = RB::OptionProcessRealTime | RB::OptionThreadingNever;
    options |= mode == KeyLockMode::Finer ? RB::OptionEngineFiner : RB::OptionEngineFaster;
    return options;
}

} // namespace

TimeStretch::TimeStretch(int sampleRate, KeyLockMode mode)
    : mode_(mode), stretcher_(std::make_unique<RubberBand::RubberBandStretcher>(
                       static_cast<std::size_t>(sampleRate), 2, optionsFor(mode))),
      interleaved_(blockFrames * 2), left_(blockFrames), right_(blockFrames) {
    stretcher_->setMaxProcessSize(blockFrames);
    reset();
}

TimeStretch::~TimeStretch() = default;

void TimeStretch::reset() {
    stretcher_->reset();
    stretcher_->setTimeRatio(1.0 / tempo_);
    flushed_ = finished_ = false;
    written_ = 0;
    expected_ = 0.0;
    // Silence before the first frame, then the output that belongs to it
    // dropped: output frame 0 is input frame 0.
    std::fill(left_.begin(), left_.end(), 0.0f);
    std::fill(right_.begin(), right_.end(), 0.0f);
    for (std::size_t pad = stretcher_->getPreferredStartPad(); pad > 0;) {
        const std::size_t n = std::min(pad, blockFrames);
        const float* channels[2] = {left_.data(), right_.data()};
        stretcher_->process(channels, n, false);
        pad -= n;
    }
    discard_ = stretcher_->getStartDelay();
}

std::size_t TimeStretch::retrieve(FrameRing& out, std::size_t frames) {
    frames = std::min(frames, blockFrames);
    float* channels[2] = {left_.data(), right_.data()};
    std::size_t got = stretcher_->retrieve(channels, frames);
    std::size_t from = std::min(got, discard_);
    discard_ -= from;
    // After the flush, the stretcher's tail past input / speed is dropped.
    if (flushed_)
        got = from + std::min(got - from, remaining());
    return put(out, from, got);
}

std::size_t TimeStretch::remaining() const {
    const auto total = static_cast<std::size_t>(std::llround(expected_));
    return total > written_ ? total - written_ : 0;
}

std::size_t TimeStretch::put(FrameRing& out, std::size_t from, std::size_t to) {
    const std::size_t written = out.produceInto(to - from, [&](std::int16_t* frame,
                                                               std::size_t count) {
        for (std::size_t i = 0; i < count; ++i, ++from) {
            frame[i * 2] =
                static_cast<std::int16_t>(std::clamp(std::lround(left_[from]), -32768L, 32767L));
            frame[i * 2 + 1] =
                static_cast<std::int16_t>(std::clamp(std::lround(right_[from]), -32768L, 32767L));
        }
        return count;
    });
    written_ += written;
    return written;
}

bool TimeStretch::fill(FrameRing& in, FrameRing& out, std::size_t target, double tempo,
                       bool inputEnded) {
    if (tempo > 0 && tempo != tempo_) {
        tempo_ = tempo;
        stretcher_->setTimeRatio(1.0 / tempo_);
    }
    while (!finished_ && out.readable() < target) {
        const int available = stretcher_->available();
        if (flushed_ && (available <= 0 || remaining() == 0)) {
            // All of the stretcher's output taken: the length is made up to
            // input / speed with silence (a few frames at most).
            const std::size_t pad = std::min({remaining(), out.writable(), blockFrames});
            std::fill(left_.begin(), left_.begin() + static_cast<std::ptrdiff_t>(pad), 0.0f);
            std::fill(right_.begin(), right_.begin() + static_cast<std::ptrdiff_t>(pad), 0.0f);
            put(out, 0, pad);
            finished_ = remaining() == 0;
            continue;
        }
        if (available > 0) {
            retrieve(out, std::min<std::size_t>(available, out.writable()));
            continue;
        }
        if (available < 0)
            break;
        const std::size_t wanted =
            std::clamp<std::size_t>(stretcher_->getSamplesRequired(), 1, blockFrames);
        const std::size_t got = in.read(interleaved_.data(), wanted);
        const bool last = inputEnded && in.readable() == 0;
        if (got == 0 && !last)
            break; // the decoder is behind
        for (std::size_t i = 0; i < got; ++i) {
            left_[i] = interleaved_[i * 2];
            right_[i] = interleaved_[i * 2 + 1];
        }
        const float* channels[2] = {left_.data(), right_.data()};
        stretcher_->process(channels, got, last);
        expected_ += static_cast<double>(got) / tempo_;
        flushed_ = last;
    }
    return finished_;
}

} // namespace audio
