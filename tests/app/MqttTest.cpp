// Publishing against a real Mosquitto broker: the program run headless as
// a child process, as a service runs it, and the publisher in this process
// where a tick is timed. A subscriber through libmosquitto reads what
// arrives.

#include "app/PollingCycle.h"
#include "app/Publisher.h"
#include "tests/app/MosquittoBroker.h"
#include "tests/app/SensorSimProcess.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <mosquitto.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <sstream>

namespace {

using namespace std::chrono_literals;
using testing::HasSubstr;

struct TMessage {
    std::string Topic;
    std::string Payload;
};

// Subscribes to Filter at QoS 1 with a session that the broker keeps
// across its restarts, and keeps every message in arrival order.
class TSubscriber {
  public:
    TSubscriber(int Port, const std::string& Filter) : FFilter(Filter) {
        mosquitto_lib_init();
        FMosq = mosquitto_new(("test-subscriber-" + Filter).c_str(), false, this);
        mosquitto_connect_callback_set(FMosq, [](mosquitto* M, void* Self, int Code) {
            if (Code == 0)
                mosquitto_subscribe(M, nullptr, static_cast<TSubscriber*>(Self)->FFilter.c_str(),
                                    1);
        });
        mosquitto_subscribe_callback_set(FMosq, [](mosquitto*, void* Self, int, int, const int*) {
            static_cast<TSubscriber*>(Self)->Add({"", ""});
        });
        mosquitto_message_callback_set(FMosq, [](mosquitto*, void* Self,
                                                 const mosquitto_message* M) {
            static_cast<TSubscriber*>(Self)->Add(
                {M->topic,
                 std::string(static_cast<const char*>(M->payload), std::size_t(M->payloadlen))});
        });
        mosquitto_reconnect_delay_set(FMosq, 1, 1, false);
        if (mosquitto_connect(FMosq, "127.0.0.1", Port, 30) != MOSQ_ERR_SUCCESS)
            throw std::runtime_error("the subscriber does not connect");
        mosquitto_loop_start(FMosq);
        // The subscription stands before anything is published.
        Wait([this] { return FSubscribed; }, 5s);
    }
    ~TSubscriber() {
        mosquitto_disconnect(FMosq);
        mosquitto_loop_stop(FMosq, false);
        mosquitto_destroy(FMosq);
    }

    // Waits until Done holds (checked under the lock), at most Limit.
    bool Wait(const std::function<bool()>& Done, std::chrono::milliseconds Limit) {
        std::unique_lock<std::mutex> Lock(FMutex);
        return FArrived.wait_for(Lock, Limit, Done);
    }
    std::vector<TMessage> On(const std::string& Topic) {
        std::lock_guard<std::mutex> Lock(FMutex);
        return OnLocked(Topic);
    }
    // Under the lock, in a Wait condition.
    std::vector<TMessage> OnLocked(const std::string& Topic) const {
        std::vector<TMessage> Found;
        for (const TMessage& M : FMessages)
            if (M.Topic == Topic)
                Found.push_back(M);
        return Found;
    }

  private:
    void Add(const TMessage& M) {
        {
            std::lock_guard<std::mutex> Lock(FMutex);
            if (M.Topic.empty())
                FSubscribed = true;
            else
                FMessages.push_back(M);
        }
        FArrived.notify_all();
    }

    std::string FFilter;
    mosquitto* FMosq;
    std::mutex FMutex;
    std::condition_variable FArrived;
    std::vector<TMessage> FMessages;
    bool FSubscribed = false;
};

QJsonObject Json(const TMessage& M) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(M.Payload)).object();
}

// The samples as they arrived, each once: QoS 1 may bring a message again
// after a lost connection, but never a later one before an earlier one.
std::vector<QJsonObject> Samples(const std::vector<TMessage>& Messages) {
    std::vector<QJsonObject> Found;
    qint64 Last = 0;
    for (const TMessage& M : Messages) {
        const QJsonObject S = Json(M);
        const qint64 Number = S["sample"].toInteger();
        if (Number <= Last)
            continue;
        EXPECT_EQ(Number, Last + 1) << "a sample is missing or out of order: " << M.Payload;
        Last = Number;
        Found.push_back(S);
    }
    return Found;
}

