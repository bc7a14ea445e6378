#include "widgets/colors_qt.h"

#include <QWidget>

namespace plumix {

QColor ToQColor(Rgb color)
{
    return {color.red, color.green, color.blue};
}

void PaintWithSettings(QWidget& window, const Settings& settings)
{
    QPalette pal = window.palette();
    pal.setColor(QPalette::Window, ToQColor(settings.backColor));
    pal.setColor(QPalette::WindowText, ToQColor(settings.textColor));
    window.setPalette(pal);
    window.setAutoFillBackground(true);
}

} // namespace plumix
