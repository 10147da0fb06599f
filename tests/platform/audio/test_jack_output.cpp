// The audio output on a JACK server paced in real time: what reaches the
// server's ports against the offline output, positions and levels against
// what is heard, controls taking effect, the server going away and back.
#include "tests/platform/audio/jack_take.h"

#include <cmath>
#include <cstdint>
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
    for (const Case c :
         {Case{44100, 44100, 0.0}, Case{48000, 22050, 1.0}, Case{48000, 44100, 1.0}}) {
        for (const Song& song : {Song{mp3Cbr()}, Song{wav()}, Song{wma(), true}}) {
            SCOPED_TRACE(testing::Message() << song.path << " at " << c.engineRate << " Hz on a "
                                            << c.serverRate << " Hz server");
            const std::vector<float> expected =
                renderOffline(c.engineRate, c.serverRate, comparedFrames * 2, [&](std::int64_t at) {
                    if (at == 0)
                        song.play(song.open());
                });
            // A server starved of processor time drops periods of every
            // client alike; such a take is not evidence, so the best of
            // three counts. A conversion fault shows in every take.
            double difference = HUGE_VAL;
            for (int take = 0; take < 3 && difference > c.tolerance; ++take) {
                startOnJack(c.serverRate, c.engineRate);
                if (!ready())
                    return;
                ASSERT_TRUE(song.play(song.open()));
                sleepMs(450);
                recorder->stop();
                freeEngine();
                const auto onset = alignment(*recorder, expected);
                if (onset)
                    difference = std::min(
                        difference, largestDifference(*recorder, *onset, expected, comparedFrames));
            }
            EXPECT_LE(difference, c.tolerance);
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
        SCOPED_TRACE(testing::Message()
                     << c.engineRate << " Hz on a " << c.serverRate << " Hz server");
        // Polls out of place in one take: a late period on a busy machine
        // moves the port's count, not what the engine reports, so a take
        // may miss a few polls; a take the server starved misses more and is
        // not evidence (the engine's clock runs on while the server's
        // stalls). The best of five takes counts: a fault in the engine's
        // positions or levels shows in every take.
        std::size_t offPosition = SIZE_MAX, offLevel = SIZE_MAX, polled = 0;
        for (int take = 0; take < 5 && (offPosition > polled / 20 || offLevel > polled / 20);
             ++take) {
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
                polls.push_back({static_cast<std::int64_t>(recorder->frames()),
                                 BASS_ChannelGetPosition(stream) / 4,
                                 BASS_ChannelGetLevel(stream)});
                sleepMs(1);
            }
            recorder->stop();
            freeEngine();
            const auto expected =
                renderOffline(c.engineRate, c.serverRate, 4096, [&](std::int64_t at) {
                    if (at == 0)
                        song.play(song.open());
                });
            const auto onset = alignment(*recorder, expected);
            if (!onset)
                continue;
            // The first frame is heard once it is the playback latency deep in the port.
            const auto heardFrom = static_cast<std::int64_t>(*onset) + recorder->playbackLatency();
            const double filePerServer = 44100.0 / c.serverRate;
            const double period = JackServer::periodFrames;
            std::size_t missedPosition = 0, missedLevel = 0;
            for (const Poll& poll : polls) {
                // The port is read a period at a time, the period just
                // written included: what is heard at the poll lies within the
                // period before the frames counted there.
                const double heard = std::max<double>(
                    0, static_cast<double>(poll.recorded - heardFrom) - period / 2);
                if (std::fabs(static_cast<double>(poll.position) - heard * filePerServer) >
                    1.5 * period * filePerServer)
                    ++missedPosition;
                if ((poll.recorded < heardFrom - period && poll.level != 0) ||
                    (poll.recorded > heardFrom + period && (poll.level & 0xFFFF) < 40))
                    ++missedLevel;
            }
            polled = polls.size();

            offPosition = std::min(offPosition, missedPosition);
            offLevel = std::min(offLevel, missedLevel);
        }
        ASSERT_GT(polled, 0u) << "the tone was not found at the port in any take";
        EXPECT_LE(offPosition, polled / 20);
        EXPECT_LE(offLevel, polled / 20);
    }
}

