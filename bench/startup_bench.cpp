// Start-up: all eight windows built in their order and the main window
// painted once, as a student waits for it after launching the program.

#include "app/application.h"
#include "app/window_set.h"
#include "bench/drawing_bench_main.h"
#include "ui/form1.h"
#include "ui/window_references.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

void BM_StartUp(benchmark::State& state) {
    for (auto _ : state) {
        auto windows = std::make_unique<WindowSet>();
        // One full paint of the main window, as its first showing does.
        QImage image(Form1->size(), QImage::Format_ARGB32_Premultiplied);
        Form1->render(&image);
        benchmark::DoNotOptimize(image.bits());
        windows.reset();
    }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv) {
    return RunDrawingBenchmarks<TApplication>(argc, argv);
}
