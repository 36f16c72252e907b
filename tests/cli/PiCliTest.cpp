// vexaline-cli pi: the alignment file, the curve table and the exit statuses.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "CliRun.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/files/AlignmentFile.h"
#include "core/files/TextFile.h"
#include "core/text/Gbk.h"

namespace fs = std::filesystem;

namespace {

const fs::path kDir = fs::temp_directory_path() / ("vexaline-pi-" + std::to_string(::getpid()));

clitest::Outcome Pi(const std::string& args) { return clitest::Cli("pi " + args); }

std::string Table(const std::string& name, const std::string& rows) {
    fs::create_directories(kDir);
    const std::string path = (kDir / name).string();
    std::ofstream(path, std::ios::binary) << "\xEF\xBB\xBF交点,X,Y,半径,缓和曲线长1,缓和曲线长2\r\n" << rows;
    return path;
}

}  // namespace

TEST(CliPi, AQuarterTurnGivesItsRowsCurveTableAndJson) {
    // R = 50 turning 90° right: T = 50, L = 25π, E = 50(√2 − 1).
    const std::string table = Table("turn.csv", "QD,0,0,,,\r\nJD1,100,0,50,,\r\nZD,100,100,,,\r\n");
    const std::string vxa = (kDir / "turn.vxa").string(), csv = (kDir / "turn-curves.csv").string();
    const clitest::Outcome r = Pi(table + " --start-station 1000 -o " + vxa + " --report " + csv + " --json");
    ASSERT_EQ(r.status, 0);
    std::string bytes;
    ASSERT_EQ(vexaline::ReadWholeFile(vxa, bytes), vexaline::ReadStatus::Ok);
    const std::vector<std::string> records = vexaline::AlignmentRecords(bytes);
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[1], vexaline::Gbk("1050.000    圆曲线    50.000      50.000      0.000       "));
    EXPECT_EQ(records[3], vexaline::Gbk("1178.540    终点      ∞          100.000     100.000     "));
    ASSERT_EQ(vexaline::ReadWholeFile(csv, bytes), vexaline::ReadStatus::Ok);
    EXPECT_NE(bytes.find("\r\nJD1,右90.0000,50.000,0.000,0.000,50.000,50.000,78.540,20.711,K1+050.000,"),
              std::string::npos);
    const nlohmann::json j = nlohmann::json::parse(r.out)["curves"][0];
    EXPECT_EQ(j["jd"], "JD1");
    EXPECT_EQ(j["deflection"], "右90.0000");
    EXPECT_EQ(j["T1"], 50.0);
    EXPECT_EQ(j["L"], 78.54);
    EXPECT_EQ(j["E"], 20.711);
    EXPECT_EQ(j["HZ"], 1128.54);
    EXPECT_EQ(j["x"], 100.0);
}

TEST(CliPi, RefusedTablesWriteNothingAndUsageIsTwo) {
    const std::string vxa = (kDir / "none.vxa").string();
    const std::string good = Table("good.csv", "QD,0,0\nJD1,100,0,50\nZD,100,100\n");
    struct Case {
        std::string args;
        int status;
    };
    const Case cases[] = {
        {Table("flat.csv", "QD,0,0\nJD1,100,0,0\nZD,100,100\n") + " --start-station 0", 1},  // radius 0
        {Table("long.csv", "QD,0,0\nJD1,30,0,50\nZD,30,100\n") + " --start-station 0", 1},   // T1 past the start
        {good + " --start-station K1+000", 2},
        {good, 2},  // no start station
        {(kDir / "missing.csv").string() + " --start-station 0", 2},
        {Table("quote.csv", "QD,0,0\n\"JD1,100,0,50\nZD,100,100\n") + " --start-station 0", 2},  // no table
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Pi(c.args + " -o " + vxa).status, c.status) << c.args;
        EXPECT_FALSE(fs::exists(vxa)) << c.args;
    }
    fs::remove_all(kDir);
}
