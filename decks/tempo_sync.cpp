#include "decks/tempo_sync.h"

#include <cmath>

namespace decks {

namespace {

// The fraction of a beat `position` stands at on `grid`, 0 <= f < 1.
double beatPhase(double position, const BeatGrid& grid) {
    const double beats = (position - grid.firstBeat) / grid.beatSeconds;
    return beats - std::floor(beats);
}

} // namespace

double effectiveBpm(double trackBpm, double rate, double fileRate) {
    return fileRate > 0 ? trackBpm * rate / fileRate : 0;
}

std::optional<int> syncPosition(double trackBpm, double targetBpm, std::uint32_t baseRate,
                                std::uint32_t fileRate, double range) {
    if (trackBpm <= 0 || targetBpm <= 0 || baseRate == 0 || fileRate == 0 || range <= 0)
        return std::nullopt;
    // The rate wanted over the base rate, as a percentage change; a position
    // step is range / 100 percent.
    const double wantedRate = fileRate * targetBpm / trackBpm;
    const double percent = (wantedRate / baseRate - 1.0) * 100.0;
    const long position = std::lround(1000.0 + percent * 100.0 / range);
    if (position < 0 || position > 2000)
        return std::nullopt;
    return static_cast<int>(position);
}

std::int64_t syncRate(double trackBpm, double targetBpm, std::uint32_t fileRate) {
    return trackBpm > 0 ? std::llround(fileRate * targetBpm / trackBpm) : 0;
}

double phaseAlignedPosition(double position, const BeatGrid& grid, double otherPosition,
                            const BeatGrid& otherGrid) {
    if (grid.beatSeconds <= 0 || otherGrid.beatSeconds <= 0)
        return position;
    double shift = beatPhase(otherPosition, otherGrid) - beatPhase(position, grid);
    shift -= std::round(shift); // the nearest: within half a beat either way
    return position + shift * grid.beatSeconds;
}

double beatAtOrAfter(double time, const BeatGrid& grid) {
    if (grid.beatSeconds <= 0)
        return time;
    // A beat within a microsecond before `time` counts as at it.
    const double beats = std::ceil((time - grid.firstBeat) / grid.beatSeconds - 1e-6);
    return grid.firstBeat + beats * grid.beatSeconds;
}

double nearestBeat(double time, const BeatGrid& grid) {
    if (grid.beatSeconds <= 0)
        return time;
    double beat =
        grid.firstBeat + std::round((time - grid.firstBeat) / grid.beatSeconds) * grid.beatSeconds;
    if (beat < 0)
        beat += grid.beatSeconds;
    return beat >= 0 ? beat : time;
}

} // namespace decks
