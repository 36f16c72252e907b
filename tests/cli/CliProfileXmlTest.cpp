// convert --profile: the road's vertical alignment through LandXML, out and
// back in, and nothing written when either half cannot be.
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

}  // namespace
