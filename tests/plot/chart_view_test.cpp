#include "plot/chart.h"
#include "tests/plot/chart_test_support.h"
#include "workbench/designed_charts.h"

#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

namespace {

class CountingChart : public TChart {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* e) override {
        ++paints;
        TChart::paintEvent(e);
    }
};

void Spectrum(TChart& chart) {
    for (int i = 1; i <= 200; ++i) {
        const double x = i / 100.0;
        chart.SeriesAt(0)->AddPoint(x, std::sin(x) * std::sin(x), QString(), clRed);
    }
}

void Mouse(QWidget& w, QEvent::Type type, Qt::MouseButton button, QPoint pos) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, QPointF(pos), w.mapToGlobal(QPointF(pos)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(&w, &event);
}

void Drag(QWidget& w, Qt::MouseButton button, QPoint from, QPoint to) {
    Mouse(w, QEvent::MouseButtonPress, button, from);
    Mouse(w, QEvent::MouseMove, button, (from + to) / 2);
    Mouse(w, QEvent::MouseMove, button, to);
    Mouse(w, QEvent::MouseButtonRelease, button, to);
}

struct Ranges {
    double xmin, xmax, ymin, ymax;
    bool operator==(const Ranges&) const = default;
};

Ranges RangesOf(const TChart& chart) {
    const ChartScene s = chart.CurrentScene();
    return {s.bottom.minimum, s.bottom.maximum, s.left.minimum, s.left.maximum};
}

// Constructed before the widget that needs the application.
struct ApplicationFirst {
    ApplicationFirst() { EnsureChartApplication(); }
};

class ChartViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ApplyDesignedChart(chart, DesignedChart::CspAbsSpectrum);
        chart.resize(DesignedSizeOf(DesignedChart::CspAbsSpectrum));
        Spectrum(chart);
        automatic = RangesOf(chart);
        plot = chart.CurrentScene().plot;
    }
    ApplicationFirst application;
    TChart chart;
    Ranges automatic{};
    QRect plot;
};

} // namespace

TEST_F(ChartViewTest, SeriesAtIsThePromotedWidgetsSeriesList) {
    EXPECT_EQ(chart.SeriesCount(), 1);
    EXPECT_THROW(chart.SeriesAt(1), EListError);
    EXPECT_EQ(chart.SeriesAt(0)->Count(), 200);
}

TEST_F(ChartViewTest, LeftDragZoomsOnlyBeyondSixteenPixels) {
    const QPoint from = plot.topLeft() + QPoint(40, 30);
    const struct {
        int dx, dy;
        bool zooms;
    } cases[] = {
        {16, 16, false}, {17, 16, false}, {16, 40, false}, {17, 17, true},
        {120, 90, true}, {3, 3, false},   {0, 0, false},
    };
    for (const auto& c : cases) {
        chart.UndoZoom();
        ASSERT_EQ(RangesOf(chart), automatic);
        const QPoint to = from + QPoint(c.dx, c.dy);
        const ChartScene before = chart.CurrentScene();
        Drag(chart, Qt::LeftButton, from, to);
        EXPECT_EQ(chart.IsZoomed(), c.zooms) << c.dx << "x" << c.dy;
        if (!c.zooms) {
            EXPECT_EQ(RangesOf(chart), automatic) << c.dx << "x" << c.dy;
            continue;
        }
        // the rectangle's edges become the axes' ends
        const Ranges zoomed = RangesOf(chart);
        EXPECT_DOUBLE_EQ(zoomed.xmin, before.bottom.Value(from.x()));
        EXPECT_DOUBLE_EQ(zoomed.xmax, before.bottom.Value(to.x()));
        EXPECT_DOUBLE_EQ(zoomed.ymax, before.left.Value(from.y()));
        EXPECT_DOUBLE_EQ(zoomed.ymin, before.left.Value(to.y()));
        EXPECT_FALSE(chart.BottomAxis.Automatic);
        EXPECT_FALSE(chart.LeftAxis.Automatic);
    }
}

