// AddXY as the polling cycle calls it: one point per call into a channel of
// a real plot, statistics and the (throttled) repaint request included.
// Reading the point storage as the drawing does: a whole list through the
// range visit against the per-point virtual GetPoint, and finding the points
// of a visible X range by bisection.

#include "plot/iPlot.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannel.h"
#include "plot/iPlotDataCustomList.h"

#include "bench/QtBenchmarkMain.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <ranges>
#include <string>
#include <vector>

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

// The main window's strip chart: the X axis scrolls with each new point and
// the Y axis scales to take in every value (a bounded signal, so after its
// first cycle the Y axis stays while X moves on every call). With Argument
// 1 the summary index is read every 2^16 points, as a paint would: the
// whole cost of a point, as AddXY then sums up each point at once. Never
// read, the index only counts the points added.
void AddXYStripChart(benchmark::State& State) {
    TiPlot Plot;
    TiPlotChannelCustom* Channel = Plot.Channel(0);
    Plot.YAxis(0)->SetTrackingStyle(iptsScaleMinMax);
    Channel->SetRingBufferSize(1 << 20);
    const bool Read = State.range(0) != 0;
    double X = 0, Y = 0;
    for (auto _ : State) {
        benchmark::DoNotOptimize(Channel->AddXY(X, Y));
        X += 1;
        Y = Y < 40 ? Y + 0.04 : 0; // a sawtooth over the Y axis' 0 .. 40
        if (Read && (std::int64_t(X) & 0xFFFF) == 0)
            benchmark::DoNotOptimize(Channel->Data().Summary(0, Channel->Count() - 1));
    }
    State.SetItemsProcessed(State.iterations());
    State.counters["x_min"] = Plot.XAxis(0)->Min();
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
        State.counters["index_bytes_per_point"] =
            double(Channel->Data().IndexMemoryUsed()) / Points;
    }
}

constexpr int ReadPoints = 1'000'000;

// ReadPoints points with X = 0, 1, 2, ... Argument 1 of a benchmark wraps
// the ring: it is filled one and a half times, so its points start mid-block.
template <typename TList> std::unique_ptr<TiPlotDataCustomList> FilledList(bool Wrapped) {
    auto List = std::make_unique<TList>();
    if (Wrapped)
        List->SetRingBufferSize(ReadPoints);
    const int Added = Wrapped ? ReadPoints + ReadPoints / 2 : ReadPoints;
    for (int I = 0; I < Added; ++I)
        List->AddXY(I, I * 0.5);
    return List;
}

// The list as the channel holds it: the caller does not know its variant.
const TiPlotDataCustomList* Opaque(const std::unique_ptr<TiPlotDataCustomList>& Owner) {
    const TiPlotDataCustomList* List = Owner.get();
    benchmark::DoNotOptimize(List);
    return List;
}

template <typename TList> void ReadByGetPoint(benchmark::State& State) {
    const auto Owner = FilledList<TList>(State.range(0));
    const TiPlotDataCustomList* List = Opaque(Owner);
    for (auto _ : State) {
        double Sum = 0;
        for (int I = 0; I < List->Count(); ++I) {
            double X, Y;
            bool Null, Empty;
            List->GetPoint(I, X, Null, Empty, Y);
            if (!Null && !Empty)
                Sum += X + Y;
        }
        benchmark::DoNotOptimize(Sum);
    }
    State.SetItemsProcessed(State.iterations() * List->Count());
}

template <typename TList> void ReadByVisit(benchmark::State& State) {
    const auto Owner = FilledList<TList>(State.range(0));
    const TiPlotDataCustomList* List = Opaque(Owner);
    for (auto _ : State) {
        double Sum = 0;
        List->ForEachPoint(0, List->Count() - 1,
                           [&Sum](int, double X, double Y, bool Null, bool Empty) {
                               if (!Null && !Empty)
                                   Sum += X + Y;
                           });
        benchmark::DoNotOptimize(Sum);
    }
    State.SetItemsProcessed(State.iterations() * List->Count());
}

// The low ends of visible ranges 1000 wide, spread over the whole X span.
std::vector<double> RangeStarts(const TiPlotDataCustomList& List) {
    std::vector<double> Starts;
    const double First = List.X(0);
    const double Span = List.X(List.Count() - 1) - First;
    for (int K = 0; K < 4096; ++K)
        Starts.push_back(First + Span * (K * 0.6180339887 - int(K * 0.6180339887)));
    return Starts;
}

template <typename TList> void FindRangeBySearch(benchmark::State& State) {
    const auto Owner = FilledList<TList>(State.range(0));
    const TiPlotDataCustomList* List = Opaque(Owner);
    const std::vector<double> Starts = RangeStarts(*List);
    std::size_t K = 0;
    for (auto _ : State) {
        const double XMin = Starts[K++ % Starts.size()];
        benchmark::DoNotOptimize(List->FirstIndexAtOrAfter(XMin));
        benchmark::DoNotOptimize(List->LastIndexAtOrBefore(XMin + 1000));
    }
}

// The same bisection through the virtual X of every probed point.
template <typename TList> void FindRangeByVirtualX(benchmark::State& State) {
    const auto Owner = FilledList<TList>(State.range(0));
    const TiPlotDataCustomList* List = Opaque(Owner);
    const std::vector<double> Starts = RangeStarts(*List);
    const auto Indices = std::views::iota(0, List->Count());
    std::size_t K = 0;
    for (auto _ : State) {
        const double XMin = Starts[K++ % Starts.size()];
        benchmark::DoNotOptimize(
            std::ranges::partition_point(Indices, [&](int I) { return List->X(I) < XMin; }));
        benchmark::DoNotOptimize(std::ranges::partition_point(
            Indices, [&](int I) { return List->X(I) <= XMin + 1000; }));
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
BENCHMARK(AddXYStripChart)->ArgName("IndexRead")->DenseRange(0, 1);
BENCHMARK(TenMillionStandardPoints)->Iterations(1)->Unit(benchmark::kMillisecond);

#define SM_READ_BENCHMARKS(TList)                                                                  \
    BENCHMARK_TEMPLATE(ReadByGetPoint, TList)                                                      \
        ->ArgName("Wrapped")                                                                       \
        ->DenseRange(0, 1)                                                                         \
        ->Unit(benchmark::kMicrosecond);                                                           \
    BENCHMARK_TEMPLATE(ReadByVisit, TList)                                                         \
        ->ArgName("Wrapped")                                                                       \
        ->DenseRange(0, 1)                                                                         \
        ->Unit(benchmark::kMicrosecond);                                                           \
    BENCHMARK_TEMPLATE(FindRangeBySearch, TList)->ArgName("Wrapped")->DenseRange(0, 1);            \
    BENCHMARK_TEMPLATE(FindRangeByVirtualX, TList)->ArgName("Wrapped")->DenseRange(0, 1)

SM_READ_BENCHMARKS(TiPlotDataNullList);
SM_READ_BENCHMARKS(TiPlotDataCompactList);
SM_READ_BENCHMARKS(TiPlotDataCompactIntervalList);
SM_READ_BENCHMARKS(TiPlotDataFullList);

} // namespace

int main(int Argc, char** Argv) {
    return RunQtBenchmarks<QApplication>(Argc, Argv);
}
