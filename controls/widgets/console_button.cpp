#include "controls/widgets/console_button.h"

#include "controls/widgets/song_drag.h"
#include "platform/ui/mouse_codes.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>

namespace {
QColor fromSystemColour(std::uint32_t c) {
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}
} // namespace

ConsoleButton::ConsoleButton(const QString& caption, const QString& toolTip, QWidget* parent)
    : QPushButton(caption, parent) {
    setToolTip(toolTip);
    setFocusPolicy(Qt::NoFocus);
}

void ConsoleButton::setBackColor(std::uint32_t colour) {
    if (colour == backColor_)
        return;
    backColor_ = colour;
    update();
}

void ConsoleButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor back = fromSystemColour(backColor_);
    QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient shade(r.topLeft(), r.bottomLeft());
    const bool down = isDown();
    shade.setColorAt(0, down ? back.darker(130) : back.lighter(125));
    shade.setColorAt(1, down ? back.darker(110) : back.darker(125));
    p.setPen(QColor(10, 10, 10));
    p.setBrush(shade);
    p.drawRoundedRect(r, 3, 3);
    // Dark text on a bright face, light text on a dark one.
    p.setPen(back.lightness() > 110 ? QColor(0, 0, 0) : QColor(235, 238, 240));
    p.setFont(font());
    p.drawText(rect().translated(down ? 1 : 0, down ? 1 : 0), Qt::AlignCenter, text());
}

void ConsoleButton::mousePressEvent(QMouseEvent* event) {
    emit MouseDown(ui::buttonCode(event->button()), ui::shiftCode(event->modifiers()),
                   event->position().toPoint().x(), event->position().toPoint().y());
    QPushButton::mousePressEvent(event);
}

void ConsoleButton::mouseReleaseEvent(QMouseEvent* event) {
    emit MouseUp(ui::buttonCode(event->button()), ui::shiftCode(event->modifiers()),
                 event->position().toPoint().x(), event->position().toPoint().y());
    QPushButton::mouseReleaseEvent(event);
}

void ConsoleButton::dragEnterEvent(QDragEnterEvent* event) {
    if (app::isSongDrag(event->mimeData()))
        event->acceptProposedAction();
}

void ConsoleButton::dropEvent(QDropEvent* event) {
    event->acceptProposedAction();
    emit DragDrop(event->mimeData(), event->position().toPoint().x(),
                  event->position().toPoint().y());
}
