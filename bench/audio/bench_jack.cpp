// The JACK output on a private JACK server (dummy backend, 44.1 kHz,
// 256-frame periods, real-time priority where the system allows it): control-to-sound latency, from
// a play call and from a volume change on a playing deck to the first sample at the server's port,
// against the server's period; and, with VORLAN_JACK_SOAK=1, a soak run
// (10 minutes, or $VORLAN_SOAK_SECONDS) with both decks playing and a seek
// every 500 ms: xruns, callback time against the period, resident memory.
#include "bench/audio/bench_support.h"
#include "platform/audio/diagnostics.h"
#include "tests/platform/audio/jack_recorder.h"
#include "tests/platform/audio/jack_server.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

using namespace bench_audio;
using audio_test::JackRecorder;
using audio_test::JackServer;

namespace {

constexpr int tries = 600;

void sleepMs(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

JackServer& server() {
    static JackServer instance(44100);
    return instance;
}

// The engine on the JACK server at 44.1 kHz with a recorder on its ports;
// null (with the benchmark skipped) where JACK cannot start.
std::unique_ptr<JackRecorder> startOnJack(benchmark::State& state, double seconds) {
    BASS_Free();
    ::unsetenv("VORLAN_AUDIO");
    if (!server().running()) {
        state.SkipWithError(("JACK cannot start here: " + server().failure()).c_str());
        return nullptr;
    }
    server().select();
    auto recorder = std::make_unique<JackRecorder>(server().name(), seconds);
    int device = BASS_DEVICE_DEFAULT;
    for (int i = 1; const char* name = BASS_GetDeviceDescription(i); ++i)
        if (std::string(name) == "system")
            device = i - 1;
    if (!recorder->open() || !BASS_Init(device, 44100, 32, nullptr) || !BASS_Start() ||
        !recorder->connectToEngine()) {
        state.SkipWithError("the engine did not start on the JACK server");
        BASS_Free();
        return nullptr;
    }
    return recorder;
}

void stopEngine(std::unique_ptr<JackRecorder>& recorder) {
    BASS_Stop();
    BASS_Free();
    recorder.reset();
    ::setenv("VORLAN_AUDIO", "offline", 1);
}

double steadyNow() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Seconds from `calledAt` (monotonic clock) until the period holding the
// first sound recorded from frame `from` on reached the port; -1 when none
// came within the recording.
double secondsToSound(const JackRecorder& recorder, std::size_t from, double calledAt) {
    for (std::size_t i = from; i < recorder.frames(); ++i)
        if (recorder.samples()[i * 2] != 0.0f)
            return recorder.arrival(i) - calledAt;
    return -1;
}

double percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(fraction * values.size()))];
}

// One control on a playing deck, `tries` times: `arm` puts the deck back to
// silence, `act` makes the control that brings the sound.
void measureLatency(benchmark::State& state, const char* name, const auto& arm, const auto& act) {
    std::vector<double> frames;
    for (auto _ : state) {
        auto recorder = startOnJack(state, tries * 0.1 + 2);
        if (!recorder)
            return;
        const std::string path = threeMinuteWav();
        const HSTREAM other = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, BASS_MP3_SETPOS);
        // The other deck plays at volume 0: the engine mixes two decks.
        const HSTREAM silentDeck =
            BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, BASS_MP3_SETPOS);
        BASS_ChannelSetAttributes(silentDeck, -1, 0, -101);
        BASS_StreamPlay(silentDeck, FALSE, 0);
        recorder->start();
        for (int i = 0; i < tries; ++i) {
            arm(other);
            sleepMs(40); // the silence reaches the port
            const std::size_t from = recorder->frames();
            const double calledAt = steadyNow();
            act(other);
            sleepMs(40);
            const double latency = secondsToSound(*recorder, from, calledAt);
            if (latency >= 0)
                frames.push_back(latency * recorder->rate());
        }
        recorder->stop();
        const double period = recorder->period();
        const int rate = recorder->rate();
        stopEngine(recorder);
        if (frames.empty()) {
            state.SkipWithError("no sound reached the port");
            return;
        }
        const double p50 = percentile(frames, 0.50), p99 = percentile(frames, 0.99);
        state.counters["p50_frames"] = p50;
        state.counters["p99_frames"] = p99;
        state.counters["p50_ms"] = 1000 * p50 / rate;
        state.counters["p99_ms"] = 1000 * p99 / rate;
        state.counters["period_frames"] = period;
        state.counters["measured"] = static_cast<double>(frames.size());
        figures()[std::string(name) + "_latency_p50_ms"] = 1000 * p50 / rate;
        figures()[std::string(name) + "_latency_p99_ms"] = 1000 * p99 / rate;
        figures()["jack_period_ms"] = 1000 * period / rate;
    }
}

