#include "tests/platform/audio/audio_test_support.h"

#include <cmath>
#include <cstdlib>
#include <map>
#include <unistd.h>

namespace audio_test {

const std::filesystem::path& fixtureFolder() {
    static const std::filesystem::path folder = [] {
        auto path = std::filesystem::temp_directory_path() /
                    ("vorlan_audio_test_" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(fixtureFolder(), ignored);
        });
        return path;
    }();
    return folder;
}

std::string fixture(const std::string& name, const fixtures::Tone& tone) {
    static std::map<std::string, std::string> made;
    auto found = made.find(name);
    if (found != made.end())
        return found->second;
    const std::string path = fixtures::makeTone(fixtureFolder() / name, tone).string();
    made[name] = path;
    return path;
}

namespace {
fixtures::Tone tone(fixtures::Format format, int rate = 44100, int channels = 2) {
    fixtures::Tone t;
    t.format = format;
    t.sampleRate = rate;
    t.channels = channels;
    return t;
}
} // namespace

std::string mp3Cbr() {
    return fixture("cbr.mp3", tone(fixtures::Format::Mp3Cbr));
}
std::string mp3Vbr() {
    return fixture("vbr.mp3", tone(fixtures::Format::Mp3Vbr));
}
std::string mp3Mono22k() {
    return fixture("mono22k.mp3", tone(fixtures::Format::Mp3Vbr, 22050, 1));
}
std::string wav() {
    return fixture("tone.wav", tone(fixtures::Format::Wav));
}
std::string wavFullScale() {
    auto t = tone(fixtures::Format::Wav);
    t.amplitude = 1.0;
    return fixture("full.wav", t);
}
std::string wavSilence() {
    auto t = tone(fixtures::Format::Wav);
    t.frequency = 0;
    return fixture("silence.wav", t);
}
std::string wma() {
    return fixture("tone.wma", tone(fixtures::Format::Wma));
}
std::string asfMono22k() {
    return fixture("mono22k.asf", tone(fixtures::Format::Asf, 22050, 1));
}

std::vector<short> render(std::size_t frames) {
    std::vector<short> out(frames * 2);
    EXPECT_TRUE(BASS_Offline_Render(out.data(), static_cast<DWORD>(frames)));
    return out;
}

std::vector<short> playToEnd(HSTREAM handle, std::size_t chunk) {
    std::vector<short> heard;
    EXPECT_TRUE(BASS_StreamPlay(handle, FALSE, 0) || BASS_WMA_StreamPlay(handle, FALSE, 0));
    for (int guard = 0; guard < 10000 && BASS_ChannelIsActive(handle) == BASS_ACTIVE_PLAYING;
         ++guard) {
        const QWORD before = BASS_ChannelGetPosition(handle);
        const std::vector<short> part = render(chunk);
        const QWORD after = BASS_ChannelGetPosition(handle);
        // At the end only the frames up to the end were the stream's.
        heard.insert(heard.end(), part.begin(),
                     part.begin() + static_cast<std::ptrdiff_t>(
                                        std::min<QWORD>((after - before) / 4, chunk) * 2));
    }
    return heard;
}

double frequency(const std::vector<short>& samples, int channel, int rate) {
    double first = -1, last = -1;
    int crossings = 0;
    for (std::size_t i = 1; i < samples.size() / 2; ++i) {
        const double a = samples[(i - 1) * 2 + channel], b = samples[i * 2 + channel];
        if (a < 0 && b >= 0) {
            const double at = static_cast<double>(i - 1) + (-a) / (b - a);
            if (first < 0)
                first = at;
            last = at;
            ++crossings;
        }
    }
    if (crossings < 2)
        return 0;
    return (crossings - 1) / ((last - first) / rate);
}

int peak(const std::vector<short>& samples, int channel) {
    int highest = 0;
    for (std::size_t i = static_cast<std::size_t>(channel); i < samples.size(); i += 2)
        highest = std::max(highest, std::abs(static_cast<int>(samples[i])));
    return highest;
}

void OfflineEngine::SetUp() {
    ::setenv("VORLAN_AUDIO", "offline", 1);
    ASSERT_TRUE(BASS_Init(BASS_DEVICE_OFFLINE, outputRate, 32, nullptr));
    ASSERT_TRUE(BASS_Start());
}

void OfflineEngine::TearDown() {
    BASS_Stop();
    BASS_Free();
}

} // namespace audio_test
