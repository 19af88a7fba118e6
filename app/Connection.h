#pragma once
// What the connection control takes from its user and tells back: the
// polling period, and why a port did not open or was lost, in terms the
// user can act on.

#include "app/PollingCycle.h"
#include "platform/Random.h"

#include <string>

class EDeviceError;
class TXComm;

// The polling period the window's period field starts with, in seconds.
inline constexpr const char* DefaultPeriodText = "1";

// The line the sensor talks on (9600 baud, 8 data bits, no parity, 1 stop
// bit) with the buffers and time-outs the polling cycle relies on.
void SetUpSensorPort(TXComm& Comm);

// Opens Port by its name (a path, COMn, ttyUSB0). Exception with
// OpenFailureText when it does not open.
void OpenSensorPort(TXComm& Comm, const std::string& Port);

// The polling period of Text, in seconds, as whole milliseconds from 1 ms
// to one day (halves to even). Exception naming the allowed range otherwise.
int PollingPeriodMSec(const std::string& Text);
// The sentence that names the allowed range.
std::string PollingPeriodRange();

// Why Port did not open: the line under "串口打开失败".
std::string OpenFailureText(const std::string& Port, const EDeviceError& E);

// The message when the polled port fails and is closed: the line lost
// (adapter unplugged, the other end closed) or another failure.
std::string PortFailureText(const std::string& Port, bool LineLost, const std::string& Detail);
// Its first sentence: what happened to which port.
std::string PortFailureWhat(const std::string& Port, bool LineLost);

// The link as the status bar tells it: the counters of the polling cycle.
std::string LinkStatusText(const TLinkCounters& Link);

// The polling cycle's neighbours that only talk to the port, pause and draw
// random digits: the same for the window and the run without one.
class TPortNeighbours : public TPollingNeighbours {
  protected:
    // Port may be a member of the derived class not yet made: it is only
    // kept here, and used once the cycle runs.
    explicit TPortNeighbours(TXComm& Port) : FPort(Port) {}

    bool PortIsOpen() override;
    TSteadyTime PortReadArrival() override;
    std::string PortReadString() override;
    void PortWriteString(const std::string& Data) override;
    void Pause(int MSec) override;
    int RandomDigit() override;

  private:
    TXComm& FPort;
    TRandom FRandom;
};
