#pragma once
#include <string>
#include <vector>

// File names and the file types of a dialog: which type a name asks for,
// and extensions added or replaced. Names are UTF-8 or GBK; extensions are
// compared in ASCII without regard to case.
namespace vexaline {

// The text after the last dot of the name's last component, lower case;
// empty when there is none.
std::string ExtensionOf(const std::string& name);

// True when the name ends in "." and the extension (given in lower case).
bool HasExtension(const std::string& name, const char* extension);

// The name (or path) with its extension replaced, or added when it has none.
std::string WithExtension(const std::string& name, const char* extension);

// What a file dialog's answer asks for: a name as typed and the file type
// chosen (1-based), of types whose extensions are given in order (two
// types may share one). The dialog opens on type 1.
struct NamedType {
    int nType = 0;           // the type to write; 0: none of them
    bool bAsk = false;       // the name's extension names nType, but another type was chosen: ask first
    bool bReplaceExtension = false;  // the name kept the proposal's extension: give it nType's
};

// The rule: a name whose extension is the chosen type's keeps that type; a
// name still ending in the proposed extension (the dialog's proposal, not
// typed) takes the chosen type and its extension; an extension that names
// another type picks that type, silently when type 1 was left selected, and
// with a question when another type was chosen; a name without a known
// extension takes the chosen type. proposedExtension may be empty.
NamedType TypeOfName(const std::string& name, int chosenType, const std::vector<std::string>& extensions,
                     const std::string& proposedExtension = std::string());

}  // namespace vexaline
