#include "serial/XComDrv.h"
#include "tests/support/PtyPeer.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <functional>
#include <mutex>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Keeps every set that reaches CommEvent.
// Events come from the event thread and, for a write, from the writing
// thread: the record takes them one at a time. The device is closed (its
// event thread ended) before the record goes.
class TRecordingComm : public TXComm {
  public:
    ~TRecordingComm() override {
        if (IsOpen())
            CloseDevice();
    }
    std::vector<TDeviceEvents> Delivered() {
        std::lock_guard Lock(FMutex);
        return FDelivered;
    }

  protected:
    void CommEvent(TDeviceEvents Events) override {
        {
            std::lock_guard Lock(FMutex);
            FDelivered.push_back(Events);
        }
        TXComm::CommEvent(Events);
    }

  private:
    std::mutex FMutex;
    std::vector<TDeviceEvents> FDelivered;
};

template <typename F> void ExpectDeviceError(F Action, int Code, const std::string& Message) {
    try {
        Action();
        ADD_FAILURE() << "no EDeviceError " << Code;
    } catch (const EDeviceError& E) {
        EXPECT_EQ(E.ErrorCode(), Code);
        EXPECT_EQ(E.Message(), Message);
    }
}

// A component opened on a pseudo-terminal; the events go nowhere.
class OpenComm : public ::testing::Test {
  protected:
    OpenComm() {
        Comm.SetDeviceName(Peer.Path());
        Comm.SetSynchronize(false);
        Comm.OpenDevice();
    }
    TPtyPeer Peer;
    TRecordingComm Comm;
};

TEST(XComm, Defaults) {
    TXComm Comm;
    EXPECT_EQ(Comm.BaudRate(), br9600);
    EXPECT_EQ(Comm.BaudValue(), 9600u);
    EXPECT_EQ(Comm.DeviceName(), "COM2");
    EXPECT_EQ(Comm.MonitorEvents(), (TDeviceEvents{deChar, deFlag, deOutEmpty}));
    EXPECT_TRUE(Comm.Synchronize());
    EXPECT_EQ(Comm.Buffers().InputSize(), 2048);
    EXPECT_EQ(Comm.Buffers().OutputSize(), 2048);
    EXPECT_EQ(Comm.Buffers().InputTimeout(), 500);
    EXPECT_EQ(Comm.DataControl().DataBits(), db8);
    EXPECT_EQ(Comm.DataControl().Parity(), paNone);
    EXPECT_EQ(Comm.DataControl().StopBits(), sb1);
    EXPECT_EQ(Comm.EventChars().XonChar(), 17);
    EXPECT_EQ(Comm.EventChars().XoffChar(), 19);
    EXPECT_EQ(Comm.EventChars().EventChar(), 10);
    EXPECT_EQ(Comm.Timeouts().ReadInterval(), 1u);
    EXPECT_EQ(Comm.Timeouts().ReadMultiplier(), 0u);
    EXPECT_EQ(Comm.Timeouts().WriteConstant(), 1u);
    EXPECT_EQ(Comm.FlowControl(), fcNone);
    EXPECT_TRUE(Comm.Options().Empty());
    EXPECT_TRUE(Comm.DTRSettings().Empty());
    EXPECT_FALSE(Comm.IsOpen());
    EXPECT_EQ(Comm.LockState(), (TLockState{lsSend, lsRead}));
}

TEST(XComm, QueueSizesAreClamped) {
    const std::pair<std::uint16_t, std::uint16_t> Cases[] = {
        {100, 128}, {128, 128}, {3000, 3000}, {4096, 4096}, {10000, 4096}};
    TXComm Comm;
    for (auto [Given, Stored] : Cases) {
        Comm.Buffers().SetInputSize(Given);
        Comm.Buffers().SetOutputSize(Given);
        EXPECT_EQ(Comm.Buffers().InputSize(), Stored) << Given;
        EXPECT_EQ(Comm.Buffers().OutputSize(), Stored) << Given;
    }
}

