#include "mixer/key_codes.h"

namespace mixer {

int virtualKeyCode(int qtKey) {
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey; // the same codes as the characters
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        return vk::F1 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return vk::Enter;
    case Qt::Key_Control:
        return vk::Ctrl;
    case Qt::Key_Alt:
        return vk::Alt;
    case Qt::Key_Escape:
        return vk::Esc;
    case Qt::Key_PageUp:
        return vk::PageUp;
    case Qt::Key_PageDown:
        return vk::PageDown;
    case Qt::Key_Left:
        return vk::Left;
    case Qt::Key_Up:
        return vk::Up;
    case Qt::Key_Right:
        return vk::Right;
    case Qt::Key_Down:
        return vk::Down;
    case Qt::Key_Comma:
    case Qt::Key_Less:
        return vk::Comma;
    case Qt::Key_Period:
    case Qt::Key_Greater:
        return vk::Period;
    default:
        return 0;
    }
}

int shiftState(Qt::KeyboardModifiers modifiers) {
    int shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift += kShiftState;
    if (modifiers & Qt::ControlModifier)
        shift += kCtrlState;
    if (modifiers & Qt::AltModifier)
        shift += kAltState;
    return shift;
}

} // namespace mixer
