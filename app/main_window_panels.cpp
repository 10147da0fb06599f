// The main window's design: the title bar, the two deck panels, the mixer
// panel and the key hints, with every control's name, caption and tooltip.
#include "app/main_window.h"

#include "app/panel_layout.h"
#include "app/version.h"

#include "controls/lcd/qzvLCD.h"
#include "controls/peak/qzvPeak.h"
#include "controls/widgets/console_button.h"
#include "controls/widgets/console_frame.h"
#include "controls/widgets/console_look.h"
#include "controls/widgets/console_panel.h"
#include "controls/widgets/slider.h"
#include "mixer/actions.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>

namespace {

// Panel sizes in twips.
constexpr int kDeckWidth = 4350;
constexpr int kDeckHeight = 3600;
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

struct Deck {
    ConsoleButton *play, *stop, *pause, *open, *cue, *cueBack, *cueForward, *resetCue, *memCue;
    ConsoleButton *zero, *bendUp, *bendDown, *rate22050, *rate44100;
    Slider* pitch;
    qzvLCD* lcd;
};

struct DeckNames {
    const char *play, *stop, *pause, *open, *cue, *cueBack, *cueForward, *resetCue, *memCue;
    const char *zero, *bendUp, *bendDown, *rate22050, *rate44100, *pitch, *lcd;
};

// One deck panel; both decks share the design and differ in names and keys.
Deck buildDeck(QWidget* panel, const DeckNames& n, bool left) {
    const QString side = left ? "left" : "right";
    auto key = [left](const char* leftKey, const char* rightKey) {
        return QString(" (") + (left ? leftKey : rightKey) + ")";
    };
    Deck d{};
    d.lcd = new qzvLCD(panel);
    d.lcd->setObjectName(n.lcd);
    d.lcd->move(8, 8);

    d.cueBack =
        button(panel, n.cueBack, QString::fromUtf8("\u25C0\u25C0"),
               "Search the cue point backwards (hold; after back-to-cue)" + QString(" (Left)"),
               {8, 100, 43, 26});
    d.cue =
        button(panel, n.cue, "CUE", "Set the cue point here" + key("S", "K"), {54, 100, 43, 26});
    d.cueForward = button(panel, n.cueForward, QString::fromUtf8("\u25B6\u25B6"),
                          "Search the cue point forwards (hold; after back-to-cue) (Right)",
                          {100, 100, 43, 26});
    d.resetCue = button(panel, n.resetCue, "RESET",
                        "Play from the top of the track; the cue point goes to memory" +
                            key("Shift+W", "Shift+O"),
                        {146, 100, 43, 26});

    d.play = button(panel, n.play, "PLAY",
                    "Play the " + side +
                        " deck; again: restart from the cue point. Right-click: back to cue" +
                        key("Q", "P"),
                    {8, 132, 59, 44}, 9);
    d.pause =
        button(panel, n.pause, "PAUSE", "Pause the " + side + " deck; Play resumes" + key("2", "0"),
               {69, 132, 59, 44}, 9);
    d.stop =
        button(panel, n.stop, "STOP", "Stop the " + side + " deck like a turntable" + key("R", "U"),
               {130, 132, 59, 44}, 9);

    d.open = button(panel, n.open, "LOAD", "Add songs to the playlist and load the last one",
                    {8, 182, 89, 26});
    d.memCue = button(panel, n.memCue, "MEM CUE",
                      "Play from the remembered cue point" + key("W", "O"), {100, 182, 89, 26});
    d.memCue->setBackColor(app::kColourOff);

    makeCaption("PITCH", panel, {198, 4, 38, 12});
    d.pitch = slider(panel, n.pitch, Qt::Vertical, 0, 2000, 1000,
                     "Pitch of the " + side + " deck" + key("Ctrl+Z / Ctrl+X", "Ctrl+, / Ctrl+."),
                     {202, 18, 30, 196});
    d.pitch->setSingleStep(1);
    d.pitch->setPageStep(10);
    d.bendUp =
        button(panel, n.bendUp, "+", "Bend the pitch up while held" + key("Shift+X", "Shift+."),
               {238, 18, 44, 26}, 11);
    d.bendDown =
        button(panel, n.bendDown, "-", "Bend the pitch down while held" + key("Shift+Z", "Shift+,"),
               {238, 48, 44, 26}, 11);
    d.zero = button(panel, n.zero, "0 %", "Pitch back to zero", {238, 80, 44, 22});
    d.zero->setBackColor(app::kColourOn);
    makeCaption("RATE", panel, {238, 108, 44, 12});
    d.rate22050 = button(panel, n.rate22050, "22k", "Play at 22050 Hz", {238, 122, 44, 22});
    d.rate22050->setBackColor(app::kColourOff);
    d.rate44100 = button(panel, n.rate44100, "44k", "Play at 44100 Hz", {238, 148, 44, 22});
    d.rate44100->setBackColor(app::kColourOn);
    return d;
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

void halvoranF::build_LeftDeck() {
    Left_Deck = new ConsolePanel("Left_Deck", "LEFT DECK", this);
    Left_Deck->resize(app::twips(kDeckWidth), app::twips(kDeckHeight));
    const Deck d = buildDeck(Left_Deck,
                             {"playCB2", "stopCB2", "LpauseCB", "openFileCB2", "cueCB2",
                              "LcueBackCB", "LcueFowardCB", "cmdReset_Lcue", "Lplay_cue",
                              "LpitchZeroIndicator", "LpBend_PlusCB", "LpBend_Minus", "speedCB1",
                              "speedCB2", "LpitchScroll", "LCD_L"},
                             true);
    playCB2 = d.play;
    stopCB2 = d.stop;
    LpauseCB = d.pause;
    openFileCB2 = d.open;
    cueCB2 = d.cue;
    LcueBackCB = d.cueBack;
    LcueFowardCB = d.cueForward;
    cmdReset_Lcue = d.resetCue;
    Lplay_cue[0] = d.memCue;
    LpitchZeroIndicator = d.zero;
    LpBend_PlusCB = d.bendUp;
    LpBend_Minus = d.bendDown;
    speedCB[1] = d.rate22050;
    speedCB[2] = d.rate44100;
    LpitchScroll = d.pitch;
    LCD_L = d.lcd;
}

void halvoranF::build_RightDeck() {
    Right_Deck = new ConsolePanel("Right_Deck", "RIGHT DECK", this);
    Right_Deck->resize(app::twips(kDeckWidth), app::twips(kDeckHeight));
    const Deck d = buildDeck(Right_Deck,
                             {"playCB", "stopCB", "pauseCB", "openFileCB1", "cueCB", "cueBackCB",
                              "cueFowardCB", "cmdReset_Rcue", "Rplay_cue", "pitchZeroIndicator",
                              "RpBend_plusCB", "RpBend_Minus", "speedCB3", "speedCB4",
                              "RpitchScroll", "LCD_R"},
                             false);
    playCB = d.play;
    stopCB = d.stop;
    pauseCB = d.pause;
    openFileCB1 = d.open;
    cueCB = d.cue;
    cueBackCB = d.cueBack;
    cueFowardCB = d.cueForward;
    cmdReset_Rcue = d.resetCue;
    Rplay_cue[0] = d.memCue;
    pitchZeroIndicator = d.zero;
    RpBend_plusCB = d.bendUp;
    RpBend_Minus = d.bendDown;
    speedCB[3] = d.rate22050;
    speedCB[4] = d.rate44100;
    RpitchScroll = d.pitch;
    LCD_R = d.lcd;
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
        mixer::Action action; // the hint is its key's
        QWidget* near;
        int dx; // from the control's left; -1 = at its right edge
        int dy; // from the control's top
    };
    // Button hints sit on the button's top right corner; the crossfader's on
    // its two ends and beside its centre.
    const int centre = crossFaderScroll->width() / 2 + 12;
    using enum mixer::Action;
    const std::array<Hint, 11> hints = {{
        {LeftPlay, playCB2, -1, -8},
        {LeftCue, cueCB2, -1, -8},
        {LeftStop, stopCB2, -1, -8},
        {LeftPause, LpauseCB, -1, -8},
        {CrossfaderLeft, crossFaderScroll, 0, 4},
        {CrossfaderRight, crossFaderScroll, -1, 4},
        {CrossfaderCentre, crossFaderScroll, centre, 4},
        {RightStop, stopCB, -1, -8},
        {RightPause, pauseCB, -1, -8},
        {RightCue, cueCB, -1, -8},
        {RightPlay, playCB, -1, -8},
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
    auto widthOf = [](QWidget* w) { return w->width() * app::kTwipsPerPixel; };
    const app::PanelLefts lefts =
        app::placePanels(index, widthOf(Left_Deck), widthOf(Mixer), widthOf(Right_Deck));
    Left_Deck->move(app::twips(lefts.leftDeck), app::twips(app::kDeckTop));
    Right_Deck->move(app::twips(lefts.rightDeck), app::twips(app::kDeckTop));
    Mixer->move(app::twips(lefts.mixer), app::twips(app::kMixerTop));
}
