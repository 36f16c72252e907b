// The vertical alignment in LandXML. In: a profile in feet as design
// programs write it (a ground line, an existing profile, then the design
// one with a parabola and a circular curve), its grade rows worked by hand
// (R = L/|ω|, 1 ft = 0.3048 m), and the refusals, which never cost the road.
// Out: the demo's profile, each curve length worked by hand (L = R·|ω|),
// and read back to the millimetre.
#include <pugixml.hpp>

#include "CoreFixture.h"
#include "core/files/LandXml.h"
#include "core/files/ProfileCsv.h"
#include "core/road/Alignment.h"

namespace {

// A 1000 ft straight; profile points at 0, 250, 500 and 1000 ft, elevations
// 100, 110, 100, 110 ft: grades +4 %, −4 %, +2 %.
// V1: ParaCurve L = 200 ft, ω = −0.08: R = 2500 ft = 762 m (crest, 150–350 ft).
// V2: CircCurve R = 1000 ft = 304.8 m (ω = +0.06: L = 60 ft, 470–530 ft).
const char* const kRoad = R"(<?xml version="1.0" encoding="UTF-8"?>
<LandXML xmlns="http://www.landxml.org/schema/LandXML-1.2" version="1.2">
 <Units><Imperial linearUnit="foot" elevationUnit="ELEVATIONUNIT" angularUnit="decimal degrees"/></Units>
 <Alignments>
  <Alignment name="A" staStart="0" length="1000">
   <CoordGeom><Line length="1000"><Start>0 0</Start><End>0 1000</End></Line></CoordGeom>
   <Profile name="A">
    <ProfSurf name="ground"><PntList2D>0 98 500 97 1000 99</PntList2D></ProfSurf>
    <ProfAlign name="old road" state="existing"><PVI>0 90</PVI><PVI>1000 91</PVI></ProfAlign>
    <ProfAlign name="FG">
     FIRST
     <ParaCurve desc="V1" length="200">250 110</ParaCurve>
     V2
     <PVI name="EP">1000 110</PVI>
    </ProfAlign>
   </Profile>
  </Alignment>
 </Alignments>
</LandXML>)";

std::string Road(const std::string& first = R"(<PVI desc="BP">0 100</PVI>)",
                 const std::string& v2 = R"(<CircCurve desc="V2" radius="1000" length="60">500 100</CircCurve>)",
                 const std::string& elevationUnit = "foot") {
    std::string s = kRoad;
    auto put = [&](const std::string& key, const std::string& value) { s.replace(s.find(key), key.size(), value); };
    put("ELEVATIONUNIT", elevationUnit);
    put("FIRST", first);
    put("V2", v2);
    return s;
}

std::string Rows(const std::vector<GradeRow>& rows) {
    std::string all;
    for (const GradeRow& r : rows) all += r.strName + "," + r.strStation + "," + r.strElevation + "," + r.strRadius + ";";
    return all;
}

TEST(LandXmlProfileImport, TheDesignProfileInFeetBecomesGradeRowsInMetres) {
    const LandXmlImport in = ImportLandXml(Road(), "");
    ASSERT_EQ(in.status, ImportStatus::Ok) << in.strMessage;
    EXPECT_EQ(in.strProfileMessage, "");
    EXPECT_EQ(Rows(in.grades), "BP,0.000,30.480,;V1,76.200,33.528,762.000;V2,152.400,30.480,304.800;EP,304.800,33.528,;");
    // Elevations stated in metres under stations in feet: the same rows.
    std::string metres = Road(R"(<PVI desc="BP">0 30.48</PVI>)",
                              R"(<CircCurve desc="V2" radius="1000" length="60">500 30.48</CircCurve>)", "meter");
    metres.replace(metres.find(">250 110<"), 9, ">250 33.528<");
    metres.replace(metres.find(">1000 110<"), 10, ">1000 33.528<");
    EXPECT_EQ(Rows(ImportLandXml(metres, "").grades), Rows(in.grades));
}

