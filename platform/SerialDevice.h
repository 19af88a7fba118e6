#pragma once
// A serial device over a Linux tty, offering what the serial component
// expects of the Win32 communications functions: an exclusive open by name,
// a control block, five time-outs, queue counts, transfers that complete
// with a byte count and an event mask that a thread can wait on.
//
// A reader thread moves every byte that arrives into a user-space input
// queue, so the queue count, the event character and the 80-percent-full
// event work on every tty, pseudo-terminals included. Where the kernel
// counts line changes and errors, a second thread sleeps in the kernel's
// modem-line wait while the event mask asks for a line.

#include "platform/Exception.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

// The device's control block; field meanings and values as in Win32's DCB.
struct TSerialControl {
    std::uint32_t BaudRate = 9600;
    bool ParityCheck = false;
    bool OutxCtsFlow = false;
    bool OutxDsrFlow = false;
    std::uint8_t DtrControl = 0; // 0 disable, 1 enable, 2 handshake
    bool DsrSensitivity = false;
    bool TXContinueOnXoff = false;
    bool OutX = false;
    bool InX = false;
    bool ErrorCharReplace = false;
    bool DiscardNull = false;
    std::uint8_t RtsControl = 0; // 0 disable, 1 enable, 2 handshake, 3 toggle
    bool AbortOnError = false;
    std::uint16_t XonLim = 0;
    std::uint16_t XoffLim = 0;
    std::uint8_t ByteSize = 8;
    std::uint8_t Parity = 0;   // none, odd, even, mark, space
    std::uint8_t StopBits = 0; // 1, 1.5, 2
    char XonChar = 17;
    char XoffChar = 19;
    char ErrorChar = 0;
    char EofChar = 0;
    char EvtChar = 10;
};

// Milliseconds, as in Win32's COMMTIMEOUTS.
struct TSerialTimeouts {
    std::uint32_t ReadInterval = 0;
    std::uint32_t ReadMultiplier = 0;
    std::uint32_t ReadConstant = 0;
    std::uint32_t WriteMultiplier = 0;
    std::uint32_t WriteConstant = 0;
};

// Event mask bits, equal to Win32's EV_ values.
inline constexpr std::uint32_t evRxChar = 0x0001;
inline constexpr std::uint32_t evRxFlag = 0x0002;
inline constexpr std::uint32_t evCts = 0x0008;
inline constexpr std::uint32_t evDsr = 0x0010;
inline constexpr std::uint32_t evRlsd = 0x0020;
inline constexpr std::uint32_t evBreak = 0x0040;
inline constexpr std::uint32_t evErr = 0x0080;
inline constexpr std::uint32_t evRing = 0x0100;
inline constexpr std::uint32_t evRx80Full = 0x0400;

// Error flags returned by ClearError, equal to Win32's CE_ values.
inline constexpr std::uint32_t ceRxOver = 0x0001;
inline constexpr std::uint32_t ceOverrun = 0x0002;
inline constexpr std::uint32_t ceRxParity = 0x0004;
inline constexpr std::uint32_t ceFrame = 0x0008;
inline constexpr std::uint32_t ceBreak = 0x0010;

// The driver's counts of line changes and errors since it was loaded.
struct TLineCounters {
    int Cts = 0;
    int Dsr = 0;
    int Ring = 0; // trailing edges of the ring indicator
    int Dcd = 0;
    int Break = 0;
    int Frame = 0;
    int Parity = 0;
    int Overrun = 0;    // the UART's own
    int BufOverrun = 0; // the kernel's input buffer
};

struct TLineNews {
    std::uint32_t Events = 0;
    std::uint32_t Errors = 0;
};

// The events and error flags that the counts raised from Before to After.
TLineNews LineNews(const TLineCounters& Before, const TLineCounters& After);

