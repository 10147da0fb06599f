// Recording: 60 minutes of the main output (a 60-minute MP3 playing) into
// WAV, FLAC and MP3, rendered offline as fast as the writer takes it — the
// writer thread's processor time per hour recorded, frames dropped and the
// file size against the expected one; then a real-time silent-output run of
// both decks with a recording going, for the output's callback time and
// underruns while the writer works.
#include "bench/audio/bench_support.h"
#include "platform/audio/recorder.h"
#include "platform/audio/recording.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <thread>

using namespace bench_audio;

namespace {

double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

double processSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + 1e-6 * static_cast<double>(t.tv_usec);
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Recording length: $VORLAN_RECORDING_MINUTES, else 60.
int recordingMinutes() {
    const char* configured = std::getenv("VORLAN_RECORDING_MINUTES");
    return configured ? std::max(1, std::atoi(configured)) : 60;
}

void Recording(benchmark::State& state) {
    const auto format = static_cast<audio::RecordFormat>(state.range(0));
    const char* names[] = {"wav", "flac", "mp3"};
    const std::string name = names[state.range(0)];
    const std::string path = dataFolder() + "/recording." + name;
    const std::uint64_t frames = 44100ull * 60 * static_cast<std::uint64_t>(recordingMinutes());
    for (auto _ : state) {
        startOffline();
        const std::string song = sixtyMinuteMp3();
        const HSTREAM stream = BASS_StreamCreateFile(FALSE, song.c_str(), 0, 0, 0);
        BASS_StreamPlay(stream, FALSE, 0);
        std::string error;
        audio::startRecording(path, format, error);
        const double processBefore = processSeconds(), mainBefore = threadSeconds();
        const auto wallBefore = std::chrono::steady_clock::now();
        constexpr std::size_t period = 512;
        for (std::uint64_t done = 0; done < frames; done += period) {
            BASS_Offline_Render(nullptr, period);
            // The offline output outruns any device: it waits for the writer
            // whenever the ring is half full, as a device's clock would.
            if (done % (period * 64) == 0)
                while (true) {
                    const audio::RecordingFigures f = audio::recordingFigures();
                    if (f.frames - f.written < audio::Recorder::ringFrames / 2 || f.failed)
                        break;
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                }
        }
        const audio::RecordingFigures taken = audio::recordingFigures();
        audio::stopRecording(nullptr);
        const double writer = (processSeconds() - processBefore) - (threadSeconds() - mainBefore);
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
        BASS_StreamFree(stream);
        stopEngine();
        const double recorded = static_cast<double>(frames) / 44100;
        const double size = static_cast<double>(std::filesystem::file_size(path));
        figures()["recording_" + name + "_writer_cpu_percent_of_real_time"] =
            100.0 * writer / recorded;
        figures()["recording_" + name + "_dropped_frames"] = static_cast<double>(taken.dropped);
        figures()["recording_" + name + "_mb"] = size / 1e6;
        figures()["recording_" + name + "_render_speed_x_real_time"] = recorded / wall;
        if (format == audio::RecordFormat::Wav)
            figures()["recording_wav_size_minus_expected_bytes"] =
                size - (44.0 + static_cast<double>(frames) * 4);
        if (format == audio::RecordFormat::Mp3) // 192 kbit/s
            figures()["recording_mp3_size_over_expected"] = size / (recorded * 192000 / 8);
        for (const auto& [figure, value] : figures())
            if (figure.rfind("recording_" + name, 0) == 0)
                state.counters[figure.substr(11 + name.size())] = value;
        std::filesystem::remove(path);
    }
}
BENCHMARK(Recording)->Arg(0)->Arg(1)->Arg(2)->Iterations(1)->Unit(benchmark::kSecond);

// Both decks on the silent output, in real time, while a WAV recording runs.
void RecordingSoak(benchmark::State& state) {
    const int seconds = std::min(soakSeconds(), 120);
    const std::string path = dataFolder() + "/recording-soak.wav";
    for (auto _ : state) {
        BASS_Free();
        ::setenv("VORLAN_AUDIO", "silent", 1);
        BASS_Init(BASS_DEVICE_SILENT, 44100, 32, nullptr);
        BASS_Start();
        std::string error;
        audio::startRecording(path, audio::RecordFormat::Wav, error);
        twoDeckSoak(state, seconds, "recording_soak");
        const audio::RecordingFigures f = audio::recordingFigures();
        figures()["recording_soak_dropped_frames"] = static_cast<double>(f.dropped);
        audio::stopRecording(nullptr);
        BASS_Free();
        ::setenv("VORLAN_AUDIO", "offline", 1);
        std::filesystem::remove(path);
    }
}
BENCHMARK(RecordingSoak)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
