#include "mixer/keyboard_shortcuts.h"

#include "controls/lcd/qzvLCD.h"
#include "controls/widgets/slider.h"
#include "decks/decks.h"
#include "mixer/auto_dj.h"
#include "mixer/key_codes.h"
#include "mixer/mixer_desk.h"
#include "platform/ui/dialogs.h"

#include <QLineEdit>
#include <QWidget>

namespace mixer {

KeyboardShortcuts::KeyboardShortcuts(app::ProgramState& state, decks::Decks& decks,
                                     MixerDesk& mixer, AutoDJ& autoDJ,
                                     const KeyboardControls& controls, WindowActions window)
    : state_(state), decks_(decks), mixer_(mixer), autoDJ_(autoDJ), controls_(controls),
      window_(std::move(window)) {}

bool KeyboardShortcuts::act(Repeat repeat, const std::function<void()>& action) const {
    if (repeat == Repeat::Repeats || !repeat_)
        action();
    return true;
}

void KeyboardShortcuts::show_keyboard_Shortcuts() {
    for (QLineEdit* box : controls_.keyboardTXT)
        box->setVisible(true);
}

void KeyboardShortcuts::hide_keyboard_Shortcuts() {
    for (QLineEdit* box : controls_.keyboardTXT)
        box->setVisible(false);
}

void KeyboardShortcuts::stepSlider(Slider& slider, int by) const {
    // The slider limits the value to its range.
    slider.setValue(slider.Value() + by);
}

void KeyboardShortcuts::stepProgress(decks::Deck& deck, int by) const {
    // An empty deck has no track to move in. The next track tick seeks to the new progress.
    if (!deck.record().stream)
        return;
    qzvLCD& lcd = *deck.controls().lcd;
    const short progress = lcd.Progress();
    if ((by > 0 && progress < 100) || (by < 0 && progress > 1))
        lcd.setProgress(static_cast<short>(progress + by));
}

bool KeyboardShortcuts::pitchKey(decks::Deck& deck, int direction, int shift) {
    Slider& pitch = *deck.controls().pitch;
    if (ctrlAlt())
        return act(Repeat::Repeats, [&] { stepSlider(pitch, direction * pitch.LargeChange()); });
    if (ctrlOnly())
        return act(Repeat::Repeats, [&] { stepSlider(pitch, direction * pitch.SmallChange()); });
    if (!state_.ctrlDown && shift == kShiftState)
        return act(Repeat::Once, [&] { deck.bend_MouseDown(direction > 0); });
    return false;
}

bool KeyboardShortcuts::progressKey(int direction, int shift) {
    if (ctrlOnly())
        return act(Repeat::Repeats, [&] { stepProgress(decks_.left(), direction); });
    if (altOnly())
        return act(Repeat::Repeats, [&] { stepProgress(decks_.right(), direction); });
    if (shift == kShiftState)
        return act(Repeat::Repeats, [&] {
            // Up makes the monitor louder: its level is the maximum - value.
            stepSlider(*mixer_.controls().monitorVolScroll, -direction);
            mixer_.run_volume_timer();
        });
    return act(Repeat::Repeats,
               [&] { direction > 0 ? decks_.upCB_Click() : decks_.downCB_Click(); });
}

bool KeyboardShortcuts::sideKey(int side) {
    if (altOnly())
        return act(Repeat::Once, [&] { mixer_.monitorCMB_Click(side); });
    if (ctrlAlt())
        return act(Repeat::Once, [&] {
            state_.selectedDeck = static_cast<std::int16_t>(side);
            autoDJ_.get_next_song();
        });
    if (!state_.ctrlDown && !state_.altDown)
        return act(Repeat::Once, [&] { decks_.selected().scrub_MouseDown(side == 1); });
    return false;
}

bool KeyboardShortcuts::crossfaderEndKey(int direction) {
    return act(Repeat::Repeats, [&] {
        Slider& fader = *mixer_.controls().crossFaderScroll;
        const bool roomToStep =
            direction < 0 ? fader.Value() > fader.Min() : fader.Value() < fader.Max();
        if (state_.ctrlDown && roomToStep)
            stepSlider(fader, direction);
        else
            fader.setValue(direction < 0 ? fader.Min() : fader.Max());
        mixer_.run_volume_timer();
    });
}

void KeyboardShortcuts::help() const {
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

bool KeyboardShortcuts::Form_KeyDown(int keyCode, int shift, bool repeat) {
    repeat_ = repeat;
    // A slider step, then the mixer again.
    const auto mixerStep = [this](Slider* slider, int by) {
        return act(Repeat::Repeats, [this, slider, by] {
            stepSlider(*slider, by);
            mixer_.run_volume_timer();
        });
    };
    const MixerControls& mixer = mixer_.controls();
    decks::Deck& left = decks_.left();
    decks::Deck& right = decks_.right();
    switch (keyCode) {
    case vk::F(2):
        return act(Repeat::Once, [this] { show_keyboard_Shortcuts(); });
    case vk::Esc:
        return act(Repeat::Once, [this] { hide_keyboard_Shortcuts(); });
    case vk::Ctrl:
        state_.ctrlDown = -1;
        return true;
    case vk::Alt:
        state_.altDown = -1;
        return true;
    case 'Z':
        return pitchKey(left, -1, shift);
    case 'X':
        return pitchKey(left, 1, shift);
    case vk::Comma:
        return pitchKey(right, -1, shift);
    case vk::Period:
        return pitchKey(right, 1, shift);
    case vk::F(12):
        return act(Repeat::Once, [this] { app::callLink(window_.playListCB_Click); });
    case vk::Up:
        return progressKey(1, shift);
    case vk::Down:
        return progressKey(-1, shift);
    case vk::Left:
        return sideKey(0);
    case vk::Right:
        return sideKey(1);
    case vk::F(5):
        return mixerStep(mixer.LVolScroll, -1);
    case vk::F(6):
        return mixerStep(mixer.LVolScroll, 1);
    case vk::F(7):
        return mixerStep(mixer.RvolScroll, -1);
    case vk::F(8):
        return mixerStep(mixer.RvolScroll, 1);
    case vk::PageUp:
        return mixerStep(mixer.MainVolScroll, 1);
    case vk::PageDown:
        return mixerStep(mixer.MainVolScroll, -1);
    case 'Q':
        return act(Repeat::Once, [&] { left.play_Click(); });
    case 'W':
        return act(Repeat::Once, [&] {
            shift == kShiftState ? left.resetCue_Click() : left.playFromMemory_Click(0);
        });
    case 'P':
        return act(Repeat::Once, [&] { right.play_Click(); });
    case 'O':
        return act(Repeat::Once, [&] {
            shift == kShiftState ? right.resetCue_Click() : right.playFromMemory_Click(0);
        });
    case 'I':
    case 'E':
        return act(Repeat::Once, [&] {
            controls_.mixerPanel->setFocus();
            (keyCode == 'I' ? right : left).play_MouseDown(2);
        });
    case '0':
        return act(Repeat::Once, [&] { right.pause_Click(); });
    case '2':
        return act(Repeat::Once, [&] { left.pause_Click(); });
    case 'V':
        return crossfaderEndKey(-1);
    case 'B':
        return act(Repeat::Repeats, [&] {
            mixer.crossFaderScroll->setValue(mixer.crossFaderScroll->Max() / 2);
            mixer_.run_volume_timer();
        });
    case 'N':
        return crossfaderEndKey(1);
    case 'S':
        return act(Repeat::Once, [&] { left.cue_MouseDown(); });
    case 'K':
        return act(Repeat::Once, [&] { right.cue_MouseDown(); });
    case 'R':
        return act(Repeat::Once, [&] { left.stop_MouseDown(); });
    case 'U':
        return act(Repeat::Once, [&] { right.stop_MouseDown(); });
    case vk::F(4):
        if (shift == kShiftState + kCtrlState && state_.ctrlDown)
            return act(Repeat::Once, [this] { mixer_.monitorCMB_Click(2); });
        return false;
    case vk::Enter:
        if (shift == kShiftState)
            return act(Repeat::Once, [this] { autoDJ_.autoDJCB_Click(); });
        return false;
    case vk::F(10):
        return act(Repeat::Once, [this] { app::callLink(window_.optionsCB_Click); });
    case vk::F(1):
        return act(Repeat::Once, [this] { help(); });
    default:
        return false;
    }
}

bool KeyboardShortcuts::Form_KeyUp(int keyCode, int /*shift*/) {
    switch (keyCode) {
    case vk::Ctrl:
        state_.ctrlDown = 0;
        return true;
    case vk::Alt:
        state_.altDown = 0;
        return true;
    case 'Z':
        decks_.left().bend_MouseUp(false);
        return true;
    case 'X':
        decks_.left().bend_MouseUp(true);
        return true;
    case vk::Comma:
        decks_.right().bend_MouseUp(false);
        return true;
    case vk::Period:
        decks_.right().bend_MouseUp(true);
        return true;
    case vk::Left:
        decks_.selected().scrub_MouseUp(false);
        return true;
    case vk::Right:
        decks_.selected().scrub_MouseUp(true);
        return true;
    default:
        return false;
    }
}

} // namespace mixer
