#pragma once

// Turns a chart model, a pixel size and the real font metrics into a scene
// (chart_scene.h), and paints a scene. The layout is split by concern: the
// axes' ranges and labels (chart_axes.h), the geometry of the series' bars,
// lines and marks (chart_series_items.h), and here the order in which the
// parts are painted.

#include "plot/chart_model.h"
#include "plot/chart_scene.h"

#include <QImage>
#include <QLocale>
#include <QSize>
#include <QString>

class QPainter;

struct ChartLayoutOptions {
    QLocale locale;
    // Draw long line series through the first, lowest, highest and last
    // point of each pixel column, and a run of repeated bars (and their
    // marks) once. The picture is the same; false draws every segment and
    // every bar (the tests compare the two).
    bool reduceLines = true;
};

ChartScene LayoutChart(const TCustomChart& chart, QSize size,
                       const ChartLayoutOptions& options = ChartLayoutOptions());
void PaintScene(QPainter& painter, const ChartScene& scene);
QImage RenderChart(const TCustomChart& chart, QSize size,
                   const ChartLayoutOptions& options = ChartLayoutOptions());

// A value in the format "#,##0.###": thousands grouped, at most three
// decimals, no trailing zeros, separators of the locale.
QString FormatChartValue(double value, const QLocale& locale);
// The next label increment on the 1-2-5 series.
double NextIncrement(double value);
