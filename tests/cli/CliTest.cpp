// vexaline-cli run as a user runs it: its output, its files and its exit
// statuses, on the sample road whose figures the README quotes; the road
// from intersection points; and the control check.
#include "CliFixture.h"

TEST_F(Cli, StakesGiveTheWindowsLinesAndSayWhyTheyRefuse) {
    Outcome o = Run("stakes " + kDemo + " --from 0 --to 2120 --interval 20 --offset 7.5");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(Line(o.out, 0), "桩号        X坐标         Y坐标      切线方位角  说明     ");
    EXPECT_EQ(Line(o.out, 1), "0.000       3804994.050   500004.566  52.3000   直线段    ");
    EXPECT_EQ(std::count(o.out.begin(), o.out.end(), '\n'), 108);
    o = Run("stakes " + kDemo + " --at 1234.5,0 --offset 7.5");
    EXPECT_EQ(Line(o.out, 1), "1234.500    3805354.869   501133.297  86.2450   缓曲段    ");
    EXPECT_EQ(Line(o.out, 2).substr(0, 5), "0.000");  // in the order given
    EXPECT_EQ(Line(Run("stakes " + kDemo + " --from 400 --to 700 --interval 20 --points " + kPoints +
                       " --station D2 --backsight D3").out, 1),
              "400.000     184.1527    150.275   D2        D3        ");

    struct Refusal { std::string args; int status; std::string message; };
    const Refusal refusals[] = {
        {"--from 0 --to 9999 --interval 20", 1, "输入的桩号超出了范围!"},
        {"--from 100 --to 50 --interval 20", 1, "输入的起止桩号无效!"},
        {"--from 0 --to 2120 --interval 0.0001", 1, "桩数超过10000000个，请加大桩间距或缩小里程范围!"},
        {"--at 5000", 1, "输入的桩号超出了范围!"},
        {"--at 10 --deflection abc", 2, "偏向角必须是“度.分秒”形式的数字!"},
        {"--at 10 --deflection 90.7000", 2, "偏向角的分和秒必须小于60（度.分秒：90.3000是90°30′）!"},
        {"--at 10 --station A,0,0 --backsight B,0,0", 1, "设站点与后视点不可相同!"},
        {"--at 10 --points " + kPoints + " --station D2 --backsight D9", 1, "点文件中没有点D9!"},
        {"--at 10 --station A,0 --backsight B,1,1", 2, "点必须写成“点名,X,Y”，点名最多8个字节!"},
        {"--at 10 --station A,1,2,3 --backsight B,1,1", 2, "点必须写成“点名,X,Y”，点名最多8个字节!"},
        {"--at 10 --station A,1,2 --backsight B,5x,6", 2, "点必须写成“点名,X,Y”，点名最多8个字节!"},
        // A name over 8 GBK bytes, in the file or typed: said, not silent.
        {"--at 10 --points " + kPoints + " --station 导线点D2号 --backsight D3", 2,
         "点名“导线点D2号”超过8个字节（一个汉字占2个字节）!"},
        {"--at 10 --station A,0,0 --backsight BACKSIGHT,1,1", 2, "点名“BACKSIGHT”超过8个字节（一个汉字占2个字节）!"},
        {"--at 10 --station A😀,0,0 --backsight B,1,1", 2, "输入中有不能用GBK编码的字符，请修改!"},
        // Numbers no field can show are no coordinates.
        {"--at 10 --station A,1e300,0 --backsight B,1,1 --format dxf", 1,
         "点A的坐标不是测量坐标（X、Y的绝对值须小于100000000米）!"},
        {"--from 0 --to 100", 2, "请给出 --from、--to、--interval，或者 --at，二者选一!"},
        {"--from 0 --to 100 --interval 5 --at 3", 2, "请给出 --from、--to、--interval，或者 --at，二者选一!"},
        {"--at 10 --station A,0,0", 2, ""},
        {"--at 10 --format pdf", 2, ""},
        {"--at ten", 2, ""},
    };
    for (const Refusal& r : refusals) {
        o = Run("stakes " + kDemo + " " + r.args);
        EXPECT_TRUE(o.out.empty()) << r.args;
        EXPECT_TRUE(r.message.empty() ? o.status == r.status : Exited(o, r.status, r.message)) << r.args;
    }
    EXPECT_TRUE(Exited(Run("stakes /nonexistent.vxa --at 1"), 2, "无法读取文件：/nonexistent.vxa"));
}

