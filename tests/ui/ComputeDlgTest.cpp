#include <gtest/gtest.h>

#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <filesystem>
#include <cerrno>
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
#include "station/StationSetupDlg.h"

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

// A straight of 100 m running due east from the origin.
const std::vector<Row> kStraight = {{"0", "直线", "∞", "0", "0"}, {"100", "终点", "∞", "0", "100"}};
// A transition whose radius does not change: every stake on it is refused.
const std::vector<Row> kFaulty = {{"0", "缓和曲线", "∞", "0", "0"}, {"100", "终点", "∞", "0", "100"}};

const char* const kStraightLines[] = {
    "0.000       0.000         0.000       90.0000   直线段    ",
    "50.000      0.000         50.000      90.0000   直线段    ",
    "100.000     0.000         100.000     90.0000   直线段    ",
};

std::vector<std::string> GbkLines(std::initializer_list<const char*> utf8) {
    std::vector<std::string> out;
    for (const char* line : utf8) out.push_back(Gbk(line));
    return out;
}

std::string Describe(const ModalScript& script) {
    std::string out;
    for (const SeenModal& seen : script.Seen())
        out += "\n  " + std::string(seen.unexpected ? "unexpected " : "") +
               (seen.isFileDialog ? "file dialog" : seen.text.toStdString());
    return out;
}

// Answers "设置测站": with names, the two points are typed in and OK pressed;
// without, 退出. What the dialog showed on opening is kept in shownStation.
struct StationSetup {
    const char* station = nullptr;
    const char* backsight = "B2";
    QString* shownStation = nullptr;

    void operator()(QWidget* w) const {
        auto* dlg = qobject_cast<CStationSetupDlg*>(w);
        if (!dlg) {
            ADD_FAILURE() << "expected the station setup, got " << w->windowTitle().toStdString();
            static_cast<QDialog*>(w)->reject();
            return;
        }
        auto set = [dlg](const char* id, const char* text) { dlg->findChild<QLineEdit*>(id)->setText(Q(text)); };
        if (shownStation) *shownStation = dlg->findChild<QLineEdit*>("1032")->text();
        if (!station) {
            dlg->findChild<QPushButton*>("2")->click();
            return;
        }
        set("1032", station);  // at the origin, backsight due north
        set("1033", "0");
        set("1034", "0");
        set("1038", backsight);
        set("1039", "100");
        set("1040", "0");
        dlg->findChild<QPushButton*>("1")->click();
    }
};

class ComputeDlgTest : public testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("vexaline-compute-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        dlg_.show();
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    QLineEdit* Edit(int id) { return dlg_.findChild<QLineEdit*>(QString::number(id)); }
    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }
    const std::vector<std::string>& Results() { return dlg_.m_listResults->Model()->Lines(); }
    std::vector<std::string> ResultLines() { return {Results().begin() + 1, Results().end()}; }
    int Bar() { return dlg_.m_progress->value(); }

    // Clicks the control while script answers what it opens; the script must
    // be used up and nothing unexpected may have come.
    std::vector<SeenModal> Click(int id, ModalScript&& script = ModalScript()) {
        dlg_.findChild<QAbstractButton*>(QString::number(id))->click();
        EXPECT_TRUE(script.Done()) << "control " << id << Describe(script);
        return script.Seen();
    }
    // The texts of the boxes a click brought, checking that each is a warning.
    std::vector<QString> Warnings(int id) {
        ModalScript script;
        for (int i = 0; i < 4; ++i) script.Box(QMessageBox::Ok);  // more than any command shows
        dlg_.findChild<QAbstractButton*>(QString::number(id))->click();
        std::vector<QString> texts;
        for (const SeenModal& seen : script.Seen()) {
            EXPECT_EQ(seen.caption, Q(text::kTipCaption));
            EXPECT_EQ(seen.icon, QMessageBox::Warning);
            texts.push_back(seen.text);
        }
        return texts;
    }

    void OpenAlignment(const std::vector<Row>& rows) {
        std::string bytes = NewAlignmentFile(TimeStampNow());
        for (const Row& r : rows) bytes += LineOf(r) + "\r\n";
        std::ofstream(PathOf("road.vxa"), std::ios::binary) << bytes;
        Click(1, std::move(ModalScript().File(QString::fromStdString(PathOf("road.vxa")))));
    }
    void Fields(const char* start, const char* end, const char* interval) {
        Edit(1014)->setText(start);
        Edit(1015)->setText(end);
        Edit(1016)->setText(interval);
    }
    // A run of the straight from 0 to 100 every 50.
    void RunStraight() {
        OpenAlignment(kStraight);
        Fields("0", "100", "50");
        Click(1018);
    }
    std::string ReadFile(const std::string& name) {
        std::string bytes;
        EXPECT_EQ(ReadWholeFile(PathOf(name), bytes), ReadStatus::Ok) << name;
        return bytes;
    }

    fs::path dir_;
    CAlignmentDlg dlg_;
};

