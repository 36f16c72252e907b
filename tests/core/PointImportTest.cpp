// Traverse points in from CASS .dat and CSV files: the point lines they give
// (written out by hand), and the line a refused file is refused at.
#include <gtest/gtest.h>

#include "core/files/PointImport.h"
#include "core/text/Gbk.h"

using namespace vexaline;

TEST(PointImport, DatTakesNorthAsXAndCsvTakesXThenY) {
    struct Case {
        PointFormat format;
        std::string bytes;
        std::vector<std::string> lines;  // UTF-8
    };
    const Case cases[] = {
        // name,code,east,north,height: X is the fourth field, Y the third.
        {PointFormat::CassDat, "K1,,500123.4567,3805000.1,12.5\r\nK2,ctl,500200,3805100\r\n\r\n",
         {"K1      3805000.100 500123.457", "K2      3805100.000 500200.000"}},
        {PointFormat::CassDat, Gbk("导1, ,1,2,0\n"), {"导1     2.000       1.000     "}},
        // A header row is skipped; quotes and blanks around fields go; a last line without an end counts.
        {PointFormat::Csv, "name,X,Y\r\n\"A\", 3805000.0 ,500000\r\nB,-1.5,2", {"A       3805000.000 500000.000", "B       -1.500      2.000     "}},
        // UTF-8 with its mark, as spreadsheets save it: the name becomes GBK.
        {PointFormat::Csv, "\xEF\xBB\xBF" "后视,1,2\r\n", {"后视    1.000       2.000     "}},
        {PointFormat::Csv, Gbk("后视,1,2\r\n"), {"后视    1.000       2.000     "}},  // GBK as Chinese Excel saves it
        {PointFormat::Csv, "", {}},
    };
    for (const Case& c : cases) {
        PointImport in = ImportPoints(c.bytes, c.format);
        EXPECT_EQ(in.strMessage, "") << c.bytes;
        std::vector<std::string> shown;
        for (const std::string& line : in.lines) shown.push_back(GbkToUtf8(line));
        EXPECT_EQ(shown, c.lines) << c.bytes;
    }
}

TEST(PointImport, ABadLineRefusesTheWholeFileAndIsNamed) {
    struct Case {
        PointFormat format;
        std::string bytes;
        std::string message;
    };
    const Case cases[] = {
        {PointFormat::CassDat, "A,,1,2,0\r\nB,,1\r\n", "第2行：应有4个用逗号分隔的字段"},
        {PointFormat::Csv, "A,1,2\nB,1\n", "第2行：应有3个用逗号分隔的字段"},
        {PointFormat::Csv, "A,1,2\n\nTOOLONGNAME,1,2\n", "第3行：点名为空、超过8个字节或含有GBK不能表示的字符"},
        {PointFormat::Csv, "A,1,2\n,1,2\n", "第2行：点名为空、超过8个字节或含有GBK不能表示的字符"},
        {PointFormat::Csv, "A,1,2\nB,1,2m\n", "第2行：坐标不是数字"},
        {PointFormat::Csv, "A,1,nan\n", "第1行：坐标不是数字"},
        {PointFormat::Csv, "A,1,1e400\n", "第1行：坐标不是数字"},
        {PointFormat::CassDat, "A,,1,x,0\n", "第1行：坐标不是数字"},  // a .dat has no header row
        {PointFormat::Csv, "A,1,1000000\n", "第1行：坐标超出了点文件的字段宽度（X最多12位，Y最多10位）"},
        {PointFormat::Csv, "A,123456789.5,1\n", "第1行：坐标超出了点文件的字段宽度（X最多12位，Y最多10位）"},
        {PointFormat::Csv, "\xEF\xBB\xBF" "\xF0\x9F\x98\x80,1,2\n", "第1行：点名为空、超过8个字节或含有GBK不能表示的字符"},
    };
    for (const Case& c : cases) {
        PointImport in = ImportPoints(c.bytes, c.format);
        EXPECT_EQ(in.strMessage, c.message) << c.bytes;
        EXPECT_TRUE(in.lines.empty()) << c.bytes;
    }
}
