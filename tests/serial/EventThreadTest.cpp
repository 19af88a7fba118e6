#include "serial/XComDrv.h"
#include "tests/support/LoggedWarnings.h"
#include "tests/support/PtyPeer.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QEventLoop>
#include <QString>
#include <QTimer>
#include <QtGlobal>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

std::size_t Entries(const char* Directory) {
    std::size_t N = 0;
    for ([[maybe_unused]] auto& Entry : std::filesystem::directory_iterator(Directory))
        ++N;
    return N;
}

// Runs the user-interface event loop until Done or the time-out.
bool RunUntil(const std::function<bool()>& Done, std::chrono::milliseconds Limit = 2000ms) {
    auto End = std::chrono::steady_clock::now() + Limit;
    while (!Done() && std::chrono::steady_clock::now() < End)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    return Done();
}

struct TDelivery {
    TDeviceEvents Events;
    std::thread::id Thread;
};

// Keeps every set that reaches CommEvent, with the thread it ran on.
class TWatchedComm : public TXComm {
  public:
    std::vector<TDelivery> Delivered() {
        std::lock_guard Lock(FMutex);
        return FDelivered;
    }

  protected:
    void CommEvent(TDeviceEvents Events) override {
        {
            std::lock_guard Lock(FMutex);
            FDelivered.push_back({Events, std::this_thread::get_id()});
        }
        TXComm::CommEvent(Events);
    }

  private:
    std::mutex FMutex;
    std::vector<TDelivery> FDelivered;
};

class EventThread : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { App = new QCoreApplication(Argc, Argv); }
    static void TearDownTestSuite() {
        delete App;
        App = nullptr;
    }
    void Open() {
        Comm.SetDeviceName(Peer.Path());
        Comm.OpenDevice();
    }

    static inline int Argc = 1;
    static inline char Name[] = "serial_tests";
    static inline char* Argv[] = {Name, nullptr};
    static inline QCoreApplication* App = nullptr;

    const std::thread::id UiThread = std::this_thread::get_id();
    TPtyPeer Peer;
    TWatchedComm Comm;
};

TEST_F(EventThread, SynchronisedDeliveryRunsOnTheUserInterfaceThread) {
    std::vector<std::pair<std::uint32_t, std::thread::id>> Data;
    std::vector<TDeviceEvents> Events;
    Comm.SetOnData([&](TCustomComm&, std::uint32_t Received) {
        Data.push_back({Received, std::this_thread::get_id()});
    });
    Comm.SetOnCommEvent([&](TCustomComm&, TDeviceEvents E) { Events.push_back(E); });
    Open();
    Peer.Send("A");
    ASSERT_TRUE(RunUntil([&] { return !Events.empty(); }));
    ASSERT_EQ(Data.size(), 1u);
    EXPECT_GE(Data[0].first, 1u);
    EXPECT_EQ(Data[0].second, UiThread);
    EXPECT_EQ(Events[0], TDeviceEvents{deChar});
}

TEST_F(EventThread, EventCharacterRaisesFlag) {
    Open();
    Peer.Send("\n");
    ASSERT_TRUE(RunUntil([&] { return !Comm.Delivered().empty(); }));
    EXPECT_TRUE(Comm.Delivered()[0].Events.Contains(deFlag));
    EXPECT_TRUE(Comm.Delivered()[0].Events.Contains(deChar));
}

TEST_F(EventThread, UnsynchronisedDeliveryRunsOnTheEventThread) {
    Comm.SetSynchronize(false);
    std::atomic<int> Calls = 0;
    std::thread::id Where;
    Comm.SetOnData([&](TCustomComm&, std::uint32_t) {
        Where = std::this_thread::get_id();
        ++Calls;
    });
    Open();
    Peer.Send("A");
    for (int Tries = 0; Tries < 200 && Calls == 0; ++Tries)
        std::this_thread::sleep_for(10ms);
    ASSERT_EQ(Calls, 1);
    EXPECT_NE(Where, UiThread);
}

TEST_F(EventThread, OutEmptyComesOnlyFromTheWritePath) {
    Open();
    ASSERT_TRUE(Comm.WriteString("12345678"));
    EXPECT_EQ(Peer.Receive(8), "12345678");
    RunUntil([] { return false; }, 100ms);
    auto Delivered = Comm.Delivered();
    ASSERT_EQ(Delivered.size(), 1u);
    EXPECT_EQ(Delivered[0].Events, TDeviceEvents{deOutEmpty});
    EXPECT_EQ(Delivered[0].Thread, UiThread);
}

