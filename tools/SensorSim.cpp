// sensor-sim: a Modbus RTU temperature sensor on a pseudo-terminal or a
// serial device, for trying the monitor without hardware and for tests.

#include "app/ModbusCrc.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <iostream>
#include <optional>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace {

const char* const HelpText = R"(Usage: sensor-sim [OPTION]... [DEVICE]
A simulated Modbus RTU temperature sensor. It answers read-holding-registers
requests (function 3) of slave 1 for registers 0x0200 and 0x0201 with two
temperatures in tenths of a degree Celsius, for example the monitor's
request 01 03 02 00 00 02 C5 B3.

Without DEVICE it creates a pseudo-terminal, prints the path of the end to
open (for example /dev/pts/4) on a line of its own and serves it until it is
stopped. With DEVICE (a path such as /dev/ttyUSB0) it serves that device at
--baud, 8 data bits, no parity, 1 stop bit.

Other requests of slave 1 get an exception reply (illegal function or
illegal data address); requests of other slaves and bytes that form no
request with a valid CRC get no answer.

Values:
  --temp1 C       the first register's temperature in degrees, -553.4 to
                  6000 (default 23.5)
  --temp2 C       the second register's temperature in degrees (default 24.1)
  --ramp          both values rise by 0.1 degrees with every request and start
                  again after 10 degrees
  --baud N        the speed of DEVICE: 1200, 2400, 4800, 9600 (default),
                  19200, 38400, 57600, 115200 or 230400

Faults, each on every N-th request (N >= 1, counted from 1); where several
fall on one request, the first of this list applies:
  --silence N     no reply
  --silence-run K with --silence: also no reply to the K-1 requests after
                  each N-th, K requests in a row (default 1)
  --exception N   an exception reply, illegal data address (01 83 02 + CRC)
  --short N       only the first 5 bytes of the reply
  --bad-crc N     the reply with both CRC bytes inverted
  --garbage N     3 bytes of noise (FF 00 55) before the reply
  --delay N       the reply after --delay-ms milliseconds; requests that
                  come meanwhile are answered after it, in order
  --delay-ms MS   the pause of --delay (default 1500)
  --double N      the reply is held back and sent together with the reply
                  to the next request: two replies arrive at once
  --flood N       in place of the reply, --flood-bytes bytes of noise
                  (0xAA), more than the monitor's input queue holds
  --flood-bytes B the size of --flood (default 5000)

  --hang-up N     end after the reply to the N-th request; on a
                  pseudo-terminal the monitor then sees its line lost, as
                  when an adapter is unplugged

Pseudo-terminal only (no DEVICE):
  --link PATH     also make PATH a symbolic link to the pseudo-terminal and
                  print PATH in place of its own name; a stable name, as
                  /dev/serial/by-id gives a USB adapter. The link goes when
                  sensor-sim ends
  --reopen-after N
                  after the reply to every N-th request close the
                  pseudo-terminal and remove the link (the monitor sees its
                  line lost), wait --reopen-ms, then open a new one and link
                  it again: an adapter unplugged and plugged in again
  --reopen-ms MS  the pause of --reopen-after (default 500)

  --verbose       every request and reply in hexadecimal on standard error,
                  a faulty reply marked with its fault
  --record FILE   a line in FILE for each request as it arrives: the
                  milliseconds since the start, "request", its number, its
                  fault (none, silence, exception, short, bad-crc, garbage,
                  delay, double, flood) and, where the reply keeps them
                  intact, the two registers (tenths of a degree); and a line
                  for each reply as it is sent: the milliseconds, "reply"
                  and the number of the request it answers
  --help          this text
)";

struct TOptions {
    double Temp1 = 23.5;
    double Temp2 = 24.1;
    bool Ramp = false;
    unsigned Baud = 9600;
    unsigned Silence = 0, Exception = 0, Short = 0, BadCrc = 0, Garbage = 0, Delay = 0, Double = 0,
             Flood = 0;
    unsigned SilenceRun = 1;
    unsigned DelayMSec = 1500;
    unsigned FloodBytes = 5000;
    unsigned HangUp = 0;
    unsigned ReopenAfter = 0;
    unsigned ReopenMSec = 500;
    std::string Link;
    std::string Record;
    bool Verbose = false;
    std::string Device;
};

