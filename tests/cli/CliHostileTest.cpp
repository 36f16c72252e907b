// Hostile input through every door of vexaline-cli: numbers no field can
// show, writes that cannot complete, links in the way, names a format
// cannot hold.
#include "CliFixture.h"

namespace {
class CliHostile : public Cli {};
}  // namespace

TEST_F(CliHostile, HugeCoordinatesAreRefusedBeforeAnyWriterAndLeaveNothingBehind) {
    const std::string tmp = "TMPDIR=" + Path("") + " ";
    // Row 2's X typed 1e300: its two elements are refused, named by station.
    const std::string road = Write("huge.vxa", DemoWith("3805182.628", "1e300      "));
    Outcome o = Run("stakes " + road + " --from 0 --to 600 --interval 100 --format dxf -o " + Path("s.dxf"), tmp);
    EXPECT_TRUE(Exited(o, 1, "控制数据中里程0处的数据不是数字！\n控制数据中里程300处的数据不是数字！"));
    EXPECT_EQ(Bytes(Path("s.dxf")).find("e+"), std::string::npos);  // what was written holds no huge number
    // A point of the point file at 1e308, and a side stake 1e300 out.
    const std::string points = Write("huge.vxp", Bytes(kPoints) + "D9      1e308       0         \r\n");
    o = Run("stakes " + kDemo + " --at 400 --points " + points + " --station D9 --backsight D3 --format dxf", tmp);
    EXPECT_TRUE(Exited(o, 1, "点D9的坐标不是测量坐标（X、Y的绝对值须小于100000000米）!"));
    EXPECT_TRUE(o.out.empty());
    o = Run("stakes " + kDemo + " --at 400 --offset 1e300 --format dxf", tmp);
    EXPECT_TRUE(Exited(o, 1, "控制数据中里程300.000至420.000之间的数据无法计算！"));
    EXPECT_NE(o.out.find("EOF"), std::string::npos);
    // Only the files the runs were asked for: no temporary file left over.
    for (const fs::directory_entry& e : fs::directory_iterator(dir_))
        EXPECT_TRUE(e.path().extension() == ".vxa" || e.path().extension() == ".vxp" || e.path().filename() == "s.dxf" ||
                    e.path().filename() == "stderr")
            << e.path();
}

TEST_F(CliHostile, AWriteCutShortByAFileSizeLimitIsAFailureAndLeavesNoFileOrTheEarlierOne) {
    // A 53 KB drawing, written whole, past 40 blocks of 512 bytes; 2.6 MB
    // of list lines, written as they are computed, cut half way at 1.5 MB.
    const struct {
        std::string run, limit, fits;
        bool earlier;
    } cases[] = {
        {"stakes " + kDemo + " --from 0 --to 2120 --interval 20 --format dxf", "ulimit -f 40; ", "ulimit -f 200; ", false},
        {"stakes " + kDemo + " --from 0 --to 2120 --interval 0.05", "ulimit -f 3000; ", "ulimit -f 6000; ", true},
    };
    for (const auto& c : cases) {
        const std::string limit = "TMPDIR=" + Path("") + " ; trap '' XFSZ; " + c.limit;
        if (c.earlier) Write("s.out", "earlier");
        EXPECT_TRUE(Exited(Run(c.run + " -o " + Path("s.out"), limit), 1, "无法写入文件：" + Path("s.out") + "\n原有文件没有改动。"))
            << c.run;
        EXPECT_EQ(fs::exists(Path("s.out")) ? Bytes(Path("s.out")) : "none", c.earlier ? "earlier" : "none") << c.run;
        EXPECT_TRUE(Exited(Run(c.run + " > " + Path("out"), limit), 1, "无法输出结果：标准输出写入失败!")) << c.run;
        // No temporary file beside them: s.out (earlier), out, stderr.
        EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), c.earlier ? 3 : 2) << c.run;
        EXPECT_EQ(Run(c.run + " -o " + Path("s.out"), c.fits).status, 0) << c.run;  // not cut without the limit
        fs::remove(Path("s.out"));
    }
}

TEST_F(CliHostile, EveryWriterWritesThroughALinkOrRefusesAndNeverReplacesIt) {
    const std::string table = Table("t.csv", "QD,0,0,,,\r\nJD1,100,0,50,,\r\nZD,100,100,,,\r\n");
    const std::string writers[] = {
        "stakes " + kDemo + " --at 10 -o ", "stakes " + kDemo + " --at 10 --format txt -o ",
        "stakes " + kDemo + " --at 10 --format dxf -o ", "convert " + kDemo + " ",
        "pi " + table + " --start-station 0 -o ",
    };
    int n = 0;
    for (const std::string& w : writers) {
        const std::string ext = w[0] == 'c' ? ".xml" : w[0] == 'p' ? ".vxa" : ".txt";
        const std::string dangling = Path("d" + std::to_string(n) + ext), target = Path("t" + std::to_string(n) + ext);
        const std::string loop = Path("l" + std::to_string(n++) + ext);
        fs::create_symlink(target, dangling);
        fs::create_symlink(loop, loop);
        EXPECT_EQ(Run(w + dangling).status, 0) << w;
        EXPECT_TRUE(fs::is_symlink(dangling) && fs::file_size(target) > 100) << w;
        Outcome o = Run(w + loop);
        EXPECT_EQ(o.status, 1) << w;
        EXPECT_EQ(o.err.substr(0, o.err.find('\n')), "无法写入文件：" + loop) << w;
        EXPECT_TRUE(fs::is_symlink(loop)) << w;
    }
}

