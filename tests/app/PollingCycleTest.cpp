#include "app/PollingCycle.h"
#include "app/ModbusCrc.h"
#include "tests/support/LocaleScope.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <vector>

namespace {

struct TPoint2 {
    double X, Y;
    friend bool operator==(const TPoint2&, const TPoint2&) = default;
};

// Plays the window: a port whose queue the test fills, displays, two plot
// channels, the log, a fixed clock and a scripted random sequence. Port
// and pause calls are also kept in their order.
class TFakeWindow : public TPollingNeighbours {
  public:
    bool PortIsOpen() override { return Open; }
    std::string PortReadString() override {
        Trace.push_back("read");
        std::string Queue;
        Queue.swap(InputQueue);
        return Queue;
    }
    void PortWriteString(const std::string& Data) override {
        Trace.push_back("write");
        Written.push_back(Data);
    }
    void PortFailed(const std::string& Reason) override { Trace.push_back("failed " + Reason); }
    void SetDisplayValue(int Display, double Value) override { DisplayValue[Display] = Value; }
    void SetDisplayVisible(int Display, bool Visible) override {
        DisplayVisible[Display] = Visible;
    }
    void AddXY(int Channel, double X, double Y) override { Points[Channel].push_back({X, Y}); }
    void AppendLogLine(const std::string& Line) override { Log.push_back(Line); }
    TDateTime LocalTime() override { return Clock; }
    void Pause(int MSec) override { Trace.push_back("pause " + std::to_string(MSec)); }
    int RandomDigit() override {
        int R = Digits.front();
        Digits.pop_front();
        return R;
    }
    TSteadyTime SteadyNow() override { return Now; }
    TSteadyTime PortReadArrival() override { return Arrival; }

