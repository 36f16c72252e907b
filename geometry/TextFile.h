#pragma once
#include <string>

// Whole-file reads and safe whole-file writes. Files are opened, read or
// written completely and closed within one call.
namespace vexaline {

enum class ReadStatus { Ok, Missing, Unreadable };

// Reads every byte of the file. Missing: there is no such file; Unreadable:
// it exists (or is a directory) but cannot be read.
ReadStatus ReadWholeFile(const std::string& path, std::string& bytes);

// Writes bytes to a temporary file beside path and renames it over path only
// when every byte reached the disk, so a failure leaves any old file whole.
// False on any failure; the temporary file is then removed.
bool WriteFileAtomically(const std::string& path, const std::string& bytes);

// Creates the file empty, truncating an existing one (the "create it"
// answer when a chosen file does not exist). Same guarantees as above.
inline bool CreateEmptyFile(const std::string& path) { return WriteFileAtomically(path, std::string()); }

}  // namespace vexaline
