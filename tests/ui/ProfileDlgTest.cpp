// The road's heights in the window: the tables beside the alignment file,
// the elevations of a run and of the lookup, 纵断面 editing them, and what
// closing and 保存 do with them. Figures are the README's worked demo.
#include <QLabel>
#include <QTableWidget>

#include "DlgFixture.h"
#include "core/files/ProfileCsv.h"
#include "core/road/ResultText.h"
#include "core/text/TextFields.h"
#include "ui/profile/ProfileDlg.h"
#include "ui/profile/ProfileView.h"
#include "ui/plan/SettingOutSheet.h"

namespace {

const std::string kBom = "\xEF\xBB\xBF";
// B and C at 100 m with tangents of 52 m each: they overlap by 4 m.
const char* const kOverlap[4][4] = {{"A", "0", "100", ""}, {"B", "100", "102", "2600"},
                                    {"C", "200", "100", "2600"}, {"D", "300", "102", ""}};

class ProfileDlgTest : public DlgTest {
protected:
    void OpenDemo(std::initializer_list<const char*> beside) {
        CopyExamples({"demo.vxa"}), CopyExamples(beside), Open("demo.vxa");
    }
    QString HeightsLine() { return Get<QLabel>(2012)->text(); }
    // The last field of each stake line: the design elevation, 12 bytes.
    std::vector<std::string> Elevations() {
        std::vector<std::string> out;
        for (const std::string& line : Results()) out.push_back(line.size() >= 12 ? line.substr(line.size() - 12) : line);
        return out;
    }
    void RunProfile(const std::function<void(CProfileDlg*)>& inside) { RunTool<CProfileDlg>(2006, "2400", inside); }
    // 计算 and 确定 each refuse with the one message, and the dialog stays.
    void ExpectRefused(CProfileDlg* dlg, const std::string& message) {
        for (int button : {2411, 2414}) {
            const auto seen = Click(button, ModalScript().Box(QMessageBox::Ok), dlg);
            ASSERT_EQ(seen.size(), 1u) << button;
            EXPECT_EQ(seen[0].text, Q(message)) << button;
        }
        EXPECT_TRUE(dlg->isVisible());
    }
    static void Type(QTableWidget* t, int row, const char* const* cells) {
        if (row >= t->rowCount()) t->setRowCount(row + 1);
        for (int c = 0; c < t->columnCount(); ++c) t->setItem(row, c, new QTableWidgetItem(QString::fromUtf8(cells[c])));
    }
};

}  // namespace

TEST_F(ProfileDlgTest, TheTablesBesideTheRoadGiveTheRunItsElevations) {
    OpenDemo({"demo.vxz", "demo.vxh"});
    EXPECT_EQ(HeightsLine(), Q(Format(text::kHeightsLine, "demo.vxz", "demo.vxh")));
    struct Case { const char* offset; std::vector<std::string> elevations; } cases[] = {
        {"0", {"129.559     ", "124.160     "}},    // the profile alone
        {"7.5", {"129.259     ", "124.010     "}},  // 7.5 m right on the cross slopes
    };
    for (const Case& c : cases) {
        Set({{1014, "500"}, {1015, "1000"}, {1016, "500"}, {1017, c.offset}, {1024, "90"}});
        Click(1018);
        const std::vector<std::string> lines = Results();
        ASSERT_EQ(lines.size(), 3u) << c.offset;
        EXPECT_NE(lines[0].find(Gbk(text::kElevationHeader)), std::string::npos);
        const std::vector<std::string> shown = Elevations();
        EXPECT_EQ(std::vector<std::string>(shown.begin() + 1, shown.end()), c.elevations) << c.offset;
    }
    Set({{1020, "1240"}, {1017, "0"}});
    Click(1021);
    EXPECT_EQ(Elevations().back(), "122.264     ");
}

TEST_F(ProfileDlgTest, WithoutTablesTheListIsAsBefore) {
    OpenDemo({});
    EXPECT_EQ(HeightsLine(), Q(Format(text::kHeightsLine, text::kHeightsNone, text::kHeightsNone)));
    Set({{1014, "500"}, {1015, "1000"}, {1016, "500"}, {1017, "0"}});
    Click(1018);
    ASSERT_EQ(Results().size(), 3u);
    EXPECT_EQ(Results()[0], ResultHeader(ResultMode::Coordinates));
    EXPECT_EQ(Results()[1].find("129.559"), std::string::npos);
}