TEST(XComm, BaudValueOnlyWithCustomRate) {
    TXComm Comm;
    Comm.SetBaudValue(12345);
    EXPECT_EQ(Comm.BaudValue(), 9600u);
    Comm.SetBaudRate(brCustom);
    Comm.SetBaudValue(12345);
    EXPECT_EQ(Comm.BaudValue(), 12345u);
    Comm.SetBaudRate(br115200);
    EXPECT_EQ(Comm.BaudValue(), 115200u);
}

TEST(XComm, OutOfRangeOrdinalsAreClamped) {
    TXComm Comm;
    Comm.SetBaudRate(TBaudRate(40));
    EXPECT_EQ(Comm.BaudRate(), brCustom);
    Comm.DataControl().SetDataBits(TDataBits(9));
    EXPECT_EQ(Comm.DataControl().DataBits(), db8);
    Comm.DataControl().SetParity(TParity(7));
    EXPECT_EQ(Comm.DataControl().Parity(), paSpace);
    Comm.DataControl().SetStopBits(TStopBits(3));
    EXPECT_EQ(Comm.DataControl().StopBits(), sb2);
    Comm.SetFlowControl(TFlowControl(9));
    EXPECT_EQ(Comm.FlowControl(), fcCustom);
}

TEST(XComm, HandshakeSetsFollowTheFlowControl) {
    TXComm Comm;
    Comm.SetRTSSettings({fsRTSEnabled});
    EXPECT_TRUE(Comm.RTSSettings().Empty()) << "ignored under fcNone";

    Comm.SetFlowControl(fcRtsCts);
    EXPECT_EQ(Comm.RTSSettings(), (TRTSSettings{fsCTSOut, fsRTSHandshake}));
    EXPECT_EQ(Comm.DTRSettings(), (TDTRSettings{fsDTREnabled}));
    EXPECT_TRUE(Comm.XOnXOffSettings().Empty());

    Comm.SetFlowControl(fcSoftware);
    EXPECT_EQ(Comm.XOnXOffSettings(), (TXOnXOffSettings{fsInX, fsOutX}));
    EXPECT_TRUE(Comm.RTSSettings().Empty());

    Comm.SetFlowControl(fcCustom);
    EXPECT_EQ(Comm.XOnXOffSettings(), (TXOnXOffSettings{fsInX, fsOutX})) << "kept";
    Comm.SetRTSSettings({fsRTSEnabled});
    EXPECT_EQ(Comm.RTSSettings(), (TRTSSettings{fsRTSEnabled}));
}

TEST(XComm, DtrAdjustments) {
    TXComm Comm;
    Comm.SetFlowControl(fcRtsCts);
    Comm.SetFlowControl(fcCustom);
    ASSERT_EQ(Comm.DTRSettings(), (TDTRSettings{fsDTREnabled})) << "kept from fcRtsCts";
    Comm.SetDTRSettings({fsDTREnabled, fsDTRHandshake});
    EXPECT_EQ(Comm.DTRSettings(), (TDTRSettings{fsDTRHandshake}));
    Comm.SetDTRSettings({fsDTREnabled, fsDTRHandshake});
    EXPECT_EQ(Comm.DTRSettings(), (TDTRSettings{fsDTREnabled}));

    // Options written while closed reset the sets to the preset, with DTR
    // held open.
    Comm.SetDTRSettings({fsDTRHandshake});
    Comm.SetOptions({coLeaveDTROpen});
    EXPECT_EQ(Comm.DTRSettings(), (TDTRSettings{fsDTREnabled}));
    Comm.SetDTRSettings({fsDTRHandshake, fsDSROut});
    EXPECT_EQ(Comm.DTRSettings(), (TDTRSettings{fsDTREnabled, fsDSROut}));
}

TEST(XComm, OpenAndCloseErrors) {
    TXComm Comm;
    Comm.SetDeviceName("/dev/no-such-serial-device");
    ExpectDeviceError([&] { Comm.OpenDevice(); }, 65535,
                      "Cannot open device /dev/no-such-serial-device");
    try {
        Comm.OpenDevice();
    } catch (const EDeviceError& E) {
        EXPECT_EQ(E.SystemError(), ENOENT); // the window tells the user why
    }
    EXPECT_FALSE(Comm.IsOpen());
    ExpectDeviceError([&] { Comm.CloseDevice(); }, 1, "Device not opened.");
    std::string S;
    ExpectDeviceError([&] { Comm.ReadString(S); }, 1, "Device not opened.");
    ExpectDeviceError([&] { Comm.WriteString("x"); }, 1, "Device not opened.");
    ExpectDeviceError([&] { Comm.OutputQueueCount(); }, 1, "Device not opened.");
}

