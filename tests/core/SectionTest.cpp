// The cross-section template and its break points. Expected figures are
// worked by hand on a straight road due east (left is north), or taken
// from the sample road's published stakes.
#include "CoreFixture.h"

#include "core/files/ProfileCsv.h"
#include "core/files/SectionCsv.h"
#include "core/files/SectionExport.h"
#include "core/road/Section.h"

namespace {

// 400 m due east from X 3800000, Y 500000: a point at offset o (left
// negative) of station s lies at X 3800000 − o, Y 500000 + s.
Alignment EastRoad() {
    return Alignment::Parse({ControlHeaderLine(), L("0|直线|∞|3800000|500000"), L("400|终点|∞|3800000|500400")});
}

std::vector<TemplateRow> Rows(const std::vector<std::vector<std::string>>& cells) {
    std::vector<TemplateRow> rows;
    for (const auto& c : cells) {
        TemplateRow r;
        r.nLine = static_cast<int>(rows.size()) + 2;
        std::string* f[7] = {&r.strSide, &r.strName, &r.strWidth, &r.strSlope, &r.strRatio, &r.strBermHeight, &r.strBermWidth};
        for (std::size_t k = 0; k < c.size(); ++k) *f[k] = c[k];
        rows.push_back(r);
    }
    return rows;
}

// Carriageway and hard shoulder on the table's slope, a verge falling 4 %.
SectionTemplate Lanes() {
    const TemplateBuild b = BuildTemplate(Rows({{"左", "行车道", "3.75", "路拱"}, {"左", "硬路肩", "2.5", "路拱"},
                                                {"左", "土路肩", "0.75", "-4"}, {"左", "填方边坡", "", "", "1.5", "8", "2"},
                                                {"右", "行车道", "3.75", "路拱"}, {"右", "硬路肩", "2.5", "路拱"},
                                                {"右", "土路肩", "0.75", "-4"}}));
    EXPECT_TRUE(b.Ok()) << b.strMessage;
    return b.value;
}

// Grade 1 % from 100.000 at 0; a crown of −2 % to 100, superelevated +4/−4 from 200.
SectionDesign Design() {
    SectionDesign d;
    d.tmpl = Lanes();
    d.profile = BuildProfile({{2, "", "0", "100", ""}, {3, "", "400", "104", ""}}).profile;
    d.slopes = BuildCrossSlopes({{2, "100", "-2", "-2"}, {3, "200", "4", "-4"}}).slopes;
    return d;
}

struct Expected {
    double offset, x, y, h;
};

void ExpectPoints(const CrossSection& c, const std::vector<Expected>& want) {
    ASSERT_FALSE(c.IsMessage()) << GbkToUtf8(c.strMessage);
    ASSERT_EQ(c.points.size(), want.size());
    for (std::size_t k = 0; k < want.size(); ++k) {
        EXPECT_DOUBLE_EQ(c.points[k].dOffset, want[k].offset) << k;
        EXPECT_NEAR(c.points[k].point.X, want[k].x, 1e-6) << k;
        EXPECT_NEAR(c.points[k].point.Y, want[k].y, 1e-6) << k;
        if (std::isnan(want[k].h)) EXPECT_FALSE(c.points[k].elevation) << k;
        else EXPECT_NEAR(c.points[k].elevation.value_or(-1), want[k].h, 1e-9) << k;
    }
}

constexpr double X0 = 3800000, Y0 = 500000, NoHeight = std::nan("");

}  // namespace

TEST(Section, BreakPointsFollowTheCrownThroughASuperelevationChangeAndKeepFixedFalls) {
    // Left outward, then right outward: offset, X, Y, elevation by hand.
    const struct { double s; std::vector<Expected> points; } table[] = {
        {50, {{-3.75, X0 + 3.75, Y0 + 50, 100.425}, {-6.25, X0 + 6.25, Y0 + 50, 100.375}, {-7, X0 + 7, Y0 + 50, 100.345},
              {3.75, X0 - 3.75, Y0 + 50, 100.425}, {6.25, X0 - 6.25, Y0 + 50, 100.375}, {7, X0 - 7, Y0 + 50, 100.345}}},
        // halfway: left +1 %, right −3 %
        {150, {{-3.75, X0 + 3.75, Y0 + 150, 101.5375}, {-6.25, X0 + 6.25, Y0 + 150, 101.5625}, {-7, X0 + 7, Y0 + 150, 101.5325},
               {3.75, X0 - 3.75, Y0 + 150, 101.3875}, {6.25, X0 - 6.25, Y0 + 150, 101.3125}, {7, X0 - 7, Y0 + 150, 101.2825}}},
        {250, {{-3.75, X0 + 3.75, Y0 + 250, 102.65}, {-6.25, X0 + 6.25, Y0 + 250, 102.75}, {-7, X0 + 7, Y0 + 250, 102.72},
               {3.75, X0 - 3.75, Y0 + 250, 102.35}, {6.25, X0 - 6.25, Y0 + 250, 102.25}, {7, X0 - 7, Y0 + 250, 102.22}}},
    };
    const Alignment road = EastRoad();
    const SectionDesign design = Design();
    for (const auto& row : table) {
        SCOPED_TRACE(row.s);
        const CrossSection c = SectionAt(road, design, row.s);
        ExpectPoints(c, row.points);
        EXPECT_NEAR(c.centreElevation.value_or(-1), 100 + row.s / 100, 1e-9);
        EXPECT_EQ(c.points[2].strName, "土路肩");
    }
}

