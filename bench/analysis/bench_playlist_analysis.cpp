// A 100-track playlist analysed on both cores (the playlist's two workers)
// while both decks play on the JACK output of a private server (dummy
// backend, 44.1 kHz, 256-frame periods). Goal: no stream underrun in the
// engine and the output callback's 99th percentile at most 25 % of the
// period. Reports the analysis time, underruns, late callbacks and the
// callback's p50/p99/max.
#include "analysis/analysis_queue.h"
#include "platform/audio/bass.h"
#include "platform/audio/diagnostics.h"
#include "tests/analysis/synthetic_tracks.h"
#include "tests/platform/audio/jack_server.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace {

constexpr int kTracks = 100;
constexpr int kDistinct = 10;     // tracks rendered; the others are copies of them
constexpr double kSeconds = 30.0; // each track's music
constexpr double kDeckSeconds = 240.0;

void BM_PlaylistWhileBothDecksPlayOnJack(benchmark::State& state) {
    QTemporaryDir dir;
    QStringList playlist;
    for (int i = 0; i < kDistinct; ++i) {
        synthetic::Track track;
        track.bpm = 90 + 9 * i;
        track.chords = i % 2 == 1;
        track.swung = i % 3 == 0;
        track.firstBeat = 0.1 * i;
        track.music = kSeconds;
        const QString path = dir.filePath(QString("track%1.wav").arg(i));
        synthetic::writeWav(path.toStdString(), synthetic::render(track));
        playlist << path;
    }
    for (int i = kDistinct; i < kTracks; ++i) {
        const QString path = dir.filePath(QString("track%1.wav").arg(i));
        QFile::copy(playlist[i % kDistinct], path);
        playlist << path;
    }
    synthetic::Track long1, long2;
    long1.bpm = 124;
    long1.music = kDeckSeconds;
    long2.bpm = 128;
    long2.chords = true;
    long2.music = kDeckSeconds;
    const std::string deckA = dir.filePath("deckA.wav").toStdString();
    const std::string deckB = dir.filePath("deckB.wav").toStdString();
    synthetic::writeWav(deckA, synthetic::render(long1));
    synthetic::writeWav(deckB, synthetic::render(long2));

    audio_test::JackServer server(44100);
    if (!server.running()) {
        state.SkipWithError(("JACK cannot start here: " + server.failure()).c_str());
        return;
    }
    server.select();
    ::unsetenv("VORLAN_AUDIO");
    int device = BASS_DEVICE_DEFAULT;
    for (int i = 1; const char* name = BASS_GetDeviceDescription(i); ++i)
        if (std::string(name) == "system")
            device = i - 1;
    if (!BASS_Init(device, 44100, 0, nullptr) || !BASS_Start()) {
        state.SkipWithError("the engine did not start on the JACK server");
        return;
    }
    const HSTREAM left = BASS_StreamCreateFile(FALSE, deckA.c_str(), 0, 0, 0);
    const HSTREAM right = BASS_StreamCreateFile(FALSE, deckB.c_str(), 0, 0, 0);
    BASS_ChannelSetAttributes(left, 45202, 80, -20); // pitched up 2.5 %
    BASS_ChannelSetAttributes(right, 43659, 65, 30); // pitched down 1 %
    BASS_StreamPlay(left, FALSE, 0);
    BASS_StreamPlay(right, FALSE, 0);
    QThread::msleep(2000); // settle before measuring

    for (auto _ : state) {
        audio::resetOutputFigures();
        analysis::AnalysisQueue queue(nullptr);
        queue.setWorkers(2);
        int analysed = 0, failed = 0;
        QObject::connect(&queue, &analysis::AnalysisQueue::analysed, [&] { ++analysed; });
        QObject::connect(&queue, &analysis::AnalysisQueue::failed, [&] { ++failed; });
        QElapsedTimer clock;
        clock.start();
        for (const QString& path : playlist)
            queue.enqueue(path);
        while (analysed + failed < kTracks) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            QThread::msleep(5);
        }
        const double seconds = clock.elapsed() / 1000.0;
        const audio::OutputFigures output = audio::outputFigures();
        state.counters["tracks_analysed"] = analysed;
        state.counters["failed"] = failed;
        state.counters["analysis_s"] = seconds;
        state.counters["audio_minutes_per_s"] = kTracks * kSeconds / 60.0 / seconds;
        state.counters["underruns"] = static_cast<double>(output.streamUnderruns);
        state.counters["late_callbacks"] = static_cast<double>(output.lateCallbacks);
        state.counters["callbacks"] = static_cast<double>(output.callbacks);
        state.counters["period_us"] = output.periodMicroseconds;
        state.counters["callback_p50_percent"] = output.p50Percent;
        state.counters["callback_p99_percent"] = output.p99Percent;
        state.counters["callback_max_percent"] = output.maxPercent;
        if (output.streamUnderruns > 0 || output.p99Percent > 25)
            state.SkipWithError("underruns, or callback p99 over 25 % of the period");
    }
    BASS_Stop();
    BASS_StreamFree(left);
    BASS_StreamFree(right);
    BASS_Free();
}
BENCHMARK(BM_PlaylistWhileBothDecksPlayOnJack)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
