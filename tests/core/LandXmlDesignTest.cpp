// LandXML files shaped as design programs write them: arcs of a few
// centimetres and lines under a metre between long elements, lines of
// 0.65-6 m between spirals, 8-digit eastings, feet, GBK names. Each file is written here from a road driven
// forward from its curvature (DrivenRoad: numerical integration, nothing of
// the code under test), and the imported rows are staked out against that
// same road.
#include <algorithm>
#include <cstdio>
#include <functional>

#include "CoreFixture.h"
#include "core/files/LandXml.h"
#include "core/road/Alignment.h"
#include "core/road/ControlCheck.h"

namespace {

constexpr double kSecond = kPi / 180.0 / 3600.0;

std::string N(double v) {
    char b[64];
    std::snprintf(b, sizeof b, "%.6f", v);
    return b;
}

std::string Radius(double k, double unit) { return k == 0 ? "INF" : N(1.0 / std::fabs(k) / unit); }

struct Design {
    DrivenRoad road;
    double staStart = 0;
    std::string units = "<Metric linearUnit=\"meter\"/>";
    double unit = 1.0;  // metres per unit of the file
    std::string name = "main";
};

// The document as design programs write it: every point to 1e-6 of the
// file's unit, northing first; curves with Center and PI, spirals with PI.
std::string Xml(const Design& d) {
    const DrivenRoad& r = d.road;
    auto point = [&](const char* tag, CPlanePoint p) {
        return std::string("<") + tag + ">" + N(p.X / d.unit) + " " + N(p.Y / d.unit) + "</" + tag + ">";
    };
    std::string geom;
    double total = 0;
    for (std::size_t i = 0; i < r.pieces.size(); ++i) {
        const Piece& p = r.pieces[i];
        double h0 = 0, h1 = 0;
        const CPlanePoint a = r.Point(r.at[i], &h0), b = r.Point(r.at[i] + p.length, &h1);
        if (i == 0) h0 = r.azimuth0;
        const double turn = p.k0 + p.k1 > 0 ? 1 : -1;
        const std::string rot = std::string(" rot=\"") + (turn > 0 ? "cw" : "ccw") + "\"";
        const std::string length = " length=\"" + N(p.length / d.unit) + "\"";
        total += p.length;
        if (p.k0 == 0 && p.k1 == 0) {
            geom += "<Line" + length + ">" + point("Start", a) + point("End", b) + "</Line>\n";
        } else if (p.k0 == p.k1) {
            const double radius = 1 / std::fabs(p.k0), tangent = radius * std::tan(p.length / radius / 2);
            const CPlanePoint centre(a.X + radius * std::cos(h0 + turn * kPi / 2), a.Y + radius * std::sin(h0 + turn * kPi / 2));
            const CPlanePoint pi(a.X + tangent * std::cos(h0), a.Y + tangent * std::sin(h0));
            geom += "<Curve" + rot + " radius=\"" + N(radius / d.unit) + "\"" + length + ">" + point("Start", a) +
                    point("Center", centre) + point("End", b) + point("PI", pi) + "</Curve>\n";
        } else {
            // The tangents at both ends meet at the PI.
            const double dx = b.X - a.X, dy = b.Y - a.Y;
            const double u = (dx * std::sin(h1) - dy * std::cos(h1)) / std::sin(h1 - h0);
            const CPlanePoint pi(a.X + u * std::cos(h0), a.Y + u * std::sin(h0));
            geom += "<Spiral spiType=\"clothoid\"" + rot + length + " radiusStart=\"" + Radius(p.k0, d.unit) +
                    "\" radiusEnd=\"" + Radius(p.k1, d.unit) + "\">" + point("Start", a) + point("PI", pi) +
                    point("End", b) + "</Spiral>\n";
        }
    }
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\" version=\"1.2\">\n<Units>" +
           d.units + "</Units>\n<Alignments><Alignment name=\"" + d.name + "\" staStart=\"" + N(d.staStart / d.unit) +
           "\" length=\"" + N(total / d.unit) + "\"><CoordGeom>\n" + geom + "</CoordGeom></Alignment></Alignments></LandXML>\n";
}

// A spiral into an arc of 2.8 cm and out again, a line of 0.6 m ahead of a
// long one, a left curve, a 3 cm arc of radius 3000 between lines (a
// turn of 2″); northings of 7 digits, eastings of 8.
Design ShortElements() {
    const double r1 = 1 / 150.0, r2 = -1 / 200.0;
    return Design{DrivenRoad({3805123.4567891, 24525276.8671234}, 0.7,
                             {{120, 0, 0}, {40, 0, r1}, {0.028, r1, r1}, {40, r1, 0}, {0.6, 0, 0}, {80, 0, 0},
                              {30, 0, r2}, {25.3, r2, r2}, {30, r2, 0}, {20, 0, 0}, {0.03, 1 / 3000.0, 1 / 3000.0}, {50, 0, 0}}),
                  1000.0};
}

std::vector<std::string> List(const std::vector<ControlRow>& rows) {
    std::vector<std::string> list = ControlLines(rows);
    list.insert(list.begin(), ControlHeaderLine());
    return list;
}

struct Worst { double position = 0, azimuth = 0, at = 0; };

// The rows staked out every 10 m and on both sides of every change point,
// on the centreline and 10 m either side, against the driven road.
Worst StakeOut(const std::vector<ControlRow>& rows, const Design& d) {
    const Alignment road = Alignment::Parse(List(rows));
    std::vector<double> stations;
    for (double s = 0; s < d.road.at.back() + d.road.pieces.back().length; s += 10) stations.push_back(s);
    for (double a : d.road.at)
        for (double e : {-1e-4, 0.0, 1e-4}) stations.push_back(std::max(0.0, a + e));
    stations.push_back(d.road.at.back() + d.road.pieces.back().length);
    Worst w;
    for (double s : stations) {
        double heading = 0;
        const CPlanePoint p = d.road.Point(s, &heading);
        for (double offset : {0.0, 10.0, -10.0}) {
            const Stake got = road.At(d.staStart + s, offset, kPi / 2);
            const CPlanePoint want(p.X + offset * std::cos(heading + kPi / 2), p.Y + offset * std::sin(heading + kPi / 2));
            const double off = got.point.Distance(want), turn = std::fabs(std::remainder(got.dAzimuth - heading, 2 * kPi));
            if (off > w.position) w.position = off, w.at = s;
            w.azimuth = std::max(w.azimuth, turn);
        }
    }
    return w;
}

double Number(const std::string& gbk) { return std::atof(gbk.c_str()); }

// How far the rows turn line i of a design in metres: the chord between its
// two rows (i and i + 1) as written, against the chord between the file's
// own two points as written.
double LineTurn(const Design& d, const std::vector<ControlRow>& rows, std::size_t i) {
    const CPlanePoint a = d.road.Point(d.road.at[i]), b = d.road.Point(d.road.at[i] + d.road.pieces[i].length);
    auto written = [](double v) { return std::atof(N(v).c_str()); };
    const double file = std::atan2(written(b.Y) - written(a.Y), written(b.X) - written(a.X));
    const double row = std::atan2(Number(rows[i + 1].strField[kFieldY]) - Number(rows[i].strField[kFieldY]),
                                  Number(rows[i + 1].strField[kFieldX]) - Number(rows[i].strField[kFieldX]));
    return std::fabs(std::remainder(row - file, 2 * kPi));
}

// The notice of elements turned beyond 20″, and one element in it: its
// number, length, turn, and what the turn makes 10 m out.
const std::string kTurnedLead =
    "控制数据的坐标定不住短线元的方向：下列线元放样的切线方向偏离文件超过20秒，但中桩和两侧10米边桩都在文件线形5毫米以内。";

std::string TurnedText(std::size_t index, double length, double turn) {
    char b[200];
    std::snprintf(b, sizeof b, "第%d个线元（长%.3f米）偏%.1f秒，10米边桩因此偏%.1f毫米", static_cast<int>(index + 1), length,
                  turn / kSecond, turn * 10.0 * 1000.0);
    return b;
}

// As 3D-Win and Civil 3D write them: a 5.98 m line first, a 1.50 m line
// between the spirals of an S-curve and a 0.65 m one further on; northings
// of 7 digits, eastings of 8, the rows' eastings to the millimetre.
Design RealShapes() {
    const double a = 1 / 150.0, b = -1 / 200.0, c = 1 / 300.0;
    return Design{DrivenRoad({3805123.4567891, 24525276.86749}, 0.052883,
                             {{5.98, 0, 0}, {40, 0, a}, {30, a, a}, {40, a, 0}, {1.5, 0, 0}, {30, 0, b}, {20, b, b}, {30, b, 0},
                              {0.65, 0, 0}, {25, 0, c}, {15, c, c}, {25, c, 0}, {60, 0, 0}}),
                  0.0};
}

}  // namespace

