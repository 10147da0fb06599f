#include "mixer/action_runner.h"

#include "controls/lcd/qzvLCD.h"
#include "controls/widgets/slider.h"
#include "core/program_state.h"
#include "decks/decks.h"
#include "mixer/auto_dj.h"
#include "mixer/headphone_desk.h"
#include "mixer/mixer_desk.h"
#include "platform/ui/dialogs.h"

#include <QLineEdit>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace mixer {

ActionRunner::ActionRunner(core::ProgramState& state, decks::Decks& decks, MixerDesk& mixer,
                           AutoDJ& autoDJ, const ActionControls& controls, WindowActions window)
    : state_(state), decks_(decks), mixer_(mixer), autoDJ_(autoDJ), controls_(controls),
      window_(std::move(window)) {}

void ActionRunner::run(Action action, bool pressed) {
    const ActionRow& row = actionRow(action);
    if (!pressed && row.repeat != Repeat::Held)
        return;
    decks::Deck& deck = row.side < 0 ? decks_.selected() : decks_.deck(row.side);
    const MixerControls& mixer = mixer_.controls();
    Slider& pitch = *deck.controls().pitch;
    using enum Action;
    switch (action) {
    case ShowKeyHints:
        return showKeyHints(true);
    case HideKeyHints:
        return showKeyHints(false);
    case Help:
        return help();
    case ShowOptions:
        return window_.optionsCB_Click ? window_.optionsCB_Click() : void();
    case ShowPlaylist:
        return window_.playListCB_Click ? window_.playListCB_Click() : void();
    case ToggleRecording:
        return window_.recCB_Click ? window_.recCB_Click() : void();
    case LeftPrelisten:
    case RightPrelisten:
        return phones_ ? phones_->prelistenCB_Click(row.side) : void();
    case PhonesSplit:
        return phones_ ? phones_->splitCB_Click() : void();
    case PhonesMixCue:
    case PhonesMixMain:
        return phones_ ? phones_->stepMix(action == PhonesMixMain ? 1 : -1) : void();
    case PhonesQuieter:
    case PhonesLouder:
        return phones_ ? phones_->stepVolume(action == PhonesLouder ? 1 : -1) : void();
    case PlaylistUp:
        return decks_.upCB_Click();
    case PlaylistDown:
        return decks_.downCB_Click();
    case ToggleAutoDJ:
        return autoDJ_.autoDJCB_Click();
    case MonitorLeft:
    case MonitorRight:
        return mixer_.monitorCMB_Click(row.side);
    case MonitorOff:
        return mixer_.monitorCMB_Click(2);
    case MonitorLouder: // the monitor's level is the maximum - value
        return stepMixer(*mixer.monitorVolScroll, -1);
    case MonitorQuieter:
        return stepMixer(*mixer.monitorVolScroll, 1);
    case LeftVolumeDown:
        return stepMixer(*mixer.LVolScroll, -1);
    case LeftVolumeUp:
        return stepMixer(*mixer.LVolScroll, 1);
    case RightVolumeDown:
        return stepMixer(*mixer.RvolScroll, -1);
    case RightVolumeUp:
        return stepMixer(*mixer.RvolScroll, 1);
    case MainVolumeUp:
        return stepMixer(*mixer.MainVolScroll, 1);
    case MainVolumeDown:
        return stepMixer(*mixer.MainVolScroll, -1);
    case CrossfaderStepLeft:
        return stepMixer(*mixer.crossFaderScroll, -1);
    case CrossfaderStepRight:
        return stepMixer(*mixer.crossFaderScroll, 1);
    case CrossfaderLeft:
        return setMixer(*mixer.crossFaderScroll, mixer.crossFaderScroll->Min());
    case CrossfaderCentre:
        return setMixer(*mixer.crossFaderScroll, mixer.crossFaderScroll->Max() / 2);
    case CrossfaderRight:
        return setMixer(*mixer.crossFaderScroll, mixer.crossFaderScroll->Max());
    case SearchBack:
    case SearchForward: {
        const bool forward = action == SearchForward;
        return pressed ? deck.scrub_MouseDown(forward) : deck.scrub_MouseUp(forward);
    }
    case LeftSync:
    case RightSync:
        return deck.sync();
    case LeftBpmHalve:
    case RightBpmHalve:
    case LeftBpmDouble:
    case RightBpmDouble:
        if (window_.changeOctave)
            window_.changeOctave(deck.side(),
                                 action == LeftBpmHalve || action == RightBpmHalve ? -1 : 1);
        return;
    case LeftKeyLock:
    case RightKeyLock:
        return deck.toggleKeyLock();
    case LeftPlay:
    case RightPlay:
        return deck.play_Click();
    case LeftPause:
    case RightPause:
        return deck.pause_Click();
    case LeftCue:
    case RightCue:
        return deck.cue_MouseDown();
    case LeftStop:
    case RightStop:
        return deck.stop_MouseDown();
    case LeftBackToCue:
    case RightBackToCue:
        controls_.mixerPanel->setFocus();
        return deck.play_MouseDown(2);
    case LeftResetCue:
    case RightResetCue:
        return deck.resetCue_Click();
    case LeftPlayFromMemory:
    case RightPlayFromMemory:
        return deck.playFromMemory_Click(0);
    case LeftNextSong:
    case RightNextSong:
        state_.selectedDeck = static_cast<std::int16_t>(row.side);
        return autoDJ_.get_next_song();
    case LeftPitchDownLarge:
    case RightPitchDownLarge:
        return stepSlider(pitch, -pitch.LargeChange());
    case LeftPitchDown:
    case RightPitchDown:
        return stepSlider(pitch, -pitch.SmallChange());
    case LeftPitchUpLarge:
    case RightPitchUpLarge:
        return stepSlider(pitch, pitch.LargeChange());
    case LeftPitchUp:
    case RightPitchUp:
        return stepSlider(pitch, pitch.SmallChange());
    case LeftBendDown:
    case RightBendDown:
    case LeftBendUp:
    case RightBendUp: {
        const bool up = action == LeftBendUp || action == RightBendUp;
        return pressed ? deck.bend_MouseDown(up) : deck.bend_MouseUp(up);
    }
    case LeftProgressBack:
    case RightProgressBack:
        return stepProgress(deck, -1);
    case LeftProgressForward:
    case RightProgressForward:
        return stepProgress(deck, 1);
    case Crossfader:
    case LeftVolume:
    case RightVolume:
    case MainVolume:
    case MonitorVolume:
    case LeftPitch:
    case RightPitch:
        return; // moved by setValue
    }
}

