#include "workbench/designed_charts.h"

namespace {

constexpr MarkLayout kNoMarks{nullptr, 0, false, 0};
constexpr MarkLayout kBookmanMarks{"Bookman Old Style", 19, true, 20};

// One row per chart: which, window, chart, kind, designed width and height,
// axes shown; for signal charts the line signal's OffsetPercent, whether a
// source series exists, its BarWidthPercent, OffsetPercent and marks; the
// series names in list order; the left edge of the "fT" caption.
// clang-format off
constexpr DesignedChartValues kCharts[kDesignedChartCount] = {
    {DesignedChart::CspPitSignal, "TCSP", "Chart1", ChartKind::Signal, 441, 169, true, -45, true, 100, -40, {"Arial", 19, false, 20}, {"Series2", "Series3", "Series11", nullptr}, 0},
    {DesignedChart::CspAbsSignal, "TCSP", "Chart8", ChartKind::Signal, 441, 169, true, -30, true, 90, -50, {"Bookman Old Style", 19, true, 30}, {"BarSeries4", "LineSeries2", "Series5", nullptr}, 0},
    {DesignedChart::CspChpiSignal, "TCSP", "Chart14", ChartKind::Signal, 441, 169, false, -35, true, 95, -40, kBookmanMarks, {"BarSeries7", "LineSeries6", "Series10", nullptr}, 0},
    {DesignedChart::CspKvp3Signal, "TCSP", "Chart5", ChartKind::Signal, 441, 169, false, -30, true, 90, -35, kBookmanMarks, {"BarSeries1", "LineSeries1", "Series4", nullptr}, 0},
    {DesignedChart::CspPitSpectrum, "TCSP", "Chart4", ChartKind::Spectrum, 448, 256, true, 0, false, 0, 0, kNoMarks, {"Series1", nullptr, nullptr, nullptr}, 0},
    {DesignedChart::CspAbsSpectrum, "TCSP", "Chart13", ChartKind::Spectrum, 441, 257, true, 0, false, 0, 0, kNoMarks, {"LineSeries5", nullptr, nullptr, nullptr}, 0},
    {DesignedChart::CspChpiSpectrum, "TCSP", "Chart12", ChartKind::Spectrum, 441, 257, true, 0, false, 0, 0, kNoMarks, {"LineSeries4", nullptr, nullptr, nullptr}, 0},
    {DesignedChart::CspKvp3Spectrum, "TCSP", "Chart11", ChartKind::Spectrum, 441, 257, true, 0, false, 0, 0, kNoMarks, {"LineSeries3", nullptr, nullptr, nullptr}, 0},
    {DesignedChart::CspComparison, "TCSP", "Chart17", ChartKind::Comparison, 449, 257, true, 0, false, 0, 0, kNoMarks, {"Series6", "Series7", "Series8", "Series9"}, 0},
    {DesignedChart::VospNrzSignal, "TVOSP", "Chart1", ChartKind::Signal, 441, 169, false, -45, false, 0, 0, kNoMarks, {"Series2", "Series3", nullptr, nullptr}, 0},
    {DesignedChart::VospBiLSignal, "TVOSP", "Chart8", ChartKind::Signal, 441, 169, false, -30, true, 90, -50, kBookmanMarks, {"BarSeries4", "LineSeries2", "Series5", nullptr}, 0},
    {DesignedChart::VospCmiSignal, "TVOSP", "Chart14", ChartKind::Signal, 441, 169, false, -30, true, 90, -50, kBookmanMarks, {"BarSeries7", "LineSeries6", "Series10", nullptr}, 0},
    {DesignedChart::VospEp1Signal, "TVOSP", "Chart5", ChartKind::Signal, 441, 169, false, -30, true, 90, -50, kBookmanMarks, {"BarSeries1", "LineSeries1", "Series4", nullptr}, 0},
    {DesignedChart::VospNrzSpectrum, "TVOSP", "Chart4", ChartKind::Spectrum, 439, 256, true, 0, false, 0, 0, kNoMarks, {"Series1", nullptr, nullptr, nullptr}, 416},
    {DesignedChart::VospBiLSpectrum, "TVOSP", "Chart13", ChartKind::Spectrum, 441, 257, true, 0, false, 0, 0, kNoMarks, {"LineSeries5", nullptr, nullptr, nullptr}, 416},
    {DesignedChart::VospCmiSpectrum, "TVOSP", "Chart12", ChartKind::Spectrum, 441, 257, true, 0, false, 0, 0, kNoMarks, {"LineSeries4", nullptr, nullptr, nullptr}, 416},
    {DesignedChart::VospEp1Spectrum, "TVOSP", "Chart11", ChartKind::Spectrum, 441, 257, true, 0, false, 0, 0, kNoMarks, {"LineSeries3", nullptr, nullptr, nullptr}, 416},
    {DesignedChart::VospComparison, "TVOSP", "Chart17", ChartKind::Comparison, 449, 257, true, 0, false, 0, 0, kNoMarks, {"Series6", "Series7", "Series8", "Series9"}, 424},
};
// clang-format on

// The marks of the NRZ chart sit on its line signal, not on a source series.
constexpr MarkLayout kNrzLineMarks{"Bookman Old Style", 16, true, 20};

constexpr Colour kGradientEnd = 16744448; // red 0, green 128, blue 255
constexpr Colour kComparisonColours[4] = {clRed, clGreen, clYellow, clBlue};

TChartFont FontOf(const MarkLayout& m) {
    return TChartFont{QString::fromLatin1(m.font), m.height, clBlack, m.bold};
}

void CommonValues(TCustomChart& chart) {
    chart.Gradient.Visible = true;
    chart.Gradient.EndColor = kGradientEnd;
    chart.BackWall.Brush.Color = clWhite;
    chart.BackWall.Brush.Style = bsClear;
    chart.Legend.Visible = false;
    chart.View3D = false;
}

void NameSeries(TChartSeries& s, const DesignedChartValues& v, int index) {
    if (const char* name = v.seriesNames[index])
        s.Name = QString::fromLatin1(name);
}

TLineSeries& AddLine(TCustomChart& chart, Colour colour) {
    TLineSeries& s = *chart.AddSeries<TLineSeries>();
    s.SeriesColor = colour;
    s.Pointer.Visible = false;
    s.Marks.Visible = false;
    return s;
}

// The axis captions are labels of the window, in its font.
constexpr MarkLayout kCaptionFont{"Bookman Old Style", 16, true, 0};
constexpr int kCaptionTop = 232;

void AddAxisCaptions(TCustomChart& chart, int frequencyLeft) {
    TChartCaption density;
    density.Text = QStringLiteral("G(f)/T");
    density.Left = 16;
    density.Top = 8;
    density.Font = FontOf(kCaptionFont);
    density.Color = clBtnFace;
    TChartCaption frequency;
    frequency.Text = QStringLiteral("fT");
    frequency.Left = frequencyLeft;
    frequency.Top = kCaptionTop;
    frequency.Font = FontOf(kCaptionFont);
    frequency.Transparent = true;
    chart.Captions = {density, frequency};
}

} // namespace

