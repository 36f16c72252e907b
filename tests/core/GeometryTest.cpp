// Plane point, clothoid series, point on an element.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <type_traits>

#include "geometry/AngleText.h"
#include "geometry/Clothoid.h"
#include "geometry/Element.h"
#include "geometry/PlanePoint.h"

using namespace vexaline;

namespace {

constexpr double kInf = INFINITE_RADIUS;
constexpr double k6 = 5.1e-7;  // "to six decimals"

ElementRequest Request(int type, int turn, double s0, CPlanePoint p0, double r0, double s1, CPlanePoint p1,
                       double r1, double station, double offset = 0, double deflection = 0) {
    return ElementRequest{type, turn, s0, p0, r0, s1, p1, r1, station, offset, deflection};
}

}  // namespace

// ---------------------------------------------------------------- plane point

static_assert(std::is_trivially_copyable_v<CPlanePoint> && sizeof(CPlanePoint) == 2 * sizeof(double),
              "CPlanePoint is a plain two-double value");

TEST(PlanePoint, DefaultIsOriginAndCoordinatesAreKept) {
    CPlanePoint p;
    EXPECT_EQ(p.X, 0.0);
    EXPECT_EQ(p.Y, 0.0);
    CPlanePoint q(3825123.4567, -512.5);
    EXPECT_EQ(q.X, 3825123.4567);
    EXPECT_EQ(q.Y, -512.5);
}

TEST(PlanePoint, AzimuthQuadrantsAndZeroCases) {
    const double pi = kPi;
    struct Case { double x, y, want; bool exact; };
    const Case cases[] = {
        {0, 0, 0, true},                 // coincident
        {0, 5, pi * 0.5, true},          // due east, equal X
        {0, -5, pi * 1.5, true},         // due west, equal X
        {5, 0, 0, true},                 // due north: ΔY = 0 counts as ≥ 0
        {-5, 0, pi, true},               // due south: π − 0
        {3, 3, pi / 4, false},           // ΔY ≥ 0, ΔX > 0: a
        {-3, 3, 3 * pi / 4, false},      // ΔY ≥ 0, ΔX < 0: π − a
        {-3, -3, 5 * pi / 4, false},     // ΔY < 0, ΔX < 0: π + a
        {3, -3, 7 * pi / 4, false},      // ΔY < 0, ΔX > 0: 2π − a
        {1, std::sqrt(3.0), pi / 3, false},
    };
    CPlanePoint o(0, 0);
    for (const Case& c : cases) {
        double a = o.Azimuth(c.x, c.y);
        if (c.exact)
            EXPECT_EQ(a, c.want) << c.x << "," << c.y;
        else
            EXPECT_NEAR(a, c.want, 1e-15) << c.x << "," << c.y;
        EXPECT_EQ(o.Azimuth(CPlanePoint(c.x, c.y)), a);
    }
}

TEST(PlanePoint, AzimuthIsDirectionalAndCanReachTwoPiByRounding) {
    CPlanePoint a(10, 20), b(0, 0);
    double ab = a.Azimuth(b), ba = b.Azimuth(a);
    EXPECT_NEAR(std::fabs(ab - ba), kPi, 1e-15);
    // 2π − a for a vanishing a rounds to 2π; the element code normalises.
    EXPECT_EQ(CPlanePoint(0, 0).Azimuth(1, -1e-300), kTwoPi);
    // Offsets from a point far from the origin: the exact X comparison.
    CPlanePoint far(3825123.456, 512345.678);
    EXPECT_EQ(far.Azimuth(3825123.456, 512345.679), kPi * 0.5);
}

TEST(PlanePoint, DistanceBothFormsBothDirections) {
    CPlanePoint a(1, 2), b(4, 6);
    EXPECT_EQ(a.Distance(b), 5.0);
    EXPECT_EQ(b.Distance(a), 5.0);
    EXPECT_EQ(a.Distance(4, 6), 5.0);
    EXPECT_EQ(a.Distance(a), 0.0);
}

// ---------------------------------------------------------------- clothoid