TEST_F(ComputeDlgTest, ARunFillsTheListByteForByteAndLeavesTheResultsUnsaved) {
    RunStraight();
    EXPECT_EQ(ResultLines(), GbkLines({kStraightLines[0], kStraightLines[1], kStraightLines[2]}));
    EXPECT_EQ(Results()[0], Gbk(text::kCoordinatesHeader));
    EXPECT_EQ(Edit(1023)->text(), "3");
    EXPECT_EQ(Bar(), 100);
    EXPECT_FALSE(dlg_.m_bResultsSaved);
}

TEST_F(ComputeDlgTest, ARefusedRunTellsWhyAndLeavesTheListEmptiedAndTheCountAsItWas) {
    struct Case {
        const char* start;
        const char* end;
        const char* interval;
        const char* deflection;
        QString message;
    } cases[] = {
        {"-1", "50", "10", "90", Q(text::kOutOfRange)},
        {"0", "100.001", "10", "90", Q(text::kOutOfRange)},
        {"-10", "-20", "10", "90", Q(text::kOutOfRange)},  // also start above end: the range comes first
        {"120", "50", "10", "90", Q(text::kInvalidRange)},
        {"60", "50", "10", "90", Q(text::kInvalidRange)},
        {"0", "100", "0", "90", Q(text::kInvalidRange)},
        {"0", "100", "-5", "90", Q(text::kInvalidRange)},
        {"0", "100", "0.000001", "90", Q("桩数超过10000000个，请加大桩间距或缩小里程范围!")},
        {"0", "100", "50", "", Q(text::kBadDeflection)},
        {"0", "100", "50", "abc", Q(text::kBadDeflection)},
        {"0", "100", "50", "nan", Q(text::kBadDeflection)},
        {"0", "100", "50", "-inf", Q(text::kBadDeflection)},
        {"0", "100", "50", "1e400", Q(text::kBadDeflection)},
    };
    for (const Case& c : cases) {
        RunStraight();
        dlg_.m_bResultsSaved = true;
        Fields(c.start, c.end, c.interval);
        Edit(1024)->setText(c.deflection);
        EXPECT_EQ(Warnings(1018), std::vector<QString>{c.message}) << c.start << " " << c.interval;
        EXPECT_EQ(Results(), GbkLines({text::kCoordinatesHeader}));
        EXPECT_EQ(Bar(), 25);  // 100 / 4 lines
        EXPECT_EQ(Edit(1023)->text(), "3");
        EXPECT_TRUE(dlg_.m_bResultsSaved);
        Edit(1024)->setText("90");
    }
}

TEST_F(ComputeDlgTest, WithoutTwoControlLinesOrWithABadStationTheRunSaysSo) {
    EXPECT_EQ(Warnings(1018), std::vector<QString>{Q(text::kNoControl)});
    OpenAlignment({kStraight[0]});
    EXPECT_EQ(Warnings(1018), std::vector<QString>{Q(text::kNoControl)});
    OpenAlignment({kStraight[0], {"abc", "直线", "∞", "0", "50"}, kStraight[1]});
    Fields("0", "100", "50");
    EXPECT_EQ(Warnings(1018), std::vector<QString>{Q("控制数据第2行的里程不是数字！")});
    EXPECT_EQ(Warnings(1051), std::vector<QString>{Q("控制数据第2行的里程不是数字！")});
    EXPECT_EQ(Results().size(), 1u);
}

TEST_F(ComputeDlgTest, SettingOutRunAsksForTheStationEachTimeAndCancelStopsQuietly) {
    RunStraight();
    dlg_.m_bResultsSaved = true;
    Click(1031);
    Click(1018, std::move(ModalScript().Dialog(StationSetup{})));
    EXPECT_EQ(Results(), GbkLines({text::kSettingOutHeader}));
    EXPECT_EQ(Edit(1023)->text(), "3");
    EXPECT_TRUE(dlg_.m_bResultsSaved);
    EXPECT_TRUE(dlg_.m_strStationName.empty());

    Click(1018, std::move(ModalScript().Dialog(StationSetup{"A1"})));
    ASSERT_EQ(Results().size(), 4u);
    EXPECT_EQ(Results()[2], Gbk("50.000      90.0000     50.000    A1        B2        "));
    EXPECT_EQ(dlg_.m_strStationName, "A1");
    EXPECT_EQ(dlg_.m_dBacksightX, 100);

    // The next time it opens on the points taken; a stake asks again, and
    // Cancel there adds nothing.
    QString shown;
    Edit(1020)->setText("50");
    Click(1021, std::move(ModalScript().Dialog(StationSetup{nullptr, "B2", &shown})));
    EXPECT_EQ(shown, "A1");
    EXPECT_EQ(Results().size(), 4u);
    Click(1021, std::move(ModalScript().Dialog(StationSetup{"A2"})));
    EXPECT_EQ(Results().back(), Gbk("50.000      90.0000     50.000    A2        B2        "));
    EXPECT_EQ(Edit(1023)->text(), "4");
}

