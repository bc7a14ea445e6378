// The small look shared by the record entry and hi-scores windows: the font
// (texts go on as plain text, the player's colours come with widgets/colors).
#pragma once

#include "settings/settings.h"
#include "widgets/colors.h"
#include "widgets/plain_text.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <string_view>

class QWidget;

namespace plumix {

// "MS Sans Serif" where it is installed, else the system's sans face, at the
// pixel size that fits the windows' 15-pixel rows.
QFont ScoresFont();

} // namespace plumix
