#include "ui/document/RoadDocument.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "core/files/AlignmentFile.h"
#include "core/files/FileType.h"
#include "core/files/GridFile.h"
#include "core/files/ProfileCsv.h"
#include "core/files/SectionCsv.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "ui/toolkit/FileDialog.h"

using namespace vexaline;

namespace {

constexpr const char* kGradeExtension = "vxz";
constexpr const char* kSlopeExtension = "vxh";
constexpr const char* kChainExtension = "vxd";
constexpr const char* kTemplateExtension = "vxt";
constexpr const char* kWideningExtension = "vxw";
constexpr const char* kGridExtension = "vxc";

// The equations of a table's text (EquationsText); none when it holds none.
// The rows were checked when they were taken in.
Chainage ChainOfText(const std::string& text) {
    if (text.empty()) return Chainage();
    const EquationCsvRead read = ReadEquationCsv(text);
    return read.Ok() ? BuildChainage(read.rows).chain : Chainage();
}

}  // namespace

RoadDocument::RoadDocument(QObject* parent) : QObject(parent) {}

Chainage RoadDocument::Chain() const { return equations_.empty() ? Chainage() : BuildChainage(equations_).chain; }

Alignment RoadDocument::Road() const { return Alignment::Parse(lines_, Chain()); }

std::optional<RoadDocument::Heights> RoadDocument::RoadHeights() const {
    if (grades_.empty()) return std::nullopt;
    const Chainage chain = Chain();
    ProfileBuild profile = BuildProfileOn(grades_, chain);
    SlopesBuild slopes = BuildSlopesOn(slopes_, chain);
    // Both were built when they were taken in; a failure here gives no heights rather than wrong ones.
    if (!profile.Ok() || !slopes.Ok()) return std::nullopt;
    return Heights{std::move(profile.profile), std::move(slopes.slopes)};
}

std::string RoadDocument::HeightsText() const {
    return grades_.empty() ? std::string() : GradeCsvText(grades_) + SlopeCsvText(slopes_);
}

std::string RoadDocument::EquationsText() const {
    return equations_.empty() ? std::string() : EquationCsvText(equations_);
}

RoadDocument::Design RoadDocument::TemplateDesign() const {
    Design out;
    if (template_.empty()) return out.strRefusal = text::kSectionNoTemplate, out;
    TemplateBuild tmpl = BuildTemplate(template_);
    WideningBuild widening = BuildWidening(widening_, Chain());
    // Both were checked when they were taken in; a failure here gives no sections rather than wrong ones.
    if (!tmpl.Ok() || !widening.Ok()) return out.strRefusal = !tmpl.Ok() ? tmpl.strMessage : widening.strMessage, out;
    SectionDesign design{std::move(tmpl.value), std::move(widening.value), std::nullopt, CrossSlopes()};
    if (std::optional<Heights> heights = RoadHeights()) {
        // Without the table a crown row's heights would quietly take 0 %.
        // Named by its row of the table as the window shows it, whatever line of a file it came from.
        const int line = design.tmpl.FirstCrownLine();
        const auto row = std::find_if(template_.begin(), template_.end(), [&](const TemplateRow& r) { return r.nLine == line; });
        if (slopes_.empty() && line > 0)
            return out.strRefusal = Format(text::kSectionCrownNoSlopes, static_cast<int>(row - template_.begin()) + 1), out;
        design.profile = std::move(heights->profile);
        design.slopes = std::move(heights->slopes);
    }
    out.design = std::move(design);
    return out;
}

std::string RoadDocument::SectionRefusal(const std::vector<TemplateRow>& tmpl,
                                         const std::vector<WideningRow>& widening) const {
    const WideningBuild w = BuildWidening(widening, Chain());
    if (tmpl.empty()) return w.strMessage;
    const TemplateBuild t = BuildTemplate(tmpl);
    if (!t.Ok()) return t.strMessage;
    return w.Ok() ? WideningRefusal(t.value, w.value) : w.strMessage;
}