// What ended the service of one line.
enum class TServeEnd { HangUp, Reopen };

// Counted over the whole run, across reopened lines.
struct TCounts {
    unsigned Requests = 0, Replies = 0;
};

enum class TFault { None, Silence, Exception, Short, BadCrc, Garbage, Delay, Double, Flood };

unsigned Number(const std::string& Option, const char* Text, unsigned Least) {
    char* End;
    errno = 0;
    unsigned long N = std::strtoul(Text, &End, 10);
    if (*Text == '\0' || *End != '\0' || errno != 0 || N < Least || N > 100000000)
        throw std::invalid_argument(Option + " needs a whole number of at least " +
                                    std::to_string(Least) + ", not \"" + Text + "\"");
    return unsigned(N);
}

double Temperature(const std::string& Option, const char* Text) {
    char* End;
    double T = std::strtod(Text, &End);
    // The monitor reads register values above 60000 as negative.
    if (*Text == '\0' || *End != '\0' || !(T >= -553.4 && T <= 6000.0))
        throw std::invalid_argument(Option + " needs degrees from -553.4 to 6000, not \"" +
                                    std::string(Text) + "\"");
    return T;
}

TOptions ParseOptions(int Argc, char** Argv) {
    TOptions O;
    const std::pair<const char*, unsigned TOptions::*> Counts[] = {
        {"--silence", &TOptions::Silence},
        {"--exception", &TOptions::Exception},
        {"--short", &TOptions::Short},
        {"--bad-crc", &TOptions::BadCrc},
        {"--garbage", &TOptions::Garbage},
        {"--delay", &TOptions::Delay},
        {"--hang-up", &TOptions::HangUp},
        {"--reopen-after", &TOptions::ReopenAfter},
        {"--double", &TOptions::Double},
        {"--flood", &TOptions::Flood},
        {"--silence-run", &TOptions::SilenceRun},
    };
    for (int I = 1; I < Argc; ++I) {
        const std::string Arg = Argv[I];
        auto Value = [&]() -> const char* {
            if (I + 1 >= Argc)
                throw std::invalid_argument(Arg + " needs a value");
            return Argv[++I];
        };
        bool Known = true;
        if (Arg == "--temp1")
            O.Temp1 = Temperature(Arg, Value());
        else if (Arg == "--temp2")
            O.Temp2 = Temperature(Arg, Value());
        else if (Arg == "--ramp")
            O.Ramp = true;
        else if (Arg == "--baud")
            O.Baud = Number(Arg, Value(), 1);
        else if (Arg == "--delay-ms")
            O.DelayMSec = Number(Arg, Value(), 0);
        else if (Arg == "--reopen-ms")
            O.ReopenMSec = Number(Arg, Value(), 0);
        else if (Arg == "--flood-bytes")
            O.FloodBytes = Number(Arg, Value(), 1);
        else if (Arg == "--record")
            O.Record = Value();
        else if (Arg == "--link")
            O.Link = Value();
        else if (Arg == "--verbose")
            O.Verbose = true;
        else
            Known = false;
        for (auto [Name, Field] : Counts)
            if (Arg == Name) {
                O.*Field = Number(Arg, Value(), 1);
                Known = true;
            }
        if (Known)
            continue;
        if (Arg.rfind("--", 0) == 0 || !O.Device.empty())
            throw std::invalid_argument("unknown argument \"" + Arg + "\"");
        O.Device = Arg;
    }
    if (!O.Device.empty() && (O.ReopenAfter != 0 || !O.Link.empty()))
        throw std::invalid_argument("--link and --reopen-after serve a pseudo-terminal, not " +
                                    O.Device);
    return O;
}

