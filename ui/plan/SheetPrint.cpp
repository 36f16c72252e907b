#include "ui/plan/SheetPrint.h"

#include <QBuffer>
#include <QDate>
#include <QFile>
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
#include "core/text/AngleText.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "ui/document/RoadDocument.h"
#include "ui/plan/SettingOutSheet.h"
#include "ui/toolkit/MessageBox.h"

namespace vexaline::plan {

namespace {

// The pages recorded one by one before any reaches a printer: a long run
// with its progress shown, and nothing kept when the user cancels it.
std::optional<std::vector<QPicture>> LayOutPages(const SettingOutSheet& sheet, QWidget* owner) {
    const int pages = sheet.PageCount();
    std::unique_ptr<QProgressDialog> progress;
    if (pages > kSheetPagesWithoutAsking) {
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
        sheet.PaintPage(painter, page, QSizeF(SettingOutSheet::kPageWidth, SettingOutSheet::kPageHeight));
    }
    return pictures;
}

void PlayPages(const std::vector<QPicture>& pages, QPagedPaintDevice& device) {
    if (pages.empty()) return;
    QPainter painter(&device);
    const double scale = std::min(device.width() / SettingOutSheet::kPageWidth,
                                  device.height() / SettingOutSheet::kPageHeight);
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

void PrintSheet(const RoadDocument& document, const std::vector<PointRecord>& points, QWidget* owner) {
    // What the rows were computed from and with, not what the list and the fields say now.
    const ResultSet& results = document.Results();
    const Alignment road = document.ResultsRoad();
    const PlanScene scene{&road, &results, &points, FlaggedElements(road, CheckControl(road))};
    SheetHeader header;
    header.strFile = results.source ? results.source->strFile : GbkToUtf8(document.Name());
    if (results.source) header.strComputed = GbkToUtf8(ComputedTimeText(results.source->computed));
    if (results.range) {
        header.bRange = true;
        header.dFrom = results.range->dFrom, header.dTo = results.range->dTo;
        header.dInterval = results.range->dInterval;
    }
    header.dOffset = results.rows.front().dOffset;
    header.strDeflection = RadiansToDms(Format("%lf", results.rows.front().dDeflection));
    header.strDate = QDate::currentDate().toString(QString::fromUtf8(text::kSheetDateFormat)).toStdString();
    const SettingOutSheet sheet(scene, header);
    if (sheet.PageCount() > kSheetPagesWithoutAsking &&
        !platform::AskYesNo(owner, Format(text::kAskPrintManyPages, sheet.PageCount(), sheet.RowCount()).c_str()))
        return;
    const std::optional<std::vector<QPicture>> pages = LayOutPages(sheet, owner);
    if (!pages) return;

    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(true);  // the sheet keeps its own margins
    printer.setDocName(QString::fromStdString(header.strFile));
    QPrintPreviewDialog preview(&printer, owner);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&pages, &preview](QPrinter* target) { PrintPages(*pages, *target, &preview); });
    preview.exec();
}

}  // namespace vexaline::plan
