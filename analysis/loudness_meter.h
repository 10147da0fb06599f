#pragma once
// EBU R128 loudness of a whole track, fed in pieces: the integrated loudness
// and the K-weighted energy of every 100 ms block, from which the short-term
// (3 s) loudness tells where the music starts and ends.
#include <ebur128.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace analysis {

class LoudnessMeter {
public:
    // Stereo at `sampleRate` Hz.
    explicit LoudnessMeter(int sampleRate);
    ~LoudnessMeter();
    LoudnessMeter(const LoudnessMeter&) = delete;
    LoudnessMeter& operator=(const LoudnessMeter&) = delete;

    // Adds interleaved 16-bit stereo frames.
    void add(const std::int16_t* frames, std::size_t count);
    // Integrated loudness in LUFS (-70 for silence).
    double integrated() const;

    struct Span {
        double start = 0.0; // seconds
        double end = 0.0;   // seconds; equal to start when there is no music
    };
    // The music: `start` is where the first 3 s window at or above
    // integrated() - `thresholdLu` ends, `end` where the last one begins, so
    // each lies within about a block (100 ms) of the edge of the sound.
    Span music(double thresholdLu) const;

private:
    void closeBlock();

    ebur128_state* state_ = nullptr;
    std::size_t blockFrames_;
    std::size_t inBlock_ = 0;
    std::vector<double> blockEnergy_; // mean K-weighted power of each 100 ms block
};

} // namespace analysis
