// vexaline-cli inspect: the demo road's stakes exported, measured back with
// a field crew's errors, and judged.
#include "CliFixture.h"
#include "core/text/Texts.h"

namespace {

class CliInspect : public Cli {
protected:
    const std::string heights = " --profile " + std::string(VEXALINE_SOURCE_DIR) + "/examples/demo.vxz --slopes " +
                                std::string(VEXALINE_SOURCE_DIR) + "/examples/demo.vxh";

    // The side stakes every 100 m, 7.5 m right, as CASS with their heights.
    std::string Exported() {
        const std::string path = Path("stakes.dat");
        EXPECT_EQ(Run("stakes " + kDemo + " --from 0 --to 2100 --interval 100 --offset 7.5 --format cass -o " +
                      path + heights)
                      .status,
                  0);
        return Bytes(path);
    }
};

// Field k (0-based) of CASS line n, moved by delta (metres).
std::string Moved(std::string cass, int n, int k, double delta) {
    std::size_t at = 0;
    for (int i = 0; i < n; ++i) at = cass.find('\n', at) + 1;
    for (int i = 0; i < k; ++i) at = cass.find(',', at) + 1;
    const std::size_t end = cass.find_first_of(",\r", at);
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", std::stod(cass.substr(at, end - at)) + delta);
    return cass.replace(at, end - at, text);
}

TEST_F(CliInspect, ExportedStakesMeasuredBackAreInAndACrewsErrorsAreOut) {
    const std::string exact = Write("exact.dat", Exported());
    Outcome o = Run("inspect " + kDemo + " " + exact + heights + " --json");
    EXPECT_EQ(o.status, 0) << o.err;
    json answer = json::parse(o.out);
    ASSERT_EQ(answer["points"].size(), 22u);
    EXPECT_EQ(answer["points"][5]["name"], "K0+500.000R7.5");
    EXPECT_EQ(answer["points"][5]["named"], true);
    EXPECT_EQ(answer["points"][5]["station"], 500.0);
    EXPECT_EQ(answer["points"][5]["offset"], 7.5);
    EXPECT_EQ(answer["summary"]["out"], 0);
    EXPECT_LT(answer["summary"]["max_d"].get<double>(), 0.00071);  // the file's millimetres
    EXPECT_LT(answer["summary"]["max_dh"].get<double>(), 0.0006);

    // K0+500 set 30 mm east, K1+300 (an arc) measured 15 mm high, K1+800 12 mm north.
    std::string crew = Moved(Moved(Moved(Exported(), 5, 2, 0.030), 13, 4, 0.015), 18, 3, 0.012);
    const std::string measured = Write("measured.dat", crew);
    o = Run("inspect " + kDemo + " " + measured + heights + " --json");
    EXPECT_EQ(o.status, 1) << o.err;
    answer = json::parse(o.out);
    EXPECT_EQ(answer["summary"]["points"], 22);
    EXPECT_EQ(answer["summary"]["out"], 2);  // 12 mm in plan is within 20 mm
    for (int k : {5, 13}) EXPECT_EQ(answer["points"][k]["in"], false) << k;
    EXPECT_EQ(answer["points"][18]["in"], true);
    EXPECT_NEAR(answer["points"][5]["dy"].get<double>(), 0.030, 0.0006);
    EXPECT_NEAR(answer["points"][5]["d"].get<double>(), 0.030, 0.00071);
    EXPECT_NEAR(answer["points"][13]["dh"].get<double>(), 0.015, 0.0006);
    EXPECT_NEAR(answer["points"][18]["dx"].get<double>(), 0.012, 0.0006);

    // Tolerances off one by one; the text and CSV tables.
    EXPECT_EQ(Run("inspect " + kDemo + " " + measured + heights + " --height-mm off --plan-mm 31").status, 0);
    o = Run("inspect " + kDemo + " " + measured + heights + " --plan-mm off");
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(Line(o.out, 2).substr(0, 35), "K0+000.000R7.5  K0+000.000    7.500") << o.out;
    EXPECT_NE(o.out.find("K1+300.000R7.5  K1+300.000    7.500"), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("点数 22，合格 21，超限 1"), std::string::npos) << o.out;
    EXPECT_EQ(Run("inspect " + kDemo + " " + measured + heights + " --format csv -o " + Path("r.csv")).status, 1);
    const std::string csv = Bytes(Path("r.csv"));
    EXPECT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(csv.find("\r\nK0+500.000R7.5,K0+500.000,7.500,"), std::string::npos) << csv;
}

TEST_F(CliInspect, OtherPointsWithoutHeightsAndFilesRefused) {
    // Without a profile a named stake has no ΔH; an unnamed point is placed, one off the road is not found.
    const std::string points = Write("p.csv", "点名,X,Y,H\nK0+100.000,3805054.5,500079.4,1\nD1,3805060,500070,2\n"
                                              "far,3700000,400000,3\n");
    Outcome o = Run("inspect " + kDemo + " " + points + " --json");
    EXPECT_EQ(o.status, 1);
    json answer = json::parse(o.out);
    EXPECT_TRUE(answer["points"][0]["dh"].is_null());
    EXPECT_TRUE(answer["points"][0]["design_h"].is_null());
    EXPECT_EQ(answer["points"][1]["named"], false);
    EXPECT_TRUE(answer["points"][1]["d"].is_null());
    EXPECT_TRUE(answer["points"][2]["station"].is_null());
    EXPECT_EQ(answer["points"][2]["in"], false);
    EXPECT_NE(Run("inspect " + kDemo + " " + points).out.find("far             查找不到"), std::string::npos);

    const struct { std::string args; int status; const char* err; } cases[] = {
        {Write("bad.dat", "A,,500000,3805000,120\r\nB,,500000,3805000,1x0\r\n"), 1, "第2行：高程不是数字"},
        {Path("missing.dat"), 2, ""},
        {Write("road.vxa", DemoWith("420         ", "abc         ")) + " " + kPoints, 1, "第"},
        {kPoints + " --slopes x.vxh", 2, "--slopes needs --profile"},
        {kPoints + " --plan-mm abc", 2, "--plan-mm"},
        {kPoints + " --format xml", 2, ""},
    };
    for (const auto& c : cases) {
        const bool road = c.args.find("road.vxa") != std::string::npos;
        o = Run("inspect " + (road ? "" : kDemo + " ") + c.args);
        EXPECT_EQ(o.status, c.status) << c.args << o.err;
        EXPECT_NE(o.err.find(c.err), std::string::npos) << o.err;
        if (c.status == 1) {
            EXPECT_EQ(o.out, "") << c.args;
        }
    }
}

// Stakes exported without a profile carry 0.000: with the profile those are no measured heights.
TEST_F(CliInspect, StakesExportedWithoutAProfileAreJudgedInPlanOnlyWithANote) {
    const std::string path = Path("plain.dat");
    ASSERT_EQ(Run("stakes " + kDemo + " --from 300 --to 700 --interval 100 --offset 7.5 --format cass -o " + path)
                  .status,
              0);
    ASSERT_NE(Bytes(path).find(",0.000\r\n"), std::string::npos);
    Outcome o = Run("inspect " + kDemo + " " + path + heights + " --json");
    EXPECT_TRUE(Exited(o, 0, vexaline::text::kInspectZeroHeights));
    const json answer = json::parse(o.out);
    EXPECT_TRUE(answer["points"][0]["h"].is_null());
    EXPECT_TRUE(answer["points"][0]["dh"].is_null());
    EXPECT_NEAR(answer["points"][0]["design_h"].get<double>(), 125.850, 0.0005);
    EXPECT_TRUE(answer["summary"]["max_dh"].is_null());
    // Without the profile the zeros are what the file says, and nothing is said.
    o = Run("inspect " + kDemo + " " + path + " --json");
    EXPECT_EQ(o.err, "");
    EXPECT_EQ(json::parse(o.out)["points"][0]["h"], 0.0);
}

}  // namespace

// The new writers refuse a target they cannot write and leave what is there.
TEST_F(CliInspect, AReportThatCannotBeWrittenIsAFailureAndLeavesTheTargetAsItWas) {
    const std::string measured = Write("measured.dat", Exported());
    fs::create_directories(Path("folder"));
    const std::string vxz = std::string(VEXALINE_SOURCE_DIR) + "/examples/demo.vxz";
    for (const std::string& run : {"inspect " + kDemo + " " + measured + heights + " -o " + Path("folder"),
                                   "profile " + vxz + " --report " + Path("folder")}) {
        const Outcome o = Run(run);
        EXPECT_EQ(o.status, 1) << run;
        EXPECT_EQ(o.err.substr(0, o.err.find('\n')), "无法写入文件：" + Path("folder")) << run;
        EXPECT_TRUE(fs::is_directory(Path("folder")) && fs::is_empty(Path("folder"))) << run;
    }
}
