#include "app/ModbusCrc.h"

#include <benchmark/benchmark.h>

static void BM_ModbusCrc16(benchmark::State& State) {
    std::string Data(State.range(0), '\0');
    for (std::size_t I = 0; I < Data.size(); ++I)
        Data[I] = char(I * 31 + 7);
    for (auto _ : State)
        benchmark::DoNotOptimize(ModbusCrc16(Data));
    State.SetBytesProcessed(State.iterations() * State.range(0));
}
BENCHMARK(BM_ModbusCrc16)->Arg(8)->Arg(256)->Arg(64 * 1024);