TEST_F(Cli, FilesAreTheWindowsExportsInGbkAndAFaultyElementExitsOne) {
    Outcome o = Run("stakes " + kDemo + " --from 0 --to 40 --interval 20 --format cad -o " + Path("r.txt"));
    EXPECT_EQ(o.status, 0);
    const std::string bytes = Bytes(Path("r.txt"));
    EXPECT_EQ(bytes.substr(0, bytes.find("\r\n")), Gbk("工 程 名  r.txt"));
    // The date line names the road the stakes were computed from, as the CSV's first row does.
    const std::size_t date = bytes.find("\r\n") + 2;
    EXPECT_EQ(bytes.substr(bytes.find("\r\n", date) - 20, 22), Gbk("  定线文件：demo.vxa\r\n"));
    const std::string csv = Run("stakes " + kDemo + " --at 0 --format csv").out;
    EXPECT_EQ(csv.substr(0, csv.find(',', 20)), "\xEF\xBB\xBF定线文件,demo.vxa");
    EXPECT_NE(bytes.find("\r\n3805000.000,500000.000\r\n3805012.175,500015.867\r\n"), std::string::npos) << bytes;
    EXPECT_EQ(Line(Run("stakes " + kDemo + " --at 0 --gbk").out, 0), Gbk("桩号        X坐标         Y坐标      切线方位角  说明     "));

    // A transition whose two radii are equal: its lines are the message, said once.
    const std::string faulty = Write("faulty.vxa", DemoWith(Gbk("-∞         "), Gbk("-400        ")));
    o = Run("stakes " + faulty + " --from 1100 --to 1300 --interval 20");
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
    EXPECT_NE(o.out.find(o.err.substr(0, o.err.size() - 1)), std::string::npos);
}

TEST_F(Cli, LookupAnswersAsTheWindowAndInJson) {
    Outcome o = Run("lookup " + kDemo + " 3805381.597 500897.434");
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, "1000.000 左28.499米\n");
    EXPECT_EQ(Run("lookup " + kDemo + " 3805381.597 500897.434 --json").out,
              R"({"station":1000.0,"offset":-28.499,"station_text":"1000.000","offset_text":"左28.499米"})" "\n");
    EXPECT_TRUE(Exited(Run("lookup " + kDemo + " 0 0"), 1, "抱歉!查找不到对应的桩号!"));
    for (const char* bad : {"lookup", "lookup " VEXALINE_SOURCE_DIR "/examples/demo.vxa 1", "lookup x 1 2", "nothing"})
        EXPECT_EQ(Run(bad).status, 2) << bad;
    EXPECT_EQ(Run("--version").out, "vexaline-cli 0.622\n");
    // Output that cannot be written is a failure, not a result.
    EXPECT_TRUE(Exited(Run("stakes " + kDemo + " --at 10 >/dev/full"), 1, "无法输出结果：标准输出写入失败!"));
    EXPECT_EQ(Run("--help").status, 0);
}

