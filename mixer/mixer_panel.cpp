#include "mixer/mixer_panel.h"

#include "controls/peak/qzvPeak.h"
#include "controls/widgets/console_button.h"
#include "controls/widgets/console_look.h"
#include "controls/widgets/console_panel.h"
#include "controls/widgets/slider.h"

#include <QLabel>
#include <QLineEdit>

namespace mixer {

namespace {

// Panel size in twips.
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

} // namespace

MixerPanel buildMixerPanel(QWidget* window) {
    MixerPanel p;
    MixerControls& c = p.desk;
    auto* panel = new ConsolePanel("Mixer", QString(), window);
    panel->resize(app::twips(kMixerWidth), app::twips(kMixerHeight));
    panel->setFocusPolicy(Qt::StrongFocus);
    panel->setMouseTracking(true);
    QWidget* m = panel;

    p.nextSong = new QLineEdit(m);
    p.nextSong->setObjectName("nextSongTXT");
    p.nextSong->setGeometry(8, 6, 206, 20);
    p.nextSong->setReadOnly(true);
    p.nextSong->setFont(app::consoleFont(7.5, false));
    p.nextSong->setPlaceholderText("next song");
    p.nextSong->setToolTip("The next song; drag it onto a deck to load it");
    p.nextSong->setStyleSheet("QLineEdit { color: rgb(255, 220, 0); background: rgb(8, 9, 10);"
                              " border: 1px solid rgb(84, 90, 98); border-radius: 2px; }");
    p.up = button(m, "upCB", QString::fromUtf8("\u25B2"), "Previous song in the playlist (Up)",
                  {218, 6, 22, 20});
    p.down = button(m, "downCB", QString::fromUtf8("\u25BC"), "Next song in the playlist (Down)",
                    {242, 6, 22, 20});

    c.LVUmeter = new qzvPeak(m);
    c.LVUmeter->setObjectName("LVUmeter");
    c.LVUmeter->move(8, 32);
    c.LVolScroll = slider(m, "LVolScroll", Qt::Vertical, 0, 100, 100,
                          "Left deck volume, loud at the top (F5 / F6)", {26, 30, 24, 142});

    QLabel* monitorCaption = makeCaption("MONITOR", m, {54, 30, 68, 12});
    const char* monitorCaptions[] = {"LEFT", "RIGHT", "OFF"};
    const char* monitorNames[] = {"monitorCMB0", "monitorCMB1", "monitorCMB2"};
    const QString monitorTips[] = {"Monitor the left deck on the left channel (Alt+Left)",
                                   "Monitor the right deck on the left channel (Alt+Right)",
                                   "Monitor off: both decks on both channels (Ctrl+Shift+F4)"};
    for (int i = 0; i < 3; ++i) {
        c.monitorCMB[i] = button(m, monitorNames[i], monitorCaptions[i], monitorTips[i],
                                 {54, 44 + 22 * i, 68, 20});
        c.monitorCMB[i]->setBackColor(i == 2 ? app::kColourOn : app::kColourOff);
    }
    c.monitorVolScroll =
        slider(m, "monitorVolScroll", Qt::Vertical, 0, 100, 100,
               "Monitor volume, loud at the top (Shift+Up / Shift+Down)", {76, 112, 24, 60});

    c.mainVolVUmeter = new qzvPeak(m);
    c.mainVolVUmeter->setObjectName("mainVolVUmeter");
    c.mainVolVUmeter->move(127, 32);

    p.autoDJ = button(m, "autoDJCB", "AUTO DJ", "Automatic DJ on or off (Shift+Enter)",
                      {148, 30, 68, 26}, 8);
    p.autoDJ->setBackColor(app::kColourOff);
    p.playList = button(m, "playListCB", "PLAYLIST", "Show the playlist (F12)", {148, 60, 68, 22});
    p.options = button(m, "optionsCB", "OPTIONS", "Options (F10)", {148, 86, 68, 22});
    makeCaption("MASTER", m, {148, 114, 68, 12});
    c.MainVolScroll = slider(m, "MainVolScroll", Qt::Horizontal, 0, 100, 70,
                             "Master volume (Page Up / Page Down)", {148, 128, 68, 22});
    p.rec = button(m, "recCB", "REC", "Record what the audience hears, or stop recording (F9)",
                   {148, 152, 30, 20});
    p.rec->setBackColor(app::kColourOff);
    p.recTime = makeCaption("0:00:00", m, {180, 152, 36, 20});
    p.recTime->setObjectName("recTimeTXT");
    p.recTime->setToolTip("Time recorded");

    c.RvolScroll = slider(m, "RvolScroll", Qt::Vertical, 0, 100, 100,
                          "Right deck volume, loud at the top (F7 / F8)", {220, 30, 24, 142});
    c.RVUmeter = new qzvPeak(m);
    c.RVUmeter->setObjectName("RVUmeter");
    c.RVUmeter->move(246, 32);

    makeCaption("L", m, {26, 172, 24, 12});
    makeCaption("R", m, {220, 172, 24, 12});
    makeCaption("CROSSFADER", m, {8, 174, 254, 12});
    c.crossFaderScroll =
        slider(m, "crossFaderScroll", Qt::Horizontal, 0, 100, 50,
               "Crossfader: left deck (V), centre (B), right deck (N); Ctrl+V / Ctrl+N step",
               {8, 186, 254, 22});
    for (Slider* s :
         {c.LVolScroll, c.RvolScroll, c.MainVolScroll, c.monitorVolScroll, c.crossFaderScroll}) {
        s->setSingleStep(1);
        s->setPageStep(10);
        s->setTickInterval(10);
    }
    p.phones = buildHeadphoneControls(m);
    p.phones.monitorColumn = {monitorCaption, c.monitorCMB[0], c.monitorCMB[1], c.monitorCMB[2],
                              c.monitorVolScroll};
    p.panel = panel;
    c.panel = panel;
    return p;
}

} // namespace mixer
