#include "controls/peak/qzvPeak.h"

#include <QPaintEvent>
#include <QPainter>
#include <array>

namespace {

constexpr int kLedSizePx = 5;        // 75 twips
constexpr int kBottomLedTopPx = 132; // 1980 twips
constexpr int kLeftColumnPx = 3;     // 50 twips
constexpr int kRightColumnPx = 9;    // 140 twips
constexpr short kMaxPeak = 128;

// Fall interval for the level the last write reached.
int fallIntervalMs(short level) {
    if (level > 24)
        return 60;
    if (level >= 18)
        return 40;
    return 20;
}

// v / 128 x 27 to the nearest integer, halves to even.
short levelFor(short peak) {
    const int num = peak * 27;
    int q = num / kMaxPeak;
    int r = num % kMaxPeak;
    if (r < 0) {
        r += kMaxPeak;
        q -= 1;
    }
    if (2 * r > kMaxPeak || (2 * r == kMaxPeak && (q & 1) != 0))
        q += 1;
    return static_cast<short>(q);
}

QColor ledColour(int index) {
    if (index <= 13)
        return QColor(0, 255, 0);
    if (index <= 22)
        return QColor(255, 255, 0);
    return QColor(255, 0, 0);
}

// A round 5 x 5 dot in `colour` on transparent.
QImage ledDot(const QColor& colour) {
    static constexpr std::array<const char*, kLedSizePx> kDot{".###.", "#####", "#####", "#####",
                                                              ".###."};
    QImage image(kLedSizePx, kLedSizePx, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    for (int y = 0; y < kLedSizePx; ++y)
        for (int x = 0; x < kLedSizePx; ++x)
            if (kDot[y][x] == '#')
                image.setPixelColor(x, y, colour);
    return image;
}

} // namespace

qzvPeak::qzvPeak(QWidget* parent) : QWidget(parent) {
    setFixedSize(kWidthPx, kHeightPx);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::black);
    setPalette(palette);
    setBackStyle(1);
    for (QTimer* t : {&tmrLpeakHold_, &tmrRpeakHold_})
        t->setInterval(60);
    connect(&tmrLpeakHold_, &QTimer::timeout, this, &qzvPeak::tmrLpeakHold_Timer);
    connect(&tmrRpeakHold_, &QTimer::timeout, this, &qzvPeak::tmrRpeakHold_Timer);
    // Each column's timer runs only while one of its LEDs is lit (the
    // bottom one is at the start; see writePeak and fall): a dark meter does
    // not wake the program.
    tmrLpeakHold_.start();
    tmrRpeakHold_.start();
}

qzvPeak::~qzvPeak() {
    tmrLpeakHold_.stop();
    tmrRpeakHold_.stop();
}

void qzvPeak::setEnabled(bool New_Enabled) {
    enabled_ = New_Enabled;
    emit propertyChanged(QStringLiteral("Enabled"));
}

void qzvPeak::setBackStyle(short New_BackStyle) {
    backStyle_ = New_BackStyle;
    // Opaque paints its own background; transparent lets the host show through.
    setAttribute(Qt::WA_OpaquePaintEvent, backStyle_ != 0);
    update();
    emit propertyChanged(QStringLiteral("BackStyle"));
}

void qzvPeak::setLPeak(short New_LPeak) {
    writePeak(Column::Left, New_LPeak);
    emit propertyChanged(QStringLiteral("LPeak"));
}

void qzvPeak::setRPeak(short New_RPeak) {
    writePeak(Column::Right, New_RPeak);
    emit propertyChanged(QStringLiteral("RPeak"));
}

void qzvPeak::writePeak(Column column, short value) {
    ColumnState& s = state(column);
    s.peak = std::min(value, kMaxPeak);
    s.level = levelFor(s.peak);
    QTimer& t = timer(column);
    const int interval = fallIntervalMs(s.level);
    if (t.interval() != interval)
        t.setInterval(interval);
    // A negative value lights nothing and leaves the top as it is.
    if (s.peak < 0 || s.level <= s.top)
        return;
    const short from = s.top;
    s.top = s.level;
    updateLeds(column, from + 1, s.top);
    if (!t.isActive())
        t.start();
}

void qzvPeak::fall(Column column) {
    ColumnState& s = state(column);
    if (s.top < 0)
        return;
    updateLeds(column, s.top, s.top);
    if (--s.top < 0)
        timer(column).stop();
}

void qzvPeak::tmrLpeakHold_Timer() {
    fall(Column::Left);
}

void qzvPeak::tmrRpeakHold_Timer() {
    fall(Column::Right);
}

short qzvPeak::level(Column column) const {
    return column == Column::Left ? left_.level : right_.level;
}

short qzvPeak::top(Column column) const {
    return column == Column::Left ? left_.top : right_.top;
}

bool qzvPeak::isLedLit(Column column, int index) const {
    return index >= 0 && index < kLeds && index <= top(column);
}

QRect qzvPeak::ledRect(Column column, int index) {
    const int left = column == Column::Left ? kLeftColumnPx : kRightColumnPx;
    return QRect(left, kBottomLedTopPx - kLedSizePx * index, kLedSizePx, kLedSizePx);
}

void qzvPeak::updateLeds(Column column, int from, int to) {
    if (from > to)
        return;
    update(ledRect(column, to).united(ledRect(column, from)));
}

void qzvPeak::paintEvent(QPaintEvent* event) {
    // The three dot pictures are made once per process, on first paint.
    static const std::array<QImage, 3> dots{ledDot(ledColour(0)), ledDot(ledColour(14)),
                                            ledDot(ledColour(23))};
    QPainter p(this);
    const QRect exposed = event->rect();
    if (backStyle_ != 0)
        p.fillRect(exposed, palette().color(QPalette::Window));
    for (Column column : {Column::Left, Column::Right}) {
        const int lit = std::min<int>(top(column), kLeds - 1);
        for (int i = 0; i <= lit; ++i) {
            const QRect r = ledRect(column, i);
            if (!r.intersects(exposed))
                continue;
            p.drawImage(r.topLeft(), dots[i <= 13 ? 0 : i <= 22 ? 1 : 2]);
        }
    }
}
