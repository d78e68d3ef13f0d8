#include "plot/chart_layout.h"

#include "plot/chart_axes.h"
#include "plot/chart_series_items.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>

namespace {

void AddBackground(const TCustomChart& chart, QSize size, std::vector<SceneItem>& items) {
    const int w = size.width();
    const int h = size.height();
    if (!chart.Gradient.Visible) {
        SceneItem item{SceneRole::Background, SceneShape::FillRect};
        item.rect = QRect(0, 0, w, h);
        item.brush = QColor(240, 240, 240);
        item.filled = true;
        items.push_back(item);
        return;
    }
    const Colour from = chart.Gradient.StartColor;
    const Colour to = chart.Gradient.EndColor;
    const int bands = std::min(h, 256);
    auto channel = [&](int a, int b, int k) {
        if (bands <= 1)
            return a;
        return RoundEven(a + static_cast<double>(b - a) * k / (bands - 1));
    };
    // Laid from the bottom edge upwards, so the start colour is at the bottom.
    for (int k = 0; k < bands; ++k) {
        const int lower = h - (k * h) / bands;
        const int upper = h - ((k + 1) * h) / bands;
        SceneItem item{SceneRole::Background, SceneShape::FillRect};
        item.rect = QRect(0, upper, w, lower - upper);
        item.brush =
            QColor(channel(RedOf(from), RedOf(to), k), channel(GreenOf(from), GreenOf(to), k),
                   channel(BlueOf(from), BlueOf(to), k));
        item.filled = true;
        items.push_back(item);
    }
}

// Brackets `items` added by `add` with a clip to `rect`, when `clip` is set.
template <class Add>
void Clipped(bool clip, const QRect& rect, int series, std::vector<SceneItem>& items, Add add) {
    if (clip) {
        SceneItem begin{SceneRole::ClipBegin, SceneShape::Clip, series};
        begin.rect = rect;
        items.push_back(begin);
    }
    add();
    if (clip)
        items.push_back(SceneItem{SceneRole::ClipEnd, SceneShape::Unclip, series});
}

// One series: its points clipped to the plot when the chart clips points,
// then its marks, which clip themselves (or not) on their own.
void AddSeries(const TCustomChart& chart, int index, const ChartScene& scene,
               const ChartLayoutOptions& options, std::vector<SceneItem>& items) {
    const TChartSeries& s = *chart.SeriesAt(index);
    if (!s.IsBar()) {
        Clipped(chart.ClipPoints, scene.plot, index, items, [&] {
            AddLine(static_cast<const TLineSeries&>(s), index, scene, options.reduceLines, items);
        });
        return;
    }
    const auto& bar = static_cast<const TBarSeries&>(s);
    const int width = scene.barWidths[static_cast<std::size_t>(index)];
    // Marks without a box would draw their antialiased text over itself.
    const bool reduce = options.reduceLines && (!bar.Marks.Visible || !bar.Marks.Transparent);
    const std::vector<PlacedBar> placed = PlaceBars(bar, width, scene, reduce);
    Clipped(chart.ClipPoints, scene.plot, index, items,
            [&] { AddBars(bar, index, width, placed, items); });
    if (bar.Marks.Visible)
        Clipped(bar.Marks.Clip, scene.plot, -1, items,
                [&] { AddBarMarks(bar, index, width, placed, options.locale, items); });
}

void AddCaptions(const TCustomChart& chart, std::vector<SceneItem>& items) {
    for (const TChartCaption& c : chart.Captions) {
        const QFontMetrics fm(ToQFont(c.Font));
        const QRect rect(c.Left, c.Top, fm.horizontalAdvance(c.Text), fm.height());
        if (!c.Transparent) {
            SceneItem back{SceneRole::Caption, SceneShape::FillRect};
            back.rect = rect;
            back.brush = ToQColor(c.Color);
            back.filled = true;
            items.push_back(back);
        }
        items.push_back(
            MakeText(SceneRole::Caption, rect, c.Text, c.Font, Qt::AlignLeft | Qt::AlignTop));
    }
}

} // namespace

// The painting order: background, title, back wall, axes, the series in
// list order (each with its marks), and last the captions laid on the chart.
ChartScene LayoutChart(const TCustomChart& chart, QSize size, const ChartLayoutOptions& options) {
    ChartScene scene;
    scene.size = size;
    std::vector<SceneItem>& items = scene.items;
    AddBackground(chart, size, items);

    int top = size.height() * 4 / 100;
    if (chart.Title.Visible && !chart.Title.Text.isEmpty()) {
        const QFontMetrics fm(ToQFont(chart.Title.Font));
        items.push_back(MakeText(SceneRole::Title, QRect(0, top, size.width(), fm.height()),
                                 chart.Title.Text, chart.Title.Font,
                                 Qt::AlignHCenter | Qt::AlignTop));
        top += fm.height() + 3;
    }

    LayoutAxes(chart, size, top, options.locale, scene);

    SceneItem wall{SceneRole::BackWall, SceneShape::Rect};
    wall.rect = scene.plot;
    wall.pen = ToPen(chart.BackWall.Pen);
    wall.filled = chart.BackWall.Brush.Style == bsSolid;
    wall.brush = ToQColor(chart.BackWall.Brush.Color);
    items.push_back(wall);

    std::vector<SceneItem> axes = AxisItems(chart, scene);
    items.insert(items.end(), std::make_move_iterator(axes.begin()),
                 std::make_move_iterator(axes.end()));

    for (int i = 0; i < chart.SeriesCount(); ++i) {
        if (Shows(*chart.SeriesAt(i)))
            AddSeries(chart, i, scene, options, items);
    }
    AddCaptions(chart, items);
    return scene;
}