std::vector<std::string> RoadDocument::Open(const std::string& path, const std::string& name,
                                            const std::string& bytes) {
    const int before = RowCount();
    path_ = path;
    name_ = platform::NameForDisplay(name);
    lines_.resize(1);
    for (std::string& line : AlignmentRecords(bytes)) lines_.push_back(std::move(line));
    saved_ = true;  // the rows are what the file holds
    history_.Clear();
    std::vector<std::string> told = ReadTablesBeside();
    emit RowsChanged(1, before, RowCount());
    emit TablesChanged();
    return told;
}

// The equations first: the other tables' stations are 桩号 on them.
std::vector<std::string> RoadDocument::ReadTablesBeside() {
    grades_.clear(), slopes_.clear(), equations_.clear(), refusedBeside_.clear();
    template_.clear(), widening_.clear(), grid_.clear();
    tablesPath_ = path_;
    std::vector<std::string> told;
    // A table's bytes; nothing when there is none, or when it cannot be read (told).
    auto read = [&](const char* extension) -> std::optional<std::string> {
        const std::string beside = WithExtension(path_, extension);
        std::string bytes;
        switch (ReadWholeFile(beside, bytes)) {
        case ReadStatus::Ok: return bytes;
        case ReadStatus::Missing: return std::nullopt;
        case ReadStatus::Unreadable: break;
        }
        told.push_back(Format(text::kCannotRead, platform::PathForDisplay(beside).c_str()));
        refusedBeside_.push_back(beside);
        return std::nullopt;
    };
    // Taken when it reads and builds; else left out, with its refusal told.
    auto take = [&](const std::string& refusal, const char* extension) {
        if (refusal.empty()) return true;
        told.push_back(refusal);
        refusedBeside_.push_back(WithExtension(path_, extension));
        return false;
    };
    if (const std::optional<std::string> bytes = read(kChainExtension)) {
        const EquationCsvRead table = ReadEquationCsv(*bytes);
        if (take(table.Ok() ? BuildChainage(table.rows).strMessage : table.strMessage, kChainExtension))
            equations_ = table.rows;
    }
    const Chainage chain = Chain();
    if (const std::optional<std::string> bytes = read(kGradeExtension)) {
        const GradeCsvRead table = ReadGradeCsv(*bytes);
        if (take(table.Ok() ? BuildProfileOn(table.rows, chain).strMessage : table.strMessage, kGradeExtension))
            grades_ = table.rows;
    }
    if (const std::optional<std::string> bytes = read(kSlopeExtension)) {
        const SlopeCsvRead table = ReadSlopeCsv(*bytes);
        if (take(table.Ok() ? BuildSlopesOn(table.rows, chain).strMessage : table.strMessage, kSlopeExtension))
            slopes_ = table.rows;
    }
    if (const std::optional<std::string> bytes = read(kTemplateExtension)) {
        const TemplateCsvRead table = ReadTemplateCsv(*bytes);
        if (take(table.Ok() ? BuildTemplate(table.rows).strMessage : table.strMessage, kTemplateExtension))
            template_ = table.rows;
    }
    if (const std::optional<std::string> bytes = read(kWideningExtension)) {
        const WideningCsvRead table = ReadWideningCsv(*bytes);
        if (take(table.Ok() ? SectionRefusal(template_, table.rows) : table.strMessage, kWideningExtension))
            widening_ = table.rows;
    }
    if (const std::optional<std::string> bytes = read(kGridExtension)) {
        const GridRead grid = ReadGridFile(*bytes);
        if (take(grid.strMessage, kGridExtension)) grid_ = grid.grid->strName;
    }
    return told;
}

void RoadDocument::PutNewRoad(const std::string& path, const std::string& name, const std::vector<ControlRow>& rows,
                              const std::vector<EquationRow>& equations) {
    Remember();
    path_ = path;
    name_ = platform::NameForDisplay(name);
    saved_ = false;  // nothing written yet: closing asks
    // Its equations come with it: without them the rows' 桩号 would be read
    // as distances. 保存 writes the new road's tables beside its file, and
    // removes any other table there.
    grades_.clear(), slopes_.clear(), template_.clear(), widening_.clear(), grid_.clear();
    equations_ = equations;
    tablesPath_.clear();
    std::vector<std::string> lines = ControlLines(rows);
    lines.insert(lines.begin(), ControlHeaderLine());
    ShowLines(std::move(lines));
    emit TablesChanged();
}

