#pragma once
// The main window's keyboard: every key reaches it before its controls and
// presses the same buttons and sliders as the mouse. Keys are the classic
// virtual key codes with the event's shift state (key_codes.h); Ctrl and Alt
// are followed in state.ctrlDown / state.altDown as the keys go down and up.
// A held key repeats only what makes sense to repeat (slider steps, the
// display's progress, the playlist cursor); presses, toggles and the held
// bend and search keys act once until the key is released. Runs on the UI
// thread.
#include "core/program_state.h"

#include <QString>
#include <array>
#include <functional>

class QLineEdit;
class QWidget;
class Slider;

namespace decks {
class Decks;
class Deck;
} // namespace decks

namespace mixer {

class AutoDJ;
class MixerDesk;

struct KeyboardControls {
    QWidget* mixerPanel = nullptr; // takes the keyboard focus before a back-to-cue press
    // The key hints "Q" "S" "R" "2" "V" "N" "B" "U" "0" "K" "P".
    std::array<QLineEdit*, 11> keyboardTXT{};
};

// What the keys press on the window above the mixer.
struct WindowActions {
    std::function<void()> optionsCB_Click;
    std::function<void()> playListCB_Click;
    // Opens the help file (a local file path) with the desktop's program for
    // web pages; false when no such program was found or it could not start.
    std::function<bool(const QString& helpFile)> openHelpFile;
};

class KeyboardShortcuts {
public:
    KeyboardShortcuts(app::ProgramState& state, decks::Decks& decks, MixerDesk& mixer,
                      AutoDJ& autoDJ, const KeyboardControls& controls, WindowActions window);

    // A key went down (`repeat`: the keyboard's auto-repeat of a held key).
    // True when a row of the key acted or was held back as a repeat: the key
    // is used up and the focused control does not see it.
    bool Form_KeyDown(int keyCode, int shift, bool repeat = false);
    // A key came up: ends what a held key started, whatever the modifiers.
    bool Form_KeyUp(int keyCode, int shift);

    void show_keyboard_Shortcuts();
    void hide_keyboard_Shortcuts();

private:
    enum class Repeat { Once, Repeats };
    // Runs `action` unless this is a repeat of a key that acts once.
    bool act(Repeat repeat, const std::function<void()>& action) const;

    // Z, X, comma, period: a pitch step with Ctrl, a bend press with Shift.
    bool pitchKey(decks::Deck& deck, int direction, int shift);
    // Up, Down: the display's progress with Ctrl or Alt, the monitor slider
    // with Shift, else the playlist cursor.
    bool progressKey(int direction, int shift);
    // Left, Right: monitor a deck (Alt), the next song onto a deck
    // (Ctrl+Alt), else search on the selected deck.
    bool sideKey(int side);
    // V, N: the crossfader one step with Ctrl, else to the end.
    bool crossfaderEndKey(int direction);
    void stepSlider(Slider& slider, int by) const;
    void stepProgress(decks::Deck& deck, int by) const;
    void help() const;

    bool ctrlOnly() const { return state_.ctrlDown && !state_.altDown; }
    bool altOnly() const { return state_.altDown && !state_.ctrlDown; }
    bool ctrlAlt() const { return state_.ctrlDown && state_.altDown; }

    app::ProgramState& state_;
    decks::Decks& decks_;
    MixerDesk& mixer_;
    AutoDJ& autoDJ_;
    KeyboardControls controls_;
    WindowActions window_;
    bool repeat_ = false; // the key being handled is an auto-repeat
};

} // namespace mixer
