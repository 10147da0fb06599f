// The PortAudio output on a JACK server paced in real time: what reaches the
// server's ports against the offline output, positions and levels against
// what is heard, controls taking effect, the server going away.
#include "tests/platform/audio/jack_take.h"

#include <cmath>
#include <functional>

using namespace audio_test;

namespace {

// 2 s of a 997 Hz tone at half scale: its waveform repeats only every second,
// so a jump in position shows in the samples.
Song tone997() {
    fixtures::Tone tone;
    tone.format = fixtures::Format::Wav;
    tone.frequency = 997;
    return {fixture("tone997.wav", tone)};
}

// Sound compared after the onset, frames at the server's rate.
constexpr std::size_t comparedFrames = 13000;

} // namespace

TEST_F(JackOutput, TheRenderedStreamArrivesAsTheOfflineOutputRendersIt) {
    struct Case {
        int serverRate, engineRate;
        double tolerance; // 16-bit steps
    };
    for (const Case c : {Case{44100, 44100, 0.0}, Case{48000, 22050, 1.0}, Case{48000, 44100, 1.0}}) {
        for (const Song& song : {Song{mp3Cbr()}, Song{wav()}, Song{wma(), true}}) {
            SCOPED_TRACE(testing::Message() << song.path << " at " << c.engineRate << " Hz on a "
                                            << c.serverRate << " Hz server");
            startOnJack(c.serverRate, c.engineRate);
            if (!ready())
                return;
            const HSTREAM stream = song.open();
            ASSERT_TRUE(song.play(stream));
            sleepMs(450);
            recorder->stop();
            freeEngine();
            const std::vector<float> expected =
                renderOffline(c.engineRate, c.serverRate, comparedFrames * 2, [&](std::int64_t at) {
                    if (at == 0)
                        song.play(song.open());
                });
            const auto onset = alignment(*recorder, expected);
            ASSERT_TRUE(onset.has_value());
            EXPECT_LE(largestDifference(*recorder, *onset, expected, comparedFrames), c.tolerance);
        }
    }
}

// Positions and levels are those heard: a frame is heard once the playback
// latency of frames has reached the port after it.
TEST_F(JackOutput, PositionAndLevelFollowWhatIsHeard) {
    struct Case {
        int serverRate, engineRate;
    };
    for (const Case c : {Case{44100, 44100}, Case{48000, 22050}}) {
        SCOPED_TRACE(testing::Message() << c.engineRate << " Hz on a " << c.serverRate << " Hz server");
        startOnJack(c.serverRate, c.engineRate);
        if (!ready())
            return;
        const Song song = tone997();
        const HSTREAM stream = song.open();
        struct Poll {
            std::int64_t recorded; // frames at the port so far
            QWORD position;
            DWORD level;
        };
        std::vector<Poll> polls;
        ASSERT_TRUE(song.play(stream));
        for (int i = 0; i < 300; ++i) {
            polls.push_back({static_cast<std::int64_t>(recorder->frames()), BASS_ChannelGetPosition(stream) / 4,
                             BASS_ChannelGetLevel(stream)});
            sleepMs(1);
        }
        recorder->stop();
        freeEngine();
        const auto expected = renderOffline(c.engineRate, c.serverRate, 4096, [&](std::int64_t at) {
            if (at == 0)
                song.play(song.open());
        });
        const auto onset = alignment(*recorder, expected);
        ASSERT_TRUE(onset.has_value());
        // The first frame is heard once it is the playback latency deep in the port.
        const auto heardFrom = static_cast<std::int64_t>(*onset) + recorder->playbackLatency();
        const double filePerServer = 44100.0 / c.serverRate;
        const double period = JackServer::periodFrames;
        // A late period on a busy machine moves the port's count, not what
        // the engine reports: a few polls in a hundred may miss.
        std::size_t offPosition = 0, offLevel = 0;
        for (const Poll& poll : polls) {
            // The port is read a period at a time, the period just written
            // included: what is heard at the poll lies within the period
            // before the frames counted there.
            const double heard =
                std::max<double>(0, static_cast<double>(poll.recorded - heardFrom) - period / 2);
            if (std::fabs(static_cast<double>(poll.position) - heard * filePerServer) >
                1.5 * period * filePerServer)
                ++offPosition;
            if ((poll.recorded < heardFrom - period && poll.level != 0) ||
                (poll.recorded > heardFrom + period && (poll.level & 0xFFFF) < 40))
                ++offLevel;
        }
        EXPECT_LE(offPosition, polls.size() / 20);
        EXPECT_LE(offLevel, polls.size() / 20);
    }
}
