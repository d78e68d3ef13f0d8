#include "tools/linecode/linecode_commands.h"

#include "codes/energy_density.h"
#include "codes/line_code.h"
#include "codes/measured_spectrum.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

using Args = std::span<const std::string_view>;

// Shortest decimal text that reads back as the same double.
std::string Number(double value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

std::string ColourText(Colour colour) {
    std::array<char, 16> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "0x%08X", static_cast<unsigned>(colour));
    return buffer.data();
}

std::optional<LineCode> CodeArgument(Args args, std::ostream& err) {
    if (args.empty()) {
        UsageError(err, "missing CODE");
        return std::nullopt;
    }
    std::optional<LineCode> code = LineCodeFromName(args.front());
    if (!code)
        UsageError(err, "unknown CODE");
    return code;
}

// All combinations are checked before anything is printed, so a bad one
// leaves standard output empty.
std::optional<std::vector<Bits>> CombinationArguments(Args args, std::ostream& err, int& status) {
    if (args.empty()) {
        status = UsageError(err, "missing COMBINATION");
        return std::nullopt;
    }
    std::vector<Bits> all;
    for (std::string_view text : args) {
        std::optional<Bits> bits = CombinationBits(text);
        if (!bits) {
            status = InvalidCombinationError(err);
            return std::nullopt;
        }
        all.push_back(std::move(*bits));
    }
    return all;
}

// CODE COMBINATION...: the arguments of the commands that encode.
struct Formings {
    LineCode code;
    std::vector<Bits> combinations;
};

std::optional<Formings> FormingArguments(Args args, std::ostream& err, int& status) {
    const std::optional<LineCode> code = CodeArgument(args, err);
    if (!code) {
        status = kExitUsage;
        return std::nullopt;
    }
    auto combinations = CombinationArguments(args.subspan(1), err, status);
    if (!combinations)
        return std::nullopt;
    return Formings{*code, std::move(*combinations)};
}

int Encode(Args args, std::ostream& out, std::ostream& err) {
    int status = kExitOk;
    const std::optional<Formings> formings = FormingArguments(args, err, status);
    if (!formings)
        return status;
    for (const Bits& bits : formings->combinations) {
        const std::vector<int> symbols = Encode(formings->code, bits);
        for (std::size_t k = 0; k < symbols.size(); ++k)
            out << (k ? " " : "") << symbols[k];
        out << '\n';
    }
    return kExitOk;
}

int Points(Args args, std::ostream& out, std::ostream& err) {
    int status = kExitOk;
    const std::optional<Formings> formings = FormingArguments(args, err, status);
    if (!formings)
        return status;
    // Successive presses of one program run share the run's noise sequence.
    NoiseSource noise;
    for (const Bits& bits : formings->combinations) {
        for (const SignalPoint& p : BuildSignalPoints(formings->code, bits, noise).points)
            out << p.series << ',' << Number(p.x) << ',' << Number(p.y) << ','
                << ColourText(p.colour) << '\n';
    }
    return kExitOk;
}

int Spectrum(Args args, std::ostream& out, std::ostream& err) {
    const std::optional<LineCode> code = CodeArgument(args, err);
    if (!code)
        return kExitUsage;
    if (args.size() > 1)
        return UsageError(err, "too many arguments");
    for (int i = 1; i <= kSpectrumSamples; ++i) {
        const SpectrumPoint p = SpectrumValue(*code, i);
        out << Number(p.x) << ',' << Number(p.y) << '\n';
    }
    return kExitOk;
}

int Compare(Args args, std::ostream& out, std::ostream& err) {
    if (args.size() != 1 || (args[0] != "dts" && args[0] != "fots"))
        return UsageError(err, "compare needs dts or fots");
    const Workbench workbench = args[0] == "dts" ? Workbench::Dts : Workbench::Fots;
    for (int i = 1; i <= kSpectrumSamples; ++i) {
        for (int curve = 0; curve < kComparisonCurves; ++curve) {
            const SpectrumPoint p = ComparisonValue(workbench, curve, i);
            out << curve << ',' << Number(p.x) << ',' << Number(p.y) << ',' << ColourText(p.colour)
                << '\n';
        }
    }
    return kExitOk;
}

