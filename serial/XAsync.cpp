#include "serial/XAsync.h"

#include "platform/SerialDevice.h"
#include "serial/XComErr.h"

#include <chrono>
#include <cstring>

std::uint32_t MillisecondClock() {
    auto Now = std::chrono::steady_clock::now().time_since_epoch();
    return std::uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(Now).count());
}

void RaiseSystemError(int Code, int SystemError) {
    throw EDeviceError(ErrorMessage(Code) + " (system error " + std::to_string(SystemError) + ": " +
                           std::strerror(SystemError) + ")",
                       Code, SystemError);
}

std::size_t OverlappedRead(TSerialDevice& Device, char* Buffer, std::size_t Count) {
    try {
        return Device.Read(Buffer, Count);
    } catch (const ESerialError& E) {
        RaiseSystemError(ecReadFailed, E.SystemError());
    }
}

std::size_t OverlappedWrite(TSerialDevice& Device, const char* Buffer, std::size_t Count) {
    try {
        return Device.Write(Buffer, Count);
    } catch (const ESerialError& E) {
        RaiseSystemError(ecWriteFailed, E.SystemError());
    }
}
