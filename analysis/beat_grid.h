#pragma once
// A constant beat grid fitted to tracked beat times.
#include <vector>

namespace analysis {

struct BeatGrid {
    double bpm = 0.0;       // 0 when there were too few beats
    double firstBeat = 0.0; // seconds
    double period = 0.0;    // seconds between the beats tracked (before folding)
};

// Least-squares fit of t = first + period * k to `beats` (seconds, rising):
// first to the longest run of beats a steady period apart, then to every
// beat within an eighth of a period of that grid, numbered by it (twice
// more). The tempo is then folded by octaves into [minBpm, maxBpm); the
// first beat is the grid position of the first beat kept. Needs 8 beats.
BeatGrid fitBeatGrid(const std::vector<double>& beats, double minBpm, double maxBpm);

// `bpm` halved or doubled until it lies in [minBpm, maxBpm) (unchanged when
// the range holds no octave of it).
double foldBpm(double bpm, double minBpm, double maxBpm);

} // namespace analysis
