#include "ui/plan/SettingOutSheet.h"

#include <QPainter>
#include <algorithm>

#include "core/text/Gbk.h"
#include "core/road/ResultText.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "ui/plan/PlanDecor.h"

namespace vexaline::plan {
namespace {

constexpr double kMargin = 48;        // half an inch round the page
constexpr double kTitleHeight = 30;
constexpr double kLineHeight = 17;    // header lines
constexpr double kPlanHeight = 420;   // the plan on page 1
constexpr double kRowHeight = 17;     // table rows
constexpr double kFooterHeight = 46;  // the line to sign and the page number
constexpr double kColumns[5] = {0.18, 0.21, 0.21, 0.2, 0.2};  // shares of the table's width
constexpr double kHeightColumns[6] = {0.15, 0.18, 0.18, 0.17, 0.16, 0.16};  // with 设计高程

// The station and the backsight of a setup are labelled as such: their
// traverse points go without a label of their own.
bool IsSetupPoint(const PointRecord& p, const ResultSet* results) {
    if (!results) return false;
    for (const StationSetup& s : results->setups)
        for (const auto& [name, at] : {std::pair(s.strStationName, s.ptStation), std::pair(s.strBacksightName, s.ptBacksight)})
            if (p.strName == name || (p.dX == at.X && p.dY == at.Y)) return true;
    return false;
}

// The cells of one results row, the list's own fields; a message spans the row.
QStringList Cells(const StakeResult& r, const ResultSet& set) {
    const std::vector<std::string> fields = ResultFields(set, r);
    if (r.IsMessage()) return {QString::fromStdString(GbkToUtf8(fields.back()))};
    QStringList cells;
    for (const std::string& f : fields) cells << QString::fromStdString(GbkToUtf8(f));
    return cells;
}

}  // namespace

SettingOutSheet::SettingOutSheet(const PlanScene& scene, const SheetHeader& header)
    : scene_(scene), header_(header) {
    if (scene_.points)
        for (const PointRecord& p : *scene_.points)
            if (!IsSetupPoint(p, scene_.results)) points_.push_back(p);
    const double headerBottom = kMargin + kTitleHeight + HeaderLines().size() * kLineHeight + 8;
    const double tableBottom = kPageHeight - kMargin - kFooterHeight;
    // One row of each page goes to the column names.
    firstRows_ = std::max(0, static_cast<int>((tableBottom - headerBottom - kPlanHeight - 12) / kRowHeight) - 1);
    rowsPerPage_ = std::max(1, static_cast<int>((tableBottom - headerBottom) / kRowHeight) - 1);
    const std::size_t rows = RowCount();
    if (rows > static_cast<std::size_t>(firstRows_))
        pages_ = 1 + static_cast<int>((rows - firstRows_ + rowsPerPage_ - 1) / rowsPerPage_);
}

QStringList SettingOutSheet::HeaderLines() const {
    const bool settingOut = scene_.results && scene_.results->mode == ResultMode::SettingOut;
    QStringList lines;
    lines << QString::fromStdString(Format(text::kSheetFile, header_.strFile.c_str())) + QStringLiteral("    ") +
                 QString::fromUtf8(settingOut ? text::kSheetModeSettingOut : text::kSheetModeCoordinates) +
                 QStringLiteral("    ") + QString::fromStdString(Format(text::kSheetDate, header_.strDate.c_str()));
    if (!header_.strComputed.empty())
        lines << QString::fromStdString(Format(text::kSheetComputed, header_.strComputed.c_str()));
    // The range's ends as 桩号 where the road has station equations.
    const bool chained = Chained();
    const auto station = [&](double distance) {
        return chained ? ChainStationText(scene_.road->Chain().StationAt(distance)) : Format("%.3f", distance);
    };
    lines << QString::fromStdString(header_.bRange ? Format(chained ? text::kSheetChainRange : text::kSheetRange,
                                                            station(header_.dFrom).c_str(),
                                                            station(header_.dTo).c_str(),
                                                            header_.dInterval, header_.dOffset,
                                                            header_.strDeflection.c_str())
                                                   : Format(text::kSheetSingles, header_.dOffset,
                                                            header_.strDeflection.c_str()));
    if (settingOut)
        for (const StationSetup& s : scene_.results->setups)
            lines << QString::fromStdString(Format(text::kSheetSetup, GbkToUtf8(s.strStationName).c_str(),
                                                   s.ptStation.X, s.ptStation.Y, GbkToUtf8(s.strBacksightName).c_str(),
                                                   s.ptBacksight.X, s.ptBacksight.Y));
    return lines;
}

SheetPage SettingOutSheet::Page(int page) const {
    SheetPage p;
    p.header = HeaderLines();
    p.bPlan = page == 0;
    p.columns = ColumnNames();
    p.firstRow = page == 0 ? 0 : static_cast<std::size_t>(firstRows_) + static_cast<std::size_t>(page - 1) * rowsPerPage_;
    const std::size_t room = static_cast<std::size_t>(page == 0 ? firstRows_ : rowsPerPage_);
    p.rowCount = std::min(room, RowCount() - std::min(RowCount(), p.firstRow));
    p.signLine = QString::fromUtf8(text::kSheetSignLine);
    p.pageLine = QString::fromStdString(Format(text::kSheetPage, page + 1, pages_));
    return p;
}

void SettingOutSheet::PaintPage(QPainter& painter, int page, QSizeF pageSize) const {
    const SheetPage p = Page(page);
    painter.save();
    const double scale = std::min(pageSize.width() / kPageWidth, pageSize.height() / kPageHeight);
    painter.scale(scale, scale);
    painter.fillRect(QRectF(0, 0, kPageWidth, kPageHeight), Qt::white);
    double top = PaintHeader(painter, p.header);
    if (p.bPlan) {
        PaintPlan(painter, QRectF(kMargin, top, kPageWidth - 2 * kMargin, kPlanHeight));
        top += kPlanHeight + 12;
    }
    PaintTable(painter, top, p);
    painter.setFont(PaperFont(11));
    painter.setPen(Qt::black);
    const double width = kPageWidth - 2 * kMargin, foot = kPageHeight - kMargin - kFooterHeight;
    painter.drawText(QRectF(kMargin, foot + 8, width, kLineHeight), Qt::AlignLeft | Qt::AlignVCenter, p.signLine);
    painter.drawText(QRectF(kMargin, foot + 8 + kLineHeight + 4, width, kLineHeight), Qt::AlignHCenter | Qt::AlignVCenter,
                     p.pageLine);
    painter.restore();
}

double SettingOutSheet::PaintHeader(QPainter& painter, const QStringList& lines) const {
    const double width = kPageWidth - 2 * kMargin;
    painter.setPen(Qt::black);
    painter.setFont(PaperFont(18, true));
    painter.drawText(QRectF(kMargin, kMargin, width, kTitleHeight), Qt::AlignHCenter | Qt::AlignTop,
                     QString::fromUtf8(text::kSheetTitle));
    painter.setFont(PaperFont(11));
    double y = kMargin + kTitleHeight;
    for (const QString& line : lines) {
        painter.drawText(QRectF(kMargin, y, width, kLineHeight), Qt::AlignLeft | Qt::AlignVCenter, line);
        y += kLineHeight;
    }
    painter.drawLine(QPointF(kMargin, y + 3), QPointF(kMargin + width, y + 3));
    return y + 8;
}

void SettingOutSheet::PaintPlan(QPainter& painter, QRectF area) const {
    // The stakes of the range and the setups; the whole road when there are none.
    PlanScene shown = scene_;
    if (scene_.points) shown.points = &points_;
    PlanScene stakes = shown;
    stakes.road = nullptr;
    PlaneBox box = SceneBounds(stakes);
    if (box.Empty()) box = SceneBounds(shown);
    painter.save();
    painter.translate(area.topLeft());
    painter.setClipRect(QRectF(QPointF(0, 0), area.size()));
    painter.setFont(PaperFont(10));
    const ViewTransform view = ViewTransform::Fit(box, area.width(), area.height(), 30);
    PaintScene(painter, shown, view);
    PaintDecor(painter, view);  // where the labels kept clear of it
    painter.setClipping(false);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(QPointF(0, 0), area.size()));
    painter.restore();
}