TEST(LandXmlDesign, ShortElementsStakeOutAsTheFileWithinFiveMillimetresAndTwentySeconds) {
    const Design d = ShortElements();
    const LandXmlImport in = ImportLandXml(Xml(d), "");
    ASSERT_EQ(in.status, ImportStatus::Ok) << in.strMessage;
    const Worst w = StakeOut(in.rows, d);
    EXPECT_LE(w.position, 0.005) << "at " << w.at;
    EXPECT_LE(w.azimuth, 20 * kSecond) << w.azimuth / kSecond;
    // And the control check finds the road as smooth as the file draws it.
    EXPECT_EQ(CheckControl(Alignment::Parse(List(in.rows))).flaggedRows, std::vector<int>{});
    // The 2.8 cm arc, the 0.6 m line and the 3 cm arc (elements 3, 5, 11)
    // have no rows of their own, and the notice says so.
    EXPECT_EQ(in.rows.size(), 13u - 3u);
    EXPECT_EQ(in.strNotice, "第3、5、11个线元太短，控制数据的坐标定不住其方向，已并入相邻线元（放样点位偏离文件线形不超过5毫米）。");
    // Every row as long as the column allows: the 8-digit easting to the
    // millimetre, the northing to 1e-4.
    EXPECT_EQ(GbkToUtf8(in.rows[0].strField[kFieldX]), "3805123.4568");
    EXPECT_EQ(GbkToUtf8(in.rows[0].strField[kFieldY]), "24525276.867");
}

