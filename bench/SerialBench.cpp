// A request/reply round trip through TXComm over a pseudo-terminal, and the
// CPU time an open, idle port costs.

#include "serial/XComDrv.h"
#include "tests/support/PtyPeer.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <sys/resource.h>
#include <thread>

namespace {

const std::string Request("\x01\x03\x02\x00\x00\x02\xC5\xB3", 8);
const std::string Reply("\x01\x03\x04\x00\xEB\x00\xF1\x4B\x83", 9);

// A sensor on the far end of a pseudo-terminal that answers every 8 bytes
// with a 9-byte reply.
class TEchoSensor {
  public:
    TEchoSensor() : FThread([this] { Serve(); }) {}
    ~TEchoSensor() {
        FStop = true;
        FThread.join();
    }
    TPtyPeer Peer;

  private:
    void Serve() {
        while (!FStop)
            if (Peer.Receive(Request.size(), 100) == Request)
                Peer.Send(Reply);
    }
    std::atomic<bool> FStop = false;
    std::thread FThread;
};

void OpenOn(TXComm& Comm, const std::string& Path) {
    Comm.SetDeviceName(Path);
    Comm.SetSynchronize(false);
    Comm.OpenDevice();
}

void BM_RoundTrip(benchmark::State& State) {
    TEchoSensor Sensor;
    {
        TXComm Comm;
        OpenOn(Comm, Sensor.Peer.Path());
        std::string Got, Part;
        for (auto _ : State) {
            Comm.WriteString(Request);
            Got.clear();
            while (Got.size() < Reply.size())
                if (Comm.ReadString(Part))
                    Got += Part;
        }
        if (Got != Reply)
            State.SkipWithError("wrong reply");
    }
}
BENCHMARK(BM_RoundTrip)->Unit(benchmark::kMicrosecond);

double CpuSeconds() {
    rusage Usage;
    getrusage(RUSAGE_SELF, &Usage);
    return double(Usage.ru_utime.tv_sec + Usage.ru_stime.tv_sec) +
           double(Usage.ru_utime.tv_usec + Usage.ru_stime.tv_usec) / 1e6;
}

// The process's CPU time while a port lies open and idle for ten seconds.
void BM_IdlePort(benchmark::State& State) {
    TPtyPeer Peer;
    {
        TXComm Comm;
        OpenOn(Comm, Peer.Path());
        for (auto _ : State) {
            const double Before = CpuSeconds();
            std::this_thread::sleep_for(std::chrono::seconds(10));
            State.counters["cpu_ms_per_10s"] = (CpuSeconds() - Before) * 1000.0;
        }
    }
}
BENCHMARK(BM_IdlePort)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
