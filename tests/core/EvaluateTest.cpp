// Evaluation by station and what is built on it: the result forms, the
// element checks, the fast number texts, the typed road against figures
// built independently, the stake run, the single stake and the lookup.
#include <cstdio>
#include <cstring>
#include <random>

#include "CoreFixture.h"
#include "core/road/Evaluate.h"
#include "core/road/ReverseLookup.h"
#include "core/road/StakeRun.h"
#include "core/text/AngleText.h"
#include "core/text/FixedText.h"
#include "core/road/ResultText.h"
#include "core/text/Texts.h"

namespace {

std::string Fixed(const char* format, double v) {
    char b[400];
    std::snprintf(b, sizeof b, format, v);
    return b;
}
std::string Eval(double station, const std::string& a, const std::string& b, int mode = 0,
                 CPlanePoint instrument = {}, CPlanePoint backsight = {}, const std::string& sn = "",
                 const MessageSink& sink = MessageSink()) {
    return EvaluateStation(station, a, b, 0, 0, mode, instrument, backsight, sn, "B2", sink);
}

// Every kind of element, turning right and then left, and a transition
// between two arcs at the end.
const std::vector<std::string> kRoad = {
    Gbk(text::kControlHeader), L("0|直线|∞|3805000.000|500000.000"), L("300|缓和曲线|∞|3805182.628|500238.006"),
    L("420|圆曲线|600|3805252.436|500335.547"), L("670|缓和曲线|600|3805336.647|500569.019"),
    L("790|直线|∞|3805345.175|500688.662"), L("1190|缓和曲线|-∞|3805360.304|501088.376"),
    L("1290|圆曲线|-400|3805368.240|501187.991"), L("1490|缓和曲线|-400|3805447.647|501369.286"),
    L("1570|终点|-250|3805503.911|501425.840")};

StakeRequest Request(double start, double end, double interval, double offset = 0) {
    StakeRequest r;
    r.dStartStation = start, r.dEndStation = end, r.dInterval = interval, r.dOffset = offset;
    r.dDeflection = *ParseDeflection("90.0000");
    r.setup = {"D7", {3805300, 500300}, "D6", {3805000, 500000}};
    return r;
}

std::vector<std::string> Lines(const ResultSet& set) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < set.rows.size(); ++i) lines.push_back(ResultLine(set, i));
    return lines;
}

std::vector<std::string> RunAll(const std::vector<std::string>& list, const StakeRequest& r,
                                ResultMode mode = ResultMode::Coordinates, std::vector<int>* positions = nullptr,
                                int from = 0, const MessageSink& sink = {}) {
    const Alignment road = Alignment::Parse(list);
    EXPECT_EQ(CheckStakeRun(road, r), StakeCheck::Ok);
    ResultSet set;
    set.mode = mode;
    RunStakes(road, r, set, from, [&](int p) {
        if (positions) positions->push_back(p);
    }, sink);
    return Lines(set);
}

// The point `offset` metres right (negative: left) of station s.
CPlanePoint Beside(double s, double offset) { return Alignment::Parse(kRoad).At(s, offset, kPi * 0.5).point; }

}  // namespace

TEST(FixedText, MatchesPrintfAndStrtodByteForByte) {
    std::mt19937_64 rng(20240611);
    std::uniform_real_distribution<double> unit(-1, 1);
    std::vector<double> values = {0.0, -0.0, 0.0005, 0.0015, 0.9995, 999.9995, -1e-300, 5e-324, 123.4565, -2.5,
                                  9.3e15, 1e17, -1e19, 1e300, INFINITY, -INFINITY, NAN, 3825123.4565};
    for (int i = 0; i < 50000; ++i) values.push_back(unit(rng) * std::pow(10.0, static_cast<int>(rng() % 24) - 8));
    // Exact ties: binary fractions half way between two printed values.
    for (int k = 0; k < 64; ++k) values.push_back(k + 0.5), values.push_back(k / 16.0 + 1.0 / 32);
    for (double v : values) {
        for (int d : {0, 3, 6, 15}) {
            std::string want = Fixed(("%." + std::to_string(d) + "lf").c_str(), v), got = "#";
            AppendFixed(got, v, d);
            ASSERT_EQ(got, "#" + want) << v << " with " << d;
            double back = FixedRoundTrip(v, d), ref = std::strtod(want.c_str(), nullptr);
            ASSERT_TRUE(std::memcmp(&back, &ref, sizeof back) == 0 || (std::isnan(back) && std::isnan(ref))) << v;
        }
    }
}

