// 交点法: the table typed or loaded, the curve table, the rows put into the
// control list as unsaved data, and what is refused.
#include <QLabel>
#include <QTableWidget>

#include "DlgFixture.h"
#include "core/text/TextFields.h"
#include "ui/tools/PiDlg.h"

namespace {

// R = 50 turning 90° right: T = 50, L = 25π, E = 50(√2 − 1).
const char* const kTurn[3][6] = {{"起点", "0", "0", "", "", ""}, {"JD1", "100", "0", "50", "", ""},
                                 {"终点", "100", "100", "", "", ""}};
const std::string kTurnCsv = "\xEF\xBB\xBF交点,X,Y,半径,缓和曲线长1,缓和曲线长2\r\n起点,0,0,,,\r\nJD1,100,0,50,,\r\n终点,100,100,,,\r\n";

class PiDlgTest : public DlgTest {
protected:
    void RunPi(const std::function<void(CPiDlg*)>& inside) { RunTool<CPiDlg>(2004, "2200", inside); }
    static void Type(CPiDlg* pi, const char* const (*rows)[6], int count) {
        QTableWidget* t = pi->Table();
        ASSERT_EQ(t->rowCount(), 3);  // a fresh table: start, JD1, end
        for (int i = 3; i < count; ++i) t->insertRow(i);
        for (int r = 0; r < count; ++r)
            for (int c = 0; c < 6; ++c) t->setItem(r, c, new QTableWidgetItem(QString::fromUtf8(rows[r][c])));
    }
    std::vector<std::string> TurnRows() {
        return LinesOf({{"1000.000", "直线", "∞", "0.000", "0.000"},
                        {"1050.000", "圆曲线", "50.000", "50.000", "0.000"},
                        {"1128.540", "直线", "∞", "100.000", "50.000"},
                        {"1178.540", "终点", "∞", "100.000", "100.000"}});
    }
};

}  // namespace

TEST_F(PiDlgTest, ComputeShowsTheCurveTableAndOkPutsTheRowsInUnsaved) {
    OpenRows({{"0", "直线", "∞", "1", "2"}, {"10", "终点", "∞", "11", "2"}});
    const std::string before = ReadBytes("road.vxa");
    RunPi([&](CPiDlg* pi) {
        Type(pi, kTurn, 3);
        Set({{2206, "1000"}}, pi);
        Click(2207, {}, pi);
        ASSERT_EQ(pi->Curves()->rowCount(), 1);
        const char* cells[14] = {"JD1", "右90.0000", "50.000", "0.000", "0.000", "50.000", "50.000", "78.540",
                                 "20.711", "K1+050.000", "K1+050.000", "K1+089.270", "K1+128.540", "K1+128.540"};
        for (int c = 0; c < 14; ++c) EXPECT_EQ(pi->Curves()->item(0, c)->text(), QString::fromUtf8(cells[c]));
        Click(2209, ModalScript().File(QPath("curves.csv")), pi);
        pi->Table()->item(1, 3)->setText("60");  // an edit hides the table that no longer fits
        EXPECT_EQ(pi->Curves()->rowCount(), 0);
        pi->Table()->item(1, 3)->setText("50");
        Click(2210, ModalScript().File(QPath("turn.vxa")), pi);  // the list was saved: only the new file's name
        EXPECT_FALSE(pi->isVisible());
    });
    EXPECT_EQ(Records(), TurnRows());
    EXPECT_FALSE(dlg_.Document().Saved());
    EXPECT_EQ(ReadBytes("road.vxa"), before);
    EXPECT_EQ(ReadBytes("curves.csv").substr(0, 60).find("\xEF\xBB\xBF交点,转角,半径"), 0u);
}

TEST_F(PiDlgTest, UnsavedRowsAreAskedAboutFirst) {
    for (QMessageBox::StandardButton answer : {QMessageBox::Yes, QMessageBox::No}) {
        dlg_.Document().SetSaved(true);  // the last round's rows go without a word
        OpenRows({{"0", "直线", "∞", "1", "2"}, {"10", "终点", "∞", "11", "2"}});
        dlg_.Document().AppendRow(LinesOf({{"20", "终点", "∞", "21", "2"}})[0]);
        dlg_.Document().SetSaved(false);
        RunPi([&](CPiDlg* pi) {
            Type(pi, kTurn, 3);
            Set({{2206, "1000"}}, pi);
            const auto seen = Click(2210, ModalScript().Box(answer).File(QPath("turn.vxa")), pi);
            EXPECT_EQ(seen.at(0).text, Q(text::kAskSaveControl));
        });
        EXPECT_EQ(Records(), TurnRows());
        const bool saved = ReadBytes("road.vxa").find(LinesOf({{"20", "终点", "∞", "21", "2"}})[0]) != std::string::npos;
        EXPECT_EQ(saved, answer == QMessageBox::Yes);
    }
}

