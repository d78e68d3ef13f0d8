#include "tools/linecode/linecode_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

ToolRun Linecode(std::vector<std::string_view> args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunLinecode(args, out, err);
    return {status, out.str(), err.str()};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace

TEST(Linecode, EncodePrintsOneLinePerCombination) {
    const struct {
        std::vector<std::string_view> args;
        std::string out;
    } cases[] = {
        {{"encode", "pit", "110100", "1101001"}, "1 -1 0 1 -1 1\n1 -1 0 1 -1 1 1\n"},
        {{"encode", "ПИТ", "100001"}, "1 0 -1 1 0 -1\n"},
        {{"encode", "КВП - 3", "1000010000"}, "1 -1 0 0 -1 1 0 0 0 1\n"},
        {{"encode", "abs", "110100"}, "1 0 1 0 0 1 1 0 0 1 0 1\n"},
        {{"encode", "ЧПИ", "110100"}, "1 -1 0 1 0 0\n"},
        {{"encode", "NRZ", "101100"}, "1 0 1 1 0 0\n"},
        {{"encode", "BI - L", "101100"}, "1 0 0 1 1 0 1 0 0 1 0 1\n"},
        {{"encode", "cmi", "101100"}, "1 1 1 0 0 0 1 1 1 0 1 0\n"},
        {{"encode", "EP - 1", "101100"}, "1 1 1 0 0 0 1 1 1 0 0 1\n"},
    };
    for (const auto& c : cases) {
        const ToolRun run = Linecode(c.args);
        EXPECT_EQ(run.status, 0) << c.args[1];
        EXPECT_EQ(run.out, c.out) << c.args[1];
        EXPECT_EQ(run.err, "");
    }
}

TEST(Linecode, PointsAreSuccessiveFormingsOfOneRun) {
    const ToolRun run = Linecode({"points", "chpi", "110100", "110100"});
    ASSERT_EQ(run.status, 0);
    const auto lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 2u * (6 + 60 + 6));
    EXPECT_EQ(lines[0], "0,1,1,0x00FF0000");
    EXPECT_EQ(lines[1], "1,0.1,1.0000000000388052,0x000000FF"); // the first noise value
    EXPECT_EQ(lines[10],
              "1,1,1.0709456279097747,0x000000FF"); // the tenth, worked out independently
    EXPECT_EQ(lines[66], "2,1,1,0x000000FF");       // sources last, red
    EXPECT_EQ(lines[71], "2,6,0,0x000000FF");
    // The second forming repeats the bars but draws the next noise values.
    EXPECT_EQ(lines[72], lines[0]);
    EXPECT_NE(lines[73], lines[1]);

    const auto pit = Lines(Linecode({"points", "pit", "110100"}).out);
    EXPECT_EQ(pit[0], "2,1,1,0x00FF0000"); // ПИТ: blue sources come first
    EXPECT_EQ(pit[6], "0,1,1,0x00FF0000");

    const auto nrz = Lines(Linecode({"points", "nrz", "101100"}).out);
    EXPECT_EQ(nrz.size(), 66u); // no source series
    const auto abs = Lines(Linecode({"points", "abs", "110100"}).out);
    EXPECT_EQ(abs[0], "0,1,0.5,0x00FF0000");
    EXPECT_EQ(abs.size(), 12u + 120u + 6u);
}

TEST(Linecode, SpectrumAndComparisonPrintEveryPoint) {
    const auto pit = Lines(Linecode({"spectrum", "pit"}).out);
    ASSERT_EQ(pit.size(), 200u);
    EXPECT_EQ(pit[0].substr(0, 5), "0.01,");
    EXPECT_EQ(pit[199].substr(0, 2), "2,");
    const auto kvp = Lines(Linecode({"spectrum", "КВП - 3"}).out);
    EXPECT_EQ(kvp[99], "0.5,1");
    EXPECT_EQ(kvp[199], "1,0");

    for (std::string_view bench : {"dts", "fots"}) {
        const auto lines = Lines(Linecode({"compare", bench}).out);
        ASSERT_EQ(lines.size(), 800u);
        for (std::size_t k = 0; k < lines.size(); ++k)
            EXPECT_EQ(lines[k].front(), static_cast<char>('0' + k % 4)); // series in turn
    }
    EXPECT_EQ(Lines(Linecode({"compare", "dts"}).out)[398], "2,0.5,1.2,0x00FF0000");
}

