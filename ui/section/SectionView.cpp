#include "ui/section/SectionView.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numeric>

#include "core/plan/SectionSheet.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "ui/toolkit/SheetPainter.h"

using namespace vexaline;

// Clusters of touching labels, each at the mean of its members' wishes,
// merged while they overlap: the least total move that keeps them apart.
std::vector<double> SpreadLabels(const std::vector<double>& wanted, double width, double low, double high) {
    const std::size_t n = wanted.size();
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return wanted[a] < wanted[b]; });
    const bool fits = width * static_cast<double>(n) <= high - low;
    struct Cluster {
        std::size_t first, count;
        double left;
    };
    auto place = [&](Cluster& c) {
        double sum = 0;
        for (std::size_t i = 0; i < c.count; ++i) sum += wanted[order[c.first + i]] - width * static_cast<double>(i);
        c.left = sum / static_cast<double>(c.count);
        // Room kept for the labels before it and after it.
        if (fits)
            c.left = std::clamp(c.left, low + width * static_cast<double>(c.first),
                                high - width * static_cast<double>(n - c.first));
    };
    std::vector<Cluster> clusters;
    for (std::size_t k = 0; k < n; ++k) {
        clusters.push_back({k, 1, 0});
        place(clusters.back());
        while (clusters.size() > 1) {
            Cluster& before = clusters[clusters.size() - 2];
            if (before.left + width * static_cast<double>(before.count) <= clusters.back().left) break;
            before.count += clusters.back().count;
            clusters.pop_back();
            place(clusters.back());
        }
    }
    std::vector<double> placed(n);
    for (const Cluster& c : clusters)
        for (std::size_t i = 0; i < c.count; ++i) placed[order[c.first + i]] = c.left + width * static_cast<double>(i);
    return placed;
}

namespace {

// Under the drawing: 填高 or 挖深 at the centre and the areas, or nothing without the ground.
std::string EarthLine(const EarthSection* earth) {
    std::string line;
    if (earth && earth->centreFill)
        line = Format(*earth->centreFill >= 0 ? text::kSectionSheetFillHeight : text::kSectionSheetCutDepth,
                      std::fabs(*earth->centreFill));
    if (earth && earth->area)
        line += (line.empty() ? "" : "    ") + Format(text::kSectionSheetAreas, earth->area->dFill, earth->area->dCut);
    return line;
}

}  // namespace