    bool Open = true;
    std::string InputQueue;
    std::vector<std::string> Trace, Written, Log;
    std::map<int, double> DisplayValue;
    std::map<int, bool> DisplayVisible;
    std::map<int, std::vector<TPoint2>> Points;
    TDateTime Clock = EncodeTime(8, 5, 9, 400);
    std::deque<int> Digits;
    TSteadyTime Now{}, Arrival{};
};

std::string Bytes(std::initializer_list<unsigned char> List) {
    return std::string(List.begin(), List.end());
}

// A reply frame of slave 1, function 3, with registers Raw1 and Raw2 and
// its CRC.
std::string Reply(unsigned Raw1, unsigned Raw2) {
    std::string Frame = Bytes({0x01, 0x03, 0x04, (unsigned char)(Raw1 >> 8), (unsigned char)Raw1,
                               (unsigned char)(Raw2 >> 8), (unsigned char)Raw2});
    return Frame + ModbusCrc16(Frame);
}

class PollingCycle : public ::testing::Test {
  protected:
    PollingCycle() { Cycle.MeasurementKind = mkTemperature; }
    TLocaleScope Period{PeriodLocale};
    TFakeWindow Window;
    TPollingCycle Cycle{Window};
};

TEST_F(PollingCycle, RequestIsTheFixedFrame) {
    EXPECT_EQ(PollRequest, Bytes({0x01, 0x03, 0x02, 0x00, 0x00, 0x02, 0xC5, 0xB3}));
    EXPECT_EQ(ModbusCrc16(PollRequest.substr(0, 6)), PollRequest.substr(6));
}

TEST_F(PollingCycle, EmptyQueueSendsTheRequestAfterThePause) {
    Window.InputQueue = Bytes({0x01, 0x83, 0x02, 0xC0, 0xF1}); // a 5-byte exception reply
    Cycle.Timer1Timer();
    EXPECT_EQ(Window.Trace, (std::vector<std::string>{"read", "pause 25", "write"}));
    EXPECT_EQ(Window.Written, std::vector<std::string>{PollRequest});
    EXPECT_TRUE(Window.DisplayValue.empty());
    EXPECT_TRUE(Window.Points.empty());
    EXPECT_TRUE(Window.Log.empty());
    EXPECT_EQ(Cycle.SampleCounter, 0);
}

TEST_F(PollingCycle, ClosedPortTickDoesNothing) {
    Window.Open = false;
    Window.InputQueue = Reply(235, 241);
    Cycle.Timer1Timer();
    EXPECT_TRUE(Window.Trace.empty());
}

TEST_F(PollingCycle, FullReplyInTemperatureKind) {
    Window.InputQueue = Reply(0x00EB, 0x00F1);
    EXPECT_EQ(Window.InputQueue.substr(7), Bytes({0x4B, 0x83}));
    Cycle.SampleCounter = 17;
    Cycle.Timer1Timer();
    EXPECT_FLOAT_EQ(Window.DisplayValue[1], 23.5f);
    EXPECT_FLOAT_EQ(Window.DisplayValue[2], 24.1f);
    EXPECT_TRUE(Window.DisplayVisible[2]);
    EXPECT_EQ(Window.Points[0], std::vector<TPoint2>({{17, 23.5f}}));
    EXPECT_EQ(Window.Points[1], std::vector<TPoint2>({{17, 24.1f}}));
    EXPECT_EQ(Window.Log, std::vector<std::string>{"08:05:09,23.5,24.1"});
    EXPECT_EQ(Window.Trace, (std::vector<std::string>{"read", "write"}));
    EXPECT_EQ(Window.Written, std::vector<std::string>{PollRequest});
    EXPECT_EQ(Cycle.SampleCounter, 18);
}

TEST_F(PollingCycle, LogUsesTheRegionalSeparator) {
    TLocaleScope Comma(CommaLocale);
    Window.InputQueue = Reply(0x00EB, 0x00F1);
    Cycle.Timer1Timer();
    EXPECT_EQ(Window.Log, std::vector<std::string>{"08:05:09,23,5,24,1"});
}

TEST_F(PollingCycle, SignCorrectionAndScaling) {
    struct TCase {
        unsigned Raw;
        float Temperature; // tenths of a degree
    };
    const TCase Cases[] = {
        {60000, 6000.0f}, {60001, -553.4f}, {65534, -0.1f}, {65535, 0.0f}, {0, 0.0f}, {1, 0.1f},
    };
    for (const auto& C : Cases) {
        Window.InputQueue = Reply(C.Raw, C.Raw);
        Cycle.Timer1Timer();
        EXPECT_FLOAT_EQ(Window.DisplayValue[1], C.Temperature) << C.Raw;
        EXPECT_FLOAT_EQ(Window.DisplayValue[2], C.Temperature) << C.Raw;
    }
    EXPECT_EQ(Window.Log[2], "08:05:09,-0.1,-0.1");
    EXPECT_EQ(Window.Log[3], "08:05:09,0.0,0.0");
}

TEST_F(PollingCycle, DistanceKindKeepsRegistersUnscaledAndLogsOneValue) {
    Cycle.MeasurementKind = mkDistance;
    Window.InputQueue = Reply(1234, 65534);
    Cycle.Timer1Timer();
    EXPECT_FLOAT_EQ(Window.DisplayValue[1], 1234.0f);
    EXPECT_FLOAT_EQ(Window.DisplayValue[2], -1.0f);
    EXPECT_TRUE(Window.DisplayVisible.empty());
    EXPECT_EQ(Window.Points[0], std::vector<TPoint2>({{0, 1234}}));
    EXPECT_FALSE(Window.Points.count(1));
    EXPECT_EQ(Window.Log, std::vector<std::string>{"08:05:09,1234.0"});
}

TEST_F(PollingCycle, SecondValueAtOrBelowMinus200HidesDisplay2) {
    struct TCase {
        unsigned Raw2;
        bool Visible;
    };
    // -200.0 is 63535 raw (63535 - 65535 = -2000 tenths).
    const TCase Cases[] = {{63535, false}, {63534, false}, {63536, true}, {241, true}};
    for (const auto& C : Cases) {
        Window.InputQueue = Reply(235, C.Raw2);
        Cycle.Timer1Timer();
        EXPECT_EQ(Window.DisplayVisible[2], C.Visible) << C.Raw2;
        EXPECT_EQ(Window.Points[1].size(), Window.Points[0].size()) << "hidden is still plotted";
    }
}

TEST_F(PollingCycle, SevenByteReplyPlotsAndLogsOnlyValue1) {
    std::string Frame = Bytes({0x01, 0x03, 0x02, 0x00, 0xEB});
    Window.InputQueue = Frame + ModbusCrc16(Frame);
    const unsigned CrcAsRegister =
        (unsigned char)Window.InputQueue[5] * 256u + (unsigned char)Window.InputQueue[6];
    Window.DisplayVisible[2] = false;
    Cycle.Timer1Timer();
    EXPECT_FLOAT_EQ(Window.DisplayValue[1], 23.5f);
    float Value2 = float(CrcAsRegister);
    if (Value2 > 60000.0f)
        Value2 -= 65535.0f;
    EXPECT_FLOAT_EQ(Window.DisplayValue[2], Value2 / 10.0f);
    EXPECT_FALSE(Window.DisplayVisible[2]) << "visibility left as it was";
    EXPECT_EQ(Window.Points[0].size(), 1u);
    EXPECT_FALSE(Window.Points.count(1));
    EXPECT_EQ(Window.Log, std::vector<std::string>{"08:05:09,23.5"});
    EXPECT_EQ(Window.Written.size(), 1u);
}

TEST_F(PollingCycle, BadCrcDropsTheReplyAndSendsNextTick) {
    std::string Garbled = Reply(235, 241);
    std::swap(Garbled[7], Garbled[8]);
    for (const std::string& Bad : {Garbled, std::string(2048, '\xAA')}) {
        Window.Trace.clear();
        Window.InputQueue = Bad;
        Cycle.Timer1Timer();
        EXPECT_EQ(Window.Trace, (std::vector<std::string>{"read", "pause 25"}));
        EXPECT_TRUE(Window.DisplayValue.empty());
        EXPECT_TRUE(Window.Log.empty());
        EXPECT_EQ(Cycle.SampleCounter, 0);
        Cycle.Timer1Timer();
        EXPECT_EQ(Window.Trace.back(), "write");
    }
}

// A late reply with the next one, a reply after noise, a reply between
// torn ones: each whole reply is a sample, in the order of arrival.
TEST_F(PollingCycle, EveryWholeReplyAmongTheBytesIsTaken) {
    std::string Garbled = Reply(230, 240);
    std::swap(Garbled[7], Garbled[8]);
    Window.InputQueue = Reply(231, 241) + Reply(232, 242) + Bytes({0xFF, 0x00, 0x55}) +
                        Reply(233, 243) + Garbled + Reply(234, 244).substr(0, 5) + Reply(235, 245);
    Cycle.Timer1Timer();
    EXPECT_EQ(Window.Log, (std::vector<std::string>{"08:05:09,23.1,24.1", "08:05:09,23.2,24.2",
                                                    "08:05:09,23.3,24.3", "08:05:09,23.5,24.5"}));
    EXPECT_EQ(Window.Points[0],
              (std::vector<TPoint2>{{0, 23.1f}, {1, 23.2f}, {2, 23.3f}, {3, 23.5f}}));
    EXPECT_EQ(Window.Trace, (std::vector<std::string>{"read", "write"}));
    EXPECT_EQ(Cycle.Link().GoodReplies, 4u);
    EXPECT_EQ(Cycle.Link().CrcErrors, 0u);
}

TEST_F(PollingCycle, CounterWrapsAfter65536Samples) {
    Cycle.SampleCounter = 65535;
    Window.InputQueue = Reply(235, 241);
    Cycle.Timer1Timer();
    Window.InputQueue = Reply(236, 242);
    Cycle.Timer1Timer();
    EXPECT_EQ(Window.Points[0], std::vector<TPoint2>({{65535, 23.5f}, {0, 23.6f}}));
    EXPECT_EQ(Cycle.SampleCounter, 1);
}

TEST_F(PollingCycle, SimulationTicksIgnoreAnOpenPort) {
    Cycle.SimulationMode = true;
    Window.InputQueue = Reply(235, 241);
    Window.Digits = {0, 9, 4};
    for (int K = 0; K < 3; ++K)
        Cycle.Timer1Timer();
    EXPECT_TRUE(Window.Trace.empty()) << "the port is not touched";
    EXPECT_EQ(Window.Points[0], std::vector<TPoint2>({{0, 20.1f}, {1, 29.1f}, {2, 24.1f}}));
    EXPECT_FALSE(Window.Points.count(1));
    EXPECT_FALSE(Window.DisplayValue.count(2));
    EXPECT_FALSE(Window.DisplayVisible.count(2));
    EXPECT_FLOAT_EQ(Window.DisplayValue[1], 24.1f);
    EXPECT_EQ(Window.Log,
              (std::vector<std::string>{"08:05:09,20.1", "08:05:09,29.1", "08:05:09,24.1"}));
}

TEST_F(PollingCycle, SimulatedSamplesStayInRange) {
    Window.Digits = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    for (int K = 0; K < 10; ++K)
        Cycle.Button1Click();
    for (const TPoint2& P : Window.Points[0]) {
        EXPECT_GE(P.Y, 20.1f - 1e-5);
        EXPECT_LE(P.Y, 29.1f + 1e-5);
    }
    EXPECT_EQ(Window.Log[5], "08:05:09,25.1");
}

TEST_F(PollingCycle, TimeStampIsZeroPadded24Hour) {
    Window.Clock = EncodeDate(2026, 12, 9) + EncodeTime(23, 0, 7, 999);
    Window.Digits = {3};
    Cycle.Button1Click();
    EXPECT_EQ(Window.Log, std::vector<std::string>{"23:00:07,23.1"});
}

// One tick after another, each with what the port holds and when its
// first byte came (milliseconds after the previous tick's request), and
// the counts after it.
TEST_F(PollingCycle, LinkCountersFollowEveryKindOfReply) {
    using namespace std::chrono_literals;
    struct TStep {
        const char* What;
        std::string Queue;
        int ArrivalMSec;
        TLinkCounters After;
    };
    std::string BadCrc = Reply(235, 241);
    std::swap(BadCrc[7], BadCrc[8]);
    const TStep Steps[] = {
        {"the first tick only asks", "", 0, {1, 0, 0, 0, -1}},
        {"a good reply", Reply(235, 241), 12, {2, 1, 0, 0, 12}},
        {"a bad CRC sends nothing", BadCrc, 5, {2, 1, 1, 0, 12}},
        {"nothing was asked: no reply missing", "", 0, {3, 1, 1, 0, 12}},
        {"a short reply", Reply(235, 241).substr(0, 5), 3, {4, 1, 1, 1, 12}},
        {"no reply", "", 0, {5, 1, 1, 2, 12}},
        {"a reply that came before the request has no round trip",
         Reply(235, 241),
         -1,
         {6, 2, 1, 2, 12}},
        {"two replies together are two good ones without a round trip",
         Reply(235, 241) + Reply(235, 241),
         7,
         {7, 4, 1, 2, 12}},
        {"noise without a reply fails the CRC", std::string(20, '\x55'), 3, {7, 4, 2, 2, 12}},
        {"the dropped request is asked again", "", 0, {8, 4, 2, 2, 12}},
        {"a good reply again", Reply(235, 241), 30, {9, 5, 2, 2, 30}},
    };
    for (const TStep& S : Steps) {
        const TSteadyTime RequestTime = Window.Now;
        Window.Now += 1000ms;
        Window.InputQueue = S.Queue;
        Window.Arrival = RequestTime + std::chrono::milliseconds(S.ArrivalMSec);
        Cycle.Timer1Timer();
        const TLinkCounters& L = Cycle.Link();
        EXPECT_EQ(L.Requests, S.After.Requests) << S.What;
        EXPECT_EQ(L.GoodReplies, S.After.GoodReplies) << S.What;
        EXPECT_EQ(L.CrcErrors, S.After.CrcErrors) << S.What;
        EXPECT_EQ(L.ShortOrMissing, S.After.ShortOrMissing) << S.What;
        EXPECT_DOUBLE_EQ(L.RoundTripMSec, S.After.RoundTripMSec) << S.What;
    }
    Cycle.PortOpened();
    EXPECT_EQ(Cycle.Link().Requests, 0u);
    EXPECT_EQ(Cycle.Link().RoundTripMSec, -1);
    Window.Now += 1000ms;
    Cycle.Timer1Timer();
    EXPECT_EQ(Cycle.Link().ShortOrMissing, 0u) << "a request before the opening was missed";
}

} // namespace
