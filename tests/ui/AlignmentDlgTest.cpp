#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "ModalScript.h"
#include "controldata/AlignmentDlg.h"
#include "controldata/AlignmentFile.h"
#include "controldata/ControlLine.h"
#include "geometry/Gbk.h"
#include "geometry/TextFile.h"
#include "geometry/Texts.h"
#include "platform/GbkList.h"

namespace fs = std::filesystem;
using namespace vexaline;

namespace {

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

struct Row {
    const char* station;
    const char* type;
    const char* radius;
    const char* x;
    const char* y;
};

std::string LineOf(const Row& r) {
    ControlRow row;
    const char* utf8[kControlFieldCount] = {r.station, r.type, r.radius, r.x, r.y};
    for (int i = 0; i < kControlFieldCount; ++i) row.strField[i] = Gbk(utf8[i]);
    return BuildControlLine(row);
}

std::string Describe(const ModalScript& script) {
    std::string out;
    for (const SeenModal& seen : script.Seen())
        out += "\n  " + std::string(seen.unexpected ? "unexpected " : "") +
               (seen.isFileDialog ? "file dialog" : seen.text.toStdString());
    return out;
}

class AlignmentDlgTest : public testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("vexaline-alignment-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        dlg_.show();
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(dir_, ignored);
    }

    template <typename T = QWidget>
    T* Get(int id) {
        T* w = dlg_.findChild<T*>(QString::number(id));
        EXPECT_TRUE(w) << id;
        return w;
    }
    QLineEdit* Edit(int id) { return Get<QLineEdit>(id); }
    QPushButton* Button(int id) { return Get<QPushButton>(id); }
    platform::GbkListModel* Control() { return dlg_.m_listControl->Model(); }
    std::vector<std::string> Records() {
        const auto& lines = Control()->Lines();
        return std::vector<std::string>(lines.begin() + 1, lines.end());
    }

    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }
    void WriteBytes(const std::string& name, const std::string& bytes) const {
        std::ofstream(PathOf(name), std::ios::binary) << bytes;
    }
    std::string ReadBytes(const std::string& name) const {
        std::string bytes;
        EXPECT_EQ(ReadWholeFile(PathOf(name), bytes), ReadStatus::Ok) << name;
        return bytes;
    }

    // Runs button id while the script answers what it opens; the script must
    // be used up and nothing unexpected may have come.
    std::vector<SeenModal> Run(int id, ModalScript& script) {
        Button(id)->click();
        EXPECT_TRUE(script.Done()) << "button " << id << Describe(script);
        return script.Seen();
    }

    // "打开/创建" with a typed name, creating it when asked.
    void Create(const std::string& name) {
        ModalScript script;
        script.File(QString::fromStdString(PathOf(name))).Box(QMessageBox::Ok);
        Run(1, script);
    }
    void Open(const std::string& name) {
        ModalScript script;
        script.File(QString::fromStdString(PathOf(name)));
        Run(1, script);
    }
    void Type(const Row& r) {
        Edit(1001)->setText(Q(r.station));
        Get<QComboBox>(1002)->setCurrentText(Q(r.type));
        Get<QComboBox>(1013)->setEditText(Q(r.radius));
        Edit(1004)->setText(Q(r.x));
        Edit(1005)->setText(Q(r.y));
    }
    // Add/Modify with no question expected.
    void Add(const Row& r) {
        Type(r);
        ModalScript script;
        Run(1008, script);
    }
    void Select(int row) {
        QListView* view = dlg_.m_listControl;
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(Control()->index(row, 0)).center());
    }
    std::vector<QString> Inputs() {
        return {Edit(1001)->text(), Get<QComboBox>(1002)->currentText(), Get<QComboBox>(1013)->currentText(),
                Edit(1004)->text(), Edit(1005)->text()};
    }

    fs::path dir_;
    CAlignmentDlg dlg_;
};

const Row kRows[] = {
    {"0", "直线", "∞", "3825.123", "512.456"},
    {"500", "缓和曲线", "∞", "4300.5", "640.25"},
    {"200", "圆曲线", "-300", "4100", "600"},
};

