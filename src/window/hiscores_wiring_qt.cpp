#include "window/hiscores_wiring_qt.h"

#include "scores/view/hiscores_window.h"
#include "scores/record_entry.h"
#include "scores/view/record_entry_window.h"
#include "scores/records_file.h"
#include "window/main_window.h"

#include <QDate>
#include <QLocale>

#include <string>

namespace plumix {

namespace {

std::string TodayText()
{
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
}

} // namespace

HiScoresWindow* ConnectHiScores(MainWindow& window, AppState& app, std::filesystem::path sharedRecords)
{
    auto* hiScores = new HiScoresWindow(app.settings, app.texts, app.records, std::move(sharedRecords), &window);
    Game& game = window.GetGame();
    hiScores->SetEndedMode([&game] { return game.State().endedMode; });
    QObject::connect(hiScores, &HiScoresWindow::CloseClicked, &window, [&game] { game.PauseGame(); });
    window.showHiScores = [hiScores] { hiScores->ShowWindow(); };

    window.Dialogs().recordEntry = [&window, &app, &game, hiScores](int endedMode, int place) {
        // The ended game's numbers stay as they are while the window is open:
        // it is modal over the main window and no game runs.
        const GameState ended = game.State();
        auto* entry = new RecordEntryWindow(app.settings, app.texts, place,
                                            QString::fromStdString(app.lastPlayerName), &window);
        QObject::connect(entry, &RecordEntryWindow::Entered, hiScores,
                         [&app, hiScores, entry, endedMode, place, ended](const QString& name,
                                                                          const QString& comment) {
                             FinishRecordEntry(app.records, app.lastPlayerName, endedMode, place, ended,
                                               {name.toStdString(), comment.toStdString(), TodayText()});
                             // Written at once: a crash or a power cut before quit keeps it.
                             if (app.KeepsFiles()) {
                                 SaveRecords(app.folder / RecordsFileName, app.records);
                             }
                             entry->deleteLater();
                             hiScores->ShowWindow();
                         });
        entry->open();
    };
    return hiScores;
}

} // namespace plumix
