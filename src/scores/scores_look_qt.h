// The small look shared by the record entry and hi-scores windows: the font
// and table text as plain text (the player's colours come with colors_qt).
#pragma once

#include "settings/settings.h"
#include "widgets/colors_qt.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <string_view>

class QWidget;

namespace plumix {

QString FromUtf8(std::string_view text);

// "MS Sans Serif" where it is installed, else the system's sans face, at the
// pixel size that fits the windows' 15-pixel rows.
QFont ScoresFont();

// A tooltip that shows the text as typed, never as markup; no tooltip for "".
QString PlainTip(std::string_view text);

} // namespace plumix
