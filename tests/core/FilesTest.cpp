// GBK texts and fields, control lines, the alignment, point and results
// files, and the sample files a newcomer opens first.
#include <gtest/gtest.h>

#include <cmath>
#include <ctime>

#include "core/files/AlignmentFile.h"
#include "core/text/ControlLine.h"
#include "core/text/AngleText.h"
#include "core/road/Alignment.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/files/TextFile.h"
#include "core/text/Texts.h"
#include "core/files/ResultsExport.h"
#include "core/files/PointFile.h"

using namespace vexaline;

namespace {

ControlRow Row(const char* station, const char* type, const char* radius, const char* x, const char* y) {
    ControlRow row;
    const char* utf8[kControlFieldCount] = {station, type, radius, x, y};
    for (int i = 0; i < kControlFieldCount; ++i) row.strField[i] = Gbk(utf8[i]);
    return row;
}

}  // namespace

TEST(Texts, GbkRefusesWhatItCannotHoldAndShowsBadBytes) {
    std::string out = "old";
    EXPECT_TRUE(!Utf8ToGbk("A\xF0\x9F\x98\x80", out) && out.empty());  // an emoji has no GBK form
    EXPECT_FALSE(Utf8ToGbk("\xFF", out));  // not UTF-8
    // A lone lead byte and a byte GBK never uses stay visible, one for one.
    EXPECT_EQ(GbkToUtf8("\x81" "1\xFF" + Gbk("直")), "\xEF\xBF\xBD" "1\xEF\xBF\xBD直");
    EXPECT_EQ(PadRight("12345678901234", 12), "12345678901234");  // fills, never cuts
    std::string big(1000, 'a');
    EXPECT_EQ(Format("%s|%.3lf", big.c_str(), 1.0), big + "|1.000");  // grows past its buffer
}

TEST(ControlLine, BuildSplitFindAndTheFirstOverflowingField) {
    EXPECT_EQ(BuildControlLine(Row("1000", "直线", "∞", "3825.123", "512.456")),
              Gbk("1000        直线      ∞          3825.123    512.456     "));
    EXPECT_EQ(NewFileTitleLine(), Gbk("  里  程     线型      半径         X 坐 标     Y 坐 标   "));
    EXPECT_TRUE(ControlHeaderLine().size() == 58 && ControlHeaderLine() != NewFileTitleLine());
    struct Case { ControlRow row; int expected; };
    const Case cases[] = {
        {Row("123456789012", "缓和曲线", "-123456.7890", "123456789.01", "12345678.012"), -1},  // all just full
        {Row("里程里程里程里", "直线", "∞", "1", "2"), kFieldStation},  // 14 bytes
        {Row("里程里程里程", "直线", "∞", "1", "2"), -1},
        {Row("1", "缓和曲线缓和", "∞", "1", "2"), kFieldLineType},
        {Row("1", "直线", "∞∞∞∞∞∞∞", "1", "2"), kFieldRadius},
        {Row("1", "直线", "∞", "1234567890123", "2"), kFieldX},
        {Row("1234567890123", "直线", "∞", "1", "1234567890123"), kFieldStation},  // the first one counts
        {Row("1", "直线", "∞", "1", "1234567890123"), kFieldY},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OverflowingField(c.row), c.expected) << GbkToUtf8(BuildControlLine(c.row));
        EXPECT_TRUE(c.expected >= 0 || BuildControlLine(c.row).size() == 58u);
    }
    ControlRow row = SplitControlLine(BuildControlLine(Row(" 100", "圆曲线", "-300", "1\t", "2")));
    EXPECT_TRUE(row.strField[kFieldStation] == " 100" && row.strField[kFieldX] == "1\t");
    EXPECT_EQ(SplitControlLine("100         ").strField[kFieldY], "");  // a short record overruns nothing
    std::vector<std::string> lines = {ControlHeaderLine(), BuildControlLine(Row("100", "直线", "∞", "1", "2")),
                                      BuildControlLine(Row("100", "终点", "∞", "3", "4"))};
    EXPECT_EQ(FindStation(lines, "100"), 1);  // the first of two, compared byte for byte
    for (const char* key : {"100.0", " 100", "10"}) EXPECT_EQ(FindStation(lines, key), -1) << key;
    EXPECT_EQ(FindStation(lines, StationKey(lines[0])), -1);  // the header is no record
}