TEST_F(OpenComm, SecondOpenFails) {
    ExpectDeviceError([&] { Comm.OpenDevice(); }, 2, "Device is allready opened.");
    TXComm Other;
    Other.SetDeviceName(Peer.Path());
    ExpectDeviceError([&] { Other.OpenDevice(); }, 65535, "Cannot open device " + Peer.Path());
    try {
        Other.OpenDevice();
    } catch (const EDeviceError& E) {
        EXPECT_EQ(E.SystemError(), EBUSY);
    }
    Comm.CloseDevice();
    Other.OpenDevice();
    EXPECT_TRUE(Other.IsOpen());
}

TEST_F(OpenComm, SecondOpenFromAnotherProcessFails) {
    pid_t Child = fork();
    if (Child == 0) {
        TXComm Other;
        Other.SetDeviceName(Peer.Path());
        try {
            Other.OpenDevice();
        } catch (const EDeviceError& E) {
            _exit(E.ErrorCode() == 65535 ? 0 : 2);
        }
        _exit(1);
    }
    int Status = -1;
    waitpid(Child, &Status, 0);
    EXPECT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 0) << Status;
}

TEST_F(OpenComm, DeviceNameIsKeptWhileOpen) {
    Comm.SetDeviceName("ttyS7");
    EXPECT_EQ(Comm.DeviceName(), Peer.Path());
    Comm.CloseDevice();
    Comm.SetDeviceName("ttyS7");
    EXPECT_EQ(Comm.DeviceName(), "ttyS7");
}

TEST_F(OpenComm, EmptyQueueReadsNothingAtOnce) {
    // The longest input time-out: a read that waited for it would outlast
    // the test's time limit.
    Comm.Buffers().SetInputTimeout(65535);
    std::string S = "old";
    auto Start = std::chrono::steady_clock::now();
    EXPECT_FALSE(Comm.ReadString(S));
    EXPECT_EQ(S, "");
    EXPECT_LT(std::chrono::steady_clock::now() - Start, 65535ms) << "waited for the time-out";
}

TEST_F(OpenComm, WriteStringDeliversOutEmptyOnce) {
    const std::string Request("\x01\x03\x02\x00\x00\x02\xC5\xB3", 8);
    EXPECT_TRUE(Comm.WriteString(Request));
    EXPECT_EQ(Peer.Receive(8), Request);
    EXPECT_EQ(Comm.Delivered(), std::vector<TDeviceEvents>{TDeviceEvents{deOutEmpty}});
}

TEST_F(OpenComm, ReadTakesQueuedBytesAndWaitsForTheRest) {
    Peer.Send(std::string("\x01\x03\x04\x00", 4));
    char Buffer[8];
    auto Start = std::chrono::steady_clock::now();
    EXPECT_EQ(Comm.Read(Buffer, 8, 100), 4u);
    EXPECT_GE(std::chrono::steady_clock::now() - Start, 100ms);
    EXPECT_EQ(std::string(Buffer, 4), std::string("\x01\x03\x04\x00", 4));

    // Bytes that arrive while Read waits are taken at once.
    std::thread Later([&] {
        std::this_thread::sleep_for(30ms);
        Peer.Send("abc");
    });
    EXPECT_EQ(Comm.Read(Buffer, 3, 2000), 3u);
    Later.join();
    Peer.Send("xyz");
    EXPECT_EQ(Comm.Read(Buffer, 3, 1000), 3u);
    EXPECT_EQ(std::string(Buffer, 3), "xyz");
}

