// A 1000 x 600 plot with 1e5 points of a noisy sine saved as a picture file,
// the whole of SaveImageToFile: drawing, encoding and writing.

#include "plot/iPlot.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannel.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <random>
#include <string>

namespace {

struct TPicturePlot {
    TiPlot Plot;
    QTemporaryDir Dir;

    TPicturePlot() {
        Plot.resize(1000, 600);
        auto& Channel = *Plot.Channel(0);
        Channel.SetXAxisTrackingEnabled(false);
        Channel.SetYAxisTrackingEnabled(false);
        std::mt19937 Random(1);
        std::uniform_real_distribution<double> Noise(-0.2, 0.2);
        const int N = 100000;
        for (int I = 0; I < N; ++I)
            Channel.AddXY(I, std::sin(2 * std::numbers::pi * 5 * I / N) + Noise(Random));
        Plot.YAxis(0)->SetMinSpan(-1.5, 3);
        Plot.XAxis(0)->SetMinSpan(0, N - 1);
    }
};

void BM_SaveImage(benchmark::State& State, const char* Name) {
    static TPicturePlot T;
    const std::string File = T.Dir.filePath(Name).toStdString();
    for (auto _ : State)
        T.Plot.SaveImageToFile(File);
}
BENCHMARK_CAPTURE(BM_SaveImage, Png, "plot.png")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SaveImage, Jpeg, "plot.jpg")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SaveImage, Emf, "plot.emf")->Unit(benchmark::kMillisecond);

} // namespace
