#include "controls/lcd/position_bar.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace qzvlcd {

namespace {
constexpr int kRepeatDelayMs = 350;
constexpr int kRepeatIntervalMs = 50;
} // namespace

PositionBar::PositionBar(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    repeat_.setInterval(kRepeatIntervalMs);
    connect(&repeat_, &QTimer::timeout, this, [this] {
        repeat_.setInterval(kRepeatIntervalMs);
        pageStep();
    });
}

void PositionBar::setValue(int value) {
    value = std::clamp(value, 0, maximum_);
    if (value == value_)
        return;
    moveTo(value);
    emit changed();
}

QRect PositionBar::thumbRect() const {
    const int track = width() - 2 * arrowWidth() - thumbWidth();
    const int left = arrowWidth() + (maximum_ > 0 ? (value_ * track + maximum_ / 2) / maximum_ : 0);
    return QRect(left, 0, thumbWidth(), height());
}

int PositionBar::valueAtThumbLeft(int x) const {
    const int track = width() - 2 * arrowWidth() - thumbWidth();
    if (track <= 0)
        return 0;
    const int offset = std::clamp(x - arrowWidth(), 0, track);
    return (offset * maximum_ + track / 2) / track;
}

void PositionBar::moveTo(int value) {
    const QRect before = thumbRect();
    value_ = value;
    const QRect after = thumbRect();
    if (after != before)
        update(before.united(after));
}

void PositionBar::pageStep() {
    const QRect thumb = thumbRect();
    const int pointer = pointerX_;
    // Stop once the thumb has reached the pointer, like a held scroll bar track.
    if ((pageDirection_ < 0 && pointer >= thumb.left()) ||
        (pageDirection_ > 0 && pointer < thumb.right())) {
        repeat_.stop();
        return;
    }
    setValue(value_ + pageDirection_ * largeChange_);
}

void PositionBar::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const QRect all = rect();
    // Track: dark grey with a one-pixel groove line; arrow buttons in the same
    // grey as the thumb (they sit outside the display and are clipped away).
    p.fillRect(event->rect(), QColor(24, 24, 24));
    p.setPen(QColor(60, 60, 60));
    p.drawLine(arrowWidth(), all.height() / 2, all.width() - arrowWidth() - 1, all.height() / 2);
    const QColor face(150, 150, 150);
    p.fillRect(QRect(0, 0, arrowWidth(), height()), face);
    p.fillRect(QRect(width() - arrowWidth(), 0, arrowWidth(), height()), face);
    // Thumb: a raised grey block.
    const QRect thumb = thumbRect();
    p.fillRect(thumb, face);
    p.setPen(QColor(220, 220, 220));
    p.drawLine(thumb.topLeft(), thumb.topRight());
    p.drawLine(thumb.topLeft(), thumb.bottomLeft());
    p.setPen(QColor(70, 70, 70));
    p.drawLine(thumb.bottomLeft(), thumb.bottomRight());
    p.drawLine(thumb.topRight(), thumb.bottomRight());
}

void PositionBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const int x = event->position().toPoint().x();
    const QRect thumb = thumbRect();
    if (x >= thumb.left() && x <= thumb.right()) {
        dragOffset_ = x - thumb.left();
        return;
    }
    if (x < arrowWidth() || x >= width() - arrowWidth()) {
        // Arrow buttons: one small step (outside the display, rarely reached).
        setValue(value_ + (x < arrowWidth() ? -1 : 1));
        return;
    }
    pointerX_ = x;
    pageDirection_ = x < thumb.left() ? -1 : 1;
    setValue(value_ + pageDirection_ * largeChange_);
    repeat_.start(kRepeatDelayMs);
}

void PositionBar::mouseMoveEvent(QMouseEvent* event) {
    const int x = event->position().toPoint().x();
    pointerX_ = x;
    if (!isDragging())
        return;
    const int value = valueAtThumbLeft(x - dragOffset_);
    if (value == value_)
        return;
    moveTo(value);
    emit scrolled();
}

void PositionBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    repeat_.stop();
    pageDirection_ = 0;
    if (!isDragging())
        return;
    // Every drag ends with a change notification, also one that came back to
    // where it started: the host takes it as the end of the drag.
    dragOffset_ = -1;
    emit changed();
}

} // namespace qzvlcd