CSectionView::CSectionView(QWidget* parent) : QWidget(parent) {
    setMinimumSize(400, 260);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

void CSectionView::SetSection(std::optional<CrossSection> section, const QString& title,
                              std::optional<EarthSection> earth, std::optional<GroundSection> ground) {
    section_ = std::move(section);
    earth_ = std::move(earth);
    ground_ = std::move(ground);
    title_ = title;
    boxes_.clear();
    update();
}

void CSectionView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    boxes_.clear();
    const QFontMetricsF metrics(font());
    painter.drawText(QRectF(0, 4, width(), metrics.height()), Qt::AlignHCenter, title_);
    if (!section_ || section_->IsMessage()) return;
    const CrossSection& c = *section_;
    // The surface across: left edge to centre, then centre to right edge.
    struct Mark {
        double offset;
        double h;
        QString label;
    };
    std::vector<Mark> marks;
    auto label = [](double offset, const std::optional<double>& h) {
        return QString::fromStdString(Format("%.3f", offset) + (h ? Format("  %.3f", *h) : std::string()));
    };
    const double h0 = c.centreElevation.value_or(0);
    marks.push_back({0, h0, label(0, c.centreElevation)});
    for (const SectionPoint& p : c.points) marks.push_back({p.dOffset, p.elevation.value_or(h0), label(p.dOffset, p.elevation)});
    const EarthSection* earth = earth_ ? &*earth_ : nullptr;
    const SectionOutline outline = OutlineOf(c, earth, ground_ ? &*ground_ : nullptr);
    for (const std::optional<CatchSide>* side : {earth ? &earth->left : nullptr, earth ? &earth->right : nullptr})
        if (side && *side) {
            const SlopeVertex& v = (*side)->Catch();
            const char* name = (*side)->kind == SideSlopeKind::Fill ? text::kGroundToe : text::kGroundTop;
            marks.push_back({v.dOffset, v.dElevation, QString::fromUtf8(name) + "  " + label(v.dOffset, v.dElevation)});
        }
    std::vector<std::size_t> across(marks.size());
    std::iota(across.begin(), across.end(), 0);
    std::stable_sort(across.begin(), across.end(), [&](std::size_t a, std::size_t b) { return marks[a].offset < marks[b].offset; });

    double minO = 0, maxO = 0, minH = h0, maxH = h0, longest = 0;
    for (const Mark& m : marks) {
        minO = std::min(minO, m.offset), maxO = std::max(maxO, m.offset);
        minH = std::min(minH, m.h), maxH = std::max(maxH, m.h);
        longest = std::max(longest, metrics.horizontalAdvance(m.label));
    }
    for (const auto* line : {&outline.design, &outline.ground})
        for (const GroundPoint& p : *line) {
            minO = std::min(minO, p.dOffset), maxO = std::max(maxO, p.dOffset);
            minH = std::min(minH, p.dElevation), maxH = std::max(maxH, p.dElevation);
        }
    const double margin = 24, top = metrics.height() * 2 + longest + 12, bottom = height() - margin - metrics.height();
    const double sx = (width() - 2 * margin) / std::max(maxO - minO, 1.0);
    const double sy = std::min(sx * kExaggeration, (bottom - top - 8) / std::max(maxH - minH, 0.01));
    auto at = [&](double offset, double h) { return QPointF(margin + (offset - minO) * sx, bottom - (h - minH) * sy); };

    const auto path = [&](const std::vector<GroundPoint>& points) {
        QPainterPath line;
        for (const GroundPoint& p : points)
            &p == points.data() ? line.moveTo(at(p.dOffset, p.dElevation)) : line.lineTo(at(p.dOffset, p.dElevation));
        return line;
    };
    using platform::InkColour;
    for (const EarthRegion& r : outline.regions) painter.fillPath(path(r.ring), InkColour(r.bFill ? SheetInk::Fill : SheetInk::Cut));
    painter.setPen(Qt::gray);
    painter.drawText(QPointF(margin, height() - 6),
                     QString::fromStdString(Format(text::kSectionExaggeration, static_cast<int>(kExaggeration))));
    painter.setPen(Qt::black);
    painter.drawText(QRectF(0, height() - 6 - metrics.ascent(), width() - margin, metrics.height()), Qt::AlignRight,
                     QString::fromStdString(EarthLine(earth)));
    painter.setPen(QPen(Qt::gray, 1, Qt::DashLine));
    painter.drawLine(at(0, minH) + QPointF(0, 8), QPointF(at(0, minH).x(), top));
    if (outline.ground.size() >= 2) painter.strokePath(path(outline.ground), QPen(InkColour(SheetInk::Ground), 1.5));
    std::vector<GroundPoint> surface;
    for (std::size_t k : across) surface.push_back({marks[k].offset, marks[k].h});
    painter.setPen(QPen(QColor(0x1f, 0x5f, 0xbf), 2));
    painter.drawPath(path(outline.design.empty() ? surface : outline.design));

    // Upright labels above the points, spread so none covers another.
    const double w = metrics.height();
    std::vector<double> wanted;
    for (const Mark& m : marks) wanted.push_back(at(m.offset, m.h).x() - w / 2);
    const std::vector<double> placed = SpreadLabels(wanted, w, 0, width());
    painter.setPen(Qt::black);
    for (std::size_t i = 0; i < marks.size(); ++i) {
        const QPointF p = at(marks[i].offset, marks[i].h);
        painter.drawEllipse(p, 2.5, 2.5);
        const QRectF box(placed[i], metrics.height() * 2, w, longest);
        boxes_.push_back(box);
        painter.setPen(QPen(Qt::gray, 0.5));
        painter.drawLine(p, QPointF(box.center().x(), box.bottom() + 2));
        painter.setPen(Qt::black);
        painter.save();
        painter.translate(box.left(), box.bottom());
        painter.rotate(-90);
        painter.drawText(QRectF(0, 0, box.height(), box.width()), Qt::AlignLeft | Qt::AlignVCenter, marks[i].label);
        painter.restore();
    }
}
