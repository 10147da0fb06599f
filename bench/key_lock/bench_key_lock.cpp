// Key lock on rendered audio: the pitch of a 440 Hz tone at +8 % and -8 %
// tempo (cents), the length of a 30-minute render at each (frames off the
// input / speed), the heard position's jump when key lock is switched while
// playing (ms), the processor time of a key-locked deck against plain
// varispeed in the same run (percent of one core), and, with
// VORLAN_JACK_SOAK=1, both decks key-locked on a private JACK server
// ($VORLAN_SOAK_SECONDS, default 10 minutes): underruns and callback p99.
#include "bench/audio/bench_support.h"
#include "platform/audio/diagnostics.h"
#include "tests/platform/audio/jack_server.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <thread>

using namespace bench_audio;

namespace {

struct Tempo {
    const char* name;
    int rate; // Hz for a 44100 Hz file: exactly 1.08 and 0.92
};
const Tempo tempos[] = {{"plus8", 47628}, {"minus8", 40572}};

std::string tone440(double seconds) {
    const std::string path =
        dataFolder() + "/tone440_" + std::to_string(static_cast<int>(seconds)) + "s.mp3";
    if (!std::filesystem::exists(path)) {
        fixtures::Tone tone;
        tone.format = fixtures::Format::Mp3Cbr;
        tone.seconds = seconds;
        tone.frequency = 440;
        fixtures::makeTone(path, tone);
    }
    return path;
}

double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double frequency(const std::vector<short>& samples, int rate) {
    double first = -1, last = -1;
    int crossings = 0;
    for (std::size_t i = 1; i < samples.size() / 2; ++i) {
        const double a = samples[(i - 1) * 2], b = samples[i * 2];
        if (a < 0 && b >= 0) {
            const double at = static_cast<double>(i - 1) + (-a) / (b - a);
            if (first < 0)
                first = at;
            last = at;
            ++crossings;
        }
    }
    return crossings < 2 ? 0 : (crossings - 1) / ((last - first) / rate);
}

// Plays `path` to its end at `rate` (key-locked or not) on the offline
// output; the output frames it lasted (to its last sample) and the thread's
// processor seconds (decoding, stretching, converting: all done in this
// thread offline). `middle` gets 2 s from the middle when not null.
struct Play {
    double frames = 0;
    double cpuSeconds = 0;
};
Play playToEnd(const std::string& path, int rate, DWORD keyLock,
               std::vector<short>* middle = nullptr) {
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, BASS_MP3_SETPOS);
    BASS_ChannelSetAttributes(stream, rate, -1, -101);
    BASS_ChannelSetKeyLock(stream, keyLock);
    const double inputFrames = static_cast<double>(BASS_StreamGetLength(stream) / 4);
    const auto middleAt = static_cast<std::size_t>(inputFrames * 44100 / rate / 2);
    constexpr std::size_t chunk = 4096;
    std::vector<short> out(chunk * 2);
    std::size_t rendered = 0, lastSound = 0;
    const double cpuBefore = threadSeconds();
    BASS_StreamPlay(stream, FALSE, 0);
    while (BASS_ChannelIsActive(stream) == BASS_ACTIVE_PLAYING) {
        BASS_Offline_Render(out.data(), chunk);
        for (std::size_t i = 0; i < chunk; ++i)
            if (out[i * 2] != 0)
                lastSound = rendered + i + 1;
        if (middle && rendered >= middleAt && middle->size() < 2 * 44100 * 2)
            middle->insert(middle->end(), out.begin(), out.end());
        rendered += chunk;
    }
    Play play;
    play.cpuSeconds = threadSeconds() - cpuBefore;
    play.frames = static_cast<double>(lastSound);
    BASS_StreamFree(stream);
    return play;
}

void KeyLockPitch(benchmark::State& state) {
    const std::string path = tone440(20);
    for (auto _ : state) {
        startOffline();
        for (const Tempo& tempo : tempos) {
            std::vector<short> middle;
            playToEnd(path, tempo.rate, BASS_KEYLOCK_FASTER, &middle);
            const double cents = 1200 * std::log2(frequency(middle, 44100) / 440.0);
            state.counters[std::string(tempo.name) + "_cents"] = cents;
            figures()[std::string("pitch_cents_") + tempo.name] = cents;
        }
        stopEngine();
    }
}
BENCHMARK(KeyLockPitch)->Iterations(1)->Unit(benchmark::kSecond);

