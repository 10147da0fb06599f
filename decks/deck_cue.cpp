// Cueing: the cue button, the scrub buttons and their 80 ms timer, reset cue
// and play from the memory cue. Runs on the UI thread.
#include "decks/deck.h"

namespace decks {

void Deck::cue_MouseDown() {}
void Deck::run_cue_mousedown() {}
void Deck::cue_Click() {}
void Deck::scrub_MouseDown(bool /*forward*/) {}
void Deck::scrub_MouseUp(bool /*forward*/) {}
void Deck::scrubTimer_Tick() {}
void Deck::resetCue_Click() {}
void Deck::playFromMemory_Click(int /*index*/) {}

} // namespace decks
