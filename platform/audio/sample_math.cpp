#include "platform/audio/sample_math.h"

#include <algorithm>
#include <cmath>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace audio {
namespace {
constexpr float fromShort = 1.0f / 32768.0f;
}

std::pair<float, float> stereoPeaks(const float* samples, std::size_t frames) {
    float left = 0.0f, right = 0.0f;
    std::size_t i = 0;
#ifdef __SSE2__
    // Four samples at a time: lanes 0 and 2 are left, 1 and 3 right.
    const __m128 magnitude = _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF));
    __m128 highest = _mm_setzero_ps();
    for (; i + 2 <= frames; i += 2)
        highest = _mm_max_ps(highest, _mm_and_ps(_mm_loadu_ps(samples + i * 2), magnitude));
    alignas(16) float lanes[4];
    _mm_store_ps(lanes, highest);
    left = std::max(lanes[0], lanes[2]);
    right = std::max(lanes[1], lanes[3]);
#endif
    for (; i < frames; ++i) {
        left = std::max(left, std::fabs(samples[i * 2]));
        right = std::max(right, std::fabs(samples[i * 2 + 1]));
    }
    return {left, right};
}

void addSamples(const std::int16_t* in, std::size_t frames, float* mix, float left, float right,
                std::pair<float, float>& peaks) {
    std::size_t i = 0;
    float peakLeft = peaks.first, peakRight = peaks.second;
#ifdef __SSE2__
    // Four frames (eight samples) at a time.
    const __m128 scale = _mm_set1_ps(fromShort);
    const __m128 gains = _mm_setr_ps(left, right, left, right);
    const __m128 magnitude = _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF));
    __m128 highest = _mm_setzero_ps();
    for (; i + 4 <= frames; i += 4) {
        const __m128i packed = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i * 2));
        const __m128 low = _mm_mul_ps(
            _mm_cvtepi32_ps(_mm_srai_epi32(_mm_unpacklo_epi16(packed, packed), 16)), scale);
        const __m128 high = _mm_mul_ps(
            _mm_cvtepi32_ps(_mm_srai_epi32(_mm_unpackhi_epi16(packed, packed), 16)), scale);
        highest = _mm_max_ps(highest, _mm_and_ps(low, magnitude));
        highest = _mm_max_ps(highest, _mm_and_ps(high, magnitude));
        float* target = mix + i * 2;
        _mm_storeu_ps(target, _mm_add_ps(_mm_loadu_ps(target), _mm_mul_ps(low, gains)));
        _mm_storeu_ps(target + 4, _mm_add_ps(_mm_loadu_ps(target + 4), _mm_mul_ps(high, gains)));
    }
    alignas(16) float lanes[4];
    _mm_store_ps(lanes, highest);
    peakLeft = std::max({peakLeft, lanes[0], lanes[2]});
    peakRight = std::max({peakRight, lanes[1], lanes[3]});
#endif
    for (; i < frames; ++i) {
        const float l = static_cast<float>(in[i * 2]) * fromShort;
        const float r = static_cast<float>(in[i * 2 + 1]) * fromShort;
        peakLeft = std::max(peakLeft, std::fabs(l));
        peakRight = std::max(peakRight, std::fabs(r));
        mix[i * 2] += l * left;
        mix[i * 2 + 1] += r * right;
    }
    peaks = {peakLeft, peakRight};
}

void toSamplesAndClear(float* in, std::int16_t* out, std::size_t count) {
    std::size_t i = 0;
#ifdef __SSE2__
    const __m128 scale = _mm_set1_ps(32768.0f);
    const __m128 zero = _mm_setzero_ps();
    for (; i + 8 <= count; i += 8) {
        const __m128i low = _mm_cvtps_epi32(_mm_mul_ps(_mm_loadu_ps(in + i), scale));
        const __m128i high = _mm_cvtps_epi32(_mm_mul_ps(_mm_loadu_ps(in + i + 4), scale));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packs_epi32(low, high));
        _mm_storeu_ps(in + i, zero);
        _mm_storeu_ps(in + i + 4, zero);
    }
#endif
    for (; i < count; ++i) {
        out[i] =
            static_cast<std::int16_t>(std::clamp(std::lrint(in[i] * 32768.0f), -32768L, 32767L));
        in[i] = 0.0f;
    }
}

} // namespace audio
