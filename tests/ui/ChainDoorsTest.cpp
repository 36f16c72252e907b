// Station equations at the window's other doors: the plan view's labels and
// read-out and the sheet's range speak 桩号 on examples/chain.vxa with
// chain.vxd. On this road K0+320 lies 300 m along (the 短链 at K0+150 skips
// 20 m), K0+365(2) 355 m (the 长链 at K0+370 = K0+360 repeats 10 m) and
// K0+600 544.5 m (the 短链 at K0+510 skips 45.5 m more).
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include "DlgFixture.h"
#include "core/road/Chainage.h"
#include "ui/plan/PlanCanvas.h"
#include "ui/plan/PlanPainter.h"
#include "ui/plan/PlanView.h"
#include "ui/plan/SettingOutSheet.h"

namespace {

class ChainDoorsTest : public DlgTest {
protected:
    void SetUp() override { DlgTest::SetUp(), CopyExamples({"chain.vxa", "chain.vxd"}); }
    // The labels the scene sets in a picture 4 pixels a metre round the point.
    QStringList LabelsAround(CPlanePoint at) {
        const Alignment road = dlg_.Document().Road();
        QImage image(1200, 900, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QStringList texts;
        for (const plan::PlacedLabel& l :
             plan::PaintScene(painter, plan::PlanScene{&road, &dlg_.Document().Results(), nullptr, {}}, ViewTransform(1200, 900, at, 4)))
            texts << l.text;
        return texts;
    }
};

}  // namespace

TEST_F(ChainDoorsTest, ThePlanLabelsAndReadOutNameStationsWithTheirOccurrence) {
    Open("chain.vxa");
    Set({{1017, "0"}});
    for (const char* station : {"K0+365(2)", "K0+600"}) Set({{1020, station}}), Click(1021);
    ASSERT_EQ(dlg_.Document().Results().rows.size(), 2u);
    const CPlanePoint inLongChain = dlg_.Document().Results().rows[0].point, past = dlg_.Document().Results().rows[1].point;
    const QStringList near = LabelsAround(inLongChain);
    EXPECT_TRUE(near.contains("K0+365.000(2)")) << near.join('|').toStdString();
    EXPECT_TRUE(near.contains(Q("K0+320.000 缓和曲线"))) << near.join('|').toStdString();  // the change point 300 m along
    EXPECT_TRUE(LabelsAround(past).contains("K0+600.000"));

    Click(2002);
    auto* view = dlg_.findChild<CPlanView*>("2100");
    ASSERT_TRUE(view);
    CPlanCanvas* canvas = view->Canvas();
    canvas->SetView(ViewTransform(canvas->width(), canvas->height(), inLongChain, 2));
    const QPointF middle(canvas->width() / 2.0, canvas->height() / 2.0);
    QMouseEvent move(QEvent::MouseMove, middle, canvas->mapToGlobal(middle), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(canvas, &move);
    EXPECT_TRUE(Get<QLabel>(2104, view)->text().contains(Q("Y 500281.873  K0+365.000(2)  ")))
        << Get<QLabel>(2104, view)->text().toStdString();
}

// The sheet's range as typed; the rows already carry their 桩号.
TEST_F(ChainDoorsTest, TheSheetGivesTheRunsRangeAsStations) {
    Open("chain.vxa");
    Set({{1014, "K0+300"}, {1015, "K0+365(2)"}, {1016, "50"}, {1017, "0"}});
    Click(1018);
    const Alignment road = dlg_.Document().ResultsRoad();
    const ResultSet& results = dlg_.Document().Results();
    plan::SheetHeader header{"chain.vxa", true, results.range->dFrom, results.range->dTo, 50, 0, "90.0000", "", ""};
    const plan::SheetPage page = plan::SettingOutSheet(plan::PlanScene{&road, &results, nullptr, {}}, header).Page(0);
    EXPECT_TRUE(page.header.contains(Q("桩号 300.000 至 365.000(2)，间距 50.000 米，偏距 0.000 米，偏向角 90.0000")))
        << page.header.join('\n').toStdString();
    EXPECT_EQ(page.columns.value(0), Q("桩号"));
}
