// Station equations: published worked examples, a 长链's repeated 桩号,
// the refusals, and the sample road copied with equations on every kind of
// element, staked against the same road without them.
#include <algorithm>
#include <random>

#include "CoreFixture.h"
#include "core/files/ProfileCsv.h"
#include "core/road/Chainage.h"
#include "core/road/ControlCheck.h"
#include "core/road/Inspect.h"
#include "core/road/StakeRun.h"
#include "core/road/ResultText.h"
#include "core/text/TextFields.h"

namespace {

Chainage Chain(const std::vector<EquationRow>& rows) {
    const ChainageBuild b = BuildChainage(rows);
    EXPECT_TRUE(b.Ok()) << b.strMessage;
    return b.chain;
}

double At(const Chainage& c, double s, int occurrence = 0) {
    const ChainDistance d = c.Distance(ChainStation{s, occurrence});
    EXPECT_EQ(d.fault, ChainFault::None) << s << "(" << occurrence << ")";
    return d.dDistance;
}

// A straight road between two 桩号 whose ends lie `length` apart.
std::vector<std::string> Straight(const char* from, const char* to, const char* length) {
    return {ControlHeaderLine(), L(std::string(from) + "|直线|∞|1000|5000"),
            L(std::string(to) + "|终点|∞|" + std::to_string(1000 + std::stod(length)) + "|5000")};
}

}  // namespace

// From the published examples: the length of a line across equations is
// end − start + Σ长链 − Σ短链, and its control data then close.
TEST(Chainage, PublishedLinesAcrossEquationsHaveTheirPrintedLength) {
    struct Case {
        std::vector<EquationRow> table;
        const char *from, *to, *length;
    } cases[] = {
        {{{2, "K2+000", "K2+527.745"}}, "1525.069", "3261.45", "1208.636"},
        {{{2, "K2+000", "K1+985.698"}, {3, "2500", "3036.53"}}, "1524.798", "3261.45", "1214.424"},
    };
    for (const Case& c : cases) {
        const Chainage chain = Chain(c.table);
        EXPECT_NEAR(At(chain, std::stod(c.to)) - At(chain, std::stod(c.from)), std::stod(c.length), 1e-9);
        const Alignment road = Alignment::Parse(Straight(c.from, c.to, c.length), chain);
        ASSERT_TRUE(road.Usable());
        EXPECT_TRUE(road.ChainMessage().empty());
        EXPECT_TRUE(CheckControl(road).flaggedRows.empty()) << c.length;
        // Read as continuous stations the same rows miss their points.
        EXPECT_FALSE(CheckControl(Alignment::Parse(Straight(c.from, c.to, c.length))).flaggedRows.empty());
    }
}

TEST(Chainage, RepeatedStationsInALongChainCarryTheirOccurrence) {
    // 长链 K1+050 = K1+030: 桩号 1030 … 1050 come twice, 20 m apart.
    const Chainage chain = Chain({{2, "1050", "1030"}, {3, "1100", "1150"}});
    struct Case {
        double s;
        int occurrence;
        ChainFault fault;
        double distance;
    } cases[] = {
        {1025, 0, ChainFault::None, 1025},      {1040, 0, ChainFault::Ambiguous, 0},
        {1040, 1, ChainFault::None, 1040},      {1040, 2, ChainFault::None, 1060},
        {1040, 3, ChainFault::NoOccurrence, 0}, {1030, 2, ChainFault::None, 1050},
        {1050, 1, ChainFault::None, 1050},      {1050, 2, ChainFault::None, 1070},
        {1075, 0, ChainFault::None, 1095},      {1075, 1, ChainFault::None, 1095},
        {1120, 0, ChainFault::NoZone, 0},       {1100, 0, ChainFault::None, 1120},
        {1150, 0, ChainFault::None, 1120},      {1160, 0, ChainFault::None, 1130},
    };
    for (const Case& c : cases) {
        const ChainDistance d = chain.Distance(ChainStation{c.s, c.occurrence});
        EXPECT_EQ(d.fault, c.fault) << c.s << "(" << c.occurrence << ")";
        if (c.fault == ChainFault::None) {
            EXPECT_EQ(d.dDistance, c.distance) << c.s;
        }
    }
    struct Back {
        double distance;
        const char *text, *k;
    } back[] = {{1040, "1040.000(1)", "K1+040.000(1)"}, {1060, "1040.000(2)", "K1+040.000(2)"},
                {1050, "1030.000(2)", "K1+030.000(2)"}, {1020, "1020.000", "K1+020.000"},
                {1120, "1150.000", "K1+150.000"},       {1130, "1160.000", "K1+160.000"}};
    for (const Back& b : back) {
        EXPECT_EQ(ChainStationText(chain.StationAt(b.distance)), b.text);
        EXPECT_EQ(ChainKStation(chain.StationAt(b.distance)), b.k);
    }
    const std::string why = ChainRefusal(chain.Distance(ChainStation{1040, 0}), "1040");
    EXPECT_NE(why.find("1040.000、1060.000"), std::string::npos) << why;
}

