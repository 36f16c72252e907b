// The road from intersection points: checked against roads driven forward
// from their curvature (nothing of the construction), whose intersection
// points are where their straights cross; then the evaluation and the check
// of the rows made, the refusals, the texts and the CSV files.
#include <cstdio>

#include "CoreFixture.h"
#include "core/files/PiCsv.h"
#include "core/road/ControlCheck.h"
#include "core/road/PiTable.h"
#include "core/text/FixedText.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace {

const double kDeg = kPi / 180.0;

struct CurveSpec {
    double straight;  // before the curve
    double R, ls1, arc, ls2;
    int side;  // +1 right, -1 left
};

struct Designed {
    DrivenRoad road;
    std::vector<PiRow> table;
    std::vector<double> zh, hz;  // from 0
};

CPlanePoint Crossing(CPlanePoint p, double a, CPlanePoint q, double b) {
    // p + t(cos a, sin a) = q + u(cos b, sin b)
    const double det = std::cos(a) * -std::sin(b) - std::sin(a) * -std::cos(b);
    const double t = ((q.X - p.X) * -std::sin(b) - (q.Y - p.Y) * -std::cos(b)) / det;
    return CPlanePoint(p.X + t * std::cos(a), p.Y + t * std::sin(a));
}

std::string Num(double v) {
    char b[64];
    std::snprintf(b, sizeof b, "%.9f", v);
    return b;
}

Designed Design(CPlanePoint start, double azimuth, const std::vector<CurveSpec>& curves, double last) {
    Designed d;
    std::vector<Piece> pieces;
    auto add = [&](double len, double k0, double k1) {
        if (len > 0) pieces.push_back({len, k0, k1});
    };
    double s = 0;
    for (const CurveSpec& c : curves) {
        const double k = c.side / c.R;
        add(c.straight, 0, 0);
        d.zh.push_back(s += c.straight);
        add(c.ls1, 0, k);
        add(c.arc, k, k);
        add(c.ls2, k, 0);
        d.hz.push_back(s += c.ls1 + c.arc + c.ls2);
    }
    add(last, 0, 0);
    d.road = DrivenRoad(start, azimuth, pieces);
    d.table.push_back({2, "QD", Num(start.X), Num(start.Y), "", "", ""});
    for (std::size_t i = 0; i < curves.size(); ++i) {
        double a = 0, b = 0;
        const CPlanePoint zh = d.road.Point(d.zh[i], &a);
        const CPlanePoint hz = d.road.Point(d.hz[i], &b);
        const CPlanePoint jd = Crossing(zh, a, hz, b);
        const CurveSpec& c = curves[i];
        d.table.push_back({static_cast<int>(i) + 3, "JD" + std::to_string(i + 1), Num(jd.X), Num(jd.Y), Num(c.R),
                           c.ls1 > 0 ? Num(c.ls1) : "", Num(c.ls2)});
    }
    const CPlanePoint end = d.road.Point(s + last);
    d.table.push_back({static_cast<int>(curves.size()) + 3, "ZD", Num(end.X), Num(end.Y), "", "", ""});
    return d;
}

// Right and left, symmetric and asymmetric transitions, one curve without
// any, and a curve whose HZ is the next one's ZH (no straight between).
const std::vector<CurveSpec> kRoadA = {
    {200, 600, 120, 250, 120, +1}, {180, 400, 100, 150, 60, -1}, {0, 500, 80, 200, 0, +1}, {150, 300, 0, 180, 0, -1}};
// A hairpin of long transitions (β = 0.75 rad each side) that begins at
// the start point and ends at the end point.
const std::vector<CurveSpec> kRoadB = {{0, 60, 90, 60 * (150 * kDeg - 1.5), 90, +1}};

// The row a change point of a driven road should give: station from 0,
// line type, signed radius (0 for ∞ / -∞ by the sign of side).
struct ExpectedRow {
    double station;
    const char* type;
    double radius;
    int side;
};

