// vexaline-cli convert: LandXML alignments in and out, the other way of
// opening and saving the control data.
#include <cctype>
#include <ctime>
#include <memory>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/files/AlignmentFile.h"
#include "core/files/LandXml.h"
#include "core/road/Alignment.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline::cli {
namespace {

struct ConvertOptions {
    std::string in, out, alignment;
};

std::string Extension(const std::string& path) {
    std::size_t dot = path.find_last_of('.'), slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string();
    std::string ext = path.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

// The file's name without folder and extension: the exported alignment's name.
std::string Stem(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name.substr(0, name.find_last_of('.'));
}

int Import(const ConvertOptions& o) {
    const std::optional<std::string> bytes = ReadFile(o.in);
    if (!bytes) return kUsage;
    const LandXmlImport in = ImportLandXml(*bytes, o.alignment);
    if (in.status != ImportStatus::Ok) {
        ComplainUtf8(in.strMessage);
        return in.status == ImportStatus::Malformed ? kUsage : kRefused;
    }
    std::vector<std::string> list = ControlLines(in.rows);
    list.insert(list.begin(), ControlHeaderLine());
    if (!EmitBytes(SavedAlignmentFile(list, TimeStampNow()), o.out)) return kRefused;
    if (!in.strNotice.empty()) ComplainUtf8(in.strNotice);  // feet converted, elements merged
    return kDone;
}

int Export(const ConvertOptions& o) {
    const std::optional<std::vector<std::string>> list = ReadControlList(o.in);
    if (!list) return kUsage;
    // A name of the user's own that XML cannot hold is bad usage; the file's
    // own stem is refused by the export itself.
    if (!o.alignment.empty() && !IsLandXmlName(o.alignment)) return ComplainUtf8(text::kXmlExportBadName), kUsage;
    const std::string name = o.alignment.empty() ? Stem(o.in) : o.alignment;
    const LandXmlExport out = ExportLandXml(Alignment::Parse(*list), name, std::time(nullptr));
    if (!out.strMessage.empty()) return ComplainUtf8(out.strMessage), kRefused;
    return EmitBytes(out.bytes, o.out) ? kDone : kRefused;
}

int Run(const ConvertOptions& o) {
    const std::string from = Extension(o.in), to = Extension(o.out);
    if (from == "xml" && to == "vxa") return Import(o);
    if (from == "vxa" && to == "xml") return Export(o);
    ComplainUtf8(Format(text::kConvertKinds, o.in.c_str(), o.out.c_str()));
    return kUsage;
}

}  // namespace

void AddConvertCommand(CLI::App& app, int& status) {
    auto o = std::make_shared<ConvertOptions>();
    CLI::App* cmd = app.add_subcommand("convert", "LandXML alignment to an alignment file, or back, by extension");
    cmd->add_option("IN", o->in, "ROAD.xml or ROAD.vxa")->required();
    cmd->add_option("OUT", o->out, "ROAD.vxa or ROAD.xml; nothing is written when refused")->required();
    cmd->add_option("--alignment", o->alignment,
                    "Which alignment of a LandXML file holding several; the exported alignment's name");
    cmd->callback([o, &status] { status = Run(*o); });
}

}  // namespace vexaline::cli
