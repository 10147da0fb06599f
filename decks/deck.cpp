#include "decks/deck.h"

#include "decks/decks.h"

namespace decks {

Deck::Deck(app::ProgramState& state, Decks& decks, int side, const DeckControls& controls)
    : state_(state), decks_(decks), side_(side), controls_(controls) {}

std::int16_t& Deck::mixPointFlag() {
    return side_ == 0 ? state_.leftAtMixPoint : state_.rightAtMixPoint;
}

std::int16_t& Deck::otherMixPointFlag() {
    return side_ == 0 ? state_.rightAtMixPoint : state_.leftAtMixPoint;
}

void Deck::raiseMixPoint() {
    mixPointFlag() = -1;
    otherMixPointFlag() = 0;
    app::callLink(state_.links.runAutoDJ);
}

} // namespace decks