const ExpectedRow kRowsA[] = {
    {0, "直线", 0, 1},        {200, "缓和曲线", 0, 1},    {320, "圆曲线", 600, 1},  {570, "缓和曲线", 600, 1},
    {690, "直线", 0, 1},      {870, "缓和曲线", 0, -1},   {970, "圆曲线", -400, 1}, {1120, "缓和曲线", -400, 1},
    {1180, "缓和曲线", 0, 1}, {1260, "圆曲线", 500, 1},   {1460, "直线", 0, 1},     {1610, "圆曲线", -300, 1},
    {1790, "直线", 0, 1},     {1910, "终点", 0, 1}};

std::vector<PiRow> Table(std::initializer_list<std::vector<const char*>> rows) {
    std::vector<PiRow> t;
    for (const auto& r : rows) {
        const int n = static_cast<int>(t.size()) + 2;
        t.push_back({n, r[0], r[1], r[2], r.size() > 3 ? r[3] : "", r.size() > 4 ? r[4] : "", r.size() > 5 ? r[5] : ""});
    }
    return t;
}

}  // namespace



// The curve table and the change points against the driven road; the rows
// written, read back as the window reads them, evaluated on it to the
// millimetre of their texts; and the check finds nothing in them.
TEST(PiRoad, CurveTableRowsAndTheirStakesAgreeWithRoadsDrivenFromTheirCurvature) {
    struct Case {
        const std::vector<CurveSpec>* curves;
        double last, start;
    };
    for (const Case& c : {Case{&kRoadA, 120, 1000}, Case{&kRoadB, 0, 0}}) {
        const Designed d = Design({3805000, 500000}, 30 * kDeg, *c.curves, c.last);
        const PiRoad road = BuildPiRoad(d.table, c.start);
        ASSERT_TRUE(road.Ok()) << road.strMessage;
        ASSERT_EQ(road.curves.size(), c.curves->size());
        for (std::size_t i = 0; i < road.curves.size(); ++i) {
            const CurveSpec& s = (*c.curves)[i];
            const CurveRecord& r = road.curves[i];
            const CPlanePoint jd = r.jd;
            EXPECT_NEAR(r.dDeflection, s.side * (s.ls1 / (2 * s.R) + s.arc / s.R + s.ls2 / (2 * s.R)), 1e-9);
            EXPECT_NEAR(r.dZH, c.start + d.zh[i], 1e-6);
            EXPECT_NEAR(r.dHY, c.start + d.zh[i] + s.ls1, 1e-6);
            EXPECT_NEAR(r.dYH, c.start + d.hz[i] - s.ls2, 1e-6);
            EXPECT_NEAR(r.dHZ, c.start + d.hz[i], 1e-6);
            EXPECT_NEAR(r.dQZ, c.start + (d.zh[i] + d.hz[i]) / 2, 1e-6);
            EXPECT_NEAR(r.dLength, s.ls1 + s.arc + s.ls2, 1e-6);
            EXPECT_NEAR(r.dT1, jd.Distance(d.road.Point(d.zh[i])), 1e-6);
            EXPECT_NEAR(r.dT2, jd.Distance(d.road.Point(d.hz[i])), 1e-6);
            EXPECT_NEAR(r.dExternal, jd.Distance(d.road.Point((d.zh[i] + d.hz[i]) / 2)), 1e-6);
        }
        for (const PiChange& ch : road.changes) EXPECT_LT(ch.point.Distance(d.road.Point(ch.dStation - c.start)), 1e-6);
        std::vector<std::string> list{ControlHeaderLine()};
        for (const ControlRow& row : road.rows) list.push_back(BuildControlLine(row));
        const Alignment written = Alignment::Parse(list);
        ASSERT_EQ(written.Elements().size(), road.rows.size() - 1);
        for (std::size_t e = 0; e < written.Elements().size(); ++e) {
            const Element& el = written.Elements()[e];
            for (double f : {0.0, 0.25, 0.5, 0.75, 1.0}) {
                const double s = el.dStartStation + f * (el.dEndStation - el.dStartStation);
                EXPECT_LT(d.road.Point(s - c.start).Distance(written.At(e, s, 0, 0).point), 0.002) << e << " at " << s;
            }
        }
        const CheckReport report = CheckControl(written);
        EXPECT_EQ(report.nRows, static_cast<int>(road.rows.size()));
        EXPECT_TRUE(report.flaggedRows.empty()) << report.flaggedRows.front();
    }
}