TEST_F(ComputeDlgTest, ModeSwitchEmptiesTheListToItsHeaderOnEveryClickAndTouchesNoField) {
    RunStraight();
    Edit(1014)->setText("not a number");  // never read: no box
    struct Step {
        int radio;
        const char* header;
    } steps[] = {{1031, text::kSettingOutHeader}, {1031, text::kSettingOutHeader}, {1030, text::kCoordinatesHeader}};
    for (const Step& s : steps) {
        Click(s.radio);
        EXPECT_EQ(Results(), GbkLines({s.header}));
        EXPECT_EQ(Bar(), 0);
        EXPECT_EQ(Edit(1023)->text(), "3");
        EXPECT_FALSE(dlg_.m_bResultsSaved);
    }
}

TEST_F(ComputeDlgTest, SingleStakesAreAppendedInOrderEvenTwice) {
    Edit(1020)->setText("25");
    Click(1021);  // no control data: nothing at all
    EXPECT_EQ(Results().size(), 1u);

    RunStraight();
    dlg_.m_bResultsSaved = true;
    for (const char* station : {"25", "25", "100"}) {
        Edit(1020)->setText(station);
        Click(1021);
    }
    const std::string at25 = Gbk("25.000      0.000         25.000      90.0000   直线段    ");
    EXPECT_EQ(ResultLines(), (std::vector<std::string>{Gbk(kStraightLines[0]), Gbk(kStraightLines[1]),
                                                       Gbk(kStraightLines[2]), at25, at25, Gbk(kStraightLines[2])}));
    EXPECT_EQ(Edit(1023)->text(), "6");
    EXPECT_FALSE(dlg_.m_bResultsSaved);

    for (const char* station : {"-0.001", "100.5"}) {
        Edit(1020)->setText(station);
        EXPECT_EQ(Warnings(1021), std::vector<QString>{Q(text::kOutOfRange)});
    }
    Edit(1020)->setText("10");
    Edit(1024)->setText("x");
    EXPECT_EQ(Warnings(1021), std::vector<QString>{Q(text::kBadDeflection)});
    EXPECT_EQ(Results().size(), 7u);
}

TEST_F(ComputeDlgTest, LookupShowsStationAndSideOrTellsWhyAndKeepsTheOutputs) {
    EXPECT_EQ(Warnings(1051), std::vector<QString>{Q(text::kNoControl)});
    OpenAlignment(kStraight);
    struct Case {
        const char* x;
        const char* y;
        QString message;  // empty: found
        const char* station;
        const char* offset;
    } cases[] = {
        {"-3.5", "30", "", "30.000", "右3.500米"},
        {"2", "99", "", "99.000", "左2.000米"},
        {"0", "150", Q(text::kNotFound), "99.000", "左2.000米"},
        {"1", "-0.5", Q(text::kNotFound), "99.000", "左2.000米"},
    };
    for (const Case& c : cases) {
        Edit(1052)->setText(c.x);
        Edit(1053)->setText(c.y);
        std::vector<QString> expected;
        if (!c.message.isEmpty()) expected.push_back(c.message);
        EXPECT_EQ(Warnings(1051), expected) << c.x << "," << c.y;
        EXPECT_EQ(Edit(1054)->text(), Q(c.station));
        EXPECT_EQ(Edit(1055)->text(), Q(c.offset));
    }
    EXPECT_EQ(Results().size(), 1u);
}

TEST_F(ComputeDlgTest, ExportWritesEitherLayoutByteForByteAndOnlyThenCountsAsSaved) {
    RunStraight();
    // Cancel: nothing written, still unsaved.
    Click(1019, std::move(ModalScript().CancelFile()));
    EXPECT_FALSE(dlg_.m_bResultsSaved);
    EXPECT_FALSE(fs::exists(PathOf("0.000-100.000间50.000米偏0.000米桩.txt")));

    struct Case {
        int type;
        std::vector<const char*> body;
    } cases[] = {
        {1, {text::kCoordinatesHeader, kStraightLines[0], kStraightLines[1], kStraightLines[2]}},
        {2, {text::kCadHeader, "0.000,0.000", "0.000,50.000", "0.000,100.000"}},
    };
    const QRegularExpression date(Q("^计算日期：  20\\d\\d年\\d\\d月\\d\\d日\\d\\d时\\d\\d分\\d\\d秒$"));
    for (const Case& c : cases) {
        dlg_.m_bResultsSaved = false;
        std::vector<SeenModal> seen =
            Click(1019, std::move(ModalScript().File(QString::fromStdString(PathOf("a")), c.type)));
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].caption, Q(text::kSaveAsCaption));
        EXPECT_TRUE(dlg_.m_bResultsSaved);
        const std::string bytes = ReadFile("a.txt");
        const std::size_t second = bytes.find("\r\n") + 2, third = bytes.find("\r\n", second) + 2;
        EXPECT_EQ(bytes.substr(0, second), Gbk("工 程 名  a.txt") + "\r\n");
        EXPECT_TRUE(date.match(Q(GbkToUtf8(bytes.substr(second, third - second - 2)).c_str())).hasMatch());
        std::string body;
        for (const char* line : c.body) body += Gbk(line) + "\r\n";
        EXPECT_EQ(bytes.substr(third), body) << c.type;
        fs::remove(PathOf("a.txt"));
    }
}

