// Crossfader, deck, master and monitor levels as the audio library holds
// them for both decks' streams, the monitor switch, and decks without a
// stream.
#include "controls/widgets/console_button.h"
#include "tests/mixer/mixer_fixture.h"

namespace {

using mixer_test::Attributes;
using mixer_test::attributesOf;
using mixer_test::MixerTest;
using mixer_test::Setting;

struct VolumeCase {
    Setting setting;
    int leftDeckVolume, rightDeckVolume;
    Attributes left, right; // volume and pan of each deck's stream
};

// Setting: crossfader, master, left deck, right deck, monitor slider, monitor button.
const VolumeCase kVolumeCases[] = {
    // 0: centre, master and decks full: both decks full and centred.
    {{50, 100, 0, 0, 0, 2}, 100, 100, {100, 0}, {100, 0}},
    // 1: crossfader at the left end: right deck silent whatever its slider.
    {{0, 100, 20, 0, 0, 2}, 80, 0, {80, 0}, {0, 0}},
    // 2: crossfader at 25, master half: right deck at a quarter.
    {{25, 50, 0, 0, 0, 2}, 50, 25, {50, 0}, {25, 0}},
    // 3: crossfader at 75: left deck at half.
    {{75, 100, 0, 0, 0, 2}, 50, 100, {50, 0}, {100, 0}},
    // 4: crossfader at the right end: left deck silent.
    {{100, 100, 0, 30, 0, 2}, 0, 70, {0, 0}, {70, 0}},
    // 5: deck volumes round halves to even (48.5 -> 48, 49.5 -> 50).
    {{50, 50, 3, 1, 0, 2}, 48, 50, {48, 0}, {50, 0}},
    // 6: monitor left deck at the bottom: nothing of it on the left channel.
    {{50, 100, 0, 0, 100, 0}, 100, 100, {100, 100}, {100, 100}},
    // 7: monitor left deck at 80 with the deck at 40: volume 80, pan -50.
    {{50, 100, 60, 0, 20, 0}, 40, 100, {80, -50}, {100, 100}},
    // 8: monitor pan rounds halves to even (-62.5 -> -62).
    {{50, 100, 70, 0, 20, 0}, 30, 100, {80, -62}, {100, 100}},
    // 9: monitor right deck: the left deck plays full right.
    {{50, 100, 0, 50, 0, 1}, 100, 50, {100, 100}, {100, -50}},
    // 10: monitor level ignores the crossfader: a faded-out deck is full left.
    {{0, 100, 0, 0, 30, 1}, 100, 0, {100, 100}, {70, -100}},
    // 11: master scales the mix, not the monitor.
    {{50, 20, 0, 0, 0, 0}, 20, 20, {100, -80}, {20, 100}},
};

TEST_F(MixerTest, LevelsReachBothStreams) {
    playDeck(0, mixer_test::toneWav(440));
    playDeck(1, mixer_test::toneWav(1000));
    for (std::size_t row = 0; row < std::size(kVolumeCases); ++row) {
        SCOPED_TRACE(row);
        const VolumeCase& c = kVolumeCases[row];
        apply(c.setting);
        EXPECT_EQ(state->leftDeckVolume, c.leftDeckVolume);
        EXPECT_EQ(state->rightDeckVolume, c.rightDeckVolume);
        const Attributes left = attributesOf(state->decks[0].stream);
        const Attributes right = attributesOf(state->decks[1].stream);
        EXPECT_EQ(left.volume, c.left.volume);
        EXPECT_EQ(left.pan, c.left.pan);
        EXPECT_EQ(right.volume, c.right.volume);
        EXPECT_EQ(right.pan, c.right.pan);
        EXPECT_NE(state->lastResult, 0);
    }
}

TEST_F(MixerTest, MonitorSwitchLightsOneButton) {
    const int modes[] = {1, 2, 3};
    for (int index = 0; index < 3; ++index) {
        desk->monitorCMB_Click(index);
        EXPECT_EQ(state->monitorMode, modes[index]);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(controls.monitorCMB[static_cast<std::size_t>(i)]->BackColor(),
                      i == index ? app::kColourOn : app::kColourOff)
                << index << " " << i;
    }
    // Any mode other than 1 and 2 mixes with monitoring off.
    playDeck(0, mixer_test::toneWav(440));
    state->monitorMode = 7;
    controls.MainVolScroll->setValue(60);
    desk->run_volume_timer();
    EXPECT_EQ(attributesOf(state->decks[0].stream), (Attributes{60, 0}));
}

// A deck without a stream is passed to the library all the same: the other
// deck still gets its levels and the refusal only shows in the last result,
// when the empty deck's call comes last (it is the monitored deck).
TEST_F(MixerTest, DeckWithoutStream) {
    for (int empty = 0; empty < 2; ++empty) {
        SCOPED_TRACE(empty);
        const int playing = 1 - empty;
        playDeck(playing, mixer_test::toneWav(440));
        state->decks[static_cast<std::size_t>(empty)].stream.free();
        apply({50, 80, 0, 0, 0, empty});
        EXPECT_EQ(state->lastResult, 0);
        EXPECT_EQ(attributesOf(state->decks[static_cast<std::size_t>(playing)].stream),
                  (Attributes{80, 100}));
        apply({50, 80, 0, 0, 0, playing});
        EXPECT_NE(state->lastResult, 0);
        EXPECT_EQ(attributesOf(state->decks[static_cast<std::size_t>(playing)].stream),
                  (Attributes{100, -20}));
        state->decks[static_cast<std::size_t>(playing)].stream.free();
    }
}

} // namespace
