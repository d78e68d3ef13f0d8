#include "tools/linecode/plot_commands.h"

#include "plot/chart_layout.h"
#include "plot/fonts.h"
#include "tools/linecode/linecode_commands.h"
#include "tools/linecode/psd_chart.h"
#include "workbench/chart_presses.h"

#include <QGuiApplication>
#include <QImage>
#include <QString>

#include <charconv>
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

template <typename Integer>
std::optional<Integer> WholeNumber(std::string_view text) {
    Integer value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

int SaveImage(const QImage& image, const std::string& file, std::ostream& out, std::ostream& err) {
    if (!image.save(QString::fromStdString(file), "PNG")) {
        err << "linecode: cannot write " << file << '\n';
        return kExitUsage;
    }
    out << file << ": " << image.width() << " x " << image.height() << '\n';
    return kExitOk;
}

// plot-psd CODE -o FILE.png [--bits N] [--seed S] [--locale NAME]
int PlotPsd(int argc, char** argv, Args args, std::ostream& out, std::ostream& err) {
    std::string output, locale;
    std::size_t bits = kDefaultPsdBits;
    std::uint64_t seed = kDefaultPsdSeed;
    std::vector<std::string_view> positional;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string_view a = args[i];
        const bool option =
            a == "-o" || a == "--output" || a == "--locale" || a == "--bits" || a == "--seed";
        if (!option) {
            positional.push_back(a);
            continue;
        }
        if (i + 1 >= args.size())
            return UsageError(err, std::string(a) + " needs a value");
        const std::string_view value = args[++i];
        if (a == "--bits") {
            const auto n = WholeNumber<std::size_t>(value);
            if (!n || *n < kMinPsdBits || *n > kMaxPsdBits)
                return UsageError(err, "--bits needs a number from " + std::to_string(kMinPsdBits) +
                                           " to " + std::to_string(kMaxPsdBits));
            bits = *n;
        } else if (a == "--seed") {
            const auto n = WholeNumber<std::uint64_t>(value);
            if (!n)
                return UsageError(err, "--seed needs a whole number");
            seed = *n;
        } else if (a == "--locale") {
            locale = std::string(value);
        } else {
            output = std::string(value);
        }
    }
    if (output.empty())
        return UsageError(err, "missing -o FILE.png");
    if (positional.size() != 1)
        return UsageError(err, "plot-psd needs CODE");
    const std::optional<LineCode> code = LineCodeFromName(positional[0]);
    if (!code)
        return UsageError(err, "unknown CODE");

    const MeasuredSpectrum spectrum = MeasureSpectrum(*code, bits, seed);
    const auto app = MakeApplication(argc, argv);
    RegisterFontSubstitutions();
    ChartLayoutOptions options;
    if (!locale.empty())
        options.locale = QLocale(QString::fromStdString(locale));
    const QImage image = RenderPsdPicture(*code, spectrum, DesignedSizeOf(SpectrumChartOf(*code)),
                                          PsdPictureContent{}, options);
    return SaveImage(image, output, out, err);
}

} // namespace

bool IsPlotCommand(std::string_view name) {
    return name == "plot" || name == "plot-spectrum" || name == "plot-psd";
}

int RunPlotCommand(int argc, char** argv, Args args, std::ostream& out, std::ostream& err) {
    if (args.front() == "plot-psd")
        return PlotPsd(argc, argv, args, out, err);
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
    return SaveImage(RenderChart(chart, DesignedSizeOf(which), options), request.output, out, err);
}
