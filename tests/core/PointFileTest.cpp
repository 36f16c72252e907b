#include <gtest/gtest.h>

#include <cmath>

#include "geometry/Gbk.h"
#include "station/PointFile.h"

using namespace vexaline;

TEST(PointLine, ThirtyBytesThatReadBackOrRefused) {
    struct Case { std::string name; double x, y; std::string line; };  // line empty: refused
    Case cases[] = {
        {"A", 3825123.4567, 512345.6, "A       3825123.457 512345.600"},
        {Gbk("导线四号"), -1234567.89, -99999.9, Gbk("导线四号") + "-1234567.890-99999.900"},
        {"P", -12345678.9, 0, ""},     // the sign makes X 13 bytes
        {"P", 0, 999999.9996, ""},     // rounds up to 11 bytes
        {"P", std::nan(""), 0, ""},
        {"ABCDEFGHI", 0, 0, ""},
    };
    for (const Case& c : cases) {
        std::string line;
        EXPECT_EQ(MakePointLine(c.name, c.x, c.y, line), !c.line.empty()) << c.x << " " << c.y;
        EXPECT_EQ(line, c.line);
        if (c.line.empty()) continue;
        PointRecord p = SplitPointLine(line);
        EXPECT_EQ(p.strName, c.name);
        EXPECT_NEAR(p.dX, c.x, 0.0005);
        EXPECT_NEAR(p.dY, c.y, 0.0005);
    }
    // Y runs to the end of a longer line; a field without a number reads 0.
    PointRecord p = SplitPointLine("Q       abc         12345678.5xyz");
    EXPECT_EQ(p.dX, 0);
    EXPECT_EQ(p.dY, 12345678.5);
}

TEST(PointFile, ReadsEveryLineEndAndPutsTheHeaderFirst) {
    const std::string h = PointHeader(), a = "A       1.000       2.000     ", b = "B";
    struct Case { const char* what; std::string bytes; std::vector<std::string> lines; };
    Case cases[] = {
        {"CR LF", h + "\r\n" + a + "\r\n" + b + "\r\n", {h, a, b}},
        {"CR CR LF, no end on the last", h + "\r\r\n" + a + "\r\r\n" + b, {h, a, b}},
        {"empty line kept", h + "\r\n\r\n" + a + "\r\n", {h, "", a}},
        {"empty file", "", {h}},
        {"no header", a + "\r\n" + b + "\r\n", {h, a, b}},
    };
    for (const Case& c : cases) EXPECT_EQ(ParsePointFile(c.bytes), c.lines) << c.what;
    EXPECT_EQ(PointFileBytes({h, a + "tail", b}), h + "\r\n" + a + "\r\n" + b + "\r\n");
}
