// Exchange through the main window: LandXML opened as unsaved rows and saved
// as LandXML, and the stakes saved as DXF, CASS .dat and CSV.
#include <QInputDialog>
#include <QLabel>

#include "DlgFixture.h"
#include "core/files/LandXml.h"
#include "core/text/TextFields.h"

namespace {

const char* const kXml = R"(<?xml version="1.0"?>
<LandXML xmlns="http://www.landxml.org/schema/LandXML-1.2" version="1.2"><Alignments>
 <Alignment name="east" staStart="0"><CoordGeom><Line length="100"><Start>0 0</Start><End>0 100</End></Line></CoordGeom></Alignment>
</Alignments></LandXML>)";

}  // namespace

class ExchangeDlgTest : public DlgTest {};

TEST_F(ExchangeDlgTest, LandXmlOpensAsUnsavedRowsThatSaveToTheAlignmentFileBesideIt) {
    WriteBytes("road.xml", kXml);
    Click(1, ModalScript().File(QPath("road.xml"), 2));
    EXPECT_EQ(Records(), LinesOf({{"0.000", "直线", "∞", "0.000", "0.000"}, {"100.000", "终点", "∞", "0.000", "100.000"}}));
    EXPECT_EQ(Edit(1007)->text(), "road.vxa");
    EXPECT_FALSE(dlg_.Document().Saved());
    EXPECT_FALSE(fs::exists(PathOf("road.vxa")));  // written when the user saves
    Click(1011);
    EXPECT_EQ(ReadBytes("road.vxa").substr(94), LinesOf({{"0.000", "直线", "∞", "0.000", "0.000"}})[0] + "\r\n" +
                                                    LinesOf({{"100.000", "终点", "∞", "0.000", "100.000"}})[0] + "\r\n");
    EXPECT_TRUE(dlg_.Document().Saved());

    // A refused file leaves the list as it was, and says why.
    WriteBytes("bad.xml", std::string(kXml).replace(std::string(kXml).find("0 0<"), 3, "0 x"));
    EXPECT_EQ(Click(1, ModalScript().File(QPath("bad.xml"), 2).Box(QMessageBox::Ok)).at(1).text,
              Q("第1个线元（里程0.000）缺少Start或其数值无效!"));
    EXPECT_EQ(Records().size(), 2u);
}

// A 长链 of 10 m at 60 = 50: the line's end, 100 m along, is 桩号 90, and
// 桩号 55 lies twice, 55 m and 65 m along the line.
TEST_F(ExchangeDlgTest, LandXmlWithStationEquationsOpensWithItsTableAndSavesBothFiles) {
    OpenRows({{"0", "直线", "∞", "0", "0"}, {"30", "终点", "∞", "0", "30"}});
    std::string chained = kXml;
    chained.insert(chained.find("<CoordGeom>"), R"(<StaEquation staBack="60" staAhead="50" staInternal="60"/>)");
    WriteBytes("chain.xml", chained);
    Click(1, ModalScript().File(QPath("chain.xml"), 2));
    EXPECT_EQ(Records(), LinesOf({{"0.000", "直线", "∞", "0.000", "0.000"}, {"90.000", "终点", "∞", "0.000", "100.000"}}));
    EXPECT_EQ(Get<QLabel>(2012)->text(),
              Q(Format(text::kHeightsChainLine, text::kHeightsNone, text::kHeightsNone, text::kHeightsUnsaved)));
    Set({{1020, "55(2)"}, {1017, "0"}});
    Click(1021);
    ASSERT_EQ(dlg_.Document().Results().rows.size(), 1u);
    EXPECT_EQ(dlg_.Document().Results().rows[0].point.Y, 65.0);
    EXPECT_FALSE(fs::exists(PathOf("chain.vxa")) || fs::exists(PathOf("chain.vxd")));

    Click(1011);
    EXPECT_TRUE(dlg_.Document().Saved());
    EXPECT_EQ(ReadBytes("chain.vxd"), "\xEF\xBB\xBF断链前桩号,断链后桩号\r\n60.000,50.000\r\n");
    const std::vector<std::string> rows = Records();
    EXPECT_EQ(ReadBytes("chain.vxa").substr(94), rows[0] + "\r\n" + rows[1] + "\r\n");

    // Undone, the road and table before: road.vxa without equations.
    dlg_.OnUndoControl();
    EXPECT_EQ(Edit(1007)->text(), "road.vxa");
    EXPECT_EQ(Records().size(), 2u);
    EXPECT_TRUE(dlg_.Document().EquationRows().empty());
}

