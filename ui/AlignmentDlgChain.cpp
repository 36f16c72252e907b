#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "core/files/ProfileCsv.h"
#include "core/files/ResultsExport.h"
#include "core/road/CrossSlope.h"
#include "core/road/Profile.h"
#include "core/text/Gbk.h"
#include "core/text/ResultText.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "ui/AlignmentDlg.h"
#include "ui/ChainDlg.h"
#include "ui/toolkit/GbkList.h"
#include "ui/toolkit/MessageBox.h"

// Station equations (断链) in the window: the table beside the alignment
// file (ROAD.vxd, read with the heights' tables) makes the control rows'
// stations, the station fields and the stakes' names 桩号; the road is
// computed on continuous distance as without.

using namespace vexaline;

namespace {

// The equations of a table's text (EquationsText); none when it holds none.
// The rows were checked when they were taken in.
Chainage ChainOfText(const std::string& text) {
    if (text.empty()) return Chainage();
    const EquationCsvRead read = ReadEquationCsv(text);
    return read.Ok() ? BuildChainage(read.rows).chain : Chainage();
}

// A station field's 桩号 as the lists write it, with its occurrence where it
// names more than one place; one that maps to no place as typed, one that
// is no 桩号 as typed without what would make it a folder.
std::string FieldStation(const std::string& gbk, const Chainage& chain) {
    std::string typed = GbkToUtf8(gbk);
    if (const std::optional<ChainStation> station = ParseChainStation(typed)) {
        const ChainDistance d = chain.Distance(*station);
        return ChainStationText(d.fault == ChainFault::None ? chain.StationAt(d.dDistance) : *station);
    }
    typed.erase(std::remove_if(typed.begin(), typed.end(), [](char c) { return c == '/' || c == '\\'; }), typed.end());
    return typed;
}

}  // namespace

Chainage CAlignmentDlg::RoadChain() const {
    return m_equationRows.empty() ? Chainage() : BuildChainage(m_equationRows).chain;
}

Alignment CAlignmentDlg::Road() const { return Alignment::Parse(m_listControl->LineModel()->Lines(), RoadChain()); }

Alignment CAlignmentDlg::ResultsRoad() const {
    const std::optional<ResultSource>& source = Results().source;
    return source ? Alignment::Parse(source->controlList, ChainOfText(source->strEquations)) : Road();
}

std::string CAlignmentDlg::EquationsText() const {
    return m_equationRows.empty() ? std::string() : EquationCsvText(m_equationRows);
}

bool CAlignmentDlg::ChainFits(const Alignment& road) {
    if (road.ChainMessage().empty()) return true;
    platform::Warn(this, road.ChainMessage().c_str());
    return false;
}

// Without equations the field was read as a number already.
bool CAlignmentDlg::TypedDistance(QLineEdit* field, const std::string& typed, const Chainage& chain,
                                  double& distance) {
    if (chain.Empty()) return true;
    const TypedStation typedStation = DistanceOfTyped(chain, GbkToUtf8(typed));
    if (typedStation.Ok()) return distance = typedStation.dDistance, true;
    platform::Warn(this, typedStation.strMessage.c_str());
    field->setFocus();
    return false;
}

std::string CAlignmentDlg::ResultsName() const {
    const Chainage chain = RoadChain();
    if (chain.Empty()) return ResultsFileName(m_dStartStation, m_dEndStation, m_dInterval, m_dOffset);
    return ResultsFileName(FieldStation(m_strStartStation, chain), FieldStation(m_strEndStation, chain), m_dInterval,
                           m_dOffset);
}

std::string CAlignmentDlg::LookupStation(const Alignment& road, double distance) const {
    return road.Chain().Empty() ? LookupStationText(distance) : ChainStationText(road.Chain().StationAt(distance));
}

QPushButton* CAlignmentDlg::ChainButton() {
    auto* button = new QPushButton(QString::fromUtf8(text::kChainButton));
    button->setObjectName("2008");
    // As wide as its two characters need, not the style's least button
    // width: the row it joins must still fit a small screen.
    button->setMaximumWidth(button->fontMetrics().horizontalAdvance(button->text()) + 16);
    connect(button, &QPushButton::clicked, this, &CAlignmentDlg::OnChain);
    return button;
}

// "断链": the table edited; 确定 takes it into the window as unsaved control
// data, as 纵断面 does (保存 writes it beside the alignment file).
void CAlignmentDlg::OnChain() {
    const Busy busy(m_bBusy);
    if (!busy || !UpdateData(true)) return;
    if (m_strFilePath.empty()) {
        platform::Warn(this, text::kNoFile);
        return;
    }
    // A table the rows or the height tables do not fit is refused, naming
    // the row: taken, the road would lose its heights without a word.
    CChainDlg dlg(m_equationRows, [this](const Chainage& chain) {
        std::string refusal = Alignment::Parse(m_listControl->LineModel()->Lines(), chain).ChainMessage();
        if (refusal.empty() && !m_gradeRows.empty()) refusal = BuildProfileOn(m_gradeRows, chain).strMessage;
        if (refusal.empty()) refusal = BuildSlopesOn(m_slopeRows, chain).strMessage;
        return refusal;
    }, this);
    if (dlg.exec() != QDialog::Accepted) return;
    const std::vector<EquationRow> rows = dlg.Rows();
    if (EquationCsvText(rows) == EquationCsvText(m_equationRows)) return;
    RememberControl();  // undone on its own, not with the row edit before it
    m_equationRows = rows;
    m_strHeightsPath.clear();
    m_bControlSaved = false;
    EnableSave();
    ShowHeightsLine();
    ShowStale();
    emit ControlChanged();  // the rows' stations are read anew
}
