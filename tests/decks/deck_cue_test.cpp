// The cue button, scrubbing at the cue point, reset cue and play from the
// memory cue on each deck, measured on the audio library's position and
// heard on the offline output.
#include "tests/decks/deck_fixture.h"

#include "app/main_window.h"
#include "decks/decks.h"
#include "tests/platform/audio/audio_test_support.h"

#include <QTimer>

using namespace deck_test;
using audio_test::render;

namespace {

class DeckCue : public DeckTest {
protected:
    // Loaded and back at the cue point (right click on play).
    void loadInCueMode() {
        load(wav44k());
        mouseDown(controls().play, 2);
        ASSERT_TRUE(rec().cueMode);
    }
    void scrubTick() {
        side() == 0 ? w->decks->left().scrubTimer_Tick() : w->decks->right().scrubTimer_Tick();
    }
};

TEST_P(DeckCue, CuePressesShiftTheMemoriesUnlessTheDeckIsPaused) {
    load(wav44k());
    controls().play->click();
    render(1000);
    mouseDown(controls().cue); // the load's cue point (byte 1) goes to memory 1
    EXPECT_EQ(rec().memoryCue1, 1u);
    EXPECT_EQ(rec().cuePosition, 4000u);
    EXPECT_EQ(controls().playFromMemory->BackColor(), app::kColourOn);
    EXPECT_TRUE(controls().lcd->Cueing());
    controls().cue->click(); // released outside cue mode: the cue sign goes out
    EXPECT_FALSE(controls().lcd->Cueing());
    render(1000);
    mouseDown(controls().cue);
    EXPECT_EQ(rec().memoryCue2, 1u);
    EXPECT_EQ(rec().memoryCue1, 4000u);
    EXPECT_EQ(rec().cuePosition, 8000u);
    render(1000);
    controls().pause->click(); // paused: only the cue point moves
    mouseDown(controls().cue);
    EXPECT_EQ(rec().cuePosition, 12000u);
    EXPECT_EQ(rec().memoryCue1, 4000u);
    EXPECT_EQ(rec().memoryCue2, 1u);
}

TEST_P(DeckCue, ScrubbingIsIgnoredOutsideCueModeAndWrapsAtBothEnds) {
    load(wav44k());
    mouseDown(controls().cueBack);
    EXPECT_FALSE(controls().cueTimer->isActive());
    EXPECT_EQ(rec().stream.state(), engine::PlayState::stopped);
    EXPECT_EQ(controls().lcd->CueDir(), 2);

    mouseDown(controls().play, 2);
    mouseDown(controls().cueBack);
    EXPECT_TRUE(controls().cueTimer->isActive());
    EXPECT_EQ(rec().stream.state(), engine::PlayState::playing);
    EXPECT_EQ(controls().lcd->CueDir(), 1);
    scrubTick(); // 1 - 500 wraps to the first byte
    EXPECT_EQ(rec().cuePosition, 1u);
    EXPECT_LT(rec().stream.position(), 4u * 2);
    rec().cuePosition = 500;
    scrubTick(); // exactly 0 is before the first byte too
    EXPECT_EQ(rec().cuePosition, 1u);
    mouseUp(controls().cueBack);
    EXPECT_EQ(controls().lcd->CueDir(), 2);
    EXPECT_EQ(controls().lcd->LoopDir(), 2);
    EXPECT_TRUE(controls().cueTimer->isActive());

    rec().cuePosition = rec().length - 600;
    mouseDown(controls().cueForward);
    EXPECT_EQ(controls().lcd->CueDir(), 0);
    scrubTick();
    EXPECT_EQ(rec().stream.position(), rec().length - 100);
    scrubTick(); // at or past the end: the first byte again
    EXPECT_EQ(rec().cuePosition, 1u);
    EXPECT_LT(rec().stream.position(), 4u * 2);
}

TEST_P(DeckCue, TheScrubTimerLoopsTheFirst80MsAfterTheCuePoint) {
    loadInCueMode();
    rec().cuePosition = 20000;
    const std::size_t tick = 3528; // 80 ms at 44100 Hz
    mouseDown(controls().cueForward);
    scrubTick();
    render(tick); // the stream starts: its gains settle in the first chunk
    scrubTick();
    const std::vector<short> first = render(tick);
    scrubTick(); // held: 500 bytes (125 frames) further on
    const std::vector<short> second = render(tick);
    EXPECT_GT(std::max(audio_test::peak(first, 0), audio_test::peak(first, 1)), 1000);
    EXPECT_TRUE(std::equal(second.begin(), second.end() - 250, first.begin() + 250));
    mouseUp(controls().cueForward);
    scrubTick(); // released: every tick goes back to the same point
    const std::vector<short> loopA = render(tick);
    scrubTick();
    const std::vector<short> loopB = render(tick);
    EXPECT_EQ(rec().cuePosition, 21500u);
    EXPECT_EQ(loopA, second);
    EXPECT_EQ(loopB, second);
}

TEST_P(DeckCue, ResetCueOnAStoppedDeckPlaysFromTheTopAndRemembersTheCue) {
    int volumeSteps = 0;
    w->decks->events().levelsChanged = [&] { ++volumeSteps; };
    load(wav44k());
    rec().cuePosition = 40000;
    controls().resetCue->click();
    EXPECT_EQ(rec().memoryCue1, 40000u);
    EXPECT_EQ(rec().cuePosition, 0u);
    EXPECT_TRUE(controls().lcd->Play());
    EXPECT_EQ(volumeSteps, 1);
    render(100);
    EXPECT_EQ(rec().stream.position(), 400u);
    EXPECT_EQ(rec().stream.state(), engine::PlayState::playing);
}

TEST_P(DeckCue, PlayFromMemoryLeavesCueModeAndTheRunDown) {
    loadInCueMode();
    mouseDown(controls().cueBack);
    rec().memoryCue1 = 8000;
    controls().playFromMemory->click();
    EXPECT_FALSE(rec().cueMode);
    EXPECT_FALSE(controls().cueTimer->isActive());
    render(100);
    EXPECT_EQ(rec().stream.position(), 8400u);

    // During a run-down: the rate comes back and play starts again from memory.
    mouseDown(controls().stop);
    side() == 0 ? w->decks->left().turntableStop_Tick() : w->decks->right().turntableStop_Tick();
    EXPECT_LT(streamRate(), 44100u);
    controls().playFromMemory->click();
    EXPECT_FALSE(controls().turntableStopTimer->isActive());
    EXPECT_EQ(streamRate(), 44100u);
    EXPECT_EQ(rec().stream.position(), 8000u);
    EXPECT_TRUE(dialogs.boxes().empty());
}

TEST_P(DeckCue, AFailedPlayFromMemoryIsReportedAlsoWithTheAutomaticDj) {
    load(wav44k());
    state->autoDJ.on = true;
    BASS_Stop(); // the output no longer runs: a stream cannot start
    dialogs.expectBox(ui::vbOK);
    dialogs.expectBox(ui::vbOK);
    controls().playFromMemory->click();
    controls().resetCue->click();
    ASSERT_EQ(dialogs.boxes().size(), 2u);
    EXPECT_EQ(dialogs.boxes()[1].text,
              "Can't play file. Please choose another file...\r\n\r\nError Code : 9");
}

DECK_TEST_BOTH_SIDES(DeckCue);

} // namespace
