#include "plot/chart_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

// The y values are used as tags to see where each added point went.
std::vector<double> Tags(const TChartSeries& s) {
    std::vector<double> tags;
    for (int i = 0; i < s.Count(); ++i)
        tags.push_back(s.YValue(i));
    return tags;
}

class CountingChart : public TCustomChart {
public:
    void Invalidate() override { ++invalidations; }
    int invalidations = 0;
};

} // namespace

TEST(ChartModel, AddPointPlacesByOrderAndReturnsTheIndex) {
    struct Case {
        TChartListOrder order;
        std::vector<double> xs;
        std::vector<int> indices; // returned by each AddPoint
        std::vector<double> tags; // y tags in list order afterwards
    };
    const Case cases[] = {
        // equal x values keep their insertion order, smaller ones move before
        {loAscending, {2, 1, 2}, {0, 0, 2}, {1, 0, 2}},
        {loAscending, {1, 2, 3}, {0, 1, 2}, {0, 1, 2}},
        {loAscending, {3, 2, 1}, {0, 0, 0}, {2, 1, 0}},
        {loAscending, {1, 3, 2, 2, 1}, {0, 1, 1, 2, 1}, {0, 4, 2, 3, 1}},
        {loAscending, {-1, -5, 0.5, -1}, {0, 0, 2, 2}, {1, 0, 3, 2}},
        {loDescending, {1, 2, 1}, {0, 0, 2}, {1, 0, 2}},
        {loDescending, {3, 1, 2, 3}, {0, 1, 1, 1}, {0, 3, 2, 1}},
        {loNone, {3, 1, 2}, {0, 1, 2}, {0, 1, 2}},
    };
    for (const Case& c : cases) {
        TCustomChart chart;
        TLineSeries& s = *chart.AddSeries<TLineSeries>();
        s.XValues.SetOrder(c.order);
        std::vector<int> got;
        for (std::size_t i = 0; i < c.xs.size(); ++i)
            got.push_back(s.AddPoint(c.xs[i], static_cast<double>(i), QString(), clRed));
        EXPECT_EQ(got, c.indices) << "order " << c.order;
        EXPECT_EQ(Tags(s), c.tags) << "order " << c.order;
    }
}

// The stored points are sorted by the order they were added in; another
// order would leave them in the wrong place, so it is refused.
TEST(ChartModel, OrderIsFixedOnceTheListHoldsPoints) {
    TCustomChart chart;
    TChartSeries& s = *chart.AddSeries<TLineSeries>();
    s.XValues.SetOrder(loDescending);
    s.XValues.SetOrder(loAscending);
    s.AddPoint(2, 0, QString(), clRed);
    s.AddPoint(1, 0, QString(), clRed);
    EXPECT_THROW(s.XValues.SetOrder(loNone), EChartException);
    EXPECT_THROW(s.XValues.SetOrder(loDescending), EChartException);
    EXPECT_NO_THROW(s.XValues.SetOrder(loAscending));
    s.AddPoint(1.5, 0, QString(), clRed);
    EXPECT_EQ(s.XValue(0), 1);
    EXPECT_EQ(s.XValue(1), 1.5);
    EXPECT_EQ(s.XValue(2), 2);
}

