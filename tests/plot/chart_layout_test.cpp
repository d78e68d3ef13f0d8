#include "plot/chart_layout.h"
#include "tests/plot/chart_test_support.h"
#include "workbench/designed_charts.h"

#include <QFontMetrics>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

namespace {

class ChartLayoutTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureChartApplication(); }
    ChartLayoutOptions English() const {
        ChartLayoutOptions o;
        o.locale = QLocale(QLocale::English, QLocale::UnitedStates);
        return o;
    }
};

std::vector<const SceneItem*> ItemsOf(const ChartScene& scene, SceneRole role, int series = -2) {
    std::vector<const SceneItem*> found;
    for (const SceneItem& item : scene.items)
        if (item.role == role && (series == -2 || item.series == series))
            found.push_back(&item);
    return found;
}

std::vector<QString> LabelTexts(const AxisScene& axis) {
    std::vector<QString> texts;
    for (const auto& l : axis.labels)
        texts.push_back(l.text);
    return texts;
}

// The three series of a signal chart filled the way a forming fills them:
// one bar per level, ten noisy points per level, one source bar per bit.
void FormSignal(TCustomChart& chart, const std::vector<double>& levels,
                const std::vector<int>& bits, int bitStep) {
    std::mt19937 random(1);
    std::uniform_real_distribution<double> noise(0, 1.0 / 6);
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const double c = static_cast<double>(i + 1);
        chart.SeriesAt(0)->AddPoint(c, levels[i], QString(), clBlue);
        for (int j = 1; j <= 10; ++j)
            chart.SeriesAt(1)->AddPoint(c - 1 + j / 10.0, levels[i] + noise(random), QString(),
                                        clRed);
    }
    if (chart.SeriesCount() > 2)
        for (std::size_t i = 0; i < bits.size(); ++i)
            chart.SeriesAt(2)->AddPoint(static_cast<double>((i + 1) * bitStep), bits[i], QString(),
                                        clRed);
}

double Spectrum(double x) {
    const double s = std::sin(M_PI * x);
    return 2 * s * s * s * s / (M_PI * x * M_PI * x);
}

void PressSpectrum(TCustomChart& chart, int series = 0) {
    for (int i = 1; i <= 200; ++i)
        chart.SeriesAt(series)->AddPoint(i / 100.0, Spectrum(i / 100.0), QString(), clRed);
}

} // namespace

