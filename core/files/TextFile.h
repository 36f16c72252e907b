#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>
#include <sys/types.h>

// Whole-file reads and safe whole-file writes. Files are opened, read or
// written completely and closed within one call; a file too long to be
// held is written in pieces through an AtomicFileWriter, as safely.
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

// A file written in pieces as they are made, kept as WriteFileAtomically
// keeps a whole one: the pieces go to a temporary file beside path
// (through its links; refusing what WriteFileAtomically refuses), and
// Commit syncs it and renames it over path. Until then path is untouched;
// a refused path, a failed write or Commit, or a writer dropped without
// Commit removes the temporary file and leaves any old file whole.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const std::string& path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Appends the bytes. False once the file was refused or any write
    // failed (the temporary file is then gone and later writes do nothing).
    bool Write(const char* data, std::size_t size);
    bool Write(const std::string& bytes) { return Write(bytes.data(), bytes.size()); }
    // True when every byte is on the disk and the file is at path; once.
    bool Commit();

private:
    void Abandon();
    int fd_ = -1;
    std::string temp_, path_;
};

// Removes the file at path (a link itself, not what it names). True when
// no file is left there: removed, or none was there.
bool RemoveFile(const std::string& path);

// Test seam, for tests only: the call that writes the temporary file's
// bytes, ::write unless a test puts another in (to make a disk full or a
// write short on purpose); nullptr puts ::write back.
using WriteCall = ssize_t (*)(int fd, const void* data, std::size_t size);
void SetWriteCallForTesting(WriteCall call);

}  // namespace vexaline
