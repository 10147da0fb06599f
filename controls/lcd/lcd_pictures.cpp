#include "controls/lcd/lcd_pictures.h"

#include <QPainter>
#include <array>

namespace qzvlcd::pictures {

namespace {

const QColor kGreen(0, 255, 0);
const QColor kYellow(255, 255, 0);

// Pixel art: '#' is `ink`, anything else transparent.
template <std::size_t Rows>
QImage fromArt(const std::array<const char*, Rows>& rows, const QColor& ink, bool mirror = false) {
    const int width = static_cast<int>(std::char_traits<char>::length(rows[0]));
    QImage image(width, static_cast<int>(Rows), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    for (std::size_t y = 0; y < Rows; ++y)
        for (int x = 0; x < width; ++x)
            if (rows[y][x] == '#')
                image.setPixelColor(mirror ? width - 1 - x : x, static_cast<int>(y), ink);
    return image;
}

constexpr std::array<const char*, 10> kPlay{
    "##.......", "####.....", "######...", "########.", "#########",
    "#########", "########.", "######...", "####.....", "##.......",
};

// Points left; mirrored for the right-pointing arrow.
constexpr std::array<const char*, 10> kArrow{
    "....#....", "...##....", "..###....", ".########", "#########",
    "#########", ".########", "..###....", "...##....", "....#....",
};

} // namespace

QImage face() {
    QImage image(173, 45, QImage::Format_RGB32);
    const QColor dark(41, 44, 41);
    const QColor lit(49, 52, 49);
    image.fill(dark);
    QPainter p(&image);
    // The glass: a lighter panel inside a one-pixel dark rim, with a faint
    // inner line along its top like the reflection on real LCD glass.
    p.fillRect(QRect(1, 1, 171, 43), lit);
    p.setPen(QColor(56, 60, 56));
    p.drawLine(2, 1, 170, 1);
    p.setPen(QColor(36, 39, 36));
    p.drawLine(2, 43, 170, 43);
    // Corners of the glass are rounded by one pixel.
    for (const QPoint corner : {QPoint(1, 1), QPoint(171, 1), QPoint(1, 43), QPoint(171, 43)})
        image.setPixelColor(corner, dark);
    return image;
}

QImage playTriangle() {
    return fromArt(kPlay, kGreen);
}

QImage arrow(bool pointsRight) {
    return fromArt(kArrow, kYellow, pointsRight);
}

QImage scaleStrip(int barOffset, int barFullWidth) {
    QImage image(186, 12, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    // The channel the progress bar runs in (rows 4 to 8).
    p.fillRect(QRect(barOffset, 4, barFullWidth, 5), QColor(30, 30, 30));
    p.setPen(QColor(0, 170, 0));
    for (int k = 0; k <= 10; ++k) {
        const int x = barOffset + (k * (barFullWidth - 1) + 5) / 10;
        const bool major = k % 5 == 0;
        p.drawLine(x, major ? 0 : 1, x, 3);
        p.drawLine(x, 9, x, major ? 11 : 10);
    }
    return image;
}

} // namespace qzvlcd::pictures
