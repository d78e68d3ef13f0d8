#pragma once

// The chart's data model: series with their value lists, axes, title, wall
// and background. No widget and no drawing here; the layout turns a model
// into a scene and the TChart widget paints it.

#include "colour.h"

#include <QString>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <stdexcept>
#include <vector>

// A bad index into one of the chart's lists.
class EListError : public std::runtime_error {
public:
    explicit EListError(int index);
};

// A property set outside its allowed range.
class EChartException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum TChartListOrder { loNone, loAscending, loDescending };
enum TMultiBar { mbNone, mbSide };
enum TBrushStyle { bsSolid, bsClear };
enum TPenStyle { psSolid, psDot };
enum TGradientDirection { gdTopBottom };

struct TChartPen {
    bool Visible = true;
    Colour Color = clBlack;
    int Width = 1;
    TPenStyle Style = psSolid;
};

struct TChartBrush {
    Colour Color = clWhite;
    TBrushStyle Style = bsSolid;
};

// A font as the layout data names it; Height is the character height in
// pixels (the layout data writes it negative, e.g. -11).
struct TChartFont {
    QString Name = QStringLiteral("Arial");
    int Height = 11; // size 8 at 96 dpi
    Colour Color = clBlack;
    bool Bold = false;
};

// A list stored in blocks, so that inserting in the middle of a long list
// moves at most one block instead of everything behind the insertion point.
// Repeated spectrum presses insert each new point far from the end.
template <class T>
class ChunkedList {
public:
    static constexpr std::size_t kMaxBlock = 1024;

    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }

    const T& at(std::size_t index) const {
        const std::size_t b = blockOf(index);
        return m_blocks[b][index - m_starts[b]];
    }
    const T& back() const { return m_blocks.back().back(); }

    void insert(std::size_t index, T value) {
        if (m_blocks.empty()) {
            m_blocks.emplace_back();
            m_blocks.back().reserve(kMaxBlock);
            m_starts.push_back(0);
        }
        std::size_t b = index >= m_size ? m_blocks.size() - 1 : blockOf(index);
        std::vector<T>& block = m_blocks[b];
        block.insert(block.begin() + static_cast<std::ptrdiff_t>(index - m_starts[b]),
                     std::move(value));
        for (std::size_t i = b + 1; i < m_starts.size(); ++i)
            ++m_starts[i];
        ++m_size;
        if (block.size() >= 2 * kMaxBlock)
            split(b);
    }

    // Calls f(const T&) for every element in order.
    template <class F>
    void forEach(F&& f) const {
        for (const std::vector<T>& block : m_blocks)
            for (const T& v : block)
                f(v);
    }
    const std::vector<std::vector<T>>& blocks() const { return m_blocks; }

    // Index of the first element greater than x in a list sorted ascending
    // (or, with `descending`, of the first element less than x).
    std::size_t upperBound(const T& x, bool descending) const {
        auto after = [&](const T& v) { return descending ? v < x : x < v; };
        // first block whose last element comes after x
        std::size_t lo = 0, hi = m_blocks.size();
        while (lo < hi) {
            const std::size_t mid = (lo + hi) / 2;
            if (after(m_blocks[mid].back()))
                hi = mid;
            else
                lo = mid + 1;
        }
        if (lo == m_blocks.size())
            return m_size;
        const std::vector<T>& block = m_blocks[lo];
        const auto it =
            std::partition_point(block.begin(), block.end(), [&](const T& v) { return !after(v); });
        return m_starts[lo] + static_cast<std::size_t>(it - block.begin());
    }

private:
    std::size_t blockOf(std::size_t index) const {
        if (index >= m_size)
            throw EListError(static_cast<int>(index));
        const auto it = std::upper_bound(m_starts.begin(), m_starts.end(), index);
        return static_cast<std::size_t>(it - m_starts.begin()) - 1;
    }
    void split(std::size_t b) {
        std::vector<T> tail(std::make_move_iterator(m_blocks[b].begin() + kMaxBlock),
                            std::make_move_iterator(m_blocks[b].end()));
        m_blocks[b].resize(kMaxBlock);
        tail.reserve(kMaxBlock);
        m_blocks.insert(m_blocks.begin() + static_cast<std::ptrdiff_t>(b) + 1, std::move(tail));
        m_starts.insert(m_starts.begin() + static_cast<std::ptrdiff_t>(b) + 1,
                        m_starts[b] + kMaxBlock);
    }

    std::vector<std::vector<T>> m_blocks;
    std::vector<std::size_t> m_starts; // index of each block's first element
    std::size_t m_size = 0;
};

// One list of values of a series (its x or its y values).
class TChartValueList {
public:
    explicit TChartValueList(QString name, TChartListOrder order)
        : Name(std::move(name)), Order(order) {}

    QString Name;
    TChartListOrder Order;
    double Multiplier = 1;
    bool DateTime = false;

    int Count() const { return static_cast<int>(m_values.size()); }
    double Value(int index) const;
    // Smallest and largest value; 0 for an empty list.
    double MinValue() const { return m_values.empty() ? 0 : m_min; }
    double MaxValue() const { return m_values.empty() ? 0 : m_max; }

    // Where a new value goes by Order: after every value it does not
    // precede, so equal values keep the order in which they came.
    int PlaceFor(double value) const;
    void InsertAt(int index, double value);

