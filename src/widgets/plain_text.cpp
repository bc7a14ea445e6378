#include "widgets/plain_text.h"

#include <QTextDocument>

namespace plumix {

QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString LiteralCaption(std::string_view text)
{
    return FromUtf8(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QString PlainTooltip(std::string_view text)
{
    return text.empty() ? QString() : Qt::convertFromPlainText(FromUtf8(text), Qt::WhiteSpaceNormal);
}

} // namespace plumix
