#pragma once
#include "core/geometry/PlanePoint.h"

// The map from the surveying plane to a picture of it: X north up, Y east to
// the right, true scale (the same number of pixels per metre both ways).
// Screen coordinates are pixels with u to the right and v down, the origin at
// the picture's top left corner.
namespace vexaline {

struct ScreenPoint {
    double u = 0;
    double v = 0;
};

// A rectangle of the plane, min and max of X and of Y. Empty when a min is
// above its max.
struct PlaneBox {
    double minX = 1, minY = 1, maxX = 0, maxY = 0;

    bool Empty() const { return minX > maxX || minY > maxY; }
    void Add(CPlanePoint p);
    void Add(const PlaneBox& other);
    bool Intersects(const PlaneBox& other) const;
    PlaneBox Grown(double margin) const { return {minX - margin, minY - margin, maxX + margin, maxY + margin}; }
};

// Scales are kept between these (pixels per metre): below, a whole country
// is a dot; above, a millimetre fills a screen and coordinates of seven
// digits lose their meaning in doubles.
inline constexpr double kMinScale = 1e-6;
inline constexpr double kMaxScale = 1e5;

class ViewTransform {
public:
    ViewTransform() = default;
    // The picture width × height pixels, the plane point `centre` at its
    // middle, `scale` pixels per metre (clamped to [kMinScale, kMaxScale]).
    ViewTransform(double width, double height, CPlanePoint centre, double scale);

    // The transform that shows the whole box in the picture with `margin`
    // pixels free on every side (less when the picture is smaller than two
    // margins). An empty box is shown round (0, 0) at 1 pixel per metre; a
    // box of one point round that point at 1 pixel per metre.
    static ViewTransform Fit(const PlaneBox& box, double width, double height, double margin) {
        return Fit(box, width, height, margin, margin);
    }
    // The same with `across` pixels free at the left and right and `down`
    // at the top and bottom.
    static ViewTransform Fit(const PlaneBox& box, double width, double height, double across, double down);

    ScreenPoint ToScreen(CPlanePoint p) const {
        return {width_ * 0.5 + (p.Y - centre_.Y) * scale_, height_ * 0.5 - (p.X - centre_.X) * scale_};
    }
    CPlanePoint ToPlane(ScreenPoint s) const {
        return CPlanePoint(centre_.X - (s.v - height_ * 0.5) / scale_, centre_.Y + (s.u - width_ * 0.5) / scale_);
    }

    // Scale multiplied by `factor` (clamped as above) so that the plane
    // point under screen point `at` stays under it, to rounding.
    ViewTransform ZoomedAbout(ScreenPoint at, double factor) const;
    // The picture moved by (du, dv) pixels: what was at s is now at s + d.
    ViewTransform Panned(double du, double dv) const;
    // The same view on a picture of another size, the centre kept.
    ViewTransform Resized(double width, double height) const;

    // The part of the plane the picture shows.
    PlaneBox Visible() const;

    double Scale() const { return scale_; }
    double Width() const { return width_; }
    double Height() const { return height_; }

private:
    double width_ = 1, height_ = 1;
    CPlanePoint centre_;
    double scale_ = 1;
};

// The longest of 1, 2 and 5 × 10^n metres not above `maxMetres` (n any
// integer, from 10^-6 to 10^9); 0 when maxMetres is not a positive finite
// number below that range.
double RoundScaleLength(double maxMetres);

}  // namespace vexaline
