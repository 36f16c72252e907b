#include "core/files/FileType.h"

namespace vexaline {

std::string ExtensionOf(const std::string& name) {
    const std::size_t slash = name.find_last_of('/'), dot = name.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string();
    std::string extension = name.substr(dot + 1);
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return extension;
}

bool HasExtension(const std::string& name, const char* extension) {
    return *extension && ExtensionOf(name) == extension;
}

std::string WithExtension(const std::string& name, const char* extension) {
    const std::size_t slash = name.find_last_of('/'), dot = name.find_last_of('.');
    const bool has = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (has ? name.substr(0, dot) : name) + "." + extension;
}

NamedType TypeOfName(const std::string& name, int chosenType, const std::vector<std::string>& extensions,
                     const std::string& proposedExtension) {
    const int count = static_cast<int>(extensions.size());
    const int chosen = chosenType >= 1 && chosenType <= count ? chosenType : 0;
    const std::string extension = ExtensionOf(name);
    NamedType out;
    out.nType = chosen;
    if (extension.empty() || (chosen && extensions[chosen - 1] == extension)) return out;
    if (chosen && !proposedExtension.empty() && extension == proposedExtension) {
        out.bReplaceExtension = true;
        return out;
    }
    for (int i = 0; i < count; ++i) {
        if (extensions[i] != extension) continue;
        out.nType = i + 1;
        out.bAsk = chosen > 1;
        break;
    }
    return out;
}

}  // namespace vexaline
