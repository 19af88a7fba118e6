#include "platform/SerialDevice.h"
#include "tests/serial/PtyPeer.h"

#include <gtest/gtest.h>

#include <chrono>
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

TEST_F(Device, DiscardsNullBytesWhenAsked) {
    TSerialControl Control;
    Control.DiscardNull = true;
    Line.SetControl(Control);
    Fill(std::string("a\0b\0c", 5), 3);
    char Buffer[8];
    std::size_t N = Line.Read(Buffer, sizeof Buffer);
    EXPECT_EQ(std::string(Buffer, N), "abc");
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
