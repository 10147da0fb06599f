#pragma once
// The controls of one deck, as the main window builds them, and what the
// decks take from the window that holds them. The main window fills one
// DeckControls record per side; the deck code reads and writes the controls
// only through it.
#include <QString>
#include <functional>

class ConsoleButton;
class QTimer;
class QWidget;
class Slider;
class qzvLCD;

namespace decks {

struct DeckControls {
    ConsoleButton* play = nullptr;           // playCB2 / playCB
    ConsoleButton* stop = nullptr;           // stopCB2 / stopCB
    ConsoleButton* pause = nullptr;          // LpauseCB / pauseCB
    ConsoleButton* openFile = nullptr;       // openFileCB2 / openFileCB1
    ConsoleButton* playFromMemory = nullptr; // Lplay_cue(0) / Rplay_cue(0)
    ConsoleButton* rate22050 = nullptr;      // speedCB(1) / speedCB(3)
    ConsoleButton* rate44100 = nullptr;      // speedCB(2) / speedCB(4)
    Slider* pitch = nullptr;                 // LpitchScroll / RpitchScroll, 0..2000
    ConsoleButton* pitchZero = nullptr;      // LpitchZeroIndicator / pitchZeroIndicator
    ConsoleButton* bendUp = nullptr;         // LpBend_PlusCB / RpBend_plusCB
    ConsoleButton* bendDown = nullptr;       // LpBend_Minus / RpBend_Minus
    Slider* volume = nullptr;                // LVolScroll / RvolScroll
    qzvLCD* lcd = nullptr;                   // LCD_L / LCD_R
    QTimer* cueTimer = nullptr;              // tmrLcue / tmrRcue
    QTimer* turntableStopTimer = nullptr;    // tmrLTurntableStop / tmrRTurntableStop
    ConsoleButton* cue = nullptr;            // cueCB2 / cueCB
    ConsoleButton* cueBack = nullptr;        // LcueBackCB / cueBackCB
    ConsoleButton* cueForward = nullptr;     // LcueFowardCB / cueFowardCB
    ConsoleButton* resetCue = nullptr;       // cmdReset_Lcue / cmdReset_Rcue
    QWidget* panel = nullptr;                // Left_Deck / Right_Deck
};

struct DeckHost {
    // Shown after the title on the display ("<title>          <product>").
    QString productName;
    // The mixer panel, which takes the keyboard focus back after some presses.
    QWidget* mixerPanel = nullptr;
    // The engine error box: the message, a blank line and the engine's last
    // error code.
    std::function<void(const QString& message)> throwError;
};

} // namespace decks
