#include <algorithm>

#include <QFile>
#include <QFileInfo>
#include <QLabel>

#include "core/files/FileType.h"
#include "core/files/ProfileCsv.h"
#include "core/files/TextFile.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "ui/AlignmentDlg.h"
#include "ui/ProfileDlg.h"
#include "ui/toolkit/FileDialog.h"
#include "ui/toolkit/MessageBox.h"

// The road's heights: the vertical alignment (ROAD.vxz) and cross slopes
// (ROAD.vxh) beside the alignment file, read when it is opened, edited in
// 纵断面 and written by the control data's 保存.

using namespace vexaline;

namespace {

constexpr const char* kGradeExtension = "vxz";
constexpr const char* kSlopeExtension = "vxh";
constexpr const char* kChainExtension = "vxd";

// A table's file beside the alignment file; nothing when there is none, or
// after telling the user it cannot be read (its path then kept in refused).
std::optional<std::string> ReadBeside(QWidget* owner, const std::string& path, std::vector<std::string>& refused) {
    std::string bytes;
    switch (ReadWholeFile(path, bytes)) {
    case ReadStatus::Ok: return bytes;
    case ReadStatus::Missing: return std::nullopt;
    case ReadStatus::Unreadable: break;
    }
    platform::Warn(owner, Format(text::kCannotRead, platform::PathForDisplay(path).c_str()).c_str());
    refused.push_back(path);
    return std::nullopt;
}

}  // namespace

// A table that cannot be read or built is refused with its message and left
// out; the road opens all the same.
void CAlignmentDlg::LoadHeightsBeside() {
    const std::string equationsBefore = EquationsText();
    m_gradeRows.clear();
    m_slopeRows.clear();
    m_equationRows.clear();
    m_refusedBeside.clear();
    m_strHeightsPath = m_strFilePath;
    auto refuse = [this](const std::string& refusal, const char* extension) {
        platform::Warn(this, refusal.c_str());
        m_refusedBeside.push_back(WithExtension(m_strFilePath, extension));
    };
    // The equations first: the other tables' stations are 桩号 on them.
    if (const std::optional<std::string> bytes =
            ReadBeside(this, WithExtension(m_strFilePath, kChainExtension), m_refusedBeside)) {
        const EquationCsvRead read = ReadEquationCsv(*bytes);
        const std::string refusal = read.Ok() ? BuildChainage(read.rows).strMessage : read.strMessage;
        if (refusal.empty()) m_equationRows = read.rows;
        else refuse(refusal, kChainExtension);
    }
    const Chainage chain = RoadChain();
    if (const std::optional<std::string> bytes =
            ReadBeside(this, WithExtension(m_strFilePath, kGradeExtension), m_refusedBeside)) {
        const GradeCsvRead read = ReadGradeCsv(*bytes);
        const std::string refusal = read.Ok() ? BuildProfileOn(read.rows, chain).strMessage : read.strMessage;
        if (refusal.empty()) m_gradeRows = read.rows;
        else refuse(refusal, kGradeExtension);
    }
    if (const std::optional<std::string> bytes =
            ReadBeside(this, WithExtension(m_strFilePath, kSlopeExtension), m_refusedBeside)) {
        const SlopeCsvRead read = ReadSlopeCsv(*bytes);
        const std::string refusal = read.Ok() ? BuildSlopesOn(read.rows, chain).strMessage : read.strMessage;
        if (refusal.empty()) m_slopeRows = read.rows;
        else refuse(refusal, kSlopeExtension);
    }
    ShowHeightsLine();
    // The rows were shown before their equations were read: whatever reads
    // their stations (the check line, the plan view) reads them anew.
    if (EquationsText() != equationsBefore) emit ControlChanged();
}

std::optional<CAlignmentDlg::Heights> CAlignmentDlg::RoadHeights() const {
    if (m_gradeRows.empty()) return std::nullopt;
    const Chainage chain = RoadChain();
    ProfileBuild profile = BuildProfileOn(m_gradeRows, chain);
    SlopesBuild slopes = BuildSlopesOn(m_slopeRows, chain);
    // Both were built when they were taken in; a failure here gives no heights rather than wrong ones.
    if (!profile.Ok() || !slopes.Ok()) return std::nullopt;
    return Heights{std::move(profile.profile), std::move(slopes.slopes)};
}

