// LandXML alignments in: hand-made documents whose rows are worked out by
// hand (a straight, a quarter circle of radius 100, a straight, a sliver and
// a left-turning clothoid), and the refusals, each naming its element.
// Out: the sample road written as LandXML, read back within a millimetre,
// and the document checked by a second path (XPath queries on the parsed
// tree) against the geometry of arcs and clothoids as the textbooks give it.
#include <cmath>
#include <regex>

#include <pugixml.hpp>

#include "CoreFixture.h"
#include "core/files/LandXml.h"
#include "core/road/Alignment.h"
#include "core/text/Texts.h"

namespace {

// Heading east from (N 0, E 0) at station 1000: 100 m straight; a right
// quarter circle of radius 100 about (-100, 100), 157.0796327 m; 100 m due
// south; a 0.4 mm sliver; a 50 m clothoid from ∞ to 200 turning left.
const char* const kRoad = R"(<?xml version="1.0" encoding="UTF-8"?>
<LandXML xmlns="http://www.landxml.org/schema/LandXML-1.2" version="1.2">
 <Alignments>
  <Alignment name="A" staStart="1000" length="407.08">
   <CoordGeom>
    <Line length="100"><Start>0 0</Start><End>0 100</End></Line>
    <Curve rot="cw" radius="100" length="157.0796327">
     <Start>0 100</Start><Center>-100 100</Center><End>-100 200</End><PI>0 200</PI></Curve>
    <Line length="100"><Start>LINE3START</Start><End>LINE3END</End></Line>
    <Line length="0.0004"><Start>-200 200</Start><End>-200.0004 200</End></Line>
    <Spiral spiType="SPITYPE" rot="ccw" length="50" radiusStart="INF" radiusEnd="200">
     <Start>-200.0004 200</Start><PI>-233.3337 200</PI><End>-249.9223 202.0810</End></Spiral>
   </CoordGeom>
  </Alignment>
 </Alignments>
</LandXML>)";

std::string Road(const std::string& line3Start = "-100 200", const std::string& line3End = "-200 200",
                 const std::string& spiType = "clothoid") {
    std::string s = kRoad;
    auto put = [&](const std::string& key, const std::string& value) { s.replace(s.find(key), key.size(), value); };
    put("LINE3START", line3Start);
    put("LINE3END", line3End);
    put("SPITYPE", spiType);
    return s;
}

std::string Replace(std::string s, const std::string& from, const std::string& to) {
    return s.replace(s.find(from), from.size(), to);
}

constexpr double kDeg = kPi / 180.0;

double Num(const std::string& s) { return std::atof(s.c_str()); }

// A LandXML point "N E" as X, Y.
CPlanePoint P(pugi::xml_node node) {
    double x = 0, y = 0;
    std::sscanf(node.child_value(), "%lf %lf", &x, &y);
    return CPlanePoint(x, y);
}

double A(pugi::xml_node node, const char* name) { return node.attribute(name).as_double(); }

}  // namespace

TEST(LandXmlImport, ElementsBecomeRowsWithTheEndPointLastAndTheSliverAbsorbed) {
    LandXmlImport in = ImportLandXml(Road(), "");
    ASSERT_EQ(in.status, ImportStatus::Ok) << in.strMessage;
    EXPECT_EQ(in.strName, "A");
    std::vector<std::string> rows;
    for (const ControlRow& r : in.rows) rows.push_back(Show(r));
    const std::vector<std::string> expected = {
        "1000.000|直线|∞|0.000|0.000",
        "1100.000|圆曲线|100.000|0.000|100.000",
        "1257.080|直线|∞|-100.000|200.000",
        "1357.080|缓和曲线|-∞|-200.0004|200.000",  // after 100 + 157.0796 + 100 + 0.0004
        "1407.080|终点|-200.000|-249.9223|202.081",  // as the file gives X
    };
    EXPECT_EQ(rows, expected);
}

TEST(LandXmlImport, OneOfSeveralAlignmentsIsTakenOnlyByName) {
    std::string two = Replace(Road(), "</Alignments>",
                              R"(<Alignment name="B" staStart="0"><CoordGeom>
                                 <Line><Start>10 10</Start><End>10 30</End></Line></CoordGeom></Alignment></Alignments>)");
    EXPECT_EQ(ImportLandXml(two, "").status, ImportStatus::Refused);  // unnamed: LandXmlDesign's GBK names
    LandXmlImport b = ImportLandXml(two, "B");
    ASSERT_EQ(b.status, ImportStatus::Ok);
    ASSERT_EQ(b.rows.size(), 2u);  // a length read from the points: 20 m
    EXPECT_EQ(Show(b.rows[0]), "0.000|直线|∞|10.000|10.000");
    EXPECT_EQ(Show(b.rows[1]), "20.000|终点|∞|10.000|30.000");
    EXPECT_EQ(ImportLandXml(two, "C").strMessage, "LandXML文件中没有名为“C”的路线，可选：A、B");
}

