// D.MMSS texts and column filling.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "geometry/AngleText.h"
#include "geometry/PlanePoint.h"

using namespace vexaline;

TEST(DmsToRadians, TableSignAndShortFields) {
    struct Case { const char* in; const char* out; };
    const Case cases[] = {
        {"90.0000", "1.570796"}, {"90", "1.570796"},      {"45.3015", "0.794198"},
        {"45.301525", "0.794199"}, {"90.1", "1.571087"},  {"90.001", "1.570801"},
        {"90.30", "1.579523"},   {"0.0030", "0.000145"},  {".3000", "0.008727"},
        {"-45.3000", "-0.794125"}, {"359.5959", "6.283180"},
        // The sign after leading blanks, and for the whole angle.
        {"  -45.3000", "-0.794125"}, {"-0.3000", "-0.008727"}, {"-0", "-0.000000"},
        // Short and odd fields: "90." is 90°, "45.30151" has 15.1 seconds,
        // parts that do not read as numbers count 0.
        {"90.", "1.570796"},     {"45.30151", "0.794198"}, {"", "0.000000"},
        {"abc", "0.000000"},     {"1x.30", "0.026180"},     {"0.0000001", "0.000000"},
    };
    for (const Case& c : cases) EXPECT_EQ(DmsToRadians(c.in), c.out) << "[" << c.in << "]";
    // 45°30'15.1" exactly as the formula gives it.
    double v = ((30 * 9.259259259259259e-05 + 45 * 0.005555555555555556) + 15.1 * 1.5432098765432098e-06) * kPi;
    char want[32];
    std::snprintf(want, sizeof want, "%lf", v);
    EXPECT_EQ(DmsToRadians("45.30151"), want);
}

TEST(RadiansToDms, Table) {
    struct Case { const char* in; const char* out; };
    const Case cases[] = {
        {"1.000000", "57.1745"},   {"0.500000", "28.3852"},  {"1.570796", "90.0000"},
        {"1.570796326794897", "90.0000"}, {"3.141593", "180.0000"}, {"4.712389", "270.0000"},
        {"6.283185", "0.0000"},    {"2.000000", "114.3530"}, {"-1.000000", "-57.1745"},
        {"13.000000", "384.5042"}, {"0.000002", "0.0000"},
        // Sign decided before rounding; texts read as atof reads them.
        {"-0.000001", "-0.0000"},  {"abc", "0.0000"},        {"", "0.0000"},
        {"1.000000xyz", "57.1745"}, {"  0.5", "28.3852"},
    };
    for (const Case& c : cases) EXPECT_EQ(RadiansToDms(c.in), c.out) << c.in;
}

TEST(RadiansToDms, SecondsRoundingAndTheThreeCarries) {
    auto text = [](double degrees) {
        char b[40];
        std::snprintf(b, sizeof b, "%.15lf", degrees * kPi / 180.0);
        return std::string(b);
    };
    EXPECT_EQ(RadiansToDms(text(10 + 59.4 / 3600)), "10.0059");            // .4 rounds down
    EXPECT_EQ(RadiansToDms(text(10 + 58.6 / 3600)), "10.0059");            // .6 rounds up
    EXPECT_EQ(RadiansToDms(text(10 + 59.7 / 3600)), "10.0100");            // 60" → 1'
    EXPECT_EQ(RadiansToDms(text(10 + 59.0 / 60 + 59.7 / 3600)), "11.0000");  // 60' → 1°
    EXPECT_EQ(RadiansToDms(text(359 + 59.0 / 60 + 59.7 / 3600)), "0.0000");  // 360° → 0°
    EXPECT_EQ(RadiansToDms(text(719 + 59.0 / 60 + 59.7 / 3600)), "360.0000");  // only once
    // An exact half second (r − S == 0.5 in doubles) is not rounded up; the
    // next double above it is. 0.0021453005389096965 rad is 0°07'22.5".
    EXPECT_EQ(RadiansToDms("0.0021453005389096965"), "0.0722");
    char above[40];
    std::snprintf(above, sizeof above, "%.17g", std::nextafter(0.0021453005389096965, 1.0));
    EXPECT_EQ(RadiansToDms(above), "0.0723");
}

TEST(PadRight, FillsButNeverCuts) {
    EXPECT_EQ(PadRight("\xD6\xB1\xCF\xDF\xB6\xCE", 10), "\xD6\xB1\xCF\xDF\xB6\xCE    ");  // 直线段
    EXPECT_EQ(PadRight("12345678901234", 12), "12345678901234");
    EXPECT_EQ(PadRight("", 10), std::string(10, ' '));
    EXPECT_EQ(PadRight("abc", 3), "abc");
    EXPECT_EQ(PadRight("abc", -5), "abc");
    std::string line = "ab";
    PadField(line, 1, 4);
    EXPECT_EQ(line, "ab   ");
}
