#pragma once
// The automatic DJ: while one deck is on air it waits for that deck to pass
// the automix point (the deck reports it from the track tick), then loads the next playlist song
// onto the other deck, opens that deck's volume and slides the crossfader over in steps of 2 every
// 100 ms, pressing the new deck's Play when the crossfader passes 40 (towards the right deck) or 60
// (towards the left). The playlist wraps at its end. Its stage lives in the
// program state (core::AutoDJState). Runs on the UI thread.
#include "core/program_state.h"

class ConsoleButton;
class QTimer;
class Slider;

namespace decks {
class Deck;
class Decks;
} // namespace decks

namespace mixer {

struct AutoDJControls {
    ConsoleButton* autoDJCB = nullptr; // shows the mode: bright green on, dark green off
    Slider* crossFaderScroll = nullptr;
    QTimer* tmrAutoFade = nullptr; // 100 ms while a cross-fade runs
};

class AutoDJ {
public:
    // Answers the decks' mix points, the button and the fade timer.
    AutoDJ(core::ProgramState& state, decks::Decks& decks, const AutoDJControls& controls);

    // The mode's button: off when on; on (and the first hand-over, towards
    // the right deck) when the playlist has songs; else a box asking for one.
    void autoDJCB_Click();
    // Deck `side` is due: unless it was the last one due, the stage records
    // it and one hand-over step runs.
    void mixPointReached(int side);
    // One hand-over when a deck is due: the next playlist entry (wrapping)
    // onto the deck that is not on air, its volume opened, the fade started.
    // An entry that cannot be loaded is passed over, without a box, for the
    // following one on the same deck; after one pass over the whole playlist
    // without a song that loads, the mode switches itself off and says so.
    void run_autoDJ();
    // Loads nextSongPath onto the selected deck (nothing when it is empty).
    void get_next_song();
    // One cross-fade step (every 100 ms while the fade runs).
    void tmrAutoFade_Timer();

    bool isOn() const { return state_.autoDJ.on; }

private:
    void switchOn();
    void switchOff();
    // The button's colour from the mode.
    void showMode();
    // The playlist's next entry (wrapping) becomes the cursor entry and nextSongPath.
    void advanceSong(int count);
    // Loads nextSongPath onto `deck`; false when the deck's stream did not change.
    bool loadNextSong(decks::Deck& deck);

    core::ProgramState& state_;
    decks::Decks& decks_;
    AutoDJControls controls_;
    // Set while a hand-over loads a deck: a failed load's own call for the
    // next step is answered by the hand-over's loop, not by a nested step.
    bool loading_ = false;
};

} // namespace mixer
