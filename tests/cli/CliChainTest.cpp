// --equations and chainage: the sample road renumbered by station
// equations (examples/chain.vxa, .vxd) stakes the sample road's points
// under their 桩号; 桩号 that name no place or several are refused.
#include "CliFixture.h"

namespace {

class CliChain : public Cli {};

const std::string kChainRoad = std::string(VEXALINE_SOURCE_DIR) + "/examples/chain.vxa";
const std::string kChainTable = std::string(VEXALINE_SOURCE_DIR) + "/examples/chain.vxd";
const std::string kWith = kChainRoad + " --equations " + kChainTable;

// The X and Y columns of a list line.
std::string Point(const std::string& line) { return line.substr(12, 26); }

}  // namespace

// 桩号 by hand: 短链 150 = 170 on the first line, 长链 370 = 360 in the
// transition, 短链 510 = 555.5 in the arc; 430 is distance 420, 365(2)
// distance 355, 1000 distance 944.5.
TEST_F(CliChain, StakesByTheirStationsLieWhereTheSampleRoadHasThem) {
    const Outcome chained = Run("stakes " + kWith + " --at 'K0+430,365(2),1000,365.000(1)'");
    ASSERT_EQ(chained.status, 0) << chained.err;
    const Outcome plain = Run("stakes " + kDemo + " --at 420,355,944.5,345");
    ASSERT_EQ(plain.status, 0) << plain.err;
    const char* names[] = {"430.000", "365.000(2)", "1000.000", "365.000(1)"};
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(Point(Line(chained.out, i)), Point(Line(plain.out, i))) << i;
        EXPECT_EQ(Line(chained.out, i).substr(0, Line(chained.out, i).find(' ')), names[i - 1]);
    }
    const Outcome cass = Run("stakes " + kWith + " --from 0 --to K2+175.5 --interval 100 --offset 5 --format cass");
    ASSERT_EQ(cass.status, 0) << cass.err;
    EXPECT_EQ(Line(cass.out, 2), Line(Run("stakes " + kDemo + " --at 150 --offset 5 --format cass").out, 0)
                                     .replace(0, 10, "K0+150.000=K0+170.000"));
    EXPECT_NE(cass.out.find("K0+370.000=K0+360.000(2)R5,,"), std::string::npos) << cass.out;
    EXPECT_NE(cass.out.find("K0+555.500R5,,"), std::string::npos);  // the 短链's ahead, once
    EXPECT_EQ(cass.out.find("K0+500.000R5,,"), cass.out.rfind("K0+500.000R5,,"));
    EXPECT_NE(cass.out.find("K2+100.000R5,,"), std::string::npos);
}

TEST_F(CliChain, StationsThatNameNoPlaceOrSeveralAreRefusedByName) {
    struct Case {
        std::string args;
        int status;
        const char* says;
    } cases[] = {
        {"--at 365", 1, "桩号365在长链内出现2次（连续里程345.000、355.000）"},
        {"--at 160", 1, "桩号160不在路线上"},
        {"--at '365(3)'", 1, "只出现2次"},
        {"--at K2+200", 1, "桩号K2+200不在路线上"},
        {"--from 100 --to 160 --interval 10", 1, "桩号160不在路线上"},
        {"--at K0+abc", 2, "“K0+abc”不是桩号"},
    };
    for (const Case& c : cases) {
        const Outcome o = Run("stakes " + kWith + " " + c.args);
        EXPECT_EQ(o.status, c.status) << c.args << o.err;
        EXPECT_NE(o.err.find(c.says), std::string::npos) << c.args << o.err;
        EXPECT_TRUE(o.out.empty()) << c.args;
    }
    const std::string late = Write("late.vxd", "断链前桩号,断链后桩号\r\n100,110\r\n2500,2510\r\n");
    const Outcome o = Run("stakes " + kChainRoad + " --equations " + late + " --at 10");
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("断链表第3行的断链在路线终点之后"), std::string::npos) << o.err;
    EXPECT_EQ(Run("stakes " + kChainRoad + " --equations " + Path("none.vxd") + " --at 10").status, 2);
}

