#include "codes/measured_spectrum.h"

#include "codes/energy_density.h"
#include "codes/noise.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace {

// A million bits: the maximum of a flat top is then found to ±0.01, while at
// the default size its scatter alone is ±0.03. These tests are about the
// estimator's bias, not the noise of a short run.
constexpr std::size_t kLongRun = std::size_t{1} << 20;

double Top(const MeasuredSpectrum& s) {
    double top = 0;
    for (const PsdPoint& p : s.points)
        top = std::max(top, p.y);
    return top;
}

double SincSquared(double x) {
    const double a = std::numbers::pi * x;
    return std::pow(std::sin(a) / a, 2);
}
double SineSquared(double x) {
    return std::pow(std::sin(std::numbers::pi * x), 2);
}

std::string Name(LineCode code) {
    return std::string(LineCodeKey(code));
}

} // namespace

// The measured power spectra a lecturer obtained by simulation, with
// encoders written afresh: maximum, behaviour at zero and at the clock
// frequency, discrete lines and the share of power below fT = 1.
TEST(MeasuredSpectrum, AgreesWithTheLecturersSimulation) {
    const struct {
        LineCode code;
        double maxFrom, maxTo; // a stated range widened by one grid step, or ≈ v as v ± 0.03
        bool nullAtDc;
        double atClock;   // S(f)/T at fT = 1; 0 for a null there
        double clockLine; // power per side of the line at fT = 1; 0 for none
        double shareBelowClock;
    } cases[] = {
        {LineCode::Nrz, 0.0, 0.03, false, 0, 0, 0.95},
        {LineCode::Pit, 0.25, 0.31, true, 0, 0, 0.93},
        {LineCode::Chpi, 0.34, 0.38, true, 0, 0, 0.92},
        {LineCode::Kvp3, 0.35, 0.41, true, 0, 0, 0.92},
        {LineCode::Abs, 0.71, 0.78, true, 0.42, 0, 0.75},
        {LineCode::BiL, 0.71, 0.78, true, 0.42, 0, 0.75},
        {LineCode::Cmi, 0.34, 0.40, true, 0.106, 0.103, 0.87},
        {LineCode::Ep1, 0.41, 0.46, true, 0.047, 0, 0.91},
    };
    for (std::uint64_t seed : {1u, 2u}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(Name(c.code) + " seed " + std::to_string(seed));
            const MeasuredSpectrum s = MeasureSpectrum(c.code, kLongRun, seed);
            const double top = Top(s);
            const double at = MeasuredMaximumAt(s);
            EXPECT_GE(at, c.maxFrom);
            EXPECT_LE(at, c.maxTo);

            // Near zero: a null, or (NRZ) the top of the curve.
            if (c.nullAtDc)
                EXPECT_LT(s.points.front().y, 0.03 * top);
            else
                EXPECT_GT(s.points.front().y, 0.95 * top);

            const double clock = s.density[static_cast<std::size_t>(1 / s.binWidth)];
            if (c.atClock == 0)
                EXPECT_LT(clock, 0.005);
            else
                EXPECT_NEAR(clock, c.atClock, 0.15 * c.atClock);

            if (c.clockLine == 0) {
                EXPECT_TRUE(s.lines.empty()) << s.lines.front().x;
            } else {
                ASSERT_EQ(s.lines.size(), 1u);
                EXPECT_DOUBLE_EQ(s.lines[0].x, 1.0);
                // The cyclic mean is a ±½ square wave: 1/π² per side.
                EXPECT_NEAR(s.lines[0].power, 1 / (std::numbers::pi * std::numbers::pi), 0.003);
                EXPECT_NEAR(s.lines[0].power, c.clockLine, 0.005);
            }

            EXPECT_NEAR(MeasuredShareBelow(s, 1.0), c.shareBelowClock, 0.02);
        }
    }
}

// Three codes whose spectra are known exactly for full-length rectangular
// symbols: the measured density, in absolute units, lies on them. This holds
// the normalisation of the periodograms and the correction for sampling.
TEST(MeasuredSpectrum, MatchesTheExactSpectraOfPolarNrzManchesterAndAmi) {
    const struct {
        LineCode code;
        double (*exact)(double x);
        double power; // of the whole signal: AMI sends nothing for half the bits
    } cases[] = {
        {LineCode::Nrz, [](double x) { return SincSquared(x); }, 1.0},
        {LineCode::BiL, [](double x) { return SincSquared(x / 2) * SineSquared(x / 2); }, 1.0},
        {LineCode::Chpi, [](double x) { return SincSquared(x) * SineSquared(x); }, 0.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Name(c.code));
        const MeasuredSpectrum s = MeasureSpectrum(c.code, kLongRun);
        double peak = 0;
        for (int i = 1; i <= 200; ++i)
            peak = std::max(peak, c.exact(i / 100.0));
        int compared = 0;
        for (int i = 1; i <= 200; ++i) {
            const double x = i / 100.0;
            const double exact = c.exact(x);
            const double measured = MeasuredPower(s, x - 0.005, x + 0.005) / 0.01;
            if (exact < 0.1 * peak) {
                EXPECT_NEAR(measured, exact, 0.02 * peak) << x;
                continue;
            }
            EXPECT_NEAR(measured, exact, 0.05 * exact) << x;
            ++compared;
        }
        EXPECT_GT(compared, 50);
        // The power in |fT| ≤ 2 to a few parts in a thousand: the sampled
        // spectrum alone would hold some 2 % more there.
        double exactPower = 0;
        for (int k = 0; k < 20000; ++k)
            exactPower += 2 * c.exact((k + 0.5) / 10000) / 10000;
        EXPECT_NEAR(2 * MeasuredPower(s, 0, 2.0), exactPower, 0.004 * c.power);
        EXPECT_LT(exactPower, c.power);
        EXPECT_NEAR(s.meanSquare, c.power, 0.01);
    }
}

