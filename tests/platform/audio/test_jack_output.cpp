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
[[maybe_unused]] Song tone997() {
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
            const auto onset = alignment(*recorder, expected, 1e-3f);
            ASSERT_TRUE(onset.has_value());
            EXPECT_LE(largestDifference(*recorder, *onset, expected, comparedFrames), c.tolerance);
        }
    }
}
