#include "bench/audio/bench_support.h"

#include "tests/fixtures/fixtures.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace bench_audio {

std::string cached(const std::string& name, fixtures::Format format, double seconds, int rate,
                   int channels) {
    const std::filesystem::path path = std::filesystem::path(dataFolder()) / name;
    if (!std::filesystem::exists(path)) {
        fixtures::Tone tone;
        tone.format = format;
        tone.seconds = seconds;
        tone.sampleRate = rate;
        tone.channels = channels;
        tone.frequency = 441.0;
        const std::filesystem::path partial = path.string() + ".part";
        fixtures::makeTone(partial, tone);
        std::filesystem::rename(partial, path);
    }
    return path.string();
}

std::string dataFolder() {
    const char* configured = std::getenv("VORLAN_BENCH_DATA");
    const std::filesystem::path folder =
        configured ? std::filesystem::path(configured)
                   : std::filesystem::temp_directory_path() / "vorlan_bench_audio";
    std::filesystem::create_directories(folder);
    return folder.string();
}

std::string threeMinuteMp3() {
    return cached("three_minutes.mp3", fixtures::Format::Mp3Cbr, 180);
}
std::string threeMinuteWma() {
    return cached("three_minutes.wma", fixtures::Format::Wma, 180);
}
std::string threeMinuteWmaMono16k() {
    return cached("three_minutes_mono16k.wma", fixtures::Format::Wma, 180, 16000, 1);
}
std::string threeMinuteWav() {
    return cached("three_minutes.wav", fixtures::Format::Wav, 180);
}
std::string sixtyMinuteMp3() {
    return cached("sixty_minutes.mp3", fixtures::Format::Mp3Vbr, 3600);
}

const std::vector<SongFormat>& songFormats() {
    using fixtures::Format;
    static const std::vector<SongFormat> formats = {{"flac", Format::Flac, 44100},
                                                    {"aiff", Format::Aiff, 44100},
                                                    {"m4a_aac", Format::M4aAac, 44100},
                                                    {"m4a_alac", Format::M4aAlac, 44100},
                                                    {"ogg_vorbis", Format::OggVorbis, 44100},
                                                    {"opus", Format::Opus, 48000}};
    return formats;
}

std::string songFile(const SongFormat& format, double seconds) {
    return cached(std::string(format.name) + "_" + std::to_string(int(seconds)) + "s." +
                      fixtures::extensionOf(format.format),
                  format.format, seconds, format.rate);
}

std::vector<short> straightDecode(const std::string& path, bool wma, int rate) {
    startOffline(rate);
    const HSTREAM stream = wma ? BASS_WMA_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0)
                               : BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, BASS_MP3_SETPOS);
    std::vector<short> all;
    if (wma)
        BASS_WMA_StreamPlay(stream, FALSE, 0);
    else
        BASS_StreamPlay(stream, FALSE, 0);
    std::vector<short> chunk(2 * 65536);
    while (BASS_ChannelIsActive(stream) == BASS_ACTIVE_PLAYING) {
        const QWORD before = BASS_ChannelGetPosition(stream);
        BASS_Offline_Render(chunk.data(), 65536);
        const QWORD frames = (BASS_ChannelGetPosition(stream) - before) / 4;
        all.insert(all.end(), chunk.begin(),
                   chunk.begin() + static_cast<std::ptrdiff_t>(frames * 2));
    }
    BASS_StreamFree(stream);
    return all;
}

void startOffline(int rate) {
    BASS_Free();
    ::setenv("VORLAN_AUDIO", "offline", 1);
    BASS_Init(BASS_DEVICE_OFFLINE, static_cast<DWORD>(rate), 32, nullptr);
    BASS_Start();
}

void stopEngine() {
    BASS_Stop();
    BASS_Free();
}

std::uint64_t residentBytes() {
    std::ifstream statm("/proc/self/statm");
    std::uint64_t size = 0, resident = 0;
    statm >> size >> resident;
    return resident * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
}

std::map<std::string, double>& figures() {
    static std::map<std::string, double> values;
    return values;
}

} // namespace bench_audio
