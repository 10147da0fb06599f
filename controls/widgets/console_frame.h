#pragma once
// The frame of a borderless console window: the round icon and the title at
// the top left (both move the window), the close button at the top right,
// and the dark gradient with its green rim and the line under the title.
#include <QString>

class QLabel;
class QPainter;
class QWidget;
class ConsoleButton;

namespace app {

struct ConsoleFrame {
    QLabel* imgIcon = nullptr;
    QLabel* titlebar = nullptr;
    ConsoleButton* cmdcloseButton = nullptr;
};

// Builds the frame's controls on `window` (its size must be set).
ConsoleFrame buildConsoleFrame(QWidget* window, const QString& title, const QString& closeTip);

// Moves `window` to the centre of the primary screen.
void centreOnScreen(QWidget* window);

// Paints the window's background, rim and title line.
void paintConsoleFrame(QWidget* window, QPainter& painter);

} // namespace app