TEST_F(ComputeDlgTest, AnExportThatCannotBeWrittenIsReportedAndLeavesTheResultsUnsaved) {
    RunStraight();
    std::ofstream(PathOf("a.txt"), std::ios::binary) << "earlier export";
    // The disk fills up while the new file is written.
    SetWriteCallForTesting([](int, const void*, std::size_t) -> ssize_t {
        errno = ENOSPC;
        return -1;
    });
    std::vector<SeenModal> seen = Click(1019, std::move(ModalScript()
                                                            .File(QString::fromStdString(PathOf("a.txt")))
                                                            .Box(QMessageBox::Yes)  // replace it?
                                                            .Box(QMessageBox::Ok)));
    SetWriteCallForTesting(nullptr);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[2].text, Q("无法写入文件：") + QString::fromStdString(PathOf("a.txt")) + Q("\n原有文件没有改动。"));
    EXPECT_FALSE(dlg_.m_bResultsSaved);
    EXPECT_EQ(ReadFile("a.txt"), "earlier export");
}

TEST_F(ComputeDlgTest, ClosingWithUnsavedResultsSavesThemOnYes) {
    RunStraight();
    ModalScript script;
    script.Box(QMessageBox::Yes).File(QString::fromStdString(PathOf("kept"))).Box(QMessageBox::Yes);
    QTest::keyClick(&dlg_, Qt::Key_Escape);
    ASSERT_TRUE(script.Done()) << Describe(script);
    EXPECT_EQ(script.Seen()[0].text, Q(text::kAskSaveResults));
    EXPECT_EQ(script.Seen()[2].text, Q(text::kAskQuit));
    EXPECT_TRUE(dlg_.m_bResultsSaved);
    const std::string bytes = ReadFile("kept.txt");
    EXPECT_EQ(bytes.substr(bytes.size() - 60), Gbk(kStraightLines[2]) + "\r\n");
    EXPECT_FALSE(dlg_.isVisible());
}

TEST_F(ComputeDlgTest, TheElementCheckBoxBelongsToTheWindowAndNothingStartsWhileItWaits) {
    OpenAlignment(kFaulty);
    Fields("0", "100", "50");
    Edit(1020)->setText("10");
    const QString message = Q("控制数据中里程0.000或100.000处的线型和半径不相符！");
    ModalScript script;
    SeenModal first;
    script.Dialog([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_TRUE(box);
        first.caption = box->windowTitle();
        first.text = box->text();
        first.icon = box->icon();
        first.buttons = box->standardButtons();
        EXPECT_TRUE(box->isModal());
        EXPECT_EQ(box->parentWidget(), &dlg_);
        // A second run, a stake, an export, a mode switch: none may start.
        for (int id : {1018, 1021, 1019, 1031, 1051}) dlg_.findChild<QAbstractButton*>(QString::number(id))->click();
        EXPECT_EQ(QApplication::activeModalWidget(), box);
        EXPECT_EQ(Results().size(), 1u);
        box->button(QMessageBox::Ok)->click();
    });
    Click(1018, std::move(script));
    EXPECT_EQ(first.caption, Q(text::kCheckCaption));
    EXPECT_EQ(first.text, message);
    EXPECT_EQ(first.icon, QMessageBox::NoIcon);
    EXPECT_EQ(first.buttons, QMessageBox::Ok);
    // One box for the element, one message line per stake, all counted.
    EXPECT_EQ(ResultLines(), std::vector<std::string>(3, Gbk(message.toUtf8().constData())));
    EXPECT_EQ(Edit(1023)->text(), "3");
    EXPECT_EQ(Results()[0], Gbk(text::kCoordinatesHeader));

    // The lookup stops at the first such box and keeps its outputs.
    Edit(1053)->setText("50");
    std::vector<SeenModal> seen = Click(1051, std::move(ModalScript().Box(QMessageBox::Ok)));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, message);
    EXPECT_EQ(Edit(1054)->text(), "");
}

}  // namespace
