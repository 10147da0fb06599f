#pragma once
// The engine on a private JACK server with a recorder on its ports, and the
// offline output's rendering of the same calls to hold the recording against.
#include "tests/platform/audio/audio_test_support.h"
#include "tests/platform/audio/jack_recorder.h"
#include "tests/platform/audio/jack_server.h"

#include <functional>
#include <memory>
#include <optional>

namespace audio_test {

// The shared server at `rate` Hz for this test program (started on first
// use; one at a time, since a process's JACK clients reach one server only).
JackServer& jackServerAt(int rate);

// A song and the library calls that open (and pre-buffer) and play it.
struct Song {
    std::string path;
    bool wma = false;
    HSTREAM open() const;
    bool play(HSTREAM handle) const;
};

// What the offline output renders at `engineRate` over `frames` frames at
// `deviceRate`, converted as the PortAudio output converts: `before(mixFrame)`
// makes the calls due before each block of the mix. Frees the engine after.
std::vector<float> renderOffline(int engineRate, int deviceRate, std::size_t frames,
                                 const std::function<void(std::int64_t)>& before);

// Where `expected` begins in the recording: their first loud samples lined
// up, then moved by up to a few dozen frames to where they match best (a
// converted onset rings a little before it in the recording).
std::optional<std::size_t> alignment(const JackRecorder& recorder,
                                     const std::vector<float>& expected);
// Largest difference between the recording from frame `at` and `expected`
// (both channels, over `frames` frames), in 16-bit steps.
double largestDifference(const JackRecorder& recorder, std::size_t at,
                         const std::vector<float>& expected, std::size_t frames);

void sleepMs(int milliseconds);

class JackOutput : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // The engine at `engineRate` on `server`, started, with `recorder`
    // connected and recording. Skips the test when JACK cannot start here.
    void startOn(JackServer& server, int engineRate);
    void startOnJack(int serverRate, int engineRate) {
        startOn(jackServerAt(serverRate), engineRate);
    }
    // Stops and frees the engine; the recording stays.
    void freeEngine();
    bool ready() const { return !IsSkipped() && !HasFatalFailure(); }
    std::unique_ptr<JackRecorder> recorder;
};

} // namespace audio_test
