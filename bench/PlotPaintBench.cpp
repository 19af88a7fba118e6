// One full paint of a default 1000 x 600 plot (toolbar, legend, title, both
// axes, data view; no points), and the two layout passes of a paint alone.

#include "platform/Bitmap.h"
#include "plot/iPlot.h"

#include <benchmark/benchmark.h>

namespace {

void BM_PlotFullPaint(benchmark::State& State) {
    TiPlot Plot;
    Plot.resize(1000, 600);
    TBitmap Picture(1000, 600);
    for (auto _ : State)
        Plot.Paint(Picture.Canvas());
}
BENCHMARK(BM_PlotFullPaint)->Unit(benchmark::kMicrosecond);

void BM_PlotLayoutTwice(benchmark::State& State) {
    TiPlot Plot;
    Plot.resize(1000, 600);
    TBitmap Picture(1000, 600);
    for (auto _ : State) {
        Plot.Layout(Picture.Canvas());
        Plot.Layout(Picture.Canvas());
    }
}
BENCHMARK(BM_PlotLayoutTwice)->Unit(benchmark::kMicrosecond);

} // namespace
