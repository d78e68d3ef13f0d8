#include "plot/chart_layout.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kMinIncrement = 1e-12;
// Pixels farther out than this are left out of a line: the drawing system
// takes coordinates of 16 bits.
constexpr int kMaxLinePixel = 32766;

struct Extent {
    bool any = false;
    double minimum = 0;
    double maximum = 0;
    void add(double lo, double hi) {
        if (!any) {
            minimum = lo;
            maximum = hi;
            any = true;
        } else {
            minimum = std::min(minimum, lo);
            maximum = std::max(maximum, hi);
        }
    }
};

bool Shows(const TChartSeries& s) {
    return s.Active && s.Count() > 0;
}

Extent DataExtent(const TCustomChart& chart, bool horizontal) {
    Extent e;
    for (int i = 0; i < chart.SeriesCount(); ++i) {
        const TChartSeries& s = *chart.SeriesAt(i);
        if (!Shows(s))
            continue;
        if (horizontal) {
            e.add(s.XValues.MinValue(), s.XValues.MaxValue());
        } else {
            double lo = s.YValues.MinValue();
            double hi = s.YValues.MaxValue();
            if (s.IsBar()) {
                const auto& bar = static_cast<const TBarSeries&>(s);
                if (bar.UseYOrigin) {
                    lo = std::min(lo, bar.YOrigin);
                    hi = std::max(hi, bar.YOrigin);
                }
            }
            e.add(lo, hi);
        }
    }
    return e;
}

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

// Widens [lo, hi] so that the data occupies the axis less the margins.
void ApplyMargins(double& lo, double& hi, int length, int marginLow, int marginHigh) {
    const int inner = length - marginLow - marginHigh;
    if (inner <= 0 || (marginLow == 0 && marginHigh == 0))
        return;
    const double perPixel = (hi - lo) / inner;
    const double newLo = lo - marginLow * perPixel;
    const double newHi = hi + marginHigh * perPixel;
    lo = newLo;
    hi = newHi;
}

int TextExtent(const QFontMetrics& fm, const QString& text, bool horizontal) {
    if (horizontal)
        return fm.horizontalAdvance(text);
    const int lines = static_cast<int>(text.count(QLatin1Char('\n'))) + 1;
    return fm.height() * lines;
}

double LabelIncrement(const TChartAxis& axis, const AxisScene& a, const QFontMetrics& fm,
                      const QLocale& locale) {
    const double range = a.range();
    const int s = std::max(TextExtent(fm, FormatChartValue(a.minimum, locale), a.horizontal),
                           TextExtent(fm, FormatChartValue(a.maximum, locale), a.horizontal));
    int fit = 1;
    if (s > 0)
        fit = RoundEven(static_cast<double>(a.length()) /
                        (s + RoundEven(axis.LabelsSeparation * s / 100.0)));
    if (fit < 1)
        return kMinIncrement;
    double inc = axis.Increment > 0 ? axis.Increment : (std::fabs(range) >= 1 ? 1 : kMinIncrement);
    if (axis.LabelsSeparation > 0) {
        // The 1-2-5 series climbs a decade in three steps, so even the widest
        // range of doubles ends this loop within a few thousand steps.
        for (int guard = 0; guard < 4000; ++guard) {
            const double q = range / inc;
            if (std::fabs(q) < 2147483647.0 && RoundEven(q) <= fit)
                break;
            inc = NextIncrement(inc);
        }
    }
    return std::max(inc, kMinIncrement);
}

