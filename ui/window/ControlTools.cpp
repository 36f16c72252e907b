#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QPointer>
#include <ctime>

#include "core/files/FileType.h"
#include "core/files/GridFile.h"
#include "core/files/IfcExport.h"
#include "core/files/LandXml.h"
#include "core/files/MapExport.h"
#include "core/files/ProfileCsv.h"
#include "core/files/TextFile.h"
#include "core/road/CheckText.h"
#include "core/road/ControlCheck.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "ui/document/RoadDocument.h"
#include "ui/profile/ProfileDlg.h"
#include "ui/tools/ChainDlg.h"
#include "ui/tools/CheckReportDlg.h"
#include "ui/tools/PiDlg.h"
#include "ui/window/ControlPanel.h"
#include "ui/toolkit/FileDialog.h"
#include "ui/toolkit/GbkList.h"
#include "ui/toolkit/MessageBox.h"

// The tools on the rows and their tables: the check, 交点法, 纵断面, 断链,
// LandXML in and out, and the road on a map.

using namespace vexaline;

// "检查": the control-data check. The report stays open beside the window;
// its flagged rows are marked in the control list until the data change,
// which also closes the report, since it then describes other rows.
void ControlPanel::OnCheckControl() {
    const Busy busy(m_shared.busy);
    if (!busy) return;
    const Alignment road = m_doc.Road();
    if (road.Rows().size() < 2) {
        platform::Warn(Owner(), text::kCheckTooFew);
        return;
    }
    if (!panel::ChainFits(Owner(), road)) return;  // equations off the road: nothing checks true
    const CheckTolerance tolerance;
    const CheckReport report = CheckControl(road, tolerance);
    m_listControl->SetMarked(report.flaggedRows);  // list line i is row i
    if (auto* old = Owner()->findChild<CCheckReportDlg*>()) old->close();
    if (report.flaggedRows.empty()) {
        platform::Notify(Owner(), GbkToUtf8(CheckSummaryText(report, tolerance)).c_str());
        return;
    }
    QPointer<ControlPanel> self(this);
    auto* dlg = new CCheckReportDlg(report, road.Rows(), tolerance, [self](int row) {
        if (!self || row >= self->m_listControl->Model()->Count()) return;
        self->m_listControl->Select(row);
        self->OnSelchangeControlList();  // the row's fields, ready to mend
    }, Owner());
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    connect(&m_doc, &RoadDocument::RowsChanged, dlg, &QDialog::close);
    connect(&m_doc, &RoadDocument::RowsChanged, m_listControl, [list = m_listControl] { list->SetMarked({}); },
            Qt::SingleShotConnection);
    dlg->show();
}

void ControlPanel::ShowCheckLine() {
    const Alignment road = m_doc.Road();
    const CheckReport report = CheckControl(road);
    const std::string& chain = road.ChainMessage();
    m_labelCheck->setText(QString::fromUtf8(chain.empty() ? GbkToUtf8(CheckStatusText(report)).c_str() : chain.c_str()));
    m_labelCheck->setStyleSheet(report.flaggedRows.empty() && chain.empty() ? QString() : QStringLiteral("color: #c00000"));
}

// "交点法": the road entered by intersection points. The rows it makes are a
// new road: after the question 打开/创建 asks about unsaved rows, the file it
// will be saved to is chosen (proposed from the table's name; nothing is
// written until 保存), and its rows take the place of the list's as unsaved
// data. Cancel leaves the window as it was and the dialog open. The table
// stays as it was left for the next time the dialog opens. On a road with
// station equations the new road is built on them and takes them along.
void ControlPanel::OnPiEntry() {
    const Busy busy(m_shared.busy);
    if (!busy || !m_shared.updateData(true, nullptr)) return;
    CPiDlg dlg(
        [this, &dlg](const std::vector<ControlRow>& rows) {
            if (!m_doc.Saved() && platform::AskYesNo(&dlg, text::kAskSaveControl) && !SaveControl()) return false;
            const platform::FileChoice choice =
                platform::PickFileToSave(&dlg, text::kAlignmentFilter, dlg.ProposedRoadName(), "vxa");
            if (choice.strPath.empty()) return false;
            m_doc.PutNewRoad(choice.strPath, choice.strName, rows, m_doc.EquationRows());
            EnableSave();
            m_shared.updateData(false, nullptr);
            return true;
        },
        m_doc.Chain(), Owner());
    if (m_piState) dlg.Restore(*m_piState);
    dlg.exec();
    m_piState = dlg.Kept();  // typed or opened, shown again next time
}

