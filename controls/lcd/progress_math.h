#pragma once
// value / range x full, to the nearest integer with halves to even, in exact
// integer arithmetic (range > 0).
#include <cstdint>

namespace qzvlcd {

constexpr int scaleHalfEven(int value, int full, int range) {
    const std::int64_t num = static_cast<std::int64_t>(value) * full;
    std::int64_t q = num / range;
    std::int64_t r = num % range;
    if (r < 0) {
        r += range;
        q -= 1;
    }
    if (2 * r > range || (2 * r == range && (q & 1) != 0))
        q += 1;
    return static_cast<int>(q);
}

} // namespace qzvlcd
