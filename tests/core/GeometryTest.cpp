// Plane point, clothoid, point on an element, D.MMSS texts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "core/text/AngleText.h"
#include "core/geometry/Clothoid.h"
#include "core/geometry/Element.h"
#include "core/geometry/PlanePoint.h"

using namespace vexaline;

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

// Every transition case with both turns: the azimuth follows increasing
// station, the offset lands where the plane rule puts it, the curve bends
// to the side of the turn.
TEST(Element, TransitionTangentAndOffsetInEveryCase) {
    auto at = [](ElementRequest q, double s, double offset = 0, double defl = 0) {
        q.dStation = s, q.dOffset = offset, q.dDeflection = defl;
        return PointOnElement(q);
    };
    for (const ElementRequest& r : {Q(2, 1, 0, O, kInf, 100, kEnterEnd, 300, 0),
                                    Q(2, 1, 150, kLeaveStart, 300, 250, kLeaveEnd, kInf, 0),
                                    Q(2, 1, 500, kArcStart, 600, 550, kArcEnd, 300, 0),
                                    Q(2, 1, 500, kArcStart, 300, 550, {1017.9, 2046.6}, 600, 0)}) {
        for (const ElementRequest& c : {r, Q(2, -1, r.dStartStation, M(r.ptStart), r.dStartRadius, r.dEndStation,
                                             M(r.ptEnd), r.dEndRadius, 0)}) {
            for (double f : {0.0, 0.3, 1.0}) {
                double s = c.dStartStation + f * (c.dEndStation - c.dStartStation);
                StakePoint p = at(c, s), a = at(c, s - 1e-4), b = at(c, s + 1e-4);
                double chord = CPlanePoint(a.dX, a.dY).Azimuth(b.dX, b.dY);
                EXPECT_NEAR(std::remainder(chord - p.dAzimuth, kTwoPi), 0.0, 1e-6) << c.dStartRadius << " " << f;
                for (double defl : {pi * 0.5, -1.2}) {
                    StakePoint o = at(c, s, 7.5, defl);
                    EXPECT_NEAR(o.dX, p.dX + 7.5 * std::cos(p.dAzimuth + defl), 1e-9);
                    EXPECT_NEAR(o.dY, p.dY + 7.5 * std::sin(p.dAzimuth + defl), 1e-9);
                    EXPECT_EQ(o.dAzimuth, p.dAzimuth);
                }
            }
            double turned = std::remainder(at(c, c.dEndStation).dAzimuth - at(c, c.dStartStation).dAzimuth, kTwoPi);
            EXPECT_EQ(turned > 0 ? 1 : -1, c.nTurn) << c.dStartRadius;
        }
    }
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
