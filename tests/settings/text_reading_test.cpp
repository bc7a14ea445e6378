#include "settings/file_io.h"
#include "settings/list_input.h"
#include "settings/text_codec.h"
#include "settings/scratch_folder.h"

#include <gtest/gtest.h>

#include <limits>
#include <sys/stat.h>

namespace plumix {
namespace {

TEST(ListInput, NumbersEndAtBlankCommaOrLineEndAndNeverOverflow)
{
    EXPECT_EQ(ParseListNumber("  42"), 42);
    EXPECT_EQ(ParseListNumber("7,8"), 7);
    EXPECT_EQ(ParseListNumber("-5 "), -5);
    EXPECT_EQ(ParseListNumber("\t9 and the rest of the line"), 9);
    EXPECT_EQ(ParseListNumber("-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
    for (const std::string& field : std::vector<std::string>{"", "  ", "abc", "12abc", "1.5", "-", ", 5",
                                                             "9223372036854775808", std::string(100000, '9')}) {
        EXPECT_FALSE(ParseListNumber(field)) << field.substr(0, 30);
    }
    EXPECT_EQ(ParseListNumberAs<std::uint8_t>("255"), 255);
    EXPECT_FALSE(ParseListNumberAs<std::uint8_t>("256"));
    EXPECT_FALSE(ParseListNumberAs<std::uint8_t>("-1"));
    EXPECT_FALSE(ParseListNumberAs<std::int32_t>("2147483648"));
    EXPECT_EQ(FormatListNumber(1250), " 1250 ");
    EXPECT_EQ(FormatListNumber(-5), "-5 ");
}

TEST(ListInput, ReaderStaysOnALineOnlyAfterAComma)
{
    ListReader reader("255, 255,255\r\n0 0 128\r\n501,Load skin, again\r\n502\r\nLoad hi\r\nx, 5\r\n6\r\n100,");
    for (const int expected : {255, 255, 255, 0}) {  // the 0 ended at a blank: "0 128" is passed over
        EXPECT_EQ(reader.ReadNumber(), expected);
    }
    EXPECT_EQ(reader.ReadNumber(), 501);
    EXPECT_EQ(reader.ReadLine(), "Load skin, again");
    EXPECT_EQ(reader.ReadNumber(), 502);
    EXPECT_EQ(reader.ReadLine(), "Load hi");
    EXPECT_FALSE(reader.ReadNumber());  // a bad field takes its whole line, the 5 too
    EXPECT_EQ(reader.ReadNumber(), 6);
    EXPECT_EQ(reader.ReadNumber(), 100);
    EXPECT_FALSE(reader.AtEnd());
    EXPECT_EQ(reader.ReadLine(), "");
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_FALSE(reader.ReadNumber());
}

TEST(TextCodec, Windows1251RoundTripsEveryByteAndMarksWhatItCannotHold)
{
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(all)), all);
    EXPECT_EQ(Cp1251ToUtf8("\xCF\xF0\xE8\xE2\xE5\xF2 \xA8\xB8 \xB9 \x88"), "Привет Ёё № €");
    EXPECT_EQ(Utf8ToCp1251("日本 ok ä"), "?? ok ?");
    EXPECT_EQ(Utf8ToCp1251("\xC0\xAF.\xC3"), "??.?");  // overlong, then cut off
}

TEST(TextCodec, TextFilesAreUtf8WhenTheyCanBeAndWindows1251Otherwise)
{
    EXPECT_TRUE(IsValidUtf8("plain, €, 😀"));
    for (const char* broken : {"\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82", "\x80"}) {
        EXPECT_FALSE(IsValidUtf8(broken));
    }
    EXPECT_EQ(DecodeTextFile("\xEF\xBB\xBFРусский\r\n1.4"), "Русский\r\n1.4");
    EXPECT_EQ(DecodeTextFile("\xD0\xF3\xF1\xF1\xEA\xE8\xE9"), "Русский");
    EXPECT_EQ(DecodeTextFile("\xEF\xBB\xBFok\xFF"), "ok\uFFFD");  // a byte order mark means UTF-8
}

TEST(TextCodec, LinesEndAtLfWithOrWithoutCr)
{
    LineReader lines("a\r\nb\nc\rd\r\n\r\ne\r");
    std::vector<std::string_view> got;
    while (auto line = lines.Next()) {
        got.push_back(*line);
    }
    EXPECT_EQ(got, (std::vector<std::string_view>{"a", "b", "c\rd", "", "e"}));
    EXPECT_FALSE(LineReader("").Next());
}

TEST(FileIo, ReadsAreBoundedAndNeverWaitOnAPipe)
{
    testing::ScratchFolder folder;
    testing::WriteFile(folder / "ten", "0123456789");
    EXPECT_EQ(ReadFileBytes(folder / "ten", 4), "0123");
    EXPECT_FALSE(ReadFileBytes(folder / "missing"));
    EXPECT_FALSE(ReadFileBytes(folder.Path()));
    ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
    EXPECT_FALSE(ReadFileBytes(folder / "pipe"));  // a pipe without a writer would block forever
    EXPECT_FALSE(EnsureWritableFile(folder / "pipe"));
}

} // namespace
} // namespace plumix