TEST_F(ProfileDlgTest, ABadTableBesideIsRefusedAndTheRoadStillOpens) {
    std::string bad = kBom + text::kGradeCsvHeader + "\r\n";
    for (const auto& row : kOverlap) bad += std::string(row[0]) + "," + row[1] + "," + row[2] + "," + row[3] + "\r\n";
    WriteBytes("demo.vxz", bad);
    CopyExamples({"demo.vxa"});
    const auto seen = Click(1, ModalScript().File(QPath("demo.vxa")).Box(QMessageBox::Ok));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].text, Q("变坡点B与C的竖曲线重叠：两切线长之和比变坡点间距长4.000米!"));
    EXPECT_FALSE(Records().empty());
    EXPECT_EQ(HeightsLine(), Q(Format(text::kHeightsLine, text::kHeightsNone, text::kHeightsNone)));
}

TEST_F(ProfileDlgTest, ComputeShowsTheCurveTableAndRefusesOverlappingCurvesByName) {
    OpenDemo({"demo.vxz"});
    RunProfile([&](CProfileDlg* dlg) {
        ASSERT_EQ(dlg->Grades()->rowCount(), 5);
        Click(2411, {}, dlg);
        ASSERT_EQ(dlg->Curves()->rowCount(), 5);
        // SJD1 from the README's table: a crest of R 8000 between +2 % and −1.6 %.
        const char* sjd1[12] = {"SJD1", "K0+560.000", "131.200", "2.000", "-1.600", "8000.000",
                                "144.000", "288.000", "1.296", "凸", "K0+416.000", "K0+704.000"};
        for (int c = 0; c < 12; ++c) EXPECT_EQ(dlg->Curves()->item(1, c)->text(), QString::fromUtf8(sjd1[c])) << c;
        EXPECT_TRUE(dlg->View()->Shown().has_value());

        dlg->Grades()->setRowCount(0);
        for (int r = 0; r < 4; ++r) Type(dlg->Grades(), r, kOverlap[r]);
        ExpectRefused(dlg, "变坡点B与C的竖曲线重叠：两切线长之和比变坡点间距长4.000米!");
        EXPECT_EQ(dlg->Curves()->rowCount(), 0);
    });
    EXPECT_TRUE(dlg_.Document().Saved());  // nothing taken
}

TEST_F(ProfileDlgTest, OkTakesTheTablesUnsavedAndSaveWritesThemBesideTheRoad) {
    OpenDemo({"demo.vxz", "demo.vxh"});
    Set({{1014, "500"}, {1015, "1000"}, {1016, "500"}, {1017, "0"}});
    Click(1018);
    const std::string slopesBefore = ReadBytes("demo.vxh");
    RunProfile([&](CProfileDlg* dlg) {
        dlg->Grades()->item(1, 2)->setText("131.300");  // SJD1 10 cm higher
        Click(2414, {}, dlg);
        EXPECT_FALSE(dlg->isVisible());
    });
    EXPECT_FALSE(dlg_.Document().Saved());
    EXPECT_TRUE(Get<QLabel>(1028)->isVisibleTo(&dlg_));  // the run's heights are another profile's
    EXPECT_EQ(HeightsLine(), Q(Format(text::kHeightsLine, text::kHeightsUnsaved, text::kHeightsUnsaved)));

    Click(1011);  // 保存
    EXPECT_TRUE(dlg_.Document().Saved());
    const std::string grades = ReadBytes("demo.vxz");
    EXPECT_EQ(grades.substr(0, 3), kBom);
    EXPECT_NE(grades.find("SJD1,560,131.300,8000\r\n"), std::string::npos);
    EXPECT_EQ(ReadBytes("demo.vxh").substr(3), slopesBefore.substr(3));
    EXPECT_EQ(HeightsLine(), Q(Format(text::kHeightsLine, "demo.vxz", "demo.vxh")));
}