// Two streams started one after the other reach the port mixed as the
// offline output mixes them when started as many frames apart.
TEST_F(JackOutput, TwoStreamsMixAsTheOfflineOutputMixesThem) {
    const Song first = tone997(), second{mp3Cbr()};
    auto offline = [&](std::int64_t secondAt) {
        return renderOffline(44100, 44100, 44100, [&](std::int64_t at) {
            if (at == 0)
                first.play(first.open());
            if (at == secondAt)
                second.play(second.open());
        });
    };
    const auto alone = offline(-1);
    // As above: a take in which the server dropped periods is not evidence;
    // the best of three counts.
    double difference = HUGE_VAL;
    for (int take = 0; take < 3 && difference > 0; ++take) {
        startOnJack(44100, 44100);
        if (!ready())
            return;
        ASSERT_TRUE(first.play(first.open()));
        sleepMs(100);
        ASSERT_TRUE(second.play(second.open()));
        sleepMs(250);
        recorder->stop();
        freeEngine();
        const auto onset = alignment(*recorder, alone);
        if (!onset)
            continue;
        // The second stream starts where the sound departs from the first
        // alone, at the start of a period.
        std::size_t joined = *onset;
        while (joined < recorder->frames() &&
               recorder->sample16(joined, 0) ==
                   static_cast<int>(std::lround(alone[(joined - *onset) * 2] * 32768.0f)))
            ++joined;
        if (joined >= recorder->frames())
            continue;
        const std::size_t apart =
            (joined - *onset) / JackServer::periodFrames * JackServer::periodFrames;
        const auto mixed = offline(static_cast<std::int64_t>(apart));
        const std::size_t compared =
            std::min<std::size_t>(recorder->frames() - *onset, apart + 4096);
        difference = std::min(difference, largestDifference(*recorder, *onset, mixed, compared));
    }
    EXPECT_EQ(difference, 0.0);
}

