#pragma once

// The scales of a chart: where the plot rectangle lies, the value range of
// each axis with the room the series ask for, the label increment, the
// labels, and the grid, ticks and label texts that show them.

#include "plot/chart_model.h"
#include "plot/chart_scene.h"

#include <QLocale>
#include <QSize>

#include <vector>

// Whether a series takes part in the layout at all.
inline bool Shows(const TChartSeries& s) {
    return s.Active && s.Count() > 0;
}

// Lays out both axes of `chart` and the plot rectangle between them. `top`
// is the first row below the title. Sets scene.plot, scene.left,
// scene.bottom, scene.axesShown and scene.barWidths.
void LayoutAxes(const TCustomChart& chart, QSize size, int top, const QLocale& locale,
                ChartScene& scene);

// The items that draw the axes, in painting order: all grid lines, then
// the axis lines, the ticks, and the labels, so that the series drawn
// after them cover the grid.
std::vector<SceneItem> AxisItems(const TCustomChart& chart, const ChartScene& scene);