TEST(ChartModel, LongSeriesKeepTheSameOrderAsTheWalkBack) {
    // Few distinct x values, so most points land among equal values far
    // from the end; few distinct y values and colours, so many points repeat
    // the one before them and are stored as repeats.
    for (TChartListOrder order : {loAscending, loDescending, loNone}) {
        std::mt19937 random(7);
        std::uniform_int_distribution<int> pickX(0, 40);
        std::uniform_int_distribution<int> pickY(0, 2);
        TCustomChart chart;
        TBarSeries& s = *chart.AddSeries<TBarSeries>();
        s.XValues.SetOrder(order);
        struct Ref {
            double x, y;
            Colour c;
        };
        std::vector<Ref> reference;
        for (int i = 0; i < 6000; ++i) {
            const double x = pickX(random) / 4.0;
            const double y = pickY(random);
            const Colour c = i % 3 == 0 ? clRed : clBlue;
            // the walk back from the end, as the rule states it
            std::size_t at = reference.size();
            if (order == loAscending)
                while (at > 0 && reference[at - 1].x > x)
                    --at;
            if (order == loDescending)
                while (at > 0 && reference[at - 1].x < x)
                    --at;
            reference.insert(reference.begin() + static_cast<std::ptrdiff_t>(at), {x, y, c});
            ASSERT_EQ(s.AddPoint(x, y, QString(), c), static_cast<int>(at)) << i;
        }
        ASSERT_EQ(s.Count(), 6000);
        for (int i = 0; i < s.Count(); ++i) {
            const Ref& r = reference[static_cast<std::size_t>(i)];
            ASSERT_EQ(s.XValue(i), r.x) << i;
            ASSERT_EQ(s.YValue(i), r.y) << i;
            ASSERT_EQ(s.ValueColor(i), r.c) << i;
        }
        EXPECT_THROW(s.XValue(6000), EListError);
    }
}

TEST(ChartModel, RepeatedPointsStayDistinctPoints) {
    TCustomChart chart;
    TLineSeries& s = *chart.AddSeries<TLineSeries>();
    for (int press = 0; press < 3; ++press) {
        s.AddPoint(1, 0.0, QString(), clRed);
        s.AddPoint(1, -0.0, QString(), clRed); // equal, but not the same value
        s.AddPoint(1, 0.0, QStringLiteral("a"), clRed);
        s.AddPoint(1, 0.0, QString(), clBlue);
    }
    ASSERT_EQ(s.Count(), 12);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(std::signbit(s.YValue(i)), i % 4 == 1) << i;
        EXPECT_EQ(s.Label(i), i % 4 == 2 ? QStringLiteral("a") : QString()) << i;
        EXPECT_EQ(s.ValueColor(i), i % 4 == 3 ? clBlue : clRed) << i;
    }
    // a thousand presses of the same point are a thousand points
    TLineSeries& t = *chart.AddSeries<TLineSeries>();
    for (int i = 0; i < 1000; ++i)
        EXPECT_EQ(t.AddPoint(0.5, 2, QString(), clRed), i);
    t.AddPoint(0.25, 3, QString(), clRed);
    EXPECT_EQ(t.Count(), 1001);
    EXPECT_EQ(t.YValue(0), 3);
    EXPECT_EQ(t.YValue(1000), 2);
}

TEST(ChartModel, ValueListsKnowTheirRange) {
    struct Case {
        std::vector<std::pair<double, double>> points;
        double minX, maxX, minY, maxY;
    };
    const Case cases[] = {
        {{}, 0, 0, 0, 0},
        {{{3, -2}}, 3, 3, -2, -2},
        {{{3, 1}, {1, 5}, {2, -4}}, 1, 3, -4, 5},
        {{{-0.5, 0.25}, {-7, 0.25}, {10, 0.125}}, -7, 10, 0.125, 0.25},
    };
    for (const Case& c : cases) {
        TCustomChart chart;
        TChartSeries& s = *chart.AddSeries<TLineSeries>();
        for (auto [x, y] : c.points)
            s.AddPoint(x, y, QString(), clRed);
        EXPECT_EQ(s.XValues.MinValue(), c.minX);
        EXPECT_EQ(s.XValues.MaxValue(), c.maxX);
        EXPECT_EQ(s.YValues.MinValue(), c.minY);
        EXPECT_EQ(s.YValues.MaxValue(), c.maxY);
    }
}

