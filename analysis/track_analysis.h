#pragma once
// What the analysis finds in one track: its tempo and beat grid, its
// loudness and where its music starts and ends.
#include <QMetaType>

namespace analysis {

// Raised whenever the analysis would give different results for the same
// file; results of other versions are analysed again.
inline constexpr int kAnalyserVersion = 2;

struct TrackAnalysis {
    // Beats per minute of the constant grid, inside the BPM range; 0 when no
    // tempo was found (too few beats, or no music).
    double bpm = 0.0;
    // The first beat of the music on the grid, seconds from the file's start.
    double firstBeat = 0.0;
    // EBU R128 integrated loudness, LUFS; -70 or lower for silence.
    double loudness = -70.0;
    // The music: from its first to its last moment above the threshold,
    // seconds from the file's start; equal (0) when the track has no music.
    double musicStart = 0.0;
    double musicEnd = 0.0;
    // Decoded length, seconds.
    double length = 0.0;
    // The DJ's halve/double choice: the detected BPM times 2^octaveShift.
    int octaveShift = 0;
    int version = kAnalyserVersion;

    bool hasMusic() const { return musicEnd > musicStart; }
    // The BPM with the DJ's halve/double choice applied.
    double effectiveBpm() const;
};

// How a track is analysed (kept with the other settings).
struct AnalysisOptions {
    // The grid's tempo is folded by octaves into [minBpm, maxBpm).
    double minBpm = 75.0;
    double maxBpm = 150.0;
    // The music is where the short-term (3 s) loudness is no more than this
    // many LU below the track's integrated loudness.
    double musicThresholdLu = 20.0;
};

} // namespace analysis

Q_DECLARE_METATYPE(analysis::TrackAnalysis)
