// The dynamic model: what a tick costs while its window is hidden and while
// it is shown, what one tick repaints, the positions after any run, and the
// share of a core the process takes while the window is shown.

#include "animation/line_path_animation.h"
#include "bench/drawing_bench_main.h"
#include "ui/dinamic.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QPaintEvent>
#include <QRegion>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <ctime>
#include <memory>

namespace {

// Counts the paint events of a window and of everything in it, and the
// pixels the window itself repaints.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& window) : m_window(window) {
        window.installEventFilter(this);
        for (QWidget* child : window.findChildren<QWidget*>())
            child->installEventFilter(this);
    }
    void Reset() { windowPaints = childPaints = windowPixels = 0; }

    long windowPaints = 0;
    long childPaints = 0;
    long windowPixels = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint)
            return false;
        if (watched != &m_window) {
            ++childPaints;
            return false;
        }
        ++windowPaints;
        for (const QRect& r : static_cast<QPaintEvent*>(event)->region())
            windowPixels += static_cast<long>(r.width()) * r.height();
        return false;
    }

private:
    QWidget& m_window;
};

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// Runs the event loop, as the program does, for `ms` milliseconds.
void RunEventLoop(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void ShowAndSettle(TDinamic& window) {
    window.show();
    RunEventLoop(300);
}

// Ticks go by while the window is hidden: nothing runs, nothing is painted.
void BM_TickWhileHidden(benchmark::State& state) {
    TDinamic window;
    std::int64_t ms = 0;
    window.SetClock([&] { return ms; });
    PaintCounter paints(window);
    for (auto _ : state) {
        ms += kTickMilliseconds;
        QCoreApplication::processEvents();
    }
    state.counters["paints_per_tick"] =
        benchmark::Counter(static_cast<double>(paints.windowPaints + paints.childPaints) /
                           static_cast<double>(state.iterations()));
    state.counters["timer_running"] = window.findChild<QTimer*>("Timer1")->isActive() ? 1 : 0;
}
BENCHMARK(BM_TickWhileHidden);

// One tick while the window is shown: the shapes to their new places and
// the repaint it asks for, painted.
void BM_TickWhileShown(benchmark::State& state) {
    TDinamic window;
    std::int64_t ms = 0;
    window.SetClock([&] { return ms; });
    ShowAndSettle(window);
    PaintCounter paints(window);
    for (auto _ : state) {
        ms += kTickMilliseconds;
        window.Timer1Timer();
        QCoreApplication::processEvents();
    }
    const auto perTick = [&](long n) {
        return static_cast<double>(n) / static_cast<double>(state.iterations());
    };
    state.counters["window_paints_per_tick"] = perTick(paints.windowPaints);
    state.counters["child_paints_per_tick"] = perTick(paints.childPaints);
    state.counters["repainted_px_per_tick"] = perTick(paints.windowPixels);
    const QRect e = window.ElectricalStrip();
    const QRect o = window.OpticalStrip();
    state.counters["strips_px"] = e.width() * e.height() + o.width() * o.height();
    state.counters["window_px"] = window.width() * window.height();
}
BENCHMARK(BM_TickWhileShown);

// For comparison: the whole window painted, as a tick repainting everything would.
void BM_WholeWindowRepaint(benchmark::State& state) {
    TDinamic window;
    ShowAndSettle(window);
    for (auto _ : state)
        window.repaint();
}
BENCHMARK(BM_WholeWindowRepaint);

// The positions after any number of ticks, in the same time.
void BM_PositionsAfterTicks(benchmark::State& state) {
    LinePathAnimation animation;
    const std::int64_t ticks = state.range(0);
    for (auto _ : state) {
        animation.SetTicks(ticks);
        benchmark::DoNotOptimize(animation.shapes().data());
    }
}
BENCHMARK(BM_PositionsAfterTicks)->Arg(1)->Arg(1'000'000)->Arg(1'000'000'000'000);

// The process's CPU time over real time for `seconds` of the event loop
// running as in the program, with the window hidden, shown, or shown on a
// clock that stands still (its timer wakes but nothing moves: what the
// wake-ups cost without the painting).
enum class Run { Hidden, Shown, ShownStill };

void RunFor(benchmark::State& state, Run run, int seconds) {
    for (auto _ : state) {
        TDinamic window;
        if (run == Run::ShownStill)
            window.SetClock([] { return std::int64_t{0}; });
        PaintCounter paints(window);
        if (run != Run::Hidden)
            ShowAndSettle(window);
        long wakeUps = 0;
        QObject::connect(window.findChild<QTimer*>("Timer1"), &QTimer::timeout, [&] { ++wakeUps; });
        paints.Reset();
        const std::int64_t ticksBefore = window.animation().ticks();
        const double cpuBefore = ProcessCpuSeconds();
        QElapsedTimer wall;
        wall.start();
        RunEventLoop(seconds * 1000);
        const double cpu = ProcessCpuSeconds() - cpuBefore;
        const double real = static_cast<double>(wall.nsecsElapsed()) * 1e-9;
        state.SetIterationTime(real);
        state.counters["cpu_percent_of_a_core"] = 100.0 * cpu / real;
        state.counters["window_paints_per_s"] = static_cast<double>(paints.windowPaints) / real;
        state.counters["timer_wake_ups_per_s"] = static_cast<double>(wakeUps) / real;
        state.counters["ticks_shown"] =
            static_cast<double>(window.animation().ticks() - ticksBefore);
    }
}

void BM_ShownTenSeconds(benchmark::State& state) {
    RunFor(state, Run::Shown, 10);
}
BENCHMARK(BM_ShownTenSeconds)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

void BM_ShownStillTenSeconds(benchmark::State& state) {
    RunFor(state, Run::ShownStill, 10);
}
BENCHMARK(BM_ShownStillTenSeconds)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

void BM_HiddenFiveSeconds(benchmark::State& state) {
    RunFor(state, Run::Hidden, 5);
}
BENCHMARK(BM_HiddenFiveSeconds)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv) {
    return RunDrawingBenchmarks<QApplication>(argc, argv);
}
