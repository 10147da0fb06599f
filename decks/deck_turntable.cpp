// The turntable stop: the deck's rate run down step by step every 30 ms
// until the stream stops. Runs on the UI thread.
#include "decks/deck.h"

namespace decks {

void Deck::turntableStop_Tick() {}

} // namespace decks
