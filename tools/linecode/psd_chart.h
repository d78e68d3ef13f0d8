#pragma once

// The measured spectrum of a code on the program's own spectrum chart: the
// workbench's model curve, the measured curve and the discrete lines as
// marked spikes, with a legend under the chart that names them (the chart
// itself draws no legend).

#include "codes/line_code.h"
#include "codes/measured_spectrum.h"
#include "plot/chart_layout.h"

#include <QImage>
#include <QSize>

class QPainter;

// The colours of the measured curve and of its lines; the model keeps the
// workbench's red.
inline constexpr Colour kMeasuredColour = clBlue;
inline constexpr Colour kLineColour = clGreen;

// What one picture shows.
struct PsdPictureContent {
    bool model = true;    // the workbench's curve
    bool measured = true; // the measured curve and its lines
};

// The picture: the chart at `chartSize` with the legend strip below it.
QSize PsdPictureSize(QSize chartSize, PsdPictureContent content);
void PaintPsdPicture(QPainter& painter, LineCode code, const MeasuredSpectrum& spectrum,
                     QSize chartSize, PsdPictureContent content,
                     const ChartLayoutOptions& options = ChartLayoutOptions());
QImage RenderPsdPicture(LineCode code, const MeasuredSpectrum& spectrum, QSize chartSize,
                        PsdPictureContent content,
                        const ChartLayoutOptions& options = ChartLayoutOptions());