TEST(LandXmlImport, RefusalsNameTheElementByNumberAndStartStation) {
    struct Case { std::string xml; ImportStatus status; std::string message; };
    const std::string road = Road();
    const Case cases[] = {
        {Road("-100 200", "-200 200", "cubic"), ImportStatus::Refused,
         "第5个线元（里程1357.080）的缓和曲线类型“cubic”不支持，只能导入回旋线（clothoid）!"},
        {Road("-100.002 200"), ImportStatus::Refused, "第3个线元（里程1257.080）与前一线元不相接：相距0.002米（允许1毫米）!"},
        // 0.8 mm apart passes (still due south, as the arc ends).
        {Road("-100.0008 200", "-200 200"), ImportStatus::Ok, ""},
        // Swung 0.05 m over 100 m: 103.1″ off the curve's end tangent.
        {Road("-100 200", "-200 200.05"), ImportStatus::Refused, "第3个线元（里程1257.080）与前一线元的方向相差103.1秒（允许20秒）!"},
        {Replace(road, "rot=\"cw\" ", ""), ImportStatus::Refused, "第2个线元（里程1100.000）的转向rot必须是cw或ccw!"},
        {Replace(road, "<Start>0 100</Start>", "<Start>0 x</Start>"), ImportStatus::Refused,
         "第2个线元（里程1100.000）缺少Start或其数值无效!"},
        {Replace(road, "<PI>-233.3337 200</PI>", ""), ImportStatus::Refused, "第5个线元（里程1357.080）缺少PI或其数值无效!"},
        {Replace(road, "radiusEnd=\"200\"", "radiusEnd=\"inf\""), ImportStatus::Refused,
         "第5个线元（里程1357.080）是缓和曲线，但两端半径相同!"},
        {Replace(road, "radius=\"100\"", "radius=\"-100\""), ImportStatus::Refused, "第2个线元（里程1100.000）的半径必须大于0!"},
        {Replace(road, "<Line length=\"100\">", "<Line length=\"-100\">"), ImportStatus::Refused,
         "第1个线元（里程1000.000）的长度不能为负!"},
        {Replace(road, "<Line length=\"0.0004\">", "<Chain>1</Chain><Line length=\"0.0004\">"), ImportStatus::Refused,
         "第4个线元（里程1357.080）是不支持的类型<Chain>!"},
        {Replace(road, "0 0</Start>", "0 123456789012</Start>"), ImportStatus::Refused,
         "第1个线元（里程1000.000）的数值超出了控制数据的字段宽度!"},
        {Replace(road, "staStart=\"1000\"", "staStart=\"x\""), ImportStatus::Refused,
         "A缺少staStart或其数值无效!"},
        {"<LandXML><Alignments/></LandXML>", ImportStatus::Refused, "LandXML文件中没有路线（Alignment）!"},
        {"<Road/>", ImportStatus::Malformed, "不是LandXML文件：根元素是<Road>!"},
        {"<LandXML><Alignments>", ImportStatus::Malformed, ""},
        {"", ImportStatus::Malformed, ""},
    };
    for (const Case& c : cases) {
        LandXmlImport in = ImportLandXml(c.xml, "");
        EXPECT_EQ(in.status, c.status) << in.strMessage;
        if (!c.message.empty() || c.status == ImportStatus::Ok) {
            EXPECT_EQ(in.strMessage, c.message);
        }
        if (c.status != ImportStatus::Ok) {
            EXPECT_TRUE(in.rows.empty() && !in.strMessage.empty());
        }
    }
}