// A 5.98 m line whose rows (an 8-digit easting to the millimetre) turn it
// 31.3″, a side stake 10 m out 1.5 mm: the road opens, and the box names it.
TEST_F(ExchangeDlgTest, LandXmlWithALineTurnedBeyondTwentySecondsOpensAndSaysWhichLine) {
    WriteBytes("turned.xml", R"(<LandXML><Alignments><Alignment name="main" staStart="500"><CoordGeom>
      <Line length="5.980000"><Start>3805123.456789 24525276.867490</Start><End>3805129.428429 24525277.183583</End></Line>
      <Spiral spiType="clothoid" rot="cw" length="40.000000" radiusStart="INF" radiusEnd="150.000000">
        <Start>3805129.428429 24525277.183583</Start><PI>3805156.082656 24525278.594454</PI><End>3805169.207706 24525281.067201</End></Spiral>
      </CoordGeom></Alignment></Alignments></LandXML>)");
    const auto seen = Click(1, ModalScript().File(QPath("turned.xml"), 2).Box(QMessageBox::Ok));
    EXPECT_EQ(seen.at(1).text, Q("控制数据的坐标定不住短线元的方向：下列线元放样的切线方向偏离文件超过20秒，但中桩和两侧10米边桩都在文件线形5毫米以内。"
                                 "第1个线元（长5.980米）偏31.3秒，10米边桩因此偏1.5毫米。"));
    EXPECT_EQ(Records().size(), 3u);
    EXPECT_EQ(Edit(1007)->text(), "turned.vxa");
}

TEST_F(ExchangeDlgTest, AnAlignmentOfAGbkFileIsChosenInTheListByItsOwnName) {
    WriteBytes("gbk.xml", "<?xml version=\"1.0\" encoding=\"GBK\"?>" +
                              Gbk("<LandXML><Alignments>"
                                  "<Alignment name='主线'><CoordGeom><Line><Start>0 0</Start><End>0 20</End></Line></CoordGeom></Alignment>"
                                  "<Alignment name='匝道'><CoordGeom><Line><Start>5 5</Start><End>5 25</End></Line></CoordGeom></Alignment>"
                                  "</Alignments></LandXML>"));
    QStringList offered;
    Click(1, ModalScript().File(QPath("gbk.xml"), 2).Dialog([&offered](QWidget* w) {
        auto* choice = qobject_cast<QInputDialog*>(w);
        ASSERT_TRUE(choice);
        offered = choice->comboBoxItems();
        choice->setTextValue(Q("匝道"));
        choice->accept();
    }));
    EXPECT_EQ(offered, QStringList({Q("主线"), Q("匝道")}));
    EXPECT_EQ(Records(), LinesOf({{"0.000", "直线", "∞", "5.000", "5.000"}, {"20.000", "终点", "∞", "5.000", "25.000"}}));
}

TEST_F(ExchangeDlgTest, ControlRowsSaveAsLandXmlAndTheAlignmentFileStaysAsItWas) {
    OpenRows({{"0", "直线", "∞", "0", "0"}, {"100", "终点", "∞", "0", "100"}});
    const std::string before = ReadBytes("road.vxa");
    Click(2005, ModalScript().File(QPath("road.xml"), 2));
    EXPECT_EQ(ReadBytes("road.vxa"), before);
    LandXmlImport back = ImportLandXml(ReadBytes("road.xml"), "");
    ASSERT_EQ(back.status, ImportStatus::Ok) << back.strMessage;
    EXPECT_EQ(back.strName, "road");
    ASSERT_EQ(back.rows.size(), 2u);
    EXPECT_EQ(BuildControlLine(back.rows[1]), LinesOf({{"100.000", "终点", "∞", "0.000", "100.000"}})[0]);
}

