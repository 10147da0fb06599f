// The automatic DJ handing over where the music ends, on the beat, over a
// few synthetic tracks on the offline output: silent tails and a quiet
// fade-out leave no dead air, no fade starts before the playing track's
// music ends minus the fade, every fade starts on one of its beats, and a
// track without music is passed over without a box.
#include "tests/mixer/beat_run.h"

#include <algorithm>
#include <cmath>

namespace {

synthetic::Track drums(const char* name, double bpm, double firstBeat, double fadeOut,
                       double tail) {
    synthetic::Track t;
    t.name = name;
    t.bpm = bpm;
    t.firstBeat = firstBeat;
    t.music = 24;
    t.fadeOut = fadeOut;
    t.silentTail = tail;
    return t;
}

class AutoDJBeatsTest : public mixer_test::BeatRunTest {};

TEST_F(AutoDJBeatsTest, HandsOverWhereTheMusicEndsOnTheBeat) {
    synthetic::Track silent = drums("beats_silent", 120, 0, 0, 10);
    silent.music = 0;
    const std::vector<synthetic::Track> tracks = {drums("beats_a", 124, 0.4, 0, 12),
                                                  drums("beats_b", 128, 1.0, 6, 6), silent,
                                                  drums("beats_d", 120, 0.25, 0, 20)};
    const mixer_test::BeatRun run = runBeatMode(tracks, 3);

    ASSERT_EQ(run.handOvers.size(), 3u);
    EXPECT_TRUE(dialogs.boxes().empty());
    EXPECT_EQ(std::count(run.loaded.begin(), run.loaded.end(), "beats_silent.wav"), 0);
    const char* order[][2] = {{"beats_a.wav", "beats_b.wav"},
                              {"beats_b.wav", "beats_d.wav"},
                              {"beats_d.wav", "beats_a.wav"}};
    for (std::size_t i = 0; i < run.handOvers.size(); ++i) {
        const mixer_test::BeatHandOver& h = run.handOvers[i];
        SCOPED_TRACE(testing::Message() << h.from << " -> " << h.to);
        EXPECT_EQ(h.from, order[i][0]);
        EXPECT_EQ(h.to, order[i][1]);
        EXPECT_LT(std::abs(h.offBeat), 0.010);
        EXPECT_LT(h.early, 0.010);
        // Within the pitch range the incoming track plays at the same tempo.
        EXPECT_NEAR(h.toBpm, h.fromBpm, 0.05);
    }
    EXPECT_LT(run.longestSilence, 0.5);
}

} // namespace
