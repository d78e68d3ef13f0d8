#include "codes/energy_density.h"

#include <cmath>
#include <cstdint>

namespace {

// π and, separately, π²: the denominators use this constant rather than
// squaring π, which keeps the last digits of every curve as they were drawn.
constexpr double kPi = 3.14159265358979324;
constexpr double kPiSquared = 9.86960440108935862;

double Squared(double v) {
    return v * v;
}
double Fourth(double v) {
    return Squared(Squared(v));
}

// sin²(πx)/(πx)² of ПИТ (and БВН): i·π/100 and (i·π²·i)/10000.
double PitValue(int i) {
    return Squared(std::sin(i * kPi / 100)) / ((i * kPiSquared * i) / 10000);
}

// sin⁴(πx/2)/(πx/2)² of АБС, with t = i·π/200.
double AbsValue(int i) {
    const double t = i * kPi / 200;
    return Fourth(std::sin(t)) / Squared(t);
}

// The КВП - 3 polynomial in a = (i − 100)², kept in exact integers: its terms
// leave the 32-bit range near the ends even where the sum does not.
std::int64_t HighDensityArgument(int i) {
    return std::int64_t{i - 100} * (i - 100);
}

double Kvp3Value(int i) {
    const std::int64_t a = HighDensityArgument(i);
    const std::int64_t numerator = 70000 * a - 10 * a * a + 300000000;
    return static_cast<double>(numerator) / 300000000;
}

// The FOTS EP-1 expression |sin²θ/θ² · (3cosθ + 2cos2θ + cos3θ) /
// (3 + 12cos2θ + 4cos4θ)| / 20; `theta` and `thetaSquared` as the curve
// computes them.
double Ep1Expression(double theta, double thetaSquared) {
    const double sinc = Squared(std::sin(theta)) / thetaSquared;
    const double numerator = 3 * std::cos(theta) + 2 * std::cos(2 * theta) + std::cos(3 * theta);
    const double denominator = 3 + 12 * std::cos(2 * theta) + 4 * std::cos(4 * theta);
    return std::abs(sinc * numerator / denominator) / 20;
}

double FotsValue(LineCode code, int i) {
    const double ii = static_cast<double>(i) * i;
    switch (code) {
    case LineCode::Nrz:
        return Squared(std::sin(i * kPi / 100)) / (ii * kPiSquared / 10000) / 5;
    case LineCode::BiL:
        return Fourth(std::sin(i * kPi / 200)) / (ii * kPiSquared / 40000) / 5;
    case LineCode::Cmi:
        return Fourth(std::sin(i * kPi / 100)) / (ii * kPiSquared / 40000) / 10;
    case LineCode::Ep1:
        return Ep1Expression(i * kPi / 100, ii * kPiSquared / 10000);
    default:
        return 0;
    }
}

double DtsValue(LineCode code, int i) {
    switch (code) {
    case LineCode::Pit:
        return PitValue(i);
    case LineCode::Abs:
        return AbsValue(i);
    case LineCode::Chpi:
        return (Fourth(std::sin(i * kPi / 100)) / Squared(i * kPi / 200)) / 2;
    case LineCode::Kvp3:
        return Kvp3Value(i);
    default:
        return 0;
    }
}

double SampleX(int i) {
    return i / 100.0;
}
// The КВП - 3 curves span half the frequency range with the same 200 samples.
double HighDensityX(int i) {
    return i / 200.0;
}

SpectrumPoint DtsComparison(int curve, int i) {
    switch (curve) {
    case 0: // БВН
        return {SampleX(i),
                (5 * Squared(std::sin(i * kPi / 100))) / ((i * kPiSquared * i) / 10000) / 5, clRed};
    case 1: { // АБС
        const double t = i * kPi / 200;
        return {SampleX(i), (5 * Fourth(std::sin(t))) / Squared(t) / 5, clNavy};
    }
    case 2: { // КВП-3
        const std::int64_t a = HighDensityArgument(i);
        const std::int64_t numerator = 70000 * a - 25 * a * a + 300000000;
        return {HighDensityX(i), static_cast<double>(numerator) / 1500000000 + 1, clBlue};
    }
    default: { // ЧПИ
        const double ii = static_cast<double>(i) * i;
        return {SampleX(i), (5 * Fourth(std::sin(i * kPi / 100))) / ((ii / 40) / 10), clPurple};
    }
    }
}

SpectrumPoint FotsComparison(int curve, int i) {
    switch (curve) {
    case 0:
        return {SampleX(i), FotsValue(LineCode::Nrz, i), clRed};
    case 1:
        return {SampleX(i), FotsValue(LineCode::BiL, i), clNavy};
    case 2: { // EP-1 on half the frequency scale: θ = πx/2
        const double ii = static_cast<double>(i) * i;
        return {SampleX(i), Ep1Expression(i * kPi / 200, ii * kPiSquared / 40000), clBlue};
    }
    default:
        return {SampleX(i), FotsValue(LineCode::Cmi, i), clPurple};
    }
}

} // namespace

SpectrumPoint SpectrumValue(LineCode code, int i) {
    switch (code) {
    case LineCode::Pit:
    case LineCode::Abs:
    case LineCode::Chpi:
        return {SampleX(i), DtsValue(code, i), clRed};
    case LineCode::Kvp3:
        return {HighDensityX(i), DtsValue(code, i), clRed};
    case LineCode::Nrz:
    case LineCode::BiL:
    case LineCode::Cmi:
    case LineCode::Ep1:
        return {SampleX(i), FotsValue(code, i), clRed};
    }
    return {SampleX(i), 0, clRed};
}

SpectrumPoint ComparisonValue(Workbench workbench, int curve, int i) {
    return workbench == Workbench::Dts ? DtsComparison(curve, i) : FotsComparison(curve, i);
}