TEST_F(AlignmentDlgTest, StartsWithTheControlsOtherCodeFindsByIdentifier) {
    // Kinds that tests of other parts rely on.
    for (int id : {1001, 1004, 1005, 1007, 1010, 1014, 1015, 1016, 1017, 1020, 1023, 1024, 1052, 1053, 1054, 1055})
        EXPECT_TRUE(dlg_.findChild<QLineEdit*>(QString::number(id))) << id;
    for (int id : {1, 1008, 1009, 1011, 1018, 1019, 1021, 1051})
        EXPECT_TRUE(dlg_.findChild<QPushButton*>(QString::number(id))) << id;
    for (int id : {1002, 1013}) EXPECT_TRUE(dlg_.findChild<QComboBox*>(QString::number(id))) << id;
    for (int id : {1006, 1022}) EXPECT_TRUE(dlg_.findChild<QListView*>(QString::number(id))) << id;
    for (int id : {1030, 1031}) EXPECT_TRUE(dlg_.findChild<QRadioButton*>(QString::number(id))) << id;
    EXPECT_TRUE(dlg_.findChild<QProgressBar*>("1029"));

    // What the user sees first.
    EXPECT_EQ(dlg_.windowTitle(), Q("Vexaline(V0622)"));
    EXPECT_EQ(Edit(1016)->text(), "50");
    EXPECT_EQ(Edit(1024)->text(), "90.0000");
    for (int id : {1014, 1015, 1017, 1020, 1052, 1053, 1010, 1023}) EXPECT_EQ(Edit(id)->text(), "0") << id;
    EXPECT_EQ(Edit(1007)->text(), "");
    QComboBox* types = Get<QComboBox>(1002);
    QStringList entries;
    for (int i = 0; i < types->count(); ++i) entries << types->itemText(i);
    EXPECT_EQ(entries, (QStringList{Q("缓和曲线"), Q("圆曲线"), Q("直线"), Q("终点")}));  // GBK order
    EXPECT_EQ(types->currentText(), Q("缓和曲线"));
    EXPECT_EQ(Get<QComboBox>(1013)->itemText(0), Q("∞"));
    EXPECT_FALSE(Button(1009)->isEnabled());
    EXPECT_FALSE(Button(1011)->isEnabled());
    EXPECT_TRUE(Get<QRadioButton>(1030)->isChecked());
    EXPECT_EQ(Control()->Lines(), std::vector<std::string>{ControlHeaderLine()});
    EXPECT_EQ(dlg_.m_listResults->Model()->Lines(), std::vector<std::string>{Gbk(text::kCoordinatesHeader)});
    EXPECT_EQ(dlg_.m_listControl->model()->data(Control()->index(0, 0)).toString(), Q(text::kControlHeader));
    EXPECT_EQ(dlg_.focusWidget(), Button(1));
}

TEST_F(AlignmentDlgTest, CreateAppendsTheExtensionAlwaysAndWritesOnlyTheHeader) {
    struct Case {
        const char* typed;
        const char* made;
    } cases[] = {{"road", "road.vxa"}, {"lane.vxa", "lane.vxa.vxa"}, {"路线", "路线.vxa"}};
    for (const Case& c : cases) {
        ModalScript script;
        script.File(QString::fromStdString(PathOf(c.typed))).Box(QMessageBox::Ok);
        std::vector<SeenModal> seen = Run(1, script);
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_EQ(seen[1].text, Q(text::kAskCreate));
        EXPECT_EQ(seen[1].caption, Q(text::kAppTitle));
        EXPECT_EQ(seen[1].buttons, QMessageBox::Ok | QMessageBox::Cancel);
        EXPECT_FALSE(fs::exists(PathOf(c.typed)));
        std::string bytes = ReadBytes(c.made);
        EXPECT_EQ(bytes.size(), 94u) << c.made;
        EXPECT_EQ(bytes.substr(34, 58), NewFileTitleLine());
        EXPECT_EQ(Edit(1007)->text(), Q(c.made));
        EXPECT_EQ(dlg_.m_strFilePath, PathOf(c.made));
        EXPECT_EQ(Edit(1010)->text(), "0");
        EXPECT_EQ(Control()->Count(), 1);
        EXPECT_FALSE(Button(1011)->isEnabled());
    }
}

