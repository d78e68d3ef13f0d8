#include "reference/doc_figures.h"

#include "codes/energy_density.h"
#include "codes/line_code.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

constexpr const char* kMinus = "\u2212";
constexpr const char* kFont = "font-family=\"Times New Roman\"";

struct Layout {
    int symbolsPerBit;       // 1, or 2 for half-bit codes
    std::vector<int> levels; // symbol values from the top level down
    std::vector<std::string> labels;
};

Layout LayoutOf(LineCode code) {
    switch (code) {
    case LineCode::Pit:
    case LineCode::Chpi:
    case LineCode::Kvp3:
        return {1, {1, 0, -1}, {"+1", "0", std::string(kMinus) + "1"}};
    case LineCode::Abs:
        // The workbench draws a half-bit symbol h at h − 0.5.
        return {2, {1, 0}, {"+0,5", std::string(kMinus) + "0,5"}};
    case LineCode::Nrz:
        return {1, {1, 0}, {"1", "0"}};
    case LineCode::BiL:
    case LineCode::Cmi:
    case LineCode::Ep1:
        return {2, {1, 0}, {"1", "0"}};
    }
    throw FigureError("unknown line code");
}

std::string Num(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f", v);
    std::string s = buffer;
    while (!s.empty() && s.back() == '0')
        s.pop_back();
    if (!s.empty() && s.back() == '.')
        s.pop_back();
    return s == "-0" ? "0" : s;
}

// Axis numbers the Russian way, with a decimal comma.
std::string Decimal(double v, int decimals) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, v);
    std::string s = buffer;
    std::replace(s.begin(), s.end(), '.', ',');
    return s;
}

std::string Hex(Colour c) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", RedOf(c), GreenOf(c), BlueOf(c));
    return buffer;
}

LineCode CodeOf(std::string_view key) {
    const std::optional<LineCode> code = LineCodeFromName(key);
    if (!code)
        throw FigureError("unknown line code \"" + std::string(key) + "\"");
    return *code;
}

Bits BitsOf(std::string_view text) {
    const std::optional<Bits> bits = CombinationBits(text);
    if (!bits)
        throw FigureError("not a combination of 6 to 10 bits: \"" + std::string(text) + "\"");
    return *bits;
}

std::string SvgHead(int width, int height) {
    const std::string w = std::to_string(width), h = std::to_string(height);
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + w +
           "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h + "\">\n<rect x=\"0\" y=\"0\" " +
           "width=\"" + w + "\" height=\"" + h + "\" fill=\"#ffffff\"/>\n";
}

std::string Text(double x, double y, const std::string& text, int size,
                 const char* anchor = "middle", const std::string& extra = {}) {
    return "<text x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" " + kFont + " font-size=\"" +
           std::to_string(size) + "\" text-anchor=\"" + anchor + "\"" + extra + ">" + text +
           "</text>\n";
}

std::string Line(double x1, double y1, double x2, double y2, const std::string& style) {
    return "<line x1=\"" + Num(x1) + "\" y1=\"" + Num(y1) + "\" x2=\"" + Num(x2) + "\" y2=\"" +
           Num(y2) + "\" " + style + "/>\n";
}

std::string SymbolOf(const Layout& layout, const std::vector<int>& symbols, std::size_t bit) {
    if (layout.symbolsPerBit == 2)
        return std::to_string(symbols[2 * bit]) + std::to_string(symbols[2 * bit + 1]);
    const int s = symbols[bit];
    if (layout.levels.size() == 2) // NRZ: the levels themselves
        return std::to_string(s);
    return s > 0 ? "+1" : s < 0 ? std::string(kMinus) + "1" : "0";
}