TEST(Section, WithoutAProfileThePointsHaveNoHeights) {
    SectionDesign design = Design();
    design.profile.reset();
    const CrossSection c = SectionAt(EastRoad(), design, 50);
    ExpectPoints(c, {{-3.75, X0 + 3.75, Y0 + 50, NoHeight}, {-6.25, X0 + 6.25, Y0 + 50, NoHeight},
                     {-7, X0 + 7, Y0 + 50, NoHeight}, {3.75, X0 - 3.75, Y0 + 50, NoHeight},
                     {6.25, X0 - 6.25, Y0 + 50, NoHeight}, {7, X0 - 7, Y0 + 50, NoHeight}});
    EXPECT_FALSE(c.centreElevation);
}

TEST(Section, WideningWidensTheCarriagewayThroughItsTransitionAndMovesEveryPointOutside) {
    SectionDesign design = Design();
    const WideningBuild w = BuildWidening({{2, "100", "0", "0"}, {3, "140", "0", "1.0"}});
    ASSERT_TRUE(w.Ok()) << w.strMessage;
    design.widening = w.value;
    // right offsets of 行车道, 硬路肩, 土路肩: 3.75, 6.25, 7 plus the widening at s
    const struct { double s, widening; } table[] = {{50, 0}, {100, 0}, {120, 0.5}, {130, 0.75}, {140, 1}, {300, 1}};
    for (const auto& row : table) {
        SCOPED_TRACE(row.s);
        const CrossSection c = SectionAt(EastRoad(), design, row.s);
        ASSERT_EQ(c.points.size(), 6u);
        EXPECT_DOUBLE_EQ(c.points[0].dOffset, -3.75);  // the left side stays
        EXPECT_NEAR(c.points[3].dOffset, 3.75 + row.widening, 1e-12);
        EXPECT_NEAR(c.points[4].dOffset, 6.25 + row.widening, 1e-12);
        EXPECT_NEAR(c.points[5].point.X, X0 - 7 - row.widening, 1e-6);
    }
    // At 120 the right slope is −2.4 %: 101.2 − 4.25 × 0.024 on the widened carriageway.
    EXPECT_NEAR(SectionAt(EastRoad(), design, 120).points[3].elevation.value_or(-1), 101.098, 1e-9);
}

TEST(Section, WideningRowsAre桩号OnARoadWithStationEquations) {
    // K0+150=K0+170 (−20), K0+370=K0+360 (+10): 365.000(2) lies at distance 365 − 20 + 10.
    const ChainageBuild chain = BuildChainage({{2, "K0+150.000", "K0+170.000"}, {3, "K0+370.000", "K0+360.000"}});
    ASSERT_TRUE(chain.Ok());
    const WideningBuild w = BuildWidening({{2, "100", "0", "0"}, {3, "K0+365.000(2)", "1", "0"}}, chain.chain);
    ASSERT_TRUE(w.Ok()) << w.strMessage;
    EXPECT_DOUBLE_EQ(w.value.table.points[1].dStation, 355);
    const WideningBuild ambiguous = BuildWidening({{2, "365", "0", "0"}}, chain.chain);
    EXPECT_EQ(ambiguous.strMessage.rfind("加宽表第2行：", 0), 0u) << ambiguous.strMessage;
}

