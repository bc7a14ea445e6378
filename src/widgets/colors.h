// The player's two colours on the game's windows: every window of ours
// paints its background in the back colour and its texts in the text colour.
#pragma once

#include "base/rgb.h"

#include <QColor>

class QWidget;

namespace plumix {

QColor ToQColor(Rgb color);

// The window's background in `back`, its texts in `text`.
void PaintWithColors(QWidget& window, Rgb text, Rgb back);

// A list, scroll bar or button inside such a window keeps the desktop's
// colours, in each state: a disabled one must look disabled.
void KeepOwnColours(QWidget* widget);

} // namespace plumix