TEST_F(CliChain, TheCheckReadsTheRowsAsStations) {
    const Outcome clean = Run("check " + kWith);
    EXPECT_EQ(clean.status, 0) << clean.out;
    EXPECT_NE(Line(clean.out, 3).find("320"), std::string::npos) << clean.out;  // the row's 桩号, as typed
    EXPECT_EQ(Run("check " + kChainRoad).status, 1);  // read as distances the rows miss their points
    const std::string off = Write("off.vxa", DemoWith("300         ", "160         "));
    const Outcome o = Run("check " + off + " --equations " + kChainTable + " --json");
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(json::parse(o.out)["elements"][1]["problems"].dump().find("第 2 行桩号不在路线的任何断链区段内"),
              std::string::npos)
        << o.out;
}

TEST_F(CliChain, LookupGivesTheStationItsDistanceAndOccurrence) {
    // The demo's stake at distance 355 on the centreline: 桩号 365, second time.
    const Outcome stake = Run("stakes " + kDemo + " --at 355 --format csv");
    const std::string row = Line(stake.out, 2);
    const std::string x = row.substr(row.find(',') + 1, 11), y = row.substr(row.find(',') + 13, 10);
    Outcome o = Run("lookup " + kWith + " " + x + " " + y + " --json");
    ASSERT_EQ(o.status, 0) << o.err;
    const json a = json::parse(o.out);
    EXPECT_EQ(a["station"], 365.0);
    EXPECT_EQ(a["distance"], 355.0);
    EXPECT_EQ(a["occurrence"], 2);
    EXPECT_EQ(a["station_text"], "365.000(2)");
    o = Run("lookup " + kWith + " 3805252.436 500335.547 --json");
    EXPECT_EQ(json::parse(o.out)["occurrence"], nullptr);
    EXPECT_EQ(json::parse(o.out)["station"], 430.0);
    // Without equations the answer is as it was: no distance, no occurrence.
    EXPECT_FALSE(json::parse(Run("lookup " + kDemo + " 3805252.436 500335.547 --json").out).contains("distance"));
}

TEST_F(CliChain, ChainageConvertsBothWaysAndRefusesAsTheOtherCommands) {
    Outcome o = Run("chainage " + kChainTable + " --at 'K0+100,365(1),365(2),K0+555.5,K2+175.5' --json");
    ASSERT_EQ(o.status, 0) << o.err;
    const json expected = json::parse(
        R"({"stations":[{"station":100.0,"occurrence":null,"distance":100.0},)"
        R"({"station":365.0,"occurrence":1,"distance":345.0},{"station":365.0,"occurrence":2,"distance":355.0},)"
        R"({"station":555.5,"occurrence":null,"distance":500.0},{"station":2175.5,"occurrence":null,"distance":2120.0}]})");
    EXPECT_EQ(json::parse(o.out), expected);
    o = Run("chainage " + kChainTable + " --distance 150,350,352.5,2120");
    EXPECT_EQ(o.out, "170.000 K0+170.000 150.000\n360.000(2) K0+360.000(2) 350.000\n"
                     "362.500(2) K0+362.500(2) 352.500\n2175.500 K2+175.500 2120.000\n");
    EXPECT_EQ(Run("chainage " + kChainTable + " --at 160").status, 1);
    EXPECT_EQ(Run("chainage " + kChainTable + " --at 365").status, 1);
    EXPECT_EQ(Run("chainage " + kChainTable).status, 2);
    EXPECT_EQ(Run("chainage " + kChainTable + " --at 1,2 --distance 3").status, 2);
    EXPECT_EQ(Run("chainage " + kChainTable + " --at 1x").status, 2);
    EXPECT_EQ(Run("chainage " + Path("none.vxd") + " --at 1").status, 2);
    EXPECT_EQ(Run("chainage " + Write("h.vxd", "桩号,高程\r\n") + " --at 1").status, 2);
    const std::string swapped = Write("s.vxd", "断链前桩号,断链后桩号\r\n500,510\r\n300,310\r\n");
    o = Run("chainage " + swapped + " --at 1");
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("断链表第3行的断链在上一行断链之前"), std::string::npos) << o.err;
}

