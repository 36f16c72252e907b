// Results are one road's: once the control data change they are marked
// stale in the window and greyed in the plan, printing and saving them asks
// first, and what prints or saves them names the road they came from.
#include <QComboBox>
#include <QLabel>
#include <QTableWidget>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "DlgFixture.h"
#include "core/text/TextFields.h"
#include "ui/tools/PiDlg.h"
#include "ui/plan/PlanCanvas.h"
#include "ui/plan/PlanPainter.h"
#include "ui/toolkit/FileDialog.h"

namespace {

const char* const kXml = R"(<?xml version="1.0"?>
<LandXML xmlns="http://www.landxml.org/schema/LandXML-1.2" version="1.2"><Alignments>
 <Alignment name="east" staStart="0"><CoordGeom><Line length="100"><Start>0 0</Start><End>0 100</End></Line></CoordGeom></Alignment>
</Alignments></LandXML>)";

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
        WriteBytes("east.xml", kXml);
        WriteRows("other.vxa", {{"0", "直线", "∞", "0", "0"}, {"100", "终点", "∞", "0", "100"}});
    }
    // The sample road's stakes every 20 m, 7.5 m to the right, computed afresh.
    void Compute() {
        dlg_.Document().SetSaved(true);  // the last round's change goes without a word
        Open("demo.vxa");
        Set({{1014, "0"}, {1015, "2120"}, {1016, "20"}, {1017, "7.5"}, {1024, "90"}});
        Click(1018);
        ASSERT_EQ(Edit(1023)->text(), "107");
    }
    void Delete(int line) {
        dlg_.Control()->m_listControl->Select(line);
        dlg_.OnSelchangeControlList();  // as a click on the line would
        Click(1009, ModalScript().Box(QMessageBox::Yes));
    }
    bool MarkedStale() { return !Get<QLabel>(1028)->isHidden(); }
    QImage Plan() {
        auto* canvas = dlg_.findChild<CPlanCanvas*>();
        canvas->Fit();
        return canvas->Picture();
    }
};

TEST_F(StaleResultsTest, EveryChangeOfTheControlDataMarksTheResultsAndPrintAndSaveAskFirst) {
    Compute();
    EXPECT_FALSE(MarkedStale());
    EXPECT_EQ(Get<QLabel>(1028)->text(), Q(text::kResultsStale));
    Click(2002);
    EXPECT_GT(Pixels(Plan(), plan::PlanColours::kSideStake), 100);
    EXPECT_EQ(Pixels(Plan(), plan::PlanColours::kStale), 0);

    const std::function<void()> changes[] = {
        [&] { Open("other.vxa"); },
        [&] { Delete(3); },
        [&] {  // a row added
            Set({{1001, "2200"}, {1004, "1"}, {1005, "2"}});
            Get<QComboBox>(1013)->setEditText(Q("∞"));
            Click(1008);
        },
        [&] {  // a row changed: 添加/修改 on its station
            dlg_.Control()->m_listControl->Select(2);
            dlg_.OnSelchangeControlList();
            Set({{1004, "3805000"}}), Click(1008, ModalScript().Box(QMessageBox::Yes));
        },
        [&] { Click(1, ModalScript().File(QPath("east.xml"), 2)); },  // an imported road
        [&] {  // a road from 交点法
            Click(2004, ModalScript().Dialog([this](QWidget* w) {
                auto* pi = qobject_cast<CPiDlg*>(w);
                ASSERT_TRUE(pi);
                const char* const cells[3][3] = {{"起点", "0", "0"}, {"JD1", "100", "0"}, {"终点", "100", "100"}};
                for (int r = 0; r < 3; ++r)
                    for (int c = 0; c < 6; ++c) pi->Table()->setItem(r, c, new QTableWidgetItem(c < 3 ? Q(cells[r][c]) : ""));
                pi->Table()->item(1, 3)->setText("50");
                Click(2210, ModalScript().File(QPath("pi.vxa")), pi);
            }));
        },
    };
    int round = 0;
    for (const auto& change : changes) {
        SCOPED_TRACE(round++);
        Compute();
        change();
        EXPECT_TRUE(MarkedStale());
        const QImage greyed = Plan();
        EXPECT_EQ(Pixels(greyed, plan::PlanColours::kSideStake), 0);
        EXPECT_GE(Pixels(greyed, plan::PlanColours::kStale), 16);  // one 4-pixel mark at least
        // No to either question: nothing printed, nothing saved, nothing else asked.
        EXPECT_EQ(Click(2003, ModalScript().Box(QMessageBox::No)).at(0).text, Q(Format(text::kAskPrintStale, "demo.vxa")));
        EXPECT_EQ(Click(1019, ModalScript().Box(QMessageBox::No)).at(0).text, Q(Format(text::kAskSaveStale, "demo.vxa")));
        EXPECT_EQ(Edit(1023)->text(), "107");
        EXPECT_FALSE(dlg_.Document().ResultsSaved());
    }
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

    // A change undone is no change: the rows are the ones computed from.
    Compute();
    Delete(3);
    EXPECT_TRUE(MarkedStale());
    Click(1, ModalScript().Box(QMessageBox::No).File(QPath("demo.vxa")));  // the deletion not saved
    EXPECT_FALSE(MarkedStale());
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
