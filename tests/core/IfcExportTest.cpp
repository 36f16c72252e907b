// The IFC export against the rules a validation service holds it to, each
// rule shown to catch the file that breaks it; the curves' parameters
// against the surveyor's tables; what is refused. That readers evaluate
// the file to the stakes is tested apart, by another parser (tests/ifc).
#include <array>
#include <cstdlib>
#include <map>
#include <sstream>

#include "core/files/IfcExport.h"
#include "core/files/ProfileCsv.h"
#include "core/text/Texts.h"
#include "core/text/TextFields.h"
#include "tests/core/CoreFixture.h"

namespace {

// The data section of a STEP file: each instance's type and top-level
// arguments as written.
struct Step {
    std::map<int, std::pair<std::string, std::vector<std::string>>> at;

    static std::vector<std::string> Split(const std::string& args) {
        std::vector<std::string> out(1);
        int depth = 0;
        bool quoted = false;
        for (char c : args) {
            if (c == '\'') quoted = !quoted;
            if (!quoted && (c == '(' || c == ')')) depth += c == '(' ? 1 : -1;
            if (!quoted && depth == 0 && c == ',') out.emplace_back();
            else out.back() += c;
        }
        return out;
    }
    explicit Step(const std::string& text) {
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) {
            const std::size_t eq = line.find('='), open = line.find('(');
            if (line.empty() || line[0] != '#' || eq == std::string::npos) continue;
            at[std::stoi(line.substr(1, eq - 1))] = {line.substr(eq + 1, open - eq - 1),
                                                    Split(line.substr(open + 1, line.size() - open - 3))};
        }
    }
    const std::string& Type(int id) const { return at.at(id).first; }
    const std::string& Arg(int id, std::size_t k) const { return at.at(id).second.at(k); }
    static int Id(const std::string& ref) { return std::atoi(ref.c_str() + 1); }
    static std::vector<int> Ids(const std::string& list) {  // "(#1,#2)"
        std::vector<int> out;
        for (const std::string& r : Split(list.substr(1, list.size() - 2))) out.push_back(Id(r));
        return out;
    }
    static double Value(const std::string& typed) {  // "IFCLENGTHMEASURE(2.5)" or "2.5"
        const std::size_t open = typed.find('(');
        return std::strtod(typed.c_str() + (open == std::string::npos ? 0 : open + 1), nullptr);
    }
    std::vector<int> All(const std::string& type) const {
        std::vector<int> out;
        for (const auto& [id, e] : at)
            if (e.first == type) out.push_back(id);
        return out;
    }
    // The segments of a layout, in order.
    std::vector<int> Nested(int layout) const {
        for (int rel : All("IFCRELNESTS"))
            if (Id(Arg(rel, 4)) == layout) return Ids(Arg(rel, 5));
        return {};
    }
    // The alignment's representations: identifier, type, item.
    std::vector<std::array<std::string, 3>> Shapes() const {
        std::vector<std::array<std::string, 3>> out;
        for (int rep : Ids(Arg(Id(Arg(All("IFCALIGNMENT").at(0), 6)), 2)))
            out.push_back({Arg(rep, 1), Arg(rep, 2), Type(Ids(Arg(rep, 3)).at(0))});
        return out;
    }
};

Alignment Demo() { return Alignment::Parse(DemoList()); }
Profile DemoProfile() { return BuildProfile(ReadGradeCsv(Example("demo.vxz")).rows).profile; }
std::string DemoIfc() {
    const Profile profile = DemoProfile();
    return ExportIfc(Demo(), "demo", 0, &profile).bytes;
}

using Rule = std::string (*)(const Step&);

