// vexaline-cli section --ground and vexaline-cli ground: the sample road's
// template on the ground of examples/demo.hdm, whose catch points, areas
// and volumes are worked by hand in the README (the areas as polygons,
// shoelace in exact fractions), the volumes across a 断链, the refusals.
#include "CliFixture.h"

namespace {

const std::string kExamples = std::string(VEXALINE_SOURCE_DIR) + "/examples/";
const std::string kDesign = " --template " + kExamples + "demo.vxt --profile " + kExamples + "demo.vxz --slopes " +
                            kExamples + "demo.vxh";
const std::string kGround = " --ground " + kExamples + "demo.hdm";

class CliGround : public Cli {};

}  // namespace

TEST_F(CliGround, TheReadmeFiguresCatchPointsGroundAndEarthwork) {
    const Outcome o = Run("section " + kDemo + kDesign + kGround + " --at 1000,1020");
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out,
              "桩号        名称            偏距      X坐标         Y坐标        设计高程    地面高程    填挖\n"
              "1000.000    中桩            0.000     3805353.118   500898.512   124.160     123.430     0.730\n"
              "1000.000    左行车道        -7.500    3805360.612   500898.228   124.010     120.930     3.080\n"
              "1000.000    左硬路肩        -10.000   3805363.111   500898.134   123.960     120.930     3.030\n"
              "1000.000    左土路肩        -10.750   3805363.860   500898.105   123.930     120.930     3.000\n"
              // 3 m of fill at 1:1.5, 4.5 m out
              "1000.000    左坡脚          -15.250   3805368.357   500897.935   120.930     120.930     0.000\n"
              "1000.000    右行车道        7.500     3805345.623   500898.795   124.010     125.930     -1.920\n"
              "1000.000    右硬路肩        10.000    3805343.125   500898.890   123.960     125.930     -1.970\n"
              "1000.000    右土路肩        10.750    3805342.375   500898.918   123.930     125.930     -2.000\n"
              // 2 m of cut at 1:1
              "1000.000    右坡口          12.750    3805340.377   500898.994   125.930     125.930     0.000\n"
              "1020.000    中桩            0.000     3805353.874   500918.497   123.840     117.610     6.230\n"
              "1020.000    左行车道        -7.500    3805361.369   500918.214   123.690     115.110     8.580\n"
              "1020.000    左硬路肩        -10.000   3805363.867   500918.119   123.640     114.277     9.363\n"
              "1020.000    左土路肩        -10.750   3805364.616   500918.091   123.610     114.027     9.583\n"
              // 8 m at 1:1.5 (12 m), a berm of 2 m, 2 m more at 1:1.5 (3 m)
              "1020.000    左坡脚          -27.750   3805381.604   500917.448   113.610     113.610     0.000\n"
              "1020.000    右行车道        7.500     3805346.380   500918.781   123.690     120.110     3.580\n"
              "1020.000    右硬路肩        10.000    3805343.881   500918.876   123.640     120.943     2.697\n"
              "1020.000    右土路肩        10.750    3805343.132   500918.904   123.610     121.193     2.417\n"
              "1020.000    右坡脚          13.750    3805340.134   500919.017   121.610     121.610     0.000\n"
              "\n"
              "土方（平均断面法）\n"
              "桩号          填方面积    挖方面积    距离      填方量        挖方量\n"
              "1000.000      34.57       16.45\n"
              "1020.000      213.62      0.00        20.000    2481.96       164.51\n"
              "合计                                  20.000    2481.96       164.51\n");
}

TEST_F(CliGround, JsonGivesTheCentreCatchPointsAreasAndVolumesUnrounded) {
    const Outcome o = Run("section " + kDemo + kDesign + kGround + " --at 1000,1020 --json");
    ASSERT_EQ(o.status, 0) << o.err;
    const json j = json::parse(o.out);
    const json& s = j["stations"][0];
    EXPECT_NEAR(s["centre"]["ground"].get<double>(), 123.43, 1e-9);
    EXPECT_NEAR(s["centre"]["fill"].get<double>(), 0.73, 1e-9);
    const struct { const char* side; const char* kind; double offset, h, height; } catches[] = {
        {"left", "fill", -15.25, 120.93, 3}, {"right", "cut", 12.75, 125.93, 2}};
    for (const auto& c : catches) {
        const json& k = s["catch"][c.side];
        EXPECT_EQ(k["kind"], c.kind);
        EXPECT_NEAR(k["offset"].get<double>(), c.offset, 1e-9);
        EXPECT_NEAR(k["h"].get<double>(), c.h, 1e-9);
        EXPECT_NEAR(k["height"].get<double>(), c.height, 1e-9);
        EXPECT_TRUE(k["x"].is_number() && k["y"].is_number());
    }
    // Shoelace on the regions between the lines, in fractions: 179783/5200, 42773/2600, 85449/400.
    EXPECT_NEAR(s["area"]["fill"].get<double>(), 179783.0 / 5200, 1e-9);
    EXPECT_NEAR(s["area"]["cut"].get<double>(), 42773.0 / 2600, 1e-9);
    EXPECT_NEAR(j["stations"][1]["area"]["fill"].get<double>(), 85449.0 / 400, 1e-9);
    const json& v = j["volumes"].at(0);
    EXPECT_EQ(v["from"], "K1+000.000");
    EXPECT_EQ(v["to"], "K1+020.000");
    EXPECT_EQ(v["length"], 20.0);
    EXPECT_NEAR(v["fill"].get<double>(), (179783.0 / 5200 + 85449.0 / 400) * 10, 1e-7);
    EXPECT_NEAR(j["total"]["cut"].get<double>(), 42773.0 / 2600 * 10, 1e-7);
}

