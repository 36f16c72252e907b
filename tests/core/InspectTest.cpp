// Measured points against the design: stake names read back, measured
// files read with their heights, and points displaced from known design
// points by known amounts compared with the road.
#include <cmath>

#include "CoreFixture.h"
#include "core/files/InspectReport.h"
#include "core/files/PointImport.h"
#include "core/files/ProfileCsv.h"
#include "core/road/Inspect.h"
#include "core/road/StakeHeight.h"
#include "core/road/StakeRun.h"
#include "core/text/FixedText.h"
#include "core/text/StationText.h"
#include "core/text/Texts.h"

namespace {

TEST(StakeNameRead, EveryNameTheWriterGivesReadsBackToItsStakeToTheMillimetre) {
    for (double station : {0.0, 0.0004, 12.5, 999.9996, 1234.5, 1234.5678, -12.5, 2120.0, 123456.789})
        for (double offset : {0.0, 7.5, -12.0, 0.125, 10.25, -0.001, 45.678}) {
            const std::string name = StakeName(station, offset, kPi / 2);
            const std::optional<NamedStake> read = ParseStakeName(name);
            ASSERT_TRUE(read) << name;
            EXPECT_EQ(read->dStation, FixedRoundTrip(station, 3)) << name;
            EXPECT_EQ(read->dOffset, offset) << name;
        }
}

TEST(StakeNameRead, HandWrittenNamesInEveryForm) {
    const struct { const char* name; double station, offset; } cases[] = {
        {"K1+234.500", 1234.5, 0},       {"K1+234.500R7.5", 1234.5, 7.5}, {"K1+234.500L12", 1234.5, -12},
        {"K-0+012.500", -12.5, 0},       {"K0+000", 0, 0},                {"K12+005.5L0.25", 12005.5, -0.25},
        {"K2+120.000R7.500", 2120, 7.5},
    };
    for (const auto& c : cases) {
        const std::optional<NamedStake> read = ParseStakeName(c.name);
        ASSERT_TRUE(read) << c.name;
        EXPECT_EQ(read->dStation, c.station) << c.name;
        EXPECT_EQ(read->dOffset, c.offset) << c.name;
    }
}

TEST(StakeNameRead, NearMissesAreNoStakeNames) {
    for (const char* name : {"", "K", "k1+234.500", "K1+1234.500", "K1+34.500", "K1+234.5000", "K1+234.",
                             "K1+234.500R", "K1+234.500R0", "K1+234.500L0.000", "K1+234.500R-7.5",
                             "K1+234.500 R7.5", " K1+234.500", "K01+234.500", "K1+234.5007.5", "K1+234.500X7",
                             "K1234.500", "K+234.500", "DK1+234.500", "K1+234.500R7.5m", "K1+234.500R7.1234",
                             "K--0+012.500", "D1"})
        EXPECT_FALSE(ParseStakeName(name)) << name;
}

TEST(MeasuredFile, CassCsvAndPointFileWithTheirHeights) {
    const MeasuredImport dat = ImportMeasuredPoints(
        "K0+100.000R7.5,,500083.901,3805054.926,121.850\r\nP1,ctl,500001.5,3805002.25,\r\n\r\n", PointFormat::CassDat);
    ASSERT_TRUE(dat.Ok()) << dat.strMessage;
    ASSERT_EQ(dat.points.size(), 2u);
    EXPECT_EQ(dat.points[0].strName, "K0+100.000R7.5");  // longer than a point file's 8 bytes
    EXPECT_EQ(dat.points[0].dX, 3805054.926);
    EXPECT_EQ(dat.points[0].dY, 500083.901);
    EXPECT_EQ(dat.points[0].height, 121.85);
    EXPECT_FALSE(dat.points[1].height);  // an empty height field

    const MeasuredImport gbk = ImportMeasuredPoints(Gbk("点名,X,Y,H\n路面1,3805100.5,12500100.25,121.5\n"),
                                                    PointFormat::Csv);
    ASSERT_TRUE(gbk.Ok()) << gbk.strMessage;
    ASSERT_EQ(gbk.points.size(), 1u);
    EXPECT_EQ(gbk.points[0].strName, Gbk("路面1"));
    EXPECT_EQ(gbk.points[0].dY, 12500100.25);  // an 8-digit easting
    const MeasuredImport utf8 = ImportMeasuredPoints("\xEF\xBB\xBF路面1,1,2,3\r\n", PointFormat::Csv);
    ASSERT_EQ(utf8.points.size(), 1u);
    EXPECT_EQ(utf8.points[0].strName, Gbk("路面1"));

    const MeasuredImport vxp = ImportMeasuredPoints(Example("demo.vxp"), PointFormat::Vxp);
    ASSERT_TRUE(vxp.Ok()) << vxp.strMessage;
    EXPECT_EQ(vxp.points.size(), 6u);
    EXPECT_FALSE(vxp.points[0].height);
    EXPECT_EQ(MeasuredFormatOf("a/b.DAT"), PointFormat::CassDat);
    EXPECT_EQ(MeasuredFormatOf("b.vxp"), PointFormat::Vxp);
    EXPECT_EQ(MeasuredFormatOf("b.txt"), PointFormat::Csv);
}

TEST(MeasuredFile, OneBadLineRefusesTheFileByItsNumber) {
    const struct { const char* bytes; PointFormat format; const char* message; } cases[] = {
        {"A,,1,2,3\r\nB,,1,2,abc\r\n", PointFormat::CassDat, "第2行：高程不是数字"},
        {"A,,1,2,3\nB,,1\n", PointFormat::CassDat, "第2行：应有4个用逗号分隔的字段"},
        {"name,X,Y,H\nA,1,2\n,1,2,3\n", PointFormat::Csv, "第3行：点名为空、超过8个字节或含有GBK不能表示的字符"},
        {"A,1,x,3\n", PointFormat::Csv, "第1行：坐标不是数字"},
        {"A,1e9,2,3\n", PointFormat::Csv, "第1行：坐标不是数字"},
        {"A,1,2,3\nK1+234.500R7.5-and-a-name-far-far-too-long,1,2,3\n", PointFormat::Csv, "第2行：点名超过40个字节"},
        {"  点名    X坐标       Y坐标   \r\nD1      100.000     200.000   \r\nD2      1x0.000     200.000   \r\n",
         PointFormat::Vxp, "第3行：坐标不是数字"},
    };
    for (const auto& c : cases) {
        const std::string bytes = c.format == PointFormat::Vxp ? Gbk(c.bytes) : std::string(c.bytes);
        const MeasuredImport read = ImportMeasuredPoints(bytes, c.format);
        EXPECT_EQ(read.strMessage, c.message) << c.bytes;
        EXPECT_TRUE(read.points.empty()) << c.bytes;
    }
}

// The demo road with its heights, and its centre stakes as the stake run
// gives them.
struct Demo {
    Alignment road = Alignment::Parse(DemoList());
    Profile profile = BuildProfile(ReadGradeCsv(Example("demo.vxz")).rows).profile;
    CrossSlopes slopes = BuildCrossSlopes(ReadSlopeCsv(Example("demo.vxh")).rows).slopes;
    StakeResult Centre(double station) const {
        ResultSet set;
        EXPECT_TRUE(AddStake(road, station, StakeRequest(), set));
        return set.rows.at(0);
    }
};

// A point along and across the road from a centre stake (across + right).
CPlanePoint Moved(const StakeResult& c, double along, double across) {
    const double a = c.dAzimuth;
    return CPlanePoint(c.point.X + along * std::cos(a) - across * std::sin(a),
                       c.point.Y + along * std::sin(a) + across * std::cos(a));
}

TEST(Inspect, NamedStakesDisplacedByKnownAmountsOnStraightsArcsAndTransitions) {
    const Demo demo;
    ASSERT_EQ(demo.profile.points.size(), 5u);
    const struct { const char* name; double station, offset, along, across, dh; bool in; } cases[] = {
        {"K0+100.000", 100, 0, 0.015, 0, 0, true},             // straight, along within 20 mm
        {"K0+100.000R7.5", 100, 7.5, 0, 0.025, 0, false},      // straight, across beyond it
        {"K0+350.000L12", 350, -12, -0.010, 0.010, 0.012, false},  // transition; height beyond 10 mm
        {"K0+550.000R7.5", 550, 7.5, 0.012, -0.012, -0.008, true}, // arc right
        {"K1+240.000L7.5", 1240, -7.5, -0.020, 0, 0.010, true},    // transition left: both at the limit
        {"K1+600.000R12", 1600, 12, 0.003, 0.004, -0.0105, false}, // arc left, 10.5 mm low
        {"K2+000.000", 2000, 0, 0.0206, 0, 0, false},           // 20.6 mm shows as 21 mm: out
    };
    std::vector<MeasuredPoint> points;
    std::vector<double> designH, azimuths;
    for (const auto& c : cases) {
        const StakeResult centre = demo.Centre(c.station);
        azimuths.push_back(centre.dAzimuth);
        const CPlanePoint p = Moved(centre, c.along, c.offset + c.across);
        designH.push_back(*SurfaceElevation(demo.profile, demo.slopes, c.station, c.offset));
        points.push_back({c.name, p.X, p.Y, designH.back() + c.dh});
    }
    const Inspection result = Inspect(demo.road, points, {&demo.profile, &demo.slopes}, Tolerances());
    ASSERT_EQ(result.rows.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        const InspectRow& r = result.rows[i];
        ASSERT_TRUE(r.bNamed && r.bFound && r.d && r.dh) << c.name;
        EXPECT_EQ(r.dStation, c.station) << c.name;
        EXPECT_EQ(r.dOffset, c.offset) << c.name;
        EXPECT_NEAR(*r.dAlong, c.along, 1e-6) << c.name;
        EXPECT_NEAR(*r.dAcross, c.across, 1e-6) << c.name;
        EXPECT_NEAR(*r.d, std::hypot(c.along, c.across), 1e-6) << c.name;
        const double a = azimuths[i];
        EXPECT_NEAR(*r.dx, c.along * std::cos(a) - c.across * std::sin(a), 1e-6) << c.name;
        EXPECT_NEAR(*r.dy, c.along * std::sin(a) + c.across * std::cos(a), 1e-6) << c.name;
        EXPECT_NEAR(*r.designH, designH[i], 1e-9) << c.name;
        EXPECT_NEAR(*r.dh, c.dh, 1e-9) << c.name;
        EXPECT_EQ(r.bIn, c.in) << c.name;
    }
    // Summed by hand from the table: Σd² = 2187.36 mm², ΣΔh² = 418.25 mm².
    const InspectSummary& s = result.summary;
    EXPECT_EQ(s.nPoints, 7);
    EXPECT_EQ(s.nIn, 3);
    EXPECT_EQ(s.nOut, 4);
    EXPECT_NEAR(*s.maxD, 0.025, 1e-6);
    EXPECT_NEAR(*s.rmsD, std::sqrt(0.00218736 / 7), 1e-6);
    EXPECT_NEAR(*s.maxDh, 0.012, 1e-9);
    EXPECT_NEAR(*s.rmsDh, std::sqrt(0.00041825 / 7), 1e-9);
}

TEST(Inspect, OtherPointsArePlacedByTheLookupAndJudgedInHeight) {
    const Demo demo;
    const CPlanePoint onArc = Moved(demo.Centre(600), 0, -9.3);   // 9.3 m left at K0+600
    const CPlanePoint straight = Moved(demo.Centre(900), 0, 4.2);  // 4.2 m right at K0+900
    const double h600 = *SurfaceElevation(demo.profile, demo.slopes, 600, -9.3);
    const double h900 = *SurfaceElevation(demo.profile, demo.slopes, 900, 4.2);
    const std::vector<MeasuredPoint> points = {{"P1", onArc.X, onArc.Y, h600 + 0.004},
                                               {"P2", straight.X, straight.Y, h900 - 0.015},
                                               {"far", 3700000, 400000, 100},
                                               {"P3", straight.X, straight.Y, std::nullopt}};
    const Inspection r = Inspect(demo.road, points, {&demo.profile, &demo.slopes}, Tolerances());
    EXPECT_NEAR(r.rows[0].dStation, 600, 0.0015);
    EXPECT_NEAR(r.rows[0].dOffset, -9.3, 0.0015);
    EXPECT_NEAR(*r.rows[0].dh, 0.004, 0.0002);  // the lookup's millimetre on a 2 % grade and 4 % slope
    EXPECT_TRUE(r.rows[0].bIn);
    EXPECT_NEAR(*r.rows[1].dh, -0.015, 0.0002);
    EXPECT_FALSE(r.rows[1].bIn);
    EXPECT_FALSE(r.rows[0].bNamed || r.rows[0].d || r.rows[0].dAlong);  // no plan deviation
    EXPECT_FALSE(r.rows[2].bFound);  // 查找不到: out
    EXPECT_FALSE(r.rows[2].bIn);
    EXPECT_FALSE(r.rows[2].designH);
    EXPECT_TRUE(r.rows[3].bIn);  // no height: nothing to judge
    EXPECT_FALSE(r.rows[3].dh);
    EXPECT_EQ(r.summary.nOut, 2);
    EXPECT_FALSE(r.summary.maxD);
}

TEST(Inspect, WithoutHeightsOrWithAToleranceOffOnlyTheRestIsJudged) {
    const Demo demo;
    const CPlanePoint p = Moved(demo.Centre(1000), 0.5, 0);
    const std::vector<MeasuredPoint> points = {{"K1+000.000", p.X, p.Y, 300.0}, {"K9+000.000", p.X, p.Y, 1.0}};
    const Inspection plain = Inspect(demo.road, points, {}, Tolerances());
    EXPECT_FALSE(plain.rows[0].dh);  // no profile: no ΔH
    EXPECT_FALSE(plain.rows[0].bIn);
    EXPECT_FALSE(plain.rows[1].bFound);  // a stake beyond the road's end
    Tolerances planOff;
    planOff.plan.reset();
    EXPECT_TRUE(Inspect(demo.road, {points[0]}, {}, planOff).rows[0].bIn);
    EXPECT_FALSE(Inspect(demo.road, {points[0]}, {&demo.profile, &demo.slopes}, planOff).rows[0].bIn);  // 176 m high
}

// Stakes exported without a profile carry 0.000 for their height.
TEST(Inspect, HeightsOfZeroThroughoutAreNotMeasuredWhenAProfileIsLoaded) {
    const Demo demo;
    const StakeResult a = demo.Centre(100), b = demo.Centre(200);
    const double hb = *SurfaceElevation(demo.profile, demo.slopes, 200, 0);
    const struct { std::optional<double> ha, hb; bool profile, ignored; } cases[] = {
        {0.0, 0.0, true, true},
        {0.0, std::nullopt, true, true},    // a point without a height does not count
        {-0.0, 0.0, true, true},
        {0.0, hb, true, false},             // one measured height: every 0 is a height
        {0.0, 0.0, false, false},           // nothing to judge them against
        {std::nullopt, std::nullopt, true, false},
    };
    for (const auto& c : cases) {
        const std::vector<MeasuredPoint> points = {{"K0+100.000", a.point.X, a.point.Y, c.ha},
                                                   {"K0+200.000", b.point.X, b.point.Y, c.hb}};
        const DesignHeights heights = c.profile ? DesignHeights{&demo.profile, &demo.slopes} : DesignHeights{};
        const Inspection r = Inspect(demo.road, points, heights, Tolerances());
        EXPECT_EQ(r.bZeroHeightsIgnored, c.ignored) << &c - cases;
        EXPECT_EQ(r.rows[0].point.height.has_value(), c.ha && !c.ignored) << &c - cases;
        EXPECT_EQ(r.rows[0].dh.has_value(), c.ha && c.profile && !c.ignored) << &c - cases;
        EXPECT_EQ(r.summary.nOut, c.ha && c.profile && !c.ignored ? 1 : 0) << &c - cases;
        const std::string note = Gbk(text::kInspectZeroHeights) + "\r\n";
        const std::string report = InspectText(r, Tolerances());
        EXPECT_EQ(report.size() > note.size() && report.compare(report.size() - note.size(), note.size(), note) == 0,
                  c.ignored)
            << &c - cases;
    }
}

TEST(InspectReport, TextAndCsvShowEachPointAndTheSummary) {
    const Demo demo;
    const StakeResult c = demo.Centre(100);
    const std::vector<MeasuredPoint> points = {{"K0+100.000", c.point.X + 0.03, c.point.Y, std::nullopt},
                                               {"far", 0, 0, std::nullopt}};
    const Tolerances tolerances{0.02, std::nullopt};
    const Inspection r = Inspect(demo.road, points, {}, tolerances);
    const std::string text = GbkToUtf8(InspectText(r, tolerances));
    EXPECT_EQ(text.substr(0, text.find('\n')), "限差：平面 20毫米，高程 不检核\r") << text;
    EXPECT_NE(text.find("K0+100.000      K0+100.000    0.000     0.030    0.000    0.030"), std::string::npos) << text;
    EXPECT_NE(text.find("far             查找不到"), std::string::npos) << text;
    EXPECT_NE(text.find("点数 2，合格 0，超限 2；Δ 最大 0.030，均方根 0.030；ΔH 最大 —，均方根 —"), std::string::npos);
    const std::string csv = InspectCsv(r, tolerances);
    EXPECT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(csv.find("\r\nfar,查找不到,,,,,,,,,,超限\r\n"), std::string::npos) << csv;
}

}  // namespace
