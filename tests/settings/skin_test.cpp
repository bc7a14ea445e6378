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
    const SkinColors white{{255, 255, 255}, {0, 0, 128}};

    SkinColors skinColors;
    Settings fromSkin;
    TakeSkinColors(skin, skinColors, fromSkin);
    EXPECT_EQ(skinColors, white);
    EXPECT_EQ(fromSkin.textColor, white.text);
    EXPECT_EQ(fromSkin.backColor, white.back);

    Settings own;
    own.colorsFromSkin = 2;
    TakeSkinColors(skin, skinColors, own);
    EXPECT_EQ(own, (Settings{.colorsFromSkin = 2}));
}

TEST(Skin, MissingFileOrBadColoursKeepThePreviousColours)
{
    SkinColors skinColors{{9, 9, 9}, {8, 8, 8}};
    Settings settings;
    const SkinFileContents missing = ReadSkinFile(SkinFilePath(TestData, "NoSuch.psk"));
    EXPECT_EQ(missing.status, SkinReadStatus::Missing);
    TakeSkinColors(missing, skinColors, settings);
    EXPECT_EQ(skinColors, (SkinColors{{9, 9, 9}, {8, 8, 8}}));
    EXPECT_EQ(settings, Settings{});

    // 300 spoils the text colour; the back colour after it is still whole.
    const SkinFileContents bad = ParseSkin("Bad\r\n1.4\r\n\r\npics\r\n255\r\n300\r\n0\r\n1,2,3\r\n");
    EXPECT_EQ(bad.status, SkinReadStatus::BadColors);
    TakeSkinColors(bad, skinColors, settings);
    EXPECT_EQ(skinColors, (SkinColors{{9, 9, 9}, {1, 2, 3}}));
    EXPECT_EQ(settings.textColor, Settings{}.textColor);
    EXPECT_EQ(settings.backColor, (Rgb{1, 2, 3}));
}

TEST(Skin, OnlyVersion14SkinsAreOffered)
{
    const auto skins = ListSkins(TestData / SkinsFolder);
    ASSERT_EQ(skins.size(), 1u);
    EXPECT_EQ(skins[0].displayName, "Comma skin");
    EXPECT_EQ(skins[0].fileName, "Comma.psk");
}

TEST(Skin, ShippedSkinsHaveAllFourteenPictures)
{
    const std::filesystem::path assets = PLUMIX_ASSETS;
    const auto skins = ListSkins(assets / SkinsFolder);
    ASSERT_FALSE(skins.empty());
    for (const OfferedFile& offered : skins) {
        const SkinFileContents skin = ReadSkinFile(SkinFilePath(assets, offered.fileName));
        EXPECT_EQ(skin.status, SkinReadStatus::Ok) << offered.fileName;
        for (const SkinPicture& picture : SkinPictures) {
            EXPECT_TRUE(std::filesystem::is_regular_file(assets / PicturePath(skin.pictureFolder, picture.fileName)))
                << offered.fileName << ": " << picture.fileName;
        }
    }
}

} // namespace
} // namespace plumix