TEST_F(ChartLayoutTest, ValuesAreFormattedWithTheUsersSeparators) {
    const QLocale ru(QLocale::Russian, QLocale::Russia);
    const QLocale en(QLocale::English, QLocale::UnitedStates);
    const QString nbsp(QChar(0x00A0));
    struct Case {
        double value;
        QString russian;
        QString english;
    };
    const Case cases[] = {
        {0, "0", "0"},
        {1, "1", "1"},
        {-1, "-1", "-1"},
        {0.5, "0,5", "0.5"},
        {-0.25, "-0,25", "-0.25"},
        {0.1 + 0.2, "0,3", "0.3"},
        {2.0004, "2", "2"},
        {1.23456, "1,235", "1.235"},
        {1234.5, "1" + nbsp + "234,5", "1,234.5"},
        {-1234567, "-1" + nbsp + "234" + nbsp + "567", "-1,234,567"},
        {-1.1102230246251565e-16, "0", "0"}, // never "-0"
        {-0.0004, "0", "0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatChartValue(c.value, ru), c.russian) << c.value;
        EXPECT_EQ(FormatChartValue(c.value, en), c.english) << c.value;
    }
}

TEST_F(ChartLayoutTest, IncrementsClimbTheOneTwoFiveSeries) {
    const struct {
        double from, to;
    } cases[] = {{1e-12, 2e-12}, {2e-12, 5e-12}, {5e-12, 1e-11}, {0.1, 0.2},  {0.2, 0.5},
                 {0.5, 1},       {1, 2},         {2, 5},         {5, 10},     {10, 20},
                 {3, 5},         {7, 10},        {1.5, 2},       {500, 1000}, {0.05, 0.1}};
    for (const auto& c : cases)
        EXPECT_NEAR(NextIncrement(c.from), c.to, c.to * 1e-9) << c.from;
    // climbing from the smallest step reaches 1 exactly through the decades
    double v = 1e-12;
    int steps = 0;
    while (v < 0.99 && steps < 100) {
        v = NextIncrement(v);
        ++steps;
    }
    EXPECT_EQ(steps, 36);
    EXPECT_NEAR(v, 1, 1e-12);
}

TEST_F(ChartLayoutTest, PixelsRoundHalfToEvenAndFallBackToTheMiddle) {
    AxisScene h;
    h.horizontal = true;
    h.start = 10;
    h.end = 20;
    h.minimum = 0;
    h.maximum = 4;
    AxisScene v = h;
    v.horizontal = false;
    const struct {
        double value;
        int horizontal, vertical;
    } cases[] = {
        {0, 10, 20},   {4, 20, 10},     {1, 12, 18}, // 2.5 -> 2
        {3, 18, 12},                                 // 7.5 -> 8
        {0.2, 10, 20},                               // 0.5 -> 0
        {0.6, 12, 18},                               // 1.5 -> 2
        {-2, 5, 25},   {1e300, 15, 15}, {-1e12, 15, 15},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(h.Pixel(c.value), c.horizontal) << c.value;
        EXPECT_EQ(v.Pixel(c.value), c.vertical) << c.value;
    }
    h.maximum = 0; // an empty range puts everything in the middle
    EXPECT_EQ(h.Pixel(3), 15);
    EXPECT_EQ(v.Pixel(2), 15);
    EXPECT_DOUBLE_EQ(v.Value(15), 2);
    EXPECT_DOUBLE_EQ(v.Value(12), 3.2);
}

TEST_F(ChartLayoutTest, EmptyChartShowsASingleZeroOnEachAxis) {
    for (DesignedChart which : {DesignedChart::CspPitSpectrum, DesignedChart::CspPitSignal,
                                DesignedChart::CspComparison}) {
        TCustomChart chart;
        ApplyDesignedChart(chart, which);
        const ChartScene scene = LayoutChart(chart, DesignedSizeOf(which), English());
        ASSERT_TRUE(scene.axesShown);
        for (const AxisScene* axis : {&scene.bottom, &scene.left}) {
            ASSERT_EQ(axis->labels.size(), 1u);
            EXPECT_EQ(axis->labels[0].text, QStringLiteral("0"));
            EXPECT_EQ(axis->labels[0].pixel, (axis->start + axis->end) / 2);
        }
        EXPECT_EQ(ItemsOf(scene, SceneRole::AxisLabel).size(), 2u);
        EXPECT_TRUE(ItemsOf(scene, SceneRole::Bar).empty());
        EXPECT_TRUE(ItemsOf(scene, SceneRole::BarLine).empty());
        EXPECT_TRUE(ItemsOf(scene, SceneRole::MarkBox).empty());
        for (const SceneItem* line : ItemsOf(scene, SceneRole::Line))
            EXPECT_TRUE(line->points.empty());
    }
}

TEST_F(ChartLayoutTest, BarWidthsFollowTheirOwnPointCount) {
    // 6 bits: ПИТ has 6 line bars, АБС 12 line bars and 6 source bars.
    const struct {
        DesignedChart which;
        int levels;
        int bitStep;
    } cases[] = {
        {DesignedChart::CspPitSignal, 6, 1},   {DesignedChart::CspPitSignal, 10, 1},
        {DesignedChart::CspAbsSignal, 12, 2},  {DesignedChart::CspChpiSignal, 8, 1},
        {DesignedChart::VospBiLSignal, 20, 2}, {DesignedChart::VospNrzSignal, 7, 1},
    };
    for (const auto& c : cases) {
        TCustomChart chart;
        ApplyDesignedChart(chart, c.which);
        std::vector<double> levels(static_cast<std::size_t>(c.levels), 1);
        std::vector<int> bits(static_cast<std::size_t>(c.levels / c.bitStep), 1);
        FormSignal(chart, levels, bits, c.bitStep);
        const ChartScene scene = LayoutChart(chart, DesignedSizeOf(c.which), English());
        const int length = scene.bottom.length();
        for (int s : {0, 2}) {
            if (s >= chart.SeriesCount())
                continue;
            const auto& bar = static_cast<const TBarSeries&>(*chart.SeriesAt(s));
            const int n = bar.Count();
            const int expected =
                2 * static_cast<int>(std::ceil(
                        std::nearbyint(bar.BarWidthPercent() * 0.01 * (length / (n + 1))) / 2.0));
            EXPECT_EQ(scene.barWidths[static_cast<std::size_t>(s)], expected) << s;
            const auto bars = ItemsOf(scene, SceneRole::Bar, s);
            ASSERT_EQ(static_cast<int>(bars.size()), n);
            for (const SceneItem* item : bars) {
                EXPECT_EQ(item->rect.width(), expected);
                const int px = scene.bottom.Pixel(bar.XValue(item->point));
                EXPECT_EQ(item->rect.left(), px - expected / 2 +
                                                 static_cast<int>(std::nearbyint(
                                                     bar.OffsetPercent() * expected * 0.01)));
            }
        }
        // The horizontal range leaves one bar width of the widest bars on each
        // side of the data, whose smallest x is the first noisy point's 0.1.
        const int w = *std::max_element(scene.barWidths.begin(), scene.barWidths.end());
        EXPECT_NEAR(scene.bottom.Pixel(0.1) - scene.bottom.start, w, 1);
        EXPECT_NEAR(scene.bottom.end - scene.bottom.Pixel(c.levels), w, 1);
    }
}

TEST_F(ChartLayoutTest, ZeroAndNegativeBars) {
    TCustomChart chart;
    ApplyDesignedChart(chart, DesignedChart::CspChpiSignal); // ЧПИ 110100
    FormSignal(chart, {1, -1, 0, 1, 0, 0}, {1, 1, 0, 1, 0, 0}, 1);
    const ChartScene scene =
        LayoutChart(chart, DesignedSizeOf(DesignedChart::CspChpiSignal), English());
    const int origin = scene.left.Pixel(0);
    const int w0 = scene.barWidths[0];

    // Line signal: bars of +1 stand on the origin, -1 hangs below it, 0 is a line.
    const auto bars = ItemsOf(scene, SceneRole::Bar, 0);
    ASSERT_EQ(bars.size(), 3u);
    EXPECT_EQ(bars[0]->rect.bottom() + 1, origin);
    EXPECT_EQ(bars[0]->rect.top(), scene.left.Pixel(1));
    EXPECT_EQ(bars[1]->rect.top(), origin);
    EXPECT_EQ(bars[1]->rect.bottom() + 1, scene.left.Pixel(-1));
    EXPECT_TRUE(bars[0]->filled);
    EXPECT_EQ(bars[0]->brush, QColor(0, 0, 255));
    EXPECT_EQ(bars[0]->pen.colour, QColor(Qt::black));
    const auto flat = ItemsOf(scene, SceneRole::BarLine, 0);
    ASSERT_EQ(flat.size(), 3u);
    for (const SceneItem* line : flat) {
        EXPECT_EQ(line->line.y1(), origin);
        EXPECT_EQ(line->line.y2(), origin);
        EXPECT_EQ(line->line.dx(), w0);
        EXPECT_EQ(line->pen.colour, QColor(0, 0, 255));
    }

    // Source: unfilled dotted outlines; a 0 leaves only its mark, whose box
    // stands ArrowLength above the origin.
    const auto source = ItemsOf(scene, SceneRole::Bar, 2);
    ASSERT_EQ(source.size(), 3u);
    for (const SceneItem* bar : source) {
        EXPECT_FALSE(bar->filled);
        EXPECT_TRUE(bar->pen.dotted);
        EXPECT_EQ(bar->pen.colour, QColor(Qt::black));
    }
    EXPECT_TRUE(ItemsOf(scene, SceneRole::BarLine, 2).empty());
    const auto boxes = ItemsOf(scene, SceneRole::MarkBox, 2);
    const auto texts = ItemsOf(scene, SceneRole::MarkText, 2);
    ASSERT_EQ(boxes.size(), 6u);
    ASSERT_EQ(texts.size(), 6u);
    const QFontMetrics fm(ToQFont(chart.SeriesAt(2)->Marks.Font));
    const int w2 = scene.barWidths[2];
    for (std::size_t i = 0; i < 6; ++i) {
        const double y = chart.SeriesAt(2)->YValue(static_cast<int>(i));
        EXPECT_EQ(texts[i]->text, y == 0 ? QStringLiteral("0") : QStringLiteral("1"));
        EXPECT_EQ(boxes[i]->rect.bottom() + 1, scene.left.Pixel(y) - 20) << i;
        EXPECT_EQ(boxes[i]->rect.height(), fm.height() + 2);
        EXPECT_EQ(boxes[i]->rect.width(),
                  fm.horizontalAdvance(texts[i]->text) + fm.horizontalAdvance('W') + 2);
        const int left = scene.bottom.Pixel(static_cast<double>(i + 1)) - w2 / 2 +
                         static_cast<int>(std::nearbyint(-40 * w2 * 0.01));
        EXPECT_EQ(boxes[i]->rect.left(), left + w2 / 2 - boxes[i]->rect.width() / 2);
        EXPECT_EQ(boxes[i]->brush, QColor(Qt::white));
    }
    // The top margin leaves room for the mark above the highest value, which
    // is the noisy line's.
    const int room = fm.height() + 20 + 2 + 1;
    EXPECT_NEAR(scene.left.Pixel(chart.SeriesAt(1)->YValues.MaxValue()) - scene.left.start, room,
                1);
}

TEST_F(ChartLayoutTest, MarksOfBarsBelowTheOriginHangUnderThem) {
    TCustomChart chart;
    TBarSeries& bars = *chart.AddSeries<TBarSeries>();
    bars.AddPoint(1, -2, QString(), clBlue);
    bars.AddPoint(2, 3, QStringLiteral("up"), clBlue);
    const ChartScene scene = LayoutChart(chart, QSize(300, 200), English());
    const auto boxes = ItemsOf(scene, SceneRole::MarkBox);
    const auto arrows = ItemsOf(scene, SceneRole::MarkArrow);
    const auto texts = ItemsOf(scene, SceneRole::MarkText);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0]->rect.top(), scene.left.Pixel(-2) + 20 + 1);
    EXPECT_EQ(arrows[0]->line.y1(), scene.left.Pixel(-2));
    EXPECT_EQ(arrows[0]->line.y2(), boxes[0]->rect.top());
    EXPECT_EQ(arrows[0]->pen.colour, QColor(Qt::white));
    EXPECT_EQ(texts[0]->text, QStringLiteral("-2"));
    EXPECT_EQ(texts[1]->text, QStringLiteral("up")); // a label wins over the value
    // room for marks on both sides of the origin
    const QFontMetrics fm(ToQFont(bars.Marks.Font));
    const int room = fm.height() + 20 + 2 + 1;
    EXPECT_NEAR(scene.left.end - scene.left.Pixel(-2), room, 1);
    EXPECT_NEAR(scene.left.Pixel(3) - scene.left.start, room, 1);
}