TEST(LandXmlDesign, ALineUnderAMetreThatNoNeighbourCanTakeIsRefusedByName) {
    // 0.6 m heading 3.3″ east of north: its eastings round 0.4 mm down and
    // 0.4 mm up, and turned by that chord it would point 275″ off; the
    // spiral after it cannot take it in.
    const Design d{DrivenRoad({3805000.0, 24525276.8674}, 0.0002 / 0.6, {{0.6, 0, 0}, {40, 0, 1 / 300.0}, {50, 1 / 300.0, 1 / 300.0}}),
                   0.0};
    const LandXmlImport in = ImportLandXml(Xml(d), "");
    EXPECT_EQ(in.status, ImportStatus::Refused);
    // 275″ moves the side stakes 10 m out by 13.3 mm.
    EXPECT_EQ(in.strMessage, "第1个线元（里程0.000）按控制数据放样偏离文件中的线形13.3毫米（允许5毫米），无法如实导入!");
    EXPECT_TRUE(in.rows.empty());
}

// Each line's rows turn it some 30″ (the chord of its rounded ends), which
// moves a stake 10 m out by 1.5 mm: every stake holds, so the road comes
// in, and each line is named with what its turn makes 10 m out.
TEST(LandXmlDesign, ShortLinesTurnedBeyondTwentySecondsComeInNamedWhileEveryStakeHolds) {
    const Design d = RealShapes();
    const LandXmlImport in = ImportLandXml(Xml(d), "");
    ASSERT_EQ(in.status, ImportStatus::Ok) << in.strMessage;
    ASSERT_EQ(in.rows.size(), d.road.pieces.size() + 1);  // nothing merged
    const Worst w = StakeOut(in.rows, d);
    EXPECT_LE(w.position, 0.005) << "at " << w.at;
    EXPECT_GT(w.azimuth, 30 * kSecond);
    std::string named;
    for (std::size_t i : {0, 4, 8}) {
        const double turn = LineTurn(d, in.rows, i);
        EXPECT_GT(turn, 29 * kSecond) << i;  // 31.3″, 29.5″, 34.4″
        named += (named.empty() ? "" : "；") + TurnedText(i, d.road.pieces[i].length, turn);
    }
    EXPECT_EQ(in.strNotice, kTurnedLead + named + "。");
}

