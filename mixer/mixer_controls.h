#pragma once
// The main window's mixer controls as the mixer uses them; the main window
// fills the record once its panels are built. The controls stay owned by the
// window; the mixer connects their events.
#include <array>

class ConsoleButton;
class QWidget;
class Slider;
class qzvPeak;

namespace mixer {

struct MixerControls {
    QWidget* panel = nullptr;           // takes the keyboard when the mouse moves over a slider
    Slider* crossFaderScroll = nullptr; // 0 left deck only .. max right deck only
    Slider* LVolScroll = nullptr;       // left deck, level = max - value
    Slider* RvolScroll = nullptr;       // right deck, level = max - value
    Slider* MainVolScroll = nullptr;    // master, level = value
    Slider* monitorVolScroll = nullptr; // monitor, level = max - value
    // 0 monitor the left deck, 1 the right deck, 2 monitor off.
    std::array<ConsoleButton*, 3> monitorCMB{};
    qzvPeak* LVUmeter = nullptr;       // left deck after its slider
    qzvPeak* RVUmeter = nullptr;       // right deck after its slider
    qzvPeak* mainVolVUmeter = nullptr; // left/right deck after master and crossfader
};

} // namespace mixer
