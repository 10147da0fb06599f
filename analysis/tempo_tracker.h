#pragma once
// Beat tracking of a whole track, fed in pieces: an onset detection function
// (complex spectral difference, ~11.6 ms hops) over mono frames, then a tempo
// tracker (comb-filter tempo, dynamic-programming beats) over the whole
// function; each beat is then placed on its onset in a 1.45 ms energy
// envelope, where the energy gets half-way up its rise.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class DetectionFunction;

namespace analysis {

class TempoTracker {
public:
    // Fed with frames at `fileRate` Hz.
    explicit TempoTracker(int fileRate);
    ~TempoTracker();
    TempoTracker(const TempoTracker&) = delete;
    TempoTracker& operator=(const TempoTracker&) = delete;

    // Adds interleaved 16-bit stereo frames.
    void add(const std::int16_t* frames, std::size_t count);
    // The tracked beats, seconds from the first frame added (rising).
    // Memory: the detection function and the envelope, ~3 kB a second.
    std::vector<double> beats();

private:
    void processFrames();
    // The onset nearest `seconds` in the energy envelope (seconds), or
    // `seconds` when none rises clearly there.
    double onsetNear(double seconds) const;

    int sampleRate_; // of the mono samples analysed, Hz
    int sum_ = 0;    // of the samples averaged into the next one
    int summed_ = 0;
    std::size_t step_;        // detection-function hop, frames (~11.6 ms)
    std::size_t frameLength_; // analysis window, frames
    std::unique_ptr<DetectionFunction> detection_;
    std::vector<double> pending_; // mono samples not yet consumed by a full hop
    std::size_t pendingStart_ = 0;
    std::vector<double> window_;
    std::vector<double> function_; // one value per hop
    // Energy of every kEnvelopeBlock samples: places each beat's onset to
    // about a millisecond, finer than the hops.
    std::vector<float> envelope_;
    double blockEnergy_ = 0.0;
    int blockSamples_ = 0;
};

} // namespace analysis