TEST_F(AlignmentDlgTest, OpenCountsWholeRecordsAndKeepsTheirBytes) {
    // The second record holds bytes that are no GBK at all; they must survive.
    std::string odd = LineOf(kRows[1]);
    odd[40] = '\xFF';
    odd[41] = '\x80';
    const std::string body = NewAlignmentFile(TimeStampNow()) + LineOf(kRows[0]) + "\r\n" + odd + "\r\n" +
                             LineOf(kRows[2]) + "\r\n";
    WriteBytes("three.vxa", body);
    WriteBytes("tail.vxa", body + std::string(59, 'x'));
    WriteBytes("short.vxa", body.substr(0, 93));
    struct Case {
        const char* name;
        int lines;
    } cases[] = {{"three.vxa", 3}, {"tail.vxa", 3}, {"short.vxa", 0}};
    for (const Case& c : cases) {
        Open(c.name);
        EXPECT_EQ(Control()->Count() - 1, c.lines) << c.name;
        EXPECT_EQ(Edit(1010)->text(), QString::number(c.lines));
        EXPECT_EQ(Edit(1007)->text(), Q(c.name));
    }
    Open("three.vxa");
    EXPECT_EQ(Records(), (std::vector<std::string>{LineOf(kRows[0]), odd, LineOf(kRows[2])}));
    EXPECT_TRUE(Button(1011)->isEnabled());
    // Save writes the very same records back, behind the list's own header.
    ModalScript none;
    Run(1011, none);
    std::string saved = ReadBytes("three.vxa");
    EXPECT_EQ(saved.substr(34, 58), ControlHeaderLine());
    EXPECT_EQ(saved.substr(94), body.substr(94));
}

TEST_F(AlignmentDlgTest, RowsAddedSaveAndReopenByteForByteInTheirOrder) {
    Create("road");
    for (const Row& r : kRows) Add(r);
    EXPECT_EQ(Records(), (std::vector<std::string>{LineOf(kRows[0]), LineOf(kRows[1]), LineOf(kRows[2])}));
    EXPECT_EQ(Edit(1010)->text(), "3");
    EXPECT_TRUE(Button(1011)->isEnabled());
    EXPECT_FALSE(dlg_.m_bControlSaved);

    ModalScript none;
    Run(1011, none);
    EXPECT_TRUE(dlg_.m_bControlSaved);
    const std::string saved = ReadBytes("road.vxa");
    EXPECT_EQ(saved.size(), 94u + 3 * 60);

    Create("other");
    EXPECT_EQ(Control()->Count(), 1);  // replaced, not added to
    Open("road.vxa");
    EXPECT_EQ(Records(), (std::vector<std::string>{LineOf(kRows[0]), LineOf(kRows[1]), LineOf(kRows[2])}));
    Run(1011, none);
    EXPECT_EQ(ReadBytes("road.vxa").substr(34), saved.substr(34));
}

TEST_F(AlignmentDlgTest, AddModifyRefusesWhatCannotBecomeALine) {
    struct Case {
        Row row;
        const char* message;
    } cases[] = {
        {{"", "直线", "∞", "1", "2"}, text::kFillAll},
        {{"1", "直线", "", "1", "2"}, text::kFillAll},
        {{"1", "直线", "∞", "1", ""}, text::kFillAll},
        {{"1234567890123", "直线", "∞", "1", "2"}, "里程最多只能输入12个字节!"},
        {{"1", "直线", "∞∞∞∞∞∞∞", "1", "2"}, "半径最多只能输入12个字节!"},
        {{"1", "直线", "∞", "3825123.45678", "2"}, "X最多只能输入12个字节!"},
        {{"1", "直线", "∞", "1", "座标座标座标座"}, "Y最多只能输入12个字节!"},
        {{"1", "直线", "∞", "1", "2😀"}, text::kNotGbk},
    };
    Create("road");
    Add(kRows[0]);
    const std::vector<std::string> before = Records();
    for (const Case& c : cases) {
        Type(c.row);
        const std::vector<QString> typed = Inputs();
        ModalScript script;
        script.Box(QMessageBox::Ok);
        std::vector<SeenModal> seen = Run(1008, script);
        ASSERT_EQ(seen.size(), 1u) << c.message;
        EXPECT_EQ(seen[0].text, Q(c.message));
        EXPECT_EQ(seen[0].caption, Q(text::kTipCaption));
        EXPECT_EQ(seen[0].icon, QMessageBox::Warning);
        EXPECT_EQ(Records(), before) << c.message;
        EXPECT_EQ(Inputs(), typed) << c.message;
    }
    EXPECT_EQ(Edit(1010)->text(), "1");
}

