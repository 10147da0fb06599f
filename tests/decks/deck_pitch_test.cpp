// Pitch: the slider and bend buttons set the stream's rate in the audio
// library and the display's pitch text; heard as a higher or lower tone.
#include "tests/decks/deck_fixture.h"

#include "app/main_window.h"
#include "app/options_window.h"
#include "controls/lcd/qzvLCD.h"
#include "controls/widgets/console_button.h"
#include "controls/widgets/slider.h"
#include "decks/decks.h"
#include "decks/pitch_math.h"
#include "decks/tempo_sync.h"
#include "mixer/track_tick.h"
#include "tests/platform/audio/audio_test_support.h"

#include <QTest>
#include <algorithm>
#include <cmath>
#include <cstring>

using namespace deck_test;
using audio_test::render;

namespace {

class DeckPitch : public DeckTest {};

TEST_P(DeckPitch, SliderSetsTheRateAndTheText) {
    const struct {
        double range;
        int slider;
        DWORD rate;
        const char* text;
        std::uint32_t zero;
    } cases[] = {
        {1.0, 2000, 48510, " + 10.00%", app::kColourOff},
        {2.0, 0, 35280, " - 20.00%", app::kColourOff},
        {1.0, 1000, 44100, " 0.00% ", app::kColourOn},
        {1.5, 1250, 45754, " + 3.75%", app::kColourOff}, // 45753.75 to the nearest
        {1.0, 999, 44096, " - 0.01%", app::kColourOff},  // 44095.59 to the nearest
    };
    load(wav44k());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slider);
        state->settings.pitchRange = c.range;
        controls().pitch->setValue(c.slider == 1000 ? 1001 : 1000);
        controls().pitch->setValue(c.slider);
        EXPECT_EQ(streamRate(), c.rate);
        EXPECT_EQ(controls().lcd->Pitch(), c.text);
        EXPECT_EQ(controls().pitchZero->BackColor(), c.zero);
    }
    // The zero button brings the slider, and the pitch, back to the centre.
    controls().pitchZero->click();
    EXPECT_EQ(controls().pitch->Value(), 1000);
    EXPECT_EQ(streamRate(), 44100u);
}

TEST_P(DeckPitch, BendsMoveOnePercentPerTickUpToTwentyAndSnapBack) {
    const struct {
        bool up;
        std::int16_t limit;
        DWORD rate;
    } cases[] = {{true, 1200, 44982}, {false, 800, 43218}};
    load(wav44k());
    for (const auto& c : cases) {
        ConsoleButton* button = c.up ? controls().bendUp : controls().bendDown;
        mouseDown(button);
        EXPECT_EQ(rec().pitchPosition, c.up ? 1010 : 990);
        EXPECT_EQ(state->selectedDeck, side());
        for (int tick = 0; tick < 19; ++tick)
            w->trackTick().run();
        EXPECT_EQ(rec().pitchPosition, c.limit);
        w->trackTick().run();
        EXPECT_EQ(rec().pitchPosition, c.limit) << "holds at 20 % of the half travel";
        EXPECT_EQ(streamRate(), c.rate);
        mouseUp(button);
        EXPECT_EQ(rec().pitchPosition, 1000);
        EXPECT_EQ(streamRate(), 44100u);
        EXPECT_EQ(controls().lcd->Pitch(), " 0.00% ");
    }
}

TEST_P(DeckPitch, RateButtonsSetTheBaseRate) {
    load(wav44k());
    controls().play->click();
    controls().rate22050->click();
    EXPECT_EQ(rec().baseRate, 22050u);
    EXPECT_EQ(streamRate(), 22050u);
    EXPECT_EQ(controls().rate22050->BackColor(), app::kColourOn);
    EXPECT_EQ(controls().rate44100->BackColor(), app::kColourOff);
    render(2048);
    EXPECT_NEAR(audio_test::frequency(render(22050), 0, 44100), 500.0, 1.0)
        << "half the speed, an octave lower";
    controls().rate44100->click();
    EXPECT_EQ(streamRate(), 44100u);
    EXPECT_EQ(controls().rate44100->BackColor(), app::kColourOn);
}

