#include "window/skin_pictures_qt.h"

#include <QPixmap>

namespace plumix {

void LoadSkin(MainWindow& window, AppState& app)
{
    const std::vector<std::filesystem::path>& folders = app.folders.data;
    const SkinFileContents skin =
        ReadSkinFile(SkinFilePath(SkinRoot(folders, app.settings.skinFile), app.settings.skinFile));
    if (skin.status != SkinReadStatus::Missing) {
        TakeSkinColors(skin, app.skinColors, app.settings);
        for (const SkinPicture& picture : SkinPictures) {
            const std::filesystem::path path = FindSkinPicture(folders, skin.pictureFolder, picture.fileName);
            window.SetPicture(picture, QPixmap(QString::fromStdString(path.string())));
        }
    }
    // A missing skin keeps the pictures, but the settings' own colours apply.
    window.ApplyColors(app.settings);
}

} // namespace plumix
