#include "workbench/chart_presses.h"

#include "plot/chart_model.h"

namespace {

constexpr DesignedChart kSignal[] = {
    DesignedChart::CspPitSignal,  DesignedChart::CspAbsSignal,  DesignedChart::CspChpiSignal,
    DesignedChart::CspKvp3Signal, DesignedChart::VospNrzSignal, DesignedChart::VospBiLSignal,
    DesignedChart::VospCmiSignal, DesignedChart::VospEp1Signal,
};
constexpr DesignedChart kSpectrum[] = {
    DesignedChart::CspPitSpectrum,  DesignedChart::CspAbsSpectrum,  DesignedChart::CspChpiSpectrum,
    DesignedChart::CspKvp3Spectrum, DesignedChart::VospNrzSpectrum, DesignedChart::VospBiLSpectrum,
    DesignedChart::VospCmiSpectrum, DesignedChart::VospEp1Spectrum,
};

} // namespace

DesignedChart SignalChartOf(LineCode code) {
    return kSignal[static_cast<int>(code)];
}
DesignedChart SpectrumChartOf(LineCode code) {
    return kSpectrum[static_cast<int>(code)];
}
DesignedChart ComparisonChartOf(Workbench workbench) {
    return workbench == Workbench::Dts ? DesignedChart::CspComparison
                                       : DesignedChart::VospComparison;
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
