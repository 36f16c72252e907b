// The bracket table, the checks before a run, the run and the single stake.
#include <gtest/gtest.h>

#include <cmath>

#include "geometry/AngleText.h"
#include "geometry/Bracket.h"
#include "geometry/Evaluate.h"
#include "geometry/Gbk.h"
#include "geometry/Texts.h"
#include "results/StakeRun.h"

using namespace vexaline;

namespace {

std::string Line(const char* station, const char* type, const std::string& radius, const char* x, const char* y) {
    return PadRight(station, 12) + PadRight(Gbk(type), 10) + PadRight(radius, 12) + PadRight(x, 12) +
           PadRight(y, 12);
}
const std::string kInf = "\xA1\xDE";

// A road with every kind of element, turning right and then left.
std::vector<std::string> Road() {
    return {Gbk(text::kControlHeader),
            Line("0", text::kStraight, kInf, "3805000.000", "500000.000"),
            Line("300", text::kTransition, kInf, "3805182.628", "500238.006"),
            Line("420", text::kCircular, "600", "3805252.436", "500335.547"),
            Line("670", text::kTransition, "600", "3805336.647", "500569.019"),
            Line("790", text::kStraight, kInf, "3805345.175", "500688.662"),
            Line("1190", text::kTransition, "-" + kInf, "3805360.304", "501088.376"),
            Line("1290", text::kCircular, "-400", "3805368.240", "501187.991"),
            Line("1490", text::kEndPoint, kInf, "3805447.647", "501369.286")};
}

StakeRequest Request(double start, double end, double interval, int mode = 0, double offset = 0) {
    StakeRequest r;
    r.dStartStation = start;
    r.dEndStation = end;
    r.dInterval = interval;
    r.dOffset = offset;
    r.strDeflection = "90.0000";
    r.nResultMode = mode;
    r.ptStation = CPlanePoint(3805300, 500300);
    r.ptBacksight = CPlanePoint(3805000, 500000);
    r.strStationName = "D7";
    r.strBacksightName = "D6";
    return r;
}

std::vector<std::string> RunAll(const std::vector<std::string>& list, const StakeRequest& r,
                             std::vector<int>* positions = nullptr, int startPosition = 0,
                             const MessageSink& sink = MessageSink()) {
    BracketTable table;
    int bad = 0;
    EXPECT_EQ(CheckStakeRun(list, r, table, bad), StakeCheck::Ok);
    std::vector<std::string> out;
    RunStakes(list, table, r, DeflectionRadians(r.strDeflection), startPosition, out,
              [&](int p) {
                  if (positions) positions->push_back(p);
              },
              sink);
    return out;
}

}  // namespace

TEST(Bracket, SortsStablyAndPicksTheElement) {
    // List order 0, 500, 200, 200, 800: two lines share station 200.
    std::vector<std::string> list = {"header", "0", "500", "200 first", "200 second", "800"};
    for (std::string& l : list) l = PadRight(l, 12);
    BracketTable table;
    int bad = 0;
    ASSERT_TRUE(BuildBracketTable(list, table, bad));
    std::vector<int> order;
    for (const BracketEntry& e : table.entries) order.push_back(e.nLine);
    EXPECT_EQ(order, (std::vector<int>{1, 3, 4, 2, 5}));
    EXPECT_EQ(table.Min(), 0.0);
    EXPECT_EQ(table.Max(), 800.0);
    struct Case { double s; int start, end; };
    const Case cases[] = {
        {0, 1, 3},      // the first station: the first element
        {800, 2, 5},    // the last station: the last element
        {100, 1, 3},    // inside
        {200, 4, 2},    // a repeated station: the last of the equal entries
        {500, 2, 5},    // an interior change point: the element that begins there
        {499.999, 4, 2},
        {-5, 1, 3},     // before the first: the first element extends
    };
    for (const Case& c : cases) {
        Bracketing b = Bracket(table, c.s);
        EXPECT_EQ(b.nStartLine, c.start) << c.s;
        EXPECT_EQ(b.nEndLine, c.end) << c.s;
    }
    // A station field that holds no number names its line.
    list[4] = PadRight("nan", 12);
    EXPECT_FALSE(BuildBracketTable(list, table, bad));
    EXPECT_EQ(bad, 4);
    list[4] = PadRight("", 12);
    EXPECT_FALSE(BuildBracketTable(list, table, bad));
    EXPECT_EQ(bad, 4);
}

