#include "analysis/beat_grid.h"

#include <algorithm>
#include <cmath>

namespace analysis {
namespace {

constexpr std::size_t kMinBeats = 8;
constexpr int kFitRounds = 3;
// Gaps within this share of the median period count as steady.
constexpr double kSteadyGap = 0.1;
// Beats within this share of a period of the grid count as on it.
constexpr double kNearGrid = 0.125;

struct Line {
    double first = 0.0;
    double period = 0.0;
};

// Least squares of t over k.
Line fitLine(const std::vector<double>& t, const std::vector<double>& k) {
    const double n = static_cast<double>(t.size());
    double sk = 0, st = 0, skk = 0, skt = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        sk += k[i];
        st += t[i];
        skk += k[i] * k[i];
        skt += k[i] * t[i];
    }
    const double den = n * skk - sk * sk;
    if (den <= 0)
        return {};
    Line line;
    line.period = (n * skt - sk * st) / den;
    line.first = (st - line.period * sk) / n;
    return line;
}

} // namespace

double foldBpm(double bpm, double minBpm, double maxBpm) {
    if (bpm <= 0 || minBpm <= 0 || maxBpm < 2 * minBpm)
        return bpm;
    while (bpm >= maxBpm)
        bpm /= 2;
    while (bpm < minBpm)
        bpm *= 2;
    return bpm;
}

BeatGrid fitBeatGrid(const std::vector<double>& beats, double minBpm, double maxBpm) {
    if (beats.size() < kMinBeats)
        return {};
    std::vector<double> gaps;
    for (std::size_t i = 1; i < beats.size(); ++i)
        gaps.push_back(beats[i] - beats[i - 1]);
    std::vector<double> sorted = gaps;
    std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
    const double median = sorted[sorted.size() / 2];
    if (median <= 0)
        return {};

    // The first fit: the longest run of beats a steady period apart.
    std::size_t runStart = 0, bestStart = 0, bestLength = 0;
    for (std::size_t i = 0; i <= gaps.size(); ++i) {
        if (i == gaps.size() || std::abs(gaps[i] - median) > kSteadyGap * median) {
            if (i - runStart > bestLength) {
                bestLength = i - runStart;
                bestStart = runStart;
            }
            runStart = i + 1;
        }
    }
    if (bestLength + 1 < kMinBeats)
        return {};
    std::vector<double> t(beats.begin() + static_cast<std::ptrdiff_t>(bestStart),
                          beats.begin() + static_cast<std::ptrdiff_t>(bestStart + bestLength + 1));
    std::vector<double> k(t.size());
    for (std::size_t i = 0; i < k.size(); ++i)
        k[i] = static_cast<double>(i);
    Line line = fitLine(t, k);

    // Then every beat near the grid, numbered by the grid, fitted again.
    for (int round = 0; round < kFitRounds && line.period > 0; ++round) {
        std::vector<double> keptT, keptK;
        for (const double beat : beats) {
            const double index = std::round((beat - line.first) / line.period);
            if (std::abs(beat - (line.first + line.period * index)) <= line.period * kNearGrid) {
                keptT.push_back(beat);
                keptK.push_back(index);
            }
        }
        if (keptT.size() < kMinBeats)
            break;
        t = std::move(keptT);
        k = std::move(keptK);
        line = fitLine(t, k);
    }
    if (line.period <= 0)
        return {};
    BeatGrid grid;
    grid.bpm = foldBpm(60.0 / line.period, minBpm, maxBpm);
    grid.firstBeat = line.first + line.period * k.front();
    grid.period = line.period;
    return grid;
}

} // namespace analysis
