// Cueing: the cue button, the scrub buttons and their 80 ms timer, reset cue
// and play from the memory cue. Positions are byte offsets into the decoded
// stream. Runs on the UI thread.
#include "decks/deck.h"
#include "decks/decks.h"

#include "controls/lcd/qzvLCD.h"
#include "controls/widgets/console_button.h"

#include <QTimer>

namespace decks {

namespace {
// Bytes the cue point moves per scrub tick.
constexpr std::int64_t kScrubStep = 500;
// Display arrows: 0 forward, 1 back, 2 none.
constexpr short kDirForward = 0;
constexpr short kDirBack = 1;
constexpr short kDirNone = 2;
constexpr const char* kCantPlay = "Can't play file. Please choose another file...";
} // namespace

void Deck::cue_MouseDown() {
    controls_.lcd->setCueing(true);
    state_.selectedDeck = static_cast<std::int16_t>(side_);
    run_cue_mousedown();
}

void Deck::run_cue_mousedown() {
    core::DeckRecord& r = record();
    if (r.paused) {
        r.cuePosition = record().stream.position();
        return;
    }
    const std::uint64_t previous = r.cuePosition;
    if (previous > 0 && r.memoryCue1 == 0 && r.memoryCue2 == 0) {
        r.memoryCue1 = previous;
        controls_.playFromMemory->setBackColor(app::kColourOn);
    } else {
        r.memoryCue2 = r.memoryCue1;
        r.memoryCue1 = previous;
    }
    r.cuePosition = record().stream.position();
    if (r.cuePosition == r.length)
        r.cuePosition = 1;
}

void Deck::cue_Click() {
    if (!record().cueMode)
        controls_.lcd->setCueing(false);
    state_.selectedDeck = static_cast<std::int16_t>(side_);
}

void Deck::scrub_MouseDown(bool forward) {
    core::DeckRecord& r = record();
    if (!r.cueMode)
        return;
    r.scrubForwardHeld = forward;
    r.scrubBackHeld = !forward;
    if (!controls_.cueTimer->isActive())
        controls_.cueTimer->start();
    if (!r.stream.isPlaying())
        record().stream.play();
    controls_.lcd->setCueDir(forward ? kDirForward : kDirBack);
}

void Deck::scrub_MouseUp(bool forward) {
    (forward ? record().scrubForwardHeld : record().scrubBackHeld) = 0;
    // The timer keeps running: the deck loops at the new cue point.
    controls_.lcd->setCueDir(kDirNone);
    controls_.lcd->setLoopDir(kDirNone);
}

void Deck::scrubTimer_Tick() {
    core::DeckRecord& r = record();
    if (!r.cueMode)
        return;
    std::int64_t cue = r.cuePosition;
    if (r.scrubForwardHeld) {
        cue += kScrubStep;
        controls_.lcd->setCueDir(kDirForward);
    } else if (r.scrubBackHeld) {
        cue -= kScrubStep;
        controls_.lcd->setCueDir(kDirBack);
    }
    // Past either end the cue point goes back to the first byte.
    if (cue <= 0 || cue >= static_cast<std::int64_t>(r.length))
        cue = 1;
    r.cuePosition = static_cast<std::uint64_t>(cue);
    record().stream.seek(r.cuePosition);
}

void Deck::resetCue_Click() {
    core::DeckRecord& r = record();
    if (!r.stream)
        return;
    controls_.lcd->setPlay(true);
    r.memoryCue1 = r.cuePosition;
    r.cuePosition = 0;
    state_.selectedDeck = static_cast<std::int16_t>(side_);
    const bool playing = r.stream.isPlaying();
    record().stream.seek(0);
    playFromHere(playing);
}

void Deck::playFromMemory_Click(int index) {
    core::DeckRecord& r = record();
    if (!r.stream)
        return;
    state_.selectedDeck = static_cast<std::int16_t>(side_);
    controls_.lcd->setPlay(true);
    if (r.cueMode)
        leaveCueMode();
    controls_.turntableStopTimer->stop();
    changePitch();
    if (r.paused) {
        record().stream.resume();
        r.paused = false;
        controls_.lcd->setPause(false);
        decks_.levelsChanged();
        return;
    }
    const bool playing = r.stream.isPlaying();
    if (index == 0)
        record().stream.seek(r.memoryCue1);
    playFromHere(playing);
}

void Deck::playFromHere(bool playing) {
    // Also with the automatic DJ on, a failed start is reported here.
    if (!playing && !record().stream.play())
        decks_.host().throwError(kCantPlay);
    else
        decks_.levelsChanged();
}

} // namespace decks