// Eight lines of 1.1 to 1.8 m between S-curves, six of them turned beyond
// 20″: the five turned most are named in file order, then how many more and
// the most the rest are turned.
TEST(LandXmlDesign, OfManyTurnedLinesTheWorstFiveAreNamedAndTheRestCounted) {
    std::vector<Piece> pieces{{20, 0, 0}};
    for (int i = 0; i < 8; ++i) {
        const double k = (i % 2 ? -1 : 1) / 250.0;
        pieces.insert(pieces.end(), {{30, 0, k}, {10, k, k}, {30, k, 0}, {1.1 + 0.1 * i, 0, 0}});
    }
    pieces.insert(pieces.end(), {{30, 0, 1 / 250.0}, {20, 1 / 250.0, 1 / 250.0}});
    const Design d{DrivenRoad({3805123.4567891, 24525276.86749}, 0.056758, pieces), 0.0};
    const LandXmlImport in = ImportLandXml(Xml(d), "");
    ASSERT_EQ(in.status, ImportStatus::Ok) << in.strMessage;
    ASSERT_EQ(in.rows.size(), pieces.size() + 1);
    EXPECT_LE(StakeOut(in.rows, d).position, 0.005);
    std::vector<std::pair<double, std::size_t>> turned;  // turn, line
    for (std::size_t i = 4; i < pieces.size(); i += 4)
        if (LineTurn(d, in.rows, i) > 20 * kSecond) turned.push_back({LineTurn(d, in.rows, i), i});
    ASSERT_EQ(turned.size(), 6u);
    std::sort(turned.begin(), turned.end(), std::greater<>());
    const double rest = turned[5].first;  // 30.6″, 16″ below the fifth
    turned.pop_back();
    std::sort(turned.begin(), turned.end(), [](auto& a, auto& b) { return a.second < b.second; });
    std::string named;
    for (const auto& [turn, i] : turned) named += (named.empty() ? "" : "；") + TurnedText(i, pieces[i].length, turn);
    char more[80];
    std::snprintf(more, sizeof more, "；另有1个线元偏20～%.1f秒", rest / kSecond);
    EXPECT_EQ(in.strNotice, kTurnedLead + named + more + "。");
}

TEST(LandXmlDesign, WhatIsExportedImportsBackToTheSameRows) {
    const Design d = ShortElements();
    const LandXmlImport a = ImportLandXml(Xml(d), "");
    ASSERT_EQ(a.status, ImportStatus::Ok) << a.strMessage;
    const LandXmlExport out = ExportLandXml(Alignment::Parse(List(a.rows)), "main", 0);
    ASSERT_EQ(out.strMessage, "");
    // Each element starts where the one before it ends, to the byte.
    std::size_t at = 0, count = 0;
    std::string lastEnd;
    while ((at = out.bytes.find("<Start>", at)) != std::string::npos) {
        const std::string start = out.bytes.substr(at + 7, out.bytes.find('<', at + 7) - at - 7);
        if (count++) {
            EXPECT_EQ(start, lastEnd);
        }
        const std::size_t end = out.bytes.find("<End>", at) + 5;
        lastEnd = out.bytes.substr(end, out.bytes.find('<', end) - end);
        at = end;
    }
    EXPECT_EQ(count, a.rows.size() - 1);
    const LandXmlImport b = ImportLandXml(out.bytes, "");
    ASSERT_EQ(b.status, ImportStatus::Ok) << b.strMessage;
    ASSERT_EQ(b.rows.size(), a.rows.size());
    for (std::size_t i = 0; i < a.rows.size(); ++i) {
        EXPECT_EQ(b.rows[i].strField[kFieldLineType], a.rows[i].strField[kFieldLineType]) << i;
        EXPECT_EQ(b.rows[i].strField[kFieldRadius], a.rows[i].strField[kFieldRadius]) << i;
        for (int f : {kFieldStation, kFieldX, kFieldY})
            EXPECT_NEAR(Number(b.rows[i].strField[f]), Number(a.rows[i].strField[f]), 0.001) << i << " field " << f;
    }
}