// Each control on a playing stream changes the sound at the port within one
// period plus the device latency of the call; a volume change does not click.
TEST_F(JackOutput, ControlsTakeEffectAtThePortWithinOnePeriodPlusLatency) {
    const Song song = tone997();
    struct Case {
        const char* name;
        std::function<void(HSTREAM)> before, control;
        bool soundReturns; // else the sound departs from the unchanged play
    };
    const std::vector<Case> cases = {
        {"pause", nullptr, [](HSTREAM s) { BASS_ChannelPause(s); }, false},
        {"resume", [](HSTREAM s) { BASS_ChannelPause(s); },
         [](HSTREAM s) { BASS_ChannelResume(s); }, true},
        {"stop", nullptr, [](HSTREAM s) { BASS_ChannelStop(s); }, false},
        {"seek", nullptr, [](HSTREAM s) { BASS_ChannelSetPosition(s, 30000 * 4); }, false},
        {"rate", nullptr, [](HSTREAM s) { BASS_ChannelSetAttributes(s, 48510, -1, -101); }, false},
        {"volume", nullptr, [](HSTREAM s) { BASS_ChannelSetAttributes(s, -1, 20, -101); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t allowed = JackServer::periodFrames;
        // Frames from the call to the change, beyond the device latency, and
        // whether a volume change clicked. A take in which the server
        // dropped periods is not evidence; the best of three counts.
        std::size_t delay = SIZE_MAX;
        bool clicked = true;
        for (int take = 0; take < 3 && (delay > allowed || clicked); ++take) {
            startOnJack(44100, 44100);
            if (!ready())
                return;
            const HSTREAM stream = song.open();
            ASSERT_TRUE(song.play(stream));
            sleepMs(150);
            if (c.before) {
                c.before(stream);
                sleepMs(100);
            }
            const std::size_t atCall = recorder->frames(); // frames at the port when called
            c.control(stream);
            sleepMs(150);
            recorder->stop();
            freeEngine();
            const auto unchanged = renderOffline(44100, 44100, 44100, [&](std::int64_t at) {
                if (at == 0)
                    song.play(song.open());
            });
            const auto onset = alignment(*recorder, unchanged);
            if (!onset)
                continue;
            // The search starts at the call: nothing may change before it.
            std::optional<std::size_t> changed;
            for (std::size_t i = std::max(atCall, *onset); i < recorder->frames() && !changed;
                 ++i) {
                const int now = recorder->sample16(i, 0);
                const int was =
                    static_cast<int>(std::lround(unchanged[(i - *onset) * 2] * 32768.0f));
                if (c.soundReturns ? now != 0 : now != was)
                    changed = i;
            }
            if (!changed)
                continue;
            const std::size_t latency = recorder->playbackLatency();
            const std::size_t after = *changed - atCall;
            const std::size_t beyond = after > latency ? after - latency : 0;
            bool takeClicked = false;
            if (std::string(c.name) == "volume" && *changed >= 4096 &&
                *changed + 2048 <= recorder->frames()) {
                // No sample-to-sample step beyond the tone's own largest one.
                auto largestStep = [&](std::size_t from, std::size_t to) {
                    int largest = 0;
                    for (std::size_t i = from + 1; i < to; ++i)
                        largest = std::max(largest, std::abs(recorder->sample16(i, 0) -
                                                             recorder->sample16(i - 1, 0)));
                    return largest;
                };
                takeClicked = largestStep(*changed - 2048, *changed + 2048) >
                              largestStep(*changed - 4096, *changed - 1024) + 1;
            }
            if (beyond < delay || (beyond <= allowed && !takeClicked)) {
                delay = beyond;
                clicked = takeClicked;
            }
        }
        // The change came within a period plus the latency, without a click.
        EXPECT_LE(delay, allowed);
        EXPECT_FALSE(clicked);
    }
}

// The JACK server going away, by a crash or stopped by its user: the calls
// fail with clear errors and nothing hangs; once a server takes clients
// again (the same one restarted, or another after a crash) a new start plays.
TEST_F(JackOutput, SurvivesTheServerGoingAwayAndComingBack) {
    for (const bool crash : {true, false}) {
        SCOPED_TRACE(crash ? "server crashed" : "server stopped");
        auto server = std::make_unique<JackServer>(44100);
        startOn(*server, 44100);
        if (!ready())
            return;
        const Song song = tone997();
        const HSTREAM playing = song.open();
        const HSTREAM waiting = song.open();
        ASSERT_TRUE(song.play(playing));
        sleepMs(100);
        recorder->stop();
        recorder.reset();
        if (crash)
            server->kill();
        else
            server->stop();
        sleepMs(500);
        EXPECT_FALSE(song.play(waiting));
        EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_START);
        EXPECT_FALSE(BASS_ChannelResume(playing));
        EXPECT_FALSE(BASS_Start());
        EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_DRIVER);
        EXPECT_NE(BASS_ChannelGetPosition(playing), static_cast<QWORD>(-1));
        EXPECT_TRUE(BASS_Stop());
        BASS_Free();

        if (crash)
            server = std::make_unique<JackServer>(44100);
        else
            ASSERT_TRUE(server->restart()) << server->failure();
        startOn(*server, 44100);
        const HSTREAM again = song.open();
        ASSERT_TRUE(song.play(again));
        sleepMs(300);
        int loudest = 0;
        for (std::size_t i = 0; i < recorder->frames(); ++i)
            loudest = std::max(loudest, std::abs(recorder->sample16(i, 0)));
        EXPECT_GT(loudest, 8000) << "the tone is not heard after the new start";
        EXPECT_GT(BASS_ChannelGetPosition(again), 0u);
        recorder->stop();
        freeEngine();
    }
}
