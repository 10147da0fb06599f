#include "analysis/analyser.h"

#include "analysis/beat_grid.h"
#include "analysis/loudness_meter.h"
#include "analysis/tempo_tracker.h"
#include "engine/channel.h"
#include "engine/engine_lifecycle.h"
#include "engine/error_descriptions.h"

#include <vector>

namespace analysis {
namespace {

constexpr std::size_t kChunkFrames = 16384;
// How far before the music's measured start its first beat may lie, seconds
// (the start is measured in 100 ms blocks).
constexpr double kStartSlack = 0.12;

// The grid's first beat moved back to the music's start: by whole periods
// where the tracker missed the first beats, and by half a period where it
// followed every other beat of a double-time track. Only a half period
// longer than the start's uncertainty (the slack both ways) can tell: at a
// fast tempo tracked beat by beat, half a period back is an off-beat still
// within the slack.
double firstBeatOfMusic(const BeatGrid& grid, double musicStart) {
    double first = grid.firstBeat;
    if (grid.period <= 0)
        return first;
    while (first - grid.period >= musicStart - kStartSlack)
        first -= grid.period;
    if (grid.period / 2 > 2 * kStartSlack && first - grid.period / 2 >= musicStart - kStartSlack)
        first -= grid.period / 2;
    return first;
}

} // namespace

double TrackAnalysis::effectiveBpm() const {
    double bpm = this->bpm;
    for (int i = 0; i < octaveShift; ++i)
        bpm *= 2;
    for (int i = 0; i > octaveShift; --i)
        bpm /= 2;
    return bpm;
}

AnalysisOutcome analyseFile(const QString& path, const AnalysisOptions& options,
                            const std::atomic<bool>* stop) {
    AnalysisOutcome outcome;
    engine::Channel stream = engine::Channel::openDecode(path.toLocal8Bit());
    if (!stream) {
        outcome.error = QStringLiteral("Cannot open %1 for analysis: %2")
                            .arg(path, engine::getErrorDescription(engine::lastErrorCode()));
        return outcome;
    }
    const int rate = static_cast<int>(stream.rate());
    TempoTracker tempo(rate);
    LoudnessMeter loudness(rate);
    std::vector<std::int16_t> chunk(2 * kChunkFrames);
    std::size_t total = 0;
    while (const std::size_t frames = stream.read(chunk.data(), kChunkFrames)) {
        if (stop && stop->load())
            return outcome;
        tempo.add(chunk.data(), frames);
        loudness.add(chunk.data(), frames);
        total += frames;
    }

    TrackAnalysis result;
    result.length = static_cast<double>(total) / rate;
    result.loudness = loudness.integrated();
    const LoudnessMeter::Span music = loudness.music(options.musicThresholdLu);
    result.musicStart = music.start;
    result.musicEnd = music.end;
    if (result.hasMusic()) {
        // Beats in the music only: the tracker goes on through silence.
        std::vector<double> beats;
        for (const double beat : tempo.beats())
            if (beat >= music.start - 0.2 && beat <= music.end + 0.2)
                beats.push_back(beat);
        const BeatGrid grid = fitBeatGrid(beats, options.minBpm, options.maxBpm);
        result.bpm = grid.bpm;
        result.firstBeat = firstBeatOfMusic(grid, music.start);
    }
    outcome.result = result;
    return outcome;
}

} // namespace analysis
