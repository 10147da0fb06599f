#pragma once
// Keys as the keyboard shortcuts name them: the classic virtual key codes
// (letters and digits are their upper-case characters) and the shift state
// of a key event (1 Shift, 2 Ctrl, 4 Alt, added together).
#include <Qt>

class QKeyEvent;

namespace mixer {

namespace vk {
inline constexpr int Enter = 13;
inline constexpr int Ctrl = 17;
inline constexpr int Alt = 18;
inline constexpr int Esc = 27;
inline constexpr int PageUp = 33;
inline constexpr int PageDown = 34;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int F1 = 112;
inline constexpr int Comma = 188;
inline constexpr int Period = 190;
// F1..F12 are F1 + 0..11.
constexpr int F(int n) {
    return F1 + n - 1;
}
} // namespace vk

inline constexpr int kShiftState = 1;
inline constexpr int kCtrlState = 2;
inline constexpr int kAltState = 4;

// How long (ms) the main window holds a key-up back, waiting for a press of
// the same key. Under X11 a held key repeats as key-up/key-down pairs sent
// together (about 1 ms apart), and Qt marks them as auto-repeat only when
// the press has already arrived as it reads the key-up. A press within this
// time makes the pair a repeat of the held key; the keyboard repeats every
// 30 to 50 ms, so a real release is taken at most this late.
inline constexpr int kRepeatPairMs = 30;

// The virtual key code of a Qt key; 0 for keys the shortcuts never use.
// The shifted comma and period ("<" and ">") are the comma and period keys.
int virtualKeyCode(int qtKey);
// The shift state of the modifiers held with a key event.
int shiftState(Qt::KeyboardModifiers modifiers);

} // namespace mixer
