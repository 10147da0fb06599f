// Goal 6: memory of a stream on a 60-minute file, and a silent-output run
// (10 minutes, or $VORLAN_SOAK_SECONDS) with two decks playing and a seek
// every 500 ms: resident memory, callback time against the period, underruns.
#include "bench/audio/bench_support.h"
#include "platform/audio/diagnostics.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <random>
#include <thread>

using namespace bench_audio;

namespace bench_audio {

int soakSeconds() {
    const char* configured = std::getenv("VORLAN_SOAK_SECONDS");
    return configured ? std::max(1, std::atoi(configured)) : 600;
}

void twoDeckSoak(benchmark::State& state, int seconds, const std::string& prefix) {
    constexpr double megabyte = 1024.0 * 1024.0;
    const std::string longFile = sixtyMinuteMp3(), wma = threeMinuteWma();
    BASS_SetBufferLength(1.1f);
    const HSTREAM left = BASS_StreamCreateFile(FALSE, longFile.c_str(), 0, 0, BASS_MP3_SETPOS);
    const HSTREAM right = BASS_WMA_StreamCreateFile(FALSE, wma.c_str(), 0, 0, 0);
    BASS_ChannelSetAttributes(left, 47187, 80, -20);
    BASS_ChannelSetAttributes(right, 41013, 65, 30);
    BASS_StreamPreBuf(left);
    BASS_StreamPlay(left, FALSE, 0);
    BASS_WMA_StreamPlay(right, FALSE, 0);
    std::this_thread::sleep_for(std::chrono::seconds(2)); // settle before measuring
    audio::resetOutputFigures();
    const std::uint64_t startResident = residentBytes();
    std::uint64_t highest = startResident;
    std::mt19937 random(7);
    const QWORD leftFrames = BASS_StreamGetLength(left) / 4;
    const QWORD rightFrames = BASS_WMA_StreamGetLength(right) / 4;
    for (int tick = 0; tick < seconds * 2; ++tick) {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        if (tick % 2 == 0) {
            BASS_ChannelSetPosition(left, random() % (leftFrames - 44100) * 4);
            BASS_StreamPreBuf(left);
        } else {
            BASS_WMA_ChannelSetPosition(right, random() % (rightFrames - 44100) * 4, 0);
        }
        if (BASS_ChannelIsActive(right) != BASS_ACTIVE_PLAYING)
            BASS_WMA_StreamPlay(right, FALSE, 0);
        highest = std::max(highest, residentBytes());
    }
    const audio::OutputFigures output = audio::outputFigures();
    const double growth = static_cast<double>(residentBytes() - startResident) / megabyte;
    state.counters["seconds"] = seconds;
    state.counters["rss_growth_mb"] = growth;
    state.counters["rss_peak_growth_mb"] = static_cast<double>(highest - startResident) / megabyte;
    state.counters["callbacks"] = static_cast<double>(output.callbacks);
    state.counters["period_us"] = output.periodMicroseconds;
    state.counters["callback_p50_percent"] = output.p50Percent;
    state.counters["callback_p99_percent"] = output.p99Percent;
    state.counters["callback_max_percent"] = output.maxPercent;
    state.counters["late_callbacks"] = static_cast<double>(output.lateCallbacks);
    state.counters["underruns"] = static_cast<double>(output.streamUnderruns);
    figures()[prefix + "_rss_growth_mb"] = growth;
    figures()[prefix + "_callback_p99_percent"] = output.p99Percent;
    figures()[prefix + "_underruns"] = static_cast<double>(output.streamUnderruns);
    BASS_Stop();
    BASS_StreamFree(left);
    BASS_WMA_StreamFree(right);
}

} // namespace bench_audio

namespace {

constexpr double megabyte = 1024.0 * 1024.0;

void SixtyMinuteStreamMemory(benchmark::State& state) {
    const std::string path = sixtyMinuteMp3();
    for (auto _ : state) {
        startOffline();
        const std::uint64_t before = residentBytes();
        const HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, BASS_MP3_SETPOS);
        BASS_StreamPreBuf(stream);
        BASS_StreamPlay(stream, FALSE, 0);
        std::vector<short> out(2 * 4096);
        for (int i = 0; i < 200; ++i)
            BASS_Offline_Render(out.data(), 4096);
        BASS_ChannelSetPosition(stream, BASS_StreamGetLength(stream) / 2);
        for (int i = 0; i < 200; ++i)
            BASS_Offline_Render(out.data(), 4096);
        const double grown = static_cast<double>(residentBytes() - before) / megabyte;
        state.counters["stream_mb"] = grown;
        figures()["sixty_minute_stream_mb"] = grown;
        BASS_StreamFree(stream);
        stopEngine();
    }
}
BENCHMARK(SixtyMinuteStreamMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

void SilentOutputSoak(benchmark::State& state) {
    const int seconds = soakSeconds();
    for (auto _ : state) {
        BASS_Free();
        ::setenv("VORLAN_AUDIO", "silent", 1);
        BASS_Init(BASS_DEVICE_SILENT, 44100, 32, nullptr);
        BASS_Start();
        twoDeckSoak(state, seconds, "soak");
        BASS_Free();
        ::setenv("VORLAN_AUDIO", "offline", 1);
    }
}
BENCHMARK(SilentOutputSoak)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
