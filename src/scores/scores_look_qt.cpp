#include "scores/scores_look_qt.h"

#include <QTextDocument>
#include <QWidget>

namespace plumix {

QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFont ScoresFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans"), QStringLiteral("sans-serif")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

QString PlainTip(std::string_view text)
{
    return text.empty() ? QString() : Qt::convertFromPlainText(FromUtf8(text), Qt::WhiteSpaceNormal);
}

} // namespace plumix
