#pragma once
#include <CLI/CLI.hpp>

// The subcommands of vexaline-cli. Each adds itself to the app; when it runs
// it sets status: 0 done, 1 refused or a line that is a message, 2 bad
// usage or a file that cannot be read.
namespace vexaline::cli {

void AddStakesCommand(CLI::App& app, int& status);
void AddLookupCommand(CLI::App& app, int& status);
void AddConvertCommand(CLI::App& app, int& status);
void AddCheckCommand(CLI::App& app, int& status);
void AddPiCommand(CLI::App& app, int& status);
void AddProfileCommand(CLI::App& app, int& status);
void AddInspectCommand(CLI::App& app, int& status);
void AddChainageCommand(CLI::App& app, int& status);
void AddSectionCommand(CLI::App& app, int& status);
void AddGroundCommand(CLI::App& app, int& status);
void AddFourParamCommand(CLI::App& app, int& status);
void AddTransformCommand(CLI::App& app, int& status);

}  // namespace vexaline::cli