TFault FaultOf(const TOptions& O, unsigned Request) {
    if (O.Silence != 0 && Request >= O.Silence && Request % O.Silence < O.SilenceRun)
        return TFault::Silence;
    const std::pair<unsigned, TFault> Order[] = {
        {O.Exception, TFault::Exception}, {O.Short, TFault::Short}, {O.BadCrc, TFault::BadCrc},
        {O.Garbage, TFault::Garbage},     {O.Delay, TFault::Delay}, {O.Double, TFault::Double},
        {O.Flood, TFault::Flood},
    };
    for (auto [Every, Fault] : Order)
        if (Every != 0 && Request % Every == 0)
            return Fault;
    return TFault::None;
}

std::string WithCrc(const std::string& Frame) {
    return Frame + ModbusCrc16(Frame);
}

// Tenths of a degree as the monitor decodes them: above 60000 is negative.
std::string Register(double Degrees) {
    long Tenths = std::lround(Degrees * 10.0);
    unsigned Raw = unsigned(Tenths >= 0 ? Tenths : 65535 + Tenths);
    return {char(Raw >> 8), char(Raw & 0xFF)};
}

std::string ValueReply(const TOptions& O, unsigned Replies) {
    const double Rise = O.Ramp ? (Replies % 100) * 0.1 : 0.0;
    return WithCrc(std::string("\x01\x03\x04", 3) + Register(O.Temp1 + Rise) +
                   Register(O.Temp2 + Rise));
}

std::string ExceptionReply(char Function, char Code) {
    return WithCrc(std::string{'\x01', char(Function | 0x80), Code});
}

// The answer to a request of slave 1 with a valid CRC.
std::string Answer(const std::string& Request, const TOptions& O, unsigned& Replies) {
    if (Request[1] != 3)
        return ExceptionReply(Request[1], 1);
    const unsigned First = unsigned((unsigned char)Request[2]) << 8 | (unsigned char)Request[3];
    const unsigned Count = unsigned((unsigned char)Request[4]) << 8 | (unsigned char)Request[5];
    if (First != 0x0200 || Count != 2)
        return ExceptionReply(3, 2);
    return ValueReply(O, Replies++);
}

std::string Faulty(std::string Reply, TFault Fault, const TOptions& O) {
    switch (Fault) {
    case TFault::Silence:
        return "";
    case TFault::Exception:
        return ExceptionReply(3, 2);
    case TFault::Short:
        return Reply.substr(0, 5);
    case TFault::BadCrc:
        Reply[Reply.size() - 2] = char(~Reply[Reply.size() - 2]);
        Reply[Reply.size() - 1] = char(~Reply[Reply.size() - 1]);
        return Reply;
    case TFault::Garbage:
        return std::string("\xFF\x00\x55", 3) + Reply;
    case TFault::Flood:
        return std::string(O.FloodBytes, '\xAA');
    default:
        return Reply;
    }
}

// What --verbose says of a reply that a fault changed.
std::string FaultNote(TFault Fault, const TOptions& O) {
    switch (Fault) {
    case TFault::Silence:
        return " [silence: the reply is dropped]";
    case TFault::Exception:
        return " [exception: illegal data address in place of the values]";
    case TFault::Short:
        return " [short: only the first 5 bytes]";
    case TFault::BadCrc:
        return " [bad CRC: both CRC bytes inverted]";
    case TFault::Garbage:
        return " [garbage: 3 bytes of noise before the reply]";
    case TFault::Delay:
        return " [delay: sent after " + std::to_string(O.DelayMSec) + " ms]";
    case TFault::Double:
        return " [double: sent with the next reply]";
    case TFault::Flood:
        return " [flood: " + std::to_string(O.FloodBytes) + " bytes of noise]";
    default:
        return "";
    }
}

// The name --record gives a fault.
const char* FaultName(TFault Fault) {
    const char* const Names[] = {"none",    "silence", "exception", "short", "bad-crc",
                                 "garbage", "delay",   "double",    "flood"};
    return Names[int(Fault)];
}

