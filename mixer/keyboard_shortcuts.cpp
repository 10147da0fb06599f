#include "mixer/keyboard_shortcuts.h"

#include "mixer/action_runner.h"
#include "mixer/actions.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <algorithm>

namespace mixer {

namespace {

// The key as the table names it: the shifted comma and period ("<" and ">")
// are the comma and period keys, the keypad's Enter is Return.
int tableKey(int key) {
    switch (key) {
    case Qt::Key_Less:
        return Qt::Key_Comma;
    case Qt::Key_Greater:
        return Qt::Key_Period;
    case Qt::Key_Enter:
        return Qt::Key_Return;
    default:
        return key;
    }
}

// The keys the keyboard keeps to itself when they come up, acting or not:
// letters, digits, F1..F12, Ctrl, Alt and the keys of the table.
bool ownsKey(int key) {
    const auto table = actionTable();
    return (key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9) ||
           (key >= Qt::Key_F1 && key <= Qt::Key_F12) || key == Qt::Key_Control ||
           key == Qt::Key_Alt || std::any_of(table.begin(), table.end(), [key](const ActionRow& r) {
               return r.key == key;
           });
}

} // namespace

KeyboardShortcuts::KeyboardShortcuts(QWidget& window, ActionRunner& actions)
    : window_(window), actions_(actions) {
    releaseTimer_.setSingleShot(true);
    releaseTimer_.setInterval(kRepeatPairMs);
    QObject::connect(&releaseTimer_, &QTimer::timeout, this, [this] { releaseHeldBack(); });
    qApp->installEventFilter(this);
}

bool KeyboardShortcuts::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    // The key-up of a key let go as the window loses the keyboard is not followed by a press.
    if (type == QEvent::WindowDeactivate && watched == &window_)
        releaseHeldBack();
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || !watched->isWidgetType() ||
        static_cast<QWidget*>(watched)->window() != &window_)
        return false;
    const auto* keyEvent = static_cast<QKeyEvent*>(event);
    const int key = tableKey(keyEvent->key());
    // Key_unknown names no key: the rows moved by a value (faders) have it.
    if (key == Qt::Key_unknown || !ownsKey(key))
        return false;
    if (type == QEvent::KeyPress) {
        const bool repeatPair = heldBack_ == key;
        if (repeatPair)
            forgetHeldBack();
        else
            releaseHeldBack();
        return keyDown(key, keyEvent->modifiers(), keyEvent->isAutoRepeat() || repeatPair);
    }
    if (!keyEvent->isAutoRepeat()) {
        releaseHeldBack();
        heldBack_ = key;
        releaseTimer_.start();
    }
    return true;
}

bool KeyboardShortcuts::keyDown(int key, Qt::KeyboardModifiers modifiers, bool repeat) {
    if (key == Qt::Key_Control || key == Qt::Key_Alt)
        return true;
    const Qt::KeyboardModifiers held =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    for (const ActionRow& row : actionTable()) {
        if (row.key != key || (held & ~row.optional) != row.modifiers)
            continue;
        if (!repeat || row.repeat == Repeat::Repeats)
            actions_.run(row.action);
        return true;
    }
    return false;
}

void KeyboardShortcuts::keyUp(int key) {
    for (const ActionRow& row : actionTable()) {
        if (row.key == key && row.repeat == Repeat::Held)
            return actions_.run(row.action, false);
    }
}

void KeyboardShortcuts::releaseHeldBack() {
    const int key = heldBack_;
    forgetHeldBack();
    if (key != 0)
        keyUp(key);
}

void KeyboardShortcuts::forgetHeldBack() {
    heldBack_ = 0;
    releaseTimer_.stop();
}

} // namespace mixer
