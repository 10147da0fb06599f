// What comes out of the offline output: rate, gains, levels, positions,
// seeks, transport states, determinism.
#include "tests/platform/audio/audio_test_support.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>

using namespace audio_test;

class Playback : public OfflineEngine {
protected:
    HSTREAM open(const std::string& path, DWORD flags = BASS_MP3_SETPOS) {
        const HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, flags);
        EXPECT_NE(stream, 0u) << path;
        return stream;
    }
};

TEST_F(Playback, RateTimesOnePointOneRaisesTheToneToOnePointOneKilohertz) {
    for (const std::string& path : {mp3Cbr(), wav(), mp3Mono22k()}) {
        SCOPED_TRACE(path);
        const HSTREAM stream = open(path);
        DWORD fileRate = 0;
        ASSERT_TRUE(BASS_ChannelGetAttributes(stream, &fileRate, nullptr, nullptr));
        ASSERT_TRUE(BASS_StreamPlay(stream, FALSE, 0));
        render(4410);
        EXPECT_NEAR(frequency(render(22050), 0, outputRate), 1000.0, 1.0);
        ASSERT_TRUE(
            BASS_ChannelSetAttributes(stream, static_cast<int>(fileRate * 11 / 10), -1, -101));
        render(1024); // the change settles within one period
        const std::vector<short> faster = render(22050);
        EXPECT_NEAR(frequency(faster, 0, outputRate), 1100.0, 1.0);
        EXPECT_NEAR(frequency(faster, 1, outputRate), 1100.0, 1.0);
        BASS_StreamFree(stream);
    }
}

TEST_F(Playback, PositionAdvancesByTheFramesHeardTimesTheSpeed) {
    const HSTREAM stream = open(wav());
    ASSERT_TRUE(BASS_StreamPlay(stream, FALSE, 0));
    render(1000);
    EXPECT_EQ(BASS_ChannelGetPosition(stream), 1000u * 4);
    ASSERT_TRUE(BASS_ChannelSetAttributes(stream, 48510, -1, -101)); // x 1.1
    render(4410);
    EXPECT_EQ(BASS_ChannelGetPosition(stream), (1000u + 4851u) * 4);
    ASSERT_TRUE(BASS_ChannelSetAttributes(stream, 41013, -1, -101)); // x 0.93
    render(44100);
    EXPECT_EQ(BASS_ChannelGetPosition(stream), (1000u + 4851u + 41013u) * 4);
    BASS_StreamFree(stream);
}

TEST_F(Playback, VolumeAndPanScaleTheChannels) {
    const HSTREAM stream = open(wav());
    ASSERT_TRUE(BASS_StreamPlay(stream, FALSE, 0));
    render(2048);
    const std::vector<short> full = render(4410);
    const double reference = peak(full, 0);
    ASSERT_GT(reference, 16000);
    EXPECT_NEAR(peak(full, 1), reference, 1);
    struct Case {
        int volume, pan;
        double left, right;
    };
    for (const Case& c : {Case{50, 0, 0.5, 0.5}, Case{100, 50, 0.5, 1.0}, Case{100, -25, 1.0, 0.75},
                          Case{80, 100, 0.0, 0.8}, Case{0, 0, 0.0, 0.0}}) {
        SCOPED_TRACE(testing::Message() << "volume " << c.volume << " pan " << c.pan);
        ASSERT_TRUE(BASS_ChannelSetAttributes(stream, -1, c.volume, c.pan));
        render(1024);
        const std::vector<short> out = render(4410);
        EXPECT_NEAR(peak(out, 0), reference * c.left, 2);
        EXPECT_NEAR(peak(out, 1), reference * c.right, 2);
    }
    BASS_StreamFree(stream);
}

TEST_F(Playback, LevelIsThePeakOfTheStreamsOwnDataBeforeGains) {
    const HSTREAM loud = open(wavFullScale());
    const HSTREAM half = open(wav());
    const HSTREAM quiet = open(wavSilence());
    EXPECT_EQ(BASS_ChannelGetLevel(loud), 0u); // not playing
    for (const HSTREAM stream : {loud, half, quiet})
        ASSERT_TRUE(BASS_StreamPlay(stream, FALSE, 0));
    ASSERT_TRUE(BASS_ChannelSetAttributes(loud, -1, 10, 100)); // gains do not count
    render(4096);
    // Peaks to 0..128 exactly: full scale is 128 on each side, half scale 64.
    EXPECT_EQ(BASS_ChannelGetLevel(loud), 128u | 128u << 16);
    EXPECT_EQ(BASS_ChannelGetLevel(half), 64u | 64u << 16);
    EXPECT_EQ(BASS_ChannelGetLevel(quiet), 0u);
    BASS_StreamFree(half);
    ASSERT_TRUE(BASS_ChannelPause(loud));
    EXPECT_EQ(BASS_ChannelGetLevel(loud), 0u);
    BASS_StreamFree(loud);
    BASS_StreamFree(quiet);
}

