// Hostile input: random and mutated bytes through the file readers and all
// that consumes their lines, odd angle texts, and writes that fail half way.
// Every loop has a fixed seed and a fixed bound.
#include <cerrno>
#include <filesystem>
#include <random>
#include <regex>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "CoreFixture.h"
#include "core/road/Evaluate.h"
#include "core/road/ReverseLookup.h"
#include "core/road/StakeRun.h"
#include "core/text/AngleText.h"
#include "core/road/ResultText.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "core/files/PointFile.h"

namespace fs = std::filesystem;

namespace {

// Texts that readers of numbers and fields stumble over.
const std::vector<std::string> kPoison = {
    "", " ", "-", "--5", ".", "e5", "nan", "-nan", "NAN(1)", "inf", "-inf", "infinity", "1e400", "-1e400",
    "1e-400", "1e308", std::string(300, '9'), "0x1p1023", "-0", Gbk("∞"), Gbk("-∞"), "\xA1", std::string("\0", 1),
    std::string("1\0" "2", 3), "\xFF\xFE", "\x81\x20", "\r", "\n", "\r\n", "%s%n%d"};

std::string Mutate(std::string s, std::mt19937& rng, int times) {
    for (; times > 0; --times) {
        std::size_t at = rng() % (s.size() + 1), rest = s.size() - at;
        const std::string& poison = kPoison[rng() % kPoison.size()];
        switch (rng() % 6) {
            case 0: if (rest) s[at] ^= static_cast<char>(1u << (rng() % 8)); break;
            case 1: s.insert(at, 1, static_cast<char>(rng())); break;
            case 2: s.erase(at, 1 + rng() % 3); break;
            case 3: s.replace(at, std::min(poison.size(), rest), poison); break;
            case 4: s.resize(at); break;
            default: s.insert(at, s.substr(at, 1 + rng() % 200));
        }
    }
    return s;
}

std::string RandomBytes(std::mt19937& rng, std::size_t n) {
    std::string s(n, '\0');
    for (char& c : s) c = static_cast<char>(rng());
    return s;
}

const std::string kMessageStart = Gbk("控制数据");  // every evaluation message starts so
bool IsMessage(const std::string& line) { return line.compare(0, kMessageStart.size(), kMessageStart) == 0; }

// What the commands do with a control list: every element at its ends and
// between, by the road and by the classic two-line evaluation alike; a
// bounded stake run; a reverse lookup. A line is a message or a result whose
// numbers printed as numbers.
void Exercise(const std::vector<std::string>& list, std::mt19937& rng) {
    auto sound = [](const std::string& l) { return IsMessage(l) || l.find_first_of("nif") == std::string::npos; };
    const Alignment road = Alignment::Parse(list);
    if (!road.Usable()) {
        ASSERT_TRUE(road.Rows().size() < 2 || (road.BadStationRow() >= 1 && road.BadStationRow() < static_cast<int>(list.size())));
        return;
    }
    std::vector<std::string> reported;
    MessageSink sink = [&reported](const std::string& m) { reported.push_back(m); };
    const CPlanePoint station(3805100, 500100), backsight(3805200, 500300);
    for (std::size_t i = 0; i < road.Elements().size(); ++i) {
        const Element& e = road.Elements()[i];
        const std::string &a = list[e.nStartRow], &b = list[e.nEndRow];
        double s0 = e.dStartStation, s1 = e.dEndStation, t = (rng() % 1000) / 1000.0;
        for (double s : {s0, s0 * 0.5 + s1 * 0.5, s0 + t * (s1 - s0), s1}) {
            for (int mode : {0, 1, 101}) {
                reported.clear();
                std::string plain = EvaluateStation(s, a, b, 7.5, 1.570796, mode, station, backsight, "S1", "B1", sink);
                ASSERT_TRUE(sound(plain) && !plain.empty()) << GbkToUtf8(plain);
                ASSERT_TRUE(reported.empty() || reported == std::vector<std::string>{plain});
                if (mode == 101) continue;
                ResultSet set;
                set.mode = mode ? ResultMode::SettingOut : ResultMode::Coordinates;
                const int setup = mode ? set.AddSetup({"S1", station, "B1", backsight}) : -1;
                AppendStake(set, road, i, s, 7.5, 1.570796, setup);
                ASSERT_EQ(ResultLine(set, 0), plain);
            }
        }
    }
    StakeRequest r;
    r.dStartStation = road.MinStation(), r.dEndStation = road.MaxStation();
    r.dInterval = (r.dEndStation - r.dStartStation) / 40;
    r.dDeflection = 1.570796;
    ResultSet results;
    results.mode = rng() % 2 ? ResultMode::SettingOut : ResultMode::Coordinates;
    if (CheckStakeRun(road, r) == StakeCheck::Ok) {
        RunStakes(road, r, results, 0, [](int p) { ASSERT_TRUE(p >= 0 && p <= 100); });
        ASSERT_LE(results.rows.size(), 42u);
        for (std::size_t i = 0; i < results.rows.size(); ++i)
            ASSERT_TRUE(sound(ResultLine(results, i))) << GbkToUtf8(ResultLine(results, i));
    }
    CPlanePoint q(ReadDoubleOr0(Field(list.back(), 34, 12)), ReadDoubleOr0(Field(list.back(), 46)));
    for (CPlanePoint p : {q, CPlanePoint(q.X + 3, q.Y + 4)}) {  // a change point and a point beside it
        LookupResult found = ReverseLookup(road, p, sink);
        ASSERT_LE(found.nEvaluations, kMaxLookupSteps);
        ASSERT_TRUE(found.status != LookupStatus::Converged ||
                    sound(LookupOffsetText(found.dOffset) + LookupStationText(found.dStation)));
    }
}

std::vector<std::string> ControlList(std::vector<std::string> records) {
    records.insert(records.begin(), ControlHeaderLine());
    return records;
}

}  // namespace

