#pragma once

#include "codes/line_code.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

// The power spectrum of a code's line signal, measured rather than taken from
// a formula: long random data is encoded by the program's own encoder, the
// line signal is sampled, and its power spectral density is estimated by
// Welch's method. The workbench's curves are closed formulas, and four of
// them are models that differ from the real spectra; this is what a student
// compares them with.
//
// The signal is taken with symmetric levels: the ternary codes as they are
// (−1, 0, +1), the two-level codes with 0 and 1 as −1 and +1. A unipolar
// optical signal only adds a line at zero frequency to that.

// Sampling: an even number of samples per bit, so that a half-bit symbol
// holds a whole number of samples. Welch segments of 400 bits put a bin every
// 0.0025 of fT, four bins to one step of the workbench's grid.
inline constexpr int kPsdSamplesPerBit = 16;
inline constexpr int kPsdSegmentBits = 400;
inline constexpr std::size_t kDefaultPsdBits = 65536;
// At least twenty segments, so the estimate is an average; at most what
// fits comfortably in memory.
inline constexpr std::size_t kMinPsdBits = 4096;
inline constexpr std::size_t kMaxPsdBits = std::size_t{1} << 24;
inline constexpr std::uint64_t kDefaultPsdSeed = 1;

class PsdError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// N equiprobable independent bits from a generator of the measurement's own,
// seeded by `seed`; the workbench's noise source is left untouched.
Bits RandomBits(std::size_t count, std::uint64_t seed);

// The line signal of `bits`, `samplesPerBit` samples per bit, each symbol
// held for its whole duration, in symmetric levels (see above).
std::vector<double> LineSignalSamples(LineCode code, const Bits& bits, int samplesPerBit);

// A discrete component of the spectrum: its frequency fT and its power per
// side, in the same units as MeasuredSpectrum::density (levels as above).
struct SpectralLine {
    double x;
    double power;
};

struct PsdPoint {
    double x;
    double y;
};

struct MeasuredSpectrum {
    LineCode code;
    std::size_t bits;
    // S(f)/T of the continuous part at fT = k · binWidth, k = 0, 1, ...,
    // two-sided, for the levels above (polar NRZ gives sin²(πfT)/(πfT)²).
    double binWidth;
    std::vector<double> density;
    // The power of the signal per symbol interval, mean included.
    double meanSquare;
    // The spectrum of the cyclic mean: lines at multiples of 1/(2T) up to
    // fT = 2 whose power stands clear of the estimate's own noise.
    std::vector<SpectralLine> lines;
    // The factor that gives the continuous part the model curve's area over
    // the model's own range of fT, and the 200 points x = 0.01 ... 2.00 of
    // the scaled density (each the average over its step of the grid).
    double scale;
    std::vector<PsdPoint> points;
};

// Measures the spectrum of `code` from `bits` random bits of seed `seed`.
// Throws PsdError when `bits` lies outside kMinPsdBits ... kMaxPsdBits.
MeasuredSpectrum MeasureSpectrum(LineCode code, std::size_t bits = kDefaultPsdBits,
                                 std::uint64_t seed = kDefaultPsdSeed);

// The integral of the measured continuous density over from ≤ fT ≤ to.
double MeasuredPower(const MeasuredSpectrum& spectrum, double from, double to);
// The share of the continuous part's power in 0 ... 2 that lies below fT = x.
double MeasuredShareBelow(const MeasuredSpectrum& spectrum, double x);

// The x where the scaled measured curve (of the 200 points) is largest.
double MeasuredMaximumAt(const MeasuredSpectrum& spectrum);

// The model curve's extent and area: the trapezoid area of the code's 200
// workbench samples between the first and the last sample's x.
struct ModelArea {
    double from;
    double to;
    double area;
};
ModelArea ModelAreaOf(LineCode code);
