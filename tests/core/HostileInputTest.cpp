// Hostile input: random and mutated bytes through the file readers and
// everything that consumes their lines, odd angle texts, and writes that
// fail half way. Every loop has a fixed seed and a fixed bound.
#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "controldata/AlignmentFile.h"
#include "controldata/ControlLine.h"
#include "geometry/AngleText.h"
#include "geometry/Bracket.h"
#include "geometry/Evaluate.h"
#include "geometry/Gbk.h"
#include "geometry/ReverseLookup.h"
#include "geometry/TextFields.h"
#include "geometry/TextFile.h"
#include "geometry/Texts.h"
#include "results/ResultsExport.h"
#include "results/StakeRun.h"
#include "station/PointFile.h"

using namespace vexaline;
namespace fs = std::filesystem;

namespace {

std::string Example(const char* name) {
    std::string bytes;
    EXPECT_EQ(ReadWholeFile(std::string(VEXALINE_SOURCE_DIR) + "/examples/" + name, bytes), ReadStatus::Ok);
    return bytes;
}

// Texts that readers of numbers and fields stumble over.
const std::vector<std::string>& Poison() {
    static const std::vector<std::string> p = {
        "", " ", "-", "--5", ".", "+", "e5", "nan", "-nan", "NAN(1)", "inf", "-inf", "infinity", "1e400",
        "-1e400", "1e-400", "1e308", "-1e308", std::string(300, '9'), "0x1p1023", "0", "-0", Gbk("∞"),
        Gbk("-∞"), "\xA1", std::string("\0", 1), std::string("1\0" "2", 3), "\xFF\xFE", "\x81\x20", "\r",
        "\n", "\r\n", "%s%n%d"};
    return p;
}

std::string Mutate(std::string s, std::mt19937& rng) {
    auto pick = [&rng](std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(rng() % n); };
    switch (rng() % 6) {
        case 0:
            if (!s.empty()) s[pick(s.size())] ^= static_cast<char>(1u << (rng() % 8));
            break;
        case 1: s.insert(pick(s.size() + 1), 1, static_cast<char>(rng())); break;
        case 2:
            if (!s.empty()) s.erase(pick(s.size()), 1 + pick(3));
            break;
        case 3: {
            const std::string& t = Poison()[pick(Poison().size())];
            std::size_t at = pick(s.size() + 1);
            s.replace(at, std::min<std::size_t>(t.size(), s.size() - at), t);
            break;
        }
        case 4: s.resize(pick(s.size() + 1)); break;
        default: {
            std::size_t at = pick(s.size() + 1);
            s.insert(at, s.substr(at, 1 + pick(200)));
        }
    }
    return s;
}

std::string RandomBytes(std::mt19937& rng, std::size_t n) {
    std::string s(n, '\0');
    for (char& c : s) c = static_cast<char>(rng());
    return s;
}

// Every message of the evaluation starts so; anything else is a result.
const std::string kMessageStart = Gbk("控制数据");

// A line from the evaluation: a message, or a result whose numbers printed
// as numbers.
void ExpectSound(const std::string& line) {
    ASSERT_FALSE(line.empty());
    if (line.compare(0, kMessageStart.size(), kMessageStart) == 0) return;
    ASSERT_EQ(line.find("nan"), std::string::npos) << GbkToUtf8(line);
    ASSERT_EQ(line.find("inf"), std::string::npos) << GbkToUtf8(line);
}

// The CAD layout: three header lines, then "X,Y" with three decimals each.
void ExpectCadLines(const std::string& bytes) {
    std::size_t at = 0;
    for (int i = 0; i < 3; ++i) at = bytes.find("\r\n", at) + 2;
    while (at < bytes.size()) {
        std::size_t end = bytes.find("\r\n", at);
        ASSERT_NE(end, std::string::npos);
        std::string line = bytes.substr(at, end - at);
        double x, y;
        int used = 0;
        ASSERT_EQ(std::sscanf(line.c_str(), "%lf,%lf%n", &x, &y, &used), 2) << line;
        ASSERT_TRUE(std::isfinite(x) && std::isfinite(y) && used == static_cast<int>(line.size())) << line;
        at = end + 2;
    }
}

// Whatever a command does with a control list: the bracket table, every
// element at its ends and between, the prepared element against the plain
// evaluation, a bounded stake run and its export, a reverse lookup.
void Exercise(const std::vector<std::string>& list, std::mt19937& rng) {
    std::vector<std::string> reported;
    MessageSink sink = [&reported](const std::string& m) { reported.push_back(m); };
    BracketTable table;
    int bad = 0;
    if (!BuildBracketTable(list, table, bad)) {
        ASSERT_TRUE(bad >= 1 && static_cast<std::size_t>(bad) < list.size());
        return;
    }
    const CPlanePoint station(3805100, 500100), backsight(3805200, 500300);
    for (std::size_t i = 0; i + 1 < table.entries.size(); ++i) {
        const BracketEntry a = table.entries[i], b = table.entries[i + 1];
        PreparedElement prepared(list[a.nLine], list[b.nLine]);
        std::uniform_real_distribution<double> between(0, 1);
        double t = between(rng);
        for (double s : {a.dStation, a.dStation * 0.5 + b.dStation * 0.5, a.dStation + t * (b.dStation - a.dStation),
                         b.dStation}) {
            for (int mode : {0, 1, 101}) {
                reported.clear();
                std::string plain = EvaluateStation(s, list[a.nLine], list[b.nLine], 7.5, 1.570796, mode, station,
                                                    backsight, "S1", "B1", sink);
                ASSERT_NO_FATAL_FAILURE(ExpectSound(plain));
                ASSERT_TRUE(reported.empty() || (reported.size() == 1 && reported[0] == plain));
                std::string fast;
                prepared.Append(fast, s, 7.5, 1.570796, mode, station, backsight, "S1", "B1");
                ASSERT_EQ(fast, plain);
            }
        }
    }
    StakeRequest r;
    r.dStartStation = table.entries.empty() ? 0 : table.Min();
    r.dEndStation = table.entries.empty() ? 0 : table.Max();
    r.dInterval = (r.dEndStation - r.dStartStation) / 40;
    r.dOffset = -7.5;
    r.strDeflection = "90.0000";
    r.nResultMode = static_cast<int>(rng() % 2);
    r.ptStation = station;
    r.ptBacksight = backsight;
    r.strStationName = "S1";
    r.strBacksightName = "B1";
    BracketTable runTable;
    std::vector<std::string> results = {Gbk(text::kCoordinatesHeader)};
    if (CheckStakeRun(list, r, runTable, bad) == StakeCheck::Ok) {
        RunStakes(list, runTable, r, DeflectionRadians(r.strDeflection), 0, results, [](int p) {
            ASSERT_TRUE(p >= 0 && p <= 100);
        });
        ASSERT_LE(results.size(), 43u);
        for (std::size_t i = 1; i < results.size(); ++i) ASSERT_NO_FATAL_FAILURE(ExpectSound(results[i]));
    }
    for (int fileType : {0, 1}) {
        std::string bytes = ResultsFileBytes(results, r.nResultMode, fileType, "路线.txt", 0);
        if (r.nResultMode == 0 && fileType == 0) {
            ASSERT_NO_FATAL_FAILURE(ExpectCadLines(bytes));
        }
    }
    // A change point itself and a point beside it.
    CPlanePoint q(ReadDoubleOr0(Field(list.back(), 34, 12)), ReadDoubleOr0(Field(list.back(), 46)));
    for (CPlanePoint p : {q, CPlanePoint(q.X + 3, q.Y + 4)}) {
        LookupResult found = ReverseLookup(list, p, sink);
        ASSERT_LE(found.nEvaluations, kMaxLookupSteps);
        if (found.status == LookupStatus::Converged) {
            ASSERT_NO_FATAL_FAILURE(ExpectSound(found.strStation));
            ASSERT_NO_FATAL_FAILURE(ExpectSound(found.strOffset));
        }
    }
}

std::vector<std::string> ControlList(const std::vector<std::string>& records) {
    std::vector<std::string> list = {ControlHeaderLine()};
    list.insert(list.end(), records.begin(), records.end());
    return list;
}

std::string Replaced(std::string bytes, const std::string& from, const std::string& to) {
    for (std::size_t at = 0; (at = bytes.find(from, at)) != std::string::npos; at += to.size())
        bytes.replace(at, from.size(), to);
    return bytes;
}

}  // namespace

