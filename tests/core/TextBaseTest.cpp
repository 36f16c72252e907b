#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

#include "geometry/Gbk.h"
#include "geometry/TextFields.h"
#include "geometry/TextFile.h"
#include "geometry/Texts.h"

using namespace vexaline;

TEST(Gbk, FixedTextsConvertAndRoundTrip) {
    EXPECT_EQ(Gbk(text::kInfinity), std::string("\xA1\xDE"));
    EXPECT_EQ(Gbk(text::kCheckCaption).substr(8), std::string("\xA3\xA1"));
    EXPECT_EQ(Gbk(text::kControlHeader).size(), 58u);
    EXPECT_EQ(Gbk(text::kCoordinatesHeader).size(), 58u);
    EXPECT_EQ(Gbk(text::kSettingOutHeader).size(), 54u);
    EXPECT_EQ(Gbk(text::kPointHeader).size(), 30u);
    EXPECT_EQ(Gbk(text::kCadHeader).size(), 19u);
    EXPECT_EQ(GbkToUtf8(Gbk(text::kControlHeader)), text::kControlHeader);
}

TEST(Gbk, RefusesWhatGbkCannotHold) {
    std::string out = "old";
    EXPECT_FALSE(Utf8ToGbk("A\xF0\x9F\x98\x80", out));  // an emoji
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(Utf8ToGbk("\xFF", out));  // not UTF-8
    EXPECT_TRUE(Utf8ToGbk("", out));
    EXPECT_TRUE(out.empty());
}

TEST(Gbk, InvalidBytesStayVisibleOneForOne) {
    // A lone lead byte, a byte GBK never uses, then valid text.
    std::string shown = GbkToUtf8(std::string("\x81") + "1" + "\xFF" + Gbk("直"));
    EXPECT_EQ(shown, "\xEF\xBF\xBD" "1\xEF\xBF\xBD直");
}

TEST(TextFields, FieldCutsByBytesAndTrimsOnlyTrailingBlanks) {
    struct Case { std::string line; size_t offset, width; std::string want; };
    Case cases[] = {
        {"  12.5    X", 0, 8, "  12.5"},
        {"abc\t  ", 0, 10, "abc\t"},
        {"abc", 5, 3, ""},
        {"abcdef", 4, std::string::npos, "ef"},
        {"      ", 0, 6, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(Field(c.line, c.offset, c.width), c.want) << c.line;
}

TEST(TextFields, ReadDoubleFollowsScanf) {
    struct Case { const char* text; bool ok; double value; };
    Case cases[] = {
        {"  12.5abc", true, 12.5}, {"-3", true, -3}, {"", false, 0}, {"abc", false, 0},
        {".5", true, 0.5},         {"1e3x", true, 1000},
    };
    for (const Case& c : cases) {
        double v = -99;
        EXPECT_EQ(ReadDouble(c.text, v), c.ok) << c.text;
        EXPECT_EQ(v, c.ok ? c.value : -99) << c.text;
    }
    EXPECT_EQ(ReadDoubleOr0("x"), 0);
}

TEST(TextFields, FormatGrowsPastItsBuffer) {
    std::string big(1000, 'a');
    EXPECT_EQ(Format("%s|%.3lf", big.c_str(), 1.0), big + "|1.000");
}

class TextFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("vexaline-textfile-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override {
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
        std::filesystem::remove_all(dir);
    }
    std::filesystem::path dir;
};

TEST_F(TextFileTest, WriteReplacesWholeAndReadsBack) {
    std::string path = (dir / "a.vxa").string();
    std::string bytes("x\0y\r\n", 5);
    ASSERT_TRUE(WriteFileAtomically(path, bytes));
    ASSERT_TRUE(WriteFileAtomically(path, bytes + bytes));
    std::string back;
    ASSERT_EQ(ReadWholeFile(path, back), ReadStatus::Ok);
    EXPECT_EQ(back, bytes + bytes);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);  // no temporary left
}

TEST_F(TextFileTest, FailedWritesLeaveTheOldFileWhole) {
    std::string path = (dir / "a.txt").string();
    ASSERT_TRUE(WriteFileAtomically(path, "old"));
    if (::geteuid() != 0) {  // root writes into read-only folders anyway
        std::filesystem::permissions(dir, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        EXPECT_FALSE(WriteFileAtomically(path, "new"));
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
    }
    std::filesystem::create_directory(dir / "sub");
    EXPECT_FALSE(WriteFileAtomically((dir / "sub").string(), "new"));
    EXPECT_FALSE(WriteFileAtomically((dir / "missing" / "a.txt").string(), "new"));
    std::string back;
    ASSERT_EQ(ReadWholeFile(path, back), ReadStatus::Ok);
    EXPECT_EQ(back, "old");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "sub"));
}

TEST_F(TextFileTest, ReadTellsMissingFromUnreadable) {
    std::string bytes;
    EXPECT_EQ(ReadWholeFile((dir / "none").string(), bytes), ReadStatus::Missing);
    EXPECT_EQ(ReadWholeFile(dir.string(), bytes), ReadStatus::Unreadable);
}
