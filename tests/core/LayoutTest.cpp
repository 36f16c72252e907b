// The shape of the code: which folder may include which, read from the
// sources themselves, so that an arrow drawn the wrong way fails here and
// not in a review.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Source {
    std::string path;  // from the repository's root, e.g. "ui/window/AlignmentDlg.h"
    std::vector<std::string> includes;  // the project's own, as written
    bool qt = false;                    // includes a Qt header
    int lines = 0;
    std::string text;
};

std::map<std::string, Source> ReadSources() {
    const fs::path root(VEXALINE_SOURCE_DIR);
    const std::regex own(R"re(^\s*#\s*include\s+"([^"]+)")re"), qt(R"(^\s*#\s*include\s+<Q)");
    std::map<std::string, Source> sources;
    for (const char* folder : {"core", "ui", "cli", "app"})
        for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".h" && ext != ".cpp") continue;
            Source s;
            s.path = fs::relative(entry.path(), root).generic_string();
            std::ifstream in(entry.path());
            for (std::string line; std::getline(in, line); ++s.lines) {
                std::smatch m;
                if (std::regex_search(line, m, own)) s.includes.push_back(m[1]);
                s.qt = s.qt || std::regex_search(line, qt);
                s.text += line + '\n';
            }
            sources[s.path] = s;
        }
    return sources;
}

bool Under(const std::string& path, const std::string& folder) { return path.rfind(folder, 0) == 0; }

}  // namespace

// Each rule: the files it binds, the includes they may not have.
TEST(Layout, ArrowsPointDownAndToolsNeverReachIntoTheWindow) {
    const std::map<std::string, Source> sources = ReadSources();
    ASSERT_GT(sources.size(), 100u);
    struct Rule {
        const char* files;
        std::vector<const char*> banned;
        bool qt;  // Qt banned too
    };
    const Rule rules[] = {
        {"core/", {"ui/", "cli/", "app/"}, true},
        {"core/text/", {"core/road/", "core/files/", "core/plan/"}, true},  // text knows no road
        {"core/geometry/", {"core/road/", "core/files/", "core/plan/"}, true},
        {"cli/", {"ui/", "app/"}, true},
        {"ui/document/", {"ui/window/", "ui/plan/", "ui/profile/", "ui/tools/"}, false},
        {"ui/toolkit/", {"ui/window/", "ui/plan/", "ui/profile/", "ui/tools/", "ui/document/"}, false},
        {"ui/tools/", {"ui/window/"}, false},
        {"ui/plan/", {"ui/window/"}, false},
        {"ui/profile/", {"ui/window/"}, false},
    };
    for (const auto& [path, source] : sources)
        for (const Rule& rule : rules) {
            if (!Under(path, rule.files)) continue;
            EXPECT_FALSE(rule.qt && source.qt) << path << " includes Qt";
            for (const std::string& include : source.includes)
                for (const char* banned : rule.banned) EXPECT_FALSE(Under(include, banned)) << path << " includes " << include;
        }
    // ui/ holds folders only, besides its resources.
    for (const auto& [path, source] : sources)
        EXPECT_TRUE(!Under(path, "ui/") || path.find('/', 3) != std::string::npos) << path << " is loose in ui/";
}

TEST(Layout, NoHeaderIncludesItselfRoundAbout) {
    const std::map<std::string, Source> sources = ReadSources();
    // Depth-first over the project's headers; a header met again on the path is a circle.
    std::set<std::string> done;
    std::vector<std::string> path;
    std::function<void(const std::string&)> visit = [&](const std::string& file) {
        if (std::find(path.begin(), path.end(), file) != path.end()) {
            std::string circle;
            for (auto it = std::find(path.begin(), path.end(), file); it != path.end(); ++it) circle += *it + " → ";
            ADD_FAILURE() << "include circle: " << circle << file;
            return;
        }
        if (!done.insert(file).second) return;
        path.push_back(file);
        if (auto it = sources.find(file); it != sources.end())
            for (const std::string& include : it->second.includes) visit(include);
        path.pop_back();
    };
    for (const auto& [file, source] : sources) visit(file);
}

// The window stays readable at a glance: a short header, the class defined
// in at most two files of its folder, the panels beside it.
TEST(Layout, TheWindowIsSmallAndDefinedInOnePlace) {
    const std::map<std::string, Source> sources = ReadSources();
    ASSERT_TRUE(sources.count("ui/window/AlignmentDlg.h"));
    EXPECT_LT(sources.at("ui/window/AlignmentDlg.h").lines, 120);
    std::set<std::string> defining;
    for (const auto& [path, source] : sources)
        if (source.text.find("CAlignmentDlg::") != std::string::npos && path.size() > 4 &&
            path.compare(path.size() - 4, 4, ".cpp") == 0)
            defining.insert(path);
    EXPECT_LE(defining.size(), 2u);
    for (const std::string& path : defining) EXPECT_TRUE(Under(path, "ui/window/")) << path;
}
