#include "platform/SerialDevice.h"

#include "platform/ThreadWake.h"

// The kernel's termios2 carries any baud rate; glibc's <termios.h> would
// clash with it, so this file uses the kernel's headers alone.
#include <asm/termbits.h>
#include <linux/serial.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

struct TBaudCode {
    std::uint32_t Rate;
    tcflag_t Code;
};

// Rates a tty knows by code; any other goes through BOTHER.
constexpr TBaudCode BaudCodes[] = {
    {110, B110},       {300, B300},       {600, B600},       {1200, B1200},     {2400, B2400},
    {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},   {57600, B57600},
    {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600},
};

tcflag_t BaudCode(std::uint32_t Rate) {
    for (const TBaudCode& B : BaudCodes)
        if (B.Rate == Rate)
            return B.Code;
    return BOTHER;
}

std::uint32_t BaudRateOf(const termios2& T) {
    tcflag_t Code = T.c_cflag & CBAUD;
    for (const TBaudCode& B : BaudCodes)
        if (B.Code == Code)
            return B.Rate;
    return T.c_ospeed;
}

constexpr tcflag_t SizeCodes[] = {CS5, CS6, CS7, CS8};

// Pseudo-terminals and some adapters have no modem lines.
bool NoModemLines(int Error) {
    return Error == ENOTTY || Error == EINVAL;
}

// What a tty cannot do of a control block, or "" when it can do all.
const char* Unsupported(const TSerialControl& C) {
    if (C.ByteSize < 5 || C.ByteSize > 8)
        return "a Linux tty takes 5 to 8 data bits";
    if (C.Parity > 4)
        return "unknown parity";
    if (C.StopBits > 2)
        return "unknown stop bits";
    if (C.StopBits == 1 && C.ByteSize != 5)
        return "1.5 stop bits need 5 data bits";
    if (C.StopBits == 2 && C.ByteSize == 5)
        return "5 data bits take 1 or 1.5 stop bits";
    if (C.OutxDsrFlow)
        return "a Linux tty has no DSR output flow control";
    if (C.DtrControl & 2)
        return "a Linux tty has no DTR handshake";
    if (C.DsrSensitivity)
        return "a Linux tty has no DSR sensitivity";
    if (C.RtsControl == 3)
        return "a Linux tty has no RTS toggle mode";
    if (C.OutxCtsFlow != (C.RtsControl == 2))
        return "a Linux tty does CTS output flow control only together with RTS handshake";
    if (C.ErrorCharReplace)
        return "a Linux tty cannot replace bytes with parity errors by the error character";
    if (C.AbortOnError)
        return "a Linux tty cannot abort transfers on errors";
    return "";
}

// What the tty left out of Wanted, or "" when it took all.
const char* NotTaken(const termios2& Wanted, const termios2& Taken) {
    const tcflag_t Changed = Wanted.c_cflag ^ Taken.c_cflag;
    if (Changed & CSIZE)
        return "the tty does not take these data bits";
    if (Changed & (PARENB | PARODD | CMSPAR))
        return "the tty does not take this parity";
    if (Changed & CSTOPB)
        return "the tty does not take these stop bits";
    if (Changed & CRTSCTS)
        return "the tty has no RTS/CTS flow control";
    if ((Wanted.c_iflag ^ Taken.c_iflag) & (IXON | IXOFF | INPCK))
        return "the tty does not take these input settings";
    // Drivers round a rate to what their clock divides into; 2 % is what
    // the far end still reads.
    const std::uint32_t Rate = BaudRateOf(Wanted), Got = BaudRateOf(Taken);
    if (std::uint64_t(Rate > Got ? Rate - Got : Got - Rate) * 50 > Rate)
        return "the tty does not take this baud rate";
    return "";
}

// The lines a modem-line wait watches, and their events.
constexpr int WatchedLines = TIOCM_CTS | TIOCM_DSR | TIOCM_CD | TIOCM_RNG;
constexpr std::uint32_t LineEvents = evCts | evDsr | evRlsd | evRing;

int RemainingMSec(std::chrono::steady_clock::time_point End) {
    auto Left = std::chrono::duration_cast<std::chrono::milliseconds>(
        End - std::chrono::steady_clock::now());
    return Left.count() > 0 ? int(Left.count()) : 0;
}

} // namespace

