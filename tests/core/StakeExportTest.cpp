// Stakes out: the names in K notation, and the CASS .dat lines, written out
// by hand from the stakes' coordinates.
#include <gtest/gtest.h>

#include <cmath>

#include "core/files/StakeExport.h"
#include "core/text/Gbk.h"

using namespace vexaline;

namespace {

constexpr double kRight = 1.5707963267948966;  // 90°

StakeResult Row(double station, double x, double y, double offset = 0, double deflection = kRight) {
    StakeResult r;
    r.dStation = station;
    r.point = CPlanePoint(x, y);
    r.dOffset = offset;
    r.dDeflection = deflection;
    return r;
}

}  // namespace

TEST(StakeName, StationToTheMillimetreThenSideAndOffset) {
    struct Case {
        double station, offset, deflection;
        const char* name;
    };
    const Case cases[] = {
        {999.9996, 0, kRight, "K1+000.000"},  // the millimetre carries into the kilometre
        {999.9994, 0, kRight, "K0+999.999"},
        {0, 0, kRight, "K0+000.000"},
        {12.0504, 0, kRight, "K0+012.050"},
        {1234.5, 7.5, kRight, "K1+234.500R7.5"},
        {1234.5, -7.5, kRight, "K1+234.500L7.5"},
        {1234.5, 7.5, 3 * kRight, "K1+234.500L7.5"},   // deflected to 270°: the left side
        {1234.5, -7.25, -kRight, "K1+234.500R7.25"},
        {1234.5, 10, kRight, "K1+234.500R10"},
        {1234.5, 0.125, 0.5, "K1+234.500R0.125"},     // any deflection with a positive sine
        {1234.5, 5, 0, "K1+234.500" "5"},              // straight ahead: no side to name
        {1234567.25, 0, kRight, "K1234+567.250"},
        {-12.5, 0, kRight, "K-0+012.500"},
    };
    for (const Case& c : cases) EXPECT_EQ(StakeName(c.station, c.offset, c.deflection), c.name) << c.station;
}

TEST(StakesOut, CassDatHasOneLinePerStakeEastBeforeNorthAndNoMessages) {
    ResultSet results;
    results.rows = {Row(1000, 3805345.1754, 500688.6616), Row(1020, -1.5, 2.0005)};
    StakeResult message;
    message.nMessage = 0;
    results.messages = {Gbk("控制数据中里程300.000或420.000处的线型和半径不相符！")};
    results.rows.insert(results.rows.begin() + 1, message);
    EXPECT_EQ(StakesCassDat(results),
              "K1+000.000,,500688.662,3805345.175,0.000\r\n"
              "K1+020.000,,2.001,-1.500,0.000\r\n");
    results.rows = {Row(1000, 10, 20, -7.5), Row(1020, -0.0004, -1e-9)};  // no "-0.000"
    EXPECT_EQ(StakesCassDat(results), "K1+000.000L7.5,,20.000,10.000,0.000\r\nK1+020.000,,0.000,0.000,0.000\r\n");
    EXPECT_EQ(StakesCassDat(ResultSet()), "");
}

TEST(StakesOut, CsvIsUtf8WithAMarkTheListsTitlesAndItsValues) {
    ResultSet results;
    StakeResult stake = Row(1000, 3805345.1754, 500688.6616);
    stake.dAzimuth = 0.5;  // 28°38′52.4″
    stake.segment = LineType::Straight;
    StakeResult message;
    message.nMessage = results.AddMessage(Gbk("控制数据中里程300.000或420.000处的线型和半径不相符！"));
    results.rows = {stake, message};
    EXPECT_EQ(StakesCsv(results),
              "\xEF\xBB\xBF"
              "桩号,X坐标,Y坐标,切线方位角,说明\r\n"
              "1000.000,3805345.175,500688.662,28.3852,直线段\r\n"
              ",,,,控制数据中里程300.000或420.000处的线型和半径不相符！\r\n");
    results.mode = ResultMode::SettingOut;
    stake.dAngle = 1.5707963267948966;
    stake.dDistance = 50;
    stake.nSetup = results.AddSetup({Gbk("导,1"), CPlanePoint(), "B\"2", CPlanePoint(1, 1)});
    results.rows = {stake};
    EXPECT_EQ(StakesCsv(results),
              "\xEF\xBB\xBF"
              "桩号,水平角,平距,设站点,后视点\r\n"
              "1000.000,90.0000,50.000,\"导,1\",\"B\"\"2\"\r\n");
}
