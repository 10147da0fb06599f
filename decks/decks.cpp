#include "decks/decks.h"

#include "core/program_state.h"

namespace decks {

Decks::Decks(app::ProgramState& state, DeckHost host, const DeckControls& left,
             const DeckControls& right)
    : state_(state), host_(std::move(host)) {
    decks_[0] = std::make_unique<Deck>(state, *this, 0, left);
    decks_[1] = std::make_unique<Deck>(state, *this, 1, right);
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

void Decks::tmrTrackLength_Timer() {
    app::callLink(state_.links.runVUmeterTimer);
    if (left().bendHeld() || right().bendHeld())
        run_pitchTimer_timer();
    left().showTrackTime();
    right().showTrackTime();
    right().rememberProgress();
    left().rememberProgress();
    if (state_.autoDJ_On) {
        right().handOverAtMixPoint();
        left().handOverAtMixPoint();
    }
}

void Decks::speedCB_Click(int index) {
    if (index < 1 || index > 4)
        return;
    deck(index <= 2 ? 0 : 1).rate_Click(index % 2 == 0);
}

void Decks::downCB_Click() {
    state_.playlist.selectNext();
}

void Decks::upCB_Click() {
    state_.playlist.selectPrevious();
}

} // namespace decks
