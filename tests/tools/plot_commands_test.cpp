#include "tests/plot/chart_test_support.h"
#include "tools/linecode/plot_commands.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

struct Result {
    int status;
    std::string out, err;
};

Result RunPlot(std::vector<std::string> words) {
    EnsureChartApplication();
    std::vector<std::string_view> args(words.begin(), words.end());
    std::ostringstream out, err;
    char name[] = "linecode";
    char* argv[] = {name, nullptr};
    const int status = RunPlotCommand(1, argv, args, out, err);
    return {status, out.str(), err.str()};
}

int CountPixels(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}

} // namespace

TEST(PlotCommands, WritesTheWorkbenchChartsAtTheirDesignedSizes) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const struct {
        std::vector<std::string> args;
        QSize size;
        QRgb ink; // a colour the chart must show
        int least;
    } cases[] = {
        {{"plot", "pit", "110100"}, {441, 169}, qRgb(0, 0, 255), 2000},
        {{"plot", "КВП - 3", "1000010000"}, {441, 169}, qRgb(0, 0, 255), 1000},
        {{"plot", "nrz", "101100"}, {441, 169}, qRgb(255, 0, 0), 100},
        {{"plot-spectrum", "pit"}, {448, 256}, qRgb(255, 0, 0), 300},
        {{"plot-spectrum", "nrz"}, {439, 256}, qRgb(255, 0, 0), 300},
        {{"plot-spectrum", "ep1"}, {441, 257}, qRgb(255, 0, 0), 300},
        {{"plot", "--compare", "dts"}, {449, 257}, qRgb(0, 0, 128), 200},
        {{"plot-spectrum", "--compare", "fots"}, {449, 257}, qRgb(128, 0, 128), 200},
    };
    int k = 0;
    for (const auto& c : cases) {
        const QString file = dir.filePath(QStringLiteral("chart%1.png").arg(k++));
        std::vector<std::string> args = c.args;
        args.push_back("-o");
        args.push_back(file.toStdString());
        const Result r = RunPlot(args);
        ASSERT_EQ(r.status, 0) << args[1] << ": " << r.err;
        QImage image(file);
        ASSERT_FALSE(image.isNull()) << args[1];
        EXPECT_EQ(image.size(), c.size) << args[1];
        EXPECT_GE(CountPixels(image.convertToFormat(QImage::Format_RGB32), c.ink), c.least)
            << args[1];
    }
}

// The model and the measured curve on the code's spectrum chart, a legend
// under it; CMI's clock line as a green spike, and no spike elsewhere.
TEST(PlotCommands, PsdDrawsModelMeasuredAndLines) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const struct {
        std::string code;
        QSize chart; // the workbench's spectrum chart; the legend comes below
        bool spike;
    } cases[] = {
        {"pit", {448, 256}, false},
        {"КВП - 3", {441, 257}, false},
        {"cmi", {441, 257}, true},
        {"ep1", {441, 257}, false},
    };
    for (const auto& c : cases) {
        const QString file = dir.filePath(QStringLiteral("psd.png"));
        const Result r = RunPlot({"plot-psd", c.code, "-o", file.toStdString()});
        ASSERT_EQ(r.status, 0) << c.code << ": " << r.err;
        const QImage image = QImage(file).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(image.isNull()) << c.code;
        EXPECT_EQ(image.width(), c.chart.width()) << c.code;
        EXPECT_GE(image.height(), c.chart.height() + 40) << c.code;
        const QImage chart = image.copy(QRect(QPoint(0, 0), c.chart));
        const QImage legend =
            image.copy(0, c.chart.height(), image.width(), image.height() - c.chart.height());
        EXPECT_GE(CountPixels(chart, qRgb(255, 0, 0)), 150) << c.code;
        EXPECT_GE(CountPixels(chart, qRgb(0, 0, 255)), 200) << c.code;
        EXPECT_GE(CountPixels(legend, qRgb(255, 0, 0)), 10) << c.code;
        EXPECT_GE(CountPixels(legend, qRgb(0, 0, 255)), 10) << c.code;
        const int green = CountPixels(chart, qRgb(0, 128, 0));
        if (c.spike)
            EXPECT_GE(green, 60) << c.code;
        else
            EXPECT_EQ(green, 0) << c.code;
        EXPECT_EQ(CountPixels(legend, qRgb(0, 128, 0)) > 0, c.spike) << c.code;
    }
}

