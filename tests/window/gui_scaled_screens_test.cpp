// The main window on a screen the desktop scales (QT_SCALE_FACTOR holds for
// the whole process: CTest runs these tests at 2, 1.5 and 1.25), grabbed as
// the screen shows it and compared device pixel for device pixel.
#include "settings/skin.h"
#include "support/gui_player.h"
#include "widgets/button.h"
#include "window/board_widget.h"

#include <gtest/gtest.h>

namespace plumix {
namespace {

namespace fs = std::filesystem;

const fs::path Standard = fs::path(PLUMIX_ASSETS) / "Skins/Standart";

QImage Plain(QImage image)
{
    image = image.convertToFormat(QImage::Format_RGB32);
    image.setDevicePixelRatio(1);
    return image;
}

struct Screen : testing::GuiPlayer {
    qreal ratio = qApp->devicePixelRatio();
    QImage shot;

    QRect Device(QRect r) const
    {
        return QRectF(r.x() * ratio, r.y() * ratio, r.width() * ratio, r.height() * ratio).toRect();
    }
    // Look `look` of the `looks` stacked in a picture file, scaled smoothly on
    // its own to `logical` pixels of this screen (at its own size: as it is).
    QImage Expected(const fs::path& file, QRect logical, int looks = 1, int look = 0) const
    {
        const QImage picture = Plain(QImage(QString::fromStdString(file.string())));
        const int height = picture.height() / looks;
        const QImage part = picture.copy(0, look * height, picture.width(), height);
        const QSize device = Device(logical).size();
        return part.size() == device ? part : part.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    bool Shows(QRect logical, const fs::path& file, int looks = 1, int look = 0) const
    {
        return shot.copy(Device(logical)) == Expected(file, logical, looks, look);
    }
    void Grab() { shot = Plain(window->grab().toImage()); }

    // The skin's pictures with Block(1) to Block(10) in turn in every cell,
    // compared with `file(name)` of each of its fourteen files.
    void ExpectSkin(const std::function<fs::path(std::string_view)>& file)
    {
        LoadSkin();
        for (int i = 0; i < BoardCellCount + PreviewCellCount; ++i) {
            i < BoardCellCount ? window->Board().PaintBoardCell(i, i % 10 + 1)
                               : window->Board().PaintPreviewCell(i - BoardCellCount, i % 10 + 1);
        }
        window->MenuButton(5).SetCaption({});  // the picture alone
        Grab();
        for (int i = 0; i < BoardCellCount + PreviewCellCount; ++i) {
            const QRect cell = i < BoardCellCount ? BoardWidget::BoardCellRect(i)
                                                  : BoardWidget::PreviewCellRect(i - BoardCellCount);
            EXPECT_TRUE(Shows(cell, file(SkinPictureFiles[static_cast<std::size_t>(i % 10 + 1)]))) << "cell " << i;
        }
        const QRect margin(0, 40, 28, 600);  // background only, beside the well
        EXPECT_TRUE(shot.copy(Device(margin)) == Expected(file("background.jpg"), window->rect()).copy(Device(margin)));
        EXPECT_TRUE(Shows(window->CloseButton().geometry(), file("close.gif"), 2, 0));
        EXPECT_TRUE(Shows(window->MinimizeButton().geometry(), file("mini.gif"), 2, 0));
        EXPECT_TRUE(Shows(window->MenuButton(5).geometry(), file("button.gif"), 2, 0));
    }
};

// At 2 each picture is its @2x file itself, at 1.5 and 1.25 that file scaled
// down smoothly, the same in every cell: a seam, a cell edge between device
// pixels or a picture scaled up from the 1x one would each change some cell.
TEST(ScaledScreenGui, EveryPictureIsItsDoubledFileAndAPlayersOwnPictureIsNotReplacedByTheInstalledOnes)
{
    Screen s;
    ASSERT_GT(s.ratio, 1) << "run with QT_SCALE_FACTOR=2 or 1.5";
    // The player's copy of the installed skin changes one picture and has no @2x of it.
    const fs::path mine = s.folder / "Skins/Standart/block1.gif";
    fs::create_directories(mine.parent_path());
    fs::copy_file(Standard / "brick.gif", mine);
    s.app.folders.data.push_back(PLUMIX_ASSETS);
    s.ExpectSkin([&](std::string_view name) {
        return name == "block1.gif" ? mine : Standard / DoubledPictureName(name);
    });

    Button& menu = s.window->MenuButton(5);
    testing::SendMouse(&menu, QEvent::MouseButtonPress, {5, 5});
    s.Grab();
    EXPECT_TRUE(s.Shows(menu.geometry(), Standard / "button@2x.gif", 2, 1));
}

TEST(ScaledScreenGui, ASkinWithoutDoubledPicturesShowsEveryPictureScaledSmoothly)
{
    Screen s;
    const fs::path plain = s.folder / "Skins/Plain";
    fs::create_directories(plain);
    for (const std::string_view name : SkinPictureFiles) {
        fs::copy_file(Standard / name, plain / name);
    }
    // Doubled files that cannot be used count as none.
    fs::copy_file(plain / "block1.gif", plain / "grid@2x.gif");  // not twice the size
    testing::WriteFile(plain / "block2@2x.gif", "GIF89a, and no picture after it");
    testing::WriteFile(s.folder / "Skins/Plain.psk", "Plain\r\n1.4\r\n\r\nSkins/Plain\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n");
    s.app.settings.skinFile = "Plain.psk";
    s.ExpectSkin([&](std::string_view name) { return plain / name; });
}

} // namespace
} // namespace plumix
