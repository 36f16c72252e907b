#pragma once
#include <optional>
#include <string>
#include <vector>

#include "core/road/CrossSlope.h"
#include "core/road/Profile.h"

// What every subcommand of vexaline-cli needs: reading the files, speaking
// UTF-8 on the terminal and GBK in files, and the exit statuses.
namespace vexaline::cli {

enum Status { kDone = 0, kRefused = 1, kUsage = 2 };

// The control list of an alignment file, header line first, as the window
// holds it after 打开. nullopt, after saying so on stderr, when the file
// cannot be read.
std::optional<std::vector<std::string>> ReadControlList(const std::string& path);

// Reads a whole file; nullopt after saying so on stderr.
std::optional<std::string> ReadFile(const std::string& path);

// A GBK message on stderr, as UTF-8, with a line end.
void Complain(const std::string& gbk);
// A fixed text of the program (UTF-8) on stderr.
void ComplainUtf8(const std::string& utf8);

// Bytes of a file format (already GBK, CR LF): written to path atomically,
// or printed on stdout (converted to UTF-8 with LF unless gbk).
bool EmitFile(const std::string& gbkBytes, const std::string& path, bool gbk);

// Bytes of an exchange format (DXF, CASS, CSV, LandXML), written to path
// atomically or printed on stdout exactly as they are.
bool EmitBytes(const std::string& bytes, const std::string& path);

// The road's heights: the vertical alignment and, when a path is given,
// the cross slopes. status is kUsage for a file that cannot be read or is
// no table, kRefused for a table whose rows are refused (said on stderr).
struct Heights {
    Profile profile;
    CrossSlopes slopes;
};
std::optional<Heights> ReadHeights(const std::string& profilePath, const std::string& slopesPath, int& status);

}  // namespace vexaline::cli
