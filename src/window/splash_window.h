// The start-up splash: a borderless 500 x 300 picture of its
// own with one line of white status text that is repainted at once, so each
// loading step is visible while it runs.
#pragma once

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

    QPixmap picture_;
    QLabel* status_ = nullptr;
};

} // namespace plumix
