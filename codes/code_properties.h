#pragma once

#include "codes/line_code.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// The properties of a line code that its encoder decides, found by running
// the encoder over every combination of a dozen and more bits rather than
// written down, so a table of them cannot disagree with the workbench.
//
// Levels are read as the line carries them: the ternary codes' −1, 0, +1,
// the two-level codes' two levels.
struct CodeProperties {
    LineCode code;
    bool ternary;
    int levels;        // distinct levels the encoder puts on the line
    int symbolsPerBit; // 1, or 2 half-bit symbols
    // 1 − 1/(symbols per bit · log2 levels): the share of the line's
    // capacity that carries no information.
    double redundancy;
    // The longest stretch without a pulse (ternary codes: zeros) or without
    // a change of level (two-level codes), in bit intervals T; none when it
    // grows with the length of the data.
    std::optional<double> longestQuietRun;
    // The span of the running digital sum (levels taken symmetric, ±1 for
    // two-level codes, per half-bit); none when it grows with the data,
    // which is what a DC component is.
    std::optional<int> digitalSumSpan;
    // The symbol groups of one code word (a bit, or the pair of bits ПИТ
    // encodes together) that never occur, as the reference pages write them:
    // "00", "+1 +1".
    std::vector<std::string> forbiddenGroups;
    // Two-level half-bit codes: the combinations "x|ab" of the half-bit before
    // a bit and the bit's pair ab that never occur (beyond forbiddenGroups).
    std::vector<std::string> forbiddenAfter;
    // Ternary codes: every pulse has the polarity opposite to the one before.
    bool pulsesAlternate;
    // Two-level half-bit codes: the bits sent as 11 or 00 take them in turn
    // (false when no bit is sent so).
    bool balancedPairsAlternate;
};

CodeProperties PropertiesOf(LineCode code);

// The first symbol (0-based) of `received` from which it agrees with the
// line signal of no combination of `bits` bits: where a receiver that knows
// the code's rules sees that an error has happened. None when some
// combination gives exactly `received`. At most 16 bits.
std::optional<std::size_t> FirstInvalidSymbol(LineCode code, std::size_t bits,
                                              const std::vector<int>& received);