// The curves of the alignment's representation end with a segment of
// length 0 that is DISCONTINUOUS, and no other segment is.
std::string ClosingSegment(const Step& s) {
    for (const std::string type : {"IFCCOMPOSITECURVE", "IFCGRADIENTCURVE"})
        for (int curve : s.All(type)) {
            const std::vector<int> segments = Step::Ids(s.Arg(curve, 0));
            for (std::size_t i = 0; i < segments.size(); ++i) {
                const bool last = i + 1 == segments.size();
                if ((s.Arg(segments[i], 0) == ".DISCONTINUOUS.") != last) return type + " transition " + std::to_string(i);
                if (last && Step::Value(s.Arg(segments[i], 3)) != 0) return type + " closing length";
            }
        }
    for (const std::string layout : {"IFCALIGNMENTHORIZONTAL", "IFCALIGNMENTVERTICAL"}) {
        const int last = Step::Id(s.Arg(s.Nested(s.All(layout).at(0)).back(), 7));
        if (Step::Value(s.Arg(last, layout == std::string("IFCALIGNMENTHORIZONTAL") ? 6 : 3)) != 0) return layout;
    }
    return "";
}

// SegmentStart and SegmentLength are lengths.
std::string LengthMeasures(const Step& s) {
    for (int cs : s.All("IFCCURVESEGMENT"))
        for (std::size_t k : {2, 3})
            if (s.Arg(cs, k).rfind("IFCLENGTHMEASURE(", 0) != 0) return "#" + std::to_string(cs);
    return "";
}

// Each alignment segment is drawn by one curve segment, as ('Axis', 'Segment').
std::string SegmentShapes(const Step& s) {
    for (int seg : s.All("IFCALIGNMENTSEGMENT")) {
        const std::vector<int> reps = Step::Ids(s.Arg(Step::Id(s.Arg(seg, 6)), 2));
        if (reps.size() != 1 || s.Arg(reps[0], 1) != "'Axis'" || s.Arg(reps[0], 2) != "'Segment'" ||
            s.Type(Step::Ids(s.Arg(reps[0], 3)).at(0)) != "IFCCURVESEGMENT")
            return "#" + std::to_string(seg);
    }
    return "";
}

// With a profile: the plan as ('FootPrint', 'Curve2D'), the 3D axis as ('Axis', 'Curve3D').
std::string AlignmentShapes(const Step& s) {
    using Shape = std::array<std::string, 3>;
    const std::vector<Shape> want{{"'FootPrint'", "'Curve2D'", "IFCCOMPOSITECURVE"}, {"'Axis'", "'Curve3D'", "IFCGRADIENTCURVE"}};
    return s.Shapes() == want ? "" : "shapes";
}

// Each layout segment and its curve segment are of one kind, in one order.
std::string SameKinds(const Step& s) {
    const std::map<std::string, std::string> curveOf{{".LINE.", "IFCLINE"},           {".CIRCULARARC.", "IFCCIRCLE"},
                                                     {".CLOTHOID.", "IFCCLOTHOID"},   {".CONSTANTGRADIENT.", "IFCLINE"},
                                                     {".PARABOLICARC.", "IFCPOLYNOMIALCURVE"}};
    for (const std::string layout : {"IFCALIGNMENTHORIZONTAL", "IFCALIGNMENTVERTICAL"})
        for (int seg : s.Nested(s.All(layout).at(0))) {
            const int params = Step::Id(s.Arg(seg, 7));
            const int curve = Step::Ids(s.Arg(Step::Ids(s.Arg(Step::Id(s.Arg(seg, 6)), 2)).at(0), 3)).at(0);
            const auto kind = curveOf.find(s.at.at(params).second.back());
            if (kind == curveOf.end() || s.Type(Step::Id(s.Arg(curve, 4))) != kind->second) return "#" + std::to_string(seg);
        }
    return "";
}

// A parabola's radius is HorizontalLength / (EndGradient − StartGradient);
// a grade line has none.
std::string VerticalRadius(const Step& s) {
    for (int v : s.All("IFCALIGNMENTVERTICALSEGMENT")) {
        const double length = Step::Value(s.Arg(v, 3)), g0 = Step::Value(s.Arg(v, 5)), g1 = Step::Value(s.Arg(v, 6));
        const bool parabola = s.Arg(v, 8) == ".PARABOLICARC.";
        if (parabola ? std::fabs(Step::Value(s.Arg(v, 7)) - length / (g1 - g0)) > 1e-6 : s.Arg(v, 7) != "$")
            return "#" + std::to_string(v);
    }
    return "";
}

