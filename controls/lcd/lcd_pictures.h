#pragma once
// The display's pixel pictures, drawn by the code below (no image files):
// the LCD face, the play triangle, the two arrows and the scale strip.
#include <QImage>

namespace qzvlcd::pictures {

// 173 x 45: the dark grey backlit face behind the indicators.
QImage face();
// 9 x 10: green play triangle.
QImage playTriangle();
// 9 x 10: yellow arrow pointing right (forward) or left (back).
QImage arrow(bool pointsRight);
// 186 x 12: scale strip under the progress bar; its ticks mark every 10 %
// of the bar, whose 0 % lies `barOffset` pixels from the strip's left edge.
QImage scaleStrip(int barOffset, int barFullWidth);

} // namespace qzvlcd::pictures
