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

RateConverter::RateConverter(int mixRate, int deviceRate, bool secondPair)
    : deviceRate_(deviceRate), ratio_(static_cast<double>(deviceRate) / mixRate),
      blockFrames_(blockFor(mixRate, deviceRate)), secondPair_(secondPair) {
    if (makePair(main_) && secondPair_)
        makePair(phones_);
}

RateConverter::~RateConverter() {
    for (Pair* pair : {&main_, &phones_})
        if (pair->state)
            src_delete(pair->state);
}

bool RateConverter::makePair(Pair& pair) {
    int error = 0;
    pair.state = src_new(SRC_SINC_MEDIUM_QUALITY, 2, &error);
    pair.block.assign(blockFrames_ * 2, 0);
    pair.input.assign(blockFrames_ * 2, 0.0f);
    const auto most =
        static_cast<std::size_t>(std::ceil(static_cast<double>(blockFrames_) * ratio_));
    pair.converted.assign((most + 64) * 2, 0.0f);
    return pair.state != nullptr;
}

void RateConverter::takeBlock() {
    for (Pair* pair : {&main_, &phones_}) {
        if (pair == &phones_ && !secondPair_)
            break;
        for (std::size_t i = 0; i < blockFrames_ * 2; ++i)
            pair->input[i] = static_cast<float>(pair->block[i]) / 32768.0f;
    }
    inputOffset_ = 0;
    inputFrames_ = blockFrames_;
    mixed_ += static_cast<std::int64_t>(blockFrames_);
}

// Converts what is left of the block into each pair's converted frames;
// false when the converter fails or stalls. The resamplers take and give
// the same counts for the same counts offered (they depend on the ratio, not
// on the samples), so the pairs stay in step.
bool RateConverter::convert() {
    const auto run = [this](Pair& pair, SRC_DATA& data) {
        data.data_in = pair.input.data() + inputOffset_ * 2;
        data.input_frames = static_cast<long>(inputFrames_);
        data.data_out = pair.converted.data();
        data.output_frames = static_cast<long>(pair.converted.size() / 2);
        data.src_ratio = ratio_;
        return src_process(pair.state, &data) == 0;
    };
    SRC_DATA data{};
    if (!run(main_, data))
        return false;
    if (secondPair_) {
        SRC_DATA second{};
        if (!run(phones_, second) || second.input_frames_used != data.input_frames_used ||
            second.output_frames_gen != data.output_frames_gen)
            std::fill(phones_.converted.begin(), phones_.converted.end(), 0.0f);
    }
    const auto used = static_cast<std::size_t>(data.input_frames_used);
    inputOffset_ += used;
    inputFrames_ -= used;
    pendingOffset_ = 0;
    pendingFrames_ = static_cast<std::size_t>(data.output_frames_gen);
    return used > 0 || pendingFrames_ > 0;
}

std::size_t RateConverter::drain(float* out, float* second, std::size_t frames) {
    const std::size_t n = std::min(frames, pendingFrames_);
    std::copy_n(main_.converted.data() + pendingOffset_ * 2, n * 2, out);
    if (second && secondPair_)
        std::copy_n(phones_.converted.data() + pendingOffset_ * 2, n * 2, second);
    pendingOffset_ += n;
    pendingFrames_ -= n;
    return n;
}

void RateConverter::silence(float* out, std::size_t frames) {
    std::fill_n(out, frames * 2, 0.0f);
}

} // namespace audio
