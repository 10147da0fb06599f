#include "controls/widgets/window_drag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace app {

bool moveWindowByMouse(QWidget* widget, bool fourWayPointer) {
    QWidget* window = widget->window();
    if (fourWayPointer)
        window->setCursor(Qt::SizeAllCursor);
    QWindow* handle = window->windowHandle();
    const bool moved = handle && handle->startSystemMove();
    if (fourWayPointer)
        window->unsetCursor();
    return moved;
}

WindowDragHandle::WindowDragHandle(QWidget* handle, bool fourWayPointer)
    : QObject(handle), fourWayPointer_(fourWayPointer) {
    handle->installEventFilter(this);
}

bool WindowDragHandle::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && watched->isWidgetType()) {
            moveWindowByMouse(static_cast<QWidget*>(watched), fourWayPointer_);
            return false;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace app