TEST_F(CliChain, LandXmlCarriesTheEquationsOutAndBack) {
    const std::string xml = Path("c.xml"), vxa = Path("back.vxa");
    Outcome o = Run("convert " + kWith + " " + xml);
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_NE(Bytes(xml).find("<StaEquation staBack=\"370.000000\" staAhead=\"360.000000\" staInternal=\"350.000000\" />"),
              std::string::npos);
    o = Run("convert " + xml + " " + vxa);
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(Bytes(Path("back.vxd")),
              "\xEF\xBB\xBF断链前桩号,断链后桩号\r\n150.000,170.000\r\n370.000,360.000\r\n510.000,555.500\r\n");
    const Outcome back = Run("stakes " + vxa + " --equations " + Path("back.vxd") + " --from 0 --to 2175.5 --interval 50");
    const Outcome direct = Run("stakes " + kWith + " --from 0 --to 2175.5 --interval 50");
    ASSERT_EQ(back.status, 0) << back.err;
    EXPECT_EQ(back.out, direct.out);
    // An equation whose own distance the table contradicts is refused, nothing written.
    std::string bad = Bytes(xml);
    bad.replace(bad.find("staInternal=\"350.000000\""), 24, "staInternal=\"360.000000\"");
    o = Run("convert " + Write("bad.xml", bad) + " " + Path("bad.vxa"));
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("第2个断链（StaEquation）的staInternal为360.000，而按断链表应为350.000"), std::string::npos) << o.err;
    EXPECT_FALSE(fs::exists(Path("bad.vxa")) || fs::exists(Path("bad.vxd")));
}

// A 长链 of 20 m across the first curve: the rows and curve table in 桩号,
// 20 m short of the continuous ones past it, and the written road checks.
TEST_F(CliChain, TheIntersectionPointMethodWritesStations) {
    const std::string table = Table("t.csv", "QD,0,0,,,\r\nJD1,100,0,50,10,10\r\nZD,100,100,,,\r\n");
    const std::string eq = Write("t.vxd", "断链前桩号,断链后桩号\r\nK1+060,K1+040\r\n");
    const std::string vxa = Path("t.vxa"), report = Path("curves.csv");
    Outcome o = Run("pi " + table + " --start-station K1+000 --equations " + eq + " -o " + vxa + " --report " + report +
                    " --json");
    ASSERT_EQ(o.status, 0) << o.err;
    const json plain = json::parse(Run("pi " + table + " --start-station 1000 -o " + Path("p.vxa") + " --json").out);
    const json chained = json::parse(o.out);
    EXPECT_EQ(chained["curves"][0]["ZH"], plain["curves"][0]["ZH"]);  // before the equation
    EXPECT_DOUBLE_EQ(chained["curves"][0]["HZ"].get<double>(), plain["curves"][0]["HZ"].get<double>() - 20);
    // Each 桩号's occurrence beside it, as lookup gives one; none without equations.
    const json occurrences = {chained["curves"][0]["ZH_occurrence"], chained["curves"][0]["HY_occurrence"],
                              chained["curves"][0]["QZ_occurrence"], chained["curves"][0]["HZ_occurrence"]};
    EXPECT_EQ(occurrences, json::parse("[1,1,null,null]"));
    EXPECT_FALSE(plain["curves"][0].contains("ZH_occurrence"));
    EXPECT_NE(Bytes(report).find("K1+044.918(1),K1+054.918(1),K1+069.188,"), std::string::npos) << Bytes(report);
    EXPECT_NE(Bytes(vxa).find("1044.918(1) "), std::string::npos);
    EXPECT_EQ(Run("check " + vxa + " --equations " + eq).status, 0);
    EXPECT_EQ(Run("pi " + table + " --start-station K0+800 --equations " + eq + " -o " + Path("x.vxa")).status, 1);
}

TEST_F(CliChain, TheVerticalAlignmentIsTypedInStations) {
    const std::string vxz = Write("c.vxz", "变坡点,桩号,高程,竖曲线半径\r\n起点,0,120,\r\nSJD1,K0+360(2),125,3000\r\n终点,K2+175.5,127,\r\n");
    Outcome o = Run("profile " + vxz + " --equations " + kChainTable + " --at '360(2),K0+170' --json");
    ASSERT_EQ(o.status, 0) << o.err;
    // The grade point lies at distance 350 (125.000 less the curve's external).
    const json a = json::parse(o.out)["stations"];
    EXPECT_EQ(a[0]["distance"], 350.0);
    EXPECT_EQ(a[0]["occurrence"], 2);
    EXPECT_EQ(a[1]["elevation"], 120 + 5.0 / 350 * 150);
    o = Run("profile " + vxz + " --equations " + kChainTable);
    EXPECT_NE(o.out.find("SJD1,K0+360.000(2),125.000"), std::string::npos) << o.out;
    const std::string off = Write("off.vxz", "变坡点,桩号,高程,竖曲线半径\r\n起点,0,120,\r\n终点,160,127,\r\n");
    o = Run("profile " + off + " --equations " + kChainTable);
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("纵断面第3行：桩号160不在路线上"), std::string::npos) << o.err;
}