// "纵断面": the tables edited (their stations 桩号 on the road's equations);
// 确定 takes them in as unsaved control data (closing asks, 保存 writes them
// beside the alignment file).
void ControlPanel::OnProfile() {
    const Busy busy(m_shared.busy);
    if (!busy || !m_shared.updateData(true, nullptr)) return;
    if (m_doc.Path().empty()) {
        platform::Warn(Owner(), text::kNoFile);
        return;
    }
    CProfileDlg dlg(m_doc.GradeRows(), m_doc.SlopeRows(), m_doc.Chain(), Owner());
    if (dlg.exec() != QDialog::Accepted) return;
    std::vector<GradeRow> grades = dlg.GradeRows();
    std::vector<SlopeRow> slopes = dlg.SlopeRows();
    if (GradeCsvText(grades) == GradeCsvText(m_doc.GradeRows()) && SlopeCsvText(slopes) == SlopeCsvText(m_doc.SlopeRows()))
        return;
    m_doc.SetHeights(std::move(grades), std::move(slopes));
    EnableSave();
}

// "断链": the table edited; 确定 takes it in as unsaved control data, as 纵断面 does.
void ControlPanel::OnChain() {
    const Busy busy(m_shared.busy);
    if (!busy || !m_shared.updateData(true, nullptr)) return;
    if (m_doc.Path().empty()) {
        platform::Warn(Owner(), text::kNoFile);
        return;
    }
    // A table the rows or the height tables do not fit is refused, naming
    // the row: taken, the road would lose its heights without a word.
    CChainDlg dlg(m_doc.EquationRows(), [this](const Chainage& chain) {
        std::string refusal = Alignment::Parse(m_doc.Lines(), chain).ChainMessage();
        if (refusal.empty() && !m_doc.GradeRows().empty()) refusal = BuildProfileOn(m_doc.GradeRows(), chain).strMessage;
        if (refusal.empty()) refusal = BuildSlopesOn(m_doc.SlopeRows(), chain).strMessage;
        if (refusal.empty()) refusal = BuildWidening(m_doc.WideningRows(), chain).strMessage;
        return refusal;
    }, Owner());
    if (dlg.exec() != QDialog::Accepted) return;
    std::vector<EquationRow> rows = dlg.Rows();
    if (EquationCsvText(rows) == EquationCsvText(m_doc.EquationRows())) return;
    m_doc.SetEquations(std::move(rows));
    EnableSave();
}

void ControlPanel::ShowHeightsLine() {
    auto state = [this](bool loaded, const char* extension) -> std::string {
        if (!loaded) return text::kHeightsNone;
        if (!m_doc.TablesSaved()) return text::kHeightsUnsaved;
        return QFileInfo(QFile::decodeName(WithExtension(m_doc.Path(), extension).c_str())).fileName().toStdString();
    };
    const std::string grades = state(!m_doc.GradeRows().empty(), "vxz");
    const std::string slopes = state(!m_doc.SlopeRows().empty(), "vxh");
    // The equations named only where there are some: without, the line is as it was.
    const std::string line =
        m_doc.EquationRows().empty()
            ? Format(text::kHeightsLine, grades.c_str(), slopes.c_str())
            : Format(text::kHeightsChainLine, grades.c_str(), slopes.c_str(), state(true, "vxd").c_str());
    m_labelHeights->setText(QString::fromStdString(line));
}

