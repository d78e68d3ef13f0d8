#include "codes/code_properties.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using Strings = std::vector<std::string>;

} // namespace

// What the encoders make of every combination, against what a lecturer
// found by enumerating all inputs of twelve bits.
TEST(CodeProperties, FollowFromTheEncoders) {
    const double ternary = 1 - 1 / std::log2(3.0);
    const struct {
        LineCode code;
        int levels;
        int symbolsPerBit;
        double redundancy;
        double quiet;  // < 0: not limited
        bool balanced; // the running digital sum stays bounded: no DC component
        Strings forbidden;
        Strings forbiddenAfter;
        bool pulsesAlternate;
        bool pairsAlternate;
    } cases[] = {
        {LineCode::Nrz, 2, 1, 0.0, -1, false, {}, {}, false, false},
        {LineCode::Pit,
         3,
         1,
         ternary,
         2,
         true,
         {"0 0", "+1 +1", "\u22121 \u22121"},
         {},
         false,
         false},
        {LineCode::Chpi, 3, 1, ternary, -1, true, {}, {}, true, false},
        {LineCode::Kvp3, 3, 1, ternary, 3, true, {}, {}, false, false},
        {LineCode::Abs, 2, 2, 0.5, 1, true, {"00", "11"}, {}, false, false},
        {LineCode::BiL, 2, 2, 0.5, 1, true, {"00", "11"}, {}, false, false},
        {LineCode::Cmi, 2, 2, 0.5, 1.5, true, {"01"}, {"1|11"}, false, true},
        {LineCode::Ep1, 2, 2, 0.5, 2, true, {}, {"0|10", "1|01"}, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(LineCodeKey(c.code)));
        const CodeProperties p = PropertiesOf(c.code);
        EXPECT_EQ(p.levels, c.levels);
        EXPECT_EQ(p.symbolsPerBit, c.symbolsPerBit);
        EXPECT_NEAR(p.redundancy, c.redundancy, 1e-12);
        EXPECT_EQ(p.longestQuietRun.has_value(), c.quiet >= 0);
        if (c.quiet >= 0 && p.longestQuietRun) {
            EXPECT_EQ(*p.longestQuietRun, c.quiet);
        }
        EXPECT_EQ(p.digitalSumSpan.has_value(), c.balanced);
        EXPECT_EQ(p.forbiddenGroups, c.forbidden);
        EXPECT_EQ(p.forbiddenAfter, c.forbiddenAfter);
        EXPECT_EQ(p.pulsesAlternate, c.pulsesAlternate);
        EXPECT_EQ(p.balancedPairsAlternate, c.pairsAlternate);
    }
}

// A receiver that knows the rules sees an error where the received signal
// stops being the signal of any combination.
TEST(CodeProperties, FirstInvalidSymbolFindsWhereAnErrorShows) {
    const struct {
        LineCode code;
        std::size_t bits;
        std::vector<int> received;
        int expected; // 0-based; -1: a valid signal
    } cases[] = {
        {LineCode::Chpi, 6, {1, -1, 0, 1, 0, 0}, -1}, // 110100 as sent
        {LineCode::Chpi, 6, {1, -1, -1, 1, 0, 0}, 2}, // the third symbol hit: −1 twice
        {LineCode::Chpi, 6, {1, -1, 0, 0, 0, 0}, -1}, // a lost pulse at the end is unseen
        {LineCode::Kvp3, 10, {1, -1, 0, 0, -1, 1, 0, 0, 0, 1}, -1},
        {LineCode::Kvp3, 10, {1, -1, 0, 0, -1, 0, 0, 0, 0, 1}, 8}, // four zeros: 6 ... 9
        {LineCode::Cmi, 6, {1, 1, 1, 0, 0, 0, 1, 1, 1, 0, 1, 0}, -1},
        {LineCode::Cmi, 6, {1, 1, 1, 0, 0, 1, 1, 1, 1, 0, 1, 0}, 5}, // 01 within a bit
        {LineCode::BiL, 6, {1, 0, 0, 1, 1, 1, 1, 0, 0, 1, 0, 1}, 5}, // 11 within a bit
        {LineCode::Nrz, 6, {1, 1, 1, 1, 1, 1}, -1},                  // NRZ shows nothing
        {LineCode::Chpi, 6, {1, -1, 0, 1, 0}, 5},                    // one symbol short
    };
    for (const auto& c : cases) {
        const std::optional<std::size_t> at = FirstInvalidSymbol(c.code, c.bits, c.received);
        if (c.expected < 0) {
            EXPECT_FALSE(at.has_value()) << LineCodeKey(c.code) << " " << *at;
        } else {
            ASSERT_TRUE(at.has_value()) << LineCodeKey(c.code);
            EXPECT_EQ(*at, static_cast<std::size_t>(c.expected)) << LineCodeKey(c.code);
        }
    }
    EXPECT_THROW(FirstInvalidSymbol(LineCode::Nrz, 17, {}), std::invalid_argument);
}
