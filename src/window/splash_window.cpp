#include "window/splash_window.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>

namespace plumix {

SplashWindow::SplashWindow()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint),
      picture_(SharpPicture::Load(QStringLiteral(":/window/splash.jpg"), QStringLiteral(":/window/splash@2x.jpg"),
                                  AnyScreenScaled()))
{
    setWindowTitle(QStringLiteral("Plumix"));
    setFixedSize(500, 300);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(250, 150));
    }
}

void SplashWindow::SetStatus(const QString& text)
{
    // The label comes with the first text: the font set-up it needs costs
    // more than everything else before the picture is on screen.
    if (status_ == nullptr) {
        CreateStatusLabel();
    }
    status_->setText(text);
    // The next step may be slow: show the text before it runs.
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void SplashWindow::CreateStatusLabel()
{
    status_ = new QLabel(this);
    status_->setGeometry(8, 280, 481, 17);
    status_->setAlignment(Qt::AlignCenter);
    status_->setTextFormat(Qt::PlainText);
    status_->setAttribute(Qt::WA_TranslucentBackground);
    QPalette pal = status_->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    status_->setPalette(pal);
    status_->show();
}

void SplashWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (picture_.IsNull()) {
        painter.fillRect(rect(), QColor(20, 24, 48));
        return;
    }
    const qreal ratio = painter.device()->devicePixelRatio();
    if (ratio != shownRatio_) {
        shown_ = picture_.At(ratio);
        shownRatio_ = ratio;
    }
    painter.drawPixmap(LogicalRect(shown_.rect(), ratio), shown_, QRectF(shown_.rect()));
}

} // namespace plumix
