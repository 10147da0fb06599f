#pragma once
// Test audio for the benchmarks (made once through FFmpeg's encoders and kept
// between runs), an offline engine, and the figures each benchmark leaves
// for the summary printed at the end of the run.
#include "platform/audio/bass.h"
#include "platform/audio/offline.h"
#include "tests/fixtures/fixtures.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace benchmark {
class State;
}

namespace bench_audio {

// The folder the benchmark audio lives in: $VORLAN_BENCH_DATA, else a
// folder under the system's temporary folder.
std::string dataFolder();
// A 441 Hz tone file `name` of `seconds`, made once in dataFolder().
std::string cached(const std::string& name, fixtures::Format format, double seconds,
                   int rate = 44100, int channels = 2);
std::string threeMinuteMp3();
std::string threeMinuteWma();
// At a low rate and bit rate, where WMA fills bands with noise.
std::string threeMinuteWmaMono16k();
std::string threeMinuteWav();
std::string sixtyMinuteMp3();

// The containers the main library opens besides MP3 and WAV, for the
// figures by format: a name for the figures, the format, its sample rate
// (Opus codes at 48 kHz).
struct SongFormat {
    const char* name;
    fixtures::Format format;
    int rate;
};
const std::vector<SongFormat>& songFormats();
// A 441 Hz tone of `seconds` in `format`, made once in dataFolder().
std::string songFile(const SongFormat& format, double seconds);

// Every frame of `path` decoded straight through the library (offline, at
// `rate`, the file's own rate), interleaved stereo.
std::vector<short> straightDecode(const std::string& path, bool wma, int rate = 44100);

// Initialises the offline engine at `rate` Hz and starts it (frees it first).
void startOffline(int rate = 44100);
void stopEngine();

// Resident memory of this process, bytes.
std::uint64_t residentBytes();

// Soak length: $VORLAN_SOAK_SECONDS, else 10 minutes.
int soakSeconds();
// On the started engine: both decks playing (a 60-minute MP3 and a WMA, at
// other rates, volumes and pans) with a seek every 500 ms for `seconds`;
// resident memory, callback time and underruns go to `state`'s counters and
// to the figures as `prefix`_rss_growth_mb, _callback_p99_percent and
// _underruns. Stops the engine and frees the streams.
void twoDeckSoak(benchmark::State& state, int seconds, const std::string& prefix);

// Figures for the summary: name -> value.
std::map<std::string, double>& figures();

} // namespace bench_audio