TEST(MeasuredSpectrum, PointsLieOnTheModelGridWithTheModelsArea) {
    for (LineCode code : kAllLineCodes) {
        SCOPED_TRACE(Name(code));
        const MeasuredSpectrum s = MeasureSpectrum(code);
        ASSERT_EQ(s.points.size(), 200u);
        for (int i = 1; i <= 200; ++i)
            EXPECT_EQ(s.points[static_cast<std::size_t>(i - 1)].x, i / 100.0);
        // The scaled density has the model curve's area over the model's own
        // range (0.005 ... 1 for КВП - 3, 0.01 ... 2 for the others).
        const ModelArea model = ModelAreaOf(code);
        EXPECT_NEAR(s.scale * MeasuredPower(s, model.from, model.to), model.area,
                    1e-9 * model.area);
        double area = 0;
        for (std::size_t k = 1; k < s.points.size(); ++k)
            if (s.points[k].x <= model.to + 1e-9)
                area += 0.5 * (s.points[k - 1].y + s.points[k].y) * 0.01;
        EXPECT_NEAR(area, model.area, 0.03 * model.area);
    }
    // The model's range.
    EXPECT_DOUBLE_EQ(ModelAreaOf(LineCode::Kvp3).from, 0.005);
    EXPECT_DOUBLE_EQ(ModelAreaOf(LineCode::Kvp3).to, 1.0);
    EXPECT_DOUBLE_EQ(ModelAreaOf(LineCode::Cmi).to, 2.0);
}

TEST(MeasuredSpectrum, SeededOwnGeneratorLeavesTheWorkbenchNoiseAlone) {
    const std::uint32_t before = ProgramNoise().state();
    const MeasuredSpectrum a = MeasureSpectrum(LineCode::Cmi, 8192, 7);
    const MeasuredSpectrum b = MeasureSpectrum(LineCode::Cmi, 8192, 7);
    const MeasuredSpectrum c = MeasureSpectrum(LineCode::Cmi, 8192, 8);
    EXPECT_EQ(ProgramNoise().state(), before);
    EXPECT_EQ(a.density, b.density);
    EXPECT_NE(a.density, c.density);

    const Bits bits = RandomBits(100000, 3);
    const double ones = std::count(bits.begin(), bits.end(), 1);
    EXPECT_NEAR(ones / 100000, 0.5, 0.01);
    EXPECT_EQ(std::count(bits.begin(), bits.end(), 0) + ones, 100000);
    // Neighbouring bits are independent: all four pairs equally common.
    int pairs[4] = {};
    for (std::size_t i = 1; i < bits.size(); ++i)
        ++pairs[2 * bits[i - 1] + bits[i]];
    for (int n : pairs)
        EXPECT_NEAR(n / 99999.0, 0.25, 0.01);
    EXPECT_EQ(RandomBits(70, 3), Bits(bits.begin(), bits.begin() + 70));
}

TEST(MeasuredSpectrum, SamplesHoldTheEncodersSymbolsInSymmetricLevels) {
    const Bits bits = {1, 0, 1, 1, 0, 0};
    const struct {
        LineCode code;
        std::vector<double> firstSamples; // 4 per bit
    } cases[] = {
        {LineCode::Nrz, {1, 1, 1, 1, -1, -1, -1, -1, 1, 1, 1, 1}},
        {LineCode::Cmi, {1, 1, 1, 1, 1, 1, -1, -1, -1, -1, -1, -1}},
        {LineCode::Ep1, {1, 1, 1, 1, 1, 1, -1, -1, -1, -1, -1, -1}},
        {LineCode::Abs, {1, 1, -1, -1, -1, -1, 1, 1, 1, 1, -1, -1}},
        {LineCode::Pit, {1, 1, 1, 1, 0, 0, 0, 0, 1, 1, 1, 1}}, // +1 0 +1 ...
        {LineCode::Kvp3, {1, 1, 1, 1, 0, 0, 0, 0, -1, -1, -1, -1}},
    };
    for (const auto& c : cases) {
        const std::vector<double> s = LineSignalSamples(c.code, bits, 4);
        ASSERT_EQ(s.size(), 24u) << Name(c.code);
        EXPECT_EQ(std::vector<double>(s.begin(), s.begin() + 12), c.firstSamples) << Name(c.code);
    }
}

TEST(MeasuredSpectrum, RefusesWhatItCannotMeasure) {
    EXPECT_THROW(MeasureSpectrum(LineCode::Nrz, kMinPsdBits - 1), PsdError);
    EXPECT_THROW(MeasureSpectrum(LineCode::Nrz, kMaxPsdBits + 1), PsdError);
    EXPECT_NO_THROW(MeasureSpectrum(LineCode::Nrz, kMinPsdBits));
    EXPECT_THROW(LineSignalSamples(LineCode::Nrz, {1, 0}, 3), PsdError);
    EXPECT_THROW(LineSignalSamples(LineCode::Nrz, {1, 0}, 0), PsdError);
}