TEST(AlignmentFile, TimeStampRecordsAndTheRoundTrip) {
    std::tm t{};
    t.tm_year = 125, t.tm_mon = 0, t.tm_mday = 6, t.tm_hour = 23, t.tm_min = 26, t.tm_sec = 5;
    EXPECT_EQ(TimeStamp(t), " - 06 Jan 25 23:26:05 - ");
    t.tm_year = 100, t.tm_mon = 11, t.tm_mday = 31, t.tm_hour = 0, t.tm_min = 0, t.tm_sec = 60;
    EXPECT_EQ(TimeStamp(t), " - 31 Dec 00 00:00:60 - ");
    // 58-byte records every 60 bytes after a 94-byte head; every byte kept,
    // the two between records skipped unseen, a record without them dropped.
    std::string odd(58, '\xFF'), a(58, 'a');
    odd[0] = '\x81', odd[57] = '\0';
    std::string bytes = std::string(94, '#') + odd + "XY" + a + "\n\n";
    EXPECT_EQ(AlignmentRecords(bytes), (std::vector<std::string>{odd, a}));
    EXPECT_EQ(AlignmentRecords(bytes.substr(0, 94 + 60 + 59)), std::vector<std::string>{odd});
    std::string saved = SavedAlignmentFile({ControlHeaderLine(), odd, a}, TimeStampNow());
    EXPECT_EQ(saved.size(), 94u + 2 * 60);
    EXPECT_EQ(AlignmentRecords(saved), (std::vector<std::string>{odd, a}));
}

TEST(PointFile, LinesOfThirtyBytesAndEveryLineEnd) {
    struct Case { std::string name; double x, y; std::string line; };  // line empty: refused
    const Case cases[] = {
        {"A", 3825123.4567, 512345.6, "A       3825123.457 512345.600"},
        {Gbk("导线四号"), -1234567.89, -99999.9, Gbk("导线四号") + "-1234567.890-99999.900"},
        {"P", -12345678.9, 0, ""},  // the sign makes X 13 bytes
        {"P", 0, 999999.9996, ""},  // rounds up to 11 bytes
        {"P", std::nan(""), 0, ""},
        {"ABCDEFGHI", 0, 0, ""},
    };
    for (const Case& c : cases) {
        std::string line;
        EXPECT_EQ(MakePointLine(c.name, c.x, c.y, line), !c.line.empty()) << c.x << " " << c.y;
        EXPECT_EQ(line, c.line);
        PointRecord p = SplitPointLine(line);
        EXPECT_TRUE(c.line.empty() || (p.strName == c.name && std::fabs(p.dX - c.x) < 5e-4 && p.dY == c.y));
    }
    PointRecord p = SplitPointLine("Q       abc         12345678.5xyz");  // Y runs to the end; no number: 0
    EXPECT_TRUE(p.dX == 0 && p.dY == 12345678.5);
    const std::string h = PointHeader(), a = "A       1.000       2.000     ", b = "B";
    struct File { std::string bytes; std::vector<std::string> lines; };
    const File files[] = {
        {h + "\r\n" + a + "\r\n" + b + "\r\n", {h, a, b}},
        {h + "\r\r\n" + a + "\r\r\n" + b, {h, a, b}},  // CR CR LF, nothing after the last
        {h + "\r\n\r\n" + a + "\r\n", {h, "", a}},
        {"", {h}},
        {a + "\r\n" + b + "\r\n", {h, a, b}},  // the header put back
    };
    for (const File& f : files) EXPECT_EQ(ParsePointFile(f.bytes), f.lines) << f.bytes;
    EXPECT_EQ(PointFileBytes({h, a + "tail", b}), h + "\r\n" + a + "\r\n" + b + "\r\n");
}