TEST(PiRoad, RowsAreTheChangePointsOfTheDrivenRoad) {
    const Designed d = Design({3805000, 500000}, 30 * kDeg, kRoadA, 120);
    const PiRoad road = BuildPiRoad(d.table, 1000);
    ASSERT_TRUE(road.Ok()) << road.strMessage;
    ASSERT_EQ(road.rows.size(), std::size(kRowsA));
    for (std::size_t i = 0; i < road.rows.size(); ++i) {
        const ExpectedRow& e = kRowsA[i];
        const ControlRow& row = road.rows[i];
        EXPECT_EQ(row.strField[kFieldStation], Format("%.3f", 1000 + e.station));
        EXPECT_EQ(row.strField[kFieldLineType], Gbk(e.type));
        const char* inf = e.side < 0 ? "-∞" : "∞";
        EXPECT_EQ(row.strField[kFieldRadius], e.radius == 0 ? Gbk(inf) : Format("%.3f", e.radius)) << i;
        const CPlanePoint p = d.road.Point(e.station);
        EXPECT_EQ(row.strField[kFieldX], Format("%.3f", p.X));
        EXPECT_EQ(row.strField[kFieldY], Format("%.3f", p.Y));
        EXPECT_EQ(OverflowingField(row), -1);
    }
}