TEST_F(AlignmentDlgTest, AddModifyWithoutAFileClearsTheInputsAndAddsNothing) {
    Type(kRows[0]);
    ModalScript script;
    script.Box(QMessageBox::Ok);
    std::vector<SeenModal> seen = Run(1008, script);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, Q(text::kNoFile));
    EXPECT_EQ(Control()->Count(), 1);
    EXPECT_EQ(Edit(1001)->text(), "");
    EXPECT_EQ(Edit(1004)->text(), "");
    EXPECT_TRUE(dlg_.m_bControlSaved);
}

TEST_F(AlignmentDlgTest, SameStationAsksAndReplacesInPlaceOnYesOnly) {
    Create("road");
    for (const Row& r : kRows) Add(r);
    const Row changed = {"500", "圆曲线", "-800", "4300.5", "641"};

    Type(changed);
    ModalScript no;
    no.Box(QMessageBox::No);
    std::vector<SeenModal> seen = Run(1008, no);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, Q(text::kAskOverwriteStation));
    EXPECT_EQ(Records()[1], LineOf(kRows[1]));
    EXPECT_EQ(Edit(1005)->text(), "641");  // still what was typed

    ModalScript yes;
    yes.Box(QMessageBox::Yes);
    Run(1008, yes);
    EXPECT_EQ(Records(), (std::vector<std::string>{LineOf(kRows[0]), LineOf(changed), LineOf(kRows[2])}));
    EXPECT_EQ(Edit(1010)->text(), "3");

    Add({"500.0", "直线", "∞", "1", "2"});  // a different key: appended, no question
    EXPECT_EQ(Control()->Count(), 5);
}

TEST_F(AlignmentDlgTest, SelectionFillsTheInputsAndDeleteRemovesOnlyOnYes) {
    Create("road");
    for (const Row& r : kRows) Add(r);

    Select(3);
    EXPECT_EQ(Inputs(), (std::vector<QString>{"200", Q("圆曲线"), "-300", "4100", "600"}));
    EXPECT_TRUE(Button(1009)->isEnabled());
    Select(0);
    EXPECT_EQ(Edit(1001)->text(), "");
    EXPECT_FALSE(Button(1009)->isEnabled());

    Select(2);
    dlg_.m_bControlSaved = true;
    ModalScript no;
    no.Box(QMessageBox::No);
    std::vector<SeenModal> seen = Run(1009, no);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, Q(text::kAskDeleteRecord));
    EXPECT_EQ(Control()->Count(), 4);
    EXPECT_TRUE(dlg_.m_bControlSaved);

    ModalScript yes;
    yes.Box(QMessageBox::Yes);
    Run(1009, yes);
    EXPECT_EQ(Records(), (std::vector<std::string>{LineOf(kRows[0]), LineOf(kRows[2])}));
    EXPECT_FALSE(dlg_.m_bControlSaved);
    EXPECT_EQ(Edit(1001)->text(), "500");  // the deleted row stays in the inputs
    EXPECT_TRUE(Button(1009)->isEnabled());
    EXPECT_EQ(Edit(1010)->text(), "2");

    ModalScript again;  // nothing selected now: no question at all
    Run(1009, again);
    EXPECT_EQ(Control()->Count(), 3);

    // Changing the station of a selected row adds a new row and keeps the old one.
    Select(1);
    Edit(1001)->setText("50");
    ModalScript none;
    Run(1008, none);
    EXPECT_EQ(Control()->Count(), 4);
}

