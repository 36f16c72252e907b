#pragma once
#include <QImage>
#include <QWidget>
#include <functional>

#include "core/plan/ViewTransform.h"

// The drawing surface of the plan view: holds the world-to-screen transform
// and turns the mouse into zoom (wheel, about the cursor), pan (left drag)
// and clicks (a press and release without moving). What is drawn comes from
// a painter function, so this class knows nothing of roads.
class CPlanCanvas : public QWidget {
    Q_OBJECT
public:
    using Painter = std::function<void(QPainter&, const vexaline::ViewTransform&)>;

    explicit CPlanCanvas(QWidget* parent = nullptr);

    void SetPainter(Painter painter);
    // The part of the plane Fit shows, with plan::LabelRoom free round it
    // for labels. The view is fitted to it anew unless the user has zoomed
    // or panned since the last fit.
    void SetBounds(const vexaline::PlaneBox& bounds);
    void Fit();
    const vexaline::ViewTransform& View() const { return view_; }
    void SetView(const vexaline::ViewTransform& view);

    // Everything the canvas shows, at the given size in pixels (the view
    // scaled to it, the centre kept), onto any paint device.
    void Render(QPainter& painter, QSize size) const;
    // The scene alone, for another view (a sheet of paper): no background,
    // north arrow or scale bar.
    void RenderScene(QPainter& painter, const vexaline::ViewTransform& view) const;
    QImage Picture() const;

    // The zoom of one wheel notch (120 eighths of a degree).
    static constexpr double kNotchFactor = 1.25;
    // A press that moves less than this (pixels) is still a click.
    static constexpr int kClickSlop = 3;

signals:
    void Clicked(vexaline::CPlanePoint where);
    void Hovered(vexaline::CPlanePoint where);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Painter painter_;
    vexaline::PlaneBox bounds_;
    vexaline::ViewTransform view_;
    bool fitted_ = true;  // not moved by the user since the last fit
    bool pressed_ = false, dragging_ = false;
    QPointF pressAt_, lastAt_;
};