void ValueLabels(const TChartAxis& axis, AxisScene& a, const QLocale& locale) {
    a.labels.clear();
    const double inc = a.increment;
    const double range = a.range();
    if (!(std::fabs(range / inc) < 10000))
        return;
    double first = a.maximum;
    if (a.minimum != a.maximum && axis.RoundFirstLabel)
        first = std::trunc(a.maximum / inc) * inc;
    // An increment below the resolution of the maximum cannot lower it, so
    // the walk is bounded.
    for (int guard = 0; first > a.maximum && guard < 4; ++guard)
        first -= inc;
    if (first > a.maximum)
        first = a.maximum;
    const double limit = (a.minimum - 1e-12) / 1.000000000001;
    // An empty range with a tiny increment repeats the same label many
    // times at the same pixel; one is enough, and the walk is bounded.
    for (int k = 0; k < 100000; ++k) {
        const double v = first - k * inc;
        if (!(v >= limit))
            break;
        AxisScene::Label label{v, a.Pixel(v), FormatChartValue(v, locale)};
        if (!a.labels.empty() && a.labels.back().pixel == label.pixel &&
            a.labels.back().text == label.text)
            continue;
        a.labels.push_back(std::move(label));
    }
}

// The horizontal axis shows the points' own labels when the first point
// of the first series with points carries one.
const TChartSeries* LabelledSeries(const TCustomChart& chart) {
    for (int i = 0; i < chart.SeriesCount(); ++i) {
        const TChartSeries& s = *chart.SeriesAt(i);
        if (Shows(s))
            return s.Label(0).isEmpty() ? nullptr : &s;
    }
    return nullptr;
}

void PointLabels(const TChartSeries& s, AxisScene& a, const QFontMetrics& fm) {
    a.labels.clear();
    int lastRight = std::numeric_limits<int>::min();
    for (int i = 0; i < s.Count(); ++i) {
        const QString text = s.Label(i);
        const double x = s.XValue(i);
        if (text.isEmpty() || x < a.minimum || x > a.maximum)
            continue;
        const int p = a.Pixel(x);
        const int w = fm.horizontalAdvance(text);
        if (p - w / 2 <= lastRight)
            continue; // would overlap the label before it
        lastRight = p - w / 2 + w;
        a.labels.push_back({x, p, text});
    }
}

ScenePen ToPen(const TChartPen& pen) {
    return ScenePen{pen.Visible, ToQColor(pen.Color), pen.Width, pen.Style == psDot};
}