std::vector<std::string> Lines(const std::string& File) {
    std::ifstream In(File);
    std::vector<std::string> Found;
    for (std::string Line; std::getline(In, Line);)
        Found.push_back(Line.substr(0, Line.find('\r')));
    return Found;
}

std::vector<std::string> Fields(const std::string& Line) {
    std::vector<std::string> Found;
    std::stringstream In(Line);
    for (std::string Field; std::getline(In, Field, ',');)
        Found.push_back(Field);
    return Found;
}

std::string FileText(const std::string& File) {
    std::ifstream In(File);
    return {std::istreambuf_iterator<char>(In), {}};
}

class MqttBroker : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(FDir.isValid());
        setenv("LC_ALL", "C", 1);
    }
    std::string Path(const char* Name) const { return FDir.filePath(Name).toStdString(); }

    // The program headless with the options after these.
    std::unique_ptr<TChildProcess> StartMonitor(std::vector<std::string> Options) {
        Options.insert(Options.begin(), {SENSOR_MONITOR, "--headless"});
        return std::make_unique<TChildProcess>(Options, Path("monitor.out"), Path("monitor.err"));
    }
    std::size_t LogLines() { return Lines(Path("monitor.log")).size(); }
    void WaitForLogLines(std::size_t Count) {
        for (int I = 0; I < 200 && LogLines() < Count; ++I)
            std::this_thread::sleep_for(50ms);
        ASSERT_GE(LogLines(), Count) << FileText(Path("monitor.err"));
    }

    QTemporaryDir FDir;
};

TEST_F(MqttBroker, EverySampleArrivesInOrderWithItsValues) {
    TMosquittoBroker Broker(FDir.path().toStdString());
    TSubscriber Subscriber(Broker.Port(), "test/order/#");
    TSensorSim Sim({"--ramp"});
    auto Monitor =
        StartMonitor({"--port", Sim.Path, "--period", "0.05", "--log", Path("monitor.log"),
                      "--mqtt", Broker.Url(), "--mqtt-topic", "test/order"});
    WaitForLogLines(30);
    Monitor->Signal(SIGTERM);
    ASSERT_EQ(Monitor->Wait(), 0) << FileText(Path("monitor.err"));

    const std::vector<std::string> Log = Lines(Path("monitor.log"));
    // A stopped monitor has sent all it logged and then says "offline".
    ASSERT_TRUE(Subscriber.Wait(
        [&] {
            const auto Status = Subscriber.OnLocked("test/order/status");
            return !Status.empty() && Status.back().Payload == "offline";
        },
        5s));
    EXPECT_EQ(Subscriber.On("test/order/status").front().Payload, "online");
    const std::vector<QJsonObject> Got = Samples(Subscriber.On("test/order/sample"));
    ASSERT_EQ(Got.size(), Log.size());
    double LastGood = 0;
    for (std::size_t I = 0; I < Log.size(); ++I) {
        SCOPED_TRACE(Log[I]);
        const std::vector<std::string> Logged = Fields(Log[I]);
        ASSERT_EQ(Logged.size(), 3u);
        const QJsonObject& S = Got[I];
        EXPECT_EQ(QString::number(S["value1"].toDouble(), 'f', 1).toStdString(), Logged[1]);
        EXPECT_EQ(QString::number(S["value2"].toDouble(), 'f', 1).toStdString(), Logged[2]);
        EXPECT_EQ(S["unit"].toString().toStdString(), "°C");
        EXPECT_EQ(S["dropped"].toInteger(), 0);
        // Local time of the log line, with milliseconds and the offset.
        const std::string Time = S["time"].toString().toStdString();
        EXPECT_THAT(Time,
                    testing::MatchesRegex(
                        "[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9:]{8}\\.[0-9]{3}[-+][0-9]{2}:[0-9]{2}"));
        const QJsonObject Link = S["link"].toObject();
        EXPECT_GT(Link["good_replies"].toDouble(), LastGood);
        LastGood = Link["good_replies"].toDouble();
        EXPECT_GE(Link["requests"].toDouble(), LastGood);
    }
}