TEST_F(ChartLayoutTest, IncrementStartsBelowOrAtOneByTheRange) {
    // A spectrum-like line from 0 to top: the vertical label size is one line,
    // so the labels that fit follow from the axis length.
    const struct {
        double top;
        double increment;
    } cases[] = {
        {0.4, 0.05},                     // below 1: climbs from 1e-12
        {0.9, 0.1},                      // still below 1
        {1.05, 1},                       // 1 or more: starts at 1, which already fits
        {3.5, 1},    {45, 5}, {160, 10}, // exactly 16 labels
        {170, 20},
    };
    for (const auto& c : cases) {
        TCustomChart chart;
        ApplyDesignedChart(chart, DesignedChart::CspChpiSpectrum);
        for (int i = 0; i <= 100; ++i)
            chart.SeriesAt(0)->AddPoint(i / 50.0, c.top * i / 100.0, QString(), clRed);
        const ChartScene scene =
            LayoutChart(chart, DesignedSizeOf(DesignedChart::CspChpiSpectrum), English());
        const int lineHeight = QFontMetrics(ToQFont(chart.LeftAxis.LabelsFont)).height();
        const int fit = static_cast<int>(
            std::nearbyint(scene.left.length() / (lineHeight + std::nearbyint(lineHeight / 10.0))));
        ASSERT_EQ(fit, 16) << "the cases assume 16 labels fit";
        EXPECT_NEAR(scene.left.increment, c.increment, c.increment * 1e-9) << c.top;
        // labels run down from a multiple of the increment to the minimum
        ASSERT_FALSE(scene.left.labels.empty());
        EXPECT_LE(scene.left.labels.front().value, scene.left.maximum);
        EXPECT_GE(scene.left.labels.back().value, scene.left.minimum - 1e-9);
        const double k = scene.left.labels.front().value / c.increment;
        EXPECT_NEAR(k, std::round(k), 1e-6);
    }
}

