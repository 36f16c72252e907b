#pragma once
#include <QRectF>
#include <QSizeF>
#include <QStringList>
#include <QString>
#include <string>

#include "ui/plan/PlanPainter.h"

class QPainter;
class QPagedPaintDevice;

// The setting-out sheet: A4 pages with a header on each (alignment file,
// result mode, date, when the rows were computed, range, interval, offset,
// deflection, and in setting-out mode the station and backsight with their
// coordinates), the plan of the stakes on the first page with its north
// arrow and scale bar, then the results table with the list's columns
// titled with their units, and at the foot of each page a line to sign
// (计算, 复核, 日期) and "第 n 页 / 共 m 页". Pages paint onto any device, a
// printer, a PDF writer or an image.
namespace vexaline::plan {

struct SheetHeader {
    std::string strFile;        // alignment file name, UTF-8
    bool bRange = false;        // the rows began with a run over this range
    double dFrom = 0, dTo = 0, dInterval = 0, dOffset = 0;  // from, to: distances (桩号 shown on the scene road's equations)
    std::string strDeflection;  // D.MMSS, UTF-8
    std::string strDate;        // UTF-8
    std::string strComputed;    // when the rows were computed, UTF-8; empty: not known
};

// What one page holds, as values; the page is painted from them.
struct SheetPage {
    QStringList header;      // the lines under the title
    bool bPlan = false;      // the plan of the stakes (page 1)
    QStringList columns;     // the table's column titles
    std::size_t firstRow = 0, rowCount = 0;  // the results rows on the page
    QString signLine;        // 计算, 复核, 日期, filled in by hand
    QString pageLine;        // 第 n 页 / 共 m 页
};

// Beyond this many pages a print run is asked about before it is laid out.
inline constexpr int kSheetPagesWithoutAsking = 200;

class SettingOutSheet {
public:
    // Layout is worked in pixels of 1/96 inch on an A4 page.
    static constexpr double kPageWidth = 210 / 25.4 * 96;
    static constexpr double kPageHeight = 297 / 25.4 * 96;

    // The scene's results must outlive the sheet.
    SettingOutSheet(const PlanScene& scene, const SheetHeader& header);

    int PageCount() const { return pages_; }
    std::size_t RowCount() const { return scene_.results ? scene_.results->rows.size() : 0; }
    SheetPage Page(int page) const;  // 0-based
    // Paints page `page` (0-based) filling a device area of `pageSize`
    // (device pixels, A4 proportions; the page is scaled to fit).
    void PaintPage(QPainter& painter, int page, QSizeF pageSize) const;

    // Results rows on the first page and on each later one.
    int FirstPageRows() const { return firstRows_; }
    int RowsPerPage() const { return rowsPerPage_; }
    // The table's column titles with their units: the list's, and 设计高程
    // when the results have heights.
    QStringList ColumnNames() const;
    bool Chained() const;

private:
    double PaintHeader(QPainter& painter, const QStringList& lines) const;  // the y below it
    void PaintPlan(QPainter& painter, QRectF area) const;
    void PaintTable(QPainter& painter, double top, const SheetPage& page) const;
    QStringList HeaderLines() const;

    PlanScene scene_;
    SheetHeader header_;
    std::vector<PointRecord> points_;  // the traverse points but the station and backsight, labelled as such
    int firstRows_ = 0, rowsPerPage_ = 0, pages_ = 1;
};

}  // namespace vexaline::plan