TEST_F(CliGround, AcrossAStationEquationTheVolumeTakesTheRealLength) {
    // K0+150=K0+170 skips 20 m of 桩号: K0+140 and K0+180 lie 20 m apart.
    const std::string ground = Write("g.hdm", "BEGIN,K0+140\r\n-100,100\r\n100,100\r\nBEGIN,K0+180:2\r\n-100,100\r\n100,100\r\n");
    const Outcome o = Run("section " + kExamples + "chain.vxa --equations " + kExamples + "chain.vxd" + kDesign +
                          " --ground " + ground + " --at K0+140,K0+180 --json");
    ASSERT_EQ(o.status, 0) << o.err;
    const json j = json::parse(o.out);
    EXPECT_EQ(j["stations"][1]["distance"], 160.0);
    const json& v = j["volumes"].at(0);
    EXPECT_EQ(v["from"], "K0+140.000");
    EXPECT_EQ(v["to"], "K0+180.000");
    EXPECT_EQ(v["length"], 20.0);
    const double a = j["stations"][0]["area"]["fill"], b = j["stations"][1]["area"]["fill"];
    EXPECT_NEAR(v["fill"].get<double>(), (a + b) / 2 * 20, 1e-9);
}

TEST_F(CliGround, ExportsNameTheCatchPoints) {
    const std::string args = "section " + kDemo + kDesign + kGround + " --at 1020 ";
    const Outcome cass = Run(args + "--format cass");
    ASSERT_EQ(cass.status, 0) << cass.err;
    EXPECT_EQ(Line(cass.out, 4), Gbk("K1+020.000左坡脚,,500917.448,3805381.604,113.610\r"));
    const Outcome csv = Run(args + "--format csv");
    EXPECT_NE(csv.out.find("1020.000,右坡脚,13.750,"), std::string::npos) << csv.out;
    const Outcome dxf = Run(args + "--format dxf");
    ASSERT_EQ(dxf.status, 0) << dxf.err;
    // the line across: toe, two berm corners, three points, centre, three points, toe
    std::size_t vertices = 0;
    for (std::size_t at = 0; (at = dxf.out.find("\nVERTEX\n", at)) != std::string::npos; ++at) ++vertices;
    EXPECT_EQ(vertices, 11u);
}

TEST_F(CliGround, MissingGroundAndCatchPointsAreNamedTheRestGiven) {
    const std::string narrow = Write("narrow.hdm", "BEGIN,1000\r\n-12,120.93\r\n30,125.93\r\n");
    const std::string bad = Write("bad.hdm", "BEGIN,1000\r\n-12,120.93\r\n30,125.9x\r\n");
    const std::string out = " -o " + Path("out.txt");
    const struct { std::string args; int status; std::string err; bool written; } table[] = {
        {kGround + " --at 1000,1040", 1,
         "K1+040.000：地面线文件中没有这个桩号的断面\nK1+000.000～K1+040.000：有一端没有面积，这一段的土方未计入合计", true},
        {" --ground " + narrow + " --at 1000", 1, "K1+000.000 左侧：地面线不够宽，找不到坡脚", true},
        {" --ground " + bad + " --at 1000", 2, bad + "：地面线文件第3行：高程“125.9x”不是数字!", false},
    };
    for (const auto& row : table) {
        const Outcome o = Run("section " + kDemo + kDesign + row.args + out);
        EXPECT_TRUE(Exited(o, row.status, row.err)) << row.args;
        EXPECT_EQ(fs::exists(Path("out.txt")), row.written) << row.args;
        fs::remove(Path("out.txt"));
    }
    const Outcome noProfile = Run("section " + kDemo + " --template " + kExamples + "demo.vxt" + kGround + " --at 1000");
    EXPECT_TRUE(Exited(noProfile, 2, "--ground needs --profile\nRun with --help for more information."));
}

