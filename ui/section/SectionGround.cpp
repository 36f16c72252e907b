// 横断面 with the ground: where it comes from, the areas and volumes, the sheets.
#include <QComboBox>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPageSize>
#include <QTableWidget>

#include "core/files/FileType.h"
#include "core/files/GroundFile.h"
#include "core/files/PointImport.h"
#include "core/files/SheetFile.h"
#include "core/files/TextFile.h"
#include "core/plan/SectionSheet.h"
#include "core/text/Gbk.h"
#include "core/text/StationText.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "ui/document/RoadDocument.h"
#include "ui/section/SectionDlg.h"
#include "ui/toolkit/FileDialog.h"
#include "ui/toolkit/MessageBox.h"
#include "ui/toolkit/PagePrint.h"
#include "ui/toolkit/SheetPainter.h"

using namespace vexaline;

namespace {

constexpr double kTinWidth = 50;  // a section cut from a TIN reaches this far each side, metres

QString U(const std::string& utf8) { return QString::fromStdString(utf8); }

}  // namespace

const std::vector<GroundSection>* CSectionDlg::GroundOfStations(const Alignment& road, const std::vector<double>& stations,
                                                               std::string& refusal) {
    m_cut.clear();
    m_groundFile.reset();
    // A .hdm file's 桩号 read anew on the road's station equations as they are now.
    if (m_groundBytes) {
        GroundFileRead read = ReadGroundFile(*m_groundBytes, road.Chain());
        if (!read.Ok()) return refusal = m_groundName + "：" + read.strMessage, nullptr;
        m_groundFile = std::move(read.sections);
        return &*m_groundFile;
    }
    if (!m_model) return nullptr;
    // The model cut square to the road at each station that can be staked.
    std::vector<SectionLine> lines;
    for (double s : stations)
        if (SectionLine line = SectionLineAt(road, s); line.strMessage.empty()) lines.push_back(std::move(line));
    for (GroundSection& g : m_model->Cut(lines, kTinWidth))
        if (!g.points.empty()) m_cut.push_back(std::move(g));
    return &m_cut;
}

std::vector<const GroundSection*> CSectionDlg::GroundsOfSections() const {
    std::vector<const GroundSection*> grounds;
    const std::vector<GroundSection>* ground = m_model ? &m_cut : m_groundFile ? &*m_groundFile : nullptr;
    if (ground)
        for (const CrossSection& c : m_run.sections) grounds.push_back(GroundAtStation(*ground, c.dStation));
    return grounds;
}

