// A full 1000 x 600 plot painted off-screen with one straight-line channel
// of N noisy sine points (fast trace, width 1), all in view or only the
// newest 1000; a channel of 10^8 compact-interval points, painted and
// zoomed to fit; and a cubic-spline channel of 10^4 points.

#include "platform/Bitmap.h"
#include "plot/iPlot.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannel.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <random>

namespace {

struct TTracePlot {
    TiPlot Plot;
    TBitmap Picture{1000, 600};
    TiPlotChannel& Channel = static_cast<TiPlotChannel&>(*Plot.Channel(0));

    TTracePlot(int N, TiPlotInterpolationStyle Style, TiPlotDataStyle Storage = ipdsStandard) {
        Plot.resize(1000, 600);
        Channel.SetXAxisTrackingEnabled(false);
        Channel.SetYAxisTrackingEnabled(false);
        Channel.SetInterpolationStyle(Style);
        Channel.SetDataStyle(Storage);
        std::mt19937 Random(1);
        std::uniform_real_distribution<double> Noise(-0.2, 0.2);
        for (int I = 0; I < N; ++I)
            Channel.AddXY(I, std::sin(2 * std::numbers::pi * 5 * I / N) + Noise(Random));
        Plot.YAxis(0)->SetMinSpan(-1.5, 3);
        Plot.XAxis(0)->SetMinSpan(0, N - 1);
    }
};

void Run(benchmark::State& State, TTracePlot& T) {
    for (auto _ : State)
        T.Plot.Paint(T.Picture.Canvas());
    State.counters["points"] = T.Channel.VisibleStop() - T.Channel.VisibleStart() + 1;
    State.counters["index_share"] =
        double(T.Channel.Data().IndexMemoryUsed()) / double(T.Channel.Data().MemoryUsed());
}

void BM_FastTraceAllInView(benchmark::State& State) {
    static std::unique_ptr<TTracePlot> T;
    if (!T || T->Channel.Count() != State.range(0))
        T = std::make_unique<TTracePlot>(int(State.range(0)), ipistStraightLine);
    Run(State, *T);
}
BENCHMARK(BM_FastTraceAllInView)
    ->Arg(100000)
    ->Arg(1000000)
    ->Arg(10000000)
    ->Unit(benchmark::kMillisecond);

void BM_FastTraceLast1000Of1e7(benchmark::State& State) {
    static TTracePlot T(10000000, ipistStraightLine);
    T.Plot.XAxis(0)->SetMinSpan(10000000 - 1000, 999);
    Run(State, T);
}
BENCHMARK(BM_FastTraceLast1000Of1e7)->Unit(benchmark::kMillisecond);

// 10^8 points at 4 bytes each (400 MB), made once for both benchmarks and
// painted once, which sums up the points added for the summary index.
TTracePlot& HundredMillion() {
    static TTracePlot T(100'000'000, ipistStraightLine, ipdsCompactInterval);
    static const bool Painted = (T.Plot.Paint(T.Picture.Canvas()), true);
    (void)Painted;
    return T;
}

void BM_FastTraceAllInView1e8CompactInterval(benchmark::State& State) {
    Run(State, HundredMillion());
}
BENCHMARK(BM_FastTraceAllInView1e8CompactInterval)->Unit(benchmark::kMillisecond);

void BM_ZoomToFit1e8(benchmark::State& State) {
    TTracePlot& T = HundredMillion();
    TiPlotAxis& Y = *T.Plot.YAxis(0);
    for (auto _ : State) {
        Y.SetMinSpan(-1.5, 3);
        Y.ZoomToFit();
    }
    State.counters["y_min"] = Y.Min();
    State.counters["y_span"] = Y.Span();
}
BENCHMARK(BM_ZoomToFit1e8)->Unit(benchmark::kMicrosecond);

void BM_CubicSpline1e4(benchmark::State& State) {
    static TTracePlot T(10000, ipistCubicSpline);
    Run(State, T);
}
BENCHMARK(BM_CubicSpline1e4)->Unit(benchmark::kMillisecond);

// The frame alone: the same plot without points.
void BM_EmptyPlotFrame(benchmark::State& State) {
    static TTracePlot T(0, ipistStraightLine);
    T.Plot.XAxis(0)->SetMinSpan(0, 1000);
    Run(State, T);
}
BENCHMARK(BM_EmptyPlotFrame)->Unit(benchmark::kMillisecond);

} // namespace
