#include "ui/AlignmentDlg.h"

#include <QBuffer>
#include <QDate>
#include <QFile>
#include <QLineEdit>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <algorithm>
#include <memory>
#include <optional>

#include "core/files/ResultsExport.h"
#include "core/files/TextFile.h"
#include "core/road/ControlCheck.h"
#include "core/road/ReverseLookup.h"
#include "core/text/AngleText.h"
#include "core/text/Gbk.h"
#include "core/text/ResultText.h"
#include "core/text/StationText.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "ui/InspectDlg.h"
#include "ui/PlanCanvas.h"
#include "ui/PlanView.h"
#include "ui/SettingOutSheet.h"
#include "ui/toolkit/MessageBox.h"
#include "ui/toolkit/Screen.h"

// "平面图" and "打印": the plan view and the setting-out sheet.
using namespace vexaline;

namespace {

// Elements the data check flags, drawn red.
std::vector<bool> Flagged(const Alignment& road) { return FlaggedElements(road, CheckControl(road)); }

// What the open plan view draws besides the results, which it reads from
// the window at each paint.
struct PlanFeed {
    Alignment road;
    std::vector<bool> flagged;
    std::vector<PointRecord> points;
    bool staleResults = false;
};

// The read-out's station and offset: the lookup's answer, or nothing.
QString Describe(const Alignment& road, CPlanePoint where) {
    const LookupResult found = ReverseLookup(road, where);
    if (found.status != LookupStatus::Converged) return {};
    return QString::fromStdString(Format(text::kPlanReadoutStation, KStationOf(road.Chain(), found.dStation).c_str(),
                                         GbkToUtf8(LookupOffsetText(found.dOffset)).c_str()));
}

CPlanView* MakePlanView(CAlignmentDlg* dlg) {
    auto* view = new CPlanView(dlg);
    auto feed = std::make_shared<PlanFeed>();
    CPlanCanvas* canvas = view->Canvas();
    canvas->SetPainter([dlg, feed](QPainter& painter, const ViewTransform& t) {
        plan::PaintScene(
            painter, plan::PlanScene{&feed->road, &dlg->Results(), &feed->points, feed->flagged, feed->staleResults}, t);
        // The measured points of an open 检核 over the road.
        if (auto* inspect = dlg->findChild<CInspectDlg*>("2500"); inspect && inspect->isVisible())
            plan::PaintMarks(painter, inspect->Marks(), inspect->SelectedMark(), t);
    });
    view->SetDescriber([feed](CPlanePoint where) { return Describe(feed->road, where); });
    auto refresh = [dlg, feed, canvas, view] {
        view->SetRoadFile(QString::fromStdString(GbkToUtf8(dlg->m_strFileName)));
        feed->road = dlg->Road();
        feed->flagged = Flagged(feed->road);
        feed->points = dlg->m_setupPoints;
        feed->staleResults = dlg->ResultsStale();
        canvas->SetBounds(plan::SceneBounds(plan::PlanScene{&feed->road, &dlg->Results(), &feed->points, {}}));
        canvas->update();
    };
    QObject::connect(dlg, &CAlignmentDlg::ControlChanged, view, refresh);
    QObject::connect(dlg, &CAlignmentDlg::ResultsChanged, view, refresh);
    // A click asks the window's own lookup about the point, as 平面反查 does.
    QObject::connect(canvas, &CPlanCanvas::Clicked, dlg, [dlg](CPlanePoint where) {
        dlg->findChild<QLineEdit*>("1052")->setText(QString::fromStdString(Format("%.3f", where.X)));
        dlg->findChild<QLineEdit*>("1053")->setText(QString::fromStdString(Format("%.3f", where.Y)));
        dlg->OnReverseLookup();
    });
    refresh();
    platform::PlaceBeside(view, dlg);
    return view;
}

// The pages recorded one by one before any reaches a printer: a long run
// with its progress shown, and nothing kept when the user cancels it.
std::optional<std::vector<QPicture>> LayOutPages(const plan::SettingOutSheet& sheet, QWidget* owner) {
    const int pages = sheet.PageCount();
    std::unique_ptr<QProgressDialog> progress;
    if (pages > plan::kSheetPagesWithoutAsking) {
        progress = std::make_unique<QProgressDialog>(QString(), QString::fromUtf8(text::kButtonCancel), 0, pages, owner);
        progress->setObjectName("2030");
        progress->setWindowTitle(QString::fromUtf8(text::kSheetTitle));
        progress->setWindowModality(Qt::WindowModal);
        progress->setMinimumDuration(0);
    }
    std::vector<QPicture> pictures(static_cast<std::size_t>(pages));
    for (int page = 0; page < pages; ++page) {
        if (progress) {
            progress->setLabelText(QString::fromStdString(Format(text::kSheetLayingOut, page + 1, pages)));
            progress->setValue(page);  // lets the cancel button be pressed
            if (progress->wasCanceled()) return std::nullopt;
        }
        QPainter painter(&pictures[static_cast<std::size_t>(page)]);
        sheet.PaintPage(painter, page, QSizeF(plan::SettingOutSheet::kPageWidth, plan::SettingOutSheet::kPageHeight));
    }
    return pictures;
}

void PlayPages(const std::vector<QPicture>& pages, QPagedPaintDevice& device) {
    if (pages.empty()) return;
    QPainter painter(&device);
    const double scale = std::min(device.width() / plan::SettingOutSheet::kPageWidth,
                                  device.height() / plan::SettingOutSheet::kPageHeight);
    // A picture played on a device of another resolution is scaled by their ratio.
    painter.scale(scale * pages.front().logicalDpiX() / device.logicalDpiX(),
                  scale * pages.front().logicalDpiY() / device.logicalDpiY());
    for (std::size_t page = 0; page < pages.size(); ++page) {
        if (page > 0) device.newPage();
        painter.drawPicture(0, 0, pages[page]);
    }
}

// A PDF file is written whole or not at all: the pages go to memory first.
void PrintPages(const std::vector<QPicture>& pages, QPrinter& printer, QWidget* owner) {
    const bool preview = printer.paintEngine() && printer.paintEngine()->type() == QPaintEngine::Picture;
    if (preview || printer.outputFormat() != QPrinter::PdfFormat || printer.outputFileName().isEmpty()) {
        PlayPages(pages, printer);
        return;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setPageLayout(printer.pageLayout());
        pdf.setResolution(printer.resolution());
        pdf.setTitle(printer.docName());
        PlayPages(pages, pdf);
    }
    const QString path = printer.outputFileName();
    if (!WriteFileAtomically(QFile::encodeName(path).toStdString(), bytes.toStdString()))
        platform::Warn(owner, Format(text::kCannotWrite, path.toUtf8().constData()).c_str());
}

}  // namespace

