#pragma once

#include "codes/energy_density.h"
#include "codes/line_code.h"
#include "workbench/designed_charts.h"

// What one press of a workbench button adds to its chart, shared by the
// windows and by the tool that draws the same charts into files.

// The chart that shows a code's signal, its spectrum, or a workbench's comparison.
DesignedChart SignalChartOf(LineCode code);
DesignedChart SpectrumChartOf(LineCode code);
DesignedChart ComparisonChartOf(Workbench workbench);

// "Формирование": the points of one forming, each to its series, in order.
void FormSignal(TCustomChart& chart, LineCode code, const Bits& bits,
                NoiseSource& noise = ProgramNoise());
// "Спектр": the code's 200 spectrum points into series 0.
void PressSpectrum(TCustomChart& chart, LineCode code);
// "Сравнить": 200 points into each of the four series, series 0 to 3 per sample.
void PressComparison(TCustomChart& chart, Workbench workbench);
