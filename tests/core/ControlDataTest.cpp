#include <gtest/gtest.h>

#include <ctime>

#include "controldata/AlignmentFile.h"
#include "controldata/ControlLine.h"
#include "geometry/Gbk.h"
#include "geometry/Texts.h"

using namespace vexaline;

namespace {

ControlRow Row(const char* station, const char* type, const char* radius, const char* x, const char* y) {
    ControlRow row;
    const char* utf8[kControlFieldCount] = {station, type, radius, x, y};
    for (int i = 0; i < kControlFieldCount; ++i) row.strField[i] = Gbk(utf8[i]);
    return row;
}

}  // namespace

TEST(ControlLine, HeaderAndNewFileTitlesAreBothFullLinesButDiffer) {
    EXPECT_EQ(ControlHeaderLine().size(), 58u);
    EXPECT_EQ(NewFileTitleLine().size(), 58u);
    EXPECT_NE(ControlHeaderLine(), NewFileTitleLine());
    EXPECT_EQ(NewFileTitleLine(), Gbk("  里  程    " " 线型     " " 半径       " "  X 坐 标   " "  Y 坐 标   "));
}

TEST(ControlLine, BuildsTheFiftyEightByteLineOfTheExample) {
    std::string line = BuildControlLine(Row("1000", "直线", "∞", "3825.123", "512.456"));
    EXPECT_EQ(line, Gbk("1000        直线      ∞          3825.123    512.456     "));
    EXPECT_EQ(line.size(), 58u);
}

TEST(ControlLine, OverflowNamesTheFirstFieldWiderThanItsColumn) {
    struct Case {
        ControlRow row;
        int expected;
    };
    const Case cases[] = {
        {Row("123456789012", "缓和曲线", "-123456.7890", "123456789.01", "12345678.012"), -1},  // all exactly full
        {Row("1234567890123", "直线", "∞", "1", "2"), kFieldStation},
        {Row("里程里程里程里", "直线", "∞", "1", "2"), kFieldStation},  // 7 Chinese characters: 14 bytes
        {Row("里程里程里程", "直线", "∞", "1", "2"), -1},               // 6 of them: 12 bytes fit
        {Row("1", "缓和曲线缓和", "∞", "1", "2"), kFieldLineType},
        {Row("1", "直线", "∞∞∞∞∞∞∞", "1", "2"), kFieldRadius},
        {Row("1", "直线", "∞", "1234567890123", "2"), kFieldX},
        {Row("1", "直线", "∞", "1", "1234567890123"), kFieldY},
        {Row("1234567890123", "直线", "∞", "1", "1234567890123"), kFieldStation},  // the first one counts
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OverflowingField(c.row), c.expected) << GbkToUtf8(BuildControlLine(c.row));
        if (c.expected < 0) {
            EXPECT_EQ(BuildControlLine(c.row).size(), 58u);
        }
    }
}

TEST(ControlLine, SplitTrimsOnlyTrailingBlanksAndSurvivesShortLines) {
    std::string line = BuildControlLine(Row(" 100", "圆曲线", "-300", "1\t", "2"));
    ControlRow row = SplitControlLine(line);
    EXPECT_EQ(row.strField[kFieldStation], " 100");
    EXPECT_EQ(row.strField[kFieldLineType], Gbk("圆曲线"));
    EXPECT_EQ(row.strField[kFieldRadius], "-300");
    EXPECT_EQ(row.strField[kFieldX], "1\t");
    EXPECT_EQ(row.strField[kFieldY], "2");

    // A record read from a damaged file may be anything; nothing must overrun.
    ControlRow cut = SplitControlLine("100         ");
    EXPECT_EQ(cut.strField[kFieldStation], "100");
    EXPECT_EQ(cut.strField[kFieldY], "");
}

TEST(ControlLine, FindStationComparesPaddedKeysByteForByte) {
    std::vector<std::string> lines = {
        ControlHeaderLine(),
        BuildControlLine(Row("100", "直线", "∞", "1", "2")),
        BuildControlLine(Row("200", "直线", "∞", "1", "2")),
        BuildControlLine(Row("100", "终点", "∞", "3", "4")),
    };
    EXPECT_EQ(FindStation(lines, "100"), 1);  // the first of two
    EXPECT_EQ(FindStation(lines, "200"), 2);
    EXPECT_EQ(FindStation(lines, "100.0"), -1);
    EXPECT_EQ(FindStation(lines, " 100"), -1);
    EXPECT_EQ(FindStation(lines, "10"), -1);
    EXPECT_EQ(FindStation(lines, StationKey(lines[0])), -1);  // the header is no record
    EXPECT_EQ(FindStation({ControlHeaderLine()}, "100"), -1);
}

TEST(AlignmentFile, TimeStampIsTwentyFourBytesWithEnglishMonths) {
    struct Case {
        int year, month, day, hour, minute, second;
        const char* expected;
    };
    const Case cases[] = {
        {2025, 0, 6, 23, 26, 5, " - 06 Jan 25 23:26:05 - "},
        {2000, 11, 31, 0, 0, 0, " - 31 Dec 00 00:00:00 - "},
        {2009, 4, 1, 9, 8, 7, " - 01 May 09 09:08:07 - "},
        {2099, 8, 15, 12, 59, 60, " - 15 Sep 99 12:59:60 - "},  // a leap second
    };
    for (const Case& c : cases) {
        std::tm t{};
        t.tm_year = c.year - 1900;
        t.tm_mon = c.month;
        t.tm_mday = c.day;
        t.tm_hour = c.hour;
        t.tm_min = c.minute;
        t.tm_sec = c.second;
        EXPECT_EQ(TimeStamp(t), c.expected);
    }
    EXPECT_EQ(TimeStampNow().size(), 24u);
}

TEST(AlignmentFile, RecordsKeepEveryByteAndSkipTheLineEndsUnseen) {
    // Bytes that are not GBK, and line ends that are not CR LF, pass untouched.
    std::string odd(58, '\xFF');
    odd[0] = '\x81';
    odd[57] = '\0';
    std::string bytes = std::string(94, '#') + odd + "XY" + std::string(58, 'a') + "\n\n";
    std::vector<std::string> lines = AlignmentRecords(bytes);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], odd);
    EXPECT_EQ(lines[1], std::string(58, 'a'));
}
