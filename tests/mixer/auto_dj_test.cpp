// The automatic DJ on the main window: switching it on and off, the
// hand-over onto the deck that is not on air, the cross-fade's steps and
// play thresholds, and playlists it cannot play.
#include "app/main_window.h"
#include "controls/lcd/qzvLCD.h"
#include "controls/widgets/console_button.h"
#include "controls/widgets/slider.h"
#include "decks/decks.h"
#include "mixer/auto_dj.h"
#include "playlist/playlist_window.h"
#include "tests/mixer/window_fixture.h"
#include "tests/platform/audio/audio_test_support.h"

#include <QLineEdit>

namespace {

using fixtures::Format;
using mixer_test::song;

class AutoDJTest : public mixer_test::WindowTest {
protected:
    QString path(const std::string& name) const {
        return QString::fromStdString((audio_test::fixtureFolder() / name).string());
    }
    std::string a = song("dj_a.wav", Format::Wav, 5);
    std::string b = song("dj_b.mp3", Format::Mp3Cbr, 5);
    std::string c = song("dj_c.wma", Format::Wma, 5);
};

TEST_F(AutoDJTest, SwitchingOnHandsOverToTheRightDeckAndOffLeavesTheDecksPlaying) {
    // No playlist: the box, and the mode stays off.
    dialogs.expectBox(ui::vbOK);
    w->mixerPanel.autoDJ->click();
    ASSERT_EQ(dialogs.boxes().size(), 1u);
    EXPECT_EQ(dialogs.boxes()[0].text, "Please load or create a playlist first...");
    EXPECT_EQ(dialogs.boxes()[0].title, "AutoDJ - No playlist loaded...");
    EXPECT_EQ(dialogs.boxes()[0].icon(), ui::vbInformation);
    EXPECT_FALSE(state->autoDJ.on);
    EXPECT_EQ(w->mixerPanel.autoDJ->BackColor(), app::kColourOff);

    usePlaylist({a, b, c});
    w->mixerPanel.autoDJ->click();
    EXPECT_TRUE(state->autoDJ.on);
    EXPECT_EQ(w->mixerPanel.autoDJ->BackColor(), app::kColourOn);
    // The next entry (1) on the right deck, its slider open, the fade running.
    EXPECT_EQ(state->playlist.cursor(), 1);
    EXPECT_EQ(state->decks[1].loadedFile, path(b));
    EXPECT_EQ(w->mixerPanel.nextSong->text(), state->playlist.line(1));
    EXPECT_EQ(w->mixerPanel.desk.RvolScroll->Value(), 0);
    EXPECT_EQ(state->autoDJ.stage, core::AutoDJStage::RightOnAir);
    EXPECT_TRUE(w->tmrAutoFade.isActive());
    advance(1000);
    EXPECT_TRUE(playing(1)); // pressed at once: the crossfader starts at 50

    // Off: the fade stops where it is, the deck plays on.
    w->mixerPanel.autoDJ->click();
    EXPECT_FALSE(state->autoDJ.on);
    EXPECT_EQ(w->mixerPanel.autoDJ->BackColor(), app::kColourOff);
    EXPECT_FALSE(w->tmrAutoFade.isActive());
    const int stoppedAt = w->mixerPanel.desk.crossFaderScroll->Value();
    advance(500);
    EXPECT_EQ(w->mixerPanel.desk.crossFaderScroll->Value(), stoppedAt);
    EXPECT_TRUE(playing(1));

    // On again while the right deck is due: no step until the next trigger.
    state->autoDJ.stage = core::AutoDJStage::RightDue;
    w->mixerPanel.autoDJ->click();
    EXPECT_EQ(state->playlist.cursor(), 1);
    w->autoDJ().mixPointReached(1); // due already: no second hand-over
    EXPECT_EQ(state->playlist.cursor(), 1);
    EXPECT_FALSE(w->tmrAutoFade.isActive());
    EXPECT_EQ(dialogs.boxes().size(), 1u);
}

// Each deck's track passing the automix point loads the next entry onto the
// other deck and fades over to it; a playlist of one song wraps to itself
// and alternates the decks. An automix point of 100 waits for the end.
TEST_F(AutoDJTest, HandOversAlternateTheDecksAndWrapThePlaylist) {
    usePlaylist({a});
    state->settings.automixStart = 100;
    w->mixerPanel.autoDJ->click();
    EXPECT_EQ(state->playlist.cursor(), 0);
    EXPECT_EQ(state->decks[1].loadedFile, path(a));
    for (int handOver = 0; handOver < 3; ++handOver) {
        SCOPED_TRACE(handOver);
        const auto incoming = static_cast<std::size_t>(handOver % 2 == 0 ? 0 : 1);
        const qzvLCD* onAirDisplay =
            incoming == 0 ? w->decks->right().controls().lcd : w->decks->left().controls().lcd;
        const core::StreamHandle before = state->decks[incoming].stream.handle();
        for (int waited = 0; state->decks[incoming].stream.handle() == before && waited < 8000;
             waited += 100)
            advance(100);
        ASSERT_NE(state->decks[incoming].stream.handle(), before);
        EXPECT_EQ(onAirDisplay->Progress(), 100) << "not before the end of the track";
        EXPECT_EQ(state->decks[incoming].loadedFile, path(a));
        EXPECT_EQ(state->playlist.cursor(), 0);
        EXPECT_EQ(state->autoDJ.stage,
                  incoming == 0 ? core::AutoDJStage::LeftOnAir : core::AutoDJStage::RightOnAir);
        // The fade reaches the incoming deck's end and stops there.
        advance(5200);
        EXPECT_EQ(w->mixerPanel.desk.crossFaderScroll->Value(), incoming == 0 ? 0 : 100);
        EXPECT_FALSE(w->tmrAutoFade.isActive());
        EXPECT_TRUE(playing(static_cast<int>(incoming)));
    }
    EXPECT_TRUE(dialogs.boxes().empty());
}

// The crossfader moves 2 a step, never past its ends, and the incoming deck
// is pressed Play once the crossfader has passed 40 (right) or 60 (left) and
// the deck is not playing; a paused deck counts as not playing.
TEST_F(AutoDJTest, FadeStepsStopAtTheEndsAndPlayTheIncomingDeckAtItsThreshold) {
    loadDeck(0, a);
    loadDeck(1, b);
    w->mixerPanel.desk.LVolScroll->setValue(0);
    w->mixerPanel.desk.RvolScroll->setValue(0);
    struct Row {
        int side; // the deck faded in
        int from;
        int ticksToStop; // ticks until the timer disables itself
        int end;
        int playsAfterTick; // the tick that presses Play (1-based)
    };
    const Row rows[] = {
        {1, 100, 1, 100, 1}, // starting at the right end: stops and plays at once
        {1, 99, 2, 100, 1},  {1, 20, 41, 100, 10}, // 22, 24, ... 40 on the tenth tick
        {0, 51, 27, 0, 1},                         // 49, ... 1, then 0; 49 is at or below 60
        {0, 80, 41, 0, 10},                        // 78, ... 60 on the tenth tick
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "deck " << r.side << " from " << r.from);
        for (int deck : {0, 1})
            state->decks[static_cast<std::size_t>(deck)].stream.stop();
        state->autoDJ.stage =
            r.side == 0 ? core::AutoDJStage::LeftOnAir : core::AutoDJStage::RightOnAir;
        w->mixerPanel.desk.crossFaderScroll->setValue(r.from);
        w->tmrAutoFade.start();
        int tick = 0;
        int playedAt = -1;
        while (w->tmrAutoFade.isActive() && tick < 100) {
            w->autoDJ().tmrAutoFade_Timer();
            ++tick;
            const int x = w->mixerPanel.desk.crossFaderScroll->Value();
            ASSERT_GE(x, 0);
            ASSERT_LE(x, 100);
            if (playedAt < 0 && playing(r.side))
                playedAt = tick;
        }
        EXPECT_EQ(tick, r.ticksToStop);
        EXPECT_EQ(w->mixerPanel.desk.crossFaderScroll->Value(), r.end);
        EXPECT_EQ(playedAt, r.playsAfterTick);
        EXPECT_EQ(state->leftDeckVolume, r.side == 0 ? 50 : 0) << "the mixer followed";
    }

