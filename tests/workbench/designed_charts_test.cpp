#include "plot/chart_layout.h"
#include "tests/plot/chart_test_support.h"
#include "workbench/designed_charts.h"

#include <gtest/gtest.h>

TEST(ChartLayouts, EveryChartGetsItsSeriesInOrder) {
    EnsureChartApplication();
    int signal = 0, spectrum = 0, comparison = 0;
    for (int i = 0; i < kDesignedChartCount; ++i) {
        const auto which = static_cast<DesignedChart>(i);
        const DesignedChartValues& v = DesignedValuesOf(which);
        ASSERT_EQ(v.which, which) << i; // the table is in enum order
        TCustomChart chart;
        ASSERT_NO_THROW(ApplyDesignedChart(chart, which)) << v.window << " " << v.chart;
        EXPECT_TRUE(chart.Gradient.Visible);
        EXPECT_EQ(chart.Gradient.EndColor, 0x00FF8000u);
        EXPECT_EQ(chart.BackWall.Brush.Style, bsClear);
        EXPECT_FALSE(chart.Legend.Visible);
        EXPECT_FALSE(chart.View3D);
        for (int s = 0; s < chart.SeriesCount(); ++s) {
            EXPECT_EQ(chart.SeriesAt(s)->XValues.Order(), loAscending);
            EXPECT_EQ(chart.SeriesAt(s)->Name, QString::fromLatin1(v.seriesNames[s]));
        }
        switch (v.kind) {
        case ChartKind::Signal: {
            ++signal;
            EXPECT_EQ(DesignedSizeOf(which), QSize(441, 169));
            EXPECT_FALSE(chart.Title.Visible);
            const bool nrz = which == DesignedChart::VospNrzSignal;
            ASSERT_EQ(chart.SeriesCount(), nrz ? 2 : 3);
            auto* line = dynamic_cast<TBarSeries*>(chart.SeriesAt(0));
            ASSERT_NE(line, nullptr);
            EXPECT_EQ(line->BarWidthPercent(), 100);
            EXPECT_EQ(line->OffsetPercent(), v.lineSignalOffset);
            EXPECT_EQ(line->Marks.Visible, nrz);
            EXPECT_EQ(line->MultiBar, nrz ? mbSide : mbNone);
            EXPECT_NE(dynamic_cast<TLineSeries*>(chart.SeriesAt(1)), nullptr);
            if (!nrz) {
                auto* source = dynamic_cast<TBarSeries*>(chart.SeriesAt(2));
                ASSERT_NE(source, nullptr);
                EXPECT_EQ(source->BarBrush.Style, bsClear);
                EXPECT_EQ(source->BarPen.Style, psDot);
                EXPECT_TRUE(source->Marks.Visible);
                EXPECT_EQ(source->Marks.BackColor, clWhite);
                EXPECT_EQ(source->Marks.Font.Height, 19);
            } else {
                EXPECT_TRUE(line->Marks.Clip);
                EXPECT_EQ(line->Marks.Font.Height, 16);
            }
            break;
        }
        case ChartKind::Spectrum:
            ++spectrum;
            EXPECT_TRUE(chart.AxisVisible);
            EXPECT_EQ(chart.Title.Text, QStringLiteral("Спектр сигнала"));
            EXPECT_EQ(chart.Title.Font.Height, 11);
            ASSERT_EQ(chart.SeriesCount(), 1);
            EXPECT_NE(dynamic_cast<TLineSeries*>(chart.SeriesAt(0)), nullptr);
            break;
        case ChartKind::Comparison:
            ++comparison;
            EXPECT_EQ(DesignedSizeOf(which), QSize(449, 257));
            ASSERT_EQ(chart.SeriesCount(), 4);
            EXPECT_EQ(chart.SeriesAt(3)->SeriesColor, clBlue);
            break;
        }
    }
    EXPECT_EQ(signal, 8);
    EXPECT_EQ(spectrum, 8);
    EXPECT_EQ(comparison, 2);
    // Only the ПИТ and АБС signal charts of the DTS workbench show their axes.
    const DesignedChart withAxes[] = {DesignedChart::CspPitSignal, DesignedChart::CspAbsSignal};
    for (int i = 0; i < kDesignedChartCount; ++i) {
        const DesignedChartValues& v = DesignedValuesOf(static_cast<DesignedChart>(i));
        if (v.kind == ChartKind::Signal) {
            EXPECT_EQ(v.axisVisible, std::find(std::begin(withAxes), std::end(withAxes), v.which) !=
                                         std::end(withAxes))
                << v.window << " " << v.chart;
        }
    }
}
