#pragma once
// Shared setup for the audio library's tests: an offline engine per test and
// fixture files made once per test program.
#include "platform/audio/bass.h"
#include "platform/audio/offline.h"
#include "tests/fixtures/fixtures.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace audio_test {

// The folder the fixture files go to (made on first use, removed at exit).
const std::filesystem::path& fixtureFolder();
// A fixture file `name` made from `tone` (made once per program run).
std::string fixture(const std::string& name, const fixtures::Tone& tone);

// Common fixtures: 2 s 1 kHz tones at half scale unless the name says otherwise.
std::string mp3Cbr();       // 44100 Hz stereo
std::string mp3Vbr();       // 44100 Hz stereo
std::string mp3Mono22k();   // 22050 Hz mono, VBR
std::string wav();          // 44100 Hz stereo PCM
std::string wavFullScale(); // 44100 Hz stereo PCM at full scale
std::string wavSilence();   // 44100 Hz stereo PCM of silence
std::string wma();          // 44100 Hz stereo
std::string asfMono22k();   // 22050 Hz mono

// Renders `frames` output frames and returns them (interleaved stereo).
std::vector<short> render(std::size_t frames);
// Plays `handle` to its end at its own rate and returns every frame heard.
std::vector<short> playToEnd(HSTREAM handle, std::size_t chunk = 4096);
// Frequency of channel `channel` of interleaved stereo `samples` at `rate`,
// from the first and last rising zero crossing.
double frequency(const std::vector<short>& samples, int channel, int rate);
// Largest magnitude of channel `channel`.
int peak(const std::vector<short>& samples, int channel);

// Offline engine at 44100 Hz, started; freed after the test.
class OfflineEngine : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    static constexpr int outputRate = 44100;
};

} // namespace audio_test
