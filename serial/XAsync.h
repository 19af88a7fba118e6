#pragma once
// Transfers that complete with a byte count, and the millisecond clock of
// the transfer time-outs.

#include <cstddef>
#include <cstdint>

class TSerialDevice;

// Milliseconds of a steady clock, modulo 2^32.
std::uint32_t MillisecondClock();

// At most Count bytes of the input queue; EDeviceError code 10 on failure.
std::size_t OverlappedRead(TSerialDevice& Device, char* Buffer, std::size_t Count);
// The bytes the device took; EDeviceError code 11 on failure.
std::size_t OverlappedWrite(TSerialDevice& Device, const char* Buffer, std::size_t Count);

// Code's message extended by the system's error number and text.
[[noreturn]] void RaiseSystemError(int Code, int SystemError);