std::string WaveformSvg(LineCode code, const Bits& bits, int width) {
    const Layout layout = LayoutOf(code);
    const std::vector<int> symbols = Encode(code, bits);
    const std::size_t n = bits.size();
    if (symbols.size() != n * static_cast<std::size_t>(layout.symbolsPerBit))
        throw FigureError("the encoder gave an unexpected number of symbols");
    const double left = 44, right = 8, top = 24;
    const double levelGap = layout.levels.size() == 3 ? 30 : 36;
    const double plotHeight = levelGap * static_cast<double>(layout.levels.size() - 1) + 16;
    const int height = static_cast<int>(top + plotHeight + 22);
    const double cell = (width - left - right) / static_cast<double>(n);
    const double slot = cell / layout.symbolsPerBit;

    auto yOf = [&](int symbol) {
        for (std::size_t k = 0; k < layout.levels.size(); ++k)
            if (layout.levels[k] == symbol)
                return top + 8 + levelGap * static_cast<double>(k);
        throw FigureError("symbol outside the code's levels");
    };

    std::string svg = SvgHead(width, height);
    for (std::size_t k = 0; k < layout.levels.size(); ++k) {
        const double y = yOf(layout.levels[k]);
        svg += "<line class=\"level\" data-level=\"" + std::to_string(layout.levels[k]) +
               "\" x1=\"" + Num(left) + "\" y1=\"" + Num(y) + "\" x2=\"" + Num(width - right) +
               "\" y2=\"" + Num(y) +
               "\" stroke=\"#9a9a9a\" stroke-width=\"1\" stroke-dasharray=\"2,3\"/>\n";
        svg += Text(left - 6, y + 4, layout.labels[k], 12, "end");
    }
    for (std::size_t i = 0; i <= n; ++i) {
        const double x = left + cell * static_cast<double>(i);
        svg += Line(x, top - 4, x, top + plotHeight, "stroke=\"#c8c8c8\" stroke-width=\"1\"");
    }
    for (std::size_t i = 0; i < n; ++i) {
        const double x = left + cell * (static_cast<double>(i) + 0.5);
        svg += Text(x, top - 8, std::to_string(bits[i]), 14, "middle", " font-weight=\"bold\"");
        svg += Text(x, top + plotHeight + 14, SymbolOf(layout, symbols, i), 12, "middle",
                    " fill=\"#1a1a8c\"");
    }
    // Two points per symbol, one at each end of its level: the picture of a
    // line signal that holds each level for the whole symbol.
    svg += "<polyline id=\"signal\" fill=\"none\" stroke=\"#0000ff\" stroke-width=\"2\" "
           "points=\"";
    for (std::size_t k = 0; k < symbols.size(); ++k) {
        const double x0 = left + slot * static_cast<double>(k);
        const double y = yOf(symbols[k]);
        svg += Num(x0) + "," + Num(y) + " " + Num(x0 + slot) + "," + Num(y) + " ";
    }
    svg.pop_back();
    svg += "\"/>\n</svg>\n";
    return svg;
}

struct Curve {
    std::vector<SpectrumPoint> points;
    std::string label;
};

double NiceStep(double max, int most) {
    static constexpr double kSteps[] = {0.01, 0.02, 0.05, 0.1, 0.2, 0.5, 1, 2, 5};
    for (double step : kSteps)
        if (max / step <= most)
            return step;
    return 10;
}

int DecimalsOf(double step) {
    return step < 0.1 ? 2 : step < 1 ? 1 : 0;
}

std::string SpectrumChartSvg(const std::vector<Curve>& curves, int width, int height) {
    double xMax = 0, yMax = 0;
    for (const Curve& c : curves)
        for (const SpectrumPoint& p : c.points) {
            xMax = std::max(xMax, p.x);
            yMax = std::max(yMax, p.y);
        }
    const double yStep = NiceStep(yMax, 5);
    const double yTop = std::ceil(yMax / yStep - 1e-9) * yStep;
    const double xStep = xMax > 1.01 ? 0.5 : 0.25;

    const double left = 46, right = 16, top = 20, bottom = curves.size() > 1 ? 46 : 30;
    const double plotW = width - left - right, plotH = height - top - bottom;
    auto px = [&](double x) { return left + plotW * x / xMax; };
    auto py = [&](double y) { return top + plotH * (1 - y / yTop); };

    std::string svg = SvgHead(width, height);
    for (int k = 0; k * yStep <= yTop + 1e-9; ++k) {
        const double y = py(k * yStep);
        svg += Line(left, y, left + plotW, y, "stroke=\"#dddddd\" stroke-width=\"1\"");
        svg += Text(left - 5, y + 4, Decimal(k * yStep, DecimalsOf(yStep)), 11, "end");
    }
    for (int k = 0; k * xStep <= xMax + 1e-9; ++k) {
        const double x = px(k * xStep);
        svg += Line(x, top, x, top + plotH, "stroke=\"#dddddd\" stroke-width=\"1\"");
        const double v = k * xStep;
        svg += Text(x, top + plotH + 14, Decimal(v, v == std::floor(v) ? 0 : 2), 11);
    }
    svg += Line(left, top, left, top + plotH, "stroke=\"#000000\" stroke-width=\"1\"");
    svg +=
        Line(left, top + plotH, left + plotW, top + plotH, "stroke=\"#000000\" stroke-width=\"1\"");
    svg += Text(left + 4, top - 6, "G(f)/T", 12, "start", " font-style=\"italic\"");
    svg += Text(left + plotW, top + plotH + 26, "fT", 13, "end", " font-style=\"italic\"");

    double legendX = left + 10;
    for (const Curve& c : curves) {
        const std::string colour = Hex(c.points.front().colour);
        svg += "<polyline class=\"curve\" fill=\"none\" stroke=\"" + colour +
               "\" stroke-width=\"1.6\" points=\"";
        for (const SpectrumPoint& p : c.points)
            svg += Num(px(p.x)) + "," + Num(py(p.y)) + " ";
        svg.pop_back();
        svg += "\"/>\n";
        if (curves.size() > 1) {
            const double y = height - 8;
            svg += Line(legendX, y - 4, legendX + 22, y - 4,
                        "stroke=\"" + colour + "\" stroke-width=\"2\"");
            svg += Text(legendX + 27, y, c.label, 12, "start",
                        " font-weight=\"bold\" fill=\"" + colour + "\"");
            legendX += 100;
        }
    }
    svg += "</svg>\n";
    return svg;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = text.find(separator, from);
        if (at == std::string_view::npos) {
            parts.push_back(text.substr(from));
            return parts;
        }
        parts.push_back(text.substr(from, at - from));
        from = at + 1;
    }
}

