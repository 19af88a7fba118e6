#include "app/Publisher.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSysInfo>

#include <mosquitto.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <optional>
#include <system_error>

namespace {

constexpr int PlainPort = 1883;
constexpr int TlsPort = 8883;
// Samples handed to libmosquitto without the broker's answer yet; the rest
// wait in the bounded queue.
constexpr std::size_t InFlightWindow = 100;
constexpr int KeepAliveSec = 30;
// A broker that takes the connection but does not answer it is left.
constexpr auto ConnectTimeout = std::chrono::seconds(10);
// How long one pass of the network loop waits for the socket; also how
// long a new sample may wait before it goes out.
constexpr int LoopMSec = 50;
constexpr int FirstRetryMSec = 500;
constexpr int LastRetryMSec = 5000;
// What a stopping publisher gives the queue and its "offline".
constexpr auto FinishTime = std::chrono::milliseconds(1000);
constexpr const char* SystemCaPath = "/etc/ssl/certs";

Exception UrlError(const std::string& Url, const std::string& What) {
    return Exception("The broker address \"" + Url + "\" " + What +
                     " Use mqtt://host:port or mqtts://host:port.");
}

bool IsHostChar(char C, bool InBrackets) {
    if (std::isalnum((unsigned char)C) || C == '-' || C == '.')
        return true;
    return InBrackets && C == ':';
}

int ParsePort(const std::string& Url, const std::string& Text) {
    int Port = 0;
    const auto [End, Error] = std::from_chars(Text.data(), Text.data() + Text.size(), Port);
    if (Text.empty() || Error != std::errc() || End != Text.data() + Text.size() || Port < 1 ||
        Port > 65535)
        throw UrlError(Url, "has a port that is not a number from 1 to 65535.");
    return Port;
}

std::string HostPort(const TBrokerAddress& A) {
    const bool V6 = A.Host.find(':') != std::string::npos;
    return (V6 ? "[" + A.Host + "]" : A.Host) + ":" + std::to_string(A.Port);
}

// Floats in the shortest text that reads back as the same float: 23.6, not
// 23.600000381; never a decimal comma.
template <typename T> void AppendNumber(std::string& Text, T Value) {
    char Buffer[32];
    const auto Result = std::to_chars(Buffer, Buffer + sizeof Buffer, Value);
    Text.append(Buffer, Result.ptr);
}

template <typename T> void AppendField(std::string& Text, const char* Name, T Value) {
    Text += '"';
    Text += Name;
    Text += "\":";
    AppendNumber(Text, Value);
    Text += ',';
}

std::string TwoDigits(int Value) {
    return std::string(1, char('0' + Value / 10)) + char('0' + Value % 10);
}

int LocalUtcOffset(std::int64_t TimeMSec) {
    return QDateTime::fromMSecsSinceEpoch(TimeMSec).offsetFromUtc();
}

std::int64_t NowMSec() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

void StartLibrary() {
    static std::once_flag Once;
    std::call_once(Once, [] { mosquitto_lib_init(); });
}

} // namespace

TBrokerAddress ParseBrokerUrl(const std::string& Url) {
    TBrokerAddress A;
    std::string Rest;
    if (Url.rfind("mqtt://", 0) == 0) {
        Rest = Url.substr(7);
    } else if (Url.rfind("mqtts://", 0) == 0) {
        A.Tls = true;
        Rest = Url.substr(8);
    } else {
        throw UrlError(Url, "does not begin with mqtt:// or mqtts://.");
    }
    if (!Rest.empty() && Rest.back() == '/')
        Rest.pop_back();
    if (Rest.find_first_of("/?#@") != std::string::npos)
        throw UrlError(Url, "holds more than a host and a port.");
    std::optional<std::string> PortText;
    const bool Brackets = !Rest.empty() && Rest.front() == '[';
    if (Brackets) {
        const std::size_t Close = Rest.find(']');
        if (Close == std::string::npos)
            throw UrlError(Url, "opens a [ that it does not close.");
        A.Host = Rest.substr(1, Close - 1);
        const std::string After = Rest.substr(Close + 1);
        if (!After.empty() && After.front() != ':')
            throw UrlError(Url, "has text after the ] that is not a port.");
        if (!After.empty())
            PortText = After.substr(1);
    } else {
        const std::size_t Colon = Rest.find(':');
        if (Colon != Rest.rfind(':'))
            throw UrlError(Url, "has an IPv6 address that is not in brackets.");
        A.Host = Rest.substr(0, Colon);
        if (Colon != std::string::npos)
            PortText = Rest.substr(Colon + 1);
    }
    if (A.Host.empty())
        throw UrlError(Url, "names no host.");
    if (!std::all_of(A.Host.begin(), A.Host.end(), [&](char C) { return IsHostChar(C, Brackets); }))
        throw UrlError(Url, "has a host name with characters that no host name holds.");
    A.Port = PortText ? ParsePort(Url, *PortText) : (A.Tls ? TlsPort : PlainPort);
    return A;
}

