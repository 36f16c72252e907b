// Transition curves against the true clothoid, integrated here step by step
// from its curvature, and against the series where the series is exact.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/geometry/Clothoid.h"
#include "core/geometry/Element.h"
#include "core/geometry/PlanePoint.h"

using namespace vexaline;

namespace {

constexpr double kInf = INFINITE_RADIUS, pi = kPi;

struct State { double x, y, heading; };

// The curve whose curvature runs linearly from k0 to k1 over length ls,
// from (x0, y0) with heading h0, by classical Runge–Kutta on (x, y, heading)
// with `steps` equal steps; every state is kept.
std::vector<State> Trace(State start, double ls, double k0, double k1, int steps) {
    auto slope = [&](double s, const State& q) {
        return State{std::cos(q.heading), std::sin(q.heading), k0 + (k1 - k0) * s / ls};
    };
    auto plus = [](State a, State d, double f) { return State{a.x + f * d.x, a.y + f * d.y, a.heading + f * d.heading}; };
    std::vector<State> out{start};
    double h = ls / steps;
    for (int i = 0; i < steps; ++i) {
        double s = i * h;
        State q = out.back();
        State a = slope(s, q), b = slope(s + h / 2, plus(q, a, h / 2)), c = slope(s + h / 2, plus(q, b, h / 2)),
              d = slope(s + h, plus(q, c, h));
        out.push_back(State{q.x + h / 6 * (a.x + 2 * b.x + 2 * c.x + d.x), q.y + h / 6 * (a.y + 2 * b.y + 2 * c.y + d.y),
                            q.heading + h / 6 * (a.heading + 2 * b.heading + 2 * c.heading + d.heading)});
    }
    return out;
}

double Fold(double a) { return std::remainder(a, 2 * pi); }  // into [−π, π]

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

struct Case {
    const char* name;
    int turn;
    double r0, r1, ls;        // radii (magnitudes) at the start and end rows, length
    double offset, deflection;
    double shift;             // the far control point moved this far along the chord
};

}  // namespace

TEST(Transition, EveryStakeLiesOnTheTrueClothoidThroughItsControlPoints) {
    const Case cases[] = {
        {"260 to 250 m over 80 m, entering right", 1, 260, 250, 80, 0, 0, 0},
        {"250 to 260 m over 80 m, leaving left", -1, 250, 260, 80, 0, 0, 0},
        {"radius ratio 1.001, entering left", -1, 250.25, 250, 80, 0, 0, 0},
        {"radius ratio 1.001, leaving right", 1, 600, 600.6, 120, 0, 0, 0},
        {"612 to 600 m over 120 m, entering right", 1, 612, 600, 120, 0, 0, 0},
        {"from a straight through 3.3 rad, entering right", 1, kInf, 300, 2000, 0, 0, 0},
        {"into a straight through 3.3 rad, leaving left", -1, 300, kInf, 2000, 0, 0, 0},
        {"between arcs through 5.5 rad, entering left", -1, 1000, 100, 1000, 0, 0, 0},
        {"a side stake 5 m right of 260 to 250 m", 1, 260, 250, 80, 5, pi / 2, 0},
        {"a side stake 7 m ahead-left of ratio 1.001, leaving", -1, 300, 300.3, 90, -7, 1.1, 0},
        {"a common transition from a straight, series range", 1, kInf, 600, 120, 3, pi / 2, 0},
        {"far point 0.5 m along the chord: held on the near start", 1, 260, 250, 80, 0, 0, 0.5},
        {"far point 0.5 m along the chord: held on the near end", -1, 250, 260, 80, 0, 0, 0.5},
    };
    const int steps = 16000, stakes = 40;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto k = [&](double r) { return r == kInf ? 0.0 : c.turn / r; };
        const State start{3805000.0, 500000.0, 0.7};
        std::vector<State> curve = Trace(start, c.ls, k(c.r0), k(c.r1), steps);
        CPlanePoint p0(start.x, start.y), p1(curve.back().x, curve.back().y);
        double chord = p0.Azimuth(p1);
        CPlanePoint moved(p1.X + c.shift * std::cos(chord), p1.Y + c.shift * std::sin(chord));
        // The near end is the end with the larger radius; the far one may
        // have moved, and the curve follows the near end.
        bool enteringAtStart = c.r0 > c.r1;
        double dx = enteringAtStart ? 0 : moved.X - p1.X, dy = enteringAtStart ? 0 : moved.Y - p1.Y;
        ElementRequest q{2, c.turn, 1000, p0, c.r0, 1000 + c.ls, moved, c.r1, 0, c.offset, c.deflection};
        ElementGeometry element(q);
        for (int i = 0; i <= stakes; ++i) {
            const State& t = curve[static_cast<std::size_t>(i * (steps / stakes))];
            double station = 1000 + c.ls * i / stakes;
            StakePoint got = element.At(station, c.offset, c.deflection);
            double x = t.x + dx + c.offset * std::cos(t.heading + c.deflection);
            double y = t.y + dy + c.offset * std::sin(t.heading + c.deflection);
            EXPECT_LT(std::hypot(got.dX - x, got.dY - y), 1e-4) << "station " << station;
            EXPECT_LT(std::fabs(Fold(got.dAzimuth - t.heading)), 1e-9) << "station " << station;
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