TEST(Chainage, StationsAreReadWithTheirOccurrenceAndNothingElse) {
    struct Case {
        const char* text;
        bool ok;
        double value;
        int occurrence;
    } cases[] = {
        {"1050.000(2)", true, 1050, 2}, {"K1+050.000(2)", true, 1050, 2}, {" K50+622.76 ", true, 50622.76, 0},
        {"1050", true, 1050, 0},        {"1050(0)", false, 0, 0},         {"1050(x)", false, 0, 0},
        {"1050(2", false, 0, 0},        {"K1+050R5", false, 0, 0},        {"abc", false, 0, 0},
        {"", false, 0, 0},              {"1e300", false, 0, 0},
    };
    for (const Case& c : cases) {
        const std::optional<ChainStation> s = ParseChainStation(c.text);
        ASSERT_EQ(s.has_value(), c.ok) << c.text;
        if (!c.ok) continue;
        EXPECT_EQ(s->dValue, c.value) << c.text;
        EXPECT_EQ(s->nOccurrence, c.occurrence) << c.text;
    }
}

TEST(Chainage, TablesThatCannotHoldAreRefusedNamingTheRow) {
    struct Case {
        std::vector<EquationRow> rows;
        const char* says;
    } cases[] = {
        {{{2, "1000", "1010"}, {3, "abc", "1200"}}, "断链表第3行的断链前桩号“abc”"},
        {{{2, "1000", "1010"}, {3, "1100", ""}}, "断链表第3行的断链后桩号"},
        {{{2, "1000", "1010(2)"}}, "断链表第2行的断链后桩号"},
        {{{2, "1000", "1010"}, {3, "900", "950"}}, "断链表第3行的断链在上一行断链之前"},
        {{{2, "1000", "1050"}, {3, "1020", "1030"}, {4, "1, 2", "3"}}, "断链表第3行的断链前桩号1020落在上一行短链跳过的桩号内"},
    };
    for (const Case& c : cases) {
        const ChainageBuild b = BuildChainage(c.rows);
        EXPECT_NE(b.strMessage.find(c.says), std::string::npos) << b.strMessage;
    }
    // Against the road: before its start, after its end.
    Chainage chain = Chain({{2, "-10", "0"}});
    EXPECT_NE(chain.SetEnds(0, 2120).find("断链表第2行的断链在路线起点"), std::string::npos);
    chain = Chain({{2, "100", "110"}, {5, "2200", "2210"}});
    EXPECT_NE(chain.SetEnds(0, 2120).find("断链表第5行的断链在路线终点之后"), std::string::npos);
}

TEST(Chainage, TheTableFileReadsBackWhatItWrote) {
    const std::vector<EquationRow> rows = {{2, "K50+622.760", "K50+621.166"}, {3, "51000", "51010.5"}};
    const std::string bytes = EquationCsvText(rows);
    EXPECT_EQ(bytes, "\xEF\xBB\xBF断链前桩号,断链后桩号\r\nK50+622.760,K50+621.166\r\n51000,51010.5\r\n");
    const EquationCsvRead read = ReadEquationCsv(bytes);
    ASSERT_TRUE(read.Ok()) << read.strMessage;
    ASSERT_EQ(read.rows.size(), 2u);
    EXPECT_EQ(read.rows[1].nLine, 3);
    EXPECT_EQ(read.rows[1].strAhead, "51010.5");
    EXPECT_NE(ReadEquationCsv("桩号,高程\r\n").strMessage.find("断链表"), std::string::npos);
}

