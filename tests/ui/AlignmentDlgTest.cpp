#include <QComboBox>
#include <QTest>

#include "DlgFixture.h"

const Row kA = {"0", "直线", "∞", "3825.123", "512.456"}, kB = {"500", "缓和曲线", "∞", "4300.5", "640.25"},
          kC = {"200", "圆曲线", "-300", "4100", "600"};

class AlignmentDlgTest : public DlgTest {
protected:
    void Create(const std::string& name) { Click(1, ModalScript().File(QPath(name)).Box(QMessageBox::Ok)); }
    void Type(const Row& r) {
        Edit(1001)->setText(r.station), Get<QComboBox>(1002)->setCurrentText(r.type);
        Get<QComboBox>(1013)->setEditText(r.radius), Edit(1004)->setText(r.x), Edit(1005)->setText(r.y);
    }
    void Add(std::initializer_list<Row> rows) {
        for (const Row& r : rows) Type(r), Click(1008);
    }
    std::vector<QString> Inputs() {
        return {Edit(1001)->text(), Get<QComboBox>(1002)->currentText(), Get<QComboBox>(1013)->currentText(),
                Edit(1004)->text(), Edit(1005)->text()};
    }
    void Select(int row) {
        QListView* view = dlg_.Control()->m_listControl;
        const QPoint at = view->visualRect(view->model()->index(row, 0)).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    }
};

TEST_F(AlignmentDlgTest, CreateAddsTheExtensionWhereMissingAndNeverReplacesUnasked) {
    for (auto [typed, made] : {std::pair{"road", "road.vxa"}, {"lane.vxa", "lane.vxa"}, {"LANE2.VXA", "LANE2.VXA"},
                               {"k1.5", "k1.5.vxa"}, {"路线", "路线.vxa"}}) {
        EXPECT_EQ(Click(1, ModalScript().File(QPath(typed)).Box(QMessageBox::Ok)).at(1).text, Q(text::kAskCreate));
        EXPECT_EQ(ReadBytes(made).substr(34), NewFileTitleLine() + "\r\n");
        EXPECT_EQ(Edit(1007)->text(), Q(made));
        EXPECT_FALSE(fs::exists(PathOf(std::string(made) + ".vxa")));
    }
    WriteBytes("road.vxa", "kept");
    auto seen = Click(1, ModalScript().File(QPath("road")).Box(QMessageBox::Ok).Box(QMessageBox::No));
    EXPECT_EQ(seen.at(2).text, Q("road.vxa已经存在。\n要替换它吗?"));
    EXPECT_EQ(ReadBytes("road.vxa"), "kept");
    fs::create_symlink("loop", PathOf("loop"));  // there, yet unreadable: not offered for creation
    EXPECT_EQ(Click(1, ModalScript().File(QPath("loop")).Box(QMessageBox::Ok)).at(1).text,
              Q("无法读取文件：") + QPath("loop"));
}

TEST_F(AlignmentDlgTest, RowsSaveAndOpenByteForByteAndAFailedSaveKeepsThemUnsaved) {
    Create("road");
    Add({kA, kB, kC});
    EXPECT_EQ(Records(), LinesOf({kA, kB, kC}));
    Click(1011);
    EXPECT_TRUE(dlg_.Document().Saved());
    std::string odd = ReadBytes("road.vxa");
    ASSERT_EQ(odd.size(), 94u + 3 * 60);
    odd.replace(194, 2, "\xFF\x80");  // bytes that are no GBK at all survive
    WriteBytes("odd.vxa", odd + std::string(59, 'x'));
    WriteBytes("short.vxa", odd.substr(0, 93));
    for (auto [name, records] : {std::pair{"short.vxa", "0"}, {"road.vxa", "3"}, {"odd.vxa", "3"}}) {
        Open(name);
        EXPECT_EQ(Edit(1010)->text(), records) << name;
        EXPECT_EQ(Records().size(), std::stoul(records));
    }
    Click(1011);
    EXPECT_EQ(ReadBytes("odd.vxa").substr(34), odd.substr(34));

    Add({{"900", "终点", "∞", "1", "2"}});
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::remove);
    if (::access(dir_.c_str(), W_OK) == 0) fs::remove_all(dir_);  // root writes anywhere: take the folder away
    EXPECT_TRUE(Click(1011, ModalScript().Box(QMessageBox::Ok)).at(0).text.startsWith(Q("无法写入文件：")));
    EXPECT_FALSE(dlg_.Document().Saved());
    EXPECT_EQ(Records().size(), 4u);
}

TEST_F(AlignmentDlgTest, AddModifyRefusesWhatCannotBecomeALineAndNothingStartsMeanwhile) {
    Type(kA);
    EXPECT_EQ(Warnings(1008), Q(text::kNoFile));
    EXPECT_EQ(Edit(1001)->text(), "");
    Create("road");
    Add({kA});
    Type({"", "直线", "∞", "1", "2"});
    Click(1008, ModalScript().Dialog([this](QWidget* box) {  // while it says so, nothing else starts
        dlg_.OnOK(), dlg_.OnDeleteControl(), dlg_.OnSaveControl(), dlg_.close();
        EXPECT_EQ(QApplication::activeModalWidget(), box);
        static_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
    }));
    EXPECT_TRUE(dlg_.isVisible());
    struct Case { Row row; const char* message; } cases[] = {
        {{"1", "直线", "", "1", "2"}, text::kFillAll},
        {{"1234567890123", "直线", "∞", "1", "2"}, "里程最多只能输入12个字节!"},  // the core picks the field
        {{"1", "直线", "∞", "1", "座标座标座标座"}, "Y最多只能输入12个字节!"},
        {{"1", "直线", "∞", "1", "2😀"}, text::kNotGbk},
    };
    for (const Case& c : cases) {
        Type(c.row);
        const std::vector<QString> typed = Inputs();
        EXPECT_EQ(Warnings(1008), Q(c.message));
        EXPECT_EQ(Records(), LinesOf({kA})) << c.message;
        EXPECT_EQ(Inputs(), typed) << c.message;
    }
}

