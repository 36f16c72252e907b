#pragma once
#include <QObject>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "core/road/Alignment.h"
#include "core/road/Chainage.h"
#include "core/road/CrossSlope.h"
#include "core/road/Profile.h"
#include "core/road/Results.h"
#include "core/road/Section.h"
#include "core/road/SectionTemplate.h"
#include "core/files/TextFile.h"
#include "core/text/ControlLine.h"
#include "ui/document/UndoStack.h"

// The open road: its file, its control rows (the 58-byte GBK lines, header
// first), the tables beside it (vertical alignment ROAD.vxz, cross slopes
// ROAD.vxh, station equations ROAD.vxd, cross-section template ROAD.vxt and
// its widening ROAD.vxw, the road's grid ROAD.vxc), whether the file holds
// what is shown, the undo history, and the results with the road they came from.
// Every rule of opening, saving and editing a road is here; the window's
// panels and the tools ask it and show what it says. It shows nothing itself:
// what the user must be told comes back as texts (UTF-8) in order.
class RoadDocument : public QObject {
    Q_OBJECT
public:
    explicit RoadDocument(QObject* parent = nullptr);

    // The file: full path in the file system's encoding, and its name without
    // folder as shown (GBK). Both empty: no file open.
    const std::string& Path() const { return path_; }
    const std::string& Name() const { return name_; }
    // The file holds the rows and tables as they are shown.
    bool Saved() const { return saved_; }
    // For a caller that knows better (the tests): the rows counted as saved or not.
    void SetSaved(bool saved) { saved_ = saved; }

    // The control list: header line first.
    const std::vector<std::string>& Lines() const { return lines_; }
    int RowCount() const { return static_cast<int>(lines_.size()) - 1; }
    const std::vector<vexaline::GradeRow>& GradeRows() const { return grades_; }
    const std::vector<vexaline::SlopeRow>& SlopeRows() const { return slopes_; }
    const std::vector<vexaline::EquationRow>& EquationRows() const { return equations_; }
    const std::vector<vexaline::TemplateRow>& TemplateRows() const { return template_; }
    const std::vector<vexaline::WideningRow>& WideningRows() const { return widening_; }
    // The grid the road's X and Y are in, as ReadRoadGrid reads it; empty: none chosen.
    const std::string& GridText() const { return grid_; }
    // The tables are the files beside the road file (not waiting for 保存).
    bool TablesSaved() const { return tablesPath_ == path_; }

    // The station equations as the road's (none without a table); the rows
    // parsed into the road on them.
    vexaline::Chainage Chain() const;
    vexaline::Alignment Road() const;
    // The vertical alignment and cross slopes from the tables; none without a grade table.
    struct Heights {
        vexaline::Profile profile;
        vexaline::CrossSlopes slopes;
    };
    std::optional<Heights> RoadHeights() const;
    // The tables as the results' source records them (empty: none). Cross
    // slopes alone give no elevation: without a grade table, no heights.
    std::string HeightsText() const;
    std::string EquationsText() const;
    // The cross-section design of the road: the template, its widening and
    // the heights; the refusal instead (UTF-8) when there is no template, or
    // a 路拱 row would take a cross slope from a road with heights but no
    // cross-slope table.
    struct Design {
        std::optional<vexaline::SectionDesign> design;
        std::string strRefusal;
    };
    Design TemplateDesign() const;
    // Why a template and widening cannot be taken on this road (UTF-8,
    // naming the table's row), or empty.
    std::string SectionRefusal(const std::vector<vexaline::TemplateRow>& tmpl,
                               const std::vector<vexaline::WideningRow>& widening) const;

    // Opening: the rows of the file's bytes (an alignment file) under its
    // path and name (name UTF-8), saved, with the tables beside it. A table
    // that cannot be read or built is left out and the road opens all the
    // same; the messages saying so come back in order (equations, grades,
    // slopes, template, widening, grid). The history is forgotten: another file's rows are not this one's past.
    std::vector<std::string> Open(const std::string& path, const std::string& name, const std::string& bytes);
    // A new road made elsewhere (imported, constructed) in place of the rows:
    // unsaved, under the file it is to be saved to (name UTF-8), with the
    // station equations its rows' stations are 桩号 on (none: distances).
    // Another road's heights do not come with it; undoable.
    void PutNewRoad(const std::string& path, const std::string& name, const std::vector<vexaline::ControlRow>& rows,
                    const std::vector<vexaline::EquationRow>& equations = {});