TEST_F(ExchangeDlgTest, StakesSaveAsDxfCassAndCsvWithTheirOwnExtensions) {
    OpenRows({{"0", "直线", "∞", "0", "0"}, {"100", "终点", "∞", "0", "100"}});
    Set({{1014, "0"}, {1015, "100"}, {1016, "50"}, {1017, "-2"}, {1024, "90"}});
    Click(1018);
    Click(1019, ModalScript().File(QPath("s.txt"), 4));  // the proposed .txt becomes .dat
    EXPECT_EQ(ReadBytes("s.dat"), "K0+000.000L2,,0.000,2.000,0.000\r\n"
                                  "K0+050.000L2,,50.000,2.000,0.000\r\n"
                                  "K0+100.000L2,,100.000,2.000,0.000\r\n");
    EXPECT_TRUE(dlg_.Document().ResultsSaved());
    // The .txt name again, type CASS: the .dat now exists, and No keeps it.
    WriteBytes("s.dat", "kept");
    const auto seen = Click(1019, ModalScript().File(QPath("s.txt"), 4).Box(QMessageBox::No));
    EXPECT_EQ(seen.back().text, Q("s.dat已经存在。\n要替换它吗?"));
    EXPECT_EQ(ReadBytes("s.dat"), "kept");
    Click(1019, ModalScript().File(QPath("s.csv"), 5));
    EXPECT_EQ(ReadBytes("s.csv").substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(ReadBytes("s.csv").find("\r\n50.000,2.000,50.000,90.0000,直线段\r\n"), std::string::npos);
    Click(1019, ModalScript().File(QPath("s.dxf"), 3));
    const std::string dxf = ReadBytes("s.dxf");
    EXPECT_NE(dxf.find("$DWGCODEPAGE"), std::string::npos);
    EXPECT_NE(dxf.find(Gbk("边桩")), std::string::npos);
    EXPECT_NE(dxf.find("K0+050.000L2"), std::string::npos);
}

// A typed extension of a known type picks that type; one that contradicts a
// type the user chose is asked about, and No writes nothing.
TEST_F(ExchangeDlgTest, ATypedExtensionPicksTheStakesFormatAndAContradictionIsAsked) {
    OpenRows({{"0", "直线", "∞", "0", "0"}, {"100", "终点", "∞", "0", "100"}});
    Set({{1014, "0"}, {1015, "100"}, {1016, "50"}, {1017, "0"}, {1024, "90"}});
    Click(1018);
    Click(1019, ModalScript().File(QPath("big.dxf"), 1));  // 普通格式 left selected
    EXPECT_EQ(ReadBytes("big.dxf").find(Gbk("工 程 名")), std::string::npos);
    EXPECT_NE(ReadBytes("big.dxf").find("$DWGCODEPAGE"), std::string::npos);
    Click(1019, ModalScript().File(QPath("cad.txt"), 2));
    EXPECT_NE(ReadBytes("cad.txt").find("\r\n0.000,50.000\r\n0.000,100.000\r\n"), std::string::npos);

    const QString asked = Q("s.csv的扩展名与选定的文件类型“CASS 坐标文件 (*.dat)”不符。\n要保存为“CSV 表格 (*.csv)”吗?");
    dlg_.Document().SetResultsSaved(false);
    EXPECT_EQ(Click(1019, ModalScript().File(QPath("s.csv"), 4).Box(QMessageBox::No)).at(1).text, asked);
    EXPECT_FALSE(fs::exists(PathOf("s.csv")) || fs::exists(PathOf("s.dat")));
    EXPECT_FALSE(dlg_.Document().ResultsSaved());
    Click(1019, ModalScript().File(QPath("s.csv"), 4).Box(QMessageBox::Yes));
    EXPECT_NE(ReadBytes("s.csv").find("\r\n50.000,0.000,50.000,90.0000,直线段\r\n"), std::string::npos);
    EXPECT_TRUE(dlg_.Document().ResultsSaved());

    // The control rows likewise: a .vxa typed while LandXML is chosen.
    const std::string before = ReadBytes("road.vxa");
    const auto seen = Click(2005, ModalScript().File(QPath("copy.vxa"), 2).Box(QMessageBox::No));
    EXPECT_EQ(seen.at(1).text, Q("copy.vxa的扩展名与选定的文件类型“LandXML (*.xml)”不符。\n要保存为“平面定线文件 (*.vxa)”吗?"));
    EXPECT_FALSE(fs::exists(PathOf("copy.vxa")) || fs::exists(PathOf("copy.xml")));
    EXPECT_EQ(Edit(1007)->text(), "road.vxa");
}