TEST_F(ChartLayoutTest, LabelsRunDownFromTheRoundedMaximum) {
    TCustomChart chart;
    chart.BottomAxis.Automatic = false; // fixed ranges isolate the label rule
    chart.LeftAxis.Automatic = false;
    TLineSeries& s = *chart.AddSeries<TLineSeries>();
    s.AddPoint(0, 0, QString(), clRed);
    const struct {
        double minimum, maximum;
        std::vector<QString> texts;
    } cases[] = {
        {-0.3, 2.2, {"2", "1", "0"}},
        {-1.2, 2.9, {"2", "1", "0", "-1"}},
        {-3.5, -0.5, {"-1", "-2", "-3"}},
        {1, 1, {"1"}},
    };
    for (const auto& c : cases) {
        chart.LeftAxis.Minimum = c.minimum;
        chart.LeftAxis.Maximum = c.maximum;
        chart.LeftAxis.Increment = 1;
        chart.BottomAxis.Minimum = 0;
        chart.BottomAxis.Maximum = 1;
        const ChartScene scene = LayoutChart(chart, QSize(400, 120), English());
        EXPECT_EQ(LabelTexts(scene.left), c.texts) << c.minimum << " " << c.maximum;
        for (const auto& l : scene.left.labels)
            EXPECT_EQ(l.pixel, scene.left.Pixel(l.value));
    }
    // A range far below the resolution of its values still ends.
    chart.LeftAxis.Increment = 0;
    chart.LeftAxis.Minimum = 1e6;
    chart.LeftAxis.Maximum = 1e6 + 1e-9;
    const ChartScene tiny = LayoutChart(chart, QSize(400, 120), English());
    EXPECT_FALSE(tiny.left.labels.empty());
    EXPECT_LE(tiny.left.labels.size(), 10001u);
    chart.LeftAxis.Increment = 1;

    // Each label has a grid line, a tick; minor ticks split the intervals in four.
    chart.LeftAxis.Minimum = -1.2;
    chart.LeftAxis.Maximum = 2.9;
    const ChartScene scene = LayoutChart(chart, QSize(400, 120), English());
    const int labels = static_cast<int>(scene.left.labels.size() + scene.bottom.labels.size());
    EXPECT_EQ(static_cast<int>(ItemsOf(scene, SceneRole::Grid).size()), labels);
    EXPECT_EQ(static_cast<int>(ItemsOf(scene, SceneRole::Tick).size()), labels);
    const int intervals = labels - 2;
    EXPECT_EQ(static_cast<int>(ItemsOf(scene, SceneRole::MinorTick).size()), 3 * intervals);
    const SceneItem* tick = ItemsOf(scene, SceneRole::Tick).front();
    EXPECT_EQ(std::abs(tick->line.dx()) + 1, 4);
    EXPECT_LT(std::max(tick->line.x1(), tick->line.x2()), scene.plot.left() - 1);
}