TEST(ChartModel, ClassDefaults) {
    TCustomChart chart;
    TBarSeries& bar = *chart.AddSeries<TBarSeries>();
    TLineSeries& line = *chart.AddSeries<TLineSeries>();
    EXPECT_EQ(bar.BarWidthPercent(), 70);
    EXPECT_EQ(bar.OffsetPercent(), 0);
    EXPECT_EQ(bar.MultiBar, mbSide);
    EXPECT_TRUE(bar.Marks.Visible);
    EXPECT_EQ(bar.Marks.ArrowLength, 20);
    EXPECT_EQ(bar.YValues.Name, QStringLiteral("Bar"));
    EXPECT_FALSE(line.Marks.Visible);
    EXPECT_EQ(line.Marks.ArrowLength, 8);
    EXPECT_EQ(line.YValues.Name, QStringLiteral("Y"));
    EXPECT_EQ(line.XValues.Order(), loAscending);
    EXPECT_EQ(line.YValues.Order(), loNone);
    EXPECT_EQ(line.Marks.BackColor, 0x80FFFFu);
    EXPECT_EQ(chart.BottomAxis.LabelsSeparation, 10);
    EXPECT_EQ(chart.LeftAxis.AxisPen.Width, 2);
    EXPECT_EQ(chart.Gradient.EndColor, clYellow);
}

TEST(ChartModel, PointWithoutColourIsDrawnInTheSeriesColour) {
    TCustomChart chart;
    TChartSeries& s = *chart.AddSeries<TLineSeries>();
    s.SeriesColor = clGreen;
    s.AddPoint(1, 1, QString(), clNone);
    s.AddPoint(2, 1, QStringLiteral("a"), clBlue);
    EXPECT_EQ(s.ValueColor(0), clGreen);
    EXPECT_EQ(s.ValueColor(1), clBlue);
    EXPECT_EQ(s.Label(1), QStringLiteral("a"));
}

TEST(ChartModel, EveryAddedPointAsksForARepaint) {
    CountingChart chart;
    TChartSeries& s = *chart.AddSeries<TLineSeries>();
    const int before = chart.invalidations;
    for (int i = 0; i < 5; ++i)
        s.AddPoint(i, i, QString(), clRed);
    EXPECT_EQ(chart.invalidations - before, 5);
    EXPECT_EQ(s.ParentChart(), &chart);
}

TEST(ChartModel, BadIndicesAndPropertiesFailWithTheirMessages) {
    TCustomChart chart;
    chart.AddSeries<TBarSeries>();
    chart.AddSeries<TLineSeries>();
    EXPECT_NO_THROW(chart.SeriesAt(1));
    for (int index : {2, -1, 100}) {
        try {
            chart.SeriesAt(index);
            ADD_FAILURE() << "no error for " << index;
        } catch (const EListError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "List index out of bounds (" + std::to_string(index) + ")");
        }
    }
    EXPECT_THROW(chart.SeriesAt(0)->XValue(0), EListError);

    auto& bar = static_cast<TBarSeries&>(*chart.SeriesAt(0));
    struct Case {
        bool width; // BarWidthPercent, else OffsetPercent
        int value;
        bool fails;
    };
    const Case cases[] = {{true, 0, true},     {true, 1, false},    {true, 100, false},
                          {true, 101, true},   {false, -101, true}, {false, -100, false},
                          {false, 100, false}, {false, 101, true},  {true, -5, true}};
    for (const Case& c : cases) {
        try {
            if (c.width)
                bar.SetBarWidthPercent(c.value);
            else
                bar.SetOffsetPercent(c.value);
            EXPECT_FALSE(c.fails) << c.value;
            EXPECT_EQ(c.width ? bar.BarWidthPercent() : bar.OffsetPercent(), c.value);
        } catch (const EChartException& e) {
            EXPECT_TRUE(c.fails) << c.value;
            EXPECT_STREQ(e.what(), c.width ? "Bar Width Percent must be between 1 and 100"
                                           : "Bar Offset Percent must be between -100% and 100%");
        }
    }
}
