#include "widgets/about_box.h"

#include "widgets/colors_qt.h"
#include "widgets/plain_text_qt.h"
#include "widgets/sharp_picture_qt.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace plumix {

QString AboutBox::CreditLine()
{
    return QStringLiteral("\u00A9 2007 The Plumix developers");
}

QString AboutBox::VersionLine(const TextTable& texts)
{
    return FromUtf8(TextOf(texts, TextVersion)) + QLatin1Char(' ') + QStringLiteral(PLUMIX_VERSION);
}

AboutBox::AboutBox(Rgb text, Rgb back, const TextTable& texts, QWidget* owner) : QDialog(owner)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(FromUtf8(TextOf(texts, TextAboutTip)));
    setFixedSize(382, 133);
    PaintWithColors(*this, text, back);

    auto* icon = new QLabel(this);
    icon->setGeometry(16, 16, 48, 48);
    // Made for the screen of the window the box opens over.
    icon->setPixmap(SharpPicture::Load(QStringLiteral(":/widgets/about_icon.png"),
                                       QStringLiteral(":/widgets/about_icon@2x.png"), AnyScreenScaled())
                        .At(devicePixelRatio()));

    auto* title = new QLabel(this);
    title->setGeometry(70, 16, 259, 32);
    title->setTextFormat(Qt::PlainText);
    title->setText(QStringLiteral("Plumix\n") + CreditLine());
    title->setObjectName(QStringLiteral("title"));

    auto* version = new QLabel(this);
    version->setGeometry(70, 52, 259, 15);
    version->setTextFormat(Qt::PlainText);
    version->setText(VersionLine(texts));
    version->setObjectName(QStringLiteral("version"));

    // An etched separator: a dark line with a white one below it.
    auto* dark = new QFrame(this);
    dark->setGeometry(0, 83, 382, 1);
    dark->setStyleSheet(QStringLiteral("background: #808080"));
    auto* light = new QFrame(this);
    light->setGeometry(0, 84, 382, 1);
    light->setStyleSheet(QStringLiteral("background: #ffffff"));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(283, 95, 84, 23);
    ok->setDefault(true);
    ok->setAutoDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    // Esc closes a QDialog through reject(); Enter presses the default OK.
}

} // namespace plumix
