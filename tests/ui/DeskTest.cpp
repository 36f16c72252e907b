// The window as a desk: its title, the roads opened last, the folder each
// kind of file was last used in (all in the tests' own settings, see
// main.cpp), Qt's dialogs in Chinese, one caption on every box.
#include "DlgFixture.h"

#include <QComboBox>
#include <QFileDialog>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QSettings>
#include <QScreen>
#include <QToolButton>

#include "ui/toolkit/Screen.h"

class Desk : public DlgTest {
protected:
    void SetUp() override {
        QSettings().clear();
        DlgTest::SetUp();
    }
    void WriteRoad(const std::string& name) { WriteRows(name, {{"0", "直线", "∞", "0", "0"}, {"100", "终点", "∞", "100", "0"}}); }
    // The 最近 menu as it opens.
    QList<QAction*> RecentMenu() {
        QMenu* menu = Get<QPushButton>(2013)->menu();
        emit menu->aboutToShow();
        return menu->actions();
    }
};

TEST_F(Desk, TheTitleNamesTheOpenFileAndFollowsSaveAs) {
    EXPECT_EQ(dlg_.windowTitle(), "Vexaline(V0622)");
    WriteRoad("road.vxa");
    Open("road.vxa");
    EXPECT_EQ(dlg_.windowTitle(), "road.vxa - Vexaline(V0622)");
    Click(2005, ModalScript().File(QPath("其他.vxa")));
    EXPECT_EQ(dlg_.windowTitle(), Q("其他.vxa - Vexaline(V0622)"));
    Click(2005, ModalScript().CancelFile());
    EXPECT_EQ(dlg_.windowTitle(), Q("其他.vxa - Vexaline(V0622)"));
}

TEST_F(Desk, RecentRoadsAreTheLastOpenedOrSavedNewestFirstAndOpenAsOpenCreateDoes) {
    EXPECT_FALSE(RecentMenu().at(0)->isEnabled());  // none yet
    for (const char* name : {"a.vxa", "b.vxa", "c.vxa"}) WriteRoad(name), Open(name);
    Open("a.vxa");  // once only, first again
    Click(2005, ModalScript().File(QPath("d.vxa")));
    fs::remove(dir_ / "c.vxa");
    QList<QAction*> menu = RecentMenu();
    ASSERT_EQ(menu.size(), 4);
    const char* expected[] = {"d.vxa", "a.vxa", "c.vxa", "b.vxa"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(menu[i]->text(), QString("&%1  %2").arg(i + 1).arg(QPath(expected[i]))) << i;
        EXPECT_EQ(menu[i]->isEnabled(), i != 2) << i;  // c.vxa is gone
    }

    // Unsaved rows are asked about first, as 打开/创建 asks; No opens b.vxa.
    Set({{1001, "50"}, {1004, "50"}, {1005, "0"}});
    Get<QComboBox>(1013)->setEditText(Q("∞"));
    Click(1008);
    ModalScript script;
    script.Box(QMessageBox::No);
    menu[3]->trigger();
    EXPECT_TRUE(script.Done()) << script.Describe();
    EXPECT_EQ(Edit(1007)->text(), "b.vxa");
    EXPECT_EQ(dlg_.windowTitle(), "b.vxa - Vexaline(V0622)");
    EXPECT_EQ(RecentMenu().at(0)->text(), "&1  " + QPath("b.vxa"));

    for (int i = 0; i < 12; ++i) WriteRoad(std::to_string(i) + ".vxa"), Open(std::to_string(i) + ".vxa");
    EXPECT_EQ(RecentMenu().size(), 8);
}

TEST_F(Desk, FileDialogsStartInTheFolderLastUsedForTheirKindOfFile) {
    fs::create_directories(dir_ / "roads"), fs::create_directories(dir_ / "stakes");
    WriteRoad("roads/road.vxa");
    Open("roads/road.vxa");
    Set({{1014, "0"}, {1015, "100"}});
    Click(1018);
    Click(1019, ModalScript().File(QPath("stakes/s.txt")));
    QString roads, stakes;
    auto folder = [](QString& into) {
        return [&into](QWidget* w) { into = static_cast<QFileDialog*>(w)->directory().absolutePath(), static_cast<QDialog*>(w)->reject(); };
    };
    Click(1, ModalScript().Dialog(folder(roads)));
    Click(1019, ModalScript().Dialog(folder(stakes)));
    EXPECT_EQ(roads, QPath("roads"));
    EXPECT_EQ(stakes, QPath("stakes"));
}

TEST_F(Desk, QtsOwnDialogsSpeakChinese) {
    QString newFolder;
    Click(1, ModalScript().Dialog([&newFolder](QWidget* w) {
        newFolder = w->findChild<QToolButton*>("newFolderButton")->toolTip();
        static_cast<QDialog*>(w)->reject();
    }));
    EXPECT_EQ(newFolder, Q("新建文件夹"));
    OpenRows({{"0", "直线", "∞", "0", "0"}, {"100", "终点", "∞", "100", "0"}});
    Set({{1014, "0"}, {1015, "100"}});
    Click(1018);
    QString preview;
    Click(2003, ModalScript().Dialog([&preview](QWidget* w) {
        preview = w->windowTitle();
        static_cast<QDialog*>(w)->reject();
    }));
    EXPECT_TRUE(preview.startsWith(Q("打印预览"))) << preview.toStdString();
}

// Boxes that once had captions of their own: the create question, the
// request for a number, the check's summary (the element check's: ComputeDlgTest).
TEST_F(Desk, EveryBoxCarriesTheOneCaption) {
    std::vector<SeenModal> seen{Click(1, ModalScript().File(QPath("new.vxa")).Box(QMessageBox::Cancel)).at(1)};
    Set({{1014, "x"}});
    seen.push_back(Click(1018, ModalScript().Box(QMessageBox::Ok)).at(0));
    Set({{1014, "0"}});
    OpenRows({{"0", "直线", "∞", "0", "0"}, {"100", "终点", "∞", "100", "0"}});
    seen.push_back(Click(2001, ModalScript().Box(QMessageBox::Ok)).at(0));
    ASSERT_EQ(seen.size(), 3u);
    for (const SeenModal& s : seen) EXPECT_EQ(s.caption, Q(text::kTipCaption)) << s.text.toStdString();
}

// A window opened from another goes beside it where the screen has room:
// right, else left, else at the screen's right edge over it.
TEST(Screen, AWindowIsPlacedBesideItsAnchorWhereThereIsRoom) {
    QWidget anchor;
    anchor.show();
    const QRect area = anchor.screen()->availableGeometry();
    struct Case { int anchorX, anchorWidth; const char* expected; } cases[] = {
        {0, 200, "right"}, {area.width() - 200, 200, "left"}, {area.width() / 2 - 250, 500, "edge"}};
    for (const Case& c : cases) {
        anchor.resize(c.anchorWidth, 200);
        anchor.move(c.anchorX, 50);
        QApplication::processEvents();
        QWidget window(&anchor, Qt::Window);  // as the plan view belongs to the main window
        window.resize(area.width() / 2 - 20, 300);
        platform::PlaceBeside(&window, &anchor);
        window.show();
        QApplication::processEvents();
        const QRect a = anchor.frameGeometry(), w = window.frameGeometry();
        EXPECT_TRUE(area.contains(w)) << c.expected;
        EXPECT_EQ(w.top(), a.top()) << c.expected;
        const std::string side = w.left() == a.right() + 1 ? "right" : w.right() + 1 == a.left() ? "left"
                               : w.right() == area.right() ? "edge" : "elsewhere";
        EXPECT_EQ(side, c.expected);
    }
}
