#include "ui/plan/PaperDlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/text/Texts.h"

using namespace vexaline;

CPaperDlg::CPaperDlg(const Paper& paper, bool picture, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("2110"));
    setWindowTitle(QString::fromUtf8(text::kPaperCaption));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    size_ = new QComboBox;
    size_->setObjectName(QStringLiteral("2111"));
    size_->addItems({QStringLiteral("A4"), QStringLiteral("A3")});
    size_->setCurrentIndex(paper.size == PaperSize::A3 ? 1 : 0);
    orientation_ = new QComboBox;
    orientation_->setObjectName(QStringLiteral("2112"));
    orientation_->addItems({QString::fromUtf8(text::kPaperLandscape), QString::fromUtf8(text::kPaperPortrait)});
    orientation_->setCurrentIndex(paper.bLandscape ? 0 : 1);
    dpi_ = new QSpinBox;
    dpi_->setObjectName(QStringLiteral("2113"));
    dpi_->setRange(72, 600);
    dpi_->setSingleStep(50);
    dpi_->setSuffix(QString::fromUtf8(text::kPaperDpiSuffix));
    dpi_->setValue(paper.nDpi);
    dpi_->setEnabled(picture);  // a vector file has no pixels
    auto* ok = new QPushButton(QString::fromUtf8(text::kButtonOk));
    ok->setObjectName(QStringLiteral("2114"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QString::fromUtf8(text::kButtonCancel));
    cancel->setObjectName(QStringLiteral("2115"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(QString::fromUtf8(text::kPaperSize), size_);
    form->addRow(QString::fromUtf8(text::kPaperOrientation), orientation_);
    form->addRow(QString::fromUtf8(text::kPaperDpi), dpi_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

Paper CPaperDlg::Chosen() const {
    return {size_->currentIndex() == 1 ? PaperSize::A3 : PaperSize::A4, orientation_->currentIndex() == 0,
            dpi_->value()};
}