void CheckTopicPrefix(const std::string& Prefix) {
    if (Prefix.find_first_of("+#") != std::string::npos)
        throw Exception("The topic prefix \"" + Prefix +
                        "\" holds a wildcard (+ or #), which a published topic cannot hold.");
    if (!Prefix.empty() && Prefix.back() == '/')
        throw Exception("The topic prefix \"" + Prefix +
                        "\" ends with /; the topics add their own.");
    if (Prefix.find('\0') != std::string::npos)
        throw Exception("The topic prefix holds a zero byte.");
}

void CheckCaFile(const std::string& File) {
    const QFileInfo Info(QString::fromStdString(File));
    if (!Info.exists())
        throw Exception("The CA file \"" + File + "\" does not exist.");
    if (!Info.isFile() || !Info.isReadable())
        throw Exception("The CA file \"" + File + "\" is not a file this user can read.");
}

std::size_t ParseQueueSize(const std::string& Text) {
    std::size_t Size = 0;
    const auto [End, Error] = std::from_chars(Text.data(), Text.data() + Text.size(), Size);
    if (Text.empty() || Error != std::errc() || End != Text.data() + Text.size() || Size < 1 ||
        Size > MaxQueueSize)
        throw Exception("The queue holds from 1 to " + std::to_string(MaxQueueSize) +
                        " samples; \"" + Text + "\" is not such a number.");
    return Size;
}

void CheckPublisherSettings(const TPublisherSettings& Settings) {
    const TBrokerAddress A = ParseBrokerUrl(Settings.Url);
    CheckTopicPrefix(Settings.TopicPrefix);
    if (!Settings.CaFile.empty()) {
        if (!A.Tls)
            throw Exception("A CA file goes with an mqtts:// broker address, not with \"" +
                            Settings.Url + "\".");
        CheckCaFile(Settings.CaFile);
    }
    ParseQueueSize(std::to_string(Settings.QueueSize));
}

std::string DefaultTopicPrefix() {
    const std::string Host = QSysInfo::machineHostName().toStdString();
    return "sensor-monitor/" + (Host.empty() ? std::string("localhost") : Host);
}

void TSampleQueue::Push(const TQueuedSample& Sample) {
    if (FSamples.size() >= FCapacity) {
        FSamples.pop_front();
        ++FDropped;
    }
    FSamples.push_back(Sample);
}

std::string IsoTime(std::int64_t TimeMSec, int UtcOffsetSec) {
    const QDateTime Local =
        QDateTime::fromMSecsSinceEpoch(TimeMSec, Qt::OffsetFromUTC, UtcOffsetSec);
    const int Minutes = std::abs(UtcOffsetSec) / 60;
    return Local.toString("yyyy-MM-ddTHH:mm:ss.zzz").toStdString() +
           (UtcOffsetSec < 0 ? "-" : "+") + TwoDigits(Minutes / 60) + ":" + TwoDigits(Minutes % 60);
}

std::string SampleJson(const TQueuedSample& S, int UtcOffsetSec, std::uint64_t Dropped) {
    std::string Text = "{\"time\":\"" + IsoTime(S.TimeMSec, UtcOffsetSec) + "\",";
    AppendField(Text, "sample", S.Number);
    AppendField(Text, "value1", S.Sample.Value1);
    if (S.Sample.Value2)
        AppendField(Text, "value2", *S.Sample.Value2);
    Text += "\"unit\":\"" + std::string(S.Sample.Unit) + "\",\"link\":{";
    const TLinkCounters& L = S.Sample.Link;
    AppendField(Text, "requests", L.Requests);
    AppendField(Text, "good_replies", L.GoodReplies);
    AppendField(Text, "crc_errors", L.CrcErrors);
    AppendField(Text, "short_or_missing", L.ShortOrMissing);
    Text += "\"round_trip_ms\":";
    if (L.RoundTripMSec < 0)
        Text += "null";
    else
        AppendNumber(Text, std::round(L.RoundTripMSec * 1000) / 1000);
    Text += "},\"dropped\":" + std::to_string(Dropped) + "}";
    return Text;
}

std::string PublisherStatusText(const TPublisherStatus& Status, const std::string& Broker) {
    std::string Text = Status.Connected ? "MQTT: connected to " + Broker
                                        : "MQTT: waiting for the broker at " + Broker;
    if (!Status.Connected && !Status.Problem.empty())
        Text += " (" + Status.Problem + ")";
    return Text + PublisherCountsText(Status);
}

