// Evaluation by station: the three result forms, the element checks, the
// fast number texts, and the prepared element against the plain evaluation.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include "geometry/AngleText.h"
#include "geometry/Evaluate.h"
#include "geometry/FixedText.h"
#include "geometry/Gbk.h"
#include "geometry/Texts.h"

using namespace vexaline;

namespace {

std::string Line(const std::string& station, const char* type, const std::string& radius, const std::string& x,
                 const std::string& y) {
    return PadRight(station, 12) + PadRight(Gbk(type), 10) + PadRight(radius, 12) + PadRight(x, 12) +
           PadRight(y, 12);
}
const std::string kInfText = "\xA1\xDE";   // ∞
const std::string kMinusInf = "-\xA1\xDE";  // -∞

std::string Fixed(const char* format, double v) {
    char b[400];
    std::snprintf(b, sizeof b, format, v);
    return b;
}

std::string Eval(double station, const std::string& a, const std::string& b, int mode = 0, double offset = 0,
                 double deflection = 0, CPlanePoint instrument = {}, CPlanePoint backsight = {},
                 const std::string& sn = "", const std::string& bn = "", const MessageSink& sink = MessageSink()) {
    return EvaluateStation(station, a, b, offset, deflection, mode, instrument, backsight, sn, bn, sink);
}

struct Recorder {
    std::vector<std::string> messages;
    MessageSink Sink() {
        return [this](const std::string& m) { messages.push_back(m); };
    }
};

}  // namespace

// ---------------------------------------------------------------- texts

TEST(FixedText, MatchesPrintfByteForByte) {
    std::mt19937_64 rng(20240611);
    std::uniform_real_distribution<double> unit(-1, 1);
    std::vector<double> values = {0.0,    -0.0,     0.0005,  0.0015,   0.0625,   -0.0625, 0.9995,   999.9995,
                                  1e-300, -1e-300,  5e-324,  123.4565, 2.5,      -2.5,    1e15,     9.3e15,
                                  1e17,   -1e19,    1e300,   -1e300,   INFINITY, -INFINITY, NAN,    4294967295.0,
                                  3825123.4565, 0.5,  1.5, 6.283185307179586, 1.5707963267948966};
    for (int i = 0; i < 200000; ++i) {
        double scale = std::pow(10.0, static_cast<int>(rng() % 24) - 8);
        values.push_back(unit(rng) * scale);
    }
    // Exact ties at each precision: k + 1/2 ulp of the last decimal, where
    // the sum is a binary fraction.
    for (int k = 0; k < 64; ++k) values.push_back(k + 0.5), values.push_back(k / 16.0 + 1.0 / 32);
    for (double v : values) {
        for (int d : {0, 3, 6, 15}) {
            char format[8];
            std::snprintf(format, sizeof format, "%%.%dlf", d);
            std::string want = Fixed(format, v);
            std::string got = "#";
            AppendFixed(got, v, d);
            ASSERT_EQ(got, "#" + want) << v << " with " << d;
            double back = FixedRoundTrip(v, d);
            double ref = std::strtod(want.c_str(), nullptr);
            ASSERT_TRUE(std::memcmp(&back, &ref, sizeof back) == 0 || (std::isnan(back) && std::isnan(ref)))
                << v << " with " << d;
        }
    }
}

// ---------------------------------------------------------------- forms

