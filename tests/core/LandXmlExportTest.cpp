// LandXML out: the demo road written and read back, and the document checked
// by a second path (XPath queries on the parsed tree) against the geometry
// of arcs and clothoids as the textbooks give it.
#include <gtest/gtest.h>

#include <cmath>
#include <regex>

#include <pugixml.hpp>

#include "core/files/AlignmentFile.h"
#include "core/files/LandXml.h"
#include "core/files/TextFile.h"
#include "core/road/Alignment.h"
#include "core/text/ControlLine.h"
#include "core/text/Gbk.h"

using namespace vexaline;

namespace {

constexpr double kDeg = 3.141592653589793 / 180.0;

std::vector<std::string> DemoList() {
    std::string bytes;
    EXPECT_EQ(ReadWholeFile(std::string(VEXALINE_SOURCE_DIR) + "/examples/demo.vxa", bytes), ReadStatus::Ok);
    std::vector<std::string> list = AlignmentRecords(bytes);
    list.insert(list.begin(), ControlHeaderLine());
    return list;
}

double Num(const std::string& s) { return std::atof(s.c_str()); }

// A LandXML point "N E" as X, Y.
CPlanePoint P(pugi::xml_node node) {
    double x = 0, y = 0;
    std::sscanf(node.child_value(), "%lf %lf", &x, &y);
    return CPlanePoint(x, y);
}

double A(pugi::xml_node node, const char* name) { return node.attribute(name).as_double(); }

}  // namespace

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
    EXPECT_STREQ(metric.attribute("linearUnit").value(), "meter");
    EXPECT_STREQ(metric.attribute("angularUnit").value(), "decimal degrees");
    EXPECT_STREQ(metric.attribute("directionUnit").value(), "decimal degrees");
    EXPECT_STREQ(metric.attribute("pressureUnit").value(), "milliBars");
    pugi::xml_node alignment = doc.select_node("/LandXML/Alignments/Alignment[@name='demo']").node();
    EXPECT_DOUBLE_EQ(A(alignment, "staStart"), 0);
    EXPECT_DOUBLE_EQ(A(alignment, "length"), 2120);
    // The demo: 3 straights, 3 arcs (600, -400, -250), 4 spirals from or to a
    // straight and one between the arcs of 400 and 250.
    EXPECT_EQ(doc.select_nodes("//CoordGeom/Line").size(), 3u);
    EXPECT_EQ(doc.select_nodes("//CoordGeom/Curve").size(), 3u);
    EXPECT_EQ(doc.select_nodes("//CoordGeom/Spiral[@spiType='clothoid']").size(), 5u);
    EXPECT_EQ(doc.select_nodes("//Spiral[@theta and @totalX and @totalY and @tanLong and @tanShort]").size(), 4u);
    EXPECT_EQ(doc.select_nodes("//Spiral[@radiusStart='INF' or @radiusEnd='INF']").size(), 4u);
    EXPECT_EQ(doc.select_nodes("//Spiral[@rot='ccw']").size(), 3u);

    for (pugi::xpath_node n : doc.select_nodes("//Curve")) {
        pugi::xml_node c = n.node();
        const double r = A(c, "radius"), len = A(c, "length"), delta = A(c, "delta") * kDeg;
        CPlanePoint s = P(c.child("Start")), e = P(c.child("End")), o = P(c.child("Center")), pi = P(c.child("PI"));
        EXPECT_NEAR(delta, len / r, 1e-9);
        EXPECT_NEAR(o.Distance(s), r, 1e-5);
        EXPECT_NEAR(o.Distance(e), r, 1e-5);
        EXPECT_NEAR(s.Distance(e), A(c, "chord"), 1e-5);
        EXPECT_NEAR(A(c, "chord"), 2 * r * std::sin(delta / 2), 1e-6);
        EXPECT_NEAR(s.Distance(pi), A(c, "tangent"), 1e-5);
        EXPECT_NEAR(pi.Distance(e), A(c, "tangent"), 1e-5);
    }
    for (pugi::xpath_node n : doc.select_nodes("//Spiral[@theta]")) {
        pugi::xml_node s = n.node();
        const bool entering = std::string(s.attribute("radiusStart").value()) == "INF";
        const double len = A(s, "length"), r = entering ? A(s, "radiusEnd") : A(s, "radiusStart");
        const double theta = len / (2 * r);  // the clothoid's tangent angle at its end
        EXPECT_NEAR(A(s, "theta") * kDeg, theta, 1e-7);
        // Fresnel series to the third term: far below a millimetre here.
        EXPECT_NEAR(A(s, "totalX"), len - std::pow(len, 3) / (40 * r * r) + std::pow(len, 5) / (3456 * std::pow(r, 4)), 1e-4);
        EXPECT_NEAR(A(s, "totalY"), len * len / (6 * r) - std::pow(len, 4) / (336 * std::pow(r, 3)), 1e-4);
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
    ControlRow row = SplitControlLine(list[3]);
    row.strField[kFieldRadius] = Gbk("∞");
    list[3] = BuildControlLine(row);
    LandXmlExport out = ExportLandXml(Alignment::Parse(list), "x", 0);
    EXPECT_EQ(out.strMessage, "控制数据中里程300处的线元无法计算，无法导出!");
    EXPECT_TRUE(out.bytes.empty());
}
