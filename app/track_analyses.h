#pragma once
// The program's track analysis: one cache of results and two worker queues,
// one for the tracks the decks load (one worker, so a deck's track never
// waits behind the playlist) and one for the playlist's entries (two workers:
// a whole playlist uses both cores). Results go to both decks (each keeps
// those of its loaded track) and to the playlist; the tempo is folded into
// the options' BPM range when it is handed out, so a new range applies to
// every result from then on. User-interface thread.
#include "analysis/analysis_cache.h"
#include "analysis/analysis_queue.h"
#include "analysis/track_analysis.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

namespace core {
struct ProgramState;
}
namespace decks {
class Decks;
}

namespace app {

class TrackAnalyses : public QObject {
    Q_OBJECT
public:
    // Connects to the playlist and the decks' trackLoaded event.
    TrackAnalyses(core::ProgramState& state, decks::Decks& decks, QObject* parent = nullptr);
    ~TrackAnalyses() override;

    // Deck `side` loaded `file`: a cached result answers at once, else the
    // file is analysed before any waiting playlist entry.
    void trackLoaded(int side, const QString& file);
    // Every playlist entry not analysed yet is queued; the playlist window
    // shows the progress.
    void analyseAll();
    // Ends the playlist's analysis (the decks' goes on).
    void stop();
    // Halves (step -1) or doubles (+1) the tempo of deck `side`'s track; the
    // choice is kept in the cache. Nothing while the track has no tempo.
    void changeOctave(int side, int step);

    analysis::AnalysisCache& cache() { return cache_; }
    // The decks' queue, which the automatic DJ also asks ahead through.
    analysis::AnalysisQueue& deckQueue() { return deckQueue_; }

private:
    analysis::AnalysisOptions options() const;
    // Queues the playlist files not known yet.
    void queueEntries(const QStringList& paths);
    void showProgress();
    void answer(const QString& file, const analysis::TrackAnalysis& result);
    void fail(const QString& file);

    core::ProgramState& state_;
    decks::Decks& decks_;
    analysis::AnalysisCache cache_;
    analysis::AnalysisQueue deckQueue_;
    analysis::AnalysisQueue playlistQueue_;
    // The results handed out, by path, as found (before folding).
    QHash<QString, analysis::TrackAnalysis> known_;
};

} // namespace app
