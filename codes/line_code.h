#pragma once

#include "codes/colour.h"
#include "codes/noise.h"

#include <optional>
#include <string_view>
#include <vector>

// The eight line codes of the two workbenches.
enum class LineCode { Pit, Abs, Chpi, Kvp3, Nrz, BiL, Cmi, Ep1 };

inline constexpr LineCode kAllLineCodes[] = {LineCode::Pit,  LineCode::Abs, LineCode::Chpi,
                                             LineCode::Kvp3, LineCode::Nrz, LineCode::BiL,
                                             LineCode::Cmi,  LineCode::Ep1};

// The caption of a code's selection button ("ПИТ", "КВП - 3", "BI - L", ...), UTF-8.
std::string_view LineCodeCaption(LineCode code);
// The short ASCII key of a code ("pit", "kvp3", "bil", ...).
std::string_view LineCodeKey(LineCode code);
// A key or a caption back to its code.
std::optional<LineCode> LineCodeFromName(std::string_view name);

// Bits of a combination, b1 ... bn, each 0 or 1.
using Bits = std::vector<int>;

inline constexpr std::size_t kMinCombinationLength = 6;
inline constexpr std::size_t kMaxCombinationLength = 10;

// A combination is the edit field's text exactly as the window holds it, in
// UTF-16 code units. It is valid when it has 6 to 10 units and every unit is
// the digit 0 or 1 (U+0030, U+0031). Any other unit refuses it: a space, a
// Cyrillic О, a full-width digit, a combining mark or half of a surrogate
// pair. The length is checked first, so a megabyte of pasted text is refused
// without being read.
bool IsValidCombination(std::u16string_view text);
// The same rule for 8-bit text (the command-line tool's UTF-8 arguments): a
// non-ASCII character has bytes above 0x7F, which are refused like any other.
bool IsValidCombination(std::string_view text);

// The bits of a valid combination; an invalid one gives no bits.
std::optional<Bits> CombinationBits(std::u16string_view text);
std::optional<Bits> CombinationBits(std::string_view text);

// Line encoders. The DTS codes give one symbol per bit (-1, 0, +1), except
// АБС, which gives two half-bit symbols per bit (0 or 1); the FOTS codes give
// levels 0 or 1, one per bit for NRZ and two per bit for the others.
std::vector<int> EncodePairSelectedTernary(const Bits& bits);    // ПИТ
std::vector<int> EncodeAbsoluteBipulse(const Bits& bits);        // АБС
std::vector<int> EncodeAlternateMarkInversion(const Bits& bits); // ЧПИ
std::vector<int> EncodeHighDensity3(const Bits& bits);           // КВП - 3
std::vector<int> EncodeNrz(const Bits& bits);
std::vector<int> EncodeBiL(const Bits& bits);
std::vector<int> EncodeCmi(const Bits& bits);
std::vector<int> EncodeEp1(const Bits& bits);
std::vector<int> Encode(LineCode code, const Bits& bits);

// One point of a signal chart: the series it goes to (0 the formed line
// signal, 1 the signal in the line with additive noise, 2 the source bits),
// its coordinates and its colour. Its label is always empty.
struct SignalPoint {
    int series;
    double x;
    double y;
    Colour colour;

    friend bool operator==(const SignalPoint&, const SignalPoint&) = default;
};

// The points of one forming, in the order in which they are appended to the
// chart.
struct SignalPoints {
    std::vector<SignalPoint> points;

    // The points of one series, in their order.
    std::vector<SignalPoint> Series(int series) const;
};

// Encodes the bits and builds the points of the code's signal chart, drawing
// one noise sample per point of series 1, in that series' order.
SignalPoints BuildSignalPoints(LineCode code, const Bits& bits,
                               NoiseSource& noise = ProgramNoise());
