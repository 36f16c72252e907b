#include "ui/AlignmentDlg.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

#include "core/files/AlignmentFile.h"
#include "core/files/FileType.h"
#include "core/files/OpenOrCreate.h"
#include "core/files/TextFile.h"
#include "core/text/ControlLine.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "ui/toolkit/FieldExchange.h"
#include "ui/toolkit/FileDialog.h"
#include "ui/toolkit/GbkList.h"
#include "ui/toolkit/MessageBox.h"
#include "ui/toolkit/Settings.h"

// The control data: open or create, save, add or replace, select, delete.

using namespace vexaline;

void CAlignmentDlg::OnOK() {
    OpenRoad([this] { return platform::PickFileToOpen(this, text::kAlignmentFilesFilter); });
}

void CAlignmentDlg::OpenRoad(const std::function<platform::FileChoice()>& choose) {
    const Busy busy(m_bBusy);
    if (!busy || !UpdateData(true)) return;
    // Unsaved rows are not dropped without a word.
    if (!m_bControlSaved && platform::AskYesNo(this, text::kAskSaveControl) && !SaveControl()) return;

    const platform::FileChoice choice = choose();
    if (choice.strPath.empty()) {
        UpdateData(false);
        return;
    }
    // A file to open is read as its name says, whatever type was left selected.
    if (TypeOfName(choice.strName, choice.nType, {"vxa", "xml"}).nType == 2) {
        ImportLandXmlFile(choice);
        return;
    }
    const OpenedFile file =
        OpenOrCreate(FileKind::Alignment, choice.strPath, choice.strName, [this](Question q, const std::string& name) {
            return q == Question::Create ? platform::AskOkCancel(this, text::kAskCreate)
                                         : platform::AskYesNo(this, Format(text::kAskReplaceFile, name.c_str()).c_str());
        });
    if (!platform::OpenedOrTold(this, file.outcome, platform::PathForDisplay(file.strPath))) return;

    // Only now that the new file is open do the old lines go.
    platform::GbkLineModel* model = m_listControl->LineModel();
    model->Truncate(1);
    model->AppendAll(AlignmentRecords(file.bytes));
    m_strFilePath = file.strPath;
    m_strFileName = platform::NameForDisplay(file.strName);
    m_nSegmentCount = model->Count() - 1;
    if (m_nSegmentCount > 0) EnableSave();
    m_bControlSaved = true;  // the list is what the file holds
    m_history.Clear();        // another file's rows are not this one's past
    platform::RememberRoad(QFile::decodeName(m_strFilePath.c_str()));
    LoadHeightsBeside();
    UpdateData(false);
}

void CAlignmentDlg::OnSaveControl() {
    const Busy busy(m_bBusy);
    if (busy) SaveControl();
}

// "另存为": the alignment file under another name (which becomes the open
// file), or the rows as LandXML (the open file stays as it was).
void CAlignmentDlg::OnSaveControlAs() {
    const Busy busy(m_bBusy);
    if (!busy || !UpdateData(true)) return;
    platform::FileChoice choice =
        platform::PickFileToSave(this, text::kAlignmentFilesFilter, platform::PathForDisplay(m_strFilePath), "vxa");
    if (choice.strPath.empty()) return;
    const int type = platform::ChosenType(this, choice, text::kAlignmentFilesFilter, {"vxa", "xml"}, "");
    if (type == 0) return;
    if (type == 2) {
        ExportLandXmlFile(choice);
        return;
    }
    const std::string oldPath = m_strFilePath, oldName = m_strFileName;
    m_strFilePath = choice.strPath;
    m_strFileName = platform::NameForDisplay(choice.strName);
    if (!SaveControl()) {
        m_strFilePath = oldPath, m_strFileName = oldName;
    } else {
        // The rows now belong to the new file: undone, they are saved there,
        // never over the file the user chose to keep.
        m_history.ForEach([&](ControlState& s) {
            if (s.strFilePath == oldPath) s.strFilePath = m_strFilePath, s.strFileName = m_strFileName;
        });
    }
    UpdateData(false);
}

void CAlignmentDlg::PutNewRoad(const std::string& path, const std::string& name, const std::vector<ControlRow>& rows,
                               const std::vector<EquationRow>& equations) {
    RememberControl();
    m_strFilePath = path;
    m_strFileName = platform::NameForDisplay(name);
    platform::GbkLineModel* model = m_listControl->LineModel();
    model->Truncate(1);
    model->AppendAll(ControlLines(rows));
    m_nSegmentCount = model->Count() - 1;
    EnableSave();
    m_bControlSaved = false;  // nothing written yet: closing asks
    // Another road's heights do not belong to this one. Its equations do:
    // without them the rows' 桩号 would be read as distances. 保存 writes the
    // new road's tables beside its file, and removes any other table there.
    m_gradeRows.clear();
    m_slopeRows.clear();
    m_equationRows = equations;
    m_strHeightsPath.clear();
    ShowHeightsLine();
    UpdateData(false);
}