TEST(Section, APointAtOrBeyondTheCentreOfASharpCurveIsRefusedByName) {
    // The sample road's circle 1570–1720 turns left on R 250: 260 m left is past its centre.
    const TemplateBuild wide = BuildTemplate(Rows({{"左", "行车道", "100", "2"}, {"左", "硬路肩", "100", "2"},
                                                   {"左", "土路肩", "60", "2"}, {"右", "行车道", "100", "2"}}));
    ASSERT_TRUE(wide.Ok()) << wide.strMessage;
    SectionDesign design;
    design.tmpl = wide.value;
    const Alignment demo = Alignment::Parse(DemoList());
    const CrossSection c = SectionAt(demo, design, 1600);
    EXPECT_TRUE(c.points.empty());
    EXPECT_NE(GbkToUtf8(c.strMessage).find("K1+600.000的左土路肩偏距-260.000米"), std::string::npos)
        << GbkToUtf8(c.strMessage);
    EXPECT_FALSE(SectionAt(demo, design, 1000).IsMessage());  // the same template on the straight
}

TEST(Section, TheSampleRoadsPublishedSideStakesAreBreakPoints) {
    // README: stakes --offset 7.5 at 500 and 1000 with the sample's heights.
    SectionDesign d;
    d.tmpl = BuildTemplate(Rows({{"右", "行车道", "7.5", "路拱"}})).value;
    d.profile = BuildProfile(ReadGradeCsv(Example("demo.vxz")).rows).profile;
    d.slopes = BuildCrossSlopes(ReadSlopeCsv(Example("demo.vxh")).rows).slopes;
    const Alignment demo = Alignment::Parse(DemoList());
    const struct { double s, x, y, h; } table[] = {{500, 3805283.061, 500409.229, 129.259},
                                                  {1000, 3805345.623, 500898.795, 124.010}};
    for (const auto& row : table) {
        const SectionPoint p = SectionAt(demo, d, row.s).points.at(0);
        EXPECT_NEAR(p.point.X, row.x, 0.0005);
        EXPECT_NEAR(p.point.Y, row.y, 0.0005);
        EXPECT_NEAR(p.elevation.value_or(-1), row.h, 0.0005);
    }
}

TEST(SectionFiles, BadRowsAreRefusedNamingTheirLineAndField) {
    const struct { std::vector<std::vector<std::string>> rows; const char* message; } table[] = {
        {{{"中", "行车道", "3.75", "2"}}, "横断面模板第2行的侧“中”应为“左”或“右”!"},
        {{{"左", "", "3.75", "2"}}, "横断面模板第2行的名称“”不能用"},
        {{{"左", "行车道路肩外侧", "3.75", "2"}}, "横断面模板第2行的名称“行车道路肩外侧”不能用"},
        {{{"左", "a,b", "3.75", "2"}}, "横断面模板第2行的名称“a,b”不能用"},
        {{{"左", "行车道", "3.75", "2"}, {"左", "行车道", "1", "2"}}, "横断面模板第3行的名称“行车道”在左侧已用过（第2行）!"},
        {{{"左", "行车道", "3,75", "2"}}, "横断面模板第2行的宽度“3,75”不是数字!"},
        {{{"左", "行车道", "0", "2"}}, "横断面模板第2行的宽度“0”超出了范围"},
        {{{"左", "行车道", "100.5", "2"}}, "横断面模板第2行的宽度“100.5”超出了范围"},
        {{{"左", "行车道", "3.75", "2%"}}, "横断面模板第2行的横坡“2%”不是数字!"},
        {{{"左", "行车道", "3.75", "-101"}}, "横断面模板第2行的横坡“-101”超出了范围"},
        {{{"左", "行车道", "3.75", ""}}, "横断面模板第2行的横坡“”不是数字!"},
        {{{"左", "行车道", "3.75", "2", "1.5"}}, "横断面模板第2行是路面行，坡比应当空着!"},
        {{{"左", "行车道", "3.75", "2"}, {"左", "填方边坡", "", "", "1.5"}, {"左", "土路肩", "0.75", "2"}},
         "横断面模板第4行是路面行，却排在左侧的边坡（第3行）之后"},
        {{{"右", "行车道", "3.75", "2"}, {"左", "填方边坡", "", "", "1.5"}, {"右", "土路肩", "0.75", "2"}}, ""},
        {{{"左", "行车道", "3.75", "2"}, {"左", "填方边坡", "", "", "1.5"}, {"左", "填方边坡", "", "", "2"}},
         "横断面模板第4行的名称“填方边坡”在左侧已用过（第3行）!"},
        {{{"左", "行车道", "3.75", "2"}, {"左", "挖方边坡", "1", "", "1"}}, "横断面模板第3行是边坡行，宽度应当空着!"},
        {{{"左", "行车道", "3.75", "2"}, {"左", "挖方边坡", "", "", ""}}, "横断面模板第3行缺少坡比!"},
        {{{"左", "行车道", "3.75", "2"}, {"左", "挖方边坡", "", "", "0"}}, "横断面模板第3行的坡比“0”超出了范围"},
        {{{"左", "行车道", "3.75", "2"}, {"左", "填方边坡", "", "", "1.5", "8"}}, "横断面模板第3行的分级高度与平台宽度须同时填写或同时空着!"},
        {{{"左", "行车道", "3.75", "2"}, {"左", "填方边坡", "", "", "1.5", "0", "2"}}, "横断面模板第3行的分级高度“0”超出了范围"},
        {{{"左", "行车道", "3.75", "2"}, {"左", "填方边坡", "", "", "1.5", "8", "-1"}}, "横断面模板第3行的平台宽度“-1”超出了范围"},
        {{{"左", "填方边坡", "", "", "1.5"}}, "横断面模板没有路面行"},
        {{}, "横断面模板没有路面行"},
    };
    for (const auto& row : table) {
        const TemplateBuild b = BuildTemplate(Rows(row.rows));
        if (*row.message == 0) EXPECT_TRUE(b.Ok()) << b.strMessage;
        else EXPECT_EQ(b.strMessage.rfind(row.message, 0), 0u) << b.strMessage << "\nwanted " << row.message;
    }
    const struct { std::vector<WideningRow> rows; const char* message; } widening[] = {
        {{{2, "100", "0", "0"}, {3, "100", "1", "0"}}, "加宽表第3行的桩号必须大于上一行的桩号!"},
        {{{2, "100", "-0.5", "0"}}, "加宽表第2行的左侧加宽“-0.5”超出了范围（0～100米）!"},
        {{{2, "100", "0", "x"}}, "加宽表第2行的右侧加宽“x”不是数字!"},
        {{{2, "", "0", "0"}}, "加宽表第2行的桩号“”不是数字!"},
    };
    for (const auto& row : widening) EXPECT_EQ(BuildWidening(row.rows).strMessage, row.message);
    SectionTemplate rightOnly = BuildTemplate(Rows({{"右", "行车道", "3.75", "路拱"}})).value;
    EXPECT_EQ(WideningRefusal(rightOnly, BuildWidening({{2, "100", "0", "0"}, {5, "200", "0.5", "0"}}).value),
              "加宽表第5行给左侧加宽，但横断面模板的左侧没有路面行!");
    EXPECT_EQ(CrownRefusal(rightOnly), "横断面模板第2行的横坡为“路拱”，要用横坡表（.vxh）：请加 --slopes!");
}

