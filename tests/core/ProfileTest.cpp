// The vertical alignment, cross slopes and the design elevation of stakes:
// textbook vertical curves with their published answers, a profile rebuilt
// by integrating its grades, every refusal, and skewed side stakes whose
// own station and offset come from plane trigonometry.
#include "CoreFixture.h"

#include "core/files/ProfileCsv.h"
#include "core/road/StakeHeight.h"
#include "core/road/StakeRun.h"
#include "core/road/ResultText.h"

namespace {

GradeRow G(const char* name, const char* station, const char* elevation, const char* radius = "") {
    static int line = 1;
    return GradeRow{++line, name, station, elevation, radius};
}

Profile Built(const std::vector<GradeRow>& rows) {
    ProfileBuild b = BuildProfile(rows);
    EXPECT_TRUE(b.Ok()) << b.strMessage;
    return b.profile;
}

// A curve of a surveying textbook: the grade point, its published curve
// elements and design elevations worked by hand (tangent ± x²/2R).
struct Textbook {
    std::vector<GradeRow> rows;
    double omega, length, tangent, external, start, end;
    CurveKind kind;
    std::vector<std::pair<double, double>> elevations;  // station, design elevation
};

}  // namespace

TEST(Profile, TextbookVerticalCurvesGiveTheirPublishedElements) {
    const Textbook cases[] = {
        // K5+030.00, 427.68 m, +5 % / −4 %, R 2000: ω −0.09, L 180, T 90,
        // E 2.025; BVC K4+940 at 423.18, EVC K5+120 at 424.08; K5+000 is
        // 426.18 − 0.90, K5+100 is 424.88 − 0.10, the point 427.68 − E.
        {{G("A", "4800", "416.18"), G("JD", "5030", "427.68", "2000"), G("B", "5300", "416.88")},
         -0.09, 180, 90, 2.025, 4940, 5120, CurveKind::Crest,
         {{4940, 423.18}, {5120, 424.08}, {5000, 425.28}, {5100, 424.78}, {5030, 425.655}, {4900, 421.18}}},
        // K25+460.00, 780.72 m, +0.8 % / +5 %, R 5000: ω 0.042, L 210,
        // T 105, E 1.1025; K25+400 is 780.24 + 0.2025, K25+500 782.72 + 0.4225.
        {{G("A", "25300", "779.44"), G("JD", "25460", "780.72", "5000"), G("B", "25700", "792.72")},
         0.042, 210, 105, 1.1025, 25355, 25565, CurveKind::Sag,
         {{25355, 779.88}, {25565, 785.97}, {25400, 780.4425}, {25500, 783.1425}, {25460, 781.8225}}},
    };
    for (const Textbook& c : cases) {
        const Profile p = Built(c.rows);
        const GradePoint& jd = p.points[1];
        EXPECT_NEAR(jd.dOmega, c.omega, 1e-12);
        EXPECT_NEAR(jd.dLength, c.length, 1e-9);
        EXPECT_NEAR(jd.dTangent, c.tangent, 1e-9);
        EXPECT_NEAR(jd.dExternal, c.external, 1e-9);
        EXPECT_NEAR(jd.dStart, c.start, 1e-9);
        EXPECT_NEAR(jd.dEnd, c.end, 1e-9);
        EXPECT_EQ(jd.kind, c.kind);
        for (const auto& [station, h] : c.elevations) EXPECT_NEAR(p.ElevationAt(station).value(), h, 1e-9) << station;
        EXPECT_FALSE(p.ElevationAt(std::stod(c.rows.front().strStation) - 0.001));
        EXPECT_FALSE(p.ElevationAt(std::stod(c.rows.back().strStation) + 0.001));
        EXPECT_FALSE(p.ElevationAt(std::nan("")));
    }
    // The table's row for the first: K stations, percent grades, 凸.
    const std::vector<std::string> row = VerticalCurveCells(Built(cases[0].rows), 1);
    EXPECT_EQ(row, (std::vector<std::string>{"JD", "K5+030.000", "427.680", "5.000", "-4.000", "2000.000", "90.000",
                                             "180.000", "2.025", "凸", "K4+940.000", "K5+120.000"}));
    EXPECT_EQ(VerticalCurveCells(Built(cases[0].rows), 0),
              (std::vector<std::string>{"A", "K4+800.000", "416.180", "", "5.000", "", "", "", "", "", "", ""}));
}