TEST(EvaluateStation, ResultFormsByteForByte) {
    std::string a = L("0|直线|∞|0|0"), b = L("100|终点|∞|0|100");
    EXPECT_EQ(Eval(50, a, b), "50.000      0.000         50.000      90.0000   " + Gbk("直线段") + "    ");
    EXPECT_EQ(Eval(50, a, b, 101), "0.000         50.000      1.570796");
    // Setting out from (0, 0) on a backsight due north; any other mode sets out too.
    std::string setOut = "50.000      90.0000     50.000    A1        B2        ";
    EXPECT_EQ(Eval(50, a, b, 1, {0, 0}, {100, 0}, "A1"), setOut);
    EXPECT_EQ(Eval(50, a, b, 7, {0, 0}, {100, 0}, "A1"), setOut);
    // A stake due north of a backsight due east: −90° becomes 270°.
    EXPECT_EQ(Eval(50, a, L("100|终点|∞|100|0"), 1, {0, 0}, {0, 100}, "A1"),
              "50.000      270.0000    50.000    A1        B2        ");
    // A field that fills its column is followed by one blank; nothing is cut.
    EXPECT_EQ(Eval(50, a, b, 1, {0, 0}, {100, 0}, "STATION-0012"),
              "50.000      90.0000     50.000    STATION-0012 B2        ");
    EXPECT_EQ(Eval(0, L("0|直线|∞|4500000|24525276.868"), L("100|终点|∞|4500100|24525276.868"), 101),
              "4500000.000   24525276.868 0.000000");
    // The remark follows the start line's type.
    EXPECT_EQ(Eval(0, L("0|圆曲线|-300|0|0"), L("100|终点|600|0|100")).substr(48), Gbk("圆曲段    "));
    EXPECT_EQ(Eval(0, L("0|缓和曲线|∞|0|0"), L("100|终点|600|0|100")).substr(48), Gbk("缓曲段    "));
}

TEST(EvaluateStation, ElementMessagesAreReportedAndReturned) {
    const std::string mismatch = Gbk("控制数据中里程1200.000或1260.500处的线型和半径不相符！");
    const std::string invalid = Gbk("控制数据中里程1200.000处的线型无效！");
    const std::string nan = Gbk("控制数据中里程1200.0处的数据不是数字！");
    const std::string cannot = Gbk("控制数据中里程1200.000至1260.500之间的数据无法计算！");
    struct Case { const char *start, *end; std::string want; };  // no message: a result
    const char* e = "1260.5|终点|∞|0|60";
    const Case cases[] = {
        {"1200|缓和曲线|∞|0|0", "1260.5|圆曲线|-∞|0|60", mismatch},
        {"1200|缓和曲线|500|0|0", "1260.5|终点|-500|0|60", mismatch},
        {"1200|终点|∞|0|0", e, invalid}, {"1200|曲线|∞|0|0", e, invalid},
        {"abc|直线|∞|0|0", e, Gbk("控制数据中里程abc处的数据不是数字！")},
        {"1200.0|直线|∞|x|0", e, nan}, {"1200.0|直线|r|0|0", e, nan}, {"1200.0|直线|∞|0|0", "|终点|∞|0|60", nan},
        {"1200.0|直线|∞|0|0", "1260.5|终点| ∞|0|60", nan}, {"1200.0|直线|∞|0|0", "1260.5|终点|∞|0|nan", nan},
        {"1200.0|直线|∞|-inf|0", e, nan}, {"1200.0|直线|∞|1e400|0", e, nan},
        {"1200.0|直线|∞|0|infinity", e, nan}, {"1200.0|圆曲线|--5|0|0", e, nan}, {"1200.0|圆曲线|1e400|0|0", e, nan},
        {"1200|圆曲线|0|0|0", e, cannot}, {"1200|圆曲线|-0|0|0", e, cannot}, {"1200|圆曲线|1e-320|0|0", e, cannot},
        {"1200|直线|∞|0.5x|0", e, ""},
        // No survey coordinate lies 1e8 m or more from its origin.
        {"1200|直线|∞|99999999.999|0", e, ""}, {"1200|直线|∞|0|-99999999.99", e, ""},
        {"1200.0|直线|∞|1e8|0", e, nan}, {"1e300|直线|∞|0|0", e, Gbk("控制数据中里程1e300处的数据不是数字！")}, {"1200.0|直线|∞|0|-1e8", e, nan}, {"1200.0|直线|∞|1e150|0", e, nan},
    };
    for (const Case& c : cases) {
        for (int mode : {0, 1, 101}) {
            std::vector<std::string> messages;
            MessageSink sink = [&messages](const std::string& m) { messages.push_back(m); };
            std::string plain = Eval(1230, L(c.start), L(c.end), mode, {}, {}, "", sink);
            EXPECT_TRUE(c.want.empty() ? plain.find(Gbk("控制")) == std::string::npos : plain == c.want) << c.start;
            EXPECT_EQ(messages, c.want.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.want})
                << c.start;
        }
    }
    EXPECT_EQ(Eval(1230, L(cases[0].start), L(cases[0].end)), mismatch);  // without a sink too
}

