// Every text of English and of each shipped language, drawn as its window draws
// it: a text whose pixels would land outside its control is cut off on screen.
#include "levels/level_intro.h"
#include "levels/view/level_intro_window.h"
#include "scores/view/hiscores_window.h"
#include "scores/view/record_entry_window.h"
#include "session/window_texts.h"
#include "settings/language.h"
#include "settings/view/settings_dialog.h"
#include "support/gui_player.h"
#include "widgets/about_box.h"
#include "widgets/button.h"
#include "window/splash_window.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace plumix {
namespace {

namespace fs = std::filesystem;

// Where the text's pixels land when nothing cuts it off; pixels fainter than
// a third are the edge of the smoothing, which nobody misses when cut.
QRect InkOf(const QWidget* control, const QFont& font, const QString& text, QRect box, int flags)
{
    const QFontMetrics metrics(font, control);
    const QRect drawn = metrics.boundingRect(QRect(QPoint(), box.size()), flags, text);
    // Room for what the font's metrics do not count: overhangs, accents.
    const int pad = metrics.height();
    const QRect canvas = drawn.united(QRect(QPoint(), box.size())).adjusted(-pad, -pad, pad, pad);
    QImage image(canvas.size(), QImage::Format_ARGB32_Premultiplied);
    const int dotsPerMeter = qRound(control->logicalDpiX() / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRect(-canvas.topLeft(), box.size()), flags | Qt::TextDontClip, text);
    }
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) > 85) {
                ink |= QRect(x, y, 1, 1);
            }
        }
    }
    return ink.translated(box.topLeft() + canvas.topLeft());
}

struct FitCheck {
    std::set<std::string> faults;  // a window checked twice reports once

    void Fits(const QWidget* control, const QString& text, QRect room, int flags, QPoint shadow = {})
    {
        if (text.isEmpty()) {
            return;
        }
        QRect ink = InkOf(control, control->font(), text, room, flags);
        ink |= ink.translated(shadow);
        // Labels as tall as the line of the font they were drawn for touch the
        // edge by a pixel with DejaVu's taller line, even in English.
        if (!room.adjusted(0, -1, 0, 1).contains(ink)) {
            const QPoint at = control->mapTo(control->window(), QPoint());
            faults.insert(QString::asprintf("\"%s\" on the %s at %d,%d is %dx%d, its room %dx%d", qPrintable(text),
                                            control->metaObject()->className(), at.x(), at.y(), ink.width(),
                                            ink.height(), room.width(), room.height()).toStdString());
        }
    }

    void Fault(const std::string& what) { faults.insert(what); }

    // The title shares its bar with an icon and buttons of about 100 pixels.
    void WindowFits(QWidget* window)
    {
        QFont title;
        title.setBold(true);
        if (QFontMetrics(title).horizontalAdvance(window->windowTitle()) > window->width() - 100) {
            Fault("the title \"" + window->windowTitle().toStdString() + "\" is too wide for its window");
        }
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (auto* label = qobject_cast<QLabel*>(w)) {
                const int wrap = label->wordWrap() ? Qt::TextWordWrap : 0;
                Fits(label, label->text(), label->contentsRect(), int(label->alignment()) | wrap);
            } else if (auto* button = qobject_cast<Button*>(w)) {
                // The skinned picture's rounded ends are no room for letters;
                // the caption's shadow lies one pixel below and right.
                Fits(button, button->Caption(), button->rect().adjusted(3, 0, -3, 0),
                     Qt::AlignCenter | Qt::TextSingleLine, QPoint(1, 1));
            } else if (qobject_cast<QPushButton*>(w) || qobject_cast<QRadioButton*>(w) || qobject_cast<QCheckBox*>(w)) {
                auto* box = static_cast<QAbstractButton*>(w);
                QStyleOptionButton option;
                option.initFrom(box);
                option.text = box->text();
                const bool push = qobject_cast<QPushButton*>(w) != nullptr;
                const auto element = push ? QStyle::SE_PushButtonContents
                                          : qobject_cast<QRadioButton*>(w) ? QStyle::SE_RadioButtonContents
                                                                           : QStyle::SE_CheckBoxContents;
                Fits(box, box->text(), box->style()->subElementRect(element, &option, box),
                     (push ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter) | Qt::TextShowMnemonic);
            } else if (auto* frame = qobject_cast<QGroupBox*>(w)) {
                if (frame->width() < frame->minimumSizeHint().width()) {
                    Fault("the frame \"" + frame->title().toStdString() + "\" is narrower than its title");
                }
            } else if (auto* list = qobject_cast<QListWidget*>(w)) {
                for (int i = 0; i < list->count(); ++i) {
                    Fits(list->viewport(), list->item(i)->text(), list->visualItemRect(list->item(i)),
                         Qt::AlignLeft | Qt::AlignVCenter);
                }
            }
        }
    }
};

