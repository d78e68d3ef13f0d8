#include "plot/chart_series_items.h"

#include "plot/chart_layout.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// Pixels farther out than this are left out of a line: the drawing system
// takes coordinates of 16 bits.
constexpr int kMaxLinePixel = 32766;

// How far beyond the plot a bar's edges are kept: well outside any chart,
// and small enough that sums of a few such pixels fit an int.
constexpr int kFarPixels = 1 << 20;

int FrameWidth(const TSeriesMarks& marks) {
    return marks.Frame.Visible ? marks.Frame.Width : 0;
}

struct PixPoint {
    int x;
    int y;
    QRgb colour;
};

// The pixel of a line point along one axis, or nothing when it lies beyond
// what the drawing system takes. Computed from the exact position, so a
// point far outside a deep zoom is left out rather than drawn at the
// axis' middle.
bool LinePixel(const AxisScene& a, double value, int& pixel) {
    pixel = a.ClampedPixel(value, 2 * kMaxLinePixel + std::abs(a.start) + std::abs(a.end));
    return pixel >= -kMaxLinePixel && pixel <= kMaxLinePixel;
}

// Collects the drawn points of one line series. With reduction, a run of
// points in one pixel column and one colour keeps only its first, lowest,
// highest and last point: the segments between them are vertical, cover
// the same pixels and have the same colour, so the picture does not change.
class LineBuilder {
public:
    LineBuilder(SceneItem& item, bool reduce) : m_item(item), m_reduce(reduce) {}

    void add(const PixPoint& p) {
        if (!m_reduce) {
            put(p);
            return;
        }
        if (m_count > 0 && p.x == m_first.x && p.colour == m_first.colour) {
            if (p.y < m_min.y) {
                m_min = p;
                m_minIndex = m_count;
            }
            if (p.y > m_max.y) {
                m_max = p;
                m_maxIndex = m_count;
            }
            m_last = p;
            ++m_count;
            return;
        }
        flush();
        m_first = m_min = m_max = m_last = p;
        m_minIndex = m_maxIndex = 0;
        m_count = 1;
    }

    void flush() {
        if (m_count == 0)
            return;
        put(m_first);
        const int last = m_count - 1;
        const bool minInside = m_minIndex != 0 && m_minIndex != last;
        const bool maxInside = m_maxIndex != 0 && m_maxIndex != last;
        if (minInside && maxInside) {
            if (m_minIndex < m_maxIndex) {
                put(m_min);
                put(m_max);
            } else {
                put(m_max);
                put(m_min);
            }
        } else if (minInside) {
            put(m_min);
        } else if (maxInside) {
            put(m_max);
        }
        if (m_count > 1)
            put(m_last);
        m_count = 0;
    }

private:
    void put(const PixPoint& p) {
        m_item.points.emplace_back(p.x, p.y);
        m_item.colours.emplace_back(QColor::fromRgb(p.colour));
    }

    SceneItem& m_item;
    bool m_reduce;
    PixPoint m_first{}, m_min{}, m_max{}, m_last{};
    int m_minIndex = 0, m_maxIndex = 0;
    int m_count = 0;
};

} // namespace

int BarWidth(const TBarSeries& bar, int axisLength) {
    const int n = bar.Count();
    if (n == 0)
        return 0;
    const int slotCount = bar.SideMargins ? n + 1 : n;
    const int c = axisLength / slotCount;
    int w = RoundEven(bar.BarWidthPercent() * 0.01 * c);
    if (w % 2 != 0)
        ++w;
    return w;
}

int MarkRoom(const TSeriesMarks& marks) {
    const QFontMetrics fm(ToQFont(marks.Font));
    return fm.height() + marks.ArrowLength + 2 * FrameWidth(marks) + 1;
}

std::vector<PlacedBar> PlaceBars(const TBarSeries& s, int width, const ChartScene& scene,
                                 bool reduce) {
    std::vector<PlacedBar> placed;
    const int origin = scene.left.ClampedPixel(s.YOrigin, kFarPixels);
    const int offset = RoundEven(s.OffsetPercent() * width * 0.01);
    // Walked run by run rather than by list index: a long series is mostly
    // repeats, and an index has to be looked up in the store.
    int index = 0;
    for (const std::vector<ChartRun>& bucket : s.Points().buckets()) {
        for (const ChartRun& run : bucket) {
            const ChartPoint& p = run.point;
            const int left = scene.bottom.ClampedPixel(p.x, kFarPixels) - width / 2 + offset;
            const PlacedBar bar{left,
                                origin,
                                scene.left.ClampedPixel(p.y, kFarPixels),
                                p.y,
                                index,
                                p.colour == clNone ? s.SeriesColor : p.colour,
                                p.label == 0 ? QString() : s.Label(index)};
            const std::uint32_t times = reduce ? 1 : run.count;
            for (std::uint32_t k = 0; k < times; ++k) {
                placed.push_back(bar);
                placed.back().point = index + static_cast<int>(k);
            }
            index += static_cast<int>(run.count);
        }
    }
    return placed;
}