TEST(EvaluateStation, CoordinateLookupAndSettingOutForms) {
    std::string a = Line("0", text::kStraight, kInfText, "0", "0");
    std::string b = Line("100", text::kEndPoint, kInfText, "0", "100");
    // Due east: X is 0 up to rounding, azimuth π/2 prints 1.570796 = 90.0000.
    EXPECT_EQ(Eval(50, a, b), "50.000      0.000         50.000      90.0000   " + Gbk("直线段") + "    ");
    EXPECT_EQ(Eval(50, a, b).size(), 58u);
    EXPECT_EQ(Eval(50, a, b, 101), "0.000         50.000      1.570796");
    // Setting out from (0, 0) on a backsight due north: 90°, 50 m.
    std::string setOut = "50.000      90.0000     50.000    A1        B2        ";
    EXPECT_EQ(Eval(50, a, b, 1, 0, 0, {0, 0}, {100, 0}, "A1", "B2"), setOut);
    EXPECT_EQ(Eval(50, a, b, 7, 0, 0, {0, 0}, {100, 0}, "A1", "B2"), setOut);
    // A stake due north of a backsight due east: −90° becomes 270°.
    std::string north = Line("0", text::kStraight, kInfText, "0", "0");
    std::string northEnd = Line("100", text::kEndPoint, kInfText, "100", "0");
    EXPECT_EQ(Eval(50, north, northEnd, 1, 0, 0, {0, 0}, {0, 100}, "A1", "B2"),
              "50.000      270.0000    50.000    A1        B2        ");
    // A 12-byte name stays whole and shifts the line to 56 bytes.
    EXPECT_EQ(Eval(50, a, b, 1, 0, 0, {0, 0}, {100, 0}, "STATION-0012", "B2").size(), 56u);
    // A tangent of 1 rad: 1.000000, shown as 57.1745.
    std::string one = Line("0", text::kStraight, kInfText, "0", "0");
    std::string oneEnd = Line("100", text::kEndPoint, kInfText, Fixed("%.9f", 100 * std::cos(1.0)),
                              Fixed("%.9f", 100 * std::sin(1.0)));
    EXPECT_EQ(Eval(0, one, oneEnd).substr(38, 10), "57.1745   ");
    // Overflowing fields shift what follows, nothing is cut.
    std::string wide = Line("0", text::kStraight, kInfText, "123456789012", "0");
    std::string wideEnd = Line("100", text::kEndPoint, kInfText, "123456789112", "0");
    EXPECT_EQ(Eval(0, wide, wideEnd, 101), "123456789012.000" "0.000       0.000000");
}

TEST(EvaluateStation, RemarksFollowTheStartLineType) {
    std::string end = Line("100", text::kEndPoint, "600", "0", "100");
    EXPECT_EQ(Eval(0, Line("0", text::kCircular, "-300", "0", "0"), end).substr(48), Gbk("圆曲段") + "    ");
    EXPECT_EQ(Eval(0, Line("0", text::kTransition, kInfText, "0", "0"), end).substr(48), Gbk("缓曲段") + "    ");
}

TEST(EvaluateStation, RadiusSignsAndTurns) {
    // "-∞" on an entering transition: a left turn from the infinite radius.
    std::string start = Line("0", text::kTransition, kMinusInf, "0", "0");
    std::string end = Line("100", text::kCircular, "300", "99.722579", "-5.544542");
    ElementRequest q{2, -1, 0, {0, 0}, INFINITE_RADIUS, 100, {99.722579, -5.544542}, 300, 50, 0, 0};
    StakePoint p = PointOnElement(q);
    std::string want = Fixed("%.3lf", p.dX);
    EXPECT_EQ(Eval(50, start, end, 101).substr(0, 14), PadRight(want, 14));
    // "圆曲线" at −300 turns left with magnitude 300; the end line's sign is ignored.
    std::string c0 = Line("0", text::kCircular, "-300", "0", "0");
    std::string plus = Line("100", text::kStraight, "300", "99.0", "-16.5");
    std::string minus = Line("100", text::kStraight, "-300", "99.0", "-16.5");
    EXPECT_EQ(Eval(50, c0, plus), Eval(50, c0, minus));
    ElementRequest c{1, -1, 0, {0, 0}, 300, 100, {99.0, -16.5}, 300, 50, 0, 0};
    EXPECT_EQ(Eval(50, c0, plus, 101).substr(0, 14), PadRight(Fixed("%.3lf", PointOnElement(c).dX), 14));
}

