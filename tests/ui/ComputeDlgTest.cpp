#include <QProgressBar>
#include <QRegularExpression>
#include <QTest>
#include <cerrno>

#include "DlgFixture.h"
#include "ui/tools/StationSetupDlg.h"

// A straight of 100 m running due east from the origin, and its stakes every 50 m.
const Row kStart = {"0", "直线", "∞", "0", "0"}, kEnd = {"100", "终点", "∞", "0", "100"};
const char* const k0 = "0.000       0.000         0.000       90.0000   直线段    ";
const char* const k50 = "50.000      0.000         50.000      90.0000   直线段    ";
const char* const k100 = "100.000     0.000         100.000     90.0000   直线段    ";

class ComputeDlgTest : public DlgTest {
protected:
    // Answers "设置测站": with a name, the station at the origin and backsight B2
    // due north are typed in and OK pressed; without, 退出. What it showed first goes to shown.
    std::function<void(QWidget*)> StationSetup(const char* station, QString* shown = nullptr) {
        return [this, station, shown](QWidget* w) {
            ASSERT_TRUE(qobject_cast<CStationSetupDlg*>(w));
            if (shown) *shown = Edit(1032, w)->text();
            if (station) Set({{1032, station}, {1033, "0"}, {1034, "0"}, {1038, "B2"}, {1039, "100"}}, w);
            Click(station ? 1 : 2, {}, w);
        };
    }
    void RunStraight() {
        OpenRows({kStart, kEnd});
        Set({{1014, "0"}, {1015, "100"}, {1016, "50"}, {1024, "90"}});
        Click(1018);
    }
};

TEST_F(ComputeDlgTest, ARunFillsTheListAndARefusedOrCancelledOneLeavesListAndCountAsTheyWere) {
    EXPECT_EQ(Warnings(1018), Q(text::kNoControl));
    OpenRows({kStart, {"abc", "直线", "∞", "0", "50"}, kEnd});
    Set({{1014, "0"}, {1015, "100"}, {1016, "50"}});
    EXPECT_EQ(Warnings(1018), Q("控制数据第2行的里程不是数字！"));
    EXPECT_EQ(Warnings(1051), Q("控制数据第2行的里程不是数字！"));

    RunStraight();
    const std::vector<std::string> three = GbkLines({text::kCoordinatesHeader, k0, k50, k100});
    EXPECT_EQ(Results(), three);
    EXPECT_EQ(Edit(1023)->text(), "3");
    EXPECT_EQ(dlg_.ResultsPart()->m_progress->value(), 100);
    EXPECT_FALSE(dlg_.Document().ResultsSaved());
    // A refusal of the run's check (its core tests take every rule), of the
    // deflection, and a typo in a number field (the toolkit's box, captioned
    // with the program's title): nothing computed, nothing emptied.
    struct Case { const char *start, *end, *interval, *deflection, *message; } cases[] = {
        {"0", "100.001", "10", "90", text::kOutOfRange},
        {"0", "100", "50", "nan", text::kBadDeflection},
        {"0", "1O0", "10", "90", text::kEnterNumber},
    };
    for (const Case& c : cases) {
        RunStraight();
        dlg_.Document().SetResultsSaved(true);
        Set({{1014, c.start}, {1015, c.end}, {1016, c.interval}, {1024, c.deflection}});
        ModalScript script;
        script.Box(QMessageBox::Ok);
        Click(1018, script);
        EXPECT_EQ(script.Seen().at(0).text, Q(c.message)) << c.end << " " << c.deflection;
        EXPECT_EQ(Results(), three);
        EXPECT_EQ(dlg_.ResultsPart()->m_progress->value(), 100);
        EXPECT_EQ(Edit(1023)->text(), "3");
        EXPECT_TRUE(dlg_.Document().ResultsSaved());
    }
    // 设置测站 cancelled in setting-out mode: the last setting-out list stays.
    Click(1031);
    Set({{1015, "100"}, {1016, "50"}});
    Click(1018, ModalScript().Dialog(StationSetup("A1")));
    const std::vector<std::string> settingOut = Results();
    ASSERT_EQ(settingOut.size(), 4u);
    Click(1018, ModalScript().Dialog(StationSetup(nullptr)));
    EXPECT_EQ(Results(), settingOut);
    EXPECT_EQ(Edit(1023)->text(), "3");
}

