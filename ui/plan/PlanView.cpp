#include "ui/plan/PlanView.h"

#include <algorithm>

#include <QDate>
#include <QFontMetrics>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/files/TextFile.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "ui/plan/PaperDlg.h"
#include "ui/plan/PlanCanvas.h"
#include "ui/toolkit/FileDialog.h"
#include "ui/toolkit/MessageBox.h"

using namespace vexaline;

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
    // One line of a fixed height, whatever script it holds: a fallback font's
    // taller line would shrink the canvas, and a fitted view refit, as the
    // pointer moves.
    const QFontMetrics metrics(readout_->font());
    const int line = std::max({metrics.height(), metrics.boundingRect(QString::fromUtf8(text::kPlanHint)).height(),
                               metrics.boundingRect(QStringLiteral("X 0123456789.  Y K+-")).height()});
    readout_->setFixedHeight(line + 2 * readout_->margin() + 2);

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
    CPaperDlg paperDlg(paper_, format == plan::ExportFormat::Png, this);
    if (paperDlg.exec() != QDialog::Accepted) return;
    paper_ = paperDlg.Chosen();
    const plan::TitleBlock title{roadFile_, QDate::currentDate().toString(QString::fromUtf8(text::kSheetDateFormat))};
    const std::string bytes = plan::ExportBytes(*canvas_, format, paper_, title);
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
