// vexaline-cli check: the report, its JSON and the exit statuses.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "CliRun.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

const std::string kDemo = std::string(VEXALINE_SOURCE_DIR) + "/examples/demo.vxa";

clitest::Outcome Check(const std::string& args) { return clitest::Cli("check " + args); }

// A copy of the sample road with one byte string replaced (same length).
std::string FaultyCopy(const std::string& from, const std::string& to) {
    std::ifstream in(kDemo, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    bytes.replace(bytes.find(from), from.size(), to);
    const fs::path path = fs::temp_directory_path() / ("vexaline-check-" + std::to_string(::getpid()) + ".vxa");
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
}

}  // namespace

TEST(CliCheck, ACleanRoadExitsZeroAFaultyOneOneWithTheMendAndAnUnreadableOneTwo) {
    clitest::Outcome r = Check(kDemo);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "控制数据检查无误：12 行，闭合差都不超过 5 毫米，折角都不超过 20″。");

    const std::string faulty = FaultyCopy("-250        3805503.911", "250         3805503.911");  // row 9
    r = Check(faulty + " --json");
    EXPECT_EQ(r.status, 1);
    const nlohmann::json j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["rows"], 12);
    ASSERT_EQ(j["elements"].size(), 11u);
    const nlohmann::json& first = j["elements"][0];
    EXPECT_EQ(first["row"], 1);
    EXPECT_EQ(first["from"], 0.0);
    EXPECT_EQ(first["to"], 300.0);
    EXPECT_EQ(first["type"], "直线");
    EXPECT_TRUE(first["kink_sec"].is_null() && first["closure_start_mm"].is_number() && first["flagged"] == false);
    EXPECT_TRUE(j["elements"][8]["flagged"] == true && j["elements"][8]["problems"].size() == 1u);
    EXPECT_EQ(j["flagged_rows"], nlohmann::json::array({9, 10}));
    EXPECT_EQ(j["suggestion"], (nlohmann::json{{"row", 9}, {"field", "radius"}, {"from", "250"}, {"to", "-250"}}));
    r = Check(faulty);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("建议：第 9 行半径 250 改为 -250。"), std::string::npos);
    // A looser kink limit lets the flipped arc through (its closures are
    // nil: it is turned by its own chord); the transition after it is not.
    EXPECT_EQ(nlohmann::json::parse(Check(faulty + " --json --kink-sec 200000").out)["flagged_rows"],
              nlohmann::json::array({10}));
    fs::remove(faulty);

    EXPECT_TRUE(nlohmann::json::parse(Check(kDemo + " --json").out)["suggestion"].is_null());
    EXPECT_EQ(Check("/no/such/file.vxa").status, 2);
    EXPECT_EQ(Check(kDemo + " --closure-mm -1").status, 2);
    const std::string oneRow = FaultyCopy("", "");
    fs::resize_file(oneRow, 94 + 60);  // the header and the first row
    EXPECT_EQ(Check(oneRow).status, 2);
    fs::remove(oneRow);
}
