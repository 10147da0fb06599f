#pragma once
// The mixer panel of the main window: the next-song box and the playlist
// step buttons, the deck, master and monitor sliders, the crossfader, the
// monitor switch, the three level meters and the AUTO DJ, PLAYLIST and
// OPTIONS buttons, each with its name, caption and tooltip. UI thread only.
#include "mixer/headphone_desk.h"
#include "mixer/mixer_controls.h"

class QFrame;
class QLabel;
class QLineEdit;

namespace mixer {

struct MixerPanel {
    QFrame* panel = nullptr; // "Mixer"; takes the keyboard focus
    MixerControls desk;      // the controls the mixer desk runs
    QLineEdit* nextSong = nullptr;
    ConsoleButton* up = nullptr;
    ConsoleButton* down = nullptr;
    ConsoleButton* autoDJ = nullptr;
    ConsoleButton* playList = nullptr;
    ConsoleButton* options = nullptr;
    ConsoleButton* rec = nullptr; // starts and ends a recording of the main output
    QLabel* recTime = nullptr;    // the recording's time
    HeadphoneControls phones;     // in the monitor column, with a headphone output
};

// The panel as a child of `window`, unplaced.
MixerPanel buildMixerPanel(QWidget* window);

} // namespace mixer