TEST(ResultsExport, NameDateLineAndLayoutsByteForByte) {
    EXPECT_EQ(ResultsFileName(0, 1000, 20, -7.5), "0.000-1000.000间20.000米偏-7.500米桩.txt");
    std::string now = GbkToUtf8(ComputedDateLine(std::time(nullptr)));
    for (char& c : now) c = c >= '0' && c <= '9' ? 'd' : c;
    EXPECT_EQ(now, "计算日期：  dddd年dd月dd日dd时dd分dd秒");
    std::tm t{};  // 5 December 2026, 20:42:06 local time
    t.tm_year = 126, t.tm_mon = 11, t.tm_mday = 5, t.tm_hour = 20, t.tm_min = 42, t.tm_sec = 6, t.tm_isdst = -1;
    const std::time_t when = std::mktime(&t);
    const std::string top = Gbk("工 程 名  a.txt\r\n计算日期：  2026年12月05日20时42分06秒\r\n");
    std::string named = ResultsFileBytes(ResultSet{}, ResultsLayout::Ordinary, "桩\xF0\x9F\x98\x80.txt", when);
    EXPECT_EQ(named.substr(0, named.find('\r')), Gbk("工 程 名  桩?.txt"));  // no GBK form: "?"
    const std::string header = Gbk(text::kCoordinatesHeader), setOut = Gbk(text::kSettingOutHeader);
    ResultSet set;
    StakeResult a, b, message;
    a.dStation = b.dStation = 20, a.dAzimuth = b.dAzimuth = kPi / 2, a.segment = b.segment = LineType::Straight;
    a.point = {12.5, 3.25}, b.point = {-3825123.4567, -512345.6};
    message.nMessage = set.AddMessage(Gbk(Format(text::kElementMismatch, 10.0, 1234567.5).c_str()));
    set.rows = {a, b, message};
    auto stake = [](const char* x, const char* y) {
        return Format("%-12s%-14s%-12s%-10s", "20.000", x, y, "90.0000") + Gbk("直线段") + "    ";
    };
    const std::string lines = stake("12.500", "3.250") + "\r\n" + stake("-3825123.457", "-512345.600") + "\r\n" +
                              set.messages[0] + "\r\n";
    ResultSet setting;
    setting.mode = ResultMode::SettingOut;
    StakeResult s1;
    s1.dStation = 5, s1.dAngle = kPi, s1.dDistance = 12.25, s1.nSetup = setting.AddSetup({"S", {}, "B", {1, 0}});
    setting.rows = {s1};
    const std::string settingLine = "5.000       180.0000    12.250    S         B         ";
    const ResultSet empty;
    struct Case { const ResultSet& set; ResultsLayout layout; std::string body; };
    const Case cases[] = {
        {empty, ResultsLayout::Ordinary, header + "\r\n"},
        {setting, ResultsLayout::Cad, setOut + "\r\n" + settingLine + "\r\n"},  // never CAD
        {set, ResultsLayout::Ordinary, header + "\r\n" + lines},
        {set, ResultsLayout::Cad, Gbk(text::kCadHeader) + "\r\n12.500,3.250\r\n-3825123.457,-512345.600\r\n0.000,0.000\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResultsFileBytes(c.set, c.layout, "a.txt", when), top + c.body) << static_cast<int>(c.layout);
}

// The sample files must agree with the geometry, or the walkthrough lies.
TEST(Demo, ElementsMeetTheirChangePointsAndPointsReadBackWhole) {
    std::string bytes, points;
    const std::string dir = std::string(VEXALINE_SOURCE_DIR) + "/examples/";
    ASSERT_EQ(ReadWholeFile(dir + "demo.vxa", bytes), ReadStatus::Ok);
    std::vector<std::string> lines = AlignmentRecords(bytes);
    ASSERT_GE(lines.size(), 8u);
    EXPECT_EQ(bytes.size(), kAlignmentHeaderBytes + kAlignmentRecordBytes * lines.size());
    lines.insert(lines.begin(), ControlHeaderLine());
    const Alignment road = Alignment::Parse(lines);
    ASSERT_EQ(road.Elements().size(), lines.size() - 2);
    for (std::size_t i = 0; i < road.Elements().size(); ++i) {
        const Element& e = road.Elements()[i];
        ASSERT_EQ(e.fault, ElementFault::None) << i;
        for (std::size_t end : {i, i + 1}) {  // both ends on their change points to the millimetre
            const ChangePoint& row = road.Rows()[end];
            const Stake p = road.At(i, *row.station, 0, 0);
            EXPECT_TRUE(std::fabs(p.point.X - *row.x) < 1e-3 && std::fabs(p.point.Y - *row.y) < 1e-3) << i;
        }
        if (i + 1 < road.Elements().size()) {  // and each leaves in the direction the next one starts
            const double at = e.dEndStation;
            const double out = road.At(i, at, 0, 0).dAzimuth, in = road.At(i + 1, at, 0, 0).dAzimuth;
            EXPECT_NEAR(std::remainder(out - in, 2 * M_PI), 0, 2e-5) << "at " << at;
        }
    }
    ASSERT_EQ(ReadWholeFile(dir + "demo.vxp", points), ReadStatus::Ok);
    std::vector<std::string> traverse = ParsePointFile(points);
    ASSERT_GE(traverse.size(), 4u);
    EXPECT_TRUE(traverse[0] == PointHeader() && PointFileBytes(traverse) == points);
    for (std::size_t i = 1; i < traverse.size(); ++i) EXPECT_EQ(traverse[i].size(), kPointLineBytes);
}
