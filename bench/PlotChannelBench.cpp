// AddXY as the polling cycle calls it: one point per call into a channel of
// a real plot, statistics and the (throttled) repaint request included.

#include "plot/iPlot.h"
#include "plot/iPlotChannel.h"

#include "bench/QtBenchmarkMain.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

namespace {

void AddXY(benchmark::State& State, TiPlotDataStyle Style, int RingSize) {
    TiPlot Plot;
    TiPlotChannelCustom* Channel = Plot.Channel(0);
    Channel->SetDataStyle(Style);
    Channel->SetRingBufferSize(RingSize);
    double X = 0;
    for (auto _ : State) {
        benchmark::DoNotOptimize(Channel->AddXY(X, X * 0.5));
        X += 1;
        // Keep the stored points bounded without a ring: clear now and then.
        if (RingSize == 0 && Channel->Count() == 1 << 22) {
            State.PauseTiming();
            Channel->Clear();
            State.ResumeTiming();
        }
    }
    State.SetItemsProcessed(State.iterations());
}

// Resident memory of the process in bytes.
long long ResidentBytes() {
    std::ifstream Status("/proc/self/status");
    std::string Line;
    while (std::getline(Status, Line))
        if (Line.rfind("VmRSS:", 0) == 0)
            return std::stoll(Line.substr(6)) * 1024;
    return 0;
}

void TenMillionStandardPoints(benchmark::State& State) {
    for (auto _ : State) {
        TiPlot Plot;
        TiPlotChannelCustom* Channel = Plot.Channel(0);
        const long long Before = ResidentBytes();
        const int Points = 10'000'000;
        for (int I = 0; I < Points; ++I)
            Channel->AddXY(I, I);
        State.counters["bytes_per_point"] = double(ResidentBytes() - Before) / Points;
        State.counters["capacity_bytes_per_point"] = double(Channel->MemoryUsed()) / Points;
    }
}

BENCHMARK_CAPTURE(AddXY, Standard, ipdsStandard, 0);
BENCHMARK_CAPTURE(AddXY, Standard_Ring1000, ipdsStandard, 1000);
BENCHMARK_CAPTURE(AddXY, Compact, ipdsCompact, 0);
BENCHMARK_CAPTURE(AddXY, Compact_Ring1000, ipdsCompact, 1000);
BENCHMARK_CAPTURE(AddXY, CompactInterval, ipdsCompactInterval, 0);
BENCHMARK_CAPTURE(AddXY, CompactInterval_Ring1000, ipdsCompactInterval, 1000);
BENCHMARK_CAPTURE(AddXY, FullFeature, ipdsFullFeature, 0);
BENCHMARK_CAPTURE(AddXY, FullFeature_Ring1000, ipdsFullFeature, 1000);
BENCHMARK(TenMillionStandardPoints)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int Argc, char** Argv) {
    return RunQtBenchmarks<QApplication>(Argc, Argv);
}
