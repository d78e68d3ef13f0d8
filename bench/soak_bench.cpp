// Soak: a thousand presses of every button that adds to a chart, on both
// workbenches, then one paint of every chart. What it reports:
//
//   BM_Soak/N     N presses of every forming, spectrum and comparison button,
//                 then one paint of every chart. Counters: the points the
//                 charts hold, the bytes their point stores hold for them, the
//                 growth of the heap in use and of the resident set, and the
//                 heap growth beyond the point stores (the figure to keep small).
//   BM_Paint/C/N  one paint of chart C after N presses of every button.
//
// Both workbenches are the real windows of the window set, pressed through
// their own buttons: QAbstractButton::click runs the handler the window
// connected, as a click does.

#include "app/application.h"
#include "app/window_set.h"
#include "bench/drawing_bench_main.h"
#include "plot/chart.h"
#include "ui/csp.h"
#include "ui/vosp.h"
#include "ui/window_references.h"

#include <QImage>
#include <QLineEdit>
#include <QPushButton>

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The longest combination the field takes: the most points per forming.
constexpr auto kCombination = "1101001011";

// The buttons of a workbench that add to a chart; both windows name them
// alike. "Формирование" and "Спектр" of the instruction panel (Button20,
// Button21) run the first code panel's handlers, so they are pressed too.
constexpr const char* kButtons[] = {
    "Button6", "Button20", "Button13", "Button15", "Button14", // Формирование
    "Button7", "Button21", "Button10", "Button12", "Button11", // Спектр
    "Button9",                                                 // Сравнить
};

// The charts of a workbench, by their names in it.
constexpr const char* kCharts[] = {"Chart1",  "Chart8",  "Chart14", "Chart5", "Chart4",
                                   "Chart13", "Chart12", "Chart11", "Chart17"};

// The heap in use (small blocks and mapped ones) and the resident set.
struct Memory {
    double heap;
    double resident;
};

Memory MemoryNow() {
    const struct mallinfo2 info = mallinfo2();
    long pages = 0;
    long resident = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return {static_cast<double>(info.uordblks + info.hblkhd),
            static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE))};
}

// What a chart's point stores hold for its points: every run of repeated
// points (one stored point and its count), with the capacity its bucket has
// reserved for more, and per bucket its list, its x key and its node in the
// tree of bucket sizes.
double PointStoreBytes(const TCustomChart& chart) {
    double bytes = 0;
    for (int s = 0; s < chart.SeriesCount(); ++s) {
        for (const std::vector<ChartRun>& bucket : chart.SeriesAt(s)->Points().buckets())
            bytes += static_cast<double>(bucket.capacity() * sizeof(ChartRun) +
                                         sizeof(std::vector<ChartRun>) + sizeof(double) +
                                         sizeof(std::size_t));
    }
    return bytes;
}

double PointCount(const TCustomChart& chart) {
    double points = 0;
    for (int s = 0; s < chart.SeriesCount(); ++s)
        points += chart.SeriesAt(s)->Count();
    return points;
}

template <class T>
T* Found(T* child, const std::string& window, const char* name) {
    if (child == nullptr) {
        std::fprintf(stderr, "%s has no %s\n", window.c_str(), name);
        std::exit(1);
    }
    return child;
}

// The two workbenches with every chart, ready to be pressed.
class Workbenches {
public:
    Workbenches() : m_windows(std::make_unique<WindowSet>()) {
        for (QWidget* window : {static_cast<QWidget*>(CSP), static_cast<QWidget*>(VOSP)}) {
            const std::string name = window->metaObject()->className();
            window->findChild<QLineEdit*>(QStringLiteral("Edit1"))
                ->setText(QString::fromLatin1(kCombination));
            for (const char* button : kButtons)
                m_buttons.push_back(Found(
                    window->findChild<QPushButton*>(QString::fromLatin1(button)), name, button));
            for (const char* chart : kCharts)
                m_charts.push_back(
                    {name + "." + chart,
                     Found(window->findChild<TChart*>(QString::fromLatin1(chart)), name, chart)});
        }
    }

    // One press of every button of both workbenches.
    void PressEveryButton() {
        for (QPushButton* button : m_buttons)
            button->click();
    }

