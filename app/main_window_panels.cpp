// The main window's design: the title bar, the two decks and the mixer
// (which build their own panels), the key hints, and the panels' arrangement.
#include "app/main_window.h"

#include "app/panel_layout.h"
#include "app/version.h"

#include "controls/widgets/console_button.h"
#include "controls/widgets/console_frame.h"
#include "controls/widgets/console_look.h"
#include "controls/widgets/console_panel.h"
#include "controls/widgets/slider.h"
#include "decks/decks.h"
#include "mixer/key_hints.h"
#include "mixer/mixer_desk.h"
#include "mixer/mixer_panel.h"

#include <QLabel>
#include <QLineEdit>

void halvoranF::build_TitleBar() {
    const app::ConsoleFrame frame =
        app::buildConsoleFrame(this, app::kProductName, "Close Vorlan", app::programIcon());
    imgIcon = frame.imgIcon;
    imgIcon->setToolTip("Drag to move the window");
    titlebar = frame.titlebar;
    cmdcloseButton = frame.cmdcloseButton;
    CmdMinimizeButton = new ConsoleButton("_", "Minimise", this);
    CmdMinimizeButton->setObjectName("CmdMinimizeButton");
    CmdMinimizeButton->setGeometry(0, 4, 22, 18);
    CmdMinimizeButton->setFont(app::consoleFont(8));
}

void halvoranF::build_Decks() {
    decks = std::make_unique<decks::Decks>(
        state,
        decks::DeckHost{app::kProductName, [this] { Mixer->setFocus(); },
                        [this](const QString& message) { ThrowError(message); }},
        this);
}

void halvoranF::build_Mixer() {
    mixerPanel = mixer::buildMixerPanel(this);
    Mixer = mixerPanel.panel;
    mixerDesk_ = std::make_unique<mixer::MixerDesk>(state, mixerPanel.desk);
}

void halvoranF::build_KeyboardHints() {
    keyboardTXT = mixer::buildKeyHints(decks->left().controls(), decks->right().controls(),
                                       mixerPanel.desk.crossFaderScroll);
}

void halvoranF::place_Panels(int index) {
    QWidget* left = decks->left().controls().panel;
    QWidget* right = decks->right().controls().panel;
    auto widthOf = [](QWidget* w) { return w->width() * app::kTwipsPerPixel; };
    const app::PanelLefts lefts =
        app::placePanels(index, widthOf(left), widthOf(Mixer), widthOf(right));
    left->move(app::twips(lefts.leftDeck), app::twips(app::kDeckTop));
    right->move(app::twips(lefts.rightDeck), app::twips(app::kDeckTop));
    Mixer->move(app::twips(lefts.mixer), app::twips(app::kMixerTop));
}
