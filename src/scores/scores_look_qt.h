// The small look shared by the record entry and hi-scores windows: the font,
// the player's colours on a window, and table text as plain text.
#pragma once

#include "settings/settings.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <string_view>

class QWidget;

namespace plumix {

QColor ToQColor(Rgb color);
QString FromUtf8(std::string_view text);

// "MS Sans Serif" where it is installed, else the system's sans face, at the
// pixel size that fits the windows' 15-pixel rows.
QFont ScoresFont();

// The window's background in the back colour, its texts in the text colour.
void PaintWithSettings(QWidget& window, const Settings& settings);

// A tooltip that shows the text as typed, never as markup; no tooltip for "".
QString PlainTip(std::string_view text);

} // namespace plumix
