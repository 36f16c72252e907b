// The keyboard and the clipboard: Enter in each group, the tab order, paste,
// copy and Delete on the control list, undo and redo of the control data,
// and the two dialogs that keep what was typed.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QTableWidget>
#include <QTest>

#include "DlgFixture.h"
#include "ui/tools/PiDlg.h"
#include "ui/tools/StationSetupDlg.h"

namespace {

// A road along Y: the lookup and the stakes have answers known by eye.
const Row kStart = {"0", "直线", "∞", "0", "0"}, kEnd = {"100", "终点", "∞", "0", "100"}, kMid = {"50", "直线", "∞", "0", "50"};

class KeysDlgTest : public DlgTest {
protected:
    // Keys typed into a control while script answers what they open.
    std::vector<SeenModal> Keys(QWidget* w, Qt::Key key, Qt::KeyboardModifiers mods = {},
                                const ModalScript& script = ModalScript()) {
        // A closed box leaves no window active under the offscreen platform, and shortcuts need one.
        w->window()->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w->window()));
        w->setFocus();
        QTest::keyClick(w, key, mods);
        EXPECT_TRUE(script.Done()) << w->objectName().toStdString() << script.Describe();
        return script.Seen();
    }
    std::vector<SeenModal> Paste(const std::string& utf8, QWidget* w, const ModalScript& script = ModalScript()) {
        QApplication::clipboard()->setText(Q(utf8));
        return Keys(w, Qt::Key_V, Qt::ControlModifier, script);
    }
    void Type(const Row& r) {
        Set({{1001, r.station}, {1004, r.x}, {1005, r.y}});
        Get<QComboBox>(1002)->setCurrentText(Q(r.type)), Get<QComboBox>(1013)->setEditText(Q(r.radius));
    }
    // A road from 交点法 (one curve, pasted into its table) in place of the list, saved as name.
    void PiRoad(const char* name) {
        Click(2004, ModalScript().Dialog([&](QWidget* w) {
            Paste("起点\t0\t0\nJD1\t100\t0\t50\n终点\t100\t100\n", static_cast<CPiDlg*>(w)->Table());
            Click(2210, ModalScript().File(QPath(name)), w);
        }));
    }
    void Undo() { Keys(Edit(1001), Qt::Key_Z, Qt::ControlModifier); }
    void Redo() { Keys(Edit(1001), Qt::Key_Y, Qt::ControlModifier); }
    QString CheckLine() { return Get<QLabel>(2010)->text(); }
};

}  // namespace

TEST_F(KeysDlgTest, EnterInAFieldRunsItsGroupsCommandNeverTheFileDialog) {
    OpenRows({kStart, kEnd});
    Type(kMid);
    Keys(Edit(1005), Qt::Key_Return);
    EXPECT_EQ(Records(), LinesOf({kStart, kEnd, kMid}));
    EXPECT_EQ(QApplication::focusWidget(), Edit(1001));
    Set({{1001, "60"}, {1004, "0"}, {1005, "60"}});  // 线型 kept its type
    Get<QComboBox>(1013)->setEditText(Q(text::kInfinity));
    Keys(Get<QComboBox>(1013), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(Records().back(), LinesOf({{"60", "直线", "∞", "0", "60"}})[0]);
    EXPECT_EQ(Keys(Edit(1001), Qt::Key_Return, {}, ModalScript().Box(QMessageBox::Ok)).at(0).text, Q(text::kFillAll));

    Set({{1014, "0"}, {1015, "100"}, {1016, "50"}});
    Keys(Edit(1016), Qt::Key_Return);
    EXPECT_EQ(Edit(1023)->text(), "3");
    Set({{1020, "20"}});
    Keys(Edit(1020), Qt::Key_Return);
    EXPECT_EQ(Edit(1023)->text(), "4");
    Set({{1052, "2"}, {1053, "30"}});
    Keys(Edit(1053), Qt::Key_Return);
    EXPECT_EQ(Edit(1054)->text() + Edit(1055)->text(), Q("30.000左2.000米"));
}

TEST_F(KeysDlgTest, TabFollowsTheFieldsAsTheyRead) {
    dlg_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg_));
    Edit(1001)->setFocus();
    QStringList order;
    for (int i = 0; i < 22; ++i) {
        QWidget* at = QApplication::focusWidget();
        order << (at->objectName().isEmpty() ? at->parentWidget()->objectName() : at->objectName());
        QTest::keyClick(at, Qt::Key_Tab);
    }
    // 删除, 保存, 另存为 are disabled until there are rows; 1007 is the file name.
    EXPECT_EQ(order.join(' '), "1001 1002 1013 1004 1005 1007 1 2004 2006 1008 2001 1006 "
                               "1014 1015 1018 1016 1017 1019 1020 1024 1021 1030");
}

