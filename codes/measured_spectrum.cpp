#include "codes/measured_spectrum.h"

#include "codes/energy_density.h"

#include <fftw3.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <memory>
#include <numbers>
#include <random>
#include <string>

namespace {

// The cyclic mean is taken over two bits: ПИТ works on pairs of bits, and
// every code whose mean repeats each bit repeats every two bits as well.
constexpr int kPeriodBits = 2;
// The frequency range of the workbench's spectra.
constexpr double kTopFrequency = 2.0;
constexpr double kGridStep = 0.01;
// The share of the maximum above which the curve counts as its top.
constexpr double kMaximumCap = 0.85;

bool IsTernary(LineCode code) {
    return code == LineCode::Pit || code == LineCode::Chpi || code == LineCode::Kvp3;
}

double Sinc(double x) {
    if (x == 0)
        return 1;
    const double a = std::numbers::pi * x;
    return std::sin(a) / a;
}

// Samples held for T/M each stand for the continuous signal, whose symbols
// change only at sample boundaries. The sampled spectrum is then exactly the
// continuous one divided by sinc²(fT/M) (the images above the sampling rate
// fold back in that proportion); multiplying by it gives the line signal's
// own spectrum, whatever M.
double HoldCorrection(double x, int samplesPerBit) {
    const double s = Sinc(x / samplesPerBit);
    return s * s;
}

struct FftwFree {
    void operator()(void* p) const { fftw_free(p); }
};

class RealFft {
public:
    explicit RealFft(int n)
        : m_in(static_cast<double*>(fftw_malloc(sizeof(double) * n))),
          m_out(static_cast<fftw_complex*>(fftw_malloc(sizeof(fftw_complex) * (n / 2 + 1)))) {
        // Estimating the plan costs microseconds; measuring it would cost more
        // than the transforms of one run.
        m_plan = fftw_plan_dft_r2c_1d(n, m_in.get(), m_out.get(), FFTW_ESTIMATE);
        if (!m_plan)
            throw PsdError("FFTW has no plan for " + std::to_string(n) + " samples");
    }
    ~RealFft() { fftw_destroy_plan(m_plan); }
    RealFft(const RealFft&) = delete;
    RealFft& operator=(const RealFft&) = delete;

    double* input() { return m_in.get(); }
    void run() { fftw_execute(m_plan); }
    double PowerAt(int k) const {
        const fftw_complex& c = m_out.get()[k];
        return c[0] * c[0] + c[1] * c[1];
    }

private:
    std::unique_ptr<double, FftwFree> m_in;
    std::unique_ptr<fftw_complex, FftwFree> m_out;
    fftw_plan m_plan = nullptr;
};

// Welch's method: Hann-windowed segments overlapping by half, their
// periodograms averaged; S(f)/T for samples T/M apart.
std::vector<double> WelchDensity(const std::vector<double>& x, int segment, int samplesPerBit,
                                 int bins) {
    std::vector<double> window(static_cast<std::size_t>(segment));
    double windowPower = 0;
    for (int n = 0; n < segment; ++n) {
        // The periodic Hann window: overlapped by half its squares add up to
        // a constant, so every sample weighs the same in the average.
        const double w = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * n / segment);
        window[static_cast<std::size_t>(n)] = w;
        windowPower += w * w;
    }
    RealFft fft(segment);
    std::vector<double> sum(static_cast<std::size_t>(bins), 0.0);
    const std::size_t step = static_cast<std::size_t>(segment / 2);
    std::size_t segments = 0;
    for (std::size_t start = 0; start + segment <= x.size(); start += step, ++segments) {
        double* in = fft.input();
        for (int n = 0; n < segment; ++n)
            in[n] = x[start + static_cast<std::size_t>(n)] * window[static_cast<std::size_t>(n)];
        fft.run();
        for (int k = 0; k < bins; ++k)
            sum[static_cast<std::size_t>(k)] += fft.PowerAt(k);
    }
    const double norm = static_cast<double>(segments) * samplesPerBit * windowPower;
    for (double& s : sum)
        s /= norm;
    return sum;
}

// Integral of the linear interpolation of `density` (bins `width` apart)
// between a and b.
double Integrate(const std::vector<double>& density, double width, double a, double b) {
    auto value = [&](double x) {
        const double pos = x / width;
        const auto k = static_cast<std::size_t>(std::floor(pos));
        if (k + 1 >= density.size())
            return density.back();
        const double t = pos - static_cast<double>(k);
        return density[k] * (1 - t) + density[k + 1] * t;
    };
    double total = 0;
    double x = a;
    while (x < b) {
        // To the next bin boundary, where the interpolation bends.
        const double next = std::min(b, (std::floor(x / width + 1e-9) + 1) * width);
        total += 0.5 * (value(x) + value(next)) * (next - x);
        x = next;
    }
    return total;
}