// A whole number option's value; nothing else in the text.
template <typename Integer>
std::optional<Integer> WholeNumber(std::string_view text) {
    Integer value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

int Psd(Args args, std::ostream& out, std::ostream& err) {
    const std::optional<LineCode> code = CodeArgument(args, err);
    if (!code)
        return kExitUsage;
    std::size_t bits = kDefaultPsdBits;
    std::uint64_t seed = kDefaultPsdSeed;
    for (std::size_t i = 1; i < args.size(); i += 2) {
        if (i + 1 >= args.size())
            return UsageError(err, std::string(args[i]) + " needs a value");
        if (args[i] == "--bits") {
            const auto n = WholeNumber<std::size_t>(args[i + 1]);
            if (!n || *n < kMinPsdBits || *n > kMaxPsdBits)
                return UsageError(err, "--bits needs a number from " + std::to_string(kMinPsdBits) +
                                           " to " + std::to_string(kMaxPsdBits));
            bits = *n;
        } else if (args[i] == "--seed") {
            const auto s = WholeNumber<std::uint64_t>(args[i + 1]);
            if (!s)
                return UsageError(err, "--seed needs a whole number");
            seed = *s;
        } else {
            return UsageError(err, "unknown option " + std::string(args[i]));
        }
    }
    const MeasuredSpectrum spectrum = MeasureSpectrum(*code, bits, seed);
    for (const PsdPoint& p : spectrum.points)
        out << Number(p.x) << ',' << Number(p.y) << '\n';
    // On the curve's scale: the area the line would add under the curve.
    for (const SpectralLine& line : spectrum.lines)
        out << "line," << Number(line.x) << ',' << Number(spectrum.scale * line.power) << '\n';
    return kExitOk;
}

constexpr LinecodeCommand kCommands[] = {
    {"encode", "encode CODE COMBINATION...    line symbols, one line per combination", Encode},
    {"points",
     "points CODE COMBINATION...    chart points of successive formings: "
     "series,x,y,colour",
     Points},
    {"spectrum", "spectrum CODE                 the 200 points x,y of the code's spectrum",
     Spectrum},
    {"compare",
     "compare dts|fots              the 800 points series,x,y,colour of a "
     "comparison",
     Compare},
    {"psd",
     "psd CODE [--bits N] [--seed S]\n"
     "                                the measured spectrum of N random bits (65536):\n"
     "                                200 points x,y on the model's scale, then\n"
     "                                line,x,power per discrete line",
     Psd},
};

} // namespace

void PrintUsage(std::ostream& stream) {
    stream << "Usage: linecode COMMAND ARGUMENTS...\n\nCommands:\n";
    for (const LinecodeCommand& c : kCommands)
        stream << "  " << c.usage << '\n';
    stream << "  --help                        this text\n"
              "\n"
              "Charts as PNG files, drawn without a display:\n"
              "  plot CODE COMBINATION -o FILE.png    the signal chart after one forming\n"
              "  plot-spectrum CODE -o FILE.png       the code's spectrum chart\n"
              "  plot --compare dts|fots -o FILE.png  the comparison chart\n"
              "  plot-psd CODE -o FILE.png [--bits N] [--seed S]\n"
              "                                       the model curve and the measured spectrum\n"
              "  --locale NAME (e.g. ru_RU) sets the number format of the axis labels.\n"
              "\n"
              "The laboratory work's printed guide, an A4 PDF:\n"
              "  handout -o FILE.pdf [--resources DIR]\n"
              "                      DIR holds docs/*.html (default: the source tree's)\n"
              "\n"
              "CODE is one of pit abs chpi kvp3 nrz bil cmi ep1, or a code button's caption:\n"
              "  \"ПИТ\" \"АБС\" \"ЧПИ\" \"КВП - 3\" \"NRZ\" \"BI - L\" \"CMI\" \"EP - 1\"\n"
              "COMBINATION has 6 to 10 characters, each 0 or 1.\n"
              "Numbers are printed in their shortest exact form, colours as 0x00BBGGRR.\n"
              "\n"
              "Exit status: 0 done, 1 invalid combination, 2 usage error.\n";
}

int InvalidCombinationError(std::ostream& err) {
    err << "linecode: неверно введена комбинация: комбинация должна содержать только "
           "\"0\" или \"1\", от 6 до 10 символов\n";
    return kExitInvalidCombination;
}

int UsageError(std::ostream& err, std::string_view problem) {
    err << "linecode: " << problem << "\n\n";
    PrintUsage(err);
    return kExitUsage;
}

int RunLinecode(Args args, std::ostream& out, std::ostream& err) {
    if (args.empty())
        return UsageError(err, "missing COMMAND");
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        PrintUsage(out);
        return kExitOk;
    }
    for (const LinecodeCommand& c : kCommands) {
        if (args[0] == c.name)
            return c.run(args.subspan(1), out, err);
    }
    return UsageError(err, "unknown COMMAND");
}