TEST_F(ChartLayoutTest, RussianLabelsUseCommas) {
    TCustomChart chart;
    ApplyDesignedChart(chart, DesignedChart::VospEp1Spectrum);
    for (int i = 1; i <= 200; ++i)
        chart.SeriesAt(0)->AddPoint(i / 100.0, 0.3 * std::sin(i / 100.0), QString(), clRed);
    ChartLayoutOptions ru;
    ru.locale = QLocale(QLocale::Russian, QLocale::Russia);
    const ChartScene scene = LayoutChart(chart, QSize(441, 257), ru);
    bool sawComma = false;
    for (const auto& l : scene.left.labels) {
        EXPECT_FALSE(l.text.contains('.')) << l.text.toStdString();
        sawComma = sawComma || l.text.contains(',');
    }
    EXPECT_TRUE(sawComma);
}

TEST_F(ChartLayoutTest, HiddenAxesStillDecideRangesAndBars) {
    TCustomChart shown, hidden;
    ApplyDesignedChart(shown, DesignedChart::CspAbsSignal);
    ApplyDesignedChart(hidden, DesignedChart::CspAbsSignal);
    hidden.AxisVisible = false;
    const std::vector<double> levels{0.5, -0.5, 0.5, -0.5, -0.5, 0.5};
    FormSignal(shown, levels, {1, 1, 0}, 2);
    FormSignal(hidden, levels, {1, 1, 0}, 2);
    const ChartScene a = LayoutChart(shown, QSize(441, 169), English());
    const ChartScene b = LayoutChart(hidden, QSize(441, 169), English());
    EXPECT_TRUE(a.axesShown);
    EXPECT_FALSE(b.axesShown);
    for (SceneRole role : {SceneRole::Grid, SceneRole::AxisLabel, SceneRole::Tick,
                           SceneRole::MinorTick, SceneRole::AxisLine})
        EXPECT_TRUE(ItemsOf(b, role).empty());
    EXPECT_FALSE(ItemsOf(a, SceneRole::Grid).empty());
    // Without labels the plot grows; the same rules then give the widths.
    EXPECT_GT(b.bottom.length(), a.bottom.length());
    const int n = 6;
    const int c = b.bottom.length() / (n + 1);
    EXPECT_EQ(b.barWidths[0], c % 2 ? c + 1 : c);
    EXPECT_EQ(ItemsOf(b, SceneRole::Bar, 0).size(), 6u);
    // the three wider source bars ask for the larger margin
    EXPECT_GT(b.barWidths[2], b.barWidths[0]);
    EXPECT_NEAR(b.bottom.Pixel(0.1) - b.bottom.start, b.barWidths[2], 1);
    EXPECT_EQ(b.left.minimum, -0.5); // no mark hangs below the origin
    EXPECT_GT(b.left.maximum, 1.5);  // room for the source marks
}

TEST_F(ChartLayoutTest, GradientBandsRunFromWhiteAtTheBottom) {
    for (int height : {169, 257, 256, 40, 1}) {
        TCustomChart chart;
        ApplyDesignedChart(chart, DesignedChart::CspComparison);
        const ChartScene scene = LayoutChart(chart, QSize(449, height), English());
        const auto bands = ItemsOf(scene, SceneRole::Background);
        ASSERT_EQ(static_cast<int>(bands.size()), std::min(height, 256));
        EXPECT_EQ(bands.front()->rect.bottom(), height - 1);
        EXPECT_EQ(bands.front()->brush, QColor(255, 255, 255));
        if (height > 1) {
            EXPECT_EQ(bands.back()->rect.top(), 0);
            EXPECT_EQ(bands.back()->brush, QColor(0, 128, 255));
        }
        int covered = 0;
        for (std::size_t k = 0; k < bands.size(); ++k) {
            const int h = bands[k]->rect.height();
            EXPECT_TRUE(h == height / static_cast<int>(bands.size()) ||
                        h == height / static_cast<int>(bands.size()) + 1);
            if (k > 0) {
                EXPECT_EQ(bands[k]->rect.bottom() + 1, bands[k - 1]->rect.top());
            }
            covered += h;
        }
        EXPECT_EQ(covered, height);
    }
    // a band in the middle is the rounded mix
    TCustomChart chart;
    ApplyDesignedChart(chart, DesignedChart::CspComparison);
    const ChartScene scene = LayoutChart(chart, QSize(449, 257));
    const auto bands = ItemsOf(scene, SceneRole::Background);
    const QColor mid = bands[85]->brush;   // k = 85 of 255
    EXPECT_EQ(mid, QColor(170, 213, 255)); // 255 - 255*85/255, 255 - 127*85/255 = 212.67
}

