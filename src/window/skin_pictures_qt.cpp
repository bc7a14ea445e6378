#include "window/skin_pictures_qt.h"

#include "widgets/sharp_picture_qt.h"
#include "window/main_window.h"

namespace plumix {

void LoadSkin(MainWindow& window, AppState& app)
{
    const std::vector<std::filesystem::path>& folders = app.folders.data;
    const SkinFileContents skin = ReadSkinFile(folders, app.settings.skinFile);
    if (skin.status != SkinReadStatus::Missing) {
        TakeSkinColors(skin, app.skinColors, app.settings);
        const bool withDoubled = AnyScreenScaled();
        for (std::size_t i = 0; i < SkinPictures.size(); ++i) {
            const SkinPictureFile file = FindSkinPicture(folders, skin.pictureFolder, SkinPictureFiles[i]);
            window.SetPicture(SkinPictures[i], SharpPicture::Load(QString::fromStdString(file.normal.string()),
                                                                  QString::fromStdString(file.doubled.string()),
                                                                  withDoubled));
        }
    }
    // A missing skin keeps the pictures, but the settings' own colours apply.
    window.ApplyColors(app.settings);
}

} // namespace plumix