// ---------------------------------------------------------------- files

TEST(HostileAlignmentFile, RandomAndMutatedBytesOpenComputeAndSaveBack) {
    const std::string demo = Example("demo.vxa");
    std::mt19937 rng(6005);
    std::vector<std::string> files = {"", demo.substr(0, 93), demo.substr(0, 94), demo.substr(0, 94 + 59),
                                      Replaced(demo, "\r\n", "\r"), Replaced(demo, "\r\n", "\n"),
                                      Replaced(demo, "\r\n", ""), Replaced(demo, " ", std::string("\0", 1)),
                                      demo + std::string(100000, '\x81'), std::string(94, '\n') + std::string(600, '9')};
    for (int i = 0; i < 60; ++i) files.push_back(RandomBytes(rng, rng() % 2000));
    for (int i = 0; i < 240; ++i) {
        std::string bytes = demo;
        for (int m = 1 + static_cast<int>(rng() % 8); m > 0; --m) bytes = Mutate(bytes, rng);
        files.push_back(bytes);
    }
    for (const std::string& bytes : files) {
        std::vector<std::string> records = AlignmentRecords(bytes);
        ASSERT_EQ(records.size(), bytes.size() < 94 ? 0 : (bytes.size() - 94) / 60);
        for (const std::string& r : records) ASSERT_EQ(r.size(), 58u);
        std::vector<std::string> list = ControlList(records);
        // Opened and saved again, every record comes back byte for byte.
        ASSERT_EQ(AlignmentRecords(SavedAlignmentFile(list, TimeStampNow())), records);
        if (records.size() <= 40) {
            ASSERT_NO_FATAL_FAILURE(Exercise(list, rng));
        }
    }
}

