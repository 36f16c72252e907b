#include "DlgFixture.h"
#include "core/files/PointFile.h"
#include "core/text/TextFields.h"
#include "ui/tools/StationSetupDlg.h"

const std::string kA = "A       1.000       2.000     ", kB = "B       3.000       4.000     ";

class StationSetupDlgTest : public DlgTest {
protected:
    void Browse(CStationSetupDlg& dlg, const char* name, const std::string& bytes) {
        WriteBytes(name, bytes);
        Click(1045, ModalScript().File(QPath(name)), &dlg);
    }
    static std::vector<std::string> Lines(CStationSetupDlg& dlg) { return dlg.m_listPoints->LineModel()->Lines(); }
};

TEST_F(StationSetupDlgTest, ATypedNameOpensItsFileAMissingOneIsCreatedAndExitKeepsItEmpty) {
    CStationSetupDlg dlg("", 0, 0, "", 0, 0);
    WriteBytes("p.vxp", kA);  // the p.vxp that is there, not a new one
    Click(1045, ModalScript().File(QPath("p")), &dlg);
    EXPECT_EQ(Lines(dlg), (std::vector<std::string>{PointHeader(), kA}));
    for (const char* typed : {"q.vxp", "Q2.VXP"}) {  // typed with the extension: not given it twice
        Click(1045, ModalScript().File(QPath(typed)).Box(QMessageBox::Ok), &dlg);
        EXPECT_TRUE(fs::exists(PathOf(typed)) && !fs::exists(PathOf(std::string(typed) + ".vxp"))) << typed;
        EXPECT_EQ(Edit(1044, &dlg)->text(), typed);
    }
    EXPECT_EQ(Click(1045, ModalScript().File(QPath("new")).Box(QMessageBox::Ok), &dlg).at(1).text, Q(text::kAskCreate));
    EXPECT_EQ(Edit(1044, &dlg)->text(), "new.vxp");
    Click(1047, {}, &dlg);
    Click(2, {}, &dlg);
    EXPECT_EQ(ReadBytes("new.vxp"), "");
}

TEST_F(StationSetupDlgTest, PointsPickedFromARepairedFileAndTheFileRewrittenOnOk) {
    CStationSetupDlg dlg(Gbk("测站"), 1, 2, "old", 3, 4);
    EXPECT_EQ(Edit(1032, &dlg)->text(), Q("测站"));
    Browse(dlg, "p.vxp", kA + "\r\r\n" + kB + "\r\r\nshort");
    dlg.m_listPoints->Select(3);
    EXPECT_EQ(Click(1048, ModalScript().Box(QMessageBox::Ok), &dlg).at(0).text, Q(text::kInvalidPoint));
    dlg.m_listPoints->Select(1), Click(1048, {}, &dlg);
    dlg.m_listPoints->Select(2), Click(1049, {}, &dlg);
    Edit(1034, &dlg)->setText("2.5");
    Click(1, {}, &dlg);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_strStationName + dlg.m_strBacksightName, "AB");
    EXPECT_EQ(dlg.m_dStationY, 2.5);
    EXPECT_EQ(dlg.m_dBacksightX, 3);
    EXPECT_EQ(ReadBytes("p.vxp"), PointHeader() + "\r\n" + kA + "\r\n" + kB + "\r\nshort\r\n");
}