TEST(EvaluateStation, ElementMessagesAreReportedAndReturned) {
    std::string mismatch = Gbk("控制数据中里程1200.000或1260.500处的线型和半径不相符！");
    struct Case { std::string start, end, want; };
    const Case cases[] = {
        // A transition whose radius does not change, any sign combination.
        {Line("1200", text::kTransition, kInfText, "0", "0"), Line("1260.5", text::kCircular, kMinusInf, "0", "60"),
         mismatch},
        {Line("1200", text::kTransition, "500", "0", "0"), Line("1260.5", text::kCircular, "-500", "0", "60"),
         mismatch},
        // No element begins at an end point or at an unknown type.
        {Line("1200", text::kEndPoint, kInfText, "0", "0"), Line("1260.5", text::kCircular, "500", "0", "60"),
         Gbk("控制数据中里程1200.000处的线型无效！")},
        {Line("1200", "曲线", kInfText, "0", "0"), Line("1260.5", text::kCircular, "500", "0", "60"),
         Gbk("控制数据中里程1200.000处的线型无效！")},
        // A field that holds no number, in either line: named by the start
        // line's station text, as typed.
        {Line("1200.0", text::kStraight, kInfText, "x", "0"), Line("1260.5", text::kEndPoint, "500", "0", "60"),
         Gbk("控制数据中里程1200.0处的数据不是数字！")},
        {Line("1200.0", text::kStraight, "r", "0", "0"), Line("1260.5", text::kEndPoint, "500", "0", "60"),
         Gbk("控制数据中里程1200.0处的数据不是数字！")},
        {Line("1200.0", text::kStraight, kInfText, "0", "0"), Line("", text::kEndPoint, "500", "0", "60"),
         Gbk("控制数据中里程1200.0处的数据不是数字！")},
        {Line("1200.0", text::kStraight, kInfText, "0", "0"), Line("1260.5", text::kEndPoint, " " + kInfText, "0", "60"),
         Gbk("控制数据中里程1200.0处的数据不是数字！")},
        {Line("1200.0", text::kStraight, kInfText, "0", "0"), Line("1260.5", text::kEndPoint, "500", "0", "nan"),
         Gbk("控制数据中里程1200.0处的数据不是数字！")},
        {Line("abc", text::kStraight, kInfText, "0", "0"), Line("1260.5", text::kEndPoint, "500", "0", "60"),
         Gbk("控制数据中里程abc处的数据不是数字！")},
    };
    for (const Case& c : cases) {
        for (int mode : {0, 1, 101}) {
            Recorder r;
            EXPECT_EQ(Eval(1230, c.start, c.end, mode, 0, 0, {}, {}, "", "", r.Sink()), c.want);
            ASSERT_EQ(r.messages.size(), 1u);
            EXPECT_EQ(r.messages[0], c.want);
            PreparedElement e(c.start, c.end);
            EXPECT_FALSE(e.Ok());
            std::string out;
            e.Append(out, 1230, 0, 0, mode, {}, {}, "", "", r.Sink());
            EXPECT_EQ(out, c.want);
            EXPECT_EQ(r.messages.size(), 2u);
        }
    }
    // Without a sink the text still comes back.
    EXPECT_EQ(Eval(1230, cases[0].start, cases[0].end), mismatch);
}

// ---------------------------------------------------------------- prepared

TEST(PreparedElement, IdenticalToTheLiteralEvaluation) {
    // Every element kind: straights both ways, curves both turns, the four
    // transition cases from a straight and between arcs, a zero-length
    // transition; stations inside and a little beyond each element.
    const std::vector<std::pair<std::string, std::string>> elements = {
        {Line("0", text::kStraight, kInfText, "3805000.000", "500000.000"),
         Line("300", text::kTransition, kInfText, "3805182.628", "500238.006")},
        {Line("10", text::kStraight, "-" + kInfText, "100", "200"), Line("70", text::kEndPoint, kInfText, "100", "150")},
        {Line("300", text::kTransition, kInfText, "3805182.628", "500238.006"),
         Line("420", text::kCircular, "600", "3805252.436", "500335.547")},
        {Line("420", text::kCircular, "600", "3805252.436", "500335.547"),
         Line("670", text::kTransition, "600", "3805336.647", "500569.019")},
        {Line("670", text::kTransition, "600", "3805336.647", "500569.019"),
         Line("790", text::kStraight, kInfText, "3805345.175", "500688.662")},
        {Line("1190", text::kTransition, kMinusInf, "3805360.304", "501088.376"),
         Line("1290", text::kCircular, "-400", "3805368.240", "501187.991")},
        {Line("1290", text::kCircular, "-400", "3805368.240", "501187.991"),
         Line("1490", text::kTransition, "-400", "3805447.647", "501369.286")},
        {Line("1490", text::kTransition, "-400", "3805447.647", "501369.286"),
         Line("1570", text::kCircular, "-250", "3805503.911", "501425.840")},
        {Line("1570", text::kTransition, "-250", "3805503.911", "501425.840"),
         Line("1720", text::kCircular, "-400", "3805642.815", "501476.224")},
        {Line("500", text::kTransition, "600", "1000", "2000"), Line("550", text::kCircular, "300", "1024.621142",
                                                                      "2043.480131")},
        {Line("500", text::kTransition, "300", "1000", "2000"), Line("550", text::kCircular, "600", "1017.9", "2046.6")},
        {Line("100", text::kTransition, kInfText, "10", "20"), Line("100", text::kCircular, "300", "10", "30")},
        {Line("-50", text::kCircular, "0.5", "-0", "-0"), Line("-49", text::kEndPoint, kInfText, "1", "-0.3")},
    };
    struct Mode { int mode; double offset, deflection; };
    const Mode modes[] = {{0, 0, 1.570796}, {0, 7.25, 1.570796}, {0, -3.5, 0.523599}, {1, 12, 1.570796},
                          {101, 0, kPi * 0.5}, {0, 0, 0}};
    const CPlanePoint instrument(3805300.5, 500400.25), backsight(3805100, 500900);
    for (const auto& [startLine, endLine] : elements) {
        PreparedElement prepared(startLine, endLine);
        ASSERT_TRUE(prepared.Ok()) << startLine;
        double s0 = std::atof(startLine.c_str()), s1 = std::atof(endLine.c_str());
        for (int i = -20; i <= 1020; ++i) {
            double station = s0 + (s1 - s0) * i / 1000.0;
            for (const Mode& m : modes) {
                std::string want = EvaluateStation(station, startLine, endLine, m.offset, m.deflection, m.mode,
                                                   instrument, backsight, "T1", "T2");
                std::string got;
                prepared.Append(got, station, m.offset, m.deflection, m.mode, instrument, backsight, "T1", "T2");
                ASSERT_EQ(got, want) << startLine << " at " << station << " mode " << m.mode;
            }
        }
    }
}