SceneItem MakeLine(SceneRole role, QLine line, ScenePen pen, int series = -1, int point = -1) {
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

struct PixPoint {
    int x;
    int y;
    QRgb colour;
};

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

void AddLineSeries(const TLineSeries& s, int index, const ChartScene& scene, bool reduce,
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
            const int px = scene.bottom.Pixel(p.x);
            const int py = scene.left.Pixel(p.y);
            if (px < -kMaxLinePixel || px > kMaxLinePixel || py < -kMaxLinePixel ||
                py > kMaxLinePixel)
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

void AddBarSeries(const TBarSeries& s, int index, int width, const ChartScene& scene,
                  const QLocale& locale, std::vector<SceneItem>& items) {
    const int origin = scene.left.Pixel(s.YOrigin);
    const bool solid = s.BarBrush.Style == bsSolid;
    struct Placed {
        int left;
        int end; // pixel of the bar's value
        double y;
    };
    std::vector<Placed> placed;
    placed.reserve(static_cast<std::size_t>(s.Count()));
    const int offset = RoundEven(s.OffsetPercent() * width * 0.01);
    for (int i = 0; i < s.Count(); ++i) {
        const double y = s.YValue(i);
        const int left = scene.bottom.Pixel(s.XValue(i)) - width / 2 + offset;
        const int end = scene.left.Pixel(y);
        placed.push_back({left, end, y});
        const QColor colour = ToQColor(s.ValueColor(i));
        const int top = std::min(origin, end);
        const int bottom = std::max(origin, end);
        if (width == 0 || top == bottom) {
            if (!solid)
                continue; // an unfilled bar without area leaves no trace
            SceneItem item = MakeLine(SceneRole::BarLine,
                                      width == 0 ? QLine(left, top, left, bottom)
                                                 : QLine(left, end, left + width, end),
                                      ScenePen{true, colour, 1, false}, index, i);
            items.push_back(item);
            continue;
        }
        SceneItem item{SceneRole::Bar, SceneShape::Rect};
        item.series = index;
        item.point = i;
        item.rect = QRect(left, top, width, bottom - top);
        item.filled = solid;
        item.brush = colour;
        item.pen = ToPen(s.BarPen);
        items.push_back(item);
    }
    if (!s.Marks.Visible)
        return;
    const TSeriesMarks& marks = s.Marks;
    const QFontMetrics fm(ToQFont(marks.Font));
    const int frame = marks.Frame.Visible ? marks.Frame.Width : 0;
    const int letterW = fm.horizontalAdvance(QLatin1Char('W'));
    if (marks.Clip) {
        SceneItem clip{SceneRole::ClipBegin, SceneShape::Clip};
        clip.rect = scene.plot;
        items.push_back(clip);
    }
    for (int i = 0; i < s.Count(); ++i) {
        const Placed& p = placed[static_cast<std::size_t>(i)];
        QString text = s.Label(i);
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
    if (marks.Clip)
        items.push_back(SceneItem{SceneRole::ClipEnd, SceneShape::Unclip});
}

void AddAxis(const TChartAxis& axis, const AxisScene& a, const QRect& plot,
             std::vector<SceneItem>& grid, std::vector<SceneItem>& lines,
             std::vector<SceneItem>& ticks, std::vector<SceneItem>& labels) {
    const QFontMetrics fm(ToQFont(axis.LabelsFont));
    const ScenePen gridPen = ToPen(axis.Grid);
    const ScenePen tickPen = ToPen(axis.Ticks);
    const ScenePen minorPen = ToPen(axis.MinorTicks);
    // Ticks stand outside the axis line, which is two pixels wide and lies
    // on the plot rectangle's edge and the pixel outside it.
    if (a.horizontal) {
        const int y = plot.bottom();
        for (const auto& l : a.labels) {
            if (gridPen.visible)
                grid.push_back(MakeLine(SceneRole::Grid,
                                        QLine(l.pixel, plot.top() + 1, l.pixel, y - 1), gridPen));
            if (tickPen.visible)
                ticks.push_back(MakeLine(SceneRole::Tick,
                                         QLine(l.pixel, y + 2, l.pixel, y + 1 + axis.TickLength),
                                         tickPen));
            const int w = fm.horizontalAdvance(l.text);
            labels.push_back(
                MakeText(SceneRole::AxisLabel,
                         QRect(l.pixel - w / 2, y + axis.TickLength + 2, w, fm.height()), l.text,
                         axis.LabelsFont, Qt::AlignLeft | Qt::AlignTop));
        }
        if (axis.AxisPen.Visible)
            lines.push_back(MakeLine(SceneRole::AxisLine, QLine(plot.left(), y, plot.right(), y),
                                     ToPen(axis.AxisPen)));
    } else {
        const int x = plot.left();
        for (const auto& l : a.labels) {
            if (gridPen.visible)
                grid.push_back(MakeLine(SceneRole::Grid,
                                        QLine(x + 1, l.pixel, plot.right() - 1, l.pixel), gridPen));
            if (tickPen.visible)
                ticks.push_back(MakeLine(SceneRole::Tick,
                                         QLine(x - 1 - axis.TickLength, l.pixel, x - 2, l.pixel),
                                         tickPen));
            const int w = fm.horizontalAdvance(l.text);
            const int h = fm.height();
            labels.push_back(MakeText(SceneRole::AxisLabel,
                                      QRect(x - axis.TickLength - 3 - w, l.pixel - h / 2, w, h),
                                      l.text, axis.LabelsFont, Qt::AlignLeft | Qt::AlignTop));
        }
        if (axis.AxisPen.Visible)
            lines.push_back(MakeLine(SceneRole::AxisLine, QLine(x, plot.top(), x, plot.bottom()),
                                     ToPen(axis.AxisPen)));
    }
    // Minor ticks divide each interval between two neighbouring labels.
    if (minorPen.visible && axis.MinorTickCount > 0) {
        for (std::size_t i = 1; i < a.labels.size(); ++i) {
            const double hi = a.labels[i - 1].value;
            const double lo = a.labels[i].value;
            for (int k = 1; k <= axis.MinorTickCount; ++k) {
                const int p = a.Pixel(lo + (hi - lo) * k / (axis.MinorTickCount + 1));
                const QLine line =
                    a.horizontal
                        ? QLine(p, plot.bottom() + 2, p, plot.bottom() + 1 + axis.MinorTickLength)
                        : QLine(plot.left() - 1 - axis.MinorTickLength, p, plot.left() - 2, p);
                ticks.push_back(MakeLine(SceneRole::MinorTick, line, minorPen));
            }
        }
    }
}

void SetRange(const TChartAxis& axis, AxisScene& a, const Extent& data, int marginLow,
              int marginHigh) {
    if (!axis.Automatic) {
        a.minimum = axis.Minimum;
        a.maximum = axis.Maximum;
        return;
    }
    double lo = data.any ? data.minimum : 0;
    double hi = data.any ? data.maximum : 0;
    ApplyMargins(lo, hi, a.length(), marginLow, marginHigh);
    a.minimum = axis.AutomaticMinimum ? lo : axis.Minimum;
    a.maximum = axis.AutomaticMaximum ? hi : axis.Maximum;
}

} // namespace

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

QString FormatChartValue(double value, const QLocale& locale) {
    if (!std::isfinite(value))
        return QString::number(value);
    QString text = locale.toString(value, 'f', 3);
    const QString point = locale.decimalPoint();
    const qsizetype dot = text.lastIndexOf(point);
    if (dot >= 0) {
        qsizetype end = text.size();
        while (end > dot + point.size() && text.at(end - 1) == locale.zeroDigit().at(0))
            --end;
        if (end == dot + point.size())
            end = dot;
        text.truncate(end);
    }
    // A value that rounds to nothing is "0", whatever its sign.
    if (std::fabs(value) < 0.0005)
        return locale.toString(0);
    return text;
}

double NextIncrement(double value) {
    if (!(value > 0) || !std::isfinite(value))
        return 1;
    // Split value into mantissa m in [1, 10) and a decade; a mantissa within
    // rounding error of a decade boundary counts as that boundary.
    int decade = static_cast<int>(std::floor(std::log10(value)));
    double m = value / std::pow(10.0, decade);
    if (m >= 10 * (1 - 1e-9)) {
        m /= 10;
        ++decade;
    } else if (m < 1 * (1 - 1e-9)) {
        m *= 10;
        --decade;
    }
    double next;
    if (m < 2 * (1 - 1e-9))
        next = 2;
    else if (m < 5 * (1 - 1e-9))
        next = 5;
    else
        next = 10;
    const double scale = std::pow(10.0, std::abs(decade));
    return decade >= 0 ? next * scale : next / scale;
}

double AxisScene::Value(int pixel) const {
    if (length() == 0)
        return minimum;
    const double along = horizontal ? pixel - start : end - pixel;
    return minimum + along * range() / length();
}

ChartScene LayoutChart(const TCustomChart& chart, QSize size, const ChartLayoutOptions& options) {
    ChartScene scene;
    scene.size = size;
    const int w = size.width();
    const int h = size.height();
    std::vector<SceneItem>& items = scene.items;
    AddBackground(chart, size, items);

    int left = w * 3 / 100;
    int right = w - 1 - w * 3 / 100;
    int top = h * 4 / 100;
    int bottom = h - 1 - h * 4 / 100;

    if (chart.Title.Visible && !chart.Title.Text.isEmpty()) {
        const QFontMetrics fm(ToQFont(chart.Title.Font));
        items.push_back(MakeText(SceneRole::Title, QRect(0, top, w, fm.height()), chart.Title.Text,
                                 chart.Title.Font, Qt::AlignHCenter | Qt::AlignTop));
        top += fm.height() + 3;
    }

    scene.axesShown = chart.AxisVisible && chart.SeriesCount() > 0;
    const bool showBottom = scene.axesShown && chart.BottomAxis.Visible;
    const bool showLeft = scene.axesShown && chart.LeftAxis.Visible;
    const QFontMetrics bottomFm(ToQFont(chart.BottomAxis.LabelsFont));
    const QFontMetrics leftFm(ToQFont(chart.LeftAxis.LabelsFont));
    if (showBottom)
        bottom -= chart.BottomAxis.TickLength + 2 + bottomFm.height();

    // The vertical axis first: its labels decide how much room the left
    // side needs, and that decides the horizontal axis' length.
    AxisScene& vert = scene.left;
    vert.horizontal = false;
    vert.start = top;
    vert.end = bottom;
    int marginTop = 0;
    int marginBottom = 0;
    for (int i = 0; i < chart.SeriesCount(); ++i) {
        const TChartSeries& s = *chart.SeriesAt(i);
        if (!Shows(s) || !s.IsBar() || !s.Marks.Visible)
            continue;
        const auto& bar = static_cast<const TBarSeries&>(s);
        const QFontMetrics fm(ToQFont(s.Marks.Font));
        const int frame = s.Marks.Frame.Visible ? s.Marks.Frame.Width : 0;
        const int room = fm.height() + s.Marks.ArrowLength + 2 * frame + 1;
        if (s.YValues.MaxValue() > bar.YOrigin)
            marginTop = std::max(marginTop, room);
        if (s.YValues.MinValue() < bar.YOrigin)
            marginBottom = std::max(marginBottom, room);
    }
    SetRange(chart.LeftAxis, vert, DataExtent(chart, false), marginBottom, marginTop);
    vert.increment = LabelIncrement(chart.LeftAxis, vert, leftFm, options.locale);
    ValueLabels(chart.LeftAxis, vert, options.locale);

    if (showLeft) {
        int widest = 0;
        for (const auto& l : vert.labels)
            widest = std::max(widest, leftFm.horizontalAdvance(l.text));
        left += widest + chart.LeftAxis.TickLength + 3;
    }

    AxisScene& horz = scene.bottom;
    horz.horizontal = true;
    horz.start = left;
    horz.end = right;
    scene.barWidths.assign(static_cast<std::size_t>(chart.SeriesCount()), 0);
    int marginLeft = 0;
    int marginRight = 0;
    for (int i = 0; i < chart.SeriesCount(); ++i) {
        const TChartSeries& s = *chart.SeriesAt(i);
        if (!s.IsBar())
            continue;
        const auto& bar = static_cast<const TBarSeries&>(s);
        const int bw = BarWidth(bar, horz.length());
        scene.barWidths[static_cast<std::size_t>(i)] = bw;
        if (!Shows(s))
            continue;
        const int room = bar.SideMargins ? bw : bw / 2;
        marginLeft = std::max(marginLeft, room);
        marginRight = std::max(marginRight, room);
    }
    SetRange(chart.BottomAxis, horz, DataExtent(chart, true), marginLeft, marginRight);
    horz.increment = LabelIncrement(chart.BottomAxis, horz, bottomFm, options.locale);
    if (const TChartSeries* labelled = LabelledSeries(chart))
        PointLabels(*labelled, horz, bottomFm);
    else
        ValueLabels(chart.BottomAxis, horz, options.locale);

    scene.plot = QRect(QPoint(left, top), QPoint(right, bottom));

    SceneItem wall{SceneRole::BackWall, SceneShape::Rect};
    wall.rect = scene.plot;
    wall.pen = ToPen(chart.BackWall.Pen);
    wall.filled = chart.BackWall.Brush.Style == bsSolid;
    wall.brush = ToQColor(chart.BackWall.Brush.Color);
    items.push_back(wall);

    if (scene.axesShown) {
        std::vector<SceneItem> grid, lines, ticks, labels;
        if (showLeft)
            AddAxis(chart.LeftAxis, vert, scene.plot, grid, lines, ticks, labels);
        if (showBottom)
            AddAxis(chart.BottomAxis, horz, scene.plot, grid, lines, ticks, labels);
        for (auto* part : {&grid, &lines, &ticks, &labels})
            items.insert(items.end(), part->begin(), part->end());
    }

    for (int i = 0; i < chart.SeriesCount(); ++i) {
        const TChartSeries& s = *chart.SeriesAt(i);
        if (!Shows(s))
            continue;
        if (chart.ClipPoints) {
            SceneItem clip{SceneRole::ClipBegin, SceneShape::Clip};
            clip.rect = scene.plot;
            clip.series = i;
            items.push_back(clip);
        }
        // Marks clip themselves (or not) on their own, so the series' clip
        // ends before them.
        std::vector<SceneItem> own;
        if (s.IsBar())
            AddBarSeries(static_cast<const TBarSeries&>(s), i,
                         scene.barWidths[static_cast<std::size_t>(i)], scene, options.locale, own);
        else
            AddLineSeries(static_cast<const TLineSeries&>(s), i, scene, options.reduceLines, own);
        auto markStart = std::find_if(own.begin(), own.end(), [](const SceneItem& it) {
            return it.role == SceneRole::MarkArrow || it.role == SceneRole::ClipBegin;
        });
        items.insert(items.end(), std::make_move_iterator(own.begin()),
                     std::make_move_iterator(markStart));
        if (chart.ClipPoints)
            items.push_back(SceneItem{SceneRole::ClipEnd, SceneShape::Unclip, i});
        items.insert(items.end(), std::make_move_iterator(markStart),
                     std::make_move_iterator(own.end()));
    }
    return scene;
}

namespace {

QPen ToQPen(const ScenePen& p) {
    QPen pen(p.colour);
    pen.setWidth(p.width);
    if (p.width > 1)
        pen.setCapStyle(Qt::FlatCap);
    if (p.dotted)
        pen.setDashPattern({1.0, 1.0});
    return pen;
}

} // namespace

void PaintScene(QPainter& painter, const ChartScene& scene) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const SceneItem& item : scene.items) {
        switch (item.shape) {
        case SceneShape::FillRect:
            painter.fillRect(item.rect, item.brush);
            break;
        case SceneShape::Rect:
            if (item.filled)
                painter.fillRect(item.rect, item.brush);
            if (item.pen.visible && item.rect.width() > 0 && item.rect.height() > 0) {
                painter.setPen(ToQPen(item.pen));
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(item.rect.adjusted(0, 0, -1, -1));
            }
            break;
        case SceneShape::Line:
            if (item.pen.visible) {
                painter.setPen(ToQPen(item.pen));
                painter.drawLine(item.line);
            }
            break;
        case SceneShape::Segments: {
            if (!item.pen.visible)
                break;
            QPen pen = ToQPen(item.pen);
            QRgb current = 0;
            bool set = false;
            for (std::size_t k = 1; k < item.points.size(); ++k) {
                const QRgb c = item.colours[k].rgb();
                if (!set || c != current) {
                    pen.setColor(item.colours[k]);
                    painter.setPen(pen);
                    current = c;
                    set = true;
                }
                painter.drawLine(item.points[k - 1], item.points[k]);
            }
            break;
        }
        case SceneShape::Text:
            painter.setFont(item.font);
            painter.setPen(item.pen.colour);
            painter.drawText(item.rect, item.alignment | Qt::TextDontClip, item.text);
            break;
        case SceneShape::Clip:
            painter.setClipRect(item.rect);
            break;
        case SceneShape::Unclip:
            painter.setClipping(false);
            break;
        }
    }
}

QImage RenderChart(const TCustomChart& chart, QSize size, const ChartLayoutOptions& options) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintScene(painter, LayoutChart(chart, size, options));
    return image;
}