TEST(HostilePointFile, RandomAndMutatedBytesKeepTheHeaderAndSurviveTheRoundTrip) {
    const std::string demo = Example("demo.vxp");
    std::mt19937 rng(6006);
    std::vector<std::string> files = {"", "\r\n", "\r\r\r\n", Replaced(demo, "\r\n", "\r"),
                                      Replaced(demo, "\r\n", "\n"), demo.substr(0, demo.size() - 2),
                                      std::string(200000, 'x'), std::string(5000, '\n')};
    for (int i = 0; i < 60; ++i) files.push_back(RandomBytes(rng, rng() % 600));
    for (int i = 0; i < 300; ++i) {
        std::string bytes = demo;
        for (int m = 1 + static_cast<int>(rng() % 8); m > 0; --m) bytes = Mutate(bytes, rng);
        files.push_back(bytes);
    }
    const std::string header = PointHeader();
    for (const std::string& bytes : files) {
        std::vector<std::string> lines = ParsePointFile(bytes);
        ASSERT_FALSE(lines.empty());
        ASSERT_EQ(Field(lines[0], 0), Field(header, 0));
        for (const std::string& line : lines) {
            ASSERT_EQ(line.find('\n'), std::string::npos);
            PointRecord p = SplitPointLine(line);
            ASSERT_LE(p.strName.size(), 8u);
            std::string again;
            if (MakePointLine(p.strName, p.dX, p.dY, again)) {
                ASSERT_EQ(again.size(), kPointLineBytes);
                PointRecord back = SplitPointLine(again);
                ASSERT_EQ(back.strName, p.strName);
                ASSERT_LE(std::fabs(back.dX - p.dX), 0.0005 + std::fabs(p.dX) * 1e-15);
            }
        }
        // What OK writes reads back as the same list, each line at most 30 bytes.
        std::vector<std::string> reread = ParsePointFile(PointFileBytes(lines));
        ASSERT_EQ(reread.size(), lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            // Cut to 30 bytes; a CR or two left at the end go with the line end.
            std::string cut = lines[i].substr(0, kPointLineBytes);
            for (int k = 0; k < 2 && !cut.empty() && cut.back() == '\r'; ++k) cut.pop_back();
            ASSERT_EQ(reread[i], cut);
        }
    }
}

// ---------------------------------------------------------------- lines

