#include "ui/PlanView.h"

#include <QBuffer>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QSvgGenerator>
#include <QVBoxLayout>
#include <algorithm>
#include <cctype>

#include "core/files/TextFile.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "ui/PlanCanvas.h"
#include "ui/toolkit/FileDialog.h"
#include "ui/toolkit/MessageBox.h"

using namespace vexaline;

namespace vexaline::plan {

std::string ExportBytes(const CPlanCanvas& canvas, ExportFormat format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QSize size = canvas.size();
    if (format == ExportFormat::Png) {
        if (!canvas.Picture().save(&buffer, "PNG")) return {};
    } else if (format == ExportFormat::Svg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(QString::fromUtf8(text::kPlanCaption));
        QPainter painter(&svg);
        canvas.Render(painter, size);
    } else {
        // One page the size of the picture, a point per pixel.
        QPdfWriter pdf(&buffer);
        pdf.setResolution(72);
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setPageSize(QPageSize(QSizeF(size), QPageSize::Point));
        pdf.setTitle(QString::fromUtf8(text::kPlanCaption));
        QPainter painter(&pdf);
        canvas.Render(painter, size);
    }
    return bytes.toStdString();
}

namespace {
std::string Extension(const std::string& path) {
    const std::size_t dot = path.rfind('.'), slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext;
}
}  // namespace

bool HasExtension(const std::string& path) {
    const std::string ext = Extension(path);
    return ext == "png" || ext == "svg" || ext == "pdf";
}

ExportFormat FormatOf(const std::string& path, int chosenType) {
    const std::string ext = Extension(path);
    if (ext == "png") return ExportFormat::Png;
    if (ext == "svg") return ExportFormat::Svg;
    if (ext == "pdf") return ExportFormat::Pdf;
    return chosenType == 2 ? ExportFormat::Svg : chosenType == 3 ? ExportFormat::Pdf : ExportFormat::Png;
}

}  // namespace vexaline::plan

CPlanView::CPlanView(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("2100");
    setWindowTitle(QString::fromUtf8(text::kPlanCaption));
    setAttribute(Qt::WA_DeleteOnClose, false);  // the main window keeps it, hidden when closed
    auto* fit = new QPushButton(QString::fromUtf8(text::kPlanFit));
    fit->setObjectName("2101");
    auto* exportButton = new QPushButton(QString::fromUtf8(text::kPlanExport));
    exportButton->setObjectName("2102");
    canvas_ = new CPlanCanvas;
    canvas_->setObjectName("2103");
    readout_ = new QLabel(QString::fromUtf8(text::kPlanHint));
    readout_->setObjectName("2104");
    readout_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* bar = new QHBoxLayout;
    bar->addWidget(fit);
    bar->addWidget(exportButton);
    bar->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(canvas_, 1);
    layout->addWidget(readout_);
    resize(760, 560);

    connect(fit, &QPushButton::clicked, this, &CPlanView::OnFit);
    connect(exportButton, &QPushButton::clicked, this, &CPlanView::OnExport);
    connect(canvas_, &CPlanCanvas::Hovered, this, &CPlanView::ShowReadout);
}

void CPlanView::OnFit() { canvas_->Fit(); }

void CPlanView::OnExport() {
    // No default extension from the dialog: a bare name gets the chosen type's.
    platform::FileChoice choice = platform::PickFileToSave(this, text::kPlanExportFilter, text::kPlanExportName, nullptr);
    if (choice.strPath.empty()) return;
    const plan::ExportFormat format = plan::FormatOf(choice.strPath, choice.nType);
    if (!plan::HasExtension(choice.strPath)) {
        const char* extension = format == plan::ExportFormat::Svg ? ".svg" : format == plan::ExportFormat::Pdf ? ".pdf" : ".png";
        choice.strPath += extension, choice.strName += extension;
        if (QFile::exists(QFile::decodeName(choice.strPath.c_str())) &&
            !platform::AskYesNo(this, Format(text::kAskReplaceFile, choice.strName.c_str()).c_str()))
            return;
    }
    const std::string bytes = plan::ExportBytes(*canvas_, format);
    if (bytes.empty()) {
        platform::Warn(this, Format(text::kPlanCannotRender, choice.strName.c_str()).c_str());
        return;
    }
    if (!WriteFileAtomically(choice.strPath, bytes))
        platform::Warn(this, Format(text::kCannotWrite, choice.strName.c_str()).c_str());
}

void CPlanView::ShowReadout(CPlanePoint where) {
    QString line = QString::fromStdString(Format(text::kPlanReadout, where.X, where.Y));
    if (describer_) line += describer_(where);
    readout_->setText(line);
}