// examples/demo-ground.csv: 400 points of the plane H = 123 + 0.01 (X − 3805300)
// + 0.02 (Y − 500850) over 120 m square about K1+000 to K1+020.
double Plane(double x, double y) { return 123 + 0.01 * (x - 3805300) + 0.02 * (y - 500850); }

TEST_F(CliGround, ATinOfPlanarGroundGivesSectionsOnThePlane) {
    const std::string points = kExamples + "demo-ground.csv", hdm = Path("g.hdm");
    const Outcome cut = Run("ground " + kDemo + " --points " + points + " --at 1000,1020 --tin --width 30 -o " + hdm);
    ASSERT_EQ(cut.status, 0) << cut.err;
    EXPECT_EQ(Line(Bytes(hdm), 0), "BEGIN,K1+000.000:1\r");
    // Read back by section: the centre's ground is the plane there (the file keeps millimetres).
    const Outcome o = Run("section " + kDemo + kDesign + " --ground " + hdm + " --at 1000,1020 --json");
    ASSERT_EQ(o.status, 0) << o.err;
    const json j = json::parse(o.out);
    for (const json& s : j["stations"]) {
        const double x = s["centre"]["x"], y = s["centre"]["y"];
        EXPECT_NEAR(s["centre"]["ground"].get<double>(), Plane(x, y), 0.0011) << s["station"];
        for (const char* side : {"left", "right"}) {
            const json& c = s["catch"][side];
            EXPECT_NEAR(c["h"].get<double>(), Plane(c["x"], c["y"]), 0.0011) << s["station"] << side;
        }
    }
    // Beyond the points: named, the rest written.
    const Outcome beyond = Run("ground " + kDemo + " --points " + points + " --at 1000,1500 --tin -o " + hdm);
    EXPECT_TRUE(Exited(beyond, 1, "K1+500.000：横断面线不在三角网内，没有断面"));
    EXPECT_EQ(Bytes(hdm).find("BEGIN,K1+500"), std::string::npos);
}

TEST_F(CliGround, ACrewsPointsBecomeTheSectionsOfTheirStations) {
    // examples/demo-crew.csv: points laid by hand on the straight from row 790
    // (3805345.175, 500688.662) to row 1190 (3805360.304, 501088.376) at
    // stations within 0.2 m of 1000 and 1020 and the offsets below, and J1
    // at 1008.
    const Outcome o = Run("ground " + kDemo + " --points " + kExamples + "demo-crew.csv --at 1000,1020 --sections");
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, "BEGIN,K1+000.000:1\r\n-25.000,121.350\r\n-14.000,121.020\r\n-7.500,122.400\r\n0.000,123.430\r\n"
                     "6.000,125.100\r\n16.000,125.950\r\n24.000,126.300\r\n"
                     "BEGIN,K1+020.000:2\r\n-30.000,113.550\r\n-12.000,113.610\r\n0.000,117.610\r\n12.000,121.610\r\n"
                     "30.000,121.700\r\n");
    EXPECT_EQ(o.err, "点“J1”离最近的断面K1+000.000有8.000米，超出0.500米，未用\n"
                     "离所归断面线最远的点：“1000-5”，0.200米（K1+000.000）\n");
}

TEST_F(CliGround, UsageAndPointFilesThatMakeNoGroundAreRefused) {
    const std::string flat = Write("flat.csv", "A,3805353,500898,1\nB,3805363,500898,1\nC,3805373,500898,1\n");
    const std::string noHeight = Write("p.csv", "A,3805353,500898\nB,3805363,500899,1\nC,3805373,500890,1\n");
    const std::string args = "ground " + kDemo + " --at 1000 -o " + Path("g.hdm") + " --points ";
    const struct { std::string args; int status; std::string err; } table[] = {
        {flat + " --tin", 2, flat + "：地面点不足三个，或都在一条直线上：构不成三角网!"},
        {noHeight + " --tin", 2, noHeight + "：地面点“A”没有高程，不能用来构三角网!"},
        {flat, 2, "--tin or --sections: one of the two is needed\nRun with --help for more information."},
        {flat + " --tin --sections", 2, "--tin excludes --sections\nRun with --help for more information."},
        {flat + " --sections --width 20", 2, "--width requires --tin\nRun with --help for more information."},
        {flat + " --tin --max-edge 0", 2, "--max-edge: metres, above 0\nRun with --help for more information."},
    };
    for (const auto& row : table) {
        EXPECT_TRUE(Exited(Run(args + row.args), row.status, row.err)) << row.args;
        EXPECT_FALSE(fs::exists(Path("g.hdm"))) << row.args;
    }
}