TEST(Clothoid, PowerAndFactorial) {
    EXPECT_EQ(Power(7.5, 0), 1.0);
    EXPECT_EQ(Power(7.5, -3), 1.0);
    EXPECT_EQ(Power(2, 10), 1024.0);
    EXPECT_EQ(Power(-3, 3), -27.0);
    // n successive products from 1.0, not a library pow.
    double x = 1.1, r = 1.0;
    for (int i = 0; i < 25; ++i) r *= x;
    EXPECT_EQ(Power(x, 25), r);
    EXPECT_EQ(Factorial(0), 1.0);
    EXPECT_EQ(Factorial(-1), 1.0);
    EXPECT_EQ(Factorial(5), 120.0);
    EXPECT_EQ(Factorial(13), 6227020800.0);
}

TEST(Clothoid, SeriesValues) {
    struct Case { double l, R, L, x, y; };
    const Case cases[] = {
        {0, 300, 100, 0, 0},
        {100, 300, 100, 99.722579, 5.544542},
        {200, 100, 200, 180.904848, 62.053660},  // β = 1 rad at the end
    };
    for (const Case& c : cases) {
        CPlanePoint p = ClothoidXY(c.l, c.R, c.L);
        EXPECT_NEAR(p.X, c.x, k6) << c.l;
        EXPECT_NEAR(p.Y, c.y, k6) << c.l;
    }
    CPlanePoint zero = ClothoidXY(0, 300, 100);
    EXPECT_EQ(zero.X, 0.0);
    EXPECT_EQ(zero.Y, 0.0);
}

// ---------------------------------------------------------------- elements

TEST(Element, NormaliseAngle) {
    EXPECT_EQ(NormaliseAngle(0.0), 0.0);
    EXPECT_EQ(NormaliseAngle(kTwoPi), 0.0);
    EXPECT_EQ(NormaliseAngle(-0.5), -0.5 + kTwoPi);
    EXPECT_EQ(NormaliseAngle(7.0), 7.0 - kTwoPi);
    EXPECT_EQ(NormaliseAngle(-13.0), -13.0 + kTwoPi + kTwoPi + kTwoPi);
    EXPECT_TRUE(std::isnan(NormaliseAngle(INFINITY)));
    EXPECT_TRUE(std::isnan(NormaliseAngle(NAN)));
    double huge = NormaliseAngle(1e300);  // would never end by subtraction
    EXPECT_TRUE(huge >= 0 && huge < kTwoPi);
}

struct PointCase {
    const char* name;
    ElementRequest q;
    double x, y, azimuth;
};

class ElementPoints : public ::testing::TestWithParam<PointCase> {};

TEST_P(ElementPoints, KnownPoints) {
    const PointCase& c = GetParam();
    StakePoint p = PointOnElement(c.q);
    EXPECT_NEAR(p.dX, c.x, k6);
    EXPECT_NEAR(p.dY, c.y, k6);
    EXPECT_NEAR(p.dAzimuth, c.azimuth, k6);
    EXPECT_TRUE(p.dAzimuth >= 0 && p.dAzimuth < kTwoPi);
}

namespace {
const double pi = kPi;
const CPlanePoint O(0, 0);
// Entering right, leaving right and between two arcs right, and
// their mirror images (Y negated, turn −1).
const CPlanePoint kEnterEnd(99.722579, 5.544542);
const CPlanePoint kLeaveStart(148.112148, 17.900428), kLeaveEnd(238.285140, 60.844186);
const CPlanePoint kArcStart(1000, 2000), kArcEnd(1024.621142, 2043.480131);
CPlanePoint M(CPlanePoint p) { return CPlanePoint(p.X, -p.Y); }
}  // namespace

