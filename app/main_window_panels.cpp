// The main window's design: the title bar, the two decks (which build their
// own panels), the mixer panel and the key hints, with every control's name,
// caption and tooltip, and the panels' arrangement.
#include "app/main_window.h"

#include "app/panel_layout.h"
#include "app/version.h"

#include "controls/peak/qzvPeak.h"
#include "controls/widgets/console_button.h"
#include "controls/widgets/console_look.h"
#include "controls/widgets/console_panel.h"
#include "controls/widgets/slider.h"
#include "decks/decks.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>

namespace {

// Mixer panel size in twips.
constexpr int kMixerWidth = 4050;
constexpr int kMixerHeight = 3200;

ConsoleButton* button(QWidget* parent, const char* name, const QString& caption, const QString& tip,
                      const QRect& geometry, double points = 7.5) {
    auto* b = new ConsoleButton(caption, tip, parent);
    b->setObjectName(name);
    b->setGeometry(geometry);
    b->setFont(app::consoleFont(points));
    return b;
}

Slider* slider(QWidget* parent, const char* name, Qt::Orientation orientation, int min, int max,
               int value, const QString& tip, const QRect& geometry) {
    auto* s = new Slider(orientation, parent);
    s->setObjectName(name);
    s->setRange(min, max);
    s->setValue(value);
    s->setToolTip(tip);
    s->setGeometry(geometry);
    return s;
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
    imgIcon = new QLabel(this);
    imgIcon->setObjectName("imgIcon");
    imgIcon->setPixmap(iconPicture());
    imgIcon->setGeometry(8, 5, 16, 16);
    imgIcon->setToolTip("Drag to move the window");

    titlebar = new QLabel(this);
    titlebar->setObjectName("titlebar");
    titlebar->setFont(app::consoleFont(9));
    titlebar->setStyleSheet("color: rgb(0, 220, 0); background: transparent;");
    titlebar->setGeometry(30, 3, 300, 20);

    CmdMinimizeButton = button(this, "CmdMinimizeButton", "_", "Minimise", {0, 4, 22, 18}, 8);
    cmdcloseButton = button(this, "cmdcloseButton", "X", "Close Vorlan", {0, 4, 22, 18}, 8);
}

void halvoranF::build_Decks() {
    decks = std::make_unique<decks::Decks>(
        state,
        decks::DeckHost{app::kProductName, [this] { Mixer->setFocus(); },
                        [this](const QString& message) { ThrowError(message); }},
        this);
}

void halvoranF::build_Mixer() {
    Mixer = new ConsolePanel("Mixer", QString(), this);
    Mixer->resize(app::twips(kMixerWidth), app::twips(kMixerHeight));
    Mixer->setFocusPolicy(Qt::StrongFocus);
    Mixer->setMouseTracking(true);
    QWidget* m = Mixer;

    nextSongTXT = new QLineEdit(m);
    nextSongTXT->setObjectName("nextSongTXT");
    nextSongTXT->setGeometry(8, 6, 206, 20);
    nextSongTXT->setReadOnly(true);
    nextSongTXT->setFont(app::consoleFont(7.5, false));
    nextSongTXT->setPlaceholderText("next song");
    nextSongTXT->setToolTip("The next song; drag it onto a deck to load it");
    nextSongTXT->setStyleSheet("QLineEdit { color: rgb(255, 220, 0); background: rgb(8, 9, 10);"
                               " border: 1px solid rgb(84, 90, 98); border-radius: 2px; }");
    upCB = button(m, "upCB", QString::fromUtf8("\u25B2"), "Previous song in the playlist (Up)",
                  {218, 6, 22, 20});
    downCB = button(m, "downCB", QString::fromUtf8("\u25BC"), "Next song in the playlist (Down)",
                    {242, 6, 22, 20});

    LVUmeter = new qzvPeak(m);
    LVUmeter->setObjectName("LVUmeter");
    LVUmeter->move(8, 32);
    LVolScroll = slider(m, "LVolScroll", Qt::Vertical, 0, 100, 100,
                        "Left deck volume, loud at the top (F5 / F6)", {26, 30, 24, 142});

    makeCaption("MONITOR", m, {54, 30, 68, 12});
    const char* monitorCaptions[] = {"LEFT", "RIGHT", "OFF"};
    const char* monitorNames[] = {"monitorCMB0", "monitorCMB1", "monitorCMB2"};
    const QString monitorTips[] = {"Monitor the left deck on the left channel (Alt+Left)",
                                   "Monitor the right deck on the left channel (Alt+Right)",
                                   "Monitor off: both decks on both channels (Ctrl+Shift+F4)"};
    for (int i = 0; i < 3; ++i) {
        monitorCMB[i] = button(m, monitorNames[i], monitorCaptions[i], monitorTips[i],
                               {54, 44 + 22 * i, 68, 20});
        monitorCMB[i]->setBackColor(i == 2 ? app::kColourOn : app::kColourOff);
    }
    monitorVolScroll =
        slider(m, "monitorVolScroll", Qt::Vertical, 0, 100, 100,
               "Monitor volume, loud at the top (Shift+Up / Shift+Down)", {76, 112, 24, 60});

    mainVolVUmeter = new qzvPeak(m);
    mainVolVUmeter->setObjectName("mainVolVUmeter");
    mainVolVUmeter->move(127, 32);

    autoDJCB = button(m, "autoDJCB", "AUTO DJ", "Automatic DJ on or off (Shift+Enter)",
                      {148, 30, 68, 26}, 8);
    autoDJCB->setBackColor(app::kColourOff);
    playListCB = button(m, "playListCB", "PLAYLIST", "Show the playlist (F12)", {148, 60, 68, 22});
    optionsCB = button(m, "optionsCB", "OPTIONS", "Options (F10)", {148, 86, 68, 22});
    makeCaption("MASTER", m, {148, 114, 68, 12});
    MainVolScroll = slider(m, "MainVolScroll", Qt::Horizontal, 0, 100, 70,
                           "Master volume (Page Up / Page Down)", {148, 128, 68, 22});

    RvolScroll = slider(m, "RvolScroll", Qt::Vertical, 0, 100, 100,
                        "Right deck volume, loud at the top (F7 / F8)", {220, 30, 24, 142});
    RVUmeter = new qzvPeak(m);
    RVUmeter->setObjectName("RVUmeter");
    RVUmeter->move(246, 32);

    makeCaption("L", m, {26, 172, 24, 12});
    makeCaption("R", m, {220, 172, 24, 12});
    makeCaption("CROSSFADER", m, {8, 174, 254, 12});
    crossFaderScroll =
        slider(m, "crossFaderScroll", Qt::Horizontal, 0, 100, 50,
               "Crossfader: left deck (V), centre (B), right deck (N); Ctrl+V / Ctrl+N step",
               {8, 186, 254, 22});
    for (Slider* s : {LVolScroll, RvolScroll, MainVolScroll, monitorVolScroll, crossFaderScroll}) {
        s->setSingleStep(1);
        s->setPageStep(10);
        s->setTickInterval(10);
    }
}

void halvoranF::build_KeyboardHints() {
    struct Hint {
        const char* text;
        QWidget* near;
        int dx; // from the control's left; -1 = at its right edge
        int dy; // from the control's top
    };
    // Button hints sit on the button's top right corner; the crossfader's on
    // its two ends and beside its centre.
    const int centre = crossFaderScroll->width() / 2 + 12;
    const decks::DeckControls& l = decks->left().controls();
    const decks::DeckControls& r = decks->right().controls();
    const std::array<Hint, 11> hints = {{
        {"Q", l.play, -1, -8},
        {"S", l.cue, -1, -8},
        {"R", l.stop, -1, -8},
        {"2", l.pause, -1, -8},
        {"V", crossFaderScroll, 0, 4},
        {"N", crossFaderScroll, -1, 4},
        {"B", crossFaderScroll, centre, 4},
        {"U", r.stop, -1, -8},
        {"0", r.pause, -1, -8},
        {"K", r.cue, -1, -8},
        {"P", r.play, -1, -8},
    }};
    for (std::size_t i = 0; i < hints.size(); ++i) {
        const Hint& h = hints[i];
        auto* box = new QLineEdit(h.text, h.near->parentWidget());
        box->setObjectName(QString("keyboardTXT%1").arg(i));
        box->setReadOnly(true);
        box->setFocusPolicy(Qt::NoFocus);
        box->setAlignment(Qt::AlignCenter);
        box->setFont(app::consoleFont(7));
        box->setStyleSheet("QLineEdit { color: black; background: rgb(255, 220, 0);"
                           " border: 1px solid black; padding: 0px; }");
        const int width = QChar(h.text[0]).isDigit() ? app::twips(195) : app::twips(225);
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
