// Plane point, clothoid, point on an element, D.MMSS texts; transition
// curves against the true clothoid, driven here from its curvature, and
// against the series where the series is exact.
#include <cmath>
#include <cstdio>

#include "CoreFixture.h"
#include "core/text/AngleText.h"
#include "core/geometry/Clothoid.h"
#include "core/geometry/Element.h"
#include "core/geometry/PlanePoint.h"

namespace {

constexpr double kInf = INFINITE_RADIUS, pi = kPi;
const CPlanePoint O(0, 0);
ElementRequest Q(int type, int turn, double s0, CPlanePoint p0, double r0, double s1, CPlanePoint p1, double r1,
                 double station, double offset = 0, double deflection = 0) {
    return ElementRequest{type, turn, s0, p0, r0, s1, p1, r1, station, offset, deflection};
}
CPlanePoint M(CPlanePoint p) { return CPlanePoint(p.X, -p.Y); }  // mirror image: a left turn
// Entering, leaving and between two arcs, turning right.
const CPlanePoint kEnterEnd(99.722579, 5.544542);
const CPlanePoint kLeaveStart(148.112148, 17.900428), kLeaveEnd(238.285140, 60.844186);
const CPlanePoint kArcStart(1000, 2000), kArcEnd(1024.621142, 2043.480131);

}  // namespace

TEST(PlanePoint, AzimuthDistanceNormaliseAndClothoid) {
    struct Case { double x, y, want; };
    const Case cases[] = {
        {0, 0, 0}, {0, 5, pi * 0.5}, {0, -5, pi * 1.5}, {5, 0, 0}, {-5, 0, pi},  // exact
        {3, 3, pi / 4}, {-3, 3, 3 * pi / 4}, {-3, -3, 5 * pi / 4}, {3, -3, 7 * pi / 4}, {1, std::sqrt(3.0), pi / 3},
    };
    for (const Case& c : cases) {
        double a = O.Azimuth(c.x, c.y);
        EXPECT_NEAR(a, c.want, c.x == 0 || c.y == 0 ? 0.0 : 1e-15) << c.x << "," << c.y;
        EXPECT_EQ(O.Azimuth(CPlanePoint(c.x, c.y)), a);
    }
    // Equal X far from the origin is compared exactly; 2π − tiny rounds to 2π.
    EXPECT_EQ(CPlanePoint(3825123.456, 512345.678).Azimuth(3825123.456, 512345.679), pi * 0.5);
    EXPECT_EQ(O.Azimuth(1, -1e-300), kTwoPi);
    EXPECT_EQ(CPlanePoint(1, 2).Distance(CPlanePoint(4, 6)), 5.0);
    EXPECT_EQ(CPlanePoint(4, 6).Distance(1, 2), 5.0);
    EXPECT_EQ(NormaliseAngle(-13.0), -13.0 + kTwoPi + kTwoPi + kTwoPi);
    EXPECT_TRUE(NormaliseAngle(kTwoPi) == 0 && std::isnan(NormaliseAngle(INFINITY)) && std::isnan(NormaliseAngle(NAN)));
    double huge = NormaliseAngle(1e300);  // subtracting 2π would never end
    EXPECT_TRUE(huge >= 0 && huge < kTwoPi);
    CPlanePoint p = ClothoidXY(200, 100, 200);  // β = 1 rad at the end
    EXPECT_TRUE(std::fabs(p.X - 180.904848) < 5.1e-7 && std::fabs(p.Y - 62.053660) < 5.1e-7);
    // Elements evaluate the series with its divisors formed once: the same bits.
    for (double l = 0; l < 400; l += 0.37) {
        CPlanePoint a = ClothoidXY(l, 250, 333.3), b = ClothoidSeries(250, 333.3).At(l);
        ASSERT_TRUE(a.X == b.X && a.Y == b.Y) << l;
    }
}

