// vexaline-cli convert ROAD.vxa OUT.ifc: the file written whole or not at
// all. What the file holds is tested in tests/core and, read by another
// parser, in tests/ifc.
#include "CliFixture.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

using vexaline::Format;
namespace text = vexaline::text;

namespace {

class CliIfc : public Cli {};

TEST_F(CliIfc, WrittenWholeOrRefusedNamingTheRowLeavingTheOldFile) {
    const std::string out = Path("road.ifc");
    const Outcome ok = Run("convert " + kDemo + " " + out + " --crs GK:114.3000,50");
    EXPECT_EQ(ok.status, 0);
    EXPECT_EQ(ok.err, "");
    const std::string written = Bytes(out);
    EXPECT_EQ(written.rfind("ISO-10303-21;\nHEADER;", 0), 0u);
    EXPECT_NE(written.find("IFCWELLKNOWNTEXT("), std::string::npos);
    EXPECT_EQ(written.substr(written.size() - 18), "END-ISO-10303-21;\n");

    const std::string bad = Write("bad.vxa", DemoWith(Gbk("圆曲线    600"), Gbk("弯道      600")));
    EXPECT_TRUE(Exited(Run("convert " + bad + " " + out), 1, Format(text::kIfcElementFault, 3, "420")));
    EXPECT_EQ(Bytes(out), written);
    EXPECT_TRUE(Exited(Run("convert " + kDemo + " " + out + " --crs EPSG:4490"), 1, Format(text::kIfcGeographic, "EPSG:4490")));
    EXPECT_EQ(Bytes(out), written);
    EXPECT_EQ(Run("convert " + kDemo + " " + Path("road.xml") + " --crs EPSG:4547").status, 2);  // a grid only for a map or IFC
}

}  // namespace
