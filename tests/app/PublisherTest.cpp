// The publisher's pieces without a broker: the message text, the bounded
// queue and the checks of what the user gives.

#include "app/Publisher.h"
#include "tests/support/LocaleScope.h"

#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

namespace {

using testing::HasSubstr;

TQueuedSample Sample(std::uint64_t Number, float Value1 = 20.1f) {
    TQueuedSample S;
    S.Number = Number;
    S.Sample.Value1 = Value1;
    S.Sample.Unit = "°C";
    return S;
}

TEST(SampleJson, HoldsEverySampleFieldInShortestForm) {
    // The decimal comma of the user's locale must not reach the JSON text.
    TLocaleScope Comma("de_DE.UTF-8");
    TQueuedSample S = Sample(17, 23.6f);
    S.Sample.Value2 = -0.5f;
    S.TimeMSec = 1772373909250; // 2026-03-01 14:05:09.250 UTC
    S.Sample.Link = {18, 17, 1, 2, 12.34567};
    EXPECT_EQ(SampleJson(S, 3600, 4),
              "{\"time\":\"2026-03-01T15:05:09.250+01:00\",\"sample\":17,\"value1\":23.6,"
              "\"value2\":-0.5,\"unit\":\"°C\",\"link\":{\"requests\":18,\"good_replies\":17,"
              "\"crc_errors\":1,\"short_or_missing\":2,\"round_trip_ms\":12.346},\"dropped\":4}");
}

TEST(SampleJson, LeavesOutValue2AndUnknownRoundTrip) {
    TQueuedSample S = Sample(1, 6553.5f);
    S.Sample.Unit = "mm";
    const std::string Json = SampleJson(S, 0, 0);
    EXPECT_THAT(Json, HasSubstr("\"value1\":6553.5,\"unit\":\"mm\""));
    EXPECT_THAT(Json, HasSubstr("\"round_trip_ms\":null"));
    EXPECT_THAT(Json, testing::Not(HasSubstr("value2")));
}

TEST(IsoTime, GivesTheOffsetAlwaysAndTheMilliseconds) {
    const struct {
        std::int64_t MSec;
        int Offset;
        const char* Text;
    } Cases[] = {
        {0, 0, "1970-01-01T00:00:00.000+00:00"},
        {1772373909005, -5 * 3600, "2026-03-01T09:05:09.005-05:00"},
        {1772373909999, 5 * 3600 + 1800, "2026-03-01T19:35:09.999+05:30"},
        // The day before the UTC day.
        {1772323200000, -3600, "2026-02-28T23:00:00.000-01:00"},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(IsoTime(C.MSec, C.Offset), C.Text);
}

TEST(SampleQueue, DropsTheOldestOnlyWhenFullAndCountsThem) {
    TSampleQueue Queue(3);
    for (std::uint64_t N = 1; N <= 3; ++N)
        Queue.Push(Sample(N));
    EXPECT_EQ(Queue.Dropped(), 0u);
    Queue.Push(Sample(4));
    Queue.Push(Sample(5));
    EXPECT_EQ(Queue.Dropped(), 2u);
    std::vector<std::uint64_t> Left;
    for (; !Queue.Empty(); Queue.PopFront())
        Left.push_back(Queue.Front().Number);
    EXPECT_EQ(Left, (std::vector<std::uint64_t>{3, 4, 5}));
    // Room again: nothing more is dropped.
    Queue.Push(Sample(6));
    EXPECT_EQ(Queue.Dropped(), 2u);
    EXPECT_EQ(Queue.Size(), 1u);
}

TEST(BrokerUrl, ReadsHostPortAndTls) {
    const struct {
        const char* Url;
        bool Tls;
        const char* Host;
        int Port;
    } Cases[] = {
        {"mqtt://localhost", false, "localhost", 1883},
        {"mqtts://broker.example.org", true, "broker.example.org", 8883},
        {"mqtt://127.0.0.1:18830/", false, "127.0.0.1", 18830},
        {"mqtts://[::1]:8884", true, "::1", 8884},
        {"mqtt://[fe80::1]", false, "fe80::1", 1883},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Url);
        const TBrokerAddress A = ParseBrokerUrl(C.Url);
        EXPECT_EQ(A.Tls, C.Tls);
        EXPECT_EQ(A.Host, C.Host);
        EXPECT_EQ(A.Port, C.Port);
    }
}

TEST(BrokerUrl, MistakesSayWhatIsWrong) {
    const struct {
        const char* Url;
        const char* Says;
    } Cases[] = {
        {"", "does not begin with mqtt:// or mqtts://"},
        {"tcp://host:1883", "does not begin with mqtt:// or mqtts://"},
        {"host:1883", "does not begin with mqtt:// or mqtts://"},
        {"mqtt://", "names no host"},
        {"mqtt://:1883", "names no host"},
        {"mqtt://host:0", "port that is not a number from 1 to 65535"},
        {"mqtt://host:65536", "port that is not a number from 1 to 65535"},
        {"mqtt://host:", "port that is not a number from 1 to 65535"},
        {"mqtt://host:18x", "port that is not a number from 1 to 65535"},
        {"mqtt://user@host", "more than a host and a port"},
        {"mqtt://host/topic", "more than a host and a port"},
        {"mqtt://::1", "IPv6 address that is not in brackets"},
        {"mqtt://[::1", "does not close"},
        {"mqtt://bad_host name", "characters that no host name holds"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Url);
        try {
            ParseBrokerUrl(C.Url);
            ADD_FAILURE() << "taken";
        } catch (const Exception& E) {
            EXPECT_THAT(E.Message(), HasSubstr(C.Says));
            EXPECT_THAT(E.Message(), HasSubstr("Use mqtt://host:port or mqtts://host:port."));
        }
    }
}

TEST(PublisherSettings, ChecksTopicCaFileAndQueue) {
    QTemporaryDir Dir;
    const std::string Ca = Dir.filePath("ca.crt").toStdString();
    std::ofstream(Ca) << "-----BEGIN CERTIFICATE-----\n";
    TPublisherSettings Good;
    Good.Url = "mqtts://host";
    Good.CaFile = Ca;
    Good.TopicPrefix = "plant/line 2";
    EXPECT_NO_THROW(CheckPublisherSettings(Good));

    const auto Mistake = [&](auto Change, const char* Says) {
        TPublisherSettings S = Good;
        Change(S);
        try {
            CheckPublisherSettings(S);
            ADD_FAILURE() << Says << ": taken";
        } catch (const Exception& E) {
            EXPECT_THAT(E.Message(), HasSubstr(Says));
        }
    };
    Mistake([](auto& S) { S.TopicPrefix = "plant/+/x"; }, "wildcard");
    Mistake([](auto& S) { S.TopicPrefix = "plant/#"; }, "wildcard");
    Mistake([](auto& S) { S.TopicPrefix = "plant/"; }, "ends with /");
    Mistake([](auto& S) { S.CaFile = "/no/such/ca.crt"; }, "\"/no/such/ca.crt\" does not exist");
    Mistake([&](auto& S) { S.CaFile = Dir.path().toStdString(); }, "is not a file");
    Mistake([](auto& S) { S.Url = "mqtt://host"; }, "A CA file goes with an mqtts://");
    Mistake([](auto& S) { S.QueueSize = 0; }, "from 1 to 10000000 samples");
    Mistake([](auto& S) { S.QueueSize = MaxQueueSize + 1; }, "from 1 to 10000000 samples");

    EXPECT_EQ(ParseQueueSize("1"), 1u);
    EXPECT_EQ(ParseQueueSize("10000000"), MaxQueueSize);
    for (const char* Bad : {"", "-1", "1e3", " 5", "ten"})
        EXPECT_THROW(ParseQueueSize(Bad), Exception) << Bad;
}

TEST(PublisherStatus, TellsStateQueueAndDrops) {
    EXPECT_EQ(PublisherStatusText({true, "", 0, 0}, "h:1883"), "MQTT: connected to h:1883");
    EXPECT_EQ(PublisherStatusText({false, "Connection refused", 12, 3}, "h:1883"),
              "MQTT: waiting for the broker at h:1883 (Connection refused), 12 queued, 3 dropped");
}

} // namespace