TEST_F(Cli, ConvertGoesBothWaysRefusesWithoutWritingAndStakesTakeTheExchangeFormats) {
    const std::string xml = Path("demo.xml"), vxa = Path("back.vxa");
    EXPECT_EQ(Run("convert " + kDemo + " " + xml).status, 0);
    Outcome o = Run("convert " + xml + " " + vxa);
    EXPECT_EQ(o.status, 0) << o.err;
    const std::string back = Bytes(vxa);
    EXPECT_EQ(back.size(), 94u + 12 * 60);
    EXPECT_EQ(back.substr(94 + 11 * 60, 58), Gbk("2120.000    终点      ∞          3806038.813 501422.276  "));

    const std::string two = Write("two.xml", "<LandXML><Alignments><Alignment name='a'/><Alignment name='b'/></Alignments></LandXML>");
    EXPECT_TRUE(Exited(Run("convert " + two + " " + Path("two.vxa")), 1, "LandXML文件中有2条路线，请指定一条：a、b"));
    EXPECT_EQ(Run("convert " + two + " " + Path("two.vxa") + " --alignment c").status, 1);
    EXPECT_FALSE(fs::exists(Path("two.vxa")));
    EXPECT_EQ(Run("convert " + Write("broken.xml", "<LandXML>") + " " + vxa).status, 2);
    EXPECT_EQ(Run("convert " + kDemo + " " + Path("x.txt")).status, 2);
    EXPECT_EQ(Run("convert /nonexistent.xml " + vxa).status, 2);

    o = Run("stakes " + kDemo + " --at 1234.5 --offset -7.5 --format cass");
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out.substr(0, o.out.find(',')), "K1+234.500L7.5");
    EXPECT_EQ(Run("stakes " + kDemo + " --at 0 --format csv").out.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(Run("stakes " + kDemo + " --at 0 --format dxf -o " + Path("s.dxf")).status, 0);
    EXPECT_TRUE(fs::file_size(Path("s.dxf")) > 0);
}

// A road as a design program writes it, in US survey feet (every number
// here worked out by integrating its curvature): a line, a clothoid into a
// 2.8 cm arc of radius 100 m and out again, a 0.6 m line, a line; eastings
// of 8 digits once in metres.
const char* const kFeetRoad = R"(<?xml version="1.0" encoding="UTF-8"?>
<LandXML xmlns="http://www.landxml.org/schema/LandXML-1.2" version="1.2">
<Units><Imperial linearUnit="USSurveyFoot" angularUnit="decimal degrees"/></Units>
<Alignments><Alignment name="K" staStart="1640.416667" length="330.143697"><CoordGeom>
<Line length="98.425000"><Start>12483571.238374 80463345.854887</Start><End>12483632.420462 80463422.954065</End></Line>
<Spiral spiType="clothoid" rot="cw" length="65.616667" radiusStart="INF" radiusEnd="328.083333"><Start>12483632.420462 80463422.954065</Start><PI>12483659.626720 80463457.238255</PI><End>12483671.455580 80463475.660613</End></Spiral>
<Curve rot="cw" radius="328.083333" length="0.091863"><Start>12483671.455580 80463475.660613</Start><Center>12483395.382975 80463652.924795</Center><End>12483671.505080 80463475.738834</End><PI>12483671.480397 80463475.699263</PI></Curve>
<Spiral spiType="clothoid" rot="cw" length="65.616667" radiusStart="328.083333" radiusEnd="INF"><Start>12483671.505080 80463475.738834</Start><PI>12483683.328798 80463494.164530</PI><End>12483703.170591 80463533.175902</End></Spiral>
<Line length="1.968500"><Start>12483703.170591 80463533.175902</Start><End>12483704.063107 80463534.930989</End></Line>
<Line length="98.425000"><Start>12483704.063107 80463534.930989</Start><End>12483748.683696 80463622.660911</End></Line>
</CoordGeom></Alignment></Alignments></LandXML>
)";

