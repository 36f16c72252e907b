#include "ui/window/ControlPanel.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstring>

#include "core/files/FileType.h"
#include "core/files/MapExport.h"
#include "core/files/OpenOrCreate.h"
#include "core/text/ControlLine.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "ui/document/RoadDocument.h"
#include "ui/toolkit/FieldExchange.h"
#include "ui/toolkit/FileDialog.h"
#include "ui/toolkit/GbkList.h"
#include "ui/toolkit/MessageBox.h"
#include "ui/toolkit/Settings.h"

// The control data: open or create, save, add or replace, select, delete.
// The keyboard, the clipboard and undo are in ControlKeys.cpp, the tools on
// the rows and tables in ControlTools.cpp.

using namespace vexaline;
using namespace panel;

namespace {

// The two combo boxes keep their entries in GBK byte order.
void AddSorted(QComboBox* combo, const char* utf8) {
    const std::string gbk = Gbk(utf8);
    int at = 0;
    while (at < combo->count() && Gbk(combo->itemText(at).toUtf8().constData()) < gbk) ++at;
    combo->insertItem(at, U(utf8));
}

}  // namespace

ControlPanel::ControlPanel(PanelShared shared, QWidget* parent)
    : QGroupBox(U("控制数据"), parent), m_shared(std::move(shared)), m_doc(m_shared.document) {
    CreateControls();
    WireKeys();
    m_btnDelete->setEnabled(false);
    m_btnSaveControl->setEnabled(false);
    m_btnSaveControlAs->setEnabled(false);
    for (const char* type : {text::kEndPoint, text::kStraight, text::kCircular, text::kTransition})
        AddSorted(m_comboLineType, type);
    m_comboLineType->setCurrentIndex(0);
    AddSorted(m_comboRadius, text::kInfinity);
    m_listControl->LineModel()->AppendAll(std::vector<std::string>(m_doc.Lines()));
    connect(&m_doc, &RoadDocument::RowsChanged, this, &ControlPanel::ShowRows);
    connect(&m_doc, &RoadDocument::TablesChanged, this, &ControlPanel::ShowHeightsLine);
    ShowCheckLine();
    ShowHeightsLine();
}

