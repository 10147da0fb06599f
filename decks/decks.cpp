#include "decks/decks.h"

#include "decks/deck_panel.h"

#include "core/program_state.h"

namespace decks {

Decks::Decks(core::ProgramState& state, DeckHost host, QWidget* window)
    : state_(state), host_(std::move(host)) {
    for (int side : {0, 1})
        decks_[side] = std::make_unique<Deck>(state, *this, side, buildDeckPanel(window, side));
}

Decks::~Decks() = default;

Deck& Decks::selected() {
    return deck(state_.selectedDeck);
}

void Decks::play_now() {
    selected().play_now();
}

void Decks::changePitches() {
    left().changePitch();
    right().changePitch();
}

void Decks::run_pitchTimer_timer() {
    right().pitchStep();
    left().pitchStep();
}

void Decks::levelsChanged() {
    if (events_.levelsChanged)
        events_.levelsChanged();
}

void Decks::trackLoaded(int side, const QString& file) {
    if (events_.trackLoaded)
        events_.trackLoaded(side, file);
}

void Decks::showTrackTimes() {
    if (left().bendHeld() || right().bendHeld())
        run_pitchTimer_timer();
    left().showTrackTime();
    right().showTrackTime();
    right().rememberProgress();
    left().rememberProgress();
}

void Decks::reportMixPoints() {
    for (Deck* d : {&right(), &left()})
        if (d->pastMixPoint())
            d->reportMixPoint();
}

void Decks::setScrubInterval(int ms) {
    left().setScrubInterval(ms);
    right().setScrubInterval(ms);
}

void Decks::stopTimers() {
    right().stopTimers();
    left().stopTimers();
}

void Decks::downCB_Click() {
    state_.playlist.selectNext();
}

void Decks::upCB_Click() {
    state_.playlist.selectPrevious();
}

} // namespace decks
