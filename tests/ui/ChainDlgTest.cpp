// Station equations in the window: the table beside the road (examples/
// chain.vxd) makes the runs, single stakes and the lookup speak 桩号 as the
// command line does; 断链 edits the table. The expected lines are those of
// `vexaline-cli stakes examples/chain.vxa --equations examples/chain.vxd
// --from 300 --to 600 --interval 50` (README).
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QTableWidget>

#include "DlgFixture.h"
#include "core/text/TextFields.h"
#include "ui/tools/ChainDlg.h"

namespace {

// From 300 to 600 every 50 m, on the centreline.
const std::vector<std::string> kRunLines = {
    "300.000     3805170.453   500222.139  52.3000   直线段",
    "350.000     3805200.841   500261.844  52.5129   缓曲段",
    "360.000(2)  3805212.836   500277.849  53.2940   断链",
    "400.000     3805236.061   500310.412  55.4322   缓曲段",
    "450.000     3805262.681   500352.723  60.0822   圆曲段",
    "500.000     3805285.741   500397.071  64.5450   圆曲段",
    "555.500     3805289.905   500406.163  65.5208   断链",
    "600.000     3805306.576   500447.411  70.0706   圆曲段",
};

class ChainDlgTest : public DlgTest {
protected:
    void OpenChain(bool withTable = true) {
        CopyExamples({"chain.vxa"});
        if (withTable) CopyExamples({"chain.vxd"});
        Open("chain.vxa");
    }
    QString HeightsLine() { return Get<QLabel>(2012)->text(); }
    // The results' lines without the header, UTF-8, trailing blanks removed.
    std::vector<std::string> Lines() {
        std::vector<std::string> out;
        const std::vector<std::string> lines = Results();
        for (std::size_t i = 1; i < lines.size(); ++i) {
            std::string line = GbkToUtf8(lines[i]);
            line.erase(line.find_last_not_of(' ') + 1);
            out.push_back(line);
        }
        return out;
    }
    void RunChain(const std::function<void(CChainDlg*)>& inside) { RunTool<CChainDlg>(2008, "2600", inside); }
};

}  // namespace

TEST_F(ChainDlgTest, ARunOnTheRoadWithItsTableGivesTheLinesOfTheCommandLine) {
    OpenChain();
    EXPECT_EQ(HeightsLine(), Q(Format(text::kHeightsChainLine, text::kHeightsNone, text::kHeightsNone, "chain.vxd")));
    Set({{1014, "300"}, {1015, "600"}, {1016, "50"}, {1017, "0"}});
    Click(1018);
    EXPECT_EQ(Lines(), kRunLines);
}

TEST_F(ChainDlgTest, SingleStakesAndTheLookupNameStationsWithTheirOccurrence) {
    OpenChain();
    Set({{1017, "0"}});
    struct Case { const char* typed; const char* refusal; } refused[] = {
        {"365", "桩号365在长链内出现2次（连续里程345.000、355.000），请注明是第几次，如365(1)!"},
        {"160", "桩号160不在路线上（被短链跳过，或超出路线起终点）!"},  // skipped by the 短链 at K0+150
        {"K0+1a", "“K0+1a”不是桩号（如1050.000、K1+050.000，长链内加注次数如1050.000(2)）!"},
    };
    for (const Case& c : refused) {
        Set({{1020, c.typed}});
        EXPECT_EQ(Warnings(1021), Q(c.refusal)) << c.typed;
        EXPECT_TRUE(Lines().empty()) << c.typed;
    }
    Set({{1020, "K0+365(2)"}});
    Click(1021);
    ASSERT_EQ(Lines().size(), 1u);
    EXPECT_EQ(Lines()[0], "365.000(2)  3805215.803   500281.873  53.4212   缓曲段");
    EXPECT_EQ(Edit(1020)->text(), "K0+365(2)");  // the field keeps what was typed

    Set({{1052, "3805216.1"}, {1053, "500282.2"}});
    Click(1051);
    EXPECT_EQ(Edit(1054)->text(), "365.440(2)");
    EXPECT_EQ(Edit(1055)->text(), Q("左0.046米"));
}

TEST_F(ChainDlgTest, WithoutTheTableTheRoadIsReadAsBefore) {
    OpenChain(false);
    EXPECT_EQ(HeightsLine(), Q(Format(text::kHeightsLine, text::kHeightsNone, text::kHeightsNone)));
    Set({{1020, "365(2)"}});
    EXPECT_EQ(Warnings(1021), Q(text::kEnterNumber));
}

