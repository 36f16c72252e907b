#include "core/grid/Grid.h"

#include <proj.h>

#include <cmath>
#include <cstdlib>
#include <strings.h>

#include "core/text/DmsText.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {
namespace {

struct ContextDeleter {
    void operator()(PJ_CONTEXT* c) const { proj_context_destroy(c); }
};
struct PjDeleter {
    void operator()(PJ* p) const { proj_destroy(p); }
};
using Context = std::unique_ptr<PJ_CONTEXT, ContextDeleter>;
using Pj = std::unique_ptr<PJ, PjDeleter>;

// A context of its own for each transform: PROJ objects are used by one
// thread at a time. Its messages go nowhere: the refusals say why.
Context NewContext() {
    Context c(proj_context_create());
    proj_log_level(c.get(), PJ_LOG_NONE);
    proj_context_set_enable_network(c.get(), 0);
    return c;
}

Pj CrsOf(PJ_CONTEXT* c, const Grid& g) {
    return Pj(proj_create(c, g.nEpsg ? ("EPSG:" + std::to_string(g.nEpsg)).c_str() : GkWkt(g).c_str()));
}

std::string DatumName(PJ_CONTEXT* c, const PJ* crs) {
    Pj geodetic(proj_crs_get_geodetic_crs(c, crs));
    if (!geodetic) return std::string();
    Pj datum(proj_crs_get_datum(c, geodetic.get()));
    if (!datum) datum.reset(proj_crs_get_datum_ensemble(c, geodetic.get()));
    const char* name = datum ? proj_get_name(datum.get()) : nullptr;
    return name ? name : "";
}

// The datums a web map's WGS 84 stands for to a few centimetres.
bool MapDatum(const std::string& name) {
    for (const char* start : {"China 2000", "World Geodetic System 1984", "International Terrestrial Reference Frame"})
        if (name.rfind(start, 0) == 0) return true;
    return false;
}

// Why the system cannot be a grid of Vexaline, or empty: two axes, north
// and east, in metres (projected) or degrees (geographic).
std::string GridRefusal(PJ_CONTEXT* c, const PJ* crs, const Grid& g) {
    const PJ_TYPE type = proj_get_type(crs);
    if (type != PJ_TYPE_PROJECTED_CRS && type != PJ_TYPE_GEOGRAPHIC_2D_CRS)
        return Format(text::kGridKind, g.strName.c_str(), g.strTitle.c_str());
    Pj cs(proj_crs_get_coordinate_system(c, crs));
    if (!cs || proj_cs_get_axis_count(c, cs.get()) != 2) return Format(text::kGridKind, g.strName.c_str(), g.strTitle.c_str());
    bool north = false, east = false;
    for (int i = 0; i < 2; ++i) {
        const char* direction = nullptr;
        const char* unit = nullptr;
        double factor = 0;
        proj_cs_get_axis_info(c, cs.get(), i, nullptr, nullptr, &direction, &factor, &unit, nullptr, nullptr);
        north = north || (direction && strcasecmp(direction, "north") == 0);
        east = east || (direction && strcasecmp(direction, "east") == 0);
        const double wanted = type == PJ_TYPE_PROJECTED_CRS ? 1.0 : kPi / 180;
        if (std::fabs(factor - wanted) > 1e-12 * wanted)
            return Format(text::kGridUnit, g.strName.c_str(), g.strTitle.c_str(), unit ? unit : "?");
    }
    if (!north || !east) return Format(text::kGridAxes, g.strName.c_str(), g.strTitle.c_str());
    return std::string();
}

// "GK:L0[,H[,FE]]" into g; why not, or empty.
std::string ReadGk(const std::string& fields, Grid& g) {
    std::vector<std::string> f;
    for (std::size_t at = 0;;) {
        const std::size_t comma = fields.find(',', at);
        f.push_back(TrimBlanks(fields.substr(at, comma == std::string::npos ? comma : comma - at)));
        if (comma == std::string::npos) break;
        at = comma + 1;
    }
    const char* name = g.strName.c_str();
    if (f.size() > 3) return Format(text::kGridSyntax, name);
    const std::optional<double> meridian = ReadDmsDegrees(f[0]);
    if (!meridian || std::fabs(*meridian) > 180) return Format(text::kGkMeridian, name, f[0].c_str());
    g.dMeridian = *meridian;
    if (f.size() > 1) {
        const std::optional<double> h = ParseNumber(f[1]);
        if (!h || std::fabs(*h) > kGkMaxHeight) return Format(text::kGkHeight, name, f[1].c_str(), kGkMaxHeight);
        g.dHeight = *h;
    }
    if (f.size() > 2) {
        const std::optional<double> fe = ParseNumber(f[2]);
        if (!fe || !IsSurveyCoordinate(*fe)) return Format(text::kGkEasting, name, f[2].c_str());
        g.dFalseEasting = *fe;
    }
    g.strTitle = Format("CGCS2000 / Gauss-Kruger CM %.9g, k0 %.12g, FE %.3f", g.dMeridian, GkScale(g.dHeight),
                        g.dFalseEasting);
    return std::string();
}

bool StartsWithNoCase(const std::string& text, const char* start) {
    return strncasecmp(text.c_str(), start, std::char_traits<char>::length(start)) == 0;
}

}  // namespace

