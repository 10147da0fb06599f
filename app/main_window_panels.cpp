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
#include "mixer/actions.h"
#include "mixer/mixer_desk.h"
#include "mixer/mixer_panel.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>

namespace {

ConsoleButton* button(QWidget* parent, const char* name, const QString& caption, const QString& tip,
                      const QRect& geometry, double points = 7.5) {
    auto* b = new ConsoleButton(caption, tip, parent);
    b->setObjectName(name);
    b->setGeometry(geometry);
    b->setFont(app::consoleFont(points));
    return b;
}

QPixmap iconPicture() {
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0, 0, 0));
    p.setBrush(QColor(20, 20, 20));
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setPen(QColor(70, 70, 70));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(3, 3, 10, 10));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 220, 0));
    p.drawEllipse(QRectF(5.5, 5.5, 5, 5));
    return picture;
}

} // namespace

void halvoranF::build_TitleBar() {
    const app::ConsoleFrame frame =
        app::buildConsoleFrame(this, app::kProductName, "Close Vorlan", iconPicture());
    imgIcon = frame.imgIcon;
    imgIcon->setToolTip("Drag to move the window");
    titlebar = frame.titlebar;
    cmdcloseButton = frame.cmdcloseButton;
    CmdMinimizeButton = button(this, "CmdMinimizeButton", "_", "Minimise", {0, 4, 22, 18}, 8);
}

void halvoranF::build_Decks() {
    decks = std::make_unique<decks::Decks>(
        state,
        decks::DeckHost{app::kProductName, [this] { Mixer->setFocus(); },
                        [this](const QString& message) { ThrowError(message); }},
        this);
}

void halvoranF::build_Mixer() {
    const mixer::MixerPanel p = mixer::buildMixerPanel(this);
    const mixer::MixerControls& c = p.desk;
    Mixer = p.panel;
    crossFaderScroll = c.crossFaderScroll;
    LVolScroll = c.LVolScroll;
    RvolScroll = c.RvolScroll;
    MainVolScroll = c.MainVolScroll;
    monitorVolScroll = c.monitorVolScroll;
    monitorCMB = c.monitorCMB;
    LVUmeter = c.LVUmeter;
    RVUmeter = c.RVUmeter;
    mainVolVUmeter = c.mainVolVUmeter;
    nextSongTXT = p.nextSong;
    upCB = p.up;
    downCB = p.down;
    autoDJCB = p.autoDJ;
    playListCB = p.playList;
    optionsCB = p.options;
    mixerDesk_ = std::make_unique<mixer::MixerDesk>(state, c);
}

void halvoranF::build_KeyboardHints() {
    struct Hint {
        mixer::Action action; // the hint is its key's
        QWidget* near;
        int dx; // from the control's left; -1 = at its right edge
        int dy; // from the control's top
    };
    // Button hints sit on the button's top right corner; the crossfader's on
    // its two ends and beside its centre.
    const int centre = crossFaderScroll->width() / 2 + 12;
    using enum mixer::Action;
    const decks::DeckControls& l = decks->left().controls();
    const decks::DeckControls& r = decks->right().controls();
    const std::array<Hint, 11> hints = {{
        {LeftPlay, l.play, -1, -8},
        {LeftCue, l.cue, -1, -8},
        {LeftStop, l.stop, -1, -8},
        {LeftPause, l.pause, -1, -8},
        {CrossfaderLeft, crossFaderScroll, 0, 4},
        {CrossfaderRight, crossFaderScroll, -1, 4},
        {CrossfaderCentre, crossFaderScroll, centre, 4},
        {RightStop, r.stop, -1, -8},
        {RightPause, r.pause, -1, -8},
        {RightCue, r.cue, -1, -8},
        {RightPlay, r.play, -1, -8},
    }};
    for (std::size_t i = 0; i < hints.size(); ++i) {
        const Hint& h = hints[i];
        const QString text = mixer::actionRow(h.action).hint;
        auto* box = new QLineEdit(text, h.near->parentWidget());
        box->setObjectName(QString("keyboardTXT%1").arg(i));
        box->setReadOnly(true);
        box->setFocusPolicy(Qt::NoFocus);
        box->setAlignment(Qt::AlignCenter);
        box->setFont(app::consoleFont(7));
        box->setStyleSheet("QLineEdit { color: black; background: rgb(255, 220, 0);"
                           " border: 1px solid black; padding: 0px; }");
        const int width = text[0].isDigit() ? app::twips(195) : app::twips(225);
        const QRect near = h.near->geometry();
        const int x = h.dx < 0 ? near.right() - width + 2 : near.left() + h.dx;
        box->setGeometry(x, near.top() + h.dy, width, app::twips(225));
        box->raise();
        keyboardTXT[i] = box;
    }
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