int WidthOf(std::string_view part, std::string_view name) {
    int width = 0;
    if (part.size() < 2 || part.size() > 4 || part[0] != 'w')
        throw FigureError("bad figure name " + std::string(name));
    for (char c : part.substr(1)) {
        if (c < '0' || c > '9')
            throw FigureError("bad figure width in " + std::string(name));
        width = width * 10 + (c - '0');
    }
    if (width < 100 || width > 600)
        throw FigureError("figure width out of range in " + std::string(name));
    return width;
}

} // namespace

std::string FigureSvg(std::string_view name) {
    const std::vector<std::string_view> parts = Split(name, '-');
    if (parts[0] == "wave" && (parts.size() == 3 || parts.size() == 4))
        return WaveformSvg(CodeOf(parts[1]), BitsOf(parts[2]),
                           parts.size() == 4 ? WidthOf(parts[3], name) : 520);
    if (parts[0] == "spectrum" && (parts.size() == 2 || parts.size() == 3)) {
        const LineCode code = CodeOf(parts[1]);
        Curve curve;
        for (int i = 1; i <= kSpectrumSamples; ++i)
            curve.points.push_back(SpectrumValue(code, i));
        const int width = parts.size() == 3 ? WidthOf(parts[2], name) : 520;
        return SpectrumChartSvg({curve}, width, width >= 400 ? 180 : 160);
    }
    if (parts[0] == "compare" && parts.size() == 2 && (parts[1] == "dts" || parts[1] == "fots")) {
        const bool dts = parts[1] == "dts";
        const char* const dtsLabels[] = {"БВН", "АБС", "КВП-3", "ЧПИ"};
        const char* const fotsLabels[] = {"NRZ", "BI-L", "EP-1", "CMI"};
        std::vector<Curve> curves(kComparisonCurves);
        for (int c = 0; c < kComparisonCurves; ++c) {
            curves[static_cast<std::size_t>(c)].label = dts ? dtsLabels[c] : fotsLabels[c];
            for (int i = 1; i <= kSpectrumSamples; ++i)
                curves[static_cast<std::size_t>(c)].points.push_back(
                    ComparisonValue(dts ? Workbench::Dts : Workbench::Fots, c, i));
        }
        return SpectrumChartSvg(curves, 520, 190);
    }
    throw FigureError("no figure is named " + std::string(name));
}

std::string SymbolText(std::string_view code, std::string_view bits) {
    const LineCode lineCode = CodeOf(code);
    const Layout layout = LayoutOf(lineCode);
    const Bits b = BitsOf(bits);
    const std::vector<int> symbols = Encode(lineCode, b);
    std::string text;
    for (std::size_t i = 0; i < b.size(); ++i) {
        if (i > 0)
            text += ' ';
        text += SymbolOf(layout, symbols, i);
    }
    return text;
}

std::string ExpandSymbols(std::string_view text) {
    static constexpr std::string_view kOpen = "{{symbols:";
    std::string out;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = text.find(kOpen, from);
        if (at == std::string_view::npos) {
            out += text.substr(from);
            return out;
        }
        const std::size_t end = text.find("}}", at);
        if (end == std::string_view::npos)
            throw FigureError("unclosed {{symbols:...}}");
        out += text.substr(from, at - from);
        const std::string_view inner = text.substr(at + kOpen.size(), end - at - kOpen.size());
        const std::vector<std::string_view> parts = Split(inner, ':');
        if (parts.size() != 2)
            throw FigureError("bad {{symbols:" + std::string(inner) + "}}");
        out += SymbolText(parts[0], parts[1]);
        from = end + 2;
    }
}
