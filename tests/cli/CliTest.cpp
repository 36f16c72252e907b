// vexaline-cli run as a user runs it: its output, its files and its exit
// statuses, on the sample road whose figures the README quotes.
#include <gtest/gtest.h>


#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "CliRun.h"
#include "core/text/Gbk.h"

namespace fs = std::filesystem;
using clitest::Cli;
using clitest::Outcome;

namespace {

const std::string kDemo = std::string(VEXALINE_SOURCE_DIR) + "/examples/demo.vxa";
const std::string kPoints = std::string(VEXALINE_SOURCE_DIR) + "/examples/demo.vxp";

std::string Line(const std::string& text, int n) {
    std::istringstream in(text);
    std::string line;
    for (int i = 0; i <= n && std::getline(in, line);) ++i;
    return line;
}

}  // namespace

TEST(Cli, StakesGiveTheWindowsLinesAndSayWhyTheyRefuse) {
    Outcome o = Cli("stakes " + kDemo + " --from 0 --to 2120 --interval 20 --offset 7.5");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(Line(o.out, 0), "桩号        X坐标         Y坐标      切线方位角  说明     ");
    EXPECT_EQ(Line(o.out, 1), "0.000       3804994.050   500004.566  52.3000   直线段    ");
    EXPECT_EQ(std::count(o.out.begin(), o.out.end(), '\n'), 108);
    o = Cli("stakes " + kDemo + " --at 1234.5,0 --offset 7.5");
    EXPECT_EQ(Line(o.out, 1), "1234.500    3805354.869   501133.297  86.2450   缓曲段    ");
    EXPECT_EQ(Line(o.out, 2).substr(0, 5), "0.000");  // in the order given
    o = Cli("stakes " + kDemo + " --from 400 --to 700 --interval 20 --points " + kPoints +
            " --station D2 --backsight D3");
    EXPECT_EQ(Line(o.out, 1), "400.000     184.1527    150.275   D2        D3        ");

    struct Refusal { std::string args; int status; std::string message; };
    const Refusal refusals[] = {
        {"--from 0 --to 9999 --interval 20", 1, "输入的桩号超出了范围!"},
        {"--from 100 --to 50 --interval 20", 1, "输入的起止桩号无效!"},
        {"--from 0 --to 2120 --interval 0.0001", 1, "桩数超过10000000个，请加大桩间距或缩小里程范围!"},
        {"--at 5000", 1, "输入的桩号超出了范围!"},
        {"--at 10 --deflection abc", 1, "偏向角必须是“度.分秒”形式的数字!"},
        {"--at 10 --station A,0,0 --backsight B,0,0", 1, "设站点与后视点不可相同!"},
        {"--at 10 --points " + kPoints + " --station D2 --backsight D9", 1, "点文件中没有点D9!"},
        {"--at 10 --station A,0 --backsight B,1,1", 1, "点必须写成“点名,X,Y”，点名最多8个字节!"},
        {"--from 0 --to 100", 2, "请给出 --from、--to、--interval，或者 --at，二者选一!"},
        {"--from 0 --to 100 --interval 5 --at 3", 2, "请给出 --from、--to、--interval，或者 --at，二者选一!"},
        {"--at 10 --station A,0,0", 2, ""},
        {"--at 10 --format pdf", 2, ""},
        {"--at ten", 2, ""},
    };
    for (const Refusal& r : refusals) {
        o = Cli("stakes " + kDemo + " " + r.args);
        EXPECT_EQ(o.status, r.status) << r.args;
        EXPECT_TRUE(o.out.empty()) << r.args;
        if (!r.message.empty()) {
            EXPECT_EQ(o.err, r.message + "\n") << r.args;
        }
    }
    o = Cli("stakes /nonexistent.vxa --at 1");
    EXPECT_EQ(o.status, 2);
    EXPECT_EQ(o.err, "无法读取文件：/nonexistent.vxa\n");
}

