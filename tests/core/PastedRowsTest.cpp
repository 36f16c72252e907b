// Rows pasted from a spreadsheet and copied back: what a spreadsheet puts on
// the clipboard, what is refused and where, and the round trip.
#include "CoreFixture.h"
#include "core/files/PastedRows.h"
#include "core/text/Texts.h"

namespace {

std::vector<std::string> Lines(const std::vector<ControlRow>& rows) { return ControlLines(rows); }

}  // namespace

TEST(PastedRows, SpreadsheetTextBecomesControlRows) {
    const std::vector<std::string> two = Lines({Row("0", "直线", "∞", "3825.123", "512.456"),
                                                Row("200", "圆曲线", "-300", "4100", "600")});
    struct Case { const char* name; std::string text; };
    for (const Case& c : {
             Case{"tabs, CR LF", "0\t直线\t∞\t3825.123\t512.456\r\n200\t圆曲线\t-300\t4100\t600\r\n"},
             Case{"commas, no final line end", "0,直线,∞,3825.123,512.456\n200,圆曲线,-300,4100,600"},
             Case{"blanks, quotes, blank lines", "\n 0 \t\"直线\"\t∞\t3825.123\t512.456\n\t\t\n200\t圆曲线\t-300\t4100\t600\n"},
             Case{"an empty column beside the block", "0\t直线\t∞\t3825.123\t512.456\t\n200\t圆曲线\t-300\t4100\t600\t\n"},
         }) {
        const PastedControlRows pasted = ParsePastedControlRows(c.text);
        EXPECT_EQ(pasted.strMessage, "") << c.name;
        EXPECT_EQ(Lines(pasted.rows), two) << c.name;
    }
}

TEST(PastedRows, ABadRowIsNamedByItsLineAndNothingIsTaken) {
    const std::string good = "0\t直线\t∞\t1\t2\n";
    struct Case { std::string text, message; };
    for (const Case& c : {
             Case{good + "\n10\t直线\t∞\t1\n", "粘贴的第3行应有5项（里程、线型、半径、X、Y），实有4项!"},
             Case{good + "10,直线,∞,1,2,3\n", "粘贴的第2行应有5项（里程、线型、半径、X、Y），实有6项!"},
             Case{good + "10\t直线\t\t1\t2\n", "粘贴的第2行的半径是空的，所有各项必须填写!"},
             Case{good + "1234567890123\t直线\t∞\t1\t2\n", "粘贴的第2行的里程最多只能有12个字节!"},
             Case{good + "10\t直线\t∞\t1\t座标座标座标座\n", "粘贴的第2行的Y最多只能有12个字节!"},
             Case{good + "10\t直线\t∞\t1\t2😀\n", "粘贴的第2行有不能用GBK编码的字符!"},
             Case{"里程\t线型\t半径\tX\tY\n" + good, "粘贴的第1行的线型“线型”不是直线、圆曲线、缓和曲线或终点!"},
             Case{good + "10\t曲线\t∞\t1\t2\n", "粘贴的第2行的线型“曲线”不是直线、圆曲线、缓和曲线或终点!"},
             Case{" \r\n\t\n", text::kPasteNothing},
             Case{good + std::string(5000, '1'), "粘贴的内容太多（最多10000行，每行最多4096个字节）!"},
         }) {
        const PastedControlRows pasted = ParsePastedControlRows(c.text);
        EXPECT_EQ(pasted.strMessage, c.message);
        EXPECT_TRUE(pasted.rows.empty()) << c.message;
    }
    std::string many;
    for (int i = 0; i < kPasteMaxRows; ++i) many += good;
    EXPECT_EQ(ParsePastedControlRows(many).rows.size(), std::size_t(kPasteMaxRows));
    EXPECT_FALSE(ParsePastedControlRows(many + good).Ok());
}

TEST(PastedRows, CopiedRowsPasteBackToTheSameLines) {
    const std::vector<std::string> list = DemoList();
    const std::vector<std::string> rows(list.begin() + 1, list.end());
    const std::string copied = CopiedControlRows(rows);
    EXPECT_EQ(copied.substr(0, copied.find('\n') + 1), "0\t直线\t∞\t3805000.000\t500000.000\n");
    EXPECT_EQ(Lines(ParsePastedControlRows(copied).rows), rows);
    // A tab or quote in a field stays inside it.
    EXPECT_EQ(CopiedPiRows({PiRow{1, "J\"D\t1", "1", "2", "", "", ""}}), "\"J\"\"D\t1\"\t1\t2\t\t\t\n");
    EXPECT_EQ(ParsePastedPiRows(CopiedPiRows({PiRow{1, "J\"D\t1", "1", "2", "", "", ""}})).rows.at(0).strName,
              "J\"D\t1");
}

TEST(PastedRows, IntersectionPointRowsKeepBlanksAndRefuseWhatIsNoNumber) {
    const PastedPiRows pasted = ParsePastedPiRows("起点\t0\t0\nJD1\t100\t0\t50\t10\t10\n终点,100,100,,,\n");
    ASSERT_EQ(pasted.strMessage, "");
    ASSERT_EQ(pasted.rows.size(), 3u);
    EXPECT_EQ(pasted.rows[0].strRadius, "");
    EXPECT_EQ(pasted.rows[1].strLs2, "10");
    EXPECT_EQ(pasted.rows[2].strY, "100");
    struct Case { const char *text, *message; };
    for (const Case& c : {
             Case{"交点\tX\tY\t半径\n", "粘贴的第1行的X“X”不是数字!"},
             Case{"JD1\t100\t0\t5O\n", "粘贴的第1行的半径“5O”不是数字!"},
             Case{"起点\t0\t0\nJD1\t1\t2\t3\t4\t5\t6\n", "粘贴的第2行多于6项（交点、X、Y、半径、缓和曲线长1、缓和曲线长2）!"},
         }) {
        EXPECT_EQ(ParsePastedPiRows(c.text).strMessage, c.message);
        EXPECT_TRUE(ParsePastedPiRows(c.text).rows.empty());
    }
}

TEST(PastedRows, RowsOfAStationAlreadyThereTakeItsPlace) {
    const std::vector<std::string> list = {ControlHeaderLine(), BuildControlLine(Row("0", "直线", "∞", "1", "2")),
                                           BuildControlLine(Row("100", "终点", "∞", "3", "4"))};
    const RowsPlaced placed = PlaceRows(list, {Row("100", "直线", "∞", "5", "6"), Row("200", "直线", "∞", "7", "8"),
                                               Row("200", "终点", "∞", "9", "9")});
    EXPECT_EQ(placed.nReplaced, 2);
    EXPECT_EQ(placed.lines, (std::vector<std::string>{list[0], list[1], BuildControlLine(Row("100", "直线", "∞", "5", "6")),
                                                      BuildControlLine(Row("200", "终点", "∞", "9", "9"))}));
}