TEST(LandXmlImport, ASpiralMustEndOnTheRadiusTheNextElementStartsWith) {
    // A clothoid ∞ → 300 over 60 m ends turned by 60 / 600 = 0.1 rad; an arc
    // goes on along that tangent. With a radius of 400 the row between them
    // could hold only one of the two radii.
    const char* xml = R"(<LandXML><Alignments><Alignment name="S"><CoordGeom>
      <Spiral spiType="clothoid" rot="cw" length="60" radiusStart="INF" radiusEnd="300">
        <Start>0 0</Start><PI>40.0210 0</PI><End>59.9400 1.9986</End></Spiral>
      <Curve rot="cw" radius="RADIUS" length="10"><Start>59.9400 1.9986</Start><PI>64.9155 2.4978</PI><End>69.8716 3.1625</End></Curve>
    </CoordGeom></Alignment></Alignments></LandXML>)";
    EXPECT_EQ(ImportLandXml(Replace(xml, "RADIUS", "400"), "").strMessage,
              "第2个线元（里程60.000）的起点半径与前面缓和曲线的终点半径不同，控制数据无法表示!");
    LandXmlImport same = ImportLandXml(Replace(xml, "RADIUS", "300.0001"), "");
    ASSERT_EQ(same.status, ImportStatus::Ok) << same.strMessage;
    EXPECT_EQ(Show(same.rows[1]), "60.000|圆曲线|300.000|59.940|1.9986");
    EXPECT_EQ(Show(same.rows[2]), "70.000|终点|300.000|69.8716|3.1625");
}

TEST(LandXmlExport, TheDemoRoadComesBackWithinAMillimetre) {
    const std::vector<std::string> list = DemoList();
    LandXmlExport out = ExportLandXml(Alignment::Parse(list), "demo", 0);
    ASSERT_EQ(out.strMessage, "");
    LandXmlImport back = ImportLandXml(out.bytes, "");
    ASSERT_EQ(back.status, ImportStatus::Ok) << back.strMessage;
    EXPECT_EQ(back.strName, "demo");
    ASSERT_EQ(back.rows.size(), list.size() - 1);
    for (std::size_t i = 0; i < back.rows.size(); ++i) {
        const ControlRow want = SplitControlLine(list[i + 1]), got = back.rows[i];
        EXPECT_EQ(got.strField[kFieldLineType], want.strField[kFieldLineType]) << i;
        for (int f : {kFieldStation, kFieldX, kFieldY})
            EXPECT_NEAR(Num(got.strField[f]), Num(want.strField[f]), 0.001) << i << " field " << f;
        const std::string& r = want.strField[kFieldRadius];
        if (r.find(Gbk("∞")) != std::string::npos) EXPECT_EQ(got.strField[kFieldRadius], r) << i;
        else EXPECT_NEAR(Num(got.strField[kFieldRadius]), Num(r), 0.001) << i;
    }
}