TEST_F(ChartLayoutTest, PaintingOrder) {
    TCustomChart chart;
    ApplyDesignedChart(chart, DesignedChart::CspPitSignal);
    FormSignal(chart, {1, -1, 0, 1, -1, 1}, {1, 1, 0, 1, 0, 0}, 1);
    chart.Title.Visible = true;
    chart.Title.Text = QStringLiteral("t");
    const ChartScene scene = LayoutChart(chart, QSize(441, 169), English());
    auto firstOf = [&](SceneRole role, int series = -2) {
        for (std::size_t i = 0; i < scene.items.size(); ++i)
            if (scene.items[i].role == role && (series == -2 || scene.items[i].series == series))
                return static_cast<int>(i);
        return -1;
    };
    auto lastOf = [&](SceneRole role, int series = -2) {
        int found = -1;
        for (std::size_t i = 0; i < scene.items.size(); ++i)
            if (scene.items[i].role == role && (series == -2 || scene.items[i].series == series))
                found = static_cast<int>(i);
        return found;
    };
    const std::vector<int> order{
        lastOf(SceneRole::Background),  firstOf(SceneRole::Title),    firstOf(SceneRole::BackWall),
        lastOf(SceneRole::Grid),        firstOf(SceneRole::AxisLine), lastOf(SceneRole::AxisLabel),
        firstOf(SceneRole::Bar, 0),     firstOf(SceneRole::Line, 1),  firstOf(SceneRole::Bar, 2),
        firstOf(SceneRole::MarkBox, 2),
    };
    for (std::size_t i = 0; i < order.size(); ++i)
        ASSERT_GE(order[i], 0) << i;
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
    EXPECT_EQ(firstOf(SceneRole::Title), lastOf(SceneRole::Title));
    // The series are clipped to the plot rectangle; these marks are not.
    const SceneItem& clip = scene.items[static_cast<std::size_t>(firstOf(SceneRole::Bar, 0) - 1)];
    EXPECT_EQ(clip.role, SceneRole::ClipBegin);
    EXPECT_EQ(clip.rect, scene.plot);
    EXPECT_EQ(scene.items[static_cast<std::size_t>(firstOf(SceneRole::MarkArrow, 2) - 1)].role,
              SceneRole::ClipEnd);
}

TEST_F(ChartLayoutTest, LineSegmentsTakeTheColourOfTheirEndPoint) {
    TCustomChart chart;
    chart.AxisVisible = false;
    TLineSeries& s = *chart.AddSeries<TLineSeries>();
    s.SeriesColor = clGreen;
    const Colour colours[] = {clRed, clBlue, clNone, clYellow};
    for (int i = 0; i < 4; ++i)
        s.AddPoint(i * 10, i % 2, QString(), colours[i]);
    const ChartScene scene = LayoutChart(chart, QSize(300, 200), English());
    const auto lines = ItemsOf(scene, SceneRole::Line);
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_EQ(lines[0]->points.size(), 4u);
    EXPECT_EQ(lines[0]->colours[1], QColor(0, 0, 255));
    EXPECT_EQ(lines[0]->colours[2], QColor(0, 128, 0)); // no own colour: series colour
    EXPECT_EQ(lines[0]->colours[3], QColor(255, 255, 0));
    EXPECT_EQ(lines[0]->points[0], QPoint(scene.bottom.start, scene.left.end));
    EXPECT_EQ(lines[0]->points[3], QPoint(scene.bottom.end, scene.left.start));
}