// The faults whose reply still carries both values intact.
bool KeepsValues(TFault Fault) {
    return Fault == TFault::None || Fault == TFault::Garbage || Fault == TFault::Delay ||
           Fault == TFault::Double;
}

std::string Hex(const std::string& Bytes) {
    std::string Text;
    char Byte[4];
    for (unsigned char B : Bytes) {
        std::snprintf(Byte, sizeof Byte, "%02X ", B);
        Text += Byte;
    }
    return Text;
}

void MakeRaw(int Fd, unsigned Baud) {
    const std::pair<unsigned, speed_t> Speeds[] = {
        {1200, B1200},   {2400, B2400},   {4800, B4800},     {9600, B9600},    {19200, B19200},
        {38400, B38400}, {57600, B57600}, {115200, B115200}, {230400, B230400}};
    termios T;
    if (tcgetattr(Fd, &T) != 0)
        throw std::runtime_error(std::string("not a terminal: ") + std::strerror(errno));
    cfmakeraw(&T);
    T.c_cflag |= CLOCAL | CREAD;
    auto Speed = std::find_if(std::begin(Speeds), std::end(Speeds),
                              [Baud](auto& S) { return S.first == Baud; });
    if (Speed == std::end(Speeds))
        throw std::invalid_argument("--baud takes 1200, 2400, 4800, 9600, 19200, 38400, 57600, "
                                    "115200 or 230400");
    cfsetspeed(&T, Speed->second);
    if (tcsetattr(Fd, TCSANOW, &T) != 0)
        throw std::runtime_error(std::string("cannot set the line: ") + std::strerror(errno));
}

// A pseudo-terminal: Master is the end to serve, Path the other end. That
// end stays open here too (Slave), so that the line survives its users
// closing it.
struct TPseudoTerminal {
    int Master = -1, Slave = -1;
    std::string Path;
};

TPseudoTerminal OpenPseudoTerminal() {
    TPseudoTerminal P;
    P.Master = posix_openpt(O_RDWR | O_NOCTTY);
    if (P.Master < 0 || grantpt(P.Master) != 0 || unlockpt(P.Master) != 0)
        throw std::runtime_error(std::string("no pseudo-terminal: ") + std::strerror(errno));
    P.Path = ptsname(P.Master);
    P.Slave = open(P.Path.c_str(), O_RDWR | O_NOCTTY);
    if (P.Slave < 0)
        throw std::runtime_error(P.Path + ": " + std::strerror(errno));
    // No echo of the replies before a user sets the line up.
    MakeRaw(P.Slave, 9600);
    return P;
}

// Points Link at Target; a reader of Link never finds it half made.
void MakeLink(const std::string& Target, const std::string& Link) {
    const std::string Made = Link + ".new";
    unlink(Made.c_str());
    if (symlink(Target.c_str(), Made.c_str()) != 0 || rename(Made.c_str(), Link.c_str()) != 0)
        throw std::runtime_error(Link + ": " + std::strerror(errno));
}

// The link of --link, removed when the simulator is stopped, so that no
// name is left pointing at a pseudo-terminal that is gone.
const char* LinkMade = nullptr;

extern "C" void RemoveLinkAndEnd(int) {
    unlink(LinkMade);
    _exit(0);
}

