// vexaline-cli: stakes, lookups and the rest of the window's work for batch
// jobs and scripts, on the core alone.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <iostream>
#include <new>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/text/Texts.h"

int main(int argc, char** argv) {
    using namespace vexaline::cli;
    CLI::App app{"Vexaline: road alignment setting-out from the command line", "vexaline-cli"};
    app.set_version_flag("--version", "vexaline-cli 0.622");
    app.require_subcommand(1);
    int status = kDone;
    AddStakesCommand(app, status);
    AddLookupCommand(app, status);
    AddConvertCommand(app, status);
    AddCheckCommand(app, status);
    AddPiCommand(app, status);
    AddProfileCommand(app, status);
    AddInspectCommand(app, status);
    AddChainageCommand(app, status);
    AddSectionCommand(app, status);
    AddGroundCommand(app, status);
    AddFourParamCommand(app, status);
    AddTransformCommand(app, status);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? kDone : kUsage;
    } catch (const std::bad_alloc&) {
        // A run is cut down by a wider interval or a shorter range; the other
        // subcommands have only their file, too big.
        ComplainUtf8(app.got_subcommand("stakes") ? vexaline::text::kOutOfMemory : vexaline::text::kOutOfMemoryFile);
        return kRefused;
    }
    // A full disk or a closed pipe on stdout is a failure, not a result.
    std::cout.flush();
    if (std::fflush(stdout) != 0 || std::ferror(stdout) || !std::cout) {
        ComplainUtf8(vexaline::text::kStdoutFailed);
        return kRefused;
    }
    return status;
}