TEST(PiRoad, RefusalsNameThePointsAndMakeNoRows) {
    struct Case {
        std::vector<PiRow> table;
        std::string message;
        double start = 0;
    };
    const std::vector<PiRow> quarter = Table({{"QD", "0", "0"}, {"JD1", "100", "0", "50"}, {"ZD", "100", "100"}});
    const Case cases[] = {
        {Table({{"QD", "0", "0"}, {"ZD", "100", "0"}}), text::kPiTooFewPoints},
        {Table({{"QD", "0", "0"}, {"JD1", "abc", "0", "50"}, {"ZD", "1", "1"}}),
         Format(text::kPiNotANumber, 3, "JD1", "X")},
        {Table({{"QD", "0", "0"}, {"JD1", "1e400", "0", "50"}, {"ZD", "1", "1"}}),
         Format(text::kPiNotANumber, 3, "JD1", "X")},
        {Table({{"", "0", ""}, {"JD1", "100", "0", "50"}, {"ZD", "1", "1"}}), Format(text::kPiNotANumber, 2, "起点", "Y")},
        {Table({{"QD", "0", "0"}, {"JD1", "100", "0", " "}, {"ZD", "1", "1"}}), Format(text::kPiRadiusMissing, 3, "JD1")},
        {Table({{"QD", "0", "0"}, {"JD1", "100", "0", "0"}, {"ZD", "1", "1"}}), Format(text::kPiRadiusNotPositive, 3, "JD1")},
        {Table({{"QD", "0", "0"}, {"JD1", "100", "0", "-50"}, {"ZD", "1", "1"}}), Format(text::kPiRadiusNotPositive, 3, "JD1")},
        {Table({{"QD", "0", "0"}, {"JD1", "100", "0", "50", "-10"}, {"ZD", "1", "1"}}), Format(text::kPiNegativeLength, 3, "JD1")},
        {Table({{"QD", "0", "0"}, {"JD1", "100", "0", "50", "10", "1O"}, {"ZD", "1", "1"}}),
         Format(text::kPiNotANumber, 3, "JD1", "缓和曲线长2")},
        {Table({{"QD", "0", "0", "100"}, {"JD1", "100", "0", "50"}, {"ZD", "1", "1"}}), Format(text::kPiEndHasCurve, 2, "QD")},
        {Table({{"QD", "0", "0"}, {"JD1", "0.0004", "0", "50"}, {"ZD", "1", "1"}}), Format(text::kPiSamePoint, "QD", "JD1")},
        {Table({{"QD", "0", "0"}, {"JD1", "100", "0", "50"}, {"ZD", "200", "0"}}), Format(text::kPiNoDeflection, "JD1")},
        {Table({{"QD", "0", "0"}, {"JD1", "100", "0", "50"}, {"ZD", "50", "0"}}), Format(text::kPiReversal, "JD1")},
        {Table({{"QD", "0", "0"}, {"JD1", "500", "0", "100", "120", "120"}, {"ZD", "750", "433.0127"}}),
         Format(text::kPiNoRoomForArc, "JD1")},
        {Table({{"QD", "0", "0"}, {"JD1", "100", "0", "80"}, {"JD2", "100", "100", "80"}, {"ZD", "200", "100"}}),
         Format(text::kPiOverlap, "JD1", "JD2", 60.0)},
        {Table({{"QD", "0", "0"}, {"JD1", "50", "0", "80"}, {"ZD", "50", "200"}}),
         Format(text::kPiFirstTooLong, "JD1", 80.0, 50.0)},
        {Table({{"QD", "0", "0"}, {"JD1", "200", "0", "80"}, {"ZD", "200", "50"}}),
         Format(text::kPiLastTooLong, "JD1", 80.0, 50.0)},
        {Design({0, 0}, 0, {{200, 200, 0, 100, 50, +1}, {0, 200, 0, 100, 0, -1}}, 100).table,
         Format(text::kPiTransitionMeetsArc, "JD1", "JD2", "JD2")},
        {Design({0, 0}, 0, {{200, 200, 0, 100, 0, +1}, {0, 200, 50, 100, 0, -1}}, 100).table,
         Format(text::kPiArcMeetsTransition, "JD1", "JD2", "JD1")},
        // Numbers that make no road: no survey coordinate, a transition too
        // short to turn at a finite rate, stations beyond their field.
        {Table({{"QD", "123456789", "0"}, {"JD1", "123456889", "0", "10"}, {"ZD", "123456889", "100"}}),
         Format(text::kPiNotACoordinate, 2, "QD", "X")},
        {Table({{"QD", "0", "0"}, {"JD1", "100", "-1e300", "10"}, {"ZD", "1", "1"}}),
         Format(text::kPiNotACoordinate, 3, "JD1", "Y")},
        {Table({{"QD", "0", "0"}, {"JD1", "100", "0", "50", "4.9e-324", "10"}, {"ZD", "100", "100"}}),
         Format(text::kPiCannotCompute, "JD1")},
        {Table({{"QD", "0", "0"}, {"JD1", "100", "0", "50", "10", "1e-320"}, {"ZD", "100", "100"}}),
         Format(text::kPiCannotCompute, "JD1")},
        {quarter, text::kPiStartStationTooLarge, 1e308},
        {quarter, text::kPiStartStationTooLarge, -1e8},
        {quarter, Format(text::kPiRowTooWide, 3, "100000028.540"), 99999900},  // 50 + 25π later
    };
    for (const Case& c : cases) {
        const PiRoad road = BuildPiRoad(c.table, c.start);
        EXPECT_EQ(road.strMessage, c.message);
        EXPECT_TRUE(road.rows.empty() && road.changes.empty() && road.curves.empty());
    }
}

