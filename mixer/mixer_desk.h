#pragma once
// The mixer of the main window: turns the crossfader, the two deck sliders,
// the master and the monitor slider and switch into a volume and a pan per
// deck stream, and feeds the three level meters. run_volume_timer is the one
// place where volume and pan reach the streams; every change of a level ends
// in it. Everything runs on the user-interface thread.
#include "core/program_state.h"
#include "mixer/mixer_controls.h"
#include "mixer/mixer_math.h"

#include <QObject>
#include <functional>

namespace mixer {

class MixerDesk {
public:
    // Both value notifications of each slider rerun the volumes, the mouse
    // moving over one gives the panel the keyboard, and the monitor buttons
    // switch the monitor.
    MixerDesk(core::ProgramState& state, const MixerControls& controls);

    // Recomputes both decks' volumes from the sliders (state.leftDeckVolume,
    // state.rightDeckVolume) and sets both streams' volume and pan for the
    // monitor mode. A deck without a stream is passed on all the same; the
    // library's refusal only lands in state.lastResult.
    void run_volume_timer();

    // Sets `stream`'s volume and pan so that its left output is near `left`
    // and its right output near `right` (0..100); the rate is left as it is.
    // The library's result goes to state.lastResult.
    void set_ChannelLevels(engine::Channel& stream, int left, int right);

    // Monitor switch: index 0 monitors the left deck (mode 1), 1 the right
    // deck (mode 2), 2 switches monitoring off (mode 3). The chosen button is
    // lit, the others dark; then the volumes are rerun. Other indexes are
    // ignored.
    void monitorCMB_Click(int index);

    // One update of the three meters from the decks' stream levels: a deck
    // with no level (stopped, paused, no stream) writes nothing and its
    // columns keep falling by themselves.
    void run_VUmeterTimer();

    const MixerControls& controls() const { return controls_; }
    // Runs after every volume run (the recording lists the tracks on air).
    std::function<void()> levelsSet;

private:
    SliderValues sliderValues() const;

    core::ProgramState& state_;
    MixerControls controls_;
    // The context of the controls' connections: they end with the mixer.
    QObject connections_;
};

} // namespace mixer
