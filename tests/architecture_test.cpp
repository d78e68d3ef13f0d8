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
    {"tools/icongen", {}},
    {"tests", {"ui", "workbench", "reference", "plot", "codes", "tools/linecode", "tools/icongen"}},
    {"tests/app", {"app", "ui", "workbench", "reference", "plot", "codes"}},
    {"bench", {"app", "ui", "workbench", "reference", "plot", "codes", "tools/linecode"}},
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

// The include on one line, if it holds one: `#include "x"` or `#include <x>`,
// with any spaces a formatter would allow.
std::optional<Include> ParseInclude(const std::string& text) {
    std::size_t at = text.find_first_not_of(" \t");
    if (at == std::string::npos || text[at] != '#')
        return std::nullopt;
    at = text.find_first_not_of(" \t", at + 1);
    if (at == std::string::npos || text.compare(at, 7, "include") != 0)
        return std::nullopt;
    at = text.find_first_not_of(" \t", at + 7);
    if (at == std::string::npos || (text[at] != '"' && text[at] != '<'))
        return std::nullopt;
    const char close = text[at] == '"' ? '"' : '>';
    const std::size_t end = text.find(close, at + 1);
    if (end == std::string::npos)
        return std::nullopt;
    return Include{{}, 0, close == '"', text.substr(at + 1, end - at - 1)};
}

std::vector<Include> IncludesOf(const fs::path& root, const fs::path& file) {
    std::vector<Include> out;
    std::ifstream in(file);
    std::string text;
    const std::string name = fs::relative(file, root).generic_string();
    for (int line = 1; std::getline(in, text); ++line) {
        if (std::optional<Include> inc = ParseInclude(text)) {
            inc->file = name;
            inc->line = line;
            out.push_back(*inc);
        }
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
        {"codes/measured_spectrum.cpp", false, "fftw3.h", true},
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
        {"tools/icongen/icongen.cpp", true, "tools/icongen/icon_render.h", true},
        {"tools/icongen/icon_render.cpp", true, "plot/chart.h", false},
        {"ui/csp.cpp", true, "ui_csp.h", true},
        {"ui/csp.cpp", true, "app/application.h", false},
        {"ui/csp.cpp", true, "tools/linecode/plot_commands.h", false},
        {"app/startup.cpp", true, "ui/form1.h", true},
        {"tests/ui/csp_test.cpp", true, "app/application.h", false},
        {"tests/ui/csp_test.cpp", true, "tests/ui/gui_test_app.h", true},
        {"tests/app/startup_test.cpp", true, "app/startup.h", true},
        {"bench/psd_bench.cpp", true, "tools/linecode/linecode_commands.h", true},
        {"codes/measured_spectrum.cpp", true, "tools/linecode/psd_chart.h", false},
        {"signal/noise.cpp", true, "signal/noise.h", false},
    };
    for (const auto& c : cases) {
        const Include inc{c.file, 1, c.quoted, c.target};
        EXPECT_EQ(!Violation(inc).has_value(), c.allowed) << c.file << " -> " << c.target;
    }
}

TEST(Architecture, IncludeLinesAreReadAsTheCompilerReadsThem) {
    const struct {
        const char* line;
        bool found;
        bool quoted;
        const char* target;
    } cases[] = {
        {"#include \"plot/chart.h\"", true, true, "plot/chart.h"},
        {"  #  include   <QString>", true, false, "QString"},
        {"#include<vector>", true, false, "vector"},
        {"// #include \"ui/csp.h\"", false, false, ""},
        {"#define INCLUDE \"x\"", false, false, ""},
        {"#include \"unterminated", false, false, ""},
    };
    for (const auto& c : cases) {
        const std::optional<Include> inc = ParseInclude(c.line);
        ASSERT_EQ(inc.has_value(), c.found) << c.line;
        if (inc) {
            EXPECT_EQ(inc->quoted, c.quoted) << c.line;
            EXPECT_EQ(inc->target, c.target) << c.line;
        }
    }
}