void CAlignmentDlg::OnPlanView() {
    auto* view = findChild<CPlanView*>("2100");
    if (!view) view = MakePlanView(this);
    view->show();
    view->raise();
    view->activateWindow();
}

void CAlignmentDlg::OnPrintSheet() {
    const Busy busy(m_bBusy);
    if (!busy || !UpdateData(true)) return;
    if (Results().rows.empty()) {
        platform::Warn(this, text::kSheetNothing);
        return;
    }
    if (!StaleAccepted(text::kAskPrintStale)) return;
    // What the rows were computed from and with, not what the list and the fields say now.
    const ResultSet& results = Results();
    const Alignment road = ResultsRoad();
    const plan::PlanScene scene{&road, &results, &m_setupPoints, Flagged(road)};
    plan::SheetHeader header;
    header.strFile = results.source ? results.source->strFile : GbkToUtf8(m_strFileName);
    if (results.source) header.strComputed = GbkToUtf8(ComputedTimeText(results.source->computed));
    if (results.range) {
        header.bRange = true;
        header.dFrom = results.range->dFrom, header.dTo = results.range->dTo;
        header.dInterval = results.range->dInterval;
    }
    header.dOffset = results.rows.front().dOffset;
    header.strDeflection = RadiansToDms(Format("%lf", results.rows.front().dDeflection));
    header.strDate = QDate::currentDate().toString(QString::fromUtf8(text::kSheetDateFormat)).toStdString();
    const plan::SettingOutSheet sheet(scene, header);
    if (sheet.PageCount() > plan::kSheetPagesWithoutAsking &&
        !platform::AskYesNo(this, Format(text::kAskPrintManyPages, sheet.PageCount(), sheet.RowCount()).c_str()))
        return;
    const std::optional<std::vector<QPicture>> pages = LayOutPages(sheet, this);
    if (!pages) return;

    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(true);  // the sheet keeps its own margins
    printer.setDocName(QString::fromStdString(header.strFile));
    QPrintPreviewDialog preview(&printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
            [&pages, &preview](QPrinter* target) { PrintPages(*pages, *target, &preview); });
    preview.exec();
}
