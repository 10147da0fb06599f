// The deck's engine calls that depend on who opened its stream: the WMA
// add-on or the main library.
#include "decks/deck.h"

namespace decks {

std::uint64_t Deck::getStreamPosition() const {
    return record().stream.position();
}

int Deck::setStreamPosition(std::uint64_t bytes) {
    return record().stream.seek(bytes);
}

int Deck::playStream() {
    return record().stream.play();
}

int Deck::resumeStream() {
    return record().stream.resume();
}

} // namespace decks
