#include "widgets/outlined_label.h"

#include <QPainter>
#include <QPainterPath>

namespace plumix {

namespace {

// Wide enough to read against a block of the text's own colour, narrow
// enough to keep the glyphs' shapes at the label's size.
constexpr qreal OutlineWidth = 4.0;

} // namespace

OutlinedLabel::OutlinedLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
}

void OutlinedLabel::SetOutlineColor(const QColor& color)
{
    if (color != outline_) {
        outline_ = color;
        update();
    }
}

void OutlinedLabel::paintEvent(QPaintEvent*)
{
    const QString shown = text();
    if (shown.isEmpty()) {
        return;
    }
    const QFontMetricsF metrics(font());
    const QRectF area = contentsRect();
    qreal x = area.left();
    if (alignment() & Qt::AlignHCenter) {
        x = area.center().x() - metrics.horizontalAdvance(shown) / 2;
    } else if (alignment() & Qt::AlignRight) {
        x = area.right() - metrics.horizontalAdvance(shown);
    }
    const qreal baseline = area.center().y() + (metrics.ascent() - metrics.descent()) / 2;
    QPainterPath path;
    path.addText(QPointF(x, baseline), font(), shown);

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.strokePath(path, QPen(outline_, OutlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.fillPath(path, palette().color(QPalette::WindowText));
}

} // namespace plumix
