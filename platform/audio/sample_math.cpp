#include "platform/audio/sample_math.h"

#include <algorithm>
#include <cmath>
#ifdef __SSE2__
#include <emmintrin.h>
#endif
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace audio {
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

namespace {

void addSamplesBasic(const std::int16_t* in, std::size_t frames, float* mix, float left,
                     float right, std::pair<float, float>& peaks) {
    std::size_t i = 0;
    float peakLeft = peaks.first, peakRight = peaks.second;
#ifdef __SSE2__
    // Four frames (eight samples) at a time; peaks from the 16-bit highs and lows.
    const __m128 gains = _mm_setr_ps(left, right, left, right);
    __m128i highest = _mm_setzero_si128(), lowest = _mm_setzero_si128();
    for (; i + 4 <= frames; i += 4) {
        const __m128i packed = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i * 2));
        highest = _mm_max_epi16(highest, packed);
        lowest = _mm_min_epi16(lowest, packed);
        const __m128 low = _mm_cvtepi32_ps(_mm_srai_epi32(_mm_unpacklo_epi16(packed, packed), 16));
        const __m128 high = _mm_cvtepi32_ps(_mm_srai_epi32(_mm_unpackhi_epi16(packed, packed), 16));
        float* target = mix + i * 2;
        _mm_storeu_ps(target, _mm_add_ps(_mm_loadu_ps(target), _mm_mul_ps(low, gains)));
        _mm_storeu_ps(target + 4, _mm_add_ps(_mm_loadu_ps(target + 4), _mm_mul_ps(high, gains)));
    }
    alignas(16) std::int16_t highs[8], lows[8];
    _mm_store_si128(reinterpret_cast<__m128i*>(highs), highest);
    _mm_store_si128(reinterpret_cast<__m128i*>(lows), lowest);
    for (int lane = 0; lane < 8; ++lane) {
        const float magnitude =
            std::max(static_cast<float>(highs[lane]), -static_cast<float>(lows[lane]));
        float& peak = lane % 2 == 0 ? peakLeft : peakRight;
        peak = std::max(peak, magnitude);
    }
#endif
    for (; i < frames; ++i) {
        const auto l = static_cast<float>(in[i * 2]);
        const auto r = static_cast<float>(in[i * 2 + 1]);
        peakLeft = std::max(peakLeft, std::fabs(l));
        peakRight = std::max(peakRight, std::fabs(r));
        mix[i * 2] += l * left;
        mix[i * 2 + 1] += r * right;
    }
    peaks = {peakLeft, peakRight};
}

void toSamplesAndClearBasic(float* in, std::int16_t* out, std::size_t count) {
    std::size_t i = 0;
#ifdef __SSE2__
    const __m128 zero = _mm_setzero_ps();
    for (; i + 8 <= count; i += 8) {
        const __m128i low = _mm_cvtps_epi32(_mm_loadu_ps(in + i));
        const __m128i high = _mm_cvtps_epi32(_mm_loadu_ps(in + i + 4));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packs_epi32(low, high));
        _mm_storeu_ps(in + i, zero);
        _mm_storeu_ps(in + i + 4, zero);
    }
#endif
    for (; i < count; ++i) {
        out[i] = static_cast<std::int16_t>(std::clamp(std::lrint(in[i]), -32768L, 32767L));
        in[i] = 0.0f;
    }
}

void planarToStereo16Basic(const float* left, const float* right, std::int16_t* out,
                           std::size_t frames) {
    const auto sample = [](float x) {
        const long rounded = std::lrintf(x * 32768.0f);
        return static_cast<std::int16_t>(std::clamp<long>(rounded, -32768, 32767));
    };
    for (std::size_t i = 0; i < frames; ++i) {
        out[i * 2] = sample(left[i]);
        out[i * 2 + 1] = sample(right[i]);
    }
}

