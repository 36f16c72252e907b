#include "ui/toolkit/PagePrint.h"

#include <QBuffer>
#include <QFile>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <algorithm>

#include "core/files/TextFile.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "ui/toolkit/MessageBox.h"


namespace vexaline::platform {

namespace {

void PlayPages(const std::vector<QPicture>& pages, QSizeF pageSize, QPagedPaintDevice& device) {
    if (pages.empty()) return;
    QPainter painter(&device);
    const double scale = std::min(device.width() / pageSize.width(),
                                  device.height() / pageSize.height());
    // A picture played on a device of another resolution is scaled by their ratio.
    painter.scale(scale * pages.front().logicalDpiX() / device.logicalDpiX(),
                  scale * pages.front().logicalDpiY() / device.logicalDpiY());
    for (std::size_t page = 0; page < pages.size(); ++page) {
        if (page > 0) device.newPage();
        painter.drawPicture(0, 0, pages[page]);
    }
}

// A PDF file is written whole or not at all: the pages go to memory first.
void PrintPages(const std::vector<QPicture>& pages, QSizeF pageSize, QPrinter& printer, QWidget* owner) {
    const bool preview = printer.paintEngine() && printer.paintEngine()->type() == QPaintEngine::Picture;
    if (preview || printer.outputFormat() != QPrinter::PdfFormat || printer.outputFileName().isEmpty()) {
        PlayPages(pages, pageSize, printer);
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
        PlayPages(pages, pageSize, pdf);
    }
    const QString path = printer.outputFileName();
    if (!WriteFileAtomically(QFile::encodeName(path).toStdString(), bytes.toStdString()))
        platform::Warn(owner, Format(text::kCannotWrite, path.toUtf8().constData()).c_str());
}

}  // namespace

void PreviewPages(const std::vector<QPicture>& pages, QSizeF pageSize, QPageSize paper, bool landscape,
                  const QString& docName, QWidget* owner) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(paper);
    printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setFullPage(true);  // the pages keep their own margins
    printer.setDocName(docName);
    QPrintPreviewDialog preview(&printer, owner);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&pages, pageSize, &preview](QPrinter* target) { PrintPages(pages, pageSize, *target, &preview); });
    preview.exec();
}

}  // namespace vexaline::platform
