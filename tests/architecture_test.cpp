// The folders of the tree are its libraries, and their dependencies run one
// way. These tests read every include line of the tree and fail on one that
// points up or sideways, so the arrows stay as the README draws them.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Each folder and the folders it may include from (itself always). Tests and
// benchmarks are leaves: nothing includes them, so they may use any library;
// only the start-up's own tests and benchmarks may use app/.
const std::map<std::string, std::set<std::string>> kAllowed = {
    {"codes", {}},
    {"plot", {}},
    {"workbench", {"plot", "codes"}},
    {"reference", {"codes"}},
    {"tools/docgen", {"reference", "codes"}},
    {"ui", {"workbench", "reference", "plot", "codes"}},
    {"app", {"ui", "workbench", "reference", "plot", "codes"}},
    {"tools/linecode", {"workbench", "reference", "plot", "codes"}},
    {"tests", {"ui", "workbench", "reference", "plot", "codes", "tools/linecode"}},
    {"tests/app", {"app", "ui", "workbench", "reference", "plot", "codes"}},
    {"bench", {"app", "ui", "workbench", "reference", "plot", "codes"}},
};

// Single headers a folder may use from a folder it otherwise must not: the
// chart draws in the program's colour values, but knows nothing else of the
// line codes.
const std::map<std::string, std::set<std::string>> kAllowedHeaders = {
    {"plot", {"codes/colour.h"}},
};

// Folders whose code must not know Qt: the logic is computed and tested
// without any window system.
const std::set<std::string> kStandardOnly = {"codes"};

struct Include {
    std::string file; // relative to the root
    int line;
    bool quoted;
    std::string target;
};

// The folder of the table that a path belongs to: the longest entry that is
// a prefix of it, as a whole folder name.
std::optional<std::string> FolderOf(const std::string& path) {
    std::optional<std::string> best;
    for (const auto& [folder, uses] : kAllowed) {
        if (path.compare(0, folder.size() + 1, folder + "/") == 0 &&
            (!best || folder.size() > best->size()))
            best = folder;
    }
    return best;
}

// The quote or bracket and the name of `#include "name"` or `#include <name>`,
// blanks allowed before and after the hash. (Read by hand: std::regex trips
// a false warning of GCC 12 in the sanitizer build.)
std::optional<std::pair<char, std::string>> ParseInclude(std::string_view text) {
    constexpr std::string_view kBlanks = " \t";
    std::size_t i = text.find_first_not_of(kBlanks);
    if (i == std::string_view::npos || text[i] != '#')
        return std::nullopt;
    i = text.find_first_not_of(kBlanks, i + 1);
    if (i == std::string_view::npos || text.substr(i, 7) != "include")
        return std::nullopt;
    i = text.find_first_not_of(kBlanks, i + 7);
    if (i == std::string_view::npos || (text[i] != '"' && text[i] != '<'))
        return std::nullopt;
    const std::size_t end = text.find_first_of(">\"", i + 1);
    if (end == std::string_view::npos || end == i + 1)
        return std::nullopt;
    return std::pair{text[i], std::string(text.substr(i + 1, end - i - 1))};
}

std::vector<Include> IncludesOf(const fs::path& root, const fs::path& file) {
    std::vector<Include> out;
    std::ifstream in(file);
    std::string text;
    const std::string name = fs::relative(file, root).generic_string();
    for (int line = 1; std::getline(in, text); ++line) {
        if (const auto include = ParseInclude(text))
            out.push_back({name, line, include->first == '"', include->second});
    }
    return out;
}

