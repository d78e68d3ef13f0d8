#include "codes/line_code.h"

#include <array>

namespace {

struct CodeNames {
    LineCode code;
    std::string_view key;
    std::string_view caption;
};

constexpr std::array<CodeNames, 8> kNames = {{
    {LineCode::Pit, "pit", "ПИТ"},
    {LineCode::Abs, "abs", "АБС"},
    {LineCode::Chpi, "chpi", "ЧПИ"},
    {LineCode::Kvp3, "kvp3", "КВП - 3"},
    {LineCode::Nrz, "nrz", "NRZ"},
    {LineCode::BiL, "bil", "BI - L"},
    {LineCode::Cmi, "cmi", "CMI"},
    {LineCode::Ep1, "ep1", "EP - 1"},
}};

const CodeNames& NamesOf(LineCode code) {
    return kNames[static_cast<std::size_t>(code)];
}

template <typename Char>
bool IsValid(std::basic_string_view<Char> text) {
    if (text.size() < kMinCombinationLength || text.size() > kMaxCombinationLength)
        return false;
    for (Char c : text) {
        if (c != Char('0') && c != Char('1'))
            return false;
    }
    return true;
}

template <typename Char>
std::optional<Bits> BitsOf(std::basic_string_view<Char> text) {
    if (!IsValid(text))
        return std::nullopt;
    Bits bits;
    bits.reserve(text.size());
    for (Char c : text)
        bits.push_back(c == Char('1') ? 1 : 0);
    return bits;
}

// Which codes carry one symbol per bit and which two half-bit symbols.
int SymbolsPerBit(LineCode code) {
    switch (code) {
    case LineCode::Pit:
    case LineCode::Chpi:
    case LineCode::Kvp3:
    case LineCode::Nrz:
        return 1;
    case LineCode::Abs:
    case LineCode::BiL:
    case LineCode::Cmi:
    case LineCode::Ep1:
        return 2;
    }
    return 1;
}

// The CMI and EP-1 rule for a 1: the two half-bits are high and low in turn,
// beginning high.
void AppendAlternatingOne(std::vector<int>& levels, int& alternation) {
    const int level = alternation;
    levels.push_back(level);
    levels.push_back(level);
    alternation = 1 - alternation;
}

} // namespace

std::string_view LineCodeCaption(LineCode code) {
    return NamesOf(code).caption;
}
std::string_view LineCodeKey(LineCode code) {
    return NamesOf(code).key;
}

std::optional<LineCode> LineCodeFromName(std::string_view name) {
    for (const CodeNames& n : kNames) {
        if (name == n.key || name == n.caption)
            return n.code;
    }
    return std::nullopt;
}

bool IsValidCombination(std::u16string_view text) {
    return IsValid(text);
}
bool IsValidCombination(std::string_view text) {
    return IsValid(text);
}
std::optional<Bits> CombinationBits(std::u16string_view text) {
    return BitsOf(text);
}
std::optional<Bits> CombinationBits(std::string_view text) {
    return BitsOf(text);
}

std::vector<int> EncodePairSelectedTernary(const Bits& bits) {
    std::vector<int> s(bits.begin(), bits.end());
    int polarity = +1;
    // Pairs (b1, b2), (b3, b4), ...; an unpaired last bit keeps its value.
    for (std::size_t i = 1; i < s.size(); i += 2) {
        const int first = bits[i - 1];
        const int second = bits[i];
        if (first == second) {
            s[i - 1] = first == 1 ? +1 : -1;
            s[i] = -s[i - 1];
        } else {
            s[i - 1] = first == 1 ? polarity : 0;
            s[i] = second == 1 ? polarity : 0;
            polarity = -polarity;
        }
    }
    return s;
}

std::vector<int> EncodeAbsoluteBipulse(const Bits& bits) {
    std::vector<int> h;
    h.reserve(2 * bits.size());
    for (int b : bits) {
        h.push_back(b == 1 ? 1 : 0);
        h.push_back(b == 1 ? 0 : 1);
    }
    return h;
}

std::vector<int> EncodeAlternateMarkInversion(const Bits& bits) {
    std::vector<int> s;
    s.reserve(bits.size());
    int last = -1;
    for (int b : bits) {
        if (b == 1) {
            last = -last;
            s.push_back(last);
        } else {
            s.push_back(0);
        }
    }
    return s;
}

