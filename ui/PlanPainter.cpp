#include "ui/PlanPainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>
#include <cmath>

#include "core/plan/Declutter.h"
#include "core/plan/Sampling.h"
#include "core/text/Gbk.h"
#include "core/text/StationText.h"
#include "core/text/Texts.h"

namespace vexaline::plan {
namespace {

QPointF At(const ViewTransform& view, CPlanePoint p) {
    const ScreenPoint s = view.ToScreen(p);
    return {s.u, s.v};
}

QColor Colour(unsigned rgb) { return QColor::fromRgb(rgb); }

QColor ElementColour(const Element& e, bool flagged) {
    if (flagged) return Colour(PlanColours::kFlagged);
    if (e.fault != ElementFault::None) return Colour(PlanColours::kUnusable);
    switch (e.type) {
    case LineType::Straight: return Colour(PlanColours::kStraight);
    case LineType::Circular: return Colour(PlanColours::kCircular);
    case LineType::Transition: return Colour(PlanColours::kTransition);
    default: return Colour(PlanColours::kUnusable);
    }
}

// Labels placed so far, the picture's own sieve; labels keep clear of marks
// only by their offset from them.
class Labels {
public:
    Labels(QPainter& painter, const ViewTransform& view)
        : painter_(painter), metrics_(painter.font()),
          sieve_(static_cast<int>(view.Width()), static_cast<int>(view.Height()), metrics_.height() * 4) {}

