#include "ui/tools/AboutDlg.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/text/Texts.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8(vexaline::text::kAboutCaption));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto* icon = new QLabel;
    icon->setPixmap(QIcon(QStringLiteral(":/vexaline.png")).pixmap(32, 32));
    auto* line = new QLabel(QString::fromUtf8(vexaline::text::kAboutLine));
    auto* ok = new QPushButton(QString::fromUtf8(vexaline::text::kButtonOk));
    ok->setObjectName(QStringLiteral("1"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* row = new QHBoxLayout(this);
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addSpacing(12);
    row->addWidget(line, 1);
    auto* side = new QVBoxLayout;
    side->addWidget(ok);
    side->addStretch();
    row->addLayout(side);
    ok->setDefault(true);  // once it sits in the box
    setFixedSize(sizeHint());
}