// Whatever is wrong with the profile, the road still comes in; the profile
// is refused naming its element.
TEST(LandXmlProfileImport, RefusalsNameTheElementAndKeepTheRoad) {
    const std::string v2 = R"(<CircCurve desc="V2" radius="1000" length="60">500 100</CircCurve>)";
    std::string crowded;  // 10,000 points between V1 and the end: 10,003 elements
    for (int i = 0; i < 10000; ++i) crowded += "<PVI>" + std::to_string(300 + i * 0.05) + " 100</PVI>";
    struct Case { std::string xml, message; };
    const Case cases[] = {
        {Road(R"(<UnsymParaCurve desc="BP" lengthIn="10" lengthOut="20">0 100</UnsymParaCurve>)"),
         "LandXML纵断面“FG”：第1个纵断面元素是非对称竖曲线（UnsymParaCurve），无法导入!"},
        {Road(R"(<PVI desc="BP">0 100</PVI>)", "<UnsymParaCurve lengthIn=\"30\" lengthOut=\"30\">500 100</UnsymParaCurve>"),
         "LandXML纵断面“FG”：第3个纵断面元素是非对称竖曲线（UnsymParaCurve），无法导入!"},
        {Road(R"(<PVI desc="BP">0</PVI>)"), "LandXML纵断面“FG”：第1个纵断面元素缺少桩号 高程或其数值无效!"},
        {Road(R"(<PVI desc="BP">0 100 7</PVI>)"), "LandXML纵断面“FG”：第1个纵断面元素缺少桩号 高程或其数值无效!"},
        {Road(R"(<ParaCurve desc="BP" length="50">0 100</ParaCurve>)"),
         "LandXML纵断面“FG”：第1个纵断面元素是起点或终点，不能带竖曲线!"},
        {Road(R"(<PVI desc="BP">0 100</PVI>)", R"(<CircCurve desc="V2" length="60">500 100</CircCurve>)"),
         "LandXML纵断面“FG”：第3个纵断面元素缺少radius或其数值无效!"},
        {Road(R"(<PVI desc="BP">0 100</PVI>)", R"(<Curve>500 100</Curve>)"),
         "LandXML纵断面“FG”：第3个纵断面元素是不支持的类型<Curve>!"},
        // R = 6000 ft: T = 180 ft at V2 and 100 ft at V1, 250 ft apart: 30 ft = 9.144 m too long.
        {Road(R"(<PVI desc="BP">0 100</PVI>)", R"(<CircCurve desc="V2" radius="6000" length="360">500 100</CircCurve>)"),
         "LandXML纵断面“FG”：变坡点V1与V2的竖曲线重叠：两切线长之和比变坡点间距长9.144米!"},
        {Road(R"(<PVI desc="BP">0 100</PVI>)", v2, "furlong"),
         "LandXML文件的高程单位“furlong”无法识别（可用米、毫米、厘米、千米、英尺、美国测量英尺、英寸、英里），纵断面不能导入!"},
        {Road(R"(<PVI desc="BP">0 100</PVI>)", crowded), "LandXML纵断面“FG”：纵断面元素超过10000个!"},
    };
    for (const Case& c : cases) {
        const LandXmlImport in = ImportLandXml(c.xml, "");
        EXPECT_EQ(in.status, ImportStatus::Ok) << c.message;
        EXPECT_EQ(in.rows.size(), 2u) << c.message;
        EXPECT_TRUE(in.grades.empty()) << c.message;
        EXPECT_EQ(in.strProfileMessage, c.message);
    }
    // A ground line and an existing profile are no design profile.
    std::string ground = Road();
    ground.erase(ground.find("<ProfAlign name=\"FG\">"), ground.find("</Profile>") - ground.find("<ProfAlign name=\"FG\">"));
    const LandXmlImport none = ImportLandXml(ground, "");
    EXPECT_EQ(none.status, ImportStatus::Ok);
    EXPECT_EQ(none.strProfileMessage, "路线“A”没有设计纵断面（Profile中的ProfAlign）!");
}

Profile DemoProfile() {
    const GradeCsvRead read = ReadGradeCsv(Example("demo.vxz"));
    const ProfileBuild built = BuildProfile(read.rows);
    EXPECT_TRUE(built.Ok()) << built.strMessage;
    return built.profile;
}

// Demo grades: 0.02 to 560, −0.016 to 1240, 0.02 to 1800, −0.012 to 2120.
// L = R·|ω|: SJD1 8000·0.036 = 288, SJD2 12000·0.036 = 432, SJD3 10000·0.032 = 320.
TEST(LandXmlProfileExport, TheDemoProfileIsWrittenAndReadBackToTheMillimetre) {
    const Profile profile = DemoProfile();
    const LandXmlExport out = ExportLandXml(Alignment::Parse(DemoList()), "demo", 0, &profile);
    ASSERT_EQ(out.strMessage, "");
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(out.bytes.c_str()));
    pugi::xml_node prof = doc.select_node("/LandXML/Alignments/Alignment/Profile/ProfAlign[@name='demo']").node();
    std::string seen;
    for (pugi::xml_node n : prof.children())
        seen += std::string(n.name()) + " " + n.attribute("desc").value() + " " + n.attribute("length").value() + " " +
                n.child_value() + ";";
    EXPECT_EQ(seen,
              "PVI 起点  0.000000 120.000000;ParaCurve SJD1 288.000000 560.000000 131.200000;"
              "ParaCurve SJD2 432.000000 1240.000000 120.320000;ParaCurve SJD3 320.000000 1800.000000 131.520000;"
              "PVI 终点  2120.000000 127.680000;");
    const LandXmlImport back = ImportLandXml(out.bytes, "");
    EXPECT_EQ(Rows(back.grades), "起点,0.000,120.000,;SJD1,560.000,131.200,8000.000;SJD2,1240.000,120.320,12000.000;"
                                 "SJD3,1800.000,131.520,10000.000;终点,2120.000,127.680,;");
}

TEST(LandXmlProfileExport, AGradePointNameXmlCannotHoldIsRefused) {
    Profile profile = DemoProfile();
    profile.points[1].strName = "SJ\x1B" "1";
    const LandXmlExport out = ExportLandXml(Alignment::Parse(DemoList()), "demo", 0, &profile);
    EXPECT_EQ(out.strMessage, "变坡点名“SJ\x1B" "1”含有控制字符或不是有效的UTF-8文本，无法写入LandXML!");
    EXPECT_TRUE(out.bytes.empty());
}

}  // namespace
