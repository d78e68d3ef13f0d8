#include "codes/code_properties.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

// Two lengths of data: a property that is the same for both is a property
// of the code; one that grows is unlimited. Every bound of these codes is
// reached within a few bits.
constexpr std::size_t kShort = 12;
constexpr std::size_t kLong = 16;

bool IsTernary(LineCode code) {
    return code == LineCode::Pit || code == LineCode::Chpi || code == LineCode::Kvp3;
}

// ПИТ encodes its bits in pairs; every other code bit by bit.
std::size_t BitsPerWord(LineCode code) {
    return code == LineCode::Pit ? 2 : 1;
}

Bits BitsOfNumber(std::size_t value, std::size_t count) {
    Bits bits(count);
    for (std::size_t i = 0; i < count; ++i)
        bits[i] = static_cast<int>((value >> (count - 1 - i)) & 1);
    return bits;
}

template <typename Visit>
void ForEachEncoding(LineCode code, std::size_t count, Visit visit) {
    for (std::size_t v = 0; v < (std::size_t{1} << count); ++v)
        visit(Encode(code, BitsOfNumber(v, count)));
}

std::string TernaryText(int s) {
    return s > 0 ? "+1" : s < 0 ? "\u22121" : "0";
}

std::string GroupText(bool ternary, const std::vector<int>& group) {
    std::string text;
    for (std::size_t k = 0; k < group.size(); ++k) {
        if (ternary)
            text += (k ? " " : "") + TernaryText(group[k]);
        else
            text += std::to_string(group[k]);
    }
    return text;
}

// A group of symbols as a number in base 3 (ternary, −1 → 2) or base 2.
std::size_t GroupKey(bool ternary, const int* symbols, std::size_t size) {
    std::size_t key = 0;
    for (std::size_t k = 0; k < size; ++k)
        key = key * (ternary ? 3 : 2) + static_cast<std::size_t>(symbols[k] < 0 ? 2 : symbols[k]);
    return key;
}

double Level(bool ternary, int s) {
    return ternary ? s : 2 * s - 1;
}

struct Survey {
    int levels = 0;
    std::size_t perBit = 1;
    std::size_t longestQuiet = 0; // in symbols
    double sumSpan = 0;
    // Which groups occur, by GroupKey; which previous half-bit and pair.
    std::vector<bool> groups = std::vector<bool>(81);
    std::vector<bool> after = std::vector<bool>(8);
    bool pulsesAlternate = true;
    bool balancedAlternate = true;
    bool anyBalanced = false;
};

Survey SurveyOf(LineCode code, std::size_t count) {
    const bool ternary = IsTernary(code);
    Survey survey;
    bool levels[3] = {}; // −1, 0, +1
    ForEachEncoding(code, count, [&](const std::vector<int>& s) {
        survey.perBit = s.size() / count;
        for (int v : s)
            levels[v + 1] = true;
        // Quiet stretches: zeros of a ternary code, equal levels of a
        // two-level one.
        std::size_t run = 0;
        for (std::size_t k = 0; k < s.size(); ++k) {
            const bool quiet = ternary ? s[k] == 0 : (k > 0 && s[k] == s[k - 1]);
            run = quiet ? run + 1 : (ternary ? 0 : 1);
            survey.longestQuiet = std::max(survey.longestQuiet, run);
        }
        double sum = 0, low = 0, high = 0;
        for (int v : s) {
            sum += Level(ternary, v);
            low = std::min(low, sum);
            high = std::max(high, sum);
        }
        survey.sumSpan = std::max(survey.sumSpan, high - low);

        const std::size_t word = BitsPerWord(code) * survey.perBit;
        for (std::size_t k = 0; k + word <= s.size(); k += word)
            survey.groups[GroupKey(ternary, s.data() + k, word)] = true;
        if (!ternary && survey.perBit == 2) {
            int lastBalanced = -1;
            for (std::size_t k = 0; k + 2 <= s.size(); k += 2) {
                if (k > 0)
                    survey.after[GroupKey(false, s.data() + k - 1, 3)] = true;
                if (s[k] == s[k + 1]) {
                    survey.anyBalanced = true;
                    if (s[k] == lastBalanced)
                        survey.balancedAlternate = false;
                    lastBalanced = s[k];
                }
            }
        }
        if (ternary) {
            int last = 0;
            for (int v : s) {
                if (v == 0)
                    continue;
                if (v == last)
                    survey.pulsesAlternate = false;
                last = v;
            }
        }
    });
    survey.levels = levels[0] + levels[1] + levels[2];
    return survey;
}

// Every group of `size` symbols over the code's levels, in a fixed order.
std::vector<std::vector<int>> AllGroups(bool ternary, std::size_t size) {
    const std::vector<int> alphabet = ternary ? std::vector<int>{0, 1, -1} : std::vector<int>{0, 1};
    std::vector<std::vector<int>> all = {{}};
    for (std::size_t k = 0; k < size; ++k) {
        std::vector<std::vector<int>> longer;
        for (const auto& g : all)
            for (int a : alphabet) {
                longer.push_back(g);
                longer.back().push_back(a);
            }
        all = std::move(longer);
    }
    return all;
}

} // namespace

CodeProperties PropertiesOf(LineCode code) {
    const Survey shortRun = SurveyOf(code, kShort);
    const Survey longRun = SurveyOf(code, kLong);
    CodeProperties p{};
    p.code = code;
    p.ternary = IsTernary(code);
    p.levels = longRun.levels;
    p.symbolsPerBit = static_cast<int>(longRun.perBit);
    p.redundancy = 1 - 1 / (p.symbolsPerBit * std::log2(static_cast<double>(p.levels)));
    if (longRun.longestQuiet == shortRun.longestQuiet)
        p.longestQuietRun = static_cast<double>(longRun.longestQuiet) / p.symbolsPerBit;
    if (longRun.sumSpan == shortRun.sumSpan)
        p.digitalSumSpan = static_cast<int>(longRun.sumSpan);

    const std::size_t word = BitsPerWord(code) * longRun.perBit;
    for (const auto& g : AllGroups(p.ternary, word))
        if (!longRun.groups[GroupKey(p.ternary, g.data(), g.size())])
            p.forbiddenGroups.push_back(GroupText(p.ternary, g));
    if (!p.ternary && p.symbolsPerBit == 2) {
        for (const auto& w : AllGroups(false, 3)) {
            const std::vector<int> pair(w.begin() + 1, w.end());
            if (!longRun.after[GroupKey(false, w.data(), 3)] &&
                longRun.groups[GroupKey(false, pair.data(), 2)])
                p.forbiddenAfter.push_back(std::to_string(w[0]) + "|" + GroupText(false, pair));
        }
    }
    p.pulsesAlternate = p.ternary && longRun.pulsesAlternate;
    p.balancedPairsAlternate = longRun.anyBalanced && longRun.balancedAlternate;
    return p;
}

std::optional<std::size_t> FirstInvalidSymbol(LineCode code, std::size_t bits,
                                              const std::vector<int>& received) {
    if (bits == 0 || bits > kLong)
        throw std::invalid_argument("FirstInvalidSymbol takes 1 to 16 bits");
    // The longest prefix of `received` that some combination's signal shares.
    std::size_t agreed = 0;
    bool whole = false;
    ForEachEncoding(code, bits, [&](const std::vector<int>& s) {
        std::size_t k = 0;
        while (k < s.size() && k < received.size() && s[k] == received[k])
            ++k;
        agreed = std::max(agreed, k);
        whole = whole || (k == s.size() && s.size() == received.size());
    });
    if (whole)
        return std::nullopt;
    return agreed;
}