std::string PublisherCountsText(const TPublisherStatus& Status) {
    std::string Text;
    if (Status.Queued > 0)
        Text += ", " + std::to_string(Status.Queued) + " queued";
    if (Status.Dropped > 0)
        Text += ", " + std::to_string(Status.Dropped) + " dropped";
    return Text;
}

namespace {

TBrokerAddress CheckedAddress(const TPublisherSettings& Settings) {
    CheckPublisherSettings(Settings);
    return ParseBrokerUrl(Settings.Url);
}

std::string ProblemText(int Code, int Errno, const std::string& Host) {
    if (Code == MOSQ_ERR_ERRNO)
        return std::error_code(Errno, std::generic_category()).message();
    if (Code == MOSQ_ERR_EAI)
        return "the name " + Host + " does not resolve";
    if (Code == MOSQ_ERR_TLS)
        return "TLS failed: the broker's certificate is not one the CA file signed for " + Host +
               ", or the broker does not speak TLS there";
    return mosquitto_strerror(Code);
}

} // namespace

TSamplePublisher::TSamplePublisher(const TPublisherSettings& Settings)
    : FAddress(CheckedAddress(Settings)), FBroker(HostPort(FAddress)),
      FPrefix(Settings.TopicPrefix.empty() ? DefaultTopicPrefix() : Settings.TopicPrefix),
      FQueue(Settings.QueueSize) {
    StartLibrary();
    // A new client name each run, and no session kept by the broker: what
    // is not yet answered is held here and sent again.
    FMosq = mosquitto_new(nullptr, true, this);
    if (!FMosq)
        throw Exception("Cannot start the MQTT publisher: " +
                        std::error_code(errno, std::generic_category()).message());
    try {
        mosquitto_max_inflight_messages_set(FMosq, InFlightWindow);
        mosquitto_int_option(FMosq, MOSQ_OPT_TCP_NODELAY, 1);
        const std::string Status = FPrefix + "/status";
        if (mosquitto_will_set(FMosq, Status.c_str(), 7, "offline", 1, true) != MOSQ_ERR_SUCCESS)
            throw Exception("The topic prefix \"" + FPrefix + "\" is not a valid MQTT topic.");
        if (FAddress.Tls) {
            const char* Ca = Settings.CaFile.empty() ? nullptr : Settings.CaFile.c_str();
            const int Code = mosquitto_tls_set(FMosq, Ca, Ca ? nullptr : SystemCaPath, nullptr,
                                               nullptr, nullptr);
            if (Code != MOSQ_ERR_SUCCESS)
                throw Exception("Cannot use the CA file \"" + Settings.CaFile +
                                "\": " + mosquitto_strerror(Code));
        }
    } catch (...) {
        mosquitto_destroy(FMosq);
        throw;
    }
    mosquitto_connect_callback_set(FMosq, OnConnect);
    mosquitto_publish_callback_set(FMosq, OnPublish);
    FThread = std::thread([this] { Run(); });
}

TSamplePublisher::~TSamplePublisher() {
    {
        std::lock_guard<std::mutex> Lock(FMutex);
        FStop = true;
    }
    FWake.notify_all();
    FThread.join();
    mosquitto_destroy(FMosq);
}

void TSamplePublisher::Publish(const TSample& Sample) {
    const std::int64_t Time = NowMSec();
    std::lock_guard<std::mutex> Lock(FMutex);
    FQueue.Push({Sample, FNextNumber++, Time});
}

TPublisherStatus TSamplePublisher::Status() const {
    std::lock_guard<std::mutex> Lock(FMutex);
    return {FConnected, FProblem, FQueue.Size() + FInFlight, FQueue.Dropped()};
}

bool TSamplePublisher::Stopping() {
    std::lock_guard<std::mutex> Lock(FMutex);
    return FStop;
}

void TSamplePublisher::SetProblem(const std::string& Problem) {
    std::lock_guard<std::mutex> Lock(FMutex);
    FProblem = Problem;
}

void TSamplePublisher::Run() {
    while (!Stopping()) {
        bool Connected;
        {
            std::lock_guard<std::mutex> Lock(FMutex);
            Connected = FConnected;
        }
        if (Connected || FConnecting)
            Exchange();
        else
            Connect();
    }
    Finish();
}

void TSamplePublisher::Connect() {
    const int Code =
        mosquitto_connect_async(FMosq, FAddress.Host.c_str(), FAddress.Port, KeepAliveSec);
    if (Code != MOSQ_ERR_SUCCESS) {
        SetProblem(ProblemText(Code, errno, FAddress.Host));
        WaitBeforeRetry();
        return;
    }
    FConnecting = true;
    FConnectStart = std::chrono::steady_clock::now();
}