void RemoveLinkWhenStopped(const std::string& Link) {
    LinkMade = Link.c_str();
    struct sigaction Action = {};
    Action.sa_handler = RemoveLinkAndEnd;
    for (int Signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(Signal, &Action, nullptr);
}

void Send(int Fd, const std::string& Bytes) {
    for (std::size_t Done = 0; Done < Bytes.size();) {
        const ssize_t N = write(Fd, Bytes.data() + Done, Bytes.size() - Done);
        if (N < 0 && errno == EINTR)
            continue;
        if (N <= 0)
            throw std::runtime_error(std::string("write failed: ") + std::strerror(errno));
        Done += std::size_t(N);
    }
}

using TClock = std::chrono::steady_clock;

// The lines of --record.
class TRecord {
  public:
    explicit TRecord(const std::string& Path) {
        if (Path.empty())
            return;
        FFile = std::fopen(Path.c_str(), "w");
        if (!FFile)
            throw std::runtime_error(Path + ": " + std::strerror(errno));
    }
    ~TRecord() {
        if (FFile)
            std::fclose(FFile);
    }
    TRecord(const TRecord&) = delete;
    TRecord& operator=(const TRecord&) = delete;

    void Request(unsigned Number, TFault Fault, const std::string& Reply) {
        if (!FFile)
            return;
        std::fprintf(FFile, "%.3f request %u %s", MSec(), Number, FaultName(Fault));
        if (KeepsValues(Fault) && Reply.size() == 9)
            std::fprintf(FFile, " %d %d", Tenths(Reply, 3), Tenths(Reply, 5));
        std::fputc('\n', FFile);
        std::fflush(FFile);
    }
    void Reply(unsigned Number) {
        if (!FFile)
            return;
        std::fprintf(FFile, "%.3f reply %u\n", MSec(), Number);
        std::fflush(FFile);
    }

  private:
    double MSec() const {
        return std::chrono::duration<double, std::milli>(TClock::now() - FStart).count();
    }
    static int Tenths(const std::string& Reply, std::size_t At) {
        const int Raw = (unsigned char)Reply[At] << 8 | (unsigned char)Reply[At + 1];
        return Raw > 60000 ? Raw - 65535 : Raw;
    }

    std::FILE* FFile = nullptr;
    // The start of the run, also across reopened lines.
    static inline const TClock::time_point FStart = TClock::now();
};

// A reply waiting for its time, and the request it answers.
struct TOutgoing {
    TClock::time_point Due;
    std::string Bytes;
    unsigned Request;
};

// Sends the replies that are due; says how the service ends when the last
// one sent ends it.
std::optional<TServeEnd> SendDue(int Fd, const TOptions& O, std::deque<TOutgoing>& Out,
                                 TRecord& Record) {
    while (!Out.empty() && Out.front().Due <= TClock::now()) {
        const TOutgoing Next = std::move(Out.front());
        Out.pop_front();
        Send(Fd, Next.Bytes);
        if (!Next.Bytes.empty())
            Record.Reply(Next.Request);
        const bool Ends = (O.HangUp != 0 && Next.Request >= O.HangUp) ||
                          (O.ReopenAfter != 0 && Next.Request % O.ReopenAfter == 0);
        // A pseudo-terminal drops what is still on its way when its end
        // closes: the last reply is given time to arrive, as a sensor's
        // reply is on the wire before its adapter is pulled.
        if (Ends)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (O.HangUp != 0 && Next.Request >= O.HangUp) {
            if (O.Verbose)
                std::cerr << "hanging up" << std::endl;
            return TServeEnd::HangUp;
        }
        if (O.ReopenAfter != 0 && Next.Request % O.ReopenAfter == 0) {
            if (O.Verbose)
                std::cerr << "hanging up, back in " << O.ReopenMSec << " ms" << std::endl;
            return TServeEnd::Reopen;
        }
    }
    return std::nullopt;
}

// Milliseconds until the first waiting reply is due; -1 for none.
int PollTimeout(const std::deque<TOutgoing>& Out) {
    if (Out.empty())
        return -1;
    const auto Left = std::chrono::ceil<std::chrono::milliseconds>(Out.front().Due - TClock::now());
    return int(std::max<long>(Left.count(), 0));
}

TServeEnd Serve(int Fd, const TOptions& O, TCounts& Counts, TRecord& Record) {
    constexpr std::size_t RequestSize = 8;
    std::string Pending;
    unsigned& Requests = Counts.Requests;
    unsigned& Replies = Counts.Replies;
    // Replies are sent in the order of their requests: a delayed one holds
    // back those behind it.
    std::deque<TOutgoing> Out;
    // The reply of --double, sent with the next one.
    std::string Held;
    char Chunk[256];
    for (;;) {
        if (auto End = SendDue(Fd, O, Out, Record))
            return *End;
        pollfd Poll{Fd, POLLIN, 0};
        const int Ready = poll(&Poll, 1, PollTimeout(Out));
        if (Ready < 0 && errno == EINTR)
            continue;
        if (Ready < 0)
            throw std::runtime_error(std::string("poll failed: ") + std::strerror(errno));
        if (Ready == 0)
            continue;
        ssize_t N = read(Fd, Chunk, sizeof Chunk);
        if (N < 0 && errno == EINTR)
            continue;
        if (N <= 0)
            throw std::runtime_error(std::string("read failed: ") +
                                     (N == 0 ? "end of file" : std::strerror(errno)));
        Pending.append(Chunk, std::size_t(N));
        while (Pending.size() >= RequestSize) {
            const std::string Frame = Pending.substr(0, RequestSize);
            if (ModbusCrc16(Frame.substr(0, 6)) != Frame.substr(6)) {
                Pending.erase(0, 1); // not a request: look one byte further
                continue;
            }
            Pending.erase(0, RequestSize);
            if (Frame[0] != 1)
                continue;
            const TFault Fault = FaultOf(O, ++Requests);
            const std::string Answered = Answer(Frame, O, Replies);
            const std::string Reply = Faulty(Answered, Fault, O);
            Record.Request(Requests, Fault, Answered);
            if (O.Verbose)
                std::cerr << "request " << Requests << ": " << Hex(Frame) << "-> "
                          << (Reply.empty() ? "no reply" : Hex(Reply)) << FaultNote(Fault, O)
                          << std::endl;
            if (Fault == TFault::Double) {
                Held += Reply;
                continue;
            }
            TClock::time_point Due = TClock::now();
            if (Fault == TFault::Delay)
                Due += std::chrono::milliseconds(O.DelayMSec);
            if (!Out.empty())
                Due = std::max(Due, Out.back().Due);
            Out.push_back({Due, std::exchange(Held, {}) + Reply, Requests});
        }
    }
}

} // namespace