// The elevation as the integral of the grade: constant on the grade lines,
// linear from i_in to i_out along each curve. The trapezoid rule is exact
// for it when every curve end falls on a step, as in the sample profile.
TEST(Profile, ElevationsAreTheIntegralOfTheGrade) {
    const Profile p = Built(ReadGradeCsv(Example("demo.vxz")).rows);
    const double S[5] = {0, 560, 1240, 1800, 2120}, H[5] = {120, 131.2, 120.32, 131.52, 127.68};
    const double R[5] = {0, 8000, 12000, 10000, 0};
    auto grade = [&](double s) {
        for (int k = 1; k < 4; ++k) {
            const double in = (H[k] - H[k - 1]) / (S[k] - S[k - 1]), out = (H[k + 1] - H[k]) / (S[k + 1] - S[k]);
            const double t = R[k] * std::fabs(out - in) / 2;
            if (s >= S[k] - t && s <= S[k] + t) return in + (out - in) * (s - (S[k] - t)) / (2 * t);
        }
        int k = 0;
        while (s > S[k + 1]) ++k;
        return (H[k + 1] - H[k]) / (S[k + 1] - S[k]);
    };
    double h = H[0];
    const double step = 0.5;
    for (double s = 0; s < 2120; s += step) {
        if (std::fmod(s, 10) == 0) {
            ASSERT_NEAR(p.ElevationAt(s).value(), h, 1e-7) << s;
        }
        h += (grade(s) + grade(s + step)) / 2 * step;
    }
    EXPECT_NEAR(p.ElevationAt(2120).value(), 127.68, 1e-9);
    EXPECT_NEAR(h, 127.68, 1e-7);
}

TEST(Profile, EveryRefusalNamesThePointAndItsLine) {
    auto rows = [](const char* radiusB, const char* radiusC) {
        return std::vector<GradeRow>{{2, "A", "0", "100", ""},       {3, "B", "100", "102", radiusB},
                                     {4, "C", "200", "100", radiusC}, {5, "D", "300", "102", ""},
                                     {6, "E", "400", "100", ""}};
    };
    auto with = [&](int i, int field, const char* text) {
        std::vector<GradeRow> r = rows("", "");
        std::string* f[4] = {&r[i].strName, &r[i].strStation, &r[i].strElevation, &r[i].strRadius};
        *f[field] = text;
        return r;
    };
    const std::vector<GradeRow> tooMany(10001, GradeRow{2, "", "1", "1", ""});
    const struct {
        std::vector<GradeRow> rows;
        std::string message;
    } cases[] = {
        {{{2, "A", "0", "100", ""}}, "纵断面至少要有两行：起点和终点!"},
        {tooMany, "纵断面最多10000行!"},
        {with(1, 1, "1OO"), "纵断面第3行（B）的桩号不是数字!"},
        {with(2, 2, ""), "纵断面第4行（C）的高程不是数字!"},
        {with(2, 3, "R300"), "纵断面第4行（C）的竖曲线半径不是数字!"},
        {with(2, 1, "100"), "纵断面第4行（C）的桩号必须大于上一行的桩号!"},
        {with(2, 1, "nan"), "纵断面第4行（C）的桩号不是数字!"},
        {with(1, 3, "-2500"), "纵断面第3行（B）的竖曲线半径不能为负!"},
        {with(0, 3, "2500"), "纵断面第2行（A）是起点或终点，不能填写竖曲线半径!"},
        {with(4, 3, "1"), "纵断面第6行（E）是起点或终点，不能填写竖曲线半径!"},
        {rows("2500", "2600"), "变坡点B与C的竖曲线重叠：两切线长之和比变坡点间距长2.000米!"},
        {rows("5100", ""), "变坡点B的竖曲线切线长102.000米大于起点到该变坡点的距离100.000米!"},
        {{{2, "A", "0", "100", ""}, {3, "B", "150", "103", "5100"}, {4, "C", "250", "101", ""}},
         "变坡点B的竖曲线切线长102.000米大于该变坡点到终点的距离100.000米!"},
        {{{2, "", "0", "100", ""}, {3, "", "10", "1e308", ""}, {4, "", "20", "-1e308", ""}},
         "纵断面第4行（终点）与上一行之间的坡度无法计算!"},
    };
    for (const auto& c : cases) EXPECT_EQ(BuildProfile(c.rows).strMessage, c.message);
    // Curves that meet, or overlap by no more than a millimetre, are taken;
    // so are radius 0 at the ends and an empty one inside.
    EXPECT_TRUE(BuildProfile(rows("2500", "2500")).Ok());
    EXPECT_TRUE(BuildProfile(rows("2500", "2500.0125")).Ok());  // 0.25 mm over
    EXPECT_EQ(BuildProfile(rows("2500", "2500.1")).strMessage,
              "变坡点B与C的竖曲线重叠：两切线长之和比变坡点间距长0.002米!");
    EXPECT_TRUE(BuildProfile(with(0, 3, " 0 ")).Ok());
}

