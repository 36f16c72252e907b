#include "core/files/SheetFile.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <memory>

namespace vexaline {

namespace {

constexpr double kPointsPerMm = 72 / 25.4;
constexpr double kSvgGap = 5;  // between pages stacked in one picture, millimetres

cairo_status_t Append(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

void SetInk(cairo_t* cr, SheetInk ink) {
    const InkStyle s = StyleOf(ink);
    cairo_set_source_rgb(cr, ((s.rgb >> 16) & 0xff) / 255.0, ((s.rgb >> 8) & 0xff) / 255.0, (s.rgb & 0xff) / 255.0);
    cairo_set_line_width(cr, s.dWidth);
    const double dash[] = {1.5, 0.8};
    cairo_set_dash(cr, dash, s.bDashed ? 2 : 0, 0);
}

void Paint(cairo_t* cr, const SheetDrawing& page) {
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (const SheetLine& line : page.lines) {
        if (line.points.size() < 2) continue;
        SetInk(cr, line.ink);
        cairo_move_to(cr, line.points.front().x, line.points.front().y);
        for (std::size_t k = 1; k < line.points.size(); ++k) cairo_line_to(cr, line.points[k].x, line.points[k].y);
        if (line.bArea) cairo_close_path(cr), cairo_fill(cr);
        else cairo_stroke(cr);
    }
    cairo_set_source_rgb(cr, 0, 0, 0);
    for (const SheetText& t : page.texts) {
        cairo_select_font_face(cr, kSheetFont, CAIRO_FONT_SLANT_NORMAL,
                               t.bBold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(cr, t.dSize);
        cairo_text_extents_t e;
        cairo_text_extents(cr, t.strText.c_str(), &e);
        const double shift = t.anchor == SheetAnchor::Left ? 0 : t.anchor == SheetAnchor::Centre ? e.x_advance / 2 : e.x_advance;
        cairo_move_to(cr, t.at.x - shift, t.at.y);
        cairo_show_text(cr, t.strText.c_str());
    }
}

}  // namespace

std::optional<std::string> SheetFileBytes(const std::vector<SheetDrawing>& pages, SheetFormat format,
                                          const std::string& title) {
    if (pages.empty()) return std::nullopt;
    std::string bytes;
    const double width = pages.front().dWidth;
    double height = 0;
    for (const SheetDrawing& p : pages) height += p.dHeight + (&p == &pages.front() ? 0 : kSvgGap);
    using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
    Surface surface(format == SheetFormat::Pdf
                        ? cairo_pdf_surface_create_for_stream(Append, &bytes, width * kPointsPerMm,
                                                              pages.front().dHeight * kPointsPerMm)
                        : cairo_svg_surface_create_for_stream(Append, &bytes, width * kPointsPerMm, height * kPointsPerMm),
                    cairo_surface_destroy);
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return std::nullopt;
    if (format == SheetFormat::Pdf) {
        cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_TITLE, title.c_str());
        cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_CREATOR, "Vexaline");
    } else {
        cairo_svg_surface_restrict_to_version(surface.get(), CAIRO_SVG_VERSION_1_1);
    }
    std::unique_ptr<cairo_t, decltype(&cairo_destroy)> cr(cairo_create(surface.get()), cairo_destroy);
    double top = 0;
    for (const SheetDrawing& page : pages) {
        if (format == SheetFormat::Pdf)
            cairo_pdf_surface_set_size(surface.get(), page.dWidth * kPointsPerMm, page.dHeight * kPointsPerMm);
        cairo_save(cr.get());
        cairo_scale(cr.get(), kPointsPerMm, kPointsPerMm);
        cairo_translate(cr.get(), 0, top);
        cairo_set_source_rgb(cr.get(), 1, 1, 1);
        cairo_rectangle(cr.get(), 0, 0, page.dWidth, page.dHeight);
        cairo_fill(cr.get());
        Paint(cr.get(), page);
        cairo_restore(cr.get());
        if (format == SheetFormat::Pdf) cairo_show_page(cr.get());
        else top += page.dHeight + kSvgGap;
    }
    const bool drawn = cairo_status(cr.get()) == CAIRO_STATUS_SUCCESS;
    cr.reset();
    cairo_surface_finish(surface.get());
    if (!drawn || cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return std::nullopt;
    surface.reset();
    return bytes;
}

}  // namespace vexaline