TEST_F(Cli, ConvertTakesFeetAndSaysSo) {
    const std::string in = Write("in.xml", kFeetRoad), a = Path("a.vxa");
    Outcome o = Run("convert " + in + " " + a);
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(Line(o.err, 0), "LandXML文件的长度单位是美国测量英尺（USSurveyFoot），坐标、里程、半径和长度已按1美国测量英尺=1200/3937米换算为米。");
    // The 2.8 cm arc and the 0.6 m line have no rows of their own.
    EXPECT_EQ(Line(o.err, 1), "第3、5个线元太短，控制数据的坐标定不住其方向，已并入相邻线元（放样点位偏离文件线形不超过5毫米）。");
    const std::vector<std::string> first = vexaline::AlignmentRecords(Bytes(a));
    ASSERT_EQ(first.size(), 5u);
    EXPECT_EQ(first[0], Gbk("500.000     直线      ∞          3805000.1235") + "24525276.867");
}

TEST_F(Cli, AnAlignmentOfAGbkFileIsChosenByItsOwnName) {
    const std::string xml = Write("g.xml", "<?xml version=\"1.0\" encoding=\"GB2312\"?>\n" +
                                               Gbk("<LandXML><Alignments>"
                                                   "<Alignment name='主线'><CoordGeom><Line><Start>0 0</Start><End>0 20</End></Line></CoordGeom></Alignment>"
                                                   "<Alignment name='匝道'><CoordGeom><Line><Start>5 5</Start><End>5 25</End></Line></CoordGeom></Alignment>"
                                                   "</Alignments></LandXML>"));
    const Outcome o = Run("convert " + xml + " " + Path("g.vxa") + " --alignment 匝道");
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(vexaline::AlignmentRecords(Bytes(Path("g.vxa")))[0], Gbk("0.000       直线      ∞          5.000       5.000       "));
}

TEST_F(Cli, PiQuarterTurnGivesItsRowsCurveTableAndJson) {
    // R = 50 turning 90° right: T = 50, L = 25π, E = 50(√2 − 1).
    const std::string table = Table("turn.csv", "QD,0,0,,,\r\nJD1,100,0,50,,\r\nZD,100,100,,,\r\n");
    const Outcome r =
        Run("pi " + table + " --start-station 1000 -o " + Path("turn.vxa") + " --report " + Path("curves.csv") + " --json");
    ASSERT_EQ(r.status, 0);
    const std::vector<std::string> records = vexaline::AlignmentRecords(Bytes(Path("turn.vxa")));
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[1], Gbk("1050.000    圆曲线    50.000      50.000      0.000       "));
    EXPECT_EQ(records[3], Gbk("1178.540    终点      ∞          100.000     100.000     "));
    EXPECT_NE(Bytes(Path("curves.csv")).find("\r\nJD1,右90.0000,50.000,0.000,0.000,50.000,50.000,78.540,20.711,K1+050.000,"),
              std::string::npos);
    const json j = json::parse(r.out)["curves"][0];
    const json want = {{"jd", "JD1"}, {"deflection", "右90.0000"}, {"T1", 50.0}, {"L", 78.54}, {"E", 20.711}, {"HZ", 1128.54}, {"x", 100.0}};
    for (const auto& [key, value] : want.items()) EXPECT_EQ(j[key], value) << key;
}

TEST_F(Cli, PiRefusedTablesWriteNothingAndUsageIsTwo) {
    const std::string good = Table("good.csv", "QD,0,0\nJD1,100,0,50\nZD,100,100\n");
    struct Case { std::string args; int status; };
    const Case cases[] = {
        {Table("flat.csv", "QD,0,0\nJD1,100,0,0\nZD,100,100\n") + " --start-station 0", 1},  // radius 0
        {Table("long.csv", "QD,0,0\nJD1,30,0,50\nZD,30,100\n") + " --start-station 0", 1},   // T1 past the start
        {good + " --start-station K1+000", 2},
        {good, 2},  // no start station
        {Path("missing.csv") + " --start-station 0", 2},
        {Table("quote.csv", "QD,0,0\n\"JD1,100,0,50\nZD,100,100\n") + " --start-station 0", 2},  // no table
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run("pi " + c.args + " -o " + Path("none.vxa")).status, c.status) << c.args;
        EXPECT_FALSE(fs::exists(Path("none.vxa"))) << c.args;
    }
}

