#pragma once
// The main window's two decks and what acts on both: play_now on the
// selected deck, the decks' part of the 80 ms track tick, the pitch step of
// both decks and the playlist step buttons. The main window owns one Decks,
// which builds both deck panels on it.
#include "decks/deck.h"
#include "decks/deck_controls.h"

#include <array>
#include <memory>

class QWidget;

namespace core {
struct ProgramState;
}

namespace decks {

class Decks {
public:
    // Builds the left, then the right deck's panel on `window`.
    Decks(core::ProgramState& state, DeckHost host, QWidget* window);
    ~Decks();

    Deck& deck(int side) { return *decks_[side == 0 ? 0 : 1]; }
    Deck& left() { return *decks_[0]; }
    Deck& right() { return *decks_[1]; }
    // The program-wide selected deck.
    Deck& selected();
    const DeckHost& host() const { return host_; }
    DeckEvents& events() { return events_; }
    // Runs the connected levelsChanged event.
    void levelsChanged();
    // Runs the connected trackLoaded event.
    void trackLoaded(int side, const QString& file);

    // Plays or resumes the selected deck; both decks' pitch is applied again.
    void play_now();
    // Both decks' pitch again, left then right (after play, options, run-down).
    void changePitches();
    // One pitch step for both decks, right first.
    void run_pitchTimer_timer();
    // The decks' part of the 80 ms track tick: held bends, then both
    // displays' time and progress.
    void showTrackTimes();
    // Each deck past its mix point reports it, right deck first.
    void reportMixPoints();
    // Both scrub timers' interval in ms.
    void setScrubInterval(int ms);
    void stopTimers();
    // Playlist step buttons: the next or previous entry, wrapping around.
    void downCB_Click();
    void upCB_Click();

private:
    core::ProgramState& state_;
    DeckHost host_;
    DeckEvents events_;
    std::array<std::unique_ptr<Deck>, 2> decks_;
};

} // namespace decks