TEST_P(DeckPitch, APlusTenPercentSliderPlaysAThousandHertzToneAt1100) {
    load(wav44k());
    controls().pitch->setValue(2000);
    controls().play->click();
    render(2048);
    EXPECT_NEAR(audio_test::frequency(render(22050), 0, 44100), 1100.0, 1.0);
}

TEST_P(DeckPitch, ThePitchIsAppliedAgainOnPlayAndAfterTheOptionsClose) {
    load(wav44k());
    controls().pitch->setValue(2000);
    rec().stream.setRate(30000); // as a run-down leaves it
    controls().play->click();
    EXPECT_EQ(streamRate(), 48510u);

    optionsF* options = state->optionsWindow;
    ASSERT_NE(options, nullptr);
    options->pitchRange_slider->setValue(2);
    options->cmdcloseButton_Click();
    EXPECT_EQ(streamRate(), 52920u);
    EXPECT_EQ(controls().lcd->Pitch(), " + 20.00%");
}

class StartUp : public app_test::ProgramTest {};

TEST_F(StartUp, BothDecksStartWithTheirPitchAtTheSlider) {
    halvoranF* w = startProgram();
    ASSERT_NE(w, nullptr);
    for (int side : {0, 1}) {
        EXPECT_EQ(state->decks[side].lastSliderValue, 1000);
        EXPECT_EQ(w->decks->deck(side).controls().lcd->Pitch(), " 0.00% ");
        EXPECT_EQ(w->decks->deck(side).controls().pitchZero->BackColor(), app::kColourOn);
    }
}

} // namespace

// SYNC's arithmetic: the slider position found plays the other deck's tempo
// to within half a step, the rate found to within 0.003 BPM, or there is no
// position when the slider cannot reach it; the phase seek lands on the other deck's
// fraction of a beat, never more than half a beat away.
TEST(TempoSync, PositionReachesTheTargetTempoOrThereIsNone) {
    struct Case {
        double bpm, target;
        std::uint32_t baseRate, fileRate;
        double range;
        bool reachable;
    } cases[] = {
        {124, 128, 44100, 44100, 1.0, true},  {140, 128, 44100, 44100, 1.0, true},
        {100, 128, 44100, 44100, 2.0, false}, {128, 140, 44100, 44100, 1.0, true},
        {128, 145, 44100, 44100, 1.5, true},  {128, 145, 44100, 44100, 1.0, false},
        {174, 87, 44100, 44100, 2.0, false},  {120, 121, 48000, 48000, 1.0, true},
        {120, 62, 22050, 44100, 1.0, true}, // the 22k rate button halves the tempo
    };
    for (const Case& c : cases) {
        const std::optional<int> position =
            decks::syncPosition(c.bpm, c.target, c.baseRate, c.fileRate, c.range);
        ASSERT_EQ(position.has_value(), c.reachable) << c.bpm << " -> " << c.target;
        if (!position)
            continue;
        // The slider to its nearest step (half a step is range / 200 percent)...
        const auto rate = decks::pitchFor(*position, c.range, c.baseRate).rate;
        EXPECT_NEAR(decks::effectiveBpm(c.bpm, rate, c.fileRate), c.target,
                    c.target * c.range / 20000 + 0.001)
            << c.bpm << " -> " << c.target;
        // ...the stream to the hertz.
        const auto exact = decks::syncRate(c.bpm, c.target, c.fileRate);
        EXPECT_NEAR(decks::effectiveBpm(c.bpm, exact, c.fileRate), c.target, 0.003)
            << c.bpm << " -> " << c.target;
    }
    const decks::BeatGrid grid{0.25, 60.0 / 128}, other{0.1, 60.0 / 128};
    for (double position : {10.0, 10.2, 10.45}) {
        const double aligned = decks::phaseAlignedPosition(position, grid, 33.3, other);
        EXPECT_LE(std::abs(aligned - position), grid.beatSeconds / 2 + 1e-9);
        const double beats = (aligned - grid.firstBeat) / grid.beatSeconds;
        const double otherBeats = (33.3 - other.firstBeat) / other.beatSeconds;
        EXPECT_NEAR(beats - std::floor(beats), otherBeats - std::floor(otherBeats), 1e-9);
    }
}

