// The plot's text data file of one channel with a million points, comma
// separated, written and read back: the speed a user sees saving or loading
// a long recording.

#include "plot/iPlot.h"
#include "plot/iPlotChannelCustom.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

namespace {

constexpr int PointCount = 1'000'000;

// Samples as the monitor adds them: the sample counter as X and a reading
// in tenths of a degree; or values with all 15 digits.
void Fill(TiPlotChannelCustom& Channel, bool FullPrecision) {
    for (int I = 0; I < PointCount; ++I)
        Channel.AddXY(I, FullPrecision ? 100 * std::sin(I * 0.001) : 20 + (I % 200) / 10.0);
}

std::string BenchFile() {
    return QDir::tempPath().toStdString() + "/plot-data-bench-" +
           std::to_string(QCoreApplication::applicationPid()) + ".txt";
}

void SaveDataToFile(benchmark::State& State, bool FullPrecision) {
    TiPlot Plot;
    Plot.SetDataFileColumnSeparator(ipdfcsComma);
    Fill(*Plot.Channel(0), FullPrecision);
    const std::string Name = BenchFile();
    for (auto _ : State)
        Plot.SaveDataToFile(Name);
    State.SetBytesProcessed(State.iterations() * QFileInfo(QString::fromStdString(Name)).size());
    QFile::remove(QString::fromStdString(Name));
}

void LoadDataFromFile(benchmark::State& State, bool FullPrecision) {
    TiPlot Plot;
    Plot.SetDataFileColumnSeparator(ipdfcsComma);
    TiPlotChannelCustom& Channel = *Plot.Channel(0);
    Fill(Channel, FullPrecision);
    const std::string Name = BenchFile();
    Plot.SaveDataToFile(Name);
    for (auto _ : State) {
        State.PauseTiming();
        Channel.Clear();
        State.ResumeTiming();
        Plot.LoadDataFromFile(Name);
    }
    if (Channel.Count() != PointCount)
        State.SkipWithError("not every point was loaded");
    State.SetBytesProcessed(State.iterations() * QFileInfo(QString::fromStdString(Name)).size());
    QFile::remove(QString::fromStdString(Name));
}

} // namespace

BENCHMARK_CAPTURE(SaveDataToFile, SensorValues, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SaveDataToFile, FullPrecision, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LoadDataFromFile, SensorValues, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LoadDataFromFile, FullPrecision, true)->Unit(benchmark::kMillisecond);
