// The command-line tests' fixture: the program run in a folder of its own.
#pragma once
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/files/AlignmentFile.h"
#include "core/text/Gbk.h"

namespace fs = std::filesystem;
using nlohmann::json;
using vexaline::Gbk;

namespace {

const std::string kDemo = std::string(VEXALINE_SOURCE_DIR) + "/examples/demo.vxa";
const std::string kPoints = std::string(VEXALINE_SOURCE_DIR) + "/examples/demo.vxp";

inline std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

// Line n (0-based) of a text.
inline std::string Line(const std::string& text, int n) {
    std::istringstream in(text);
    std::string line;
    for (int i = 0; i <= n && std::getline(in, line);) ++i;
    return line;
}

// The sample road with one byte string replaced.
inline std::string DemoWith(const std::string& from, const std::string& to) {
    std::string bytes = Bytes(kDemo);
    return bytes.replace(bytes.find(from), from.size(), to);
}

struct Outcome { int status; std::string out, err; };

// The run ended with the status and said err, one line, on stderr.
inline testing::AssertionResult Exited(const Outcome& o, int status, const std::string& err) {
    if (o.status == status && o.err == err + "\n") return testing::AssertionSuccess();
    return testing::AssertionFailure() << "status " << o.status << " stderr \"" << o.err << "\"; wanted " << status
                                       << " \"" << err << "\"";
}

// Runs the program in a folder of its own with the arguments (a shell word
// list) and collects stdout, stderr and the exit status.
class Cli : public testing::Test {
protected:
    void SetUp() override { fs::remove_all(dir_), fs::create_directories(dir_); }
    void TearDown() override { fs::remove_all(dir_); }

    // shell: what the shell does first (limits, a signal ignored, TMPDIR).
    Outcome Run(const std::string& args, const std::string& shell = "") {
        const std::string command = shell + std::string(VEXALINE_CLI) + " " + args + " 2>" + Path("stderr");
        Outcome o{};
        FILE* pipe = ::popen(command.c_str(), "r");
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) o.out.append(buffer, n);
        const int raw = ::pclose(pipe);
        o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        o.err = Bytes(Path("stderr"));
        return o;
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    std::string Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
        return Path(name);
    }
    // An intersection point table with its header.
    std::string Table(const std::string& name, const std::string& rows) const {
        return Write(name, "\xEF\xBB\xBF交点,X,Y,半径,缓和曲线长1,缓和曲线长2\r\n" + rows);
    }

    const fs::path dir_ = fs::temp_directory_path() / ("vexaline-cli-" + std::to_string(::getpid()));
};

}  // namespace
