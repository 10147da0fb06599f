#include "platform/audio/rate_converter.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <samplerate.h>

namespace audio {
namespace {

// Block length aimed at when the rates leave a choice, mix frames: short, so
// that a change made between two periods is heard from the next one (a
// 256-frame period at 44.1 kHz holds 128 frames of a 22.05 kHz mix).
constexpr std::size_t preferredBlockFrames = 64;

// The shortest block that is a whole number of frames at both rates, made
// up to about preferredBlockFrames; preferredBlockFrames when no such block
// fits within maxBlockFrames.
std::size_t blockFor(int mixRate, int deviceRate) {
    const auto whole = static_cast<std::size_t>(mixRate / std::gcd(mixRate, deviceRate));
    if (whole > RateConverter::maxBlockFrames)
        return preferredBlockFrames;
    return whole * std::max<std::size_t>(1, preferredBlockFrames / whole);
}

} // namespace

RateConverter::RateConverter(int mixRate, int deviceRate)
    : deviceRate_(deviceRate), ratio_(static_cast<double>(deviceRate) / mixRate),
      blockFrames_(blockFor(mixRate, deviceRate)) {
    int error = 0;
    state_ = src_new(SRC_SINC_MEDIUM_QUALITY, 2, &error);
    block_.assign(blockFrames_ * 2, 0);
    input_.assign(blockFrames_ * 2, 0.0f);
    const auto most =
        static_cast<std::size_t>(std::ceil(static_cast<double>(blockFrames_) * ratio_));
    converted_.assign((most + 64) * 2, 0.0f);
}

RateConverter::~RateConverter() {
    if (state_)
        src_delete(state_);
}

void RateConverter::takeBlock() {
    for (std::size_t i = 0; i < blockFrames_ * 2; ++i)
        input_[i] = static_cast<float>(block_[i]) / 32768.0f;
    inputOffset_ = 0;
    inputFrames_ = blockFrames_;
    mixed_ += static_cast<std::int64_t>(blockFrames_);
}

// Converts what is left of the block into converted_; false when the
// converter fails or stalls.
bool RateConverter::convert() {
    SRC_DATA data{};
    data.data_in = input_.data() + inputOffset_ * 2;
    data.input_frames = static_cast<long>(inputFrames_);
    data.data_out = converted_.data();
    data.output_frames = static_cast<long>(converted_.size() / 2);
    data.src_ratio = ratio_;
    if (src_process(state_, &data) != 0)
        return false;
    const auto used = static_cast<std::size_t>(data.input_frames_used);
    inputOffset_ += used;
    inputFrames_ -= used;
    pendingOffset_ = 0;
    pendingFrames_ = static_cast<std::size_t>(data.output_frames_gen);
    return used > 0 || pendingFrames_ > 0;
}

std::size_t RateConverter::drain(float* out, std::size_t frames) {
    const std::size_t n = std::min(frames, pendingFrames_);
    std::copy_n(converted_.data() + pendingOffset_ * 2, n * 2, out);
    pendingOffset_ += n;
    pendingFrames_ -= n;
    return n;
}

void RateConverter::silence(float* out, std::size_t frames) {
    std::fill_n(out, frames * 2, 0.0f);
}

} // namespace audio