TEST_F(Cli, CheckOfACleanRoadExitsZeroAFaultyOneOneWithTheMendAndAnUnreadableOneTwo) {
    Outcome r = Run("check " + kDemo);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "控制数据检查无误：12 行，闭合差都不超过 5 毫米，折角都不超过 20″。");

    const std::string faulty = Write("faulty.vxa", DemoWith("-250        3805503.911", "250         3805503.911"));  // row 9
    r = Run("check " + faulty + " --json");
    EXPECT_EQ(r.status, 1);
    const json j = json::parse(r.out);
    EXPECT_EQ(j["rows"], 12);
    ASSERT_EQ(j["elements"].size(), 11u);
    const json& first = j["elements"][0];
    const json want = {{"row", 1}, {"from", 0.0}, {"to", 300.0}, {"type", "直线"}, {"flagged", false}, {"kink_sec", nullptr}};
    for (const auto& [key, value] : want.items()) EXPECT_EQ(first[key], value) << key;
    EXPECT_TRUE(first["closure_start_mm"].is_number());
    EXPECT_TRUE(j["elements"][8]["flagged"] == true && j["elements"][8]["problems"].size() == 1u);
    EXPECT_EQ(j["flagged_rows"], json::array({9, 10}));
    EXPECT_EQ(j["suggestion"], (json{{"row", 9}, {"field", "radius"}, {"from", "250"}, {"to", "-250"}}));
    r = Run("check " + faulty);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("建议：第 9 行半径 250 改为 -250。"), std::string::npos);
    // A looser kink limit lets the flipped arc through (its closures are
    // nil: it is turned by its own chord); the transition after it is not.
    EXPECT_EQ(json::parse(Run("check " + faulty + " --json --kink-sec 200000").out)["flagged_rows"], json::array({10}));

    EXPECT_TRUE(json::parse(Run("check " + kDemo + " --json").out)["suggestion"].is_null());
    EXPECT_EQ(Run("check /no/such/file.vxa").status, 2);
    EXPECT_EQ(Run("check " + kDemo + " --closure-mm -1").status, 2);
    const std::string oneRow = Write("one.vxa", Bytes(kDemo).substr(0, 94 + 60));  // the header and the first row
    EXPECT_EQ(Run("check " + oneRow).status, 2);
}

