// LandXML alignments in: hand-made documents whose rows are worked out by
// hand (a straight, a quarter circle of radius 100, a straight, a sliver and
// a left-turning clothoid), and the refusals, each naming its element.
#include <gtest/gtest.h>

#include <string>

#include "core/files/LandXml.h"
#include "core/text/Gbk.h"

using namespace vexaline;

namespace {

// Heading east from (N 0, E 0) at station 1000: 100 m straight; a right
// quarter circle of radius 100 about (-100, 100), 157.0796327 m; 100 m due
// south; a 0.4 mm sliver; a 50 m clothoid from ∞ to 250 turning left.
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
    <Spiral spiType="SPITYPE" rot="ccw" length="50" radiusStart="INF" radiusEnd="250">
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

// A row as "station|type|radius|X|Y" in UTF-8.
std::string Show(const ControlRow& row) {
    std::string s;
    for (int i = 0; i < kControlFieldCount; ++i) s += (i ? "|" : "") + GbkToUtf8(row.strField[i]);
    return s;
}

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
        "1357.080|缓和曲线|-∞|-200.000|200.000",  // after 100 + 157.0796 + 100 + 0.0004
        "1407.080|终点|-250.000|-249.922|202.081",
    };
    EXPECT_EQ(rows, expected);
}

TEST(LandXmlImport, OneOfSeveralAlignmentsIsTakenOnlyByName) {
    std::string two = Replace(Road(), "</Alignments>",
                              R"(<Alignment name="B" staStart="0"><CoordGeom>
                                 <Line><Start>10 10</Start><End>10 30</End></Line></CoordGeom></Alignment></Alignments>)");
    LandXmlImport none = ImportLandXml(two, "");
    EXPECT_EQ(none.status, ImportStatus::Refused);
    EXPECT_EQ(none.strMessage, "LandXML文件中有2条路线，请指定一条：A、B");
    EXPECT_EQ(none.names, (std::vector<std::string>{"A", "B"}));
    LandXmlImport b = ImportLandXml(two, "B");
    ASSERT_EQ(b.status, ImportStatus::Ok);
    ASSERT_EQ(b.rows.size(), 2u);  // a length read from the points: 20 m
    EXPECT_EQ(Show(b.rows[0]), "0.000|直线|∞|10.000|10.000");
    EXPECT_EQ(Show(b.rows[1]), "20.000|终点|∞|10.000|30.000");
    EXPECT_EQ(ImportLandXml(two, "C").strMessage, "LandXML文件中没有名为“C”的路线，可选：A、B");
}

TEST(LandXmlImport, RefusalsNameTheElementByNumberAndStartStation) {
    struct Case {
        std::string xml;
        ImportStatus status;
        std::string message;
    };
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
        {Replace(road, "radiusEnd=\"250\"", "radiusEnd=\"inf\""), ImportStatus::Refused,
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
        <Start>0 0</Start><PI>40 0</PI><End>59.9001 1.9967</End></Spiral>
      <Curve rot="cw" radius="RADIUS" length="10"><Start>59.9001 1.9967</Start><PI>64.8752 2.4959</PI><End>69.8 2.6</End></Curve>
    </CoordGeom></Alignment></Alignments></LandXML>)";
    EXPECT_EQ(ImportLandXml(Replace(xml, "RADIUS", "400"), "").strMessage,
              "第2个线元（里程60.000）的起点半径与前面缓和曲线的终点半径不同，控制数据无法表示!");
    LandXmlImport same = ImportLandXml(Replace(xml, "RADIUS", "300.0001"), "");
    ASSERT_EQ(same.status, ImportStatus::Ok) << same.strMessage;
    EXPECT_EQ(Show(same.rows[1]), "60.000|圆曲线|300.000|59.900|1.997");
    EXPECT_EQ(Show(same.rows[2]), "70.000|终点|300.000|69.800|2.600");
}
