// vexaline-cli convert: LandXML alignments in and out, the other way of
// opening and saving the control data.
#include <cctype>
#include <ctime>
#include <filesystem>
#include <memory>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/files/AlignmentFile.h"
#include "core/files/FileType.h"
#include "core/files/IfcExport.h"
#include "core/files/LandXml.h"
#include "core/files/MapExport.h"
#include "core/files/PointImport.h"
#include "core/files/ProfileCsv.h"
#include "core/files/TextFile.h"
#include "core/road/Alignment.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline::cli {
namespace {

struct ConvertOptions {
    std::string in, out, alignment, profile, equations;
    std::string crs, points;  // the road's grid and the points shown with it, for a map
};

// The file's name without folder and extension: the exported alignment's name.
std::string Stem(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name.substr(0, name.find_last_of('.'));
}

// The road, its profile and its station equations where there are, all or none.
bool WriteTogether(const std::vector<FileBytes>& files) {
    const std::optional<std::size_t> failed = WriteFilesAtomically(files);
    if (failed) ComplainUtf8(Format(text::kCannotWrite, files[*failed].path.c_str()));
    return !failed;
}

// Where the imported station equations go: --equations, else beside the road.
std::string EquationsPath(const ConvertOptions& o) {
    return o.equations.empty() ? WithExtension(o.out, "vxd") : o.equations;
}

int Import(const ConvertOptions& o) {
    const std::optional<std::string> bytes = ReadFile(o.in);
    if (!bytes) return kUsage;
    const LandXmlImport in = ImportLandXml(*bytes, o.alignment);
    if (in.status != ImportStatus::Ok) {
        ComplainUtf8(in.strMessage);
        return in.status == ImportStatus::Malformed ? kUsage : kRefused;
    }
    if (!o.profile.empty() && in.grades.empty()) return ComplainUtf8(in.strProfileMessage), kRefused;
    std::vector<std::string> list = ControlLines(in.rows);
    list.insert(list.begin(), ControlHeaderLine());
    std::vector<FileBytes> files{{o.out, SavedAlignmentFile(list, TimeStampNow())}};
    if (!o.profile.empty()) files.push_back({o.profile, GradeCsvText(in.grades)});
    // The table goes beside the road too, where the window reads it.
    const std::string beside = WithExtension(o.out, "vxd");
    if (!in.equations.empty()) files.push_back({EquationsPath(o), EquationCsvText(in.equations)});
    if (!in.equations.empty() && !SameFile(EquationsPath(o), beside)) files.push_back({beside, EquationCsvText(in.equations)});
    std::vector<std::string> written;
    for (const FileBytes& f : files) written.push_back(f.path);
    if (!DistinctFiles(written, {o.in})) return kUsage;
    std::error_code ignored;
    const bool replaces = std::filesystem::exists(o.out, ignored);
    if (!WriteTogether(files)) return kRefused;
    if (replaces && !RemoveTablesBeside(o.out, written)) return kRefused;
    if (!in.strNotice.empty()) ComplainUtf8(in.strNotice);  // feet converted, elements merged
    return kDone;
}

// The road exported, and with --profile its vertical alignment on the road's equations.
struct RoadOut {
    Road read;
    std::optional<Heights> heights;
    const Profile* VerticalAlignment() const { return heights ? &heights->profile : nullptr; }
};

// nullopt after saying why, status set.
std::optional<RoadOut> ReadRoadOut(const ConvertOptions& o, int& status) {
    status = kUsage;
    std::optional<Road> read = ReadRoad(o.in, o.equations, status);
    if (!read) return std::nullopt;
    RoadOut out{std::move(*read), std::nullopt};
    if (!o.profile.empty() && !(out.heights = ReadHeights(o.profile, std::string(), status, out.read.road.Chain())))
        return std::nullopt;
    return out;
}

int Export(const ConvertOptions& o) {
    if (!DistinctFiles({o.out}, {o.in, o.profile, o.equations})) return kUsage;
    int status = kUsage;
    const std::optional<RoadOut> read = ReadRoadOut(o, status);
    if (!read) return status;
    // A name of the user's own that XML cannot hold is bad usage; the file's
    // own stem is refused by the export itself.
    if (!o.alignment.empty() && !IsLandXmlName(o.alignment)) return ComplainUtf8(text::kXmlExportBadName), kUsage;
    const std::string name = o.alignment.empty() ? Stem(o.in) : o.alignment;
    const LandXmlExport out = ExportLandXml(read->read.road, name, std::time(nullptr), read->VerticalAlignment());
    if (!out.strMessage.empty()) return ComplainUtf8(out.strMessage), kRefused;
    return EmitBytes(out.bytes, o.out) ? kDone : kRefused;
}

// The road on a map (KML or GeoJSON), with the points of --points.
int ExportMap(const ConvertOptions& o, MapFormat format) {
    if (!DistinctFiles({o.out}, {o.in, o.profile, o.equations, o.points})) return kUsage;
    const GridRead grid = ReadGrid(o.crs);
    if (!grid.grid) return ComplainUtf8(grid.strMessage), kUsage;
    int status = kUsage;
    const std::optional<RoadOut> read = ReadRoadOut(o, status);
    if (!read) return status;
    MeasuredImport points;
    if (!o.points.empty()) {
        const std::optional<std::string> bytes = ReadFile(o.points);
        if (!bytes) return kUsage;
        points = ImportMeasuredPoints(*bytes, MeasuredFormatOf(o.points));
        if (!points.Ok()) return ComplainUtf8(o.points + ": " + points.strMessage), kRefused;
    }
    GridTransform::Make toMap = GridTransform::ToMap(*grid.grid);
    if (!toMap.transform) return ComplainUtf8(toMap.strMessage), kRefused;
    const MapExport out = vexaline::ExportMap(format, read->read.road, *toMap.transform, grid.grid->strName,
                                              read->VerticalAlignment(), points.points, Stem(o.in));
    if (!out.strMessage.empty()) return ComplainUtf8(out.strMessage), kRefused;
    return EmitBytes(out.bytes, o.out) ? kDone : kRefused;
}

// The road for a BIM model (IFC 4.3), with its profile, station equations and grid.
int ExportIfcFile(const ConvertOptions& o) {
    if (!DistinctFiles({o.out}, {o.in, o.profile, o.equations})) return kUsage;
    std::optional<Grid> grid;
    if (!o.crs.empty()) {
        const GridRead read = ReadGrid(o.crs);
        if (!read.grid) return ComplainUtf8(read.strMessage), kUsage;
        grid = read.grid;
    }
    int status = kUsage;
    const std::optional<RoadOut> read = ReadRoadOut(o, status);
    if (!read) return status;
    const std::string name = o.alignment.empty() ? Stem(o.in) : o.alignment;
    const IfcExport out = ExportIfc(read->read.road, name, std::time(nullptr), read->VerticalAlignment(), grid ? &*grid : nullptr);
    if (!out.strMessage.empty()) return ComplainUtf8(out.strMessage), kRefused;
    return EmitBytes(out.bytes, o.out) ? kDone : kRefused;
}

int Run(const ConvertOptions& o) {
    const std::string from = ExtensionOf(o.in), to = ExtensionOf(o.out);
    // One would be written over the other.
    if (!o.profile.empty() && (SameFile(o.profile, o.out) || SameFile(o.profile, o.in)))
        return ComplainUtf8(Format(text::kConvertProfileIsOut, o.profile.c_str())), kUsage;
    if (!o.equations.empty() && (SameFile(o.equations, o.out) || SameFile(o.equations, o.in) ||
                                 (!o.profile.empty() && SameFile(o.equations, o.profile))))
        return ComplainUtf8(Format(text::kConvertEquationsIsOut, o.equations.c_str())), kUsage;
    if (from == "xml" && to == "vxa") return Import(o);
    if (from == "vxa" && to == "xml") return Export(o);
    if (from == "vxa" && to == "ifc") return ExportIfcFile(o);
    if (from == "vxa" && (to == "kml" || to == "geojson"))
        return ExportMap(o, to == "kml" ? MapFormat::Kml : MapFormat::GeoJson);
    ComplainUtf8(Format(text::kConvertKinds, o.in.c_str(), o.out.c_str()));
    return kUsage;
}

}  // namespace

