#include "ui/plan/PlanPainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>

#include "core/plan/LabelPlacement.h"
#include "core/plan/Sampling.h"
#include "core/road/Chainage.h"
#include "core/text/Gbk.h"
#include "core/text/StationText.h"
#include "core/text/Texts.h"

namespace vexaline::plan {
namespace {

constexpr double kHalo = 2;       // pixels of light outline round a label's text
constexpr double kRayCell = 4;    // one ray per cell this many pixels wide of the stakes it reaches

QPointF At(const ViewTransform& view, CPlanePoint p) {
    const ScreenPoint s = view.ToScreen(p);
    return {s.u, s.v};
}

QColor Colour(unsigned rgb) { return QColor::fromRgb(rgb); }

unsigned TypeColour(LineType type) {
    switch (type) {
    case LineType::Straight: return PlanColours::kStraight;
    case LineType::Circular: return PlanColours::kCircular;
    case LineType::Transition: return PlanColours::kTransition;
    default: return PlanColours::kUnusable;
    }
}

QColor ElementColour(const Element& e, bool flagged) {
    if (flagged) return Colour(PlanColours::kFlagged);
    return Colour(e.fault != ElementFault::None ? PlanColours::kUnusable : TypeColour(e.type));
}

QString Utf8(const std::string& gbk) { return QString::fromStdString(GbkToUtf8(gbk)); }

// The labels of one picture. Marks are blocked as they are drawn; labels
// are asked for in order of importance, set once every mark is known, and
// drawn last, each on a halo, so that no line crosses a text.
class Labels {
public:
    Labels(const QFont& font, const ViewTransform& view, const std::vector<ScreenBox>& keepClear)
        : font_(font), metrics_(font), placer_(view.Width(), view.Height()), cell_(std::max(metrics_.height(), 1.0)),
          stationCells_(static_cast<int>(view.Width() / cell_) + 1, static_cast<int>(view.Height() / cell_) + 1) {
        for (const ScreenBox& box : keepClear) placer_.Block(box);
    }

    // A mark reaching `radius` pixels from `at`.
    void Mark(QPointF at, double radius) {
        placer_.Block({at.x() - radius, at.y() - radius, at.x() + radius, at.y() + radius});
    }
    void Block(const ScreenBox& box) { placer_.Block(box); }
    void Cross(QPointF a, QPointF b) { placer_.Cross({a.x(), a.y()}, {b.x(), b.y()}); }
    void Ask(QPointF anchor, double clearance, QString text, QColor ink) {
        asked_.push_back({anchor, clearance, std::move(text), ink});
    }
    // A stake's station, asked for when no stake of its cell (a label high)
    // was: its K station, or its 桩号 as its name gives it (side left out).
    void AskStation(QPointF anchor, const StakeResult& stake, QColor ink) {
        if (!stationCells_.Take(anchor.x() / cell_, anchor.y() / cell_)) return;
        StakeResult centre = stake;
        centre.dOffset = 0;
        Ask(anchor, 4, QString::fromStdString(StakeNameOf(centre)), ink);
    }