TEST_F(AlignmentDlgTest, CloseAsksItsQuestionsInOrder) {
    struct Case {
        bool controlChanged;
        bool resultsChanged;
        std::vector<QMessageBox::StandardButton> answers;
        std::vector<const char*> questions;
        bool closed;
    } cases[] = {
        {false, false, {QMessageBox::Yes}, {text::kAskQuit}, true},
        {false, false, {QMessageBox::No}, {text::kAskQuit}, false},
        {true, false, {QMessageBox::Yes, QMessageBox::No}, {text::kAskSaveControl, text::kAskQuit}, false},
        {true, true, {QMessageBox::No, QMessageBox::No, QMessageBox::Yes},
         {text::kAskSaveControl, text::kAskSaveResults, text::kAskQuit}, true},
    };
    for (const Case& c : cases) {
        CAlignmentDlg dlg;
        dlg.show();
        dlg.m_bControlSaved = !c.controlChanged;
        dlg.m_bResultsSaved = !c.resultsChanged;
        dlg.m_strFilePath = PathOf("road.vxa");
        ModalScript script;
        for (auto answer : c.answers) script.Box(answer);
        QTest::keyClick(&dlg, Qt::Key_Escape);  // Escape is a close request too
        ASSERT_TRUE(script.Done());
        ASSERT_EQ(script.Seen().size(), c.questions.size());
        for (std::size_t i = 0; i < c.questions.size(); ++i) EXPECT_EQ(script.Seen()[i].text, Q(c.questions[i]));
        EXPECT_EQ(dlg.isVisible(), !c.closed);
    }
    // The Yes to the first question in the third case wrote the (empty) file.
    EXPECT_EQ(ReadBytes("road.vxa").size(), 94u);
}

TEST_F(AlignmentDlgTest, DeclinedCreationKeepsTheOpenFileAndItsLines) {
    Create("road");
    Add(kRows[0]);
    ModalScript none;
    Run(1011, none);

    ModalScript cancel;
    cancel.File(QString::fromStdString(PathOf("new"))).Box(QMessageBox::Cancel);
    Run(1, cancel);
    EXPECT_EQ(Control()->Count(), 2);
    EXPECT_EQ(dlg_.m_strFilePath, PathOf("road.vxa"));
    EXPECT_FALSE(fs::exists(PathOf("new.vxa")));

    // A later Save still writes the old file whole.
    Run(1011, none);
    EXPECT_EQ(ReadBytes("road.vxa").size(), 154u);
}

TEST_F(AlignmentDlgTest, CreatingOverAnExistingNameAsksFirst) {
    const std::string old = NewAlignmentFile(TimeStampNow()) + LineOf(kRows[0]) + "\r\n";
    WriteBytes("road.vxa", old);
    ModalScript script;
    script.File(QString::fromStdString(PathOf("road"))).Box(QMessageBox::Ok).Box(QMessageBox::No);
    std::vector<SeenModal> seen = Run(1, script);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[2].text, Q("road.vxa已经存在。\n要替换它吗?"));
    EXPECT_EQ(ReadBytes("road.vxa"), old);
    EXPECT_EQ(Edit(1007)->text(), "");
}

TEST_F(AlignmentDlgTest, FailedSaveIsReportedAndLeavesTheChangeUnsaved) {
    Create("road");
    Add(kRows[0]);
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::remove);
    if (::access(dir_.c_str(), W_OK) == 0) {  // root writes anywhere: take the folder away instead
        std::error_code ignored;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(dir_, ignored);
    }
    ModalScript script;
    script.Box(QMessageBox::Ok);
    std::vector<SeenModal> seen = Run(1011, script);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0].text.startsWith(Q("无法写入文件："))) << seen[0].text.toStdString();
    EXPECT_FALSE(dlg_.m_bControlSaved);
    EXPECT_EQ(Control()->Count(), 2);
}

