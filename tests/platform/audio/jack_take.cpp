#include "tests/platform/audio/jack_take.h"

#include "platform/audio/rate_converter.h"

#include <chrono>
#include <cmath>
#include <thread>

namespace audio_test {
namespace {

// Sound the recorder keeps, seconds.
constexpr double recordSeconds = 5;

// The initialisation device of the JACK server's playback ports.
int jackDevice() {
    for (int i = 1; const char* name = BASS_GetDeviceDescription(i); ++i)
        if (std::string(name) == "system")
            return i - 1;
    return BASS_DEVICE_DEFAULT;
}

} // namespace

JackServer& jackServerAt(int rate) {
    static std::unique_ptr<JackServer> server;
    if (!server || server->rate() != rate) {
        server.reset();
        server = std::make_unique<JackServer>(rate);
    }
    return *server;
}

HSTREAM Song::open() const {
    const HSTREAM handle = wma ? BASS_WMA_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0)
                               : BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, BASS_MP3_SETPOS);
    BASS_StreamPreBuf(handle); // as a deck does, so that the output never waits for the decoder
    return handle;
}

bool Song::play(HSTREAM handle) const {
    return wma ? BASS_WMA_StreamPlay(handle, FALSE, 0) : BASS_StreamPlay(handle, FALSE, 0);
}

std::vector<float> renderOffline(int engineRate, int deviceRate, std::size_t frames,
                                 const std::function<void(std::int64_t)>& before) {
    std::vector<float> out(frames * 2, 0.0f);
    EXPECT_TRUE(BASS_Init(BASS_DEVICE_OFFLINE, static_cast<DWORD>(engineRate), 32, nullptr));
    EXPECT_TRUE(BASS_Start());
    std::int64_t mixed = 0;
    auto block = [&](std::int16_t* samples, std::size_t n, double) {
        before(mixed);
        BASS_Offline_Render(samples, static_cast<DWORD>(n));
        mixed += static_cast<std::int64_t>(n);
    };
    if (engineRate == deviceRate) {
        std::vector<std::int16_t> samples(JackServer::periodFrames * 2);
        for (std::size_t done = 0; done < frames; done += JackServer::periodFrames) {
            const std::size_t n = std::min<std::size_t>(JackServer::periodFrames, frames - done);
            block(samples.data(), n, 0);
            for (std::size_t i = 0; i < n * 2; ++i)
                out[done * 2 + i] = static_cast<float>(samples[i]) / 32768.0f;
        }
    } else {
        audio::RateConverter converter(engineRate, deviceRate);
        converter.fill(out.data(), frames, block);
    }
    BASS_Stop();
    BASS_Free();
    return out;
}

std::optional<std::size_t> alignment(const JackRecorder& recorder,
                                     const std::vector<float>& expected) {
    constexpr float loud = 0.05f;
    constexpr long reach = 48;
    constexpr std::size_t matched = 2048;
    auto firstLoud = [](const float* samples, std::size_t frames) -> std::optional<std::size_t> {
        for (std::size_t i = 0; i < frames * 2; ++i)
            if (std::fabs(samples[i]) > loud)
                return i / 2;
        return std::nullopt;
    };
    const auto heard = firstLoud(recorder.samples().data(), recorder.frames());
    const auto rendered = firstLoud(expected.data(), expected.size() / 2);
    if (!heard || !rendered || *heard < *rendered)
        return std::nullopt;
    const auto estimate = static_cast<long>(*heard - *rendered);
    std::optional<std::size_t> best;
    double smallest = HUGE_VAL;
    for (long at = std::max(0L, estimate - reach); at <= estimate + reach; ++at) {
        const double difference =
            largestDifference(recorder, static_cast<std::size_t>(at), expected, matched);
        if (difference < smallest) {
            smallest = difference;
            best = static_cast<std::size_t>(at);
        }
    }
    return best;
}

double largestDifference(const JackRecorder& recorder, std::size_t at,
                         const std::vector<float>& expected, std::size_t frames) {
    if (at + frames > recorder.frames() || frames * 2 > expected.size())
        return HUGE_VAL;
    double largest = 0;
    for (std::size_t i = 0; i < frames * 2; ++i)
        largest = std::max(
            largest,
            std::fabs(static_cast<double>(recorder.samples()[at * 2 + i]) - expected[i]) * 32768.0);
    return largest;
}

void sleepMs(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void JackOutput::SetUp() {
    ::unsetenv("VORLAN_AUDIO");
}

void JackOutput::TearDown() {
    freeEngine();
    recorder.reset();
}

void JackOutput::freeEngine() {
    BASS_Stop();
    BASS_Free();
}

void JackOutput::startOn(JackServer& server, int engineRate) {
    if (!server.running())
        GTEST_SKIP() << "JACK cannot start here: " << server.failure();
    server.select();
    // A process reaches one JACK server at a time: the old client goes first.
    recorder.reset();
    recorder = std::make_unique<JackRecorder>(server.name(), recordSeconds);
    ASSERT_TRUE(recorder->open());
    const int device = jackDevice();
    ASSERT_TRUE(BASS_Init(device, static_cast<DWORD>(engineRate), 32, nullptr))
        << "error " << BASS_ErrorGetCode() << " on device " << device;
    ASSERT_TRUE(BASS_Start()) << "error " << BASS_ErrorGetCode();
    ASSERT_TRUE(recorder->connectToEngine());
    sleepMs(20);
    recorder->start();
}

} // namespace audio_test