void ControlPanel::CreateControls() {
    // Created in tab order: "打开/创建" first, so it has the focus at start.
    QPushButton* btnOpen = Button("打开/创建", 1);
    m_btnRecent = Button(text::kRecentButton, 2013);
    m_btnRecent->setToolTip(U(text::kRecentTip));
    m_btnRecent->setMenu(new QMenu(m_btnRecent));
    QPushButton* btnPi = Button("交点法", 2004);
    QPushButton* btnProfile = Button(text::kProfileButton, 2006);
    m_editStation = Holding(Edit(1001), kStationSample);
    m_comboLineType = Named(new QComboBox, 1002);
    m_comboRadius = Named(new QComboBox, 1013);
    m_comboRadius->setEditable(true);
    m_comboRadius->setInsertPolicy(QComboBox::NoInsert);
    m_comboRadius->setCompleter(nullptr);
    m_comboRadius->setMinimumContentsLength(static_cast<int>(std::strlen(kStationSample)) + 1);
    m_editX = Holding(Edit(1004), kCoordinateSample);
    m_editY = Holding(Edit(1005), kCoordinateSample);
    m_editFileName = Edit(1007, true);
    QPushButton* btnAdd = Button("添加/修改", 1008);
    m_btnDelete = Button("删除", 1009);
    m_btnSaveControl = Button("保存", 1011);
    m_btnSaveControlAs = Button("另存为", 2005);
    QPushButton* btnCheck = Button("检查", 2001);
    m_editSegmentCount = CountField(1010);
    m_listControl = Named(new platform::GbkListView, 1006);
    m_listControl->setMinimumWidth(m_listControl->sizeHint().width());
    QPushButton* btnChain = Button(text::kChainButton, 2008);
    // As wide as its two characters need, not the style's least button
    // width: the row it joins must still fit a small screen.
    btnChain->setMaximumWidth(btnChain->fontMetrics().horizontalAdvance(btnChain->text()) + 16);

    auto* inputs = new QGridLayout;
    inputs->addWidget(new QLabel(U("里程")), 0, 0);
    inputs->addWidget(m_editStation, 0, 1);
    inputs->addWidget(new QLabel(U("线型")), 0, 2);
    inputs->addWidget(m_comboLineType, 0, 3);
    inputs->addWidget(new QLabel(U("半径")), 0, 4);
    inputs->addWidget(m_comboRadius, 0, 5);
    inputs->addWidget(new QLabel(U("X")), 1, 0);
    inputs->addWidget(m_editX, 1, 1);
    inputs->addWidget(new QLabel(U("Y")), 1, 2);
    inputs->addWidget(m_editY, 1, 3);
    inputs->addWidget(new QLabel(U("文件")), 2, 0);
    inputs->addWidget(m_editFileName, 2, 1, 1, 5);
    for (int column : {1, 3, 5}) inputs->setColumnStretch(column, 1);
    // Two rows of buttons: the file, then the rows; one row would not fit a small screen.
    auto* fileButtons = new QHBoxLayout;
    for (QPushButton* b : {btnOpen, m_btnRecent, m_btnSaveControl, m_btnSaveControlAs}) fileButtons->addWidget(b);
    fileButtons->addStretch();
    fileButtons->addWidget(new QLabel(U("线段总个数：")));
    fileButtons->addWidget(m_editSegmentCount);
    auto* rowButtons = new QHBoxLayout;
    for (QPushButton* b : {btnAdd, m_btnDelete, btnCheck, btnPi, btnProfile, btnChain}) rowButtons->addWidget(b);
    rowButtons->addStretch();
    auto* controlLayout = new QVBoxLayout(this);
    controlLayout->addLayout(inputs);
    controlLayout->addLayout(fileButtons);
    controlLayout->addLayout(rowButtons);
    controlLayout->addWidget(m_listControl, 1);
    m_labelCheck = Named(new QLabel, 2010);
    m_labelCheck->setWordWrap(true);
    controlLayout->addWidget(m_labelCheck);
    m_labelHeights = Named(new QLabel, 2012);
    m_labelHeights->setWordWrap(true);
    controlLayout->addWidget(m_labelHeights);

    connect(btnOpen, &QPushButton::clicked, this, &ControlPanel::OnOK);
    connect(btnAdd, &QPushButton::clicked, this, &ControlPanel::OnAddModify);
    connect(m_btnSaveControl, &QPushButton::clicked, this, &ControlPanel::OnSaveControl);
    connect(m_btnSaveControlAs, &QPushButton::clicked, this, &ControlPanel::OnSaveControlAs);
    connect(m_btnDelete, &QPushButton::clicked, this, &ControlPanel::OnDeleteControl);
    connect(m_listControl, &platform::GbkListView::SelectionChanged, this, &ControlPanel::OnSelchangeControlList);
    connect(btnCheck, &QPushButton::clicked, this, &ControlPanel::OnCheckControl);
    connect(btnPi, &QPushButton::clicked, this, &ControlPanel::OnPiEntry);
    connect(btnProfile, &QPushButton::clicked, this, &ControlPanel::OnProfile);
    connect(btnChain, &QPushButton::clicked, this, &ControlPanel::OnChain);
    connect(m_btnRecent->menu(), &QMenu::aboutToShow, this, &ControlPanel::FillRecentMenu);
}

void ControlPanel::Exchange(platform::FieldExchange& dx, bool read) {
    dx.Combo(m_comboLineType, m_strLineType);
    // Shown, never typed: read back, it would undo a name just chosen (另存为).
    if (!read) {
        std::string name = m_doc.Name();
        dx.Text(m_editFileName, name);
    }
    dx.ListSelection(m_listControl, m_strControlSel);
    dx.Integer(m_editSegmentCount, m_nSegmentCount);
    dx.Text(m_editStation, m_strStation);
    dx.Text(m_editX, m_strX);
    dx.Text(m_editY, m_strY);
    dx.Combo(m_comboRadius, m_strRadius);
}

void ControlPanel::OnOK() {
    OpenRoad([this] { return platform::PickFileToOpen(Owner(), text::kAlignmentFilesFilter); });
}

void ControlPanel::OnOpenRecent(const QString& path) {
    OpenRoad([&path] { return platform::ChoiceOf(path); });
}

