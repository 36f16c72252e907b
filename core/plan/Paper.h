#pragma once
#include "core/plan/ViewTransform.h"

// The plan on paper: the sheet sizes it is exported on and the true scale
// 1:N it is drawn at there.
namespace vexaline {

enum class PaperSize { A4, A3 };

struct Paper {
    PaperSize size = PaperSize::A4;
    bool bLandscape = true;
    int nDpi = 300;  // for pictures (PNG); vector files keep their own resolution

    // The sheet's width and height in millimetres, as turned.
    double WidthMm() const;
    double HeightMm() const;
};

// Picture pixels across a length of paper at `dpi` dots per inch, rounded
// to the nearest pixel: 297 mm at 150 dpi is 1754 pixels.
int PaperPixels(double millimetres, int dpi);

// The scale denominator N of the largest round scale 1:N (N one of 1, 2
// and 5 × 10ⁿ, at least 1) at which the box fits a paper area of
// widthMm × heightMm. An empty box, a box of one point, an area of no size
// or figures that are not finite give 1.
double ScaleDenominatorToFit(const PlaneBox& box, double widthMm, double heightMm);

// Picture pixels per metre of the plane at 1:N when `pixelsPerInch` pixels
// make an inch of paper.
inline double PixelsPerMetre(double denominator, double pixelsPerInch) {
    return pixelsPerInch / 0.0254 / denominator;
}

}  // namespace vexaline