// SJD1 at 360(2) (distance 350) with R = 1000 between grades 5/350 and
// 2/1770: T = 500·|i2 − i1| = 6.578, the curve from distance 343.422 (桩号
// 363.422, the first time) to 356.578 (桩号 366.578, the second).
TEST_F(CliChain, TheVerticalCurveTableInJsonGivesEachStationsOccurrence) {
    const std::string vxz = Write("o.vxz", "变坡点,桩号,高程,竖曲线半径\r\n起点,0,120,\r\nSJD1,K0+360(2),125,1000\r\n终点,K2+175.5,127,\r\n");
    const Outcome o = Run("profile " + vxz + " --equations " + kChainTable + " --json");
    ASSERT_EQ(o.status, 0) << o.err;
    const json sjd = json::parse(o.out)["points"][1];
    EXPECT_EQ(sjd["station"], 360.0);
    EXPECT_EQ(sjd["occurrence"], 2);
    EXPECT_NEAR(sjd["start"].get<double>(), 363.422, 5e-4);
    EXPECT_EQ(sjd["start_occurrence"], 1);
    EXPECT_NEAR(sjd["end"].get<double>(), 366.578, 5e-4);
    EXPECT_EQ(sjd["end_occurrence"], 2);
    const json first = json::parse(o.out)["points"][0];
    EXPECT_EQ(first["occurrence"], nullptr);
    EXPECT_EQ(first["start_occurrence"], nullptr);
    // Without equations the answer is as it was: no occurrences.
    const std::string plain = Write("p.vxz", "变坡点,桩号,高程,竖曲线半径\r\n起点,0,120,\r\nSJD1,350,125,1000\r\n终点,2120,127,\r\n");
    EXPECT_EQ(Run("profile " + plain + " --json").out.find("occurrence"), std::string::npos);
}

// The table cannot be written (its name is a folder): neither file is, and
// a road already there stays whole.
TEST_F(CliChain, ARoadWhoseTableCannotBeWrittenWritesNothing) {
    const std::string xml = Path("w.xml"), vxa = Path("w.vxa");
    ASSERT_EQ(Run("convert " + kWith + " " + xml).status, 0);
    Write("w.vxa", "old road");
    fs::create_directory(Path("w.vxd"));
    for (const std::string& run : {"convert " + xml + " " + vxa,
                                   "pi " + Table("t.csv", "QD,0,0,,,\r\nJD1,100,0,50,10,10\r\nZD,100,100,,,\r\n") +
                                       " --start-station K1+000 --equations " +
                                       Write("t.vxd", "断链前桩号,断链后桩号\r\nK1+060,K1+040\r\n") + " -o " + vxa}) {
        const Outcome o = Run(run);
        EXPECT_EQ(o.status, 1) << run;
        EXPECT_NE(o.err.find("w.vxd"), std::string::npos) << o.err;
        EXPECT_EQ(Bytes(vxa), "old road") << run;
        EXPECT_TRUE(fs::is_directory(Path("w.vxd")));
    }
}

// By hand on chain.vxd: a run counts its 桩号 from the start as typed, an
// equation's back too (150 = 170: 175, 200, …; 370 = 360(2): 370(2), 395,
// …), and keeps its end where the distances of the 桩号 differ in the last
// bit (1011.379 … 1081.379 lies in the last stretch, shifted by −55.5).
TEST_F(CliChain, ARunStakesTheStationsTypedPlusWholeIntervals) {
    struct Case {
        const char* range;
        std::vector<std::string> stations;
    } cases[] = {
        {"--from 150 --to 260 --interval 25", {"170.000", "175.000", "200.000", "225.000", "250.000"}},
        {"--from '370(1)' --to 430 --interval 25", {"360.000(2)", "370.000(2)", "395.000", "420.000"}},
        {"--from K0+170 --to 260 --interval 25", {"170.000", "195.000", "220.000", "245.000"}},
        {"--from 1011.379 --to 1081.379 --interval 10",
         {"1011.379", "1021.379", "1031.379", "1041.379", "1051.379", "1061.379", "1071.379", "1081.379"}},
    };
    for (const Case& c : cases) {
        const Outcome o = Run("stakes " + kWith + " " + c.range);
        ASSERT_EQ(o.status, 0) << c.range << o.err;
        std::vector<std::string> stations;
        for (int i = 1; !Line(o.out, i).empty(); ++i) stations.push_back(Line(o.out, i).substr(0, Line(o.out, i).find(' ')));
        EXPECT_EQ(stations, c.stations) << c.range;
    }
    // The end stake lies where the sample road has distance 1025.879.
    const Outcome chained = Run("stakes " + kWith + " --from 1011.379 --to 1081.379 --interval 10");
    EXPECT_EQ(Point(Line(chained.out, 8)), Point(Line(Run("stakes " + kDemo + " --at 1025.879").out, 1)));
    // profile steps its stations as the run does.
    const std::string vxz = Write("r.vxz", "变坡点,桩号,高程,竖曲线半径\r\n起点,0,120,\r\n终点,K2+175.5,127,\r\n");
    const Outcome profile = Run("profile " + vxz + " --equations " + kChainTable + " --from 150 --to 260 --interval 25");
    EXPECT_EQ(profile.out.substr(0, 24), "170.000 120.495\n175.000 ") << profile.out;
}