TEST(SectionFiles, TablesAreWrittenWithBomAndCrLfAndReadBackFromGbkWithLf) {
    const std::vector<TemplateRow> rows = Rows({{"左", "行车道", "3.75", "路拱"}, {"左", "填方边坡", "", "", "1.5", "8", "2"}});
    const std::string bytes = TemplateCsvText(rows);
    EXPECT_EQ(bytes, "\xEF\xBB\xBF侧,名称,宽度,横坡,坡比,分级高度,平台宽度\r\n左,行车道,3.75,路拱,,,\r\n左,填方边坡,,,1.5,8,2\r\n");
    const std::string gbk = Gbk("侧,名称,宽度,横坡,坡比,分级高度,平台宽度\n左,行车道,3.75,路拱\n\n左,填方边坡,,,1.5,8,2\n");
    const TemplateCsvRead read = ReadTemplateCsv(gbk);
    ASSERT_TRUE(read.Ok()) << read.strMessage;
    ASSERT_EQ(read.rows.size(), 2u);
    EXPECT_EQ(read.rows[1].nLine, 4);
    EXPECT_EQ(TemplateCsvText(read.rows), TemplateCsvText({rows[0], {4, "左", "填方边坡", "", "", "1.5", "8", "2"}}));
    EXPECT_EQ(ReadTemplateCsv("侧,名称,宽度,横坡\r\n").strMessage, "横断面模板文件的第1行不是表头“侧,名称,宽度,横坡,坡比,分级高度,平台宽度”!");
    const std::vector<WideningRow> w = {{2, "K0+100.000", "0", "0.5"}};
    EXPECT_EQ(WideningCsvText(w), "\xEF\xBB\xBF桩号,左侧加宽,右侧加宽\r\nK0+100.000,0,0.5\r\n");
    EXPECT_EQ(ReadWideningCsv(WideningCsvText(w)).rows.at(0).strRight, "0.5");
    EXPECT_EQ(ReadWideningCsv("桩号,左侧加宽\n").strMessage, "加宽表文件的第1行不是表头“桩号,左侧加宽,右侧加宽”!");
}
