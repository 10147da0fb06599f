#include "controls/widgets/slider.h"

#include "controls/widgets/song_drag.h"
#include "platform/ui/mouse_codes.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <QStyleOptionSlider>

Slider::Slider(Qt::Orientation orientation, QWidget* parent) : QSlider(orientation, parent) {
    setInvertedAppearance(orientation == Qt::Vertical);
    setInvertedControls(orientation == Qt::Vertical);
    setTickPosition(QSlider::NoTicks);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    connect(this, &QSlider::valueChanged, this, [this] { emit Change(); });
    connect(this, &QSlider::sliderMoved, this, [this] { emit Scroll(); });
}

void Slider::paintEvent(QPaintEvent*) {
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    const bool vertical = orientation() == Qt::Vertical;

    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // Groove: a dark slot through the middle with tick marks every tenth.
    const QRect r = rect();
    const int slot = 5;
    QRectF groove = vertical ? QRectF(r.center().x() - slot / 2.0, 4, slot, r.height() - 8)
                             : QRectF(4, r.center().y() - slot / 2.0, r.width() - 8, slot);
    p.setPen(QColor(70, 74, 80));
    p.setBrush(QColor(8, 9, 10));
    p.drawRoundedRect(groove, 2, 2);
    p.setPen(QColor(90, 96, 104));
    for (int i = 0; i <= 10; ++i) {
        if (vertical) {
            const double y =
                4 + handle.height() / 2.0 + (r.height() - 8 - handle.height()) * i / 10.0;
            p.drawLine(QPointF(1, y), QPointF(4, y));
            p.drawLine(QPointF(r.width() - 5, y), QPointF(r.width() - 2, y));
        } else {
            const double x = 4 + handle.width() / 2.0 + (r.width() - 8 - handle.width()) * i / 10.0;
            p.drawLine(QPointF(x, 1), QPointF(x, 4));
            p.drawLine(QPointF(x, r.height() - 5), QPointF(x, r.height() - 2));
        }
    }
    // Fader cap: a silver block with a bright centre line.
    QRectF cap = QRectF(handle).adjusted(1, 1, -1, -1);
    if (vertical)
        cap = QRectF(2, cap.top(), r.width() - 4, cap.height());
    else
        cap = QRectF(cap.left(), 2, cap.width(), r.height() - 4);
    QLinearGradient shade(cap.topLeft(), vertical ? cap.bottomLeft() : cap.topRight());
    shade.setColorAt(0, QColor(200, 204, 210));
    shade.setColorAt(0.5, QColor(120, 124, 130));
    shade.setColorAt(1, QColor(70, 72, 76));
    p.setPen(QColor(20, 20, 20));
    p.setBrush(shade);
    p.drawRoundedRect(cap, 2, 2);
    p.setPen(QPen(QColor(255, 255, 255), 1));
    if (vertical)
        p.drawLine(QPointF(cap.left() + 2, cap.center().y()),
                   QPointF(cap.right() - 2, cap.center().y()));
    else
        p.drawLine(QPointF(cap.center().x(), cap.top() + 2),
                   QPointF(cap.center().x(), cap.bottom() - 2));
}

void Slider::mousePressEvent(QMouseEvent* event) {
    emit MouseDown(ui::buttonCode(event->button()), ui::shiftCode(event->modifiers()),
                   event->position().toPoint().x(), event->position().toPoint().y());
    QSlider::mousePressEvent(event);
}

void Slider::mouseMoveEvent(QMouseEvent* event) {
    emit MouseMove(ui::buttonCode(event->buttons()), ui::shiftCode(event->modifiers()),
                   event->position().toPoint().x(), event->position().toPoint().y());
    QSlider::mouseMoveEvent(event);
}

void Slider::mouseReleaseEvent(QMouseEvent* event) {
    emit MouseUp(ui::buttonCode(event->button()), ui::shiftCode(event->modifiers()),
                 event->position().toPoint().x(), event->position().toPoint().y());
    QSlider::mouseReleaseEvent(event);
}

void Slider::dragEnterEvent(QDragEnterEvent* event) {
    if (app::isSongDrag(event->mimeData()))
        event->acceptProposedAction();
}

void Slider::dropEvent(QDropEvent* event) {
    event->acceptProposedAction();
    emit DragDrop(event->mimeData(), event->position().toPoint().x(),
                  event->position().toPoint().y());
}
