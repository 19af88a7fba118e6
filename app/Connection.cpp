#include "app/Connection.h"

#include "platform/SerialDevice.h"
#include "platform/Text.h"
#include "serial/XComDrv.h"
#include "serial/XComErr.h"

#include <QThread>

#include <cmath>
#include <cstring>

namespace {

constexpr double LongestPeriodMSec = 24.0 * 60 * 60 * 1000;

} // namespace

std::string PollingPeriodRange() {
    return "The polling period is given in seconds, from " + FloatToStr(0.001) + " to " +
           FloatToStr(LongestPeriodMSec / 1000) + ".";
}

int PollingPeriodMSec(const std::string& Text) {
    double Seconds;
    try {
        Seconds = StrToFloat(Text);
    } catch (const EConvertError& E) {
        throw Exception(E.Message() + "\n" + PollingPeriodRange());
    }
    const double MSec = std::nearbyint(Seconds * 1000);
    // Written so that NaN fails too.
    if (!(MSec >= 1 && MSec <= LongestPeriodMSec))
        throw Exception("The polling period " + Text + " is out of range. " + PollingPeriodRange());
    return int(MSec);
}

void SetUpSensorPort(TXComm& Comm) {
    Comm.SetBaudRate(br9600);
    Comm.DataControl().SetDataBits(db8);
    Comm.DataControl().SetParity(paNone);
    Comm.DataControl().SetStopBits(sb1);
    Comm.SetFlowControl(fcNone);
    Comm.SetRTSSettings({});
    Comm.SetDTRSettings({});
    Comm.SetXOnXOffSettings({});
    Comm.SetOptions({});
    Comm.Buffers().SetInputSize(2048);
    Comm.Buffers().SetOutputSize(2048);
    Comm.Buffers().SetInputTimeout(500);
    Comm.Buffers().SetOutputTimeout(500);
    Comm.EventChars().SetXonChar(17);
    Comm.EventChars().SetXoffChar(19);
    Comm.EventChars().SetEofChar(0);
    Comm.EventChars().SetErrorChar(0);
    Comm.EventChars().SetEventChar(10);
    Comm.SetMonitorEvents({deChar, deFlag, deOutEmpty});
    Comm.SetSynchronize(false);
    Comm.Timeouts().SetReadInterval(100);
    Comm.Timeouts().SetReadMultiplier(1);
    Comm.Timeouts().SetReadConstant(100);
    Comm.Timeouts().SetWriteMultiplier(100);
    Comm.Timeouts().SetWriteConstant(100);
}

void OpenSensorPort(TXComm& Comm, const std::string& Port) {
    try {
        Comm.SetDeviceName(Port);
        Comm.OpenDevice();
    } catch (const EDeviceError& E) {
        throw Exception(OpenFailureText(Port, E));
    }
}

std::string OpenFailureText(const std::string& Port, const EDeviceError& E) {
    if (E.ErrorCode() != ecCannotOpen)
        return E.Message();
    const std::string Path = TSerialDevice::PathOf(Port);
    switch (OpenFailureOf(E.SystemError())) {
    case TOpenFailure::NoDevice:
        return "There is no serial device " + Path +
               ". Check the port name and that the adapter is plugged in.";
    case TOpenFailure::NoPermission:
        return "Permission denied for " + Path +
               ". Serial ports are open to the members of the dialout group: "
               "sudo adduser $USER dialout, then log in again.";
    case TOpenFailure::Busy:
        return Path + " is busy: another program is using it.";
    case TOpenFailure::NotSerial:
        return Path + " is not a serial device.";
    case TOpenFailure::Other:
        break;
    }
    if (E.SystemError() == 0)
        return E.Message();
    return E.Message() + " (system error " + std::to_string(E.SystemError()) + ": " +
           std::strerror(E.SystemError()) + ")";
}

std::string PortFailureWhat(const std::string& Port, bool LineLost) {
    return LineLost ? "The serial line was lost: " + Port + "."
                    : "The serial port " + Port + " failed.";
}

std::string PortFailureText(const std::string& Port, bool LineLost, const std::string& Detail) {
    return PortFailureWhat(Port, LineLost) +
           " The port is closed; the log, the plot and the displays keep their data.\n" + Detail;
}

std::string LinkStatusText(const TLinkCounters& Link) {
    const std::string RoundTrip =
        Link.RoundTripMSec < 0 ? "-" : FormatFixed(Link.RoundTripMSec, 1) + " ms";
    return "Requests " + std::to_string(Link.Requests) + "   Good " +
           std::to_string(Link.GoodReplies) + "   CRC errors " + std::to_string(Link.CrcErrors) +
           "   Short or missing " + std::to_string(Link.ShortOrMissing) + "   Round trip " +
           RoundTrip;
}

bool TPortNeighbours::PortIsOpen() {
    return FPort.IsOpen();
}

TSteadyTime TPortNeighbours::PortReadArrival() {
    return FPort.ReadArrival();
}

std::string TPortNeighbours::PortReadString() {
    std::string Data;
    FPort.ReadString(Data);
    return Data;
}

void TPortNeighbours::PortWriteString(const std::string& Data) {
    FPort.WriteString(Data);
}

void TPortNeighbours::Pause(int MSec) {
    QThread::msleep(MSec);
}

int TPortNeighbours::RandomDigit() {
    return FRandom.Next(10);
}
