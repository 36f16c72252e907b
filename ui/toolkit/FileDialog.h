#pragma once
#include <QStringList>
#include <string>
#include <vector>

#include "core/files/OpenOrCreate.h"
class QWidget;

// Open and save-as file dialogs. They are Qt's own (not native) dialogs, so
// a test can pick a path and a file type in them.
namespace vexaline::platform {

struct FileChoice {
    std::string strName;  // file name without folder, UTF-8 (empty: cancelled)
    std::string strPath;  // full path, in the file system's encoding
    int nType = 0;        // 1-based index of the chosen file type
};

// The filter string "描述 (*.a)|*.a|描述2 (*.b)|*.b||" as Qt's name filters, one
// per file type in order.
QStringList NameFilters(const char* filter);

// filter: "描述 (*.ext)|*.ext|...||" (UTF-8). A name that does not exist may
// be typed. Cancelled: an empty choice. Both dialogs start in the folder last
// used for the filter's kind of file (a proposed name with a folder of its
// own starts there) and remember the folder of what is chosen.
FileChoice PickFileToOpen(QWidget* owner, const char* filter);

// Save-as with a proposed name, a default extension added to a name typed
// without one, and a confirmation before an existing file is replaced (No
// brings the dialog back).
FileChoice PickFileToSave(QWidget* owner, const char* filter, const std::string& proposedName,
                          const char* defaultExtension);

// A path given otherwise than by a dialog (a recent road) as a choice of the
// first file type; empty for a path that names no file.
FileChoice ChoiceOf(const QString& path);

// A file name for a read-only field: GBK, a character GBK lacks shown as '?'.
std::string NameForDisplay(const std::string& utf8);

// True when the file is open (read or created); otherwise tells the user
// why not (nothing for a question answered No), naming the file as shown.
bool OpenedOrTold(QWidget* owner, OpenOutcome outcome, const std::string& shown);

// A path in the file system's encoding as UTF-8, for a message.
std::string PathForDisplay(const std::string& path);

// The file type a save-as choice asks for, by the core's rule (TypeOfName
// in core/files/FileType.h) over the filter's types and their extensions:
// a name that contradicts the chosen type is asked about, and a proposed
// name's extension is replaced by the chosen type's (asking before a file of
// that name is replaced). The choice is updated to what is to be written;
// 0 when the user answered No (nothing is to be written).
int ChosenType(QWidget* owner, FileChoice& choice, const char* filter, const std::vector<std::string>& extensions,
               const char* proposedExtension);

}  // namespace vexaline::platform
