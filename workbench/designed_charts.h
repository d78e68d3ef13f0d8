#pragma once

// The designed values of the eighteen charts of the two workbenches, kept
// here as data so that a window only names its chart.

#include "plot/chart_model.h"

#include <QSize>

enum class DesignedChart {
    CspPitSignal,    // TCSP Chart1
    CspAbsSignal,    // TCSP Chart8
    CspChpiSignal,   // TCSP Chart14
    CspKvp3Signal,   // TCSP Chart5
    CspPitSpectrum,  // TCSP Chart4
    CspAbsSpectrum,  // TCSP Chart13
    CspChpiSpectrum, // TCSP Chart12
    CspKvp3Spectrum, // TCSP Chart11
    CspComparison,   // TCSP Chart17
    VospNrzSignal,   // TVOSP Chart1
    VospBiLSignal,   // TVOSP Chart8
    VospCmiSignal,   // TVOSP Chart14
    VospEp1Signal,   // TVOSP Chart5
    VospNrzSpectrum, // TVOSP Chart4
    VospBiLSpectrum, // TVOSP Chart13
    VospCmiSpectrum, // TVOSP Chart12
    VospEp1Spectrum, // TVOSP Chart11
    VospComparison,  // TVOSP Chart17
};

inline constexpr int kDesignedChartCount = 18;

enum class ChartKind { Signal, Spectrum, Comparison };

struct MarkLayout {
    const char* font; // family as designed
    int height;       // character height in pixels
    bool bold;
    int arrowLength;
};

struct DesignedChartValues {
    DesignedChart which;
    const char* window; // "TCSP" or "TVOSP"
    const char* chart;  // the chart's name in its window
    ChartKind kind;
    int width, height; // the designed size; the window's geometry sets it
    bool axisVisible;
    // Signal charts only.
    int lineSignalOffset;   // series 0 OffsetPercent
    bool hasSourceSeries;   // series 2 (all but the NRZ chart)
    int sourceWidth;        // series 2 BarWidthPercent
    int sourceOffset;       // series 2 OffsetPercent
    MarkLayout sourceMarks; // series 2 marks
    const char* seriesNames[4];
    // The FOTS spectrum and comparison charts carry two text labels as axis
    // captions, "G(f)/T" at the top left and "fT" at the bottom right, whose
    // left edge this is; 0 for a chart without captions.
    int frequencyCaptionLeft;
};

const DesignedChartValues& DesignedValuesOf(DesignedChart which);
QSize DesignedSizeOf(DesignedChart which);

// Creates the chart's series in their fixed order and sets every designed
// property. Call it once, on a chart without series.
void ApplyDesignedChart(TCustomChart& chart, DesignedChart which);