TEST_F(ProfileDlgTest, ClosingAsksAboutTablesTakenIn) {
    OpenDemo({});
    RunProfile([&](CProfileDlg* dlg) {
        for (int r = 0; r < 4; ++r) Type(dlg->Grades(), r, kOverlap[r]);
        dlg->Grades()->item(1, 3)->setText("");
        dlg->Grades()->item(2, 3)->setText("");
        Click(2414, {}, dlg);
    });
    // Closing asks as for the control data; Yes writes them, No to quitting keeps the window.
    ModalScript script;
    script.Box(QMessageBox::Yes).Box(QMessageBox::No);
    dlg_.reject();
    EXPECT_TRUE(script.Done()) << script.Describe();
    ASSERT_EQ(script.Seen().size(), 2u);
    EXPECT_EQ(script.Seen()[0].text, Q(text::kAskSaveControl));
    EXPECT_EQ(script.Seen()[1].text, Q(text::kAskQuit));
    EXPECT_TRUE(dlg_.Document().Saved());
    EXPECT_NE(ReadBytes("demo.vxz").find("B,100,102,\r\n"), std::string::npos);
}

TEST_F(ProfileDlgTest, TheLookupShowsTheDesignElevationAtThePoint) {
    OpenDemo({"demo.vxz", "demo.vxh"});
    Set({{1052, "3805381.597"}, {1053, "500897.434"}});
    Click(1051);
    EXPECT_EQ(Edit(1054)->text(), "1000.000");
    EXPECT_EQ(Edit(2056)->text(), "123.590");  // the README's lookup, 28.5 m left
}

TEST_F(ProfileDlgTest, AnEmptiedGradeTableTakesTheHeightsAwayFromTheNextRun) {
    OpenDemo({"demo.vxz", "demo.vxh"});
    Set({{1014, "500"}, {1015, "1000"}, {1016, "500"}, {1017, "0"}});
    Click(1018);
    ASSERT_EQ(Elevations()[1], "129.559     ");
    const auto columns = [&] {
        const plan::SettingOutSheet sheet(plan::PlanScene{nullptr, &dlg_.Document().Results(), nullptr, {}}, plan::SheetHeader{});
        return sheet.ColumnNames();
    };
    EXPECT_EQ(columns().size(), 6);
    EXPECT_EQ(columns().back(), Q(text::kSheetElevationColumn));
    RunProfile([&](CProfileDlg* dlg) {
        dlg->Grades()->setRowCount(0);
        Click(2414, {}, dlg);
    });
    EXPECT_EQ(HeightsLine(), Q(Format(text::kHeightsLine, text::kHeightsNone, text::kHeightsUnsaved)));
    Click(1018);
    ASSERT_EQ(Results().size(), 3u);
    EXPECT_EQ(Results()[0], ResultHeader(ResultMode::Coordinates));
    EXPECT_EQ(Results()[1].find(Gbk(text::kOutsideProfile)), std::string::npos);
    EXPECT_EQ(columns().size(), 5);
    // Nor has the lookup an elevation.
    Set({{1052, "3805381.597"}, {1053, "500897.434"}});
    Click(1051);
    EXPECT_EQ(Edit(1054)->text(), "1000.000");
    EXPECT_EQ(Edit(2056)->text(), "");
}

TEST_F(ProfileDlgTest, EachTableIsSavedToAndLoadedFromItsOwnFile) {
    OpenDemo({});
    const std::string slopes = kBom + text::kSlopeCsvHeader + "\r\n0,-2,-2\r\n100,4,-4\r\n";
    WriteBytes("s.vxh", slopes);
    RunProfile([&](CProfileDlg* dlg) {
        Click(2409, ModalScript().File(QPath("s.vxh")), dlg);
        ASSERT_EQ(dlg->Slopes()->rowCount(), 2);
        EXPECT_EQ(dlg->Slopes()->item(1, 1)->text(), "4");
        Click(2407, {}, dlg);  // a blank row after the selected one is no row
        Click(2410, ModalScript().File(QPath("t.vxh")), dlg);
        Click(2403, {}, dlg);
        Click(2403, {}, dlg);
        const char* const ends[2][4] = {{"", "0", "100", ""}, {"", "300", "106", ""}};
        for (int r = 0; r < 2; ++r) Type(dlg->Grades(), r, ends[r]);
        Click(2406, ModalScript().File(QPath("g.vxz")), dlg);
    });
    EXPECT_EQ(ReadBytes("t.vxh"), slopes);
    EXPECT_EQ(ReadBytes("g.vxz"), kBom + text::kGradeCsvHeader + "\r\n起点,0,100,\r\n终点,300,106,\r\n");
    EXPECT_TRUE(dlg_.Document().Saved());  // cancelled: nothing taken
}