TEST_F(ComputeDlgTest, ModeSwitchesEmptyTheListAndSettingOutAsksForTheStationEachTime) {
    RunStraight();
    Set({{1014, "not a number"}});  // a switch reads no field
    for (auto [radio, header] : {std::pair{1031, text::kSettingOutHeader}, {1031, text::kSettingOutHeader},
                                 {1030, text::kCoordinatesHeader}, {1031, text::kSettingOutHeader}}) {
        Click(radio);
        EXPECT_EQ(Results(), GbkLines({header}));
        EXPECT_EQ(dlg_.ResultsPart()->m_progress->value(), 0);
    }
    Set({{1014, "0"}});
    dlg_.Document().SetResultsSaved(true);
    Click(1018, ModalScript().Dialog(StationSetup(nullptr)));
    EXPECT_EQ(Results(), GbkLines({text::kSettingOutHeader}));
    EXPECT_EQ(Edit(1023)->text(), "3");
    EXPECT_TRUE(dlg_.Document().ResultsSaved());

    auto at50 = [](std::string name) { return "50.000      90.0000     50.000    " + name + "        B2        "; };
    Click(1018, ModalScript().Dialog(StationSetup("A1")));
    EXPECT_EQ(Results().at(2), at50("A1"));
    EXPECT_EQ(dlg_.ResultsPart()->Setup().ptBacksight.X, 100);
    QString shown;  // a stake asks again, opening on the points taken; 退出 adds nothing
    Set({{1020, "50"}});
    Click(1021, ModalScript().Dialog(StationSetup(nullptr, &shown)));
    EXPECT_EQ(shown, "A1");
    Click(1021, ModalScript().Dialog(StationSetup("A2")));
    EXPECT_EQ(Results().size(), 5u);
    EXPECT_EQ(Results().back(), at50("A2"));
    EXPECT_EQ(Edit(1023)->text(), "4");
}

TEST_F(ComputeDlgTest, SingleStakesAreAppendedInOrderEvenTwice) {
    Set({{1020, "25"}});
    Click(1021);  // no control data: nothing at all
    EXPECT_EQ(Results().size(), 1u);
    RunStraight();
    dlg_.Document().SetResultsSaved(true);
    for (const char* station : {"25", "25", "100"}) Set({{1020, station}}), Click(1021);
    const char* at25 = "25.000      0.000         25.000      90.0000   直线段    ";
    EXPECT_EQ(Results(), GbkLines({text::kCoordinatesHeader, k0, k50, k100, at25, at25, k100}));
    EXPECT_EQ(Edit(1023)->text(), "6");
    EXPECT_FALSE(dlg_.Document().ResultsSaved());
    Set({{1020, "100.5"}});
    EXPECT_EQ(Warnings(1021), Q(text::kOutOfRange));
    Set({{1020, "10"}, {1024, "x"}});
    EXPECT_EQ(Warnings(1021), Q(text::kBadDeflection));
    Set({{1024, "90.7000"}});  // 70 minutes: no angle, not 91°10'
    EXPECT_EQ(Warnings(1021), Q(text::kDeflectionOver60));
    EXPECT_EQ(Results().size(), 7u);
}

TEST_F(ComputeDlgTest, LookupShowsStationAndSideOrTellsWhyAndKeepsTheOutputs) {
    EXPECT_EQ(Warnings(1051), Q(text::kNoControl));
    OpenRows({kStart, kEnd});
    struct Case { const char *x, *y, *message, *station, *offset; } cases[] = {
        {"-3.5", "30", "", "30.000", "右3.500米"},
        {"2", "99", "", "99.000", "左2.000米"},
        {"0", "150", text::kNotFound, "99.000", "左2.000米"},
    };
    for (const Case& c : cases) {
        Set({{1052, c.x}, {1053, c.y}});
        EXPECT_EQ(Warnings(1051), Q(c.message)) << c.x << "," << c.y;
        EXPECT_EQ(Edit(1054)->text(), Q(c.station));
        EXPECT_EQ(Edit(1055)->text(), Q(c.offset));
    }
}