void AddConvertCommand(CLI::App& app, int& status) {
    auto o = std::make_shared<ConvertOptions>();
    CLI::App* cmd = app.add_subcommand("convert", "LandXML alignment to an alignment file, or back, by extension");
    cmd->add_option("IN", o->in, "ROAD.xml or ROAD.vxa")->required();
    cmd->add_option("OUT", o->out, "ROAD.vxa or ROAD.xml, a map: ROAD.kml, ROAD.geojson, or ROAD.ifc (IFC 4.3); nothing is written when refused")
        ->required();
    cmd->add_option("--alignment", o->alignment,
                    "Which alignment of a LandXML file holding several; the exported alignment's name");
    cmd->add_option("--profile", o->profile,
                    "Vertical alignment (.vxz): written from the LandXML profile, or exported with the road");
    cmd->add_option("--equations", o->equations,
                    "Station equations (.vxd): exported with the road, or written from the LandXML file's "
                    "(default: beside OUT)");
    cmd->add_option("--crs", o->crs, "The road's grid for OUT.kml or OUT.geojson (required) or OUT.ifc: EPSG:<code> or GK:<meridian D.MMSS>[,<H>[,<FE>]]");
    cmd->add_option("--points", o->points, "Points shown on the map: CASS .dat, CSV name,X,Y[,H], or .vxp");
    cmd->callback([o, &status] {
        const std::string to = ExtensionOf(o->out);
        const bool map = ExtensionOf(o->in) == "vxa" && (to == "kml" || to == "geojson");
        if (map && o->crs.empty()) throw CLI::ValidationError("--crs", "a map (.kml, .geojson) needs the road's grid");
        const bool ifc = ExtensionOf(o->in) == "vxa" && to == "ifc";
        if (!map && !ifc && !o->crs.empty()) throw CLI::ValidationError("--crs is for a map (OUT.kml, OUT.geojson) or OUT.ifc");
        if (!map && !o->points.empty()) throw CLI::ValidationError("--points are for a map: OUT.kml or OUT.geojson");
        status = Run(*o);
    });
}

}  // namespace vexaline::cli
