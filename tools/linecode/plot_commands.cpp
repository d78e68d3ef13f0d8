#include "tools/linecode/plot_commands.h"

#include "plot/chart_layout.h"
#include "plot/fonts.h"
#include "tools/linecode/linecode_commands.h"
#include "workbench/chart_presses.h"

#include <QGuiApplication>
#include <QImage>
#include <QString>

#include <memory>
#include <optional>
#include <string>

namespace {

using Args = std::span<const std::string_view>;

struct PlotRequest {
    std::optional<LineCode> code;
    std::optional<Bits> bits;
    std::optional<Workbench> compare;
    std::string output;
    std::string locale;
};

// The painting needs a GUI application; without a display it runs offscreen.
std::unique_ptr<QGuiApplication> MakeApplication(int& argc, char** argv) {
    if (QGuiApplication::instance())
        return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace

bool IsPlotCommand(std::string_view name) {
    return name == "plot" || name == "plot-spectrum";
}

int RunPlotCommand(int argc, char** argv, Args args, std::ostream& out, std::ostream& err) {
    const bool spectrum = args.front() == "plot-spectrum";
    PlotRequest request;
    std::vector<std::string_view> positional;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string_view a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "-o" || a == "--output") {
            if (!hasValue)
                return UsageError(err, "-o needs a file name");
            request.output = std::string(args[++i]);
        } else if (a == "--compare") {
            if (!hasValue || (args[i + 1] != "dts" && args[i + 1] != "fots"))
                return UsageError(err, "--compare needs dts or fots");
            request.compare = args[++i] == "dts" ? Workbench::Dts : Workbench::Fots;
        } else if (a == "--locale") {
            if (!hasValue)
                return UsageError(err, "--locale needs a name");
            request.locale = std::string(args[++i]);
        } else {
            positional.push_back(a);
        }
    }
    if (request.output.empty())
        return UsageError(err, "missing -o FILE.png");
    const std::size_t wanted = request.compare ? 0 : (spectrum ? 1 : 2);
    if (positional.size() != wanted)
        return UsageError(err, request.compare ? "--compare takes no CODE"
                                               : (spectrum ? "plot-spectrum needs CODE"
                                                           : "plot needs CODE COMBINATION"));
    if (!request.compare) {
        request.code = LineCodeFromName(positional[0]);
        if (!request.code)
            return UsageError(err, "unknown CODE");
        if (!spectrum) {
            request.bits = CombinationBits(positional[1]);
            if (!request.bits) {
                return InvalidCombinationError(err);
            }
        }
    }

    const auto app = MakeApplication(argc, argv);
    RegisterFontSubstitutions();
    DesignedChart which;
    TCustomChart chart;
    if (request.compare) {
        which = ComparisonChartOf(*request.compare);
        ApplyDesignedChart(chart, which);
        PressComparison(chart, *request.compare);
    } else if (spectrum) {
        which = SpectrumChartOf(*request.code);
        ApplyDesignedChart(chart, which);
        PressSpectrum(chart, *request.code);
    } else {
        which = SignalChartOf(*request.code);
        ApplyDesignedChart(chart, which);
        NoiseSource noise; // the noise of a run's first forming
        FormSignal(chart, *request.code, *request.bits, noise);
    }
    ChartLayoutOptions options;
    if (!request.locale.empty())
        options.locale = QLocale(QString::fromStdString(request.locale));
    const QImage image = RenderChart(chart, DesignedSizeOf(which), options);
    if (!image.save(QString::fromStdString(request.output), "PNG")) {
        err << "linecode: cannot write " << request.output << '\n';
        return kExitUsage;
    }
    out << request.output << ": " << image.width() << " x " << image.height() << '\n';
    return kExitOk;
}
