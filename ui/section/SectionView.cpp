#include "ui/section/SectionView.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <numeric>

#include "core/text/TextFields.h"
#include "core/text/Texts.h"

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

CSectionView::CSectionView(QWidget* parent) : QWidget(parent) {
    setMinimumSize(400, 260);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

void CSectionView::SetSection(std::optional<CrossSection> section, const QString& title) {
    section_ = std::move(section);
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
    std::vector<std::size_t> across(marks.size());
    std::iota(across.begin(), across.end(), 0);
    std::stable_sort(across.begin(), across.end(), [&](std::size_t a, std::size_t b) { return marks[a].offset < marks[b].offset; });

    double minO = 0, maxO = 0, minH = h0, maxH = h0, longest = 0;
    for (const Mark& m : marks) {
        minO = std::min(minO, m.offset), maxO = std::max(maxO, m.offset);
        minH = std::min(minH, m.h), maxH = std::max(maxH, m.h);
        longest = std::max(longest, metrics.horizontalAdvance(m.label));
    }
    const double margin = 24, top = metrics.height() * 2 + longest + 12, bottom = height() - margin;
    const double sx = (width() - 2 * margin) / std::max(maxO - minO, 1.0);
    const double sy = std::min(sx * kExaggeration, (bottom - top - 8) / std::max(maxH - minH, 0.01));
    auto at = [&](double offset, double h) { return QPointF(margin + (offset - minO) * sx, bottom - (h - minH) * sy); };

    painter.setPen(Qt::gray);
    painter.drawText(QPointF(margin, height() - 6),
                     QString::fromStdString(Format(text::kSectionExaggeration, static_cast<int>(kExaggeration))));
    painter.setPen(QPen(Qt::gray, 1, Qt::DashLine));
    painter.drawLine(at(0, minH) + QPointF(0, 8), QPointF(at(0, minH).x(), top));
    QPainterPath line;
    for (std::size_t k = 0; k < across.size(); ++k) {
        const QPointF p = at(marks[across[k]].offset, marks[across[k]].h);
        k == 0 ? line.moveTo(p) : line.lineTo(p);
    }
    painter.setPen(QPen(QColor(0x1f, 0x5f, 0xbf), 2));
    painter.drawPath(line);

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