void CAlignmentDlg::EnableSave() {
    m_btnSaveControl->setEnabled(true);
    m_btnSaveControlAs->setEnabled(true);
}

bool CAlignmentDlg::SaveControl() {
    UpdateData(true);
    // The road and the height tables taken in since: all written or none.
    std::vector<FileBytes> files{{m_strFilePath, SavedAlignmentFile(m_listControl->LineModel()->Lines(), TimeStampNow())}};
    for (FileBytes& table : HeightFiles()) files.push_back(std::move(table));
    // Tables beside a name that holds no road yet are the user's, made for it.
    const std::vector<std::string> stale =
        QFileInfo::exists(QFile::decodeName(m_strFilePath.c_str())) ? StaleTables() : std::vector<std::string>();
    if (const std::optional<std::size_t> failed = WriteFilesAtomically(files)) {
        platform::Warn(this, Format(text::kCannotWrite, platform::PathForDisplay(files[*failed].path).c_str()).c_str());
        return false;
    }
    // The road is written: a table left beside it is told, not undone.
    for (const std::string& table : stale)
        if (!RemoveFile(table))
            platform::Warn(this, Format(text::kCannotRemoveTable, platform::PathForDisplay(table).c_str()).c_str());
    m_bControlSaved = true;
    platform::RememberRoad(QFile::decodeName(m_strFilePath.c_str()));
    m_strHeightsPath = m_strFilePath;
    // No earlier state is what the files hold now: undone to, it is unsaved
    // and its height tables are written with it.
    m_history.ForEach([](ControlState& s) { s.saved = false, s.strHeightsPath.clear(); });
    ShowHeightsLine();
    return true;
}

void CAlignmentDlg::OnAddModify() {
    const Busy busy(m_bBusy);
    if (!busy || !UpdateData(true)) return;
    ControlRow row;
    row.strField[kFieldStation] = m_strStation;
    row.strField[kFieldLineType] = m_strLineType;
    row.strField[kFieldRadius] = m_strRadius;
    row.strField[kFieldX] = m_strX;
    row.strField[kFieldY] = m_strY;
    const RowCheck check = CheckRow(row);
    if (check.kind == RowCheck::Empty) {
        platform::Warn(this, text::kFillAll);
        return;
    }
    platform::GbkLineModel* model = m_listControl->LineModel();
    if (m_strFileName.empty()) {
        platform::Warn(this, text::kNoFile);
    } else {
        if (check.kind == RowCheck::TooWide) {
            const int wide = check.nField;
            platform::Warn(this, Format(text::kFieldTooLong, text::kFieldNames[wide], kControlLayout[wide].nWidth).c_str());
            QWidget* inputs[kControlFieldCount] = {m_editStation, m_comboLineType, m_comboRadius, m_editX, m_editY};
            inputs[wide]->setFocus();
            return;
        }
        RowPlace place = PlaceRow(model->Lines(), row);
        if (place.nReplace >= 1) {
            if (!platform::AskYesNo(this, text::kAskOverwriteStation)) return;
            RememberControl();
            model->Remove(place.nReplace);
            model->Insert(place.nReplace, std::move(place.line));
        } else {
            RememberControl();
            model->Append(std::move(place.line));
        }
        m_bControlSaved = false;
    }
    // Ready for the next row: 线型 keeps its type, the focus goes back to 里程.
    m_strStation.clear();
    m_strRadius.clear();
    m_strX.clear();
    m_strY.clear();
    m_nSegmentCount = model->Count() - 1;
    if (m_nSegmentCount > 0) EnableSave();
    UpdateData(false);
    m_editStation->setFocus();
}

void CAlignmentDlg::OnSelchangeControlList() {
    const Busy busy(m_bBusy);
    if (!busy) return;
    UpdateData(true);
    const int s = m_listControl->Selection();
    const ControlRow row = s >= 1 ? SplitControlLine(m_listControl->LineModel()->Line(s)) : ControlRow();
    m_strStation = row.strField[kFieldStation];
    m_strLineType = row.strField[kFieldLineType];
    m_strRadius = row.strField[kFieldRadius];
    m_strX = row.strField[kFieldX];
    m_strY = row.strField[kFieldY];
    m_btnDelete->setEnabled(s >= 1);
    UpdateData(false);
}

void CAlignmentDlg::OnDeleteControl() {
    const Busy busy(m_bBusy);
    if (!busy) return;
    const int s = m_listControl->Selection();
    if (s < 1 || !platform::AskYesNo(this, text::kAskDeleteRecord)) return;
    RememberControl();
    m_bControlSaved = false;
    m_listControl->LineModel()->Remove(s);
    // The count follows at once; the other fields keep what they show.
    m_nSegmentCount = m_listControl->LineModel()->Count() - 1;
    platform::FieldExchange(this, false).Integer(m_editSegmentCount, m_nSegmentCount);
}