TEST_F(AlignmentDlgTest, SameStationReplacesOnYesSelectionFillsTheInputsDeleteAsks) {
    Create("road");
    Add({kA, kB, kC});
    const Row changed = {"500", "圆曲线", "-800", "4300.5", "641"};
    Type(changed);
    EXPECT_EQ(Click(1008, ModalScript().Box(QMessageBox::No)).at(0).text, Q(text::kAskOverwriteStation));
    EXPECT_EQ(Records(), LinesOf({kA, kB, kC}));
    Click(1008, ModalScript().Box(QMessageBox::Yes));
    EXPECT_EQ(Records(), LinesOf({kA, changed, kC}));

    Select(3);
    EXPECT_EQ(Inputs(), (std::vector<QString>{"200", Q("圆曲线"), "-300", "4100", "600"}));
    Select(0);  // the header selects nothing
    EXPECT_EQ(Edit(1001)->text(), "");
    EXPECT_FALSE(Get(1009)->isEnabled());
    Select(2);
    dlg_.Document().SetSaved(true);
    EXPECT_EQ(Click(1009, ModalScript().Box(QMessageBox::No)).at(0).text, Q(text::kAskDeleteRecord));
    EXPECT_TRUE(dlg_.Document().Saved());
    Click(1009, ModalScript().Box(QMessageBox::Yes));
    EXPECT_EQ(Records(), LinesOf({kA, kC}));
    EXPECT_FALSE(dlg_.Document().Saved());
    EXPECT_EQ(Edit(1010)->text(), "2");
    Click(1009);  // nothing selected now: no question, nothing removed
    Select(1);    // a new station on a selected row adds a row beside it
    Add({{"50", "直线", "∞", "1", "2"}, {"500.0", "直线", "∞", "1", "2"}});
    EXPECT_EQ(Records().size(), 4u);
}

TEST_F(AlignmentDlgTest, EscapeAsksTheCloseQuestionsInOrder) {
    // Control data and results saved; the answers, Y or N; the questions; whether the window goes.
    const char *quit = text::kAskQuit, *control = text::kAskSaveControl, *results = text::kAskSaveResults;
    struct Case { bool controlSaved, resultsSaved; std::string answers; std::vector<const char*> asked; bool closed; };
    for (const Case& c : {Case{true, true, "Y", {quit}, true}, Case{true, true, "N", {quit}, false},
                          Case{false, true, "YN", {control, quit}, false},
                          Case{false, false, "NNY", {control, results, quit}, true}}) {
        CAlignmentDlg dlg;
        dlg.show();
        dlg.Document().PutNewRoad(PathOf("road.vxa"), "road.vxa", {});
        dlg.Document().SetSaved(c.controlSaved), dlg.Document().SetResultsSaved(c.resultsSaved);
        ModalScript script;
        for (char answer : c.answers) script.Box(answer == 'Y' ? QMessageBox::Yes : QMessageBox::No);
        QTest::keyClick(&dlg, Qt::Key_Escape);
        ASSERT_TRUE(script.Done()) << script.Describe();
        for (std::size_t i = 0; i < c.asked.size(); ++i) EXPECT_EQ(script.Seen()[i].text, Q(c.asked[i]));
        EXPECT_EQ(dlg.isVisible(), !c.closed);
    }
    EXPECT_EQ(ReadBytes("road.vxa").size(), 94u);  // the Yes to saving wrote it
}

TEST_F(AlignmentDlgTest, OpeningAnotherFileNeverLosesTheOpenOne) {
    Create("road");
    Add({kA});
    WriteBytes("other.vxa", NewAlignmentFile(TimeStampNow()));
    EXPECT_EQ(Click(1, ModalScript().Box(QMessageBox::No).CancelFile()).at(0).text, Q(text::kAskSaveControl));
    EXPECT_EQ(Records(), LinesOf({kA}));  // No, then Cancel: neither saved nor dropped
    EXPECT_EQ(ReadBytes("road.vxa").size(), 94u);
    Click(1, ModalScript().Box(QMessageBox::Yes).File(QPath("other.vxa")));
    EXPECT_EQ(ReadBytes("road.vxa").size(), 154u);
    EXPECT_EQ(Edit(1007)->text(), "other.vxa");
    Open("road.vxa");
    Click(1, ModalScript().File(QPath("new")).Box(QMessageBox::Cancel));  // creation declined
    EXPECT_EQ(Records(), LinesOf({kA}));
    EXPECT_EQ(dlg_.Document().Path(), PathOf("road.vxa"));
    Create("new");
    EXPECT_TRUE(Records().empty());
}
