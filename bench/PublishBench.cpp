// Samples published through a Mosquitto broker on loopback at QoS 1, and
// what handing a sample to the publisher adds to a tick.

#include "app/Publisher.h"
#include "tests/app/MosquittoBroker.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

TSample ASample() {
    TSample S;
    S.Value1 = 23.5f;
    S.Value2 = 24.1f;
    S.Unit = "°C";
    S.Link = {1000, 998, 1, 1, 12.5};
    return S;
}

// Each iteration publishes a batch and waits until the broker has answered
// every message of it.
void BM_PublishThroughBroker(benchmark::State& State) {
    QTemporaryDir Dir;
    TMosquittoBroker Broker(Dir.path().toStdString());
    TPublisherSettings Settings;
    Settings.Enabled = true;
    Settings.Url = Broker.Url();
    Settings.TopicPrefix = "bench";
    TSamplePublisher Publisher(Settings);
    while (!Publisher.Status().Connected)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const TSample Sample = ASample();
    const int Batch = int(State.range(0));
    for (auto _ : State) {
        for (int I = 0; I < Batch; ++I)
            Publisher.Publish(Sample);
        while (Publisher.Status().Queued > 0)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    State.SetItemsProcessed(State.iterations() * Batch);
}
BENCHMARK(BM_PublishThroughBroker)->Arg(20000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The cost a tick pays: the sample into the queue under the lock, while the
// publisher's thread works on its own (here: waits for an absent broker).
void BM_TickEnqueue(benchmark::State& State) {
    TPublisherSettings Settings;
    Settings.Enabled = true;
    Settings.Url = "mqtt://127.0.0.1:" + std::to_string(FreeLoopbackPort());
    TSamplePublisher Publisher(Settings);
    const TSample Sample = ASample();
    for (auto _ : State)
        Publisher.Publish(Sample);
}
BENCHMARK(BM_TickEnqueue);

} // namespace

BENCHMARK_MAIN();
