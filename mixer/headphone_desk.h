#pragma once
// The headphones on the mixer panel: with a headphone output, the monitor
// column becomes the headphone column — a pre-listen button per deck (the
// deck goes to the headphones before its volume and the crossfader), the
// split (pre-listen on the left ear, the main mix on the right), the
// cue/main knob and the headphone volume. Without one, the column stays the
// monitor switch and nothing here acts. UI thread only.
#include "core/program_state.h"

#include <QObject>
#include <array>
#include <functional>
#include <vector>

class ConsoleButton;
class QLabel;
class QWidget;
class Slider;

namespace mixer {

struct HeadphoneControls {
    std::vector<QWidget*> monitorColumn;         // the monitor controls the column replaces
    std::vector<QWidget*> phonesColumn;          // every control below, and their captions
    std::array<ConsoleButton*, 2> prelistenCB{}; // 0 left deck, 1 right deck; lit while on
    ConsoleButton* splitCB = nullptr;            // lit while on
    Slider* phonesMixScroll = nullptr;           // 0 pre-listen only .. max the main mix only
    Slider* phonesVolScroll = nullptr;           // level = max - value
};

class HeadphoneDesk {
public:
    HeadphoneDesk(core::ProgramState& state, const HeadphoneControls& controls);

    // After the engine started: with a headphone output the column shows the
    // headphone controls (and the monitor goes off); the mix is applied.
    // Returns whether the headphones are there.
    bool engineStarted(const std::function<void()>& monitorOff);
    bool active() const { return active_; }

    void prelistenCB_Click(int side);
    void splitCB_Click();
    // The knob `by` steps toward the main mix (negative: toward pre-listen).
    void stepMix(int by);
    // The volume `by` steps louder (negative: quieter).
    void stepVolume(int by);
    // The knob, volume and split to the engine.
    void run_phones();
    // Each deck's stream pre-listened as its button says (after a load or a
    // play, a deck may hold a new stream).
    void applyPrelisten();

private:
    void showButtons();

    core::ProgramState& state_;
    HeadphoneControls controls_;
    bool active_ = false;
    QObject connections_;
};

// Builds the headphone column (hidden) on the mixer panel `panel`.
HeadphoneControls buildHeadphoneControls(QWidget* panel);

} // namespace mixer
