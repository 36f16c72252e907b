// K notation, the plan's transform, scale bar lengths, centreline sampling
// the sieve of marks and the placing of labels that keep a drawing readable.
#include <gtest/gtest.h>

#include <cmath>

#include "core/plan/Declutter.h"
#include "core/plan/LabelPlacement.h"
#include "core/plan/Paper.h"
#include "core/plan/Sampling.h"
#include "core/plan/ViewTransform.h"
#include "core/text/StationText.h"

using namespace vexaline;

TEST(StationText, KNotationRoundsAsTheListsDo) {
    struct Case { double station; const char* want; };
    const Case cases[] = {
        {1234.5, "K1+234.500"},       {0, "K0+000.000"},         {12.5, "K0+012.500"},
        {999.9996, "K1+000.000"},     {999.9994, "K0+999.999"},  {123456.7894, "K123+456.789"},
        {0.0005, "K0+000.001"},  // the double just above 0.0005, as %.3f prints it
        {1.0005, "K0+001.000"},  // the double just below 1.0005
        {-12.5, "K-0+012.500"},       {-0.0004, "K0+000.000"},   {1000, "K1+000.000"},
        {NAN, ""},                    {INFINITY, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(KStation(c.station), c.want) << c.station;
}

TEST(ViewTransform, NorthUpEastRightAtTrueScale) {
    const ViewTransform t(200, 100, CPlanePoint(1000, 2000), 2);
    struct Case { double x, y, u, v; };
    const Case cases[] = {
        {1000, 2000, 100, 50}, {1010, 2000, 100, 30}, {1000, 2005, 110, 50}, {990, 1990, 80, 70}, {1025, 1950, 0, 0},
    };
    for (const Case& c : cases) {
        const ScreenPoint s = t.ToScreen(CPlanePoint(c.x, c.y));
        EXPECT_EQ(s.u, c.u) << c.x << "," << c.y;
        EXPECT_EQ(s.v, c.v) << c.x << "," << c.y;
        const CPlanePoint back = t.ToPlane(s);
        EXPECT_EQ(back.X, c.x); EXPECT_EQ(back.Y, c.y);
    }
    const PlaneBox seen = t.Visible();
    EXPECT_EQ(seen.minX, 975); EXPECT_EQ(seen.maxX, 1025); EXPECT_EQ(seen.minY, 1950); EXPECT_EQ(seen.maxY, 2050);
}

TEST(ViewTransform, ZoomKeepsThePointUnderTheCursorAndPanMovesEverythingAlike) {
    // Survey coordinates of seven digits, where rounding would show first.
    const ViewTransform t(900, 600, CPlanePoint(3805300.25, 500700.75), 0.37);
    const ScreenPoint cursors[] = {{0, 0}, {899, 599}, {123.5, 456.25}, {450, 300}};
    for (double factor : {1.25, 0.8, 7.0, 1e3, 1e-3}) {
        for (const ScreenPoint at : cursors) {
            const CPlanePoint under = t.ToPlane(at);
            const ViewTransform z = t.ZoomedAbout(at, factor);
            EXPECT_DOUBLE_EQ(z.Scale(), 0.37 * factor);
            const ScreenPoint after = z.ToScreen(under);
            EXPECT_NEAR(after.u, at.u, 1e-6) << factor;
            EXPECT_NEAR(after.v, at.v, 1e-6) << factor;
        }
    }
    const CPlanePoint p(3805400, 500600);
    const ScreenPoint before = t.ToScreen(p), after = t.Panned(-40, 25.5).ToScreen(p);
    EXPECT_NEAR(after.u - before.u, -40, 1e-6);
    EXPECT_NEAR(after.v - before.v, 25.5, 1e-6);
    // Zooming past the bounds stops there, and still holds the point.
    const ViewTransform far = t.ZoomedAbout({10, 10}, 1e30);
    EXPECT_EQ(far.Scale(), kMaxScale);
    EXPECT_NEAR(far.ToScreen(t.ToPlane({10, 10})).u, 10, 1e-3);
}

TEST(ViewTransform, FitShowsTheWholeBoxWithItsMargin) {
    struct Case { PlaneBox box; double w, h; };
    const Case cases[] = {
        {{3805000, 500000, 3806038.813, 501476.224}, 800, 600},  // the sample road: wider than high
        {{0, 0, 1000, 10}, 800, 600},                           // a road running north
        {{5, 5, 5, 5}, 300, 300},                               // one point
    };
    for (const Case& c : cases) {
        const ViewTransform t = ViewTransform::Fit(c.box, c.w, c.h, 20);
        const ScreenPoint lo = t.ToScreen(CPlanePoint(c.box.minX, c.box.minY));
        const ScreenPoint hi = t.ToScreen(CPlanePoint(c.box.maxX, c.box.maxY));
        EXPECT_GE(lo.u, 20 - 1e-9); EXPECT_LE(hi.u, c.w - 20 + 1e-9);
        EXPECT_GE(hi.v, 20 - 1e-9); EXPECT_LE(lo.v, c.h - 20 + 1e-9);
        // One way round the box fills the space between the margins.
        EXPECT_TRUE(std::fabs(hi.u - lo.u - (c.w - 40)) < 1e-6 || std::fabs(lo.v - hi.v - (c.h - 40)) < 1e-6 ||
                    t.Scale() == 1);
    }
}

TEST(ScaleBar, LengthsAreOneTwoOrFiveTimesAPowerOfTen) {
    struct Case { double max, want; };
    const Case cases[] = {{1, 1},      {1.99, 1},   {2, 2},       {4.99, 2},  {5, 5},    {9.99, 5},
                          {10, 10},    {0.37, 0.2}, {730, 500},   {1e3, 1e3}, {2.5e4, 2e4}, {0.0011, 0.001},
                          {0, 0},      {-3, 0},     {NAN, 0},     {1e-7, 0}};
    for (const Case& c : cases) EXPECT_EQ(RoundScaleLength(c.max), c.want) << c.max;
}

// A road 1800 m east-west fits 277 mm of paper at 1:6498 at least: the
// next round scale is 1:10000. A box of exactly 2000 m on 200 mm is 1:10000
// itself, not the next one down.
TEST(Paper, TheScaleIsTheLargestRoundOneAtWhichTheBoxFits) {
    struct Case { PlaneBox box; double w, h, want; };
    const Case cases[] = {
        {{0, 0, 1000, 1800}, 277, 165, 10000},  // east-west rules: 6498
        {{0, 0, 1000, 1800}, 400, 256, 5000},   // A3 across: 4500 and 3906
        {{0, 0, 2000, 100}, 277, 165, 20000},   // north-south rules: 12121
        {{0, 0, 100, 2000}, 200, 165, 10000},   // exactly 1:10000
        {{3805000, 500000, 3805010, 500045}, 190, 256, 500},  // 45 m: 236.8
        {{0, 0, 0.01, 0.01}, 190, 256, 1},      // larger than life is drawn at 1:1
        {{}, 190, 256, 1},                      // nothing
        {{0, 0, NAN, 100}, 190, 256, 1},
    };
    for (const Case& c : cases) EXPECT_EQ(ScaleDenominatorToFit(c.box, c.w, c.h), c.want) << c.want;
}

namespace {

// A circular arc of radius r turning right, from (0, 0) heading north,
// built here from sine and cosine, apart from the element code.
CentrelineAt Arc(double r) {
    return [r](double s) {
        const double a = s / r;
        return PlanSample{s, CPlanePoint(r * std::sin(a), r * (1 - std::cos(a))), a};
    };
}

double Sagitta(const PlanSample& a, const PlanSample& b, const CentrelineAt& at) {
    // The most the arc strays from the chord is at the middle.
    const PlanSample m = at((a.dStation + b.dStation) / 2);
    const double dx = b.point.X - a.point.X, dy = b.point.Y - a.point.Y;
    return std::fabs((m.point.X - a.point.X) * dy - (m.point.Y - a.point.Y) * dx) / std::hypot(dx, dy);
}

const PlaneBox kEverywhere{-1e9, -1e9, 1e9, 1e9};

}  // namespace

TEST(Sampling, ArcsStayWithinTheToleranceWithoutWastingPoints) {
    struct Case { double radius, length, tolerance; };
    const Case cases[] = {{250, 300, 0.05}, {600, 250, 0.001}, {40, 240, 0.01}, {2000, 100, 0.5}};
    for (const Case& c : cases) {
        const CentrelineAt at = Arc(c.radius);
        const std::vector<PlanSample> s = SampleElement(at, 0, c.length, c.tolerance, kEverywhere);
        ASSERT_GE(s.size(), 2u);
        EXPECT_EQ(s.front().dStation, 0); EXPECT_EQ(s.back().dStation, c.length);
        for (std::size_t i = 1; i < s.size(); ++i) {
            ASSERT_LT(s[i - 1].dStation, s[i].dStation);
            EXPECT_LE(Sagitta(s[i - 1], s[i], at), c.tolerance) << c.radius << " at " << s[i].dStation;
        }
        // Evenly spaced chords of sagitta tol need L / √(8 R tol) pieces.
        const double even = c.length / std::sqrt(8 * c.radius * c.tolerance);
        EXPECT_LE(s.size(), 2 * even + 2) << c.radius;
    }
}

TEST(Sampling, StraightsAndStretchesOutOfSightNeedTwoPoints) {
    const CentrelineAt straight = [](double s) { return PlanSample{s, CPlanePoint(3 * s / 5, 4 * s / 5), 0.9273}; };
    EXPECT_EQ(SampleElement(straight, 0, 1000, 1e-6, kEverywhere).size(), 2u);
    // An arc whose every point is more than 100 m from the window.
    const PlaneBox away{1000, 1000, 1100, 1100};
    EXPECT_EQ(SampleElement(Arc(250), 0, 700, 1e-4, away).size(), 2u);
    // A window on part of the arc: fine there, coarse elsewhere.
    const PlaneBox part{240, 240, 260, 260};  // round the arc's point at s = π r / 2
    const std::vector<PlanSample> s = SampleElement(Arc(250), 0, 1500, 1e-3, part);
    EXPECT_LT(s.size(), 200u);
    for (std::size_t i = 1; i < s.size(); ++i)
        if (s[i].point.X > 240 && s[i].point.X < 260 && s[i].point.Y > 240 && s[i].point.Y < 260) {
            EXPECT_LE(Sagitta(s[i - 1], s[i], Arc(250)), 1e-3);
        }
    // Refusals.
    EXPECT_EQ(SampleElement(Arc(250), 10, 10, 0.01, kEverywhere).size(), 1u);
    EXPECT_EQ(SampleElement(Arc(250), 0, 100, 0, kEverywhere).size(), 2u);
    EXPECT_TRUE(SampleElement(Arc(250), NAN, 100, 0.01, kEverywhere).empty());
    EXPECT_LE(SampleElement(Arc(250), 0, 1e6, 1e-9, kEverywhere).size(), kMaxSamplesPerElement);
}

TEST(Declutter, OneMarkPerPixel) {
    PixelSieve pixels(10, 5);
    struct Case { double u, v; bool taken; };
    const Case marks[] = {{0, 0, true},   {0.9, 0.9, false}, {1, 0, true},  {9.99, 4.99, true}, {10, 0, false},
                          {-0.1, 2, false}, {3, 5, false},   {NAN, 1, false}, {3.5, 4.2, true}, {3.0, 4.0, false}};
    for (const Case& c : marks) EXPECT_EQ(pixels.Take(c.u, c.v), c.taken) << c.u << "," << c.v;

}

TEST(Declutter, SegmentsAreClippedToThePicture) {
    const ScreenBox box{0, 0, 100, 50};
    struct Case { ScreenPoint a, b; bool inside; ScreenPoint ca, cb; };
    const Case cases[] = {
        {{10, 10}, {90, 40}, true, {10, 10}, {90, 40}},          // wholly inside: unchanged
        {{-100, 25}, {200, 25}, true, {0, 25}, {100, 25}},       // across: cut at both edges
        {{50, -1e7}, {50, 1e7}, true, {50, 0}, {50, 50}},        // ends far away
        {{-10, -10}, {-1, 60}, false, {-10, -10}, {-1, 60}},     // beside it
        {{-20, 40}, {40, -20}, true, {0, 20}, {20, 0}},          // cuts the corner
        {{150, 0}, {200, 50}, false, {150, 0}, {200, 50}},
        {{NAN, 0}, {10, 10}, false, {NAN, 0}, {10, 10}},
    };
    for (const Case& c : cases) {
        ScreenPoint a = c.a, b = c.b;
        ASSERT_EQ(ClipToBox(a, b, box), c.inside) << c.a.u << "," << c.a.v;
        if (!c.inside) continue;
        EXPECT_NEAR(a.u, c.ca.u, 1e-9); EXPECT_NEAR(a.v, c.ca.v, 1e-9);
        EXPECT_NEAR(b.u, c.cb.u, 1e-9); EXPECT_NEAR(b.v, c.cb.v, 1e-9);
    }
}

// Labels 40 × 10 round marks in a picture 200 × 100, 5 pixels clear of the
// anchor: the boxes worked by hand from the order of the spots.
TEST(LabelPlacement, EachLabelTakesTheFirstFreeSpotInsideThePicture) {
    struct Case { ScreenPoint anchor; bool placed; ScreenBox box; };
    LabelPlacer round(200, 100);  // six labels asked for at one mark
    const Case crowd[] = {
        {{100, 50}, true, {105, 45, 145, 55}},  // right
        {{100, 50}, true, {105, 35, 145, 45}},  // above right
        {{100, 50}, true, {105, 55, 145, 65}},  // below right; above and below overlap these two
        {{100, 50}, true, {55, 45, 95, 55}},    // left
        {{100, 50}, true, {55, 35, 95, 45}},    // above left
        {{100, 50}, true, {55, 55, 95, 65}},    // below left
        {{100, 50}, false, {}},                 // every spot taken, slid ones too: thinned
    };
    LabelPlacer edges(200, 100);
    edges.Block({0, 90, 200, 100});  // a scale bar along the bottom
    const Case edge[] = {
        {{190, 50}, true, {145, 45, 185, 55}},  // right, above and below run off the right edge
        {{2, 2}, true, {7, 7, 47, 17}},         // the corner: right and above run off the top
        {{60, 86}, true, {65, 71, 105, 81}},    // right runs into the bar
        {{NAN, 50}, false, {}},
        {{100, INFINITY}, false, {}},
    };
    const auto check = [](LabelPlacer& placer, const auto& cases) {
        for (const Case& k : cases) {
            const auto box = placer.Place(k.anchor, 40, 10, 5);
            ASSERT_EQ(box.has_value(), k.placed) << k.anchor.u << "," << k.anchor.v;
            if (!box) continue;
            EXPECT_EQ(box->u0, k.box.u0); EXPECT_EQ(box->v0, k.box.v0);
            EXPECT_EQ(box->u1, k.box.u1); EXPECT_EQ(box->v1, k.box.v1);
        }
    };
    check(round, crowd);
    // Slid a quarter of the label off centre, past marks on either side.
    LabelPlacer slid(200, 100);
    for (double u : {68.0, 118.0}) slid.Block({u, 40, u + 2, 60});  // marks 32 left and 18 right of the anchor
    slid.Block({0, 46, 200, 54});                                   // a row of marks through the anchor
    const Case slide[] = {{{100, 50}, true, {70, 35, 110, 45}}, {{100, 50}, true, {70, 55, 110, 65}}};
    check(slid, slide);
    check(edges, edge);
    // A mark that only touches the right spot leaves it free; one a pixel
    // wider takes every spot on the right, and above and below as well.
    for (double right : {105.0, 106.0}) {
        LabelPlacer placer(200, 100);
        placer.Block({100, 40, right, 60});
        EXPECT_EQ(placer.Place({100, 50}, 40, 10, 5)->u0, right == 105 ? 105 : 55) << right;
    }
}

// A picture of 10⁵ × 10⁵ pixels is kept in coarse cells: labels asked for
// close round a few marks never overlap, at fractional positions too.
TEST(LabelPlacement, CoarseCellsNeverLetLabelsOverlap) {
    LabelPlacer placer(1e5, 1e5);
    std::vector<ScreenBox> boxes;
    for (int i = 0; i < 40; ++i)
        if (auto box = placer.Place({500 + (i % 5) * 43.3, 500 + (i / 5) * 17.7}, 31.5, 9.25, 3)) boxes.push_back(*box);
    EXPECT_GT(boxes.size(), 8u);
    for (std::size_t i = 0; i < boxes.size(); ++i)
        for (std::size_t j = i + 1; j < boxes.size(); ++j) EXPECT_FALSE(boxes[i].Overlaps(boxes[j])) << i << "," << j;
}