int main(int Argc, char** Argv) {
    for (int I = 1; I < Argc; ++I)
        if (std::string(Argv[I]) == "--help") {
            std::cout << HelpText;
            return 0;
        }
    try {
        const TOptions O = ParseOptions(Argc, Argv);
        TCounts Counts;
        TRecord Record(O.Record);
        if (!O.Device.empty()) {
            int Fd = open(O.Device.c_str(), O_RDWR | O_NOCTTY);
            if (Fd < 0)
                throw std::runtime_error(O.Device + ": " + std::strerror(errno));
            MakeRaw(Fd, O.Baud);
            Serve(Fd, O, Counts, Record);
            return 0;
        }
        if (!O.Link.empty())
            RemoveLinkWhenStopped(O.Link);
        for (bool First = true;; First = false) {
            const TPseudoTerminal Pty = OpenPseudoTerminal();
            if (!O.Link.empty())
                MakeLink(Pty.Path, O.Link);
            if (First)
                std::cout << (O.Link.empty() ? Pty.Path : O.Link) << std::endl;
            else if (O.Verbose)
                std::cerr << "back on " << Pty.Path << std::endl;
            if (Serve(Pty.Master, O, Counts, Record) == TServeEnd::HangUp) {
                if (!O.Link.empty())
                    unlink(O.Link.c_str());
                return 0;
            }
            // Gone as an unplugged adapter goes: first its name, then its line.
            if (!O.Link.empty())
                unlink(O.Link.c_str());
            close(Pty.Slave);
            close(Pty.Master);
            std::this_thread::sleep_for(std::chrono::milliseconds(O.ReopenMSec));
        }
    } catch (const std::exception& E) {
        std::cerr << "sensor-sim: " << E.what() << "\nTry sensor-sim --help.\n";
        return 1;
    }
}