TEST_F(Playback, AccurateSeekLandsOnTheByteAndMatchesAStraightDecode) {
    for (const std::string& path : {mp3Cbr(), mp3Vbr(), wav()}) {
        SCOPED_TRACE(path);
        const HSTREAM stream = open(path);
        const std::vector<short> straight = playToEnd(stream);
        const QWORD length = BASS_StreamGetLength(stream);
        for (const QWORD frame : {QWORD{0}, QWORD{1}, QWORD{1151}, QWORD{12345}, QWORD{44100},
                                  QWORD{70001}, length / 4 - 3000}) {
            SCOPED_TRACE(frame);
            ASSERT_TRUE(BASS_ChannelSetPosition(stream, frame * 4 + 2)); // rounded to the frame
            EXPECT_EQ(BASS_ChannelGetPosition(stream), frame * 4);
            ASSERT_TRUE(BASS_StreamPreBuf(stream));
            ASSERT_TRUE(BASS_StreamPlay(stream, FALSE, 0));
            const std::vector<short> heard = render(2048);
            ASSERT_LE((frame + 2048) * 2, straight.size());
            const auto mismatch =
                std::mismatch(heard.begin(), heard.end(),
                              straight.begin() + static_cast<std::ptrdiff_t>(frame * 2));
            EXPECT_EQ(mismatch.first, heard.end())
                << "first difference at sample " << (mismatch.first - heard.begin());
            EXPECT_EQ(BASS_ChannelGetPosition(stream), (frame + 2048) * 4);
            BASS_ChannelStop(stream);
        }
        EXPECT_FALSE(BASS_ChannelSetPosition(stream, length + 4));
        EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_POSITION);
        BASS_StreamFree(stream);
    }
}

TEST_F(Playback, WmaSeekAndPositionThroughTheAddOn) {
    const HSTREAM stream = BASS_WMA_StreamCreateFile(FALSE, wma().c_str(), 0, 0, 0);
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(BASS_WMA_ChannelSetPosition(stream, 44100 * 4, 0));
    EXPECT_EQ(BASS_WMA_ChannelGetPosition(stream), 44100u * 4);
    ASSERT_TRUE(BASS_WMA_StreamPlay(stream, FALSE, 0));
    const std::vector<short> heard = render(8820);
    EXPECT_NEAR(frequency(heard, 0, outputRate), 1000.0, 2.0);
    EXPECT_EQ(BASS_WMA_ChannelGetPosition(stream), (44100u + 8820u) * 4);
    EXPECT_FALSE(BASS_WMA_ChannelSetPosition(stream, 0, 1));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ILLPARAM);
    BASS_WMA_StreamFree(stream);
}

TEST_F(Playback, TransportStatesAndTheirErrors) {
    const HSTREAM stream = open(wav());
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_STOPPED);
    EXPECT_FALSE(BASS_ChannelPause(stream));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_NOPLAY);
    EXPECT_FALSE(BASS_ChannelResume(stream));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_NOTPAUSED);
    ASSERT_TRUE(BASS_StreamPlay(stream, FALSE, 0));
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_PLAYING);
    EXPECT_FALSE(BASS_ChannelResume(stream));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_NOTPAUSED);
    render(1000);
    ASSERT_TRUE(BASS_ChannelPause(stream));
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_PAUSED);
    render(1000); // paused: time passes, the position does not
    EXPECT_EQ(BASS_ChannelGetPosition(stream), 4000u);
    ASSERT_TRUE(BASS_ChannelResume(stream));
    render(1000);
    ASSERT_TRUE(BASS_ChannelStop(stream));
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_STOPPED);
    EXPECT_EQ(BASS_ChannelGetPosition(stream), 8000u); // stop keeps the position
    ASSERT_TRUE(BASS_StreamPlay(stream, FALSE, 0));    // and play goes on from it
    render(1000);
    EXPECT_EQ(BASS_ChannelGetPosition(stream), 12000u);
    ASSERT_TRUE(BASS_StreamPlay(stream, TRUE, 0)); // flush starts over
    EXPECT_EQ(BASS_ChannelGetPosition(stream), 0u);
    // Pausing and resuming a WMA stream by its play call.
    const HSTREAM wmaStream = BASS_WMA_StreamCreateFile(FALSE, wma().c_str(), 0, 0, 0);
    ASSERT_TRUE(BASS_WMA_StreamPlay(wmaStream, FALSE, 0));
    render(500);
    ASSERT_TRUE(BASS_ChannelPause(wmaStream));
    ASSERT_TRUE(BASS_WMA_StreamPlay(wmaStream, FALSE, 0));
    EXPECT_EQ(BASS_ChannelIsActive(wmaStream), BASS_ACTIVE_PLAYING);
    // The end of the stream stops it.
    render(44100 * 3);
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_STOPPED);
    EXPECT_EQ(BASS_ChannelGetPosition(stream), BASS_StreamGetLength(stream));
    EXPECT_EQ(BASS_ChannelIsActive(wmaStream), BASS_ACTIVE_STOPPED);
    BASS_StreamFree(stream);
    BASS_WMA_StreamFree(wmaStream);
}

