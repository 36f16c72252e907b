#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>

#include "geometry/Gbk.h"
#include "geometry/TextFields.h"
#include "geometry/TextFile.h"
#include "geometry/Texts.h"
#include "results/ResultsExport.h"

using namespace vexaline;

namespace {

std::time_t LocalTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

const std::time_t kWhen = LocalTime(2026, 12, 5, 20, 42, 6);
const std::string kTitle = Gbk("工 程 名  a.txt") + "\r\n";
const std::string kDate = Gbk("计算日期：  2026年12月05日20时42分06秒") + "\r\n";

// A coordinate result line: station 12, X 14, Y 12, azimuth 10, remark 10.
std::string CoordinateLine(const char* station, const char* x, const char* y) {
    return Format("%-12s%-14s%-12s%-10s", station, x, y, "90.0000") + Gbk("直线段") + "    ";
}

}  // namespace

TEST(ResultsExport, ProposedNameAndDateLine) {
    EXPECT_EQ(ResultsFileName(0, 1000, 20, -7.5), "0.000-1000.000间20.000米偏-7.500米桩.txt");
    EXPECT_EQ(ComputedDateLine(kWhen) + "\r\n", kDate);
    std::string now = GbkToUtf8(ComputedDateLine(std::time(nullptr)));
    for (char& c : now) c = c >= '0' && c <= '9' ? 'd' : c;
    EXPECT_EQ(now, "计算日期：  dddd年dd月dd日dd时dd分dd秒");
}

TEST(ResultsExport, HeaderOnlyListGivesThreeLinesInEveryLayout) {
    struct Case { int mode, type; const char* header; };
    Case cases[] = {
        {0, 1, text::kCoordinatesHeader},
        {0, 2, text::kCadHeader},
        {1, 1, text::kSettingOutHeader},
        {1, 2, text::kSettingOutHeader},  // setting-out ignores the CAD type
    };
    std::vector<std::string> list = {"list header, never copied"};
    for (const Case& c : cases)
        EXPECT_EQ(ResultsFileBytes(list, c.mode, c.type, "a.txt", kWhen),
                  kTitle + kDate + Gbk(c.header) + "\r\n")
            << c.mode << " " << c.type;
}

TEST(ResultsExport, OrdinaryLayoutCopiesLinesAsTheyStand) {
    std::vector<std::string> list = {Gbk(text::kCoordinatesHeader), CoordinateLine("0.000", "1.000", "2.000"),
                                     Gbk(Format(text::kElementMismatch, 0.0, 100.0).c_str()),
                                     CoordinateLine("20.000", "3.000", "4.000")};
    std::string want = kTitle + kDate + Gbk(text::kCoordinatesHeader) + "\r\n";
    for (std::size_t i = 1; i < list.size(); ++i) want += list[i] + "\r\n";
    EXPECT_EQ(ResultsFileBytes(list, 0, 1, "a.txt", kWhen), want);

    std::vector<std::string> setting = {"h", "0.000       90.0000     12.500    S1        B1        "};
    EXPECT_EQ(ResultsFileBytes(setting, 1, 2, "a.txt", kWhen),
              kTitle + kDate + Gbk(text::kSettingOutHeader) + "\r\n" + setting[1] + "\r\n");
}

TEST(ResultsExport, CadLayoutReadsFixedPositions) {
    std::vector<std::string> list = {
        Gbk(text::kCoordinatesHeader),
        CoordinateLine("0.000", "12.5", "3.25"),
        CoordinateLine("20.000", "-3825123.4567", "-512345.6"),
        // A message in place of a stake is read at the same positions: X
        // starts inside a Chinese character, Y inside the second station.
        Gbk(Format(text::kElementMismatch, 10.0, 1234567.5).c_str()),
        "short",
    };
    EXPECT_EQ(ResultsFileBytes(list, 0, 2, "a.txt", kWhen),
              kTitle + kDate + Gbk(text::kCadHeader) + "\r\n" +
                  "12.500,3.250\r\n-3825123.457,-512345.600\r\n0.000,567.500\r\n0.000,0.000\r\n");
}

TEST(ResultsExport, NameGbkCannotHoldStillWritesTheFile) {
    std::string bytes = ResultsFileBytes({"h"}, 0, 1, "桩\xF0\x9F\x98\x80.txt", kWhen);
    EXPECT_EQ(bytes.substr(0, bytes.find("\r\n")), Gbk("工 程 名  桩?.txt"));
}

TEST(ResultsExport, WritesTheFileOrReportsFailure) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / "vexaline-export-test";
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::vector<std::string> list = {"h", CoordinateLine("0.000", "1.000", "2.000")};
    std::string path = (dir / "a.txt").string();
    ASSERT_TRUE(WriteResultsFile(path, list, 0, 2, "a.txt", kWhen));
    std::string bytes;
    ASSERT_EQ(ReadWholeFile(path, bytes), ReadStatus::Ok);
    EXPECT_EQ(bytes, ResultsFileBytes(list, 0, 2, "a.txt", kWhen));
    EXPECT_FALSE(WriteResultsFile((dir / "missing" / "a.txt").string(), list, 0, 1, "a.txt", kWhen));
    fs::remove_all(dir);
}
