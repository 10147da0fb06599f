#include "decks/deck.h"

#include "decks/decks.h"

namespace decks {

namespace {
// Default scrub step interval and the run-down's step interval, in ms.
constexpr int kScrubIntervalMs = 80;
constexpr int kRunDownIntervalMs = 30;
} // namespace

Deck::Deck(core::ProgramState& state, Decks& decks, int side, const DeckControls& controls)
    : state_(state), decks_(decks), side_(side), controls_(controls) {
    scrubTimer_.setInterval(kScrubIntervalMs);
    runDownTimer_.setInterval(kRunDownIntervalMs);
    controls_.cueTimer = &scrubTimer_;
    controls_.turntableStopTimer = &runDownTimer_;
    connectControls();
    connectDrops();
}

void Deck::stopTimers() {
    scrubTimer_.stop();
    runDownTimer_.stop();
}

void Deck::reportMixPoint() {
    if (decks_.events().mixPointReached)
        decks_.events().mixPointReached(side_);
}

} // namespace decks