TEST(PiRoad, AQuarterTurnWithoutTransitionsByHand) {
    // R = 50 turning 90° right: T = 50, L = 25π, E = 50(√2 − 1).
    const PiRoad road = BuildPiRoad(Table({{"", "0", "0"}, {"JD1", "100", "0", "50", "", "0"}, {"", "100", "100"}}), 0);
    ASSERT_TRUE(road.Ok()) << road.strMessage;
    const char* rows[][5] = {{"0.000", "直线", "∞", "0.000", "0.000"},
                             {"50.000", "圆曲线", "50.000", "50.000", "0.000"},
                             {"128.540", "直线", "∞", "100.000", "50.000"},
                             {"178.540", "终点", "∞", "100.000", "100.000"}};
    ASSERT_EQ(road.rows.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        for (int f = 0; f < kControlFieldCount; ++f) EXPECT_EQ(road.rows[i].strField[f], Gbk(rows[i][f]));
    }
    EXPECT_EQ(CurveTableCsv(road.curves),
              "\xEF\xBB\xBF" + std::string(text::kPiCurveCsvHeader) +
                  "\r\nJD1,右90.0000,50.000,0.000,0.000,50.000,50.000,78.540,20.711,"
                  "K0+050.000,K0+050.000,K0+089.270,K0+128.540,K0+128.540\r\n");
}

TEST(PiTexts, DeflectionsAndMillimetres) {
    EXPECT_EQ(DeflectionText((12 + 34 / 60.0 + 56 / 3600.0) * kDeg), "右12.3456");
    EXPECT_EQ(DeflectionText(-(3 + 59.9999 / 60) * kDeg), "左4.0000");
    EXPECT_EQ(MillimetreText(-0.0004), "0.000");
    EXPECT_EQ(MillimetreText(-2.5006), "-2.501");
}

TEST(PiCsv, LineEndsBomAndGbkReadAlike) {
    const std::string body = std::string(text::kPiCsvHeader) + "\n起点,0,0,,,\n\n\"JD,1\",100,0,50,,\n终点,100,100\n";
    std::string crlf;
    for (char c : body) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    std::string gbk;
    ASSERT_TRUE(Utf8ToGbk(crlf, gbk));
    for (const std::string& bytes : {body, "\xEF\xBB\xBF" + crlf, gbk}) {
        const PiCsvRead read = ReadPiCsv(bytes);
        ASSERT_TRUE(read.Ok()) << read.strMessage;
        ASSERT_EQ(read.rows.size(), 3u);
        EXPECT_EQ(read.rows[1].strName, "JD,1");
        EXPECT_EQ(read.rows[1].nLine, 4);  // the blank line still counts
        EXPECT_EQ(read.rows[2].strY, "100");
        EXPECT_TRUE(BuildPiRoad(read.rows, 0).Ok());
        // Written back and read again: the same texts.
        const PiCsvRead again = ReadPiCsv(PiCsvText(read.rows));
        ASSERT_EQ(again.rows.size(), 3u);
        EXPECT_EQ(again.rows[1].strName, "JD,1");
        EXPECT_EQ(again.rows[1].strRadius, "50");
    }
}

TEST(PiCsv, RefusesWhatIsNoTableNamingTheLine) {
    const std::string h = std::string(text::kPiCsvHeader) + "\r\n";
    const std::pair<std::string, std::string> cases[] = {
        {"", text::kPiCsvBadHeader},
        {"X,Y\r\n1,2\r\n", text::kPiCsvBadHeader},
        {h + "a,1,2,,,\r\nb,1,2,3,4,5,6\r\n", Format(text::kPiCsvTooManyFields, 3)},
        {h + "a,1,2,,,,,\r\n\"b,1,2\r\n", Format(text::kPiCsvBadQuote, 3)},
        {h + "\xFF\xFE,1,2\r\n", text::kPiCsvNotText},
        {h + std::string(5000, '1') + "\r\n", Format(text::kPiCsvTooLong, kPiCsvMaxRows, kPiCsvMaxLineBytes)},
    };
    for (const auto& [bytes, message] : cases) EXPECT_EQ(ReadPiCsv(bytes).strMessage, message);
}
