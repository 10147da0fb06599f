// Goals of the decks, each against a baseline measured in the same run:
// 1. one tmrTrackLength tick with both decks playing (displays repainted)
//    costs at most 0.5 ms more than an empty tick;
// 2. loading a 20-minute MP3 (and a file of each other container) onto a
//    deck with accurate seeking takes at most 50 ms (median), shown next to
//    opening the MP3 for its tags alone.
#include "app/main_window.h"
#include "app/splash_window.h"
#include "bench/audio/bench_support.h"
#include "controls/widgets/console_button.h"
#include "core/program_state.h"
#include "decks/decks.h"
#include "mixer/track_tick.h"
#include "platform/audio/offline.h"
#include "platform/ui/dialogs.h"

#include <QApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <map>
#include <memory>
#include <vector>

extern "C" {
#include <libavutil/log.h>
}

namespace {

using Clock = std::chrono::steady_clock;

// Any box in a benchmark is a failure of the run: it is printed and answered.
class PrintedDialogs : public ui::Dialogs {
public:
    int msgBox(const QString& text, int, const QString& title) override {
        std::fprintf(stderr, "unexpected box \"%s\": %s\n", qPrintable(title), qPrintable(text));
        return ui::vbOK;
    }
    ui::FileDialogResult openFile(const ui::FileDialogRequest&) override { return {}; }
    ui::FileDialogResult saveFile(const ui::FileDialogRequest&) override { return {}; }
    void setWaitCursor(bool) override {}
};

// One started program (offline output) for the whole run.
struct Program {
    QTemporaryDir dir;
    PrintedDialogs dialogs;
    std::unique_ptr<core::ProgramState> state;
    halvoranF* window = nullptr;

    Program() {
        qputenv("VORLAN_REGISTRY", (dir.path() + "/registry.db").toUtf8());
        qputenv("XDG_DATA_HOME", (dir.path() + "/data").toUtf8());
        qputenv("VORLAN_AUDIO", "offline");
        state = std::make_unique<core::ProgramState>(dialogs);
        state->endProgram = [](int) {};
        loadingF::load(*state)->tmrLoad_Timer();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        window = state->mainWindow;
        window->tmrTrackLength.stop(); // ticks come from the benchmark only
        state->engine.streamFlags = engine::kExactSeeks;
    }
};

// Left alive at exit: its windows must not outlive the application object.
Program& program() {
    static Program* p = new Program;
    return *p;
}

std::map<std::string, double>& figures() {
    static std::map<std::string, double> f;
    return f;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

// Wall-clock and process CPU milliseconds of `work`, kept for their medians
// (on a busy machine the CPU time is the steadier figure).
struct Timings {
    std::vector<double> wall, cpu;
    template <typename Work> void time(Work&& work) {
        const auto begin = Clock::now();
        const std::clock_t cpuBegin = std::clock();
        work();
        cpu.push_back(1000.0 * static_cast<double>(std::clock() - cpuBegin) / CLOCKS_PER_SEC);
        wall.push_back(std::chrono::duration<double, std::milli>(Clock::now() - begin).count());
    }
    void report(const std::string& name) const {
        figures()[name + "_ms"] = median(wall);
        figures()[name + "_cpu_ms"] = median(cpu);
    }
};

void loadDeck(int side, const std::string& path) {
    Program& p = program();
    p.state->decks[side].filePath = QString::fromStdString(path);
    if (side == 0)
        p.window->decks->left().init_Player();
    else
        p.window->decks->right().init_Player();
}

// Ticks with 80 ms of sound rendered before each (not timed); the tick and
// the repaint of what it changed are timed.
void tickLoop(benchmark::State& s, const char* figure) {
    Program& p = program();
    std::vector<double> micros;
    for (auto _ : s) {
        BASS_Offline_Render(nullptr, 3528);
        const auto begin = Clock::now();
        p.window->trackTick().run();
        QCoreApplication::processEvents();
        const double seconds = std::chrono::duration<double>(Clock::now() - begin).count();
        s.SetIterationTime(seconds);
        micros.push_back(seconds * 1e6);
    }
    figures()[figure] = median(micros);
}

void BM_TrackTickEmptyDecks(benchmark::State& s) {
    Program& p = program();
    for (core::DeckRecord& deck : p.state->decks)
        deck = core::DeckRecord();
    tickLoop(s, "empty_tick_us");
}

void BM_TrackTickBothDecksPlaying(benchmark::State& s) {
    Program& p = program();
    loadDeck(0, bench_audio::threeMinuteMp3());
    loadDeck(1, bench_audio::threeMinuteMp3());
    p.window->decks->left().controls().play->click();
    p.window->decks->right().controls().play->click();
    tickLoop(s, "playing_tick_us");
    for (core::DeckRecord& deck : p.state->decks)
        deck = core::DeckRecord();
}

void BM_LoadTwentyMinuteMp3OntoADeck(benchmark::State& s) {
    const std::string path =
        bench_audio::cached("twenty_minutes.mp3", fixtures::Format::Mp3Cbr, 1200);
    Timings timings;
    for (auto _ : s)
        timings.time([&] { loadDeck(0, path); });
    timings.report("load");
    program().state->decks[0] = core::DeckRecord();
}

// Opening the file alone: as a tag reader does (no accurate seeking, no
// pre-buffer), and with accurate seeking as a deck opens it.
void openLoop(benchmark::State& s, std::uint32_t flags, const std::string& figure) {
    program(); // the library is initialised by the started program, also when run alone
    const std::string path =
        bench_audio::cached("twenty_minutes.mp3", fixtures::Format::Mp3Cbr, 1200);
    Timings timings;
    for (auto _ : s) {
        timings.time([&] {
            const engine::Channel stream =
                engine::Channel::openMain(QByteArray(path.c_str()), flags);
            benchmark::DoNotOptimize(stream.tags());
        });
    }
    timings.report(figure);
}

void BM_OpenTwentyMinuteMp3ForTags(benchmark::State& s) {
    openLoop(s, 0, "tags");
}

void BM_OpenTwentyMinuteMp3WithAccurateSeeking(benchmark::State& s) {
    openLoop(s, engine::kExactSeeks, "accurate_open");
}

// The same load for a 20-minute file of each other container.
void BM_LoadTwentyMinutesOntoADeckByFormat(benchmark::State& s) {
    const bench_audio::SongFormat& format =
        bench_audio::songFormats().at(static_cast<std::size_t>(s.range(0)));
    const std::string path = bench_audio::songFile(format, 1200);
    Timings timings;
    for (auto _ : s)
        timings.time([&] { loadDeck(0, path); });
    timings.report(std::string("load_") + format.name);
    program().state->decks[0] = core::DeckRecord();
}

BENCHMARK(BM_TrackTickEmptyDecks)->UseManualTime()->Iterations(500)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TrackTickBothDecksPlaying)
    ->UseManualTime()
    ->Iterations(500)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenTwentyMinuteMp3ForTags)->Iterations(21)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenTwentyMinuteMp3WithAccurateSeeking)->Iterations(21)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadTwentyMinuteMp3OntoADeck)->Iterations(21)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadTwentyMinutesOntoADeckByFormat)
    ->DenseRange(0, 5)
    ->Iterations(21)
    ->Unit(benchmark::kMillisecond);

