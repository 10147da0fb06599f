// Goal 2: random accurate seeks in a 3-minute MP3, a 3-minute WMA and a
// 3-minute file of each other container (exactness against a straight
// decode, and time per seek).
#include "bench/audio/bench_support.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <ctime>
#include <random>
#include <vector>

using namespace bench_audio;

namespace {

using Clock = std::chrono::steady_clock;

struct SeekFigures {
    std::vector<double> milliseconds;
    std::vector<double> cpuMilliseconds; // this thread's processor time, whatever the load
    int exact = 0;
};

double threadCpuMilliseconds() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// `count` seeks to random frames; each is timed (the seek call and the
// pre-buffer that follows it, as a deck does) and, when `reference` is given,
// the 256 frames heard after it are compared with the straight decode.
SeekFigures randomSeeks(const std::string& path, bool wma, int count,
                        const std::vector<short>* reference, int rate = 44100) {
    startOffline(rate);
    const HSTREAM stream = wma ? BASS_WMA_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0)
                               : BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, BASS_MP3_SETPOS);
    const QWORD frames =
        (wma ? BASS_WMA_StreamGetLength(stream) : BASS_StreamGetLength(stream)) / 4;
    std::mt19937 random(20261207);
    std::uniform_int_distribution<QWORD> where(0, frames - 1024);
    SeekFigures result;
    std::vector<short> heard(2 * 256);
    for (int i = 0; i < count; ++i) {
        const QWORD frame = where(random);
        const auto begin = Clock::now();
        const double cpuBegin = threadCpuMilliseconds();
        const BOOL done = wma ? BASS_WMA_ChannelSetPosition(stream, frame * 4, 0)
                              : BASS_ChannelSetPosition(stream, frame * 4);
        if (!wma)
            BASS_StreamPreBuf(stream);
        result.milliseconds.push_back(
            std::chrono::duration<double, std::milli>(Clock::now() - begin).count());
        result.cpuMilliseconds.push_back(threadCpuMilliseconds() - cpuBegin);
        if (!done || !reference)
            continue;
        if (wma)
            BASS_WMA_StreamPlay(stream, FALSE, 0);
        else
            BASS_StreamPlay(stream, FALSE, 0);
        BASS_Offline_Render(heard.data(), 256);
        BASS_ChannelStop(stream);
        if (frame * 2 + heard.size() <= reference->size() &&
            std::equal(heard.begin(), heard.end(),
                       reference->begin() + static_cast<std::ptrdiff_t>(frame * 2)))
            ++result.exact;
    }
    BASS_StreamFree(stream);
    stopEngine();
    std::sort(result.milliseconds.begin(), result.milliseconds.end());
    std::sort(result.cpuMilliseconds.begin(), result.cpuMilliseconds.end());
    return result;
}

double percentile(const std::vector<double>& sorted, double fraction) {
    return sorted[std::min(sorted.size() - 1, static_cast<std::size_t>(fraction * sorted.size()))];
}

void AccurateSeeksMp3(benchmark::State& state) {
    const std::string path = threeMinuteMp3();
    const std::vector<short> reference = straightDecode(path, false);
    for (auto _ : state) {
        const SeekFigures seeks = randomSeeks(path, false, 200, &reference);
        const double exact = 100.0 * seeks.exact / 200;
        state.counters["exact_percent"] = exact;
        state.counters["p50_ms"] = percentile(seeks.milliseconds, 0.50);
        state.counters["p99_ms"] = percentile(seeks.milliseconds, 0.99);
        state.counters["cpu_p99_ms"] = percentile(seeks.cpuMilliseconds, 0.99);
        figures()["mp3_seek_exact_percent"] = exact;
        figures()["mp3_seek_p50_ms"] = percentile(seeks.milliseconds, 0.50);
        figures()["mp3_seek_p99_ms"] = percentile(seeks.milliseconds, 0.99);
    }
}
BENCHMARK(AccurateSeeksMp3)->Iterations(1)->Unit(benchmark::kMillisecond);

void SeeksWma(benchmark::State& state) {
    const std::string path = threeMinuteWma();
    const std::vector<short> reference = straightDecode(path, true);
    for (auto _ : state) {
        const SeekFigures seeks = randomSeeks(path, true, 200, &reference);
        const double exact = 100.0 * seeks.exact / 200;
        state.counters["exact_percent"] = exact;
        state.counters["p50_ms"] = percentile(seeks.milliseconds, 0.50);
        state.counters["p99_ms"] = percentile(seeks.milliseconds, 0.99);
        state.counters["cpu_p99_ms"] = percentile(seeks.cpuMilliseconds, 0.99);
        figures()["wma_seek_exact_percent"] = exact;
        figures()["wma_seek_p99_ms"] = percentile(seeks.milliseconds, 0.99);
    }
}
BENCHMARK(SeeksWma)->Iterations(1)->Unit(benchmark::kMillisecond);

// A WMA whose sound depends on the decoder's history: seeks decode on from
// the file's start (no goal; the cost of exactness on such files).
void SeeksNoiseFilledWma(benchmark::State& state) {
    const std::string path = threeMinuteWmaMono16k();
    for (auto _ : state) {
        const SeekFigures seeks = randomSeeks(path, true, 50, nullptr);
        state.counters["p50_ms"] = percentile(seeks.milliseconds, 0.50);
        state.counters["p99_ms"] = percentile(seeks.milliseconds, 0.99);
        state.counters["cpu_p99_ms"] = percentile(seeks.cpuMilliseconds, 0.99);
    }
}
BENCHMARK(SeeksNoiseFilledWma)->Iterations(1)->Unit(benchmark::kMillisecond);

// The same 200 accurate seeks in a 3-minute file of each other container,
// rendered at its own rate.
void AccurateSeeksByFormat(benchmark::State& state) {
    const SongFormat& format = songFormats().at(static_cast<std::size_t>(state.range(0)));
    const std::string path = songFile(format, 180);
    const std::vector<short> reference = straightDecode(path, false, format.rate);
    const std::string name = format.name;
    for (auto _ : state) {
        const SeekFigures seeks = randomSeeks(path, false, 200, &reference, format.rate);
        const double exact = 100.0 * seeks.exact / 200;
        state.counters["exact_percent"] = exact;
        state.counters["p99_ms"] = percentile(seeks.milliseconds, 0.99);
        state.counters["cpu_p99_ms"] = percentile(seeks.cpuMilliseconds, 0.99);
        figures()[name + "_seek_exact_percent"] = exact;
        figures()[name + "_seek_p99_ms"] = percentile(seeks.milliseconds, 0.99);
    }
}
BENCHMARK(AccurateSeeksByFormat)->DenseRange(0, 5)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
