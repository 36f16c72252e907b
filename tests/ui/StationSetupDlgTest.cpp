#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "ModalScript.h"
#include "geometry/Gbk.h"
#include "geometry/TextFile.h"
#include "geometry/Texts.h"
#include "platform/GbkList.h"
#include "station/PointFile.h"
#include "station/StationSetupDlg.h"

namespace fs = std::filesystem;
using namespace vexaline;

namespace {

const std::string kA = "A       1.000       2.000     ", kB = "B       3.000       4.000     ";

QLineEdit* Edit(QWidget& dlg, const char* id) { return dlg.findChild<QLineEdit*>(id); }
std::vector<std::string> Lines(CStationSetupDlg& dlg) { return dlg.m_listPoints->Model()->Lines(); }

// Clicks button id while script answers the boxes; the texts of the boxes
// shown. A box the script does not expect is closed after two seconds and
// reported, so the test fails instead of hanging.
QStringList Press(QWidget& dlg, const char* id, ModalScript&& script = ModalScript()) {
    QStringList unexpected;
    QTimer watchdog;
    int ticks = 0;
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !script.Done() || ++ticks < 100) return;
        unexpected << box->text();
        box->reject();
    });
    watchdog.start(20);
    dlg.findChild<QPushButton*>(id)->click();
    EXPECT_TRUE(script.Done()) << id;
    EXPECT_TRUE(unexpected.isEmpty()) << unexpected.join("|").toStdString();
    QStringList texts;
    for (const SeenModal& seen : script.Seen()) texts << seen.text;
    return texts;
}

class StationSetupDlgTest : public testing::Test {
protected:
    void SetUp() override { fs::create_directories(dir_); }
    void TearDown() override { fs::remove_all(dir_); }
    QString PathOf(const char* name) const { return QString::fromStdString((dir_ / name).string()); }
    std::string Bytes(const char* name) const {
        std::string bytes;
        ReadWholeFile((dir_ / name).string(), bytes);
        return bytes;
    }
    void Browse(CStationSetupDlg& dlg, const char* name, const std::string& bytes) {
        std::ofstream((dir_ / name).string(), std::ios::binary) << bytes;
        Press(dlg, "1045", std::move(ModalScript().File(PathOf(name))));
    }

    fs::path dir_ = fs::temp_directory_path() / ("vexaline-station-" + std::to_string(::getpid()));
};

TEST_F(StationSetupDlgTest, MissingFileIsCreatedOnOkAndExitKeepsItEmpty) {
    CStationSetupDlg dlg("", 0, 0, "", 0, 0);
    Press(dlg, "1045", std::move(ModalScript().File(PathOf("gone.vxp")).Box(QMessageBox::Cancel)));
    EXPECT_FALSE(fs::exists(dir_ / "gone.vxp"));

    auto texts = Press(dlg, "1045", std::move(ModalScript().File(PathOf("new")).Box(QMessageBox::Ok)));
    EXPECT_EQ(texts.value(1), QString::fromUtf8(text::kAskCreate));
    EXPECT_EQ(Edit(dlg, "1044")->text(), "new.vxp");
    EXPECT_TRUE(fs::exists(dir_ / "new.vxp"));
    Press(dlg, "1047");
    Press(dlg, "2");
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(fs::file_size(dir_ / "new.vxp"), 0u);
}

TEST_F(StationSetupDlgTest, ANameTypedWithoutItsExtensionOpensTheFileInsteadOfEmptyingIt) {
    CStationSetupDlg dlg("", 0, 0, "", 0, 0);
    std::ofstream((dir_ / "p.vxp").string(), std::ios::binary) << kA;
    Press(dlg, "1045", std::move(ModalScript().File(PathOf("p"))));
    EXPECT_EQ(Bytes("p.vxp"), kA);
    EXPECT_EQ(Lines(dlg), (std::vector<std::string>{PointHeader(), kA}));
}

