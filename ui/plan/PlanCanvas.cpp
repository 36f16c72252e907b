#include "ui/plan/PlanCanvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

#include "ui/plan/PlanDecor.h"
#include "ui/plan/PlanPainter.h"

using namespace vexaline;

CPlanCanvas::CPlanCanvas(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);  // the read-out follows the cursor without a button
    setMinimumSize(200, 150);
    setCursor(Qt::CrossCursor);
    view_ = ViewTransform(width(), height(), CPlanePoint(), 1);
}

void CPlanCanvas::SetPainter(Painter painter) {
    painter_ = std::move(painter);
    update();
}

void CPlanCanvas::SetBounds(const PlaneBox& bounds) {
    bounds_ = bounds;
    if (fitted_) Fit();
    update();
}

void CPlanCanvas::Fit() {
    const QSizeF room = plan::LabelRoom(font());
    view_ = ViewTransform::Fit(bounds_, width(), height(), room.width(), room.height());
    fitted_ = true;
    update();
}

void CPlanCanvas::SetView(const ViewTransform& view) {
    view_ = view.Resized(width(), height());
    fitted_ = false;
    update();
}

void CPlanCanvas::Render(QPainter& painter, QSize size) const {
    const ViewTransform view = view_.Resized(size.width(), size.height());
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    RenderScene(painter, view);
    plan::PaintDecor(painter, view);
}

void CPlanCanvas::RenderScene(QPainter& painter, const ViewTransform& view) const {
    if (painter_) painter_(painter, view);
}

QImage CPlanCanvas::Picture() const {
    QImage image(size(), QImage::Format_RGB32);
    QPainter painter(&image);
    Render(painter, size());
    return image;
}

void CPlanCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Render(painter, size());
}

void CPlanCanvas::resizeEvent(QResizeEvent*) {
    if (fitted_)
        Fit();
    else
        view_ = view_.Resized(width(), height());
}

void CPlanCanvas::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0) return;
    const QPointF at = event->position();
    view_ = view_.ZoomedAbout({at.x(), at.y()}, std::pow(kNotchFactor, notches));
    fitted_ = false;
    update();
    event->accept();
}

void CPlanCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    pressed_ = true, dragging_ = false;
    pressAt_ = lastAt_ = event->position();
}

void CPlanCanvas::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    emit Hovered(view_.ToPlane({at.x(), at.y()}));
    if (!pressed_ || !(event->buttons() & Qt::LeftButton)) return;
    if (!dragging_ && (at - pressAt_).manhattanLength() < kClickSlop) return;
    dragging_ = true;
    view_ = view_.Panned(at.x() - lastAt_.x(), at.y() - lastAt_.y());
    lastAt_ = at;
    fitted_ = false;
    setCursor(Qt::ClosedHandCursor);
    update();
}

void CPlanCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) return;
    pressed_ = false;
    setCursor(Qt::CrossCursor);
    if (dragging_) {
        dragging_ = false;
        return;
    }
    const QPointF at = event->position();
    emit Clicked(view_.ToPlane({at.x(), at.y()}));
}
