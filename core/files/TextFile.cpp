#include "core/files/TextFile.h"

#include <cerrno>
#include <climits>
#include <optional>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vexaline {
namespace {

WriteCall g_writeCall = nullptr;  // set by tests only

// The path a write goes to: the path itself, or, where it is a symbolic
// link, the file at the end of its links, so that the link stays a link
// (renaming over it would put a plain file in its place). A link that points
// nowhere gives the path it points to; a loop gives nothing.
std::optional<std::string> ThroughLinks(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {  // the kernel's own limit
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        char to[PATH_MAX];
        const ssize_t n = ::readlink(path.c_str(), to, sizeof to);
        if (n <= 0 || static_cast<std::size_t>(n) >= sizeof to) return std::nullopt;
        std::string next(to, static_cast<std::size_t>(n));
        const std::size_t slash = path.find_last_of('/');
        if (next[0] != '/' && slash != std::string::npos) next.insert(0, path, 0, slash + 1);
        path = next;
    }
    return std::nullopt;
}

// A temporary file beside the file it is to replace, open (fd) while it
// is written.
struct Staged {
    std::string temp, path;
    int fd = -1;
};

// An empty temporary file beside target (through its links), open for
// writing with the old file's permissions; nothing when target may not be
// replaced or no file can be made beside it.
std::optional<Staged> OpenTemporary(const std::string& target) {
    const std::optional<std::string> through = ThroughLinks(target);
    if (!through) return std::nullopt;
    const std::string& path = *through;
    // A directory, or anything else that is not a plain file, is not replaced.
    struct stat st;
    bool exists = ::stat(path.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) return std::nullopt;
    // Nor is a file the user made read-only: the rename would replace it.
    if (exists && ::access(path.c_str(), W_OK) != 0) return std::nullopt;

    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return std::nullopt;
    // Keep the old file's permissions; a new file gets the usual ones.
    mode_t mode = exists ? (st.st_mode & 07777) : 0666;
    if (!exists) {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    if (::fchmod(fd, mode) != 0) {
        ::close(fd);
        ::unlink(temp.c_str());
        return std::nullopt;
    }
    return Staged{temp, path, fd};
}

// Every byte, through short writes and interruptions; false on a failure.
bool WriteAll(int fd, const char* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = (g_writeCall ? g_writeCall : ::write)(fd, data + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Syncs and closes the temporary file; on a failure (ok false, or the sync
// or close failing) removes it and gives false.
bool Finish(const Staged& staged, bool ok) {
    ok = ok && ::fsync(staged.fd) == 0;
    ok = (::close(staged.fd) == 0) && ok;
    if (!ok) ::unlink(staged.temp.c_str());
    return ok;
}

// Writes bytes to a temporary file beside target (through its links) and
// syncs it; nothing when target may not be replaced or a write fails, the
// temporary file then removed.
std::optional<Staged> Stage(const std::string& target, const std::string& bytes) {
    std::optional<Staged> staged = OpenTemporary(target);
    if (!staged || !Finish(*staged, WriteAll(staged->fd, bytes.data(), bytes.size()))) return std::nullopt;
    return staged;
}

}  // namespace

void SetWriteCallForTesting(WriteCall call) { g_writeCall = call; }

ReadStatus ReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    // Without O_NONBLOCK a pipe would wait for a writer for ever; on a plain
    // file the flag changes nothing.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? ReadStatus::Missing : ReadStatus::Unreadable;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxReadBytes) {
        ::close(fd);
        return ReadStatus::Unreadable;
    }
    bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[1 << 16];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            bytes.clear();
            return ReadStatus::Unreadable;
        }
        if (n == 0) break;
        if (bytes.size() + static_cast<std::size_t>(n) > static_cast<std::size_t>(kMaxReadBytes)) {  // it grew
            ::close(fd);
            bytes.clear();
            return ReadStatus::Unreadable;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return ReadStatus::Ok;
}

bool WriteFileAtomically(const std::string& target, const std::string& bytes) {
    return !WriteFilesAtomically({{target, bytes}});
}

AtomicFileWriter::AtomicFileWriter(const std::string& path) {
    if (std::optional<Staged> staged = OpenTemporary(path)) fd_ = staged->fd, temp_ = staged->temp, path_ = staged->path;
}

AtomicFileWriter::~AtomicFileWriter() { Abandon(); }

void AtomicFileWriter::Abandon() {
    if (fd_ < 0) return;
    ::close(fd_);
    ::unlink(temp_.c_str());
    fd_ = -1;
}

bool AtomicFileWriter::Write(const char* data, std::size_t size) {
    if (fd_ >= 0 && !WriteAll(fd_, data, size)) Abandon();
    return fd_ >= 0;
}

bool AtomicFileWriter::Commit() {
    if (fd_ < 0) return false;
    const Staged staged{temp_, path_, fd_};
    fd_ = -1;
    if (!Finish(staged, true)) return false;
    if (::rename(temp_.c_str(), path_.c_str()) == 0) return true;
    ::unlink(temp_.c_str());
    return false;
}

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0 || errno == ENOENT; }

std::optional<std::size_t> WriteFilesAtomically(const std::vector<FileBytes>& files) {
    std::vector<Staged> staged;
    for (std::size_t i = 0; i < files.size(); ++i) {
        std::optional<Staged> s = Stage(files[i].path, files[i].bytes);
        if (!s) {
            for (const Staged& done : staged) ::unlink(done.temp.c_str());
            return i;
        }
        staged.push_back(*s);
    }
    for (std::size_t i = 0; i < staged.size(); ++i) {
        if (::rename(staged[i].temp.c_str(), staged[i].path.c_str()) != 0) {
            for (std::size_t j = i; j < staged.size(); ++j) ::unlink(staged[j].temp.c_str());
            return i;
        }
    }
    return std::nullopt;
}

}  // namespace vexaline