TEST_F(MqttBroker, BrokerAwayForTenSecondsLosesNothing) {
    TMosquittoBroker Broker(FDir.path().toStdString());
    TSubscriber Subscriber(Broker.Port(), "test/outage/#");
    auto Monitor = StartMonitor({"--port", "COM0", "--period", "0.05", "--log", Path("monitor.log"),
                                 "--mqtt", Broker.Url(), "--mqtt-topic", "test/outage"});
    ASSERT_TRUE(Subscriber.Wait(
        [&] { return Subscriber.OnLocked("test/outage/sample").size() >= 10; }, 10s));
    Broker.Stop();
    std::this_thread::sleep_for(10s);
    Broker.Start();
    // The monitor catches up: everything logged so far arrives.
    const std::size_t Logged = LogLines();
    ASSERT_TRUE(Subscriber.Wait(
        [&] { return Samples(Subscriber.OnLocked("test/outage/sample")).size() >= Logged; }, 20s))
        << FileText(Path("monitor.err"));
    // Told on standard error: the wait for the broker, then its return (the
    // state is looked at twice a second).
    const auto ToldReturn = [&] {
        const std::string Told = FileText(Path("monitor.err"));
        const std::size_t Waiting = Told.find("MQTT: waiting for the broker at 127.0.0.1:");
        return Waiting != std::string::npos &&
               Told.find("MQTT: connected to 127.0.0.1:", Waiting) != std::string::npos;
    };
    for (int I = 0; I < 40 && !ToldReturn(); ++I)
        std::this_thread::sleep_for(50ms);
    EXPECT_TRUE(ToldReturn()) << FileText(Path("monitor.err"));
    Monitor->Signal(SIGTERM);
    ASSERT_EQ(Monitor->Wait(), 0);
    const std::vector<std::string> Log = Lines(Path("monitor.log"));
    ASSERT_TRUE(Subscriber.Wait(
        [&] { return Samples(Subscriber.OnLocked("test/outage/sample")).size() >= Log.size(); },
        5s));
    const std::vector<QJsonObject> Got = Samples(Subscriber.On("test/outage/sample"));
    ASSERT_EQ(Got.size(), Log.size());
    for (std::size_t I = 0; I < Log.size(); ++I)
        EXPECT_EQ(QString::number(Got[I]["value1"].toDouble(), 'f', 1).toStdString(),
                  Fields(Log[I])[1])
            << I;
    EXPECT_EQ(Got.back()["dropped"].toInteger(), 0);
}

TEST_F(MqttBroker, LastWillSaysOfflineWhenTheMonitorIsKilled) {
    TMosquittoBroker Broker(FDir.path().toStdString());
    TSubscriber Subscriber(Broker.Port(), "test/will/#");
    auto Monitor = StartMonitor(
        {"--port", "COM0", "--period", "0.1", "--mqtt", Broker.Url(), "--mqtt-topic", "test/will"});
    ASSERT_TRUE(
        Subscriber.Wait([&] { return !Subscriber.OnLocked("test/will/status").empty(); }, 10s));
    EXPECT_EQ(Subscriber.On("test/will/status").back().Payload, "online");
    Monitor->Signal(SIGKILL);
    EXPECT_EQ(Monitor->Wait(), 128 + SIGKILL);
    ASSERT_TRUE(Subscriber.Wait(
        [&] {
            const auto Status = Subscriber.OnLocked("test/will/status");
            return Status.back().Payload == "offline";
        },
        5s));
}

// The polling cycle's neighbours in simulation, passing samples to a
// publisher.
class TPublishingNeighbours : public TPollingNeighbours {
  public:
    explicit TPublishingNeighbours(TSamplePublisher& Publisher) : FPublisher(Publisher) {}
    bool PortIsOpen() override { return false; }
    std::string PortReadString() override { return {}; }
    void PortWriteString(const std::string&) override {}
    void PortFailed(const std::string&) override {}
    void SetDisplayValue(int, double) override {}
    void SetDisplayVisible(int, bool) override {}
    void AddXY(int, double, double) override {}
    void AppendLogLine(const std::string&) override {}
    TDateTime LocalTime() override { return 0; }
    void Pause(int) override {}
    int RandomDigit() override { return 3; }
    void SampleTaken(const TSample& Sample) override { FPublisher.Publish(Sample); }