TEST(Profile, EmptyNamesAreStartGradePointsAndEnd) {
    const std::vector<GradeRow> rows = {{2, "", "0", "100", ""}, {3, " ", "100", "101", ""}, {4, "X", "200", "100", ""},
                                        {5, "", "300", "101", ""}, {6, "", "400", "100", ""}};
    std::vector<std::string> names;
    for (const GradePoint& p : Built(rows).points) names.push_back(p.strName);
    EXPECT_EQ(names, (std::vector<std::string>{"起点", "变坡点1", "X", "变坡点3", "终点"}));
    const GradeCsvRead back = ReadGradeCsv(GradeCsvText(rows));
    ASSERT_TRUE(back.Ok());
    EXPECT_EQ(back.rows[1].strName, "变坡点1");
    EXPECT_EQ(back.rows[4].nLine, 6);
}

TEST(Profile, TablesReadUtf8OrGbkAndRefuseByLine) {
    // What a spreadsheet saves on a Chinese system: GBK, LF, no mark.
    const GradeCsvRead gbk = ReadGradeCsv(Gbk("变坡点,桩号,高程,竖曲线半径\n起点,0,10\n\n变坡点1,50,11,\"1,000\"\n"));
    ASSERT_TRUE(gbk.Ok()) << gbk.strMessage;
    ASSERT_EQ(gbk.rows.size(), 2u);
    EXPECT_EQ(gbk.rows[1].nLine, 4);
    EXPECT_EQ(gbk.rows[1].strName, "变坡点1");
    EXPECT_EQ(gbk.rows[1].strRadius, "1,000");
    EXPECT_EQ(GradeCsvText({{2, "起点", "0", "10", ""}}), "\xEF\xBB\xBF变坡点,桩号,高程,竖曲线半径\r\n起点,0,10,\r\n");
    const std::string h = "桩号,左侧横坡,右侧横坡\r\n";
    const struct {
        std::string bytes, message;
    } cases[] = {
        {"", "横坡表文件的第1行不是表头“桩号,左侧横坡,右侧横坡”!"},
        {h + "0,-2,-2,1\r\n", "横坡表文件第2行多于3列!"},
        {h + "0,-2,-2,,\r\n\"0,-2\r\n", "横坡表文件第3行的引号不配对!"},
        {h + "\xFF\xFE,1\r\n", "横坡表文件既不是UTF-8也不是GBK文本!"},
        {h + std::string(5000, '1'), "横坡表文件太大（最多10001行，每行最多4096个字节）!"},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadSlopeCsv(c.bytes).strMessage, c.message);
    EXPECT_EQ(SlopeCsvText({{2, "0", "-2", "-2"}}), "\xEF\xBB\xBF桩号,左侧横坡,右侧横坡\r\n0,-2,-2\r\n");
}

TEST(CrossSlopes, InterpolateByStationAndRefuseBadRows) {
    // Worked by hand: −2/−2 at 100 to +4/−4 at 200; at 175 three quarters
    // of the way, +2.5/−3.5.
    const SlopesBuild b = BuildCrossSlopes({{2, "100", "-2", "-2"}, {3, "200", "+4", "-4"}});
    ASSERT_TRUE(b.Ok()) << b.strMessage;
    const std::pair<double, double> expected[][2] = {
        {{50, 0}, {-2, -2}}, {{150, 0}, {1, -3}}, {{175, 0}, {2.5, -3.5}}, {{250, 0}, {4, -4}}};
    for (const auto& e : expected) EXPECT_EQ(b.slopes.At(e[0].first), e[1]) << e[0].first;
    EXPECT_EQ(CrossSlopes().At(5), std::make_pair(0.0, 0.0));
    // The surface at 175 on a level profile at 100 m, 7.5 m either side.
    const Profile level = Built({{2, "", "0", "100", ""}, {3, "", "300", "100", ""}});
    EXPECT_NEAR(SurfaceElevation(level, b.slopes, 175, -7.5).value(), 100.1875, 1e-12);
    EXPECT_NEAR(SurfaceElevation(level, b.slopes, 175, 7.5).value(), 99.7375, 1e-12);
    EXPECT_FALSE(SurfaceElevation(level, b.slopes, 300.5, 0));

    const struct {
        std::vector<SlopeRow> rows;
        std::string message;
    } refused[] = {
        {{{2, "0", "-2", "-2"}, {3, "0", "-2", "-2"}}, "横坡表第3行的桩号必须大于上一行的桩号!"},
        {{{2, "0", "2%", "-2"}}, "横坡表第2行的左侧横坡不是数字!"},
        {{{2, "", "-2", "-2"}}, "横坡表第2行的桩号不是数字!"},
        {{{2, "0", "-2", "-20.5"}}, "横坡表第2行的右侧横坡-20.5%超出了±20%!"},
        {std::vector<SlopeRow>(10001, SlopeRow{2, "0", "0", "0"}), "横坡表最多10000行!"},
    };
    for (const auto& c : refused) EXPECT_EQ(BuildCrossSlopes(c.rows).strMessage, c.message);
    EXPECT_TRUE(BuildCrossSlopes({{2, "0", "20", "-20"}}).Ok());
}