    const ChunkedList<double>& Values() const { return m_values; }

private:
    ChunkedList<double> m_values;
    // Kept up to date on every insertion: a point only ever widens the range,
    // so a long series never has to be walked to find it again.
    double m_min = 0;
    double m_max = 0;
};

struct TSeriesMarks {
    bool Visible = false;
    enum Kind { smsLabel } Style = smsLabel;
    Colour BackColor = 0x80FFFF;
    bool Transparent = false;
    TChartFont Font;
    int ArrowLength = 8;
    TChartPen Frame;
    TChartPen Arrow{true, clWhite, 1, psSolid};
    bool Clip = false;
};

struct TSeriesPointer {
    bool Visible = false;
};

class TCustomChart;

class TChartSeries {
public:
    virtual ~TChartSeries() = default;
    TChartSeries(const TChartSeries&) = delete;
    TChartSeries& operator=(const TChartSeries&) = delete;

    // Adds a point where its x value belongs and returns its index.
    int AddPoint(double x, double y, const QString& label, Colour colour);

    int Count() const { return XValues.Count(); }
    double XValue(int index) const { return XValues.Value(index); }
    double YValue(int index) const { return YValues.Value(index); }
    Colour ValueColor(int index) const; // the colour a point is drawn in
    QString Label(int index) const;

    const ChunkedList<Colour>& Colours() const { return m_colours; }
    const ChunkedList<QString>& Labels() const { return m_labels; }

    virtual bool IsBar() const { return false; }

    TChartValueList XValues{QStringLiteral("X"), loAscending};
    TChartValueList YValues;
    Colour SeriesColor = clRed;
    bool Active = true;
    QString ValueFormat = QStringLiteral("#,##0.###");
    TSeriesMarks Marks;
    QString Name;

    TCustomChart* ParentChart() const { return m_chart; }

protected:
    explicit TChartSeries(QString yName) : YValues(std::move(yName), loNone) {}

private:
    friend class TCustomChart;
    TCustomChart* m_chart = nullptr;
    ChunkedList<Colour> m_colours;
    ChunkedList<QString> m_labels;
};

class TBarSeries : public TChartSeries {
public:
    TBarSeries();
    bool IsBar() const override { return true; }

    int BarWidthPercent() const { return m_barWidthPercent; }
    void SetBarWidthPercent(int value);
    int OffsetPercent() const { return m_offsetPercent; }
    void SetOffsetPercent(int value);

    TMultiBar MultiBar = mbSide;
    TChartBrush BarBrush;
    TChartPen BarPen;
    bool UseYOrigin = true;
    double YOrigin = 0;
    bool SideMargins = true;

private:
    int m_barWidthPercent = 70;
    int m_offsetPercent = 0;
};

class TLineSeries : public TChartSeries {
public:
    TLineSeries() : TChartSeries(QStringLiteral("Y")) {}
    TChartPen LinePen;
    TSeriesPointer Pointer;
};

struct TChartAxis {
    bool Automatic = true;
    bool AutomaticMinimum = true;
    bool AutomaticMaximum = true;
    double Minimum = 0; // used when not automatic
    double Maximum = 0;
    double Increment = 0;
    int LabelsSeparation = 10; // per cent of the label size
    QString AxisValuesFormat = QStringLiteral("#,##0.###");
    bool RoundFirstLabel = true;
    bool LabelsOnAxis = true;
    TChartFont LabelsFont;
    TChartPen AxisPen{true, clBlack, 2, psSolid};
    TChartPen Grid{true, clGray, 1, psDot};
    TChartPen Ticks{true, clGray, 1, psSolid};
    int TickLength = 4;
    TChartPen MinorTicks{true, clGray, 1, psSolid};
    int MinorTickLength = 2;
    int MinorTickCount = 3;
    bool TickOnLabelsOnly = true;
    bool Visible = true;
};

struct TChartGradient {
    bool Visible = false;
    TGradientDirection Direction = gdTopBottom;
    Colour StartColor = clWhite;
    Colour EndColor = clYellow;
};

struct TChartWall {
    TChartPen Pen;
    TChartBrush Brush;
};

struct TChartTitle {
    QString Text;
    bool Visible = true;
    TChartFont Font{QStringLiteral("Arial"), 11, clBlack, false};
};

struct TChartLegend {
    bool Visible = true;
};

class TCustomChart {
public:
    TCustomChart() = default;
    virtual ~TCustomChart();
    TCustomChart(const TCustomChart&) = delete;
    TCustomChart& operator=(const TCustomChart&) = delete;

    TChartSeries* SeriesAt(int index) const;
    int SeriesCount() const { return static_cast<int>(m_series.size()); }

    // Appends a series to the series list; the chart owns it.
    template <class S>
    S* AddSeries() {
        auto series = std::make_unique<S>();
        S* raw = series.get();
        raw->m_chart = this;
        m_series.push_back(std::move(series));
        Invalidate();
        return raw;
    }

    // Asks for a repaint; the widget serves it from the event loop.
    virtual void Invalidate() {}

    TChartAxis BottomAxis;
    TChartAxis LeftAxis;
    bool AxisVisible = true;
    bool View3D = true;
    bool ClipPoints = true;
    bool AllowZoom = true;
    bool AllowPanning = true;
    TChartGradient Gradient;
    TChartWall BackWall;
    TChartTitle Title;
    TChartLegend Legend;

private:
    std::vector<std::unique_ptr<TChartSeries>> m_series;
};
