#include "core/files/OpenOrCreate.h"

#include <sys/stat.h>

#include "core/files/AlignmentFile.h"
#include "core/files/FileType.h"
#include "core/files/TextFile.h"

namespace vexaline {
namespace {

bool Exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

OpenedFile Write(OpenedFile f, std::string bytes) {
    if (!WriteFileAtomically(f.strPath, bytes)) {
        f.outcome = OpenOutcome::CannotWrite;
        return f;
    }
    f.bytes = std::move(bytes);
    f.outcome = OpenOutcome::Created;
    return f;
}

}  // namespace

OpenedFile OpenOrCreate(FileKind kind, const std::string& path, const std::string& name,
                        const std::function<bool(Question, const std::string& name)>& ask) {
    OpenedFile f;
    f.strPath = path;
    f.strName = name;
    ReadStatus status = ReadWholeFile(f.strPath, f.bytes);
    if (kind == FileKind::PointFile && status == ReadStatus::Missing && !HasExtension(name, "vxp")) {
        // The new file gets the extension unless typed with it; a file of
        // that name that is already there is read.
        f.strPath += ".vxp";
        f.strName += ".vxp";
        status = ReadWholeFile(f.strPath, f.bytes);
    }
    if (status == ReadStatus::Ok) {
        f.outcome = OpenOutcome::Opened;
        return f;
    }
    if (status == ReadStatus::Unreadable) {
        f.outcome = OpenOutcome::Unreadable;
        return f;
    }
    if (!ask(Question::Create, f.strName)) return f;
    if (kind == FileKind::PointFile) return Write(f, std::string());
    if (!HasExtension(name, "vxa")) {
        f.strPath += ".vxa";
        f.strName += ".vxa";
    }
    if (Exists(f.strPath) && !ask(Question::Replace, f.strName)) return f;
    return Write(f, NewAlignmentFile(TimeStampNow()));
}

}  // namespace vexaline