TEST(HostileControlLines, PoisonedFieldsOfTheDemoAreRefusedWithTheirMessage) {
    const std::vector<std::string> demo = ControlList(AlignmentRecords(Example("demo.vxa")));
    // Line 3 starts the circular curve 420-670 (R 600), line 2 the entering
    // transition before it; a poisoned field of line 3 spoils both elements.
    const std::string notANumber = Format(Gbk(text::kNotANumber).c_str(), "420");
    struct Case {
        int field;
        std::string text;
        std::string message;  // empty: a result
    };
    const std::string cannot = Format(Gbk(text::kCannotCompute).c_str(), 420.0, 670.0);
    const Case cases[] = {
        {kFieldX, "nan", notANumber},    {kFieldX, "-inf", notANumber},  {kFieldX, "1e400", notANumber},
        {kFieldX, "-", notANumber},      {kFieldX, "", notANumber},      {kFieldY, "infinity", notANumber},
        {kFieldRadius, "nan", notANumber}, {kFieldRadius, "--5", notANumber}, {kFieldRadius, "1e400", notANumber},
        {kFieldRadius, "0", cannot},     {kFieldRadius, "-0", cannot},   {kFieldRadius, "1e-320", cannot},
        {kFieldX, "1e308", ""},          {kFieldRadius, "600.0", ""},    {kFieldX, "3805252.436x", ""},
        {kFieldLineType, "\xFF\xFF", Format(Gbk(text::kInvalidLineType).c_str(), 420.0)},
    };
    for (const Case& c : cases) {
        std::vector<std::string> list = demo;
        ControlRow row = SplitControlLine(list[3]);
        row.strField[c.field] = c.text;
        list[3] = BuildControlLine(row);
        std::vector<std::string> results = {Gbk(text::kCoordinatesHeader)};
        std::vector<std::string> reported;
        BracketTable table;
        int bad = 0;
        StakeRequest r;
        r.dStartStation = 430;
        r.dEndStation = 660;
        r.dInterval = 115;
        ASSERT_EQ(CheckStakeRun(list, r, table, bad), StakeCheck::Ok);
        RunStakes(list, table, r, 0.0, 0, results, nullptr, [&reported](const std::string& m) { reported.push_back(m); });
        ASSERT_EQ(results.size(), 4u);
        for (std::size_t i = 1; i < results.size(); ++i) {
            if (c.message.empty()) {
                ExpectSound(results[i]);
                EXPECT_NE(results[i].compare(0, kMessageStart.size(), kMessageStart), 0) << c.text;
            } else {
                EXPECT_EQ(results[i], c.message) << "[" << c.text << "] " << GbkToUtf8(results[i]);
            }
        }
        EXPECT_EQ(reported.size(), c.message.empty() ? 0u : 1u) << c.text;  // once per element
        // The lookup starting at the curve's first point stops at the same
        // message; it cannot read a point out of it.
        if (c.message == cannot) {
            reported.clear();
            CPlanePoint start(3805252.436, 500335.547);
            LookupResult found = ReverseLookup(list, start, [&reported](const std::string& m) { reported.push_back(m); });
            EXPECT_EQ(found.status, LookupStatus::Failed) << c.text;
            EXPECT_EQ(reported, std::vector<std::string>{cannot}) << c.text;
        }
    }
    // A station that holds no number keeps the whole list out of the table.
    for (const char* station : {"nan", "inf", "1e400", "-", ""}) {
        std::vector<std::string> list = demo;
        list[5] = PadRight(station, 12) + list[5].substr(12);
        BracketTable table;
        int bad = 0;
        EXPECT_FALSE(BuildBracketTable(list, table, bad)) << station;
        EXPECT_EQ(bad, 5) << station;
    }
}

TEST(HostileControlLines, MutatedDemoLinesNeitherCrashNorPrintNonNumbers) {
    const std::vector<std::string> demo = ControlList(AlignmentRecords(Example("demo.vxa")));
    std::mt19937 rng(6007);
    for (int i = 0; i < 250; ++i) {
        std::vector<std::string> list = demo;
        for (int m = 1 + static_cast<int>(rng() % 3); m > 0; --m) {
            std::string& line = list[1 + rng() % (list.size() - 1)];
            if (rng() % 2) {
                line = Mutate(line, rng);
            } else {
                ControlRow row = SplitControlLine(line);
                const std::string& t = Poison()[rng() % Poison().size()];
                // Padded to its column, or written over the line as it stands.
                row.strField[rng() % kControlFieldCount] = t;
                line = BuildControlLine(row);
            }
        }
        ASSERT_NO_FATAL_FAILURE(Exercise(list, rng));
    }
}

