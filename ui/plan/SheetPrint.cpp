#include "ui/plan/SheetPrint.h"

#include <QDate>
#include <QPainter>
#include <QPicture>
#include <QProgressDialog>
#include <algorithm>
#include <memory>
#include <optional>

#include "core/files/ResultsExport.h"
#include "core/road/ControlCheck.h"
#include "core/text/AngleText.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "ui/document/RoadDocument.h"
#include "ui/plan/SettingOutSheet.h"
#include "ui/toolkit/MessageBox.h"
#include "ui/toolkit/PagePrint.h"

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

    platform::PreviewPages(*pages, QSizeF(SettingOutSheet::kPageWidth, SettingOutSheet::kPageHeight),
                           QPageSize(QPageSize::A4), false, QString::fromStdString(header.strFile), owner);
}

}  // namespace vexaline::plan
