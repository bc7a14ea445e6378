#include "window/skin_pictures_qt.h"

#include "window/main_window.h"

#include <QPixmap>

namespace plumix {

void LoadSkin(MainWindow& window, AppState& app)
{
    const std::vector<std::filesystem::path>& folders = app.folders.data;
    const SkinFileContents skin = ReadSkinFile(folders, app.settings.skinFile);
    if (skin.status != SkinReadStatus::Missing) {
        TakeSkinColors(skin, app.skinColors, app.settings);
        for (std::size_t i = 0; i < SkinPictures.size(); ++i) {
            const std::filesystem::path path = FindSkinPicture(folders, skin.pictureFolder, SkinPictureFiles[i]);
            window.SetPicture(SkinPictures[i], QPixmap(QString::fromStdString(path.string())));
        }
    }
    // A missing skin keeps the pictures, but the settings' own colours apply.
    window.ApplyColors(app.settings);
}

} // namespace plumix
