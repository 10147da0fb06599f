#pragma once
// One deck player: loading a file into the deck's stream, play, pause,
// back to cue and stop, the deck's track time on its display, and its pitch.
// Both sides are this one type; the side only picks the state record and the
// controls. The deck answers its own controls' events and owns its scrub and
// run-down timers. Runs on the UI thread.
#include "core/program_state.h"
#include "decks/deck_controls.h"
#include "platform/ui/precise_timer.h"

#include <QString>
#include <cstdint>

namespace analysis {
struct TrackAnalysis;
}

namespace decks {

class Decks;

class Deck {
public:
    Deck(core::ProgramState& state, Decks& decks, int side, const DeckControls& controls);
    Deck(const Deck&) = delete;
    Deck& operator=(const Deck&) = delete;

    int side() const { return side_; }
    core::DeckRecord& record() { return state_.decks[side_]; }
    const core::DeckRecord& record() const { return state_.decks[side_]; }
    const DeckControls& controls() const { return controls_; }
    // The mixer's slider of this deck, which a load sets to the middle.
    void attachVolume(Slider* volume) { controls_.volume = volume; }
    // The scrub timer's interval in ms (the options' cue search interval).
    void setScrubInterval(int ms) { scrubTimer_.setInterval(ms); }
    void stopTimers();

    // ---- Loading (deck_loading.cpp) ----
    // Loads the record's file path into the deck. A file that cannot be opened leaves the deck as
    // it was: its previous song stays loaded (or the deck stays empty).
    void init_Player();
    // Opens `path` through the WMA add-on, else the main library. Empty on
    // failure, after telling the user (unless the automatic DJ is on).
    engine::Channel openStream(const QString& path);
    // Open-file button: the playlist's add button, then the last added file
    // is loaded and the memory cues are cleared.
    void openFile_Click();

    // ---- Transport (deck_transport.cpp) ----
    void play_Click();
    // Right button (2): back to the cue point. Other buttons do nothing.
    void play_MouseDown(int button);
    void pause_Click();
    void stop_MouseDown();
    // play_now for this deck: resume when paused, else play from the cue
    // position (restarting a deck that plays).
    void play_now();

    // ---- Track time and display (deck_time.cpp) ----
    // Total time text of the stream; stores its length in bytes.
    QString getSongLength();
    // Time text of length - position (00:00:00 when the position is past the end).
    QString getTimeRemain(std::uint64_t position, std::uint64_t length) const;
    // One track tick: the display's progress and remaining time, or the seek
    // when the user dragged the display's position bar since the last tick.
    void showTrackTime();
    void rememberProgress();
    // The stream's position has passed the automix start (percent of the
    // track, rounded) or the end. When the automatic DJ hands over where the
    // music ends and this track's beat grid and music are known: the
    // position has come within kBeatMixLead seconds of beatMixPoint().
    bool pastMixPoint() const;
    // Tells the automatic DJ that this deck is due.
    void reportMixPoint();

    // ---- Pitch (deck_pitch.cpp) ----
    // The pitch position to the stream's rate and the display.
    void changePitch();
    // One pitch step: follow the slider, or bend while a bend button is held.
    void pitchStep();
    bool bendHeld() const { return record().bendUpHeld || record().bendDownHeld; }
    void bend_MouseDown(bool up);
    void bend_MouseUp(bool up);
    void pitchZero_Click();
    // Rate buttons: 22050 Hz (false) or 44100 Hz (true) as the base rate.
    void rate_Click(bool rate44100);
    // KEY LOCK: switches it for this deck (playing or not) and shows it.
    void toggleKeyLock();
    // Puts the deck's key lock, with the engine the options chose, on its stream.
    void applyKeyLock();

    // ---- Tempo (deck_sync.cpp) ----
    // The tempo heard: the track's BPM at the stream's rate; 0 while not known.
    double effectiveBpm() const;
    // SYNC: plays this deck's track at the other deck's tempo, when the
    // pitch range reaches it (else the display says so for a while and
    // nothing changes);
    // with both decks playing, also seeks this one into the other's beat.
    void sync();
    // The analysis of `file` answered: kept in the record when `file` is the
    // track loaded now (false otherwise, and nothing changes).
    bool applyAnalysis(const QString& file, const analysis::TrackAnalysis& result);
    // The analysis of `file` could not be done: when it is the loaded track,
    // the display shows that no tempo is known.
    void analysisFailed(const QString& file);
    // The display's tempo: the effective BPM to one decimal, "..." while the
    // loaded track is being analysed, "--" when no tempo was found, nothing
    // without a track.
    void showBpm();
    // Where a fade of `fadeBeats` beats ending the music should start: the
    // first beat of the grid at or after (the music's end - the fade) and at
    // or after `notBefore`, seconds of the track; -1 when the track's tempo or
    // music is not known.
    double beatMixPoint(int fadeBeats, double notBefore = 0) const;
    // The stream's position in seconds of the track; -1 when there is no stream.
    double positionSeconds() const;
    // Track seconds the automatic DJ arms its hand-over ahead of beatMixPoint().
    static constexpr double kBeatMixLead = 4.0;

    // ---- Cueing (deck_cue.cpp) ----
    // Leaves cue mode: the scrub timer stops.
    void leaveCueMode();
    // Cue button pressed (any mouse button): this deck becomes the selected
    // deck and run_cue_mousedown sets the cue point.
    void cue_MouseDown();
    void run_cue_mousedown();
    // Cue button released.
    void cue_Click();
    // Scrub buttons (back: forward = false), only in cue mode.
    void scrub_MouseDown(bool forward);
    void scrub_MouseUp(bool forward);
    // One tick of the deck's scrub timer (the cue search interval, 80 ms by default).
    void scrubTimer_Tick();
    void resetCue_Click();
    // Play-from-memory button, control-array item `index`.
    void playFromMemory_Click(int index);

    // ---- Turntable stop (deck_turntable.cpp) ----
    // One tick of the deck's run-down timer (30 ms).
    void turntableStop_Tick();

    // ---- Drag and drop (deck_drop.cpp) ----
    // A drop of the next-song drag on one of this deck's controls:
    // with a drag of the next-song box armed, the playlist's entry at
    // song_index is loaded and the drag is disarmed.
    void dragDrop();
    // A song file dropped from the desktop's file manager: loaded like a
    // dragged playlist entry.
    void dropFile(const QString& path);

private:
    // Every control's event to the operation above (deck_wiring.cpp).
    void connectControls();
    // The panel and the controls that take drops (deck_drop_target.cpp).
    void connectDrops();
    void endLoading();
    // After a seek for a play: starts the stream unless `playing`, and runs
    // the volume step (or reports a start that failed).
    void playFromHere(bool playing);
    // The drop's error trap: false after telling the user that `path` is
    // missing (the deck's file path is then emptied).
    bool droppedFileFound(const QString& path);
    void loadDropped(const QString& path);
    // A new song: the play-from-memory button dark, both memory cues 0.
    void forgetMemoryCues();

    core::ProgramState& state_;
    Decks& decks_;
    const int side_;
    DeckControls controls_;
    // The context of every connection to this deck: they end with the deck.
    QObject connections_;
    ui::PreciseTimer scrubTimer_;
    ui::PreciseTimer runDownTimer_;
};

} // namespace decks
