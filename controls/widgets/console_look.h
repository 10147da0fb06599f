#pragma once
// The console's look shared by every window: a dark palette, the fonts,
// and design units (twips, 15 to a pixel).
#include <QFont>
#include <QPalette>

class QApplication;
class QWidget;

namespace app {

inline constexpr int kTwipsPerPixel = 15;
constexpr int twips(int t) {
    return (t + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

// The dark palette of every window.
QPalette consolePalette();
// Fusion style and the dark palette for the whole program.
void applyConsoleLook(QApplication& application);
// Small bold caption font of the console (size in points).
QFont consoleFont(double points, bool bold = true);

} // namespace app
