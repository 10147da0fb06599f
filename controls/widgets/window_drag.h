#pragma once
// Moving the borderless windows: a left-button press on a drag handle (the
// window's background, its title, its icon, the mixer panel) lets the
// window system move the window.
#include <QObject>

class QWidget;

namespace app {

// Starts a system move of `widget`'s window; `fourWayPointer` shows the
// four-way arrow while the move is handed over. False when the window
// system cannot move windows (offscreen).
bool moveWindowByMouse(QWidget* widget, bool fourWayPointer);

// Watches `handle` and moves its window on a left-button press.
class WindowDragHandle : public QObject {
public:
    WindowDragHandle(QWidget* handle, bool fourWayPointer);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool fourWayPointer_;
};

} // namespace app