// 30 minutes at +8 % and -8 %, key-locked and plain varispeed: the length
// against input / speed, and the processor time per second played.
void KeyLockLengthAndCpu(benchmark::State& state) {
    const double minutes = std::getenv("VORLAN_KEY_LOCK_MINUTES")
                               ? std::atof(std::getenv("VORLAN_KEY_LOCK_MINUTES"))
                               : 30.0;
    const std::string path = tone440(minutes * 60);
    for (auto _ : state) {
        startOffline();
        for (const Tempo& tempo : tempos) {
            const std::string name = tempo.name;
            const HSTREAM probe = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, BASS_MP3_SETPOS);
            const double input = static_cast<double>(BASS_StreamGetLength(probe) / 4);
            BASS_StreamFree(probe);
            const double expected = input * 44100 / tempo.rate;
            const Play locked = playToEnd(path, tempo.rate, BASS_KEYLOCK_FASTER);
            const Play plain = playToEnd(path, tempo.rate, BASS_KEYLOCK_OFF);
            const double seconds = expected / 44100;
            const double error = locked.frames - expected;
            state.counters[name + "_length_error_frames"] = error;
            state.counters[name + "_cpu_percent_key_lock"] = 100 * locked.cpuSeconds / seconds;
            state.counters[name + "_cpu_percent_varispeed"] = 100 * plain.cpuSeconds / seconds;
            figures()["length_error_frames_" + name] = error;
            figures()["cpu_percent_key_lock_" + name] = 100 * locked.cpuSeconds / seconds;
            figures()["cpu_percent_varispeed_" + name] = 100 * plain.cpuSeconds / seconds;
        }
        stopEngine();
        figures()["length_minutes"] = minutes;
    }
}
BENCHMARK(KeyLockLengthAndCpu)->Iterations(1)->Unit(benchmark::kSecond);

// Bursts at 1.5 s and 3 s of a file of silence; key lock on at 1 s heard and
// off at 2 s heard: how far each burst is heard from its time / speed.
void KeyLockSwitchJump(benchmark::State& state) {
    const std::string path = dataFolder() + "/bursts.wav";
    {
        // 5 s of silence, 16-bit stereo at 44100 Hz, with 30 ms of 1 kHz at
        // half scale from 1.5 s and from 3 s.
        constexpr std::uint32_t frames = 5 * 44100;
        std::vector<short> samples(frames * 2, 0);
        for (const double at : {1.5, 3.0})
            for (std::uint32_t i = 0; i < 1323; ++i) {
                const auto v = static_cast<short>(16384 * std::sin(2 * M_PI * 1000 * i / 44100));
                const auto frame = static_cast<std::size_t>(at * 44100) + i;
                samples[frame * 2] = samples[frame * 2 + 1] = v;
            }
        const std::uint32_t header[] = {0x46464952, 36 + frames * 4, 0x45564157, 0x20746d66,
                                        16,         0x00020001,      44100,      44100 * 4,
                                        0x00100004, 0x61746164,      frames * 4};
        std::FILE* file = std::fopen(path.c_str(), "wb");
        std::fwrite(header, sizeof header, 1, file);
        std::fwrite(samples.data(), 2, samples.size(), file);
        std::fclose(file);
    }
    for (auto _ : state) {
        startOffline();
        double worst = 0;
        for (const Tempo& tempo : tempos) {
            const HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
            BASS_ChannelSetAttributes(stream, tempo.rate, -1, -101);
            BASS_StreamPlay(stream, FALSE, 0);
            std::vector<short> heard(4 * 44100 * 2);
            BASS_Offline_Render(heard.data(), 44100);
            BASS_ChannelSetKeyLock(stream, BASS_KEYLOCK_FASTER);
            BASS_Offline_Render(heard.data() + 44100 * 2, 44100);
            BASS_ChannelSetKeyLock(stream, BASS_KEYLOCK_OFF);
            BASS_Offline_Render(heard.data() + 2 * 44100 * 2, 2 * 44100);
            BASS_StreamFree(stream);
            std::size_t from = 44100;
            for (const double at : {1.5, 3.0}) {
                std::size_t i = from;
                while (i < heard.size() / 2 && std::abs(heard[i * 2]) <= 8192)
                    ++i;
                const double ms =
                    1000 * (static_cast<double>(i) - at * 44100 * 44100 / tempo.rate) / 44100;
                worst = std::max(worst, std::abs(ms));
                from = i + 4410;
            }
        }
        state.counters["jump_ms"] = worst;
        figures()["switch_jump_ms"] = worst;
        stopEngine();
    }
}
BENCHMARK(KeyLockSwitchJump)->Iterations(1)->Unit(benchmark::kSecond);

