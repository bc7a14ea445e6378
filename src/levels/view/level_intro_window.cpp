#include "levels/view/level_intro_window.h"

#include "widgets/colors.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

namespace plumix {

namespace {

QFont IntroFont(double points)
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans"), QStringLiteral("sans-serif")});
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setPointSizeF(points);
    return font;
}

QLabel* NewLabel(QWidget* parent, QRect geometry, double points, Qt::Alignment align, const std::string& text)
{
    auto* label = new QLabel(parent);
    label->setGeometry(geometry);
    label->setFont(IntroFont(points));
    label->setAlignment(align);
    label->setTextFormat(Qt::PlainText);
    label->setText(QString::fromStdString(text));
    return label;
}

} // namespace

LevelIntroWindow::LevelIntroWindow(const Settings& settings, const LevelIntroTexts& texts, QWidget* owner)
    : QDialog(owner)
{
    setWindowTitle(QStringLiteral("Plumix 2"));
    setFixedSize(461, 270);
    PaintWithColors(*this, settings.textColor, settings.backColor);

    // Centred where a 33-pixel label at y 8 centres it, but tall enough for
    // the line of the sans face that stands in for the old one: in 33 pixels
    // the tail of "р" in "Уровень" and an accent over a capital were cut.
    title_ = NewLabel(this, {8, 4, 441, 41}, 24, Qt::AlignHCenter | Qt::AlignVCenter, texts.title);
    tasks_ = NewLabel(this, {8, 56, 441, 161}, 13.5, Qt::AlignLeft | Qt::AlignTop, texts.body);
    QLabel* prompt = NewLabel(this, {8, 232, 441, 25}, 13.5, Qt::AlignHCenter | Qt::AlignVCenter, texts.prompt);
    for (QLabel* label : {title_, tasks_, prompt}) {
        label->installEventFilter(this);
    }
}

void LevelIntroWindow::keyPressEvent(QKeyEvent* event)
{
    // A key still held from the level just played repeats; only a new press
    // means the player is ready.
    if (event->isAutoRepeat()) {
        return;
    }
    accept();
}

void LevelIntroWindow::mousePressEvent(QMouseEvent*)
{
    accept();
}

bool LevelIntroWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace plumix