  private:
    TSamplePublisher& FPublisher;
};

TEST(MqttHungBroker, DoesNotDelayATick) {
    // Takes the connection (the kernel completes it) and never answers.
    const int Listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in A{};
    A.sin_family = AF_INET;
    A.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t Size = sizeof A;
    ASSERT_EQ(bind(Listener, reinterpret_cast<sockaddr*>(&A), sizeof A), 0);
    ASSERT_EQ(listen(Listener, 4), 0);
    getsockname(Listener, reinterpret_cast<sockaddr*>(&A), &Size);

    TPublisherSettings Settings;
    Settings.Enabled = true;
    Settings.Url = "mqtt://127.0.0.1:" + std::to_string(ntohs(A.sin_port));
    auto Publisher = std::make_unique<TSamplePublisher>(Settings);
    TPublishingNeighbours Neighbours(*Publisher);
    TPollingCycle Cycle(Neighbours);
    Cycle.SimulationMode = true;
    Cycle.MeasurementKind = mkTemperature;
    std::chrono::nanoseconds Longest{0};
    for (int I = 0; I < 200; ++I) {
        const auto Start = std::chrono::steady_clock::now();
        Cycle.Timer1Timer();
        Longest = std::max(Longest, std::chrono::steady_clock::now() - Start);
        std::this_thread::sleep_for(5ms);
    }
    // A tick that waited on the network would take a keep-alive period.
    EXPECT_LT(Longest, 20ms);
    const TPublisherStatus Status = Publisher->Status();
    EXPECT_FALSE(Status.Connected);
    EXPECT_EQ(Status.Queued, 200u);
    // Nor does it hold up the end (the window's close, a service's stop).
    const auto Start = std::chrono::steady_clock::now();
    Publisher.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - Start, 2s);
    close(Listener);
}

TEST_F(MqttBroker, FullQueueDropsTheOldestAndPublishesTheCount) {
    // The subscriber's session stands, kept by the broker while it is away.
    TMosquittoBroker Broker(FDir.path().toStdString());
    const int Port = Broker.Port();
    auto Subscriber = std::make_unique<TSubscriber>(Port, "test/full/#");
    Broker.Stop();
    TPublisherSettings Settings;
    Settings.Enabled = true;
    Settings.Url = "mqtt://127.0.0.1:" + std::to_string(Port);
    Settings.TopicPrefix = "test/full";
    Settings.QueueSize = 5;
    TSamplePublisher Publisher(Settings);
    for (int I = 1; I <= 8; ++I)
        Publisher.Publish({float(I), std::nullopt, "mm", {}});
    TPublisherStatus Status = Publisher.Status();
    EXPECT_EQ(Status.Queued, 5u);
    EXPECT_EQ(Status.Dropped, 3u);
    EXPECT_THAT(PublisherStatusText(Status, Publisher.Broker()),
                HasSubstr("waiting for the broker at 127.0.0.1:" + std::to_string(Port)));

    Broker.Start();
    ASSERT_TRUE(Subscriber->Wait(
        [&] { return Subscriber->OnLocked("test/full/sample").size() >= 5; }, 15s));
    const std::vector<TMessage> Got = Subscriber->On("test/full/sample");
    for (std::size_t I = 0; I < 5; ++I) {
        const QJsonObject S = Json(Got[I]);
        EXPECT_EQ(S["sample"].toInteger(), qint64(I + 4));
        EXPECT_EQ(S["value1"].toDouble(), double(I + 4));
        EXPECT_EQ(S["dropped"].toInteger(), 3);
    }
    EXPECT_TRUE(Publisher.Status().Connected);
}

