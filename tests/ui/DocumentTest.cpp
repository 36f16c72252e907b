// The open road without its window: the tables read beside the file, what
// 保存 and 另存为 write and remove, undo and redo, the results' staleness and
// the row changes the control list mirrors. Expected rows are the example
// files' records cut out by position, or rows written out here.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <unistd.h>

#include "core/files/TextFile.h"
#include "core/text/Gbk.h"
#include "ui/document/RoadDocument.h"

namespace fs = std::filesystem;
using namespace vexaline;
using Lines = std::vector<std::string>;

namespace {

const std::string kBom = "\xEF\xBB\xBF";
const std::string kGradeHead = kBom + "变坡点,桩号,高程,竖曲线半径\r\n";
// On examples/chain.vxd (短链 150 = 170, 长链 370 = 360): K0+365(2) is a place, K0+160 none
// (file line 3: the header is line 1).
const std::string kChainGrades = kGradeHead + "起点,0,120,\r\nSJD1,K0+365(2),125,1000\r\n终点,K2+175.5,127,\r\n";
const std::string kSkipped = kGradeHead + "起点,0,120,\r\nSJD1,K0+160,125,1000\r\n终点,K2+175.5,127,\r\n";
const std::string kOverlap = kGradeHead + "A,0,100,\r\nB,100,102,2600\r\nC,200,100,2600\r\nD,300,102,\r\n";
const std::string kBadChain = kBom + "断链前桩号,断链后桩号\r\nK0+150.000,K0+170.000\r\nabc,K0+360.000\r\n";
const std::string kFolder = "<folder>";  // as a file's bytes: a folder of that name in its place

std::string Example(const char* name) {
    std::string bytes;
    EXPECT_EQ(ReadWholeFile(std::string(VEXALINE_SOURCE_DIR) + "/examples/" + name, bytes), ReadStatus::Ok) << name;
    return bytes;
}
// An alignment file's records: after the 94-byte header, 58 bytes of every 60.
Lines Records(const std::string& bytes) {
    Lines out;
    for (std::size_t at = 94; at + 60 <= bytes.size(); at += 60) out.push_back(bytes.substr(at, 58));
    return out;
}
const Lines kDemo = Records(Example("demo.vxa")), kChain = Records(Example("chain.vxa"));

class DocumentTest : public testing::Test {
protected:
    void SetUp() override { Fresh({}); }
    void TearDown() override { fs::remove_all(dir_); }
    // The folder emptied and the files put in it (a folder for kFolder).
    void Fresh(const std::map<std::string, std::string>& files) {
        fs::remove_all(dir_), fs::create_directories(dir_);
        for (const auto& [name, bytes] : files) Put(name, bytes);
    }
    void Put(const std::string& name, const std::string& bytes) {
        fs::remove_all(dir_ / name);
        if (bytes == kFolder) fs::create_directories(dir_ / name / "in-the-way");
        else std::ofstream(dir_ / name, std::ios::binary) << bytes;
    }
    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }
    // Every file of the folder with its bytes (a folder: "/").
    std::map<std::string, std::string> Folder() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(dir_)) {
            std::string bytes = "/";
            if (!entry.is_directory()) ReadWholeFile(entry.path().string(), bytes);
            files[entry.path().filename().string()] = bytes;
        }
        return files;
    }
    Lines Open(const std::string& name) { return doc_.Open(PathOf(name), name, Folder().at(name)); }
    Lines Rows() const { return {doc_.Lines().begin() + 1, doc_.Lines().end()}; }
    // The demo road as road.vxa with its grades and slopes.
    void OpenDemo() {
        Fresh({{"road.vxa", Example("demo.vxa")}, {"road.vxz", Example("demo.vxz")},
               {"road.vxh", Example("demo.vxh")}});
        ASSERT_TRUE(Open("road.vxa").empty());
    }
    // A run of one stake on the road as it stands.
    void Compute() {
        doc_.ResetResults(ResultMode::Coordinates);
        ResultSet run = doc_.TakeSpare(ResultMode::Coordinates);
        run.source = doc_.Source(0);
        run.rows.push_back(StakeResult{});
        doc_.AppendResults(std::move(run));
        ASSERT_FALSE(doc_.ResultsStale());
    }

    fs::path dir_ = fs::temp_directory_path() / ("vexaline-doc-" + std::to_string(::getpid()));
    RoadDocument doc_;
};

}  // namespace