void AddBars(const TBarSeries& s, int index, int width, const std::vector<PlacedBar>& placed,
             std::vector<SceneItem>& items) {
    const bool solid = s.BarBrush.Style == bsSolid;
    for (const PlacedBar& p : placed) {
        const QColor colour = ToQColor(p.colour);
        const int top = std::min(p.origin, p.end);
        const int bottom = std::max(p.origin, p.end);
        if (width == 0 || top == bottom) {
            if (!solid)
                continue; // an unfilled bar without area leaves no trace
            items.push_back(MakeLine(SceneRole::BarLine,
                                     width == 0 ? QLine(p.left, top, p.left, bottom)
                                                : QLine(p.left, p.end, p.left + width, p.end),
                                     ScenePen{true, colour, 1, false}, index, p.point));
            continue;
        }
        SceneItem item{SceneRole::Bar, SceneShape::Rect};
        item.series = index;
        item.point = p.point;
        item.rect = QRect(p.left, top, width, bottom - top);
        item.filled = solid;
        item.brush = colour;
        item.pen = ToPen(s.BarPen);
        items.push_back(item);
    }
}

void AddBarMarks(const TBarSeries& s, int index, int width, const std::vector<PlacedBar>& placed,
                 const QLocale& locale, std::vector<SceneItem>& items) {
    const TSeriesMarks& marks = s.Marks;
    const QFontMetrics fm(ToQFont(marks.Font));
    const int frame = FrameWidth(marks);
    const int letterW = fm.horizontalAdvance(QLatin1Char('W'));
    for (const PlacedBar& p : placed) {
        const int i = p.point;
        QString text = p.label;
        if (text.isEmpty())
            text = FormatChartValue(p.y, locale);
        const int boxW = fm.horizontalAdvance(text) + letterW + 2 * frame;
        const int boxH = fm.height() + 2 * frame;
        const int middle = p.left + width / 2;
        const bool up = p.y >= s.YOrigin;
        const int boxTop = up ? p.end - marks.ArrowLength - boxH : p.end + marks.ArrowLength + 1;
        const QRect box(middle - boxW / 2, boxTop, boxW, boxH);
        items.push_back(MakeLine(SceneRole::MarkArrow,
                                 QLine(middle, p.end, middle, up ? box.bottom() + 1 : box.top()),
                                 ToPen(marks.Arrow), index, i));
        SceneItem boxItem{SceneRole::MarkBox, SceneShape::Rect};
        boxItem.series = index;
        boxItem.point = i;
        boxItem.rect = box;
        boxItem.filled = !marks.Transparent;
        boxItem.brush = ToQColor(marks.BackColor);
        boxItem.pen = ToPen(marks.Frame);
        items.push_back(boxItem);
        SceneItem textItem = MakeText(SceneRole::MarkText, box, text, marks.Font, Qt::AlignCenter);
        textItem.series = index;
        textItem.point = i;
        items.push_back(textItem);
    }
}

void AddLine(const TLineSeries& s, int index, const ChartScene& scene, bool reduce,
             std::vector<SceneItem>& items) {
    SceneItem item{SceneRole::Line, SceneShape::Segments};
    item.series = index;
    item.pen = ToPen(s.LinePen);
    LineBuilder builder(item, reduce);
    const QRgb seriesColour = ToQColor(s.SeriesColor).rgb();
    // A run of repeats lands on one pixel in one colour. Once a repeat has
    // been added, further ones change nothing: the column's lowest, highest
    // and last points stay what they are.
    for (const std::vector<ChartRun>& bucket : s.Points().buckets()) {
        for (const ChartRun& run : bucket) {
            const ChartPoint& p = run.point;
            int px = 0;
            int py = 0;
            if (!LinePixel(scene.bottom, p.x, px) || !LinePixel(scene.left, p.y, py))
                continue;
            const Colour c = p.colour;
            const PixPoint pix{px, py,
                               c == clNone ? seriesColour : qRgb(RedOf(c), GreenOf(c), BlueOf(c))};
            const std::uint32_t times = reduce ? std::min<std::uint32_t>(run.count, 2) : run.count;
            for (std::uint32_t k = 0; k < times; ++k)
                builder.add(pix);
        }
    }
    builder.flush();
    items.push_back(std::move(item));
}