TEST(PreparedElement, PointIsPointOnElementBitForBit) {
    const double I = INFINITE_RADIUS;
    const ElementRequest requests[] = {
        {0, 1, 0, {0, 0}, I, 100, {30, 40}, I, 0, 0, 0},
        {1, 1, 0, {0, 0}, 100, 157.08, {100, 100}, 100, 0, 0, 0},
        {1, -1, 0, {0, 0}, 100, 157.08, {100, -100}, 100, 0, 0, 0},
        {2, 1, 0, {0, 0}, I, 100, {99.722579, 5.544542}, 300, 0, 0, 0},
        {2, -1, 0, {0, 0}, I, 100, {99.722579, -5.544542}, 300, 0, 0, 0},
        {2, 1, 150, {148.112148, 17.900428}, 300, 250, {238.285140, 60.844186}, I, 0, 0, 0},
        {2, -1, 150, {148.112148, -17.900428}, 300, 250, {238.285140, -60.844186}, I, 0, 0, 0},
        {2, 1, 500, {1000, 2000}, 600, 550, {1024.621142, 2043.480131}, 300, 0, 0, 0},
        {2, -1, 500, {1000, 2000}, 300, 550, {1017.9, 2046.6}, 600, 0, 0, 0},
    };
    const char* types[] = {text::kStraight, text::kCircular, text::kTransition};
    for (const ElementRequest& base : requests) {
        auto radius = [](double r, int turn) {
            return r == INFINITE_RADIUS ? (turn < 0 ? kMinusInf : kInfText) : Fixed("%.10g", r * turn);
        };
        std::string a = Line(Fixed("%.10g", base.dStartStation), types[base.nLineType],
                             radius(base.dStartRadius, base.nTurn), Fixed("%.10g", base.ptStart.X),
                             Fixed("%.10g", base.ptStart.Y));
        std::string b = Line(Fixed("%.10g", base.dEndStation), text::kEndPoint, radius(base.dEndRadius, 1),
                             Fixed("%.10g", base.ptEnd.X), Fixed("%.10g", base.ptEnd.Y));
        PreparedElement e(a, b);
        ASSERT_TRUE(e.Ok()) << a;
        for (int i = -10; i <= 110; ++i) {
            for (double defl : {0.0, 1.570796, -2.5}) {
                ElementRequest q = base;
                q.dStation = base.dStartStation + (base.dEndStation - base.dStartStation) * i / 100.0;
                q.dOffset = i % 3 == 0 ? 0.0 : 4.5 - i * 0.1;
                q.dDeflection = defl;
                StakePoint want = PointOnElement(q), got = e.Point(q.dStation, q.dOffset, defl);
                ASSERT_EQ(std::memcmp(&want, &got, sizeof want), 0)
                    << a << " at " << q.dStation << " defl " << defl << ": " << want.dX - got.dX << " "
                    << want.dY - got.dY << " " << want.dAzimuth - got.dAzimuth;
            }
        }
    }
}

TEST(ClothoidSeries, IsClothoidXYBitForBit) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> len(0, 400), rad(1, 3000);
    for (int i = 0; i < 2000; ++i) {
        double R = rad(rng), L = len(rng) + 1;
        ClothoidSeries series(R, L);
        for (double l : {0.0, len(rng), len(rng), L, -len(rng)}) {
            CPlanePoint want = ClothoidXY(l, R, L), got = series.At(l);
            ASSERT_EQ(std::memcmp(&want, &got, sizeof want), 0) << l << " " << R << " " << L;
        }
    }
}