TEST(Element, KnownPoints) {
    struct Case { ElementRequest q; double x, y, azimuth; };
    const Case cases[] = {
        {Q(0, 1, 0, O, kInf, 100, {100, 0}, kInf, 30, 5, pi / 2), 30, 5, 0},
        {Q(0, 1, 0, O, kInf, 100, {100, 0}, kInf, 30, 5, pi / 4), 33.535534, 3.535534, 0},
        {Q(0, 1, 0, O, kInf, 100, {0, 100}, kInf, 30, -5, pi / 2), 5, 30, pi / 2},
        {Q(0, 1, 0, O, kInf, 100, {50, 0}, kInf, 130), 130, 0, 0},  // beyond a short chord
        {Q(1, 1, 0, O, 100, 50 * pi, {100, 100}, 100, 25 * pi), 70.710678, 29.289322, pi / 4},
        {Q(1, -1, 0, O, 100, 50 * pi, {100, -100}, 100, 25 * pi), 70.710678, -29.289322, 7 * pi / 4},
        {Q(1, 1, 0, O, 100, 50 * pi, {200, 200}, 100, 50 * pi), 100, 100, pi / 2},  // a long chord
        {Q(2, 1, 0, O, kInf, 100, kEnterEnd, 300, 50), 49.991320, 0.694358, 1.0 / 24},
        {Q(2, 1, 150, kLeaveStart, 300, 250, kLeaveEnd, kInf, 200), 194.080736, 37.486427, 0.458333},
        {Q(2, 1, 500, kArcStart, 600, 550, kArcEnd, 300, 525), 1012.990837, 2021.356416, 1.052083},
        {Q(2, -1, 0, O, kInf, 100, M(kEnterEnd), 300, 50), 49.991320, -0.694358, 2 * pi - 1.0 / 24},
        {Q(2, -1, 150, M(kLeaveStart), 300, 250, M(kLeaveEnd), kInf, 150), 148.112148, -17.900428, 2 * pi - 1.0 / 3},
        {Q(2, -1, 500, M(kArcStart), 600, 550, M(kArcEnd), 300, 550), 1024.621142, -2043.480131, 2 * pi - 1.125},
        // Zero length: the near end set off, with the chord's azimuth.
        {Q(2, 1, 100, {10, 20}, kInf, 100, {10, 30}, 300, 100), 10, 20, pi * 0.5},
        {Q(2, -1, 100, {10, 30}, 300, 100, {10, 20}, kInf, 100, 2, pi * 0.5), 12, 20, pi * 1.5},
        {Q(2, 1, 100, {10, 20}, 600, 100, {10, 20}, 300, 100), 10, 20, 0},
        {Q(3, 1, 0, {5, 6}, kInf, 100, {100, 0}, kInf, 50, 5, 1), 5, 6, 0},  // no such line type
    };
    for (const Case& c : cases) {
        StakePoint p = PointOnElement(c.q);
        EXPECT_NEAR(p.dX, c.x, 5.1e-7) << c.q.dStation;
        EXPECT_NEAR(p.dY, c.y, 5.1e-7) << c.q.dStation;
        EXPECT_NEAR(p.dAzimuth, c.azimuth, 5.1e-7) << c.q.dStation;
        EXPECT_TRUE(p.dAzimuth >= 0 && p.dAzimuth < kTwoPi) << c.q.dStation;
    }
    StakePoint p = PointOnElement(Q(2, 1, 0, {0, 0}, kInf, 50, {50, 0}, 0, 20));  // zero radius
    EXPECT_FALSE(std::isnan(p.dX) || std::isnan(p.dY) || std::isnan(p.dAzimuth));
    // The near end on the straight side is the control point itself, exactly.
    p = PointOnElement(Q(2, 1, 0, O, kInf, 100, kEnterEnd, 300, 0));
    EXPECT_TRUE(p.dX == 0 && p.dY == 0);
    p = PointOnElement(Q(2, -1, 150, M(kLeaveStart), 300, 250, M(kLeaveEnd), kInf, 250));
    EXPECT_TRUE(p.dX == kLeaveEnd.X && p.dY == -kLeaveEnd.Y);
}

TEST(AngleText, DmsToRadiansSignAndShortFields) {
    struct Case { const char* in; const char* out; };
    const Case cases[] = {
        {"90.0000", "1.570796"}, {"90", "1.570796"}, {"45.301525", "0.794199"}, {"90.1", "1.571087"},
        {"90.001", "1.570801"}, {"0.0030", "0.000145"}, {".3000", "0.008727"}, {"359.5959", "6.283180"},
        {"  -45.3000", "-0.794125"}, {"-0.3000", "-0.008727"}, {"-0", "-0.000000"}, {"90.", "1.570796"},
        {"45.30151", "0.794198"}, {"", "0.000000"}, {"1x.30", "0.026180"}, {"0.0000001", "0.000000"},
    };
    for (const Case& c : cases) EXPECT_EQ(DmsToRadians(c.in), c.out) << "[" << c.in << "]";
}

