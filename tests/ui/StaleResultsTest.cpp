// Results are one road's: once the control data change they are marked
// stale in the window and greyed in the plan, printing and saving them asks
// first, and what prints or saves them names the road they came from.
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "DlgFixture.h"
#include "core/text/TextFields.h"
#include "ui/plan/PlanCanvas.h"
#include "ui/plan/PlanPainter.h"

namespace {

// Pixels of the picture of exactly the colour (stakes are drawn without smoothing).
int Pixels(const QImage& image, unsigned rgb) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) & 0xffffff) == rgb;
    return n;
}

}  // namespace

class StaleResultsTest : public DlgTest {
protected:
    void SetUp() override {
        DlgTest::SetUp();
        CopyExamples({"demo.vxa", "demo.vxp"});
        WriteRows("other.vxa", {{"0", "直线", "∞", "0", "0"}, {"100", "终点", "∞", "0", "100"}});
    }
    // The sample road's stakes every 20 m, 7.5 m to the right.
    void Compute() {
        Open("demo.vxa");
        Set({{1014, "0"}, {1015, "2120"}, {1016, "20"}, {1017, "7.5"}, {1024, "90"}});
        Click(1018);
        ASSERT_EQ(Edit(1023)->text(), "107");
    }
    bool MarkedStale() { return !Get<QLabel>(1028)->isHidden(); }
    QImage Plan() {
        auto* canvas = dlg_.findChild<CPlanCanvas*>();
        canvas->Fit();
        return canvas->Picture();
    }
};

TEST_F(StaleResultsTest, AChangeOfTheControlDataMarksTheResultsAndPrintAndSaveAskFirst) {
    Compute();
    EXPECT_FALSE(MarkedStale());
    EXPECT_EQ(Get<QLabel>(1028)->text(), Q(text::kResultsStale));
    Click(2002);
    EXPECT_GT(Pixels(Plan(), plan::PlanColours::kSideStake), 100);
    EXPECT_EQ(Pixels(Plan(), plan::PlanColours::kStale), 0);

    // Another road opened (which changes make them stale is DocumentTest's):
    // what prints or saves them still names the road they came from.
    Open("other.vxa");
    EXPECT_TRUE(MarkedStale());
    const QImage greyed = Plan();
    EXPECT_EQ(Pixels(greyed, plan::PlanColours::kSideStake), 0);
    EXPECT_GE(Pixels(greyed, plan::PlanColours::kStale), 16);  // one 4-pixel mark at least
    // No to either question: nothing printed, nothing saved, nothing else asked.
    EXPECT_EQ(Click(2003, ModalScript().Box(QMessageBox::No)).at(0).text, Q(Format(text::kAskPrintStale, "demo.vxa")));
    EXPECT_EQ(Click(1019, ModalScript().Box(QMessageBox::No)).at(0).text, Q(Format(text::kAskSaveStale, "demo.vxa")));
    EXPECT_EQ(Edit(1023)->text(), "107");
    EXPECT_FALSE(dlg_.Document().ResultsSaved());
    // Yes: the sheet and the report name the road the stakes came from.
    QString printed;
    Click(2003, ModalScript().Box(QMessageBox::Yes).Dialog([&](QWidget* w) {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(w);
        ASSERT_TRUE(preview);
        printed = preview->printer()->docName();
        preview->reject();
    }));
    EXPECT_EQ(printed, "demo.vxa");
    Click(1019, ModalScript().Box(QMessageBox::Yes).File(QPath("old.txt")));
    const std::string report = GbkToUtf8(ReadBytes("old.txt"));
    EXPECT_NE(report.find("秒  定线文件：demo.vxa\r\n"), std::string::npos);
}

// 加桩 after the road changed: the list holds one road's stakes, so the
// other road's go first, as a run would let them go.
TEST_F(StaleResultsTest, AStakeAddedToAnotherRoadsResultsStartsTheListAfresh) {
    Compute();
    Set({{1020, "1234.5"}});
    Click(1021);
    EXPECT_EQ(Edit(1023)->text(), "108");  // the same road: appended
    Open("other.vxa");
    Set({{1020, "50"}, {1017, "0"}});
    Click(1021);
    EXPECT_EQ(Results(), GbkLines({text::kCoordinatesHeader, "50.000      0.000         50.000      90.0000   直线段    "}));
    EXPECT_EQ(Edit(1023)->text(), "1");
    EXPECT_FALSE(MarkedStale());
}