TEST(Cli, FilesAreTheWindowsExportsInGbkAndAFaultyElementExitsOne) {
    const fs::path dir = fs::temp_directory_path() / ("vexaline-cli-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string out = (dir / "r.txt").string();
    Outcome o = Cli("stakes " + kDemo + " --from 0 --to 40 --interval 20 --format cad -o " + out);
    EXPECT_EQ(o.status, 0);
    std::ifstream in(out, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(bytes.substr(0, bytes.find("\r\n")), vexaline::Gbk("工 程 名  r.txt"));
    EXPECT_NE(bytes.find("\r\n3805000.000,500000.000\r\n3805012.175,500015.867\r\n"), std::string::npos) << bytes;
    o = Cli("stakes " + kDemo + " --at 0 --gbk");
    EXPECT_EQ(Line(o.out, 0), vexaline::Gbk("桩号        X坐标         Y坐标      切线方位角  说明     "));

    // A transition whose two radii are equal: its lines are the message, said once.
    std::ifstream demo(kDemo, std::ios::binary);
    std::string road((std::istreambuf_iterator<char>(demo)), {});
    const std::string from = vexaline::Gbk("-∞         "), to = vexaline::Gbk("-400        ");
    road.replace(road.find(from), from.size(), to);
    const std::string faulty = (dir / "faulty.vxa").string();
    std::ofstream(faulty, std::ios::binary) << road;
    o = Cli("stakes " + faulty + " --from 1100 --to 1300 --interval 20");
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
    EXPECT_NE(o.out.find(o.err.substr(0, o.err.size() - 1)), std::string::npos);
    fs::remove_all(dir);
}

TEST(Cli, LookupAnswersAsTheWindowAndInJson) {
    Outcome o = Cli("lookup " + kDemo + " 3805381.597 500897.434");
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, "1000.000 左28.499米\n");
    o = Cli("lookup " + kDemo + " 3805381.597 500897.434 --json");
    EXPECT_EQ(o.out, R"({"station":1000.0,"offset":-28.499,"station_text":"1000.000","offset_text":"左28.499米"})" "\n");
    o = Cli("lookup " + kDemo + " 0 0");
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, "抱歉!查找不到对应的桩号!\n");
    for (const char* bad : {"lookup", "lookup " VEXALINE_SOURCE_DIR "/examples/demo.vxa 1", "lookup x 1 2", "nothing"})
        EXPECT_EQ(Cli(bad).status, 2) << bad;
    EXPECT_EQ(Cli("--version").out, "vexaline-cli 0.622\n");
    EXPECT_EQ(Cli("--help").status, 0);
}

TEST(Cli, ConvertGoesBothWaysRefusesWithoutWritingAndStakesTakeTheExchangeFormats) {
    const fs::path dir = fs::temp_directory_path() / ("vexaline-cli-x-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string xml = (dir / "demo.xml").string(), vxa = (dir / "back.vxa").string();
    EXPECT_EQ(Cli("convert " + kDemo + " " + xml).status, 0);
    Outcome o = Cli("convert " + xml + " " + vxa);
    EXPECT_EQ(o.status, 0) << o.err;
    std::ifstream in(vxa, std::ios::binary);
    const std::string back((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(back.size(), 94u + 12 * 60);
    EXPECT_EQ(back.substr(94 + 11 * 60, 58), vexaline::Gbk("2120.000    终点      ∞          3806038.813 501422.276  "));

    std::ofstream(dir / "two.xml") << "<LandXML><Alignments><Alignment name='a'/><Alignment name='b'/></Alignments></LandXML>";
    o = Cli("convert " + (dir / "two.xml").string() + " " + (dir / "two.vxa").string());
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, "LandXML文件中有2条路线，请指定一条：a、b\n");
    EXPECT_EQ(Cli("convert " + (dir / "two.xml").string() + " " + (dir / "two.vxa").string() + " --alignment c").status, 1);
    EXPECT_FALSE(fs::exists(dir / "two.vxa"));
    std::ofstream(dir / "broken.xml") << "<LandXML>";
    EXPECT_EQ(Cli("convert " + (dir / "broken.xml").string() + " " + vxa).status, 2);
    EXPECT_EQ(Cli("convert " + kDemo + " " + (dir / "x.txt").string()).status, 2);
    EXPECT_EQ(Cli("convert /nonexistent.xml " + vxa).status, 2);

    o = Cli("stakes " + kDemo + " --at 1234.5 --offset -7.5 --format cass");
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out.substr(0, o.out.find(',')), "K1+234.500L7.5");
    EXPECT_EQ(Cli("stakes " + kDemo + " --at 0 --format csv").out.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(Cli("stakes " + kDemo + " --at 0 --format dxf -o " + (dir / "s.dxf").string()).status, 0);
    EXPECT_TRUE(fs::file_size(dir / "s.dxf") > 0);
    fs::remove_all(dir);
}