TEST(AngleText, RadiansToDmsRoundingAndTheThreeCarries) {
    struct Case { const char* in; const char* out; };
    const Case cases[] = {
        {"1.000000", "57.1745"}, {"1.570796326794897", "90.0000"}, {"3.141593", "180.0000"},
        {"6.283185", "0.0000"}, {"-1.000000", "-57.1745"}, {"13.000000", "384.5042"}, {"-0.000001", "-0.0000"},
        {"abc", "0.0000"}, {"1.000000xyz", "57.1745"}, {"  0.5", "28.3852"},
        // An exact half second (0°07'22.5") is not rounded up; the next double is.
        {"0.0021453005389096965", "0.0722"}, {"0.002145300538909697", "0.0723"},
    };
    for (const Case& c : cases) EXPECT_EQ(RadiansToDms(c.in), c.out) << c.in;
    auto dms = [](double degrees) {
        char b[40];
        std::snprintf(b, sizeof b, "%.15lf", degrees * kPi / 180.0);
        return RadiansToDms(b);
    };
    EXPECT_EQ(dms(10 + 59.4 / 3600), "10.0059");
    EXPECT_EQ(dms(10 + 58.6 / 3600), "10.0059");
    EXPECT_EQ(dms(10 + 59.7 / 3600), "10.0100");                // 60" → 1'
    EXPECT_EQ(dms(10 + 59.0 / 60 + 59.7 / 3600), "11.0000");    // 60' → 1°
    EXPECT_EQ(dms(359 + 59.0 / 60 + 59.7 / 3600), "0.0000");    // 360° → 0°
    EXPECT_EQ(dms(719 + 59.0 / 60 + 59.7 / 3600), "360.0000");  // only once
}

namespace {

// The stake by the seven-term series, step by step as the element is
// defined: near end, lengths from the clothoid's origin, mirroring, the
// chord turn; each point straight from ClothoidXY.
StakePoint SeriesStake(const ElementRequest& q) {
    bool entering = q.dStartRadius > q.dEndRadius;
    CPlanePoint nearEnd = entering ? q.ptStart : q.ptEnd, farEnd = entering ? q.ptEnd : q.ptStart;
    double rBig = entering ? q.dStartRadius : q.dEndRadius, rSmall = entering ? q.dEndRadius : q.dStartRadius;
    double w = entering ? q.dStation - q.dStartStation : q.dEndStation - q.dStation;
    double ls = q.dEndStation - q.dStartStation, lNear = 0, lFar = ls;
    if (rBig != kInf) {
        lNear = ls * rSmall / (rBig - rSmall);
        lFar = ls * rBig / (rBig - rSmall);
    }
    CPlanePoint n = rBig == kInf ? CPlanePoint(0, 0) : ClothoidXY(lNear, rBig, lNear);
    CPlanePoint f = ClothoidXY(lFar, rSmall, lFar);
    double d = w + lNear;
    CPlanePoint p = ClothoidXY(d, rSmall, lFar);
    double beta = Power(d, 2) / (2 * lFar * rSmall);
    bool left = q.nTurn == -1, swap = entering == left;
    double gamma = entering ? (left ? pi * 0.5 - beta : beta) : (left ? beta + pi : pi * 1.5 - beta);
    if (swap) n = CPlanePoint(n.Y, n.X), f = CPlanePoint(f.Y, f.X), p = CPlanePoint(p.Y, p.X);
    double u = p.X + q.dOffset * std::cos(gamma + q.dDeflection), v = p.Y + q.dOffset * std::sin(gamma + q.dDeflection);
    double theta = nearEnd.Azimuth(farEnd) - n.Azimuth(f), c = std::cos(theta), s = std::sin(theta);
    CPlanePoint o(nearEnd.X - (n.X * c - n.Y * s), nearEnd.Y - (n.X * s + n.Y * c));
    return StakePoint{o.X + (u * c - v * s), o.Y + (u * s + v * c), NormaliseAngle(theta + gamma)};
}

struct TransitionCase {
    const char* name;
    int turn;
    double r0, r1, ls;        // radii (magnitudes) at the start and end rows, length
    double offset, deflection;
    double shift;             // the far control point moved this far along the chord
};

}  // namespace

