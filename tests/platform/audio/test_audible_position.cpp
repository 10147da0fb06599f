// A stream's position and level as heard through a device: the offline
// output's mixer driven like a device callback with scripted times.
#include "platform/audio/engine.h"
#include "tests/platform/audio/audio_test_support.h"

using namespace audio_test;

namespace {

constexpr std::size_t period = 512;
constexpr double periodSeconds = period / 44100.0;

class HeardPosition : public OfflineEngine {
protected:
    void SetUp() override {
        OfflineEngine::SetUp();
        handle = BASS_StreamCreateFile(FALSE, wav().c_str(), 0, 0, BASS_MP3_SETPOS);
        ASSERT_NE(handle, 0u);
        ASSERT_TRUE(BASS_StreamPlay(handle, FALSE, 0));
    }
    void TearDown() override {
        BASS_StreamFree(handle);
        OfflineEngine::TearDown();
    }
    audio::Stream& stream() {
        return audio::withEngine([this](audio::Engine& engine) -> audio::Stream& {
            return *engine.find(handle, audio::CallKind::Any)->stream;
        });
    }
    // `count` device callbacks of one period each, heard `latency` after they run.
    void callbacks(int count) {
        audio::withEngine([&](audio::Engine& engine) {
            audio::Mixer& mixer = engine.output()->mixer();
            for (int i = 0; i < count; ++i) {
                mixer.fillFor(period);
                mixer.render(nullptr, period, now + latency);
                now += periodSeconds;
            }
        });
    }
    double heardFrames() { return static_cast<double>(stream().positionFrames(now)); }

    HSTREAM handle = 0;
    double now = 50.0; // monotonic seconds of the next callback
    double latency = 0.1;
};

TEST_F(HeardPosition, LagsTheRenderedPositionByTheLatencyAtTheStreamsSpeed) {
    const double start = now;
    EXPECT_EQ(heardFrames(), 0);
    callbacks(20);
    EXPECT_EQ(stream().positionFrames(), static_cast<std::int64_t>(20 * period));
    EXPECT_NEAR(heardFrames(), (now - start - latency) * 44100, 1.0);

    ASSERT_TRUE(BASS_ChannelSetAttributes(handle, 48510, -1, -101)); // x 1.1
    callbacks(30);
    // The last 0.1 s heard all came at 1.1 x.
    EXPECT_NEAR(static_cast<double>(stream().positionFrames()) - heardFrames(), latency * 48510,
                2.0);
}

TEST_F(HeardPosition, SeekAndResumeNeverReportWhatCameBefore) {
    callbacks(20);
    ASSERT_TRUE(BASS_ChannelSetPosition(handle, 44100 * 4)); // 1 s
    EXPECT_EQ(heardFrames(), 44100);
    callbacks(5); // rendered from the new place, not heard yet
    EXPECT_EQ(heardFrames(), 44100);
    callbacks(10);
    EXPECT_GT(heardFrames(), 44100);

    ASSERT_TRUE(BASS_ChannelPause(handle));
    const auto rendered = static_cast<double>(stream().positionFrames());
    EXPECT_LT(heardFrames(), rendered);
    ASSERT_TRUE(BASS_ChannelResume(handle));
    EXPECT_EQ(heardFrames(), rendered);
}

TEST_F(HeardPosition, LevelIsOfTheAudioHeard) {
    callbacks(4); // rendered, not heard yet
    EXPECT_GT(stream().level(), 0u);
    EXPECT_EQ(stream().level(now), 0u);
    callbacks(10);
    const std::uint32_t heard = stream().level(now);
    EXPECT_NEAR(heard & 0xFFFF, 64, 2); // the half-scale tone
    EXPECT_NEAR(heard >> 16, 64, 2);
}

} // namespace
