// Loading a deck by dropping the next-song box (or a file) on it. Runs on
// the UI thread.
#include "decks/deck.h"

namespace decks {

void Deck::dragDrop() {}

} // namespace decks
