#pragma once
#include <QRectF>
#include <QSizeF>
#include <QStringList>
#include <QString>
#include <string>

#include "ui/PlanPainter.h"

class QPainter;
class QPagedPaintDevice;

// The setting-out sheet: A4 pages with a header on each (alignment file,
// result mode, date, when the rows were computed, range, interval, offset, deflection, and in
// setting-out mode the station and backsight with their coordinates), the
// plan of the stakes on the first page, then the results table with the
// list's columns and "第 n 页 / 共 m 页" at the foot. Pages paint onto any
// device, a printer, a PDF writer or an image.
namespace vexaline::plan {

struct SheetHeader {
    std::string strFile;        // alignment file name, UTF-8
    bool bRange = false;        // the rows began with a run over this range
    double dFrom = 0, dTo = 0, dInterval = 0, dOffset = 0;
    std::string strDeflection;  // D.MMSS, UTF-8
    std::string strDate;        // UTF-8
    std::string strComputed;    // when the rows were computed, UTF-8; empty: not known
};

class SettingOutSheet {
public:
    // Layout is worked in pixels of 1/96 inch on an A4 page.
    static constexpr double kPageWidth = 210 / 25.4 * 96;
    static constexpr double kPageHeight = 297 / 25.4 * 96;

    // The scene's results must outlive the sheet.
    SettingOutSheet(const PlanScene& scene, const SheetHeader& header);

    int PageCount() const { return pages_; }
    // Paints page `page` (0-based) filling a device area of `pageSize`
    // (device pixels, A4 proportions; the page is scaled to fit).
    void PaintPage(QPainter& painter, int page, QSizeF pageSize) const;

    // Results rows on the first page and on each later one.
    int FirstPageRows() const { return firstRows_; }
    int RowsPerPage() const { return rowsPerPage_; }
    // The table's column names: the list's, and 设计高程 when the results have heights.
    QStringList ColumnNames() const;

private:
    double PaintHeader(QPainter& painter) const;  // the y below it
    void PaintPlan(QPainter& painter, QRectF area) const;
    void PaintTable(QPainter& painter, double top, std::size_t first, std::size_t count) const;
    QStringList HeaderLines() const;

    PlanScene scene_;
    SheetHeader header_;
    int firstRows_ = 0, rowsPerPage_ = 0, pages_ = 1;
};

}  // namespace vexaline::plan
