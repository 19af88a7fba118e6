#pragma once
// The work of one timer tick: collect the sensor's reply, check its CRC,
// decode the two registers, show, plot and log the values, send the next
// request. It talks to the window only through TPollingNeighbours, so it
// runs without one.

#include "platform/DateTime.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

// Read holding registers 0x0200 and 0x0201 of slave 1, CRC included.
extern const std::string PollRequest;

using TSteadyTime = std::chrono::steady_clock::time_point;

// What the line did since the port was opened, as the cycle saw it.
struct TLinkCounters {
    std::uint32_t Requests = 0;
    // Replies whose CRC matched: decoded, shown, plotted and logged.
    std::uint32_t GoodReplies = 0;
    // Ticks that read 7 bytes or more without a whole reply whose CRC
    // matched. Two replies that arrive together (one of them late) and a
    // reply after noise are good replies.
    std::uint32_t CrcErrors = 0;
    // Ticks that found fewer than 7 bytes (nothing, a cut reply or an
    // exception reply) where the reply to the previous request belonged.
    std::uint32_t ShortOrMissing = 0;
    // Of the last good reply: from the request's write to the arrival of the
    // reply's first byte in the port's queue; negative while unknown.
    double RoundTripMSec = -1;
};

enum TMeasurementKind : std::int32_t { mkDistance = 1, mkTemperature = 2 };

// One sample as the cycle logged it, for those who pass samples on.
struct TSample {
    float Value1 = 0;
    // Only when the reply held both registers and the line logged it.
    std::optional<float> Value2;
    const char* Unit = "";
    // The link as it stood after this sample.
    TLinkCounters Link;
};

class TPollingNeighbours {
  public:
    virtual ~TPollingNeighbours() = default;
    virtual bool PortIsOpen() = 0;
    // Every byte the port holds now, without waiting for more.
    virtual std::string PortReadString() = 0;
    virtual void PortWriteString(const std::string& Data) = 0;
    // The port failed in a tick (usually the line is lost): the cycle sends
    // nothing more; the neighbour closes the port and tells the user once.
    virtual void PortFailed(const std::string& Reason) = 0;
    // Display 1 or 2.
    virtual void SetDisplayValue(int Display, double Value) = 0;
    virtual void SetDisplayVisible(int Display, bool Visible) = 0;
    // Channel 0 or 1 of the plot.
    virtual void AddXY(int Channel, double X, double Y) = 0;
    virtual void AppendLogLine(const std::string& Line) = 0;
    virtual TDateTime LocalTime() = 0;
    // Blocks the caller.
    virtual void Pause(int MSec) = 0;
    // 0 .. 9, the same sequence in every run.
    virtual int RandomDigit() = 0;
    // The clock of the round-trip time.
    virtual TSteadyTime SteadyNow() { return std::chrono::steady_clock::now(); }
    // When the first byte of what PortReadString returned last arrived, on
    // the SteadyNow clock; a port that cannot tell gives the time of the
    // read, so the round trip is then only known to the tick.
    virtual TSteadyTime PortReadArrival() { return SteadyNow(); }
    // Every sample that was logged; must not block.
    virtual void SampleTaken(const TSample&) {}
};

class TPollingCycle {
  public:
    explicit TPollingCycle(TPollingNeighbours& Neighbours) : FNeighbours(Neighbours) {}

    // One tick of the timer.
    void Timer1Timer();
    // One simulated sample.
    void Button1Click();
    // A port was opened: the link counters start again and no request is
    // outstanding.
    void PortOpened();
    const TLinkCounters& Link() const { return FLink; }

    // The monitor's program-wide state, written by the window too.
    std::int32_t MeasurementKind = 0;
    bool SimulationMode = false;
    std::uint16_t SampleCounter = 0; // X of every plotted point; wraps

  private:
    void PollPort();
    void TakeReply(const std::string& Reply);
    std::string TimeStamp();
    void PassOn(float Value1, std::optional<float> Value2);
    void SendRequest();
    void MeasureRoundTrip();

    TPollingNeighbours& FNeighbours;
    TLinkCounters FLink;
    // A request was sent and no tick has read anything for it yet.
    bool FAwaitingReply = false;
    TSteadyTime FRequestTime;
};