// A pseudo-terminal has no modem lines: watching them changes nothing.
TEST_F(EventThread, ModemLineEventsWithoutModemLines) {
    Comm.SetMonitorEvents({deChar, deCTS, deDSR, deRLSD, deRing, deBreak, deError});
    std::vector<TDeviceEvents> Events;
    Comm.SetOnCommEvent([&](TCustomComm&, TDeviceEvents E) { Events.push_back(E); });
    Open();
    Peer.Send("A");
    ASSERT_TRUE(RunUntil([&] { return !Events.empty(); }));
    RunUntil([] { return false; }, 100ms);
    ASSERT_EQ(Events.size(), 1u);
    EXPECT_EQ(Events[0], TDeviceEvents{deChar});
    std::string S;
    EXPECT_TRUE(Comm.ReadString(S));
    EXPECT_EQ(S, "A");
}

TEST_F(EventThread, OpenCloseCyclesLeaveNothingBehind) {
    Comm.SetDeviceName(Peer.Path());
    Comm.SetMonitorEvents({deChar, deCTS, deDSR, deRLSD, deRing});
    const std::size_t Threads = Entries("/proc/self/task");
    const std::size_t Files = Entries("/proc/self/fd");
    for (int I = 0; I < 10; ++I) {
        Comm.OpenDevice();
        EXPECT_GT(Entries("/proc/self/task"), Threads);
        Comm.CloseDevice();
    }
    EXPECT_EQ(Entries("/proc/self/task"), Threads);
    EXPECT_EQ(Entries("/proc/self/fd"), Files);
}

TEST_F(EventThread, CloseWhileADeliveryWaits) {
    int Calls = 0;
    Comm.SetOnData([&](TCustomComm&, std::uint32_t) { ++Calls; });
    Open();
    Peer.Send("A");
    // No event loop runs: the delivery waits for the user-interface thread.
    std::this_thread::sleep_for(50ms);
    Comm.CloseDevice();
    EXPECT_EQ(Calls, 0) << "the delivery found the component closing";
    QCoreApplication::processEvents();
    EXPECT_EQ(Calls, 0);
}

TEST_F(EventThread, CloseFromInsideASynchronisedHandler) {
    bool Closed = false;
    Comm.SetOnData([&](TCustomComm& Sender, std::uint32_t) {
        Sender.CloseDevice();
        Closed = true;
    });
    Open();
    Peer.Send("A");
    ASSERT_TRUE(RunUntil([&] { return Closed; }));
    EXPECT_FALSE(Comm.IsOpen());
}

TEST_F(EventThread, FailingHandlerEndsTheThread) {
    int Calls = 0;
    Comm.SetOnData([&](TCustomComm&, std::uint32_t) {
        ++Calls;
        throw Exception("handler failed");
    });
    Open();
    const std::size_t Threads = Entries("/proc/self/task");
    Peer.Send("A");
    ASSERT_TRUE(RunUntil([&] { return Calls == 1; }));
    ASSERT_TRUE(RunUntil([&] { return Entries("/proc/self/task") == Threads - 1; }));
    Peer.Send("B");
    RunUntil([] { return false; }, 50ms);
    EXPECT_EQ(Calls, 1);
    std::string S;
    EXPECT_TRUE(Comm.ReadString(S)) << "reads still work";
    EXPECT_EQ(S, "AB");
    Comm.CloseDevice();
}

TEST_F(EventThread, FailureThatEndsTheThreadIsLogged) {
    const TLoggedWarnings Warnings("sm.serial");
    Comm.SetOnData([](TCustomComm&, std::uint32_t) { throw Exception("handler failed"); });
    Open();
    const std::size_t Threads = Entries("/proc/self/task");
    Peer.Send("A");
    ASSERT_TRUE(RunUntil([&] { return Entries("/proc/self/task") == Threads - 1; }));
    EXPECT_EQ(Warnings.Messages(), std::vector<std::string>{"The event thread of " + Peer.Path() +
                                                            " ended: handler failed"});
    Comm.CloseDevice();
}

TEST_F(EventThread, HangUpEndsTheThreads) {
    const std::size_t Threads = Entries("/proc/self/task");
    Open();
    EXPECT_GT(Entries("/proc/self/task"), Threads);
    Peer.HangUp();
    EXPECT_TRUE(RunUntil([&] { return Entries("/proc/self/task") == Threads; }));
    std::string S;
    EXPECT_THROW(Comm.ReadString(S), EDeviceError);
    EXPECT_THROW(Comm.WriteString("x"), EDeviceError);
    Comm.CloseDevice();
}

double CpuSeconds() {
    rusage Usage;
    getrusage(RUSAGE_SELF, &Usage);
    return double(Usage.ru_utime.tv_sec + Usage.ru_stime.tv_sec) +
           double(Usage.ru_utime.tv_usec + Usage.ru_stime.tv_usec) / 1e6;
}

// The benchmark measures this over ten seconds; here a short window with
// a wide bound catches a spinning thread.
TEST_F(EventThread, AnIdlePortCostsNoCpu) {
    Open();
    const double Before = CpuSeconds();
    std::this_thread::sleep_for(500ms);
    EXPECT_LT(CpuSeconds() - Before, 0.05);
}

} // namespace