TEST_F(StationSetupDlgTest, PointsPickedFromARepairedFileAndTheFileRewrittenOnOk) {
    CStationSetupDlg dlg(Gbk("测站"), 1, 2, "old", 3, 4);
    EXPECT_EQ(Edit(dlg, "1032")->text(), QString::fromUtf8("测站"));
    Browse(dlg, "p.vxp", kA + "\r\r\n" + kB + "\r\r\nshort");
    dlg.m_listPoints->Select(3);
    EXPECT_EQ(Press(dlg, "1048", std::move(ModalScript().Box(QMessageBox::Ok))).value(0),
              QString::fromUtf8(text::kInvalidPoint));
    dlg.m_listPoints->Select(1);
    Press(dlg, "1048");
    dlg.m_listPoints->Select(2);
    Press(dlg, "1049");
    EXPECT_EQ(Edit(dlg, "1038")->text(), "B");
    Edit(dlg, "1034")->setText("2.5");
    Press(dlg, "1");
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_strStationName, "A");
    EXPECT_EQ(dlg.m_dStationY, 2.5);
    EXPECT_EQ(dlg.m_dBacksightX, 3);
    EXPECT_EQ(Bytes("p.vxp"), PointHeader() + "\r\n" + kA + "\r\n" + kB + "\r\nshort\r\n");
}

TEST_F(StationSetupDlgTest, OkRefusesTheSamePointAndAddRefusesWhatDoesNotFit) {
    struct Case { const char* name; double x, y; };  // backsight: "B" at 1, 2
    for (Case c : {Case{"B", 5, 6}, Case{"A", 1, 2}}) {
        CStationSetupDlg dlg(c.name, c.x, c.y, "B", 1, 2);
        EXPECT_EQ(Press(dlg, "1", std::move(ModalScript().Box(QMessageBox::Ok))).value(0),
                  QString::fromUtf8(text::kSamePoints));
        EXPECT_NE(dlg.result(), QDialog::Accepted);
    }
    CStationSetupDlg dlg("A", 0, 1000000, "B", 1, 2);
    EXPECT_EQ(Press(dlg, "1047", std::move(ModalScript().Box(QMessageBox::Ok))).value(0),
              QString::fromUtf8(text::kPointTooWide));
    Edit(dlg, "1032")->setText(QString::fromUtf8("测站点名字"));  // 10 bytes in GBK
    Press(dlg, "1047", std::move(ModalScript().Box(QMessageBox::Ok)));
    EXPECT_EQ(Lines(dlg).size(), 1u);
}

TEST_F(StationSetupDlgTest, DeleteMovesTheSelectionAndIgnoresTheHeader) {
    CStationSetupDlg dlg("", 0, 0, "", 0, 0);
    Browse(dlg, "p.vxp", PointHeader() + "\r\n" + kA + "\r\n" + kB + "\r\n" + kA + "\r\n");
    dlg.m_listPoints->Select(2);
    Press(dlg, "1050", std::move(ModalScript().Box(QMessageBox::Cancel)));
    Press(dlg, "1050", std::move(ModalScript().Box(QMessageBox::Ok)));
    EXPECT_EQ(Lines(dlg), (std::vector<std::string>{PointHeader(), kA, kA}));
    EXPECT_EQ(dlg.m_listPoints->Selection(), 2);  // the next item, though the same text stands at 1
    Press(dlg, "1050", std::move(ModalScript().Box(QMessageBox::Ok)));
    EXPECT_EQ(dlg.m_listPoints->Selection(), -1);
    Press(dlg, "1050");  // nothing selected
    dlg.m_listPoints->Select(0);
    Press(dlg, "1050");  // the header
    EXPECT_EQ(Lines(dlg).size(), 2u);
}

TEST_F(StationSetupDlgTest, AFailedWriteOnOkKeepsTheDialogAndItsList) {
    CStationSetupDlg dlg("A", 0, 0, "B", 1, 2);
    Browse(dlg, "p.vxp", PointHeader() + "\r\n");
    Press(dlg, "1047");
    fs::remove_all(dir_);  // nowhere left to write
    auto texts = Press(dlg, "1", std::move(ModalScript().Box(QMessageBox::Ok)));
    EXPECT_TRUE(texts.value(0).startsWith(QString::fromUtf8("无法写入文件"))) << texts.value(0).toStdString();
    EXPECT_NE(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(Lines(dlg).size(), 2u);
}

}  // namespace