TEST_F(PiDlgTest, RefusedTablesWarnAndLeaveTheListAlone) {
    OpenRows({{"0", "直线", "∞", "1", "2"}, {"10", "终点", "∞", "11", "2"}});
    const std::vector<std::string> before = Records();
    struct Case {
        int row, column;
        const char *text, *start;
        std::string message;
    };
    const Case cases[] = {
        {1, 1, "10O", "0", Format(text::kPiNotANumber, 2, "JD1", "X")},  // the core's tests take every refusal
        {1, 3, "50", "K1+000", text::kPiBadStartStation},
    };
    for (const Case& c : cases) {
        RunPi([&](CPiDlg* pi) {
            Type(pi, kTurn, 3);
            pi->Table()->item(c.row, c.column)->setText(c.text);
            Set({{2206, c.start}}, pi);
            for (int id : {2207, 2210}) {
                const auto seen = Click(id, ModalScript().Box(QMessageBox::Ok), pi);
                ASSERT_EQ(seen.size(), 1u);
                EXPECT_EQ(seen[0].text, Q(c.message));
            }
            EXPECT_TRUE(pi->isVisible());
            EXPECT_EQ(pi->Curves()->rowCount(), 0);
        });
        EXPECT_EQ(Records(), before);
        EXPECT_TRUE(dlg_.Document().Saved());
    }
}

TEST_F(PiDlgTest, TablesLoadAndSaveAsCsvAndWithoutAFileTheNameIsAskedFirst) {
    WriteBytes("turn.csv", kTurnCsv);
    WriteBytes("bad.csv", "X,Y\r\n");
    RunPi([&](CPiDlg* pi) {
        Click(2204, ModalScript().File(QPath("turn.csv")), pi);
        ASSERT_EQ(pi->Table()->rowCount(), 3);
        EXPECT_EQ(pi->Table()->item(1, 3)->text(), "50");
        const auto seen = Click(2204, ModalScript().File(QPath("bad.csv")).Box(QMessageBox::Ok), pi);
        EXPECT_EQ(seen.at(1).text, Q(text::kPiCsvBadHeader));
        EXPECT_EQ(pi->Table()->item(2, 0)->text(), "终点");  // kept
        Click(2205, ModalScript().File(QPath("copy.csv")), pi);
        Set({{2206, "1000"}}, pi);
        Click(2210, ModalScript().CancelFile(), pi);  // no file open: where to save, or stay
        EXPECT_TRUE(pi->isVisible());
        Click(2210, ModalScript().File(QPath("new.vxa")), pi);
    });
    EXPECT_EQ(ReadBytes("copy.csv"), kTurnCsv);
    EXPECT_EQ(Records(), TurnRows());
    EXPECT_EQ(dlg_.Document().Path(), PathOf("new.vxa"));
    EXPECT_FALSE(fs::exists(PathOf("new.vxa")));  // written on 保存, not before
    EXPECT_FALSE(dlg_.Document().Saved());
}

// The rows are a new road: its file is asked for even with a road open
// (proposed from the table's file), so 保存 never writes them over that road.
TEST_F(PiDlgTest, OkWithARoadOpenAsksForTheNewRoadsFileAndCancelLeavesAllAsItWas) {
    OpenRows({{"0", "直线", "∞", "1", "2"}, {"10", "终点", "∞", "11", "2"}});
    const std::string before = ReadBytes("road.vxa");
    const std::vector<std::string> rows = Records();
    WriteBytes("turn.csv", kTurnCsv);
    QString proposed;
    RunPi([&](CPiDlg* pi) {
        Click(2204, ModalScript().File(QPath("turn.csv")), pi);
        Set({{2206, "1000"}}, pi);
        Click(2210, ModalScript().CancelFile(), pi);
        EXPECT_TRUE(pi->isVisible());
        EXPECT_EQ(Records(), rows);
        EXPECT_EQ(Edit(1007)->text(), "road.vxa");
        EXPECT_TRUE(dlg_.Document().Saved());
        Click(2210, ModalScript().Dialog([&](QWidget* w) {
            auto* files = qobject_cast<QFileDialog*>(w);
            ASSERT_TRUE(files);
            proposed = files->selectedFiles().value(0);
            files->selectFile(QPath("bend.vxa"));
            static_cast<QDialog*>(files)->accept();
        }), pi);
    });
    EXPECT_EQ(proposed, QPath("turn.vxa"));
    EXPECT_EQ(Records(), TurnRows());
    EXPECT_EQ(Edit(1007)->text(), "bend.vxa");
    Click(1011);
    EXPECT_EQ(ReadBytes("road.vxa"), before);
    EXPECT_EQ(ReadBytes("bend.vxa").substr(94, 60), TurnRows()[0] + "\r\n");
}