TEST_F(DocumentTest, OpeningTakesTheTablesThatReadAndTellsTheOthersInOrder) {
    const std::string demo = Example("demo.vxa"), chain = Example("chain.vxa"), equations = Example("chain.vxd");
    struct Case {
        std::map<std::string, std::string> files;  // beside road.vxa
        std::size_t equations, grades, slopes;
        Lines told;
        std::string grid = "";
    } cases[] = {
        {{{"road.vxa", demo}, {"road.vxz", Example("demo.vxz")}, {"road.vxh", Example("demo.vxh")}}, 0, 5, 12, {}},
        // The grid as a user's editor leaves it: a byte order mark, blanks, a blank line.
        {{{"road.vxa", demo}, {"road.vxc", kBom + " GK:114.3000,50 \n\n"}}, 0, 0, 0, {}, "GK:114.3000,50"},
        {{{"road.vxa", demo}, {"road.vxc", "EPSG:4547\r\nEPSG:4548\r\n"}, {"road.vxh", Example("demo.vxh")}}, 0, 0, 12,
         {"道路坐标系文件（.vxc）：文件中应只有一行：道路坐标系，如 EPSG:4547 或 GK:114.3000,50!"}},
        {{{"road.vxa", demo}, {"road.vxz", kOverlap}, {"road.vxh", Example("demo.vxh")}}, 0, 0, 12,
         {"变坡点B与C的竖曲线重叠：两切线长之和比变坡点间距长4.000米!"}},
        {{{"road.vxa", demo}, {"road.vxz", kFolder}, {"road.vxh", Example("demo.vxh")}}, 0, 0, 12,
         {"无法读取文件：" + PathOf("road.vxz")}},
        // The equations first: the grades' 桩号 are read on them.
        {{{"road.vxa", chain}, {"road.vxd", equations}, {"road.vxz", kChainGrades}}, 3, 3, 0, {}},
        {{{"road.vxa", chain}, {"road.vxd", equations}, {"road.vxz", kSkipped}}, 3, 0, 0,
         {"纵断面第3行：桩号K0+160不在路线上（被短链跳过，或超出路线起终点）!"}},
        {{{"road.vxa", chain}, {"road.vxd", kBadChain}, {"road.vxz", kFolder}, {"road.vxh", Example("demo.vxh")}}, 0, 0,
         12, {"断链表第3行的断链前桩号“abc”不是桩号!", "无法读取文件：" + PathOf("road.vxz")}},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(n++);
        Fresh(c.files);
        EXPECT_EQ(Open("road.vxa"), c.told);
        EXPECT_EQ(Rows(), Records(c.files.at("road.vxa")));  // the road opens all the same
        EXPECT_TRUE(doc_.Saved());
        EXPECT_EQ(doc_.EquationRows().size(), c.equations);
        EXPECT_EQ(doc_.GradeRows().size(), c.grades);
        EXPECT_EQ(doc_.SlopeRows().size(), c.slopes);
        EXPECT_EQ(doc_.GridText(), c.grid);
    }
}

