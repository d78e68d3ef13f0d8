#include "plot/chart.h"
#include "tests/plot/chart_test_support.h"
#include "workbench/chart_presses.h"
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

namespace {

// The signal chart of ПИТ after forming 110100, at its designed size.
struct FormedSignalChart {
    FormedSignalChart() {
        ApplyDesignedChart(chart, DesignedChart::CspPitSignal);
        chart.resize(DesignedSizeOf(DesignedChart::CspPitSignal));
        FormSignal(chart, LineCode::Pit, Bits{1, 1, 0, 1, 0, 0});
    }
    ApplicationFirst application;
    TChart chart;
};

const SceneItem* BarOf(const ChartScene& scene, int series, int point) {
    for (const SceneItem& item : scene.items) {
        if (item.series == series && item.point == point &&
            (item.role == SceneRole::Bar || item.role == SceneRole::BarLine))
            return &item;
    }
    return nullptr;
}

// Zooms into a square of `size` pixels around the point `aim` gives for
// the chart as it is, `times` zooms in all, aiming anew each time as a
// student would.
template <class Aim>
void ZoomInto(TChart& chart, Aim aim, int size, int times) {
    for (int k = 0; k < times; ++k) {
        const QPoint at = aim(chart.CurrentScene());
        Drag(chart, Qt::LeftButton, at - QPoint(size / 2, size / 2),
             at + QPoint(size - size / 2, size - size / 2));
    }
}

} // namespace

// Zoomed deep into one bar, the bar covers the view from top to bottom;
// its ends lie far outside the plot, where no sum of pixels may overflow.
TEST(ChartView, DeepZoomIntoABarFillsTheView) {
    FormedSignalChart f;
    const int first = 0; // the first ПИТ bar of 110100 stands at 1
    // Bars keep their width in pixels, so the student aims at the bar's own
    // x, near its right end, and at the middle of what shows of it.
    const double x = f.chart.SeriesAt(0)->XValue(first);
    const auto aim = [&](const ChartScene& scene) {
        const SceneItem* bar = BarOf(scene, 0, first);
        EXPECT_NE(bar, nullptr);
        if (!bar)
            return scene.plot.center();
        const QRect shown = bar->rect.intersected(scene.plot);
        return QPoint(scene.bottom.Pixel(x), shown.center().y());
    };
    // Deep enough that the bar's ends lie beyond what an int can hold.
    ZoomInto(f.chart, aim, 18, 10);
    ZoomInto(f.chart, aim, 50, 1);
    ASSERT_TRUE(f.chart.IsZoomed());
    const ChartScene deep = f.chart.CurrentScene();
    EXPECT_GT(deep.left.length() / deep.left.range(), 3e9);
    const SceneItem* bar = BarOf(deep, 0, first);
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->role, SceneRole::Bar);
    EXPECT_LT(bar->rect.top(), deep.plot.top());
    EXPECT_GT(bar->rect.bottom(), deep.plot.bottom());
    const QRect shown = bar->rect.intersected(deep.plot);
    ASSERT_FALSE(shown.isEmpty());
    // And the picture shows it in the bar's blue.
    const QImage image = f.chart.grab().toImage();
    EXPECT_EQ(image.pixelColor(shown.center()), QColor(0, 0, 255));
}

// Zoomed deep into the noisy line, each drawn point is where its value
// lies; points beyond the drawable range are left out, none is moved to
// the middle of an axis.
TEST(ChartView, DeepZoomIntoALineDrawsOnlyPointsInReach) {
    FormedSignalChart f;
    const ChartScene before = f.chart.CurrentScene();
    const SceneItem* line = nullptr;
    for (const SceneItem& item : before.items)
        if (item.role == SceneRole::Line)
            line = &item;
    ASSERT_NE(line, nullptr);
    ASSERT_GT(line->points.size(), 20u);
    const QPoint start = line->points[15];
    bool aimed = false;
    const auto aim = [&](const ChartScene& scene) {
        const QPoint at = aimed ? scene.plot.center() : start;
        aimed = true;
        return at;
    };
    ZoomInto(f.chart, aim, 18, 8);
    ZoomInto(f.chart, aim, 50, 1);
    ChartLayoutOptions every;
    every.reduceLines = false;
    const ChartScene deep = LayoutChart(f.chart, f.chart.size(), every);
    std::vector<QPoint> expected;
    const TChartSeries& s = *f.chart.SeriesAt(1);
    for (int i = 0; i < s.Count(); ++i) {
        const double px = deep.bottom.start + (s.XValue(i) - deep.bottom.minimum) *
                                                  deep.bottom.length() / deep.bottom.range();
        const double py = deep.left.end - (s.YValue(i) - deep.left.minimum) * deep.left.length() /
                                              deep.left.range();
        if (std::fabs(px) <= 32766 && std::fabs(py) <= 32766)
            expected.emplace_back(RoundEven(px), RoundEven(py));
    }
    std::vector<QPoint> drawn;
    for (const SceneItem& item : deep.items)
        if (item.role == SceneRole::Line)
            drawn = item.points;
    ASSERT_EQ(drawn.size(), expected.size());
    for (std::size_t k = 0; k < drawn.size(); ++k) {
        EXPECT_NEAR(drawn[k].x(), expected[k].x(), 1) << k;
        EXPECT_NEAR(drawn[k].y(), expected[k].y(), 1) << k;
    }
}
