#include "analysis/tempo_tracker.h"

#include <qm-dsp/dsp/onsets/DetectionFunction.h>
#include <qm-dsp/dsp/tempotracking/TempoTrackV2.h>
#include <qm-dsp/maths/MathUtilities.h>

#include <algorithm>
#include <cmath>

namespace analysis {
namespace {

// The onsets are found in mono at a quarter of the file's rate (averages of
// four samples): the beats' onsets lie well below that band's top.
constexpr int kDecimation = 4;
// Detection-function values per second.
constexpr double kStepsPerSecond = 86.0;
// The first values describe the window filling up, not the music.
constexpr std::size_t kSkippedValues = 2;
// The tempo the tracker leans towards when several fit equally, BPM.
constexpr double kPreferredBpm = 120.0;

// Samples (at the analysed rate) of one block of the energy envelope.
constexpr int kEnvelopeBlock = 16;
// How far from a tracked beat its onset is looked for, seconds.
constexpr double kOnsetReach = 0.025;
// The least rise in energy that counts as an onset (6 dB).
constexpr double kLeastRise = 4.0;

// Hops on either side of a tracked beat searched for the onset's peak.
constexpr std::ptrdiff_t kPeakReach = 2;
// Beats stand out of the onset detection function: on music it is 5 to 45
// times its median at the tracked beats. A steady tone, noise or a pad has
// no onsets, and the tracker's beats (at its preferred tempo) land on values
// like any other (1.0 to 1.5 times the median): that is no tempo.
constexpr double kLeastBeatStrength = 2.5;

// The detection function's peak nearest `position` (a hop index), between
// hops by a parabola through the peak and its neighbours.
double peakNear(const std::vector<double>& df, double position) {
    const auto size = static_cast<std::ptrdiff_t>(df.size());
    const auto centre = static_cast<std::ptrdiff_t>(std::lround(position));
    std::ptrdiff_t best = std::clamp<std::ptrdiff_t>(centre, 0, size - 1);
    for (std::ptrdiff_t i = std::max<std::ptrdiff_t>(0, centre - kPeakReach);
         i <= std::min(size - 1, centre + kPeakReach); ++i)
        if (df[static_cast<std::size_t>(i)] > df[static_cast<std::size_t>(best)])
            best = i;
    if (best == 0 || best == size - 1)
        return static_cast<double>(best);
    const double left = df[static_cast<std::size_t>(best - 1)];
    const double mid = df[static_cast<std::size_t>(best)];
    const double right = df[static_cast<std::size_t>(best + 1)];
    const double curve = left - 2 * mid + right;
    const double shift = curve < 0 ? 0.5 * (left - right) / curve : 0.0;
    return static_cast<double>(best) + std::clamp(shift, -0.5, 0.5);
}

// Whether the detection function at the beats `positions` (in values of
// `df`) stands out of the rest of it, as it does where there are onsets.
bool standOut(const std::vector<double>& df, const std::vector<double>& positions) {
    if (df.empty() || positions.empty())
        return false;
    std::vector<double> sorted = df;
    std::nth_element(sorted.begin(),
                     sorted.begin() + static_cast<std::ptrdiff_t>(sorted.size() / 2), sorted.end());
    const double median = sorted[sorted.size() / 2];
    double sum = 0;
    for (const double position : positions)
        sum += df[static_cast<std::size_t>(std::lround(peakNear(df, position)))];
    const double atBeats = sum / static_cast<double>(positions.size());
    return atBeats > 0 && atBeats >= kLeastBeatStrength * median;
}

} // namespace

TempoTracker::TempoTracker(int fileRate)
    : sampleRate_(fileRate / kDecimation),
      step_(static_cast<std::size_t>(sampleRate_ / kStepsPerSecond)),
      frameLength_(static_cast<std::size_t>(
          MathUtilities::nextPowerOfTwo(static_cast<int>(sampleRate_ / kStepsPerSecond) * 2))) {
    DFConfig config{};
    config.stepSize = static_cast<unsigned int>(step_);
    config.frameLength = static_cast<unsigned int>(frameLength_);
    config.DFType = DF_COMPLEXSD;
    config.dbRise = 3;
    config.adaptiveWhitening = false;
    config.whiteningRelaxCoeff = -1;
    config.whiteningFloor = -1;
    detection_ = std::make_unique<DetectionFunction>(config);
    window_.resize(frameLength_);
}

TempoTracker::~TempoTracker() = default;

void TempoTracker::add(const std::int16_t* frames, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        sum_ += frames[2 * i] + frames[2 * i + 1];
        if (++summed_ == kDecimation) {
            const double sample = sum_ / (65536.0 * kDecimation);
            pending_.push_back(sample);
            blockEnergy_ += sample * sample;
            if (++blockSamples_ == kEnvelopeBlock) {
                envelope_.push_back(static_cast<float>(blockEnergy_));
                blockEnergy_ = 0.0;
                blockSamples_ = 0;
            }
            sum_ = 0;
            summed_ = 0;
        }
    }
    processFrames();
}

