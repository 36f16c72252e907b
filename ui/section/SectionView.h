#pragma once
#include <QRectF>
#include <QWidget>
#include <optional>
#include <vector>

#include "core/road/Section.h"

// The drawing of one design cross-section: the surface from the left edge
// through the centre to the right edge, each break point marked, and above
// it, standing upright, its offset and design elevation on a leader line.
// Labels are spread apart where points stand close, so none covers another.
// Heights are drawn five times the scale of offsets, as the drawing states.
class CSectionView : public QWidget {
    Q_OBJECT
public:
    static constexpr double kExaggeration = 5;
    explicit CSectionView(QWidget* parent = nullptr);

    // The section to draw under its title (the 桩号); none: an empty drawing.
    void SetSection(std::optional<vexaline::CrossSection> section, const QString& title);
    const std::optional<vexaline::CrossSection>& Shown() const { return section_; }
    // Where each label was drawn at the last paint, the centre first, then the points in order.
    const std::vector<QRectF>& LabelBoxes() const { return boxes_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<vexaline::CrossSection> section_;
    QString title_;
    std::vector<QRectF> boxes_;
};

// Places labels of one width along a line: each as near its wanted left
// edge as it can be, none overlapping another, kept within [low, high]
// where they fit. wanted in any order; the answer in the same order.
std::vector<double> SpreadLabels(const std::vector<double>& wanted, double width, double low, double high);