TEST_F(ProfileDlgTest, SaveAsTakesTheTablesToTheNewNameAndWithoutAFileThereIsNoProfile) {
    EXPECT_EQ(Warnings(2006), Q(text::kNoFile));
    OpenDemo({"demo.vxz", "demo.vxh"});
    Click(2005, ModalScript().File(QPath("copy.vxa")));  // the files written: DocumentTest's
    EXPECT_EQ(HeightsLine(), Q(Format(text::kHeightsLine, "copy.vxz", "copy.vxh")));
}

// On the renumbered road (examples/chain.vxd: 短链 150 = 170, 长链 370 =
// 360, 短链 510 = 555.5) the tables are 桩号: SJD1 at K0+365(2) is distance
// 355, the end K2+175.5 distance 2120. With R = 1000, i1 = 5/355, i2 =
// 2/1765: T = 500·|i2 − i1| = 6.476, the curve from distance 348.524 (桩号
// 368.524, the first time) to 361.476 (桩号 371.476).
TEST_F(ProfileDlgTest, OnARoadWithStationEquationsTheTablesAreStations) {
    CopyExamples({"chain.vxa", "chain.vxd"});
    Open("chain.vxa");
    const char* const grades[3][4] = {{"起点", "0", "120", ""}, {"SJD1", "K0+365(2)", "125", "1000"},
                                      {"终点", "K2+175.5", "127", ""}};
    const char* const skipped[4] = {"SJD1", "K0+160", "125", "1000"};
    const char* const slope[3] = {"K0+520", "2", "2"};
    struct Case {
        const char* const* row;
        bool slopes;
        std::string message;
    } cases[] = {
        {skipped, false, Format(text::kChainGradeRow, 2) + Format(text::kChainNoZone, "K0+160")},
        {slope, true, Format(text::kChainSlopeRow, 1) + Format(text::kChainNoZone, "K0+520")},
    };
    for (const Case& c : cases) {
        RunProfile([&](CProfileDlg* dlg) {
            for (int r = 0; r < 3; ++r) Type(dlg->Grades(), r, grades[r]);
            Type(c.slopes ? dlg->Slopes() : dlg->Grades(), c.slopes ? 0 : 1, c.row);
            ExpectRefused(dlg, c.message);
        });
    }
    RunProfile([&](CProfileDlg* dlg) {
        for (int r = 0; r < 3; ++r) Type(dlg->Grades(), r, grades[r]);
        Click(2411, {}, dlg);
        ASSERT_EQ(dlg->Curves()->rowCount(), 3);
        EXPECT_EQ(dlg->Curves()->item(1, 1)->text(), "K0+365.000(2)");
        EXPECT_EQ(dlg->Curves()->item(1, 6)->text(), "6.476");
        EXPECT_EQ(dlg->Curves()->item(1, 10)->text(), "K0+368.524(1)");
        EXPECT_EQ(dlg->Curves()->item(1, 11)->text(), "K0+371.476");
        EXPECT_EQ(dlg->Curves()->item(2, 1)->text(), "K2+175.500");
        EXPECT_EQ(dlg->View()->Label(1), Q("SJD1 K0+365.000(2) 125.000"));
        Click(2414, {}, dlg);
        EXPECT_FALSE(dlg->isVisible());
    });
    ASSERT_EQ(dlg_.Document().GradeRows().size(), 3u);
    EXPECT_EQ(dlg_.Document().GradeRows()[1].strStation, "K0+365(2)");  // kept as typed
}
