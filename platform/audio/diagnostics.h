#pragma once
// Figures about the running output, for benchmarks and soak runs: how long
// the output callback takes against its period, and how often a stream had
// no decoded audio ready when the callback needed it.
#include <cstdint>

namespace audio {

struct OutputFigures {
    std::uint64_t callbacks = 0;
    std::uint64_t lateCallbacks = 0; // the output woke up more than a period late
    std::uint64_t streamUnderruns = 0;
    double periodMicroseconds = 0;
    double p50Percent = 0; // callback time, percent of the period
    double p99Percent = 0;
    double maxPercent = 0;
};

// The current output's figures since it was started (zeros without an output).
OutputFigures outputFigures();
// Starts the figures again from zero.
void resetOutputFigures();

} // namespace audio