void ControlPanel::FillRecentMenu() {
    QMenu* menu = m_btnRecent->menu();
    menu->clear();
    const QStringList roads = platform::RecentRoads();
    for (int i = 0; i < roads.size(); ++i) {
        QString shown = QDir::toNativeSeparators(roads[i]);
        QAction* action = menu->addAction(QStringLiteral("&%1  %2").arg(i + 1).arg(shown.replace('&', "&&")));
        action->setEnabled(QFileInfo(roads[i]).isFile());  // moved or deleted since
        connect(action, &QAction::triggered, this, [this, road = roads[i]] { OnOpenRecent(road); });
    }
    if (roads.isEmpty()) menu->addAction(U(text::kRecentNone))->setEnabled(false);
}

void ControlPanel::OpenRoad(const std::function<platform::FileChoice()>& choose) {
    const Busy busy(m_shared.busy);
    if (!busy || !m_shared.updateData(true, nullptr)) return;
    // Unsaved rows are not dropped without a word.
    if (!m_doc.Saved() && platform::AskYesNo(Owner(), text::kAskSaveControl) && !SaveControl()) return;

    const platform::FileChoice choice = choose();
    if (choice.strPath.empty()) {
        m_shared.updateData(false, nullptr);
        return;
    }
    // A file to open is read as its name says, whatever type was left selected.
    if (TypeOfName(choice.strName, choice.nType, {"vxa", "xml"}).nType == 2) {
        ImportLandXmlFile(choice);
        return;
    }
    const OpenedFile file =
        OpenOrCreate(FileKind::Alignment, choice.strPath, choice.strName, [this](Question q, const std::string& name) {
            return q == Question::Create ? platform::AskOkCancel(Owner(), text::kAskCreate)
                                         : platform::AskYesNo(Owner(), Format(text::kAskReplaceFile, name.c_str()).c_str());
        });
    if (!platform::OpenedOrTold(Owner(), file.outcome, platform::PathForDisplay(file.strPath))) return;

    // Only now that the new file is open do the old rows go; a table beside
    // it that cannot be taken is told, and the road opens all the same.
    for (const std::string& refusal : m_doc.Open(file.strPath, file.strName, file.bytes))
        platform::Warn(Owner(), refusal.c_str());
    platform::RememberRoad(QFile::decodeName(m_doc.Path().c_str()));
    m_shared.updateData(false, nullptr);
}

void ControlPanel::OnSaveControl() {
    const Busy busy(m_shared.busy);
    if (busy) SaveControl();
}

// "另存为": the alignment file under another name (which becomes the open
// file), or the road exported as LandXML or a map (the open file stays as it was).
void ControlPanel::OnSaveControlAs() {
    const Busy busy(m_shared.busy);
    if (!busy || !m_shared.updateData(true, nullptr)) return;
    platform::FileChoice choice =
        platform::PickFileToSave(Owner(), text::kAlignmentSaveAsFilter, platform::PathForDisplay(m_doc.Path()), "vxa");
    if (choice.strPath.empty()) return;
    // The types in the filter's order.
    switch (platform::ChosenType(Owner(), choice, text::kAlignmentSaveAsFilter, {"vxa", "xml", "kml", "geojson", "ifc"}, "")) {
    case 1: break;  // the road itself, below
    case 2: ExportLandXmlFile(choice); return;
    case 3: ExportMapFile(choice, MapFormat::Kml); return;
    case 4: ExportMapFile(choice, MapFormat::GeoJson); return;
    case 5: ExportIfcFile(choice); return;
    default: return;  // not to be written
    }
    const RoadDocument::SaveOutcome saved = m_doc.SaveAs(choice.strPath, choice.strName);
    for (const std::string& table : saved.notRemoved)
        platform::Warn(Owner(), Format(text::kCannotRemoveTable, platform::PathForDisplay(table).c_str()).c_str());
    if (!saved.Ok())
        platform::Warn(Owner(), Format(text::kCannotWrite, platform::PathForDisplay(saved.failedPath).c_str()).c_str());
    else
        platform::RememberRoad(QFile::decodeName(m_doc.Path().c_str()));
    m_shared.updateData(false, nullptr);
}

bool ControlPanel::SaveControl() {
    m_shared.updateData(true, nullptr);
    const RoadDocument::SaveOutcome saved = m_doc.Save();
    if (!saved.Ok()) {
        platform::Warn(Owner(), Format(text::kCannotWrite, platform::PathForDisplay(saved.failedPath).c_str()).c_str());
        return false;
    }
    for (const std::string& table : saved.notRemoved)
        platform::Warn(Owner(), Format(text::kCannotRemoveTable, platform::PathForDisplay(table).c_str()).c_str());
    platform::RememberRoad(QFile::decodeName(m_doc.Path().c_str()));
    return true;
}