// Stakes of the typed road against the same stakes built another way: the
// straight and the arcs by their chords, the transitions by integrating the
// heading along them (Simpson, 20,000 steps) from the change point they are
// held on and turning the result onto their chord.
TEST(Alignment, StakesAgreeWithAnIndependentConstruction) {
    const Alignment road = Alignment::Parse(kRoad);
    struct Case { double station, offset, x, y, azimuth; };
    const Case cases[] = {
        {150, 7.5, 3805085.363925, 500123.568808, 0.916298987},     // straight
        {360, 7.5, 3805212.692489, 500290.324042, 0.941294664},     // from the straight into R600
        {545.5, -30, 3805335.144152, 500438.196487, 1.225463438},   // R600 to the right
        {1390, 0.25, 3805396.324262, 501283.728032, 1.157967262},   // R400 to the left
        {1530, -3, 3805476.080104, 501397.293329, 0.792957375},     // from R400 into R250, left
    };
    for (const Case& c : cases) {
        const Stake s = road.At(c.station, c.offset, kPi * 0.5);
        EXPECT_NEAR(s.point.X, c.x, 1e-6) << c.station;
        EXPECT_NEAR(s.point.Y, c.y, 1e-6) << c.station;
        EXPECT_NEAR(s.dAzimuth, c.azimuth, 1e-8) << c.station;
    }
}

TEST(Alignment, OrdersRowsStablyAndPicksTheElement) {
    std::vector<std::string> list = {"header", "0", "500", "200 first", "200 second", "800"};
    for (std::string& l : list) l = PadRight(l, 12);
    Alignment road = Alignment::Parse(list);
    ASSERT_EQ(road.Elements().size(), 4u);
    std::vector<int> order;
    for (const Element& e : road.Elements()) order.push_back(e.nStartRow);
    order.push_back(road.Elements().back().nEndRow);
    EXPECT_EQ(order, (std::vector<int>{1, 3, 4, 2, 5}));
    // First, last, inside, repeated (the last of the equal ones), an
    // interior change point (the element that begins there), before the first.
    struct Case { double s; int start, end; };
    for (const Case& c : {Case{0, 1, 3}, Case{800, 2, 5}, Case{100, 1, 3}, Case{200, 4, 2}, Case{500, 2, 5},
                          Case{499.999, 4, 2}, Case{-5, 1, 3}}) {
        const Element& e = road.Elements()[road.ElementAt(c.s)];
        EXPECT_TRUE(e.nStartRow == c.start && e.nEndRow == c.end) << c.s;
    }
    for (const char* station : {"nan", "inf", "1e400", "-", ""}) {  // no number: the row is named
        list[4] = PadRight(station, 12);
        road = Alignment::Parse(list);
        EXPECT_TRUE(!road.Usable() && road.BadStationRow() == 4) << station;
    }
}

