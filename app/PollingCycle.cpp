#include "app/PollingCycle.h"

#include "app/ModbusCrc.h"
#include "platform/Text.h"
#include "serial/XComDrv.h"

#include <vector>

const std::string PollRequest("\x01\x03\x02\x00\x00\x02\xC5\xB3", 8);

namespace {

constexpr int ReplyPauseMSec = 25;
constexpr std::size_t ShortestReply = 7;
constexpr std::size_t FullReply = 9;

// A register, high byte first; values above 60000 are negative readings.
float RegisterValue(const std::string& Reply, std::size_t Offset) {
    unsigned Raw = unsigned((unsigned char)Reply[Offset]) * 256u + (unsigned char)Reply[Offset + 1];
    float Value = float(Raw);
    if (Value > 60000.0f)
        Value -= 65535.0f;
    return Value;
}

bool CrcMatches(const std::string& Reply) {
    std::size_t L = Reply.size();
    return ModbusCrc16(Reply.substr(0, L - 2)) == Reply.substr(L - 2);
}

// The replies in what one tick read, oldest first. Mostly that is one
// reply; but a late reply comes together with the next one, and noise can
// come before a reply: every whole reply with a matching CRC in the bytes
// is a sample.
std::vector<std::string> RepliesIn(const std::string& Bytes) {
    if (CrcMatches(Bytes))
        return {Bytes};
    static const std::string Head("\x01\x03\x04", 3);
    std::vector<std::string> Found;
    for (std::size_t At = 0; At + FullReply <= Bytes.size();) {
        std::string Frame = Bytes.substr(At, FullReply);
        if (Frame.compare(0, Head.size(), Head) == 0 && CrcMatches(Frame)) {
            Found.push_back(std::move(Frame));
            At += FullReply;
        } else {
            ++At;
        }
    }
    return Found;
}

} // namespace

void TPollingCycle::Timer1Timer() {
    if (SimulationMode) {
        Button1Click();
        return;
    }
    if (!FNeighbours.PortIsOpen())
        return;
    try {
        PollPort();
    } catch (const EDeviceError& E) {
        FNeighbours.PortFailed(E.Message());
    }
}

void TPollingCycle::PollPort() {
    const std::string Bytes = FNeighbours.PortReadString();
    if (Bytes.size() < ShortestReply) {
        if (FAwaitingReply)
            ++FLink.ShortOrMissing;
        FNeighbours.Pause(ReplyPauseMSec);
        SendRequest();
        return;
    }
    const std::vector<std::string> Replies = RepliesIn(Bytes);
    if (Replies.empty()) {
        // Dropped; the next tick finds the queue empty and asks again.
        FAwaitingReply = false;
        ++FLink.CrcErrors;
        FNeighbours.Pause(ReplyPauseMSec);
        return;
    }
    // The first byte of several replies belongs to a late one: no round trip.
    if (Replies.size() == 1)
        MeasureRoundTrip();
    FAwaitingReply = false;
    for (const std::string& Reply : Replies) {
        ++FLink.GoodReplies;
        TakeReply(Reply);
    }
    SendRequest();
}

void TPollingCycle::SendRequest() {
    FRequestTime = FNeighbours.SteadyNow();
    FNeighbours.PortWriteString(PollRequest);
    ++FLink.Requests;
    FAwaitingReply = true;
}

void TPollingCycle::MeasureRoundTrip() {
    const TSteadyTime Arrival = FNeighbours.PortReadArrival();
    // Bytes that came before the request (a reply to an earlier one) give
    // no round trip.
    if (!FAwaitingReply || Arrival < FRequestTime)
        return;
    FLink.RoundTripMSec = std::chrono::duration<double, std::milli>(Arrival - FRequestTime).count();
}

void TPollingCycle::PortOpened() {
    FLink = {};
    FAwaitingReply = false;
}

void TPollingCycle::TakeReply(const std::string& Reply) {
    // A 7- or 8-byte reply holds fewer than two registers: value 2 is made of
    // what follows register 1 and is shown but never plotted or logged.
    float Value1 = RegisterValue(Reply, 3);
    float Value2 = RegisterValue(Reply, 5);
    if (MeasurementKind == mkTemperature) {
        Value1 /= 10.0f;
        Value2 /= 10.0f;
    }
    const bool BothValues = Reply.size() >= FullReply && MeasurementKind == mkTemperature;
    if (BothValues)
        FNeighbours.SetDisplayVisible(2, Value2 > -200.0f);
    FNeighbours.SetDisplayValue(1, Value1);
    FNeighbours.SetDisplayValue(2, Value2);

    FNeighbours.AddXY(0, SampleCounter, Value1);
    if (BothValues)
        FNeighbours.AddXY(1, SampleCounter, Value2);
    ++SampleCounter;

    std::string Line = TimeStamp() + "," + FormatFixed(Value1, 1);
    if (BothValues)
        Line += "," + FormatFixed(Value2, 1);
    FNeighbours.AppendLogLine(Line);
    PassOn(Value1, BothValues ? std::optional<float>(Value2) : std::nullopt);
}

void TPollingCycle::Button1Click() {
    float Value = float(FNeighbours.RandomDigit() + 20.1);
    FNeighbours.SetDisplayValue(1, Value);
    FNeighbours.AddXY(0, SampleCounter, Value);
    ++SampleCounter;
    FNeighbours.AppendLogLine(TimeStamp() + "," + FormatFixed(Value, 1));
    PassOn(Value, std::nullopt);
}

void TPollingCycle::PassOn(float Value1, std::optional<float> Value2) {
    const char* Unit = MeasurementKind == mkTemperature ? "°C" : "mm";
    FNeighbours.SampleTaken({Value1, Value2, Unit, FLink});
}

std::string TPollingCycle::TimeStamp() {
    int Hour, Min, Sec, MSec;
    DecodeTime(FNeighbours.LocalTime(), Hour, Min, Sec, MSec);
    return FormatDecimal(Hour, 2) + ":" + FormatDecimal(Min, 2) + ":" + FormatDecimal(Sec, 2);
}
