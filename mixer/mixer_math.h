#pragma once
// The mixer's arithmetic, free of controls and engine: how the five sliders
// become a volume and a pan per deck stream, and what the level meters show.
// Every slider runs 0..F (F = the program's crossMax); rounding is to the
// nearest integer, halves to even.
#include <cstdint>

namespace mixer {

// What the audio library is given for one stream: volume 0..100 (linear
// gain) and pan -100 (full left) .. 100 (full right).
struct VolumeAndPan {
    std::int16_t volume = 0;
    std::int16_t pan = 0;
};

// Volume and pan that put the stream's left output near `left` and its right
// output near `right` (both 0..100): the louder side sets the volume, the
// pan lowers the other side to its share.
VolumeAndPan volumeAndPanFor(int left, int right);

// Slider values as the mixer reads them.
struct SliderValues {
    int crossfader = 50;         // X: 0 left deck only .. F right deck only
    int crossfaderMaximum = 100; // the crossfader's own maximum
    int master = 50;             // M: master level = value
    int leftDeck = 0;            // L: left deck level = F - value
    int rightDeck = 0;           // R: right deck level = F - value
    int monitor = 0;             // monitor level = F - value
    int fullScale = 100;         // F; must be above 0
};

// Mixed volume of each deck, 0..100: linear crossfader law, both decks at
// full level at the centre, then the master.
struct DeckVolumes {
    std::int32_t left = 0;
    std::int32_t right = 0;
};
DeckVolumes mixedDeckVolumes(const SliderValues& sliders);

// The levels (left output, right output) each stream gets for `monitorMode`:
// the mix on the right channel, the monitored deck at the monitor level on
// the left; with monitoring off (any mode but 1 and 2) both decks centred.
struct StreamLevels {
    int left = 0;
    int right = 0;
};
struct MixLevels {
    StreamLevels leftStream;
    StreamLevels rightStream;
};
MixLevels streamLevels(const SliderValues& sliders, const DeckVolumes& volumes, int monitorMode);

// Crossfader share of a deck on the master meter, 0..1: 2 (F - X) / F for
// the left deck, 2 X / F for the right one, capped at 1.
double crossfaderGain(int deck, const SliderValues& sliders);

// What one deck writes to the meters from its stream level (channels
// 0..128): its own meter after its deck slider, and its column of the master
// meter after the master and the crossfader (not the deck slider).
struct MeterLevels {
    std::int16_t deckLeft = 0;
    std::int16_t deckRight = 0;
    std::int16_t master = 0;
};
MeterLevels meterLevels(int deck, int levelLeft, int levelRight, const SliderValues& sliders);

} // namespace mixer
