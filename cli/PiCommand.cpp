// vexaline-cli pi: the road from a table of intersection points, as the
// window's 交点法 makes it, with the curve table.
#include <filesystem>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/files/AlignmentFile.h"
#include "core/files/FileType.h"
#include "core/files/ProfileCsv.h"
#include "core/files/PiCsv.h"
#include "core/files/TextFile.h"
#include "core/road/PiTable.h"
#include "core/text/FixedText.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline::cli {
namespace {

struct PiOptions {
    std::string table, start, out, report, equations;
    bool json = false;
};

// Lengths and stations to the millimetre, as the curve table shows them.
double Mm(double v) { return FixedRoundTrip(v, 3) + 0.0; }

nlohmann::ordered_json Json(const std::vector<CurveRecord>& curves, const Chainage& chain) {
    using Json = nlohmann::ordered_json;
    Json list = Json::array();
    for (const CurveRecord& c : curves) {
        Json curve = {{"jd", c.strName},    {"x", Mm(c.jd.X)},    {"y", Mm(c.jd.Y)},
                      {"deflection", DeflectionText(c.dDeflection)},     {"R", Mm(c.dRadius)},
                      {"Ls1", Mm(c.dLs1)},  {"Ls2", Mm(c.dLs2)},  {"T1", Mm(c.dT1)},
                      {"T2", Mm(c.dT2)},    {"L", Mm(c.dLength)}, {"E", Mm(c.dExternal)}};
        // With station equations the stations are 桩号, each followed by its
        // occurrence as lookup gives one: 1, 2, … inside a 长链, else null.
        const std::pair<const char*, double> stations[] = {
            {"ZH", c.dZH}, {"HY", c.dHY}, {"QZ", c.dQZ}, {"YH", c.dYH}, {"HZ", c.dHZ}};
        for (const auto& [key, distance] : stations) {
            const ChainStation at = chain.StationAt(distance);
            curve[key] = Mm(at.dValue);
            if (!chain.Empty()) curve[std::string(key) + "_occurrence"] = at.nOccurrence ? Json(at.nOccurrence) : Json(nullptr);
        }
        list.push_back(std::move(curve));
    }
    return {{"curves", list}};
}

int Run(const PiOptions& o) {
    int status = kDone;
    std::vector<EquationRow> equations;
    const std::optional<Chainage> chain = ReadEquations(o.equations, status, &equations);
    if (!chain) return status;
    // A table without rows is no table: the start is the number typed.
    double start = 0;
    const std::optional<ChainStation> typed = ParseChainStation(o.start);
    if (chain->Empty() ? !ParsePiNumber(o.start, start) : !typed) return ComplainUtf8(text::kPiBadStartStation), kUsage;
    if (!chain->Empty()) {
        const std::optional<double> d = DistanceOn(*chain, *typed, o.start);
        if (!d) return kRefused;
        start = *d;
    }
    const std::optional<std::string> bytes = ReadFile(o.table);
    if (!bytes) return kUsage;
    const PiCsvRead read = ReadPiCsv(*bytes);
    if (!read.Ok()) return ComplainUtf8(read.strMessage), kUsage;
    const PiRoad road = BuildPiRoad(read.rows, start, *chain);
    if (!road.Ok()) return ComplainUtf8(road.strMessage), kRefused;
    std::vector<std::string> list = ControlLines(road.rows);
    list.insert(list.begin(), ControlHeaderLine());
    // All or none: a report beside no road, a road without the report asked
    // for, or rows in 桩号 without their table beside, would be half a result.
    std::vector<FileBytes> files{{o.out, SavedAlignmentFile(list, TimeStampNow())}};
    if (!o.report.empty()) files.push_back({o.report, CurveTableCsv(road.curves, *chain)});
    const std::string beside = WithExtension(o.out, "vxd");
    const bool tableIsBeside = !o.equations.empty() && SameFile(o.equations, beside);
    if (!chain->Empty() && !tableIsBeside) files.push_back({beside, EquationCsvText(equations)});
    std::vector<std::string> outputs;
    for (const FileBytes& f : files) outputs.push_back(f.path);
    if (!DistinctFiles(outputs, {o.table, o.equations})) return kUsage;
    std::error_code ignored;
    const bool replaces = std::filesystem::exists(o.out, ignored);
    if (const std::optional<std::size_t> failed = WriteFilesAtomically(files))
        return ComplainUtf8(Format(text::kCannotWrite, files[*failed].path.c_str())), kRefused;
    std::vector<std::string> kept = outputs;
    kept.push_back(o.equations);
    if (replaces && !RemoveTablesBeside(o.out, kept)) return kRefused;
    if (o.json) std::cout << Json(road.curves, *chain).dump() << '\n';
    return kDone;
}

}  // namespace

void AddPiCommand(CLI::App& app, int& status) {
    auto o = std::make_shared<PiOptions>();
    CLI::App* cmd = app.add_subcommand("pi", "Alignment file from a table of intersection points (交点法)");
    cmd->add_option("TABLE", o->table, "Intersection point table (.csv: 交点,X,Y,半径,缓和曲线长1,缓和曲线长2)")
        ->required();
    cmd->add_option("--start-station", o->start, "Station of the start point, in metres")->required();
    cmd->add_option("-o,--output", o->out, "Alignment file to write (.vxa); nothing is written when refused")
        ->required();
    cmd->add_option("--report", o->report, "Also write the curve table (.csv)");
    cmd->add_flag("--json", o->json, "Print the curve table as JSON");
    cmd->add_option("--equations", o->equations, "Station equations (.vxd): the start, the rows and the curve table in 桩号");
    cmd->callback([o, &status] { status = Run(*o); });
}

}  // namespace vexaline::cli
