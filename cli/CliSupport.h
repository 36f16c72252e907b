#pragma once
#include <optional>
#include <string>
#include <vector>

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

}  // namespace vexaline::cli