TEST_F(AlignmentDlgTest, OpenWithUnsavedRowsOffersToSaveThemFirst) {
    Create("road");
    Add(kRows[0]);
    WriteBytes("other.vxa", NewAlignmentFile(TimeStampNow()));

    ModalScript yes;
    yes.Box(QMessageBox::Yes).File(QString::fromStdString(PathOf("other.vxa")));
    std::vector<SeenModal> seen = Run(1, yes);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text, Q(text::kAskSaveControl));
    EXPECT_EQ(ReadBytes("road.vxa").size(), 154u);
    EXPECT_EQ(Edit(1007)->text(), "other.vxa");
    EXPECT_TRUE(dlg_.m_bControlSaved);

    Add(kRows[1]);
    ModalScript no;
    no.Box(QMessageBox::No).CancelFile();
    Run(1, no);
    EXPECT_EQ(ReadBytes("other.vxa").size(), 94u);  // not saved
    EXPECT_EQ(Control()->Count(), 2);                // and not dropped either
}

TEST_F(AlignmentDlgTest, AFileThatExistsButCannotBeReadIsNotOfferedForCreation) {
    fs::create_symlink("loop", PathOf("loop"));  // opening it fails, yet it is there
    ModalScript script;
    script.File(QString::fromStdString(PathOf("loop"))).Box(QMessageBox::Ok);
    std::vector<SeenModal> seen = Run(1, script);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].text, Q("无法读取文件：") + QString::fromStdString(PathOf("loop")));
    EXPECT_FALSE(fs::exists(PathOf("loop.vxa")));
    EXPECT_EQ(Edit(1007)->text(), "");
}

TEST_F(AlignmentDlgTest, NoHandlerStartsWhileABoxIsOpen) {
    Create("road");
    ModalScript script;
    script.Dialog([this](QWidget* box) {
        // "所有各项必须填写!" is up: Open, Delete, Save and a close request do nothing.
        dlg_.OnOK();
        dlg_.OnDeleteControl();
        dlg_.OnSaveControl();
        dlg_.close();
        EXPECT_EQ(QApplication::activeModalWidget(), box);
        static_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
    });
    Run(1008, script);
    EXPECT_EQ(script.Seen().size(), 1u);
    EXPECT_TRUE(dlg_.isVisible());
}

TEST_F(AlignmentDlgTest, EnterInAFieldRunsOpenAndABadNumberIsReportedButOpenGoesOn) {
    ModalScript fromCombo;  // the editable radius box passes Enter on as well
    fromCombo.CancelFile();
    QTest::keyClick(Get<QComboBox>(1013), Qt::Key_Return);
    EXPECT_TRUE(fromCombo.Done());
    EXPECT_EQ(Get<QComboBox>(1013)->count(), 1);

    Edit(1014)->setText("12abc");
    Edit(1016)->setText("25");
    ModalScript script;
    script.Box(QMessageBox::Ok).CancelFile();
    QTest::keyClick(Edit(1001), Qt::Key_Return);
    ASSERT_TRUE(script.Done()) << Describe(script);
    EXPECT_EQ(script.Seen()[0].text, Q(text::kEnterNumber));
    EXPECT_TRUE(script.Seen()[1].isFileDialog);
    // The read stopped at the start station: the interval after it was not taken.
    EXPECT_EQ(dlg_.m_dInterval, 50);
}

TEST_F(AlignmentDlgTest, F1ShowsTheAboutBox) {
    ModalScript script;
    QString caption, shown;
    script.Dialog([&](QWidget* about) {
        caption = about->windowTitle();
        for (QLabel* label : about->findChildren<QLabel*>()) shown += label->text();
        static_cast<QDialog*>(about)->findChild<QPushButton*>("1")->click();
    });
    dlg_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg_));
    QTest::keyClick(&dlg_, Qt::Key_F1);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(caption, Q("关于Vexaline"));
    EXPECT_TRUE(shown.contains(Q("Vexaline V0622 版")));
}

}  // namespace
