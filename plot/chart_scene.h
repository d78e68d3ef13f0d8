#pragma once

// A chart as laid out: the ordered list of what is drawn, with every
// coordinate already decided. Tests read it as numbers; the widget and the
// offscreen renderer only replay it.

#include "plot/chart_model.h"

#include <QColor>
#include <QFont>
#include <QLine>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <vector>

enum class SceneRole {
    Background,
    Title,
    BackWall,
    Grid,
    AxisLine,
    Tick,
    MinorTick,
    AxisLabel,
    Bar,     // a bar drawn as a rectangle
    BarLine, // a solid bar of zero width or height, drawn as a line
    Line,    // the segments of a line series
    MarkArrow,
    MarkBox,
    MarkText,
    Caption, // a text laid on the chart, and its background
    ClipBegin,
    ClipEnd,
};

enum class SceneShape { FillRect, Rect, Line, Segments, Text, Clip, Unclip };

struct ScenePen {
    bool visible = true;
    QColor colour = Qt::black;
    int width = 1;
    bool dotted = false;
};

struct SceneItem {
    SceneItem(SceneRole r, SceneShape s, int seriesIndex = -1)
        : role(r), shape(s), series(seriesIndex) {}
    SceneRole role;
    SceneShape shape;
    int series = -1; // index in the series list, for series items
    int point = -1;  // index of the point, for bars and marks
    // FillRect, Rect: the pixels covered (QRect's inclusive sense, so a
    // bar of width W has rect.width() == W). Text: the box the text is
    // aligned in. Clip: the clip rectangle.
    QRect rect;
    QLine line;
    // Segments: segment k joins points[k-1] and points[k] in colours[k].
    std::vector<QPoint> points;
    std::vector<QColor> colours;
    ScenePen pen;
    bool filled = false;
    QColor brush;
    QString text;
    QFont font;
    int alignment = 0; // Qt::Alignment for texts
};

// One axis as laid out: its pixels, its value range after the margins, and
// its labels.
struct AxisScene {
    bool horizontal = true;
    int start = 0; // left or top pixel
    int end = 0;   // right or bottom pixel
    double minimum = 0;
    double maximum = 0;
    double increment = 0;
    struct Label {
        double value;
        int pixel;
        QString text;
    };
    std::vector<Label> labels;

    int length() const { return end - start; }
    double range() const { return maximum - minimum; }
    // Pixel of a value: rounded half to even; the middle pixel when the
    // range is empty or the result would not fit an int.
    inline int Pixel(double value) const;
    // Pixel of a value for geometry that may lie far outside the plot, as
    // bars and marks do under a deep zoom: computed in wide arithmetic and
    // kept within `far` pixels of the axis' ends, where it is clipped away
    // in any case, so that no later sum of pixels can overflow.
    int ClampedPixel(double value, int far) const;
    // Value at a pixel (the inverse of Pixel, unrounded).
    double Value(int pixel) const;
};

inline int AxisScene::Pixel(double value) const {
    const int middle = (start + end) / 2;
    const double r = maximum - minimum;
    if (r == 0)
        return middle;
    const double t = (value - minimum) * (end - start) / r;
    if (!(t > -2147483647.0 && t < 2147483647.0))
        return middle;
    // Adding and taking away 1.5 * 2^52 rounds to an integer, halves to
    // even, in the default rounding mode; far quicker than nearbyint, which
    // this runs for every point of every line.
    constexpr double kRounder = 6755399441055744.0;
    const auto rounded = static_cast<long long>((t + kRounder) - kRounder);
    const long long p = horizontal ? start + rounded : end - rounded;
    if (p < -2147483647LL - 1 || p > 2147483647LL)
        return middle;
    return static_cast<int>(p);
}

struct ChartScene {
    QSize size;
    // The plot rectangle by its edge pixels: the horizontal axis runs from
    // plot.left() to plot.right(), the vertical one from plot.top() to
    // plot.bottom().
    QRect plot;
    AxisScene bottom;
    AxisScene left;
    bool axesShown = false;
    std::vector<int> barWidths; // per series; 0 for a line series
    std::vector<SceneItem> items;
};

// Round to nearest, halves to even.
int RoundEven(double value);
QColor ToQColor(Colour c);
QFont ToQFont(const TChartFont& font);
ScenePen ToPen(const TChartPen& pen);
SceneItem MakeLine(SceneRole role, QLine line, ScenePen pen, int series = -1, int point = -1);
// A text aligned in `rect`, in the font's colour.
SceneItem MakeText(SceneRole role, QRect rect, const QString& text, const TChartFont& font,
                   int alignment);
