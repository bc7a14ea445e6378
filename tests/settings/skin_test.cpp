#include "settings/skin.h"

#include <gtest/gtest.h>

namespace plumix {
namespace {

const std::filesystem::path TestData = PLUMIX_TEST_DATA;

TEST(Skin, ColoursOnCommaSeparatedLinesAndAWindowsFolder)
{
    const SkinFileContents skin = ReadSkinFile(SkinFilePath(TestData, "Comma.psk"));
    EXPECT_EQ(skin.status, SkinReadStatus::Ok);
    EXPECT_EQ(skin.pictureFolder, "Skins/Comma/pictures");
    EXPECT_EQ(skin.text, (Rgb{255, 255, 255}));
    EXPECT_EQ(skin.back, (Rgb{0, 0, 128}));

    SkinColors skinColors;
    Settings fromSkin;
    TakeSkinColors(skin, skinColors, fromSkin);
    EXPECT_EQ(fromSkin.textColor, (Rgb{255, 255, 255}));
    EXPECT_EQ(fromSkin.backColor, (Rgb{0, 0, 128}));

    Settings own;
    own.colorsFromSkin = 2;
    own.textColor = {1, 2, 3};
    SkinColors kept;
    TakeSkinColors(skin, kept, own);
    EXPECT_EQ(own.textColor, (Rgb{1, 2, 3}));
    EXPECT_EQ(own.backColor, Settings{}.backColor);
    EXPECT_EQ(kept, (SkinColors{{255, 255, 255}, {0, 0, 128}}));
}

TEST(Skin, MissingFileOrBadColoursKeepThePreviousColours)
{
    const SkinFileContents missing = ReadSkinFile(SkinFilePath(TestData, "NoSuch.psk"));
    EXPECT_EQ(missing.status, SkinReadStatus::Missing);
    SkinColors skinColors{{9, 9, 9}, {8, 8, 8}};
    Settings settings;
    TakeSkinColors(missing, skinColors, settings);
    EXPECT_EQ(skinColors, (SkinColors{{9, 9, 9}, {8, 8, 8}}));
    EXPECT_EQ(settings, Settings{});

    // 300 spoils the text colour; the back colour after it is still whole.
    const SkinFileContents bad = ParseSkin("Bad\r\n1.4\r\n\r\npics\r\n255\r\n300\r\n0\r\n1,2,3\r\n");
    EXPECT_EQ(bad.status, SkinReadStatus::BadColors);
    EXPECT_EQ(bad.pictureFolder, "pics");
    TakeSkinColors(bad, skinColors, settings);
    EXPECT_EQ(skinColors, (SkinColors{{9, 9, 9}, {1, 2, 3}}));
    EXPECT_EQ(settings.textColor, Settings{}.textColor);
    EXPECT_EQ(settings.backColor, (Rgb{1, 2, 3}));

    EXPECT_EQ(ParseSkin("Short\r\n1.4\r\n").status, SkinReadStatus::BadColors);
}

TEST(Skin, FourteenPicturesInLoadOrder)
{
    ASSERT_EQ(SkinPictures.size(), 14u);
    EXPECT_EQ(SkinPictures.front().fileName, "background.jpg");
    EXPECT_EQ(SkinPictures.front().holder, PictureHolder::Background);
    for (int i = 1; i <= 10; ++i) {
        EXPECT_EQ(SkinPictures[static_cast<std::size_t>(i)].holder, PictureHolder::Block);
        EXPECT_EQ(SkinPictures[static_cast<std::size_t>(i)].blockIndex, i);
    }
    EXPECT_EQ(SkinPictures[10].fileName, "grid.gif");
    EXPECT_EQ(SkinPictures[11].holder, PictureHolder::CloseButton);
    EXPECT_EQ(SkinPictures[12].holder, PictureHolder::MinimizeButton);
    EXPECT_EQ(SkinPictures[13].fileName, "button.gif");
    EXPECT_EQ(SkinPictures[13].holder, PictureHolder::MenuButtons);
    EXPECT_EQ(PicturePath("Skins/Standart", "block1.gif"), "Skins/Standart/block1.gif");
}

TEST(Skin, OnlyVersion14SkinsAreOffered)
{
    const auto skins = ListSkins(TestData / SkinsFolder);
    ASSERT_EQ(skins.size(), 1u);
    EXPECT_EQ(skins[0].displayName, "Comma skin");
    EXPECT_EQ(skins[0].fileName, "Comma.psk");
}

TEST(Skin, ShippedSkinsAreCompleteAndOffered)
{
    const std::filesystem::path assets = PLUMIX_ASSETS;
    const auto skins = ListSkins(assets / SkinsFolder);
    ASSERT_FALSE(skins.empty());
    for (const OfferedFile& offered : skins) {
        SCOPED_TRACE(offered.fileName);
        const SkinFileContents skin = ReadSkinFile(SkinFilePath(assets, offered.fileName));
        EXPECT_EQ(skin.status, SkinReadStatus::Ok);
        for (const SkinPicture& picture : SkinPictures) {
            EXPECT_TRUE(std::filesystem::is_regular_file(assets / PicturePath(skin.pictureFolder, picture.fileName)))
                << picture.fileName;
        }
    }
}

} // namespace
} // namespace plumix
