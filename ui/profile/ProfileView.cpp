#include "ui/profile/ProfileView.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "core/files/ProfileCsv.h"
#include "core/text/Texts.h"

using namespace vexaline;

namespace {

constexpr double kMargin = 40;      // pixels left and right, and above for the scale's note
constexpr double kLabelBand = 190;  // below the drawing: each point's name, station and elevation
constexpr int kSamplesPerCurve = 32;

// A grade point's label from its fields of the vertical curve table: name, station, elevation.
QString LabelOf(const std::vector<std::string>& cells) {
    return QString::fromStdString(cells[0] + " " + cells[1] + " " + cells[2]);
}

// Stations across, elevations up at kExaggeration times the scale.
struct Frame {
    double s0 = 0, h0 = 0, scale = 1, left = 0, bottom = 0;
    QPointF At(double s, double h) const {
        return {left + (s - s0) * scale, bottom - (h - h0) * scale * CProfileView::kExaggeration};
    }
};

Frame FrameOf(const Profile& p, double width, double height) {
    double low = p.points.front().dElevation, high = low;
    for (const GradePoint& g : p.points) low = std::min(low, g.dElevation), high = std::max(high, g.dElevation);
    const double length = p.points.back().dStation - p.points.front().dStation;
    const double rise = std::max(high - low, 1e-3) * CProfileView::kExaggeration;
    Frame f;
    f.s0 = p.points.front().dStation;
    f.h0 = low;
    f.left = kMargin;
    f.bottom = height - kLabelBand;
    f.scale = std::min((width - 2 * kMargin) / length, (f.bottom - kMargin) / rise);
    return f;
}

// The design line: straight along the grades, sampled along each curve.
QPainterPath DesignLine(const Profile& p, const Frame& f) {
    QPainterPath path(f.At(p.points.front().dStation, p.points.front().dElevation));
    for (const GradePoint& g : p.points) {
        if (g.kind == CurveKind::None) {
            path.lineTo(f.At(g.dStation, g.dElevation));
            continue;
        }
        for (int i = 0; i <= kSamplesPerCurve; ++i) {
            const double s = g.dStart + (g.dEnd - g.dStart) * i / kSamplesPerCurve;
            if (const std::optional<double> h = p.ElevationAt(s)) path.lineTo(f.At(s, *h));
        }
    }
    return path;
}

}  // namespace

CProfileView::CProfileView(QWidget* parent) : QWidget(parent) {
    setMinimumSize(480, 220);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
}

void CProfileView::SetProfile(std::optional<Profile> profile, Chainage chain) {
    profile_ = std::move(profile);
    chain_ = std::move(chain);
    update();
}

QString CProfileView::Label(std::size_t k) const { return LabelOf(VerticalCurveCells(*profile_, k, chain_)); }

void CProfileView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(0, 4, width() - 8, 20), Qt::AlignRight | Qt::AlignTop, QString::fromUtf8(text::kProfileScale));
    if (!profile_ || profile_->points.size() < 2) return;
    const Profile& p = *profile_;
    const Frame f = FrameOf(p, width(), height());

    painter.setPen(QPen(Qt::gray, 1, Qt::DashLine));
    for (std::size_t k = 1; k < p.points.size(); ++k)
        painter.drawLine(f.At(p.points[k - 1].dStation, p.points[k - 1].dElevation),
                         f.At(p.points[k].dStation, p.points[k].dElevation));
    painter.setPen(QPen(QColor(0, 0, 192), 2));
    painter.drawPath(DesignLine(p, f));

    // Each point: a tick down to the band of labels and its figures there,
    // read upwards; the grade leaving it half-way to the next point.
    painter.setPen(Qt::black);
    painter.drawLine(QPointF(kMargin, f.bottom + 6), QPointF(width() - kMargin, f.bottom + 6));
    for (std::size_t k = 0; k < p.points.size(); ++k) {
        const GradePoint& g = p.points[k];
        const QPointF at = f.At(g.dStation, g.dElevation);
        painter.drawEllipse(at, 3, 3);
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawLine(QPointF(at.x(), at.y() + 4), QPointF(at.x(), f.bottom + 6));
        painter.setPen(Qt::black);
        const std::vector<std::string> cells = VerticalCurveCells(p, k, chain_);
        const QString label = LabelOf(cells);
        painter.save();
        painter.translate(at.x() + 5, height() - 6);
        painter.rotate(-90);
        painter.drawText(QPointF(0, 0), label);
        painter.restore();
        if (k + 1 < p.points.size()) {
            const GradePoint& n = p.points[k + 1];
            const QPointF mid = (at + f.At(n.dStation, n.dElevation)) / 2;
            painter.drawText(QPointF(mid.x() - 20, mid.y() - 8), QString::fromStdString(cells[4] + "%"));
        }
    }
}
