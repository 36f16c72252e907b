// vexaline-cli transform: a point file carried to another grid, by the
// four parameters or between two grids through PROJ; names, order, heights
// and layout kept.
#include <memory>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/files/PointCoordinates.h"
#include "core/grid/Grid.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline::cli {
namespace {

struct TransformOptions {
    std::string in, out, four, from, to;
    bool inverse = false, degrees = false;
};

// How the points are carried; what the file holds before and after.
struct Carry {
    std::optional<FourParam> four;
    std::optional<GridTransform> grids;
    CoordinateText in = CoordinateText::Metres, out = CoordinateText::Metres;
};

// The grids of --from and --to, or the parameters of --four; nullopt after
// saying why, status set.
std::optional<Carry> CarryOf(const TransformOptions& o, int& status) {
    Carry carry;
    if (!o.four.empty()) {
        carry.four = ReadFourParam(o.four, status);
        return carry.four ? std::optional<Carry>(std::move(carry)) : std::nullopt;
    }
    status = kUsage;
    const GridRead from = ReadGrid(o.from), to = ReadGrid(o.to);
    if (!from.grid || !to.grid) return ComplainUtf8(from.grid ? to.strMessage : from.strMessage), std::nullopt;
    if (o.degrees && !from.grid->bGeographic && !to.grid->bGeographic)
        return ComplainUtf8(text::kDegreesNoLatLon), std::nullopt;
    const CoordinateText angle = o.degrees ? CoordinateText::Degrees : CoordinateText::Dms;
    carry.in = from.grid->bGeographic ? angle : CoordinateText::Metres;
    carry.out = to.grid->bGeographic ? angle : CoordinateText::Metres;
    status = kRefused;
    GridTransform::Make made = GridTransform::Between(*from.grid, *to.grid);
    if (!made.transform) return ComplainUtf8(made.strMessage), std::nullopt;
    carry.grids = std::move(made.transform);
    return std::optional<Carry>(std::move(carry));
}

int Run(const TransformOptions& o) {
    if (!DistinctFiles({o.out}, {o.in, o.four})) return kUsage;
    const PointFormat format = MeasuredFormatOf(o.in);
    if (MeasuredFormatOf(o.out) != format)
        return ComplainUtf8(Format(text::kTransformKinds, o.in.c_str(), o.out.c_str())), kUsage;
    int status = kDone;
    const std::optional<Carry> carry = CarryOf(o, status);
    if (!carry) return status;
    if (format == PointFormat::Vxp && (carry->in != CoordinateText::Metres || carry->out != CoordinateText::Metres))
        return ComplainUtf8(text::kPointsNoLatLon), kUsage;
    const std::optional<std::string> bytes = ReadFile(o.in);
    if (!bytes) return kUsage;
    const PointCoordinates read = ReadCoordinates(*bytes, format, carry->in);
    if (!read.Ok()) return ComplainUtf8(o.in + ": " + read.strMessage), kRefused;
    std::vector<CPlanePoint> points = read.points;
    const std::optional<std::size_t> bad =
        carry->grids ? carry->grids->Apply(points) : ApplyFour(*carry->four, points, o.inverse);
    if (bad)
        return ComplainUtf8(o.in + ": " + Format(text::kImportBadLine, read.lines[*bad], text::kGridCannotTransform)),
               kRefused;
    const PointRewrite written = RewriteCoordinates(*bytes, read, points, carry->out);
    if (!written.strMessage.empty()) return ComplainUtf8(o.out + ": " + written.strMessage), kRefused;
    return EmitBytes(written.bytes, o.out) ? kDone : kRefused;
}

}  // namespace

void AddTransformCommand(CLI::App& app, int& status) {
    auto o = std::make_shared<TransformOptions>();
    CLI::App* cmd = app.add_subcommand("transform", "A point file carried to another grid (四参数 or EPSG/GK grids)");
    cmd->add_option("IN", o->in, "Points: CASS .dat, CSV name,X,Y[,H], or .vxp")->required();
    cmd->add_option("OUT", o->out, "The same kind of file, written whole or not at all")->required();
    CLI::Option* four = cmd->add_option("--four", o->four, "Four parameters (.vxf): design grid to target grid");
    cmd->add_flag("--inverse", o->inverse, "With --four: target grid back to design grid")->needs(four);
    CLI::Option* from = cmd->add_option("--from", o->from, "Grid of IN: EPSG:<code> or GK:<meridian D.MMSS>[,<H m>[,<FE m>]]");
    CLI::Option* to = cmd->add_option("--to", o->to, "Grid of OUT, as --from")->needs(from);
    from->needs(to)->excludes(four);
    cmd->add_flag("--degrees", o->degrees, "Latitude and longitude as decimal degrees (default D.MMSSsssss)")->needs(from);
    cmd->callback([o, &status] {
        if (o->four.empty() && o->from.empty()) throw CLI::ValidationError("give --four P.vxf, or --from GRID --to GRID");
        status = Run(*o);
    });
}

}  // namespace vexaline::cli