// The drawings: a page for every nine sections on A3 and every four on A4;
// a PDF or an SVG by the name; nothing written where the name is wrong.
TEST_F(CliGround, SheetsDrawNineSectionsToAnA3PageAndFourToAnA4) {
    const std::string args = "section " + kDemo + kDesign + kGround + " --from 900 --to 1100 --interval 20 --sheet ";
    const struct { std::string file, paper; int pages; } table[] = {
        {"s.pdf", "", 2}, {"s4.pdf", " --paper A4", 3}, {"s.svg", "", 1},
    };
    for (const auto& row : table) {
        // Eleven stations, most without ground: still drawn, and the command says they lack it.
        EXPECT_EQ(Run(args + Path(row.file) + row.paper).status, 1) << row.file;
        const std::string bytes = Bytes(Path(row.file));
        if (row.file.back() == 'g') {
            EXPECT_EQ(bytes.rfind("<?xml", 0), 0u);
            EXPECT_NE(bytes.find("<svg"), std::string::npos);
            continue;
        }
        EXPECT_EQ(bytes.rfind("%PDF-", 0), 0u) << row.file;
        const std::size_t count = bytes.find("/Count ", bytes.find("/Type /Pages"));
        ASSERT_NE(count, std::string::npos) << row.file;
        EXPECT_EQ(std::atoi(bytes.c_str() + count + 7), row.pages) << row.file;
    }
    fs::create_directory(Path("folder.pdf"));
    EXPECT_EQ(Run(args + Path("folder.pdf")).status, 1);
    // A run refused leaves the sheets drawn before as they were.
    const std::string before = Bytes(Path("s.pdf"));
    EXPECT_EQ(Run("section " + kDemo + kDesign + " --ground " + Path("none.hdm") + " --at 1000 --sheet " + Path("s.pdf")).status, 2);
    EXPECT_EQ(Bytes(Path("s.pdf")), before);
    EXPECT_TRUE(Exited(Run(args + Path("s.png")), 2,
                       "--sheet: the drawings go into FILE.pdf or FILE.svg\nRun with --help for more information."));
    EXPECT_TRUE(Exited(Run("section " + kDemo + " --template " + kExamples + "demo.vxt --at 1000 --sheet " + Path("n.pdf")), 2,
                       "--sheet needs --profile: sections are drawn at their heights\nRun with --help for more information."));
    EXPECT_FALSE(fs::exists(Path("s.png")));
    EXPECT_FALSE(fs::exists(Path("n.pdf")));
}

// With four parameters that only shift, every point moves by the shift:
// centres, break points and catch points; offsets and heights stay.
TEST_F(CliGround, FourParametersCarryEveryPointIntoTheTargetGrid) {
    const std::string vxf = Write("p.vxf", "参数,值\nΔX,1000\nΔY,-2000\n旋转角,0\n尺度,1\n");
    const std::string args = "section " + kDemo + kDesign + kGround + " --at 1000,1020 --json";
    const Outcome plain = Run(args), moved = Run(args + " --four " + vxf);
    ASSERT_EQ(moved.status, 0) << moved.err;
    const json a = json::parse(plain.out), b = json::parse(moved.out);
    for (std::size_t s = 0; s < 2; ++s) {
        const json &p = a["stations"][s], &q = b["stations"][s];
        EXPECT_NEAR(q["centre"]["x"].get<double>(), p["centre"]["x"].get<double>() + 1000, 1e-6);
        EXPECT_NEAR(q["centre"]["y"].get<double>(), p["centre"]["y"].get<double>() - 2000, 1e-6);
        for (std::size_t k = 0; k < p["points"].size(); ++k) {
            EXPECT_NEAR(q["points"][k]["x"].get<double>(), p["points"][k]["x"].get<double>() + 1000, 1e-6);
            EXPECT_EQ(q["points"][k]["h"], p["points"][k]["h"]);
        }
        for (const char* side : {"left", "right"}) {
            EXPECT_NEAR(q["catch"][side]["y"].get<double>(), p["catch"][side]["y"].get<double>() - 2000, 1e-6);
            EXPECT_EQ(q["catch"][side]["offset"], p["catch"][side]["offset"]);
        }
    }
    EXPECT_EQ(a["total"], b["total"]);
    // The DXF draws the points where they are: 1000 m further north, none left in the design grid.
    ASSERT_EQ(Run(args.substr(0, args.size() - 7) + " --format dxf -o " + Path("s.dxf") + " --four " + vxf).status, 0);
    const std::string dxf = Bytes(Path("s.dxf"));
    EXPECT_NE(dxf.find("3806353.11"), std::string::npos);
    EXPECT_EQ(dxf.find("3805353.11"), std::string::npos);
}
