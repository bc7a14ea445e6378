#include "scores/view/record_entry_window.h"

#include "scores/name_color.h"
#include "scores/view/scores_look.h"

#include <QDate>
#include <QKeyEvent>
#include <QLocale>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace plumix {

namespace {

const QColor EntryBoxText(78, 124, 182);

QLineEdit* NewBox(QWidget* parent, QRect geometry)
{
    auto* box = new QLineEdit(parent);
    box->setGeometry(geometry);
    box->setFont(ScoresFont());
    QPalette pal = box->palette();
    pal.setColor(QPalette::Base, Qt::black);
    pal.setColor(QPalette::Text, EntryBoxText);
    box->setPalette(pal);
    box->setTextMargins(0, 0, 0, 0);
    return box;
}

QLabel* NewLabel(QWidget* parent, QRect geometry, const std::string& text)
{
    auto* label = new QLabel(parent);
    label->setGeometry(geometry);
    label->setFont(ScoresFont());
    label->setTextFormat(Qt::PlainText);
    label->setText(FromUtf8(text));
    return label;
}

} // namespace

RecordEntryWindow::RecordEntryWindow(const Settings& settings, const TextTable& texts, int place,
                                     const QString& lastName, QWidget* owner)
    : QDialog(owner)
{
    setWindowTitle(FromUtf8(TextOf(texts, TextNewRecordTitle)));
    setFixedSize(332, 163);
    PaintWithColors(*this, settings.textColor, settings.backColor);

    prompt_ = NewLabel(this, {16, 16, 297, 17}, RecordEntryPrompt(texts, place));
    name_ = NewBox(this, {16, 40, 297, 15});
    name_->setText(lastName);
    NewLabel(this, {16, 64, 297, 17}, RecordCommentPrompt(texts));
    comment_ = NewBox(this, {16, 88, 297, 15});
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(208, 120, 105, 25);
    ok->setFont(ScoresFont());

    setTabOrder(name_, ok);
    setTabOrder(ok, comment_);
    name_->setFocus();

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(name_, &QLineEdit::returnPressed, this, &QDialog::accept);
    connect(comment_, &QLineEdit::returnPressed, this, &QDialog::accept);
    name_->installEventFilter(this);
}

TypedEntry RecordEntryWindow::Typed() const
{
    return {name_->text().toStdString(), comment_->text().toStdString(),
            QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString()};
}

void RecordEntryWindow::done(int result)
{
    QDialog::done(result);
    if (!entered_) {
        entered_ = true;
        emit Entered(name_->text(), comment_->text());
    }
}

bool RecordEntryWindow::eventFilter(QObject* watched, QEvent* event)
{
    // The name shows in the colour it will have in the table.
    if (watched == name_ && event->type() == QEvent::KeyRelease) {
        QPalette pal = name_->palette();
        pal.setColor(QPalette::Text, ToQColor(NameColor(name_->text().toStdString())));
        name_->setPalette(pal);
    }
    return QDialog::eventFilter(watched, event);
}

void RecordEntryWindow::keyPressEvent(QKeyEvent* event)
{
    // Esc would close the window as a cancel; an entry cannot be cancelled.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace plumix
