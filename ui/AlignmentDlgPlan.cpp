#include "ui/AlignmentDlg.h"

#include <QDate>
#include <QLineEdit>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <algorithm>
#include <memory>

#include "core/files/ResultsExport.h"
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
    return QString::fromStdString(Format(text::kPlanReadoutStation, KStation(found.dStation).c_str(),
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
    auto refresh = [dlg, feed, canvas] {
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

void PrintPages(const plan::SettingOutSheet& sheet, QPagedPaintDevice& device) {
    QPainter painter(&device);
    for (int page = 0; page < sheet.PageCount(); ++page) {
        if (page > 0) device.newPage();
        sheet.PaintPage(painter, page, QSizeF(device.width(), device.height()));
    }
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

    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(true);  // the sheet keeps its own margins
    printer.setDocName(QString::fromStdString(header.strFile));
    QPrintPreviewDialog preview(&printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
            [&sheet](QPrinter* target) { PrintPages(sheet, *target); });
    preview.exec();
}