TLineNews LineNews(const TLineCounters& Before, const TLineCounters& After) {
    struct TCount {
        int TLineCounters::*Field;
        std::uint32_t Event;
        std::uint32_t Error;
    };
    // A full kernel buffer loses input as a full input queue does: no
    // line-status event.
    static constexpr TCount Counts[] = {
        {&TLineCounters::Cts, evCts, 0},
        {&TLineCounters::Dsr, evDsr, 0},
        {&TLineCounters::Ring, evRing, 0},
        {&TLineCounters::Dcd, evRlsd, 0},
        {&TLineCounters::Break, evBreak, ceBreak},
        {&TLineCounters::Frame, evErr, ceFrame},
        {&TLineCounters::Parity, evErr, ceRxParity},
        {&TLineCounters::Overrun, evErr, ceOverrun},
        {&TLineCounters::BufOverrun, 0, ceRxOver},
    };
    TLineNews News;
    for (const TCount& Count : Counts)
        if (After.*Count.Field != Before.*Count.Field) {
            News.Events |= Count.Event;
            News.Errors |= Count.Error;
        }
    return News;
}

TOpenFailure OpenFailureOf(int SystemError) {
    switch (SystemError) {
    case ENOENT:
    case ENOTDIR:
    case ENODEV:
    case ENXIO:
    case EIO: // a port node without a UART behind it
        return TOpenFailure::NoDevice;
    case EACCES:
    case EPERM:
        return TOpenFailure::NoPermission;
    case EBUSY:
        return TOpenFailure::Busy;
    case ENOTTY:
    case EISDIR:
        return TOpenFailure::NotSerial;
    default:
        return TOpenFailure::Other;
    }
}

ESerialError::ESerialError(int SystemError)
    : ESerialError(std::strerror(SystemError), SystemError) {}

std::string TSerialDevice::PathOf(const std::string& Name) {
    if (!Name.empty() && Name[0] == '/')
        return Name;
    if (Name.size() > 3 && Name.size() <= 12 && Name.compare(0, 3, "COM") == 0 &&
        Name.find_first_not_of("0123456789", 3) == std::string::npos) {
        unsigned long N = std::stoul(Name.substr(3));
        if (N >= 1)
            return "/dev/ttyS" + std::to_string(N - 1);
    }
    return "/dev/" + Name;
}

