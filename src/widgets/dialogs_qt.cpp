#include "widgets/dialogs_qt.h"

#include <QMessageBox>
#include <QPushButton>

namespace plumix {

namespace {

const QString ProgramTitle = QStringLiteral("Plumix");

QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QMessageBox* NewBox(QWidget* owner, QMessageBox::Icon icon, const QString& title, const QString& text,
                    QMessageBox::StandardButtons buttons)
{
    auto* box = new QMessageBox(icon, title, text, buttons, owner);
    // Names and texts from files are shown as typed, never as markup.
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    return box;
}

} // namespace

void QtDialogs::ShowMessage(std::string_view text)
{
    NewBox(owner_, QMessageBox::NoIcon, ProgramTitle, FromUtf8(text), QMessageBox::Ok)->open();
}

void QtDialogs::ShowMessageThen(std::string_view text, std::function<void()> closed)
{
    QMessageBox* box = NewBox(owner_, QMessageBox::NoIcon, ProgramTitle, FromUtf8(text), QMessageBox::Ok);
    QObject::connect(box, &QDialog::finished, box, [closed = std::move(closed)](int) { closed(); });
    box->open();
}

void QtDialogs::AskYesNo(std::string_view prompt, std::string_view title, std::function<void(bool)> answer)
{
    QMessageBox* box = NewBox(owner_, QMessageBox::NoIcon, FromUtf8(title), FromUtf8(prompt),
                              QMessageBox::Yes | QMessageBox::No);
    QObject::connect(box, &QDialog::finished, box, [box, answer = std::move(answer)](int) {
        answer(box->clickedButton() == box->button(QMessageBox::Yes));
    });
    box->open();
}

void QtDialogs::ShowRecordEntry(int endedMode, int place)
{
    if (recordEntry) {
        recordEntry(endedMode, place);
    }
}

void QtDialogs::ShowCritical(QWidget* owner, const QString& text)
{
    NewBox(owner, QMessageBox::Critical, ProgramTitle, text, QMessageBox::Ok)->open();
}

} // namespace plumix
