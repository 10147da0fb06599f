#pragma once
// Test audio for the benchmarks (made once through FFmpeg's encoders and kept
// between runs), an offline engine, and the figures each benchmark leaves
// for the summary printed at the end of the run.
#include "platform/audio/bass.h"
#include "platform/audio/offline.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace bench_audio {

// The folder the benchmark audio lives in: $VORLAN_BENCH_DATA, else a
// folder under the system's temporary folder.
std::string dataFolder();
std::string threeMinuteMp3();
std::string threeMinuteWma();
// At a low rate and bit rate, where WMA fills bands with noise.
std::string threeMinuteWmaMono16k();
std::string threeMinuteWav();
std::string sixtyMinuteMp3();

// Every frame of `path` decoded straight through the library (offline, at
// the file's own rate), interleaved stereo.
std::vector<short> straightDecode(const std::string& path, bool wma);

// Initialises the offline engine at 44100 Hz and starts it (frees it first).
void startOffline();
void stopEngine();

// Resident memory of this process, bytes.
std::uint64_t residentBytes();

// Figures for the summary: name -> value.
std::map<std::string, double>& figures();

} // namespace bench_audio