void TSamplePublisher::Exchange() {
    SendQueued();
    const int Code = mosquitto_loop(FMosq, LoopMSec, 1);
    if (Code != MOSQ_ERR_SUCCESS) {
        Disconnected(Code == MOSQ_ERR_NO_CONN ? "" : ProblemText(Code, errno, FAddress.Host));
        WaitBeforeRetry();
    } else if (FConnecting && std::chrono::steady_clock::now() - FConnectStart > ConnectTimeout) {
        Disconnected("the broker does not answer");
        WaitBeforeRetry();
    }
}

void TSamplePublisher::SendQueued() {
    const std::string Topic = FPrefix + "/sample";
    for (;;) {
        TQueuedSample Next;
        std::uint64_t Dropped;
        {
            std::lock_guard<std::mutex> Lock(FMutex);
            if (!FConnected || FInFlight >= InFlightWindow || FQueue.Empty())
                return;
            Next = FQueue.Front();
            Dropped = FQueue.Dropped();
        }
        const std::string Json = SampleJson(Next, LocalUtcOffset(Next.TimeMSec), Dropped);
        // A sample that libmosquitto did not take stays in the queue for the
        // next connection.
        if (mosquitto_publish(FMosq, nullptr, Topic.c_str(), int(Json.size()), Json.data(), 1,
                              false) != MOSQ_ERR_SUCCESS)
            return;
        std::lock_guard<std::mutex> Lock(FMutex);
        // Unless a full queue dropped it meanwhile.
        if (!FQueue.Empty() && FQueue.Front().Number == Next.Number)
            FQueue.PopFront();
        ++FInFlight;
    }
}

void TSamplePublisher::Disconnected(const std::string& Problem) {
    // Closes the socket; libmosquitto keeps the unanswered messages and sends
    // them again on the next connection.
    mosquitto_disconnect(FMosq);
    FConnecting = false;
    std::lock_guard<std::mutex> Lock(FMutex);
    FConnected = false;
    if (!Problem.empty())
        FProblem = Problem;
}

void TSamplePublisher::WaitBeforeRetry() {
    FRetryMSec = FRetryMSec == 0 ? FirstRetryMSec : std::min(2 * FRetryMSec, LastRetryMSec);
    std::unique_lock<std::mutex> Lock(FMutex);
    FWake.wait_for(Lock, std::chrono::milliseconds(FRetryMSec), [this] { return FStop; });
}

void TSamplePublisher::Finish() {
    const auto Deadline = std::chrono::steady_clock::now() + FinishTime;
    const auto Connected = [this] {
        std::lock_guard<std::mutex> Lock(FMutex);
        return FConnected;
    };
    const auto Unsent = [this] {
        std::lock_guard<std::mutex> Lock(FMutex);
        return FQueue.Size() + FInFlight;
    };
    while (Connected() && Unsent() > 0 && std::chrono::steady_clock::now() < Deadline) {
        SendQueued();
        if (mosquitto_loop(FMosq, 10, 1) != MOSQ_ERR_SUCCESS)
            return;
    }
    if (!Connected())
        return;
    const std::string Status = FPrefix + "/status";
    if (mosquitto_publish(FMosq, &FStatusMid, Status.c_str(), 7, "offline", 1, true) ==
        MOSQ_ERR_SUCCESS) {
        while (FStatusMid != -1 && std::chrono::steady_clock::now() < Deadline)
            if (mosquitto_loop(FMosq, 10, 1) != MOSQ_ERR_SUCCESS)
                break;
    }
    mosquitto_disconnect(FMosq);
}

void TSamplePublisher::OnConnect(mosquitto*, void* Self, int Code) {
    auto& P = *static_cast<TSamplePublisher*>(Self);
    if (Code != 0) {
        // Still connecting: the loop finds the socket closed and waits
        // before the next try.
        P.SetProblem(std::string("the broker refused the connection: ") +
                     mosquitto_connack_string(Code));
        mosquitto_disconnect(P.FMosq);
        return;
    }
    P.FConnecting = false;
    P.FRetryMSec = 0;
    {
        std::lock_guard<std::mutex> Lock(P.FMutex);
        P.FConnected = true;
        P.FProblem.clear();
    }
    const std::string Status = P.FPrefix + "/status";
    mosquitto_publish(P.FMosq, &P.FStatusMid, Status.c_str(), 6, "online", 1, true);
}

void TSamplePublisher::OnPublish(mosquitto*, void* Self, int Mid) {
    auto& P = *static_cast<TSamplePublisher*>(Self);
    if (Mid == P.FStatusMid) {
        P.FStatusMid = -1;
        return;
    }
    std::lock_guard<std::mutex> Lock(P.FMutex);
    if (P.FInFlight > 0)
        --P.FInFlight;
}
