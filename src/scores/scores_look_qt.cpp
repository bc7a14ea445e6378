#include "scores/scores_look_qt.h"

#include <QTextDocument>
#include <QWidget>

namespace plumix {

QColor ToQColor(Rgb color)
{
    return {color.red, color.green, color.blue};
}

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

void PaintWithSettings(QWidget& window, const Settings& settings)
{
    QPalette pal = window.palette();
    pal.setColor(QPalette::Window, ToQColor(settings.backColor));
    pal.setColor(QPalette::WindowText, ToQColor(settings.textColor));
    window.setPalette(pal);
    window.setAutoFillBackground(true);
}

QString PlainTip(std::string_view text)
{
    return text.empty() ? QString() : Qt::convertFromPlainText(FromUtf8(text), Qt::WhiteSpaceNormal);
}

} // namespace plumix
