// The player's two colours on the game's windows: every window of ours
// paints its background in the back colour and its texts in the text colour.
#pragma once

#include "settings/settings.h"

#include <QColor>

class QWidget;

namespace plumix {

QColor ToQColor(Rgb color);

// The window's background in the back colour, its texts in the text colour.
void PaintWithSettings(QWidget& window, const Settings& settings);

} // namespace plumix