// A 长链 of 20 m in the arc, K1+120 = K1+100: the turn above with its
// stations past the equation 20 m less, those between 1100 and 1120 named
// twice. The new road takes the table along: reopened, its HZ (100, 50) is
// staked at 1108.540(2).
TEST_F(PiDlgTest, OnARoadWithStationEquationsTheNewRoadIsInStationsAndKeepsItsTable) {
    const std::string table = "\xEF\xBB\xBF断链前桩号,断链后桩号\r\nK1+120,K1+100\r\n";
    WriteBytes("road.vxd", table);
    OpenRows({{"0", "直线", "∞", "1", "2"}, {"10", "终点", "∞", "11", "2"}});
    RunPi([&](CPiDlg* pi) {
        Type(pi, kTurn, 3);
        const std::pair<const char*, std::string> refused[] = {
            {"1110", "桩号1110在长链内出现2次（连续里程1110.000、1130.000），请注明是第几次，如1110(1)!"},
            {"1000米", Format(text::kChainBadStation, "1000米")},
        };
        for (const auto& [start, message] : refused) {
            Set({{2206, start}}, pi);
            const auto seen = Click(2207, ModalScript().Box(QMessageBox::Ok), pi);
            ASSERT_EQ(seen.size(), 1u) << start;
            EXPECT_EQ(seen[0].text, Q(message));
            EXPECT_EQ(pi->Curves()->rowCount(), 0);
        }
        Set({{2206, "K1+000"}}, pi);
        Click(2207, {}, pi);
        ASSERT_EQ(pi->Curves()->rowCount(), 1);
        const char* stations[5] = {"K1+050.000", "K1+050.000", "K1+089.270", "K1+108.540(2)", "K1+108.540(2)"};
        for (int c = 9; c < 14; ++c) EXPECT_EQ(pi->Curves()->item(0, c)->text(), QString::fromUtf8(stations[c - 9]));
        Click(2209, ModalScript().File(QPath("curves.csv")), pi);
        Click(2210, ModalScript().File(QPath("new.vxa")), pi);
        EXPECT_FALSE(pi->isVisible());
    });
    EXPECT_NE(ReadBytes("curves.csv").find("K1+089.270,K1+108.540(2),K1+108.540(2)"), std::string::npos);
    EXPECT_EQ(Records(), LinesOf({{"1000.000", "直线", "∞", "0.000", "0.000"},
                                  {"1050.000", "圆曲线", "50.000", "50.000", "0.000"},
                                  {"1108.540(2)", "直线", "∞", "100.000", "50.000"},
                                  {"1158.540", "终点", "∞", "100.000", "100.000"}}));
    // The table cannot be written (its name is a folder): the box names it,
    // neither file is written and both stay unsaved.
    fs::create_directory(PathOf("new.vxd"));
    EXPECT_EQ(Warnings(1011), Q(Format(text::kCannotWrite, PathOf("new.vxd").c_str())));
    EXPECT_FALSE(fs::exists(PathOf("new.vxa")));
    EXPECT_FALSE(dlg_.Document().Saved());
    EXPECT_EQ(Get<QLabel>(2012)->text(),
              Q(Format(text::kHeightsChainLine, text::kHeightsNone, text::kHeightsNone, text::kHeightsUnsaved)));
    fs::remove(PathOf("new.vxd"));
    Click(1011);
    EXPECT_EQ(ReadBytes("new.vxd"), table);
    Open("new.vxa");
    Set({{1020, "1108.540(2)"}, {1017, "0"}});
    Click(1021);
    const std::string line = Results().back();
    EXPECT_EQ(line.substr(0, 26), "1108.540(2) 100.000       ");
    EXPECT_EQ(line.substr(26, 12), "50.000      ");
}