TEST(StakeRun, ChecksInTheirOrder) {
    std::vector<std::string> badRoad = kRoad;
    badRoad[3] = L("x420|圆曲线|600|3805252.436|500335.547");
    using C = StakeCheck;
    struct Case { std::vector<std::string> list; double start, end, interval; StakeCheck want; };
    const Case cases[] = {
        {{}, 0, 100, 50, C::NoControl}, {{kRoad[0], kRoad[1]}, 0, 1, 1, C::NoControl},
        {badRoad, -5, 100, 50, C::BadStationLine}, {kRoad, -5, 100, 50, C::OutOfRange},
        {kRoad, 0, 1580, 50, C::OutOfRange}, {kRoad, NAN, 100, 50, C::OutOfRange},
        {kRoad, -5, -10, 50, C::OutOfRange},  // range before order
        {kRoad, 100, 50, 50, C::InvalidRange}, {kRoad, 0, 100, 0, C::InvalidRange},
        {kRoad, 0, 100, NAN, C::InvalidRange}, {kRoad, 0, 1490, 1e-4, C::TooManyStakes}, {kRoad, 1570, 1570, 1, C::Ok},
    };
    for (const Case& c : cases) {
        const Alignment road = Alignment::Parse(c.list);
        EXPECT_EQ(CheckStakeRun(road, Request(c.start, c.end, c.interval)), c.want) << c.start;
        EXPECT_TRUE(c.want != C::BadStationLine || road.BadStationRow() == 3);
    }
    // The deflection: six decimals of a radian, as shown; no number, or minutes
    // or seconds of 60 and more, is refused with the text that says which.
    EXPECT_EQ(ParseDeflection("-45.3000"), -0.794125);
    EXPECT_EQ(ParseDeflection("90.595999"), 1.588250);  // 90°59'59.99", just under 91°
    struct Bad { const char* dms; const char* why; } bad[] = {
        {"", text::kBadDeflection}, {"abc", text::kBadDeflection}, {"nan", text::kBadDeflection},
        {"inf", text::kBadDeflection}, {"1e400", text::kBadDeflection}, {"90.7000", text::kDeflectionOver60},
        {"90.6000", text::kDeflectionOver60}, {"90.0060", text::kDeflectionOver60},
        {"-10.5960", text::kDeflectionOver60}, {"90.99", text::kDeflectionOver60},
    };
    for (const Bad& b : bad) {
        EXPECT_FALSE(ParseDeflection(b.dms)) << b.dms;
        EXPECT_STREQ(DeflectionRefusal(b.dms), b.why) << b.dms;
    }
    EXPECT_EQ(DeflectionRefusal("359.5959"), nullptr);
    // A single stake: the same range; at the last station the last element.
    const Alignment road = Alignment::Parse(kRoad);
    EXPECT_EQ(CheckSingleStake(Alignment::Parse({kRoad[0], kRoad[1]}), 5), C::NoControl);
    for (double s : {-0.001, 1570.001, double(NAN)}) EXPECT_EQ(CheckSingleStake(road, s), C::OutOfRange) << s;
    ASSERT_EQ(CheckSingleStake(road, 1570), C::Ok);
    ResultSet one;
    AddStake(road, 1570, Request(0, 0, 1), one);
    const std::string line = ResultLine(one, 0);  // the last row's point, on the transition that ends there
    EXPECT_TRUE(line.substr(0, 38) == "1570.000    3805503.911   501425.840  " && line.substr(48) == Gbk("缓曲段    ")) << line;
    // A run keeps its range for whoever prints its rows; single stakes have none.
    EXPECT_FALSE(one.range);
    ResultSet run;
    RunStakes(road, Request(0, 100, 50), run, 0, nullptr);
    AddStake(road, 1570, Request(0, 0, 1), run);
    ASSERT_TRUE(run.range);
    EXPECT_TRUE(run.range->dFrom == 0 && run.range->dTo == 100 && run.range->dInterval == 50);
}

