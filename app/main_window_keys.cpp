// The main window's actions and its keyboard: the action runner on the
// window's controls and the actions above the mixer, and the keyboard that
// sees every key of the window before its controls.
#include "app/main_window.h"

#include "mixer/action_runner.h"
#include "mixer/keyboard_shortcuts.h"

#include <QDesktopServices>
#include <QFrame>
#include <QUrl>

void halvoranF::build_Keyboard() {
    mixer::ActionControls controls;
    controls.mixerPanel = Mixer;
    controls.keyboardTXT = keyboardTXT;
    mixer::WindowActions window;
    window.optionsCB_Click = [this] { optionsCB_Click(); };
    window.playListCB_Click = [this] { playListCB_Click(); };
    window.openHelpFile = [](const QString& helpFile) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(helpFile));
    };
    actions_ = std::make_unique<mixer::ActionRunner>(state, *decks, *mixerDesk_, *autoDJ_, controls,
                                                     std::move(window));
    keyboard_ = std::make_unique<mixer::KeyboardShortcuts>(*this, *actions_);
}

void halvoranF::runAction(mixer::Action action, bool pressed) {
    actions_->run(action, pressed);
}

void halvoranF::hide_keyboard_Shortcuts() {
    runAction(mixer::Action::HideKeyHints);
}
