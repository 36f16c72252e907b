// vexaline-cli section: the sample road's template (examples/demo.vxt) at
// stations whose figures are worked by hand in the README, the points on
// the renumbered road, the exports and the refusals.
#include "CliFixture.h"

namespace {

const std::string kExamples = std::string(VEXALINE_SOURCE_DIR) + "/examples/";
const std::string kTemplate = kExamples + "demo.vxt";
const std::string kHeights = " --profile " + kExamples + "demo.vxz --slopes " + kExamples + "demo.vxh";

class CliSection : public Cli {};

}  // namespace

TEST_F(CliSection, TheReadmeFiguresOnTheStraightAndInTheWidenedCurve) {
    // 1000 lies on the straight 790–1190 from (3805345.175, 500688.662)
    // towards (3805360.304, 501088.376): the points 7.5, 10 and 10.75 m
    // either side of the centre, heights 124.160 − 2 % and the verge −4 %.
    const Outcome o = Run("section " + kDemo + " --template " + kTemplate + kHeights + " --widening " + kExamples +
                          "demo.vxw --at 1000,1530");
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out,
              "桩号        名称            偏距      X坐标         Y坐标        设计高程\n"
              "1000.000    中桩            0.000     3805353.118   500898.512   124.160\n"
              "1000.000    左行车道        -7.500    3805360.612   500898.228   124.010\n"
              "1000.000    左硬路肩        -10.000   3805363.111   500898.134   123.960\n"
              "1000.000    左土路肩        -10.750   3805363.860   500898.105   123.930\n"
              "1000.000    右行车道        7.500     3805345.623   500898.795   124.010\n"
              "1000.000    右硬路肩        10.000    3805343.125   500898.890   123.960\n"
              "1000.000    右土路肩        10.750    3805342.375   500898.918   123.930\n"
              // 1530: halfway up the widening to 0.8 m, left slope −5.5 %, 126.120 on the 2 % grade
              "1530.000    中桩            0.000     3805473.943   501399.399   126.120\n"
              "1530.000    左行车道        -7.900    3805479.571   501393.855   125.686\n"
              "1530.000    左硬路肩        -10.400   3805481.352   501392.100   125.548\n"
              "1530.000    左土路肩        -11.150   3805481.886   501391.574   125.518\n"
              "1530.000    右行车道        7.500     3805468.600   501404.662   126.532\n"
              "1530.000    右硬路肩        10.000    3805466.818   501406.416   126.670\n"
              "1530.000    右土路肩        10.750    3805466.284   501406.942   126.640\n");
}

TEST_F(CliSection, JsonGivesEveryPointUnroundedAndNullHeightsWithoutAProfile) {
    const Outcome o = Run("section " + kDemo + " --template " + kTemplate + " --from 990 --to 1010 --interval 10 --json");
    ASSERT_EQ(o.status, 0) << o.err;
    const json j = json::parse(o.out);
    ASSERT_EQ(j["stations"].size(), 3u);
    const json& s = j["stations"][1];
    EXPECT_EQ(s["station"], "K1+000.000");
    EXPECT_EQ(s["distance"], 1000.0);
    EXPECT_TRUE(s["occurrence"].is_null());
    EXPECT_NEAR(s["centre"]["x"].get<double>(), 3805353.1177, 0.0005);
    EXPECT_TRUE(s["centre"]["h"].is_null());
    const char* names[] = {"行车道", "硬路肩", "土路肩", "行车道", "硬路肩", "土路肩"};
    const double offsets[] = {-7.5, -10, -10.75, 7.5, 10, 10.75};
    ASSERT_EQ(s["points"].size(), 6u);
    for (std::size_t k = 0; k < 6; ++k) {
        EXPECT_EQ(s["points"][k]["side"], k < 3 ? "left" : "right");
        EXPECT_EQ(s["points"][k]["name"], names[k]);
        EXPECT_EQ(s["points"][k]["offset"], offsets[k]);
        EXPECT_TRUE(s["points"][k]["h"].is_null());
    }
    EXPECT_NEAR(s["points"][3]["y"].get<double>(), 500898.795, 0.0005);
}