std::vector<int> EncodeHighDensity3(const Bits& bits) {
    std::vector<int> s;
    s.reserve(bits.size());
    int last = -1;         // polarity of the last pulse
    int zeros = 0;         // zeros since the last pulse
    int substitution = +1; // polarity of the last substitution pulse V
    for (int b : bits) {
        if (b == 1) {
            zeros = 0;
            last = -last;
            s.push_back(last);
            continue;
        }
        if (++zeros != 4) {
            s.push_back(0);
            continue;
        }
        // The fourth zero of a run: the run k-3 ... k becomes B00V or 000V.
        const std::size_t first = s.size() - 3;
        const int v = substitution > 0 ? -1 : +1;
        s[first] = v;
        s.push_back(v);
        // A run at the very start has no pulse before it, which counts as 0.
        const int before = first == 0 ? 0 : s[first - 1];
        if (s[first] == before)
            s[first] = 0;
        last = v;
        substitution = v;
        zeros = 0;
    }
    return s;
}

std::vector<int> EncodeNrz(const Bits& bits) {
    return std::vector<int>(bits.begin(), bits.end());
}

std::vector<int> EncodeBiL(const Bits& bits) {
    return EncodeAbsoluteBipulse(bits);
}

std::vector<int> EncodeCmi(const Bits& bits) {
    std::vector<int> levels;
    levels.reserve(2 * bits.size());
    int alternation = 1;
    for (int b : bits) {
        if (b == 1) {
            AppendAlternatingOne(levels, alternation);
        } else {
            levels.push_back(1);
            levels.push_back(0);
        }
    }
    return levels;
}

std::vector<int> EncodeEp1(const Bits& bits) {
    std::vector<int> levels;
    levels.reserve(2 * bits.size());
    int alternation = 1;
    for (int b : bits) {
        if (b == 1) {
            AppendAlternatingOne(levels, alternation);
        } else {
            // A 0 continues the level the line was on: the line starts low.
            const int previous = levels.empty() ? 0 : levels.back();
            levels.push_back(previous);
            levels.push_back(1 - previous);
        }
    }
    return levels;
}

std::vector<int> Encode(LineCode code, const Bits& bits) {
    switch (code) {
    case LineCode::Pit:
        return EncodePairSelectedTernary(bits);
    case LineCode::Abs:
        return EncodeAbsoluteBipulse(bits);
    case LineCode::Chpi:
        return EncodeAlternateMarkInversion(bits);
    case LineCode::Kvp3:
        return EncodeHighDensity3(bits);
    case LineCode::Nrz:
        return EncodeNrz(bits);
    case LineCode::BiL:
        return EncodeBiL(bits);
    case LineCode::Cmi:
        return EncodeCmi(bits);
    case LineCode::Ep1:
        return EncodeEp1(bits);
    }
    return {};
}

std::vector<SignalPoint> SignalPoints::Series(int series) const {
    std::vector<SignalPoint> out;
    for (const SignalPoint& p : points) {
        if (p.series == series)
            out.push_back(p);
    }
    return out;
}

SignalPoints BuildSignalPoints(LineCode code, const Bits& bits, NoiseSource& noise) {
    const std::vector<int> symbols = Encode(code, bits);
    const int perBit = SymbolsPerBit(code);
    // АБС bars stand at ±0.5 around the axis; its noisy curve starts 0.1 below.
    const bool bipulse = code == LineCode::Abs;
    const double barShift = bipulse ? -0.5 : 0.0;
    const double noisyShift = bipulse ? -0.6 : 0.0;
    const bool hasSource = code != LineCode::Nrz;
    // Source bars are red, except those of ПИТ, which are blue.
    const Colour sourceColour = code == LineCode::Pit ? clBlue : clRed;

    SignalPoints result;
    result.points.reserve(symbols.size() * 11 + bits.size());
    auto appendSources = [&] {
        for (std::size_t i = 1; i <= bits.size(); ++i) {
            result.points.push_back({2, static_cast<double>(perBit * i),
                                     static_cast<double>(bits[i - 1]), sourceColour});
        }
    };

    // ПИТ produces its source points while it encodes, before the line signal.
    if (code == LineCode::Pit)
        appendSources();
    for (std::size_t c = 1; c <= symbols.size(); ++c) {
        const int level = symbols[c - 1];
        result.points.push_back({0, static_cast<double>(c), level + barShift, clBlue});
        for (int j = 1; j <= 10; ++j) {
            const double x = static_cast<double>(c - 1) + j / 10.0;
            const double y = (level + noisyShift) + noise.NoiseSample();
            result.points.push_back({1, x, y, clRed});
        }
    }
    if (hasSource && code != LineCode::Pit)
        appendSources();
    return result;
}
