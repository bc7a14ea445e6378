// The start-up splash: a borderless 500 x 300 picture of its
// own with one line of white status text that is repainted at once, so each
// loading step is visible while it runs.
#pragma once

#include "widgets/sharp_picture_qt.h"

#include <QPixmap>
#include <QWidget>

class QLabel;

namespace plumix {

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    SplashWindow();
    void SetStatus(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void CreateStatusLabel();

    SharpPicture picture_;
    QPixmap shown_;  // the picture for the ratio of the screen it was last shown on
    qreal shownRatio_ = 0;
    QLabel* status_ = nullptr;
};

} // namespace plumix
