#pragma once
// Runs vexaline-cli as a user runs it and collects what it says.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace clitest {

struct Outcome {
    int status;
    std::string out, err;
};

// Runs the program with the arguments (a shell word list) and collects
// stdout, stderr and the exit status.
inline Outcome Cli(const std::string& args) {
    const std::filesystem::path err = std::filesystem::temp_directory_path() / ("vexaline-cli-err-" + std::to_string(::getpid()));
    const std::string command = std::string(VEXALINE_CLI) + " " + args + " 2>" + err.string();
    Outcome o{};
    FILE* pipe = ::popen(command.c_str(), "r");
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) o.out.append(buffer, n);
    const int raw = ::pclose(pipe);
    o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream in(err, std::ios::binary);
    o.err.assign(std::istreambuf_iterator<char>(in), {});
    std::filesystem::remove(err);
    return o;
}

}  // namespace clitest
