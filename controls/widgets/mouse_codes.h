#pragma once
// Mouse button and shift codes as the program's handlers take them:
// button 1 left, 2 right, 4 middle; shift 1 Shift, 2 Ctrl, 4 Alt.
#include <QMimeData>
#include <QMouseEvent>

namespace app {

int buttonCode(Qt::MouseButtons buttons);
int shiftCode(Qt::KeyboardModifiers modifiers);
// True for what a console control takes as a dropped song: a path as text or file URLs.
bool isSongDrag(const QMimeData* data);

} // namespace app