TEST_F(ChainDlgTest, TheDialogRefusesByRowAndAChangedTableMarksTheResultsStaleUntilSaved) {
    OpenChain();
    Set({{1014, "300"}, {1015, "600"}, {1016, "50"}, {1017, "0"}});
    Click(1018);
    ASSERT_FALSE(Get<QLabel>(1028)->isVisibleTo(&dlg_));
    RunChain([&](CChainDlg* dlg) {
        QTableWidget* t = dlg->Table();
        ASSERT_EQ(t->rowCount(), 3);
        t->item(1, 0)->setText("K0+37a");
        const auto seen = Click(2604, ModalScript().Box(QMessageBox::Ok), dlg);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].text, Q("断链表第2行的断链前桩号“K0+37a”不是桩号!"));
        EXPECT_TRUE(dlg->isVisible());
        t->item(1, 0)->setText("K0+375.000");  // the 长链 5 m longer
        t->setRowCount(4);  // an equation past the road's end, K2+175.500
        t->setItem(3, 0, new QTableWidgetItem("K2+500"));
        t->setItem(3, 1, new QTableWidgetItem("K2+510"));
        const auto past = Click(2604, ModalScript().Box(QMessageBox::Ok), dlg);
        ASSERT_EQ(past.size(), 1u);
        EXPECT_TRUE(past[0].text.startsWith(Q("断链表第4行的断链在路线终点之后"))) << past[0].text.toStdString();
        t->setRowCount(3);
        Click(2604, {}, dlg);
        EXPECT_FALSE(dlg->isVisible());
    });
    EXPECT_FALSE(dlg_.Document().Saved());
    EXPECT_TRUE(Get<QLabel>(1028)->isVisibleTo(&dlg_));  // the run's 桩号 are another table's
    EXPECT_EQ(HeightsLine(),
              Q(Format(text::kHeightsChainLine, text::kHeightsNone, text::kHeightsNone, text::kHeightsUnsaved)));

    Click(1011);  // 保存
    EXPECT_TRUE(dlg_.Document().Saved());
    EXPECT_NE(ReadBytes("chain.vxd").find("K0+375.000,K0+360.000\r\n"), std::string::npos);
    EXPECT_EQ(HeightsLine(), Q(Format(text::kHeightsChainLine, text::kHeightsNone, text::kHeightsNone, "chain.vxd")));
}

// Saved as LandXML and opened again under another name, the road stakes
// where it did: the file carries the table.
TEST_F(ChainDlgTest, TheRoadSavedAsLandXmlCarriesItsTableAndOpensBackToTheSameStakes) {
    OpenChain();
    Click(2005, ModalScript().File(QPath("copy.xml"), 2));
    Click(1, ModalScript().File(QPath("copy.xml"), 2));
    ASSERT_EQ(dlg_.Document().EquationRows().size(), 3u);
    Click(1011);
    EXPECT_TRUE(fs::exists(PathOf("copy.vxd")));
    Open("copy.vxa");
    Set({{1014, "300"}, {1015, "600"}, {1016, "50"}, {1017, "0"}});
    Click(1018);
    EXPECT_EQ(Lines(), kRunLines);
}

// The proposed name of the results file gives the range as typed, in 桩号
// with the occurrence where one names two places (365(2) is 355 m along).
TEST_F(ChainDlgTest, TheResultsFileIsProposedUnderTheRangeAsItsStations) {
    OpenChain();
    Set({{1014, "K0+300"}, {1015, "K0+365(2)"}, {1016, "50"}, {1017, "-2"}});
    Click(1018);
    QString proposed;
    Click(1019, ModalScript().Dialog([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_TRUE(dialog);
        proposed = QFileInfo(dialog->selectedFiles().value(0)).fileName();
        dialog->reject();
    }));
    EXPECT_EQ(proposed, Q("300.000-365.000(2)间50.000米偏-2.000米桩.txt"));
}

// The list is shown before the table beside it is read: what reads the
// rows' stations must read them again on the table (before, opening
// chain.vxa after demo.vxa flagged rows 2–4 on a road that checks clean,
// and demo.vxa after chain.vxa was read on chain's equations).
TEST_F(ChainDlgTest, OpeningARoadReadsItsRowsOnItsOwnTable) {
    CopyExamples({"demo.vxa"});
    QLabel* line = Get<QLabel>(2010);
    Open("demo.vxa");
    ASSERT_EQ(line->text(), Q("检查通过"));
    OpenChain();
    EXPECT_EQ(line->text(), Q("检查通过"));
    Open("demo.vxa");
    EXPECT_EQ(line->text(), Q("检查通过"));
}

// Equations the road does not reach are named by 检查 and the check line,
// never passed as checked.
TEST_F(ChainDlgTest, TheCheckNamesEquationsBeyondTheRoadsEnd) {
    CopyExamples({"chain.vxa", "chain.vxd"});
    WriteBytes("chain.vxd", ReadBytes("chain.vxd") + "K2+500,K2+510\r\n");
    Open("chain.vxa");
    const QString expected = Q(Format(text::kChainAfterEnd, 5, 2444.5, 2120.0));
    EXPECT_EQ(Get<QLabel>(2010)->text(), expected);
    EXPECT_EQ(Warnings(2001), expected);
}

// A table that would skip a grade point is refused by 断链, naming it:
// taken, the road would lose its heights without a word.
TEST_F(ChainDlgTest, TheDialogRefusesATableTheHeightTablesDoNotFit) {
    WriteBytes("chain.vxz", "\xEF\xBB\xBF变坡点,桩号,高程,竖曲线半径\r\n起点,K0+000,100,\r\nJD1,K0+560,103,\r\n终点,K1+000,109,\r\n");
    OpenChain();
    ASSERT_FALSE(dlg_.Document().GradeRows().empty());
    RunChain([&](CChainDlg* dlg) {
        dlg->Table()->item(2, 1)->setText("K0+570.000");  // the 短链 now skips K0+560
        const auto seen = Click(2604, ModalScript().Box(QMessageBox::Ok), dlg);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_TRUE(seen[0].text.startsWith(Q("纵断面第3行："))) << seen[0].text.toStdString();
        EXPECT_TRUE(dlg->isVisible());
    });
    EXPECT_TRUE(dlg_.Document().Saved());
}
