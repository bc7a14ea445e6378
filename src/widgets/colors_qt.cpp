#include "widgets/colors_qt.h"

#include <QWidget>

namespace plumix {

QColor ToQColor(Rgb color)
{
    return {color.red, color.green, color.blue};
}

void PaintWithColors(QWidget& window, Rgb text, Rgb back)
{
    QPalette pal = window.palette();
    pal.setColor(QPalette::Window, ToQColor(back));
    pal.setColor(QPalette::WindowText, ToQColor(text));
    window.setPalette(pal);
    window.setAutoFillBackground(true);
}

} // namespace plumix
