#pragma once
// The mixer on a panel of its own controls, with both decks' streams opened
// and played directly on the offline output at 44100 Hz.
#include "controls/peak/qzvPeak.h"
#include "controls/widgets/console_button.h"
#include "controls/widgets/slider.h"
#include "mixer/mixer_desk.h"
#include "tests/platform/audio/audio_test_support.h"
#include "tests/support/scripted_dialogs.h"

#include <QWidget>
#include <memory>
#include <string>
#include <vector>

namespace mixer_test {

// Slider values and monitor button of one mixer setting.
struct Setting {
    int crossfader = 50;
    int master = 100;
    int leftDeck = 0;      // 0 = full level (top)
    int rightDeck = 0;     // 0 = full level (top)
    int monitor = 0;       // 0 = full monitor level (top)
    int monitorButton = 2; // 0 left deck, 1 right deck, 2 off
};

// Volume and pan the audio library holds for a stream.
struct Attributes {
    int volume = -1;
    int pan = -1000;
    bool operator==(const Attributes&) const = default;
};
Attributes attributesOf(const engine::Channel& stream);

// A 1 s 44100 Hz stereo WAV whose left and right samples stay at `left` and
// `right` meter units (0..128, 256 sample units each), for exact levels.
std::string constantLevelWav(int left, int right);
// A 3 s 44100 Hz stereo WAV tone of `frequency` Hz at 0.4 of full scale.
std::string toneWav(int frequency);

// RMS of the `frequency` Hz component of channel `channel` of interleaved
// stereo `samples` at 44100 Hz (Goertzel filter on one bin).
double toneRms(const std::vector<short>& samples, int channel, double frequency);

class MixerTest : public audio_test::OfflineEngine {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens `path` on deck `deck` (0 left, 1 right), plays it and renders
    // enough for its level to show.
    void playDeck(int deck, const std::string& path);
    // Moves the sliders (no notifications reach the mixer here) and presses
    // the monitor button, which reruns the volumes.
    void apply(const Setting& setting);

    testing_support::ScriptedDialogs dialogs;
    std::unique_ptr<core::ProgramState> state;
    std::unique_ptr<QWidget> panel;
    mixer::MixerControls controls;
    std::unique_ptr<mixer::MixerDesk> desk;
};

} // namespace mixer_test
