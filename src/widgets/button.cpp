#include "widgets/button.h"

#include "widgets/key_map_qt.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTextDocument>

namespace plumix {

namespace {

const QColor ShadowColor(16, 16, 24);

QFont CaptionFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans"), QStringLiteral("sans-serif")});
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setPointSizeF(9.75);
    return font;
}

} // namespace

PressButton::PressButton(QSize size, QWidget* parent) : QWidget(parent)
{
    setFixedSize(size);
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_TranslucentBackground);
}

void PressButton::SetPicture(const SharpPicture& strip)
{
    strip_ = strip;
    shown_ = QPixmap();
    shownRatio_ = 0;
    update();
}

void PressButton::SetTip(const QString& text)
{
    setToolTip(text.isEmpty() ? QString() : Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal));
}

void PressButton::SetPressed(bool pressed)
{
    if (pressed_ != pressed) {
        pressed_ = pressed;
        update();
    }
}

void PressButton::PaintPicture(QPainter& painter)
{
    if (strip_.IsNull()) {
        return;
    }
    const qreal ratio = painter.device()->devicePixelRatio();
    if (ratio != shownRatio_) {
        shown_ = strip_.At(ratio, height());
        shownRatio_ = ratio;
    }
    // Pressed, the strip moves up by one look, as many device rows as each
    // look was scaled to.
    const QRect device(QPoint(0, pressed_ ? -DevicePixels(height(), ratio) : 0), shown_.size());
    painter.drawPixmap(LogicalRect(device, ratio), shown_, QRectF(shown_.rect()));
}

void PressButton::mousePressEvent(QMouseEvent* event)
{
    SetPressed(true);
    event->accept();
}

void PressButton::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() == Qt::NoButton || doubleClickHeld_) {
        return;
    }
    // The edge pixels count as outside, so a press on column 0 shows normal once moved.
    const QPointF p = event->position();
    const bool outside = p.x() <= 0 || p.y() <= 0 || p.x() >= width() || p.y() >= height();
    SetPressed(!outside);
}

void PressButton::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    doubleClickHeld_ = false;
    if (pressed_) {
        SetPressed(false);
        emit Click();
    }
}

// Qt delivers the second press of a double-click as a press followed by a
// double-click event, so the release after it would click a second time:
// Pause would pause and resume. On Windows that second press arrives as the
// double-click alone, which the buttons never took as a press; undoing the
// pressed look here, before anything is painted, gives the same one click,
// and moves until the release do not bring the look back.
void PressButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    SetPressed(false);
    doubleClickHeld_ = true;
}

void PressButton::keyPressEvent(QKeyEvent* event)
{
    emit KeyDown(VirtualKeyFor(event->key()), ShiftMaskFor(event->modifiers()));
}

Button::Button(QWidget* parent) : PressButton(QSize(160, 18), parent)
{
    setFont(CaptionFont());
}

void Button::SetCaption(const QString& text)
{
    if (caption_ != text) {
        caption_ = text;
        update();
    }
}

void Button::SetColor(const QColor& color)
{
    color_ = color;
    update();
}

void Button::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintPicture(painter);
    const QRect box = rect();
    painter.setPen(ShadowColor);
    painter.drawText(box.translated(1, 1), Qt::AlignCenter | Qt::TextSingleLine, caption_);
    painter.setPen(color_);
    // Pressed, the caption sinks onto its shadow.
    painter.drawText(Pressed() ? box.translated(1, 1) : box, Qt::AlignCenter | Qt::TextSingleLine, caption_);
}

SmallButton::SmallButton(QWidget* parent) : PressButton(QSize(20, 20), parent) {}

void SmallButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintPicture(painter);
}

} // namespace plumix
