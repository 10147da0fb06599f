#pragma once
// The main window's keyboard: one binder of the action table (actions.h).
// It watches every key event meant for the main window or any of its
// controls and sees it before the control. A key and the Shift, Ctrl and Alt
// it is held with name a row of the table, whose action runs; a key that
// acted, or was held back as a repeat of an action that acts once, goes no
// further. A held key repeats only rows that repeat; its release ends a held
// row whatever the modifiers. Runs on the UI thread.
#include <QObject>
#include <QTimer>

class QWidget;

namespace mixer {

class ActionRunner;

// How long (ms) a key-up is held back, waiting for a press of the same key.
// Under X11 a held key repeats as key-up/key-down pairs sent together (about
// 1 ms apart), and Qt marks them as auto-repeat only when the press has
// already arrived as it reads the key-up. A press within this time makes the
// pair a repeat of the held key; the keyboard repeats every 30 to 50 ms, so a
// real release is taken at most this late.
inline constexpr int kRepeatPairMs = 30;

class KeyboardShortcuts : public QObject {
public:
    // Watches the application's key events for `window` until destroyed.
    KeyboardShortcuts(QWidget& window, ActionRunner& actions);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // True when the key acted or was held back as a repeat.
    bool keyDown(int key, Qt::KeyboardModifiers modifiers, bool repeat);
    void keyUp(int key);
    void releaseHeldBack();
    void forgetHeldBack();

    QWidget& window_;
    ActionRunner& actions_;
    int heldBack_ = 0; // the key whose key-up is being held back, 0 none
    QTimer releaseTimer_;
};

} // namespace mixer
