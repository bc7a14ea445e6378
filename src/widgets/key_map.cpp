#include "widgets/key_map.h"

#include "engine/keys.h"

namespace plumix {

int VirtualKeyFor(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Left: return VkLeft;
    case Qt::Key_Right: return VkRight;
    case Qt::Key_Up: return VkUp;
    case Qt::Key_Down: return VkDown;
    case Qt::Key_Space: return VkSpace;
    case Qt::Key_Escape: return VkEscape;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    default: break;
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        return VkF1 + (qtKey - Qt::Key_F1);
    }
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) {
        return qtKey;  // Qt and the virtual keys share ASCII codes here
    }
    return 0;
}

int ShiftMaskFor(Qt::KeyboardModifiers modifiers)
{
    int mask = 0;
    if (modifiers & Qt::ShiftModifier) {
        mask |= ShiftMaskShift;
    }
    if (modifiers & Qt::ControlModifier) {
        mask |= ShiftMaskCtrl;
    }
    if (modifiers & Qt::AltModifier) {
        mask |= ShiftMaskAlt;
    }
    return mask;
}

} // namespace plumix