const DesignedChartValues& DesignedValuesOf(DesignedChart which) {
    return kCharts[static_cast<int>(which)];
}

QSize DesignedSizeOf(DesignedChart which) {
    const DesignedChartValues& v = DesignedValuesOf(which);
    return QSize(v.width, v.height);
}

void ApplyDesignedChart(TCustomChart& chart, DesignedChart which) {
    const DesignedChartValues& v = DesignedValuesOf(which);
    CommonValues(chart);
    chart.AxisVisible = v.axisVisible;
    switch (v.kind) {
    case ChartKind::Signal: {
        chart.Title.Visible = false;
        TBarSeries& line = *chart.AddSeries<TBarSeries>();
        NameSeries(line, v, 0);
        line.SeriesColor = clRed;
        line.SetBarWidthPercent(100);
        line.SetOffsetPercent(v.lineSignalOffset);
        if (v.hasSourceSeries) {
            line.MultiBar = mbNone;
            line.Marks.Visible = false;
        } else {
            line.Marks.Visible = true;
            line.Marks.Font = FontOf(kNrzLineMarks);
            line.Marks.BackColor = clWhite;
            line.Marks.ArrowLength = kNrzLineMarks.arrowLength;
            line.Marks.Clip = true;
        }
        TLineSeries& noisy = AddLine(chart, clGreen);
        NameSeries(noisy, v, 1);
        if (v.hasSourceSeries) {
            TBarSeries& source = *chart.AddSeries<TBarSeries>();
            NameSeries(source, v, 2);
            source.SeriesColor = clYellow;
            source.BarBrush.Style = bsClear;
            source.BarBrush.Color = clWhite;
            source.BarPen.Style = psDot;
            source.MultiBar = mbNone;
            source.SetBarWidthPercent(v.sourceWidth);
            source.SetOffsetPercent(v.sourceOffset);
            source.Marks.Visible = true;
            source.Marks.BackColor = clWhite;
            source.Marks.Font = FontOf(v.sourceMarks);
            source.Marks.ArrowLength = v.sourceMarks.arrowLength;
        }
        break;
    }
    case ChartKind::Spectrum: {
        chart.Title.Visible = true;
        chart.Title.Text = QStringLiteral("Спектр сигнала");
        chart.Title.Font = TChartFont{QStringLiteral("Arial"), 11, clBlack, false};
        NameSeries(AddLine(chart, clRed), v, 0);
        break;
    }
    case ChartKind::Comparison:
        chart.Title.Visible = false;
        for (int i = 0; i < 4; ++i)
            NameSeries(AddLine(chart, kComparisonColours[i]), v, i);
        break;
    }
    if (v.frequencyCaptionLeft > 0)
        AddAxisCaptions(chart, v.frequencyCaptionLeft);
}
