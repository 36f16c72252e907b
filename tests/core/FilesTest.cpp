// GBK texts and fields, control lines, the alignment, point and results
// files, the sample files a newcomer opens first; and the rules the windows
// follow, without a window: opening or creating each kind of file,
// add-or-replace by station, and the station setup's rule.
#include <cmath>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "CoreFixture.h"
#include "core/files/OpenOrCreate.h"
#include "core/files/PointFile.h"
#include "core/files/ResultsExport.h"
#include "core/road/Alignment.h"
#include "core/road/ControlCheck.h"
#include "core/road/CheckText.h"
#include "core/road/ResultText.h"
#include "core/text/AngleText.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace fs = std::filesystem;

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

TEST(TextFields, ANumberAsTypedIsTheWholeFieldAndFinite) {
    struct Case { const char* text; std::optional<double> want; };
    const Case cases[] = {{" 12.5 ", 12.5}, {"+5", 5.0}, {"-0.25", -0.25}, {"1e3", 1000.0},
                          {"12abc", std::nullopt}, {"+-5", std::nullopt}, {"++5", std::nullopt},
                          {"1e400", std::nullopt}, {"nan", std::nullopt}, {"", std::nullopt}, {"1 2", std::nullopt}};
    for (const Case& c : cases) EXPECT_EQ(ParseNumber(c.text), c.want) << c.text;
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

// The sample files are whole records and points that read back byte for
// byte (their geometry is the control check's sample road).
TEST(Demo, TheSampleFilesAreWholeRecordsAndPointsThatReadBackByteForByte) {
    const std::string bytes = Example("demo.vxa"), points = Example("demo.vxp");
    const std::size_t records = AlignmentRecords(bytes).size();
    EXPECT_GE(records, 8u);
    EXPECT_EQ(bytes.size(), kAlignmentHeaderBytes + kAlignmentRecordBytes * records);
    const std::vector<std::string> traverse = ParsePointFile(points);
    ASSERT_GE(traverse.size(), 4u);
    EXPECT_TRUE(traverse[0] == PointHeader() && PointFileBytes(traverse) == points);
    for (std::size_t i = 1; i < traverse.size(); ++i) EXPECT_EQ(traverse[i].size(), kPointLineBytes);
}

namespace {

struct Asked {
    std::vector<std::pair<Question, std::string>> questions;
    bool create = true, replace = true;
    std::function<bool(Question, const std::string&)> Ask() {
        return [this](Question q, const std::string& name) {
            questions.emplace_back(q, name);
            return q == Question::Create ? create : replace;
        };
    }
};

std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

}  // namespace

TEST(OpenOrCreate, EachKindOpensAsksCreatesAndNeverEmptiesAFile) {
    const fs::path dir = fs::temp_directory_path() / ("vexaline-open-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "road.vxa", std::ios::binary) << "old road";
    std::ofstream(dir / "pts.vxp", std::ios::binary) << "old points";
    const std::string d = dir.string() + "/";
    struct Case {
        FileKind kind;
        std::string name;
        bool create, replace;
        OpenOutcome want;
        std::string path;                   // as opened or created
        std::vector<Question> questions;
    };
    using O = OpenOutcome;
    using Q = Question;
    const Case cases[] = {
        {FileKind::Alignment, "road.vxa", true, true, O::Opened, "road.vxa", {}},
        {FileKind::Alignment, "new", false, true, O::Cancelled, "new", {Q::Create}},
        {FileKind::Alignment, "road", true, false, O::Cancelled, "road.vxa", {Q::Create, Q::Replace}},  // kept whole
        {FileKind::Alignment, "fresh", true, true, O::Created, "fresh.vxa", {Q::Create}},
        {FileKind::PointFile, "pts", true, true, O::Opened, "pts.vxp", {}},  // read, not emptied
        {FileKind::PointFile, "none", false, true, O::Cancelled, "none.vxp", {Q::Create}},
        {FileKind::PointFile, "made", true, true, O::Created, "made.vxp", {Q::Create}},
        {FileKind::Alignment, "", true, true, O::Unreadable, "", {}},  // the folder itself
        // Typed with the extension, in any case: not given it twice.
        {FileKind::Alignment, "typed.vxa", true, true, O::Created, "typed.vxa", {Q::Create}},
        {FileKind::Alignment, "Upper.VXA", true, true, O::Created, "Upper.VXA", {Q::Create}},
        {FileKind::PointFile, "typed.vxp", true, true, O::Created, "typed.vxp", {Q::Create}},
        {FileKind::Alignment, "k1.5", true, true, O::Created, "k1.5.vxa", {Q::Create}},
    };
    for (const Case& c : cases) {
        Asked asked;
        asked.create = c.create, asked.replace = c.replace;
        const OpenedFile f = OpenOrCreate(c.kind, d + c.name, c.name, asked.Ask());
        EXPECT_EQ(f.outcome, c.want) << c.name;
        EXPECT_EQ(f.strPath, d + c.path) << c.name;
        std::vector<Question> questions;
        for (const auto& q : asked.questions) questions.push_back(q.first);
        EXPECT_EQ(questions, c.questions) << c.name;
    }
    EXPECT_EQ(Read(dir / "road.vxa"), "old road");
    EXPECT_EQ(Read(dir / "pts.vxp"), "old points");
    EXPECT_EQ(Read(dir / "fresh.vxa").size(), kAlignmentHeaderBytes);
    EXPECT_EQ(Read(dir / "made.vxp"), "");
    EXPECT_FALSE(fs::exists(dir / "new.vxa"));
    EXPECT_FALSE(fs::exists(dir / "none.vxp"));
    // Replacing an existing "road.vxa" when "road" was typed: asked by name, then written anew.
    Asked yes;
    const OpenedFile replaced = OpenOrCreate(FileKind::Alignment, d + "road", "road", yes.Ask());
    EXPECT_EQ(replaced.outcome, O::Created);
    EXPECT_EQ(yes.questions.back(), std::make_pair(Q::Replace, std::string("road.vxa")));
    EXPECT_EQ(Read(dir / "road.vxa").size(), kAlignmentHeaderBytes);
    if (::geteuid() != 0) {  // a folder that cannot be written: reported, nothing made
        fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(OpenOrCreate(FileKind::PointFile, d + "x", "x", yes.Ask()).outcome, O::CannotWrite);
        fs::permissions(dir, fs::perms::owner_all);
    }
    fs::remove_all(dir);
}

TEST(ControlRows, RefusedWhenEmptyOrTooWideAndPlacedByTheirStationText) {
    struct Case { ControlRow row; RowCheck::Kind kind; int field; };
    const Case cases[] = {
        {Row("100", "直线", "∞", "1", "2"), RowCheck::Ok, -1},
        {Row("", "直线", "∞", "1", "2"), RowCheck::Empty, -1},
        {Row("1234567890123", "", "∞", "1", "2"), RowCheck::Empty, -1},  // empty comes first
        {Row("100", "直线", "∞", "1234567890123", "2"), RowCheck::TooWide, kFieldX},
        {Row("100", "直线直线直线", "∞", "1", "2"), RowCheck::TooWide, kFieldLineType},  // 12 GBK bytes
    };
    for (const Case& c : cases) {
        const RowCheck check = CheckRow(c.row);
        EXPECT_TRUE(check.kind == c.kind && check.nField == c.field) << GbkToUtf8(c.row.strField[0]);
    }
    const std::vector<std::string> lines = {ControlHeaderLine(), BuildControlLine(Row("0", "直线", "∞", "0", "0")),
                                            BuildControlLine(Row("100", "终点", "∞", "0", "100"))};
    const RowPlace same = PlaceRow(lines, Row("100", "圆曲线", "300", "0", "100"));
    EXPECT_EQ(same.nReplace, 2);
    EXPECT_EQ(same.line, BuildControlLine(Row("100", "圆曲线", "300", "0", "100")));
    EXPECT_EQ(PlaceRow(lines, Row("100.0", "直线", "∞", "0", "0")).nReplace, -1);  // the text, not the number
    EXPECT_EQ(PlaceRow(lines, Row("50", "直线", "∞", "0", "0")).nReplace, -1);
}

TEST(StationSetup, StationAndBacksightMustDifferByNameAndByPlace) {
    struct Case { StationSetup setup; bool can; };
    const Case cases[] = {
        {{"D2", {1, 2}, "D3", {3, 4}}, true},
        {{"D2", {1, 2}, "D2", {3, 4}}, false},
        {{"D2", {1, 2}, "D3", {1, 2}}, false},
        {{"D2", {1, 2}, "D3", {1, 4}}, true},
        {{"", {0, 0}, "", {1, 1}}, false},
    };
    for (const Case& c : cases) EXPECT_EQ(CanOrient(c.setup), c.can) << c.setup.strStationName;
    // What no field can show is no coordinate: named, station first.
    const std::string far = Format(text::kPointNotACoordinate, "D9");
    struct Far { CPlanePoint station, backsight; std::string message; };
    const Far points[] = {
        {{99999999.999, -99999999.999}, {1, 2}, ""},
        {{1e8, 0}, {1, 2}, far}, {{0, -1e8}, {1, 2}, far}, {{1e308, 0}, {1, 2}, far}, {{NAN, 0}, {1, 2}, far},
        {{1, 2}, {0, INFINITY}, Format(text::kPointNotACoordinate, "D3")},
        {{1, 2}, {1, 2}, text::kSamePoints},
    };
    for (const Far& f : points)
        EXPECT_EQ(SetupMessage({"D9", f.station, "D3", f.backsight}), f.message) << f.station.X << " " << f.backsight.Y;
}

// An 8-digit easting fills its 12-byte column: one blank keeps it from the
// next field. Lines whose fields are all shorter keep every byte.
TEST(ResultText, AFieldThatFillsItsColumnIsFollowedByOneBlank) {
    ResultSet set;
    StakeResult a = StakeRow(20, 4500123.4567, 24525276.86789), b = StakeRow(1234.5, 3825123.4567, 512345.6);
    a.dAzimuth = b.dAzimuth = kPi / 2, a.segment = b.segment = LineType::Straight;
    set.rows = {a, b};
    EXPECT_EQ(ResultLine(set, 0), "20.000      4500123.457   24525276.868 90.0000   " + Gbk("直线段    "));
    EXPECT_EQ(ResultLine(set, 1), "1234.500    3825123.457   512345.600  90.0000   " + Gbk("直线段    "));
    ResultSet setting;
    setting.mode = ResultMode::SettingOut;
    StakeResult s;
    s.dStation = 5, s.dAngle = kPi, s.dDistance = 1234567.25, s.nSetup = setting.AddSetup({"S", {}, "B", {1, 0}});
    setting.rows = {s};
    EXPECT_EQ(ResultLine(setting, 0), "5.000       180.0000    1234567.250 S         B         ");
    // The check report's columns alike (stations 12 bytes wide).
    const std::vector<std::string> list = {ControlHeaderLine(), L("12345678.123|直线|∞|0|0"), L("12345778.123|终点|∞|100|0")};
    const Alignment road = Alignment::Parse(list);
    const std::vector<std::string> report = CheckReportLines(CheckControl(road), road.Rows(), {});
    ASSERT_EQ(report.size(), 3u);
    EXPECT_EQ(GbkToUtf8(report[2]), "  1     12345678.123 12345778.123 直线      0.0           0.0");
}
