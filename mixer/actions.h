#pragma once
// Every user action of the main window, one row each: its id, the key that
// runs it by default, how a held key repeats it, and the key hint its control
// shows (F2). The table is plain data and knows no input device: the
// keyboard (keyboard_shortcuts.h) is one binder that looks keys up in it,
// ActionRunner (action_runner.h) does an action by its id for any binder,
// and a controller mapping names the same text ids.
#include <Qt>
#include <span>
#include <string_view>

namespace mixer {

// clang-format off
enum class Action {
    ShowKeyHints, HideKeyHints, Help, ShowOptions, ShowPlaylist, PlaylistUp, PlaylistDown,
    ToggleAutoDJ, MonitorLeft, MonitorRight, MonitorOff, MonitorLouder, MonitorQuieter,
    LeftVolumeDown, LeftVolumeUp, RightVolumeDown, RightVolumeUp, MainVolumeUp, MainVolumeDown,
    CrossfaderStepLeft, CrossfaderLeft, CrossfaderCentre, CrossfaderStepRight, CrossfaderRight,
    SearchBack, SearchForward, // on the selected deck
    LeftPlay, RightPlay, LeftPause, RightPause, LeftCue, RightCue, LeftStop, RightStop,
    LeftBackToCue, RightBackToCue, LeftResetCue, RightResetCue,
    LeftPlayFromMemory, RightPlayFromMemory, LeftNextSong, RightNextSong,
    LeftPitchDownLarge, RightPitchDownLarge, LeftPitchDown, RightPitchDown,
    LeftPitchUpLarge, RightPitchUpLarge, LeftPitchUp, RightPitchUp,
    LeftBendDown, RightBendDown, LeftBendUp, RightBendUp,
    LeftProgressBack, RightProgressBack, LeftProgressForward, RightProgressForward,
    LeftSync, RightSync,
    LeftBpmHalve, RightBpmHalve, LeftBpmDouble, RightBpmDouble,
    LeftKeyLock, RightKeyLock,
    Crossfader, LeftVolume, RightVolume, MainVolume, MonitorVolume, LeftPitch, RightPitch,
    ToggleRecording, LeftPrelisten, RightPrelisten, PhonesSplit, PhonesMixCue, PhonesMixMain,
    PhonesQuieter, PhonesLouder,
};
// clang-format on

// How an action answers a key or button held down.
enum class Repeat {
    Once,    // acts on the press; the auto-repeat of a held key does nothing
    Repeats, // acts again on every auto-repeat
    Held,    // acts once on the press, and ends what it started on the release
    Value,   // no key: moved to a value by a controller's fader or knob (ActionRunner::setValue)
};

struct ActionRow {
    Action action;
    const char* id; // stable text id, e.g. "deck.left.play"
    int side;       // the deck acted on: 0 left, 1 right; -1 none or the selected deck
    Qt::Key key;    // the default key
    // The default key's modifiers, of Shift, Ctrl and Alt: `modifiers` held,
    // each of `optional` held or not, the others not held.
    Qt::KeyboardModifiers modifiers;
    Qt::KeyboardModifiers optional;
    Repeat repeat;
    const char* hint = nullptr; // the key hint by the action's control
};

// Every row. Rows of one key are in the order they are tried: the first
// whose modifiers match the held ones is the key's action.
std::span<const ActionRow> actionTable();
const ActionRow& actionRow(Action action);
// The row of a text id; nullptr when there is none.
const ActionRow* findAction(std::string_view id);

} // namespace mixer
