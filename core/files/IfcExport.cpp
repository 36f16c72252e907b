#include "core/files/IfcExport.h"

#include <cmath>

#include "core/files/IfcLayout.h"
#include "core/files/IfcStep.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {
namespace {

using namespace ifc;

// The rows' points are held to the millimetre: joins that close within it
// are one point to a reader.
constexpr double kPrecision = 1e-3;

const char* TransitionCode(Join j) {
    switch (j) {
    case Join::Continuous: return ".CONTINUOUS.";
    case Join::SameGradient: return ".CONTSAMEGRADIENT.";
    case Join::SameCurvature: return ".CONTSAMEGRADIENTSAMECURVATURE.";
    case Join::End: break;
    }
    return ".DISCONTINUOUS.";
}

const char* PlanType(LineType t) {
    return t == LineType::Circular ? ".CIRCULARARC." : t == LineType::Transition ? ".CLOTHOID." : ".LINE.";
}

double RadiusOf(double curvature) { return curvature == 0 ? 0.0 : 1.0 / curvature; }

// The entities the file is made of; each Add gives the instance's number.
class Writer {
public:
    explicit Writer(std::uint64_t seed) : d_(seed) {}
    StepData& Data() { return d_; }

    int Point(double x, double y) { return d_.Add("IFCCARTESIANPOINT", Reals({x, y})); }
    int Direction(double angle) { return d_.Add("IFCDIRECTION", Reals({std::cos(angle), std::sin(angle)})); }
    int Place(int point, double angle) {
        return d_.Add("IFCAXIS2PLACEMENT2D", Ref(point) + "," + Ref(Direction(angle)));
    }
    int Line(double angle) {
        const int vector = d_.Add("IFCVECTOR", Ref(Direction(angle)) + ",1.");
        return d_.Add("IFCLINE", Ref(Origin()) + "," + Ref(vector));
    }
    int CurveSegment(Join join, int placement, double start, double length, int parent) {
        return d_.Add("IFCCURVESEGMENT", std::string(TransitionCode(join)) + "," + Ref(placement) + "," + Length(start) +
                                             "," + Length(length) + "," + Ref(parent));
    }
    int Shape(int context, const char* id, const char* type, int item) {
        return d_.Add("IFCSHAPEREPRESENTATION", Ref(context) + ",'" + id + "','" + type + "',(" + Ref(item) + ")");
    }
    int ProductShape(const std::vector<int>& representations) {
        return d_.Add("IFCPRODUCTDEFINITIONSHAPE", "$,$," + Refs(representations));
    }
    int Nest(int parent, const std::vector<int>& children) {
        return d_.Add("IFCRELNESTS", d_.NewGuid() + ",$,$,$," + Ref(parent) + "," + Refs(children));
    }
    int Origin() {
        if (!origin_) origin_ = Point(0, 0);
        return origin_;
    }

private:
    StepData d_;
    int origin_ = 0;
};

// What the layouts share: the contexts their shapes are in, the placement
// of the layouts and segments, the plan curve.
struct Frame {
    int axis = 0, footPrint = 0;
    int placement = 0;
    int plan = 0;
};

// The plan curve segment of one segment of the road (its parent curve in
// its own frame, the segment placed where the road puts it).
int PlanCurve(Writer& w, const PlanSegment& s, int start) {
    const int place = w.Place(start, s.direction);
    if (s.type == LineType::Circular) {
        // Centre on the side it turns to, its x axis back to the start: the
        // start is at parameter 0, a right turn runs clockwise (negative length).
        const double r = std::fabs(1.0 / s.k0), side = s.k0 > 0 ? 1.0 : -1.0;
        const int centre = w.Place(w.Point(0, side * r), -side * kPi / 2);
        const int circle = w.Data().Add("IFCCIRCLE", Ref(centre) + "," + Real(r));
        return w.CurveSegment(s.join, place, 0, side * s.length, circle);
    }
    if (s.type == LineType::Transition) {
        // κ(t) = t / (A·|A|) along the clothoid from its inflection: the
        // segment starts where κ is its start curvature.
        const double rate = (s.k1 - s.k0) / s.length;
        const double a = (rate > 0 ? 1.0 : -1.0) / std::sqrt(std::fabs(rate));
        const int position = w.Data().Add("IFCAXIS2PLACEMENT2D", Ref(w.Origin()) + ",$");
        const int clothoid = w.Data().Add("IFCCLOTHOID", Ref(position) + "," + Real(a));
        return w.CurveSegment(s.join, place, s.k0 / rate, s.length, clothoid);
    }
    return w.CurveSegment(s.join, place, 0, s.length, w.Line(0));
}

// ∫ √(1 + t²) dt, for a parabola's length.
double ArcIntegral(double t) { return (t * std::sqrt(1 + t * t) + std::asinh(t)) / 2; }

int GradeCurve(Writer& w, const GradeSegment& g) {
    const double angle = std::atan(g.g0);
    const int place = w.Place(w.Point(g.distance, g.height), angle);
    if (!g.parabola) return w.CurveSegment(g.join, place, 0, g.length * std::sqrt(1 + g.g0 * g.g0), w.Line(angle));
    const double a2 = (g.g1 - g.g0) / (2 * g.length);
    const int parent = w.Data().Add("IFCPOLYNOMIALCURVE", Ref(w.Place(w.Origin(), 0)) + ",(0.,1.)," +
                                                              Reals({g.height, g.g0, a2}) + ",$");
    const double arc = g.length * (ArcIntegral(g.g1) - ArcIntegral(g.g0)) / (g.g1 - g.g0);
    return w.CurveSegment(g.join, place, 0, arc, parent);
}

// One IfcAlignmentSegment with its parameters and its curve segment.
int AlignmentSegment(Writer& w, const Frame& f, const std::string& name, int parameters, int curve) {
    const int shape = w.ProductShape({w.Shape(f.axis, "Axis", "Segment", curve)});
    return w.Data().Add("IFCALIGNMENTSEGMENT", w.Data().NewGuid() + ",$," + Str(name) + ",$,$," + Ref(f.placement) + "," +
                                                   Ref(shape) + "," + Ref(parameters));
}

// The horizontal layout, nested in the alignment; sets f.plan.
int Horizontal(Writer& w, Frame& f, const std::vector<PlanSegment>& plan, const Chainage& chain) {
    std::vector<int> curves, segments;
    for (const PlanSegment& s : plan) {
        const int start = w.Point(s.x, s.y);
        const int curve = PlanCurve(w, s, start);
        const int params = w.Data().Add("IFCALIGNMENTHORIZONTALSEGMENT",
                                        "$,$," + Ref(start) + "," + Real(s.direction) + "," + Real(RadiusOf(s.k0)) + "," +
                                            Real(RadiusOf(s.k1)) + "," + Real(s.length) + ",$," + PlanType(s.type));
        curves.push_back(curve);
        segments.push_back(AlignmentSegment(w, f, KStationOf(chain, s.dStation), params, curve));
    }
    f.plan = w.Data().Add("IFCCOMPOSITECURVE", Refs(curves) + ",.F.");
    const int layout = w.Data().Add("IFCALIGNMENTHORIZONTAL", w.Data().NewGuid() + ",$,$,$,$," + Ref(f.placement) + ",$");
    w.Nest(layout, segments);
    return layout;
}

// The vertical layout; gives it and the gradient curve.
std::pair<int, int> Vertical(Writer& w, const Frame& f, const std::vector<GradeSegment>& profile, const Chainage& chain,
                             double startStation) {
    std::vector<int> curves, segments;
    for (const GradeSegment& g : profile) {
        const int curve = GradeCurve(w, g);
        const std::string radius = g.parabola ? Real(g.length / (g.g1 - g.g0)) : "$";
        const int params = w.Data().Add("IFCALIGNMENTVERTICALSEGMENT",
                                        "$,$," + Real(g.distance) + "," + Real(g.length) + "," + Real(g.height) + "," +
                                            Real(g.g0) + "," + Real(g.g1) + "," + radius + "," +
                                            (g.parabola ? ".PARABOLICARC." : ".CONSTANTGRADIENT."));
        curves.push_back(curve);
        segments.push_back(AlignmentSegment(w, f, KStationOf(chain, startStation + g.distance), params, curve));
    }
    const int gradient = w.Data().Add("IFCGRADIENTCURVE", Refs(curves) + ",.F.," + Ref(f.plan) + ",$");
    const int layout = w.Data().Add("IFCALIGNMENTVERTICAL", w.Data().NewGuid() + ",$,$,$,$," + Ref(f.placement) + ",$");
    w.Nest(layout, segments);
    return {layout, gradient};
}

std::uint64_t GuidSeed(const Alignment& road, const std::string& name, const std::vector<GradeSegment>& grades) {
    std::uint64_t h = Fnv1a(name);
    for (const ChangePoint& p : road.Rows())
        for (const std::string& field : p.text.strField) h = Fnv1a(field + '\x1f', h);
    for (const GradeSegment& g : grades) h = Fnv1a(Real(g.distance) + Real(g.height) + Real(g.g1), h);
    return h;
}

std::string Header(const std::string& name, std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%S", &local);
    return "ISO-10303-21;\nHEADER;\nFILE_DESCRIPTION(('ViewDefinition [Alignment-basedReferenceView]'),'2;1');\n"
           "FILE_NAME(" + Str(name + ".ifc") + ",'" + stamp + "',(''),(''),'Vexaline','Vexaline','');\n"
           "FILE_SCHEMA(('IFC4X3_ADD2'));\nENDSEC;\nDATA;\n";
}

// The project with its units and contexts; f gets the sub-contexts.
struct ProjectIds {
    int project = 0, context = 0, metre = 0;
};
ProjectIds AddProject(Writer& w, const std::string& name, int wcs, Frame& f) {
    StepData& d = w.Data();
    ProjectIds p;
    p.metre = d.Add("IFCSIUNIT", "*,.LENGTHUNIT.,$,.METRE.");
    const int units = d.Add("IFCUNITASSIGNMENT", Refs({p.metre, d.Add("IFCSIUNIT", "*,.PLANEANGLEUNIT.,$,.RADIAN.")}));
    p.context = d.Add("IFCGEOMETRICREPRESENTATIONCONTEXT", "$,'Model',3," + Real(kPrecision) + "," + Ref(wcs) + ",$");
    const std::string sub = ",'Model',*,*,*,*," + Ref(p.context) + ",$,.MODEL_VIEW.,$";
    f.axis = d.Add("IFCGEOMETRICREPRESENTATIONSUBCONTEXT", "'Axis'" + sub);
    f.footPrint = d.Add("IFCGEOMETRICREPRESENTATIONSUBCONTEXT", "'FootPrint'" + sub);
    p.project = d.Add("IFCPROJECT", d.NewGuid() + ",$," + Str(name) + ",$,$,$,$,(" + Ref(p.context) + ")," + Ref(units));
    return p;
}

// The grid of the coordinates; they are the grid's own.
void AddGrid(Writer& w, const Grid& g, const ProjectIds& p) {
    StepData& d = w.Data();
    int crs = 0;
    if (g.nEpsg) {
        crs = d.Add("IFCPROJECTEDCRS", Str("EPSG:" + std::to_string(g.nEpsg)) + ",$,$,$,$,$," + Ref(p.metre));
    } else {
        crs = d.Add("IFCPROJECTEDCRS", "$," + Str(g.strTitle) + ",$,$,$,$," + Ref(p.metre));
        d.Add("IFCWELLKNOWNTEXT", Str(GkWkt(g)) + "," + Ref(crs));
    }
    d.Add("IFCMAPCONVERSION", Ref(p.context) + "," + Ref(crs) + ",0.,0.,0.,1.,0.,1.");
}

// A station referent: where it is along the plan curve (and, for readers
// that do not evaluate that, in x, y, z), its Pset_Stationing.
int Referent(Writer& w, const Frame& f, int placement, const Alignment& road, const Profile* profile, double distance,
             const std::string& name, double station, const double* incoming) {
    StepData& d = w.Data();
    const double at = road.MinStation() + distance;
    const Stake s = road.At(at, 0, 0);
    const double h = profile ? profile->ElevationAt(at).value_or(0.0) : 0.0;
    const int point = d.Add("IFCCARTESIANPOINT", Reals({s.point.Y, s.point.X, h}));
    const int cartesian = d.Add("IFCAXIS2PLACEMENT3D", Ref(point) + ",$,$");
    const int along = d.Add("IFCPOINTBYDISTANCEEXPRESSION", Length(distance) + ",$,$,$," + Ref(f.plan));
    const int linear = d.Add("IFCAXIS2PLACEMENTLINEAR", Ref(along) + ",$,$");
    const int place = d.Add("IFCLINEARPLACEMENT", Ref(placement) + "," + Ref(linear) + "," + Ref(cartesian));
    const int referent = d.Add("IFCREFERENT", d.NewGuid() + ",$," + Str(name) + ",$,$," + Ref(place) + ",$,.STATION.");
    std::vector<int> properties;
    if (incoming) properties.push_back(d.Add("IFCPROPERTYSINGLEVALUE", "'IncomingStation',$," + Length(*incoming) + ",$"));
    properties.push_back(d.Add("IFCPROPERTYSINGLEVALUE", "'Station',$," + Length(station) + ",$"));
    const int set = d.Add("IFCPROPERTYSET", d.NewGuid() + ",$,'Pset_Stationing',$," + Refs(properties));
    d.Add("IFCRELDEFINESBYPROPERTIES", d.NewGuid() + ",$,$,$,(" + Ref(referent) + ")," + Ref(set));
    return referent;
}

// The start's station and one referent per station equation, in road order.
std::vector<int> Referents(Writer& w, const Frame& f, int placement, const Alignment& road, const Profile* profile) {
    const Chainage& chain = road.Chain();
    const double start = road.MinStation();
    std::vector<int> out{Referent(w, f, placement, road, profile, 0, KStationOf(chain, start),
                                  chain.Empty() ? start : chain.StationAt(start).dValue, nullptr)};
    for (const StationEquation& e : chain.Equations()) {
        const std::string name = ChainKStation({e.dBack, 0}) + " = " + ChainKStation({e.dAhead, 0});
        out.push_back(Referent(w, f, placement, road, profile, e.dDistance - start, name, e.dAhead, &e.dBack));
    }
    return out;
}

std::string WriteFile(const Alignment& road, const std::string& name, std::time_t when, const PlanLayout& plan,
                      const std::vector<GradeSegment>& grades, const Profile* profile, const Grid* grid) {
    Writer w(GuidSeed(road, name, grades));
    StepData& d = w.Data();
    const int wcs = d.Add("IFCAXIS2PLACEMENT3D", Ref(d.Add("IFCCARTESIANPOINT", "(0.,0.,0.)")) + ",$,$");
    Frame f;
    const ProjectIds project = AddProject(w, name, wcs, f);
    if (grid) AddGrid(w, *grid, project);
    const int placement = d.Add("IFCLOCALPLACEMENT", "$," + Ref(wcs));
    f.placement = d.Add("IFCLOCALPLACEMENT", Ref(placement) + "," + Ref(wcs));
    std::vector<int> layouts{Horizontal(w, f, plan.segments, road.Chain())};
    std::vector<int> shapes;
    if (grades.empty()) {
        shapes.push_back(w.Shape(f.axis, "Axis", "Curve2D", f.plan));
    } else {
        const std::pair<int, int> vertical = Vertical(w, f, grades, road.Chain(), road.MinStation());
        layouts.push_back(vertical.first);
        shapes.push_back(w.Shape(f.footPrint, "FootPrint", "Curve2D", f.plan));
        shapes.push_back(w.Shape(f.axis, "Axis", "Curve3D", vertical.second));
    }
    const int alignment = d.Add("IFCALIGNMENT", d.NewGuid() + ",$," + Str(name) + ",$,$," + Ref(placement) + "," +
                                                    Ref(w.ProductShape(shapes)) + ",$");
    d.Add("IFCRELAGGREGATES", d.NewGuid() + ",$,$,$," + Ref(project.project) + ",(" + Ref(alignment) + ")");
    w.Nest(alignment, layouts);
    w.Nest(alignment, Referents(w, f, placement, road, grades.empty() ? nullptr : profile));
    return Header(name, when) + d.Text() + "ENDSEC;\nEND-ISO-10303-21;\n";
}

}  // namespace

IfcExport ExportIfc(const Alignment& road, const std::string& name, std::time_t when, const Profile* profile,
                    const Grid* grid) {
    IfcExport out;
    if (!IsUtf8(name)) return out.strMessage = text::kIfcBadName, out;
    if (!road.Usable())
        return out.strMessage = road.BadStationRow() ? road.StationRefusal() : text::kXmlExportUnusable, out;
    if (grid && grid->bGeographic) return out.strMessage = Format(text::kIfcGeographic, grid->strName.c_str()), out;
    const PlanLayout plan = LayPlan(road);
    if (!plan.strMessage.empty()) return out.strMessage = plan.strMessage, out;
    std::vector<GradeSegment> grades;
    if (profile) {
        grades = LayProfile(*profile, road.MinStation(), road.MaxStation());
        if (grades.empty())
            return out.strMessage = Format(text::kIfcNoProfileOverlap, profile->points.front().dStation,
                                           profile->points.back().dStation, road.MinStation(), road.MaxStation()),
                   out;
    }
    out.bytes = WriteFile(road, name, when, plan, grades, profile, grid);
    return out;
}

}  // namespace vexaline