TEST(HostileInput, AlignmentFilesAndControlLinesOpenComputeAndSaveBack) {
    const std::string demo = Example("demo.vxa");
    std::mt19937 rng(6005);
    std::vector<std::string> files = {"", demo.substr(0, 93), demo.substr(0, 153), demo + std::string(1 << 17, '\x81')};
    for (int i = 0; i < 40; ++i) files.push_back(RandomBytes(rng, rng() % 2000));
    for (int i = 0; i < 200; ++i) files.push_back(Mutate(demo, rng, 1 + rng() % 8));
    for (const std::string& bytes : files) {
        std::vector<std::string> records = AlignmentRecords(bytes), list = ControlList(records);
        ASSERT_EQ(records.size(), bytes.size() < 94 ? 0 : (bytes.size() - 94) / 60);
        for (const std::string& r : records) ASSERT_EQ(r.size(), 58u);
        ASSERT_EQ(AlignmentRecords(SavedAlignmentFile(list, TimeStampNow())), records);  // byte for byte
        if (records.size() > 40) continue;
        ASSERT_NO_FATAL_FAILURE(Exercise(list, rng));
    }
    // Lines mutated, or with a field replaced by poison and padded to its column.
    for (int i = 0; i < 200; ++i) {
        std::vector<std::string> list = ControlList(AlignmentRecords(demo));
        for (int m = 1 + static_cast<int>(rng() % 3); m > 0; --m) {
            std::string& line = list[1 + rng() % (list.size() - 1)];
            ControlRow row = SplitControlLine(line);
            row.strField[rng() % kControlFieldCount] = kPoison[rng() % kPoison.size()];
            line = rng() % 2 ? Mutate(line, rng, 1) : BuildControlLine(row);
        }
        ASSERT_NO_FATAL_FAILURE(Exercise(list, rng));
    }
}

TEST(HostileInput, PointFilesKeepTheHeaderAndSurviveTheRoundTrip) {
    const std::string demo = Example("demo.vxp");
    std::mt19937 rng(6006);
    std::vector<std::string> files = {"", "\r\r\r\n", std::string(200000, 'x'), std::string(5000, '\n')};
    for (int i = 0; i < 40; ++i) files.push_back(RandomBytes(rng, rng() % 600));
    for (int i = 0; i < 200; ++i) files.push_back(Mutate(demo, rng, 1 + rng() % 8));
    for (const std::string& bytes : files) {
        std::vector<std::string> lines = ParsePointFile(bytes), reread = ParsePointFile(PointFileBytes(lines));
        ASSERT_EQ(Field(lines.at(0), 0), Field(PointHeader(), 0));
        ASSERT_EQ(reread.size(), lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            PointRecord p = SplitPointLine(lines[i]), back;
            std::string again, cut = lines[i].substr(0, kPointLineBytes);
            ASSERT_LE(p.strName.size(), 8u);
            if (MakePointLine(p.strName, p.dX, p.dY, again)) back = SplitPointLine(again);
            ASSERT_TRUE(again.empty() || (again.size() == kPointLineBytes && back.strName == p.strName &&
                                          std::fabs(back.dX - p.dX) <= 5e-4 + std::fabs(p.dX) * 1e-15)) << again;
            // What OK writes reads back cut to 30 bytes; CRs left at the end go with the line end.
            for (int k = 0; k < 2 && !cut.empty() && cut.back() == '\r'; ++k) cut.pop_back();
            ASSERT_EQ(reread[i], cut);
        }
    }
}