TEST_F(OpenComm, HandlersLockTheirDirection) {
    int Reads = 0, Sends = 0;
    Comm.SetOnRead([&](TCustomComm& Sender) {
        ++Reads;
        EXPECT_EQ(Sender.LockState(), TLockState{lsRead});
        std::string S;
        ExpectDeviceError([&] { Sender.ReadString(S); }, 5,
                          "Device locked. Cannot perform read operations.");
    });
    Comm.SetOnSend([&](TCustomComm& Sender) {
        ++Sends;
        ExpectDeviceError([&] { Sender.WriteString("y"); }, 4,
                          "Device locked. Cannot perform send operations.");
        throw Exception("handler failed");
    });
    Peer.Send("x");
    char C;
    EXPECT_EQ(Comm.Read(&C, 1, 1000), 1u);
    EXPECT_THROW(Comm.WriteString("z"), Exception);
    EXPECT_EQ(Reads, 1);
    EXPECT_EQ(Sends, 1);
    EXPECT_TRUE(Comm.LockState().Empty()) << "cleared also after the failure";
}

TEST_F(OpenComm, SettingsReachTheTty) {
    termios T = Peer.Settings();
    EXPECT_EQ(cfgetospeed(&T), B9600);
    EXPECT_EQ(T.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), tcflag_t(CS8));
    EXPECT_EQ(T.c_lflag & (ICANON | ECHO), 0u) << "raw";
    EXPECT_EQ(T.c_iflag & (IXON | IXOFF), 0u);

    Comm.SetBaudRate(br19200);
    T = Peer.Settings();
    EXPECT_EQ(cfgetospeed(&T), B19200);
    Comm.SetBaudRate(br56000);
    EXPECT_EQ(Peer.Speed(), 56000u);
    Comm.SetBaudRate(brCustom);
    Comm.SetBaudValue(12345);
    EXPECT_EQ(Peer.Speed(), 12345u);
    EXPECT_EQ(Comm.BaudValue(), 12345u);

    Comm.DataControl().SetStopBits(sb2);
    T = Peer.Settings();
    EXPECT_EQ(T.c_cflag & CSTOPB, tcflag_t(CSTOPB));
    EXPECT_EQ(Comm.DataControl().StopBits(), sb2);

    Comm.SetFlowControl(fcRtsCts);
    T = Peer.Settings();
    EXPECT_NE(T.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(Comm.RTSSettings(), (TRTSSettings{fsCTSOut, fsRTSHandshake}));

    Comm.EventChars().SetXonChar(0x11 + 1);
    Comm.SetFlowControl(fcSoftware);
    T = Peer.Settings();
    EXPECT_EQ(T.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(T.c_iflag & (IXON | IXOFF), tcflag_t(IXON | IXOFF));
    EXPECT_EQ(T.c_cc[VSTART], 0x12);
    EXPECT_EQ(Comm.XOnXOffSettings(), (TXOnXOffSettings{fsInX, fsOutX}));

    Comm.SetOptions({coParityCheck, coDiscardNull});
    T = Peer.Settings();
    EXPECT_NE(T.c_iflag & INPCK, 0u);
    EXPECT_EQ(Comm.Options(), (TCommOptions{coParityCheck, coDiscardNull}));
}

TEST_F(OpenComm, EveryRateOfTheTableReachesTheTty) {
    for (int Rate = br110; Rate < brCustom; ++Rate) {
        Comm.SetBaudRate(TBaudRate(Rate));
        EXPECT_EQ(Peer.Speed(), BaudValues[Rate]);
        EXPECT_EQ(Comm.BaudRate(), Rate);
    }
}

TEST_F(OpenComm, NewBufferSizesPurgeTheQueue) {
    Peer.Send("stale");
    char Buffer[5];
    ASSERT_EQ(Comm.Read(Buffer, 1, 1000), 1u);
    std::this_thread::sleep_for(20ms);
    Comm.Buffers().SetInputSize(1024);
    EXPECT_EQ(Comm.InputQueueCount(), 0u);
    EXPECT_EQ(Comm.Buffers().InputSize(), 1024);
}

TEST_F(OpenComm, BaudRateReadBackFromTheDevice) {
    Comm.CloseDevice();
    Comm.SetBaudRate(brCustom);
    Comm.SetBaudValue(38400);
    Comm.OpenDevice();
    EXPECT_EQ(Comm.BaudRate(), brCustom) << "a stored brCustom stays";
    Comm.SetBaudRate(br4800);
    EXPECT_EQ(Comm.BaudRate(), br4800);
}

TEST_F(OpenComm, SettingsATtyCannotTakeFail) {
    struct TCase {
        const char* Name;
        std::function<void(TXComm&)> Set;
        const char* Reason;
    };
    const TCase Cases[] = {
        {"4 data bits", [](TXComm& C) { C.DataControl().SetDataBits(db4); }, "5 to 8 data bits"},
        {"1.5 stop bits", [](TXComm& C) { C.DataControl().SetStopBits(sb1p5); },
         "1.5 stop bits need 5 data bits"},
        {"DSR flow", [](TXComm& C) { C.SetFlowControl(fcDtrDsr); }, "DSR output flow control"},
        {"abort on error", [](TXComm& C) { C.SetOptions({coAbortOnError}); },
         "abort transfers on errors"},
        // A pseudo-terminal keeps 8 data bits without parity.
        {"7 data bits on a pty", [](TXComm& C) { C.DataControl().SetDataBits(db7); },
         "does not take these data bits"},
        {"parity on a pty", [](TXComm& C) { C.DataControl().SetParity(paEven); },
         "does not take this parity"},
    };
    Comm.CloseDevice();
    for (const TCase& Case : Cases) {
        TXComm Fresh;
        Fresh.SetDeviceName(Peer.Path());
        Fresh.SetSynchronize(false);
        Fresh.OpenDevice();
        try {
            Case.Set(Fresh);
            ADD_FAILURE() << Case.Name << " accepted";
        } catch (const EDeviceError& E) {
            EXPECT_EQ(E.ErrorCode(), 3) << Case.Name;
            EXPECT_EQ(E.Message().rfind("Unable to update device control block. (", 0), 0u)
                << E.Message();
            EXPECT_NE(E.Message().find(Case.Reason), std::string::npos) << E.Message();
        }
        Fresh.CloseDevice();
    }
}

TEST_F(OpenComm, HangUpMakesTransfersFail) {
    EXPECT_FALSE(Comm.LineLost());
    Peer.HangUp();
    std::string S;
    // The driver notices the hang-up on its own thread.
    for (int Tries = 0; Tries < 200; ++Tries) {
        try {
            Comm.ReadString(S);
        } catch (const EDeviceError&) {
            break;
        }
        std::this_thread::sleep_for(10ms);
    }
    ExpectDeviceError([&] { Comm.ReadString(S); }, 10,
                      "Unable to read from port. (system error 5: Input/output error)");
    EXPECT_TRUE(Comm.LineLost());
    char Buffer[4];
    EXPECT_THROW(Comm.Read(Buffer, 4, 100), EDeviceError);
    try {
        Comm.WriteString("abc");
        ADD_FAILURE() << "write after hang-up";
    } catch (const EDeviceError& E) {
        EXPECT_EQ(E.ErrorCode(), 11);
        EXPECT_EQ(E.Message().rfind("Unable to write to port. (system error ", 0), 0u)
            << E.Message();
    }
    Comm.CloseDevice();
}

// A sensor that answers and then goes (an adapter unplugged right after
// its reply): the reply it gave is still read, and only then the loss.
TEST_F(OpenComm, BytesReceivedBeforeAHangUpAreReadFirst) {
    Peer.Send("reply");
    for (int Tries = 0; Tries < 200 && Comm.InputQueueCount() < 5; ++Tries)
        std::this_thread::sleep_for(5ms);
    Peer.HangUp();
    for (int Tries = 0; Tries < 200 && !Comm.LineLost(); ++Tries)
        std::this_thread::sleep_for(5ms);
    ASSERT_TRUE(Comm.LineLost());
    std::string S;
    EXPECT_TRUE(Comm.ReadString(S));
    EXPECT_EQ(S, "reply");
    ExpectDeviceError([&] { Comm.ReadString(S); }, 10,
                      "Unable to read from port. (system error 5: Input/output error)");
    Comm.CloseDevice();
}

} // namespace
