#include "widgets/colors.h"

#include <QApplication>
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

void KeepOwnColours(QWidget* widget)
{
    QPalette own = QApplication::palette(widget);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        for (auto role : {QPalette::Window, QPalette::WindowText, QPalette::Base, QPalette::Text, QPalette::Button,
                          QPalette::ButtonText}) {
            own.setColor(group, role, own.color(group, role));
        }
    }
    widget->setPalette(own);
}

} // namespace plumix