// CGCS2000 is named as the base so that PROJ knows the grid shares the
// datum of the EPSG grids and of 4490 itself and joins them by the
// projection alone. PROJ makes of it
// "+proj=tmerc +lat_0=0 +lon_0=L0 +k_0=k0 +x_0=FE +y_0=0 +ellps=GRS80".
std::string GkWkt(const Grid& g) {
    return Format(
        R"~(PROJCRS["%s",BASEGEOGCRS["China Geodetic Coordinate System 2000",)~"
        R"~(DATUM["China 2000",ELLIPSOID["CGCS2000",6378137,298.257222101,LENGTHUNIT["metre",1]]],)~"
        R"~(PRIMEM["Greenwich",0,ANGLEUNIT["degree",0.0174532925199433]],ID["EPSG",4490]],)~"
        R"~(CONVERSION["GK",METHOD["Transverse Mercator",ID["EPSG",9807]],)~"
        R"~(PARAMETER["Latitude of natural origin",0,ANGLEUNIT["degree",0.0174532925199433],ID["EPSG",8801]],)~"
        R"~(PARAMETER["Longitude of natural origin",%.17g,ANGLEUNIT["degree",0.0174532925199433],ID["EPSG",8802]],)~"
        R"~(PARAMETER["Scale factor at natural origin",%.17g,SCALEUNIT["unity",1],ID["EPSG",8805]],)~"
        R"~(PARAMETER["False easting",%.17g,LENGTHUNIT["metre",1],ID["EPSG",8806]],)~"
        R"~(PARAMETER["False northing",0,LENGTHUNIT["metre",1],ID["EPSG",8807]]],)~"
        R"~(CS[Cartesian,2],AXIS["northing (X)",north,ORDER[1],LENGTHUNIT["metre",1]],)~"
        R"~(AXIS["easting (Y)",east,ORDER[2],LENGTHUNIT["metre",1]]])~",
        g.strTitle.c_str(), g.dMeridian, GkScale(g.dHeight), g.dFalseEasting);
}

GridRead ReadGrid(const std::string& typed) {
    GridRead read;
    Grid g;
    g.strName = TrimBlanks(typed);
    const std::string& name = g.strName;
    if (StartsWithNoCase(name, "EPSG:")) {
        const std::string code = name.substr(5);
        if (code.empty() || code.size() > 6 || code.find_first_not_of("0123456789") != std::string::npos)
            return read.strMessage = Format(text::kGridSyntax, name.c_str()), read;
        g.nEpsg = std::stoi(code);
    } else if (StartsWithNoCase(name, "GK:")) {
        read.strMessage = ReadGk(name.substr(3), g);
        if (!read.strMessage.empty()) return read;
    } else {
        return read.strMessage = Format(text::kGridSyntax, name.c_str()), read;
    }
    const Context c = NewContext();
    const Pj crs = CrsOf(c.get(), g);
    if (!crs) return read.strMessage = Format(text::kGridUnknown, name.c_str()), read;
    if (g.nEpsg) g.strTitle = proj_get_name(crs.get()) ? proj_get_name(crs.get()) : "";
    read.strMessage = GridRefusal(c.get(), crs.get(), g);
    if (!read.strMessage.empty()) return read;
    g.bGeographic = proj_get_type(crs.get()) == PJ_TYPE_GEOGRAPHIC_2D_CRS;
    read.grid = g;
    return read;
}

struct GridTransform::Impl {
    Context context;
    Pj op;
    bool geographicIn = false, geographicOut = false;
};

