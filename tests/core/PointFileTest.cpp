#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "geometry/Gbk.h"
#include "station/PointFile.h"

using namespace vexaline;

TEST(PointLine, BuildsThirtyByteLinesAndRefusesWhatWouldNotFit) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Case { std::string name; double x, y; bool ok; std::string line; };
    Case cases[] = {
        {"A", 3825123.4567, 512345.6, true, "A       3825123.457 512345.600"},
        {Gbk("导线四号"), -1234567.89, -99999.9, true, Gbk("导线四号") + "-1234567.890-99999.900"},
        {"", 0, -0.0001, true, "        0.000       -0.000    "},
        {"P", 99999999.9994, 999999.9994, true, "P       99999999.999999999.999"},
        {"P", 123456789.0, 0, false, ""},   // X 13 bytes
        {"P", -12345678.9, 0, false, ""},   // the sign makes 13
        {"P", 0, 999999.9996, false, ""},   // rounds up to 11 bytes
        {"P", 0, -100000, false, ""},
        {"P", std::nan(""), 0, false, ""},
        {"P", 0, -inf, false, ""},
        {"ABCDEFGHI", 0, 0, false, ""},     // name over 8 bytes
        {Gbk("测站点名字"), 0, 0, false, ""},
    };
    for (const Case& c : cases) {
        std::string line = "untouched";
        EXPECT_EQ(MakePointLine(c.name, c.x, c.y, line), c.ok) << c.x << " " << c.y;
        EXPECT_EQ(line, c.ok ? c.line : "untouched") << c.x << " " << c.y;
        if (c.ok) {
            EXPECT_EQ(line.size(), kPointLineBytes);
        }
    }
}

TEST(PointLine, SplitsByBytesWithAtofNumbers) {
    struct Case { std::string line; std::string name; double x, y; };
    Case cases[] = {
        {"A       3825123.457 512345.600", "A", 3825123.457, 512345.6},
        {Gbk("导线四号") + "-1234567.890-99999.900", Gbk("导线四号"), -1234567.89, -99999.9},
        // Y runs to the end of the line, past its 10 bytes.
        {"P       1.000       12345678.500  ", "P", 1.0, 12345678.5},
        {"Q       abc         7.5xyz", "Q", 0, 7.5},
        {"R", "R", 0, 0},
        {"  lead  1e3         ", "  lead", 1000, 0},
    };
    for (const Case& c : cases) {
        PointRecord p = SplitPointLine(c.line);
        EXPECT_EQ(p.strName, c.name) << c.line;
        EXPECT_EQ(p.dX, c.x) << c.line;
        EXPECT_EQ(p.dY, c.y) << c.line;
    }
}

TEST(PointFile, ReadsLineEndsAndPutsTheHeaderFirst) {
    const std::string h = PointHeader();
    const std::string a = "A       1.000       2.000     ";
    const std::string b = "B       3.000       4.000     ";
    struct Case { const char* what; std::string bytes; std::vector<std::string> lines; };
    Case cases[] = {
        {"CR LF", h + "\r\n" + a + "\r\n" + b + "\r\n", {h, a, b}},
        {"CR CR LF", h + "\r\r\n" + a + "\r\r\n" + b + "\r\r\n", {h, a, b}},
        {"LF only", h + "\n" + a + "\n", {h, a}},
        {"no end on the last line", h + "\r\n" + a + "\r\n" + b, {h, a, b}},
        {"empty line kept", h + "\r\n\r\n" + a + "\r\n", {h, "", a}},
        {"header without its blanks", "  点名    X坐标       Y坐标\r\n" + a + "\r\n", {Gbk("  点名    X坐标       Y坐标"), a}},
        {"empty file", "", {h}},
        {"header only", h + "\r\n", {h}},
        {"no header", a + "\r\n" + b + "\r\n", {h, a, b}},
        {"something else first", "hello\r\n" + a + "\r\n", {h, "hello", a}},
    };
    for (Case& c : cases) {
        // The header case is typed in UTF-8 above; files hold GBK.
        if (std::string(c.what) == "header without its blanks") c.bytes = Gbk(c.bytes.c_str());
        EXPECT_EQ(ParsePointFile(c.bytes), c.lines) << c.what;
    }
}

TEST(PointFile, WritesEveryItemCutToThirtyBytesWithCrLf) {
    const std::string h = PointHeader();
    const std::string a = "A       1.000       2.000     ";
    std::vector<std::string> lines = {h, a, "short", a + "tail"};
    EXPECT_EQ(PointFileBytes(lines), h + "\r\n" + a + "\r\nshort\r\n" + a + "\r\n");
    EXPECT_EQ(PointFileBytes({h}), h + "\r\n");

    // What is written reads back as the same list.
    std::vector<std::string> list = {h, a, "B       -3.000      4.000     "};
    EXPECT_EQ(ParsePointFile(PointFileBytes(list)), list);
}
