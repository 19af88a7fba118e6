// A plot trace of 10 000 points drawn as one polyline on a 1000 x 600
// off-screen canvas, with the pens a trace can have; and one axis label.

#include "bench/QtBenchmarkMain.h"
#include "platform/Bitmap.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

constexpr int Width = 1000;
constexpr int Height = 600;

// X runs across the picture; Y follows a noisy wave, as sensor data does.
std::vector<TPoint> Trace(int Count) {
    std::mt19937 Random(7);
    std::uniform_int_distribution<int> Noise(-20, 20);
    std::vector<TPoint> Points;
    Points.reserve(std::size_t(Count));
    for (int I = 0; I < Count; ++I)
        Points.push_back(
            {I * Width / Count, Height / 2 + int(200 * std::sin(I * 0.01)) + Noise(Random)});
    return Points;
}

void Polyline(benchmark::State& State, TPenStyle Style, int PenWidth) {
    TBitmap Bitmap(Width, Height);
    TCanvas& Canvas = Bitmap.Canvas();
    Canvas.Pen().SetStyle(Style);
    Canvas.Pen().SetWidth(PenWidth);
    Canvas.Pen().SetColor(clRed);
    const std::vector<TPoint> Points = Trace(10000);
    for (auto _ : State) {
        Canvas.Polyline(Points);
        benchmark::ClobberMemory();
    }
    State.SetItemsProcessed(State.iterations() * std::int64_t(Points.size()));
}

BENCHMARK_CAPTURE(Polyline, ThinSolid, psSolid, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Polyline, ThinDotted, psDot, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Polyline, Wide2, psSolid, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Polyline, Wide3, psSolid, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Polyline, Wide6, psSolid, 6)->Unit(benchmark::kMicrosecond);

// What a plot's axis does for each of its labels: measure, then draw.
void MeasureAndDrawLabel(benchmark::State& State) {
    TBitmap Bitmap(Width, Height);
    TCanvas& Canvas = Bitmap.Canvas();
    Canvas.Font().SetName("Arial");
    Canvas.Brush().SetStyle(bsClear);
    for (auto _ : State) {
        const int W = Canvas.TextWidth("-123.45");
        Canvas.TextOut(Width / 2 - W / 2, Height / 2, "-123.45");
    }
}
BENCHMARK(MeasureAndDrawLabel)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int Argc, char** Argv) {
    return RunQtBenchmarks<QGuiApplication>(Argc, Argv);
}