TEST(StakeRun, RunningSumDecidesTheStakes) {
    struct Case { double start, end, interval; std::vector<std::string> stations; };
    const Case cases[] = {
        {0, 100, 50, {"0.000", "50.000", "100.000"}},
        // The sum reaches 0.6 exactly (0 + 6 × 0.1 would pass it).
        {0, 0.6, 0.1, {"0.000", "0.100", "0.200", "0.300", "0.400", "0.500", "0.600"}},
        {0, 0.3, 0.1, {"0.000", "0.100", "0.200"}},  // the sum passes 0.3 by a hair
        {1490, 1490, 10, {"1490.000"}},
        {1000, 1000, 1e-14, {"1000.000"}},  // a sum that stops growing ends the run
    };
    for (const Case& c : cases) {
        std::vector<std::string> stations;
        for (const std::string& l : RunAll(kRoad, Request(c.start, c.end, c.interval)))
            stations.push_back(l.substr(0, l.find(' ')));
        EXPECT_EQ(stations, c.stations) << c.end;
    }
}

// The README's figures for the sample road: 7.5 m right of 0 and of 420,
// where the arc begins; 400 set out from D2 on D3 of demo.vxp.
TEST(StakeRun, RunsGiveTheSampleRoadsFiguresAndProgressMovesForward) {
    EXPECT_EQ(RunAll(kRoad, Request(0, 420, 420, 7.5)),
              (std::vector<std::string>{"0.000       3804994.050   500004.566  52.3000   " + Gbk("直线段    "),
                                        "420.000     3805246.060   500339.496  58.1346   " + Gbk("圆曲段    ")}));
    StakeRequest r = Request(400, 400, 20);
    r.setup = {"D2", {3805268.796, 500466.512}, "D3", {3805381.597, 500897.434}};
    EXPECT_EQ(RunAll(kRoad, r, ResultMode::SettingOut),
              std::vector<std::string>{"400.000     184.1527    150.275   D2        D3        "});
    // At most a hundred steps forward, ending at a full bar; one stake leaves it.
    std::vector<int> positions, hundred;
    RunAll(kRoad, Request(0, 1490, 0.1), ResultMode::Coordinates, &positions);
    for (int i = 1; i <= 100; ++i) hundred.push_back(i);
    EXPECT_EQ(positions, hundred);
    positions.clear();
    RunAll(kRoad, Request(0, 100, 50), ResultMode::Coordinates, &positions, 33);
    EXPECT_EQ(positions, (std::vector<int>{50, 100}));
    positions.clear();
    RunAll(kRoad, Request(100, 100, 50), ResultMode::Coordinates, &positions, 33);
    EXPECT_TRUE(positions.empty());
}

TEST(StakeRun, FaultyElementLeavesItsMessageAtEveryStakeButReportsOnce) {
    std::vector<std::string> road = kRoad, messages;
    road[3] = L("420|缓和曲线|300|3805252.436|500335.547");
    road[4] = L("670|缓和曲线|-300|3805336.647|500569.019");
    std::vector<std::string> lines = RunAll(road, Request(400, 700, 20), ResultMode::Coordinates, nullptr, 0,
                                            [&](const std::string& m) { messages.push_back(m); });
    std::string message = Gbk("控制数据中里程420.000或670.000处的线型和半径不相符！");
    ASSERT_EQ(lines.size(), 16u);
    for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i] == message, i >= 1 && i <= 13) << i;
    EXPECT_EQ(messages, std::vector<std::string>{message});
}

