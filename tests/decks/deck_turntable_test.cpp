// The turntable stop on each deck: the rate's run-down tick by tick on the
// audio library, the stop at its end, and what is heard on the offline output.
#include "tests/decks/deck_fixture.h"

#include "app/main_window.h"
#include "controls/widgets/slider.h"
#include "decks/decks.h"
#include "tests/platform/audio/audio_test_support.h"

#include <QTimer>

using namespace deck_test;
using audio_test::render;

namespace {

class DeckRunDown : public DeckTest {
protected:
    void tick() {
        side() == 0 ? w->decks->left().turntableStop_Tick()
                    : w->decks->right().turntableStop_Tick();
    }
    // Stop pressed, then ticks until the timer stops itself; the rates the
    // stream ran at after each tick that did not stop it.
    std::vector<DWORD> runDown() {
        mouseDown(controls().stop);
        std::vector<DWORD> rates;
        for (int ticks = 0; controls().turntableStopTimer->isActive() && ticks < 1000; ++ticks) {
            tick();
            if (controls().turntableStopTimer->isActive())
                rates.push_back(streamRate());
        }
        return rates;
    }
};

TEST_P(DeckRunDown, TheRateFallsByTheStopSpeedUntilTheStreamStops) {
    struct Case {
        int pitchSlider;
        int speed;
        DWORD startRate;
        std::size_t reductions;
    };
    // 44096 Hz at 4000 Hz a tick: after 4096 Hz the next rate (96 Hz) is
    // below what the audio library takes, so that tick stops the stream.
    // 44100 Hz at 4400 Hz a tick lands on 100 Hz, which it still takes.
    for (const Case& c : {Case{1000, 2205, 44100, 19}, Case{1000, 50000, 44100, 0},
                          Case{999, 4000, 44096, 10}, Case{1000, 4400, 44100, 10}}) {
        SCOPED_TRACE(c.speed);
        load(wav44k());
        controls().pitch->setValue(c.pitchSlider);
        state->settings.turntableStopSpeed = c.speed;
        controls().play->click();
        ASSERT_EQ(streamRate(), c.startRate);
        const std::vector<DWORD> rates = runDown();
        ASSERT_EQ(rates.size(), c.reductions);
        for (std::size_t k = 0; k < rates.size(); ++k)
            EXPECT_EQ(rates[k], c.startRate - (k + 1) * c.speed);
        EXPECT_FALSE(controls().turntableStopTimer->isActive());
        EXPECT_EQ(rec().stream.state(), engine::PlayState::stopped);
        EXPECT_EQ(streamRate(), c.startRate); // the pitched rate for the next play
    }
}

TEST_P(DeckRunDown, WithTheAutomaticDjOnTheEndReportsTheDeckDue) {
    std::vector<int> due;
    w->decks->events().mixPointReached = [&](int s) { due.push_back(s); };
    state->autoDJ.on = true;
    load(wav44k());
    controls().play->click();
    runDown();
    EXPECT_EQ(due, std::vector<int>{side()});
}

TEST_P(DeckRunDown, TheToneFallsStepByStepToSilence) {
    load(tone("rundown.wav", fixtures::Format::Wav, 44100, 2, 3.0));
    state->settings.turntableStopSpeed = 2205;
    controls().play->click();
    render(4410);
    mouseDown(controls().stop);
    const std::size_t block = 1323; // 30 ms at 44100 Hz
    int ticks = 0;
    for (; controls().turntableStopTimer->isActive() && ticks < 100; ++ticks) {
        tick();
        std::vector<short> heard = render(block);
        // A new rate glides in over the first chunk (512 frames) of the block.
        heard.erase(heard.begin(), heard.begin() + 2 * 512);
        const int channel = audio_test::peak(heard, 0) > 0 ? 0 : 1;
        const double expected = 1000.0 * (44100 - 2205 * (ticks + 1)) / 44100;
        if (expected >= 200) { // at least three periods measured
            EXPECT_NEAR(audio_test::frequency(heard, channel, 44100), expected, expected * 0.02)
                << "tick " << ticks + 1;
        }
    }
    EXPECT_EQ(ticks, 20); // 19 reductions, then the stop
    const std::vector<short> after = render(block);
    EXPECT_EQ(audio_test::peak(after, 0), 0);
    EXPECT_EQ(audio_test::peak(after, 1), 0);
}

// Every container the decks play takes the pitch and runs down as a WAV
// does: +10 % on the slider plays the 1 kHz tone at 1100 Hz, each stop tick
// lowers it with the stream's rate, and the end is silence.
TEST_P(DeckRunDown, EveryFormatTakesThePitchAndRunsDownToSilence) {
    using fixtures::Format;
    for (const Format format : {Format::Flac, Format::Aiff, Format::M4aAac, Format::M4aAlac,
                                Format::OggVorbis, Format::Opus}) {
        const int rate = format == Format::Opus ? 48000 : 44100;
        const std::string name = std::string("pitch.") + fixtures::extensionOf(format);
        load(tone(name, format, rate, 2, 3.0));
        controls().pitch->setValue(2000);
        controls().play->click();
        render(4410);
        EXPECT_NEAR(audio_test::frequency(render(22050), 0, 44100), 1100.0, 2.0) << name;
        mouseDown(controls().stop);
        for (int ticks = 0; ticks < 5; ++ticks)
            tick();
        render(512); // the new rate glides in over one chunk
        const double expected = 1000.0 * streamRate() / rate;
        EXPECT_LT(expected, 1000.0) << name;
        EXPECT_NEAR(audio_test::frequency(render(4410), 0, 44100), expected, expected * 0.02)
            << name;
        for (int ticks = 0; controls().turntableStopTimer->isActive() && ticks < 1000; ++ticks)
            tick();
        render(1024);
        EXPECT_EQ(audio_test::peak(render(4410), 0), 0) << name;
        controls().pitch->setValue(0);
    }
}

DECK_TEST_BOTH_SIDES(DeckRunDown);

} // namespace