// A failure of the device; SystemError is the errno value behind it.
class ESerialError : public Exception {
  public:
    ESerialError(std::string Message, int SystemError)
        : Exception(std::move(Message)), FSystemError(SystemError) {}
    explicit ESerialError(int SystemError);
    int SystemError() const { return FSystemError; }

  private:
    int FSystemError;
};

enum class TSerialWait { Event, Cancelled, Failed };

// Why a device did not open, in the terms a user can act on.
enum class TOpenFailure { NoDevice, NoPermission, Busy, NotSerial, Other };
TOpenFailure OpenFailureOf(int SystemError);

class TSerialDevice {
  public:
    // "/dev/x" as it is, "COMn" (n >= 1) as /dev/ttyS(n-1), any other name N
    // as /dev/N.
    static std::string PathOf(const std::string& Name);

    // Opens the device exclusively: a second open, from this process or
    // another, fails.
    explicit TSerialDevice(const std::string& Name);
    ~TSerialDevice();
    TSerialDevice(const TSerialDevice&) = delete;
    TSerialDevice& operator=(const TSerialDevice&) = delete;

    // Fails with the reason when the tty cannot take a setting.
    void SetControl(const TSerialControl& Control);
    // What the tty holds now; the rest as last set.
    TSerialControl Control() const;

    void SetTimeouts(const TSerialTimeouts& Timeouts);
    TSerialTimeouts Timeouts() const;

    void SetQueueSizes(std::size_t InputSize, std::size_t OutputSize);
    std::size_t InputSize() const;
    std::size_t OutputSize() const;

    // Drops everything queued in both directions.
    void Purge();
    // Returns and clears the error flags; false when the line is lost.
    bool ClearError(std::uint32_t& Errors, std::size_t& InQueue, std::size_t& OutQueue);

    // Takes at most Count queued bytes without waiting; fails once the
    // queue is empty and the line lost.
    std::size_t Read(char* Buffer, std::size_t Count);
    // When the first byte of the last Read that took any arrived in the
    // queue (the reader thread stamps a byte that finds the queue empty).
    std::chrono::steady_clock::time_point ReadArrival() const;
    // Until a byte is queued, the line is lost or MSec have passed.
    void WaitForInput(std::uint64_t MSec);
    // Waits at most for the write time-outs; the result is the bytes taken.
    std::size_t Write(const char* Buffer, std::size_t Count);

    // Sets the watched events and forgets those not yet collected.
    void SetEventMask(std::uint32_t Mask);
    // Sleeps until a watched event, CancelWaits or the loss of the line.
    TSerialWait WaitEvent(std::uint32_t& Events);
    // Ends the current and every later WaitEvent.
    void CancelWaits();

    // The errno value that ended the line (0 while it works).
    int LineLost() const;

  private:
    void ApplyTermios(const TSerialControl& Control);
    void ApplyModemLines(const TSerialControl& Control);
    void ReadLoop();
    void Take(const char* Bytes, std::size_t Count);
    void ModemLoop();
    void StopModemLoop();
    bool ReadCounters(TLineCounters& Counters) const;
    std::uint32_t CounterEvents();
    void Lose(int SystemError);

    int FFd = -1;
    int FStopFd = -1; // an eventfd that ends the reader thread
    bool FHasCounters = false;

    mutable std::mutex FMutex;
    std::condition_variable FChanged;
    TSerialControl FControl;
    TSerialTimeouts FTimeouts;
    std::size_t FInputSize = 4096;
    std::size_t FOutputSize = 4096;
    std::deque<char> FQueue;
    std::chrono::steady_clock::time_point FQueueArrival, FReadArrival;
    std::uint32_t FErrors = 0;
    std::uint32_t FMask = 0;
    std::uint32_t FPending = 0;
    bool FCancelled = false;
    int FLost = 0;
    // The counts last seen, by either thread; only read and changed
    // together under the mutex, so no change is reported twice.
    TLineCounters FCounters;
    bool FStopping = false;
    bool FModemEnded = false;

    std::thread FReader;
    std::thread FModem;
};
