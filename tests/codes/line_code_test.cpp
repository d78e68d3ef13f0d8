#include "codes/line_code.h"

#include <gtest/gtest.h>

#include <string>

namespace {

Bits B(std::string_view text) {
    std::optional<Bits> bits = CombinationBits(text);
    EXPECT_TRUE(bits.has_value()) << text;
    return bits.value_or(Bits{});
}

using Symbols = std::vector<int>;

// Half-bit levels written as pairs: "11 10 00" → {1,1,1,0,0,0}.
Symbols Levels(std::string_view pairs) {
    Symbols out;
    for (char c : pairs) {
        if (c == '0' || c == '1')
            out.push_back(c - '0');
    }
    return out;
}

} // namespace

TEST(Combination, AcceptsOnlySixToTenBinaryDigits) {
    const struct {
        std::u16string text;
        bool valid;
    } cases[] = {
        {u"110100", true},
        {u"000000", true},
        {u"1111111111", true},
        {u"1101001", true},
        {u"11010", false},       // 5 characters
        {u"11010011001", false}, // 11 characters
        {u"", false},
        {u"110 10", false},            // a space among the digits
        {u"110120", false},            // another digit
        {u"11\u041E100", false},       // Cyrillic capital О for a zero
        {u"11\u043E100", false},       // Cyrillic small о
        {u"11\uFF10100", false},       // full-width zero
        {u"1101000\u0301", false},     // a combining mark after the digits
        {u"110100\u0301", false},      // ... also when it makes a seventh unit
        {u"11010\xD835\xDFCE", false}, // mathematical digit zero (a surrogate pair)
        {u" 110100", false},           // nothing is trimmed
        {u"110100\n", false},
        {u"10a100", false},
        {u"+10100", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsValidCombination(std::u16string_view(c.text)), c.valid)
            << std::string(c.text.begin(), c.text.end());
        EXPECT_EQ(CombinationBits(std::u16string_view(c.text)).has_value(), c.valid);
    }
}