TEST(HostileInput, AnyTextGivesAnAngleText) {
    const std::regex radians("-?[0-9]+\\.[0-9]{6}"), dms("-?[0-9]+\\.[0-5][0-9][0-5][0-9]");
    std::mt19937 rng(6008);
    std::vector<std::string> texts = kPoison;
    const std::string alphabet = "0123456789.-+eExXpPnaifty \t";
    for (int i = 0; i < 2000; ++i) {
        std::string s;
        for (std::size_t n = rng() % 24; n > 0; --n) s += alphabet[rng() % alphabet.size()];
        texts.push_back(s);
        texts.push_back(RandomBytes(rng, rng() % 12));
    }
    for (const std::string& t : texts) {
        std::string r = DmsToRadians(t);
        ASSERT_TRUE(std::regex_match(r, radians)) << "[" << t << "] gave " << r;
        ASSERT_TRUE(std::regex_match(RadiansToDms(t), dms)) << "[" << t << "] gave " << RadiansToDms(t);
        ASSERT_TRUE(std::regex_match(RadiansToDms(r), dms)) << r;
    }
    for (const char* t : {"nan", "-inf", "1e400", "-1e400", "1e308"}) EXPECT_EQ(RadiansToDms(t), "0.0000") << t;
    for (const char* t : {"nan", "1e400.0000", "  -inf"})
        EXPECT_EQ(DmsToRadians(t).substr(DmsToRadians(t)[0] == '-'), "0.000000") << t;
}

namespace {

int g_calls = 0, g_failAt = 0, g_errno = 0;  // the call that fails (1: the first), with this error
bool g_short = false;                         // the calls before it write half of what they get
ssize_t FaultyWrite(int fd, const void* data, std::size_t size) {
    if (++g_calls == g_failAt) return errno = g_errno, g_errno == 0 ? 0 : -1;
    return ::write(fd, data, g_short && size > 1 ? size / 2 : size);
}

}  // namespace

