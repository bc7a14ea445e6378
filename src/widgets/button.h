// The skinned push controls of the main window. `Button` is a 160 x 18 menu
// button with a caption over its shadow; `SmallButton` a 20 x 20 picture
// button. Both take a strip of two looks (normal above pressed), follow the
// mouse while a button is held, click only on a release while pressed, and
// pass every key press on to the window that holds them.
#pragma once

#include "widgets/sharp_picture_qt.h"

#include <QPixmap>
#include <QWidget>

namespace plumix {

class PressButton : public QWidget {
    Q_OBJECT
public:
    void SetPicture(const SharpPicture& strip);
    // The tooltip (`Podskazka`), shown as plain text.
    void SetTip(const QString& text);
    bool Pressed() const { return pressed_; }

signals:
    void Click();
    void KeyDown(int keyCode, int shift);

protected:
    PressButton(QSize size, QWidget* parent);
    void SetPressed(bool pressed);
    void PaintPicture(QPainter& painter);

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    SharpPicture strip_;
    // The strip as the screen the button is on shows it, made again when the
    // screen's ratio changes rather than on every paint.
    QPixmap shown_;
    qreal shownRatio_ = 0;
    bool pressed_ = false;
    bool doubleClickHeld_ = false;  // the second press of a double-click is down
};

class Button : public PressButton {
    Q_OBJECT
public:
    explicit Button(QWidget* parent = nullptr);
    void SetCaption(const QString& text);
    QString Caption() const { return caption_; }
    // The caption's colour; the shadow keeps its own.
    void SetColor(const QColor& color);
    QColor CaptionColor() const { return color_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
    QColor color_{Qt::black};
};

class SmallButton : public PressButton {
    Q_OBJECT
public:
    explicit SmallButton(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace plumix
