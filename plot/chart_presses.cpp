#include "chart_presses.h"

#include "chart_model.h"

namespace {

constexpr ChartLayout kSignal[] = {
    ChartLayout::CspPitSignal,  ChartLayout::CspAbsSignal,  ChartLayout::CspChpiSignal,
    ChartLayout::CspKvp3Signal, ChartLayout::VospNrzSignal, ChartLayout::VospBiLSignal,
    ChartLayout::VospCmiSignal, ChartLayout::VospEp1Signal,
};
constexpr ChartLayout kSpectrum[] = {
    ChartLayout::CspPitSpectrum,  ChartLayout::CspAbsSpectrum,  ChartLayout::CspChpiSpectrum,
    ChartLayout::CspKvp3Spectrum, ChartLayout::VospNrzSpectrum, ChartLayout::VospBiLSpectrum,
    ChartLayout::VospCmiSpectrum, ChartLayout::VospEp1Spectrum,
};

} // namespace

ChartLayout SignalLayoutOf(LineCode code) {
    return kSignal[static_cast<int>(code)];
}
ChartLayout SpectrumLayoutOf(LineCode code) {
    return kSpectrum[static_cast<int>(code)];
}
ChartLayout ComparisonLayoutOf(Workbench workbench) {
    return workbench == Workbench::Dts ? ChartLayout::CspComparison : ChartLayout::VospComparison;
}

void FormSignal(TCustomChart& chart, LineCode code, const Bits& bits, NoiseSource& noise) {
    for (const SignalPoint& p : BuildSignalPoints(code, bits, noise).points)
        chart.SeriesAt(p.series)->AddPoint(p.x, p.y, QString(), p.colour);
}

void PressSpectrum(TCustomChart& chart, LineCode code) {
    TChartSeries* series = chart.SeriesAt(0);
    for (int i = 1; i <= kSpectrumSamples; ++i) {
        const SpectrumPoint p = SpectrumValue(code, i);
        series->AddPoint(p.x, p.y, QString(), p.colour);
    }
}

void PressComparison(TCustomChart& chart, Workbench workbench) {
    for (int i = 1; i <= kSpectrumSamples; ++i) {
        for (int curve = 0; curve < kComparisonCurves; ++curve) {
            const SpectrumPoint p = ComparisonValue(workbench, curve, i);
            chart.SeriesAt(curve)->AddPoint(p.x, p.y, QString(), p.colour);
        }
    }
}
