#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>
#include <sys/types.h>

// Whole-file reads and safe whole-file writes. Files are opened, read or
// written completely and closed within one call.
namespace vexaline {

enum class ReadStatus { Ok, Missing, Unreadable };

// No file of the program comes near this; a bigger one is the wrong file.
inline constexpr long long kMaxReadBytes = 1LL << 30;

// Reads every byte of the file. Missing: there is no such file; Unreadable:
// it exists but cannot be read, is no plain file (a directory, a pipe), or
// is bigger than kMaxReadBytes.
ReadStatus ReadWholeFile(const std::string& path, std::string& bytes);

// Writes bytes to a temporary file beside path and renames it over path only
// when every byte reached the disk, so a failure leaves any old file whole.
// False on any failure, and for an old file that is not a plain file or
// that this user may not write; the temporary file is then removed. A
// symbolic link is written through to the file it names and stays a link;
// one that names a missing file has it created (when its folder exists);
// a loop of links is refused.
bool WriteFileAtomically(const std::string& path, const std::string& bytes);

// Several files that belong together (a road and its report), each as
// WriteFileAtomically writes it, but renamed over their targets only once
// every one is complete: when one cannot be written, none is. The index of
// the first file that could not be written, nullopt when all were. (Only a
// rename failing between two renames could leave the first one written;
// renames within a folder just written to do not fail.)
struct FileBytes {
    std::string path, bytes;
};
std::optional<std::size_t> WriteFilesAtomically(const std::vector<FileBytes>& files);

// Removes the file at path (a link itself, not what it names). True when
// no file is left there: removed, or none was there.
bool RemoveFile(const std::string& path);

// Test seam, for tests only: the call that writes the temporary file's
// bytes, ::write unless a test puts another in (to make a disk full or a
// write short on purpose); nullptr puts ::write back.
using WriteCall = ssize_t (*)(int fd, const void* data, std::size_t size);
void SetWriteCallForTesting(WriteCall call);

}  // namespace vexaline
