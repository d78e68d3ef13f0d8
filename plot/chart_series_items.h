#pragma once

// The geometry of the series: bar widths and rectangles, the segments of
// line series, and the value marks of bars, each as scene items.

#include "plot/chart_model.h"
#include "plot/chart_scene.h"

#include <QLocale>

#include <vector>

// The width W of the bars of a series whose axis is `axisLength` pixels long.
int BarWidth(const TBarSeries& bar, int axisLength);

// The height a value mark needs beside its bar: box, arrow and one pixel.
int MarkRoom(const TSeriesMarks& marks);

// One bar as placed on the axes. Pixels far outside the plot are held a
// bounded distance away from it (AxisScene::ClampedPixel), so a bar zoomed
// into still covers the whole view and its sums never overflow.
struct PlacedBar {
    int left;
    int origin; // pixel of YOrigin
    int end;    // pixel of the bar's value
    double y;
    int point;     // the list index of the (first) point drawn here
    Colour colour; // the colour it is drawn in
    QString label; // the point's own label, empty for none
};
// The bars of a series in list order, one per point. With `reduce`, a run of
// points equal in every bit (each forming with the same combination adds the
// same bars again) is placed once: shapes are drawn without antialiasing and
// a mark's box is opaque, so drawing the same bar and mark again in the same
// place leaves the same pixels. Keep it false for marks without a box.
std::vector<PlacedBar> PlaceBars(const TBarSeries& s, int width, const ChartScene& scene,
                                 bool reduce);

// The bars of a series, without their marks.
void AddBars(const TBarSeries& s, int index, int width, const std::vector<PlacedBar>& placed,
             std::vector<SceneItem>& items);
// The value marks of a series' bars: arrow, box and text per bar.
void AddBarMarks(const TBarSeries& s, int index, int width, const std::vector<PlacedBar>& placed,
                 const QLocale& locale, std::vector<SceneItem>& items);
// A line series as one polyline item.
void AddLine(const TLineSeries& s, int index, const ChartScene& scene, bool reduce,
             std::vector<SceneItem>& items);
