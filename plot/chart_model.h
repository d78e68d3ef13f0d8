#pragma once

// The chart's data model: series with their value lists, axes, title, wall
// and background. No widget and no drawing here; the layout turns a model
// into a scene and the TChart widget paints it.

#include "codes/colour.h"

#include <QString>

#include <cstddef>
#include <cstdint>
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

// One point of a series. `label` is 0 for the usual empty label, else one
// more than the label's index in the series' label table.
struct ChartPoint {
    double x;
    double y;
    Colour colour;
    std::int32_t label;
};

// A point and how many times in a row it was added. Each "Спектр" press
// appends the same 200 points again, so a long series is mostly repeats.
struct ChartRun {
    ChartPoint point;
    std::uint32_t count;
};

// The points of a series in their list order. Points with equal x are
// kept together in one bucket, in the order they came, and the buckets are
// sorted by x: a new point goes to the end of its x's bucket, which is just
// where the walk back from the end of the list would stop. Within a bucket
// a point equal in every bit to the one before it only counts one more
// repeat. A tree of bucket sizes turns a bucket into a list index and back.
class ChartPointStore {
public:
    static constexpr std::size_t kMaxRuns = 256; // per bucket of unordered points
    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    ChartPoint at(std::size_t index) const;

    // Adds a point where `order` puts it by its x and returns its index.
    // The order must not change once points are stored.
    std::size_t add(const ChartPoint& point, TChartListOrder order);

    // The buckets in list order, each a list of runs; with loNone one
    // bucket holds everything.
    const std::vector<std::vector<ChartRun>>& buckets() const { return m_buckets; }

private:
    std::size_t before(std::size_t bucket) const; // points in buckets [0, bucket)
    void appendTo(std::size_t bucket, const ChartPoint& point);
    void appendBucket(const ChartPoint& point);
    void insertBucket(std::size_t bucket, const ChartPoint& point);
    void rebuildTree();

    std::vector<double> m_keys; // each bucket's x
    std::vector<std::vector<ChartRun>> m_buckets;
    std::vector<std::size_t> m_tree; // Fenwick tree over bucket sizes, 1-based
    std::size_t m_size = 0;
    std::size_t m_recent = 0; // the bucket the last point went into
};

// One list of values of a series (its x or its y values): a view of the
// series' points with the list's own properties and range.
class TChartValueList {
public:
    TChartValueList(const ChartPointStore& points, double ChartPoint::*member, QString name,
                    TChartListOrder order)
        : Name(std::move(name)), m_order(order), m_points(points), m_member(member) {}
    TChartValueList(const TChartValueList&) = delete;
    TChartValueList& operator=(const TChartValueList&) = delete;

    QString Name;
    double Multiplier = 1;
    bool DateTime = false;

    // The order decides where a new point goes; the points already stored
    // are kept in it, so it can be set only while the list is empty.
    TChartListOrder Order() const { return m_order; }
    void SetOrder(TChartListOrder order);

    int Count() const { return static_cast<int>(m_points.size()); }
    double Value(int index) const;
    // Smallest and largest value; 0 for an empty list.
    double MinValue() const { return m_any ? m_min : 0; }
    double MaxValue() const { return m_any ? m_max : 0; }

private:
    friend class TChartSeries;
    // Takes note of a value that its series has just inserted.
    void Inserted(double value);

    TChartListOrder m_order;
    const ChartPointStore& m_points;
    double ChartPoint::*m_member;
    // Kept up to date on every insertion: a point only ever widens the range,
    // so a long series never has to be walked to find it again.
    bool m_any = false;
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

    const ChartPointStore& Points() const { return m_points; }

    virtual bool IsBar() const { return false; }

private:
    ChartPointStore m_points; // before the value lists, which view it

public:
    TChartValueList XValues{m_points, &ChartPoint::x, QStringLiteral("X"), loAscending};
    TChartValueList YValues;
    Colour SeriesColor = clRed;
    bool Active = true;
    QString ValueFormat = QStringLiteral("#,##0.###");
    TSeriesMarks Marks;
    QString Name;

    TCustomChart* ParentChart() const { return m_chart; }

protected:
    explicit TChartSeries(QString yName)
        : YValues(m_points, &ChartPoint::y, std::move(yName), loNone) {}

private:
    friend class TCustomChart;
    TCustomChart* m_chart = nullptr;
    std::vector<QString> m_labelTexts; // the non-empty labels, by ChartPoint::label - 1
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

// A text laid on the chart as one of its child controls, such as an axis
// caption. It is no series and takes no index; the chart draws it last, over
// everything else, at its place in pixels from the chart's top-left corner,
// as large as its text.
struct TChartCaption {
    QString Text;
    int Left = 0;
    int Top = 0;
    TChartFont Font;
    Colour Color = clBtnFace; // the background, unless Transparent
    bool Transparent = false;
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
    std::vector<TChartCaption> Captions;

private:
    std::vector<std::unique_ptr<TChartSeries>> m_series;
};
