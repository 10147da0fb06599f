#include "app/track_analyses.h"

#include "analysis/beat_grid.h"
#include "core/program_state.h"
#include "decks/decks.h"

#include <algorithm>

namespace app {

namespace {
// Workers of the playlist's queue: both cores of a small machine.
constexpr int kPlaylistWorkers = 2;
// The DJ's halve/double choice goes at most this many octaves either way.
constexpr int kMaxOctaveShift = 2;
} // namespace

TrackAnalyses::TrackAnalyses(core::ProgramState& state, decks::Decks& decks, QObject* parent)
    : QObject(parent), state_(state), decks_(decks), deckQueue_(&cache_), playlistQueue_(&cache_) {
    playlistQueue_.setWorkers(kPlaylistWorkers);
    for (analysis::AnalysisQueue* queue : {&deckQueue_, &playlistQueue_}) {
        connect(queue, &analysis::AnalysisQueue::analysed, this, &TrackAnalyses::answer);
        connect(queue, &analysis::AnalysisQueue::failed, this,
                [this](const QString& file) { fail(file); });
    }
    connect(&playlistQueue_, &analysis::AnalysisQueue::progress, this,
            [this](int done, int total) { state_.playlist.setAnalysisProgress(done, total); });

    core::PlaylistModel& playlist = state_.playlist;
    connect(&playlist, &core::PlaylistModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) {
                queueEntries(state_.playlist.paths().mid(first, last - first + 1));
            });
    // A replaced list: what was waiting for the old one is dropped.
    connect(&playlist, &core::PlaylistModel::modelReset, this, [this] {
        playlistQueue_.stop();
        queueEntries(state_.playlist.paths());
    });
    connect(&playlist, &core::PlaylistModel::analyseAllRequested, this, &TrackAnalyses::analyseAll);
    connect(&playlist, &core::PlaylistModel::stopAnalysisRequested, this, &TrackAnalyses::stop);
    decks_.events().trackLoaded = [this](int side, const QString& file) {
        trackLoaded(side, file);
    };
}

TrackAnalyses::~TrackAnalyses() {
    decks_.events().trackLoaded = nullptr;
}

analysis::AnalysisOptions TrackAnalyses::options() const {
    analysis::AnalysisOptions options;
    options.minBpm = state_.settings.bpmRangeMin;
    options.maxBpm = state_.settings.bpmRangeMax;
    return options;
}

void TrackAnalyses::trackLoaded(int, const QString& file) {
    if (std::optional<analysis::TrackAnalysis> cached = cache_.find(file)) {
        answer(file, *cached);
        return;
    }
    deckQueue_.setOptions(options());
    deckQueue_.enqueue(file);
}

void TrackAnalyses::analyseAll() {
    queueEntries(state_.playlist.paths());
}

void TrackAnalyses::stop() {
    playlistQueue_.stop();
}

void TrackAnalyses::queueEntries(const QStringList& paths) {
    playlistQueue_.setOptions(options());
    QStringList fresh;
    for (const QString& path : paths) {
        if (!path.isEmpty() && !known_.contains(path) && !fresh.contains(path))
            fresh.append(path);
    }
    for (const QString& path : fresh)
        playlistQueue_.enqueue(path);
    if (!fresh.isEmpty())
        showProgress();
}

void TrackAnalyses::showProgress() {
    state_.playlist.setAnalysisProgress(playlistQueue_.done(), playlistQueue_.total());
}

void TrackAnalyses::answer(const QString& file, const analysis::TrackAnalysis& result) {
    known_.insert(file, result);
    analysis::TrackAnalysis shown = result;
    if (shown.bpm > 0) {
        const analysis::AnalysisOptions range = options();
        shown.bpm = analysis::foldBpm(shown.bpm, range.minBpm, range.maxBpm);
    }
    decks_.left().applyAnalysis(file, shown);
    decks_.right().applyAnalysis(file, shown);
    state_.playlist.setTrackFacts(file, shown.effectiveBpm(), shown.length);
}

void TrackAnalyses::fail(const QString& file) {
    decks_.left().analysisFailed(file);
    decks_.right().analysisFailed(file);
}

void TrackAnalyses::changeOctave(int side, int step) {
    const QString file = state_.decks[side == 0 ? 0 : 1].loadedFile;
    const auto found = known_.constFind(file);
    if (file.isEmpty() || found == known_.cend() || found->bpm <= 0)
        return;
    analysis::TrackAnalysis result = *found;
    result.octaveShift = std::clamp(result.octaveShift + step, -kMaxOctaveShift, kMaxOctaveShift);
    cache_.setOctaveShift(file, result.octaveShift);
    answer(file, result);
}

} // namespace app