TEST_F(Playback, PlayBeforeStartFailsWithStartError) {
    ASSERT_TRUE(BASS_Stop());
    const HSTREAM stream = open(wav());
    EXPECT_FALSE(BASS_StreamPlay(stream, FALSE, 0));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_START);
    BASS_StreamFree(stream);
}

TEST_F(Playback, MonoIsDoubledAndOtherRatesAreConverted) {
    const HSTREAM stream = BASS_WMA_StreamCreateFile(FALSE, asfMono22k().c_str(), 0, 0, 0);
    ASSERT_TRUE(BASS_WMA_StreamPlay(stream, FALSE, 0));
    render(8192);
    const std::vector<short> out = render(22050);
    EXPECT_NEAR(frequency(out, 0, outputRate), 1000.0, 2.0);
    for (std::size_t i = 0; i < out.size(); i += 2)
        ASSERT_EQ(out[i], out[i + 1]);
    // 1 s heard = 22050 frames of the file.
    EXPECT_EQ(BASS_WMA_ChannelGetPosition(stream), (8192u + 22050u) / 2 * 4);
    BASS_WMA_StreamFree(stream);
}

// Two decks as a DJ mixes them: sped up, slowed down, volumes and pans set.
static std::vector<short> twoDeckMix() {
    const HSTREAM left = BASS_StreamCreateFile(FALSE, mp3Vbr().c_str(), 0, 0, BASS_MP3_SETPOS);
    const HSTREAM right = BASS_WMA_StreamCreateFile(FALSE, wma().c_str(), 0, 0, 0);
    BASS_ChannelSetAttributes(left, 47187, 80, -20);
    BASS_ChannelSetAttributes(right, 41013, 60, 35);
    BASS_StreamPlay(left, FALSE, 0);
    BASS_WMA_StreamPlay(right, FALSE, 0);
    std::vector<short> out = render(22050);
    BASS_ChannelSetPosition(left, 30000 * 4);
    BASS_ChannelSetAttributes(left, 44100, -1, -101);
    const std::vector<short> more = render(22050);
    out.insert(out.end(), more.begin(), more.end());
    BASS_StreamFree(left);
    BASS_WMA_StreamFree(right);
    return out;
}

TEST_F(Playback, OfflineRenderIsBitIdenticalAcrossRuns) {
    const std::vector<short> first = twoDeckMix();
    BASS_Free();
    ASSERT_TRUE(BASS_Init(BASS_DEVICE_OFFLINE, outputRate, 32, nullptr));
    ASSERT_TRUE(BASS_Start());
    const std::vector<short> second = twoDeckMix();
    EXPECT_GT(peak(first, 0), 1000);
    EXPECT_EQ(first, second);
}

// Threads of this process.
static std::size_t threadCount() {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/task"))
        ++count;
    return count;
}

class SilentOutput : public ::testing::Test {
protected:
    void TearDown() override {
        BASS_Stop();
        BASS_Free();
        ::setenv("VORLAN_AUDIO", "offline", 1);
    }
};

TEST_F(SilentOutput, PlaysInRealTime) {
    ::setenv("VORLAN_AUDIO", "silent", 1);
    ASSERT_TRUE(BASS_Init(BASS_DEVICE_DEFAULT, 44100, 32, nullptr));
    ASSERT_TRUE(BASS_Start());
    EXPECT_FALSE(BASS_Offline_Render(nullptr, 16));
    const std::size_t threads = threadCount();
    // A stream opened for its tags starts no decoding thread.
    const HSTREAM tagsOnly = BASS_StreamCreateFile(FALSE, mp3Cbr().c_str(), 0, 0, 0x10000);
    BASS_StreamGetTags(tagsOnly, BASS_TAG_ID3);
    EXPECT_EQ(threadCount(), threads);
    BASS_StreamFree(tagsOnly);
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, mp3Cbr().c_str(), 0, 0, 0);
    ASSERT_TRUE(BASS_StreamPreBuf(stream));
    EXPECT_EQ(threadCount(), threads + 1); // the decode-ahead thread
    ASSERT_TRUE(BASS_StreamPlay(stream, FALSE, 0));
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    const double seconds = BASS_ChannelBytes2Seconds(stream, BASS_ChannelGetPosition(stream));
    EXPECT_GT(seconds, 0.2);
    EXPECT_LT(seconds, 0.9);
    EXPECT_GT(BASS_ChannelGetLevel(stream) & 0xFFFF, 30u);
    ASSERT_TRUE(BASS_ChannelSetPosition(stream, 44100 * 4));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_GE(BASS_ChannelGetPosition(stream), 44100u * 4);
    BASS_StreamFree(stream);
}
