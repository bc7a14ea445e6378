// The "New record!" window: congratulates the player on the
// place the ended game earned and asks for a name and a comment. However it
// is closed (Enter in either box, OK, the close box) it hands both over once;
// it has no way to leave the place the game over made room at unfilled.
#pragma once

#include "base/texts.h"
#include "scores/record_book.h"
#include "settings/settings.h"

#include <QDialog>

class QLabel;
class QLineEdit;

namespace plumix {

class RecordEntryWindow : public QDialog {
    Q_OBJECT
public:
    // `lastName` is the name typed in the run's previous entry.
    RecordEntryWindow(const Settings& settings, const TextTable& texts, int place, const QString& lastName,
                      QWidget* owner);
    // What was typed, as the record book takes it, with today's date.
    TypedEntry Typed() const;

    QLabel* Prompt() const { return prompt_; }
    QLineEdit* NameBox() const { return name_; }
    QLineEdit* CommentBox() const { return comment_; }

    void done(int result) override;

signals:
    // Emitted once, after the window has hidden itself.
    void Entered(const QString& name, const QString& comment);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* prompt_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLineEdit* comment_ = nullptr;
    bool entered_ = false;
};

} // namespace plumix