// The stations are 桩号 where the road has station equations.
bool SettingOutSheet::Chained() const { return scene_.road && !scene_.road->Chain().Empty(); }

QStringList SettingOutSheet::ColumnNames() const {
    const bool settingOut = scene_.results && scene_.results->mode == ResultMode::SettingOut;
    const auto names = settingOut ? text::kSheetSettingOutColumns : text::kSheetCoordinateColumns;
    QStringList header;
    for (int c = 0; c < 5; ++c) header << QString::fromUtf8(c == 0 && Chained() ? text::kSheetChainColumn : names[c]);
    if (scene_.results && scene_.results->bHeights) header << QString::fromUtf8(text::kSheetElevationColumn);
    return header;
}

void SettingOutSheet::PaintTable(QPainter& painter, double top, const SheetPage& page) const {
    if (!scene_.results) return;
    const ResultSet& set = *scene_.results;
    const double width = kPageWidth - 2 * kMargin;
    const QStringList& header = page.columns;
    const double* shares = set.bHeights ? kHeightColumns : kColumns;
    auto row = [&](const QStringList& cells, double y) {
        double x = kMargin;
        if (cells.size() == 1) {  // a message spans the row
            painter.drawText(QRectF(x + 4, y, width - 8, kRowHeight), Qt::AlignLeft | Qt::AlignVCenter, cells[0]);
            return;
        }
        for (int c = 0; c < cells.size() && c < header.size(); ++c) {
            painter.drawText(QRectF(x + 4, y, width * shares[c] - 8, kRowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                             cells[c]);
            x += width * shares[c];
        }
    };
    painter.setPen(Qt::black);
    painter.setFont(PaperFont(11, true));
    row(header, top);
    painter.drawLine(QPointF(kMargin, top + kRowHeight), QPointF(kMargin + width, top + kRowHeight));
    painter.setFont(PaperFont(11));
    for (std::size_t i = 0; i < page.rowCount; ++i)
        row(Cells(set.rows[page.firstRow + i], set), top + kRowHeight * (i + 1));
}

}  // namespace vexaline::plan