INSTANTIATE_TEST_SUITE_P(
    Known, ElementPoints,
    ::testing::Values(
        PointCase{"straight30", Request(0, 1, 0, O, kInf, 100, {100, 0}, kInf, 30), 30, 0, 0},
        PointCase{"straightRight", Request(0, 1, 0, O, kInf, 100, {100, 0}, kInf, 30, 5, pi / 2), 30, 5, 0},
        PointCase{"straightLeft", Request(0, 1, 0, O, kInf, 100, {100, 0}, kInf, 30, -5, pi / 2), 30, -5, 0},
        PointCase{"straightQuarter", Request(0, 1, 0, O, kInf, 100, {100, 0}, kInf, 30, 5, pi / 4), 33.535534,
                  3.535534, 0},
        PointCase{"straightBeyond", Request(0, 1, 0, O, kInf, 100, {100, 0}, kInf, 130), 130, 0, 0},
        PointCase{"straightEast", Request(0, 1, 0, O, kInf, 100, {0, 100}, kInf, 30, 5, pi / 2), -5, 30, pi / 2},
        PointCase{"straightShortChord", Request(0, 1, 0, O, kInf, 100, {50, 0}, kInf, 100), 100, 0, 0},
        PointCase{"circleRightMid", Request(1, 1, 0, O, 100, 50 * pi, {100, 100}, 100, 25 * pi), 70.710678,
                  29.289322, pi / 4},
        PointCase{"circleRightEnd", Request(1, 1, 0, O, 100, 50 * pi, {100, 100}, 100, 50 * pi), 100, 100, pi / 2},
        PointCase{"circleLeftMid", Request(1, -1, 0, O, 100, 50 * pi, {100, -100}, 100, 25 * pi), 70.710678,
                  -29.289322, 7 * pi / 4},
        PointCase{"circleLongChord", Request(1, 1, 0, O, 100, 50 * pi, {200, 200}, 100, 50 * pi), 100, 100, pi / 2},
        PointCase{"circleStartSide", Request(1, 1, 0, O, 100, 50 * pi, {100, 100}, 100, 0, 10, pi / 2), 0, 10, 0},
        PointCase{"enterRight50", Request(2, 1, 0, O, kInf, 100, kEnterEnd, 300, 50), 49.991320, 0.694358, 1.0 / 24},
        PointCase{"enterRight100", Request(2, 1, 0, O, kInf, 100, kEnterEnd, 300, 100), 99.722579, 5.544542,
                  1.0 / 6},
        PointCase{"leaveRight250", Request(2, 1, 150, kLeaveStart, 300, 250, kLeaveEnd, kInf, 250), 238.285140,
                  60.844186, 0.5},
        PointCase{"leaveRight200", Request(2, 1, 150, kLeaveStart, 300, 250, kLeaveEnd, kInf, 200), 194.080736,
                  37.486427, 0.458333},
        PointCase{"leaveRight150", Request(2, 1, 150, kLeaveStart, 300, 250, kLeaveEnd, kInf, 150), 148.112148,
                  17.900428, 1.0 / 3},
        PointCase{"arcsRight500", Request(2, 1, 500, kArcStart, 600, 550, kArcEnd, 300, 500), 1000, 2000, 1.0},
        PointCase{"arcsRight525", Request(2, 1, 500, kArcStart, 600, 550, kArcEnd, 300, 525), 1012.990837,
                  2021.356416, 1.052083},
        PointCase{"arcsRight550", Request(2, 1, 500, kArcStart, 600, 550, kArcEnd, 300, 550), 1024.621142,
                  2043.480131, 1.125},
        // Mirror images: Y negated, azimuth a becomes 2π − a.
        PointCase{"enterLeft50", Request(2, -1, 0, O, kInf, 100, M(kEnterEnd), 300, 50), 49.991320, -0.694358,
                  2 * pi - 1.0 / 24},
        PointCase{"enterLeft100", Request(2, -1, 0, O, kInf, 100, M(kEnterEnd), 300, 100), 99.722579, -5.544542,
                  2 * pi - 1.0 / 6},
        PointCase{"leaveLeft250", Request(2, -1, 150, M(kLeaveStart), 300, 250, M(kLeaveEnd), kInf, 250),
                  238.285140, -60.844186, 2 * pi - 0.5},
        PointCase{"leaveLeft200", Request(2, -1, 150, M(kLeaveStart), 300, 250, M(kLeaveEnd), kInf, 200),
                  194.080736, -37.486427, 2 * pi - 0.458333},
        PointCase{"leaveLeft150", Request(2, -1, 150, M(kLeaveStart), 300, 250, M(kLeaveEnd), kInf, 150),
                  148.112148, -17.900428, 2 * pi - 1.0 / 3},
        PointCase{"arcsLeft525", Request(2, -1, 500, M(kArcStart), 600, 550, M(kArcEnd), 300, 525), 1012.990837,
                  -2021.356416, 2 * pi - 1.052083},
        PointCase{"arcsLeft550", Request(2, -1, 500, M(kArcStart), 600, 550, M(kArcEnd), 300, 550), 1024.621142,
                  -2043.480131, 2 * pi - 1.125}),
    [](const ::testing::TestParamInfo<PointCase>& i) { return std::string(i.param.name); });

