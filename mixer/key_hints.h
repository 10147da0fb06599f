#pragma once
// The key hints of the main window: eleven small yellow boxes, each showing
// an action's key beside the control it presses (F2 shows them, Esc hides
// them). UI thread only.
#include <QLineEdit>
#include <array>

class QWidget;

namespace decks {
struct DeckControls;
}

namespace mixer {

// Makes the boxes on the controls' panels: play, cue, stop and pause of each
// deck, and the crossfader's two ends and centre.
std::array<QLineEdit*, 11> buildKeyHints(const decks::DeckControls& l, const decks::DeckControls& r,
                                         QWidget* crossfader);

} // namespace mixer