// The sample road's heights (README): the vertical curve table, elevations
// at stations, stakes and the lookup with their elevations, worked by hand
// from examples/demo.vxz and examples/demo.vxh.
TEST_F(Cli, ProfileGivesTheCurveTableAndElevationsAndStakesCarryThem) {
    const std::string vxz = std::string(VEXALINE_SOURCE_DIR) + "/examples/demo.vxz";
    const std::string vxh = std::string(VEXALINE_SOURCE_DIR) + "/examples/demo.vxh";
    Outcome o = Run("profile " + vxz);
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(Line(o.out, 2), "SJD1,K0+560.000,131.200,2.000,-1.600,8000.000,144.000,288.000,1.296,凸,K0+416.000,K0+704.000");
    // On the crest at 500: 128.32 + 2 % of 84 m − 0.036 × 84² / 576.
    EXPECT_EQ(Run("profile " + vxz + " --at 0,500,2200").out, "0.000 120.000\n500.000 129.559\n2200.000 超出纵断面\n");
    const json points = json::parse(Run("profile " + vxz + " --json --report " + Path("curves.csv")).out);
    EXPECT_EQ(points["points"][0]["grade_in"], nullptr);
    EXPECT_EQ(points["points"][2]["type"], "凹");
    EXPECT_NEAR(points["points"][2]["T"].get<double>(), 216, 1e-9);
    EXPECT_EQ(Bytes(Path("curves.csv")).substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(Run("profile " + vxz + " --from 2100 --to 2140 --interval 20 --json").out,
              R"({"stations":[{"station":2100.0,"elevation":127.92},{"station":2120.0,"elevation":127.68},)"
                         R"({"station":2140.0,"elevation":null}]})" "\n");

    // The right curve is superelevated 4 %: 7.5 m right of 500 lies 0.3 m lower.
    EXPECT_EQ(Run("stakes " + kDemo + " --at 500 --offset 7.5 --profile " + vxz + " --slopes " + vxh + " --format cass").out,
              "K0+500.000R7.5,,500409.229,3805283.061,129.259\r\n");
    o = Run("stakes " + kDemo + " --at 500 --profile " + vxz);
    EXPECT_EQ(Line(o.out, 0), "桩号        X坐标         Y坐标      切线方位角  说明     设计高程    ");
    EXPECT_EQ(Line(o.out, 1), "500.000     3805289.905   500406.163  65.5208   圆曲段    129.559     ");
    EXPECT_EQ(Line(Run("stakes " + kDemo + " --at 500 --profile " + vxz + " --format csv").out, 2),
              "500.000,3805289.905,500406.163,65.5208,圆曲段,129.559\r");  // after the road and the titles
    o = Run("stakes " + kDemo + " --at 500 --offset 7.5 --profile " + vxz + " --slopes " + vxh + " --format dxf");
    EXPECT_NE(o.out.find("\n 30\n129.259000"), std::string::npos);  // the point's Z
    // Without a profile every byte stays: the CASS height 0.000.
    EXPECT_EQ(Run("stakes " + kDemo + " --at 500 --format cass").out, "K0+500.000,,500406.163,3805289.905,0.000\r\n");

    // 1000 lies on the grade line before the sag: 131.2 − 1.6 % of 440 m,
    // then 28.499 m left on the −2 % crown.
    EXPECT_EQ(Run("lookup " + kDemo + " 3805381.597 500897.434 --profile " + vxz + " --slopes " + vxh + " --height 125").out,
              "1000.000 左28.499米 123.590 挖1.410米\n");
    const json fill = json::parse(Run("lookup " + kDemo + " 3805381.597 500897.434 --profile " + vxz +
                                      " --height 123.5 --json").out);
    EXPECT_EQ(fill["elevation"], 124.160);
    EXPECT_EQ(fill["fill_text"], "填0.660米");
}

TEST_F(Cli, RefusedProfilesExitOneUnreadableTwo) {
    const std::string h = "\xEF\xBB\xBF变坡点,桩号,高程,竖曲线半径\r\n";
    const std::string overlap = Write("o.vxz", h + "A,0,100,\r\nB,100,102,2600\r\nC,200,100,2600\r\nD,300,102,\r\n");
    EXPECT_TRUE(Exited(Run("profile " + overlap), 1, "变坡点B与C的竖曲线重叠：两切线长之和比变坡点间距长4.000米!"));
    EXPECT_EQ(Run("stakes " + kDemo + " --at 500 --profile " + overlap + " -o " + Path("out.txt")).status, 1);
    EXPECT_FALSE(fs::exists(Path("out.txt")));
    const std::string good = Write("g.vxz", h + "A,0,100,\r\nB,2200,102,\r\n");
    const std::string steep = Write("s.vxh", "桩号,左侧横坡,右侧横坡\n0,-2,-25\n");
    EXPECT_EQ(Run("stakes " + kDemo + " --at 500 --profile " + good + " --slopes " + steep).status, 1);
    EXPECT_EQ(Run("profile " + Write("bad.vxz", "变坡点,桩号\n")).status, 2);
    EXPECT_EQ(Run("profile " + Path("missing.vxz")).status, 2);
    EXPECT_EQ(Run("profile " + good + " --from 10 --to 0 --interval 5").status, 2);
    EXPECT_EQ(Run("stakes " + kDemo + " --at 500 --slopes " + steep).status, 2);
    EXPECT_EQ(Run("lookup " + kDemo + " 3805381.597 500897.434 --height 1").status, 2);
}
