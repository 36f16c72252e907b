#pragma once
#include <QRectF>
#include <QWidget>
#include <optional>
#include <vector>

#include "core/road/Ground.h"

// The drawing of one design cross-section: the surface from the left edge
// through the centre to the right edge, each break point marked, and above
// it, standing upright, its offset and design elevation on a leader line.
// With the ground: the ground line, the slopes out to their catch points
// (labelled 坡脚/坡口 like the points), the fill and cut between design and
// ground shaded, and under it 填高/挖深 at the centre and the areas.
// Labels are spread apart where points stand close, so none covers another.
// Heights are drawn five times the scale of offsets, as the drawing states.
class CSectionView : public QWidget {
    Q_OBJECT
public:
    static constexpr double kExaggeration = 5;
    explicit CSectionView(QWidget* parent = nullptr);

    // The section to draw under its title (the 桩号), with what it met of
    // the ground where there is one; none: an empty drawing.
    void SetSection(std::optional<vexaline::CrossSection> section, const QString& title,
                    std::optional<vexaline::EarthSection> earth = std::nullopt,
                    std::optional<vexaline::GroundSection> ground = std::nullopt);
    const std::optional<vexaline::CrossSection>& Shown() const { return section_; }
    // Where each label was drawn at the last paint, the centre first, then
    // the points in order, then the catch points left and right.
    const std::vector<QRectF>& LabelBoxes() const { return boxes_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<vexaline::CrossSection> section_;
    std::optional<vexaline::EarthSection> earth_;
    std::optional<vexaline::GroundSection> ground_;
    QString title_;
    std::vector<QRectF> boxes_;
};

// Places labels of one width along a line: each as near its wanted left
// edge as it can be, none overlapping another, kept within [low, high]
// where they fit. wanted in any order; the answer in the same order.
std::vector<double> SpreadLabels(const std::vector<double>& wanted, double width, double low, double high);
