// The vectorised sample loops against plain arithmetic, across vector widths
// and odd tails.
#include "platform/audio/sample_math.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

using audio::addSamples;
using audio::planarToStereo16;
using audio::stereoPeaks;
using audio::toSamplesAndClear;

TEST(SampleMath, AddSamplesAppliesGainsAndFindsPeaks) {
    std::mt19937 random(3);
    std::uniform_int_distribution<int> sample(-32768, 32767);
    for (const std::size_t frames : {0u, 1u, 3u, 4u, 7u, 8u, 9u, 37u, 512u}) {
        SCOPED_TRACE(frames);
        std::vector<std::int16_t> in(frames * 2);
        for (auto& s : in)
            s = static_cast<std::int16_t>(sample(random));
        if (frames == 37)
            in[31] = -32768; // the most negative sample, on the right
        std::vector<float> mix(frames * 2, 0.25f), expected(frames * 2, 0.25f);
        float peakLeft = 0, peakRight = 0;
        for (std::size_t i = 0; i < frames; ++i) {
            expected[i * 2] += static_cast<float>(in[i * 2]) * 0.5f;
            expected[i * 2 + 1] += static_cast<float>(in[i * 2 + 1]) * 0.75f;
            peakLeft = std::max(peakLeft, std::fabs(static_cast<float>(in[i * 2])));
            peakRight = std::max(peakRight, std::fabs(static_cast<float>(in[i * 2 + 1])));
        }
        std::pair<float, float> peaks{0.0f, 0.0f};
        addSamples(in.data(), frames, mix.data(), 0.5f, 0.75f, peaks);
        EXPECT_EQ(mix, expected);
        EXPECT_EQ(peaks.first, peakLeft);
        EXPECT_EQ(peaks.second, peakRight);
        if (frames == 37) {
            EXPECT_EQ(peaks.second, 32768.0f);
        }
    }
}

TEST(SampleMath, ToSamplesRoundsSaturatesAndClears) {
    const std::vector<float> values = {0.4f,     0.5f,      1.5f,     -0.5f,     -1.5f,   2.6f,
                                       40000.0f, -40000.0f, 32767.4f, -32768.6f, 100.49f, -7.0f,
                                       0.0f,     12.5f,     13.5f,    -2.5f,     1e9f,    3.0f};
    for (std::size_t count = 0; count <= values.size(); ++count) {
        std::vector<float> in(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(count));
        std::vector<std::int16_t> out(count);
        toSamplesAndClear(in.data(), out.data(), count);
        for (std::size_t i = 0; i < count; ++i) {
            const long rounded = std::clamp(std::lrint(values[i]), -32768L, 32767L);
            EXPECT_EQ(out[i], rounded) << values[i];
            EXPECT_EQ(in[i], 0.0f);
        }
    }
}

TEST(SampleMath, StereoPeaksPerChannel) {
    const std::vector<float> samples = {1, -2, -5, 3, 4, -1, 0, 7, -6, 0};
    EXPECT_EQ(stereoPeaks(samples.data(), 5), std::make_pair(6.0f, 7.0f));
    EXPECT_EQ(stereoPeaks(samples.data(), 3), std::make_pair(5.0f, 3.0f));
    EXPECT_EQ(stereoPeaks(samples.data(), 0), std::make_pair(0.0f, 0.0f));
}

TEST(SampleMath, PlanarFloatsToStereoRoundAndSaturateAsTheConverter) {
    const std::vector<float> left = {
        0.0f, 0.5f / 32768, 1.5f / 32768, -2.5f / 32768, 1.0f,  -1.0f, 1.5f, -1.5f, 0.25f, -0.3f,
        0.9f, -0.9f,        1e-9f,        0.7f,          -0.7f, 0.1f,  0.2f, -0.2f, 0.33f};
    std::vector<float> right(left.rbegin(), left.rend());
    const auto expected = [](float x) {
        return static_cast<std::int16_t>(std::clamp(std::lrintf(x * 32768.0f), -32768L, 32767L));
    };
    for (std::size_t frames = 0; frames <= left.size(); ++frames) {
        std::vector<std::int16_t> stereo(frames * 2), mono(frames * 2);
        planarToStereo16(left.data(), right.data(), stereo.data(), frames);
        planarToStereo16(left.data(), left.data(), mono.data(), frames);
        for (std::size_t i = 0; i < frames; ++i) {
            EXPECT_EQ(stereo[i * 2], expected(left[i])) << left[i];
            EXPECT_EQ(stereo[i * 2 + 1], expected(right[i])) << right[i];
            EXPECT_EQ(mono[i * 2 + 1], mono[i * 2]);
        }
    }
}