GridTransform::GridTransform(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
GridTransform::~GridTransform() = default;
GridTransform::GridTransform(GridTransform&&) noexcept = default;
GridTransform& GridTransform::operator=(GridTransform&&) noexcept = default;

namespace {

// The operation from one system to another in PROJ's visual axis order
// (easting or longitude first); why not in message.
Pj Operation(PJ_CONTEXT* c, const PJ* from, const PJ* to, std::string& message, const std::string& fromName,
             const std::string& toName) {
    Pj op(proj_create_crs_to_crs_from_pj(c, from, to, nullptr, nullptr));
    if (op) op.reset(proj_normalize_for_visualization(c, op.get()));
    if (!op) {
        message = Format(text::kGridFailed, fromName.c_str(), toName.c_str());
        return op;
    }
    const std::string a = DatumName(c, from), b = DatumName(c, to);
    if (proj_coordoperation_has_ballpark_transformation(c, op.get()) && !(MapDatum(a) && MapDatum(b))) {
        message = Format(text::kGridNoParameters, fromName.c_str(), a.c_str(), toName.c_str(), b.c_str());
        op.reset();
    }
    return op;
}

}  // namespace

GridTransform::Make GridTransform::Between(const Grid& from, const Grid& to) {
    Make made;
    auto impl = std::make_unique<Impl>();
    impl->context = NewContext();
    PJ_CONTEXT* c = impl->context.get();
    const Pj a = CrsOf(c, from), b = CrsOf(c, to);
    if (!a || !b) {
        made.strMessage = Format(text::kGridFailed, from.strName.c_str(), to.strName.c_str());
        return made;
    }
    impl->op = Operation(c, a.get(), b.get(), made.strMessage, from.strName, to.strName);
    if (!impl->op) return made;
    impl->geographicIn = from.bGeographic;
    impl->geographicOut = to.bGeographic;
    made.transform = GridTransform(std::move(impl));
    return made;
}

GridTransform::Make GridTransform::ToMap(const Grid& from) {
    // The grid's own latitudes and longitudes, by their EPSG code (4490 for
    // CGCS2000 and the custom grid).
    const Context c = NewContext();
    const Pj a = CrsOf(c.get(), from);
    const Pj geodetic(a ? proj_crs_get_geodetic_crs(c.get(), a.get()) : nullptr);
    const std::string datum = geodetic ? DatumName(c.get(), a.get()) : std::string();
    const char* code = geodetic ? proj_get_id_code(geodetic.get(), 0) : nullptr;
    Grid latLon;
    latLon.nEpsg = code ? std::atoi(code) : 0;
    latLon.strName = "EPSG:" + std::to_string(latLon.nEpsg);
    latLon.bGeographic = true;
    Make made;
    if (!MapDatum(datum)) made.strMessage = Format(text::kGridMapDatum, from.strName.c_str(), datum.c_str());
    else if (!latLon.nEpsg) made.strMessage = Format(text::kGridFailed, from.strName.c_str(), datum.c_str());
    return made.strMessage.empty() ? Between(from, latLon) : std::move(made);
}

namespace {

// Where each point of `from` is not back within a millimetre (1e-8° for a
// latitude or longitude) in `back`: PROJ carried it where the grid no
// longer holds it (a northing beyond the pole) or did not carry it at all.
std::optional<std::size_t> NotBack(const std::vector<CPlanePoint>& from, const std::vector<CPlanePoint>& back,
                                   bool latLon) {
    const double tolerance = latLon ? 1e-8 : 0.001;
    for (std::size_t i = 0; i < from.size(); ++i)
        if (!(std::fabs(back[i].X - from[i].X) <= tolerance && std::fabs(back[i].Y - from[i].Y) <= tolerance)) return i;
    return std::nullopt;
}

}  // namespace

std::optional<std::size_t> GridTransform::Apply(std::vector<CPlanePoint>& points, bool inverse) const {
    const bool latLonIn = inverse ? impl_->geographicOut : impl_->geographicIn;
    const bool latLonOut = inverse ? impl_->geographicIn : impl_->geographicOut;
    for (std::size_t i = 0; i < points.size(); ++i)
        if (latLonIn && !(std::fabs(points[i].X) <= 90 && std::fabs(points[i].Y) <= 180)) return i;
    if (points.empty()) return std::nullopt;
    // In place, X and Y strided through the points: PROJ's visual order is
    // easting (longitude) first, so its x is our Y.
    PJ* op = impl_->op.get();
    auto trans = [op](std::vector<CPlanePoint>& p, PJ_DIRECTION direction) {
        const std::size_t n = p.size(), stride = sizeof(CPlanePoint);
        proj_errno_reset(op);
        proj_trans_generic(op, direction, &p[0].Y, stride, n, &p[0].X, stride, n, nullptr, 0, 0, nullptr, 0, 0);
    };
    const std::vector<CPlanePoint> from = points;
    trans(points, inverse ? PJ_INV : PJ_FWD);
    for (std::size_t i = 0; i < points.size(); ++i) {
        const CPlanePoint& p = points[i];
        if (!(latLonOut ? std::fabs(p.X) <= 90 && std::fabs(p.Y) <= 360 : p.IsSurveyPoint())) return i;
    }
    std::vector<CPlanePoint> back = points;
    trans(back, inverse ? PJ_FWD : PJ_INV);
    return NotBack(from, back, latLonIn);
}

}  // namespace vexaline
