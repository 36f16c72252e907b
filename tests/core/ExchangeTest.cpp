// The exchange formats. Stakes out: the names in K notation, the CASS .dat
// and CSV lines written out by hand from the stakes' coordinates, and DXF
// read back by a minimal reader of group codes written here (pairs of a code
// line and a value line, entities from one "0" to the next). Traverse points
// in from CASS .dat and CSV files: the point lines they give (written out by
// hand), and the line a refused file is refused at.
#include <map>
#include <sstream>

#include "CoreFixture.h"
#include "core/files/PointImport.h"
#include "core/files/StakeExport.h"

namespace {

constexpr double kRight = kPi / 2;  // 90°

struct Entity {
    std::string type;
    std::multimap<int, std::string> codes;
    std::string Get(int code) const {
        auto it = codes.find(code);
        return it == codes.end() ? std::string() : it->second;
    }
    double X() const { return std::atof(Get(10).c_str()); }
    double Y() const { return std::atof(Get(20).c_str()); }
};

struct Drawing {
    std::map<std::string, std::string> header;  // $NAME → its first value
    std::vector<std::string> layers;
    std::vector<Entity> entities;
    bool endsWithEof = false;
};

std::string Trim(std::string s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == ' ')) s.pop_back();
    std::size_t a = s.find_first_not_of(' ');
    return a == std::string::npos ? std::string() : s.substr(a);
}

Drawing Read(const std::string& bytes) {
    std::istringstream in(bytes);
    std::vector<std::pair<int, std::string>> pairs;
    for (std::string code, value; std::getline(in, code) && std::getline(in, value);)
        pairs.emplace_back(std::atoi(Trim(code).c_str()), Trim(value));
    Drawing d;
    std::string section, var;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        auto [code, value] = pairs[i];
        if (code == 0 && value == "SECTION") section = pairs[++i].second;
        else if (code == 0 && value == "EOF") d.endsWithEof = i + 1 == pairs.size();
        else if (section == "HEADER" && code == 9) var = value;
        else if (section == "HEADER" && code != 0 && !var.empty()) d.header.emplace(var, value), var.clear();
        else if (section == "TABLES" && code == 0 && value == "LAYER") d.layers.push_back("");
        else if (section == "TABLES" && code == 2 && !d.layers.empty() && d.layers.back().empty()) d.layers.back() = value;
        else if (section == "ENTITIES" && code == 0 && value != "ENDSEC") d.entities.push_back({value, {}});
        else if (section == "ENTITIES" && code != 0 && !d.entities.empty()) d.entities.back().codes.emplace(code, value);
    }
    return d;
}

std::vector<const Entity*> On(const Drawing& d, const char* type, const char* layer) {
    std::vector<const Entity*> found;
    for (const Entity& e : d.entities)
        if (e.type == type && e.Get(8) == Gbk(layer)) found.push_back(&e);
    return found;
}

Alignment Demo() { return Alignment::Parse(DemoList()); }

}  // namespace

TEST(StakeName, StationToTheMillimetreThenSideAndOffset) {
    struct Case { double station, offset, deflection; const char* name; };
    const Case cases[] = {
        {999.9996, 0, kRight, "K1+000.000"},  // the station as the plan's K notation writes it
        {1234.5, 7.5, kRight, "K1+234.500R7.5"},
        {1234.5, -7.5, kRight, "K1+234.500L7.5"},
        {1234.5, 7.5, 3 * kRight, "K1+234.500L7.5"},   // deflected to 270°: the left side
        {1234.5, -7.25, -kRight, "K1+234.500R7.25"},
        {1234.5, 10, kRight, "K1+234.500R10"},
        {1234.5, 0.125, 0.5, "K1+234.500R0.125"},     // any deflection with a positive sine
        {1234.5, 5, 0, "K1+234.500" "5"},              // straight ahead: no side to name
    };
    for (const Case& c : cases) EXPECT_EQ(StakeName(c.station, c.offset, c.deflection), c.name) << c.station;
}

TEST(StakesOut, CassDatHasOneLinePerStakeEastBeforeNorthAndNoMessages) {
    ResultSet results;
    results.rows = {StakeRow(1000, 3805345.1754, 500688.6616), StakeRow(1020, -1.5, 2.0005)};
    StakeResult message;
    message.nMessage = 0;
    results.messages = {Gbk("控制数据中里程300.000或420.000处的线型和半径不相符！")};
    results.rows.insert(results.rows.begin() + 1, message);
    EXPECT_EQ(StakesCassDat(results),
              "K1+000.000,,500688.662,3805345.175,0.000\r\n"
              "K1+020.000,,2.001,-1.500,0.000\r\n");
    results.rows = {StakeRow(1000, 10, 20, -7.5), StakeRow(1020, -0.0004, -1e-9)};  // no "-0.000"
    EXPECT_EQ(StakesCassDat(results), "K1+000.000L7.5,,20.000,10.000,0.000\r\nK1+020.000,,0.000,0.000,0.000\r\n");
    EXPECT_EQ(StakesCassDat(ResultSet()), "");
}

