#pragma once
// Does the actions of the action table (actions.h) on the decks, the mixer,
// the automatic DJ and the window above them, whichever binder (keyboard,
// controller) asked: the same buttons and sliders the mouse works. Runs on
// the UI thread.
#include "mixer/actions.h"

#include <QString>
#include <array>
#include <functional>

class QLineEdit;
class QWidget;
class Slider;

namespace core {
struct ProgramState;
}
namespace decks {
class Decks;
class Deck;
} // namespace decks

namespace mixer {

class AutoDJ;
class HeadphoneDesk;
class MixerDesk;

struct ActionControls {
    QWidget* mixerPanel = nullptr; // takes the keyboard focus before a back-to-cue press
    // The key hints "Q" "S" "R" "2" "V" "N" "B" "U" "0" "K" "P".
    std::array<QLineEdit*, 11> keyboardTXT{};
};

// What the actions do on the window above the mixer.
struct WindowActions {
    std::function<void()> optionsCB_Click;
    std::function<void()> playListCB_Click;
    // Opens the help file (a local file path) with the desktop's program for
    // web pages; false when no such program was found or it could not start.
    std::function<bool(const QString& helpFile)> openHelpFile;
    // REC: starts or ends a recording.
    std::function<void()> recCB_Click;
    // Halves (step -1) or doubles (+1) the tempo of deck `side`'s track.
    std::function<void(int side, int step)> changeOctave;
};

class ActionRunner {
public:
    ActionRunner(core::ProgramState& state, decks::Decks& decks, MixerDesk& mixer, AutoDJ& autoDJ,
                 const ActionControls& controls, WindowActions window);

    // Does `action`; `pressed` false is the release of its key or button,
    // which ends what a held action started (the other actions do nothing).
    void run(Action action, bool pressed = true);
    // Moves the control of a value action (Repeat::Value) to `fraction` of
    // its travel, 0..1, through the same slider the mouse drags: the
    // crossfader 0 left deck .. 1 right deck, a volume 0 silent .. 1 loudest,
    // a pitch 0 slowest .. 1 fastest. Other actions are left alone.
    void setValue(Action action, double fraction);
    // Where the control of a value action stands, 0..1 as setValue takes
    // it; -1 for the other actions.
    double value(Action action) const;
    // True while what the action switches on is on: its deck playing, paused
    // or at its cue point, its deck monitored, the automatic DJ on.
    bool isOn(Action action) const;
    // The headphone actions act on `phones` from now on (none until then).
    void attachHeadphones(HeadphoneDesk& phones) { phones_ = &phones; }

private:
    // The slider of a value action, and whether its level is max - value.
    Slider* valueSlider(Action action, bool& fromTop) const;
    void showKeyHints(bool visible);
    // A slider `by` steps or to `value`, limited to its range; a mixer
    // slider then reruns the mixer.
    static void stepSlider(Slider& slider, int by);
    void setMixer(Slider& slider, int value);
    void stepMixer(Slider& slider, int by);
    // The display's progress (1..100) `by` percent; the next track tick seeks there.
    void stepProgress(decks::Deck& deck, int by);
    void help();

    core::ProgramState& state_;
    decks::Decks& decks_;
    MixerDesk& mixer_;
    AutoDJ& autoDJ_;
    ActionControls controls_;
    WindowActions window_;
    HeadphoneDesk* phones_ = nullptr;
};

} // namespace mixer
