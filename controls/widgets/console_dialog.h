#pragma once
// The frame of the console's borderless dialogs: the round green icon, the
// title label and the close button along the top, the dark plate behind
// them, and centring on the screen.
#include <QString>
#include <initializer_list>

class QLabel;
class QWidget;
class ConsoleButton;

namespace app {

struct DialogFrame {
    QLabel* imgIcon = nullptr;
    QLabel* titlebar = nullptr;
    ConsoleButton* cmdcloseButton = nullptr;
};

// Builds the three on `window` (give it its final width first): the title
// starts at `titleLeft` pixels, the close button "X" at the right edge
// shows `closeTip`.
DialogFrame buildDialogFrame(QWidget* window, const QString& title, int titleLeft,
                             const QString& closeTip);

// Moves `window` to the middle of the primary screen.
void centreOnScreen(QWidget* window);

// Paints the plate of `window`: a dark gradient, a green rim, and a ruled
// line across the window at each of `rules` (pixels from the top).
void paintDialogPlate(QWidget* window, std::initializer_list<int> rules);

} // namespace app