TEST(LandXmlExport, TheDocumentHoldsWhatLandXmlAndTheGeometrySay) {
    LandXmlExport out = ExportLandXml(Alignment::Parse(DemoList()), "demo", 1780000000);
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(out.bytes.c_str()));
    pugi::xml_node root = doc.select_node("/LandXML").node();
    EXPECT_STREQ(root.attribute("xmlns").value(), "http://www.landxml.org/schema/LandXML-1.2");
    EXPECT_STREQ(root.attribute("version").value(), "1.2");
    EXPECT_TRUE(std::regex_match(root.attribute("date").value(), std::regex(R"(\d{4}-\d\d-\d\d)")));
    EXPECT_TRUE(std::regex_match(root.attribute("time").value(), std::regex(R"(\d\d:\d\d:\d\d)")));
    pugi::xml_node metric = doc.select_node("/LandXML/Units/Metric").node();
    for (auto [name, value] : {std::pair{"linearUnit", "meter"}, {"angularUnit", "decimal degrees"},
                               {"directionUnit", "decimal degrees"}, {"pressureUnit", "milliBars"}})
        EXPECT_STREQ(metric.attribute(name).value(), value) << name;
    pugi::xml_node alignment = doc.select_node("/LandXML/Alignments/Alignment[@name='demo']").node();
    EXPECT_DOUBLE_EQ(A(alignment, "staStart"), 0);
    EXPECT_DOUBLE_EQ(A(alignment, "length"), 2120);
    // The demo: 3 straights, 3 arcs (600, -400, -250), 4 spirals from or to a
    // straight and one between the arcs of 400 and 250.
    for (auto [query, count] : {std::pair{"//CoordGeom/Line", 3u}, {"//CoordGeom/Curve", 3u},
                                {"//CoordGeom/Spiral[@spiType='clothoid']", 5u}, {"//Spiral[@rot='ccw']", 3u},
                                {"//Spiral[@theta and @totalX and @totalY and @tanLong and @tanShort]", 4u},
                                {"//Spiral[@radiusStart='INF' or @radiusEnd='INF']", 4u}})
        EXPECT_EQ(doc.select_nodes(query).size(), count) << query;

    // Each element ends on the point its end row holds, which the demo's
    // rows, typed to the millimetre, put within a millimetre of the curve.
    for (pugi::xpath_node n : doc.select_nodes("//Curve")) {
        pugi::xml_node c = n.node();
        const double r = A(c, "radius"), len = A(c, "length"), delta = A(c, "delta") * kDeg;
        CPlanePoint s = P(c.child("Start")), e = P(c.child("End")), o = P(c.child("Center")), pi = P(c.child("PI"));
        EXPECT_NEAR(delta, len / r, 1e-9);
        EXPECT_NEAR(o.Distance(s), r, 1e-5);
        EXPECT_NEAR(o.Distance(e), r, 1e-3);
        EXPECT_NEAR(s.Distance(e), A(c, "chord"), 1e-3);
        EXPECT_NEAR(A(c, "chord"), 2 * r * std::sin(delta / 2), 1e-6);
        EXPECT_NEAR(s.Distance(pi), A(c, "tangent"), 1e-5);
        EXPECT_NEAR(pi.Distance(e), A(c, "tangent"), 1e-3);
    }
    for (pugi::xpath_node n : doc.select_nodes("//Spiral[@theta]")) {
        pugi::xml_node s = n.node();
        const bool entering = std::string(s.attribute("radiusStart").value()) == "INF";
        const double len = A(s, "length"), r = entering ? A(s, "radiusEnd") : A(s, "radiusStart");
        const double theta = len / (2 * r);  // the clothoid's tangent angle at its end
        EXPECT_NEAR(A(s, "theta") * kDeg, theta, 1e-7);
        // Fresnel series to the third term: far below a millimetre here.
        EXPECT_NEAR(A(s, "totalX"), len - std::pow(len, 3) / (40 * r * r) + std::pow(len, 5) / (3456 * std::pow(r, 4)), 1e-3);
        EXPECT_NEAR(A(s, "totalY"), len * len / (6 * r) - std::pow(len, 4) / (336 * std::pow(r, 3)), 1e-3);
        EXPECT_NEAR(A(s, "tanLong"), A(s, "totalX") - A(s, "totalY") / std::tan(theta), 1e-4);
        EXPECT_NEAR(A(s, "tanShort"), A(s, "totalY") / std::sin(theta), 1e-4);
        CPlanePoint straightEnd = P(s.child(entering ? "Start" : "End")), pi = P(s.child("PI"));
        EXPECT_NEAR(straightEnd.Distance(pi), A(s, "tanLong"), 1e-4);
    }
}

TEST(LandXmlExport, ARoadThatCannotBeEvaluatedIsRefused) {
    std::vector<std::string> list = DemoList();
    EXPECT_EQ(ExportLandXml(Alignment::Parse({list[0], list[1]}), "x", 0).strMessage,
              "控制数据少于两行或有里程不是数字，无法导出!");
    // The clothoid from 300 to 420 made to end on the radius it starts with.
    list[3] = L("420|圆曲线|∞|3805252.436|500335.547");
    LandXmlExport out = ExportLandXml(Alignment::Parse(list), "x", 0);
    EXPECT_EQ(out.strMessage, "控制数据中里程300处的线元无法计算，无法导出!");
    EXPECT_TRUE(out.bytes.empty());
    // An arc typed with radius 0 evaluates to no number: refused, not "nan".
    list = DemoList();
    list[3] = L("420|圆曲线|0|3805252.436|500335.547");
    out = ExportLandXml(Alignment::Parse(list), "x", 0);
    EXPECT_EQ(out.strMessage, "控制数据中里程420.000至670.000之间的数据无法计算！");
    EXPECT_TRUE(out.bytes.empty());
}

// An attribute holds well-formed UTF-8 without control characters; any
// other name would make a document no reader takes.
TEST(LandXmlExport, ANameXmlCannotHoldIsRefused) {
    struct Case { std::string name; bool ok; };
    const Case cases[] = {
        {"主线", true}, {"K0 \"A\" <&>", true}, {"\xF0\x9F\x98\x80", true}, {"", true},
        {"a\tb", false}, {"a\nb", false}, {"a\x1B[31m", false}, {"a\x7F", false},
        {"a\xFF", false}, {"\xE4\xB8", false},                             // stray and cut short
        {"\xC0\xAF", false}, {"\xE0\x80\xAF", false},                    // overlong
        {"\xED\xA0\x80", false}, {"\xF4\x90\x80\x80", false},           // surrogate, beyond U+10FFFF
        {Gbk("主线"), false},                                                // GBK bytes
    };
    const Alignment road = Alignment::Parse(DemoList());
    for (const Case& c : cases) {
        EXPECT_EQ(IsLandXmlName(c.name), c.ok) << c.name;
        const LandXmlExport out = ExportLandXml(road, c.name, 0);
        EXPECT_EQ(out.strMessage, c.ok ? "" : text::kXmlExportBadName) << c.name;
        EXPECT_EQ(out.bytes.empty(), !c.ok) << c.name;
    }
}

