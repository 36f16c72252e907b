#pragma once
#include <QStringList>
#include <initializer_list>
#include <string>

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
// be typed. Cancelled: an empty choice.
FileChoice PickFileToOpen(QWidget* owner, const char* filter);

// Save-as with a proposed name, a default extension added to a name typed
// without one, and a confirmation before an existing file is replaced (No
// brings the dialog back).
FileChoice PickFileToSave(QWidget* owner, const char* filter, const std::string& proposedName,
                          const char* defaultExtension);

// A file name for a read-only field: GBK, a character GBK lacks shown as '?'.
std::string NameForDisplay(const std::string& utf8);

// True when the file is open (read or created); otherwise tells the user
// why not (nothing for a question answered No), naming the file as shown.
bool OpenedOrTold(QWidget* owner, OpenOutcome outcome, const std::string& shown);

// A path in the file system's encoding as UTF-8, for a message.
std::string PathForDisplay(const std::string& path);

// Which of the extensions (lower case, without the dot; 1-based) the chosen
// file has, or else the chosen file type when it is one of them; 0 for
// neither. A typed name decides over the type left selected.
int ChosenExtension(const FileChoice& choice, std::initializer_list<const char*> extensions);

}  // namespace vexaline::platform
