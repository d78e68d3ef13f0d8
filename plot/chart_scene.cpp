#include "plot/chart_scene.h"

#include <algorithm>
#include <cmath>

int RoundEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

QColor ToQColor(Colour c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

QFont ToQFont(const TChartFont& font) {
    QFont f(font.Name);
    f.setPixelSize(std::max(1, font.Height));
    f.setBold(font.Bold);
    return f;
}

ScenePen ToPen(const TChartPen& pen) {
    return ScenePen{pen.Visible, ToQColor(pen.Color), pen.Width, pen.Style == psDot};
}

SceneItem MakeLine(SceneRole role, QLine line, ScenePen pen, int series, int point) {
    SceneItem item{role, SceneShape::Line};
    item.line = line;
    item.pen = pen;
    item.series = series;
    item.point = point;
    return item;
}

SceneItem MakeText(SceneRole role, QRect rect, const QString& text, const TChartFont& font,
                   int alignment) {
    SceneItem item{role, SceneShape::Text};
    item.rect = rect;
    item.text = text;
    item.font = ToQFont(font);
    item.pen.colour = ToQColor(font.Color);
    item.alignment = alignment;
    return item;
}

double AxisScene::Value(int pixel) const {
    if (length() == 0)
        return minimum;
    const double along = horizontal ? pixel - start : end - pixel;
    return minimum + along * range() / length();
}

int AxisScene::ClampedPixel(double value, int far) const {
    const double r = maximum - minimum;
    if (r == 0)
        return (start + end) / 2;
    const double t = (value - minimum) * (end - start) / r;
    if (std::isnan(t))
        return (start + end) / 2;
    // Rounded along the axis before it is placed, as Pixel does, so that
    // both agree wherever Pixel has an answer.
    const double reach = static_cast<double>(far) + std::abs(end - start);
    const double along = std::nearbyint(std::clamp(t, -reach, reach));
    const double p = horizontal ? start + along : end - along;
    return static_cast<int>(
        std::clamp(p, static_cast<double>(start) - far, static_cast<double>(end) + far));
}
