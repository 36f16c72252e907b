#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>

#include "core/files/PastedRows.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "ui/AlignmentDlg.h"
#include "ui/toolkit/FieldExchange.h"
#include "ui/toolkit/GbkList.h"
#include "ui/toolkit/KeyHook.h"
#include "ui/toolkit/MessageBox.h"

// The keyboard and the clipboard on the control data, and its undo and redo.

using namespace vexaline;

namespace {

bool IsRedo(const QKeyEvent* e) {
    return e->matches(QKeySequence::Redo) || (e->key() == Qt::Key_Y && e->modifiers() == Qt::ControlModifier);
}

}  // namespace

void CAlignmentDlg::WireKeys() {
    auto button = [this](int id) { return findChild<QPushButton*>(QString::number(id)); };
    // Enter runs its group's command; no button takes it from the fields.
    auto enter = [this](std::initializer_list<QWidget*> fields, void (CAlignmentDlg::*command)()) {
        for (QWidget* field : fields)
            new platform::KeyHook(field, [this, command](QKeyEvent* e) {
                return platform::IsEnter(e) && ((this->*command)(), true);
            });
    };
    enter({m_editStation, m_comboLineType, m_comboRadius, m_comboRadius->lineEdit(), m_editX, m_editY},
          &CAlignmentDlg::OnAddModify);
    enter({m_editStartStation, m_editEndStation, m_editInterval, m_editOffset, m_editDeflection},
          &CAlignmentDlg::OnCompute);
    enter({m_editStakeStation}, &CAlignmentDlg::OnAddStake);
    enter({m_editLookupX, m_editLookupY}, &CAlignmentDlg::OnReverseLookup);

    // Once a field of the control data has nothing of its own to undo (as
    // after 添加, which leaves the focus on 里程), Ctrl+Z and Ctrl+Y undo the rows.
    for (QLineEdit* edit : {m_editStation, m_comboRadius->lineEdit(), m_editX, m_editY})
        new platform::KeyHook(edit, [edit](QKeyEvent* e) {
            if (e->type() != QEvent::ShortcutOverride) return false;
            return (e->matches(QKeySequence::Undo) && !edit->isUndoAvailable()) || (IsRedo(e) && !edit->isRedoAvailable());
        });
    auto shortcut = [this](const QKeySequence& keys, void (CAlignmentDlg::*command)()) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, command);
    };
    shortcut(QKeySequence::Undo, &CAlignmentDlg::OnUndoControl);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Y), &CAlignmentDlg::OnRedoControl);
    shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &CAlignmentDlg::OnRedoControl);

    new platform::KeyHook(m_listControl, [this](QKeyEvent* e) {
        if (e->type() != QEvent::KeyPress) return false;
        if (e->matches(QKeySequence::Paste)) return OnPasteControl(), true;
        if (e->matches(QKeySequence::Copy)) return OnCopyControl(), true;
        if (e->matches(QKeySequence::Delete)) return OnDeleteControl(), true;
        return false;
    });

    // The tab order follows the window as it reads: each group row by row.
    QWidget* const order[] = {
        m_editStation, m_comboLineType, m_comboRadius, m_editX, m_editY, m_editFileName, m_btnOpen, button(2004),
        button(2006), button(1008), m_btnDelete, m_btnSaveControl, m_btnSaveControlAs, button(2001), m_listControl,
        m_editStartStation, m_editEndStation, button(1018), m_editInterval, m_editOffset, button(1019),
        m_editStakeStation, m_editDeflection, button(1021), m_radioMode[0], m_radioMode[1], button(2002),
        button(2003), m_listResults, m_editLookupX, m_editLookupY, button(1051), m_editLookupStation,
        m_editLookupOffset, m_editLookupElevation, button(16)};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

// Rows from a spreadsheet join the list as typed rows do: each checked, one
// question for the stations already there; a bad row names its line and
// nothing is pasted.
void CAlignmentDlg::OnPasteControl() {
    const Busy busy(m_bBusy);
    if (!busy) return;
    if (m_strFileName.empty()) {
        platform::Warn(this, text::kNoFile);
        return;
    }
    const PastedControlRows pasted = ParsePastedControlRows(QGuiApplication::clipboard()->text().toStdString());
    if (!pasted.Ok()) {
        platform::Warn(this, pasted.strMessage.c_str());
        return;
    }
    RowsPlaced placed = PlaceRows(m_listControl->LineModel()->Lines(), pasted.rows);
    if (placed.nReplaced > 0 && !platform::AskYesNo(this, Format(text::kAskPasteOverwrite, placed.nReplaced).c_str()))
        return;
    RememberControl();
    m_bControlSaved = false;
    ShowControlLines(std::move(placed.lines));
}

// The selected row; with none (or the header) selected, every row.
void CAlignmentDlg::OnCopyControl() {
    const std::vector<std::string>& lines = m_listControl->LineModel()->Lines();
    const int s = m_listControl->Selection();
    const std::vector<std::string> rows =
        s >= 1 ? std::vector<std::string>{lines[static_cast<std::size_t>(s)]}
               : std::vector<std::string>(lines.begin() + 1, lines.end());
    if (!rows.empty()) QGuiApplication::clipboard()->setText(QString::fromStdString(CopiedControlRows(rows)));
}

void CAlignmentDlg::OnUndoControl() {
    const Busy busy(m_bBusy);
    if (!busy) return;
    if (std::optional<ControlState> before = m_history.Undo(CurrentControl())) RestoreControl(std::move(*before));
}

void CAlignmentDlg::OnRedoControl() {
    const Busy busy(m_bBusy);
    if (!busy) return;
    if (std::optional<ControlState> after = m_history.Redo(CurrentControl())) RestoreControl(std::move(*after));
}

CAlignmentDlg::ControlState CAlignmentDlg::CurrentControl() const {
    return ControlState{m_listControl->LineModel()->Lines(), m_strFilePath, m_strFileName, m_strHeightsPath,
                        m_gradeRows, m_slopeRows, m_equationRows, m_bControlSaved};
}

void CAlignmentDlg::RememberControl() { m_history.Push(CurrentControl()); }

void CAlignmentDlg::RestoreControl(ControlState state) {
    m_strFilePath = std::move(state.strFilePath);
    m_strFileName = std::move(state.strFileName);
    m_strHeightsPath = std::move(state.strHeightsPath);
    m_gradeRows = std::move(state.gradeRows);
    m_slopeRows = std::move(state.slopeRows);
    m_equationRows = std::move(state.equationRows);
    m_bControlSaved = state.saved;
    platform::FieldExchange(this, false).Text(m_editFileName, m_strFileName);
    ShowControlLines(std::move(state.lines));
    if (m_strFilePath.empty()) m_btnSaveControl->setEnabled(false), m_btnSaveControlAs->setEnabled(false);
    ShowHeightsLine();
    ShowStale();  // the heights may have changed alone
}

void CAlignmentDlg::ShowControlLines(std::vector<std::string> lines) {
    platform::GbkLineModel* model = m_listControl->LineModel();
    model->Truncate(1);
    model->AppendAll(std::vector<std::string>(std::make_move_iterator(lines.begin() + 1),
                                              std::make_move_iterator(lines.end())));
    m_nSegmentCount = model->Count() - 1;
    platform::FieldExchange(this, false).Integer(m_editSegmentCount, m_nSegmentCount);
    m_btnDelete->setEnabled(m_listControl->Selection() >= 1);
    if (m_nSegmentCount > 0) EnableSave();
}
