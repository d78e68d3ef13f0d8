#include "plot/chart_axes.h"

#include "plot/chart_layout.h"
#include "plot/chart_series_items.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kMinIncrement = 1e-12;

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

// The room the value marks of bar series need above and below the bars.
void MarkMargins(const TCustomChart& chart, int& top, int& bottom) {
    top = bottom = 0;
    for (int i = 0; i < chart.SeriesCount(); ++i) {
        const TChartSeries& s = *chart.SeriesAt(i);
        if (!Shows(s) || !s.IsBar() || !s.Marks.Visible)
            continue;
        const auto& bar = static_cast<const TBarSeries&>(s);
        const int room = MarkRoom(s.Marks);
        if (s.YValues.MaxValue() > bar.YOrigin)
            top = std::max(top, room);
        if (s.YValues.MinValue() < bar.YOrigin)
            bottom = std::max(bottom, room);
    }
}

struct AxisParts {
    std::vector<SceneItem> grid, lines, ticks, labels;
};

void AddAxis(const TChartAxis& axis, const AxisScene& a, const QRect& plot, AxisParts& parts) {
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
                parts.grid.push_back(MakeLine(
                    SceneRole::Grid, QLine(l.pixel, plot.top() + 1, l.pixel, y - 1), gridPen));
            if (tickPen.visible)
                parts.ticks.push_back(
                    MakeLine(SceneRole::Tick,
                             QLine(l.pixel, y + 2, l.pixel, y + 1 + axis.TickLength), tickPen));
            const int w = fm.horizontalAdvance(l.text);
            parts.labels.push_back(
                MakeText(SceneRole::AxisLabel,
                         QRect(l.pixel - w / 2, y + axis.TickLength + 2, w, fm.height()), l.text,
                         axis.LabelsFont, Qt::AlignLeft | Qt::AlignTop));
        }
        if (axis.AxisPen.Visible)
            parts.lines.push_back(MakeLine(
                SceneRole::AxisLine, QLine(plot.left(), y, plot.right(), y), ToPen(axis.AxisPen)));
    } else {
        const int x = plot.left();
        for (const auto& l : a.labels) {
            if (gridPen.visible)
                parts.grid.push_back(MakeLine(
                    SceneRole::Grid, QLine(x + 1, l.pixel, plot.right() - 1, l.pixel), gridPen));
            if (tickPen.visible)
                parts.ticks.push_back(
                    MakeLine(SceneRole::Tick,
                             QLine(x - 1 - axis.TickLength, l.pixel, x - 2, l.pixel), tickPen));
            const int w = fm.horizontalAdvance(l.text);
            const int h = fm.height();
            parts.labels.push_back(MakeText(
                SceneRole::AxisLabel, QRect(x - axis.TickLength - 3 - w, l.pixel - h / 2, w, h),
                l.text, axis.LabelsFont, Qt::AlignLeft | Qt::AlignTop));
        }
        if (axis.AxisPen.Visible)
            parts.lines.push_back(MakeLine(
                SceneRole::AxisLine, QLine(x, plot.top(), x, plot.bottom()), ToPen(axis.AxisPen)));
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
                parts.ticks.push_back(MakeLine(SceneRole::MinorTick, line, minorPen));
            }
        }
    }
}

bool ShowsAxis(const TCustomChart& chart, const TChartAxis& axis) {
    return chart.AxisVisible && chart.SeriesCount() > 0 && axis.Visible;
}

} // namespace

void LayoutAxes(const TCustomChart& chart, QSize size, int top, const QLocale& locale,
                ChartScene& scene) {
    const int w = size.width();
    const int h = size.height();
    int left = w * 3 / 100;
    const int right = w - 1 - w * 3 / 100;
    int bottom = h - 1 - h * 4 / 100;

    scene.axesShown = chart.AxisVisible && chart.SeriesCount() > 0;
    const bool showBottom = ShowsAxis(chart, chart.BottomAxis);
    const bool showLeft = ShowsAxis(chart, chart.LeftAxis);
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
    MarkMargins(chart, marginTop, marginBottom);
    SetRange(chart.LeftAxis, vert, DataExtent(chart, false), marginBottom, marginTop);
    vert.increment = LabelIncrement(chart.LeftAxis, vert, leftFm, locale);
    ValueLabels(chart.LeftAxis, vert, locale);

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
    int marginSide = 0;
    for (int i = 0; i < chart.SeriesCount(); ++i) {
        const TChartSeries& s = *chart.SeriesAt(i);
        if (!s.IsBar())
            continue;
        const auto& bar = static_cast<const TBarSeries&>(s);
        const int bw = BarWidth(bar, horz.length());
        scene.barWidths[static_cast<std::size_t>(i)] = bw;
        if (Shows(s))
            marginSide = std::max(marginSide, bar.SideMargins ? bw : bw / 2);
    }
    SetRange(chart.BottomAxis, horz, DataExtent(chart, true), marginSide, marginSide);
    horz.increment = LabelIncrement(chart.BottomAxis, horz, bottomFm, locale);
    if (const TChartSeries* labelled = LabelledSeries(chart))
        PointLabels(*labelled, horz, bottomFm);
    else
        ValueLabels(chart.BottomAxis, horz, locale);

    scene.plot = QRect(QPoint(left, top), QPoint(right, bottom));
}

std::vector<SceneItem> AxisItems(const TCustomChart& chart, const ChartScene& scene) {
    std::vector<SceneItem> items;
    if (!scene.axesShown)
        return items;
    AxisParts parts;
    if (ShowsAxis(chart, chart.LeftAxis))
        AddAxis(chart.LeftAxis, scene.left, scene.plot, parts);
    if (ShowsAxis(chart, chart.BottomAxis))
        AddAxis(chart.BottomAxis, scene.bottom, scene.plot, parts);
    for (auto* part : {&parts.grid, &parts.lines, &parts.ticks, &parts.labels})
        items.insert(items.end(), part->begin(), part->end());
    return items;
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
