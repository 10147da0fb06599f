// The main window's keyboard: it sees every key before its controls. The
// keys' rows live in the mixer's keyboard shortcuts; here they get the
// window's controls and the actions above the mixer.
#include "app/main_window.h"

#include "core/program_state.h"
#include "mixer/key_codes.h"
#include "mixer/keyboard_shortcuts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFrame>
#include <QKeyEvent>
#include <QTimer>
#include <QUrl>

namespace {

// Watches the whole application: key events meant for the main window or
// any of its controls go to the window's key handlers first; a key a
// shortcut used goes no further, nor does the release of a key the
// shortcuts know. A key-up is held back for mixer::kRepeatPairMs: the
// auto-repeat's key-ups between the repeated presses of a held key are not
// key-ups, and those presses are repeats. When the window loses the
// keyboard the Ctrl and Alt keys count as released, as their key-ups go
// elsewhere.
class KeyPreview : public QObject {
public:
    explicit KeyPreview(halvoranF* window) : window_(window) {
        releaseTimer_.setSingleShot(true);
        releaseTimer_.setInterval(mixer::kRepeatPairMs);
        QObject::connect(&releaseTimer_, &QTimer::timeout, this, [this] { releaseHeldBack(); });
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type == QEvent::WindowDeactivate && watched == window_) {
            releaseHeldBack();
            window_->Form_KeyUp(mixer::vk::Ctrl, 0);
            window_->Form_KeyUp(mixer::vk::Alt, 0);
        }
        if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || !watched->isWidgetType() ||
            static_cast<QWidget*>(watched)->window() != window_)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const int code = mixer::virtualKeyCode(key->key());
        if (code == 0)
            return false;
        const int shift = mixer::shiftState(key->modifiers());
        if (type == QEvent::KeyPress) {
            const bool repeatPair = heldBack_.code == code;
            if (repeatPair)
                forgetHeldBack();
            else
                releaseHeldBack();
            return window_->Form_KeyDown(code, shift, key->isAutoRepeat() || repeatPair);
        }
        if (!key->isAutoRepeat()) {
            releaseHeldBack();
            heldBack_ = {code, shift};
            releaseTimer_.start();
        }
        return true;
    }

private:
    // The key-up being held back (code 0: none).
    struct KeyUp {
        int code = 0;
        int shift = 0;
    };

    void releaseHeldBack() {
        const KeyUp up = heldBack_;
        forgetHeldBack();
        if (up.code != 0)
            window_->Form_KeyUp(up.code, up.shift);
    }
    void forgetHeldBack() {
        heldBack_ = {};
        releaseTimer_.stop();
    }

    halvoranF* window_;
    KeyUp heldBack_;
    QTimer releaseTimer_;
};

} // namespace

void halvoranF::build_Keyboard() {
    mixer::KeyboardControls controls;
    controls.mixerPanel = Mixer;
    controls.keyboardTXT = keyboardTXT;
    mixer::WindowActions actions;
    actions.optionsCB_Click = [this] { optionsCB_Click(); };
    actions.playListCB_Click = [this] { playListCB_Click(); };
    actions.openHelpFile = [](const QString& helpFile) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(helpFile));
    };
    keyboard_ = std::make_unique<mixer::KeyboardShortcuts>(state, *decks, *mixerDesk_, *autoDJ_,
                                                           controls, std::move(actions));
    keyPreview_ = std::make_unique<KeyPreview>(this);
}

bool halvoranF::Form_KeyDown(int keyCode, int shift, bool autoRepeat) {
    return keyboard_->Form_KeyDown(keyCode, shift, autoRepeat);
}

void halvoranF::Form_KeyUp(int keyCode, int shift) {
    keyboard_->Form_KeyUp(keyCode, shift);
}

void halvoranF::hide_keyboard_Shortcuts() {
    keyboard_->hide_keyboard_Shortcuts();
}