// 长链 1095 = 1085 on the first line: the row at distance 1100 is the
// 桩号 1090 a second time. At 100 km the same row, 100090.000(2), is 13
// bytes and cannot be written into its 12-byte column.
TEST(LandXmlImport, StationsWithTheirOccurrenceAreWrittenOnlyWhereTheyFit) {
    const std::string near = Replace(Road(), "<CoordGeom>",
                                     R"(<StaEquation staBack="1095" staAhead="1085" staInternal="1095"/><CoordGeom>)");
    const LandXmlImport in = ImportLandXml(near, "");
    ASSERT_EQ(in.status, ImportStatus::Ok) << in.strMessage;
    EXPECT_EQ(in.rows[1].strField[kFieldStation], "1090.000(2)");
    std::string far = Replace(Replace(near, "staStart=\"1000\"", "staStart=\"100000\""), "staBack=\"1095\" staAhead=\"1085\" staInternal=\"1095\"",
                              "staBack=\"100095\" staAhead=\"100085\" staInternal=\"100095\"");
    const LandXmlImport refused = ImportLandXml(far, "");
    EXPECT_EQ(refused.status, ImportStatus::Refused);
    EXPECT_EQ(refused.strMessage, "桩号100090.000(2)超出了控制数据里程字段的宽度（12个字节）!");
    EXPECT_TRUE(refused.rows.empty());
}

// As the buildingSMART railway sample writes its chainage: staAhead and
// staInternal, no staBack. From staStart 27000, KM27+ begins at 27205.4145419
// (ahead 205.4145419) and KM28+ at 28000.6596581 (ahead 0). The back station
// of each is the 桩号 the equations before it reach there: 27205.4145419,
// then 28000.6596581 + (205.4145419 - 27205.4145419) = 1000.6596581: the
// values the sample's description gives as staBack where it writes one.
TEST(LandXmlImport, AStationEquationWithoutStaBackTakesTheStationReachedThere) {
    const std::string xml = R"(<LandXML><Alignments><Alignment name="rail" staStart="27000">
      <CoordGeom><Line><Start>0 0</Start><End>500 0</End></Line><Line><Start>500 0</Start><End>1100 0</End></Line></CoordGeom>
      <StaEquation staAhead="205.4145419" staInternal="27205.4145419"><Feature code="StaEquation"/></StaEquation>
      <StaEquation staAhead="0.0000000" staInternal="28000.6596581"/>
    </Alignment></Alignments></LandXML>)";
    const LandXmlImport in = ImportLandXml(xml, "");
    ASSERT_EQ(in.status, ImportStatus::Ok) << in.strMessage;
    ASSERT_EQ(in.equations.size(), 2u);
    EXPECT_EQ(in.equations[0].strBack, "27205.415");
    EXPECT_EQ(in.equations[0].strAhead, "205.415");
    EXPECT_EQ(in.equations[1].strBack, "1000.660");
    EXPECT_EQ(in.equations[1].strAhead, "0.000");
    // 27500 is 桩号 500 after the first, 28100 桩号 99.340 after the second;
    // both 长链 go back, so each 桩号 carries its occurrence.
    std::vector<std::string> rows;
    for (const ControlRow& r : in.rows) rows.push_back(Show(r));
    EXPECT_EQ(rows, (std::vector<std::string>{"27000.000(1)|直线|∞|0.000|0.000", "500.000(2)|直线|∞|500.000|0.000",
                                              "99.340(2)|终点|∞|1100.000|0.000"}));
    // A staBack given but empty is still no number.
    EXPECT_EQ(ImportLandXml(Replace(xml, "<StaEquation staAhead=\"0.0000000\"", "<StaEquation staBack=\"\" staAhead=\"0\""), "")
                  .strMessage,
              "第2个断链（StaEquation）的staBack、staAhead或staInternal不是数字!");
}