// Rows written in 桩号 go with their table: pi writes it beside the road;
// a road written without one removes a table an earlier road left there.
TEST_F(CliChain, ARoadIsWrittenWithItsOwnTableBesideItAndNoOther) {
    const std::string table = Table("t.csv", "QD,0,0,,,\r\nJD1,100,0,50,10,10\r\nZD,100,100,,,\r\n");
    const std::string eq = Write("t.vxd", "断链前桩号,断链后桩号\r\nK1+060,K1+040\r\n");
    const std::string vxa = Path("x.vxa"), beside = Path("x.vxd");
    ASSERT_EQ(Run("pi " + table + " --start-station K1+000 --equations " + eq + " -o " + vxa).status, 0);
    EXPECT_EQ(Bytes(beside), "\xEF\xBB\xBF断链前桩号,断链后桩号\r\nK1+060,K1+040\r\n");
    EXPECT_EQ(Run("check " + vxa + " --equations " + beside).status, 0);
    // Read without its table, a row "1044.918(1)" is refused by name, not read as 1044.918.
    const std::string rows = Write("rows.vxa", Bytes(vxa));
    Outcome o = Run("stakes " + rows + " --at 1000");
    EXPECT_TRUE(Exited(o, 1, "控制数据第2行：桩号1044.918(1)注有长链内的出现次数，但路线没有断链表：请与它的断链表（.vxd）一起打开!"))
        << o.err;
    o = Run("check " + rows + " --json");
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.out.find("第 2 行桩号注有长链内的出现次数，但路线没有断链表"), std::string::npos) << o.out;

    // Another road's heights beside go too; the .vxd given as the road's own stays.
    Write("x.vxz", "变坡点,桩号,高程,竖曲线半径\r\nA,0,1,\r\nB,900,2,\r\n");
    Write("x.vxh", "桩号,左侧横坡,右侧横坡\r\n0,-2,-2\r\n");
    ASSERT_EQ(Run("pi " + table + " --start-station K1+000 --equations " + beside + " -o " + vxa).status, 0);
    EXPECT_TRUE(fs::exists(beside));
    EXPECT_FALSE(fs::exists(Path("x.vxz")) || fs::exists(Path("x.vxh")));
    ASSERT_EQ(Run("pi " + table + " --start-station 1000 -o " + vxa).status, 0);
    EXPECT_FALSE(fs::exists(beside));
    // Tables made for a name that holds no road yet are the user's.
    Write("new.vxz", "变坡点,桩号,高程,竖曲线半径\r\nA,0,1,\r\nB,900,2,\r\n");
    o = Run("pi " + table + " --start-station 0 -o " + Path("new.vxa"));
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.err, "");
    EXPECT_TRUE(fs::exists(Path("new.vxz")));
    const std::string xml = Path("plain.xml");
    ASSERT_EQ(Run("convert " + kDemo + " " + xml).status, 0);
    for (const char* elsewhere : {" --equations elsewhere.vxd", ""}) {
        Write("x.vxd", "断链前桩号,断链后桩号\r\n100,110\r\n");
        ASSERT_EQ(Run("convert " + xml + " " + vxa + elsewhere).status, 0);
        EXPECT_FALSE(fs::exists(beside)) << elsewhere;
    }
    EXPECT_EQ(Run("stakes " + vxa + " --at 100").status, 0);
    // A table written elsewhere goes beside the road too, where the window reads it.
    const std::string chained = Path("chained.xml");
    ASSERT_EQ(Run("convert " + kWith + " " + chained).status, 0);
    ASSERT_EQ(Run("convert " + chained + " " + vxa + " --equations " + Path("elsewhere.vxd")).status, 0);
    EXPECT_EQ(Bytes(beside), Bytes(Path("elsewhere.vxd")));
    ASSERT_EQ(Run("convert " + xml + " " + vxa).status, 0);
    // A table that cannot be removed (a folder with a file in it) is named.
    fs::create_directories(Path("x.vxd/keep"));
    o = Run("convert " + xml + " " + vxa);
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("无法删除旁边不属于它的表文件：" + beside), std::string::npos) << o.err;
}