// A file that cannot be written (a folder in its place): none is, and the rows stay unsaved.
TEST_F(DocumentTest, SaveWritesTheRoadAndItsTablesAllOrNone) {
    const auto higher = [&] {  // SJD1 10 cm higher
        std::vector<GradeRow> grades = doc_.GradeRows();
        grades[1].strElevation = "131.300";
        doc_.SetHeights(grades, doc_.SlopeRows());
    };
    struct Case { const char* blocked; std::function<void()> edit; const char *file, *line; } cases[] = {
        {"road.vxz", higher, "road.vxz", "SJD1,560,131.300,8000\r\n"},
        {"road.vxa", higher, "road.vxz", "SJD1,560,131.300,8000\r\n"},
        {"road.vxd", [&] { doc_.SetEquations({{1, "K0+150", "K0+170"}}); }, "road.vxd", "\r\nK0+150,K0+170\r\n"},
        {"road.vxc", [&] { doc_.SetGrid("EPSG:4547"); }, "road.vxc", "EPSG:4547\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.blocked);
        OpenDemo();
        c.edit();
        Put(c.blocked, kFolder);
        const auto before = Folder();
        EXPECT_EQ(doc_.Save().failedPath, PathOf(c.blocked));
        EXPECT_EQ(Folder(), before);  // every byte as it was, nothing left beside
        EXPECT_FALSE(doc_.Saved());
        EXPECT_FALSE(doc_.TablesSaved());
        fs::remove_all(dir_ / c.blocked);
        EXPECT_TRUE(doc_.Save().Ok());
        EXPECT_TRUE(doc_.Saved() && doc_.TablesSaved());
        EXPECT_NE(Folder().at(c.file).find(c.line), std::string::npos);
    }
}

TEST_F(DocumentTest, SaveRemovesTheTablesBesideThatTheRoadDoesNotHave) {
    const std::string grades = Example("demo.vxz"), slopes = Example("demo.vxh"), chain = Example("chain.vxd");
    const std::string gone = "(none)";
    struct Case {
        const char* what;
        std::map<std::string, std::string> files;  // road.vxa is the demo road
        std::function<RoadDocument::SaveOutcome()> save;
        std::map<std::string, std::string> after;  // bytes or gone
        Lines notRemoved = {};
    } cases[] = {
        {"slopes emptied here", {{"road.vxz", grades}, {"road.vxh", slopes}},
         [&] { return doc_.SetHeights(doc_.GradeRows(), {}), doc_.Save(); },
         {{"road.vxz", grades}, {"road.vxh", gone}}},
        {"grid emptied here", {{"road.vxc", "EPSG:4547\r\n"}}, [&] { return doc_.SetGrid(""), doc_.Save(); },
         {{"road.vxc", gone}}},
        {"saved over another road",
         {{"road.vxz", grades}, {"b.vxa", "road"}, {"b.vxh", slopes}, {"b.vxd", chain}, {"b.vxc", "EPSG:4547\r\n"}},
         [&] { return doc_.SaveAs(PathOf("b.vxa"), "b.vxa"); },
         {{"b.vxz", grades}, {"b.vxh", gone}, {"b.vxd", gone}, {"b.vxc", gone}}},
        {"saved where no road is yet", {{"road.vxz", grades}, {"b.vxh", slopes}, {"b.vxd", chain}},
         [&] { return doc_.SaveAs(PathOf("b.vxa"), "b.vxa"); },
         {{"b.vxz", grades}, {"b.vxh", slopes}, {"b.vxd", chain}}},
        {"refused at opening", {{"road.vxz", grades}, {"road.vxd", kBadChain}, {"road.vxh", kFolder}},
         [&] { return doc_.SetHeights({}, {}), doc_.Save(); },
         {{"road.vxz", gone}, {"road.vxd", kBadChain}, {"road.vxh", "/"}}},
        {"cannot be removed", {{"road.vxz", grades}, {"road.vxh", slopes}},
         [&] { return doc_.SetHeights(doc_.GradeRows(), {}), Put("road.vxh", kFolder), doc_.Save(); },
         {{"road.vxz", grades}, {"road.vxh", "/"}}, {PathOf("road.vxh")}},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.files["road.vxa"] = Example("demo.vxa");
        Fresh(c.files);
        Open("road.vxa");
        const RoadDocument::SaveOutcome outcome = c.save();
        EXPECT_TRUE(outcome.Ok());
        EXPECT_EQ(outcome.notRemoved, c.notRemoved);
        EXPECT_TRUE(doc_.Saved());
        const auto files = Folder();
        for (const auto& [name, bytes] : c.after) EXPECT_EQ(files.count(name) ? files.at(name) : gone, bytes) << name;
    }
}

TEST_F(DocumentTest, SaveAsMovesTheOpenFileOnlyOnceWrittenAndTakesTheUndoneStatesWithIt) {
    const std::string demo = Example("demo.vxa");
    Fresh({{"road.vxa", demo}, {"road.vxz", Example("demo.vxz")}, {"road.vxh", Example("demo.vxh")},
           {"road.vxc", "EPSG:4547\r\n"}});
    ASSERT_TRUE(Open("road.vxa").empty());
    doc_.AppendRow(kChain[1]);
    EXPECT_EQ(doc_.SaveAs(PathOf("no/copy.vxa"), "copy.vxa").failedPath, PathOf("no/copy.vxa"));
    EXPECT_EQ(doc_.Path(), PathOf("road.vxa"));
    EXPECT_EQ(doc_.Name(), "road.vxa");
    EXPECT_FALSE(doc_.Saved());

    EXPECT_TRUE(doc_.SaveAs(PathOf("副本.vxa"), "副本.vxa").Ok());
    EXPECT_EQ(doc_.Path(), PathOf("副本.vxa"));
    EXPECT_EQ(doc_.Name(), Gbk("副本.vxa"));
    EXPECT_TRUE(doc_.Saved() && doc_.TablesSaved());
    auto files = Folder();
    EXPECT_EQ(files.at("副本.vxa").substr(34), demo.substr(34) + kChain[1] + "\r\n");  // after the time stamp
    EXPECT_EQ(files.at("副本.vxz"), Example("demo.vxz"));
    EXPECT_EQ(files.at("副本.vxh"), Example("demo.vxh"));
    EXPECT_EQ(files.at("副本.vxc"), "EPSG:4547\r\n");
    EXPECT_EQ(files.at("road.vxa"), demo);

    ASSERT_TRUE(doc_.Undo());  // the rows once opened, now to go to the copy
    EXPECT_EQ(doc_.Path(), PathOf("副本.vxa"));
    EXPECT_FALSE(doc_.Saved());
    EXPECT_TRUE(doc_.Save().Ok());
    files = Folder();
    EXPECT_EQ(files.at("副本.vxa").substr(34), demo.substr(34));
    EXPECT_EQ(files.at("road.vxa"), demo);  // the file the user kept
}

// Each edit, undo and redo as the control list is told of it, applying the
// change to its own copy of the lines; the saved mark follows the files.
TEST_F(DocumentTest, EditsUndoAndRedoTellTheListWhatChangedAndKeepTheSavedMark) {
    Lines mirror = doc_.Lines();
    std::array<int, 3> told{};
    QObject::connect(&doc_, &RoadDocument::RowsChanged, [&](int first, int removed, int inserted) {
        told = {removed || inserted ? first : 0, removed, inserted};  // nothing removed or put: stations read anew
        ASSERT_LE(std::size_t(first + removed), mirror.size());
        mirror.erase(mirror.begin() + first, mirror.begin() + first + removed);
        mirror.insert(mirror.begin() + first, doc_.Lines().begin() + first, doc_.Lines().begin() + first + inserted);
    });
    const std::array<int, 3> none{-1, -1, -1};
    const auto row = [](const char* station, const char* type, const char* x, const char* y) {
        return ControlRow{{Gbk(station), Gbk(type), Gbk("∞"), x, y}};
    };
    const std::vector<ControlRow> ends{row("0", "直线", "3805000.000", "500000.000"),
                                       row("2120", "终点", "3806038.813", "501422.276")};
    Lines added = kDemo, replaced, removed;
    added.push_back(kChain[1]);
    replaced = added, replaced[1] = kChain[2];
    removed = replaced, removed.erase(removed.begin() + 2);
    struct Step {
        std::function<void()> edit;
        std::array<int, 3> told;
        Lines rows;
        std::size_t grades, equations;
    } steps[] = {
        {[&] { OpenDemo(), Compute(); }, {1, 0, 12}, kDemo, 5, 0},
        {[&] { doc_.AppendRow(kChain[1]); }, {13, 0, 1}, added, 5, 0},
        {[&] { doc_.ReplaceRow(2, kChain[2]); }, {2, 1, 1}, replaced, 5, 0},
        {[&] { doc_.RemoveRow(3); }, {3, 1, 0}, removed, 5, 0},
        {[&] { doc_.SetHeights({}, {}); }, none, removed, 0, 0},
        {[&] { doc_.SetGrid("EPSG:4547"); }, none, removed, 0, 0},
        {[&] { doc_.SetEquations({{1, "K0+150", "K0+170"}}); }, {0, 0, 0}, removed, 0, 1},
        {[&] { doc_.SetLines({doc_.Lines()[0], kChain[0], kChain[11]}); }, {1, 12, 2}, {kChain[0], kChain[11]}, 0, 1},
        {[&] { doc_.PutNewRoad(PathOf("new.vxa"), "new.vxa", ends); }, {1, 2, 2}, {kDemo[0], kDemo[11]}, 0, 0},
    };
    const int last = static_cast<int>(std::size(steps)) - 1;
    const auto expect = [&](int i, std::array<int, 3> change) {
        SCOPED_TRACE(i);
        EXPECT_EQ(told, change);
        EXPECT_EQ(mirror, doc_.Lines());
        EXPECT_EQ(Rows(), steps[i].rows);
        EXPECT_EQ(doc_.GradeRows().size(), steps[i].grades);
        EXPECT_EQ(doc_.EquationRows().size(), steps[i].equations);
        EXPECT_EQ(doc_.GridText(), i >= 5 && i < last ? "EPSG:4547" : "");  // another road's grid does not come with it
        EXPECT_EQ(doc_.Path(), PathOf(i == last ? "new.vxa" : "road.vxa"));
        EXPECT_EQ(doc_.Saved(), i == 0);
        EXPECT_EQ(doc_.TablesSaved(), i < 4);
        EXPECT_EQ(doc_.ResultsStale(), i > 0);  // computed at the opening: undone to it, they are its own again
        told = none;
    };
    const auto whole = [&](int from, int to) {  // undo and redo show every row anew
        return std::array<int, 3>{1, int(steps[from].rows.size()), int(steps[to].rows.size())};
    };
    for (int i = 0; i <= last; ++i) steps[i].edit(), expect(i, steps[i].told);
    for (int i = last; i-- > 0;) {
        EXPECT_TRUE(doc_.Undo());
        expect(i, whole(i + 1, i));
    }
    EXPECT_FALSE(doc_.Undo());
    for (int i = 1; i <= last; ++i) {
        EXPECT_TRUE(doc_.Redo());
        expect(i, whole(i - 1, i));
    }
    EXPECT_FALSE(doc_.Redo());

    // Saved, then undone: the files hold the state undone from, not the one undone to.
    ASSERT_TRUE(doc_.Save().Ok());
    EXPECT_TRUE(doc_.Undo());
    EXPECT_FALSE(doc_.Saved() || doc_.TablesSaved());
    EXPECT_TRUE(doc_.Redo());
    EXPECT_TRUE(doc_.Saved() && doc_.TablesSaved());
    // Another file opened: its rows in place of these, with no past.
    Open("road.vxa");
    EXPECT_EQ(told, (std::array<int, 3>{1, 2, 12}));
    EXPECT_EQ(mirror, doc_.Lines());
    EXPECT_FALSE(doc_.Undo());
}

// Beyond the edits walked above: the results are stale by what they were computed on.
TEST_F(DocumentTest, TheResultsAreStaleByTheRowsAndTablesTheyCameFrom) {
    struct Case { const char* what; std::function<void()> change; bool stale; } cases[] = {
        {"row replaced by itself", [&] { doc_.ReplaceRow(2, kDemo[1]); }, false},
        {"slopes emptied", [&] { doc_.SetHeights(doc_.GradeRows(), {}); }, true},
        {"grades emptied", [&] { doc_.SetHeights({}, doc_.SlopeRows()); }, true},
        {"another road opened", [&] { Put("other.vxa", Example("chain.vxa")), Open("other.vxa"); }, true},
        {"saved", [&] { doc_.Save(); }, false},
        {"the same road opened again", [&] { Open("road.vxa"); }, false},
        {"row added and undone", [&] { doc_.AppendRow(kChain[1]), doc_.Undo(); }, false},
        {"slopes emptied and undone", [&] { doc_.SetHeights(doc_.GradeRows(), {}), doc_.Undo(); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OpenDemo();
        Compute();
        c.change();
        EXPECT_EQ(doc_.ResultsStale(), c.stale);
    }
}

// A table refused at opening no longer counts as refused once 保存 has
// written this road's own table over it: emptied and saved, it goes, or the
// next opening would read equations that rename every station after K0+150.
TEST_F(DocumentTest, ARefusedTableOnceWrittenOverIsRemovedWhenEmptied) {
    Fresh({{"road.vxa", Example("chain.vxa")}, {"road.vxd", kBadChain}});
    ASSERT_EQ(Open("road.vxa").size(), 1u);
    doc_.SetEquations({{1, "K0+150", "K0+170"}});
    ASSERT_TRUE(doc_.Save().Ok());  // road.vxd holds this table now
    doc_.SetEquations({});
    ASSERT_TRUE(doc_.Save().Ok());
    EXPECT_EQ(Folder().count("road.vxd"), 0u);
    EXPECT_TRUE(Open("road.vxa").empty());
    EXPECT_TRUE(doc_.EquationRows().empty());
}

// With no file open nothing is written, and 保存 says so.
TEST_F(DocumentTest, SavingWithoutAFileIsNoSuccess) {
    doc_.AppendRow(kDemo[0]);
    EXPECT_FALSE(doc_.Save().Ok());
    EXPECT_FALSE(doc_.Saved());
}