void PlayToSoundOnJack(benchmark::State& state) {
    measureLatency(
        state, "play",
        [](HSTREAM stream) {
            BASS_ChannelStop(stream);
            BASS_ChannelSetPosition(stream, 44100 * 4);
        },
        [](HSTREAM stream) { BASS_StreamPlay(stream, FALSE, 0); });
}
BENCHMARK(PlayToSoundOnJack)->Iterations(1)->Unit(benchmark::kSecond);

void VolumeToSoundOnJack(benchmark::State& state) {
    measureLatency(
        state, "volume",
        [](HSTREAM stream) {
            BASS_ChannelSetAttributes(stream, -1, 0, -101);
            if (BASS_ChannelIsActive(stream) != BASS_ACTIVE_PLAYING)
                BASS_StreamPlay(stream, FALSE, 0);
        },
        [](HSTREAM stream) { BASS_ChannelSetAttributes(stream, -1, 100, -101); });
}
BENCHMARK(VolumeToSoundOnJack)->Iterations(1)->Unit(benchmark::kSecond);

// Voluntary context switches of every thread of this process so far.
double voluntarySwitches() {
    double total = 0;
    const std::filesystem::path tasks = "/proc/self/task";
    for (const auto& task : std::filesystem::directory_iterator(tasks)) {
        std::ifstream status(task.path() / "status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0)
                total += std::stod(line.substr(line.find(':') + 1));
    }
    return total;
}

// Wake-ups a minute of the whole process (the engine's output and decode
// threads, and the recorder's client on the same server): idle, then with
// one and two decks playing, 10 s each. What the decks add over idle is what
// playing costs.
void WakeUpsOnJack(benchmark::State& state) {
    constexpr int seconds = 10;
    for (auto _ : state) {
        auto recorder = startOnJack(state, 1);
        if (!recorder)
            return;
        const std::string path = threeMinuteMp3();
        double perMinute[3] = {};
        std::vector<HSTREAM> decks;
        for (int playing = 0; playing <= 2; ++playing) {
            if (playing > 0) {
                decks.push_back(BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, BASS_MP3_SETPOS));
                BASS_StreamPlay(decks.back(), FALSE, 0);
                sleepMs(1500); // the first fill of the ring is not the steady state
            }
            const double before = voluntarySwitches();
            sleepMs(seconds * 1000);
            perMinute[playing] = (voluntarySwitches() - before) * 60 / seconds;
        }
        for (HSTREAM deck : decks)
            BASS_StreamFree(deck);
        stopEngine(recorder);
        state.counters["idle_per_minute"] = perMinute[0];
        state.counters["one_deck_per_minute"] = perMinute[1];
        state.counters["two_decks_per_minute"] = perMinute[2];
        figures()["wakeups_idle_per_minute"] = perMinute[0];
        figures()["wakeups_one_deck_per_minute"] = perMinute[1];
        figures()["wakeups_two_decks_per_minute"] = perMinute[2];
    }
}
BENCHMARK(WakeUpsOnJack)->Iterations(1)->Unit(benchmark::kSecond);

void JackOutputSoak(benchmark::State& state) {
    if (!std::getenv("VORLAN_JACK_SOAK")) {
        state.SkipWithError("set VORLAN_JACK_SOAK=1 to run the JACK soak");
        return;
    }
    const int seconds = soakSeconds();
    for (auto _ : state) {
        // Baseline: the server's own xruns with no engine on it, per minute.
        const int idleSeconds = std::max(5, seconds / 10);
        double idleXrunsPerMinute = 0;
        if (server().running()) {
            JackRecorder idle(server().name(), 1);
            const std::uint64_t before = idle.xruns();
            sleepMs(idleSeconds * 1000);
            idleXrunsPerMinute = static_cast<double>(idle.xruns() - before) * 60 / idleSeconds;
        }
        auto recorder = startOnJack(state, 1);
        if (!recorder)
            return;
        const std::uint64_t xrunsBefore = recorder->xruns();
        twoDeckSoak(state, seconds, "jack_soak");
        const auto xruns = static_cast<double>(recorder->xruns() - xrunsBefore);
        state.counters["xruns"] = xruns;
        state.counters["xruns_per_minute"] = xruns * 60 / (seconds + 2);
        state.counters["idle_server_xruns_per_minute"] = idleXrunsPerMinute;
        figures()["jack_soak_xruns"] = xruns;
        figures()["jack_idle_xruns_per_minute"] = idleXrunsPerMinute;
        figures()["jack_soak_xruns_per_minute"] = xruns * 60 / (seconds + 2);
        stopEngine(recorder);
    }
}
BENCHMARK(JackOutputSoak)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