// The sample road renumbered by hand: a 短链 of 20 on the first line, a
// 长链 of 10 in the first transition, a 短链 of 45.5 in the first arc.
TEST(Chainage, ARoadCopiedWithEquationsStakesTheSamePoints) {
    const Chainage chain = Chain({{2, "150", "170"}, {3, "370", "360"}, {4, "510", "555.5"}});
    std::vector<std::string> copy = DemoList();
    for (std::size_t i = 1; i < copy.size(); ++i) {
        const double d = std::stod(copy[i].substr(0, 12));
        const double s = d < 150 ? d : d < 350 ? d + 20 : d < 500 ? d + 10 : d + 55.5;
        copy[i].replace(0, 12, Format("%-12g", s));
    }
    const Alignment plain = Alignment::Parse(DemoList()), chained = Alignment::Parse(copy, chain);
    ASSERT_TRUE(chained.Usable());
    EXPECT_TRUE(chained.ChainMessage().empty());
    EXPECT_EQ(chained.MaxStation(), 2120);
    EXPECT_TRUE(CheckControl(chained).flaggedRows.empty());
    ResultSet set;
    StakeRequest run{0, At(chain, 2175.5), 25, 3.5, 1.5707963267948966, {}};
    ASSERT_EQ(CheckStakeRun(chained, run), StakeCheck::Ok);
    RunStakes(chained, run, set, 0, nullptr);
    int equations = 0;
    for (const StakeResult& r : set.rows) {
        ASSERT_FALSE(r.IsMessage());
        ASSERT_TRUE(r.chain);
        const double d = r.dStation;
        const Stake p = plain.At(d, 3.5, 1.5707963267948966);
        EXPECT_NEAR(r.point.X, p.point.X, 1e-7) << d;
        EXPECT_NEAR(r.point.Y, p.point.Y, 1e-7) << d;
        const double s = d < 150 ? d : d < 350 ? d + 20 : d < 500 ? d + 10 : d + 55.5;
        EXPECT_NEAR(r.chain->dValue, s, 1e-9) << d;
        if (r.equationBack) ++equations;
        else EXPECT_NEAR(std::remainder(s, 25), 0, 1e-9) << s;  // whole intervals of 桩号
    }
    EXPECT_EQ(equations, 3);
    // 88 multiples of 25 up to 2175: 150 is its equation's row, 525 and 550
    // are skipped by the 短链; the 长链 360 … 370 holds none.
    EXPECT_EQ(set.rows.size(), 88u);
}