TEST(StakeRun, ChecksInTheirOrder) {
    const std::vector<std::string> road = Road();
    std::vector<std::string> badRoad = road;
    badRoad[3] = Line("x420", text::kCircular, "600", "3805252.436", "500335.547");
    struct Case { std::vector<std::string> list; StakeRequest r; StakeCheck want; };
    const Case cases[] = {
        {{}, Request(0, 100, 50), StakeCheck::NoControl},
        {{road[0], road[1]}, Request(0, 100, 50), StakeCheck::NoControl},
        {badRoad, Request(-5, 100, 50), StakeCheck::BadStationLine},
        {road, Request(-5, 100, 50), StakeCheck::OutOfRange},
        {road, Request(0, 1500, 50), StakeCheck::OutOfRange},
        {road, Request(-5, -10, 50), StakeCheck::OutOfRange},  // range tested before the order
        {road, Request(NAN, 100, 50), StakeCheck::OutOfRange},
        {road, Request(100, 50, 50), StakeCheck::InvalidRange},
        {road, Request(0, 100, 0), StakeCheck::InvalidRange},
        {road, Request(0, 100, -1), StakeCheck::InvalidRange},
        {road, Request(0, 100, NAN), StakeCheck::InvalidRange},
        {road, Request(0, 1490, 1e-4), StakeCheck::TooManyStakes},
        {road, Request(0, 1490, 1), StakeCheck::Ok},
        {road, Request(1490, 1490, 1), StakeCheck::Ok},
    };
    for (const Case& c : cases) {
        BracketTable table;
        int bad = 0;
        EXPECT_EQ(CheckStakeRun(c.list, c.r, table, bad), c.want) << c.r.dStartStation << " " << c.r.dEndStation;
        if (c.want == StakeCheck::BadStationLine) {
            EXPECT_EQ(bad, 3);
        }
    }
}

TEST(StakeRun, DeflectionCarriesSixDecimals) {
    EXPECT_EQ(DeflectionRadians("90.0000"), 1.570796);
    EXPECT_EQ(DeflectionRadians("-45.3000"), -0.794125);
    EXPECT_EQ(DeflectionRadians(""), 0.0);
}