// Every source and header of the tree, build folders left out.
std::vector<fs::path> SourceFiles(const fs::path& root) {
    std::vector<fs::path> files;
    for (const char* top :
         {"codes", "plot", "workbench", "reference", "ui", "app", "tools", "tests", "bench"}) {
        if (!fs::exists(root / top))
            continue;
        for (const auto& entry : fs::recursive_directory_iterator(root / top)) {
            const std::string ext = entry.path().extension().string();
            if (entry.is_regular_file() && (ext == ".h" || ext == ".cpp"))
                files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// What is wrong with one include line, or nothing.
std::optional<std::string> Violation(const Include& inc) {
    const std::optional<std::string> from = FolderOf(inc.file);
    if (!from)
        return "lies in a folder the architecture does not name";
    if (!inc.quoted) {
        if (kStandardOnly.count(*from) && inc.target.rfind('Q', 0) == 0)
            return *from + " must not use Qt";
        return std::nullopt;
    }
    // Designer's generated headers are named by the layout they come from.
    if (*from == "ui" && inc.target.rfind("ui_", 0) == 0 &&
        inc.target.find('/') == std::string::npos)
        return std::nullopt;
    const std::optional<std::string> to = FolderOf(inc.target);
    if (!to)
        return "does not name the folder it includes from";
    if (*to == *from)
        return std::nullopt;
    // Test support headers belong to the tests.
    if (from->rfind("tests", 0) == 0 && to->rfind("tests", 0) == 0)
        return std::nullopt;
    if (kAllowed.at(*from).count(*to))
        return std::nullopt;
    if (const auto headers = kAllowedHeaders.find(*from);
        headers != kAllowedHeaders.end() && headers->second.count(inc.target))
        return std::nullopt;
    return *from + " must not use " + *to;
}

std::string Describe(const Include& inc, const std::string& why) {
    return inc.file + ":" + std::to_string(inc.line) + " includes " + inc.target + ": " + why;
}

} // namespace

TEST(Architecture, EveryIncludeFollowsTheArrows) {
    const fs::path root = LC_SOURCE_DIR;
    const std::vector<fs::path> files = SourceFiles(root);
    ASSERT_GT(files.size(), 50u) << "the tree was not found at " << root;
    std::vector<std::string> faults;
    for (const fs::path& file : files) {
        for (const Include& inc : IncludesOf(root, file)) {
            if (const std::optional<std::string> why = Violation(inc))
                faults.push_back(Describe(inc, *why));
        }
    }
    std::string report;
    for (const std::string& f : faults)
        report += f + "\n";
    EXPECT_TRUE(faults.empty()) << report;
}

// The rules themselves, on include lines that must pass and lines that must fail.
TEST(Architecture, RulesTellUpwardIncludesFromDownwardOnes) {
    const struct {
        const char* file;
        bool quoted;
        const char* target;
        bool allowed;
    } cases[] = {
        {"codes/line_code.cpp", true, "codes/noise.h", true},
        {"codes/line_code.cpp", false, "cmath", true},
        {"codes/line_code.cpp", false, "QString", false},
        {"codes/line_code.cpp", true, "plot/chart_model.h", false},
        {"plot/chart.cpp", true, "codes/line_code.h", false},
        {"plot/chart.cpp", true, "workbench/chart_presses.h", false},
        {"plot/chart.cpp", true, "chart_model.h", false},
        {"plot/chart_model.h", true, "codes/colour.h", true},
        {"plot/chart.cpp", false, "QPainter", true},
        {"workbench/chart_presses.cpp", true, "plot/chart_model.h", true},
        {"workbench/chart_presses.cpp", true, "ui/csp.h", false},
        {"reference/doc_figures.cpp", true, "plot/chart.h", false},
        {"tools/docgen/docgen.cpp", true, "ui/reference_view.h", false},
        {"tools/docgen/docgen.cpp", true, "reference/reference_record.h", true},
        {"tools/linecode/plot_commands.cpp", true, "workbench/designed_charts.h", true},
        {"tools/linecode/plot_commands.cpp", true, "ui/csp.h", false},
        {"ui/csp.cpp", true, "ui_csp.h", true},
        {"ui/csp.cpp", true, "app/application.h", false},
        {"ui/csp.cpp", true, "tools/linecode/plot_commands.h", false},
        {"app/startup.cpp", true, "ui/form1.h", true},
        {"tests/ui/csp_test.cpp", true, "app/application.h", false},
        {"tests/ui/csp_test.cpp", true, "tests/ui/gui_test_app.h", true},
        {"tests/app/startup_test.cpp", true, "app/startup.h", true},
        {"signal/noise.cpp", true, "signal/noise.h", false},
    };
    for (const auto& c : cases) {
        const Include inc{c.file, 1, c.quoted, c.target};
        EXPECT_EQ(!Violation(inc).has_value(), c.allowed) << c.file << " -> " << c.target;
    }
}
