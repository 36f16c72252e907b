// vexaline-cli on the national grid: 四参数 solved and applied, point files
// carried between grids, stakes and checks in the site's grid, the road on
// a map.
#include <regex>

#include "CliFixture.h"
#include "core/text/DmsText.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

using vexaline::Format;
namespace text = vexaline::text;

namespace {

const std::string kExamples = std::string(VEXALINE_SOURCE_DIR) + "/examples/";

class CliGrid : public Cli {
protected:
    // A .vxf of the four parameters, α as D.MMSSsssss.
    std::string Four(const std::string& name, const char* dx, const char* dy, const char* alpha, const char* k) {
        return Write(name, std::string("\xEF\xBB\xBF参数,值\r\nΔX,") + dx + "\r\nΔY," + dy + "\r\n旋转角," + alpha +
                               "\r\n尺度," + k + "\r\n");
    }
    std::string Common(const std::string& rows) { return Write("common.csv", "点名,X,Y,X',Y'\n" + rows); }
};

// The worked pair of the README: due north in the design grid is atan(3/4)
// east of north in the construction grid (cosα 0.8, sinα 0.6, K 1).
const std::string kWorkedPair = "A,3805000,500000,1000,2000\nB,3806000,500000,1800,2600\n";

TEST_F(CliGrid, FourParamSolvesTheWorkedPairAndWritesItsFile) {
    const Outcome o = Run("fourparam " + Common(kWorkedPair) + " -o " + Path("p.vxf") + " --json");
    ASSERT_EQ(o.status, 0) << o.err;
    const json answer = json::parse(o.out);
    EXPECT_NEAR(answer["dx"].get<double>(), -2743000, 1e-6);  // 1000 − (0.8·3805000 − 0.6·500000)
    EXPECT_NEAR(answer["dy"].get<double>(), -2681000, 1e-6);  // 2000 − (0.8·500000 + 0.6·3805000)
    EXPECT_NEAR(answer["rotation_sec"].get<double>(), 132731.631525, 1e-5);  // 36°52′11.631525″
    EXPECT_NEAR(answer["scale_ppm"].get<double>(), 0, 1e-6);
    EXPECT_TRUE(answer["rms"].is_null());
    EXPECT_EQ(answer["points"][1]["name"], "B");
    EXPECT_EQ(answer["outliers"], json::array());
    EXPECT_EQ(Bytes(Path("p.vxf")),
              "\xEF\xBB\xBF参数,值\r\nΔX,-2743000.000000\r\nΔY,-2681000.000000\r\n旋转角,36.521163153\r\n尺度,1\r\n");
    // A third point 2 cm off: named by its residuals, the RMS now there.
    const Outcome three = Run("fourparam " + Common(kWorkedPair + "C,3805500,500500,1100.02,2700\n"));
    EXPECT_EQ(three.status, 0) << three.err;
    EXPECT_NE(three.out.find("单位权中误差"), std::string::npos) << three.out;
    EXPECT_NE(three.out.find("C               "), std::string::npos) << three.out;
}

TEST_F(CliGrid, FourParamRefusesWhatCannotTieTwoGridsAndWritesNothing) {
    const struct {
        std::string rows, err;
        int status;
    } cases[] = {
        {"A,3805000,500000,1000,2000\n", Format(text::kFourTooFew, std::size_t{1}), 1},
        {"A,3805000,500000,1000,2000\nB,3805000,500000,1800,2600\n", Format(text::kFourCoincident, "A", "B"), 1},
        {"A,3805000,500000,1000,2000\nB,3806000,500000,2020,2000\n", Format(text::kFourScale, 1.02, 20000.0), 1},
        {"A,3805000,500000,1000,2000\nB,3806000,x,2020,2000\n",
         Common("") + ": " + Format(text::kCommonNotANumber, 3, "B", "Y", "x"), 1},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(Exited(Run("fourparam " + Common(c.rows) + " -o " + Path("p.vxf")), c.status, c.err)) << c.rows;
        EXPECT_FALSE(fs::exists(Path("p.vxf")));
    }
    EXPECT_EQ(Run("fourparam " + Path("none.csv")).status, 2);
}

TEST_F(CliGrid, TransformByTheFourParametersKeepsEveryOtherByteAndComesBack) {
    const std::string dat = "P1,c,500123.457,3805000.100,12.5\r\n\r\n测点2,,500223.457,3805100.100,13\r\n";
    const std::string four = Four("p.vxf", "-2743000", "-2681000", "36.521163153", "1");
    ASSERT_EQ(Run("transform " + Write("in.dat", dat) + " " + Path("out.dat") + " --four " + four).status, 0);
    // (3805000.1, 500123.457): 0.8·X − 0.6·Y − 2743000, 0.8·Y + 0.6·X − 2681000.
    EXPECT_EQ(Line(Bytes(Path("out.dat")), 0), "P1,c,2098.826,926.006,12.5\r");
    ASSERT_EQ(Run("transform " + Path("out.dat") + " " + Path("back.dat") + " --four " + four + " --inverse").status, 0);
    EXPECT_EQ(Bytes(Path("back.dat")), dat);
    // The traverse point file keeps its layout.
    ASSERT_EQ(Run("transform " + kPoints + " " + Path("d.vxp") + " --four " + Four("t.vxf", "-3800000", "-500000", "0", "1")).status, 0);
    EXPECT_EQ(Line(Bytes(Path("d.vxp")), 1), "D1      5088.644    58.029    \r");
}

// GRS80's meridian arc to 30° is 3,320,113.398 m (numerical integration):
// a point on the central meridian lies that far north, at the false easting.
TEST_F(CliGrid, TransformBetweenGridsReadsAndWritesLatitudeAndLongitude) {
    const std::string geo = Write("geo.csv", "点名,纬度,经度,高程\r\nM,30.0000,114.0000,55.1\r\nE,30.0000,114.3000,7\r\n");
    ASSERT_EQ(Run("transform " + geo + " " + Path("zone.csv") + " --from EPSG:4490 --to EPSG:4547").status, 0);
    const std::string zone = Bytes(Path("zone.csv"));
    EXPECT_EQ(Line(zone, 0), "点名,纬度,经度,高程\r");
    EXPECT_EQ(Line(zone, 1), "M,3320113.398,500000.000,55.1\r");
    ASSERT_EQ(Run("transform " + Path("zone.csv") + " " + Path("zone38.csv") + " --from EPSG:4547 --to EPSG:4526").status, 0);
    EXPECT_EQ(Line(Bytes(Path("zone38.csv")), 1), "M,3320113.398,38500000.000,55.1\r");
    // Back from the millimetres, to within 1e-8° (1 mm), as D.MMSSsssss or degrees.
    for (const char* degrees : {"", " --degrees"}) {
        ASSERT_EQ(Run("transform " + Path("zone.csv") + " " + Path("back.csv") + " --from GK:114 --to EPSG:4490" + degrees).status, 0);
        const std::string back = Bytes(Path("back.csv"));
        EXPECT_EQ(Line(back, 0), "点名,纬度,经度,高程\r");
        const struct {
            const char* name;
            double lon;
            const char* h;
        } points[] = {{"M", 114, "55.1\r"}, {"E", 114.5, "7\r"}};
        for (int i = 0; i < 2; ++i) {
            std::vector<std::string> f;
            std::stringstream line(Line(back, i + 1));
            for (std::string field; std::getline(line, field, ',');) f.push_back(field);
            ASSERT_EQ(f.size(), 4u);
            auto read = [&](const std::string& t) { return *degrees ? std::stod(t) : *vexaline::ReadDmsDegrees(t); };
            EXPECT_EQ(f[0], points[i].name);
            EXPECT_NEAR(read(f[1]), 30, 1e-8) << f[1];
            EXPECT_NEAR(read(f[2]), points[i].lon, 1e-8) << f[2];
            EXPECT_EQ(f[3], points[i].h);
        }
    }
}

TEST_F(CliGrid, TransformRefusalsNameTheGridOrTheLineAndWriteNothing) {
    const std::string geo = Write("geo.dat", "A,,114.0000,30.0000,1\nB,,114.0000,91.0000,1\n");
    const std::string plane = Write("plane.csv", "A,3805000,500000\nB,3805100\n");
    const std::string out = " " + Path("out.dat");
    const struct {
        std::string args, err;
        int status;
    } cases[] = {
        {geo + out + " --from EPSG:4490 --to EPSG:99999", Format(text::kGridUnknown, "EPSG:99999"), 2},
        {geo + out + " --from EPSG:4490 --to GK:114.6", Format(text::kGkMeridian, "GK:114.6", "114.6"), 2},
        {geo + out + " --from EPSG:2383 --to EPSG:4547",
         Format(text::kGridNoParameters, "EPSG:2383", "Xian 1980", "EPSG:4547", "China 2000"), 1},
        {geo + out + " --from EPSG:4490 --to EPSG:4547", geo + ": " + Format(text::kImportBadLine, 2, text::kGridLatitude), 1},
        {plane + " " + Path("out.csv") + " --from EPSG:4547 --to GK:114",
         plane + ": " + Format(text::kImportBadLine, 2, Format(text::kImportFieldCount, 3).c_str()), 1},
        {geo + " " + Path("out.csv") + " --from EPSG:4490 --to GK:114", Format(text::kTransformKinds, geo.c_str(), Path("out.csv").c_str()), 2},
        {plane + " " + Path("out.csv") + " --from EPSG:4547 --to GK:114 --degrees", text::kDegreesNoLatLon, 2},
        {kPoints + " " + Path("out.vxp") + " --from EPSG:4547 --to EPSG:4490", text::kPointsNoLatLon, 2},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(Exited(Run("transform " + c.args), c.status, c.err)) << c.args;
        for (const char* name : {"out.dat", "out.csv", "out.vxp"}) EXPECT_FALSE(fs::exists(Path(name))) << c.args;
    }
    EXPECT_EQ(Run("transform " + geo + out).status, 2);  // neither --four nor grids
    EXPECT_EQ(Run("transform " + geo + out + " --four x.vxf --from EPSG:4490 --to GK:114").status, 2);
}

// The README's stake at 1234.5 7.5 m right (3805354.869, 501133.297,
// 86°24′50″) in a grid moved by (−3800000, −500000), and in one turned a
// quarter (X' = −Y, Y' = X: the tangent 90° further on).
TEST_F(CliGrid, StakesWithFourGiveTheTargetGridsCoordinatesAndAzimuths) {
    const std::string moved = Four("moved.vxf", "-3800000", "-500000", "0", "1");
    const std::string turned = Four("turned.vxf", "0", "0", "90", "1");
    EXPECT_EQ(Line(Run("stakes " + kDemo + " --at 1234.5 --offset 7.5 --four " + moved).out, 1),
              "1234.500    5354.869      1133.297    86.2450   缓曲段    ");
    EXPECT_EQ(Line(Run("stakes " + kDemo + " --at 1234.5 --offset 7.5 --four " + turned).out, 1),
              "1234.500    -501133.297   3805354.869 176.2450  缓曲段    ");
    // Setting out from D2 oriented on D3, both given in the moved grid: the
    // README's angle and distance. In a grid 1.0001 times the design's
    // (D2 3805268.796 + 380.5268796, …) the distance is 1.0001 times.
    const std::string setup = " --at 400 --station D2,5268.796,466.512 --backsight D3,5381.597,897.434 --four ";
    EXPECT_EQ(Line(Run("stakes " + kDemo + setup + moved).out, 1), "400.000     184.1527    150.275   D2        D3        ");
    const std::string scaled = " --at 400 --station D2,3805649.3228796,500516.5586512 --backsight "
                               "D3,3805762.1351597,500947.5237434 --four " + Four("scaled.vxf", "0", "0", "0", "1.0001");
    EXPECT_EQ(Line(Run("stakes " + kDemo + scaled).out, 1), "400.000     184.1527    150.290   D2        D3        ");
    // The drawing too: the stake above, and the centreline, in the moved grid.
    const std::string dxf = Run("stakes " + kDemo + " --at 1234.5,1300 --offset 7.5 --format dxf --four " + moved).out;
    EXPECT_NE(dxf.find("\n 10\n1133.2966"), std::string::npos);  // 1133.297 and 5354.869 as listed
    EXPECT_NE(dxf.find("\n 20\n5354.8688"), std::string::npos);
    EXPECT_NE(dxf.find("VERTEX"), std::string::npos);
    EXPECT_EQ(dxf.find("\n 20\n3805"), std::string::npos);  // nothing left in the design grid
}

// Stakes exported in the turned grid and measured back there: judged as in
// the design grid, ΔX and ΔY along the target grid's axes.
TEST_F(CliGrid, InspectWithFourReadsTheMeasuredPointsInTheTargetGrid) {
    const std::string turned = Four("turned.vxf", "0", "0", "90", "1");
    const Outcome stakes =
        Run("stakes " + kDemo + " --from 300 --to 500 --interval 100 --offset 7.5 --format cass --four " + turned);
    ASSERT_EQ(stakes.status, 0);
    std::string crew = stakes.out;  // K0+400 set 25 mm further east (Y') in the target grid
    const std::size_t line = crew.find("K0+400"), east = crew.find(",,", line) + 2;
    const std::size_t end = crew.find(',', east);
    crew.replace(east, end - east, Format("%.3f", std::stod(crew.substr(east, end - east)) + 0.025));
    const Outcome o = Run("inspect " + kDemo + " " + Write("m.dat", crew) + " --four " + turned + " --json");
    EXPECT_EQ(o.status, 1) << o.err;
    const json points = json::parse(o.out)["points"];
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0]["in"], true);
    EXPECT_EQ(points[1]["in"], false);
    EXPECT_NEAR(points[1]["dy"].get<double>(), 0.025, 0.0006);
    EXPECT_NEAR(points[1]["dx"].get<double>(), 0, 0.0006);
    EXPECT_NEAR(points[1]["y"].get<double>(), std::stod(crew.substr(east, end - east)), 1e-9);  // as measured
}

