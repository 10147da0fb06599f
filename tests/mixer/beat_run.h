#pragma once
// The automatic DJ's beat mode played over synthetic tracks on the offline
// output: the first track plays on the left deck, the mode is switched on,
// and the run goes on until the wanted number of hand-overs has faded out.
// What a listener would judge is measured: the longest silence of the
// rendered output, and where each fade started in the playing track's
// music (against the track's true beats and the true end of its music).
#include "tests/analysis/synthetic_tracks.h"
#include "tests/mixer/window_fixture.h"

#include <string>
#include <vector>

namespace mixer_test {

struct BeatHandOver {
    std::string from, to;
    double offBeat = 0; // seconds heard from the playing track's nearest beat, signed
    double early = 0;   // track seconds the fade started before (its music's end - the fade)
    double gridOff = 0; // the playing track's analysed first beat from its nearest true beat, s
    double fromBpm = 0; // effective tempos at the start
    double toBpm = 0;
};

struct BeatRun {
    std::vector<BeatHandOver> handOvers;
    std::vector<std::string> loaded; // every file a deck loaded, in order
    double longestSilence = 0;       // seconds, once the first track was heard
    double outputSeconds = 0;
};

class BeatRunTest : public WindowTest {
protected:
    // Writes `tracks` as WAV files, makes them the playlist (in order) and
    // runs the beat mode with a fade of `fadeBeats` beats.
    BeatRun runBeatMode(const std::vector<synthetic::Track>& tracks, int handOvers,
                        int fadeBeats = 16);
};

} // namespace mixer_test