// A row for each station with its areas, the volumes of the stretch that
// ends at it, and the totals last.
void CSectionDlg::FillEarthwork() {
    m_earthwork->setRowCount(0);
    if (m_run.earth.empty()) return;
    const vexaline::Earthwork& w = m_run.work;
    const Chainage chain = m_doc.Chain();
    const auto put = [this](int row, int column, const std::string& value) {
        auto* item = new QTableWidgetItem(U(value));
        item->setTextAlignment(column == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
        m_earthwork->setItem(row, column, item);
    };
    m_earthwork->setRowCount(static_cast<int>(w.stations.size()) + 1);
    for (std::size_t i = 0; i < w.stations.size(); ++i) {
        const int row = static_cast<int>(i);
        put(row, 0, KStationOf(chain, w.stations[i].dStation));
        if (const std::optional<EarthAreas>& a = w.stations[i].area)
            put(row, 1, Format("%.2f", a->dFill)), put(row, 2, Format("%.2f", a->dCut));
        if (i == 0) continue;
        const VolumeStretch& v = w.stretches[i - 1];
        put(row, 3, Format("%.3f", v.dLength));
        if (v.bCounted) put(row, 4, Format("%.2f", v.dFill)), put(row, 5, Format("%.2f", v.dCut));
    }
    const int total = static_cast<int>(w.stations.size());
    put(total, 0, text::kEarthworkTotal);
    put(total, 4, Format("%.2f", w.dFill));
    put(total, 5, Format("%.2f", w.dCut));
    m_earthwork->resizeColumnsToContents();
}

bool CSectionDlg::LoadGround(const std::string& path) {
    std::string bytes;
    const std::string shown = platform::PathForDisplay(path);
    if (ReadWholeFile(path, bytes) != ReadStatus::Ok)
        return platform::Warn(this, Format(text::kCannotRead, shown.c_str()).c_str()), false;
    const QString name = QFileInfo(QFile::decodeName(path.c_str())).fileName();
    if (ExtensionOf(path) == "hdm") {
        GroundFileRead read = ReadGroundFile(bytes, m_doc.Chain());
        if (!read.Ok()) return platform::Warn(this, (shown + "：" + read.strMessage).c_str()), false;
        m_labelGround->setText(U(Format(text::kSectionGroundFile, name.toUtf8().constData(), read.sections.size())));
        m_groundBytes = std::move(bytes);
        m_groundName = name.toStdString();
        m_model.reset();
    } else {
        const MeasuredImport points = ImportMeasuredPoints(bytes, MeasuredFormatOf(path), kMaxGroundModelPoints);
        if (!points.Ok()) return platform::Warn(this, (shown + "：" + points.strMessage).c_str()), false;
        GroundModelBuild built = GroundModel::Build(points.points);
        if (!built.Ok()) return platform::Warn(this, (shown + "：" + built.strMessage).c_str()), false;
        m_labelGround->setText(U(Format(text::kSectionGroundTin, name.toUtf8().constData(), built.model.Points(),
                                        built.model.Triangles(), kTinWidth)));
        m_model = std::make_shared<const GroundModel>(std::move(built.model));
        m_groundBytes.reset();
    }
    OnList();
    return true;
}

void CSectionDlg::OnLoadGround() {
    const platform::FileChoice choice = platform::PickFileToOpen(this, text::kSectionGroundFilter);
    if (!choice.strPath.empty()) LoadGround(choice.strPath);
}

std::vector<SheetDrawing> CSectionDlg::SheetPages() const {
    const std::string road = GbkToUtf8(m_doc.Name());
    const std::string date = QDate::currentDate().toString(QString::fromUtf8(text::kSheetDateFormat)).toStdString();
    const PaperSize paper = m_paper->currentIndex() == 1 ? PaperSize::A4 : PaperSize::A3;
    return LayOutSectionSheets(m_run, GroundsOfSections(), m_doc.Chain(), {road, date}, paper).pages;
}

void CSectionDlg::OnPrint() {
    const std::vector<SheetDrawing> pages = SheetPages();
    if (pages.empty()) return platform::Warn(this, text::kSectionNothingToDraw);
    const QPageSize paper(m_paper->currentIndex() == 1 ? QPageSize::A4 : QPageSize::A3);
    platform::PreviewPages(platform::SheetPictures(pages), platform::SheetPictureSize(pages.front()), paper, true,
                           QString::fromUtf8(text::kSectionSheetName), this);
}

// The sheets as the command line's --sheet writes them.
void CSectionDlg::OnSaveSheet() {
    const std::vector<SheetDrawing> pages = SheetPages();
    if (pages.empty()) return platform::Warn(this, text::kSectionNothingToDraw);
    platform::FileChoice choice = platform::PickFileToSave(this, text::kSectionSheetFilter, text::kSectionSheetName, "pdf");
    if (choice.strPath.empty()) return;
    const int type = platform::ChosenType(this, choice, text::kSectionSheetFilter, {"pdf", "svg"}, "pdf");
    if (type == 0) return;
    const std::optional<std::string> bytes =
        SheetFileBytes(pages, type == 1 ? SheetFormat::Pdf : SheetFormat::Svg, text::kSectionSheetName);
    if (!bytes || !WriteFileAtomically(choice.strPath, *bytes))
        platform::Warn(this, Format(text::kCannotWrite, platform::PathForDisplay(choice.strPath).c_str()).c_str());
}
