#include "mixer/actions.h"

#include <algorithm>
#include <iterator>

namespace mixer {

namespace {

constexpr Qt::KeyboardModifiers None = Qt::NoModifier;
constexpr Qt::KeyboardModifiers Shift = Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers Ctrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers Alt = Qt::AltModifier;
constexpr Qt::KeyboardModifiers Any = Shift | Ctrl | Alt;

using enum Action;
using enum Repeat;
using enum Qt::Key;

// clang-format off
// action, text id, side, key, modifiers, optional modifiers, repeat, hint
constexpr ActionRow kRows[] = {
    {ShowKeyHints, "keys.hints.show", -1, Key_F2, None, Any, Once},
    {HideKeyHints, "keys.hints.hide", -1, Key_Escape, None, Any, Once},
    {Help, "help.show", -1, Key_F1, None, Any, Once},
    {ShowOptions, "options.show", -1, Key_F10, None, Any, Once},
    {ShowPlaylist, "playlist.show", -1, Key_F12, None, Any, Once},
    {ToggleRecording, "recording.toggle", -1, Key_F9, None, Any, Once},
    {LeftPrelisten, "deck.left.prelisten", 0, Key_A, None, Any, Once},
    {RightPrelisten, "deck.right.prelisten", 1, Key_L, None, Any, Once},
    {PhonesSplit, "phones.split", -1, Key_H, None, Any, Once},
    {PhonesMixCue, "phones.mix.cue", -1, Key_G, None, Any, Repeats},
    {PhonesMixMain, "phones.mix.main", -1, Key_J, None, Any, Repeats},
    {PhonesQuieter, "phones.volume.down", -1, Key_T, None, Any, Repeats},
    {PhonesLouder, "phones.volume.up", -1, Key_Y, None, Any, Repeats},
    {ToggleAutoDJ, "autodj.toggle", -1, Key_Return, Shift, None, Once},
    {LeftPitchDownLarge, "deck.left.pitch.down.large", 0, Key_Z, Ctrl | Alt, Shift, Repeats},
    {LeftPitchDown, "deck.left.pitch.down", 0, Key_Z, Ctrl, Shift, Repeats},
    {LeftBendDown, "deck.left.bend.down", 0, Key_Z, Shift, None, Held},
    {LeftPitchUpLarge, "deck.left.pitch.up.large", 0, Key_X, Ctrl | Alt, Shift, Repeats},
    {LeftPitchUp, "deck.left.pitch.up", 0, Key_X, Ctrl, Shift, Repeats},
    {LeftBendUp, "deck.left.bend.up", 0, Key_X, Shift, None, Held},
    {RightPitchDownLarge, "deck.right.pitch.down.large", 1, Key_Comma, Ctrl | Alt, Shift, Repeats},
    {RightPitchDown, "deck.right.pitch.down", 1, Key_Comma, Ctrl, Shift, Repeats},
    {RightBendDown, "deck.right.bend.down", 1, Key_Comma, Shift, None, Held},
    {RightPitchUpLarge, "deck.right.pitch.up.large", 1, Key_Period, Ctrl | Alt, Shift, Repeats},
    {RightPitchUp, "deck.right.pitch.up", 1, Key_Period, Ctrl, Shift, Repeats},
    {RightBendUp, "deck.right.bend.up", 1, Key_Period, Shift, None, Held},
    {LeftProgressForward, "deck.left.progress.forward", 0, Key_Up, Ctrl, Shift, Repeats},
    {RightProgressForward, "deck.right.progress.forward", 1, Key_Up, Alt, Shift, Repeats},
    {MonitorLouder, "monitor.volume.up", -1, Key_Up, Shift, None, Repeats},
    {PlaylistUp, "playlist.cursor.up", -1, Key_Up, None, Any, Repeats},
    {LeftProgressBack, "deck.left.progress.back", 0, Key_Down, Ctrl, Shift, Repeats},
    {RightProgressBack, "deck.right.progress.back", 1, Key_Down, Alt, Shift, Repeats},
    {MonitorQuieter, "monitor.volume.down", -1, Key_Down, Shift, None, Repeats},
    {PlaylistDown, "playlist.cursor.down", -1, Key_Down, None, Any, Repeats},
    {MonitorLeft, "monitor.left", 0, Key_Left, Alt, Shift, Once},
    {LeftNextSong, "deck.left.next_song", 0, Key_Left, Ctrl | Alt, Shift, Once},
    {SearchBack, "deck.selected.search.back", -1, Key_Left, None, Shift, Held},
    {MonitorRight, "monitor.right", 1, Key_Right, Alt, Shift, Once},
    {RightNextSong, "deck.right.next_song", 1, Key_Right, Ctrl | Alt, Shift, Once},
    {SearchForward, "deck.selected.search.forward", -1, Key_Right, None, Shift, Held},
    {MonitorOff, "monitor.off", -1, Key_F4, Ctrl | Shift, None, Once},
    {LeftVolumeDown, "mixer.left.volume.down", 0, Key_F5, None, Any, Repeats},
    {LeftVolumeUp, "mixer.left.volume.up", 0, Key_F6, None, Any, Repeats},
    {RightVolumeDown, "mixer.right.volume.down", 1, Key_F7, None, Any, Repeats},
    {RightVolumeUp, "mixer.right.volume.up", 1, Key_F8, None, Any, Repeats},
    {MainVolumeUp, "mixer.main.volume.up", -1, Key_PageUp, None, Any, Repeats},
    {MainVolumeDown, "mixer.main.volume.down", -1, Key_PageDown, None, Any, Repeats},
    {CrossfaderStepLeft, "crossfader.step.left", -1, Key_V, Ctrl, Shift | Alt, Repeats},
    {CrossfaderLeft, "crossfader.left", -1, Key_V, None, Any, Repeats, "V"},
    {CrossfaderCentre, "crossfader.centre", -1, Key_B, None, Any, Repeats, "B"},
    {CrossfaderStepRight, "crossfader.step.right", -1, Key_N, Ctrl, Shift | Alt, Repeats},
    {CrossfaderRight, "crossfader.right", -1, Key_N, None, Any, Repeats, "N"},
    {LeftPlay, "deck.left.play", 0, Key_Q, None, Any, Once, "Q"},
    {RightPlay, "deck.right.play", 1, Key_P, None, Any, Once, "P"},
    {LeftResetCue, "deck.left.cue.reset", 0, Key_W, Shift, None, Once},
    {LeftPlayFromMemory, "deck.left.memory.play", 0, Key_W, None, Any, Once},
    {RightResetCue, "deck.right.cue.reset", 1, Key_O, Shift, None, Once},
    {RightPlayFromMemory, "deck.right.memory.play", 1, Key_O, None, Any, Once},
    {LeftBackToCue, "deck.left.back_to_cue", 0, Key_E, None, Any, Once},
    {RightBackToCue, "deck.right.back_to_cue", 1, Key_I, None, Any, Once},
    {LeftPause, "deck.left.pause", 0, Key_2, None, Any, Once, "2"},
    {RightPause, "deck.right.pause", 1, Key_0, None, Any, Once, "0"},
    {LeftCue, "deck.left.cue", 0, Key_S, None, Any, Once, "S"},
    {RightCue, "deck.right.cue", 1, Key_K, None, Any, Once, "K"},
    {LeftStop, "deck.left.stop", 0, Key_R, None, Any, Once, "R"},
    {RightStop, "deck.right.stop", 1, Key_U, None, Any, Once, "U"},
    {LeftSync, "deck.left.sync", 0, Key_3, None, Any, Once, "3"},
    {RightSync, "deck.right.sync", 1, Key_9, None, Any, Once, "9"},
    {LeftBpmHalve, "deck.left.bpm.halve", 0, Key_4, None, Any, Once},
    {LeftBpmDouble, "deck.left.bpm.double", 0, Key_5, None, Any, Once},
    {RightBpmHalve, "deck.right.bpm.halve", 1, Key_7, None, Any, Once},
    {RightBpmDouble, "deck.right.bpm.double", 1, Key_8, None, Any, Once},
    {LeftKeyLock, "deck.left.key_lock", 0, Key_1, None, Any, Once, "1"},
    {RightKeyLock, "deck.right.key_lock", 1, Key_6, None, Any, Once, "6"},
    {Crossfader, "crossfader", -1, Key_unknown, None, None, Value},
    {LeftVolume, "mixer.left.volume", 0, Key_unknown, None, None, Value},
    {RightVolume, "mixer.right.volume", 1, Key_unknown, None, None, Value},
    {MainVolume, "mixer.main.volume", -1, Key_unknown, None, None, Value},
    {MonitorVolume, "monitor.volume", -1, Key_unknown, None, None, Value},
    {LeftPitch, "deck.left.pitch", 0, Key_unknown, None, None, Value},
    {RightPitch, "deck.right.pitch", 1, Key_unknown, None, None, Value},
};
// clang-format on

} // namespace

std::span<const ActionRow> actionTable() {
    return kRows;
}

const ActionRow& actionRow(Action action) {
    return *std::find_if(std::begin(kRows), std::end(kRows),
                         [action](const ActionRow& row) { return row.action == action; });
}

const ActionRow* findAction(std::string_view id) {
    const auto row = std::find_if(std::begin(kRows), std::end(kRows),
                                  [id](const ActionRow& row) { return row.id == id; });
    return row == std::end(kRows) ? nullptr : &*row;
}

} // namespace mixer
