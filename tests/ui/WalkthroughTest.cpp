// The README's walkthrough on the sample files, checking every figure the
// README quotes. With VEXALINE_SCREENSHOTS set to a folder it also saves the
// README's pictures (scripts/screenshots.sh runs it on Xvfb).
#include "DlgFixture.h"
#include "ui/tools/CheckReportDlg.h"
#include "ui/tools/InspectDlg.h"
#include "ui/plan/PlanCanvas.h"
#include "ui/plan/PlanView.h"
#include "ui/profile/ProfileDlg.h"
#include "core/text/TextFields.h"
#include "ui/tools/StationSetupDlg.h"

#include <QLabel>
#include <QTableView>
#include <QTableWidget>

class Walkthrough : public DlgTest {
protected:
    void SetUp() override {
        DlgTest::SetUp();
        CopyExamples({"demo.vxa", "demo.vxp"});
        dlg_.resize(1180, 580);
    }
    std::string Result(std::size_t i) { return GbkToUtf8(Results().at(i)); }
};

TEST_F(Walkthrough, OnTheSampleRoad) {
    Open("demo.vxa");
    EXPECT_EQ(Edit(1010)->text(), "12");
    EXPECT_EQ(Edit(1007)->text(), "demo.vxa");

    Set({{1014, "0"}, {1015, "2120"}, {1016, "20"}, {1017, "7.5"}});  // every 20 m, 7.5 m to the right
    Click(1018);
    ASSERT_EQ(Results().size(), 108u);
    EXPECT_EQ(Edit(1023)->text(), "107");
    EXPECT_EQ(Result(1), "0.000       3804994.050   500004.566  52.3000   直线段    ");
    EXPECT_EQ(Result(22), "420.000     3805246.060   500339.496  58.1346   圆曲段    ");
    dlg_.ResultsPart()->m_listResults->scrollToTop();
    Shot(&dlg_, "stakes.png");

    Set({{1020, "1234.5"}});
    Click(1021);
    EXPECT_EQ(Result(108), "1234.500    3805354.869   501133.297  86.2450   缓曲段    ");

    Click(1019, ModalScript().File(QPath("stakes.txt"), 1));
    Click(1019, ModalScript().File(QPath("stakes-cad.txt"), 2));
    const std::string report = GbkToUtf8(ReadBytes("stakes.txt")), cad = GbkToUtf8(ReadBytes("stakes-cad.txt"));
    EXPECT_EQ(report.substr(0, report.find("\r\n")), "工 程 名  stakes.txt");
    EXPECT_NE(cad.find("\r\nX坐标         Y坐标\r\n3804994.050,500004.566\r\n"), std::string::npos);

    Set({{1052, "3805381.597"}, {1053, "500897.434"}});  // traverse point D3
    Click(1051);
    EXPECT_EQ(Edit(1054)->text(), "1000.000");
    EXPECT_EQ(Edit(1055)->text(), Q("左28.499米"));
    Shot(&dlg_, "lookup.png");

    Click(1031);  // setting-out elements from D2, backsight D3, centre stakes
    Set({{1017, "0"}, {1014, "400"}, {1015, "700"}});
    Click(1018, ModalScript().Dialog([this](QWidget* w) {
        auto* setup = qobject_cast<CStationSetupDlg*>(w);
        ASSERT_TRUE(setup);
        Click(1045, ModalScript().File(QPath("demo.vxp")), w);
        setup->m_listPoints->Select(2), Click(1048, {}, w);
        setup->m_listPoints->Select(3), Click(1049, {}, w);
        Shot(w, "station.png");
        Click(1, {}, w);
    }));
    ASSERT_EQ(Results().size(), 17u);
    EXPECT_EQ(Result(0).substr(0, 14), "桩号        ");
    EXPECT_EQ(Result(1), "400.000     184.1527    150.275   D2        D3        ");
    dlg_.ResultsPart()->m_listResults->scrollToTop();
    Shot(&dlg_, "setting-out.png");

    // The plan of the same road and setup, and the first page of its sheet.
    Click(2002);
    QWidget* plan = dlg_.findChild<QWidget*>("2100");
    ASSERT_TRUE(plan && plan->isVisible());
    plan->resize(900, 620);
    Shot(plan, "plan.png");
    Click(2003, ModalScript().Dialog([](QWidget* w) {
        w->resize(760, 900);
        Shot(w, "sheet.png");
        static_cast<QDialog*>(w)->reject();
    }));
}