TEST(LandXmlDesign, FeetAndOtherUnitsAreConvertedToMetresAndSaidSo) {
    struct Case { const char* units; double metres; const char* notice; };
    const Case cases[] = {
        {"<Imperial linearUnit=\"foot\"/>", 0.3048,
         "LandXML文件的长度单位是国际英尺（foot），坐标、里程、半径和长度已按1国际英尺=0.3048米换算为米。"},
        {"<Imperial linearUnit=\"USSurveyFoot\" angularUnit=\"decimal degrees\"/>", 1200.0 / 3937.0,
         "LandXML文件的长度单位是美国测量英尺（USSurveyFoot），坐标、里程、半径和长度已按1美国测量英尺=1200/3937米换算为米。"},
        {"<Metric linearUnit=\"millimeter\"/>", 0.001,
         "LandXML文件的长度单位是毫米（millimeter），坐标、里程、半径和长度已按1毫米=0.001米换算为米。"},
        {"", 1.0, ""},
    };
    for (const Case& c : cases) {
        Design d = ShortElements();
        d.units = c.units;
        d.unit = c.metres;
        const LandXmlImport in = ImportLandXml(Xml(d), "");
        ASSERT_EQ(in.status, ImportStatus::Ok) << c.units << in.strMessage;
        const Worst w = StakeOut(in.rows, d);
        EXPECT_LE(w.position, 0.005) << c.units << " at " << w.at;
        EXPECT_LE(w.azimuth, 20 * kSecond) << c.units;
        EXPECT_EQ(GbkToUtf8(in.rows[0].strField[kFieldStation]), "1000.000") << c.units;
        EXPECT_EQ(in.strNotice.rfind(c.notice, 0), 0u) << c.units;  // then the merged elements
        EXPECT_EQ(in.strNotice.find("长度单位") != std::string::npos, *c.notice != 0) << c.units;
    }
    for (const char* units : {"<Imperial linearUnit=\"chain\"/>", "<Imperial/>"}) {
        Design d = ShortElements();
        d.units = units;
        const LandXmlImport in = ImportLandXml(Xml(d), "");
        EXPECT_EQ(in.status, ImportStatus::Refused) << units;
        EXPECT_EQ(in.strMessage.rfind("LandXML文件的长度单位“", 0), 0u) << in.strMessage;
    }
}

TEST(LandXmlDesign, ANamedAlignmentOfAGbkFileIsChosenByItsOwnName) {
    const std::string utf8 = R"(<LandXML><Alignments>
      <Alignment name="主线" staStart="0"><CoordGeom><Line><Start>0 0</Start><End>0 20</End></Line></CoordGeom></Alignment>
      <Alignment name="匝道Ａ" staStart="0"><CoordGeom><Line><Start>10 10</Start><End>10 30</End></Line></CoordGeom></Alignment>
      </Alignments></LandXML>)";
    for (const char* encoding : {"GBK", "gb2312", "GB18030"}) {
        const std::string gbk = std::string("<?xml version=\"1.0\" encoding=\"") + encoding + "\"?>\n" + Gbk(utf8.c_str());
        const LandXmlImport none = ImportLandXml(gbk, "");
        EXPECT_EQ(none.strMessage, "LandXML文件中有2条路线，请指定一条：主线、匝道Ａ") << encoding;
        EXPECT_EQ(none.names, (std::vector<std::string>{"主线", "匝道Ａ"}));
        const LandXmlImport ramp = ImportLandXml(gbk, "匝道Ａ");
        ASSERT_EQ(ramp.status, ImportStatus::Ok) << ramp.strMessage;
        EXPECT_EQ(ramp.strName, "匝道Ａ");
        EXPECT_EQ(Show(ramp.rows[0]), "0.000|直线|∞|10.000|10.000");
    }
    // GBK bytes in a file that says nothing of them: the message still
    // prints, each byte that is no UTF-8 shown as U+FFFD.
    const LandXmlImport raw = ImportLandXml(Gbk(utf8.c_str()), "x");
    EXPECT_EQ(raw.strMessage.substr(0, raw.strMessage.find("，可选")), "LandXML文件中没有名为“x”的路线");
    EXPECT_EQ(raw.names[0], "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");  // 主线: D6 F7 CF DF
}
