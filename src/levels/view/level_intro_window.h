// The window shown before every level of the level mode: the
// level number, the lives and the level's tasks. Any key or click dismisses
// it, and that starts the level.
#pragma once

#include "levels/level_intro.h"
#include "settings/settings.h"

#include <QDialog>

class QLabel;

namespace plumix {

class LevelIntroWindow : public QDialog {
    Q_OBJECT
public:
    LevelIntroWindow(const Settings& settings, const LevelIntroTexts& texts, QWidget* owner);

    QLabel* TitleLabel() const { return title_; }
    QLabel* TasksLabel() const { return tasks_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* title_ = nullptr;
    QLabel* tasks_ = nullptr;
};

} // namespace plumix