TEST(StakeRun, RunningSumDecidesTheStakes) {
    struct Case { double start, end, interval; std::vector<std::string> stations; };
    const Case cases[] = {
        {0, 100, 50, {"0.000", "50.000", "100.000"}},
        // The sum reaches 0.6 exactly (0 + 6 × 0.1 would pass it).
        {0, 0.6, 0.1, {"0.000", "0.100", "0.200", "0.300", "0.400", "0.500", "0.600"}},
        // The sum passes 0.3 by a hair: no stake at the end station.
        {0, 0.3, 0.1, {"0.000", "0.100", "0.200"}},
        {1490, 1490, 10, {"1490.000"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines = RunAll(Road(), Request(c.start, c.end, c.interval));
        std::vector<std::string> stations;
        for (const std::string& l : lines) stations.push_back(l.substr(0, l.find(' ')));
        EXPECT_EQ(stations, c.stations) << c.end;
    }
}

TEST(StakeRun, LinesAreTheSingleStakeLines) {
    const std::vector<std::string> road = Road();
    for (int mode : {0, 1}) {
        StakeRequest r = Request(0, 1490, 0.75, mode, mode ? 0 : -4.5);
        std::vector<std::string> lines = RunAll(road, r);
        ASSERT_EQ(lines.size(), 1987u);
        BracketTable table;
        int bad;
        ASSERT_EQ(CheckStakeRun(road, r, table, bad), StakeCheck::Ok);
        double s = r.dStartStation, deflection = DeflectionRadians(r.strDeflection);
        for (const std::string& line : lines) {
            ASSERT_EQ(line, SingleStake(road, table, s, r, deflection)) << s;
            ASSERT_EQ(line.size(), mode ? 54u : 58u);
            s += r.dInterval;
        }
    }
}

TEST(StakeRun, ProgressMovesForwardAtMostAHundredTimes) {
    std::vector<int> positions;
    RunAll(Road(), Request(0, 1490, 0.1), &positions);
    ASSERT_EQ(positions.size(), 100u);
    for (std::size_t i = 0; i < positions.size(); ++i) EXPECT_EQ(positions[i], static_cast<int>(i) + 1);
    // Few stakes: jumps, ending at a full bar; from a start position.
    positions.clear();
    RunAll(Road(), Request(0, 100, 50), &positions, 33);
    EXPECT_EQ(positions, (std::vector<int>{50, 100}));
    // One stake: steps is 0 and the bar stays.
    positions.clear();
    RunAll(Road(), Request(100, 100, 50), &positions, 33);
    EXPECT_TRUE(positions.empty());
}

TEST(StakeRun, FaultyElementLeavesItsMessageAtEveryStakeButReportsOnce) {
    std::vector<std::string> road = Road();
    road[3] = Line("420", text::kTransition, "300", "3805252.436", "500335.547");
    road[4] = Line("670", text::kTransition, "-300", "3805336.647", "500569.019");
    std::vector<std::string> messages;
    std::vector<std::string> lines = RunAll(road, Request(400, 700, 20), nullptr, 0,
                                         [&](const std::string& m) { messages.push_back(m); });
    std::string message = Gbk("控制数据中里程420.000或670.000处的线型和半径不相符！");
    ASSERT_EQ(lines.size(), 16u);
    int onFaulty = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        double s = 400 + 20.0 * i;
        bool faulty = s >= 420 && s < 670;
        EXPECT_EQ(lines[i] == message, faulty) << s;
        onFaulty += faulty;
    }
    EXPECT_GT(onFaulty, 1);
    EXPECT_EQ(messages, std::vector<std::string>{message});
}

TEST(StakeRun, SumThatStopsGrowingEndsTheRun) {
    StakeRequest r = Request(1000, 1000, 1e-14);
    EXPECT_EQ(RunAll(Road(), r).size(), 1u);
}

TEST(SingleStake, ChecksAndTheLastElement) {
    const std::vector<std::string> road = Road();
    BracketTable table;
    int bad = 0;
    EXPECT_EQ(CheckSingleStake({}, 5, table, bad), StakeCheck::NoControl);
    EXPECT_EQ(CheckSingleStake({road[0], road[1]}, 5, table, bad), StakeCheck::NoControl);
    EXPECT_EQ(CheckSingleStake(road, -0.001, table, bad), StakeCheck::OutOfRange);
    EXPECT_EQ(CheckSingleStake(road, 1490.001, table, bad), StakeCheck::OutOfRange);
    EXPECT_EQ(CheckSingleStake(road, NAN, table, bad), StakeCheck::OutOfRange);
    ASSERT_EQ(CheckSingleStake(road, 1490, table, bad), StakeCheck::Ok);
    StakeRequest r = Request(0, 0, 1);
    double deflection = DeflectionRadians(r.strDeflection);
    EXPECT_EQ(SingleStake(road, table, 1490, r, deflection),
              EvaluateStation(1490, road[7], road[8], 0, deflection, 0, {}, {}, "", ""));
    EXPECT_EQ(SingleStake(road, table, 1490, r, deflection).substr(48), Gbk("圆曲段") + "    ");
    ASSERT_EQ(CheckSingleStake(road, 0, table, bad), StakeCheck::Ok);
    EXPECT_EQ(SingleStake(road, table, 0, r, deflection).substr(48), Gbk("直线段") + "    ");
}
