// The README's walkthrough on the sample files, step by step as a newcomer
// does it, checking every figure the README quotes. With VEXALINE_SCREENSHOTS
// set to a folder it also saves the pictures the README shows
// (scripts/screenshots.sh runs it on Xvfb).
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <filesystem>
#include <unistd.h>

#include "ModalScript.h"
#include "controldata/AlignmentDlg.h"
#include "geometry/Gbk.h"
#include "geometry/TextFile.h"
#include "platform/GbkList.h"
#include "station/StationSetupDlg.h"

namespace fs = std::filesystem;
using namespace vexaline;

namespace {

void Shot(QWidget* w, const char* name) {
    QByteArray dir = qgetenv("VEXALINE_SCREENSHOTS");
    if (dir.isEmpty()) return;
    QApplication::processEvents();
    w->grab().save(QString::fromUtf8(dir) + "/" + name);
}

std::string Utf8(const std::string& gbk) { return GbkToUtf8(gbk); }

class Walkthrough : public testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("vexaline-walkthrough-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        for (const char* name : {"demo.vxa", "demo.vxp"})
            fs::copy_file(fs::path(VEXALINE_SOURCE_DIR) / "examples" / name, dir_ / name);
        dlg_.resize(1180, 580);
        dlg_.show();
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    QLineEdit* Edit(QWidget* w, int id) { return w->findChild<QLineEdit*>(QString::number(id)); }
    QLineEdit* Edit(int id) { return Edit(&dlg_, id); }
    void Click(QWidget* w, int id) { w->findChild<QAbstractButton*>(QString::number(id))->click(); }
    void Click(int id, ModalScript& script) {
        Click(&dlg_, id);
        EXPECT_TRUE(script.Done()) << "control " << id;
    }
    QString Path(const char* name) const { return QString::fromStdString((dir_ / name).string()); }
    const std::vector<std::string>& Results() { return dlg_.m_listResults->Model()->Lines(); }

    // In "设置测站": browse to demo.vxp, take station and backsight from the
    // list, confirm.
    void ChooseStation(QWidget* w, int stationRow, int backsightRow, const char* shot) {
        auto* setup = qobject_cast<CStationSetupDlg*>(w);
        ASSERT_TRUE(setup);
        {
            ModalScript browse;
            browse.File(Path("demo.vxp"));
            Click(setup, 1045);
            EXPECT_TRUE(browse.Done());
        }
        setup->m_listPoints->Select(stationRow);
        Click(setup, 1048);
        setup->m_listPoints->Select(backsightRow);
        Click(setup, 1049);
        if (shot) Shot(setup, shot);
        Click(setup, 1);
    }

    fs::path dir_;
    CAlignmentDlg dlg_;
};

TEST_F(Walkthrough, OnTheSampleRoad) {
    // 1. Open the sample alignment.
    {
        ModalScript script;
        script.File(Path("demo.vxa"));
        Click(1, script);
    }
    EXPECT_EQ(Edit(1010)->text(), "12");
    EXPECT_EQ(Edit(1007)->text(), "demo.vxa");

    // 2. Stakes every 20 m from 0 to 2120, side stakes 7.5 m to the right.
    Edit(1014)->setText("0");
    Edit(1015)->setText("2120");
    Edit(1016)->setText("20");
    Edit(1017)->setText("7.5");
    {
        ModalScript script;
        Click(1018, script);
    }
    ASSERT_EQ(Results().size(), 108u);
    EXPECT_EQ(Edit(1023)->text(), "107");
    EXPECT_EQ(Utf8(Results()[1]), "0.000       3804994.050   500004.566  52.3000   直线段    ");
    EXPECT_EQ(Utf8(Results()[22]), "420.000     3805246.060   500339.496  58.1346   圆曲段    ");
    dlg_.m_listResults->scrollToTop();
    Shot(&dlg_, "stakes.png");

    // 3. One more stake at 1234.5, appended at the end.
    Edit(1020)->setText("1234.5");
    {
        ModalScript script;
        Click(1021, script);
    }
    ASSERT_EQ(Results().size(), 109u);
    EXPECT_EQ(Utf8(Results()[108]), "1234.500    3805354.869   501133.297  86.2450   缓曲段    ");

    // 4. Save both layouts under the proposed names.
    {
        ModalScript script;
        script.File(Path("stakes.txt"), 1);
        Click(1019, script);
    }
    {
        ModalScript script;
        script.File(Path("stakes-cad.txt"), 2);
        Click(1019, script);
    }
    std::string report, cad;
    ASSERT_EQ(ReadWholeFile((dir_ / "stakes.txt").string(), report), ReadStatus::Ok);
    ASSERT_EQ(ReadWholeFile((dir_ / "stakes-cad.txt").string(), cad), ReadStatus::Ok);
    EXPECT_EQ(Utf8(report.substr(0, report.find("\r\n"))), "工 程 名  stakes.txt");
    EXPECT_NE(Utf8(cad).find("\r\nX坐标         Y坐标\r\n3804994.050,500004.566\r\n"), std::string::npos)
        << Utf8(cad.substr(0, 120));
    EXPECT_TRUE(dlg_.m_bResultsSaved);

    // 5. Where is traverse point D3? Its X and Y into the lookup.
    Edit(1052)->setText("3805381.597");
    Edit(1053)->setText("500897.434");
    {
        ModalScript script;
        Click(1051, script);
    }
    EXPECT_EQ(Edit(1054)->text(), "1000.000");
    EXPECT_EQ(Edit(1055)->text(), QString::fromUtf8("左28.499米"));
    Shot(&dlg_, "lookup.png");

    // 6. Setting-out elements: instrument on D2, backsight D3, centre stakes.
    Click(&dlg_, 1031);
    Edit(1017)->setText("0");
    Edit(1014)->setText("400");
    Edit(1015)->setText("700");
    {
        ModalScript script;
        script.Dialog([this](QWidget* w) { ChooseStation(w, 2, 3, "station.png"); });
        Click(1018, script);
    }
    ASSERT_EQ(Results().size(), 17u);
    EXPECT_EQ(Utf8(Results()[0]).substr(0, 14), "桩号        ");
    EXPECT_EQ(Utf8(Results()[1]), "400.000     184.1527    150.275   D2        D3        ");
    dlg_.m_listResults->scrollToTop();
    Shot(&dlg_, "setting-out.png");
}

}  // namespace