    // Draws the text with its left baseline at `at` when it overlaps no label.
    bool Place(QPointF at, const QString& text) {
        const QRectF box(at.x(), at.y() - metrics_.ascent(), metrics_.horizontalAdvance(text), metrics_.height());
        if (!sieve_.Take({box.left() - 2, box.top() - 1, box.right() + 2, box.bottom() + 1})) return false;
        painter_.drawText(at, text);
        return true;
    }

private:
    QPainter& painter_;
    QFontMetricsF metrics_;
    LabelSieve sieve_;
};

ScreenBox Frame(const ViewTransform& view) { return {-8, -8, view.Width() + 8, view.Height() + 8}; }

// The polyline in runs that lie in the picture.
void DrawClipped(QPainter& painter, const ViewTransform& view, const std::vector<PlanSample>& samples) {
    const ScreenBox frame = Frame(view);
    QPolygonF run;
    auto flush = [&] {
        if (run.size() > 1) painter.drawPolyline(run);
        run.clear();
    };
    for (std::size_t i = 1; i < samples.size(); ++i) {
        ScreenPoint a = view.ToScreen(samples[i - 1].point), b = view.ToScreen(samples[i].point);
        const ScreenPoint end = b;
        if (!ClipToBox(a, b, frame)) {
            flush();
            continue;
        }
        if (run.isEmpty()) run << QPointF(a.u, a.v);
        run << QPointF(b.u, b.v);
        if (b.u != end.u || b.v != end.v) flush();  // left the picture
    }
    flush();
}

// A straight line, the part of it in the picture.
void DrawLine(QPainter& painter, const ViewTransform& view, CPlanePoint from, CPlanePoint to) {
    ScreenPoint a = view.ToScreen(from), b = view.ToScreen(to);
    if (ClipToBox(a, b, Frame(view))) painter.drawLine(QPointF(a.u, a.v), QPointF(b.u, b.v));
}

void PaintCentreline(QPainter& painter, const PlanScene& scene, const ViewTransform& view) {
    const Alignment& road = *scene.road;
    const PlaneBox visible = view.Visible();
    const double tolerance = 0.5 / view.Scale();  // half a pixel
    for (std::size_t e = 0; e < road.Elements().size(); ++e) {
        const Element& el = road.Elements()[e];
        const bool flagged = e < scene.flagged.size() && scene.flagged[e];
        QPen pen(ElementColour(el, flagged), flagged ? 3 : 2);
        const double length = el.dEndStation - el.dStartStation, chord = el.ptStart.Distance(el.ptEnd);
        PlaneBox box;
        box.Add(el.ptStart), box.Add(el.ptEnd);
        const double reach = std::sqrt(std::max(length * length - chord * chord, 0.0)) * 0.5 + chord;
        if (!box.Grown(reach).Intersects(visible)) continue;
        if (el.fault != ElementFault::None) {  // no geometry: the chord, dashed
            pen.setStyle(Qt::DashLine);
            painter.setPen(pen);
            DrawLine(painter, view, el.ptStart, el.ptEnd);
            continue;
        }
        const CentrelineAt at = [&road, e](double s) {
            const Stake k = road.At(e, s, 0, 0);
            return PlanSample{s, k.point, k.dAzimuth};
        };
        const std::vector<PlanSample> samples =
            SampleElement(at, el.dStartStation, el.dEndStation, tolerance, visible.Grown(4 / view.Scale()));
        painter.setPen(pen);
        DrawClipped(painter, view, samples);
    }
}

void PaintChangePoints(QPainter& painter, const PlanScene& scene, const ViewTransform& view, Labels& labels) {
    painter.setBrush(Qt::white);
    painter.setPen(QPen(Qt::black, 1.2));
    for (const ChangePoint& row : scene.road->Rows()) {
        if (!row.HasPoint()) continue;
        const QPointF p = At(view, row.Point());
        if (p.x() < -50 || p.y() < -50 || p.x() > view.Width() + 50 || p.y() > view.Height() + 50) continue;
        painter.drawEllipse(p, 3.5, 3.5);
        const std::string type = GbkToUtf8(LineTypeText(row.type));
        const QString label = QString::fromStdString(row.station ? KStation(*row.station) + " " + type : type);
        labels.Place(p + QPointF(7, -5), label);
    }
}

QPolygonF Triangle(QPointF at, double size) {
    return QPolygonF({at + QPointF(0, -size), at + QPointF(size * 0.87, size * 0.5), at + QPointF(-size * 0.87, size * 0.5)});
}

void PaintSetupsAndPoints(QPainter& painter, const PlanScene& scene, const ViewTransform& view, Labels& labels) {
    if (scene.points) {
        painter.setPen(QPen(Colour(PlanColours::kPoint), 1.2));
        painter.setBrush(Qt::NoBrush);
        for (const PointRecord& p : *scene.points) {
            const QPointF at = At(view, CPlanePoint(p.dX, p.dY));
            if (at.x() < -50 || at.y() < -50 || at.x() > view.Width() + 50 || at.y() > view.Height() + 50) continue;
            painter.drawPolygon(Triangle(at, 5));
            labels.Place(at + QPointF(7, 12), QString::fromStdString(GbkToUtf8(p.strName)));
        }
    }
    if (!scene.results || scene.results->mode != ResultMode::SettingOut) return;
    const QColor ink = scene.staleResults ? Colour(PlanColours::kStale) : QColor(Qt::black);
    for (const StationSetup& s : scene.results->setups) {
        const QPointF station = At(view, s.ptStation), backsight = At(view, s.ptBacksight);
        QPen dashed(ink, 1.2, Qt::DashLine);
        painter.setPen(dashed);
        DrawLine(painter, view, s.ptStation, s.ptBacksight);
        painter.setPen(QPen(ink, 1.2));
        painter.setBrush(ink);
        painter.drawPolygon(Triangle(station, 7));
        painter.setBrush(Qt::white);
        painter.drawEllipse(backsight, 5, 5);
        painter.drawLine(backsight - QPointF(5, 0), backsight + QPointF(5, 0));
        painter.drawLine(backsight - QPointF(0, 5), backsight + QPointF(0, 5));
        labels.Place(station + QPointF(9, -6), QString::fromUtf8(text::kPlanStation) + QStringLiteral(" ") +
                                                   QString::fromStdString(GbkToUtf8(s.strStationName)));
        labels.Place(backsight + QPointF(8, -6), QString::fromUtf8(text::kPlanBacksight) + QStringLiteral(" ") +
                                                     QString::fromStdString(GbkToUtf8(s.strBacksightName)));
    }
}

// One mark per pixel: a million stakes cost a pass over the values and as
// many marks as the picture has pixels on the road.
void PaintStakes(QPainter& painter, const PlanScene& scene, const ViewTransform& view, Labels& labels) {
    const ResultSet& results = *scene.results;
    const bool settingOut = results.mode == ResultMode::SettingOut;
    PixelSieve pixels(static_cast<int>(view.Width()), static_cast<int>(view.Height()));
    QVector<QPointF> centre, side;
    QVector<QLineF> rays;
    std::vector<std::pair<QPointF, double>> named;  // mark and station, in list order
    for (const StakeResult& r : results.rows) {
        if (r.IsMessage()) continue;
        const ScreenPoint s = view.ToScreen(r.point);
        if (!pixels.Take(s.u, s.v)) continue;
        const QPointF at(s.u, s.v);
        (r.dOffset != 0 ? side : centre) << at;
        if (settingOut && r.nSetup >= 0 && static_cast<std::size_t>(r.nSetup) < results.setups.size()) {
            ScreenPoint from = view.ToScreen(results.setups[r.nSetup].ptStation), to = s;
            if (ClipToBox(from, to, Frame(view))) rays << QLineF(from.u, from.v, to.u, to.v);
        }
        named.emplace_back(at, r.dStation);
    }
    // Stakes of another road are greyed, all alike.
    const bool stale = scene.staleResults;
    painter.setPen(QPen(Colour(stale ? PlanColours::kStale : PlanColours::kRay), 1));
    painter.drawLines(rays);
    QPen mark(Colour(stale ? PlanColours::kStale : PlanColours::kCentreStake), 4, Qt::SolidLine, Qt::SquareCap);
    painter.setPen(mark);
    painter.drawPoints(centre);
    mark.setColor(Colour(stale ? PlanColours::kStale : PlanColours::kSideStake));
    painter.setPen(mark);
    painter.drawPoints(side);
    painter.setPen(Colour(stale ? PlanColours::kStale : PlanColours::kCentreStake));
    for (const auto& [at, station] : named) labels.Place(at + QPointF(5, -4), QString::fromStdString(KStation(station)));
}

}  // namespace

PlaneBox SceneBounds(const PlanScene& scene) {
    PlaneBox box;
    if (scene.road)
        for (const ChangePoint& row : scene.road->Rows())
            if (row.HasPoint() && std::isfinite(*row.x) && std::isfinite(*row.y)) box.Add(row.Point());
    if (scene.results) {
        for (const StakeResult& r : scene.results->rows)
            if (!r.IsMessage() && std::isfinite(r.point.X) && std::isfinite(r.point.Y)) box.Add(r.point);
        for (const StationSetup& s : scene.results->setups) box.Add(s.ptStation), box.Add(s.ptBacksight);
    }
    return box;
}

void PaintScene(QPainter& painter, const PlanScene& scene, const ViewTransform& view) {
    painter.save();
    Labels labels(painter, view);
    if (scene.road) {
        painter.setRenderHint(QPainter::Antialiasing, true);
        PaintCentreline(painter, scene, view);
        PaintChangePoints(painter, scene, view, labels);
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    PaintSetupsAndPoints(painter, scene, view, labels);
    if (scene.results) PaintStakes(painter, scene, view, labels);
    painter.restore();
}

}  // namespace vexaline::plan