TEST(Combination, EightBitTextFollowsTheSameRule) {
    const struct {
        std::string_view text;
        bool valid;
    } cases[] = {
        {"101100", true},
        {"0000000000", true},
        {"10110", false},
        {"11\xD0\x9E"
         "100",
         false}, // UTF-8 Cyrillic О
        {"11\xEF\xBC\x90"
         "100",
         false}, // UTF-8 full-width zero
        {std::string_view("110\0"
                          "100",
                          7),
         false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsValidCombination(c.text), c.valid) << c.text;
}

TEST(Combination, MegabyteOfDigitsIsRefused) {
    const std::u16string huge(1 << 20, u'1');
    EXPECT_FALSE(IsValidCombination(std::u16string_view(huge)));
    EXPECT_FALSE(CombinationBits(std::u16string_view(huge)).has_value());
}

TEST(Combination, BitsKeepTheOrderOfTheCharacters) {
    EXPECT_EQ(B("110100"), (Bits{1, 1, 0, 1, 0, 0}));
    EXPECT_EQ(B("0000000001"), (Bits{0, 0, 0, 0, 0, 0, 0, 0, 0, 1}));
}

TEST(Encoders, DtsWorkedExamples) {
    const struct {
        LineCode code;
        std::string_view combination;
        Symbols symbols;
    } cases[] = {
        {LineCode::Pit, "110100", {+1, -1, 0, +1, -1, +1}},
        {LineCode::Pit, "1101001", {+1, -1, 0, +1, -1, +1, +1}}, // unpaired last 1
        {LineCode::Pit, "1101000", {+1, -1, 0, +1, -1, +1, 0}},  // unpaired last 0
        {LineCode::Pit, "100001", {+1, 0, -1, +1, 0, -1}},       // polarity alternates
        {LineCode::Pit, "0110011001", {0, +1, -1, 0, 0, +1, -1, 0, 0, +1}},
        {LineCode::Abs, "110100", {1, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 1}},
        {LineCode::Chpi, "110100", {+1, -1, 0, +1, 0, 0}},
        {LineCode::Chpi, "000000", {0, 0, 0, 0, 0, 0}},
        {LineCode::Kvp3, "110100", {+1, -1, 0, +1, 0, 0}},
        {LineCode::Kvp3, "1000010000", {+1, -1, 0, 0, -1, +1, 0, 0, 0, +1}},
        {LineCode::Kvp3, "0000110000", {-1, 0, 0, -1, +1, -1, +1, 0, 0, +1}},
        {LineCode::Kvp3, "1100001011", {+1, -1, 0, 0, 0, -1, +1, 0, -1, +1}},
        {LineCode::Kvp3, "0000000000", {-1, 0, 0, -1, +1, 0, 0, +1, 0, 0}},
        {LineCode::Kvp3, "000111", {0, 0, 0, +1, -1, +1}}, // three zeros stay zero
    };
    for (const auto& c : cases)
        EXPECT_EQ(Encode(c.code, B(c.combination)), c.symbols)
            << LineCodeKey(c.code) << " " << c.combination;
}

TEST(Encoders, FotsWorkedExamples) {
    const struct {
        LineCode code;
        std::string_view combination;
        std::string_view levels;
    } cases[] = {
        {LineCode::Nrz, "101100", "1 0 1 1 0 0"},
        {LineCode::BiL, "101100", "10 01 10 10 01 01"},
        {LineCode::Cmi, "101100", "11 10 00 11 10 10"},
        {LineCode::Ep1, "101100", "11 10 00 11 10 01"},
        {LineCode::Cmi, "1111111", "11 00 11 00 11 00 11"},
        {LineCode::Ep1, "1111111", "11 00 11 00 11 00 11"},
        {LineCode::BiL, "1111111", "10 10 10 10 10 10 10"},
        {LineCode::Cmi, "000000", "10 10 10 10 10 10"},
        {LineCode::BiL, "000000", "01 01 01 01 01 01"},
        {LineCode::Ep1, "100000", "11 10 01 10 01 10"},
        {LineCode::Ep1, "110000", "11 00 01 10 01 10"},
        // The line starts low, so a leading 0 rises in its middle.
        {LineCode::Ep1, "000000", "01 10 01 10 01 10"},
        {LineCode::Ep1, "0110100", "01 11 00 01 11 10 01"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Encode(c.code, B(c.combination)), Levels(c.levels))
            << LineCodeKey(c.code) << " " << c.combination;
}

TEST(Encoders, NoStateCarriesOverBetweenCalls) {
    const Bits bits = B("1011001");
    for (LineCode code : kAllLineCodes)
        EXPECT_EQ(Encode(code, bits), Encode(code, bits)) << LineCodeKey(code);
}

TEST(LineCodeNames, KeysAndCaptionsNameTheSameCode) {
    const struct {
        std::string_view key;
        std::string_view caption;
        LineCode code;
    } cases[] = {
        {"pit", "ПИТ", LineCode::Pit},   {"abs", "АБС", LineCode::Abs},
        {"chpi", "ЧПИ", LineCode::Chpi}, {"kvp3", "КВП - 3", LineCode::Kvp3},
        {"nrz", "NRZ", LineCode::Nrz},   {"bil", "BI - L", LineCode::BiL},
        {"cmi", "CMI", LineCode::Cmi},   {"ep1", "EP - 1", LineCode::Ep1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LineCodeFromName(c.key), c.code);
        EXPECT_EQ(LineCodeFromName(c.caption), c.code);
        EXPECT_EQ(LineCodeKey(c.code), c.key);
        EXPECT_EQ(LineCodeCaption(c.code), c.caption);
    }
    EXPECT_FALSE(LineCodeFromName("КВП-3").has_value());
    EXPECT_FALSE(LineCodeFromName("PIT").has_value());
    EXPECT_FALSE(LineCodeFromName("").has_value());
}
