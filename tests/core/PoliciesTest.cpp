// The rules the windows follow, without a window: opening or creating each
// kind of file, add-or-replace by station, and the station setup's rule.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "core/files/AlignmentFile.h"
#include "core/files/OpenOrCreate.h"
#include "core/files/TextFile.h"
#include "core/road/Results.h"
#include "core/text/ControlLine.h"
#include "core/text/Gbk.h"

using namespace vexaline;
namespace fs = std::filesystem;

namespace {

struct Asked {
    std::vector<std::pair<Question, std::string>> questions;
    bool create = true, replace = true;
    std::function<bool(Question, const std::string&)> Ask() {
        return [this](Question q, const std::string& name) {
            questions.emplace_back(q, name);
            return q == Question::Create ? create : replace;
        };
    }
};

std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

}  // namespace

TEST(OpenOrCreate, EachKindOpensAsksCreatesAndNeverEmptiesAFile) {
    const fs::path dir = fs::temp_directory_path() / ("vexaline-open-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "road.vxa", std::ios::binary) << "old road";
    std::ofstream(dir / "pts.vxp", std::ios::binary) << "old points";
    const std::string d = dir.string() + "/";
    struct Case {
        FileKind kind;
        std::string name;
        bool create, replace;
        OpenOutcome want;
        std::string path;                   // as opened or created
        std::vector<Question> questions;
    };
    using O = OpenOutcome;
    using Q = Question;
    const Case cases[] = {
        {FileKind::Alignment, "road.vxa", true, true, O::Opened, "road.vxa", {}},
        {FileKind::Alignment, "new", false, true, O::Cancelled, "new", {Q::Create}},
        {FileKind::Alignment, "road", true, false, O::Cancelled, "road.vxa", {Q::Create, Q::Replace}},  // kept whole
        {FileKind::Alignment, "fresh", true, true, O::Created, "fresh.vxa", {Q::Create}},
        {FileKind::PointFile, "pts", true, true, O::Opened, "pts.vxp", {}},  // read, not emptied
        {FileKind::PointFile, "none", false, true, O::Cancelled, "none.vxp", {Q::Create}},
        {FileKind::PointFile, "made", true, true, O::Created, "made.vxp", {Q::Create}},
        {FileKind::Alignment, "", true, true, O::Unreadable, "", {}},  // the folder itself
    };
    for (const Case& c : cases) {
        Asked asked;
        asked.create = c.create, asked.replace = c.replace;
        const OpenedFile f = OpenOrCreate(c.kind, d + c.name, c.name, asked.Ask());
        EXPECT_EQ(f.outcome, c.want) << c.name;
        EXPECT_EQ(f.strPath, d + c.path) << c.name;
        std::vector<Question> questions;
        for (const auto& q : asked.questions) questions.push_back(q.first);
        EXPECT_EQ(questions, c.questions) << c.name;
    }
    EXPECT_EQ(Read(dir / "road.vxa"), "old road");
    EXPECT_EQ(Read(dir / "pts.vxp"), "old points");
    EXPECT_EQ(Read(dir / "fresh.vxa").size(), kAlignmentHeaderBytes);
    EXPECT_EQ(Read(dir / "made.vxp"), "");
    EXPECT_FALSE(fs::exists(dir / "new.vxa"));
    EXPECT_FALSE(fs::exists(dir / "none.vxp"));
    // Replacing an existing "road.vxa" when "road" was typed: asked by name, then written anew.
    Asked yes;
    const OpenedFile replaced = OpenOrCreate(FileKind::Alignment, d + "road", "road", yes.Ask());
    EXPECT_EQ(replaced.outcome, O::Created);
    EXPECT_EQ(yes.questions.back(), std::make_pair(Q::Replace, std::string("road.vxa")));
    EXPECT_EQ(Read(dir / "road.vxa").size(), kAlignmentHeaderBytes);
    if (::geteuid() != 0) {  // a folder that cannot be written: reported, nothing made
        fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(OpenOrCreate(FileKind::PointFile, d + "x", "x", yes.Ask()).outcome, O::CannotWrite);
        fs::permissions(dir, fs::perms::owner_all);
    }
    fs::remove_all(dir);
}

TEST(ControlRows, RefusedWhenEmptyOrTooWideAndPlacedByTheirStationText) {
    auto row = [](const char* station, const char* type, const char* radius, const char* x, const char* y) {
        ControlRow r;
        const char* f[kControlFieldCount] = {station, type, radius, x, y};
        for (int i = 0; i < kControlFieldCount; ++i) r.strField[i] = Gbk(f[i]);
        return r;
    };
    struct Case { ControlRow row; RowCheck::Kind kind; int field; };
    const Case cases[] = {
        {row("100", "直线", "∞", "1", "2"), RowCheck::Ok, -1},
        {row("", "直线", "∞", "1", "2"), RowCheck::Empty, -1},
        {row("1234567890123", "", "∞", "1", "2"), RowCheck::Empty, -1},  // empty comes first
        {row("100", "直线", "∞", "1234567890123", "2"), RowCheck::TooWide, kFieldX},
        {row("100", "直线直线直线", "∞", "1", "2"), RowCheck::TooWide, kFieldLineType},  // 12 GBK bytes
    };
    for (const Case& c : cases) {
        const RowCheck check = CheckRow(c.row);
        EXPECT_TRUE(check.kind == c.kind && check.nField == c.field) << GbkToUtf8(c.row.strField[0]);
    }
    const std::vector<std::string> lines = {ControlHeaderLine(), BuildControlLine(row("0", "直线", "∞", "0", "0")),
                                            BuildControlLine(row("100", "终点", "∞", "0", "100"))};
    const RowPlace same = PlaceRow(lines, row("100", "圆曲线", "300", "0", "100"));
    EXPECT_EQ(same.nReplace, 2);
    EXPECT_EQ(same.line, BuildControlLine(row("100", "圆曲线", "300", "0", "100")));
    EXPECT_EQ(PlaceRow(lines, row("100.0", "直线", "∞", "0", "0")).nReplace, -1);  // the text, not the number
    EXPECT_EQ(PlaceRow(lines, row("50", "直线", "∞", "0", "0")).nReplace, -1);
}

TEST(StationSetup, StationAndBacksightMustDifferByNameAndByPlace) {
    struct Case { StationSetup setup; bool can; };
    const Case cases[] = {
        {{"D2", {1, 2}, "D3", {3, 4}}, true},
        {{"D2", {1, 2}, "D2", {3, 4}}, false},
        {{"D2", {1, 2}, "D3", {1, 2}}, false},
        {{"D2", {1, 2}, "D3", {1, 4}}, true},
        {{"", {0, 0}, "", {1, 1}}, false},
    };
    for (const Case& c : cases) EXPECT_EQ(CanOrient(c.setup), c.can) << c.setup.strStationName;
}
