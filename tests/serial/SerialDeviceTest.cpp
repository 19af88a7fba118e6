#include "platform/SerialDevice.h"
#include "tests/support/PtyPeer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <thread>

namespace {

using namespace std::chrono_literals;

TEST(SerialDevice, NamesToPaths) {
    const std::pair<const char*, const char*> Cases[] = {
        {"/dev/pts/3", "/dev/pts/3"},
        {"COM1", "/dev/ttyS0"},
        {"COM12", "/dev/ttyS11"},
        {"ttyUSB0", "/dev/ttyUSB0"},
        {"COM0", "/dev/COM0"},
        {"COMX", "/dev/COMX"},
        {"COM", "/dev/COM"},
        {"/tmp/x", "/tmp/x"},
        {"COM99999999999999999999", "/dev/COM99999999999999999999"},
    };
    for (auto [Name, Path] : Cases)
        EXPECT_EQ(TSerialDevice::PathOf(Name), Path) << Name;
}

TEST(SerialDevice, OpenFailuresCarryTheSystemText) {
    try {
        TSerialDevice Device("/dev/no-such-serial-device");
        ADD_FAILURE() << "opened";
    } catch (const ESerialError& E) {
        EXPECT_EQ(E.SystemError(), ENOENT);
        EXPECT_EQ(E.Message(), "No such file or directory");
    }
    EXPECT_THROW(TSerialDevice("/dev/null"), ESerialError) << "not a tty";
}

TEST(SerialDevice, LineNewsFromTheCounters) {
    struct TCase {
        const char* Name;
        TLineCounters After;
        std::uint32_t Events;
        std::uint32_t Errors;
    };
    const TLineCounters Before = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    const TCase Cases[] = {
        {"nothing", Before, 0, 0},
        {"CTS", {2, 2, 3, 4, 5, 6, 7, 8, 9}, evCts, 0},
        {"DSR", {1, 3, 3, 4, 5, 6, 7, 8, 9}, evDsr, 0},
        {"ring", {1, 2, 4, 4, 5, 6, 7, 8, 9}, evRing, 0},
        {"carrier", {1, 2, 3, 5, 5, 6, 7, 8, 9}, evRlsd, 0},
        {"break", {1, 2, 3, 4, 6, 6, 7, 8, 9}, evBreak, ceBreak},
        {"frame", {1, 2, 3, 4, 5, 7, 7, 8, 9}, evErr, ceFrame},
        {"parity", {1, 2, 3, 4, 5, 6, 8, 8, 9}, evErr, ceRxParity},
        {"overrun", {1, 2, 3, 4, 5, 6, 7, 9, 9}, evErr, ceOverrun},
        {"kernel buffer", {1, 2, 3, 4, 5, 6, 7, 8, 10}, 0, ceRxOver},
        {"several changes of one line", {4, 2, 3, 4, 5, 6, 7, 8, 9}, evCts, 0},
        {"lines and errors at once",
         {2, 2, 3, 5, 6, 6, 8, 8, 9},
         evCts | evRlsd | evBreak | evErr,
         ceBreak | ceRxParity},
    };
    for (const TCase& Case : Cases) {
        TLineNews News = LineNews(Before, Case.After);
        EXPECT_EQ(News.Events, Case.Events) << Case.Name;
        EXPECT_EQ(News.Errors, Case.Errors) << Case.Name;
    }
    const int Top = std::numeric_limits<int>::max();
    TLineCounters Full, Wrapped;
    Full.Ring = Top;
    Wrapped.Ring = std::numeric_limits<int>::min();
    EXPECT_EQ(LineNews(Full, Wrapped).Events, evRing) << "a counter that wraps";
}

std::size_t Threads() {
    std::size_t N = 0;
    for ([[maybe_unused]] auto& Entry : std::filesystem::directory_iterator("/proc/self/task"))
        ++N;
    return N;
}

// Only a real port has modem lines; SM_MODEM_TTY names one to try.
TEST(SerialDevice, CloseEndsTheModemLineWait) {
    const char* Path = std::getenv("SM_MODEM_TTY");
    if (!Path)
        GTEST_SKIP() << "set SM_MODEM_TTY to a port with modem lines";
    const std::size_t Before = Threads();
    auto Line = std::make_unique<TSerialDevice>(Path);
    Line->SetEventMask(evCts | evDsr | evRlsd | evRing);
    EXPECT_EQ(Threads(), Before + 2) << "the reader and the modem-line wait";
    std::this_thread::sleep_for(50ms);
    const auto Start = std::chrono::steady_clock::now();
    Line.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - Start, 1s);
    EXPECT_EQ(Threads(), Before);
}

// Collects what arrives until the watched event comes.
std::uint32_t NextEvents(TSerialDevice& Device) {
    std::uint32_t Events = 0;
    EXPECT_EQ(Device.WaitEvent(Events), TSerialWait::Event);
    return Events;
}