TEST(Transition, EveryStakeLiesOnTheTrueClothoidThroughItsControlPoints) {
    const TransitionCase cases[] = {
        {"260 to 250 m over 80 m, entering right", 1, 260, 250, 80, 0, 0, 0},
        {"250 to 260 m over 80 m, leaving left", -1, 250, 260, 80, 0, 0, 0},
        {"radius ratio 1.001, entering left", -1, 250.25, 250, 80, 0, 0, 0},
        {"radius ratio 1.001, leaving right", 1, 600, 600.6, 120, 0, 0, 0},
        {"612 to 600 m over 120 m, entering right", 1, 612, 600, 120, 0, 0, 0},
        {"from a straight through 3.3 rad, entering right", 1, kInf, 300, 2000, 0, 0, 0},
        {"into a straight through 3.3 rad, leaving left", -1, 300, kInf, 2000, 0, 0, 0},
        {"from a straight, entering left", -1, kInf, 300, 100, 0, 0, 0},
        {"into a straight, leaving right, a side stake ahead and left", 1, 300, kInf, 100, 7.5, -1.2, 0},
        {"between arcs through 5.5 rad, entering left", -1, 1000, 100, 1000, 0, 0, 0},
        {"a side stake 5 m right of 260 to 250 m", 1, 260, 250, 80, 5, pi / 2, 0},
        {"a side stake 7 m ahead-left of ratio 1.001, leaving", -1, 300, 300.3, 90, -7, 1.1, 0},
        {"a common transition from a straight, series range", 1, kInf, 600, 120, 3, pi / 2, 0},
        {"far point 0.5 m along the chord: held on the near start", 1, 260, 250, 80, 0, 0, 0.5},
        {"far point 0.5 m along the chord: held on the near end", -1, 250, 260, 80, 0, 0, 0.5},
    };
    const int stakes = 40;
    for (const TransitionCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto k = [&](double r) { return r == kInf ? 0.0 : c.turn / r; };
        const DrivenRoad curve({3805000.0, 500000.0}, 0.7, {{c.ls, k(c.r0), k(c.r1)}});
        CPlanePoint p0 = curve.start, p1 = curve.Point(c.ls);
        double chord = p0.Azimuth(p1);
        CPlanePoint moved(p1.X + c.shift * std::cos(chord), p1.Y + c.shift * std::sin(chord));
        // The near end is the end with the larger radius; the far one may
        // have moved, and the curve follows the near end.
        bool enteringAtStart = c.r0 > c.r1;
        double dx = enteringAtStart ? 0 : moved.X - p1.X, dy = enteringAtStart ? 0 : moved.Y - p1.Y;
        ElementGeometry element(ElementRequest{2, c.turn, 1000, p0, c.r0, 1000 + c.ls, moved, c.r1, 0, 0, 0});
        for (int i = 0; i <= stakes; ++i) {
            double heading = 0, station = 1000 + c.ls * i / stakes;
            const CPlanePoint t = curve.Point(c.ls * i / stakes, &heading);
            StakePoint got = element.At(station, c.offset, c.deflection);
            double x = t.X + dx + c.offset * std::cos(heading + c.deflection);
            double y = t.Y + dy + c.offset * std::sin(heading + c.deflection);
            EXPECT_LT(std::hypot(got.dX - x, got.dY - y), 1e-4) << "station " << station;
            EXPECT_LT(std::fabs(std::remainder(got.dAzimuth - heading, 2 * pi)), 1e-9) << "station " << station;
        }
    }
}

TEST(Transition, TheSampleRoadsTransitionsKeepTheSeriesBitForBit) {
    // The transitions of examples/demo.vxa, from and to straights and
    // between two arcs.
    const ElementRequest demo[] = {
        {2, 1, 300, {3805182.628, 500238.006}, kInf, 420, {3805252.436, 500335.547}, 600, 0, 0, 0},
        {2, 1, 670, {3805336.647, 500569.019}, 600, 790, {3805345.175, 500688.662}, kInf, 0, 0, 0},
        {2, -1, 1190, {3805360.304, 501088.376}, kInf, 1290, {3805368.240, 501187.991}, 400, 0, 0, 0},
        {2, -1, 1490, {3805447.647, 501369.286}, 400, 1570, {3805503.911, 501425.840}, 250, 0, 0, 0},
        {2, -1, 1720, {3805642.815, 501476.224}, 250, 1820, {3805742.274, 501467.711}, kInf, 0, 0, 0},
    };
    for (ElementRequest q : demo) {
        ElementGeometry element(q);
        for (double s = q.dStartStation - 5; s <= q.dEndStation + 5; s += 0.37) {
            for (double offset : {0.0, 7.5, -3.25}) {
                q.dStation = s, q.dOffset = offset, q.dDeflection = offset < 0 ? 1.2 : pi / 2;
                StakePoint want = SeriesStake(q), got = element.At(s, offset, q.dDeflection);
                ASSERT_TRUE(got.dX == want.dX && got.dY == want.dY && got.dAzimuth == want.dAzimuth)
                    << q.dStartStation << " at " << s << " offset " << offset;
            }
        }
    }
}

TEST(Transition, TheArcIntegralAgreesWithTheFresnelSeriesAndEndsOnDegenerateInput) {
    // 100 m from the origin of A² = 30000 (R 300 at L 100): the worked
    // Fresnel figures.
    CPlanePoint a = ClothoidArc(100, 0, 1.0 / 30000);
    EXPECT_NEAR(a.X, 99.722579, 5e-7);
    EXPECT_NEAR(a.Y, 5.544542, 5e-7);
    CPlanePoint b = ClothoidArc(-100, 0, 1.0 / 30000);  // backwards: the point mirrored through the origin
    EXPECT_NEAR(b.X, -99.722579, 5e-7);
    EXPECT_NEAR(b.Y, -5.544542, 5e-7);
    EXPECT_TRUE(std::isnan(ClothoidArc(NAN, 0, 1).X) && std::isnan(ClothoidArc(1, INFINITY, 0).Y));
    CPlanePoint huge = ClothoidArc(1e12, 1, 1);  // capped: ends, whatever it gives
    EXPECT_TRUE(std::isfinite(huge.X));
}
