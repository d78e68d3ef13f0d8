// What a teacher waits for: one `linecode psd` run of the default 65,536
// random bits, from drawing the bits to the printed spectrum, for each code;
// and the measurement alone, without the printing.

#include "codes/line_code.h"
#include "codes/measured_spectrum.h"
#include "tools/linecode/linecode_commands.h"

#include <benchmark/benchmark.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

LineCode CodeOf(const benchmark::State& state) {
    return kAllLineCodes[state.range(0)];
}

void BM_PsdCommand(benchmark::State& state) {
    const std::string key(LineCodeKey(CodeOf(state)));
    const std::vector<std::string_view> args = {"psd", key};
    for (auto _ : state) {
        std::ostringstream out, err;
        benchmark::DoNotOptimize(RunLinecode(args, out, err));
        benchmark::DoNotOptimize(out.str().size());
    }
    state.SetLabel(key);
}
BENCHMARK(BM_PsdCommand)->DenseRange(0, 7)->Unit(benchmark::kMillisecond);

void BM_MeasureSpectrum(benchmark::State& state) {
    const LineCode code = CodeOf(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(MeasureSpectrum(code, kDefaultPsdBits).points.data());
    state.SetLabel(std::string(LineCodeKey(code)));
}
BENCHMARK(BM_MeasureSpectrum)->DenseRange(0, 7)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