TEST_F(CliGrid, TheRoadOnAMapAsKmlAndGeoJson) {
    const std::string heights = " --profile " + kExamples + "demo.vxz";
    ASSERT_EQ(Run("convert " + kDemo + " " + Path("demo.kml") + " --crs EPSG:4547" + heights + " --points " +
                  kExamples + "demo-measured.dat").status, 0);
    const std::string kml = Bytes(Path("demo.kml"));
    for (const char* name : {"<name>K0+000.000 直线</name>", "<name>K0+420.000 圆曲线</name>", "<name>K2+120.000 终点</name>",
                             "<name>K0+600.000R7.5</name>", "<tessellate>1</tessellate>", "<altitudeMode>absolute</altitudeMode>"})
        EXPECT_NE(kml.find(name), std::string::npos) << name;
    // The first change point, (3805000, 500000), lies on the meridian 114°E at its design elevation 120.
    EXPECT_NE(kml.find("<coordinates>114.000000000,34.3726"), std::string::npos);
    EXPECT_NE(kml.find(",120.000 "), std::string::npos);
    EXPECT_TRUE(std::regex_search(kml, std::regex(R"(<coordinates>\d+\.\d{9},\d+\.\d{9},\d+\.\d{3})")));

    // A profile over part of the road: the line is cut where it begins and
    // ends, the stretches without heights reaching the one with.
    const std::string part = Write("part.vxz", "变坡点,桩号,高程,竖曲线半径\n起点,500,100,\n终点,1500,110,\n");
    ASSERT_EQ(Run("convert " + kDemo + " " + Path("part.kml") + " --crs EPSG:4547 --profile " + part).status, 0);
    const std::string cut = Bytes(Path("part.kml"));
    std::vector<std::string> lines;
    for (std::size_t at = 0; (at = cut.find("<coordinates>", at)) != std::string::npos && lines.size() < 3; ++at)
        lines.push_back(cut.substr(at + 13, cut.find("</coordinates>", at) - at - 13));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_LT(cut.find("<altitudeMode>absolute"), cut.find(lines[1]));
    EXPECT_GT(cut.find("<altitudeMode>absolute"), cut.find(lines[0]));
    EXPECT_EQ(lines[0].substr(lines[0].rfind(' ') + 1), lines[1].substr(0, 26));  // lon,lat: 13 + 1 + 12
    EXPECT_EQ(lines[1].substr(lines[1].rfind(' ') + 1, 26), lines[2].substr(0, 26));

    ASSERT_EQ(Run("convert " + kDemo + " " + Path("demo.geojson") + " --crs GK:114 --points " + kPoints).status, 0);
    const json map = json::parse(Bytes(Path("demo.geojson")));
    EXPECT_EQ(map["type"], "FeatureCollection");
    const json& features = map["features"];
    ASSERT_EQ(features.size(), 1u + 12 + 6);  // the centreline, the change points, D1 … D6
    EXPECT_EQ(features[0]["geometry"]["type"], "LineString");
    EXPECT_GT(features[0]["geometry"]["coordinates"].size(), 100u);
    EXPECT_EQ(features[0]["geometry"]["coordinates"][0].size(), 2u);  // no heights without a profile
    const json& first = features[1]["properties"];
    EXPECT_EQ(first["station"], "K0+000.000");
    EXPECT_EQ(first["name"], "K0+000.000 直线");
    EXPECT_EQ(first["x"], 3805000.0);
    EXPECT_EQ(first["y"], 500000.0);
    EXPECT_TRUE(first["h"].is_null());
    EXPECT_EQ(features[1]["geometry"]["coordinates"][0], 114.0);
    EXPECT_EQ(features[18]["properties"]["name"], "D6");
    EXPECT_TRUE(features[18]["properties"]["station"].is_null());
}

TEST_F(CliGrid, AMapIsRefusedWithoutItsGridOrOnADatumAMapCannotShow) {
    const struct {
        std::string args, err;
        int status;
    } cases[] = {
        {Path("m.kml") + " --crs EPSG:2383", Format(text::kGridMapDatum, "EPSG:2383", "Xian 1980"), 1},
        {Path("m.kml") + " --crs EPSG:4527", Format(text::kMapCannotCarry, "K0+000.000"), 1},  // no zone number in front
        {Path("m.geojson") + " --crs EPSG:4547 --points " + Write("bad.dat", "P,,1,x\n"),
         Path("bad.dat") + ": " + Format(text::kImportBadLine, 1, text::kImportBadNumber), 1},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(Exited(Run("convert " + kDemo + " " + c.args), c.status, c.err)) << c.args;
        EXPECT_FALSE(fs::exists(Path("m.kml")) || fs::exists(Path("m.geojson")));
    }
    EXPECT_EQ(Run("convert " + kDemo + " " + Path("m.kml")).status, 2);
    EXPECT_EQ(Run("convert " + kDemo + " " + Path("m.xml") + " --crs EPSG:4547").status, 2);
}

}  // namespace
