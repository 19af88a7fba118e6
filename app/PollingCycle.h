#pragma once
// The work of one timer tick: collect the sensor's reply, check its CRC,
// decode the two registers, show, plot and log the values, send the next
// request. It talks to the window only through TPollingNeighbours, so it
// runs without one.

#include "platform/DateTime.h"

#include <cstdint>
#include <string>

// Read holding registers 0x0200 and 0x0201 of slave 1, CRC included.
extern const std::string PollRequest;

enum TMeasurementKind : std::int32_t { mkDistance = 1, mkTemperature = 2 };

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
};

class TPollingCycle {
  public:
    explicit TPollingCycle(TPollingNeighbours& Neighbours) : FNeighbours(Neighbours) {}

    // One tick of the timer.
    void Timer1Timer();
    // One simulated sample.
    void Button1Click();

    // The monitor's program-wide state, written by the window too.
    std::int32_t MeasurementKind = 0;
    bool SimulationMode = false;
    std::uint16_t SampleCounter = 0; // X of every plotted point; wraps

  private:
    void PollPort();
    void TakeReply(const std::string& Reply);
    std::string TimeStamp();

    TPollingNeighbours& FNeighbours;
};