TEST_F(CliSection, OnTheRenumberedRoadThePointsAreTheSampleRoadsAtTheSameDistance) {
    // chain.vxd: K0+150=K0+170 (−20), K0+370=K0+360 (+10): 365.000(2) is distance 355.
    const std::string chain = kExamples + "chain.vxa --equations " + kExamples + "chain.vxd";
    const Outcome a = Run("section " + chain + " --template " + kTemplate + " --at '365.000(2)' --json");
    const Outcome b = Run("section " + kDemo + " --template " + kTemplate + " --at 355 --json");
    ASSERT_EQ(a.status, 0) << a.err;
    ASSERT_EQ(b.status, 0) << b.err;
    const json ja = json::parse(a.out)["stations"][0], jb = json::parse(b.out)["stations"][0];
    EXPECT_EQ(ja["station"], "K0+365.000");
    EXPECT_EQ(ja["occurrence"], 2);
    EXPECT_EQ(ja["distance"], 355.0);
    for (std::size_t k = 0; k < 6; ++k) {
        EXPECT_NEAR(ja["points"][k]["x"].get<double>(), jb["points"][k]["x"].get<double>(), 1e-6);
        EXPECT_NEAR(ja["points"][k]["y"].get<double>(), jb["points"][k]["y"].get<double>(), 1e-6);
    }
    // A run by 桩号 through the 长链 lists the equation once, as stakes does.
    const Outcome run = Run("section " + chain + " --template " + kTemplate + " --from 340 --to '365.000(2)' --interval 10 --format csv");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\r\n360.000(2),中桩,"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\r\n360.000(1),右土路肩,10.750,"), std::string::npos);
}

TEST_F(CliSection, ExportsNameEachPointByStationSideAndName) {
    const std::string args = "section " + kDemo + " --template " + kTemplate + kHeights + " --at 1000 ";
    const Outcome cass = Run(args + "--format cass");
    ASSERT_EQ(cass.status, 0) << cass.err;
    EXPECT_EQ(Line(cass.out, 0), "K1+000.000,,500898.512,3805353.118,124.160\r");
    EXPECT_EQ(Line(cass.out, 1), Gbk("K1+000.000左行车道,,500898.228,3805360.612,124.010\r"));
    const Outcome csv = Run(args + "--format csv -o " + Path("s.csv"));
    ASSERT_EQ(csv.status, 0) << csv.err;
    EXPECT_EQ(Line(Bytes(Path("s.csv")), 0), "\xEF\xBB\xBF桩号,名称,偏距,X坐标,Y坐标,设计高程,说明\r");
    const Outcome dxf = Run(args + "--format dxf");
    ASSERT_EQ(dxf.status, 0) << dxf.err;
    EXPECT_NE(dxf.out.find("\n 70\n8\n"), std::string::npos);  // one 3D polyline across the road
    EXPECT_NE(dxf.out.find(Gbk("K1+000.000右土路肩")), std::string::npos);
    EXPECT_NE(dxf.out.find("\n 30\n123.9299"), std::string::npos);  // the verge's point at its height
}

TEST_F(CliSection, RefusalsNameTheFileLineAndFieldAndWriteNothing) {
    const std::string header = "\xEF\xBB\xBF侧,名称,宽度,横坡,坡比,分级高度,平台宽度\r\n";
    const std::string bad = Write("bad.vxt", header + "左,行车道,7.5,路拱\r\n左,硬路肩,2.5米,路拱\r\n");
    const std::string crown = Write("crown.vxt", header + "左,行车道,7.5,-2\r\n右,行车道,7.5,路拱\r\n");
    const std::string wrongHeader = Write("head.vxt", "侧,名称,宽度\r\n左,行车道,7.5\r\n");
    const std::string widening = Write("w.vxw", "桩号,左侧加宽,右侧加宽\n100,0,0\n90,0,1\n");
    const std::string at = " --at 1000 -o " + Path("out.txt");
    const struct { std::string args; int status; std::string err; } table[] = {
        {"--template " + bad + kHeights + at, 2, bad + "：横断面模板第3行的宽度“2.5米”不是数字!"},
        {"--template " + crown + " --profile " + kExamples + "demo.vxz" + at, 2,
         crown + "：横断面模板第3行的横坡为“路拱”，要用横坡表（.vxh）：请加 --slopes!"},
        {"--template " + wrongHeader + at, 2,
         wrongHeader + "：横断面模板文件的第1行不是表头“侧,名称,宽度,横坡,坡比,分级高度,平台宽度”!"},
        {"--template " + kTemplate + " --widening " + widening + at, 2, widening + "：加宽表第3行的桩号必须大于上一行的桩号!"},
        {"--template " + kTemplate + " --at 3000 -o " + Path("out.txt"), 1, "输入的桩号超出了范围!"},
        {"--template " + kTemplate + " --slopes " + kExamples + "demo.vxh" + at, 2,
         "--slopes needs --profile\nRun with --help for more information."},
    };
    for (const auto& row : table) {
        const Outcome o = Run("section " + kDemo + " " + row.args);
        EXPECT_TRUE(Exited(o, row.status, row.err)) << row.args;
        EXPECT_FALSE(fs::exists(Path("out.txt"))) << row.args;
    }
}