TSerialDevice::TSerialDevice(const std::string& Name) {
    FFd = open(PathOf(Name).c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (FFd < 0)
        throw ESerialError(errno);
    // TIOCEXCL keeps other users out, the lock also this process and root.
    termios2 T;
    if (ioctl(FFd, TCGETS2, &T) != 0 || flock(FFd, LOCK_EX | LOCK_NB) != 0 ||
        ioctl(FFd, TIOCEXCL) != 0) {
        int Error = errno == EWOULDBLOCK ? EBUSY : errno;
        close(FFd);
        throw ESerialError(Error);
    }
    FStopFd = eventfd(0, EFD_CLOEXEC);
    if (FStopFd < 0) {
        int Error = errno;
        close(FFd);
        throw ESerialError(Error);
    }
    // Counts from before the open are no news.
    FHasCounters = ReadCounters(FCounters);
    FReader = std::thread(&TSerialDevice::ReadLoop, this);
    if (FHasCounters && ThreadWakeAvailable())
        FModem = std::thread(&TSerialDevice::ModemLoop, this);
}

TSerialDevice::~TSerialDevice() {
    StopModemLoop();
    std::uint64_t One = 1;
    (void)!write(FStopFd, &One, sizeof One);
    FReader.join();
    ioctl(FFd, TIOCNXCL);
    close(FFd);
    close(FStopFd);
}

void TSerialDevice::SetControl(const TSerialControl& Control) {
    if (const char* Reason = Unsupported(Control); *Reason)
        throw ESerialError(Reason, EINVAL);
    ApplyTermios(Control);
    ApplyModemLines(Control);
    std::lock_guard Lock(FMutex);
    FControl = Control;
}

void TSerialDevice::ApplyTermios(const TSerialControl& C) {
    termios2 T;
    if (ioctl(FFd, TCGETS2, &T) != 0)
        throw ESerialError(errno);
    T.c_iflag = (C.ParityCheck ? INPCK : 0) | (C.OutX ? IXON : 0) | (C.InX ? IXOFF : 0);
    T.c_oflag = 0;
    T.c_lflag = 0;
    T.c_cflag = (T.c_cflag & HUPCL) | CREAD | CLOCAL | SizeCodes[C.ByteSize - 5];
    if (C.Parity != 0)
        T.c_cflag |= PARENB;
    if (C.Parity == 1 || C.Parity == 3)
        T.c_cflag |= PARODD;
    if (C.Parity >= 3)
        T.c_cflag |= CMSPAR;
    if (C.StopBits != 0)
        T.c_cflag |= CSTOPB;
    if (C.OutxCtsFlow)
        T.c_cflag |= CRTSCTS;
    T.c_cflag |= BaudCode(C.BaudRate);
    T.c_ispeed = T.c_ospeed = C.BaudRate;
    T.c_cc[VMIN] = 1;
    T.c_cc[VTIME] = 0;
    T.c_cc[VSTART] = cc_t(C.XonChar);
    T.c_cc[VSTOP] = cc_t(C.XoffChar);
    if (ioctl(FFd, TCSETS2, &T) != 0)
        throw ESerialError(errno);
    // A tty takes what it can and reports success; pseudo-terminals, for
    // one, keep 8 data bits without parity.
    termios2 Taken;
    if (ioctl(FFd, TCGETS2, &Taken) != 0)
        throw ESerialError(errno);
    if (const char* Reason = NotTaken(T, Taken); *Reason)
        throw ESerialError(Reason, EINVAL);
}

void TSerialDevice::ApplyModemLines(const TSerialControl& C) {
    int Dtr = TIOCM_DTR;
    if (ioctl(FFd, (C.DtrControl & 1) ? TIOCMBIS : TIOCMBIC, &Dtr) != 0) {
        if (NoModemLines(errno))
            return;
        throw ESerialError(errno);
    }
    if (C.RtsControl == 2)
        return; // the handshake drives RTS
    int Rts = TIOCM_RTS;
    if (ioctl(FFd, C.RtsControl == 1 ? TIOCMBIS : TIOCMBIC, &Rts) != 0 && !NoModemLines(errno))
        throw ESerialError(errno);
}

TSerialControl TSerialDevice::Control() const {
    TSerialControl C;
    {
        std::lock_guard Lock(FMutex);
        C = FControl;
    }
    termios2 T;
    if (ioctl(FFd, TCGETS2, &T) != 0)
        throw ESerialError(errno);
    C.BaudRate = BaudRateOf(T);
    for (std::uint8_t Size = 5; Size <= 8; ++Size)
        if ((T.c_cflag & CSIZE) == SizeCodes[Size - 5])
            C.ByteSize = Size;
    if (!(T.c_cflag & PARENB))
        C.Parity = 0;
    else if (T.c_cflag & CMSPAR)
        C.Parity = (T.c_cflag & PARODD) ? 3 : 4;
    else
        C.Parity = (T.c_cflag & PARODD) ? 1 : 2;
    C.StopBits = !(T.c_cflag & CSTOPB) ? 0 : C.ByteSize == 5 ? 1 : 2;
    C.OutxCtsFlow = (T.c_cflag & CRTSCTS) != 0;
    C.ParityCheck = (T.c_iflag & INPCK) != 0;
    C.OutX = (T.c_iflag & IXON) != 0;
    C.InX = (T.c_iflag & IXOFF) != 0;
    C.XonChar = char(T.c_cc[VSTART]);
    C.XoffChar = char(T.c_cc[VSTOP]);
    int Lines;
    if (ioctl(FFd, TIOCMGET, &Lines) == 0) {
        C.DtrControl = (Lines & TIOCM_DTR) ? 1 : 0;
        C.RtsControl = C.OutxCtsFlow ? 2 : (Lines & TIOCM_RTS) ? 1 : 0;
    }
    return C;
}

void TSerialDevice::SetTimeouts(const TSerialTimeouts& Timeouts) {
    std::lock_guard Lock(FMutex);
    FTimeouts = Timeouts;
}

TSerialTimeouts TSerialDevice::Timeouts() const {
    std::lock_guard Lock(FMutex);
    return FTimeouts;
}

void TSerialDevice::SetQueueSizes(std::size_t InputSize, std::size_t OutputSize) {
    std::lock_guard Lock(FMutex);
    FInputSize = InputSize;
    FOutputSize = OutputSize;
    while (FQueue.size() > FInputSize)
        FQueue.pop_back();
}

std::size_t TSerialDevice::InputSize() const {
    std::lock_guard Lock(FMutex);
    return FInputSize;
}

std::size_t TSerialDevice::OutputSize() const {
    std::lock_guard Lock(FMutex);
    return FOutputSize;
}

void TSerialDevice::Purge() {
    std::lock_guard Lock(FMutex);
    ioctl(FFd, TCFLSH, TCIOFLUSH);
    FQueue.clear();
}

bool TSerialDevice::ClearError(std::uint32_t& Errors, std::size_t& InQueue, std::size_t& OutQueue) {
    // A lost line fails its ioctls, but what it delivered before is still
    // read from the queue.
    int Out = 0;
    const bool OutKnown = ioctl(FFd, TIOCOUTQ, &Out) == 0;
    std::lock_guard Lock(FMutex);
    if (FQueue.empty() && (FLost != 0 || !OutKnown))
        return false;
    if (!OutKnown)
        Out = 0;
    Errors = FErrors;
    FErrors = 0;
    InQueue = FQueue.size();
    OutQueue = std::size_t(Out);
    return true;
}

std::size_t TSerialDevice::Read(char* Buffer, std::size_t Count) {
    std::lock_guard Lock(FMutex);
    if (FQueue.empty() && FLost != 0)
        throw ESerialError(FLost);
    std::size_t N = std::min(Count, FQueue.size());
    std::copy_n(FQueue.begin(), N, Buffer);
    FQueue.erase(FQueue.begin(), FQueue.begin() + std::ptrdiff_t(N));
    if (N > 0)
        FReadArrival = FQueueArrival;
    return N;
}

std::chrono::steady_clock::time_point TSerialDevice::ReadArrival() const {
    std::lock_guard Lock(FMutex);
    return FReadArrival;
}

void TSerialDevice::WaitForInput(std::uint64_t MSec) {
    std::unique_lock Lock(FMutex);
    FChanged.wait_for(Lock, std::chrono::milliseconds(MSec),
                      [this] { return !FQueue.empty() || FLost != 0; });
}

std::size_t TSerialDevice::Write(const char* Buffer, std::size_t Count) {
    TSerialTimeouts T = Timeouts();
    const bool Limited = T.WriteMultiplier != 0 || T.WriteConstant != 0;
    auto End =
        std::chrono::steady_clock::now() +
        std::chrono::milliseconds(std::uint64_t(T.WriteMultiplier) * Count + T.WriteConstant);
    std::size_t Done = 0;
    while (Done < Count) {
        ssize_t N = write(FFd, Buffer + Done, Count - Done);
        if (N > 0) {
            Done += std::size_t(N);
            continue;
        }
        if (N < 0 && errno != EAGAIN && errno != EINTR)
            throw ESerialError(errno);
        if (Limited && RemainingMSec(End) == 0)
            break;
        pollfd Fd{FFd, POLLOUT, 0};
        poll(&Fd, 1, Limited ? RemainingMSec(End) : -1);
    }
    return Done;
}

void TSerialDevice::SetEventMask(std::uint32_t Mask) {
    std::lock_guard Lock(FMutex);
    FMask = Mask;
    FPending = 0;
    FChanged.notify_all();
}

TSerialWait TSerialDevice::WaitEvent(std::uint32_t& Events) {
    std::unique_lock Lock(FMutex);
    FChanged.wait(Lock, [this] { return FCancelled || FPending != 0 || FLost != 0; });
    if (FCancelled)
        return TSerialWait::Cancelled;
    if (FPending == 0)
        return TSerialWait::Failed;
    Events = FPending;
    FPending = 0;
    return TSerialWait::Event;
}

void TSerialDevice::CancelWaits() {
    std::lock_guard Lock(FMutex);
    FCancelled = true;
    FChanged.notify_all();
}

int TSerialDevice::LineLost() const {
    std::lock_guard Lock(FMutex);
    return FLost;
}

void TSerialDevice::ReadLoop() {
    char Chunk[4096];
    for (;;) {
        pollfd Fds[2] = {{FFd, POLLIN, 0}, {FStopFd, POLLIN, 0}};
        if (poll(Fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return Lose(errno);
        }
        if (Fds[1].revents != 0)
            return;
        if (Fds[0].revents == 0)
            continue;
        ssize_t N = read(FFd, Chunk, sizeof Chunk);
        if (N > 0)
            Take(Chunk, std::size_t(N));
        else if (N == 0 || (errno != EAGAIN && errno != EINTR))
            return Lose(N == 0 ? EIO : errno);
    }
}

void TSerialDevice::Take(const char* Bytes, std::size_t Count) {
    std::lock_guard Lock(FMutex);
    // Breaks and line errors come with a byte in the input.
    std::uint32_t Events = CounterEvents();
    const std::size_t Before = FQueue.size();
    if (Before == 0)
        FQueueArrival = std::chrono::steady_clock::now();
    for (std::size_t I = 0; I < Count; ++I) {
        char B = Bytes[I];
        if (B == 0 && FControl.DiscardNull)
            continue;
        if (FQueue.size() >= FInputSize) {
            FErrors |= ceRxOver;
            continue;
        }
        FQueue.push_back(B);
        Events |= evRxChar;
        if (B == FControl.EvtChar)
            Events |= evRxFlag;
    }
    const std::size_t Full = FInputSize * 8 / 10;
    if (Before < Full && FQueue.size() >= Full)
        Events |= evRx80Full;
    FPending |= Events & FMask;
    FChanged.notify_all();
}

// Sleeps in the kernel until a line changes, while the mask asks for a
// line; ends at close, on a device without modem lines and when the line
// is lost.
void TSerialDevice::ModemLoop() {
    AcceptWakes();
    std::unique_lock Lock(FMutex);
    for (;;) {
        FChanged.wait(Lock, [this] { return FStopping || (FMask & LineEvents) != 0; });
        if (FStopping)
            break;
        Lock.unlock();
        const int Result = ioctl(FFd, TIOCMIWAIT, WatchedLines);
        const int Error = errno;
        Lock.lock();
        if (Result != 0 && Error != EINTR)
            break;
        FPending |= CounterEvents() & FMask;
        FChanged.notify_all();
    }
    FModemEnded = true;
    FChanged.notify_all();
}

void TSerialDevice::StopModemLoop() {
    if (!FModem.joinable())
        return;
    std::unique_lock Lock(FMutex);
    FStopping = true;
    FChanged.notify_all();
    // A wake just before the thread enters its wait is lost: repeat it.
    while (!FModemEnded) {
        WakeThread(FModem);
        FChanged.wait_for(Lock, std::chrono::milliseconds(10), [this] { return FModemEnded; });
    }
    Lock.unlock();
    FModem.join();
}

bool TSerialDevice::ReadCounters(TLineCounters& Counters) const {
    serial_icounter_struct C;
    if (ioctl(FFd, TIOCGICOUNT, &C) != 0)
        return false;
    Counters = {C.cts, C.dsr, C.rng, C.dcd, C.brk, C.frame, C.parity, C.overrun, C.buf_overrun};
    return true;
}

// With the mutex held: the events of what the counts say since they were
// last seen; their error flags are kept for ClearError.
std::uint32_t TSerialDevice::CounterEvents() {
    TLineCounters Now;
    if (!FHasCounters || !ReadCounters(Now))
        return 0;
    const TLineNews News = LineNews(FCounters, Now);
    FCounters = Now;
    FErrors |= News.Errors;
    return News.Events;
}

void TSerialDevice::Lose(int SystemError) {
    std::lock_guard Lock(FMutex);
    FLost = SystemError;
    FChanged.notify_all();
}
