// What a student waits for: a "Спектр" press into a chart that already
// holds many earlier presses, and the paint that follows.

#include "bench/drawing_bench_main.h"
#include "codes/energy_density.h"
#include "codes/line_code.h"
#include "plot/chart_layout.h"
#include "workbench/designed_charts.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

std::vector<SpectrumPoint> OnePress() {
    std::vector<SpectrumPoint> press;
    for (int i = 1; i <= kSpectrumSamples; ++i)
        press.push_back(SpectrumValue(LineCode::Chpi, i));
    return press;
}

void Press(TCustomChart& chart, const std::vector<SpectrumPoint>& press) {
    for (const SpectrumPoint& p : press)
        chart.SeriesAt(0)->AddPoint(p.x, p.y, QString(), p.colour);
}

// A spectrum chart holding `points` points from earlier presses of the same
// curve. Built by appending the final sorted order, which is quick, so that
// each measured press starts from a fresh chart.
std::unique_ptr<TCustomChart> ChartWith(int points, const std::vector<SpectrumPoint>& press) {
    auto chart = std::make_unique<TCustomChart>();
    ApplyDesignedChart(*chart, DesignedChart::CspChpiSpectrum);
    const int copies = points / static_cast<int>(press.size());
    TChartSeries& s = *chart->SeriesAt(0);
    for (const SpectrumPoint& p : press)
        for (int k = 0; k < copies; ++k)
            s.AddPoint(p.x, p.y, QString(), p.colour);
    return chart;
}

void BM_SpectrumPress(benchmark::State& state) {
    const std::vector<SpectrumPoint> press = OnePress();
    const int existing = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<TCustomChart> chart = ChartWith(existing, press);
        state.ResumeTiming();
        Press(*chart, press);
        benchmark::DoNotOptimize(chart->SeriesAt(0)->Count());
        state.PauseTiming();
        chart.reset();
        state.ResumeTiming();
    }
}
// Setting up 200,000 points takes longer than the press itself, so the
// iteration count is fixed rather than grown until the timer is satisfied.
BENCHMARK(BM_SpectrumPress)->Arg(0)->Arg(200000)->Iterations(300)->Unit(benchmark::kMicrosecond);

void BM_PaintSpectrum(benchmark::State& state) {
    const std::vector<SpectrumPoint> press = OnePress();
    TCustomChart chart;
    ApplyDesignedChart(chart, DesignedChart::CspChpiSpectrum);
    for (int k = 0; k < state.range(0) / kSpectrumSamples; ++k)
        Press(chart, press);
    const QSize size(441, 257);
    QImage image(size, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        PaintScene(painter, LayoutChart(chart, size));
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PaintSpectrum)->Arg(200)->Arg(200000)->Unit(benchmark::kMicrosecond);

// For comparison, the same with presses whose values all differ slightly,
// so that no point repeats an earlier one.
void BM_SpectrumPressDistinct(benchmark::State& state) {
    const std::vector<SpectrumPoint> press = OnePress();
    const int existing = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto chart = std::make_unique<TCustomChart>();
        ApplyDesignedChart(*chart, DesignedChart::CspChpiSpectrum);
        TChartSeries& s = *chart->SeriesAt(0);
        const int copies = existing / static_cast<int>(press.size());
        for (const SpectrumPoint& p : press)
            for (int k = 0; k < copies; ++k)
                s.AddPoint(p.x, p.y + k * 1e-9, QString(), p.colour);
        state.ResumeTiming();
        for (const SpectrumPoint& p : press)
            s.AddPoint(p.x, p.y - 1e-9, QString(), p.colour);
        benchmark::DoNotOptimize(s.Count());
        state.PauseTiming();
        chart.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SpectrumPressDistinct)
    ->Arg(0)
    ->Arg(200000)
    ->Iterations(100)
    ->Unit(benchmark::kMicrosecond);

void BM_PaintDistinct(benchmark::State& state) {
    TCustomChart chart;
    ApplyDesignedChart(chart, DesignedChart::CspChpiSpectrum);
    const auto n = static_cast<int>(state.range(0));
    for (int i = 1; i <= n; ++i) {
        const double x = 2.0 * i / n;
        chart.SeriesAt(0)->AddPoint(x, std::sin(7 * x) * std::sin(7 * x), QString(), clRed);
    }
    const QSize size(441, 257);
    QImage image(size, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        PaintScene(painter, LayoutChart(chart, size));
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PaintDistinct)->Arg(200)->Arg(200000)->Unit(benchmark::kMicrosecond);

void BM_PaintSignal(benchmark::State& state) {
    TCustomChart chart;
    ApplyDesignedChart(chart, DesignedChart::CspPitSignal);
    NoiseSource noise;
    const Bits bits{1, 1, 0, 1, 0, 0, 1, 0, 1, 1};
    for (const SignalPoint& p : BuildSignalPoints(LineCode::Pit, bits, noise).points)
        chart.SeriesAt(p.series)->AddPoint(p.x, p.y, QString(), p.colour);
    const QSize size = DesignedSizeOf(DesignedChart::CspPitSignal);
    QImage image(size, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        PaintScene(painter, LayoutChart(chart, size));
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PaintSignal)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    // Fonts need a GUI application; the benchmarks need no display.
    return RunDrawingBenchmarks<QGuiApplication>(argc, argv);
}