double figure(const char* name) {
    const auto found = figures().find(name);
    return found == figures().end() ? -1 : found->second;
}

} // namespace

int main(int argc, char** argv) {
    av_log_set_level(AV_LOG_QUIET);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const double empty = figure("empty_tick_us");
    const double playing = figure("playing_tick_us");
    std::printf("\nDeck goals (medians from this run):\n");
    std::printf("  1. track tick, both decks playing %.1f us, empty tick %.1f us: %.1f us more "
                "(<= 500 us) %s\n",
                playing, empty, playing - empty,
                playing < 0 || empty < 0 ? "not run"
                : playing - empty <= 500 ? "met"
                                         : "NOT MET");
    const double load = figure("load_ms");
    std::printf("  2. 20-minute MP3 loaded onto a deck %.2f ms (<= 50 ms) %s, CPU %.2f ms\n", load,
                load < 0     ? "not run"
                : load <= 50 ? "met"
                             : "NOT MET",
                figure("load_cpu_ms"));
    std::printf("     the same file opened for tags alone %.2f ms (CPU %.2f ms), opened with "
                "accurate seeking alone %.2f ms (CPU %.2f ms)\n",
                figure("tags_ms"), figure("tags_cpu_ms"), figure("accurate_open_ms"),
                figure("accurate_open_cpu_ms"));
    for (const bench_audio::SongFormat& format : bench_audio::songFormats()) {
        const double byFormat = figure((std::string("load_") + format.name + "_ms").c_str());
        std::printf("     20-minute %-10s loaded onto a deck %.2f ms (<= 50 ms) %s, CPU %.2f ms\n",
                    format.name, byFormat,
                    byFormat < 0     ? "not run"
                    : byFormat <= 50 ? "met"
                                     : "NOT MET",
                    figure((std::string("load_") + format.name + "_cpu_ms").c_str()));
    }
    BASS_Free();
    return 0;
}
