#pragma once
// The per-sample loops of the output path (vectorised where the CPU allows).
// Samples are interleaved stereo; floats are in 16-bit units (full scale
// 32768), so converting either way needs no scaling.
#include <cstddef>
#include <cstdint>
#include <utility>

namespace audio {

// Peak magnitudes of the left and right channel of `frames` frames.
std::pair<float, float> stereoPeaks(const float* samples, std::size_t frames);

// Adds 16-bit frames into `mix` with the channel gains, and raises `peaks`
// (left, right) to the magnitudes seen before the gains.
void addSamples(const std::int16_t* in, std::size_t frames, float* mix, float left, float right,
                std::pair<float, float>& peaks);

// To 16-bit, rounded to nearest (ties to even) and saturated;
// `in` is left all zeros for the next mix.
void toSamplesAndClear(float* in, std::int16_t* out, std::size_t count);

// Two channels of floats in full scale 1.0 (`right` may be `left`, for
// mono) to interleaved 16-bit frames: x * 32768, rounded to nearest (ties to
// even) and saturated, as FFmpeg's converter does.
void planarToStereo16(const float* left, const float* right, std::int16_t* out, std::size_t frames);

} // namespace audio