TEST_F(KeysDlgTest, PasteTakesCheckedRowsOrNoneCopyGivesThemBackDeleteAsks) {
    QWidget* list = dlg_.Control()->m_listControl;
    EXPECT_EQ(Paste("0\t直线\t∞\t0\t0\n", list, ModalScript().Box(QMessageBox::Ok)).at(0).text, Q(text::kNoFile));
    OpenRows({kStart});
    const std::string good = "100,终点,∞,0,100\r\n50\t直线\t∞\t0\t50\r\n";
    EXPECT_EQ(Paste(good + "60\t直线\t∞\t0\n", list, ModalScript().Box(QMessageBox::Ok)).at(0).text,
              Q("粘贴的第3行应有5项（里程、线型、半径、X、Y），实有4项!"));
    EXPECT_EQ(Records(), LinesOf({kStart}));
    Paste(good, list);
    EXPECT_EQ(Records(), LinesOf({kStart, kEnd, kMid}));
    EXPECT_EQ(Edit(1010)->text(), "3");
    EXPECT_FALSE(dlg_.Document().Saved());
    EXPECT_EQ(Paste("0\t直线\t∞\t1\t1\n50\t直线\t∞\t0\t50\n", list, ModalScript().Box(QMessageBox::No)).at(0).text,
              Q("粘贴的行中有2行的桩号已存在，是否覆盖?"));
    EXPECT_EQ(Records().size(), 3u);

    dlg_.Control()->m_listControl->Select(2);
    Keys(list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), Q("100\t终点\t∞\t0\t100\n"));
    dlg_.Control()->m_listControl->Select(-1);
    Keys(list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), Q("0\t直线\t∞\t0\t0\n100\t终点\t∞\t0\t100\n50\t直线\t∞\t0\t50\n"));

    dlg_.Control()->m_listControl->Select(1);
    EXPECT_EQ(Keys(list, Qt::Key_Delete, {}, ModalScript().Box(QMessageBox::No)).at(0).text, Q(text::kAskDeleteRecord));
    EXPECT_EQ(Records().size(), 3u);
    Keys(list, Qt::Key_Delete, {}, ModalScript().Box(QMessageBox::Yes));
    EXPECT_EQ(Records(), LinesOf({kEnd, kMid}));
}

TEST_F(KeysDlgTest, UndoAndRedoWalkTheEditsWithTheirMarks) {
    OpenRows({kStart, kEnd});
    Set({{1014, "0"}, {1015, "100"}, {1016, "50"}});
    Click(1018);
    const QString checkBefore = CheckLine();
    std::vector<std::vector<std::string>> states{Records()};
    Type({"50", "圆曲线", "300", "0", "50"});
    Keys(Edit(1005), Qt::Key_Return);  // added
    states.push_back(Records());
    Type(kMid);
    Keys(Edit(1005), Qt::Key_Return, {}, ModalScript().Box(QMessageBox::Yes));  // modified
    states.push_back(Records());
    dlg_.Control()->m_listControl->Select(1);
    Keys(dlg_.Control()->m_listControl, Qt::Key_Delete, {}, ModalScript().Box(QMessageBox::Yes));
    states.push_back(Records());
    Paste("0\t直线\t∞\t0\t0\n120\t终点\t∞\t0\t120\n", dlg_.Control()->m_listControl);
    states.push_back(Records());
    ASSERT_EQ(states.size(), 5u);
    const QString checkAfter = CheckLine();
    EXPECT_NE(checkAfter, checkBefore);  // two end points: flagged

    for (std::size_t i = states.size() - 1; i-- > 0;) { Undo(); EXPECT_EQ(Records(), states[i]) << i; }
    Undo();  // nothing further back
    EXPECT_EQ(Records(), states[0]);
    EXPECT_EQ(Edit(1010)->text(), "2");
    EXPECT_FALSE(Get(1028)->isVisible());  // the results are this road's again
    EXPECT_EQ(CheckLine(), checkBefore);
    for (std::size_t i = 1; i < states.size(); ++i) { Redo(); EXPECT_EQ(Records(), states[i]) << i; }
    EXPECT_TRUE(Get(1028)->isVisible());
    EXPECT_EQ(CheckLine(), checkAfter);
    // What 保存 and 另存为 do with undone states is DocumentTest's.
    Click(2005, ModalScript().File(QPath("copy.vxa")));
    EXPECT_EQ(Edit(1007)->text(), "copy.vxa");  // it kept the old name, and the results named it

    // A road from 交点法 in place of the list, undone and redone with its file.
    PiRoad("turn.vxa");
    const std::vector<std::string> turn = Records();
    ASSERT_EQ(turn.size(), 4u);
    Undo();
    EXPECT_EQ(Records(), states.back());
    EXPECT_EQ(Edit(1007)->text(), "copy.vxa");
    EXPECT_TRUE(dlg_.Document().Saved());
    Redo();
    EXPECT_EQ(Records(), turn);
    EXPECT_EQ(Edit(1007)->text(), "turn.vxa");
    EXPECT_FALSE(dlg_.Document().Saved());
}