// The check on a copy of the sample road with row 9's radius typed without
// its sign: the report, and the flagged rows marked in the control list.
TEST_F(Walkthrough, TheCheckOnAFaultyCopy) {
    OpenFaulty();
    Click(2001);
    auto* report = dlg_.findChild<CCheckReportDlg*>();
    ASSERT_TRUE(report);
    EXPECT_EQ(report->findChild<QLabel*>("2303")->text(), Q("建议：第 9 行半径 250 改为 -250。"));
    Shot(report, "check.png");
}

// The heights the README walks: the tables beside the road, the dialog's
// vertical curve table and drawing, the elevations of the stakes.
TEST_F(Walkthrough, TheSampleRoadsHeights) {
    CopyExamples({"demo.vxz", "demo.vxh"});
    Open("demo.vxa");
    EXPECT_EQ(Get<QLabel>(2012)->text(), Q(Format(text::kHeightsLine, "demo.vxz", "demo.vxh")));
    Click(2006, ModalScript().Dialog([](QWidget* w) {
        auto* dlg = qobject_cast<CProfileDlg*>(w);
        ASSERT_TRUE(dlg);
        dlg->findChild<QAbstractButton*>("2411")->click();
        EXPECT_EQ(dlg->Curves()->rowCount(), 5);
        Shot(dlg, "profile.png");
        dlg->reject();
    }));
    Set({{1014, "400"}, {1015, "500"}, {1016, "100"}, {1017, "7.5"}});
    Click(1018);
    ASSERT_EQ(Results().size(), 3u);
    EXPECT_EQ(Result(0), "桩号        X坐标         Y坐标      切线方位角  说明     设计高程    ");
    EXPECT_EQ(Result(1), "400.000     3805235.387   500322.853  56.2843   缓曲段    127.725     ");
    EXPECT_EQ(Result(2), "500.000     3805283.061   500409.229  65.5208   圆曲段    129.259     ");
}

// 检核 on the crew's measurement of the README's round trip.
TEST_F(Walkthrough, TheCrewsMeasurementChecked) {
    CopyExamples({"demo.vxz", "demo.vxh", "demo-measured.dat"});
    Open("demo.vxa");
    Click(2007);
    auto* inspect = dlg_.findChild<CInspectDlg*>("2500");
    ASSERT_TRUE(inspect);
    Click(2501, ModalScript().File(QPath("demo-measured.dat")), inspect);
    EXPECT_EQ(inspect->findChild<QLabel*>("2510")->text(),
              Q("点数 5，合格 3，超限 2；Δ 最大 0.025，均方根 0.012；ΔH 最大 0.014，均方根 0.006"));
    inspect->resize(760, 290);
    Shot(inspect, "inspect.png");
    // The points on the road, K0+400 selected: the view zoomed to them.
    Click(2508, {}, inspect);
    auto* plan = dlg_.findChild<CPlanView*>("2100");
    ASSERT_TRUE(plan);
    plan->resize(760, 460);
    QApplication::processEvents();
    const ViewTransform& fit = plan->Canvas()->View();
    plan->Canvas()->SetView(ViewTransform(fit.Width(), fit.Height(), CPlanePoint(3805270, 500420), 1.6));
    inspect->Table()->selectRow(0);
    Shot(plan, "inspect-plan.png");
}