// The printed measured spectra, at the default size, against the lecturer's
// simulation: the share of power below the clock frequency, the null at zero
// frequency and the one discrete line, CMI's at the clock frequency.
TEST(Linecode, PsdPrintsTheMeasuredSpectrumOnTheModelsGrid) {
    const struct {
        std::string_view code;
        double share; // of the printed curve's area in 0 ... 2 below fT = 1
        bool nullAtDc;
        bool clockLine;
    } cases[] = {
        {"nrz", 0.95, false, false},    {"ПИТ", 0.93, true, false}, {"chpi", 0.92, true, false},
        {"КВП - 3", 0.92, true, false}, {"abs", 0.75, true, false}, {"bil", 0.75, true, false},
        {"CMI", 0.87, true, true},      {"ep1", 0.91, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.code));
        const ToolRun run = Linecode({"psd", c.code});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
        const auto lines = Lines(run.out);
        ASSERT_EQ(lines.size(), c.clockLine ? 201u : 200u);
        std::vector<double> y;
        for (int i = 1; i <= 200; ++i) {
            const std::string& line = lines[static_cast<std::size_t>(i - 1)];
            const std::size_t comma = line.find(',');
            ASSERT_NE(comma, std::string::npos);
            EXPECT_EQ(std::stod(line.substr(0, comma)), i / 100.0);
            y.push_back(std::stod(line.substr(comma + 1)));
        }
        double below = 0, all = 0, top = 0;
        for (std::size_t k = 0; k < y.size(); ++k) {
            (k < 100 ? below : all) += y[k];
            top = std::max(top, y[k]);
        }
        all += below;
        EXPECT_NEAR(below / all, c.share, 0.02);
        EXPECT_EQ(y.front() < 0.03 * top, c.nullAtDc);
        if (c.clockLine) {
            EXPECT_EQ(lines[200].substr(0, 7), "line,1,");
            // On the curve's scale: 1/π² per side against 0.338 of
            // continuous power in 0 ... 2, as a very long run measures them.
            const double power = std::stod(lines[200].substr(7));
            EXPECT_NEAR(power / (all * 0.01), 0.30, 0.02);
        }
    }
    // One run is one seed's: the same again, another seed differs.
    EXPECT_EQ(Linecode({"psd", "cmi"}).out, Linecode({"psd", "cmi", "--seed", "1"}).out);
    EXPECT_NE(Linecode({"psd", "cmi"}).out, Linecode({"psd", "cmi", "--seed", "2"}).out);
    EXPECT_NE(Linecode({"psd", "cmi"}).out, Linecode({"psd", "cmi", "--bits", "8192"}).out);
}

TEST(Linecode, ErrorsAndExitStatus) {
    const struct {
        std::vector<std::string_view> args;
        int status;
        bool usageOnErr;
    } cases[] = {
        {{"encode", "pit", "110100", "11010"}, 1, false}, // one bad among good ones
        {{"points", "abs", "110 10"}, 1, false},
        {{"encode", "cmi", "11О100"}, 1, false}, // Cyrillic О
        {{"encode", "ep1", ""}, 1, false},
        {{}, 2, true},
        {{"draw", "pit", "110100"}, 2, true},
        {{"encode", "xyz", "110100"}, 2, true},
        {{"encode", "pit"}, 2, true},
        {{"encode"}, 2, true},
        {{"spectrum"}, 2, true},
        {{"spectrum", "pit", "110100"}, 2, true},
        {{"compare", "both"}, 2, true},
        {{"compare"}, 2, true},
        {{"--help", "encode"}, 2, true},
        {{"psd"}, 2, true},
        {{"psd", "xyz"}, 2, true},
        {{"psd", "cmi", "--bits"}, 2, true},
        {{"psd", "cmi", "--bits", "4095"}, 2, true}, // too few to average
        {{"psd", "cmi", "--bits", "65536x"}, 2, true},
        {{"psd", "cmi", "--bits", "-1"}, 2, true},
        {{"psd", "cmi", "--seed", "one"}, 2, true},
        {{"psd", "cmi", "--window", "hann"}, 2, true},
        {{"psd", "cmi", "110100"}, 2, true},
    };
    for (const auto& c : cases) {
        const ToolRun run = Linecode(c.args);
        EXPECT_EQ(run.status, c.status) << (c.args.empty() ? "" : c.args[0]);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.find("Usage:") != std::string::npos, c.usageOnErr);
        if (c.status == 1) {
            EXPECT_EQ(Lines(run.err).size(), 1u);
            EXPECT_NE(run.err.find("только \"0\" или \"1\""), std::string::npos);
        }
    }
    const ToolRun help = Linecode({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: linecode"), std::string::npos);
    EXPECT_EQ(help.err, "");
}