// ---------------------------------------------------------------- angles

namespace {

bool Digits(const std::string& s, std::size_t from, std::size_t to) {
    if (from >= to || to > s.size()) return false;
    for (std::size_t i = from; i < to; ++i)
        if (s[i] < '0' || s[i] > '9') return false;
    return true;
}

// "-"? digits "." then exactly `decimals` digits.
bool Numeric(const std::string& s, std::size_t decimals) {
    std::size_t sign = !s.empty() && s[0] == '-' ? 1 : 0;
    std::size_t point = s.find('.');
    return point != std::string::npos && Digits(s, sign, point) && s.size() == point + 1 + decimals &&
           Digits(s, point + 1, s.size());
}

bool DmsShaped(const std::string& s) {
    if (!Numeric(s, 4)) return false;
    std::size_t point = s.find('.');
    return s[point + 1] < '6' && s[point + 3] < '6';
}

}  // namespace

TEST(HostileAngleText, AnyTextGivesAnAngleText) {
    std::mt19937 rng(6008);
    std::vector<std::string> texts = Poison();
    for (const char* t : {"90.0000", "-45.3015", "1e400.3015", "0.00999e999", "-.", "1.2.3", "  -  1", "359.5959"})
        texts.push_back(t);
    const std::string alphabet = "0123456789.-+eExXpPnaifty \t";
    for (int i = 0; i < 3000; ++i) {
        std::string s;
        for (std::size_t n = rng() % 24; n > 0; --n) s += alphabet[rng() % alphabet.size()];
        texts.push_back(s);
        texts.push_back(RandomBytes(rng, rng() % 12));
    }
    for (const std::string& t : texts) {
        std::string radians = DmsToRadians(t);
        ASSERT_TRUE(Numeric(radians, 6)) << "[" << t << "] gave " << radians;
        std::string dms = RadiansToDms(t);
        ASSERT_TRUE(DmsShaped(dms)) << "[" << t << "] gave " << dms;
        ASSERT_TRUE(DmsShaped(RadiansToDms(radians))) << radians;
    }
    // Texts that hold no angle are no angle: 0, as a text without a number.
    for (const char* t : {"nan", "-nan", "inf", "-inf", "1e400", "-1e400", "1e308"})
        EXPECT_EQ(RadiansToDms(t), "0.0000") << t;
    for (const char* t : {"nan", "inf", "1e400", "1e400.0000", "  -inf"})
        EXPECT_EQ(DmsToRadians(t).substr(DmsToRadians(t)[0] == '-'), "0.000000") << t;
}

// ---------------------------------------------------------------- writes

namespace {

int g_calls = 0;
int g_failAt = 0;      // the call that fails (1 = the first)
int g_errno = ENOSPC;  // with this error
bool g_short = false;  // the calls before it write half of what they get

ssize_t FaultyWrite(int fd, const void* data, std::size_t size) {
    if (++g_calls == g_failAt) {
        errno = g_errno;
        return g_errno == 0 ? 0 : -1;
    }
    return ::write(fd, data, g_short && size > 1 ? size / 2 : size);
}

class HostileWrite : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("vexaline-hostile-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        path = (dir / "road.vxa").string();
        ASSERT_TRUE(WriteFileAtomically(path, "old file"));
    }
    void TearDown() override {
        SetWriteCallForTesting(nullptr);
        ::umount2((dir / "small").c_str(), MNT_DETACH);
        std::error_code ignored;
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(dir, ignored);
    }
    // The old file whole and nothing else beside it.
    void ExpectOldFileAlone(const fs::path& folder, const std::string& file, const std::string& old) {
        std::string back;
        EXPECT_EQ(ReadWholeFile(file, back), ReadStatus::Ok);
        EXPECT_EQ(back, old);
        for (const fs::directory_entry& e : fs::directory_iterator(folder))
            EXPECT_TRUE(e.path() == file || e.is_directory()) << e.path();
    }
    // Runs f as an ordinary user when the tests run as root, who writes
    // anywhere; its result, or -1 when that user cannot be taken on.
    static int AsOrdinaryUser(const std::function<bool()>& f) {
        if (::geteuid() != 0) return f();
        pid_t pid = ::fork();
        if (pid == 0) _exit(::setgid(65534) == 0 && ::setuid(65534) == 0 ? f() : 2);
        int status = 0;
        if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) > 1) return -1;
        return WEXITSTATUS(status);
    }
    fs::path dir;
    std::string path;
};

}  // namespace