// Both decks key-locked (+8 % and -8 %, the faster engine) on a private JACK
// server, a tempo nudge on one deck every 500 ms.
void KeyLockJackSoak(benchmark::State& state) {
    if (!std::getenv("VORLAN_JACK_SOAK")) {
        state.SkipWithError("set VORLAN_JACK_SOAK=1 to run the key-locked JACK soak");
        return;
    }
    static audio_test::JackServer server(44100);
    const char* soak = std::getenv("VORLAN_SOAK_SECONDS");
    const int seconds = soak ? std::max(1, std::atoi(soak)) : 600;
    for (auto _ : state) {
        BASS_Free();
        ::unsetenv("VORLAN_AUDIO");
        if (!server.running()) {
            state.SkipWithError(("JACK cannot start here: " + server.failure()).c_str());
            return;
        }
        server.select();
        int device = BASS_DEVICE_DEFAULT;
        for (int i = 1; const char* name = BASS_GetDeviceDescription(i); ++i)
            if (std::string(name) == "system")
                device = i - 1;
        if (!BASS_Init(device, 44100, 32, nullptr) || !BASS_Start()) {
            state.SkipWithError("the engine did not start on the JACK server");
            return;
        }
        const std::string file = sixtyMinuteMp3();
        HSTREAM decks[2];
        for (int d = 0; d < 2; ++d) {
            decks[d] = BASS_StreamCreateFile(FALSE, file.c_str(), 0, 0, BASS_MP3_SETPOS);
            BASS_ChannelSetAttributes(decks[d], tempos[d].rate, 50, d ? 30 : -30);
            BASS_ChannelSetKeyLock(decks[d], BASS_KEYLOCK_FASTER);
            BASS_StreamPlay(decks[d], FALSE, 0);
        }
        std::this_thread::sleep_for(std::chrono::seconds(2));
        audio::resetOutputFigures();
        for (int tick = 0; tick < seconds * 2; ++tick) {
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            BASS_ChannelSetAttributes(decks[tick % 2], tempos[tick % 2].rate + (tick % 4) * 20, -1,
                                      -101);
        }
        const audio::OutputFigures output = audio::outputFigures();
        state.counters["seconds"] = seconds;
        state.counters["period_us"] = output.periodMicroseconds;
        state.counters["callback_p99_percent"] = output.p99Percent;
        state.counters["callback_max_percent"] = output.maxPercent;
        state.counters["underruns"] = static_cast<double>(output.streamUnderruns);
        figures()["jack_soak_seconds"] = seconds;
        figures()["jack_callback_p99_percent"] = output.p99Percent;
        figures()["jack_underruns"] = static_cast<double>(output.streamUnderruns);
        BASS_Stop();
        BASS_StreamFree(decks[0]);
        BASS_StreamFree(decks[1]);
        BASS_Free();
        ::setenv("VORLAN_AUDIO", "offline", 1);
    }
}
BENCHMARK(KeyLockJackSoak)->Iterations(1)->Unit(benchmark::kSecond);

double figure(const std::string& name) {
    const auto found = figures().find(name);
    return found == figures().end() ? -1 : found->second;
}

void line(const std::string& goal, double value, bool met) {
    std::printf("  %-66s %10.3f  %s\n", goal.c_str(), value,
                value < 0 && !met ? "not run"
                : met             ? "met"
                                  : "NOT MET");
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("\nKey lock goals (figures from this run):\n");
    for (const Tempo& tempo : tempos) {
        const std::string n = tempo.name;
        const double cents = figure("pitch_cents_" + n);
        line("440 Hz at " + n + " key-locked: cents off (|x| <= 2)", cents,
             figures().count("pitch_cents_" + n) && std::abs(cents) <= 2);
        const double error = figure("length_error_frames_" + n);
        line(std::to_string(static_cast<int>(figure("length_minutes"))) + "-min render at " + n +
                 ": frames off input/speed (|x| <= one period, 100)",
             error,
             figures().count("length_error_frames_" + n) && std::abs(error) <= 44100 / 440.0);
        line("CPU at " + n + ", key lock (faster engine), % of one core (<= 5)",
             figure("cpu_percent_key_lock_" + n), figure("cpu_percent_key_lock_" + n) <= 5);
        line("CPU at " + n + ", plain varispeed (baseline), % of one core",
             figure("cpu_percent_varispeed_" + n), true);
    }
    line("switching key lock while playing: heard jump, ms (< 5)", figure("switch_jump_ms"),
         figure("switch_jump_ms") >= 0 && figure("switch_jump_ms") < 5);
    line("JACK soak, both decks key-locked: seconds", figure("jack_soak_seconds"), true);
    line("JACK soak: engine underruns (0)", figure("jack_underruns"),
         figure("jack_underruns") == 0);
    line("JACK soak: callback p99, % of the period (<= 25)", figure("jack_callback_p99_percent"),
         figure("jack_callback_p99_percent") >= 0 && figure("jack_callback_p99_percent") <= 25);
    return 0;
}