// Every start point and direction reads back as the road's own double.
std::string FullPrecision(const Step& s) {
    const Alignment road = Demo();
    const std::vector<int> segments = s.Nested(s.All("IFCALIGNMENTHORIZONTAL").at(0));
    for (std::size_t e = 0; e < road.Elements().size(); ++e) {
        const Stake start = road.At(e, road.Elements()[e].dStartStation, 0, 0);
        const int params = Step::Id(s.Arg(segments[e], 7));
        const std::vector<std::string> xy = Step::Split(s.Arg(Step::Id(s.Arg(params, 2)), 0).substr(1));
        const double direction = NormaliseAngle(kPi / 2 - start.dAzimuth);
        if (std::strtod(xy[0].c_str(), nullptr) != start.point.Y || std::strtod(xy[1].c_str(), nullptr) != start.point.X ||
            Step::Value(s.Arg(params, 3)) != direction)
            return "element " + std::to_string(e);
    }
    return "";
}

TEST(IfcExport, HoldsEachRuleOfTheValidationServiceAndEachRuleCatchesItsBreach) {
    const std::string file = DemoIfc();
    const struct {
        const char* rule;
        Rule check;
        std::string from, to;  // the last occurrence replaced: a file that breaks the rule
    } rules[] = {
        {"closing segment", ClosingSegment, ".DISCONTINUOUS.", ".CONTINUOUS."},
        {"closing layout segment", ClosingSegment, ",0.,$,.LINE.", ",1.,$,.LINE."},
        {"lengths as IfcLengthMeasure", LengthMeasures, "IFCLENGTHMEASURE(0.),IFCLENGTHMEASURE(0.)", "IFCPARAMETERVALUE(0.),IFCLENGTHMEASURE(0.)"},
        {"segments as Axis/Segment", SegmentShapes, "'Axis','Segment'", "'Axis','Curve2D'"},
        {"alignment as FootPrint and Axis", AlignmentShapes, "'Axis','Curve3D'", "'Axis','Curve2D'"},
        {"same kinds in layout and curve", SameKinds, ".CLOTHOID.", ".CUBIC."},
        {"vertical radius", VerticalRadius, "$,.CONSTANTGRADIENT.", "1.,.CONSTANTGRADIENT."},
        {"full precision", FullPrecision, "0.6544973400238264", "0.654497340023826"},
    };
    for (const auto& r : rules) {
        EXPECT_EQ(r.check(Step(file)), "") << r.rule;
        std::string broken = file;
        const std::size_t at = broken.rfind(r.from);
        ASSERT_NE(at, std::string::npos) << r.rule;
        EXPECT_NE(r.check(Step(broken.replace(at, r.from.size(), r.to))), "") << r.rule;
    }
}