void TempoTracker::processFrames() {
    while (pending_.size() - pendingStart_ >= frameLength_) {
        std::copy_n(pending_.begin() + static_cast<std::ptrdiff_t>(pendingStart_), frameLength_,
                    window_.begin());
        function_.push_back(detection_->processTimeDomain(window_.data()));
        pendingStart_ += step_;
    }
    if (pendingStart_ > 1 << 16) {
        pending_.erase(pending_.begin(),
                       pending_.begin() + static_cast<std::ptrdiff_t>(pendingStart_));
        pendingStart_ = 0;
    }
}

std::vector<double> TempoTracker::beats() {
    if (function_.size() <= kSkippedValues + 16)
        return {};
    const std::vector<double> df(function_.begin() + kSkippedValues, function_.end());
    TempoTrackV2 tracker(static_cast<float>(sampleRate_), step_);
    std::vector<double> periods(df.size());
    std::vector<double> tempi;
    tracker.calculateBeatPeriod(df, periods, tempi, kPreferredBpm, false);
    std::vector<double> positions;
    tracker.calculateBeats(df, periods, positions);
    if (!standOut(df, positions))
        return {};
    std::vector<double> seconds;
    seconds.reserve(positions.size());
    // Value i describes the window starting at hop i + kSkippedValues; an
    // onset shows in the window after the first one whose second half holds it.
    const double offset = static_cast<double>((kSkippedValues - 1) * step_ + frameLength_ / 2);
    for (const double position : positions)
        seconds.push_back(onsetNear((peakNear(df, position) * static_cast<double>(step_) + offset) /
                                    sampleRate_));
    return seconds;
}

double TempoTracker::onsetNear(double seconds) const {
    const double blocksPerSecond = static_cast<double>(sampleRate_) / kEnvelopeBlock;
    const auto size = static_cast<std::ptrdiff_t>(envelope_.size());
    const auto centre = static_cast<std::ptrdiff_t>(std::lround(seconds * blocksPerSecond));
    const auto reach = static_cast<std::ptrdiff_t>(std::ceil(kOnsetReach * blocksPerSecond));
    const std::ptrdiff_t from = std::max<std::ptrdiff_t>(centre - reach, 1);
    const std::ptrdiff_t to = std::min(centre + reach, size - 1);
    if (from >= to)
        return seconds;
    const auto at = [&](std::ptrdiff_t k) { return envelope_[static_cast<std::size_t>(k)]; };
    // Where the energy first gets half-way from the quietest block before the
    // beat to the loudest around it: the same point of every like onset.
    double floor = at(from), peak = at(from);
    for (std::ptrdiff_t k = from; k <= to; ++k) {
        if (k <= centre)
            floor = std::min<double>(floor, at(k));
        peak = std::max<double>(peak, at(k));
    }
    if (peak < kLeastRise * floor || peak <= 0)
        return seconds;
    const double half = (floor + peak) / 2;
    std::ptrdiff_t k = from;
    while (k <= to && at(k) < half)
        ++k;
    if (k == from || k > to)
        return seconds;
    const double before = at(k - 1), after = at(k);
    const double share = after > before ? (half - before) / (after - before) : 0.0;
    // Each block's energy stands for its middle.
    return (static_cast<double>(k - 1) + share + 0.5) / blocksPerSecond;
}

} // namespace analysis
