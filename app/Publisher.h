#pragma once
// Every sample published to an MQTT broker through libmosquitto, so that
// many monitors feed one central system. Per sample one QoS 1 message on
// PREFIX/sample (SampleJson); PREFIX/status holds a retained "online" while
// the publisher is connected and "offline" after it stopped or, as the
// broker's last will, after it vanished.
//
// The polling cycle hands a sample over under a short lock and goes on;
// a thread of the publisher's own does all the network work. While the
// broker is away the samples wait in a bounded queue and go out in order
// when it is back; only a full queue drops its oldest sample, and the count
// of dropped samples travels in every message.

#include "app/PollingCycle.h"
#include "platform/Exception.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

struct mosquitto;

// What the user chose: on the command line or in the settings dialog.
struct TPublisherSettings {
    bool Enabled = false;
    std::string Url; // mqtt://host:port or mqtts://host:port
    // Empty for DefaultTopicPrefix().
    std::string TopicPrefix;
    // The certificate authority of an mqtts broker; empty for the system's.
    std::string CaFile;
    std::size_t QueueSize = 86400; // a day at one sample a second
};

inline constexpr std::size_t MaxQueueSize = 10000000;
// How often the window and the headless run look at the publisher's state.
inline constexpr int PublisherWatchMSec = 500;

struct TBrokerAddress {
    bool Tls = false;
    std::string Host;
    int Port = 0;
};

// Exceptions with texts that say what is wrong and what is expected.
TBrokerAddress ParseBrokerUrl(const std::string& Url);
void CheckTopicPrefix(const std::string& Prefix);
void CheckCaFile(const std::string& File);
std::size_t ParseQueueSize(const std::string& Text);
// All of the above, and a CA file only with mqtts://.
void CheckPublisherSettings(const TPublisherSettings& Settings);

// "sensor-monitor/<hostname>".
std::string DefaultTopicPrefix();

// A sample with what the publisher adds when it is taken.
struct TQueuedSample {
    TSample Sample;
    std::uint64_t Number = 0;  // from 1 in each run; a gap is a dropped sample
    std::int64_t TimeMSec = 0; // since the epoch
};

// The samples waiting to be published, oldest first; a full queue drops
// its oldest sample to take a new one, and counts it.
class TSampleQueue {
  public:
    explicit TSampleQueue(std::size_t Capacity) : FCapacity(Capacity) {}
    void Push(const TQueuedSample& Sample);
    bool Empty() const { return FSamples.empty(); }
    std::size_t Size() const { return FSamples.size(); }
    const TQueuedSample& Front() const { return FSamples.front(); }
    void PopFront() { FSamples.pop_front(); }
    std::uint64_t Dropped() const { return FDropped; }

  private:
    std::size_t FCapacity;
    std::deque<TQueuedSample> FSamples;
    std::uint64_t FDropped = 0;
};

// The time as ISO 8601 with milliseconds and the UTC offset,
// 2026-03-01T14:05:09.250+01:00.
std::string IsoTime(std::int64_t TimeMSec, int UtcOffsetSec);
// The message of one sample: compact JSON, numbers in their shortest exact
// form, the round trip null while unknown, Dropped as counted when it went
// out.
std::string SampleJson(const TQueuedSample& S, int UtcOffsetSec, std::uint64_t Dropped);

struct TPublisherStatus {
    bool Connected = false;
    // Why the publisher is not connected, when it knows.
    std::string Problem;
    std::size_t Queued = 0; // waiting or sent without the broker's answer yet
    std::uint64_t Dropped = 0;
};

// The status in one line: "MQTT: connected to host:1883, 3 queued".
std::string PublisherStatusText(const TPublisherStatus& Status, const std::string& Broker);
// Its counts, where there are any: ", 3 queued, 1 dropped".
std::string PublisherCountsText(const TPublisherStatus& Status);

class TSamplePublisher {
  public:
    // Checks the settings and starts the publisher's thread, which connects.
    // Exception when the settings are wrong.
    explicit TSamplePublisher(const TPublisherSettings& Settings);
    // Gives what is queued a second to go out, says "offline" and ends.
    ~TSamplePublisher();
    TSamplePublisher(const TSamplePublisher&) = delete;
    TSamplePublisher& operator=(const TSamplePublisher&) = delete;

    // Queues the sample for publishing. Never waits for the network.
    void Publish(const TSample& Sample);
    TPublisherStatus Status() const;
    // host:port, as the status tells it.
    const std::string& Broker() const { return FBroker; }
    const std::string& TopicPrefix() const { return FPrefix; }

  private:
    void Run();
    void Connect();
    void Exchange();
    void SendQueued();
    void Disconnected(const std::string& Problem);
    void WaitBeforeRetry();
    void Finish();
    void SetProblem(const std::string& Problem);
    bool Stopping();

    static void OnConnect(mosquitto*, void* Self, int Code);
    static void OnPublish(mosquitto*, void* Self, int Mid);

    const TBrokerAddress FAddress;
    const std::string FBroker;
    const std::string FPrefix;
    mosquitto* FMosq = nullptr;

    mutable std::mutex FMutex;
    std::condition_variable FWake;
    TSampleQueue FQueue;
    std::uint64_t FNextNumber = 1;
    std::size_t FInFlight = 0;
    bool FConnected = false;
    std::string FProblem;
    bool FStop = false;

    // The publisher's thread only.
    bool FConnecting = false;
    std::chrono::steady_clock::time_point FConnectStart;
    int FRetryMSec = 0;
    int FStatusMid = -1;
    std::thread FThread;
};
