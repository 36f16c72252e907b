// Station and offset of a point from its X and Y.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "geometry/AngleText.h"
#include "geometry/Bracket.h"
#include "geometry/Evaluate.h"
#include "geometry/Gbk.h"
#include "geometry/ReverseLookup.h"
#include "geometry/Texts.h"

using namespace vexaline;

namespace {

std::string Line(const char* station, const char* type, const std::string& radius, const char* x, const char* y) {
    return PadRight(station, 12) + PadRight(Gbk(type), 10) + PadRight(radius, 12) + PadRight(x, 12) +
           PadRight(y, 12);
}
const std::string kInf = "\xA1\xDE";

std::vector<std::string> Road() {
    return {Gbk(text::kControlHeader),
            Line("0", text::kStraight, kInf, "3805000.000", "500000.000"),
            Line("300", text::kTransition, kInf, "3805182.628", "500238.006"),
            Line("420", text::kCircular, "600", "3805252.436", "500335.547"),
            Line("670", text::kTransition, "600", "3805336.647", "500569.019"),
            Line("790", text::kStraight, kInf, "3805345.175", "500688.662"),
            Line("1190", text::kTransition, "-" + kInf, "3805360.304", "501088.376"),
            Line("1290", text::kCircular, "-400", "3805368.240", "501187.991"),
            Line("1490", text::kTransition, "-400", "3805447.647", "501369.286"),
            Line("1570", text::kEndPoint, "-250", "3805503.911", "501425.840")};
}

// The point `offset` metres right (negative: left) of station s.
CPlanePoint Beside(const std::vector<std::string>& road, double s, double offset) {
    BracketTable table;
    int bad;
    BuildBracketTable(road, table, bad);
    Bracketing b = Bracket(table, s);
    StakePoint p = PreparedElement(road[b.nStartLine], road[b.nEndLine]).Point(s, offset, kPi * 0.5);
    return CPlanePoint(p.dX, p.dY);
}

}  // namespace

TEST(ReverseLookup, ConvergesOnEveryElementKindBothSides) {
    const std::vector<std::string> road = Road();
    const std::string right = Gbk("右"), left = Gbk("左");
    // Straight, entering transition, curve and leaving transition turning
    // right, straight, then the same turning left.
    for (double s : {150.0, 360.0, 545.5, 730.0, 990.0, 1240.0, 1390.0, 1530.0}) {
        for (double offset : {7.5, -7.5, 30.0, -30.0, 0.25}) {
            LookupResult r = ReverseLookup(road, Beside(road, s, offset));
            ASSERT_EQ(r.status, LookupStatus::Converged) << s << " " << offset;
            EXPECT_NEAR(std::atof(r.strStation.c_str()), s, 0.002) << s << " " << offset;
            EXPECT_EQ(r.strOffset.substr(0, 2), offset > 0 ? right : left) << s << " " << offset;
            EXPECT_NEAR(std::atof(r.strOffset.substr(2).c_str()), std::fabs(offset), 0.002) << s << " " << offset;
            EXPECT_EQ(r.strOffset.substr(r.strOffset.size() - 2), Gbk("米"));
        }
    }
}

TEST(ReverseLookup, StraightTakesTwoEvaluations) {
    const std::vector<std::string> road = Road();
    LookupResult r = ReverseLookup(road, Beside(road, 20, 3.5));
    ASSERT_EQ(r.status, LookupStatus::Converged);
    EXPECT_EQ(r.nEvaluations, 2);
    EXPECT_EQ(r.strStation, "20.000");
    EXPECT_EQ(r.strOffset, Gbk("右3.500米"));
}

TEST(ReverseLookup, ChangePointItselfTakesOneEvaluation) {
    // Azimuth gives 0 for C = Q, so δ = −A + 2π: "左" for 0 < A ≤ π.
    LookupResult r = ReverseLookup(Road(), CPlanePoint(3805182.628, 500238.006));
    ASSERT_EQ(r.status, LookupStatus::Converged);
    EXPECT_EQ(r.nEvaluations, 1);
    EXPECT_EQ(r.strStation, "300.000");
    EXPECT_EQ(r.strOffset, Gbk("左0.000米"));
}

TEST(ReverseLookup, OutOfRangeAtBothEnds) {
    const std::vector<std::string> road = Road();
    // Before the first change point, on the straight's extension.
    LookupResult r = ReverseLookup(road, Beside(road, -10, 2));
    EXPECT_EQ(r.status, LookupStatus::NotFound);
    EXPECT_EQ(r.nEvaluations, 1);
    // Beyond the last, off the transition's end.
    r = ReverseLookup(road, Beside(road, 1585, -2));
    EXPECT_EQ(r.status, LookupStatus::NotFound);
    EXPECT_TRUE(r.strStation.empty() && r.strOffset.empty());
}

TEST(ReverseLookup, StepBoundEndsASwingingSearch) {
    // A sharp curve (radius 10 over 344°) and a point far outside it: the
    // corrections swing by ±31 m for ever without leaving the range.
    std::vector<std::string> road = {Gbk(text::kControlHeader),
                                     Line("0", text::kStraight, kInf, "-100", "0"),
                                     Line("100", text::kCircular, "10", "0", "0"),
                                     Line("160", text::kEndPoint, "10", "-2.794", "0.398")};
    LookupResult r = ReverseLookup(road, CPlanePoint(-34.4, 7.8));
    EXPECT_EQ(r.status, LookupStatus::NotFound);
    EXPECT_EQ(r.nEvaluations, kMaxLookupSteps);
}

TEST(ReverseLookup, RefusalsAndFaultyControlData) {
    std::vector<std::string> road = Road();
    EXPECT_EQ(ReverseLookup({}, CPlanePoint(0, 0)).status, LookupStatus::NoControl);
    EXPECT_EQ(ReverseLookup({road[0], road[1]}, CPlanePoint(0, 0)).status, LookupStatus::NoControl);
    std::vector<std::string> bad = road;
    bad[5] = Line("O79", text::kStraight, kInf, "3805345.175", "500688.662");
    LookupResult r = ReverseLookup(bad, CPlanePoint(0, 0));
    EXPECT_EQ(r.status, LookupStatus::BadStationLine);
    EXPECT_EQ(r.nBadLine, 5);
    // A transition that keeps its radius: reported once, then Failed.
    std::vector<std::string> faulty = road;
    faulty[4] = Line("670", text::kTransition, "-600", "3805336.647", "500569.019");
    faulty[5] = Line("790", text::kStraight, "600", "3805345.175", "500688.662");
    std::vector<std::string> messages;
    r = ReverseLookup(faulty, Beside(road, 730, 5), [&](const std::string& m) { messages.push_back(m); });
    EXPECT_EQ(r.status, LookupStatus::Failed);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], Gbk("控制数据中里程670.000或790.000处的线型和半径不相符！"));
}
