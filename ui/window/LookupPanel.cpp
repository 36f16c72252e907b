#include "ui/window/LookupPanel.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/road/ResultText.h"
#include "core/road/ReverseLookup.h"
#include "core/road/StakeHeight.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "ui/document/RoadDocument.h"
#include "ui/toolkit/FieldExchange.h"
#include "ui/toolkit/MessageBox.h"

using namespace vexaline;
using namespace panel;

LookupPanel::LookupPanel(PanelShared shared, QWidget* parent) : QFrame(parent), m_shared(std::move(shared)) {
    m_editLookupX = Holding(Edit(1052), kCoordinateSample);
    m_editLookupY = Holding(Edit(1053), kCoordinateSample);
    QPushButton* btnLookup = Button("平面反查", 1051);
    m_editLookupStation = Holding(Edit(1054, true), kCoordinateSample);
    m_editLookupOffset = Holding(Edit(1055, true), kOffsetSample);
    m_editLookupElevation = Holding(Edit(2056, true), kCoordinateSample);
    m_btnInspect = Button(text::kInspectButton, 2007);
    m_btnSection = Button(text::kSectionButton, 2009);
    m_btnGrid = Button(text::kGridButton, 2015);
    setFrameShape(QFrame::StyledPanel);
    auto* lookup = new QGridLayout(this);
    lookup->addWidget(new QLabel(U("X")), 0, 0);
    lookup->addWidget(m_editLookupX, 0, 1);
    lookup->addWidget(new QLabel(U("Y")), 0, 2);
    lookup->addWidget(m_editLookupY, 0, 3);
    lookup->addWidget(btnLookup, 0, 4);
    lookup->addWidget(m_btnInspect, 1, 4);
    lookup->addWidget(new QLabel(U("桩号")), 1, 0);
    lookup->addWidget(m_editLookupStation, 1, 1);
    lookup->addWidget(new QLabel(U("偏距")), 1, 2);
    lookup->addWidget(m_editLookupOffset, 1, 3);
    // Its own row: beside the others it would squeeze X and Y out of sight.
    lookup->addWidget(new QLabel(U(text::kElevationHeader)), 2, 0);
    lookup->addWidget(m_editLookupElevation, 2, 1);
    lookup->addWidget(m_btnGrid, 2, 3, Qt::AlignRight);
    lookup->addWidget(m_btnSection, 2, 4);
    lookup->setColumnStretch(1, 1);
    lookup->setColumnStretch(3, 1);
    connect(btnLookup, &QPushButton::clicked, this, &LookupPanel::OnReverseLookup);
    OnEnter({m_editLookupX, m_editLookupY}, [this] { OnReverseLookup(); });
}

void LookupPanel::Exchange(platform::FieldExchange& dx) {
    dx.Double(m_editLookupX, m_dLookupX);
    dx.Double(m_editLookupY, m_dLookupY);
    dx.Text(m_editLookupOffset, m_strLookupOffset);
    dx.Text(m_editLookupStation, m_strLookupStation);
    dx.Text(m_editLookupElevation, m_strLookupElevation);
}

void LookupPanel::LookUp(CPlanePoint where) {
    m_editLookupX->setText(QString::fromStdString(Format("%.3f", where.X)));
    m_editLookupY->setText(QString::fromStdString(Format("%.3f", where.Y)));
    OnReverseLookup();
}

void LookupPanel::OnReverseLookup() {
    const Busy busy(m_shared.busy);
    if (!busy || !m_shared.updateData(true, nullptr)) return;
    const RoadDocument& doc = m_shared.document;
    const Alignment road = doc.Road();
    QWidget* owner = window();
    if (!ChainFits(owner, road)) return;
    const LookupResult result = ReverseLookup(road, CPlanePoint(m_dLookupX, m_dLookupY),
                                              [owner](const std::string& gbk) {
                                                  platform::NotifyElementCheck(owner, GbkToUtf8(gbk).c_str());
                                              });
    switch (result.status) {
    case LookupStatus::Converged:
        m_strLookupStation = road.Chain().Empty() ? LookupStationText(result.dStation)
                                                  : ChainStationText(road.Chain().StationAt(result.dStation));
        m_strLookupOffset = LookupOffsetText(result.dOffset);
        m_strLookupElevation.clear();  // none without a vertical alignment, or outside it
        if (const std::optional<RoadDocument::Heights> heights = doc.RoadHeights()) {
            const std::optional<double> h =
                SurfaceElevation(heights->profile, heights->slopes, result.dStation, result.dOffset);
            if (h) m_strLookupElevation = Format("%.3f", *h);
        }
        m_shared.updateData(false, nullptr);
        break;
    case LookupStatus::NoControl: platform::Warn(owner, text::kNoControl); break;
    case LookupStatus::NotFound: platform::Warn(owner, text::kNotFound); break;
    case LookupStatus::BadStationLine: platform::Warn(owner, road.StationRefusal().c_str()); break;
    case LookupStatus::Failed: break;  // the evaluation has shown its message
    }
}