TEST_F(CliHostile, PiWritesItsRoadAndReportTogetherOrNeitherAndOnlyFiniteRows) {
    const std::string table = Table("t.csv", "QD,0,0,,,\r\nJD1,100,0,50,,\r\nZD,100,100,,,\r\n");
    fs::create_directories(Path("folder"));
    const std::string vxa = Path("a.vxa"), csv = Path("r.csv");
    for (const std::string& out : {"-o " + Path("folder") + " --report " + csv, "-o " + Path("no/a.vxa") + " --report " + csv,
                                   "-o " + vxa + " --report " + Path("folder")}) {
        EXPECT_EQ(Run("pi " + table + " --start-station 0 " + out).status, 1) << out;
        EXPECT_FALSE(fs::exists(vxa) || fs::exists(csv)) << out;
    }
    // Figures that do not compute: a transition of 4.9e-324 m, a start station of 1e308.
    const std::string tiny = Table("tiny.csv", "QD,0,0,,,\r\nJD1,100,0,50,4.9e-324,\r\nZD,100,100,,,\r\n");
    const Outcome o = Run("pi " + tiny + " --start-station 0 -o " + vxa + " --json");
    EXPECT_TRUE(Exited(o, 1, "交点JD1的曲线算不出有限的数值，请检查半径和缓和曲线长!"));
    EXPECT_TRUE(o.out.empty());
    EXPECT_TRUE(Exited(Run("pi " + table + " --start-station 1e308 -o " + vxa), 1, "起点里程超出范围（绝对值须小于100000000米）!"));
    EXPECT_FALSE(fs::exists(vxa));
}

TEST_F(CliHostile, ConvertRefusesANameXmlCannotHoldAndCheckHasItsOwnOutOfMemoryText) {
    for (const char* name : {"'a\\001b'", "'a\\033[31m'", "'a\\377b'", "'\\355\\240\\200'"}) {
        EXPECT_TRUE(Exited(Run("convert " + kDemo + " " + Path("a.xml") + " --alignment \"$(printf " + name + ")\""), 2,
                           "路线名含有控制字符或不是有效的UTF-8文本，无法写入LandXML!")) << name;
        EXPECT_FALSE(fs::exists(Path("a.xml"))) << name;
    }
    EXPECT_EQ(Run("convert " + kDemo + " " + Path("a.xml") + " --alignment 主线K0").status, 0);
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "a memory limit stops the address sanitizer itself";
#else
    // 600,000 rows under a 100 MB limit: the check runs out of memory.
    const std::string demo = Bytes(kDemo);
    std::string big = demo.substr(0, 94);
    for (int i = 0; i < 50000; ++i) big += demo.substr(94);
    EXPECT_TRUE(Exited(Run("check " + Write("big.vxa", big), "ulimit -v 100000; "), 1, "内存不足，文件太大，无法处理!"));
#endif
}

// Two names of one file among what a command writes and reads: the same
// name, a symbolic link, a hard link. Refused before anything is written,
// naming both; every file as it was.
TEST_F(CliHostile, NoCommandWritesOneFileOverAnotherThatItWritesOrReads) {
    const std::string table = Table("t.csv", "QD,0,0,,,\r\nJD1,100,0,50,10,10\r\nZD,100,100,,,\r\n");
    const std::string road = Write("road.vxa", Bytes(kDemo)), measured = Write("m.csv", "A,3804994.050,500004.566\r\n");
    const std::string profile = Write("p.vxz", "变坡点,桩号,高程,竖曲线半径\r\nBP0,0,100,\r\nBP1,2120,110,\r\n");
    fs::create_symlink(table, Path("link.csv"));
    fs::create_hard_link(road, Path("hard.vxa"));
    fs::create_hard_link(road, Path("hard.xml"));
    const struct {
        std::string args, first, second;
    } cases[] = {
        {"pi " + table + " --start-station 1000 -o " + Path("out.vxa") + " --report " + Path("out.vxa"), Path("out.vxa"), Path("out.vxa")},
        {"pi " + table + " --start-station 1000 -o " + Path("out.vxa") + " --report " + Path("link.csv"), Path("link.csv"), table},
        {"pi " + table + " --start-station 1000 -o " + Path("out.vxa") + " --report " + Path("out.vxd") + " --equations " +
             Write("e.vxd", "断链前桩号,断链后桩号\r\nK1+060,K1+040\r\n"), Path("out.vxd"), Path("out.vxd")},
        {"stakes " + road + " --at 10 -o " + Path("hard.vxa"), Path("hard.vxa"), road},
        {"stakes " + road + " --at 10 --profile " + profile + " --format csv -o " + profile, profile, profile},
        {"convert " + road + " " + Path("hard.xml"), Path("hard.xml"), road},
        {"profile " + profile + " --report " + profile, profile, profile},
        {"inspect " + road + " " + measured + " -o " + measured, measured, measured},
    };
    for (const auto& c : cases) {
        const std::string before = Bytes(table) + Bytes(road) + Bytes(profile) + Bytes(measured);
        EXPECT_TRUE(Exited(Run(c.args), 2, c.first + " 与 " + c.second + " 是同一个文件，写入一个会毁掉另一个：什么也没有写。"))
            << c.args;
        EXPECT_EQ(Bytes(table) + Bytes(road) + Bytes(profile) + Bytes(measured), before) << c.args;
        EXPECT_FALSE(fs::exists(Path("out.vxa"))) << c.args;
    }
}