TEST(ReverseLookup, ConvergesOnEveryElementKindBothSides) {
    const Alignment road = Alignment::Parse(kRoad);
    for (double s : {150.0, 360.0, 545.5, 730.0, 990.0, 1240.0, 1390.0, 1530.0}) {
        for (double offset : {7.5, -30.0, 0.25}) {
            LookupResult r = ReverseLookup(road, Beside(s, offset));
            ASSERT_EQ(r.status, LookupStatus::Converged) << s << " " << offset;
            EXPECT_NEAR(r.dStation, s, 0.002) << s << " " << offset;
            EXPECT_NEAR(r.dOffset, offset, 0.002) << s << " " << offset;
            const std::string text = LookupOffsetText(r.dOffset);
            EXPECT_EQ(text.substr(0, 2) + text.substr(text.size() - 2), Gbk(offset > 0 ? "右米" : "左米"));
        }
    }
    // On a straight two evaluations; on a change point itself one (δ = −A + 2π: left).
    LookupResult r = ReverseLookup(road, Beside(20, 3.5));
    EXPECT_TRUE(r.status == LookupStatus::Converged && r.nEvaluations == 2);
    EXPECT_EQ(LookupStationText(r.dStation), "20.000");
    EXPECT_EQ(LookupOffsetText(r.dOffset), Gbk("右3.500米"));
    r = ReverseLookup(road, CPlanePoint(3805182.628, 500238.006));
    EXPECT_TRUE(r.status == LookupStatus::Converged && r.nEvaluations == 1);
    EXPECT_EQ(LookupStationText(r.dStation), "300.000");
    EXPECT_EQ(LookupOffsetText(r.dOffset), Gbk("左0.000米"));
    // An 8-digit easting fills its printed column (Y "24525276.868"): it is
    // stepped from as a number, not read back out of a text.
    const Alignment wide =
        Alignment::Parse({kRoad[0], L("0|直线|∞|4500000|24525276.868"), L("100|终点|∞|4500000|24525376.868")});
    r = ReverseLookup(wide, wide.At(50, 3, kPi * 0.5).point);
    ASSERT_EQ(r.status, LookupStatus::Converged);
    EXPECT_EQ(LookupStationText(r.dStation) + GbkToUtf8(LookupOffsetText(r.dOffset)), "50.000右3.000米");
}

TEST(ReverseLookup, OutOfRangeStepBoundAndFaultyData) {
    const Alignment road = Alignment::Parse(kRoad);
    LookupResult r = ReverseLookup(road, Beside(-10, 2));
    EXPECT_TRUE(r.status == LookupStatus::NotFound && r.nEvaluations == 1);
    r = ReverseLookup(road, Beside(1585, -2));
    EXPECT_EQ(r.status, LookupStatus::NotFound);
    // A sharp curve (radius 10 over 344°) and a point far outside it: the
    // corrections swing by ±31 m for ever without leaving the range.
    r = ReverseLookup(Alignment::Parse({kRoad[0], L("0|直线|∞|-100|0"), L("100|圆曲线|10|0|0"),
                                        L("160|终点|10|-2.794|0.398")}),
                      CPlanePoint(-34.4, 7.8));
    EXPECT_TRUE(r.status == LookupStatus::NotFound && r.nEvaluations == kMaxLookupSteps);
    EXPECT_EQ(ReverseLookup(Alignment::Parse({kRoad[0], kRoad[1]}), CPlanePoint(0, 0)).status, LookupStatus::NoControl);
    std::vector<std::string> bad = kRoad, messages;
    bad[5] = L("O79|直线|∞|3805345.175|500688.662");
    r = ReverseLookup(Alignment::Parse(bad), CPlanePoint(0, 0));
    EXPECT_TRUE(r.status == LookupStatus::BadStationLine && r.nBadLine == 5);
    // A transition that keeps its radius: reported once, then Failed.
    bad = kRoad;
    bad[4] = L("670|缓和曲线|-600|3805336.647|500569.019");
    bad[5] = L("790|直线|600|3805345.175|500688.662");
    r = ReverseLookup(Alignment::Parse(bad), Beside(730, 5), [&](const std::string& m) { messages.push_back(m); });
    EXPECT_EQ(r.status, LookupStatus::Failed);
    EXPECT_EQ(messages, std::vector<std::string>{Gbk("控制数据中里程670.000或790.000处的线型和半径不相符！")});
}