// The least-squares cubic c0 + c1 u + c2 u² + c3 u³ through the points, by
// the normal equations, solved with partial pivoting.
std::array<double, 4> FitCubic(const std::vector<double>& u, const std::vector<double>& y) {
    double a[4][5] = {};
    for (std::size_t k = 0; k < u.size(); ++k) {
        double pw[7];
        pw[0] = 1;
        for (int j = 1; j < 7; ++j)
            pw[j] = pw[j - 1] * u[k];
        for (int r = 0; r < 4; ++r) {
            for (int col = 0; col < 4; ++col)
                a[r][col] += pw[r + col];
            a[r][4] += pw[r] * y[k];
        }
    }
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int r = col + 1; r < 4; ++r)
            if (std::abs(a[r][col]) > std::abs(a[pivot][col]))
                pivot = r;
        std::swap(a[col], a[pivot]);
        for (int r = col + 1; r < 4; ++r) {
            const double f = a[r][col] / a[col][col];
            for (int j = col; j < 5; ++j)
                a[r][j] -= f * a[col][j];
        }
    }
    std::array<double, 4> c{};
    for (int r = 3; r >= 0; --r) {
        double v = a[r][4];
        for (int j = r + 1; j < 4; ++j)
            v -= a[r][j] * c[static_cast<std::size_t>(j)];
        c[static_cast<std::size_t>(r)] = v / a[r][r];
    }
    return c;
}

} // namespace

Bits RandomBits(std::size_t count, std::uint64_t seed) {
    std::mt19937_64 generator(seed);
    Bits bits(count);
    for (std::size_t i = 0; i < count; i += 64) {
        std::uint64_t word = generator();
        for (std::size_t j = i; j < std::min(count, i + 64); ++j, word >>= 1)
            bits[j] = static_cast<int>(word & 1);
    }
    return bits;
}

std::vector<double> LineSignalSamples(LineCode code, const Bits& bits, int samplesPerBit) {
    if (samplesPerBit < 2 || samplesPerBit % 2 != 0)
        throw PsdError("the samples per bit must be an even number");
    const std::vector<int> symbols = Encode(code, bits);
    if (bits.empty())
        return {};
    const std::size_t perBit = symbols.size() / bits.size();
    const std::size_t hold = static_cast<std::size_t>(samplesPerBit) / perBit;
    const bool ternary = IsTernary(code);
    std::vector<double> samples;
    samples.reserve(symbols.size() * hold);
    for (int s : symbols) {
        const double level = ternary ? s : 2.0 * s - 1.0;
        samples.insert(samples.end(), hold, level);
    }
    return samples;
}

MeasuredSpectrum MeasureSpectrum(LineCode code, std::size_t bitCount, std::uint64_t seed) {
    if (bitCount < kMinPsdBits || bitCount > kMaxPsdBits)
        throw PsdError("the number of bits must lie between " + std::to_string(kMinPsdBits) +
                       " and " + std::to_string(kMaxPsdBits));
    constexpr int m = kPsdSamplesPerBit;
    std::vector<double> x = LineSignalSamples(code, RandomBits(bitCount, seed), m);

    MeasuredSpectrum result;
    result.code = code;
    result.bits = bitCount;
    result.binWidth = 1.0 / kPsdSegmentBits;

    double meanSquare = 0;
    for (double v : x)
        meanSquare += v * v;
    result.meanSquare = meanSquare / static_cast<double>(x.size());

    // The cyclic mean over whole periods; it is the deterministic part of
    // the signal, whose spectrum is lines, and leaves the rest stationary.
    constexpr int period = kPeriodBits * m;
    const std::size_t periods = x.size() / period;
    std::vector<double> mean(period, 0.0);
    for (std::size_t p = 0; p < periods; ++p)
        for (int n = 0; n < period; ++n)
            mean[static_cast<std::size_t>(n)] += x[p * period + static_cast<std::size_t>(n)];
    for (double& v : mean)
        v /= static_cast<double>(periods);
    for (std::size_t n = 0; n < x.size(); ++n)
        x[n] -= mean[n % period];

    // Its Fourier coefficients at fT = k / 2. The estimate of each carries
    // noise of about 1/(2N); a line must stand far above that.
    const double threshold =
        std::max(1e-3, 20.0 / static_cast<double>(bitCount)) * result.meanSquare;
    for (int k = 0; k <= static_cast<int>(kTopFrequency * kPeriodBits); ++k) {
        std::complex<double> c = 0;
        for (int n = 0; n < period; ++n)
            c += mean[static_cast<std::size_t>(n)] *
                 std::polar(1.0, -2 * std::numbers::pi * k * n / period);
        c /= period;
        const double fT = static_cast<double>(k) / kPeriodBits;
        const double power = std::norm(c) * HoldCorrection(fT, m);
        if (power > threshold)
            result.lines.push_back({fT, power});
    }

    const int segment = kPsdSegmentBits * m;
    // Bins up to just beyond the last grid step's upper edge.
    const int bins = static_cast<int>((kTopFrequency + kGridStep) / result.binWidth) + 2;
    result.density = WelchDensity(x, segment, m, bins);
    for (int k = 0; k < bins; ++k)
        result.density[static_cast<std::size_t>(k)] *= HoldCorrection(k * result.binWidth, m);

    const ModelArea model = ModelAreaOf(code);
    result.scale = model.area / MeasuredPower(result, model.from, model.to);
    result.points.reserve(kSpectrumSamples);
    for (int i = 1; i <= kSpectrumSamples; ++i) {
        const double xi = i / 100.0; // as the model's grid computes it
        const double cell =
            MeasuredPower(result, xi - kGridStep / 2, xi + kGridStep / 2) / kGridStep;
        result.points.push_back({xi, result.scale * cell});
    }
    return result;
}