TEST_F(HostileWrite, FullDiskShortWritesAndInterruptionsLeaveTheOldFileWhole) {
    const std::string big(300000, 'n');
    struct Case {
        int failAt, error;
        bool shortWrites, ok;
    };
    const Case cases[] = {
        {1, ENOSPC, false, false}, {3, ENOSPC, true, false}, {2, EIO, true, false},
        {1, 0, false, false},  // a write that takes nothing must not spin
        {1, EINTR, false, true},   {2, EINTR, true, true},   {0, 0, true, true},
    };
    for (const Case& c : cases) {
        g_calls = 0;
        g_failAt = c.failAt;
        g_errno = c.error;
        g_short = c.shortWrites;
        SetWriteCallForTesting(FaultyWrite);
        bool ok = WriteFileAtomically(path, big);
        SetWriteCallForTesting(nullptr);
        EXPECT_EQ(ok, c.ok) << c.failAt << " " << c.error;
        ExpectOldFileAlone(dir, path, c.ok ? big : "old file");
        ASSERT_TRUE(WriteFileAtomically(path, "old file"));
    }
}

TEST_F(HostileWrite, ARealFullDisk) {
    fs::path small = dir / "small";
    fs::create_directory(small);
    if (::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k") != 0) GTEST_SKIP() << "no tmpfs may be mounted here";
    std::string file = (small / "stakes.txt").string();
    ASSERT_TRUE(WriteFileAtomically(file, "old stakes"));
    EXPECT_FALSE(WriteFileAtomically(file, std::string(200000, 's')));
    ExpectOldFileAlone(small, file, "old stakes");
}

TEST_F(HostileWrite, FoldersAndFilesThatMayNotBeWritten) {
    // A directory as the target, and a folder that does not exist.
    fs::create_directory(dir / "sub");
    EXPECT_FALSE(WriteFileAtomically((dir / "sub").string(), "new"));
    EXPECT_FALSE(WriteFileAtomically((dir / "missing" / "a.vxa").string(), "new"));
    EXPECT_FALSE(WriteFileAtomically(path + "/x", "new"));
    ExpectOldFileAlone(dir, path, "old file");
    // A read-only file in a folder open to all, then a read-only folder.
    fs::permissions(dir, fs::perms::all);
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    int wrote = AsOrdinaryUser([this] { return WriteFileAtomically(path, "new"); });
    if (wrote < 0) GTEST_SKIP() << "cannot run as an ordinary user";
    EXPECT_EQ(wrote, 0);
    ExpectOldFileAlone(dir, path, "old file");
    fs::permissions(path, fs::perms::all);
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                             fs::perms::others_exec);
    EXPECT_EQ(AsOrdinaryUser([this] { return WriteFileAtomically(path, "new"); }), 0);
    fs::permissions(dir, fs::perms::owner_all);
    ExpectOldFileAlone(dir, path, "old file");
}

TEST_F(HostileWrite, ALinkIsWrittenThroughToTheFileItNames) {
    fs::create_directory(dir / "shared");
    std::string link = (dir / "shared" / "link.vxa").string();
    fs::create_symlink(path, link);
    ASSERT_TRUE(WriteFileAtomically(link, "new file"));
    EXPECT_TRUE(fs::is_symlink(link));
    ExpectOldFileAlone(dir, path, "new file");
}

TEST_F(HostileWrite, ReadsRefuseWhatIsNoOrdinaryFileWithoutWaiting) {
    std::string bytes = "left over";
    // A pipe would wait for a writer for ever; a huge file would not fit.
    std::string fifo = (dir / "pipe.vxa").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ReadWholeFile(fifo, bytes), ReadStatus::Unreadable);
    std::string huge = (dir / "huge.vxa").string();
    ASSERT_TRUE(WriteFileAtomically(huge, ""));
    ASSERT_EQ(::truncate(huge.c_str(), off_t(1) << 40), 0);
    EXPECT_EQ(ReadWholeFile(huge, bytes), ReadStatus::Unreadable);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(ReadWholeFile(dir.string(), bytes), ReadStatus::Unreadable);
}