TEST(Element, TransitionNearEndIsExactOnAStraight) {
    // Entering: the stake at the start station is ptStart itself.
    StakePoint p = PointOnElement(Request(2, 1, 0, O, kInf, 100, kEnterEnd, 300, 0));
    EXPECT_EQ(p.dX, 0.0);
    EXPECT_EQ(p.dY, 0.0);
    // Leaving: the stake at the end station is ptEnd itself.
    p = PointOnElement(Request(2, 1, 150, kLeaveStart, 300, 250, kLeaveEnd, kInf, 250));
    EXPECT_EQ(p.dX, kLeaveEnd.X);
    EXPECT_EQ(p.dY, kLeaveEnd.Y);
    p = PointOnElement(Request(2, -1, 150, M(kLeaveStart), 300, 250, M(kLeaveEnd), kInf, 250));
    EXPECT_EQ(p.dX, kLeaveEnd.X);
    EXPECT_EQ(p.dY, -kLeaveEnd.Y);
}

TEST(Element, EnteringAtStationZeroIsJustBelowTwoPi) {
    // One would expect azimuth 0 here, but ptEnd is rounded to six
    // decimals, so the chord turns θ by −3.5e-9 and the normalised azimuth
    // is 2π − 3.5e-9. Its D.MMSS text is 0.0000 all the same.
    StakePoint p = PointOnElement(Request(2, 1, 0, O, kInf, 100, kEnterEnd, 300, 0));
    EXPECT_GT(p.dAzimuth, kTwoPi - 1e-8);
    EXPECT_LT(p.dAzimuth, kTwoPi);
    char text[32];
    std::snprintf(text, sizeof text, "%lf", p.dAzimuth);
    EXPECT_STREQ(text, "6.283185");
    EXPECT_EQ(RadiansToDms(text), "0.0000");
    // The mirror image lies just above 0.
    p = PointOnElement(Request(2, -1, 0, O, kInf, 100, M(kEnterEnd), 300, 0));
    EXPECT_GT(p.dAzimuth, 0.0);
    EXPECT_LT(p.dAzimuth, 1e-8);
}

