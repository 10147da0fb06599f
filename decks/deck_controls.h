#pragma once
// The controls of one deck, as the deck's panel builder makes them, and what
// the decks take from the window that holds them. The deck code reads and
// writes the controls only through its DeckControls record.
#include <QString>
#include <functional>

class ConsoleButton;
class QTimer;
class QWidget;
class Slider;
class qzvLCD;

namespace decks {

// Each field names the control's objectName on the left / right deck.
struct DeckControls {
    ConsoleButton* play = nullptr;           // playCB2 / playCB
    ConsoleButton* stop = nullptr;           // stopCB2 / stopCB
    ConsoleButton* pause = nullptr;          // LpauseCB / pauseCB
    ConsoleButton* openFile = nullptr;       // openFileCB2 / openFileCB1
    ConsoleButton* playFromMemory = nullptr; // Lplay_cue / Rplay_cue
    ConsoleButton* rate22050 = nullptr;      // speedCB1 / speedCB3
    ConsoleButton* rate44100 = nullptr;      // speedCB2 / speedCB4
    ConsoleButton* sync = nullptr;           // LsyncCB / RsyncCB
    ConsoleButton* keyLock = nullptr;        // LkeyLockCB / RkeyLockCB
    Slider* pitch = nullptr;                 // LpitchScroll / RpitchScroll, 0..2000
    ConsoleButton* pitchZero = nullptr;      // LpitchZeroIndicator / pitchZeroIndicator
    ConsoleButton* bendUp = nullptr;         // LpBend_PlusCB / RpBend_plusCB
    ConsoleButton* bendDown = nullptr;       // LpBend_Minus / RpBend_Minus
    Slider* volume = nullptr;                // LVolScroll / RvolScroll, on the mixer panel
    qzvLCD* lcd = nullptr;                   // LCD_L / LCD_R
    QTimer* cueTimer = nullptr;              // the deck's scrub timer, 80 ms by default
    QTimer* turntableStopTimer = nullptr;    // the deck's run-down timer, 30 ms
    ConsoleButton* cue = nullptr;            // cueCB2 / cueCB
    ConsoleButton* cueBack = nullptr;        // LcueBackCB / cueBackCB
    ConsoleButton* cueForward = nullptr;     // LcueFowardCB / cueFowardCB
    ConsoleButton* resetCue = nullptr;       // cmdReset_Lcue / cmdReset_Rcue
    QWidget* panel = nullptr;                // Left_Deck / Right_Deck
};

struct DeckHost {
    // Shown after the title on the display ("<title>          <product>").
    QString productName;
    // Gives the keyboard back to the mixer panel (after some presses, and
    // when the mouse moves over a deck panel or its pitch slider).
    std::function<void()> focusMixer;
    // The engine error box: the message, a blank line and the engine's last
    // error code.
    std::function<void(const QString& message)> throwError;
};

// What the decks tell the parts above them; those parts connect the calls.
struct DeckEvents {
    // A deck started, resumed or changed its rate: the mixer sets both
    // decks' volume and pan again.
    std::function<void()> levelsChanged;
    // With the automatic DJ on, deck `side` (0 left, 1 right) passed its mix
    // point, ran down or failed to load a song.
    std::function<void(int side)> mixPointReached;
    // Deck `side` loaded `file` (any way: dialog, drop, playlist, automatic
    // DJ, command line): its analysis is wanted.
    std::function<void(int side, const QString& file)> trackLoaded;
};

} // namespace decks