TEST_F(CliChain, LandXmlEquationsAreRefusedNamingTheElement) {
    const std::string xml = Path("c.xml");
    ASSERT_EQ(Run("convert " + kWith + " " + xml).status, 0);
    struct Case {
        const char *from, *to, *says;
    } cases[] = {
        {"staBack=\"510.000000\"", "staBack=\"300.000000\"", "第3个断链（StaEquation）的断链在上一行断链之前"},
        {"staBack=\"510.000000\"", "staBack=\"1e308\"", "第3个断链（StaEquation）的staBack、staAhead或staInternal超出了桩号的范围"},
        {"staInternal=\"350.000000\"", "staInternal=\"-1e300\"", "第2个断链（StaEquation）的staBack、staAhead或staInternal超出了桩号的范围"},
        {"staBack=\"510.000000\" staAhead=\"555.500000\" staInternal=\"500.000000\"",
         "staBack=\"5100\" staAhead=\"5155.5\" staInternal=\"5090\"", "第3个断链（StaEquation）的断链在路线终点之后"},
    };
    for (const Case& c : cases) {
        std::string bad = Bytes(xml);
        bad.replace(bad.find(c.from), std::string(c.from).size(), c.to);
        const Outcome o = Run("convert " + Write("bad.xml", bad) + " " + Path("bad.vxa"));
        EXPECT_EQ(o.status, 1) << c.to;
        EXPECT_NE(o.err.find(c.says), std::string::npos) << o.err;
        EXPECT_LT(o.err.size(), 200u) << o.err;
        EXPECT_FALSE(fs::exists(Path("bad.vxa")));
    }
}

// The window reads ROAD.vxd beside the road by itself; the command line
// only with --equations, and says so when it leaves one unread.
TEST_F(CliChain, ATableBesideTheRoadLeftUnreadIsNamed) {
    const Outcome plain = Run("stakes " + kChainRoad + " --at 300");
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(Point(Line(plain.out, 1)), Point(Line(Run("stakes " + kDemo + " --at 300").out, 1)));  // a distance
    EXPECT_NE(plain.err.find("断链表" + kChainTable), std::string::npos) << plain.err;
    EXPECT_EQ(Run("stakes " + kWith + " --at 300").err, "");
}

// A table of no rows is no table: every station as typed, nothing beside.
TEST_F(CliChain, AnEmptyTableIsNoTable) {
    const std::string table = Table("t.csv", "QD,0,0,,,\r\nJD1,100,0,50,10,10\r\nZD,100,100,,,\r\n");
    const std::string empty = Write("empty.vxd", "断链前桩号,断链后桩号\r\n");
    const std::string start = " --start-station 2350.5 --json --report ";
    const Outcome plain = Run("pi " + table + start + Path("p.csv") + " -o " + Path("p.vxa"));
    const Outcome none = Run("pi " + table + start + Path("e.csv") + " -o " + Path("e.vxa") + " --equations " + empty);
    ASSERT_EQ(none.status, 0) << none.err;
    // T = (R + p)·tan(Δ/2) + q = (50 + 0.0833) + 4.9983 for Δ = 90°, Ls = 10 m.
    EXPECT_EQ(json::parse(none.out)["curves"][0]["ZH"], 2395.418);
    EXPECT_EQ(none.out, plain.out);
    EXPECT_EQ(Bytes(Path("e.csv")), Bytes(Path("p.csv")));
    EXPECT_EQ(vexaline::AlignmentRecords(Bytes(Path("e.vxa"))), vexaline::AlignmentRecords(Bytes(Path("p.vxa"))));
    EXPECT_FALSE(fs::exists(Path("e.vxd")));
    const std::string stakes = "stakes " + kDemo + " --from 100 --to 300 --interval 50 --offset 5";
    EXPECT_EQ(Run(stakes + " --equations " + empty).out, Run(stakes).out);
}
