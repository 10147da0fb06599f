// Goals of the track analysis:
// 1. accuracy over the synthetic tracks and two MP3s made from them with
//    lame: tempo within 0.02 BPM, first beat within 10 ms, no octave errors
//    inside the BPM range; Acc1 (within 4 % of the true tempo) and Acc2
//    (also at x2, x3, x1/2, x1/3 of it) reported;
// 2. one minute of audio analysed, decoding included, on one worker, in at
//    most 300 ms (median), as WAV and as a 192 kbit/s MP3.
#include "analysis/analyser.h"
#include "engine/channel.h"
#include "engine/engine_lifecycle.h"
#include "tests/analysis/synthetic_tracks.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct Files {
    QTemporaryDir dir;

    QString wav(const synthetic::Track& track) {
        const QString path = dir.filePath(QString::fromStdString(track.name) + ".wav");
        synthetic::writeWav(path.toStdString(), synthetic::render(track));
        return path;
    }
    // The track encoded by lame at 192 kbit/s; empty when lame fails.
    QString mp3(const synthetic::Track& track) {
        const QString source = wav(track);
        const QString path = dir.filePath(QString::fromStdString(track.name) + ".mp3");
        const std::string command =
            "lame --quiet -b 192 '" + source.toStdString() + "' '" + path.toStdString() + "'";
        return std::system(command.c_str()) == 0 ? path : QString();
    }
};

Files& files() {
    static Files f;
    return f;
}

bool within(double found, double truth, double share) {
    return std::abs(found - truth) <= share * truth;
}

void BM_AccuracyOverSyntheticTracks(benchmark::State& state) {
    const analysis::AnalysisOptions options;
    struct Case {
        synthetic::Track track;
        QString file;
    };
    std::vector<Case> cases;
    for (const synthetic::Track& track : synthetic::benchmarkSet())
        cases.push_back({track, files().wav(track)});
    for (const std::size_t i : {3u, 19u}) { // drums 128, chords swung 100
        synthetic::Track track = synthetic::benchmarkSet()[i];
        track.name += " mp3";
        cases.push_back({track, files().mp3(track)});
    }
    int acc1 = 0, acc2 = 0, exact = 0, octaveErrors = 0, failures = 0;
    double worstBpm = 0, worstBeat = 0;
    for (auto _ : state) {
        acc1 = acc2 = exact = octaveErrors = failures = 0;
        worstBpm = worstBeat = 0;
        for (const Case& c : cases) {
            const analysis::AnalysisOutcome outcome = analysis::analyseFile(c.file, options);
            if (!outcome.result) {
                ++failures;
                continue;
            }
            const analysis::TrackAnalysis& r = *outcome.result;
            const double truth = c.track.bpm;
            const double folded = truth >= options.maxBpm ? truth / 2 : truth;
            acc1 += within(r.bpm, truth, 0.04);
            bool any = false;
            for (const double factor : {1.0, 2.0, 3.0, 0.5, 1.0 / 3.0})
                any = any || within(r.bpm, truth * factor, 0.04);
            acc2 += any;
            octaveErrors += !within(r.bpm, folded, 0.04);
            const double bpmError = std::abs(r.bpm - folded);
            // The first beat of an MP3 lies later by the encoder's delay left
            // in by the decoder, if any: measured like any other.
            const double beatError = std::abs(r.firstBeat - c.track.firstBeat);
            worstBpm = std::max(worstBpm, bpmError);
            worstBeat = std::max(worstBeat, beatError);
            exact += bpmError <= 0.02 && beatError <= 0.010;
            std::printf("%-20s bpm %8.3f (%6.1f) first beat %6.3f (%6.3f) music %6.2f-%6.2f\n",
                        c.track.name.c_str(), r.bpm, truth, r.firstBeat, c.track.firstBeat,
                        r.musicStart, r.musicEnd);
        }
    }
    const double n = static_cast<double>(cases.size());
    state.counters["tracks"] = n;
    state.counters["Acc1"] = acc1 / n;
    state.counters["Acc2"] = acc2 / n;
    state.counters["in_range_ok"] = (n - octaveErrors - failures) / n;
    state.counters["within_0.02_and_10ms"] = exact / n;
    state.counters["worst_bpm_error"] = worstBpm;
    state.counters["worst_beat_error_ms"] = worstBeat * 1000;
}
BENCHMARK(BM_AccuracyOverSyntheticTracks)->Iterations(1)->Unit(benchmark::kMillisecond);

synthetic::Track oneMinute() {
    synthetic::Track track;
    track.name = "one minute";
    track.bpm = 124;
    track.firstBeat = 0.3;
    track.music = 60;
    return track;
}

void analyseEach(benchmark::State& state, const QString& file) {
    const analysis::AnalysisOptions options;
    for (auto _ : state) {
        const analysis::AnalysisOutcome outcome = analysis::analyseFile(file, options);
        if (!outcome.result)
            state.SkipWithError(outcome.error.toStdString().c_str());
        benchmark::DoNotOptimize(outcome.result);
    }
}

void BM_OneMinuteWav(benchmark::State& state) {
    analyseEach(state, files().wav(oneMinute()));
}
void BM_OneMinuteMp3(benchmark::State& state) {
    analyseEach(state, files().mp3(oneMinute()));
}
// Decoding alone, for comparison.
void BM_DecodeOneMinuteMp3(benchmark::State& state) {
    const QString file = files().mp3(oneMinute());
    std::vector<std::int16_t> chunk(2 * 16384);
    for (auto _ : state) {
        engine::Channel stream = engine::Channel::openDecode(file.toLocal8Bit());
        while (stream.read(chunk.data(), 16384) > 0) {
        }
    }
}
BENCHMARK(BM_OneMinuteWav)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_OneMinuteMp3)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_DecodeOneMinuteMp3)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    setenv("VORLAN_AUDIO", "offline", 1);
    if (!engine::startEngine(-1, 44100, nullptr).failure.isEmpty()) {
        std::fprintf(stderr, "the audio engine does not start\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    engine::Channel none;
    engine::stopEngine(none, none);
    return 0;
}
