// 坐标转换 in the window: 四参数 solved from pasted points, saved, read back
// and used on a point file; the road's grid refused, taken, saved beside the
// road and undone, and the road exported on a map in it.
#include "DlgFixture.h"

#include <QClipboard>
#include <QLabel>
#include <QTableWidget>

#include "core/text/TextFields.h"
#include "ui/tools/GridDlg.h"

using vexaline::Format;

namespace {

class GridDlgTest : public DlgTest {
protected:
    CGridDlg* Dlg() {
        Click(2015);
        auto* dlg = dlg_.findChild<CGridDlg*>("2700");
        EXPECT_TRUE(dlg && dlg->isVisible());
        return dlg;
    }
    QString Label(int id) { return Get<QLabel>(id, Dlg())->text(); }
};

// Worked by hand: A (3805000, 500000) is (1000, 2000) on site; B, 1000 m due
// north of A, and C, 1000 m due east, lie on site 1000.1 m from A (K =
// 1.0001) at bearings α and 90° + α, α = atan(3/4) = 36°52′11.63153″:
// B′ = A′ + 1000.1·(0.8, 0.6), C′ = A′ + 1000.1·(−0.6, 0.8). Then
// ΔX = 1000 − 1.0001·(0.8·3805000 − 0.6·500000) = −2743274.4 and
// ΔY = 2000 − 1.0001·(0.8·500000 + 0.6·3805000) = −2681268.3.
TEST_F(GridDlgTest, FourParametersSolvedFromPastedPointsAreSavedReadBackAndUsedOnAPointFile) {
    CGridDlg* dlg = Dlg();
    QGuiApplication::clipboard()->setText(Q("A\t3805000\t500000\t1000\t2000\n"
                                            "B\t3806000\t500000\t1800.08\t2600.06\n"
                                            "C\t3805000\t501000\t399.94\t2800.08\n"));
    Click(2705, {}, dlg);
    ASSERT_EQ(dlg->Common()->rowCount(), 3);
    Click(2707, {}, dlg);
    const QString params = Label(2708);
    for (const char* line : {"ΔX = -2743274.400000 米", "ΔY = -2681268.300000 米", "旋转角 α = 36.521163153（132731.63153″）",
                             "尺度 K = 1.000100000000（+100.000 ppm）", "单位权中误差 = 0.0000 米"})
        EXPECT_TRUE(params.contains(Q(line))) << line << "\n" << params.toStdString();
    ASSERT_EQ(dlg->Residuals()->rowCount(), 3);
    EXPECT_EQ(dlg->Residuals()->item(1, 0)->text(), "B");
    EXPECT_EQ(dlg->Residuals()->item(1, 3)->text(), "0.0000");
    Shot(dlg, "grid.png");

    Click(2710, ModalScript().File(QPath("site.vxf")), dlg);
    const std::string vxf = ReadBytes("site.vxf");
    for (const char* row : {"ΔX,-2743274.400000\r\n", "ΔY,-2681268.300000\r\n", "旋转角,36.521163153\r\n"})
        EXPECT_NE(vxf.find(row), std::string::npos) << row << "\n" << vxf;
    // An edit drops the solution; the file gives the parameters back.
    dlg->Common()->item(2, 3)->setText("399.95");
    EXPECT_FALSE(dlg->Params());
    Click(2711, ModalScript().File(QPath("site.vxf")), dlg);
    ASSERT_TRUE(dlg->Params());
    EXPECT_NEAR(dlg->Params()->dScale, 1.0001, 1e-12);
    EXPECT_TRUE(Label(2708).startsWith(Q("四参数（site.vxf）")));

    // B back from the site grid, in a CASS file (name,code,Y,X), the rest of its line kept.
    WriteBytes("site.dat", "B,1,2600.060,1800.080,51.2\r\n");
    Get<QAbstractButton>(2713, dlg)->click();
    Click(2718, ModalScript().File(QPath("site.dat")).File(QPath("design.dat")), dlg);
    EXPECT_EQ(ReadBytes("design.dat"), "B,1,500000.000,3806000.000,51.2\r\n");
    EXPECT_TRUE(Label(2721).contains(Q("已转换 1 个点"))) << Label(2721).toStdString();
}

// What cannot be done is said under the pages, and nothing is written.
TEST_F(GridDlgTest, RefusalsAreSaidUnderThePagesAndNothingIsWritten) {
    CGridDlg* dlg = Dlg();
    WriteBytes("site.dat", "B,1,2600.060,1800.080,51.2\r\n");
    WriteBytes("bad.dat", "B,1,2600.060,north,51.2\r\n");
    WriteBytes("site.vxf", "参数,值\nΔX,0\nΔY,0\n旋转角,0\n尺度,1\n");
    // The files the dialogs are given, in turn, and what is said after.
    const struct { int id; std::vector<std::string> files; std::string said; } table[] = {
        {2707, {}, Format(text::kFourTooFew, std::size_t(0))},
        {2710, {}, text::kGridNoFour},
        {2718, {}, text::kGridNoFour},
        {2711, {"none.vxf"}, Format(text::kCannotRead, PathOf("none.vxf").c_str())},
        {2711, {"site.vxf"}, ""},  // parameters from here on
        {2710, {"missing/p.vxf"}, Format(text::kCannotWrite, PathOf("missing/p.vxf").c_str())},
        {2718, {"site.dat", "site.csv"}, Format(text::kTransformKinds, "site.dat", "site.csv")},
        {2718, {"site.dat", "missing/o.dat"}, Format(text::kCannotWrite, PathOf("missing/o.dat").c_str())},
        {2718, {"bad.dat", "o.dat"}, "bad.dat："},
    };
    for (const auto& row : table) {
        ModalScript script;
        for (const std::string& f : row.files) script.File(QPath(f));
        Click(row.id, script, dlg);
        const std::string said = Label(2721).toStdString();
        EXPECT_EQ(said.substr(0, row.said.size()), row.said) << row.id << ": " << said;
    }
    EXPECT_FALSE(fs::exists(dir_ / "missing"));
    EXPECT_FALSE(fs::exists(dir_ / "o.dat"));
    EXPECT_FALSE(fs::exists(dir_ / "site.csv"));
}

// The grid is checked as typed; refused, the road keeps its own. Taken, it
// is saved beside the road, undone with the rest, and the maps are drawn in it.
TEST_F(GridDlgTest, TheRoadsGridIsRefusedOrTakenSavedUndoneAndUsedForTheMap) {
    CopyExamples({"demo.vxa", "demo.vxz", "demo.vxh"});
    Open("demo.vxa");
    EXPECT_EQ(Click(2005, ModalScript().File(QPath("demo.kml"), 3).Box(QMessageBox::Ok)).at(1).text,
              Q(text::kMapNoGrid));
    CGridDlg* dlg = Dlg();
    struct Case { const char *typed, *said; } refused[] = {
        {"WGS84", "无法识别"},
        {"EPSG:4490", "是经纬度坐标系"},   // a road's X and Y are metres
        {"GK:114.6000", "中央子午线"},      // 60 minutes
        {"EPSG:99999", "EPSG 库中没有"},
    };
    for (const Case& c : refused) {
        Set({{2719, c.typed}}, dlg);
        Click(2720, {}, dlg);
        EXPECT_TRUE(Label(2721).contains(Q(c.said))) << c.typed << ": " << Label(2721).toStdString();
        EXPECT_EQ(dlg_.Document().GridText(), "");
        EXPECT_TRUE(dlg_.Document().Saved());
    }
    Set({{2719, " GK:114.3000,50 "}}, dlg);
    Click(2720, {}, dlg);
    EXPECT_EQ(dlg_.Document().GridText(), "GK:114.3000,50");
    EXPECT_FALSE(dlg_.Document().Saved());
    Click(1011);
    EXPECT_EQ(ReadBytes("demo.vxc"), "GK:114.3000,50\r\n");

    Click(2005, ModalScript().File(QPath("demo.geojson"), 4));
    const std::string map = ReadBytes("demo.geojson");
    EXPECT_NE(map.find("\"FeatureCollection\""), std::string::npos);
    EXPECT_NE(map.find("\"K0+000.000\""), std::string::npos);  // the change points by 桩号
    // A map that cannot be written is told, and nothing is left behind.
    EXPECT_EQ(Click(2005, ModalScript().File(QPath("missing/demo.kml"), 3).Box(QMessageBox::Ok)).at(1).text,
              Q(Format(text::kCannotWrite, PathOf("missing/demo.kml").c_str())));
    EXPECT_FALSE(fs::exists(dir_ / "missing"));
    // The BIM model's file in the same grid, with the road's vertical alignment.
    Click(2005, ModalScript().File(QPath("demo.ifc"), 5));
    const std::string ifc = ReadBytes("demo.ifc");
    EXPECT_EQ(ifc.rfind("ISO-10303-21;", 0), 0u);
    for (const char* entity : {"IFCALIGNMENTVERTICAL(", "IFCPROJECTEDCRS(", "IFCWELLKNOWNTEXT("})
        EXPECT_NE(ifc.find(entity), std::string::npos) << entity;

    dlg_.OnUndoControl();
    EXPECT_EQ(Get<QLineEdit>(2719, dlg)->text(), "");  // the field follows the road
    Click(1011);
    EXPECT_FALSE(fs::exists(PathOf("demo.vxc")));
}

}  // namespace
