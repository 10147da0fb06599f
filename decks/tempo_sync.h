#pragma once
// The arithmetic of SYNC: the pitch position that plays one deck's track at
// the other deck's tempo, and the seek that brings its beats into phase.
// Tempos in beats per minute; positions and beat grids in seconds of the
// track's own time (the file's frames at its own rate).
#include <cstdint>
#include <optional>

namespace decks {

// The tempo heard from a track of `trackBpm` played at `rate` Hz, its file's
// rate being `fileRate` Hz (the pitch, the bends and the rate buttons all act
// through the stream's rate).
double effectiveBpm(double trackBpm, double rate, double fileRate);

// The pitch position (0..2000, 1000 = no change; see pitch_math.h) that
// plays `trackBpm` at `targetBpm` on a deck whose base rate is `baseRate` and
// whose file's rate is `fileRate`, with the pitch range `range` (1.0, 1.5 or
// 2.0), to the nearest step; empty when it lies outside the slider.
std::optional<int> syncPosition(double trackBpm, double targetBpm, std::uint32_t baseRate,
                                std::uint32_t fileRate, double range);

// The stream rate, Hz, that plays `trackBpm` at `targetBpm` exactly (to the
// hertz): SYNC sets it, the slider showing the nearest position.
std::int64_t syncRate(double trackBpm, double targetBpm, std::uint32_t fileRate);

// A constant beat grid: the first beat's time and the beat's length.
struct BeatGrid {
    double firstBeat = 0; // seconds
    double beatSeconds = 0;
};

// Where to seek a deck now at `position` on `grid` so that it stands at the
// same fraction of a beat as the other deck at `otherPosition` on
// `otherGrid`: the nearest such position (moved by at most half a beat).
double phaseAlignedPosition(double position, const BeatGrid& grid, double otherPosition,
                            const BeatGrid& otherGrid);

// The beat of `grid` at or after `time` (the time itself when the grid has no beat length).
double beatAtOrAfter(double time, const BeatGrid& grid);
// The beat of `grid` nearest `time`, never before 0 (`time` itself when the grid
// has no beat length or no beat lies at or after 0).
double nearestBeat(double time, const BeatGrid& grid);

} // namespace decks