void ControlPanel::EnableSave() {
    m_btnSaveControl->setEnabled(true);
    m_btnSaveControlAs->setEnabled(true);
}

void ControlPanel::OnAddModify() {
    const Busy busy(m_shared.busy);
    if (!busy || !m_shared.updateData(true, nullptr)) return;
    ControlRow row;
    row.strField[kFieldStation] = m_strStation;
    row.strField[kFieldLineType] = m_strLineType;
    row.strField[kFieldRadius] = m_strRadius;
    row.strField[kFieldX] = m_strX;
    row.strField[kFieldY] = m_strY;
    const RowCheck check = CheckRow(row);
    if (check.kind == RowCheck::Empty) {
        platform::Warn(Owner(), text::kFillAll);
        return;
    }
    if (m_doc.Name().empty()) {
        platform::Warn(Owner(), text::kNoFile);
    } else {
        if (check.kind == RowCheck::TooWide) {
            const int wide = check.nField;
            platform::Warn(Owner(), Format(text::kFieldTooLong, text::kFieldNames[wide], kControlLayout[wide].nWidth).c_str());
            QWidget* inputs[kControlFieldCount] = {m_editStation, m_comboLineType, m_comboRadius, m_editX, m_editY};
            inputs[wide]->setFocus();
            return;
        }
        RowPlace place = PlaceRow(m_doc.Lines(), row);
        if (place.nReplace >= 1) {
            if (!platform::AskYesNo(Owner(), text::kAskOverwriteStation)) return;
            m_doc.ReplaceRow(place.nReplace, std::move(place.line));
        } else {
            m_doc.AppendRow(std::move(place.line));
        }
    }
    // Ready for the next row: 线型 keeps its type, the focus goes back to 里程.
    m_strStation.clear();
    m_strRadius.clear();
    m_strX.clear();
    m_strY.clear();
    m_shared.updateData(false, nullptr);
    m_editStation->setFocus();
}

void ControlPanel::OnSelchangeControlList() {
    const Busy busy(m_shared.busy);
    if (!busy) return;
    m_shared.updateData(true, nullptr);
    const int s = m_listControl->Selection();
    const ControlRow row = s >= 1 ? SplitControlLine(m_doc.Lines()[static_cast<std::size_t>(s)]) : ControlRow();
    m_strStation = row.strField[kFieldStation];
    m_strLineType = row.strField[kFieldLineType];
    m_strRadius = row.strField[kFieldRadius];
    m_strX = row.strField[kFieldX];
    m_strY = row.strField[kFieldY];
    m_btnDelete->setEnabled(s >= 1);
    m_shared.updateData(false, nullptr);
}

// The count follows at once; the other fields keep what they show.
void ControlPanel::OnDeleteControl() {
    const Busy busy(m_shared.busy);
    if (!busy) return;
    const int s = m_listControl->Selection();
    if (s < 1 || !platform::AskYesNo(Owner(), text::kAskDeleteRecord)) return;
    m_doc.RemoveRow(s);
}

// The list mirrors the document's rows step by step, so its selection and
// marks go as a list's do when lines are added or removed.
void ControlPanel::ShowRows(int first, int removed, int inserted) {
    platform::GbkLineModel* model = m_listControl->LineModel();
    if (removed > 0) {
        if (first + removed == model->Count()) model->Truncate(first);
        else for (int i = 0; i < removed; ++i) model->Remove(first);
    }
    if (inserted > 0) {
        const std::vector<std::string>& lines = m_doc.Lines();
        if (first == model->Count())
            model->AppendAll(std::vector<std::string>(lines.begin() + first, lines.begin() + first + inserted));
        else for (int i = 0; i < inserted; ++i) model->Insert(first + i, lines[static_cast<std::size_t>(first + i)]);
    }
    m_nSegmentCount = m_doc.RowCount();
    platform::FieldExchange(Owner(), false).Integer(m_editSegmentCount, m_nSegmentCount);
    m_btnDelete->setEnabled(m_listControl->Selection() >= 1);
    if (m_nSegmentCount > 0) EnableSave();
    ShowCheckLine();
}