TEST_F(StationSetupDlgTest, OkRefusesTheSamePointAddRefusesWhatDoesNotFitAFailedWriteKeepsTheDialog) {
    for (auto [name, x] : {std::pair{"B", 5.0}, {"A", 1.0}}) {  // the backsight is B at 1, 2
        CStationSetupDlg dlg(name, x, 2, "B", 1, 2);
        EXPECT_EQ(Click(1, ModalScript().Box(QMessageBox::Ok), &dlg).at(0).text, Q(text::kSamePoints));
        EXPECT_NE(dlg.result(), QDialog::Accepted);
    }
    {  // 1e308 in a point file is no coordinate: named, and the dialog stays
        CStationSetupDlg far("", 0, 0, "B", 1, 2);
        Browse(far, "far.vxp", PointHeader() + "\r\nD9      1e308       0         \r\n");
        far.m_listPoints->Select(1), Click(1048, {}, &far);
        const std::string named = Format(text::kPointNotACoordinate, "D9");
        EXPECT_EQ(Click(1, ModalScript().Box(QMessageBox::Ok), &far).at(0).text, Q(named));
        EXPECT_NE(far.result(), QDialog::Accepted);
    }
    CStationSetupDlg dlg("A", 0, 1000000, "B", 1, 2);
    Browse(dlg, "p.vxp", PointHeader() + "\r\n");
    EXPECT_EQ(Click(1047, ModalScript().Box(QMessageBox::Ok), &dlg).at(0).text, Q(text::kPointTooWide));
    Edit(1034, &dlg)->setText("0");
    Edit(1032, &dlg)->setText(Q("测站点名字"));  // 10 bytes in GBK
    Click(1047, ModalScript().Box(QMessageBox::Ok), &dlg);
    EXPECT_EQ(Lines(dlg).size(), 1u);
    Edit(1032, &dlg)->setText("A");
    Click(1047, {}, &dlg);
    fs::remove_all(dir_);  // nowhere left to write
    const QString shown = Click(1, ModalScript().Box(QMessageBox::Ok), &dlg).at(0).text;
    EXPECT_TRUE(shown.startsWith(Q("无法写入文件"))) << shown.toStdString();
    EXPECT_NE(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(Lines(dlg).size(), 2u);
}

TEST_F(StationSetupDlgTest, DeleteMovesTheSelectionAndIgnoresTheHeader) {
    CStationSetupDlg dlg("", 0, 0, "", 0, 0);
    Browse(dlg, "p.vxp", PointHeader() + "\r\n" + kA + "\r\n" + kB + "\r\n" + kA + "\r\n");
    dlg.m_listPoints->Select(2);
    Click(1050, ModalScript().Box(QMessageBox::Cancel), &dlg);
    Click(1050, ModalScript().Box(QMessageBox::Ok), &dlg);
    EXPECT_EQ(Lines(dlg), (std::vector<std::string>{PointHeader(), kA, kA}));
    EXPECT_EQ(dlg.m_listPoints->Selection(), 2);  // the next item, though the same text stands at 1
    Click(1050, ModalScript().Box(QMessageBox::Ok), &dlg);
    EXPECT_EQ(dlg.m_listPoints->Selection(), -1);
    Click(1050, {}, &dlg);  // nothing selected
    dlg.m_listPoints->Select(0), Click(1050, {}, &dlg);  // the header
    EXPECT_EQ(Lines(dlg).size(), 2u);
}

TEST_F(StationSetupDlgTest, BrowseAddsPointsFromDatAndCsvAndNoneFromAFileWithABadLine) {
    CStationSetupDlg dlg("", 0, 0, "", 0, 0);
    Browse(dlg, "p.vxp", PointHeader() + "\r\n" + kA + "\r\n");
    WriteBytes("field.dat", "K1,,500123.4567,3805000.1,12.5\r\n");
    Click(1045, ModalScript().File(QPath("field.dat"), 2), &dlg);
    WriteBytes("sheet.csv", "name,X,Y\r\nB,3,4\r\n");
    Click(1045, ModalScript().File(QPath("sheet.csv"), 3), &dlg);
    EXPECT_EQ(Lines(dlg), (std::vector<std::string>{PointHeader(), kA, "K1      3805000.100 500123.457", kB}));
    EXPECT_EQ(Edit(1044, &dlg)->text(), "p.vxp");  // the point file stays the one chosen
    WriteBytes("bad.csv", "C,5,6\r\nD,7\r\n");
    const QString shown = Click(1045, ModalScript().File(QPath("bad.csv"), 3).Box(QMessageBox::Ok), &dlg).at(1).text;
    EXPECT_EQ(shown, Q("bad.csv\n第2行：应有3个用逗号分隔的字段"));
    EXPECT_EQ(Lines(dlg).size(), 4u);
    Click(1, ModalScript().Box(QMessageBox::Ok), &dlg);  // both points still empty: refused, nothing written
    dlg.m_listPoints->Select(1), Click(1048, {}, &dlg);
    dlg.m_listPoints->Select(2), Click(1049, {}, &dlg);
    Click(1, {}, &dlg);
    EXPECT_EQ(ReadBytes("p.vxp"), PointHeader() + "\r\n" + kA + "\r\nK1      3805000.100 500123.457\r\n" + kB + "\r\n");
}