TEST(PlotCommands, BadArgumentsWriteNothing) {
    QTemporaryDir dir;
    const std::string file = dir.filePath(QStringLiteral("x.png")).toStdString();
    const struct {
        std::vector<std::string> args;
        int status;
    } cases[] = {
        {{"plot", "pit", "11010", "-o", file}, 1},  // 5 characters
        {{"plot", "pit", "110120", "-o", file}, 1}, // a digit 2
        {{"plot", "pit", "110100"}, 2},             // no output
        {{"plot", "xyz", "110100", "-o", file}, 2}, // no such code
        {{"plot", "pit", "-o", file}, 2},           // no combination
        {{"plot-spectrum", "pit", "110100", "-o", file}, 2},
        {{"plot", "--compare", "abc", "-o", file}, 2},
        {{"plot", "--compare", "dts", "pit", "-o", file}, 2},
        {{"plot", "pit", "110100", "-o"}, 2},
        {{"plot-psd", "cmi"}, 2},                    // no output
        {{"plot-psd", "-o", file}, 2},               // no code
        {{"plot-psd", "xyz", "-o", file}, 2},        // no such code
        {{"plot-psd", "cmi", "pit", "-o", file}, 2}, // two codes
        {{"plot-psd", "cmi", "--bits", "10", "-o", file}, 2},
        {{"plot-psd", "cmi", "--seed", "", "-o", file}, 2},
        {{"plot-psd", "cmi", "-o", file, "--bits"}, 2},
    };
    for (const auto& c : cases) {
        const Result r = RunPlot(c.args);
        EXPECT_EQ(r.status, c.status) << c.args[1] << " " << c.args.size();
        EXPECT_FALSE(r.err.empty());
        EXPECT_FALSE(QFile::exists(QString::fromStdString(file)));
    }
    EXPECT_TRUE(IsPlotCommand("plot"));
    EXPECT_TRUE(IsPlotCommand("plot-spectrum"));
    EXPECT_TRUE(IsPlotCommand("plot-psd"));
    EXPECT_FALSE(IsPlotCommand("points"));
}

// The FOTS spectrum and comparison pictures carry the axis captions the
// workbench panels show: "G(f)/T" on its button-face box at the top left,
// "fT" at the bottom right; the DTS ones carry none.
TEST(PlotCommands, FotsChartsShowTheirAxisCaptions) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const struct {
        std::vector<std::string> args;
        bool captions;
        int frequencyLeft;
    } cases[] = {
        {{"plot-spectrum", "nrz"}, true, 416},      {{"plot-spectrum", "bil"}, true, 416},
        {{"plot-spectrum", "cmi"}, true, 416},      {{"plot-spectrum", "ep1"}, true, 416},
        {{"plot", "--compare", "fots"}, true, 424}, {{"plot-spectrum", "pit"}, false, 416},
        {{"plot", "--compare", "dts"}, false, 424},
    };
    const QRgb face = qRgb(240, 240, 240);
    int k = 0;
    for (const auto& c : cases) {
        const QString file = dir.filePath(QStringLiteral("caption%1.png").arg(k++));
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"-o", file.toStdString()});
        ASSERT_EQ(RunPlot(args).status, 0) << args[1];
        const QImage image = QImage(file).convertToFormat(QImage::Format_RGB32);
        // Text pixels: dark ones inside each caption's box.
        const auto dark = [&](QRect box) {
            int n = 0;
            for (int y = box.top(); y <= box.bottom(); ++y)
                for (int x = box.left(); x <= box.right(); ++x)
                    n += qGray(image.pixel(x, y)) < 80;
            return n;
        };
        const QRect density(16, 8, 50, 18);
        const QRect frequency(c.frequencyLeft, 232, 18, 18);
        const int faceInDensity = CountPixels(image.copy(density), face);
        if (c.captions) {
            EXPECT_GT(faceInDensity, 200) << args[1];
            EXPECT_GT(dark(density), 30) << args[1];
            EXPECT_GT(dark(frequency), 15) << args[1];
        } else {
            EXPECT_EQ(faceInDensity, 0) << args[1];
        }
    }
}