// The widest texts the windows ever show: level 99, 99 lives, every task at
// once with the longest time, and the hundredth place.
LevelDef EveryTask()
{
    LevelDef def{.quotas = {1, 1, 1, 1}, .seconds = 255, .bonus = 1};
    def.cells[0][BoardRows - 1] = CellBrick;
    return def;
}

} // namespace

TEST(ShippedLanguages, EveryTextFitsItsControlInEveryWindow)
{
    testing::GuiPlayer p;
    const Settings& settings = p.app.settings;
    // As the settings window offers them: English and each shipped file.
    const std::vector<OfferedFile> languages = ListLanguages({PLUMIX_ASSETS});
    ASSERT_GT(languages.size(), 1u);
    for (const OfferedFile& language : languages) {
        FitCheck check;
        TextTable texts{};
        LoadLanguage(texts, language.fileName, PLUMIX_ASSETS);
        p.app.texts = texts;
        p.window->ApplyLanguage(texts);
        check.WindowFits(p.window);
        // What only a paused game shows.
        GameState paused;
        paused.paused = true;
        p.window->MenuButton(2).SetCaption(QString::fromStdString(PauseButtonCaption(texts, true)));
        p.window->StatusLabel()->setText(QString::fromStdString(StatusCaption(texts, paused)));
        check.WindowFits(p.window);

        RecordBook book(p.app.records);
        HiScoresWindow hiScores(settings, texts, book, [] { return SyncReport{}; }, nullptr);
        check.WindowFits(&hiScores);

        RecordEntryWindow entry(settings, texts, RecordPlaces, QString(), nullptr);
        check.WindowFits(&entry);

        LevelIntroWindow intro(settings, ComposeLevelIntro(texts, 99, 99, EveryTask()), nullptr);
        check.WindowFits(&intro);

        AboutBox about(settings.textColor, settings.backColor, texts, nullptr);
        check.WindowFits(&about);

        SplashWindow splash;
        for (int number : {TextLoadSkin, TextLoadRecords, TextLoadLevels}) {
            splash.SetStatus(QString::fromStdString(TextOf(texts, number)));
            check.WindowFits(&splash);
        }

        TextTable dialogTexts = texts;
        Settings dialogSettings = settings;
        SkinColors skinColors;
        const auto nothing = [] {};
        SettingsDialog dialog(SettingsEditor(dialogSettings, dialogTexts, skinColors, {fs::path(PLUMIX_ASSETS)},
                                             {nothing, nothing, nothing, nothing, nothing}),
                              nullptr);
        dialog.show();
        check.WindowFits(&dialog);
        // It grows with its texts; over the game it should not outgrow it.
        if (dialog.width() > p.window->width()) {
            check.Fault("the settings window is " + std::to_string(dialog.width()) + " pixels wide");
        }
        dialog.close();

        for (const std::string& fault : check.faults) {
            ADD_FAILURE() << language.fileName << ": " << fault;
        }
    }
}

} // namespace plumix