TEST(StakesOut, CsvIsUtf8WithAMarkTheListsTitlesAndItsValues) {
    ResultSet results;
    StakeResult stake = StakeRow(1000, 3805345.1754, 500688.6616);
    stake.dAzimuth = 0.5;  // 28°38′52.4″
    stake.segment = LineType::Straight;
    StakeResult message;
    message.nMessage = results.AddMessage(Gbk("控制数据中里程300.000或420.000处的线型和半径不相符！"));
    results.rows = {stake, message};
    EXPECT_EQ(StakesCsv(results),
              "\xEF\xBB\xBF"
              "桩号,X坐标,Y坐标,切线方位角,说明\r\n"
              "1000.000,3805345.175,500688.662,28.3852,直线段\r\n"
              ",,,,控制数据中里程300.000或420.000处的线型和半径不相符！\r\n");
    results.mode = ResultMode::SettingOut;
    stake.dAngle = 1.5707963267948966;
    stake.dDistance = 50;
    stake.nSetup = results.AddSetup({Gbk("导,1"), CPlanePoint(), "B\"2", CPlanePoint(1, 1)});
    results.rows = {stake};
    EXPECT_EQ(StakesCsv(results),
              "\xEF\xBB\xBF"
              "桩号,水平角,平距,设站点,后视点\r\n"
              "1000.000,90.0000,50.000,\"导,1\",\"B\"\"2\"\r\n");
}

TEST(StakesDxf, R12InGbkWithStakesNamesAndTheCentrelineOnTheirLayers) {
    ResultSet results;
    results.rows = {StakeRow(0, 3805000, 500000), StakeRow(250, 3805100.25, 500200.5), StakeRow(500, 3805280, 500420)};
    StakeResult message;
    message.nMessage = results.AddMessage(Gbk("控制数据中里程300.000或420.000处的线型和半径不相符！"));
    results.rows.push_back(message);
    const Drawing d = Read(StakesDxf(results, Demo()));
    EXPECT_TRUE(d.endsWithEof);
    EXPECT_EQ(d.header.at("$ACADVER"), "AC1009");
    EXPECT_EQ(d.header.at("$DWGCODEPAGE"), "ANSI_936");
    for (const char* layer : {"中线", "中桩", "边桩", "桩号", "测站"})
        EXPECT_NE(std::find(d.layers.begin(), d.layers.end(), Gbk(layer)), d.layers.end()) << layer;

    std::vector<const Entity*> points = On(d, "POINT", "中桩"), names = On(d, "TEXT", "桩号");
    ASSERT_EQ(points.size(), 3u);  // the message row draws nothing
    ASSERT_EQ(names.size(), 3u);
    EXPECT_TRUE(On(d, "POINT", "边桩").empty() && On(d, "POINT", "测站").empty());
    EXPECT_DOUBLE_EQ(points[1]->X(), 500200.5);  // drawing x is east
    EXPECT_DOUBLE_EQ(points[1]->Y(), 3805100.25);
    EXPECT_EQ(names[1]->Get(1), "K0+250.000");
    EXPECT_DOUBLE_EQ(names[2]->X(), 500420);

    // The centreline from 0 to 500: a straight of 300 m, a clothoid of 120 m
    // from ∞ to 600 and 80 m of the arc of 600 (demo.vxa). On radii of 600
    // and more a chord of c departs from the arc by c²/(8·600) ≤ 0.01 m.
    ASSERT_EQ(On(d, "POLYLINE", "中线").size(), 1u);
    std::vector<CPlanePoint> v;  // drawing (x, y) back to (X north, Y east)
    for (const Entity* e : On(d, "VERTEX", "中线")) v.emplace_back(e->Y(), e->X());
    ASSERT_GT(v.size(), 20u);
    EXPECT_NEAR(v.front().Distance(CPlanePoint(3805000.000, 500000.000)), 0, 1e-6);
    EXPECT_NEAR(v[1].Distance(CPlanePoint(3805182.628, 500238.006)), 0, 0.001);  // the straight ends at 300
    double along = v[0].Distance(v[1]);
    for (std::size_t i = 2; i < v.size(); ++i) {
        double chord = v[i - 1].Distance(v[i]);
        EXPECT_LE(chord * chord / (8 * 600), 0.01) << i;
        along += chord;
    }
    EXPECT_NEAR(along, 500, 0.01);  // chords of a gentle curve: just short of its length

    // Reals as dxflib writes them: "%.16f" without trailing zeros, one decimal kept.
    const std::string bytes = StakesDxf(results, Demo());
    EXPECT_NE(bytes.find("\n 10\n500200.5\n 20\n3805100.25\n 30\n0.0\n"), std::string::npos);
    EXPECT_NE(bytes.find("\n 10\n500000.0\n 20\n3805000.0\n"), std::string::npos);
}

