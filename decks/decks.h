#pragma once
// The main window's two decks and what acts on both: play_now on the
// selected deck, the 80 ms track tick, the pitch step of both decks, the rate
// buttons and the playlist step buttons. The main window owns one Decks and
// its named operations and handlers call into it.
#include "decks/deck.h"
#include "decks/deck_controls.h"

#include <array>
#include <memory>

namespace app {
struct ProgramState;
}

namespace decks {

class Decks {
public:
    Decks(app::ProgramState& state, DeckHost host, const DeckControls& left,
          const DeckControls& right);
    ~Decks();

    Deck& deck(int side) { return *decks_[side == 0 ? 0 : 1]; }
    Deck& left() { return *decks_[0]; }
    Deck& right() { return *decks_[1]; }
    // The program-wide selected deck.
    Deck& selected();
    const DeckHost& host() const { return host_; }

    // Plays or resumes the selected deck; both decks' pitch is applied again.
    void play_now();
    // Both decks' pitch again, left then right (after play, options, run-down).
    void changePitches();
    // One pitch step for both decks, right first.
    void run_pitchTimer_timer();
    // Every 80 ms: meters, held bends, both displays and the automatic DJ's
    // hand-over.
    void tmrTrackLength_Timer();
    // speedCB(index): 1, 2 left deck (22050, 44100); 3, 4 right deck.
    void speedCB_Click(int index);
    // Playlist step buttons: the next or previous entry, wrapping around.
    void downCB_Click();
    void upCB_Click();

private:
    app::ProgramState& state_;
    DeckHost host_;
    std::array<std::unique_ptr<Deck>, 2> decks_;
};

} // namespace decks