TEST_F(ChartLayoutTest, PointsBeyondTheDrawableRangeAreLeftOut) {
    TCustomChart chart;
    chart.LeftAxis.Automatic = false;
    chart.LeftAxis.Minimum = 0;
    chart.LeftAxis.Maximum = 1;
    TLineSeries& s = *chart.AddSeries<TLineSeries>();
    s.AddPoint(0, 0.5, QString(), clRed);
    s.AddPoint(1, 100, QString(), clRed); // far above, still drawable
    s.AddPoint(2, 1e6, QString(), clRed); // beyond the 16-bit range
    s.AddPoint(3, 0.25, QString(), clRed);
    const ChartScene scene = LayoutChart(chart, QSize(300, 200), English());
    const auto lines = ItemsOf(scene, SceneRole::Line);
    ASSERT_EQ(lines.size(), 1u);
    std::vector<int> ys;
    for (const QPoint& p : lines[0]->points)
        ys.push_back(p.y());
    ASSERT_EQ(ys.size(), 3u);
    EXPECT_EQ(ys[0], scene.left.Pixel(0.5));
    EXPECT_EQ(ys[1], scene.left.Pixel(100));
    EXPECT_LT(ys[1], -10000);
    EXPECT_EQ(ys[2], scene.left.Pixel(0.25));
}

TEST_F(ChartLayoutTest, RepeatedPressesAndFormingsKeepEveryPoint) {
    TCustomChart spectrum;
    ApplyDesignedChart(spectrum, DesignedChart::CspAbsSpectrum);
    PressSpectrum(spectrum);
    const ChartScene once = LayoutChart(spectrum, QSize(441, 257), English());
    PressSpectrum(spectrum);
    ASSERT_EQ(spectrum.SeriesAt(0)->Count(), 400);
    for (int i = 0; i < 400; i += 2)
        EXPECT_EQ(spectrum.SeriesAt(0)->XValue(i), spectrum.SeriesAt(0)->XValue(i + 1));
    const ChartScene twice = LayoutChart(spectrum, QSize(441, 257), English());
    EXPECT_EQ(once.left.minimum, twice.left.minimum);
    EXPECT_EQ(once.left.maximum, twice.left.maximum);
    EXPECT_EQ(RenderChart(spectrum, QSize(441, 257), English()), [&] {
        TCustomChart single;
        ApplyDesignedChart(single, DesignedChart::CspAbsSpectrum);
        PressSpectrum(single);
        return RenderChart(single, QSize(441, 257), English());
    }());

    // A second forming: each x of the noisy line holds two points, the old one first.
    TCustomChart signal;
    ApplyDesignedChart(signal, DesignedChart::CspPitSignal);
    FormSignal(signal, {1, -1, 0, 1, -1, 1}, {1, 1, 0, 1, 0, 0}, 1);
    const double firstY = signal.SeriesAt(1)->YValue(0);
    signal.SeriesAt(1)->AddPoint(0.1, -5, QString(), clRed);
    EXPECT_EQ(signal.SeriesAt(1)->XValue(1), 0.1);
    EXPECT_EQ(signal.SeriesAt(1)->YValue(0), firstY);
    EXPECT_EQ(signal.SeriesAt(1)->YValue(1), -5);
}

// On a screen of two pixels a point, the dotted outline of a source bit is
// the same dots, each two pixels square, not a solid line.
TEST_F(ChartLayoutTest, DottedBarsStayDottedAtTwicePixelDensity) {
    TCustomChart chart;
    ApplyDesignedChart(chart, DesignedChart::CspPitSignal);
    // The source bits alone, so that only their marks' arrows, from the
    // middle of each bar, cross their outlines.
    for (int i = 1; i <= 6; ++i)
        chart.SeriesAt(2)->AddPoint(i, 1, QString(), clRed);
    const QSize size = DesignedSizeOf(DesignedChart::CspPitSignal);
    const ChartScene scene = LayoutChart(chart, size, English());
    const auto paint = [&](qreal density) {
        QImage image(size * density, QImage::Format_RGB32);
        image.setDevicePixelRatio(density);
        QPainter painter(&image);
        PaintScene(painter, scene);
        return image;
    };
    const QImage once = paint(1);
    const QImage twice = paint(2);
    const std::vector<const SceneItem*> bits = ItemsOf(scene, SceneRole::Bar, 2);
    ASSERT_FALSE(bits.empty());
    const QRect bar = bits.front()->rect;
    const int middle = bar.left() + bar.width() / 2 - 2; // left of the arrow
    // Runs of one colour along a row, from the bar's corner.
    const auto runs = [](const QImage& image, int row, int from, int to) {
        std::vector<int> lengths{1};
        for (int x = from + 1; x < to; ++x) {
            if (image.pixel(x, row) == image.pixel(x - 1, row))
                ++lengths.back();
            else
                lengths.push_back(1);
        }
        return lengths;
    };
    const std::vector<int> dots = runs(once, bar.top(), bar.left() + 1, middle);
    ASSERT_GT(dots.size(), 4u);
    // Scaled, the line lies a device pixel higher or lower; find its row.
    int row = 2 * bar.top() - 1;
    for (int r = 2 * bar.top(); r <= 2 * bar.top() + 1; ++r)
        if (runs(twice, r, 2 * bar.left() + 2, 2 * middle).size() >
            runs(twice, row, 2 * bar.left() + 2, 2 * middle).size())
            row = r;
    const std::vector<int> scaled = runs(twice, row, 2 * bar.left() + 2, 2 * middle);
    EXPECT_GE(scaled.size(), dots.size());
    for (std::size_t k = 1; k + 1 < scaled.size(); ++k)
        EXPECT_EQ(scaled[k], 2) << "run " << k;
}