TEST_F(KeysDlgTest, UndoingANewRoadBringsBackTheHeightsOfTheOneBefore) {
    CopyExamples({"demo.vxa", "demo.vxz", "demo.vxh"});
    Open("demo.vxa");
    const QString heights = Get<QLabel>(2012)->text();
    PiRoad("turn.vxa");
    EXPECT_FALSE(dlg_.Document().RoadHeights());
    Undo();
    EXPECT_EQ(Get<QLabel>(2012)->text(), heights);  // named as the files beside demo.vxa: nothing to write
    EXPECT_TRUE(dlg_.Document().RoadHeights());
    EXPECT_TRUE(dlg_.Document().Saved());
}

TEST_F(KeysDlgTest, IntersectionPointTableIsKeptPastedCopiedAndReplacedOnlyWhenAsked) {
    auto runPi = [this](const std::function<void(CPiDlg*, QTableWidget*)>& inside) {
        Click(2004, ModalScript().Dialog([&](QWidget* w) {
            auto* pi = static_cast<CPiDlg*>(w);
            inside(pi, pi->Table());
            if (pi->isVisible()) pi->reject();
        }));
    };
    runPi([this](CPiDlg* pi, QTableWidget* t) {
        Paste("起点,0,0\nJD1,100,0,50\n终点,100,100\n", t);  // a table with nothing typed is replaced
        EXPECT_EQ(t->rowCount(), 3);
        EXPECT_EQ(t->item(1, 3)->text(), "50");
        t->setCurrentCell(2, 0);
        Paste("JD2\t150\t50\t30\n", t);  // typed rows stay: the new one goes in before the end point
        EXPECT_EQ(t->rowCount(), 4);
        EXPECT_EQ(t->item(2, 0)->text(), "JD2");
        t->clearSelection(), t->selectRow(1);
        Keys(t, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QApplication::clipboard()->text(), "JD1\t100\t0\t50\t\t\n");
        Set({{2206, "1000"}}, pi);
    });
    WriteBytes("t.csv", "交点,X,Y,半径,缓和曲线长1,缓和曲线长2\r\n起点,0,0,,,\r\nJD1,1,1,1,,\r\n终点,2,0,,,\r\n");
    runPi([this](CPiDlg* pi, QTableWidget* t) {  // cancelled last time, and all there
        EXPECT_EQ(t->rowCount(), 4);
        EXPECT_EQ(t->item(2, 0)->text(), "JD2");
        EXPECT_EQ(Edit(2206, pi)->text(), "1000");
        EXPECT_EQ(Click(2204, ModalScript().File(QPath("t.csv")).Box(QMessageBox::No), pi).at(1).text,
                  Q(text::kAskReplacePiTable));
        EXPECT_EQ(t->rowCount(), 4);
        Click(2204, ModalScript().File(QPath("t.csv")).Box(QMessageBox::Yes), pi);
        EXPECT_EQ(t->rowCount(), 3);
    });
}

TEST_F(KeysDlgTest, StationSetupKeepsItsPointsAndAsksBeforeDroppingThem) {
    OpenRows({kStart, kEnd});
    Click(1031);
    Set({{1014, "0"}, {1015, "100"}, {1016, "50"}});
    Click(1018, ModalScript().Dialog([this](QWidget* w) {
        Set({{1032, "A"}, {1033, "1"}, {1034, "2"}}, w);
        Click(1047, {}, w), Click(2, {}, w);  // a point added, then 退出
    }));
    WriteBytes("q.vxp", "");
    Click(1018, ModalScript().Dialog([this](QWidget* w) {
        const platform::GbkLineModel* points = static_cast<CStationSetupDlg*>(w)->m_listPoints->LineModel();
        EXPECT_EQ(points->Count(), 2);
        EXPECT_EQ(Click(1045, ModalScript().File(QPath("q.vxp")).Box(QMessageBox::No), w).at(1).text,
                  Q(text::kAskDropPoints));
        EXPECT_EQ(points->Count(), 2);
        Click(2, {}, w);
    }));
}
