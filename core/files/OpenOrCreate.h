#pragma once
#include <functional>
#include <string>

// What happens when the user picks a file to open that may not exist yet:
// the same policy for alignment files and traverse point files, with the
// questions left to the caller.
namespace vexaline {

enum class FileKind {
    Alignment,  // a missing name is created with ".vxa" (unless it ends so, in any
                // case) and the new-file header, after asking; an existing
                // "name.vxa" is replaced only after asking
    PointFile,  // a missing name is tried with ".vxp" (unless it ends so); an
                // existing one is read, never emptied; otherwise created empty, after asking
};

enum class Question { Create, Replace };

enum class OpenOutcome {
    Opened,      // bytes hold the file
    Created,     // a new file was written; bytes hold it
    Cancelled,   // a question was answered No
    Unreadable,  // it exists but cannot be read: never offered for creation (which would truncate it)
    CannotWrite, // the new file could not be written
};

struct OpenedFile {
    OpenOutcome outcome = OpenOutcome::Cancelled;
    std::string strPath;  // as opened or created, extension added
    std::string strName;  // the name likewise (UTF-8), for messages and the window
    std::string bytes;
};

// ask(question, name) is true to go on. path is in the file system's
// encoding, name the file name without folder (UTF-8).
OpenedFile OpenOrCreate(FileKind kind, const std::string& path, const std::string& name,
                        const std::function<bool(Question, const std::string& name)>& ask);

}  // namespace vexaline
