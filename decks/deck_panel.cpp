#include "decks/deck_panel.h"

#include "controls/lcd/qzvLCD.h"
#include "controls/widgets/console_button.h"
#include "controls/widgets/console_look.h"
#include "controls/widgets/console_panel.h"
#include "controls/widgets/slider.h"

#include <QLabel>

namespace decks {

namespace {

// Panel size in twips.
constexpr int kDeckWidth = 4350;
constexpr int kDeckHeight = 3600;

enum class Kind { Display, Button, Caption, PitchSlider };
enum class Colour { None, On, Off };

// One control of the deck panel, for both sides. Geometry in pixels on the
// panel; a tooltip's "%1" is the side ("left", "right"), and a key, when
// given, follows it in brackets.
struct Row {
    Kind kind;
    ConsoleButton* DeckControls::*button;
    const char* name[2]; // objectName on the left, right deck
    const char* caption;
    const char* tip;
    const char* key[2];
    QRect geometry;
    double points;
    Colour colour;
};

// The panel's controls in the order they are made (their focus order).
// clang-format off
const Row kRows[] = {
    {Kind::Display, nullptr, {"LCD_L", "LCD_R"}, "", "", {}, {8, 8, 0, 0}, 0, Colour::None},
    {Kind::Button, &DeckControls::cueBack, {"LcueBackCB", "cueBackCB"}, "\u25C0\u25C0", "Search the cue point backwards (hold; after back-to-cue)", {"Left", "Left"}, {8, 100, 43, 26}, 7.5, Colour::None},
    {Kind::Button, &DeckControls::cue, {"cueCB2", "cueCB"}, "CUE", "Set the cue point here", {"S", "K"}, {54, 100, 43, 26}, 7.5, Colour::None},
    {Kind::Button, &DeckControls::cueForward, {"LcueFowardCB", "cueFowardCB"}, "\u25B6\u25B6", "Search the cue point forwards (hold; after back-to-cue)", {"Right", "Right"}, {100, 100, 43, 26}, 7.5, Colour::None},
    {Kind::Button, &DeckControls::resetCue, {"cmdReset_Lcue", "cmdReset_Rcue"}, "RESET", "Play from the top of the track; the cue point goes to memory", {"Shift+W", "Shift+O"}, {146, 100, 43, 26}, 7.5, Colour::None},
    {Kind::Button, &DeckControls::play, {"playCB2", "playCB"}, "PLAY", "Play the %1 deck; again: restart from the cue point. Right-click: back to cue", {"Q", "P"}, {8, 132, 59, 44}, 9, Colour::None},
    {Kind::Button, &DeckControls::pause, {"LpauseCB", "pauseCB"}, "PAUSE", "Pause the %1 deck; Play resumes", {"2", "0"}, {69, 132, 59, 44}, 9, Colour::None},
    {Kind::Button, &DeckControls::stop, {"stopCB2", "stopCB"}, "STOP", "Stop the %1 deck like a turntable", {"R", "U"}, {130, 132, 59, 44}, 9, Colour::None},
    {Kind::Button, &DeckControls::openFile, {"openFileCB2", "openFileCB1"}, "LOAD", "Add songs to the playlist and load the last one", {}, {8, 182, 89, 26}, 7.5, Colour::None},
    {Kind::Button, &DeckControls::playFromMemory, {"Lplay_cue", "Rplay_cue"}, "MEM CUE", "Play from the remembered cue point", {"W", "O"}, {100, 182, 89, 26}, 7.5, Colour::Off},
    {Kind::Caption, nullptr, {}, "PITCH", "", {}, {198, 4, 38, 12}, 0, Colour::None},
    {Kind::PitchSlider, nullptr, {"LpitchScroll", "RpitchScroll"}, "", "Pitch of the %1 deck", {"Ctrl+Z / Ctrl+X", "Ctrl+, / Ctrl+."}, {202, 18, 30, 196}, 0, Colour::None},
    {Kind::Button, &DeckControls::bendUp, {"LpBend_PlusCB", "RpBend_plusCB"}, "+", "Bend the pitch up while held", {"Shift+X", "Shift+."}, {238, 18, 44, 26}, 11, Colour::None},
    {Kind::Button, &DeckControls::bendDown, {"LpBend_Minus", "RpBend_Minus"}, "-", "Bend the pitch down while held", {"Shift+Z", "Shift+,"}, {238, 48, 44, 26}, 11, Colour::None},
    {Kind::Button, &DeckControls::pitchZero, {"LpitchZeroIndicator", "pitchZeroIndicator"}, "0 %", "Pitch back to zero", {}, {238, 80, 44, 22}, 7.5, Colour::On},
    {Kind::Caption, nullptr, {}, "RATE", "", {}, {238, 108, 44, 12}, 0, Colour::None},
    {Kind::Button, &DeckControls::rate22050, {"speedCB1", "speedCB3"}, "22k", "Play at 22050 Hz", {}, {238, 122, 44, 22}, 7.5, Colour::Off},
    {Kind::Button, &DeckControls::rate44100, {"speedCB2", "speedCB4"}, "44k", "Play at 44100 Hz", {}, {238, 148, 44, 22}, 7.5, Colour::On},
    {Kind::Button, &DeckControls::sync, {"LsyncCB", "RsyncCB"}, "SYNC", "Play at the other deck's tempo; with both playing, also on its beat", {"3", "9"}, {238, 182, 44, 26}, 7.5, Colour::None},
    {Kind::Button, &DeckControls::keyLock, {"LkeyLockCB", "RkeyLockCB"}, "KEY LOCK", "Keep the key: the pitch changes the tempo only", {"4", "8"}, {100, 212, 89, 20}, 7.5, Colour::Off},
};
// clang-format on

QString tipOf(const Row& row, int side) {
    QString tip = QString::fromUtf8(row.tip).replace("%1", side == 0 ? "left" : "right");
    if (row.key[side])
        tip += QString(" (") + row.key[side] + ")";
    return tip;
}

} // namespace

DeckControls buildDeckPanel(QWidget* window, int side) {
    DeckControls c;
    auto* panel = new ConsolePanel(side == 0 ? "Left_Deck" : "Right_Deck",
                                   side == 0 ? "LEFT DECK" : "RIGHT DECK", window);
    panel->resize(app::twips(kDeckWidth), app::twips(kDeckHeight));
    c.panel = panel;
    for (const Row& row : kRows) {
        switch (row.kind) {
        case Kind::Display:
            c.lcd = new qzvLCD(panel);
            c.lcd->setObjectName(row.name[side]);
            c.lcd->move(row.geometry.topLeft());
            break;
        case Kind::Caption:
            makeCaption(row.caption, panel, row.geometry);
            break;
        case Kind::PitchSlider:
            c.pitch = new Slider(Qt::Vertical, panel);
            c.pitch->setObjectName(row.name[side]);
            c.pitch->setRange(0, 2000);
            c.pitch->setValue(1000);
            c.pitch->setToolTip(tipOf(row, side));
            c.pitch->setGeometry(row.geometry);
            c.pitch->setSingleStep(1);
            c.pitch->setPageStep(10);
            break;
        case Kind::Button: {
            auto* b = new ConsoleButton(QString::fromUtf8(row.caption), tipOf(row, side), panel);
            b->setObjectName(row.name[side]);
            b->setGeometry(row.geometry);
            b->setFont(app::consoleFont(row.points));
            if (row.colour != Colour::None)
                b->setBackColor(row.colour == Colour::On ? app::kColourOn : app::kColourOff);
            c.*row.button = b;
            break;
        }
        }
    }
    return c;
}

} // namespace decks