    static int ButtonsPerRound() { return static_cast<int>(std::size(kButtons)) * 2; }

    struct Chart {
        std::string name;
        TChart* chart;
    };
    const std::vector<Chart>& Charts() const { return m_charts; }

    // One paint of `chart` at its size, as its paint event draws it.
    static void Paint(TChart& chart, QImage& image) {
        if (image.size() != chart.size())
            image = QImage(chart.size(), QImage::Format_ARGB32_Premultiplied);
        chart.render(&image);
    }
    void PaintEveryChart() {
        QImage image;
        for (const Chart& c : m_charts)
            Paint(*c.chart, image);
    }

    double Points() const {
        double points = 0;
        for (const Chart& c : m_charts)
            points += PointCount(*c.chart);
        return points;
    }
    double StoreBytes() const {
        double bytes = 0;
        for (const Chart& c : m_charts)
            bytes += PointStoreBytes(*c.chart);
        return bytes;
    }

private:
    std::unique_ptr<WindowSet> m_windows;
    std::vector<QPushButton*> m_buttons;
    std::vector<Chart> m_charts;
};

// The workbenches after some presses, kept between the paint benchmarks of
// one press count.
std::unique_ptr<Workbenches> g_pressed;
int g_pressedRounds = -1;

Workbenches& PressedWorkbenches(int rounds) {
    if (g_pressedRounds != rounds) {
        g_pressed.reset();
        g_pressed = std::make_unique<Workbenches>();
        for (int i = 0; i < rounds; ++i)
            g_pressed->PressEveryButton();
        g_pressedRounds = rounds;
    }
    return *g_pressed;
}

void BM_Soak(benchmark::State& state) {
    const auto rounds = static_cast<int>(state.range(0));
    g_pressed.reset();
    g_pressedRounds = -1;
    for (auto _ : state) {
        state.PauseTiming();
        auto benches = std::make_unique<Workbenches>();
        // Every chart painted once empty, so that what painting keeps for
        // good (fonts, glyphs) is in the baseline.
        benches->PaintEveryChart();
        const Memory before = MemoryNow();
        state.ResumeTiming();
        for (int i = 0; i < rounds; ++i)
            benches->PressEveryButton();
        benches->PaintEveryChart();
        state.PauseTiming();
        const Memory after = MemoryNow();
        const double stores = benches->StoreBytes();
        state.counters["presses"] = rounds * Workbenches::ButtonsPerRound();
        state.counters["points"] = benches->Points();
        state.counters["store_MB"] = stores / 1e6;
        state.counters["heap_growth_MB"] = (after.heap - before.heap) / 1e6;
        state.counters["beyond_points_MB"] = (after.heap - before.heap - stores) / 1e6;
        state.counters["rss_growth_MB"] = (after.resident - before.resident) / 1e6;
        g_pressed = std::move(benches);
        g_pressedRounds = rounds;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Soak)->Arg(10)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_Paint(benchmark::State& state, std::size_t chart) {
    const auto rounds = static_cast<int>(state.range(0));
    Workbenches& benches = PressedWorkbenches(rounds);
    TChart& painted = *benches.Charts()[chart].chart;
    QImage image;
    for (auto _ : state) {
        Workbenches::Paint(painted, image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["points"] = PointCount(painted);
}

} // namespace

int main(int argc, char** argv) {
    // Registered after the application exists: the chart names come from the
    // windows. Each press count is pressed once and then painted chart by chart.
    const auto registerPaints = [] {
        std::vector<std::string> names;
        {
            const Workbenches probe;
            for (const Workbenches::Chart& c : probe.Charts())
                names.push_back(c.name);
        }
        for (const int rounds : {10, 1000})
            for (std::size_t i = 0; i < names.size(); ++i)
                benchmark::RegisterBenchmark(("BM_Paint/" + names[i]).c_str(), BM_Paint, i)
                    ->Arg(rounds)
                    ->Unit(benchmark::kMicrosecond);
    };
    return RunDrawingBenchmarks<TApplication>(argc, argv, registerPaints,
                                              [] { g_pressed.reset(); });
}