TEST(IfcExport, WritesTheCurvesATransitionTableGivesInTheFrameOfEastAndNorth) {
    const Step s(DemoIfc());
    const std::vector<int> segments = s.Nested(s.All("IFCALIGNMENTHORIZONTAL").at(0));
    auto params = [&](std::size_t e) { return Step::Id(s.Arg(segments[e], 7)); };
    auto curve = [&](std::size_t e) {
        return Step::Ids(s.Arg(Step::Ids(s.Arg(Step::Id(s.Arg(segments[e], 6)), 2)).at(0), 3)).at(0);
    };
    // The first row, X 3805000 Y 500000, azimuth 52°30′: east first, the
    // direction 37°30′ from east (to the rows' rounding).
    EXPECT_EQ(s.Arg(Step::Id(s.Arg(params(0), 2)), 0), "(500000.,3805000.)");
    EXPECT_NEAR(Step::Value(s.Arg(params(0), 3)), 37.5 * kPi / 180, 1e-5);
    const struct {
        std::size_t element;
        double r0, r1, constant, start;  // business radii; A and SegmentStart of the clothoid
    } spirals[] = {
        {1, 0, -600, -std::sqrt(600.0 * 120), 0},                             // entering a right turn: A = √(RL)
        {5, 0, 400, std::sqrt(400.0 * 100), 0},                               // entering a left turn
        {7, 400, 250, std::sqrt(80 / (1 / 250.0 - 1 / 400.0)), 80 * 250.0 / 150},  // arc to arc, R 400 at l = A²/400
        {9, 250, 0, -std::sqrt(250.0 * 100), -100},                           // leaving a left turn: κ falls
    };
    for (const auto& c : spirals) {
        EXPECT_NEAR(Step::Value(s.Arg(params(c.element), 4)), c.r0, 1e-9) << c.element;
        EXPECT_NEAR(Step::Value(s.Arg(params(c.element), 5)), c.r1, 1e-9) << c.element;
        const int clothoid = Step::Id(s.Arg(curve(c.element), 4));
        EXPECT_NEAR(Step::Value(s.Arg(clothoid, 1)), c.constant, 1e-9) << c.element;
        EXPECT_NEAR(Step::Value(s.Arg(curve(c.element), 2)), c.start, 1e-9) << c.element;
    }
    // The right-turning arc of R 600 runs clockwise: a negative length.
    EXPECT_EQ(s.Arg(curve(2), 3), "IFCLENGTHMEASURE(-250.)");
    // Crest SJD1 (R 8000) and sag SJD2 (R 12000).
    std::vector<double> radii;
    for (int v : s.All("IFCALIGNMENTVERTICALSEGMENT"))
        if (s.Arg(v, 8) == ".PARABOLICARC.") radii.push_back(std::round(Step::Value(s.Arg(v, 7))));
    EXPECT_EQ(radii, (std::vector<double>{-8000, 12000, -10000}));
}

TEST(IfcExport, RefusesWhatCannotBeEvaluatedNamingTheRowAndWritesNothing) {
    const Profile profile = DemoProfile();
    Profile elsewhere = profile;
    for (GradePoint& p : elsewhere.points) p.dStation += 5000, p.dStart += 5000, p.dEnd += 5000;
    Grid geographic = *ReadGrid("EPSG:4490").grid;
    auto with = [](int line, const char* row) {
        std::vector<std::string> list = DemoList();
        list[static_cast<std::size_t>(line)] = L(row);
        return Alignment::Parse(list);
    };
    const struct {
        Alignment road;
        const Profile* profile;
        const Grid* grid;
        std::string name, message;
    } cases[] = {
        {with(3, "420|弯道|600|3805252.436|500335.547"), nullptr, nullptr, "r", Format(text::kIfcElementFault, 3, "420")},
        {with(4, "670|缓和曲线|abc|3805336.647|500569.019"), nullptr, nullptr, "r", Format(text::kIfcElementFault, 3, "420")},
        {with(3, "420|圆曲线|0|3805252.436|500335.547"), nullptr, nullptr, "r", Format(text::kIfcElementFault, 2, "300")},
        {with(5, "abc|直线|∞|3805345.175|500688.662"), nullptr, nullptr, "r", Format(text::kBadStationLine, 5)},
        {Demo(), nullptr, nullptr, "\xFF", text::kIfcBadName},
        {Demo(), nullptr, &geographic, "r", Format(text::kIfcGeographic, "EPSG:4490")},
        {Demo(), &elsewhere, nullptr, "r", Format(text::kIfcNoProfileOverlap, 5000.0, 7120.0, 0.0, 2120.0)},
    };
    for (const auto& c : cases) {
        const IfcExport out = ExportIfc(c.road, c.name, 0, c.profile, c.grid);
        EXPECT_EQ(out.strMessage, c.message);
        EXPECT_TRUE(out.bytes.empty()) << c.message;
    }
}

}  // namespace