    std::vector<PlacedLabel> SetAndDraw(QPainter& painter) {
        std::vector<PlacedLabel> placed;
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setFont(font_);
        for (const Asked& a : asked_) {
            const double w = metrics_.horizontalAdvance(a.text) + 2 * kHalo, h = metrics_.height() + 2 * kHalo;
            const auto box = placer_.Place({a.anchor.x(), a.anchor.y()}, w, h, a.clearance);
            if (!box) continue;
            const QPointF baseline(box->u0 + kHalo, box->v0 + kHalo + metrics_.ascent());
            DrawOnHalo(painter, baseline, a.text, a.ink);
            placed.push_back({*box, a.text, baseline});
        }
        return placed;
    }

private:
    // On a picture of pixels the halo is the text drawn in white round
    // itself, whole pixels off (the painter snaps text to pixels), from
    // glyphs it has cached; on paper and in vector files it is the outline
    // of the glyphs stroked, and the text stays text.
    void DrawOnHalo(QPainter& painter, QPointF baseline, const QString& text, QColor ink) {
        const int device = painter.device()->devType();
        if (device == QInternal::Image || device == QInternal::Widget || device == QInternal::Pixmap) {
            painter.setPen(Qt::white);
            for (QPointF d : {QPointF(-1, -1), QPointF(0, -1), QPointF(1, -1), QPointF(-1, 0), QPointF(1, 0),
                              QPointF(-1, 1), QPointF(0, 1), QPointF(1, 1), QPointF(-2, 0), QPointF(2, 0),
                              QPointF(0, -2), QPointF(0, 2)})
                painter.drawText(baseline + d, text);
        } else {
            QPainterPath outline;
            outline.addText(baseline, font_, text);
            painter.strokePath(outline, QPen(Qt::white, 2 * kHalo, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        }
        painter.setPen(ink);
        painter.drawText(baseline, text);
    }

    struct Asked {
        QPointF anchor;
        double clearance;
        QString text;
        QColor ink;
    };
    QFont font_;
    QFontMetricsF metrics_;
    LabelPlacer placer_;
    double cell_;
    PixelSieve stationCells_;
    std::vector<Asked> asked_;
};

ScreenBox Frame(const ViewTransform& view) { return {-8, -8, view.Width() + 8, view.Height() + 8}; }

bool Near(const ViewTransform& view, QPointF p) {
    return p.x() >= -50 && p.y() >= -50 && p.x() <= view.Width() + 50 && p.y() <= view.Height() + 50;
}

// The polyline in runs that lie in the picture, crossing the labels' places.
void DrawClipped(QPainter& painter, const ViewTransform& view, const std::vector<PlanSample>& samples, Labels& labels) {
    const ScreenBox frame = Frame(view);
    QPolygonF run;
    auto flush = [&] {
        if (run.size() > 1) painter.drawPolyline(run);
        for (int i = 1; i < run.size(); ++i) labels.Cross(run[i - 1], run[i]);
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

// A straight line, the part of it in the picture, crossing the labels' places.
void DrawLine(QPainter& painter, const ViewTransform& view, CPlanePoint from, CPlanePoint to, Labels& labels) {
    ScreenPoint a = view.ToScreen(from), b = view.ToScreen(to);
    if (!ClipToBox(a, b, Frame(view))) return;
    painter.drawLine(QPointF(a.u, a.v), QPointF(b.u, b.v));
    labels.Cross(QPointF(a.u, a.v), QPointF(b.u, b.v));
}

void PaintCentreline(QPainter& painter, const PlanScene& scene, const ViewTransform& view, Labels& labels) {
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
            DrawLine(painter, view, el.ptStart, el.ptEnd, labels);
            continue;
        }
        const CentrelineAt at = [&road, e](double s) {
            const Stake k = road.At(e, s, 0, 0);
            return PlanSample{s, k.point, k.dAzimuth};
        };
        const std::vector<PlanSample> samples =
            SampleElement(at, el.dStartStation, el.dEndStation, tolerance, visible.Grown(4 / view.Scale()));
        painter.setPen(pen);
        DrawClipped(painter, view, samples, labels);
    }
}

void PaintChangePoints(QPainter& painter, const PlanScene& scene, const ViewTransform& view, Labels& labels) {
    painter.setBrush(Qt::white);
    painter.setPen(QPen(Qt::black, 1.2));
    for (const ChangePoint& row : scene.road->Rows()) {
        if (!row.HasPoint()) continue;
        const QPointF p = At(view, row.Point());
        if (!Near(view, p)) continue;
        painter.drawEllipse(p, 3.5, 3.5);
        labels.Mark(p, 4.5);
        const QString type = Utf8(LineTypeText(row.type));
        const QString station =
            row.station ? QString::fromStdString(KStationOf(scene.road->Chain(), *row.station)) + " " : QString();
        labels.Ask(p, 6, station + type, Qt::black);
    }
}

QPolygonF Triangle(QPointF at, double size) {
    return QPolygonF({at + QPointF(0, -size), at + QPointF(size * 0.87, size * 0.5), at + QPointF(-size * 0.87, size * 0.5)});
}

void PaintSetups(QPainter& painter, const PlanScene& scene, const ViewTransform& view, Labels& labels) {
    const QColor ink = scene.staleResults ? Colour(PlanColours::kStale) : QColor(Qt::black);
    for (const StationSetup& s : scene.results->setups) {
        const QPointF station = At(view, s.ptStation), backsight = At(view, s.ptBacksight);
        painter.setPen(QPen(ink, 1.2, Qt::DashLine));
        DrawLine(painter, view, s.ptStation, s.ptBacksight, labels);
        painter.setPen(QPen(ink, 1.2));
        painter.setBrush(ink);
        painter.drawPolygon(Triangle(station, 7));
        painter.setBrush(Qt::white);
        painter.drawEllipse(backsight, 5, 5);
        painter.drawLine(backsight - QPointF(5, 0), backsight + QPointF(5, 0));
        painter.drawLine(backsight - QPointF(0, 5), backsight + QPointF(0, 5));
        labels.Mark(station, 8), labels.Mark(backsight, 6);
        labels.Ask(station, 9, QString::fromUtf8(text::kPlanStation) + " " + Utf8(s.strStationName), ink);
        labels.Ask(backsight, 8, QString::fromUtf8(text::kPlanBacksight) + " " + Utf8(s.strBacksightName), ink);
    }
}

// The station or backsight of a setup: labelled as such, not again.
bool InSetup(const PlanScene& scene, const PointRecord& p) {
    if (!scene.results || scene.results->mode != ResultMode::SettingOut) return false;
    const CPlanePoint at(p.dX, p.dY);
    for (const StationSetup& s : scene.results->setups)
        if ((s.strStationName == p.strName && s.ptStation.X == at.X && s.ptStation.Y == at.Y) ||
            (s.strBacksightName == p.strName && s.ptBacksight.X == at.X && s.ptBacksight.Y == at.Y))
            return true;
    return false;
}

void PaintPoints(QPainter& painter, const PlanScene& scene, const ViewTransform& view, Labels& labels) {
    painter.setPen(QPen(Colour(PlanColours::kPoint), 1.2));
    painter.setBrush(Qt::NoBrush);
    for (const PointRecord& p : *scene.points) {
        const QPointF at = At(view, CPlanePoint(p.dX, p.dY));
        if (!Near(view, at)) continue;
        painter.drawPolygon(Triangle(at, 5));
        labels.Mark(at, 6);
        if (!InSetup(scene, p)) labels.Ask(at, 7, Utf8(p.strName), Colour(PlanColours::kPoint));
    }
}

// One mark per pixel and one ray per cell of kRayCell pixels: a million
// stakes cost a pass over the values and as many marks as the picture has
// pixels on the road.
void PaintStakes(QPainter& painter, const PlanScene& scene, const ViewTransform& view, Labels& labels) {
    const ResultSet& results = *scene.results;
    const bool settingOut = results.mode == ResultMode::SettingOut;
    const int width = static_cast<int>(view.Width()), height = static_cast<int>(view.Height());
    PixelSieve pixels(width, height), rayCells(width / kRayCell + 1, height / kRayCell + 1);
    QVector<QPointF> centre, side;
    QVector<QLineF> rays;
    // Stakes of another road are greyed, all alike.
    const QColor ink = Colour(scene.staleResults ? PlanColours::kStale : PlanColours::kCentreStake);
    for (const StakeResult& r : results.rows) {
        if (r.IsMessage()) continue;
        const ScreenPoint s = view.ToScreen(r.point);
        if (!pixels.Take(s.u, s.v)) continue;
        const QPointF at(s.u, s.v);
        (r.dOffset != 0 ? side : centre) << at;
        labels.Mark(at, 2.5);
        labels.AskStation(at, r, ink);
        if (settingOut && r.nSetup >= 0 && static_cast<std::size_t>(r.nSetup) < results.setups.size() &&
            rayCells.Take(s.u / kRayCell, s.v / kRayCell)) {
            ScreenPoint from = view.ToScreen(results.setups[r.nSetup].ptStation), to = s;
            if (ClipToBox(from, to, Frame(view))) rays << QLineF(from.u, from.v, to.u, to.v);
        }
    }
    const bool stale = scene.staleResults;
    painter.setPen(QPen(Colour(stale ? PlanColours::kStale : PlanColours::kRay), 1));
    painter.drawLines(rays);
    QPen mark(ink, 4, Qt::SolidLine, Qt::SquareCap);
    painter.setPen(mark);
    painter.drawPoints(centre);
    mark.setColor(Colour(stale ? PlanColours::kStale : PlanColours::kSideStake));
    painter.setPen(mark);
    painter.drawPoints(side);
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

std::vector<LegendEntry> LegendEntries(const PlanScene& scene) {
    std::vector<LegendEntry> entries;
    if (scene.road && !scene.road->Elements().empty())
        for (LineType type : {LineType::Straight, LineType::Circular, LineType::Transition})
            entries.push_back({TypeColour(type), Utf8(LineTypeText(type)), true});
    for (bool flag : scene.flagged)
        if (flag) {
            entries.push_back({PlanColours::kFlagged, QString::fromUtf8(text::kPlanLegendFlagged), true});
            break;
        }
    if (scene.staleResults && scene.results && !scene.results->rows.empty())
        entries.push_back({PlanColours::kStale, QString::fromUtf8(text::kPlanLegendStale), false});
    // Measured points (检核), when the scene shows them: add here one entry
    // per colour in use (in and out of tolerance), only when there are such points.
    return entries;
}

QSizeF LabelRoom(const QFont& font) {
    const QFontMetricsF metrics(font);
    const QString widest = QString::fromStdString(KStation(0)) + " " + Utf8(LineTypeText(LineType::Transition));
    return {std::max(24.0, metrics.horizontalAdvance(widest) / 2 + 12), 24 + metrics.height()};
}

std::vector<PlacedLabel> PaintScene(QPainter& painter, const PlanScene& scene, const ViewTransform& view) {
    return PaintScene(painter, scene, view, DecorBoxes(StandardDecor(QSizeF(view.Width(), view.Height()))));
}

std::vector<PlacedLabel> PaintScene(QPainter& painter, const PlanScene& scene, const ViewTransform& view,
                                    const std::vector<ScreenBox>& keepClear) {
    painter.save();
    Labels labels(painter.font(), view, keepClear);
    const std::vector<LegendEntry> legend = LegendEntries(scene);
    const QRectF legendBox = LegendBox(QFontMetricsF(painter.font()), legend, QSizeF(view.Width(), view.Height()));
    if (!legendBox.isEmpty()) labels.Block({legendBox.left(), legendBox.top(), legendBox.right(), legendBox.bottom()});
    if (scene.road) {
        painter.setRenderHint(QPainter::Antialiasing, true);
        PaintCentreline(painter, scene, view, labels);
        PaintChangePoints(painter, scene, view, labels);
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (scene.results && scene.results->mode == ResultMode::SettingOut) PaintSetups(painter, scene, view, labels);
    if (scene.points) PaintPoints(painter, scene, view, labels);
    if (scene.results) PaintStakes(painter, scene, view, labels);
    std::vector<PlacedLabel> placed = labels.SetAndDraw(painter);
    if (!legendBox.isEmpty()) PaintLegend(painter, legend, legendBox);
    painter.restore();
    return placed;
}

}  // namespace vexaline::plan
