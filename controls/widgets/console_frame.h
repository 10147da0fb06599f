#pragma once
// The frame of a borderless console window: the round icon and the title at
// the top left (both move the window), the close button at the top right,
// and the dark gradient with its green rim and the line under the title.
// Every console window builds, paints and places itself with these.
#include <QColor>
#include <QPixmap>
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

// Builds the frame's controls on `window` (its size must be set). The icon
// shows `icon`, or a plain green dot when it is null.
ConsoleFrame buildConsoleFrame(QWidget* window, const QString& title, const QString& closeTip,
                               const QPixmap& icon = {});

// The program's round icon (16 x 16): a green light in a dark ring.
QPixmap programIcon();

// Moves `window` to the middle of the primary screen across, and down to
// `verticalShare` (0..1) of the room left above and below it.
void centreOnScreen(QWidget* window, double verticalShare = 0.5);

// The colours of a window's background: a gradient from top to bottom, the
// one-pixel rim, and the line under the title (none when not valid).
struct FrameLook {
    QColor top{30, 32, 35};
    QColor bottom{16, 17, 19};
    QColor rim{0, 110, 0};
    QColor titleLine{60, 64, 70};
};

// Paints the window's background, rim and title line.
void paintConsoleFrame(QWidget* window, QPainter& painter, const FrameLook& look = {});

} // namespace app
