// 检查: the report beside the window, its selection, its file, and the
// marks in the control list that last until the data change.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QTableWidget>

#include "DlgFixture.h"
#include "ui/tools/CheckReportDlg.h"

class CheckDlg : public DlgTest {
protected:
    CCheckReportDlg* Report() { return dlg_.findChild<CCheckReportDlg*>(); }
    QLabel* CheckLine() { return dlg_.findChild<QLabel*>("2010"); }
};

TEST_F(CheckDlg, ACleanRoadSaysSoInOneLineAndTooFewRowsAreRefused) {
    CopyExamples({"demo.vxa"});
    Open("demo.vxa");
    std::vector<SeenModal> seen = Click(2001, ModalScript().Box(QMessageBox::Ok));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, Q("控制数据检查无误：12 行，闭合差都不超过 5 毫米，折角都不超过 20″。"));
    EXPECT_FALSE(Report());
    EXPECT_TRUE(dlg_.Control()->m_listControl->Marked().empty());
    EXPECT_EQ(CheckLine()->text(), Q("检查通过"));  // kept under the list without asking

    OpenRows({{"0", "直线", "∞", "0", "0"}});
    EXPECT_EQ(Warnings(2001), Q(text::kCheckTooFew));
    EXPECT_EQ(CheckLine()->text(), "");
}

TEST_F(CheckDlg, TheReportListsFlaggedRowsFirstSelectsTheirRowAndIsSavedAsText) {
    OpenFaulty();
    Click(2001);  // no box: the report opens beside the window
    CCheckReportDlg* report = Report();
    ASSERT_TRUE(report);
    EXPECT_TRUE(report->isVisible());
    QTableWidget* table = report->Table();
    ASSERT_EQ(table->rowCount(), 11);
    EXPECT_EQ(table->item(0, 0)->text(), "*9");
    EXPECT_EQ(table->item(1, 0)->text(), "*10");
    EXPECT_EQ(table->item(2, 0)->text(), "1");
    EXPECT_EQ(table->item(1, 3)->text(), Q("缓和曲线"));
    EXPECT_TRUE(table->item(1, 7)->text().contains(Q("缓和曲线起点半径与前一线元不符")));
    EXPECT_EQ(report->findChild<QLabel*>("2303")->text(), Q("建议：第 9 行半径 250 改为 -250。"));
    EXPECT_EQ(dlg_.Control()->m_listControl->Marked(), (std::vector<int>{9, 10}));

    table->selectRow(1);  // row 10: selected in the control list, its fields ready to mend
    EXPECT_EQ(dlg_.Control()->m_listControl->Selection(), 10);
    EXPECT_EQ(Edit(1001)->text(), "1720");

    Click(2302, ModalScript().File(QPath("check")), report);
    const std::string saved = ReadBytes("check.txt");
    EXPECT_EQ(GbkToUtf8(saved.substr(0, saved.find("\r\n"))),
              "控制数据检查：12 行，2 行有问题：第 9、10 行（闭合差限 5 毫米，折角限 20″）。");
    EXPECT_NE(GbkToUtf8(saved).find("\r\n建议：第 9 行半径 250 改为 -250。\r\n"), std::string::npos);

    // Mended and added again: the marks go, and the report, which told of
    // other data, closes.
    table->selectRow(0);  // row 9
    dlg_.Control()->m_comboRadius->setCurrentText("-250");
    Click(1008, ModalScript().Box(QMessageBox::Yes));  // replaces the row with the same station
    QApplication::processEvents();
    EXPECT_TRUE(dlg_.Control()->m_listControl->Marked().empty());
    EXPECT_FALSE(Report());
    Click(2001, ModalScript().Box(QMessageBox::Ok));  // now clean
    EXPECT_EQ(CheckLine()->text(), Q("检查通过"));
}

TEST_F(CheckDlg, TheCheckLineFollowsTheRowsAndARunOnFlaggedRowsRepeatsItWithoutAsking) {
    OpenFaulty();
    EXPECT_EQ(CheckLine()->text(), Q("检查：第 9、10 行有问题"));
    QLabel* inResults = dlg_.findChild<QLabel*>("2011");
    Set({{1014, "0"}, {1015, "2120"}, {1016, "20"}});
    EXPECT_TRUE(Click(1018).empty());  // the run goes ahead: no question box
    EXPECT_EQ(Edit(1023)->text(), "107");
    EXPECT_FALSE(inResults->isHidden());
    EXPECT_EQ(inResults->text(), Q("检查：第 9、10 行有问题"));

    dlg_.Control()->m_listControl->Select(9);  // the mend of the report's suggestion, typed in
    dlg_.OnSelchangeControlList();
    dlg_.Control()->m_comboRadius->setCurrentText("-250");
    Click(1008, ModalScript().Box(QMessageBox::Yes));
    EXPECT_EQ(CheckLine()->text(), Q("检查通过"));
    Click(1018);
    EXPECT_TRUE(inResults->isHidden());
}