// A certificate authority and a broker certificate for 127.0.0.1 that it
// signed, made with openssl in Dir; false when openssl fails.
bool MakeCertificates(const std::string& Dir, const std::string& Ca) {
    const std::string Key = "-newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes ";
    const std::string Quiet = " 2>>" + Dir + "/openssl.log";
    const std::string Commands[] = {
        "openssl req -x509 " + Key + "-keyout " + Dir + "/" + Ca + ".key -out " + Dir + "/" + Ca +
            ".crt -subj /CN=" + Ca + " -days 2" + Quiet,
        "openssl req " + Key + "-keyout " + Dir + "/server.key -out " + Dir +
            "/server.csr -subj /CN=127.0.0.1" + Quiet,
        "printf 'subjectAltName=IP:127.0.0.1' >" + Dir + "/san.ext",
        "openssl x509 -req -in " + Dir + "/server.csr -CA " + Dir + "/" + Ca + ".crt -CAkey " +
            Dir + "/" + Ca + ".key -CAcreateserial -out " + Dir + "/server.crt -days 2 -extfile " +
            Dir + "/san.ext" + Quiet,
    };
    for (const std::string& C : Commands)
        if (std::system(C.c_str()) != 0)
            return false;
    return true;
}

TEST_F(MqttBroker, TlsWithTheBrokersCaAndNotWithAnother) {
    const std::string Dir = FDir.path().toStdString();
    ASSERT_TRUE(MakeCertificates(Dir, "ca")) << FileText(Dir + "/openssl.log");
    const std::string Other = Dir + "/other";
    QDir().mkpath(QString::fromStdString(Other));
    ASSERT_TRUE(MakeCertificates(Other, "other")) << FileText(Other + "/openssl.log");
    const int TlsPort = FreeLoopbackPort();
    TMosquittoBroker Broker(Dir, FreeLoopbackPort(),
                            "listener " + std::to_string(TlsPort) + " 127.0.0.1\n" + "cafile " +
                                Dir + "/ca.crt\ncertfile " + Dir + "/server.crt\nkeyfile " + Dir +
                                "/server.key\n");
    TSubscriber Subscriber(Broker.Port(), "test/tls/#");
    TPublisherSettings Settings;
    Settings.Enabled = true;
    Settings.Url = "mqtts://127.0.0.1:" + std::to_string(TlsPort);
    Settings.TopicPrefix = "test/tls";

    Settings.CaFile = Other + "/other.crt";
    {
        // A broker whose certificate the CA did not sign is not trusted.
        TSamplePublisher Publisher(Settings);
        Publisher.Publish({1, std::nullopt, "mm", {}});
        for (int I = 0; I < 60 && Publisher.Status().Problem.empty(); ++I)
            std::this_thread::sleep_for(50ms);
        const TPublisherStatus Status = Publisher.Status();
        EXPECT_FALSE(Status.Connected);
        EXPECT_THAT(Status.Problem, HasSubstr("TLS"));
        EXPECT_EQ(Status.Queued, 1u);
    }
    EXPECT_TRUE(Subscriber.On("test/tls/sample").empty());

    Settings.CaFile = Dir + "/ca.crt";
    TSamplePublisher Publisher(Settings);
    Publisher.Publish({2, std::nullopt, "mm", {}});
    ASSERT_TRUE(
        Subscriber.Wait([&] { return !Subscriber.OnLocked("test/tls/sample").empty(); }, 10s));
    EXPECT_EQ(Json(Subscriber.On("test/tls/sample").front())["value1"].toDouble(), 2.0);
}

TEST(MqttUnknownHost, IsToldWhileSamplesWait) {
    TPublisherSettings Settings;
    Settings.Enabled = true;
    Settings.Url = "mqtt://no-such-host.invalid";
    TSamplePublisher Publisher(Settings);
    Publisher.Publish({1, std::nullopt, "mm", {}});
    for (int I = 0; I < 100 && Publisher.Status().Problem.empty(); ++I)
        std::this_thread::sleep_for(50ms);
    const TPublisherStatus Status = Publisher.Status();
    EXPECT_EQ(Status.Problem, "the name no-such-host.invalid does not resolve");
    EXPECT_EQ(Status.Queued, 1u);
}

} // namespace