TEST_F(ChartLayoutTest, ReducedLinesPaintTheSameImage) {
    struct Case {
        const char* name;
        DesignedChart layout;
        std::function<void(TCustomChart&)> fill;
    };
    const Case cases[] = {
        {"one spectrum press", DesignedChart::CspChpiSpectrum,
         [](TCustomChart& c) { PressSpectrum(c); }},
        {"many presses", DesignedChart::VospCmiSpectrum,
         [](TCustomChart& c) {
             for (int k = 0; k < 60; ++k)
                 PressSpectrum(c);
         }},
        {"dense noisy curve", DesignedChart::CspComparison,
         [](TCustomChart& c) {
             std::mt19937 random(3);
             std::uniform_real_distribution<double> y(-1, 1);
             for (int i = 0; i < 20000; ++i)
                 c.SeriesAt(0)->AddPoint(i / 1000.0, y(random), QString(), clRed);
         }},
        {"colours change inside columns", DesignedChart::CspComparison,
         [](TCustomChart& c) {
             std::mt19937 random(5);
             std::uniform_real_distribution<double> y(0, 3);
             const Colour colours[] = {clRed, clBlue, clNavy};
             for (int i = 0; i < 6000; ++i)
                 c.SeriesAt(1)->AddPoint(i / 1000.0, y(random), QString(), colours[(i / 7) % 3]);
             for (int i = 0; i < 3000; ++i)
                 c.SeriesAt(2)->AddPoint(i / 500.0, std::sin(i / 40.0), QString(), colours[i % 3]);
         }},
        {"repeated formings", DesignedChart::CspPitSignal,
         [](TCustomChart& c) {
             for (int k = 0; k < 30; ++k)
                 FormSignal(c, {1, -1, 0, 1, -1, 1, 0, 0, 1, -1}, {1, 1, 0, 1, 0, 0, 1, 0, 1, 1},
                            1);
         }},
        {"steep zoom with points off the page", DesignedChart::CspAbsSpectrum,
         [](TCustomChart& c) {
             for (int k = 0; k < 3; ++k)
                 PressSpectrum(c);
             c.LeftAxis.Automatic = false;
             c.LeftAxis.Minimum = 0;
             c.LeftAxis.Maximum = 0.001;
         }},
    };
    for (const Case& c : cases) {
        TCustomChart chart;
        ApplyDesignedChart(chart, c.layout);
        c.fill(chart);
        const QSize size = DesignedSizeOf(c.layout);
        ChartLayoutOptions reduced = English();
        ChartLayoutOptions full = English();
        full.reduceLines = false;
        const ChartScene a = LayoutChart(chart, size, reduced);
        const ChartScene b = LayoutChart(chart, size, full);
        std::size_t drawnA = 0, drawnB = 0;
        for (const SceneItem* item : ItemsOf(a, SceneRole::Line))
            drawnA += item->points.size();
        for (const SceneItem* item : ItemsOf(b, SceneRole::Line))
            drawnB += item->points.size();
        EXPECT_EQ(RenderChart(chart, size, reduced), RenderChart(chart, size, full)) << c.name;
        EXPECT_LE(drawnA, drawnB) << c.name;
        for (const SceneRole role : {SceneRole::Bar, SceneRole::BarLine, SceneRole::MarkText})
            EXPECT_LE(ItemsOf(a, role).size(), ItemsOf(b, role).size()) << c.name;
    }

    // Thirty formings of one combination draw the bars and marks of one.
    const auto form = [this](int times) {
        TCustomChart chart;
        ApplyDesignedChart(chart, DesignedChart::CspPitSignal);
        for (int k = 0; k < times; ++k)
            FormSignal(chart, {1, -1, 0, 1, -1, 1, 0, 0, 1, -1}, {1, 1, 0, 1, 0, 0, 1, 0, 1, 1}, 1);
        return LayoutChart(chart, DesignedSizeOf(DesignedChart::CspPitSignal), English());
    };
    const ChartScene once = form(1);
    const ChartScene many = form(30);
    for (const SceneRole role : {SceneRole::Bar, SceneRole::BarLine, SceneRole::MarkArrow,
                                 SceneRole::MarkBox, SceneRole::MarkText})
        EXPECT_EQ(ItemsOf(many, role).size(), ItemsOf(once, role).size()) << static_cast<int>(role);
    EXPECT_EQ(ItemsOf(many, SceneRole::MarkText).size(), 10u);
}