// A straight due east, rising 2 % from 100 m; crown −2 % both sides. A
// stake set off d at deflection θ from station s lies at station
// s + d·cos θ, d·sin θ to the right: its surface is found there, not at s.
TEST(StakeHeight, SkewedSideStakesTakeTheSurfaceAtTheirOwnStation) {
    const Alignment road = Alignment::Parse({ControlHeaderLine(), L("0|直线|∞|0|0"), L("1000|终点|∞|0|1000")});
    const Profile rising = Built({{2, "", "0", "100", ""}, {3, "", "1000", "120", ""}});
    const CrossSlopes crown = BuildCrossSlopes({{2, "0", "-2", "-2"}}).slopes;
    const struct {
        double offset;
        const char* deflection;
        double degrees;
    } cases[] = {{10, "60.0000", 60}, {-10, "60.0000", 60}, {12, "135.0000", 135}, {7.5, "90.0000", 90}};
    for (const auto& c : cases) {
        ResultSet set;
        StakeRequest request;
        request.dOffset = c.offset;
        request.dDeflection = ParseDeflection(c.deflection).value();
        ASSERT_TRUE(AddStake(road, 500, request, set));
        AddHeights(set, road, rising, crown);
        const double t = c.degrees * kPi / 180;
        const double along = 500 + c.offset * std::cos(t), across = c.offset * std::sin(t);
        EXPECT_NEAR(set.rows[0].point.Y, along, 1e-5) << c.deflection;
        EXPECT_NEAR(set.rows[0].point.X, -across, 1e-5) << c.deflection;  // right of east is south
        const double expected = 100 + 0.02 * along - 0.02 * std::fabs(across);
        EXPECT_NEAR(set.rows[0].elevation.value(), expected, 2e-5) << c.deflection;
    }
    // A centre stake is H(s); one past the profile's end has none.
    const Profile shortProfile = Built({{2, "", "0", "100", ""}, {3, "", "600", "112", ""}});
    ResultSet set;
    StakeRequest request;
    for (double s : {250.0, 600.0, 600.001}) AddStake(road, s, request, set);
    AddHeights(set, road, shortProfile, crown);
    EXPECT_EQ(set.rows[0].elevation, 105.0);
    EXPECT_EQ(set.rows[1].elevation, 112.0);
    EXPECT_FALSE(set.rows[2].elevation);
}

TEST(StakeHeight, LinesAndFilesCarryTheElevationOnlyWithAProfile) {
    const Alignment road = Alignment::Parse({ControlHeaderLine(), L("0|直线|∞|0|0"), L("1000|终点|∞|0|1000")});
    ResultSet set;
    StakeRequest request;
    request.dStartStation = 0, request.dEndStation = 50, request.dInterval = 50;
    RunStakes(road, request, set, 0, nullptr);
    const std::string plain = ResultLine(set, 1);
    AddHeights(set, road, Built({{2, "", "10", "100", ""}, {3, "", "60", "101.5", ""}}), CrossSlopes());
    EXPECT_EQ(ResultLine(set, 1), plain + "101.200     ");  // 100 + 3 % of 40 m
    EXPECT_EQ(ResultLine(set, 0).substr(58), Gbk("超出纵断面  "));
    EXPECT_EQ(ResultHeader(set.mode, true), ResultHeader(set.mode) + Gbk("设计高程    "));
    EXPECT_EQ(ResultFields(set, set.rows[1]).back(), "101.200");
}