    // 保存: the road and the tables taken in since, all written or none.
    // Once the road is written, a table file beside it that the road does
    // not have is removed (where a road file is replaced; one refused at
    // opening stays for the user to mend).
    struct SaveOutcome {
        bool bWritten = false;                // the road and its tables are written
        std::string failedPath;               // the file that could not be written (empty without a file)
        std::vector<std::string> notRemoved;  // stale tables that could not be removed
        bool Ok() const { return bWritten; }
    };
    SaveOutcome Save();
    // 另存为: the same under another file, which becomes the open one only
    // once written (name UTF-8). Undone, the rows are saved there, never
    // over the file the user chose to keep.
    SaveOutcome SaveAs(const std::string& path, const std::string& name);

    // Edits: each is remembered for undo and leaves the rows unsaved.
    void AppendRow(std::string line);
    void ReplaceRow(int row, std::string line);  // row >= 1, as in the list
    void RemoveRow(int row);
    void SetLines(std::vector<std::string> lines);  // header first
    void SetHeights(std::vector<vexaline::GradeRow> grades, std::vector<vexaline::SlopeRow> slopes);
    void SetEquations(std::vector<vexaline::EquationRow> equations);
    // The cross-section tables, which SectionRefusal must have passed.
    void SetSection(std::vector<vexaline::TemplateRow> tmpl, std::vector<vexaline::WideningRow> widening);
    // The road's grid, which ReadRoadGrid must have read (its strName), or empty for none.
    void SetGrid(std::string grid);
    // Undo and redo over rows, tables and file alike; false when there was nothing.
    bool Undo();
    bool Redo();

    // The results: the rows computed, the road they came from, whether saved.
    const vexaline::ResultSet& Results() const { return results_; }
    // The road the results were computed from (the rows' when not known).
    vexaline::Alignment ResultsRoad() const;
    // The results are another road's: the rows or the tables changed since.
    bool ResultsStale() const;
    // The open road as the source of rows computed at time.
    vexaline::ResultSource Source(std::time_t time) const;
    bool ResultsSaved() const { return resultsSaved_; }
    void SetResultsSaved(bool saved) { resultsSaved_ = saved; }
    // Only the header of mode is left.
    void ResetResults(vexaline::ResultMode mode);
    // An empty set for the next run, holding the memory of the rows the
    // last reset let go: a million rows are not laid out afresh each time.
    vexaline::ResultSet TakeSpare(vexaline::ResultMode mode);
    // The rows of more appended after the present ones, unsaved.
    void AppendResults(vexaline::ResultSet&& more);

signals:
    // The control list changed from line first on: removed lines gone, then
    // inserted lines put there (0, 0 when only the stations are read anew,
    // on new equations). Every change of the rows ends here.
    void RowsChanged(int first, int removed, int inserted);
    // A table taken in, edited, dropped, written or undone.
    void TablesChanged();
    void ResultsReset();
    void ResultsAppended(int first, int count);  // results list lines, header = 0
    void ResultsChanged();                        // after either

private:
    struct State {
        std::vector<std::string> lines;
        std::string path, name, tablesPath;
        std::vector<vexaline::GradeRow> grades;
        std::vector<vexaline::SlopeRow> slopes;
        std::vector<vexaline::EquationRow> equations;
        std::vector<vexaline::TemplateRow> tmpl;
        std::vector<vexaline::WideningRow> widening;
        std::string grid;
        bool saved = true;
    };
    State Current() const;
    void Remember();
    void Restore(State state);
    void ShowLines(std::vector<std::string> lines);  // all rows anew
    std::vector<vexaline::FileBytes> TableFiles() const;
    std::vector<std::string> StaleTables() const;
    std::vector<std::string> ReadTablesBeside();

    std::string path_, name_;
    std::vector<std::string> lines_{vexaline::ControlHeaderLine()};
    std::vector<vexaline::GradeRow> grades_;
    std::vector<vexaline::SlopeRow> slopes_;
    std::vector<vexaline::EquationRow> equations_;
    std::vector<vexaline::TemplateRow> template_;
    std::vector<vexaline::WideningRow> widening_;
    std::string grid_;
    // The road file whose beside-files hold the tables as shown; empty: the
    // tables are to be written by the next 保存.
    std::string tablesPath_;
    std::vector<std::string> refusedBeside_;  // tables beside the file refused at opening
    bool saved_ = true;
    UndoStack<State> history_;
    vexaline::ResultSet results_, spare_;
    bool resultsSaved_ = true;
};
