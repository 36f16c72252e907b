// 横断面 in the window: the demo road's template and widening edited in
// place, saved beside the road and undone; the drawing's labels kept apart.
#include "DlgFixture.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QListWidget>
#include <QTableWidget>

#include "core/text/TextFields.h"
#include "ui/section/SectionDlg.h"
#include "ui/section/SectionView.h"
#include "ui/toolkit/SheetPainter.h"

using vexaline::Format;

namespace {

class SectionDlgTest : public DlgTest {
protected:
    void SetUp() override {
        DlgTest::SetUp();
        CopyExamples({"demo.vxa", "demo.vxz", "demo.vxh", "demo.vxt", "demo.vxw"});
        Open("demo.vxa");
    }
    CSectionDlg* Dlg() {
        Click(2009);
        auto* dlg = dlg_.findChild<CSectionDlg*>("2600");
        EXPECT_TRUE(dlg && dlg->isVisible());
        return dlg;
    }
    void Type(int row, int column, const char* text) { Dlg()->Template()->item(row, column)->setText(Q(text)); }
    QString Message() { return Get<QLabel>(2612, Dlg())->text(); }
};

// The figures of the README at 1000: the left carriageway's edge 7.5 m out at 124.010.
TEST_F(SectionDlgTest, AnEditGoesIntoTheRoadIsSavedBesideItAndUndone) {
    CSectionDlg* dlg = Dlg();
    ASSERT_EQ(dlg->Template()->rowCount(), 10);
    EXPECT_EQ(dlg->Widening()->item(1, 1)->text(), "0.8");
    Set({{2608, "1000"}, {2609, "1020"}, {2610, "20"}}, dlg);
    Click(2611, {}, dlg);
    ASSERT_EQ(dlg->Stations()->count(), 2);
    EXPECT_EQ(dlg->Stations()->item(1)->text(), "K1+020.000");
    const SectionPoint& edge = dlg->Sections()[0].points[0];
    EXPECT_EQ(edge.strName, "行车道");
    EXPECT_DOUBLE_EQ(edge.dOffset, -7.5);
    EXPECT_NEAR(*edge.elevation, 124.010, 0.0005);
    Shot(dlg, "section.png");

    const std::string before = ReadBytes("demo.vxt"), widening = ReadBytes("demo.vxw");
    Type(0, 2, "abc");  // refused: named, and the road keeps its template
    EXPECT_TRUE(Message().contains(Q("第1行"))) << Message().toStdString();
    EXPECT_EQ(dlg_.Document().TemplateRows()[0].strWidth, "7.5");
    EXPECT_TRUE(dlg_.Document().Saved());
    Type(0, 2, "8");
    EXPECT_EQ(Message(), "");
    EXPECT_FALSE(dlg_.Document().Saved());
    EXPECT_DOUBLE_EQ(dlg->Sections()[0].points[0].dOffset, -8);
    Click(1011);  // 保存: the template beside the road, the other tables as they were
    std::string expected = before;
    expected.replace(expected.find("7.5"), 3, "8");
    EXPECT_EQ(ReadBytes("demo.vxt"), expected);
    EXPECT_EQ(ReadBytes("demo.vxw"), widening);
    dlg_.OnUndoControl();
    EXPECT_EQ(dlg->Template()->item(0, 2)->text(), "7.5");
    Click(1, ModalScript().Box(QMessageBox::No).File(QPath("demo.vxa")));  // the undone edit dropped
    EXPECT_EQ(dlg->Template()->item(0, 2)->text(), "8");  // as the file holds it
}

// A 路拱 row on a road with heights but no cross-slope table would take 0 %:
// no sections, and the reason. An export that cannot be written is told.
TEST_F(SectionDlgTest, ACrownWithoutCrossSlopesIsRefusedAndAFailedExportTold) {
    CSectionDlg* dlg = Dlg();
    Click(2607, ModalScript().File(QPath("missing/points.txt")).Box(QMessageBox::Ok), dlg);
    EXPECT_FALSE(fs::exists(dir_ / "missing"));
    for (const char* ext : {"vxa", "vxz", "vxt"})
        fs::copy_file(dir_ / (std::string("demo.") + ext), dir_ / (std::string("flat.") + ext));
    Open("flat.vxa");
    EXPECT_TRUE(Message().startsWith(Q("横断面模板第1行的横坡为“路拱”"))) << Message().toStdString();
    EXPECT_EQ(dlg->Stations()->count(), 0);
    EXPECT_TRUE(dlg->Sections().empty());
    // Nothing listed, nothing to draw: 打印 and 存横断面图 say so.
    for (int id : {2617, 2618})
        EXPECT_EQ(Click(id, ModalScript().Box(QMessageBox::Ok), dlg).at(0).text, Q(text::kSectionNothingToDraw)) << id;
}

// The README's ground at 1000 and 1020: the table gives the areas and
// volumes worked there by hand, the drawing the catch points, one A3 page
// holds both; a ground file that is refused is told and the ground kept;
// another road opened leaves it behind.
TEST_F(SectionDlgTest, TheGroundGivesTheAreasVolumesAndDrawings) {
    CopyExamples({"demo.hdm"});
    CSectionDlg* dlg = Dlg();
    Set({{2608, "1000"}, {2609, "1020"}, {2610, "20"}}, dlg);
    Click(2603, ModalScript().File(QPath("demo.hdm")), dlg);
    EXPECT_EQ(Get<QLabel>(2620, dlg)->text(), Q("地面线：demo.hdm（2 个断面）"));
    QTableWidget* t = dlg->Earthwork();
    ASSERT_EQ(t->rowCount(), 3);
    const char* cells[3][6] = {{"K1+000.000", "34.57", "16.45", "", "", ""},
                               {"K1+020.000", "213.62", "0.00", "20.000", "2481.96", "164.51"},
                               {"合计", "", "", "", "2481.96", "164.51"}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 6; ++c)
            EXPECT_EQ(t->item(r, c) ? t->item(r, c)->text() : QString(), Q(cells[r][c])) << r << "," << c;
    // The toe 15.250 m out on the left, the top of the cut 12.750 m out on the right.
    EXPECT_NEAR(dlg->Run().earth[0].left->Catch().dOffset, -15.25, 1e-9);
    EXPECT_NEAR(dlg->Run().earth[0].right->Catch().dOffset, 12.75, 1e-9);
    const std::vector<SheetDrawing> pages = dlg->SheetPages();
    ASSERT_EQ(pages.size(), 1u);
    Shot(dlg, "section-ground.png");
    // The sheet as 打印 hands it to the printer.
    QPixmap picture(platform::SheetPictureSize(pages[0]).toSize());
    QPainter(&picture).drawPicture(0, 0, platform::SheetPictures(pages)[0]);
    QLabel sheet;
    sheet.setPixmap(picture);
    sheet.resize(picture.size());
    Shot(&sheet, "section-sheet.png");
    dlg->View()->grab();
    EXPECT_EQ(dlg->View()->LabelBoxes().size(), 9u);  // the centre, six points, two catch points

    WriteBytes("bad.hdm", "BEGIN,K1+000\n-5,100\n");
    const std::vector<SeenModal> seen = Click(2603, ModalScript().File(QPath("bad.hdm")).Box(QMessageBox::Ok), dlg);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_TRUE(seen[1].text.contains(Q("只有1个点"))) << seen[1].text.toStdString();
    EXPECT_EQ(t->rowCount(), 3);
    // Sheets that cannot be written are told; ground that cannot be read or
    // makes no model is told, and the ground already held is kept.
    WriteBytes("line.csv", "A,3805353,500898,1\nB,3805363,500898,1\nC,3805373,500898,1\n");
    const struct { int id; const char* file; std::string said; } refused[] = {
        {2618, "missing/s.pdf", Format(text::kCannotWrite, PathOf("missing/s.pdf").c_str())},
        {2603, "none.hdm", Format(text::kCannotRead, PathOf("none.hdm").c_str())},
        {2603, "line.csv", PathOf("line.csv") + "：地面点不足三个，或都在一条直线上：构不成三角网!"},
    };
    for (const auto& row : refused) {
        const std::vector<SeenModal> told = Click(row.id, ModalScript().File(QPath(row.file)).Box(QMessageBox::Ok), dlg);
        ASSERT_EQ(told.size(), 2u) << row.file;
        EXPECT_EQ(told[1].text, Q(row.said)) << row.file;
    }
    EXPECT_FALSE(fs::exists(dir_ / "missing"));
    EXPECT_EQ(Get<QLabel>(2620, dlg)->text(), Q("地面线：demo.hdm（2 个断面）"));
    // Another road does not take this one's ground, named by this road's stations.
    fs::copy_file(dir_ / "demo.vxa", dir_ / "other.vxa");
    Open("other.vxa");
    EXPECT_EQ(Get<QLabel>(2620, dlg)->text(), Q("地面线：未载入"));
    EXPECT_EQ(t->rowCount(), 0);
}

// Labels of one width: kept where they stand apart; moved as little as keeps
// them apart where they crowd; inside the drawing where they fit.
TEST_F(SectionDlgTest, LabelsNeverOverlap) {
    struct Case { std::vector<double> wanted; double width, low, high; std::vector<double> placed; };
    for (const Case& c : {Case{{20, 0, 10}, 5, 0, 100, {20, 0, 10}},
                          Case{{10, 10}, 4, 0, 100, {8, 12}},           // the mean of 10 and 10 − 4
                          Case{{0, 1, 2}, 4, 0, 100, {0, 4, 8}},        // the mean −3 held at the edge
                          Case{{98, 99}, 4, 0, 100, {92, 96}},          // and at the far edge
                          Case{{0, 1, 2}, 4, 0, 6, {-3, 1, 5}}}) {      // no room: apart all the same
        EXPECT_EQ(SpreadLabels(c.wanted, c.width, c.low, c.high), c.placed);
    }
    CSectionDlg* dlg = Dlg();
    Set({{2608, "1530"}, {2609, "1530"}, {2610, "20"}}, dlg);
    Click(2611, {}, dlg);
    CSectionView* view = dlg->View();
    view->setFixedWidth(420);  // edges 0.75 m apart of each other on a narrow drawing
    view->grab();
    const std::vector<QRectF>& boxes = view->LabelBoxes();
    ASSERT_EQ(boxes.size(), 7u);  // the centre and three edges a side
    for (std::size_t i = 0; i < boxes.size(); ++i)
        for (std::size_t j = i + 1; j < boxes.size(); ++j) EXPECT_FALSE(boxes[i].intersects(boxes[j])) << i << " " << j;
}

}  // namespace
