#include "app/Connection.h"

#include "platform/SerialDevice.h"
#include "platform/Text.h"
#include "serial/XComDrv.h"
#include "serial/XComErr.h"

#include <cmath>
#include <cstring>

namespace {

constexpr double LongestPeriodMSec = 24.0 * 60 * 60 * 1000;

std::string PeriodRange() {
    return "The polling period is given in seconds, from " + FloatToStr(0.001) + " to " +
           FloatToStr(LongestPeriodMSec / 1000) + ".";
}

} // namespace

int PollingPeriodMSec(const std::string& Text) {
    double Seconds;
    try {
        Seconds = StrToFloat(Text);
    } catch (const EConvertError& E) {
        throw Exception(E.Message() + "\n" + PeriodRange());
    }
    const double MSec = std::nearbyint(Seconds * 1000);
    // Written so that NaN fails too.
    if (!(MSec >= 1 && MSec <= LongestPeriodMSec))
        throw Exception("The polling period " + Text + " is out of range. " + PeriodRange());
    return int(MSec);
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

std::string PortFailureText(const std::string& Port, bool LineLost, const std::string& Detail) {
    const std::string What = LineLost ? "The serial line was lost: " + Port + "."
                                      : "The serial port " + Port + " failed.";
    return What + " The port is closed; the log, the plot and the displays keep their data.\n" +
           Detail;
}

std::string LinkStatusText(const TLinkCounters& Link) {
    const std::string RoundTrip =
        Link.RoundTripMSec < 0 ? "-" : FormatFixed(Link.RoundTripMSec, 1) + " ms";
    return "Requests " + std::to_string(Link.Requests) + "   Good " +
           std::to_string(Link.GoodReplies) + "   CRC errors " + std::to_string(Link.CrcErrors) +
           "   Short or missing " + std::to_string(Link.ShortOrMissing) + "   Round trip " +
           RoundTrip;
}