    // Paused during the fade: the next step presses Play, which resumes it.
    state->autoDJ.stage = core::AutoDJStage::RightOnAir;
    w->mixerPanel.desk.crossFaderScroll->setValue(60);
    w->decks->right().controls().play->click();
    w->decks->right().controls().pause->click();
    ASSERT_TRUE(state->decks[1].paused);
    w->tmrAutoFade.start();
    w->autoDJ().tmrAutoFade_Timer();
    EXPECT_FALSE(state->decks[1].paused);
    EXPECT_TRUE(playing(1));
}

// Missing and unplayable entries are passed over without a box, for the
// following entry on the same deck (the deck on air plays on). A playlist
// with nothing playable is tried once round, then the mode switches itself
// off and says so once.
TEST_F(AutoDJTest, UnplayableEntriesAreSkippedAndAWholeUnplayableListSwitchesTheModeOff) {
    const std::string broken = mixer_test::unplayableSong("dj_broken.mp3");
    usePlaylist({a, "dj_missing.mp3", broken, c});
    w->mixerPanel.autoDJ->click();
    EXPECT_EQ(state->playlist.cursor(), 3);
    EXPECT_EQ(state->decks[1].loadedFile, path(c));
    EXPECT_EQ(state->autoDJ.stage, core::AutoDJStage::RightOnAir);
    EXPECT_TRUE(dialogs.boxes().empty());
    // The left deck takes entry 0 when the right deck is due; the right
    // deck, on air, keeps its song.
    advance(5000);
    EXPECT_EQ(state->playlist.cursor(), 0);
    EXPECT_EQ(state->decks[0].loadedFile, path(a));
    EXPECT_EQ(state->decks[1].loadedFile, path(c));
    EXPECT_TRUE(dialogs.boxes().empty());

    dialogs.expectBox(ui::vbYes);
    playlist->clearCB_Click();
    dialogs.clear();
    usePlaylist({"dj_missing.mp3", broken, "dj_missing2.wav"});
    dialogs.expectBox(ui::vbOK);
    state->autoDJ.stage = core::AutoDJStage::LeftDue;
    w->autoDJ().run_autoDJ();
    ASSERT_EQ(dialogs.boxes().size(), 1u);
    EXPECT_EQ(dialogs.boxes()[0].title, "AutoDJ - No playable song...");
    EXPECT_EQ(dialogs.boxes()[0].icon(), ui::vbInformation);
    EXPECT_FALSE(state->autoDJ.on);
    EXPECT_EQ(w->mixerPanel.autoDJ->BackColor(), app::kColourOff);
    EXPECT_FALSE(w->tmrAutoFade.isActive());
    EXPECT_EQ(state->decks[1].loadedFile, path(c)) << "the deck keeps its song";
    advance(2000);
    EXPECT_EQ(dialogs.boxes().size(), 1u);
}

} // namespace