TEST(Chainage, ARunListsEachEquationOnceWithItsAheadStation) {
    const Chainage chain = Chain({{2, "1050", "1030"}, {3, "1110", "1150"}});
    const std::vector<std::string> list = {ControlHeaderLine(), L("1000|直线|∞|0|0"), L("1180|终点|∞|160|0")};
    const Alignment road = Alignment::Parse(list, chain);
    ASSERT_TRUE(road.Usable());
    ResultSet set;
    RunStakes(road, StakeRequest{1000, At(chain, 1180), 20, 0, 0, {}}, set, 0, nullptr);
    std::vector<std::string> names, stations;
    for (const StakeResult& r : set.rows) names.push_back(StakeNameOf(r)), stations.push_back(StationTextOf(r));
    const std::vector<std::string> expected = {
        "K1+000.000",    "K1+020.000",    "K1+040.000(1)", "K1+050.000=K1+030.000(2)",
        "K1+040.000(2)", "K1+060.000",    "K1+080.000",    "K1+100.000",
        "K1+110.000=K1+150.000", "K1+160.000", "K1+180.000"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(stations[3], "1030.000(2)");
    EXPECT_NE(ResultLine(set, 3).find(Gbk("断链")), std::string::npos);
    EXPECT_EQ(set.rows[3].point.X, 50);  // the equation's point: 50 m along
    EXPECT_EQ(set.rows.back().point.X, 160);

    // 1050 = 1070 and 1070 = 1090: a zone of length 0, one point staked once.
    const Chainage twice = Chain({{2, "1050", "1070"}, {3, "1070", "1090"}});
    const Alignment joined = Alignment::Parse({ControlHeaderLine(), L("1000|直线|∞|0|0"), L("1200|终点|∞|160|0")}, twice);
    ASSERT_TRUE(joined.Usable());
    ResultSet once;
    RunStakes(joined, StakeRequest{1000, At(twice, 1200), 20, 0, 0, {}}, once, 0, nullptr);
    EXPECT_EQ(std::count_if(once.rows.begin(), once.rows.end(), [](const StakeResult& r) { return r.point.X == 50; }), 1);
}

TEST(Chainage, AControlRowOffTheZonesIsFlaggedAndNamed) {
    const Chainage chain = Chain({{2, "1050", "1030"}, {3, "1100", "1150"}});
    struct Case {
        const char* station;
        CheckRule rule;
        const char* says;
    } cases[] = {
        {"1120", CheckRule::StationInNoZone, "不在路线上"},
        {"1040", CheckRule::StationAmbiguous, "1040.000、1060.000"},
        {"1040(3)", CheckRule::StationInNoZone, "只出现2次"},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> list = {ControlHeaderLine(), L("1000|直线|∞|0|0"),
                                               L(std::string(c.station) + "|直线|∞|50|0"), L("1200|终点|∞|180|0")};
        const Alignment road = Alignment::Parse(list, chain);
        EXPECT_EQ(road.BadStationRow(), 2);
        EXPECT_NE(road.StationRefusal().find(c.says), std::string::npos) << road.StationRefusal();
        const CheckReport report = CheckControl(road);
        ASSERT_FALSE(report.flaggedRows.empty());
        EXPECT_EQ(report.flaggedRows.front(), 2);
        bool found = false;
        for (const ElementCheck& e : report.elements)
            for (const CheckProblem& p : e.problems) found = found || (p.nRow == 2 && p.rule == c.rule);
        EXPECT_TRUE(found) << c.station;
    }
}

// The names the exports give read back to their stakes (检核).
TEST(Chainage, StakeNamesReadBackToTheirDistance) {
    const Chainage chain = Chain({{2, "150", "170"}, {3, "370", "360"}, {4, "510", "555.5"}});
    struct Case {
        const char* name;
        double distance, offset;
    } cases[] = {{"K0+370.000=K0+360.000(2)R5", 350, 5}, {"K0+365.000(1)L2.5", 345, -2.5},
                 {"K0+365.000(2)", 355, 0},              {"K1+000", 944.5, 0}};
    for (const Case& c : cases) {
        const std::optional<NamedStake> s = ReadStakeName(c.name, chain);
        ASSERT_TRUE(s) << c.name;
        EXPECT_DOUBLE_EQ(s->dStation, c.distance) << c.name;
        EXPECT_EQ(s->dOffset, c.offset) << c.name;
    }
    EXPECT_TRUE(std::isnan(ReadStakeName("K0+160.000", chain)->dStation));  // skipped: named, not placed
    EXPECT_FALSE(ReadStakeName("K0+365.000(x)", chain));
    EXPECT_EQ(ReadStakeName("K0+365.000R5", Chainage())->dStation, 365);
}

// The occurrence is decided on the 桩号 as written: 359.9999996 is written
// 360.000, which the 长链 370 = 360 holds twice (distances 340 and 350).
TEST(Chainage, AStationWrittenToTheMillimetreCarriesItsOccurrence) {
    const Chainage chain = Chain({{2, "150", "170"}, {3, "370", "360"}, {4, "510", "555.5"}});
    struct Case {
        double distance;
        const char* written;
        double readBack;
    } cases[] = {{339.9999996, "360.000(1)", 340}, {360.0000004, "370.000(2)", 360},
                 {349.9999996, "370.000(1)", 350}, {500.0000004, "555.500", 500}};
    for (const Case& c : cases) {
        const ChainStation s = chain.StationAt(c.distance);
        EXPECT_EQ(ChainStationText(s), c.written) << c.distance;
        EXPECT_NEAR(At(chain, std::round(s.dValue * 1000) / 1000, s.nOccurrence), c.readBack, 1e-9) << c.distance;
    }
}

// 检核 on chain.vxa: a name without its occurrence inside the 长链 is the
// place nearest the measured point, an equation's name its point; the
// points are the sample road's stakes at those distances.
TEST(Chainage, MeasuredPointsNamedWithoutTheirOccurrenceAreFound) {
    std::vector<std::string> list = AlignmentRecords(Example("chain.vxa"));
    list.insert(list.begin(), ControlHeaderLine());
    const Alignment road = Alignment::Parse(list, Chain(ReadEquationCsv(Example("chain.vxd")).rows));
    const Alignment plain = Alignment::Parse(DemoList());
    ASSERT_TRUE(road.Usable() && plain.Usable());
    struct Case {
        const char* name;
        double distance, offset;
    } cases[] = {{"K0+365.000", 345, 0},           {"K0+365.000", 355, 0},
                 {"K0+365.000R2", 355, 2},         {"K0+370.000=K0+360.000", 350, 0},
                 {"K0+370.000=K0+360.000L1.5", 350, -1.5}};
    for (const Case& c : cases) {
        const Stake at = plain.At(plain.ElementAt(c.distance), c.distance, c.offset, 1.5707963267948966);
        const InspectRow row = Inspect(road, {MeasuredPoint{c.name, at.point.X, at.point.Y, {}}}, {}, {}).rows[0];
        ASSERT_TRUE(row.bFound) << c.name << " " << c.distance;
        EXPECT_NEAR(row.dStation, c.distance, 1e-9) << c.name;
        EXPECT_LT(*row.d, 1e-6) << c.name;
    }
}

namespace {

// The table as numbers, walked zone by zone from the header's conventions
// alone: the places of a 桩号 and the 桩号 of a distance.
struct WalkedTable {
    std::vector<double> back, ahead, shift{0}, at;  // shift[z]: zone z's; at[k]: equation k's distance
    double start = -kUnbounded, end = kUnbounded;

    void Add(double b, double a) {
        at.push_back(b + shift.back());
        shift.push_back(shift.back() + (b - a));
        back.push_back(b), ahead.push_back(a);
    }
    std::vector<double> Places(double s) const {
        std::vector<double> out;
        for (std::size_t z = 0; z < shift.size(); ++z) {
            const double from = z == 0 ? start : ahead[z - 1];
            const double to = z < back.size() ? back[z] : end >= kUnbounded ? kUnbounded : end - shift[z];
            if (!(s >= from && s <= to)) continue;
            double d = s + shift[z];
            if (z < back.size() && s == back[z]) d = at[z];
            if (z > 0 && s == ahead[z - 1]) d = at[z - 1];
            if (out.empty() || !(std::fabs(d - out.back()) < kSamePlace)) out.push_back(d);
        }
        return out;
    }
    ChainStation StationAt(double d) const {
        std::size_t z = 0;
        while (z < at.size() && at[z] <= d) ++z;
        ChainStation s{z > 0 && at[z - 1] == d ? ahead[z - 1] : d - shift[z], 0};
        // Of the places of the 桩号 as written ("%.3f"), the one nearest the distance.
        const std::vector<double> p = Places(std::stod(Format("%.3f", s.dValue)));
        for (std::size_t i = 0; p.size() > 1 && i < p.size(); ++i)
            if (s.nOccurrence == 0 || std::fabs(p[i] - d) < std::fabs(p[s.nOccurrence - 1] - d))
                s.nOccurrence = static_cast<int>(i) + 1;
        return s;
    }
};

}  // namespace

// A seeded table of 短链, 长链 that stack over one another and zones of
// length 0: the places of each equation's 桩号, a hair either side, and of
// 桩号 between, and the 桩号 of each equation's distance, against the walk.
TEST(Chainage, StationsOnALongTableMatchAWalkOverEveryZone) {
    std::mt19937 random(19);
    WalkedTable walk;
    std::vector<EquationRow> rows;
    long long mm = 1000000;  // the 桩号 in millimetres, as the drawings give them
    for (int k = 0; k < 400; ++k) {
        mm += random() % 4 == 0 ? 0 : random() % 60000;  // the zone's length, often 0
        const long long chain = static_cast<long long>(random() % 50000) - 30000;  // 短链 to 30 m, 长链 to 20 m
        rows.push_back(EquationRow{k + 2, Format("%.3f", mm / 1000.0), Format("%.3f", (mm - chain) / 1000.0)});
        walk.Add(mm / 1000.0, (mm - chain) / 1000.0);
        mm -= chain;
    }
    Chainage chain = Chain(rows);
    std::size_t most = 0;
    for (int bounded = 0; bounded < 2; ++bounded) {
        if (bounded) {
            walk.start = 990, walk.end = walk.at.back() + 7.5;
            ASSERT_EQ(chain.SetEnds(walk.start, walk.end), "");
        }
        std::vector<double> stations{walk.start, walk.end - walk.shift.back(), 500, 1e9};
        for (std::size_t k = 0; k < rows.size(); ++k)
            for (double s : {walk.back[k], walk.ahead[k]})
                stations.insert(stations.end(), {s, std::nextafter(s, -1e300), std::nextafter(s, 1e300), s + 0.0015});
        for (double s : stations) {
            const std::vector<double> places = walk.Places(s);
            EXPECT_EQ(chain.Distance(ChainStation{s, 1000000}).places, places) << s;
            most = std::max(most, places.size());
        }
        for (double d : walk.at)
            for (double near : {d, std::nextafter(d, -1e300), std::nextafter(d, 1e300), d - 0.0005}) {
                const ChainStation s = chain.StationAt(near), expected = walk.StationAt(near);
                EXPECT_TRUE(s.dValue == expected.dValue && s.nOccurrence == expected.nOccurrence) << near;
            }
    }
    EXPECT_GE(most, 3u);  // the stacked 长链 are there
}
