#include "window/builtin_pictures.h"

#include <QLinearGradient>
#include <QPainter>

namespace plumix {

namespace {

constexpr int Cell = 32;

QPixmap Bevelled(QColor face)
{
    QPixmap pixmap(Cell, Cell);
    pixmap.fill(face);
    QPainter p(&pixmap);
    QLinearGradient shine(0, 0, Cell, Cell);
    shine.setColorAt(0, face.lighter(135));
    shine.setColorAt(1, face.darker(125));
    p.fillRect(3, 3, Cell - 6, Cell - 6, shine);
    p.setPen(face.lighter(170));
    p.drawLine(0, 0, Cell - 1, 0);
    p.drawLine(0, 0, 0, Cell - 1);
    p.drawLine(1, 1, Cell - 2, 1);
    p.drawLine(1, 1, 1, Cell - 2);
    p.setPen(face.darker(200));
    p.drawLine(0, Cell - 1, Cell - 1, Cell - 1);
    p.drawLine(Cell - 1, 0, Cell - 1, Cell - 1);
    p.drawLine(1, Cell - 2, Cell - 2, Cell - 2);
    p.drawLine(Cell - 2, 1, Cell - 2, Cell - 2);
    return pixmap;
}

QPixmap Brick()
{
    QPixmap pixmap(Cell, Cell);
    pixmap.fill(QColor(90, 90, 96));
    QPainter p(&pixmap);
    p.setPen(QColor(60, 60, 64));
    const QColor brick(168, 64, 44);
    p.fillRect(1, 1, 30, 14, brick);
    p.fillRect(0, 17, 15, 14, brick);
    p.fillRect(17, 17, 15, 14, brick);
    return pixmap;
}

QPixmap Flash()
{
    QPixmap pixmap(Cell, Cell);
    QPainter p(&pixmap);
    QRadialGradient glow(Cell / 2.0, Cell / 2.0, Cell * 0.75);
    glow.setColorAt(0, Qt::white);
    glow.setColorAt(1, QColor(255, 220, 120));
    p.fillRect(pixmap.rect(), glow);
    return pixmap;
}

QPixmap Grid()
{
    QPixmap pixmap(Cell, Cell);
    pixmap.fill(QColor(12, 14, 24));
    QPainter p(&pixmap);
    p.setPen(QColor(36, 40, 60));
    p.drawLine(0, 0, Cell - 1, 0);
    p.drawLine(0, 0, 0, Cell - 1);
    return pixmap;
}

} // namespace

std::array<QPixmap, 12> BuiltInPalette()
{
    std::array<QPixmap, 12> palette;
    const QColor colours[7] = {{230, 190, 40}, {40, 200, 220}, {50, 90, 220}, {235, 130, 30},
                               {60, 190, 70},  {215, 50, 50},  {150, 70, 200}};
    for (int i = 0; i < 7; ++i) {
        palette[static_cast<std::size_t>(i + 1)] = Bevelled(colours[i]);
    }
    palette[8] = Brick();
    palette[9] = Flash();
    palette[10] = Grid();
    return palette;
}

QPixmap BuiltInBackground()
{
    QPixmap pixmap(576, 700);
    QPainter p(&pixmap);
    QLinearGradient sky(0, 0, 0, 700);
    sky.setColorAt(0, QColor(28, 36, 72));
    sky.setColorAt(1, QColor(10, 12, 28));
    p.fillRect(pixmap.rect(), sky);
    // The well and the preview, framed so they read as places.
    p.fillRect(QRect(28, 28, 328, 648), QColor(70, 80, 120));
    p.fillRect(QRect(32, 32, 320, 640), QColor(6, 8, 16));
    p.fillRect(QRect(396, 60, 136, 136), QColor(70, 80, 120));
    p.fillRect(QRect(400, 64, 128, 128), QColor(6, 8, 16));
    return pixmap;
}

} // namespace plumix