TEST(StakesDxf, SideStakesAndTheStationSetupInSettingOutMode) {
    ResultSet results;
    results.mode = ResultMode::SettingOut;
    results.rows = {StakeRow(100, 3805060, 500080, -7.5), StakeRow(120, 3805072, 500096, -7.5)};
    StationSetup setup{Gbk("导1"), CPlanePoint(3805050, 500100), Gbk("导2"), CPlanePoint(3805150, 500100)};
    results.AddSetup(setup);
    const Drawing d = Read(StakesDxf(results, Demo()));
    EXPECT_TRUE(On(d, "POINT", "中桩").empty());
    EXPECT_EQ(On(d, "POINT", "边桩").size(), 2u);
    EXPECT_EQ(On(d, "TEXT", "桩号")[0]->Get(1), "K0+100.000L7.5");
    std::vector<const Entity*> station = On(d, "POINT", "测站"), labels = On(d, "TEXT", "测站");
    ASSERT_EQ(station.size(), 2u);
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[0]->Get(1), Gbk("导1"));
    EXPECT_EQ(labels[1]->Get(1), Gbk("导2"));
    std::vector<const Entity*> line = On(d, "LINE", "测站");
    ASSERT_EQ(line.size(), 1u);
    EXPECT_DOUBLE_EQ(line[0]->X(), 500100);
    EXPECT_DOUBLE_EQ(line[0]->Y(), 3805050);
    EXPECT_DOUBLE_EQ(std::atof(line[0]->Get(21).c_str()), 3805150);
}

TEST(PointImport, DatTakesNorthAsXAndCsvTakesXThenY) {
    struct Case {
        PointFormat format;
        std::string bytes;
        std::vector<std::string> lines;  // UTF-8
    };
    const Case cases[] = {
        // name,code,east,north,height: X is the fourth field, Y the third.
        {PointFormat::CassDat, "K1,,500123.4567,3805000.1,12.5\r\nK2,ctl,500200,3805100\r\n\r\n",
         {"K1      3805000.100 500123.457", "K2      3805100.000 500200.000"}},
        {PointFormat::CassDat, Gbk("导1, ,1,2,0\n"), {"导1     2.000       1.000     "}},
        // A header row is skipped; quotes and blanks around fields go; a last line without an end counts.
        {PointFormat::Csv, "name,X,Y\r\n\"A\", 3805000.0 ,500000\r\nB,-1.5,2", {"A       3805000.000 500000.000", "B       -1.500      2.000     "}},
        // UTF-8 with its mark, as spreadsheets save it: the name becomes GBK.
        {PointFormat::Csv, "\xEF\xBB\xBF" "后视,1,2\r\n", {"后视    1.000       2.000     "}},
        {PointFormat::Csv, Gbk("后视,1,2\r\n"), {"后视    1.000       2.000     "}},  // GBK as Chinese Excel saves it
        {PointFormat::Csv, "", {}},
    };
    for (const Case& c : cases) {
        PointImport in = ImportPoints(c.bytes, c.format);
        EXPECT_EQ(in.strMessage, "") << c.bytes;
        std::vector<std::string> shown;
        for (const std::string& line : in.lines) shown.push_back(GbkToUtf8(line));
        EXPECT_EQ(shown, c.lines) << c.bytes;
    }
}

TEST(PointImport, ABadLineRefusesTheWholeFileAndIsNamed) {
    struct Case { PointFormat format; std::string bytes; std::string message; };
    const Case cases[] = {
        {PointFormat::CassDat, "A,,1,2,0\r\nB,,1\r\n", "第2行：应有4个用逗号分隔的字段"},
        {PointFormat::Csv, "A,1,2\nB,1\n", "第2行：应有3个用逗号分隔的字段"},
        {PointFormat::Csv, "A,1,2\n\nTOOLONGNAME,1,2\n", "第3行：点名为空、超过8个字节或含有GBK不能表示的字符"},
        {PointFormat::Csv, "A,1,2\n,1,2\n", "第2行：点名为空、超过8个字节或含有GBK不能表示的字符"},
        {PointFormat::Csv, "A,1,2\nB,1,2m\n", "第2行：坐标不是数字"},
        {PointFormat::Csv, "A,1,nan\n", "第1行：坐标不是数字"},
        {PointFormat::Csv, "A,1,1e400\n", "第1行：坐标不是数字"},
        {PointFormat::CassDat, "A,,1,x,0\n", "第1行：坐标不是数字"},  // a .dat has no header row
        {PointFormat::Csv, "A,1,1000000\n", "第1行：坐标超出了点文件的字段宽度（X最多12位，Y最多10位）"},
        {PointFormat::Csv, "A,123456789.5,1\n", "第1行：坐标超出了点文件的字段宽度（X最多12位，Y最多10位）"},
        {PointFormat::Csv, "\xEF\xBB\xBF" "\xF0\x9F\x98\x80,1,2\n", "第1行：点名为空、超过8个字节或含有GBK不能表示的字符"},
    };
    for (const Case& c : cases) {
        PointImport in = ImportPoints(c.bytes, c.format);
        EXPECT_EQ(in.strMessage, c.message) << c.bytes;
        EXPECT_TRUE(in.lines.empty()) << c.bytes;
    }
}
