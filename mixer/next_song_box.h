#pragma once
// The mixer's next-song box: it shows the playlist's cursor entry; the mouse
// over it shows its whole text as the tooltip, the keyboard focus it gets
// goes on to the playlist button, and a press starts the drag that a deck
// takes (decks/deck_drop_target.cpp). UI thread only.
class QLineEdit;
class QWidget;

namespace core {
struct ProgramState;
}

namespace mixer {

// Gives `box` the behaviour above; `focusTarget` is the playlist button.
void attachNextSongBox(QLineEdit* box, QWidget* focusTarget, core::ProgramState& state);

} // namespace mixer
