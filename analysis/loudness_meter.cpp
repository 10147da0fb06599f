#include "analysis/loudness_meter.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>

namespace analysis {
namespace {

constexpr double kSilenceLufs = -70.0;
constexpr std::size_t kShortTermBlocks = 30; // 3 s of 100 ms blocks
constexpr double kBlockSeconds = 0.1;

double energyOf(double lufs) {
    return std::isfinite(lufs) ? std::pow(10.0, (lufs + 0.691) / 10.0) : 0.0;
}

} // namespace

LoudnessMeter::LoudnessMeter(int sampleRate)
    : state_(ebur128_init(2, static_cast<unsigned long>(sampleRate),
                          EBUR128_MODE_I | EBUR128_MODE_HISTOGRAM)),
      blockFrames_(static_cast<std::size_t>(sampleRate) / 10) {}

LoudnessMeter::~LoudnessMeter() {
    ebur128_destroy(&state_);
}

void LoudnessMeter::add(const std::int16_t* frames, std::size_t count) {
    if (!state_)
        return;
    while (count > 0) {
        const std::size_t take = std::min(count, blockFrames_ - inBlock_);
        ebur128_add_frames_short(state_, frames, take);
        frames += 2 * take;
        count -= take;
        inBlock_ += take;
        if (inBlock_ == blockFrames_)
            closeBlock();
    }
}

void LoudnessMeter::closeBlock() {
    double lufs = -HUGE_VAL;
    ebur128_loudness_window(state_, 100, &lufs);
    blockEnergy_.push_back(energyOf(lufs));
    inBlock_ = 0;
}

double LoudnessMeter::integrated() const {
    double lufs = -HUGE_VAL;
    if (!state_ || ebur128_loudness_global(state_, &lufs) != EBUR128_SUCCESS ||
        !std::isfinite(lufs))
        return kSilenceLufs;
    return std::max(lufs, kSilenceLufs);
}

LoudnessMeter::Span LoudnessMeter::music(double thresholdLu) const {
    const double loudness = integrated();
    if (loudness <= kSilenceLufs || blockEnergy_.empty())
        return {};
    const double threshold = energyOf(loudness - thresholdLu) * kShortTermBlocks;
    // The 3 s windows ending at every block, counting silence before the
    // file's start and after its end.
    const std::size_t n = blockEnergy_.size();
    const auto energy = [&](std::size_t i) { return i < n ? blockEnergy_[i] : 0.0; };
    double sum = 0.0;
    bool found = false;
    std::size_t first = 0, last = 0;
    for (std::size_t i = 0; i + 1 < n + kShortTermBlocks; ++i) {
        sum += energy(i);
        if (i >= kShortTermBlocks)
            sum -= energy(i - kShortTermBlocks);
        if (sum >= threshold) {
            if (!found)
                first = i;
            found = true;
            last = i;
        }
    }
    if (!found)
        return {};
    // The sound crosses into the first window within its last block, and
    // leaves the last window within its first block.
    Span span;
    span.start = static_cast<double>(first) * kBlockSeconds;
    const std::size_t lastStart = last + 1 >= kShortTermBlocks ? last + 1 - kShortTermBlocks : 0;
    span.end = std::min(static_cast<double>(lastStart + 1), static_cast<double>(n)) * kBlockSeconds;
    span.end = std::max(span.end, span.start);
    return span;
}

} // namespace analysis
