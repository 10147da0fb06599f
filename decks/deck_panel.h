#pragma once
// One deck's panel with its display, transport, cue and pitch controls,
// built from one table of both sides' designs. The panel is a child of
// `window`; its controls are children of the panel. UI thread only.
#include "decks/deck_controls.h"

namespace decks {

// The left (side 0) or right (side 1) deck's panel, unplaced; the record's
// volume slider and timers stay empty.
DeckControls buildDeckPanel(QWidget* window, int side);

} // namespace decks
