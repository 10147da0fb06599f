// Pitch: the slider and bend buttons set the stream's rate in the audio
// library and the display's pitch text; heard as a higher or lower tone.
#include "tests/decks/deck_fixture.h"

#include "app/main_window.h"
#include "app/options_window.h"
#include "controls/lcd/qzvLCD.h"
#include "controls/widgets/console_button.h"
#include "controls/widgets/slider.h"
#include "decks/decks.h"
#include "mixer/track_tick.h"
#include "tests/platform/audio/audio_test_support.h"

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

DECK_TEST_BOTH_SIDES(DeckPitch);

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
