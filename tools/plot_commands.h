#pragma once

// `linecode plot`, `linecode plot-spectrum`: the charts of the workbenches
// drawn into PNG files without a window, for handouts.

#include "chart_layouts.h"
#include "line_code.h"
#include "spectrum.h"

#include <ostream>
#include <span>
#include <string_view>

bool IsPlotCommand(std::string_view name);
// Runs a plot command; args start with the command's name. Creates the
// (offscreen) GUI application it needs from argc and argv.
int RunPlotCommand(int argc, char** argv, std::span<const std::string_view> args, std::ostream& out,
                   std::ostream& err);
void PrintPlotUsage(std::ostream& stream);

ChartLayout SignalLayoutOf(LineCode code);
ChartLayout SpectrumLayoutOf(LineCode code);
ChartLayout ComparisonLayoutOf(Workbench workbench);

// What one press of the window's buttons adds to the chart.
void FormSignal(TCustomChart& chart, LineCode code, const Bits& bits, NoiseSource& noise);
void PressSpectrum(TCustomChart& chart, LineCode code);
void PressComparison(TCustomChart& chart, Workbench workbench);
