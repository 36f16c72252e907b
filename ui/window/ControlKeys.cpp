#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

#include "core/files/PastedRows.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "ui/document/RoadDocument.h"
#include "ui/toolkit/FieldExchange.h"
#include "ui/toolkit/GbkList.h"
#include "ui/toolkit/KeyHook.h"
#include "ui/toolkit/MessageBox.h"
#include "ui/window/ControlPanel.h"

// The keyboard and the clipboard on the control data, and its undo and redo.

using namespace vexaline;

namespace {

bool IsRedo(const QKeyEvent* e) {
    return e->matches(QKeySequence::Redo) || (e->key() == Qt::Key_Y && e->modifiers() == Qt::ControlModifier);
}

}  // namespace

void ControlPanel::WireKeys() {
    panel::OnEnter({m_editStation, m_comboLineType, m_comboRadius, m_comboRadius->lineEdit(), m_editX, m_editY},
            [this] { OnAddModify(); });
    // Once a field of the control data has nothing of its own to undo (as
    // after 添加, which leaves the focus on 里程), Ctrl+Z and Ctrl+Y undo the rows.
    for (QLineEdit* edit : {m_editStation, m_comboRadius->lineEdit(), m_editX, m_editY})
        new platform::KeyHook(edit, [edit](QKeyEvent* e) {
            if (e->type() != QEvent::ShortcutOverride) return false;
            return (e->matches(QKeySequence::Undo) && !edit->isUndoAvailable()) || (IsRedo(e) && !edit->isRedoAvailable());
        });
    auto shortcut = [this](const QKeySequence& keys, void (ControlPanel::*command)()) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, command);
    };
    shortcut(QKeySequence::Undo, &ControlPanel::OnUndoControl);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Y), &ControlPanel::OnRedoControl);
    shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &ControlPanel::OnRedoControl);
    new platform::KeyHook(m_listControl, [this](QKeyEvent* e) {
        if (e->type() != QEvent::KeyPress) return false;
        if (e->matches(QKeySequence::Paste)) return OnPasteControl(), true;
        if (e->matches(QKeySequence::Copy)) return OnCopyControl(), true;
        if (e->matches(QKeySequence::Delete)) return OnDeleteControl(), true;
        return false;
    });
}

// Rows from a spreadsheet join the list as typed rows do: each checked, one
// question for the stations already there; a bad row names its line and
// nothing is pasted.
void ControlPanel::OnPasteControl() {
    const Busy busy(m_shared.busy);
    if (!busy) return;
    if (m_doc.Name().empty()) {
        platform::Warn(Owner(), text::kNoFile);
        return;
    }
    const PastedControlRows pasted = ParsePastedControlRows(QGuiApplication::clipboard()->text().toStdString());
    if (!pasted.Ok()) {
        platform::Warn(Owner(), pasted.strMessage.c_str());
        return;
    }
    RowsPlaced placed = PlaceRows(m_doc.Lines(), pasted.rows);
    if (placed.nReplaced > 0 && !platform::AskYesNo(Owner(), Format(text::kAskPasteOverwrite, placed.nReplaced).c_str()))
        return;
    m_doc.SetLines(std::move(placed.lines));
}

// The selected row; with none (or the header) selected, every row.
void ControlPanel::OnCopyControl() {
    const std::vector<std::string>& lines = m_doc.Lines();
    const int s = m_listControl->Selection();
    const std::vector<std::string> rows =
        s >= 1 ? std::vector<std::string>{lines[static_cast<std::size_t>(s)]}
               : std::vector<std::string>(lines.begin() + 1, lines.end());
    if (!rows.empty()) QGuiApplication::clipboard()->setText(QString::fromStdString(CopiedControlRows(rows)));
}

void ControlPanel::OnUndoControl() {
    const Busy busy(m_shared.busy);
    if (busy && m_doc.Undo()) ShowFileName();
}

void ControlPanel::OnRedoControl() {
    const Busy busy(m_shared.busy);
    if (busy && m_doc.Redo()) ShowFileName();
}

void ControlPanel::ShowFileName() {
    std::string name = m_doc.Name();
    platform::FieldExchange(Owner(), false).Text(m_editFileName, name);
    if (m_doc.Path().empty()) m_btnSaveControl->setEnabled(false), m_btnSaveControlAs->setEnabled(false);
}