TEST_F(ComputeDlgTest, ExportWritesEitherLayoutByteForByteAndOnlyThenCountsAsSaved) {
    RunStraight();
    Click(1019, ModalScript().CancelFile());
    EXPECT_FALSE(dlg_.Document().ResultsSaved());
    EXPECT_FALSE(fs::exists(PathOf("0.000-100.000间50.000米偏0.000米桩.txt")));
    const QRegularExpression head(Q("^工 程 名  a.txt\r\n计算日期：  20\\d\\d年\\d\\d月\\d\\d日\\d\\d时\\d\\d分\\d\\d秒  定线文件：road.vxa\r\n"));
    for (auto [type, body] : {std::pair{1, GbkLines({text::kCoordinatesHeader, k0, k50, k100})},
                              {2, GbkLines({text::kCadHeader, "0.000,0.000", "0.000,50.000", "0.000,100.000"})}}) {
        dlg_.Document().SetResultsSaved(false);
        EXPECT_EQ(Click(1019, ModalScript().File(QPath("a"), type)).at(0).caption, Q(text::kSaveAsCaption));
        EXPECT_TRUE(dlg_.Document().ResultsSaved());
        const std::string bytes = ReadBytes("a.txt");
        const std::size_t third = bytes.find("\r\n", bytes.find("\r\n") + 2) + 2;
        EXPECT_TRUE(head.match(Q(GbkToUtf8(bytes.substr(0, third)))).hasMatch());
        std::string lines;
        for (const std::string& line : body) lines += line + "\r\n";
        EXPECT_EQ(bytes.substr(third), lines) << type;
        fs::remove(PathOf("a.txt"));
    }
    dlg_.Document().SetResultsSaved(false);  // closing: Yes to saving the results exports them
    ModalScript close;
    close.Box(QMessageBox::Yes).File(QPath("kept")).Box(QMessageBox::Yes);
    QTest::keyClick(&dlg_, Qt::Key_Escape);
    ASSERT_TRUE(close.Done()) << close.Describe();
    EXPECT_EQ(close.Seen()[0].text, Q(text::kAskSaveResults));
    const std::string kept = ReadBytes("kept.txt");
    EXPECT_EQ(kept.substr(kept.size() - 60), Gbk(k100) + "\r\n");
}

TEST_F(ComputeDlgTest, AnExportThatCannotBeWrittenIsReportedAndLeavesTheResultsUnsaved) {
    RunStraight();
    WriteBytes("a.txt", "earlier export");
    SetWriteCallForTesting([](int, const void*, std::size_t) -> ssize_t { return errno = ENOSPC, -1; });
    auto seen = Click(1019, ModalScript().File(QPath("a.txt")).Box(QMessageBox::Yes).Box(QMessageBox::Ok));
    SetWriteCallForTesting(nullptr);
    EXPECT_EQ(seen.at(2).text, Q("无法写入文件：") + QPath("a.txt") + Q("\n原有文件没有改动。"));
    EXPECT_FALSE(dlg_.Document().ResultsSaved());
    EXPECT_EQ(ReadBytes("a.txt"), "earlier export");
}

TEST_F(ComputeDlgTest, TheElementCheckBoxBelongsToTheWindowAndNothingStartsWhileItWaits) {
    OpenRows({{"0", "缓和曲线", "∞", "0", "0"}, kEnd});  // a transition whose radius does not change
    Set({{1014, "0"}, {1015, "100"}, {1016, "50"}, {1020, "10"}});
    const char* utf8 = "控制数据中里程0.000或100.000处的线型和半径不相符！";
    auto seen = Click(1018, ModalScript().Dialog([this](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_TRUE(box && box->isModal());
        EXPECT_EQ(box->parentWidget(), &dlg_);
        for (int id : {1018, 1021, 1019, 1031, 1051}) Get<QAbstractButton>(id)->click();  // none may start
        EXPECT_EQ(QApplication::activeModalWidget(), box);
        EXPECT_EQ(Results().size(), 1u);
        box->button(QMessageBox::Ok)->click();
    }));
    EXPECT_EQ(seen.at(0).caption, Q("温馨提示！"));  // its own caption, full-width mark
    EXPECT_EQ(seen[0].text, Q(utf8));
    EXPECT_EQ(seen[0].icon, QMessageBox::NoIcon);
    // One box for the element, one message line per stake, all counted.
    EXPECT_EQ(Results(), GbkLines({text::kCoordinatesHeader, utf8, utf8, utf8}));
    EXPECT_EQ(Edit(1023)->text(), "3");
    Set({{1053, "50"}});  // the lookup stops at the first such box and keeps its outputs
    EXPECT_EQ(Click(1051, ModalScript().Box(QMessageBox::Ok)).at(0).text, Q(utf8));
    EXPECT_EQ(Edit(1054)->text(), "");
}