TEST_F(ChartViewTest, DragInAnyOtherDirectionUndoesTheZoom) {
    const QPoint centre = plot.center();
    const struct {
        int dx, dy;
        bool undoes;
    } cases[] = {
        {-17, -17, true}, {-60, 40, true}, {60, -40, true}, {-16, -60, false}, {-10, -10, false},
    };
    for (const auto& c : cases) {
        Drag(chart, Qt::LeftButton, centre - QPoint(50, 40), centre + QPoint(50, 40));
        ASSERT_TRUE(chart.IsZoomed());
        const Ranges zoomed = RangesOf(chart);
        Drag(chart, Qt::LeftButton, centre, centre + QPoint(c.dx, c.dy));
        EXPECT_EQ(!chart.IsZoomed(), c.undoes) << c.dx << "," << c.dy;
        EXPECT_EQ(RangesOf(chart), c.undoes ? automatic : zoomed) << c.dx << "," << c.dy;
        chart.UndoZoom();
    }
    // after undoing, the axes follow the data again
    Drag(chart, Qt::LeftButton, centre - QPoint(50, 40), centre + QPoint(50, 40));
    Drag(chart, Qt::LeftButton, centre, centre - QPoint(30, 30));
    EXPECT_TRUE(chart.BottomAxis.Automatic);
    chart.SeriesAt(0)->AddPoint(3, 5, QString(), clRed);
    EXPECT_GT(RangesOf(chart).xmax, automatic.xmax);
    EXPECT_GT(RangesOf(chart).ymax, automatic.ymax);
}

TEST_F(ChartViewTest, RightDragScrollsWithTheMouseAndUndoRestores) {
    const ChartScene before = chart.CurrentScene();
    const QPoint from = plot.center();
    const QPoint to = from + QPoint(30, -20);
    Drag(chart, Qt::RightButton, from, to);
    ASSERT_TRUE(chart.IsZoomed());
    const Ranges moved = RangesOf(chart);
    const double dx = 30 * before.bottom.range() / before.bottom.length();
    const double dy = -20 * before.left.range() / before.left.length();
    EXPECT_NEAR(moved.xmin, automatic.xmin - dx, 1e-12);
    EXPECT_NEAR(moved.xmax, automatic.xmax - dx, 1e-12);
    EXPECT_NEAR(moved.ymin, automatic.ymin + dy, 1e-12);
    EXPECT_NEAR(moved.ymax, automatic.ymax + dy, 1e-12);
    // the point under the press point followed the mouse
    const double x = before.bottom.Value(from.x());
    EXPECT_EQ(chart.CurrentScene().bottom.Pixel(x), to.x());

    // a zoom after a scroll, then an undo, goes back to the automatic view
    Drag(chart, Qt::LeftButton, plot.topLeft() + QPoint(5, 5), plot.center());
    Drag(chart, Qt::LeftButton, plot.center(), plot.topLeft() + QPoint(5, 5));
    EXPECT_EQ(RangesOf(chart), automatic);
    EXPECT_TRUE(chart.LeftAxis.AutomaticMinimum);
}

TEST_F(ChartViewTest, ScrollEndsWhenTheMouseLeavesThePlot) {
    const QPoint from = plot.center();
    Mouse(chart, QEvent::MouseButtonPress, Qt::RightButton, from);
    Mouse(chart, QEvent::MouseMove, Qt::RightButton, from + QPoint(10, 0));
    const Ranges moved = RangesOf(chart);
    Mouse(chart, QEvent::MouseMove, Qt::RightButton, QPoint(1, 1)); // outside
    Mouse(chart, QEvent::MouseMove, Qt::RightButton, from + QPoint(40, 0));
    Mouse(chart, QEvent::MouseButtonRelease, Qt::RightButton, from + QPoint(40, 0));
    EXPECT_EQ(RangesOf(chart), moved);
}

TEST_F(ChartViewTest, PressesOutsideThePlotOrOnAChartWithoutSeriesDoNothing) {
    Drag(chart, Qt::LeftButton, QPoint(1, 1), QPoint(200, 200));
    EXPECT_FALSE(chart.IsZoomed());
    TChart bare;
    bare.resize(300, 200);
    Drag(bare, Qt::LeftButton, QPoint(50, 50), QPoint(200, 150));
    EXPECT_FALSE(bare.IsZoomed());
}

TEST(ChartView, ManyPointsFromOneHandlerGiveOneRepaint) {
    EnsureChartApplication();
    CountingChart chart;
    ApplyDesignedChart(chart, DesignedChart::CspComparison);
    chart.resize(DesignedSizeOf(DesignedChart::CspComparison));
    chart.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
    QApplication::processEvents();
    const int before = chart.paints;
    for (int i = 1; i <= 200; ++i)
        for (int s = 0; s < 4; ++s)
            chart.SeriesAt(s)->AddPoint(i / 100.0, s + i / 200.0, QString(), clRed);
    EXPECT_EQ(chart.paints, before); // nothing painted while the handler runs
    QApplication::processEvents();
    EXPECT_EQ(chart.paints, before + 1);
    // what the widget shows is the scene rendered offscreen
    const QImage shown = chart.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, RenderChart(chart, chart.size()));
}
