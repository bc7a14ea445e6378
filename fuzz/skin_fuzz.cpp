// A skin file: any content gives a picture folder with '/' only and the
// colours it holds, taken as the settings say.
#include "harness.h"
#include "settings/skin.h"

using namespace plumix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const SkinFileContents skin = ParseSkin(fuzz::Bytes(data, size));
    fuzz::Require(skin.pictureFolder.find('\\') == std::string::npos, "a Windows folder is read with '/'");
    fuzz::Require(skin.status == SkinReadStatus::Ok || skin.status == SkinReadStatus::BadColors,
                  "a read file is never missing");
    fuzz::Require((skin.status == SkinReadStatus::Ok) == (skin.text && skin.back), "Ok means both colours");
    for (const std::string_view picture : SkinPictureFiles) {
        fuzz::Require(PicturePath(skin.pictureFolder, picture).ends_with(picture),
                      "a picture path ends with the picture's name");
    }
    SkinColors colors;
    Settings fromSkin, own{.colorsFromSkin = false};
    TakeSkinColors(skin, colors, fromSkin);
    TakeSkinColors(skin, colors, own);
    fuzz::Require(!skin.text || (colors.text == *skin.text && fromSkin.textColor == *skin.text),
                  "a whole text colour is taken");
    fuzz::Require(own.textColor == Settings{}.textColor && own.backColor == Settings{}.backColor,
                  "the player's own colours stay");
    return 0;
}
