#include "mixer/mixer_math.h"

#include "core/number_text.h"

#include <algorithm>
#include <cmath>

namespace mixer {

namespace {

std::int16_t toInt16(double value) {
    return static_cast<std::int16_t>(core::roundHalfEven(value));
}

std::int32_t toInt32(double value) {
    return static_cast<std::int32_t>(core::roundHalfEven(value));
}

} // namespace

VolumeAndPan volumeAndPanFor(int left, int right) {
    double volume = 0;
    double pan = 0;
    if (left == right) {
        volume = left;
    } else if (left > right) {
        volume = left;
        pan = 100.0 * right / left - 100.0;
    } else {
        volume = right;
        pan = 100.0 - 100.0 * left / right;
    }
    return {toInt16(volume), toInt16(pan)};
}

DeckVolumes mixedDeckVolumes(const SliderValues& s) {
    const double f = s.fullScale;
    const double master = s.master / f;
    const double leftLevel = f - s.leftDeck;
    const double rightLevel = f - s.rightDeck;
    DeckVolumes v;
    if (s.crossfader < f / 2) {
        v.right = toInt32(2.0 * s.crossfader / f * master * rightLevel);
        v.left = toInt32(master * leftLevel);
    } else {
        v.right = toInt32(master * rightLevel);
        v.left =
            toInt32(2.0 * std::abs(s.crossfaderMaximum - s.crossfader) / f * master * leftLevel);
    }
    return v;
}

MixLevels streamLevels(const SliderValues& s, const DeckVolumes& v, int monitorMode) {
    const int monitorLevel = s.fullScale - s.monitor;
    switch (monitorMode) {
    case 1:
        return {{monitorLevel, v.left}, {0, v.right}};
    case 2:
        return {{0, v.left}, {monitorLevel, v.right}};
    default:
        return {{v.left, v.left}, {v.right, v.right}};
    }
}

double crossfaderGain(int deck, const SliderValues& s) {
    const double f = s.fullScale;
    const double gain = deck == 0 ? 2.0 * (f - s.crossfader) / f : 2.0 * s.crossfader / f;
    return std::min(gain, 1.0);
}

MeterLevels meterLevels(int deck, int levelLeft, int levelRight, const SliderValues& s) {
    const double f = s.fullScale;
    const double deckFactor = (f - (deck == 0 ? s.leftDeck : s.rightDeck)) / f;
    MeterLevels m;
    m.deckRight = toInt16(deckFactor * levelRight);
    m.deckLeft = toInt16(deckFactor * levelLeft);
    m.master = toInt16(s.master / f * (levelLeft + levelRight) / 2.0 * crossfaderGain(deck, s));
    return m;
}

} // namespace mixer