TEST(HostileInput, WritesKeepTheOldFileWholeAndReadsRefuseWhatIsNoFile) {
    const fs::path dir = fs::temp_directory_path() / ("vexaline-hostile-" + std::to_string(::getpid()));
    const std::string path = (dir / "road.vxa").string(), big(300000, 'n'), odd("x\0y\r\n", 5);
    fs::remove_all(dir);
    fs::create_directories(dir / "sub");
    auto alone = [&](const std::string& want) {  // the file holds want and nothing lies beside it
        std::string back;
        EXPECT_EQ(ReadWholeFile(path, back), ReadStatus::Ok);
        EXPECT_EQ(back, want);
        for (const fs::directory_entry& e : fs::directory_iterator(dir))
            EXPECT_TRUE(e.path() == path || e.is_directory()) << e.path();
    };
    struct Case { int failAt, error; bool shortWrites, ok; };
    const Case cases[] = {
        {1, ENOSPC, false, false}, {3, ENOSPC, true, false}, {2, EIO, true, false},
        {1, 0, false, false},  // a write that takes nothing must not spin
        {1, EINTR, false, true}, {2, EINTR, true, true}, {0, 0, true, true},
    };
    // Whole, or in three pieces as a run is streamed: the old file stays
    // as it was until the last piece is on the disk.
    auto inPieces = [&](const std::string& bytes) {
        AtomicFileWriter file(path);
        const std::size_t third = bytes.size() / 3;
        const bool written = file.Write(bytes.substr(0, third)) & file.Write(bytes.substr(third, third)) &
                             file.Write(bytes.substr(2 * third));
        std::string now;
        EXPECT_TRUE(ReadWholeFile(path, now) == ReadStatus::Ok && now == odd);
        return file.Commit() && written;
    };
    for (const Case& c : cases) {
        for (bool pieces : {false, true}) {
            EXPECT_TRUE(WriteFileAtomically(path, odd));
            g_calls = 0, g_failAt = c.failAt, g_errno = c.error, g_short = c.shortWrites;
            SetWriteCallForTesting(FaultyWrite);
            EXPECT_EQ(pieces ? inPieces(big) : WriteFileAtomically(path, big), c.ok) << c.failAt << " " << c.error;
            SetWriteCallForTesting(nullptr);
            alone(c.ok ? big : odd);  // every byte, NUL and CR LF too
        }
    }
    EXPECT_TRUE(WriteFileAtomically(path, odd));
    AtomicFileWriter(path).Write(big);  // dropped before its commit
    for (const fs::path& p : {dir / "sub", dir / "missing" / "a.vxa", fs::path(path + "/x")}) {
        EXPECT_FALSE(WriteFileAtomically(p.string(), "new")) << p;
        AtomicFileWriter file(p.string());
        EXPECT_FALSE(file.Write("new") || file.Commit()) << p;
    }
    alone(odd);
    // A read-only file is kept; root writes anything, so then "nobody" tries.
    fs::permissions(dir, fs::perms::all);
    fs::permissions(path, fs::perms::owner_read | fs::perms::others_read);
    pid_t pid = ::geteuid() == 0 ? ::fork() : -1;
    if (pid == 0) _exit(::setgid(65534) == 0 && ::setuid(65534) == 0 ? WriteFileAtomically(path, "new") : 2);
    int status = 0;
    EXPECT_TRUE(pid < 0 ? !WriteFileAtomically(path, "new") : ::waitpid(pid, &status, 0) == pid && status != 256);
    alone(odd);
    fs::permissions(path, fs::perms::owner_all);
    const std::string link = (dir / "sub" / "link.vxa").string();  // written through to the file it names
    fs::create_symlink(path, link);
    EXPECT_TRUE(WriteFileAtomically(link, "new file") && fs::is_symlink(link));
    alone("new file");
    // Links that name no file: written where they point when that folder
    // exists, refused otherwise and for a loop; never replaced by a file.
    const fs::path sub = dir / "sub";
    struct LinkCase { const char* name; const char* to; bool ok; const char* written; };
    const LinkCase links[] = {
        {"dangling", "made.txt", true, "made.txt"},          // relative to the link's folder
        {"chain", "dangling", true, "made.txt"},             // a link to a link
        {"absolute", "", true, "abs.txt"},                   // filled in below
        {"nowhere", "missing/a.txt", false, nullptr},
        {"loop1", "loop2", false, nullptr}, {"loop2", "loop1", false, nullptr},
        {"self", "self", false, nullptr},
    };
    for (const LinkCase& c : links)
        fs::create_symlink(*c.to ? fs::path(c.to) : sub / "abs.txt", sub / c.name);
    for (const LinkCase& c : links) {
        EXPECT_EQ(WriteFileAtomically((sub / c.name).string(), c.name), c.ok) << c.name;
        EXPECT_TRUE(fs::is_symlink(sub / c.name)) << c.name;
        std::string back;
        if (c.written) {
            EXPECT_TRUE(ReadWholeFile((sub / c.written).string(), back) == ReadStatus::Ok && back == c.name);
        }
    }
    EXPECT_FALSE(fs::exists(sub / "missing"));
    // Files that belong together: when the second cannot be written, the
    // first is not either, and an old first stays whole.
    const std::string road = (sub / "pair.vxa").string(), report = (sub / "pair.csv").string();
    EXPECT_EQ(WriteFilesAtomically({{road, "road"}, {(sub / "missing" / "r.csv").string(), "report"}}), 1u);
    EXPECT_EQ(WriteFilesAtomically({{road, "road"}, {(sub / "loop1").string(), "report"}}), 1u);
    EXPECT_FALSE(fs::exists(road));
    ASSERT_TRUE(WriteFileAtomically(road, "old road"));
    EXPECT_EQ(WriteFilesAtomically({{road, "new road"}, {(sub / "missing" / "r.csv").string(), "report"}}), 1u);
    std::string old;
    EXPECT_TRUE(ReadWholeFile(road, old) == ReadStatus::Ok && old == "old road");
    EXPECT_EQ(WriteFilesAtomically({{road, "road"}, {report, "report"}}), std::nullopt);
    std::string back;
    EXPECT_TRUE(ReadWholeFile(report, back) == ReadStatus::Ok && back == "report");
    fs::remove(road), fs::remove(report);
    // The links, link.vxa, made.txt and abs.txt: no temporary file left over.
    EXPECT_EQ(std::distance(fs::directory_iterator(sub), fs::directory_iterator()), 10);
    // Reads: a missing file, a pipe (that would wait for ever), a huge file, a folder.
    std::string bytes = "left over", fifo = (dir / "sub" / "pipe").string(), huge = (dir / "sub" / "huge").string();
    EXPECT_EQ(ReadWholeFile((dir / "none").string(), bytes), ReadStatus::Missing);
    EXPECT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ReadWholeFile(fifo, bytes), ReadStatus::Unreadable);
    EXPECT_TRUE(WriteFileAtomically(huge, "") && ::truncate(huge.c_str(), off_t(1) << 40) == 0);
    EXPECT_EQ(ReadWholeFile(huge, bytes), ReadStatus::Unreadable);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(ReadWholeFile(dir.string(), bytes), ReadStatus::Unreadable);
    fs::remove_all(dir);
}