std::vector<FileBytes> RoadDocument::TableFiles() const {
    std::vector<FileBytes> files;
    if (TablesSaved()) return files;
    if (!grades_.empty()) files.push_back({WithExtension(path_, kGradeExtension), GradeCsvText(grades_)});
    if (!slopes_.empty()) files.push_back({WithExtension(path_, kSlopeExtension), SlopeCsvText(slopes_)});
    if (!equations_.empty()) files.push_back({WithExtension(path_, kChainExtension), EquationCsvText(equations_)});
    if (!template_.empty()) files.push_back({WithExtension(path_, kTemplateExtension), TemplateCsvText(template_)});
    if (!widening_.empty()) files.push_back({WithExtension(path_, kWideningExtension), WideningCsvText(widening_)});
    if (!grid_.empty()) files.push_back({WithExtension(path_, kGridExtension), GridFileText(grid_)});
    return files;
}

// A table file beside the road file that the road does not have (one
// emptied here, or the replaced road's where this one is saved over it)
// would be read as the road's own at the next opening: an old .vxd would
// rename every station.
std::vector<std::string> RoadDocument::StaleTables() const {
    std::vector<std::string> paths;
    if (TablesSaved()) return paths;
    const std::pair<bool, const char*> tables[] = {
        {grades_.empty(), kGradeExtension},       {slopes_.empty(), kSlopeExtension},
        {equations_.empty(), kChainExtension},    {template_.empty(), kTemplateExtension},
        {widening_.empty(), kWideningExtension},  {grid_.empty(), kGridExtension}};
    for (const auto& [missing, extension] : tables) {
        const std::string path = WithExtension(path_, extension);
        if (missing && std::find(refusedBeside_.begin(), refusedBeside_.end(), path) == refusedBeside_.end())
            paths.push_back(path);
    }
    return paths;
}

RoadDocument::SaveOutcome RoadDocument::Save() {
    SaveOutcome outcome;
    if (path_.empty()) return outcome;  // no file to write to
    std::vector<FileBytes> files{{path_, SavedAlignmentFile(lines_, TimeStampNow())}};
    for (FileBytes& table : TableFiles()) files.push_back(std::move(table));
    // Tables beside a name that holds no road yet are the user's, made for it.
    const std::vector<std::string> stale =
        QFileInfo::exists(QFile::decodeName(path_.c_str())) ? StaleTables() : std::vector<std::string>();
    if (const std::optional<std::size_t> failed = WriteFilesAtomically(files)) {
        outcome.failedPath = files[*failed].path;
        return outcome;
    }
    // The road is written: a table left beside it is told, not undone.
    for (const std::string& table : stale)
        if (!RemoveFile(table)) outcome.notRemoved.push_back(table);
    // A table refused at opening and written now is the road's: emptied later, it goes.
    for (const FileBytes& file : files)
        refusedBeside_.erase(std::remove(refusedBeside_.begin(), refusedBeside_.end(), file.path), refusedBeside_.end());
    outcome.bWritten = true;
    saved_ = true;
    tablesPath_ = path_;
    // No earlier state is what the files hold now: undone to, it is unsaved
    // and its tables are written with it.
    history_.ForEach([](State& s) { s.saved = false, s.tablesPath.clear(); });
    emit TablesChanged();
    return outcome;
}

RoadDocument::SaveOutcome RoadDocument::SaveAs(const std::string& path, const std::string& name) {
    const std::string oldPath = path_, oldName = name_;
    path_ = path;
    name_ = platform::NameForDisplay(name);
    SaveOutcome outcome = Save();
    if (!outcome.Ok()) {
        path_ = oldPath, name_ = oldName;
        return outcome;
    }
    history_.ForEach([&](State& s) {
        if (s.path == oldPath) s.path = path_, s.name = name_;
    });
    return outcome;
}

void RoadDocument::AppendRow(std::string line) {
    Remember();
    saved_ = false;
    lines_.push_back(std::move(line));
    emit RowsChanged(RowCount(), 0, 1);
}

void RoadDocument::ReplaceRow(int row, std::string line) {
    Remember();
    saved_ = false;
    lines_[static_cast<std::size_t>(row)] = std::move(line);
    emit RowsChanged(row, 1, 1);
}

