// Play, pause, back to cue and stop of one deck.
#include "decks/deck.h"
#include "decks/decks.h"

#include "controls/lcd/qzvLCD.h"

#include <QTimer>
#include <QWidget>

namespace decks {

void Deck::play_Click() {
    core::DeckRecord& r = record();
    if (r.filePath.isEmpty()) {
        r.filePath = state_.playlist.path(state_.playlist.cursor());
        if (!r.filePath.isEmpty())
            init_Player();
        else
            openFile_Click();
    }
    if (r.filePath.isEmpty())
        return;
    if (r.cueMode)
        leaveCueMode();
    state_.selectedDeck = static_cast<std::int16_t>(side_);
    decks_.play_now();
}

void Deck::play_now() {
    core::DeckRecord& r = record();
    qzvLCD& lcd = *controls_.lcd;
    if (r.paused) {
        record().stream.resume();
        r.paused = false;
        lcd.setPause(false);
        decks_.levelsChanged();
        return;
    }
    controls_.turntableStopTimer->stop();
    decks_.changePitches();
    if (!r.stream)
        return;
    lcd.setPlay(true);
    if (r.stream.isPlaying()) {
        record().stream.seek(r.cuePosition);
        decks_.levelsChanged();
        return;
    }
    record().stream.seek(r.cuePosition);
    if (!record().stream.play() && !state_.autoDJ.on)
        decks_.host().throwError("Can't play file. Please choose another file...");
    else
        decks_.levelsChanged();
}

void Deck::play_MouseDown(int button) {
    if (button != 2)
        return;
    core::DeckRecord& r = record();
    state_.selectedDeck = static_cast<std::int16_t>(side_);
    controls_.lcd->setCueing(true);
    controls_.lcd->setPlay(false);
    controls_.turntableStopTimer->stop();
    r.stream.stop();
    record().stream.seek(r.cuePosition);
    changePitch();
    r.cueMode = true;
    if (decks_.host().focusMixer)
        decks_.host().focusMixer();
}

void Deck::pause_Click() {
    core::DeckRecord& r = record();
    state_.selectedDeck = static_cast<std::int16_t>(side_);
    if (!r.stream.isPlaying())
        return;
    r.paused = true;
    controls_.lcd->setPause(true);
    r.stream.pause();
}

void Deck::stop_MouseDown() {
    // The turntable run-down stops the stream from its timer.
    controls_.turntableStopTimer->start();
    controls_.lcd->setStopPlaying(true);
}

void Deck::leaveCueMode() {
    controls_.cueTimer->stop();
    record().cueMode = false;
}

} // namespace decks
