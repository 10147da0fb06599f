// Goal of the automatic DJ's beat mode, over 20 synthetic tracks (drums and
// chord loops at 90 to 174 BPM, straight and swung, silent tails of 0 to
// 20 s, every third ending in a quiet fade-out) and one track without
// music, rendered on the offline output: the longest silence below 0.5 s,
// no fade starting before the playing track's music ends minus the fade,
// every fade starting on a beat of the playing track (within 10 ms heard).
// Prints every hand-over and the totals.
#include "tests/mixer/beat_run.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

std::vector<synthetic::Track> twentyTracks() {
    const double tempos[] = {90, 100, 124, 128, 140, 174};
    std::vector<synthetic::Track> tracks;
    for (int i = 0; i < 20; ++i) {
        synthetic::Track t;
        t.name = "set_" + std::to_string(i);
        t.bpm = tempos[i % 6];
        t.chords = i % 4 == 3;
        t.swung = i % 5 == 2;
        t.firstBeat = 0.1 + 0.29 * (i % 7);
        t.music = 30;
        t.fadeOut = i % 3 == 1 ? 8.0 : 0.0;
        t.silentTail = std::round(20.0 * i / 19.0);
        t.seed = static_cast<unsigned>(i + 1);
        tracks.push_back(t);
        if (i == 9) {
            synthetic::Track silent;
            silent.name = "set_no_music";
            silent.music = 0;
            silent.silentTail = 15;
            tracks.push_back(silent);
        }
    }
    return tracks;
}

class BeatModeBench : public mixer_test::BeatRunTest {};

TEST_F(BeatModeBench, TwentyTracks) {
    const std::vector<synthetic::Track> tracks = twentyTracks();
    const mixer_test::BeatRun run = runBeatMode(tracks, 20);
    double worstOffBeat = 0, latest = -1e9, sumOffBeat = 0;
    std::printf("%-12s %-12s %9s %9s %9s %9s\n", "from", "to", "BPM from", "BPM to", "off beat",
                "early");
    for (const mixer_test::BeatHandOver& h : run.handOvers) {
        std::printf("%-12s %-12s %9.2f %9.2f %7.2fms %8.3fs %7.2fms\n", h.from.c_str(),
                    h.to.c_str(), h.fromBpm, h.toBpm, h.offBeat * 1000, h.early, h.gridOff * 1000);
        worstOffBeat = std::max(worstOffBeat, std::abs(h.offBeat));
        sumOffBeat += std::abs(h.offBeat);
        latest = std::max(latest, h.early);
    }
    std::printf(
        "beat mode: %zu hand-overs over %.0f s of output; fade start off the beat: mean "
        "%.2f ms, worst %.2f ms; earliest start %.3f s %s the music's end minus the "
        "fade; longest silence %.2f s; track without music loaded %d times\n",
        run.handOvers.size(), run.outputSeconds,
        run.handOvers.empty() ? 0.0 : 1000 * sumOffBeat / run.handOvers.size(), 1000 * worstOffBeat,
        std::abs(latest), latest > 0 ? "before" : "after", run.longestSilence,
        static_cast<int>(std::count(run.loaded.begin(), run.loaded.end(), "set_no_music.wav")));
    EXPECT_EQ(run.handOvers.size(), 20u);
    EXPECT_LT(worstOffBeat, 0.010);
    EXPECT_LT(latest, 0.010);
    EXPECT_LT(run.longestSilence, 0.5);
    EXPECT_TRUE(dialogs.boxes().empty());
}

} // namespace