#if defined(__x86_64__) || defined(__i386__)
// The same loops eight frames at a time, for CPUs with AVX2.
__attribute__((target("avx2"))) void addSamplesAvx2(const std::int16_t* in, std::size_t frames,
                                                    float* mix, float left, float right,
                                                    std::pair<float, float>& peaks) {
    const std::size_t whole = frames / 8 * 8;
    const __m256 gains = _mm256_setr_ps(left, right, left, right, left, right, left, right);
    __m256i highest = _mm256_setzero_si256(), lowest = _mm256_setzero_si256();
    for (std::size_t i = 0; i < whole; i += 8) {
        const __m256i packed = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + i * 2));
        highest = _mm256_max_epi16(highest, packed);
        lowest = _mm256_min_epi16(lowest, packed);
        const __m256 low =
            _mm256_cvtepi32_ps(_mm256_cvtepi16_epi32(_mm256_castsi256_si128(packed)));
        const __m256 high =
            _mm256_cvtepi32_ps(_mm256_cvtepi16_epi32(_mm256_extracti128_si256(packed, 1)));
        float* target = mix + i * 2;
        _mm256_storeu_ps(target, _mm256_add_ps(_mm256_loadu_ps(target), _mm256_mul_ps(low, gains)));
        _mm256_storeu_ps(target + 8,
                         _mm256_add_ps(_mm256_loadu_ps(target + 8), _mm256_mul_ps(high, gains)));
    }
    alignas(32) std::int16_t highs[16], lows[16];
    _mm256_store_si256(reinterpret_cast<__m256i*>(highs), highest);
    _mm256_store_si256(reinterpret_cast<__m256i*>(lows), lowest);
    for (int lane = 0; lane < 16; ++lane) {
        const float magnitude =
            std::max(static_cast<float>(highs[lane]), -static_cast<float>(lows[lane]));
        float& peak = lane % 2 == 0 ? peaks.first : peaks.second;
        peak = std::max(peak, magnitude);
    }
    addSamplesBasic(in + whole * 2, frames - whole, mix + whole * 2, left, right, peaks);
}

__attribute__((target("avx2"))) void toSamplesAndClearAvx2(float* in, std::int16_t* out,
                                                           std::size_t count) {
    const std::size_t whole = count / 16 * 16;
    const __m256 zero = _mm256_setzero_ps();
    for (std::size_t i = 0; i < whole; i += 16) {
        const __m256i low = _mm256_cvtps_epi32(_mm256_loadu_ps(in + i));
        const __m256i high = _mm256_cvtps_epi32(_mm256_loadu_ps(in + i + 8));
        // packs works within 128-bit halves; put the quarters back in order.
        const __m256i packed = _mm256_permute4x64_epi64(_mm256_packs_epi32(low, high), 0xD8);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), packed);
        _mm256_storeu_ps(in + i, zero);
        _mm256_storeu_ps(in + i + 8, zero);
    }
    toSamplesAndClearBasic(in + whole, out + whole, count - whole);
}

__attribute__((target("avx2"))) void planarToStereo16Avx2(const float* left, const float* right,
                                                          std::int16_t* out, std::size_t frames) {
    const std::size_t whole = frames / 8 * 8;
    const __m256 scale = _mm256_set1_ps(32768.0f);
    // Within each 128-bit half, L0..L3 R0..R3 (16-bit) to L0 R0 L1 R1 ...
    const __m256i interleave =
        _mm256_setr_epi8(0, 1, 8, 9, 2, 3, 10, 11, 4, 5, 12, 13, 6, 7, 14, 15, 0, 1, 8, 9, 2, 3, 10,
                         11, 4, 5, 12, 13, 6, 7, 14, 15);
    for (std::size_t i = 0; i < whole; i += 8) {
        const __m256i l = _mm256_cvtps_epi32(_mm256_mul_ps(_mm256_loadu_ps(left + i), scale));
        const __m256i r = _mm256_cvtps_epi32(_mm256_mul_ps(_mm256_loadu_ps(right + i), scale));
        // Halves: frames 0-3 then 4-7, each left then right.
        const __m256i packed = _mm256_shuffle_epi8(_mm256_packs_epi32(l, r), interleave);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i * 2), packed);
    }
    planarToStereo16Basic(left + whole, right + whole, out + whole * 2, frames - whole);
}

// Decided once at start-up, so the output thread only reads a constant.
const bool avx2Available = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
}();
bool hasAvx2() {
    return avx2Available;
}
#else
bool hasAvx2() {
    return false;
}
#endif

} // namespace

void addSamples(const std::int16_t* in, std::size_t frames, float* mix, float left, float right,
                std::pair<float, float>& peaks) {
#if defined(__x86_64__) || defined(__i386__)
    if (hasAvx2())
        return addSamplesAvx2(in, frames, mix, left, right, peaks);
#endif
    addSamplesBasic(in, frames, mix, left, right, peaks);
}

void toSamplesAndClear(float* in, std::int16_t* out, std::size_t count) {
#if defined(__x86_64__) || defined(__i386__)
    if (hasAvx2())
        return toSamplesAndClearAvx2(in, out, count);
#endif
    toSamplesAndClearBasic(in, out, count);
}

void planarToStereo16(const float* left, const float* right, std::int16_t* out,
                      std::size_t frames) {
#if defined(__x86_64__) || defined(__i386__)
    if (hasAvx2())
        return planarToStereo16Avx2(left, right, out, frames);
#endif
    planarToStereo16Basic(left, right, out, frames);
}

} // namespace audio
