#pragma once
// Beat tracking of a whole track, fed in pieces: an onset detection function
// (complex spectral difference) over mono frames, then a tempo tracker
// (comb-filter tempo, dynamic-programming beats) over the whole function.
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
    std::vector<double> beats();

private:
    void processFrames();

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
};

} // namespace analysis
