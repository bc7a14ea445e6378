#include "widgets/dialogs.h"

#include "widgets/plain_text.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>

namespace plumix {

namespace {

const QString ProgramTitle = QStringLiteral("Plumix");

// What a window manager takes from a title bar for its buttons and the icon.
constexpr int TitleBarRoom = 120;

QMessageBox* NewBox(QWidget* owner, QMessageBox::Icon icon, const QString& title, const QString& text,
                    QMessageBox::StandardButtons buttons)
{
    auto* box = new QMessageBox(icon, title, text, buttons, owner);
    // Names and texts from files are shown as typed, never as markup.
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // A box sizes itself to its text; with a short question under a long title
    // the window manager would cut the title ("Start... game").
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout())) {
        QFont bold = box->font();
        bold.setBold(true);
        const int width = QFontMetrics(bold).horizontalAdvance(title) + TitleBarRoom;
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                      grid->columnCount());
    }
    return box;
}

void Open(QMessageBox* box, std::function<void()> closed)
{
    if (closed) {
        QObject::connect(box, &QDialog::finished, box, [closed = std::move(closed)](int) { closed(); });
    }
    box->open();
}

} // namespace

void QtDialogs::Ask(Question question, std::function<void(bool)> answer)
{
    const int title = question == Question::Quit ? TextQuitTitle : TextNewGameTitle;
    QMessageBox* box = NewBox(owner_, QMessageBox::NoIcon, FromUtf8(TextOf(texts_, title)),
                              FromUtf8(TextOf(texts_, TextAreYouSure)), QMessageBox::Yes | QMessageBox::No);
    QObject::connect(box, &QDialog::finished, box, [box, answer = std::move(answer)](int) {
        answer(box->clickedButton() == box->button(QMessageBox::Yes));
    });
    box->open();
}

void QtDialogs::ShowMessage(std::string_view text, std::function<void()> closed)
{
    Open(NewBox(owner_, QMessageBox::NoIcon, ProgramTitle, FromUtf8(text), QMessageBox::Ok), std::move(closed));
}

void QtDialogs::ShowError(std::string_view text, std::function<void()> closed)
{
    Open(NewBox(owner_, QMessageBox::Critical, ProgramTitle, FromUtf8(text), QMessageBox::Ok), std::move(closed));
}

} // namespace plumix
