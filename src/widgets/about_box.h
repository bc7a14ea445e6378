// The About box: the game's icon, name, credit line and version, in the
// player's colours. Built afresh at each showing.
#pragma once

#include "base/rgb.h"
#include "base/texts.h"

#include <QDialog>

namespace plumix {

class AboutBox : public QDialog {
    Q_OBJECT
public:
    AboutBox(Rgb text, Rgb back, const TextTable& texts, QWidget* owner);

    static QString CreditLine();
    // "Version 1.4.0" with the language's word for "Version".
    static QString VersionLine(const TextTable& texts);
};

} // namespace plumix
