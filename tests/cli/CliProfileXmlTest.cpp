// convert --profile: the road's vertical alignment through LandXML, out and
// back in, and nothing written when either half cannot be. And a road whose
// short line the rows turn beyond 20″ while its stakes hold: converted, the
// line named on stderr.
#include "CliFixture.h"

namespace {

class CliProfileXml : public Cli {};

const std::string kDemoProfile = std::string(VEXALINE_SOURCE_DIR) + "/examples/demo.vxz";

// The demo's profile as a .vxz writes it: the grades ±2 %, −1.6 %, −1.2 %
// hold the radii exactly through the curve lengths 288, 432 and 320 m.
const std::string kDemoRows = "\xEF\xBB\xBF变坡点,桩号,高程,竖曲线半径\r\n起点,0.000,120.000,\r\n"
                              "SJD1,560.000,131.200,8000.000\r\nSJD2,1240.000,120.320,12000.000\r\n"
                              "SJD3,1800.000,131.520,10000.000\r\n终点,2120.000,127.680,\r\n";

TEST_F(CliProfileXml, TheDemoProfileGoesOutAndComesBackToTheMillimetre) {
    const std::string xml = Path("demo.xml"), vxa = Path("back.vxa"), vxz = Path("back.vxz");
    Outcome o = Run("convert " + kDemo + " " + xml + " --profile " + kDemoProfile);
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_NE(Bytes(xml).find("<ParaCurve desc=\"SJD2\" length=\"432.000000\">1240.000000 120.320000</ParaCurve>"),
              std::string::npos);
    o = Run("convert " + xml + " " + vxa + " --profile " + vxz);
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(Bytes(vxz), kDemoRows);
    EXPECT_TRUE(fs::exists(vxa));
}

// Nothing is written, neither the road nor its profile, when the profile
// cannot be: none in the file, one refused, a .vxz refused on the way out.
TEST_F(CliProfileXml, AProfileThatCannotBeWrittenLeavesNothingWritten) {
    const std::string plain = Path("plain.xml"), vxa = Path("r.vxa"), vxz = Path("r.vxz");
    ASSERT_EQ(Run("convert " + kDemo + " " + plain).status, 0);
    Outcome o = Run("convert " + plain + " " + vxa + " --profile " + vxz);
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("没有设计纵断面"), std::string::npos) << o.err;
    EXPECT_FALSE(fs::exists(vxa) || fs::exists(vxz));

    ASSERT_EQ(Run("convert " + kDemo + " " + Path("p.xml") + " --profile " + kDemoProfile).status, 0);
    std::string unsym = Bytes(Path("p.xml"));
    const std::string para = "<ParaCurve desc=\"SJD2\" length=\"432.000000\">";
    unsym.replace(unsym.find(para), para.size(), "<UnsymParaCurve lengthIn=\"200\" lengthOut=\"232\">");
    unsym.replace(unsym.find("</ParaCurve>", unsym.find("UnsymParaCurve")), 12, "</UnsymParaCurve>");
    const std::string in = Write("unsym.xml", unsym);
    o = Run("convert " + in + " " + vxa + " --profile " + vxz);
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("第3个纵断面元素是非对称竖曲线（UnsymParaCurve）"), std::string::npos) << o.err;
    EXPECT_FALSE(fs::exists(vxa) || fs::exists(vxz));
    // Without --profile the road still comes in.
    EXPECT_EQ(Run("convert " + in + " " + vxa).status, 0);

    const std::string bad = Write("bad.vxz", "\xEF\xBB\xBF变坡点,桩号,高程,竖曲线半径\r\nA,0,100,500\r\nB,100,101,\r\n");
    o = Run("convert " + kDemo + " " + Path("out.xml") + " --profile " + bad);
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("不能填写竖曲线半径"), std::string::npos) << o.err;
    EXPECT_FALSE(fs::exists(Path("out.xml")));
    EXPECT_EQ(Run("convert " + kDemo + " " + Path("out.xml") + " --profile " + Path("missing.vxz")).status, 2);
    EXPECT_FALSE(fs::exists(Path("out.xml")));
    // A profile named as the output, or the input, would be written over it.
    EXPECT_EQ(Run("convert " + Path("p.xml") + " " + Path("s.vxa") + " --profile " + dir_.string() + "/./s.vxa").status, 2);
    EXPECT_FALSE(fs::exists(Path("s.vxa")));
    const std::string before = Bytes(Path("p.xml"));
    EXPECT_EQ(Run("convert " + Path("p.xml") + " " + Path("s.vxa") + " --profile " + Path("p.xml")).status, 2);
    EXPECT_EQ(Bytes(Path("p.xml")), before);
}

// A 5.98 m line first, as a 3D-Win export starts, then a clothoid; an
// 8-digit easting. Its rows hold the line's ends as (3805123.4568,
// 24525276.867) and (3805129.4284, 24525277.184): the chord turns
// atan2(0.317, 5.9716) − atan2(0.316093, 5.97164) = 31.3″ from the file's,
// which moves a stake 10 m out by 1.5 mm.
const char* const kTurnedLine = R"(<?xml version="1.0" encoding="UTF-8"?>
<LandXML xmlns="http://www.landxml.org/schema/LandXML-1.2" version="1.2">
<Alignments><Alignment name="main" staStart="500.000000" length="45.980000"><CoordGeom>
<Line length="5.980000"><Start>3805123.456789 24525276.867490</Start><End>3805129.428429 24525277.183583</End></Line>
<Spiral spiType="clothoid" rot="cw" length="40.000000" radiusStart="INF" radiusEnd="150.000000"><Start>3805129.428429 24525277.183583</Start><PI>3805156.082656 24525278.594454</PI><End>3805169.207706 24525281.067201</End></Spiral>
</CoordGeom></Alignment></Alignments></LandXML>
)";

TEST_F(CliProfileXml, ALineTurnedBeyondTwentySecondsIsConvertedAndNamedOnStderr) {
    const std::string vxa = Path("turned.vxa");
    const Outcome o = Run("convert " + Write("turned.xml", kTurnedLine) + " " + vxa);
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.err,
              "控制数据的坐标定不住短线元的方向：下列线元放样的切线方向偏离文件超过20秒，但中桩和两侧10米边桩都在文件线形5毫米以内。"
              "第1个线元（长5.980米）偏31.3秒，10米边桩因此偏1.5毫米。\n");
    EXPECT_EQ(vexaline::AlignmentRecords(Bytes(vxa)).size(), 3u);
}

}  // namespace
