// Play, pause, resume, restart from the cue point, back to cue and stop on
// each deck, heard on the offline output.
#include "tests/decks/deck_fixture.h"

#include "app/main_window.h"
#include "controls/lcd/qzvLCD.h"
#include "controls/widgets/console_button.h"
#include "decks/decks.h"
#include "platform/audio/offline.h"
#include "tests/platform/audio/audio_test_support.h"

#include <QTimer>

using namespace deck_test;
using audio_test::render;

namespace {

class DeckTransport : public DeckTest {};

TEST_P(DeckTransport, PlayPauseResumeAndRestartFromTheCuePoint) {
    int volumeSteps = 0;
    w->decks->events().levelsChanged = [&] { ++volumeSteps; };
    load(wav44k());
    controls().pause->click(); // a stopped deck does not pause
    EXPECT_FALSE(rec().paused);

    controls().play->click();
    EXPECT_EQ(rec().stream.state(), engine::PlayState::playing);
    EXPECT_TRUE(controls().lcd->Play());
    EXPECT_EQ(volumeSteps, 1);
    render(4410);
    EXPECT_EQ(rec().stream.position(), 4410u * 4);

    controls().pause->click();
    EXPECT_TRUE(rec().paused);
    EXPECT_TRUE(controls().lcd->Pause());
    EXPECT_EQ(rec().stream.state(), engine::PlayState::paused);
    render(1000);
    controls().pause->click(); // pausing again changes nothing
    EXPECT_EQ(rec().stream.position(), 4410u * 4);

    controls().play->click(); // resumes where it paused
    EXPECT_FALSE(rec().paused);
    EXPECT_FALSE(controls().lcd->Pause());
    EXPECT_EQ(volumeSteps, 2);
    render(100);
    EXPECT_EQ(rec().stream.position(), 4510u * 4);

    controls().play->click(); // a playing deck starts again from its cue point
    EXPECT_EQ(rec().stream.state(), engine::PlayState::playing);
    EXPECT_LT(rec().stream.position(), 4u * 2);
    EXPECT_EQ(volumeSteps, 3);
    EXPECT_TRUE(dialogs.boxes().empty());
}

TEST_P(DeckTransport, PauseAndPlayResumeAtTheSampleWherePaused) {
    // The same deck played straight through, then with a pause in between:
    // what is heard after the pause continues sample for sample.
    load(wav44k());
    controls().play->click();
    const std::vector<short> straight = render(12000);
    load(wav44k());
    controls().play->click();
    std::vector<short> paused = render(5000);
    controls().pause->click();
    const std::vector<short> silence = render(3000);
    EXPECT_EQ(audio_test::peak(silence, 0), 0);
    controls().play->click();
    const std::vector<short> after = render(7000);
    paused.insert(paused.end(), after.begin(), after.end());
    EXPECT_EQ(paused, straight);
}

TEST_P(DeckTransport, RightClickOnPlayGoesBackToTheCuePoint) {
    load(wav44k());
    controls().play->click();
    render(8000);
    mouseDown(controls().play, 2);
    EXPECT_EQ(rec().stream.state(), engine::PlayState::stopped);
    EXPECT_LT(rec().stream.position(), 4u * 2);
    EXPECT_TRUE(rec().cueMode);
    EXPECT_TRUE(controls().lcd->Cueing());
    EXPECT_FALSE(controls().lcd->Play());
    EXPECT_EQ(state->selectedDeck, side());

    controls().cueTimer->start();
    mouseDown(controls().play, 1); // a left press does nothing until the click
    EXPECT_TRUE(rec().cueMode);
    controls().play->click(); // play leaves cue mode
    EXPECT_FALSE(rec().cueMode);
    EXPECT_FALSE(controls().cueTimer->isActive());
    EXPECT_EQ(rec().stream.state(), engine::PlayState::playing);
}

TEST_P(DeckTransport, StopStartsTheRunDownTimerAndPlayCancelsIt) {
    load(wav44k());
    controls().play->click();
    mouseDown(controls().stop, 2);
    EXPECT_TRUE(controls().turntableStopTimer->isActive());
    EXPECT_TRUE(controls().lcd->StopPlaying());
    controls().play->click();
    EXPECT_FALSE(controls().turntableStopTimer->isActive());
}

TEST_P(DeckTransport, PlayOnAnEmptyDeckTakesThePlaylistEntryOrAsksForFiles) {
    // With an entry at the playlist's cursor: that entry is loaded and played.
    const QString entry = QString::fromStdString(wav44k());
    state->playlist.setEntries({entry}, {entry});
    controls().play->click();
    EXPECT_EQ(rec().filePath, entry);
    EXPECT_EQ(rec().stream.state(), engine::PlayState::playing);

    // Without one: the open-file button's action (the playlist's add), then
    // the file added last is loaded and played with its memory cues cleared.
    rec() = core::DeckRecord();
    state->playlist.clear();
    QString added = QString::fromStdString(tone("added.mp3", fixtures::Format::Mp3Vbr));
    QObject::connect(&state->playlist, &core::PlaylistModel::addRequested, [&] {
        if (!added.isEmpty())
            state->playlist.append(added, added);
        state->playlist.lastAddedFile = added;
    });
    rec().memoryCue1 = 500;
    controls().playFromMemory->setBackColor(app::kColourOn);
    controls().play->click();
    EXPECT_EQ(rec().filePath, added);
    EXPECT_EQ(state->playlist.selected(), 0);
    EXPECT_EQ(rec().memoryCue1, 0u);
    EXPECT_EQ(controls().playFromMemory->BackColor(), app::kColourOff);
    EXPECT_EQ(rec().stream.state(), engine::PlayState::playing);

    // Nothing added: the deck stays empty and nothing plays.
    rec() = core::DeckRecord();
    state->playlist.clear();
    added.clear();
    controls().play->click();
    EXPECT_FALSE(rec().stream);
    EXPECT_TRUE(dialogs.boxes().empty());
}

TEST_P(DeckTransport, AFailedPlayShowsItsBoxUnlessTheAutomaticDjIsOn) {
    load(wav44k());
    BASS_Stop(); // the output no longer runs: a stream cannot start
    dialogs.expectBox(ui::vbOK);
    controls().play->click();
    ASSERT_EQ(dialogs.boxes().size(), 1u);
    EXPECT_EQ(dialogs.boxes()[0].text,
              "Can't play file. Please choose another file...\r\n\r\nError Code : 9");
    state->autoDJ.on = true;
    controls().play->click();
    EXPECT_EQ(dialogs.boxes().size(), 1u);
}

DECK_TEST_BOTH_SIDES(DeckTransport);

class DeckPair : public DeckTest {};

TEST_P(DeckPair, AWmaDeckAndAnMp3DeckEachKeepTheirKindAndPlayTogether) {
    const int other = 1 - side();
    load(tone("pair.wma", fixtures::Format::Wma));
    loadSide(other, tone("pair.mp3", fixtures::Format::Mp3Cbr));
    EXPECT_EQ(rec().stream.kind(), engine::StreamKind::wma);
    EXPECT_EQ(state->decks[other].stream.kind(), engine::StreamKind::main);
    controls().play->click();
    w->decks->deck(other).controls().play->click();
    render(4410);
    EXPECT_EQ(rec().stream.position(), 4410u * 4);
    EXPECT_EQ(state->decks[static_cast<std::size_t>(other)].stream.position(), 4410u * 4);
    EXPECT_EQ(openStreams(), 2);
}

DECK_TEST_BOTH_SIDES(DeckPair);

class PlaylistStep : public app_test::ProgramTest {};

TEST_F(PlaylistStep, ButtonsWrapAround) {
    halvoranF* w = startProgram();
    ASSERT_NE(w, nullptr);
    const QStringList entries{"/m/a.mp3", "/m/b.mp3", "/m/c.mp3"};
    state->playlist.setEntries(entries, entries);
    state->playlist.setCursor(1);
    w->mixerPanel.down->click();
    EXPECT_EQ(state->playlist.cursor(), 2);
    w->mixerPanel.down->click();
    EXPECT_EQ(state->playlist.cursor(), 0);
    EXPECT_EQ(state->playlist.nextSongPath(), "/m/a.mp3");
    w->mixerPanel.up->click();
    EXPECT_EQ(state->playlist.cursor(), 2);
    EXPECT_EQ(state->playlist.nextSongPath(), "/m/c.mp3");
    w->mixerPanel.up->click();
    EXPECT_EQ(state->playlist.cursor(), 1);
    state->playlist.clear(); // an empty playlist: down stays, up at 0 stays
    state->playlist.setCursor(0);
    w->mixerPanel.down->click();
    w->mixerPanel.up->click();
    EXPECT_EQ(state->playlist.cursor(), 0);
}

} // namespace
