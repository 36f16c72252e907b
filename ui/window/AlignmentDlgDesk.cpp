#include "ui/window/AlignmentDlg.h"

#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "ui/toolkit/FileDialog.h"
#include "ui/toolkit/Screen.h"

// The window as a desk: the help panel that gives way on a small screen, the
// title naming the open road.

using namespace vexaline;

namespace {

// The help panel, top to bottom.
const char* const kHelpLines[] = {
    "里程：是指线型变换点", "的桩号。",
    "线型：是指过了该变换", "点的线型。",
    "半径：是指该变换点处", "的曲率半径，线路即将",
    "左转时半径为负值（当", "线型是\"直线\"时，半径",
    "只能是\"∞\"）。",       "X、Y：变换点处的坐标",
    "偏移量：偏离中线的距", "离，中线左边为负。",
    "偏向角：与路线前进方", "向的夹角，顺时针为正",
};

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace

QLayout* CAlignmentDlg::CreateHelpPanel() {
    auto* helpGroup = new QGroupBox(U("******说明******"));
    auto* help = new QVBoxLayout(helpGroup);
    help->setSpacing(2);
    for (const char* line : kHelpLines) help->addWidget(new QLabel(U(line)));
    help->addStretch();
    auto* versionBox = new QFrame;
    versionBox->setFrameShape(QFrame::Box);
    auto* version = new QVBoxLayout(versionBox);
    auto* icon = new QLabel;
    icon->setPixmap(m_hIcon.pixmap(48, 48));
    icon->setAlignment(Qt::AlignCenter);
    auto* versionLine = new QLabel(U(text::kAboutLine));
    versionLine->setAlignment(Qt::AlignCenter);
    auto* btnAbout = new QPushButton(U(text::kAboutMenu));
    btnAbout->setObjectName(QStringLiteral("16"));
    btnAbout->setAutoDefault(false);
    version->addWidget(icon);
    version->addWidget(versionLine);
    version->addWidget(btnAbout);
    help->addWidget(versionBox);
    connect(btnAbout, &QPushButton::clicked, this, &CAlignmentDlg::OnAbout);

    m_btnHelp = new QToolButton;
    m_btnHelp->setObjectName(QStringLiteral("2014"));
    m_btnHelp->setText(U(text::kHelpToggle));
    m_btnHelp->setToolTip(U(text::kHelpToggleTip));
    m_btnHelp->setCheckable(true);
    m_btnHelp->setChecked(true);
    connect(m_btnHelp, &QToolButton::toggled, this, [this, helpGroup](bool shown) {
        helpGroup->setVisible(shown);
        if (!shown || !isVisible()) return;
        layout()->activate();  // the window widens now, and is brought back into view
        platform::KeepOnScreen(this);
    });
    auto* column = new QVBoxLayout;
    column->addWidget(m_btnHelp, 0, Qt::AlignRight | Qt::AlignTop);
    column->addWidget(helpGroup, 1);
    return column;
}

void CAlignmentDlg::SizeForScreen() {
    ensurePolished();
    m_btnHelp->setChecked(platform::FitsOnScreen(this, minimumSizeHint()));
    // All the contents ask for; being shown bounds it to the screen.
    layout()->invalidate();
    resize(sizeHint());
}

void CAlignmentDlg::ShowTitle() {
    const QString name = QFileInfo(QFile::decodeName(m_doc.Path().c_str())).fileName();
    setWindowTitle(name.isEmpty() ? U(text::kAppTitle)
                                  : QString::fromStdString(Format(text::kTitleWithFile, name.toUtf8().constData(), text::kAppTitle)));
}
