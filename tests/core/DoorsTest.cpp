// What the doors of the program decide before anything is written: which
// file type a typed name asks for, and which road results came from.
#include "CoreFixture.h"
#include "core/files/FileType.h"
#include "core/files/ResultsExport.h"
#include "core/files/StakeExport.h"

TEST(FileType, ATypedExtensionPicksItsTypeAndAContradictionIsAskedAbout) {
    // The results' save dialog: 普通格式, CAD 格式, DXF, CASS, CSV; the proposal ends in .txt.
    const std::vector<std::string> kinds = {"txt", "txt", "dxf", "dat", "csv"};
    struct Case { const char* name; int chosen; int type; bool ask, replace; };
    const Case cases[] = {
        {"a.txt", 1, 1, false, false},
        {"a.txt", 2, 2, false, false},     // both text types end in .txt
        {"big.dxf", 1, 3, false, false},   // type 1 left selected: the name decides
        {"big.DXF", 1, 3, false, false},
        {"big.csv", 4, 5, true, false},    // CASS chosen, CSV typed: asked
        {"big.dxf", 2, 3, true, false},
        {"a.txt", 4, 4, false, true},      // the proposal kept: CASS, as .dat
        {"a.dat", 4, 4, false, false},
        {"a", 3, 3, false, false},         // no extension: the chosen type
        {"k1.5", 1, 1, false, false},      // an extension of no type
        {"dir.dxf/a", 1, 1, false, false}, // a dot in the folder is no extension
    };
    for (const Case& c : cases) {
        const NamedType t = TypeOfName(c.name, c.chosen, kinds, "txt");
        EXPECT_EQ(t.nType, c.type) << c.name << " " << c.chosen;
        EXPECT_EQ(t.bAsk, c.ask) << c.name << " " << c.chosen;
        EXPECT_EQ(t.bReplaceExtension, c.replace) << c.name << " " << c.chosen;
    }
    // Without a proposal a .txt under another chosen type is a contradiction too.
    EXPECT_TRUE(TypeOfName("a.txt", 4, kinds).bAsk);
    EXPECT_EQ(WithExtension("/d.x/road", "vxa"), "/d.x/road.vxa");
    EXPECT_EQ(WithExtension("/d/road.XML", "vxa"), "/d/road.vxa");
    EXPECT_TRUE(HasExtension("NEW.VxA", "vxa"));
    EXPECT_FALSE(HasExtension("newvxa", "vxa"));
}

TEST(ResultSource, RowsKnowTheirRoadAndTheHeadersNameItAndWhen) {
    const std::vector<std::string> road = DemoList();
    std::tm t{};  // 5 December 2026, 20:42:06 local time
    t.tm_year = 126, t.tm_mon = 11, t.tm_mday = 5, t.tm_hour = 20, t.tm_min = 42, t.tm_sec = 6, t.tm_isdst = -1;
    ResultSet set;
    StakeResult stake;
    stake.dStation = 20, stake.point = {12.5, 3.25}, stake.segment = LineType::Straight;
    set.rows = {stake};
    EXPECT_FALSE(Stale(set, road));  // no source known
    set.source = ResultSource{"demo.vxa", road, std::mktime(&t), {}, {}};
    std::vector<std::string> changed = road;
    changed[3][0] = '9';
    std::vector<std::string> shorter(road.begin(), road.end() - 1);
    EXPECT_FALSE(Stale(set, road));
    EXPECT_TRUE(Stale(set, changed));
    EXPECT_TRUE(Stale(set, shorter));
    EXPECT_FALSE(Stale(ResultSet{}, changed));  // nothing to be stale

    // A stake added later keeps the source the list began with.
    ResultSet more;
    more.rows = {stake};
    more.source = ResultSource{"other.vxa", changed, 0, {}, {}};
    set.Append(std::move(more));
    EXPECT_EQ(set.source->strFile, "demo.vxa");
    ResultSet fresh;
    fresh.Append(std::move(set));
    ASSERT_TRUE(fresh.source);
    EXPECT_EQ(fresh.source->controlList, road);

    // The report's date line: when the rows were computed, then the road; the
    // time of writing only for rows of no known source.
    const std::string report = ResultsFileBytes(fresh, ResultsLayout::Cad, "a.txt", 0);
    EXPECT_EQ(report.substr(0, report.find("\r\nX")),
              Gbk("工 程 名  a.txt\r\n计算日期：  2026年12月05日20时42分06秒  定线文件：demo.vxa"));
    fresh.source->strFile = "桩\xF0\x9F\x98\x80.vxa";  // no GBK form: "?"
    EXPECT_NE(ResultsFileBytes(fresh, ResultsLayout::Ordinary, "a.txt", 0).find(Gbk("定线文件：桩?.vxa\r\n")),
              std::string::npos);
    fresh.source->strFile = "demo.vxa";
    const std::string csv = std::string("\xEF\xBB\xBF") + "定线文件,demo.vxa,计算日期,2026年12月05日20时42分06秒\r\n桩号,X坐标,";
    EXPECT_EQ(StakesCsv(fresh).substr(0, csv.size()), csv);
}