// The rows come in unsaved; the alignment file beside the LandXML file (same
// name, .vxa) is written only when the user saves, as for typed rows. A
// file's station equations come with its rows (which are then 桩号) and are
// written with them, ROAD.vxd beside ROAD.vxa, all or nothing.
void ControlPanel::ImportLandXmlFile(const platform::FileChoice& choice) {
    std::string bytes;
    if (ReadWholeFile(choice.strPath, bytes) != ReadStatus::Ok) {
        platform::Warn(Owner(), Format(text::kCannotRead, platform::PathForDisplay(choice.strPath).c_str()).c_str());
        return;
    }
    LandXmlImport in = ImportLandXml(bytes, "");
    if (in.status == ImportStatus::Refused && in.names.size() > 1) {
        QStringList names;
        for (const std::string& n : in.names) names << QString::fromStdString(n);
        bool ok = false;
        const QString name = QInputDialog::getItem(Owner(), QString::fromUtf8(text::kChooseAlignment),
                                                   QString::fromUtf8(text::kChooseAlignmentLabel), names, 0, false, &ok);
        if (!ok) return;
        in = ImportLandXml(bytes, name.toStdString());
    }
    if (in.status != ImportStatus::Ok) {
        platform::Warn(Owner(), in.strMessage.c_str());
        return;
    }
    const std::string path = WithExtension(choice.strPath, "vxa"), name = WithExtension(choice.strName, "vxa");
    if (QFileInfo::exists(QFile::decodeName(path.c_str())) &&
        !platform::AskYesNo(Owner(), Format(text::kAskReplaceFile, name.c_str()).c_str()))
        return;
    m_doc.PutNewRoad(path, name, in.rows, in.equations);
    EnableSave();
    m_shared.updateData(false, nullptr);
    // What the rows changed from the file (feet converted, elements merged).
    if (!in.strNotice.empty()) platform::Notify(Owner(), in.strNotice.c_str());
}

namespace {

// The road file's name without folder and extension (UTF-8): the exported road's name.
std::string RoadStem(const RoadDocument& doc) {
    return QFileInfo(QString::fromStdString(GbkToUtf8(doc.Name()))).completeBaseName().toStdString();
}

// The export's bytes written, or the user told why not.
bool WriteExport(QWidget* owner, const platform::FileChoice& choice, const std::string& bytes,
                 const std::string& refusal) {
    if (!refusal.empty()) return platform::Warn(owner, refusal.c_str()), false;
    if (WriteFileAtomically(choice.strPath, bytes)) return true;
    platform::Warn(owner, Format(text::kCannotWrite, platform::PathForDisplay(choice.strPath).c_str()).c_str());
    return false;
}

}  // namespace

bool ControlPanel::ExportLandXmlFile(const platform::FileChoice& choice) {
    const LandXmlExport out = ExportLandXml(m_doc.Road(), RoadStem(m_doc), std::time(nullptr));
    return WriteExport(Owner(), choice, out.bytes, out.strMessage);
}

// The road on a map in its grid (ROAD.vxc, chosen in 坐标转换), as
// `vexaline-cli convert ROAD.vxa OUT --crs GRID` draws it, with the design
// elevations where the road has a vertical alignment.
bool ControlPanel::ExportMapFile(const platform::FileChoice& choice, MapFormat format) {
    if (m_doc.GridText().empty()) return platform::Warn(Owner(), text::kMapNoGrid), false;
    const GridRead grid = ReadRoadGrid(m_doc.GridText());
    if (!grid.grid) return platform::Warn(Owner(), grid.strMessage.c_str()), false;
    const GridTransform::Make toMap = GridTransform::ToMap(*grid.grid);
    if (!toMap.transform) return platform::Warn(Owner(), toMap.strMessage.c_str()), false;
    const std::optional<RoadDocument::Heights> heights = m_doc.RoadHeights();
    const MapExport out = ExportMap(format, m_doc.Road(), *toMap.transform, grid.grid->strName,
                                    heights ? &heights->profile : nullptr, {}, RoadStem(m_doc));
    return WriteExport(Owner(), choice, out.bytes, out.strMessage);
}

// The road for a BIM model, as `vexaline-cli convert ROAD.vxa OUT.ifc` writes
// it: with its vertical alignment where it has one, in its grid where one
// is chosen.
bool ControlPanel::ExportIfcFile(const platform::FileChoice& choice) {
    std::optional<Grid> grid;
    if (!m_doc.GridText().empty()) {
        GridRead read = ReadRoadGrid(m_doc.GridText());
        if (!read.grid) return platform::Warn(Owner(), read.strMessage.c_str()), false;
        grid = std::move(*read.grid);
    }
    const std::optional<RoadDocument::Heights> heights = m_doc.RoadHeights();
    const IfcExport out = ExportIfc(m_doc.Road(), RoadStem(m_doc), std::time(nullptr),
                                    heights ? &heights->profile : nullptr, grid ? &*grid : nullptr);
    return WriteExport(Owner(), choice, out.bytes, out.strMessage);
}