Slider* ActionRunner::valueSlider(Action action, bool& fromTop) const {
    const MixerControls& mixer = mixer_.controls();
    fromTop = false;
    using enum Action;
    switch (action) {
    case Crossfader:
        return mixer.crossFaderScroll;
    case MainVolume:
        return mixer.MainVolScroll;
    case LeftPitch:
    case RightPitch:
        return decks_.deck(actionRow(action).side).controls().pitch;
    case LeftVolume:
    case RightVolume:
    case MonitorVolume:
        fromTop = true;
        return action == LeftVolume    ? mixer.LVolScroll
               : action == RightVolume ? mixer.RvolScroll
                                       : mixer.monitorVolScroll;
    default:
        return nullptr;
    }
}

void ActionRunner::setValue(Action action, double fraction) {
    bool fromTop = false;
    Slider* slider = valueSlider(action, fromTop);
    if (!slider)
        return;
    fraction = std::clamp(fromTop ? 1.0 - fraction : fraction, 0.0, 1.0);
    const int value =
        slider->Min() + static_cast<int>(std::lround(
                            fraction * static_cast<double>(slider->Max() - slider->Min())));
    if (value == slider->Value())
        return;
    if (action == Action::LeftPitch || action == Action::RightPitch)
        slider->setValue(value);
    else
        setMixer(*slider, value);
}

double ActionRunner::value(Action action) const {
    bool fromTop = false;
    const Slider* slider = valueSlider(action, fromTop);
    if (!slider || slider->Max() <= slider->Min())
        return -1;
    const double fraction = static_cast<double>(slider->Value() - slider->Min()) /
                            static_cast<double>(slider->Max() - slider->Min());
    return fromTop ? 1.0 - fraction : fraction;
}

bool ActionRunner::isOn(Action action) const {
    const ActionRow& row = actionRow(action);
    const core::DeckRecord* deck =
        row.side < 0 ? nullptr : &state_.decks[static_cast<std::size_t>(row.side)];
    using enum Action;
    switch (action) {
    case LeftPlay:
    case RightPlay:
        return deck->stream.isPlaying();
    case LeftPause:
    case RightPause:
        return deck->paused;
    case LeftCue:
    case RightCue:
        return deck->cueMode;
    case MonitorLeft: // monitorMode: 1 left deck, 2 right deck, 3 off
    case MonitorRight:
        return state_.monitorMode == row.side + 1;
    case MonitorOff:
        return state_.monitorMode == 3;
    case ToggleAutoDJ:
        return state_.autoDJ.on;
    default:
        return false;
    }
}

void ActionRunner::showKeyHints(bool visible) {
    for (QLineEdit* box : controls_.keyboardTXT)
        box->setVisible(visible);
}

void ActionRunner::stepSlider(Slider& slider, int by) {
    slider.setValue(slider.Value() + by);
}

void ActionRunner::setMixer(Slider& slider, int value) {
    slider.setValue(value);
    mixer_.run_volume_timer();
}

void ActionRunner::stepMixer(Slider& slider, int by) {
    setMixer(slider, slider.Value() + by);
}

void ActionRunner::stepProgress(decks::Deck& deck, int by) {
    // An empty deck has no track to move in.
    if (!deck.record().stream)
        return;
    qzvLCD& lcd = *deck.controls().lcd;
    const short progress = lcd.Progress();
    if ((by > 0 && progress < 100) || (by < 0 && progress > 1))
        lcd.setProgress(static_cast<short>(progress + by));
}

void ActionRunner::help() {
    if (!state_.appHelpFile.isEmpty()) {
        if (!window_.openHelpFile || window_.openHelpFile(state_.appHelpFile))
            return;
        state_.dialogs.msgBox("No program to open web pages was found.\n\n"
                              "The help is the page " +
                                  state_.appHelpFile + ", which any web browser shows.",
                              ui::vbExclamation, "Help cannot start...");
        return;
    }
    state_.dialogs.msgBox(
        "You need Internet Explorer 4 or higher to view the help file.\n\n"
        "It can be downloaded free of charge from the Microsoft web site (www.microsoft.com/ie).",
        ui::vbExclamation, "Help cannot start...");
}

} // namespace mixer
