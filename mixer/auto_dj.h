#pragma once
// The automatic DJ: while one deck is on air it waits for that deck to pass
// the automix point (the deck reports it from the track tick), then loads the next playlist song
// onto the other deck, opens that deck's volume and slides the crossfader over in steps of 2 every
// 100 ms, pressing the new deck's Play when the crossfader passes 40 (towards the right deck) or 60
// (towards the left). The playlist wraps at its end. Its stage lives in the
// program state (core::AutoDJState). Runs on the UI thread.
//
// In the options' second mode (core::AutoDJMode::Beats) a hand-over comes
// where the playing track's music ends: the next song, loaded a few seconds
// ahead, is cued at the start of its music and synced to the playing
// track's tempo; a precise timer, armed from the stream's position, starts
// it on the playing track's first beat at or after (its music's end - the
// fade), and the crossfader moves smoothly over the set number of beats.
// The analyses come from an analysis::AnalysisQueue, asked ahead for the
// next playlist entry; a track whose analysis is not there in time is
// handed over as in the first mode.
#include "analysis/track_analysis.h"
#include "core/program_state.h"
#include "platform/ui/precise_timer.h"

#include <QHash>
#include <QSet>
#include <QString>

class ConsoleButton;
class QTimer;
class Slider;

namespace analysis {
class AnalysisQueue;
}
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
    // The fade timer's interval in the first mode, ms.
    static constexpr int kStepFadeIntervalMs = 100;

    // The queue the beat mode asks for analyses (none: every hand-over is by
    // percentage). Its results are kept here and given to the decks.
    void setAnalysisQueue(analysis::AnalysisQueue* queue);
    analysis::AnalysisQueue* analysisQueue() const { return queue_; }
    // One analysis answered (also called by the queue's signal).
    void takeAnalysis(const QString& file, const analysis::TrackAnalysis& result);
    // The beat mode's fade-start timer: armed (single shot) for the time left
    // to the fade's first beat; on time it starts the incoming deck and the
    // fade, early it arms itself again for the rest.
    ui::PreciseTimer& fadeStartTimer() { return fadeStartTimer_; }
    void fadeStartTimer_Timer();

private:
    void switchOn();
    void switchOff();
    // The button's colour from the mode.
    void showMode();
    // The playlist's next entry (wrapping) becomes the cursor entry and nextSongPath.
    void advanceSong(int count);
    // Loads nextSongPath onto `deck`; false when the deck's stream did not change.
    bool loadNextSong(decks::Deck& deck);

    bool beatMode() const { return state_.settings.autoDJMode == core::AutoDJMode::Beats; }
    // Beat mode (auto_dj_beats.cpp). The analysis known for `file`, or null.
    const analysis::TrackAnalysis* analysisOf(const QString& file) const;
    // Asks the queue for the decks' tracks and the playlist entry after the
    // cursor, unless known or asked already.
    void analyseAhead();
    // The entry at the cursor is known to hold no music.
    bool nextSongSilent() const;
    // Cues `incoming` (just loaded) at its music's start, synced to `outgoing`,
    // and arms the fade on `outgoing`'s beat; false when `outgoing` does not
    // play or its beat grid is not known (the fade then runs as in the first mode).
    bool prepareBeatFade(decks::Deck& incoming, decks::Deck& outgoing);
    void startBeatFade();
    // The crossfader from the incoming deck's progress through the fade.
    void beatFadeStep();
    // Arms the fade-start timer for the time left; true when none is left.
    bool armFadeStart();

    // A fade on the beat, from its arming to its end.
    struct BeatFade {
        bool armed = false;   // waiting for the first beat
        bool running = false; // the crossfader moves
        int incoming = 1;     // side
        double startAt = 0;   // the outgoing track's first beat of the fade, seconds
        double cueAt = 0;     // the incoming track's start, seconds
        double seconds = 0;   // the fade's duration heard, seconds
        int from = 0;         // crossfader at the start
    };

    core::ProgramState& state_;
    decks::Decks& decks_;
    AutoDJControls controls_;
    analysis::AnalysisQueue* queue_ = nullptr;
    QHash<QString, analysis::TrackAnalysis> analyses_;
    QSet<QString> asked_;
    BeatFade beatFade_;
    ui::PreciseTimer fadeStartTimer_;
    // Set while a hand-over loads a deck: a failed load's own call for the
    // next step is answered by the hand-over's loop, not by a nested step.
    bool loading_ = false;
};

} // namespace mixer