namespace {

// 40 s of clicks (5 ms of 2 kHz) on one channel of a 16-bit stereo WAV at
// 44.1 kHz: a beat every 60 / bpm s from `firstBeat`.
std::string clickTrack(const std::string& name, double bpm, double firstBeat, int channel) {
    constexpr int rate = 44100, seconds = 40;
    std::string pcm(static_cast<std::size_t>(rate) * seconds * 4, '\0');
    for (double beat = firstBeat; beat < seconds; beat += 60.0 / bpm) {
        const auto start = static_cast<std::size_t>(std::lround(beat * rate));
        for (std::size_t i = 0; i < rate / 200 && start + i < std::size_t(rate) * seconds; ++i) {
            const auto v = static_cast<std::int16_t>(16000 * std::sin(2 * M_PI * 2000 * i / rate));
            std::memcpy(&pcm[(start + i) * 4 + channel * 2], &v, 2);
        }
    }
    auto le = [](std::uint32_t v, int bytes) {
        std::string s;
        for (int i = 0; i < bytes; ++i)
            s += static_cast<char>((v >> (8 * i)) & 0xFF);
        return s;
    };
    const auto size = static_cast<std::uint32_t>(pcm.size());
    return writeFile(name, "RIFF" + le(36 + size, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) +
                               le(2, 2) + le(rate, 4) + le(rate * 4, 4) + le(4, 2) + le(16, 2) +
                               "data" + le(size, 4) + pcm);
}

// Frames where channel `channel` rises above a third of full scale after
// 20 ms below it.
std::vector<double> onsets(const std::vector<short>& mix, int channel) {
    std::vector<double> at;
    std::size_t quiet = 882;
    for (std::size_t i = 0; i < mix.size() / 2; ++i) {
        if (std::abs(mix[i * 2 + channel]) > 3000) {
            if (quiet >= 882)
                at.push_back(static_cast<double>(i));
            quiet = 0;
        } else {
            ++quiet;
        }
    }
    return at;
}

} // namespace

// SYNC with both decks playing clicks at 124 and 128 BPM, out of phase: from
// then on every click of the synced deck falls within 5 ms of the other's,
// over 30 s of the mix.
TEST_P(DeckPitch, SyncPlaysTheOtherDecksTempoOnItsBeat) {
    const int other = 1 - side();
    loadSide(side(), clickTrack("sync128.wav", 128, 0.35, side()));
    loadSide(other, clickTrack("sync124.wav", 124, 0.1, other));
    rec().bpm = 128;
    rec().firstBeat = 0.35;
    state->decks[other].bpm = 124;
    state->decks[other].firstBeat = 0.1;
    controls().play->click();
    w->decks->deck(other).controls().play->click();
    render(44100);
    // A tempo the pitch cannot reach: the display says so, the rate stays.
    rec().bpm = 200;
    const QString title = controls().lcd->Song();
    controls().sync->click();
    EXPECT_EQ(controls().lcd->Song(), "SYNC: OUT OF PITCH RANGE");
    EXPECT_EQ(streamRate(), 44100u);
    EXPECT_TRUE(QTest::qWaitFor([&] { return controls().lcd->Song() == title; }, 4000));
    rec().bpm = 128;
    controls().sync->click();
    EXPECT_NEAR(deck().effectiveBpm(), 124, 0.003);
    const std::vector<short> mix = render(44100 * 30);
    const std::vector<double> synced = onsets(mix, side()), beat = onsets(mix, other);
    ASSERT_GE(synced.size(), 55u);
    for (double click : synced) {
        const auto nearest =
            std::min_element(beat.begin(), beat.end(), [click](double a, double b) {
                return std::abs(a - click) < std::abs(b - click);
            });
        ASSERT_NE(nearest, beat.end());
        EXPECT_LE(std::abs(*nearest - click) / 44.1, 5.0) << "click at " << click / 44100 << " s";
    }
}

DECK_TEST_BOTH_SIDES(DeckPitch);
