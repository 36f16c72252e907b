// 检核 in the window: the sample crew's measurement of the demo road loaded,
// judged, saved and shown in the plan view; the figures follow the road.
#include "DlgFixture.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QTableView>

#include "core/files/InspectReport.h"
#include "core/text/TextFields.h"
#include "ui/tools/InspectDlg.h"
#include "ui/plan/PlanCanvas.h"
#include "ui/plan/PlanView.h"

namespace {

class InspectDlgTest : public DlgTest {
protected:
    void SetUp() override {
        DlgTest::SetUp();
        CopyExamples({"demo.vxa", "demo.vxz", "demo.vxh", "demo-measured.dat"});
    }
    CInspectDlg* Dlg() {
        Click(2007);
        auto* dlg = dlg_.findChild<CInspectDlg*>("2500");
        EXPECT_TRUE(dlg && dlg->isVisible());
        return dlg;
    }
    void Load(const std::string& name) { Click(2501, ModalScript().File(QPath(name)), Dlg()); }
    int Rows() { return Dlg()->Table()->model()->rowCount(); }
    QString Cell(int row, int column) { return Dlg()->Table()->model()->index(row, column).data().toString(); }
    QString Summary() { return Get<QLabel>(2510, Dlg())->text(); }
};

// The README's round trip: K0+400 25 mm east and K0+600 14 mm high are out.
TEST_F(InspectDlgTest, TheCrewsMeasurementOutRowsFirstAndTolerancesJudge) {
    Open("demo.vxa");
    Load("demo-measured.dat");
    QStringList shown;
    for (int row = 0; row < Rows(); ++row) shown << Cell(row, 0).left(6) + Cell(row, 11);
    EXPECT_EQ(shown.join(' '), Q("K0+400超限 K0+600超限 K0+300合格 K0+500合格 K0+700合格"));
    auto red = [this](int row) { return Dlg()->Table()->model()->index(row, 3).data(Qt::ForegroundRole).isValid(); };
    EXPECT_TRUE(red(1) && !red(2));
    EXPECT_EQ(Summary(), Q("点数 5，合格 3，超限 2；Δ 最大 0.025，均方根 0.012；ΔH 最大 0.014，均方根 0.006"));

    const struct {
        int id;     // a control changed
        double mm;  // a spin box's value, or < 0: toggle the check box
        const char* summary;
    } steps[] = {
        {2503, -1, "点数 5，合格 4，超限 1"},  // plan off: only the height is out
        {2506, 14, "点数 5，合格 5，超限 0"},  // 14 mm high is within 14 mm
        {2503, -1, "点数 5，合格 4，超限 1"},  // plan on again: 25 mm
        {2504, 24.9, "点数 5，合格 4，超限 1"},
        {2504, 25, "点数 5，合格 5，超限 0"},
    };
    for (const auto& s : steps) {
        if (s.mm < 0) Get<QCheckBox>(s.id, Dlg())->click();
        else Get<QDoubleSpinBox>(s.id, Dlg())->setValue(s.mm);
        EXPECT_TRUE(Summary().startsWith(Q(s.summary))) << s.id << " " << Summary().toStdString();
    }
}

TEST_F(InspectDlgTest, SavedAsTextOrCsvAsTheCommandLineWritesThem) {
    Open("demo.vxa");
    Load("demo-measured.dat");
    Click(2507, ModalScript().File(QPath("report.txt"), 1), Dlg());
    Click(2507, ModalScript().File(QPath("report.csv"), 2), Dlg());
    Click(2507, ModalScript().File(QPath("typed.csv"), 1), Dlg());  // the typed extension picks the type
    const std::string text = GbkToUtf8(ReadBytes("report.txt"));
    // The file keeps the file's order, each line as the README shows it.
    const char* lines[] = {
        "K0+300.000R7.5  K0+300.000    7.500     0.000    0.000    0.000    0.000    0.000    125.850    125.850    "
        "0.000    合格\r\nK0+400.000R7.5  K0+400.000    7.500     0.000    0.025    0.025    0.021    0.013    "
        "127.725    127.725    0.000    超限\r\n",
        "\r\n点数 5，合格 3，超限 2；Δ 最大 0.025，均方根 0.012；ΔH 最大 0.014，均方根 0.006\r\n",
    };
    for (const char* line : lines) EXPECT_NE(text.find(line), std::string::npos) << text;
    const std::string csv = ReadBytes("report.csv");
    EXPECT_EQ(csv, InspectCsv(Dlg()->Shown(), Tolerances()));
    EXPECT_EQ(csv.find("\xEF\xBB\xBF限差"), 0u);
    EXPECT_NE(csv.find("\r\nK0+600.000R7.5,K0+600.000,7.500,0.000,0.000,0.000,0.000,0.000,129.584,129.598,0.014,"),
              std::string::npos);
    EXPECT_EQ(ReadBytes("typed.csv"), csv);
}

TEST_F(InspectDlgTest, ARefusedFileOrNoRoadLeavesTheTableAsItWas) {
    // No road yet: refused before any file is chosen.
    ModalScript noRoad;
    noRoad.Box(QMessageBox::Ok);
    Click(2501, noRoad, Dlg());
    EXPECT_EQ(noRoad.Seen().at(0).text, Q(text::kNoControl));

    Open("demo.vxa");
    Load("demo-measured.dat");
    WriteBytes("bad.dat", "A,,500242.572,3805176.678,125.850\r\nB,,500322.853,3805235.387,12x\r\n");
    ModalScript refused;
    refused.File(QPath("bad.dat")).Box(QMessageBox::Ok);
    Click(2501, refused, Dlg());
    ASSERT_EQ(refused.Seen().size(), 2u);
    EXPECT_EQ(refused.Seen()[1].text, Q(Format(text::kInspectRefused, "bad.dat", "第2行：高程不是数字")));
    EXPECT_EQ(Rows(), 5);
    EXPECT_EQ(Get<QLabel>(2502, Dlg())->text(), Q("测量文件：demo-measured.dat"));
}

// The figures are always the window's road: rows gone empty the table, and
// stakes exported without a profile (heights 0.000) are judged in plan only.
TEST_F(InspectDlgTest, TheFiguresFollowTheRoadAndZeroHeightsAreNotJudged) {
    Open("demo.vxa");
    Load("demo-measured.dat");
    dlg_.Document().SetLines({ControlHeaderLine()}), dlg_.Document().SetSaved(true);
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(Summary(), Q(text::kNoControl));
    fs::copy_file(dir_ / "demo.vxa", dir_ / "flat.vxa");  // the same road without height tables
    Open("flat.vxa");
    EXPECT_TRUE(Summary().startsWith(Q("点数 5，合格 4，超限 1"))) << Summary().toStdString();  // K0+400 alone
    EXPECT_EQ(Cell(0, 8), "");  // no design height: not the last road's
    Open("demo.vxa");
    EXPECT_EQ(Rows(), 5);
    EXPECT_TRUE(Summary().startsWith(Q("点数 5，合格 3，超限 2")));

    WriteBytes("plain.dat", "K0+300.000R7.5,,500242.572,3805176.678,0.000\r\n"
                            "K0+400.000R7.5,,500322.878,3805235.387,0.000\r\n");
    Load("plain.dat");
    EXPECT_TRUE(Summary().startsWith(Q("点数 2，合格 1，超限 1；Δ 最大 0.025"))) << Summary().toStdString();
    EXPECT_TRUE(Summary().endsWith(Q("ΔH 最大 —，均方根 —\n") + Q(text::kInspectZeroHeights)));
    EXPECT_EQ(Cell(1, 8), "125.850");  // the design height stays
    EXPECT_EQ(Cell(1, 9), "");         // no measured height
}

// A row selects its point in the plan view, which comes to it when it is out of sight.
TEST_F(InspectDlgTest, ARowSelectsItsPointInThePlanView) {
    Open("demo.vxa");
    Load("demo-measured.dat");
    Click(2508, {}, Dlg());
    auto* view = dlg_.findChild<CPlanView*>("2100");
    ASSERT_TRUE(view && view->isVisible());
    view->resize(900, 620);
    QApplication::processEvents();
    CPlanCanvas* canvas = view->Canvas();
    auto colourAt = [canvas](CPlanePoint p, double du) {
        const ScreenPoint s = canvas->View().ToScreen(p);
        return canvas->Picture().pixelColor(int(s.u + du), int(s.v)).rgb() & 0xffffff;
    };
    const CPlanePoint k300(3805176.678, 500242.572), k400(3805235.387, 500322.878);
    EXPECT_EQ(colourAt(k300, 0), plan::MarkColours::kIn);
    EXPECT_EQ(colourAt(k400, 0), plan::MarkColours::kOut);
    EXPECT_NE(colourAt(k400, 10), plan::MarkColours::kSelected);

    Dlg()->Table()->selectRow(0);  // K0+400, the file's second point
    EXPECT_EQ(Dlg()->SelectedMark(), 1);
    EXPECT_EQ(colourAt(k400, 10), plan::MarkColours::kSelected);  // ringed

    const ViewTransform& now = canvas->View();
    canvas->SetView(ViewTransform(now.Width(), now.Height(), CPlanePoint(3806000, 502000), now.Scale() * 20));
    Dlg()->Table()->selectRow(1);  // K0+600
    EXPECT_TRUE(plan::InView(canvas->View(), CPlanePoint(3805315.753, 500502.289), 20));
    EXPECT_EQ(canvas->View().Scale(), now.Scale());  // the zoom kept

    Dlg()->close();  // the points go with the dialog
    EXPECT_NE(colourAt(k400, 0), plan::MarkColours::kOut);
}

}  // namespace