// Every row of the T7 table with both turn signs: the azimuth faces the
// direction of increasing station, and the offset set off in the local frame
// lands where the plane rule puts it (to the right for +offset at 90°).
TEST(Element, TransitionTangentAndOffsetInEveryCase) {
    struct Case { const char* name; ElementRequest q; };
    const Case cases[] = {
        {"enterRight", Request(2, 1, 0, O, kInf, 100, kEnterEnd, 300, 0)},
        {"enterLeft", Request(2, -1, 0, O, kInf, 100, M(kEnterEnd), 300, 0)},
        {"leaveRight", Request(2, 1, 150, kLeaveStart, 300, 250, kLeaveEnd, kInf, 0)},
        {"leaveLeft", Request(2, -1, 150, M(kLeaveStart), 300, 250, M(kLeaveEnd), kInf, 0)},
        {"arcsEnterRight", Request(2, 1, 500, kArcStart, 600, 550, kArcEnd, 300, 0)},
        {"arcsEnterLeft", Request(2, -1, 500, M(kArcStart), 600, 550, M(kArcEnd), 300, 0)},
        // Between two arcs, leaving: the radius grows from 300 to 600.
        {"arcsLeaveRight", Request(2, 1, 500, kArcStart, 300, 550, {1017.9, 2046.6}, 600, 0)},
        {"arcsLeaveLeft", Request(2, -1, 500, M(kArcStart), 300, 550, M({1017.9, 2046.6}), 600, 0)},
    };
    for (const Case& c : cases) {
        for (double f : {0.0, 0.3, 0.75, 1.0}) {
            ElementRequest q = c.q;
            q.dStation = q.dStartStation + f * (q.dEndStation - q.dStartStation);
            StakePoint centre = PointOnElement(q);
            // Tangent from neighbouring centre points.
            const double h = 1e-4;
            ElementRequest a = q, b = q;
            a.dStation -= h;
            b.dStation += h;
            StakePoint pa = PointOnElement(a), pb = PointOnElement(b);
            double chord = CPlanePoint(pa.dX, pa.dY).Azimuth(pb.dX, pb.dY);
            double diff = std::remainder(chord - centre.dAzimuth, kTwoPi);
            EXPECT_NEAR(diff, 0.0, 1e-6) << c.name << " at " << f;
            // Offset and deflection.
            for (double defl : {kPi * 0.5, 0.3, -1.2}) {
                ElementRequest o = q;
                o.dOffset = 7.5;
                o.dDeflection = defl;
                StakePoint s = PointOnElement(o);
                EXPECT_NEAR(s.dX, centre.dX + 7.5 * std::cos(centre.dAzimuth + defl), 1e-9) << c.name;
                EXPECT_NEAR(s.dY, centre.dY + 7.5 * std::sin(centre.dAzimuth + defl), 1e-9) << c.name;
                EXPECT_EQ(s.dAzimuth, centre.dAzimuth) << c.name;
            }
        }
        // The turn: the curve bends to the side of nTurn.
        ElementRequest q0 = c.q, q1 = c.q;
        q0.dStation = q0.dStartStation;
        q1.dStation = q1.dEndStation;
        double turned = std::remainder(PointOnElement(q1).dAzimuth - PointOnElement(q0).dAzimuth, kTwoPi);
        EXPECT_EQ(turned > 0 ? 1 : -1, c.q.nTurn) << c.name;
    }
}

TEST(Element, ZeroLengthTransitionGivesTheNearEndWithoutNaN) {
    // Entering from a straight, zero length: near end = ptStart.
    ElementRequest q = Request(2, 1, 100, {10, 20}, kInf, 100, {10, 30}, 300, 100);
    StakePoint p = PointOnElement(q);
    EXPECT_EQ(p.dX, 10.0);
    EXPECT_EQ(p.dY, 20.0);
    EXPECT_EQ(p.dAzimuth, kPi * 0.5);  // the chord, due east
    // Leaving into a straight: near end = ptEnd; with an offset.
    q = Request(2, -1, 100, {10, 30}, 300, 100, {10, 20}, kInf, 100, 2, kPi * 0.5);  // chord due west
    p = PointOnElement(q);
    EXPECT_EQ(p.dX, 10.0 + 2 * std::cos(kPi * 1.5 + kPi * 0.5));
    EXPECT_EQ(p.dY, 20.0 + 2 * std::sin(kPi * 1.5 + kPi * 0.5));
    EXPECT_EQ(p.dAzimuth, kPi * 1.5);
    // Between two arcs, and a zero radius: A² = 0 as well.
    q = Request(2, 1, 100, {10, 20}, 600, 100, {10, 20}, 300, 100);
    p = PointOnElement(q);
    EXPECT_EQ(p.dX, 10.0);
    EXPECT_EQ(p.dAzimuth, 0.0);
    q = Request(2, 1, 0, {0, 0}, kInf, 50, {50, 0}, 0, 20);
    p = PointOnElement(q);
    EXPECT_FALSE(std::isnan(p.dX) || std::isnan(p.dY) || std::isnan(p.dAzimuth));
}

TEST(Element, OtherLineTypesGiveTheStartPoint) {
    for (int type : {-1, 3, 42}) {
        StakePoint p = PointOnElement(Request(type, 1, 0, {5, 6}, kInf, 100, {100, 0}, kInf, 50, 5, 1));
        EXPECT_EQ(p.dX, 5.0);
        EXPECT_EQ(p.dY, 6.0);
        EXPECT_EQ(p.dAzimuth, 0.0);
    }
}