void RoadDocument::RemoveRow(int row) {
    Remember();
    saved_ = false;
    lines_.erase(lines_.begin() + row);
    emit RowsChanged(row, 1, 0);
}

void RoadDocument::SetLines(std::vector<std::string> lines) {
    Remember();
    saved_ = false;
    ShowLines(std::move(lines));
}

void RoadDocument::SetHeights(std::vector<GradeRow> grades, std::vector<SlopeRow> slopes) {
    Remember();  // undone on its own, not with the row edit before it
    grades_ = std::move(grades), slopes_ = std::move(slopes);
    tablesPath_.clear();
    saved_ = false;
    emit TablesChanged();
}

void RoadDocument::SetEquations(std::vector<EquationRow> equations) {
    Remember();
    equations_ = std::move(equations);
    tablesPath_.clear();
    saved_ = false;
    emit TablesChanged();
    emit RowsChanged(static_cast<int>(lines_.size()), 0, 0);  // the rows' stations are read anew
}

void RoadDocument::SetSection(std::vector<TemplateRow> tmpl, std::vector<WideningRow> widening) {
    Remember();
    template_ = std::move(tmpl), widening_ = std::move(widening);
    tablesPath_.clear();
    saved_ = false;
    emit TablesChanged();
}

void RoadDocument::SetGrid(std::string grid) {
    Remember();
    grid_ = std::move(grid);
    tablesPath_.clear();
    saved_ = false;
    emit TablesChanged();
}

bool RoadDocument::Undo() {
    std::optional<State> before = history_.Undo(Current());
    if (before) Restore(std::move(*before));
    return before.has_value();
}

bool RoadDocument::Redo() {
    std::optional<State> after = history_.Redo(Current());
    if (after) Restore(std::move(*after));
    return after.has_value();
}

RoadDocument::State RoadDocument::Current() const {
    return State{lines_, path_, name_, tablesPath_, grades_, slopes_, equations_, template_, widening_, grid_, saved_};
}

void RoadDocument::Remember() { history_.Push(Current()); }

void RoadDocument::Restore(State state) {
    path_ = std::move(state.path);
    name_ = std::move(state.name);
    tablesPath_ = std::move(state.tablesPath);
    grades_ = std::move(state.grades), slopes_ = std::move(state.slopes), equations_ = std::move(state.equations);
    template_ = std::move(state.tmpl), widening_ = std::move(state.widening), grid_ = std::move(state.grid);
    saved_ = state.saved;
    ShowLines(std::move(state.lines));
    emit TablesChanged();
}

void RoadDocument::ShowLines(std::vector<std::string> lines) {
    const int before = RowCount();
    lines_ = std::move(lines);
    emit RowsChanged(1, before, RowCount());
}

Alignment RoadDocument::ResultsRoad() const {
    const std::optional<ResultSource>& source = results_.source;
    return source ? Alignment::Parse(source->controlList, ChainOfText(source->strEquations)) : Road();
}

bool RoadDocument::ResultsStale() const { return Stale(results_, lines_, HeightsText(), EquationsText()); }

ResultSource RoadDocument::Source(std::time_t time) const {
    const QString file = QFileInfo(QFile::decodeName(path_.c_str())).fileName();
    return ResultSource{file.toStdString(), lines_, time, HeightsText(), EquationsText()};
}

void RoadDocument::ResetResults(ResultMode mode) {
    spare_ = std::move(results_);
    results_ = ResultSet{};
    results_.mode = mode;
    emit ResultsReset();
    emit ResultsChanged();
}

ResultSet RoadDocument::TakeSpare(ResultMode mode) {
    ResultSet set = std::move(spare_);
    spare_ = ResultSet{};
    set.rows.clear();  // the memory stays
    set.messages.clear();
    set.setups.clear();
    set.range.reset();
    set.source.reset();
    set.bHeights = false;  // the next run's heights are its own
    set.mode = mode;
    return set;
}

void RoadDocument::AppendResults(ResultSet&& more) {
    resultsSaved_ = false;
    if (more.rows.empty()) return;
    const int first = static_cast<int>(results_.rows.size()) + 1;
    const int count = static_cast<int>(more.rows.size());
    results_.Append(std::move(more));
    emit ResultsAppended(first, count);
    emit ResultsChanged();
}