double MeasuredPower(const MeasuredSpectrum& spectrum, double from, double to) {
    return Integrate(spectrum.density, spectrum.binWidth, from, to);
}

double MeasuredShareBelow(const MeasuredSpectrum& spectrum, double x) {
    return MeasuredPower(spectrum, 0, x) / MeasuredPower(spectrum, 0, kTopFrequency);
}

double MeasuredMaximumAt(const MeasuredSpectrum& spectrum) {
    const std::vector<PsdPoint>& p = spectrum.points;
    if (p.empty())
        return 0;
    const auto top = static_cast<std::size_t>(
        std::max_element(p.begin(), p.end(),
                         [](const PsdPoint& a, const PsdPoint& b) { return a.y < b.y; }) -
        p.begin());
    // The highest of the points alone wanders over a broad, flat top with the
    // estimate's noise. A cubic fitted to the whole cap above 85 % of the
    // maximum stays put, and unlike a parabola it follows a lopsided cap.
    const double floor = kMaximumCap * p[top].y;
    std::size_t first = top, last = top;
    while (first > 0 && p[first - 1].y >= floor)
        --first;
    while (last + 1 < p.size() && p[last + 1].y >= floor)
        ++last;
    if (last - first < 4)
        return p[top].x;
    std::vector<double> u, y;
    for (std::size_t k = first; k <= last; ++k) {
        u.push_back(p[k].x - p[top].x);
        y.push_back(p[k].y);
    }
    const std::array<double, 4> c = FitCubic(u, y);
    // The highest point of the cubic on the cap: an end or a turning point.
    double bestU = u.front();
    auto value = [&](double v) { return ((c[3] * v + c[2]) * v + c[1]) * v + c[0]; };
    auto consider = [&](double v) {
        if (v >= u.front() && v <= u.back() && value(v) > value(bestU))
            bestU = v;
    };
    consider(u.back());
    // c1 + 2 c2 v + 3 c3 v² = 0
    const double qa = 3 * c[3], qb = 2 * c[2], qc = c[1];
    if (std::abs(qa) < 1e-12 * std::abs(qb)) {
        if (qb != 0)
            consider(-qc / qb);
    } else if (const double disc = qb * qb - 4 * qa * qc; disc >= 0) {
        consider((-qb + std::sqrt(disc)) / (2 * qa));
        consider((-qb - std::sqrt(disc)) / (2 * qa));
    }
    return p[top].x + bestU;
}

ModelArea ModelAreaOf(LineCode code) {
    ModelArea model{SpectrumValue(code, 1).x, SpectrumValue(code, kSpectrumSamples).x, 0};
    SpectrumPoint previous = SpectrumValue(code, 1);
    for (int i = 2; i <= kSpectrumSamples; ++i) {
        const SpectrumPoint p = SpectrumValue(code, i);
        model.area += 0.5 * (previous.y + p.y) * (p.x - previous.x);
        previous = p;
    }
    return model;
}
