#include <gtest/gtest.h>

#include <ctime>

#include "geometry/Gbk.h"
#include "geometry/TextFields.h"
#include "geometry/Texts.h"
#include "results/ResultsExport.h"

using namespace vexaline;

namespace {

std::time_t When() {  // 5 December 2026, 20:42:06 local time
    std::tm t{};
    t.tm_year = 126, t.tm_mon = 11, t.tm_mday = 5, t.tm_hour = 20, t.tm_min = 42, t.tm_sec = 6, t.tm_isdst = -1;
    return std::mktime(&t);
}

const std::string kTop = Gbk("工 程 名  a.txt\r\n计算日期：  2026年12月05日20时42分06秒\r\n");

// A coordinate result line: station 12, X 14, Y 12, azimuth 10, remark 10.
std::string Stake(const char* x, const char* y) {
    return Format("%-12s%-14s%-12s%-10s", "20.000", x, y, "90.0000") + Gbk("直线段") + "    ";
}

}  // namespace

TEST(ResultsExport, NameAndDateLine) {
    EXPECT_EQ(ResultsFileName(0, 1000, 20, -7.5), "0.000-1000.000间20.000米偏-7.500米桩.txt");
    std::string now = GbkToUtf8(ComputedDateLine(std::time(nullptr)));
    for (char& c : now) c = c >= '0' && c <= '9' ? 'd' : c;
    EXPECT_EQ(now, "计算日期：  dddd年dd月dd日dd时dd分dd秒");
    std::string line1 = ResultsFileBytes({"h"}, 0, 1, "桩\xF0\x9F\x98\x80.txt", When());
    EXPECT_EQ(line1.substr(0, line1.find('\r')), Gbk("工 程 名  桩?.txt"));  // no GBK form: "?"
}

TEST(ResultsExport, LayoutsByteForByte) {
    const std::string header = Gbk(text::kCoordinatesHeader);
    const std::string stake = Stake("12.5", "3.25"), wide = Stake("-3825123.4567", "-512345.6");
    // A message in place of a stake is read at the same positions: X starts
    // inside a Chinese character, Y inside the second station.
    const std::string message = Gbk(Format(text::kElementMismatch, 10.0, 1234567.5).c_str());
    const std::vector<std::string> list = {header, stake, wide, message};
    struct Case { int mode, type; std::vector<std::string> list; std::string body; };
    Case cases[] = {
        {0, 1, {header}, header + "\r\n"},
        {0, 2, {header}, Gbk(text::kCadHeader) + "\r\n"},
        {1, 2, {header}, Gbk(text::kSettingOutHeader) + "\r\n"},  // never CAD
        {0, 1, list, header + "\r\n" + stake + "\r\n" + wide + "\r\n" + message + "\r\n"},
        {0, 2, list, Gbk(text::kCadHeader) + "\r\n12.500,3.250\r\n-3825123.457,-512345.600\r\n0.000,567.500\r\n"},
        {1, 1, {header, "S"}, Gbk(text::kSettingOutHeader) + "\r\nS\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResultsFileBytes(c.list, c.mode, c.type, "a.txt", When()), kTop + c.body) << c.mode << c.type;
}
