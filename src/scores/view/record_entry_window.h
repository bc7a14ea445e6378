// The "New record!" window (the old Form3): congratulates the player on the
// place the ended game earned and asks for a name and a comment. However it
// is closed (Enter in either box, OK, the close box) it hands both over once;
// it has no way to leave the place the game over made room at unfilled.
#pragma once

#include "settings/settings.h"
#include "base/texts.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace plumix {

class RecordEntryWindow : public QDialog {
    Q_OBJECT
public:
    // `lastName` is the name typed in the run's previous entry.
    RecordEntryWindow(const Settings& settings, const TextTable& texts, int place, const QString& lastName,
                      QWidget* owner);

    QLabel* Prompt() const { return prompt_; }
    QLabel* CommentPrompt() const { return commentPrompt_; }
    QLineEdit* NameBox() const { return name_; }
    QLineEdit* CommentBox() const { return comment_; }
    QPushButton* OkButton() const { return ok_; }

    void done(int result) override;

signals:
    // Emitted once, after the window has hidden itself.
    void Entered(const QString& name, const QString& comment);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* prompt_ = nullptr;         // Label2
    QLineEdit* name_ = nullptr;        // Text1
    QLabel* commentPrompt_ = nullptr;  // Label1
    QLineEdit* comment_ = nullptr;     // Text2
    QPushButton* ok_ = nullptr;        // Command1
    bool entered_ = false;
};

} // namespace plumix
