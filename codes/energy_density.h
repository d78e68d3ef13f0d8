#pragma once

#include "codes/colour.h"
#include "codes/line_code.h"

// Energy spectra of the line codes, from their closed formulas of the
// normalised frequency x = fT. Each curve has 200 samples, i = 1 ... 200.
inline constexpr int kSpectrumSamples = 200;

struct SpectrumPoint {
    double x;
    double y;
    Colour colour;
};

// The point i of a code panel's spectrum curve (always red).
SpectrumPoint SpectrumValue(LineCode code, int i);

enum class Workbench { Dts, Fots };
inline constexpr int kComparisonCurves = 4;

// The point i of comparison curve `curve` (the series index 0 ... 3) of a
// workbench's comparison chart: БВН, АБС, КВП-3, ЧПИ on the DTS workbench,
// NRZ, BI-L, EP-1, CMI on the FOTS one.
SpectrumPoint ComparisonValue(Workbench workbench, int curve, int i);