// Cross slopes alone give no elevation: without a grade table there are no heights.
std::string CAlignmentDlg::HeightsText() const {
    return m_gradeRows.empty() ? std::string() : GradeCsvText(m_gradeRows) + SlopeCsvText(m_slopeRows);
}

std::vector<FileBytes> CAlignmentDlg::HeightFiles() const {
    std::vector<FileBytes> files;
    if (m_strHeightsPath == m_strFilePath) return files;
    if (!m_gradeRows.empty())
        files.push_back({WithExtension(m_strFilePath, kGradeExtension), GradeCsvText(m_gradeRows)});
    if (!m_slopeRows.empty())
        files.push_back({WithExtension(m_strFilePath, kSlopeExtension), SlopeCsvText(m_slopeRows)});
    if (!m_equationRows.empty())
        files.push_back({WithExtension(m_strFilePath, kChainExtension), EquationCsvText(m_equationRows)});
    return files;
}

// A table file beside the alignment file that the road does not have (one
// emptied here, or the replaced road's where this one is saved over it)
// would be read as the road's own at the next opening: an old .vxd would
// rename every station. Such files go once the road is written (SaveControl
// asks only where a road file is replaced); one that was refused at opening
// stays for the user to mend.
std::vector<std::string> CAlignmentDlg::StaleTables() const {
    std::vector<std::string> paths;
    if (m_strHeightsPath == m_strFilePath) return paths;
    const std::pair<bool, const char*> tables[] = {{m_gradeRows.empty(), kGradeExtension},
                                                   {m_slopeRows.empty(), kSlopeExtension},
                                                   {m_equationRows.empty(), kChainExtension}};
    for (const auto& [missing, extension] : tables) {
        const std::string path = WithExtension(m_strFilePath, extension);
        if (missing && std::find(m_refusedBeside.begin(), m_refusedBeside.end(), path) == m_refusedBeside.end())
            paths.push_back(path);
    }
    return paths;
}

void CAlignmentDlg::ShowHeightsLine() {
    auto state = [this](bool loaded, const char* extension) -> std::string {
        if (!loaded) return text::kHeightsNone;
        if (m_strHeightsPath != m_strFilePath) return text::kHeightsUnsaved;
        return QFileInfo(QFile::decodeName(WithExtension(m_strFilePath, extension).c_str())).fileName().toStdString();
    };
    const std::string grades = state(!m_gradeRows.empty(), kGradeExtension);
    const std::string slopes = state(!m_slopeRows.empty(), kSlopeExtension);
    // The equations named only where there are some: without, the line is as it was.
    const std::string line =
        m_equationRows.empty()
            ? Format(text::kHeightsLine, grades.c_str(), slopes.c_str())
            : Format(text::kHeightsChainLine, grades.c_str(), slopes.c_str(), state(true, kChainExtension).c_str());
    m_labelHeights->setText(QString::fromStdString(line));
    emit HeightsChanged();  // every change of the tables ends here
}

// "纵断面": the tables edited (their stations 桩号 on the road's equations);
// 确定 takes them into the window as unsaved control data (closing asks,
// 保存 writes them beside the alignment file).
void CAlignmentDlg::OnProfile() {
    const Busy busy(m_bBusy);
    if (!busy || !UpdateData(true)) return;
    if (m_strFilePath.empty()) {
        platform::Warn(this, text::kNoFile);
        return;
    }
    CProfileDlg dlg(m_gradeRows, m_slopeRows, RoadChain(), this);
    if (dlg.exec() != QDialog::Accepted) return;
    const std::vector<GradeRow> grades = dlg.GradeRows();
    const std::vector<SlopeRow> slopes = dlg.SlopeRows();
    if (GradeCsvText(grades) == GradeCsvText(m_gradeRows) && SlopeCsvText(slopes) == SlopeCsvText(m_slopeRows)) return;
    RememberControl();  // undone on its own, not with the row edit before it
    m_gradeRows = grades;
    m_slopeRows = slopes;
    m_strHeightsPath.clear();
    m_bControlSaved = false;
    EnableSave();
    ShowHeightsLine();
    ShowStale();
}