// A raw line on a pseudo-terminal.
class Device : public ::testing::Test {
  protected:
    Device() { Line.SetControl(TSerialControl{}); }
    // Sends Bytes and waits until Queued bytes are queued; the error flags
    // seen meanwhile.
    std::uint32_t Fill(const std::string& Bytes, std::size_t Queued) {
        Peer.Send(Bytes);
        std::size_t In = 0, Out = 0;
        std::uint32_t Errors = 0, Seen = 0;
        for (int Tries = 0; Tries < 200 && In < Queued; ++Tries) {
            Line.WaitForInput(10);
            Line.ClearError(Errors, In, Out);
            Seen |= Errors;
        }
        return Seen;
    }
    TPtyPeer Peer;
    TSerialDevice Line{Peer.Path()};
};

TEST_F(Device, InputQueueIsBoundedAndReportsTheOverrun) {
    Line.SetQueueSizes(128, 128);
    EXPECT_EQ(Fill(std::string(200, 'a'), 128), ceRxOver);
    char Buffer[256];
    EXPECT_EQ(Line.Read(Buffer, sizeof Buffer), 128u);
    EXPECT_EQ(Line.Read(Buffer, sizeof Buffer), 0u);
}

TEST_F(Device, EventsOfTheInputQueue) {
    TSerialControl Control;
    Control.EvtChar = '\n';
    Line.SetControl(Control);
    Line.SetQueueSizes(128, 128);
    Line.SetEventMask(evRxChar | evRxFlag | evRx80Full);
    Peer.Send("ab");
    EXPECT_EQ(NextEvents(Line), evRxChar);
    Peer.Send("c\nd");
    EXPECT_EQ(NextEvents(Line), evRxChar | evRxFlag);
    Peer.Send(std::string(100, 'x')); // 105 of 128 queued
    std::uint32_t Events = 0;
    while (!(Events & evRx80Full))
        Events |= NextEvents(Line);
    Line.SetEventMask(evRxFlag);
    Peer.Send("more");
    Peer.Send("\n");
    EXPECT_EQ(NextEvents(Line), evRxFlag) << "only watched events";
}

TEST_F(Device, NoLineEventsWithoutModemLines) {
    Line.SetEventMask(evRxChar | evCts | evDsr | evRlsd | evRing | evBreak | evErr);
    Peer.Send("a");
    EXPECT_EQ(NextEvents(Line), evRxChar);
    Peer.Send("b");
    EXPECT_EQ(NextEvents(Line), evRxChar);
}

TEST_F(Device, DiscardsNullBytesWhenAsked) {
    TSerialControl Control;
    Control.DiscardNull = true;
    Line.SetControl(Control);
    Fill(std::string("a\0b\0c", 5), 3);
    char Buffer[8];
    std::size_t N = Line.Read(Buffer, sizeof Buffer);
    EXPECT_EQ(std::string(Buffer, N), "abc");
}

// The round trip of a reply is measured to its first byte, not to the
// moment it is read.
TEST_F(Device, ReadsKnowWhenTheirFirstByteCame) {
    const auto Sent = std::chrono::steady_clock::now();
    Fill("ab", 2);
    const auto Queued = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(50ms);
    Peer.Send("c");
    std::size_t In = 0, Out = 0;
    std::uint32_t Errors = 0;
    for (int Tries = 0; Tries < 500 && In < 3; ++Tries) {
        std::this_thread::sleep_for(2ms);
        Line.ClearError(Errors, In, Out);
    }
    char Buffer[8];
    ASSERT_EQ(Line.Read(Buffer, sizeof Buffer), 3u);
    EXPECT_GE(Line.ReadArrival(), Sent);
    EXPECT_LE(Line.ReadArrival(), Queued);
    // An empty read keeps what the last one said.
    EXPECT_EQ(Line.Read(Buffer, sizeof Buffer), 0u);
    EXPECT_LE(Line.ReadArrival(), Queued);
}

TEST_F(Device, CancelledWaitsEnd) {
    Line.SetEventMask(evRxChar);
    std::thread Waiter([&] {
        std::uint32_t Events;
        EXPECT_EQ(Line.WaitEvent(Events), TSerialWait::Cancelled);
    });
    std::this_thread::sleep_for(20ms);
    Line.CancelWaits();
    Waiter.join();
}

TEST_F(Device, HangUpEndsTheWait) {
    Line.SetEventMask(evRxChar);
    Peer.HangUp();
    std::uint32_t Events;
    EXPECT_EQ(Line.WaitEvent(Events), TSerialWait::Failed);
    EXPECT_EQ(Line.LineLost(), EIO);
    char C;
    EXPECT_THROW(Line.Read(&C, 1), ESerialError);
}

} // namespace
