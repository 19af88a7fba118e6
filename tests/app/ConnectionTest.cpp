// The polling period the window takes, and the reasons it gives when a port
// does not open, from real failures of real devices.

#include "app/Connection.h"
#include "serial/XComDrv.h"
#include "tests/support/LocaleScope.h"
#include "tests/support/MessageOf.h"
#include "tests/support/PtyPeer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using testing::HasSubstr;
using testing::StartsWith;

TEST(PollingPeriod, WholeMillisecondsFromOneToADay) {
    TLocaleScope Scope(PeriodLocale);
    const std::pair<const char*, int> Taken[] = {
        {"1", 1000},
        {"0.2", 200},
        {"0.0015", 2},
        {"0.0025", 2},
        {"0.0006", 1},
        {"86400", 86400000},
        {"86400.0004", 86400000},
    };
    for (auto [Text, MSec] : Taken)
        EXPECT_EQ(PollingPeriodMSec(Text), MSec) << Text;

    for (const char* Text : {"0", "-1", "0.0004", "0.0005", "86400.0006", "1e300", "-1e300"})
        EXPECT_EQ(MessageOf([&] { PollingPeriodMSec(Text); }),
                  "The polling period " + std::string(Text) +
                      " is out of range. The polling period is given in seconds, from "
                      "0.001 to 86400.");
    EXPECT_EQ(MessageOf([] { PollingPeriodMSec("1s"); }),
              "'1s' is not a valid floating point value\nThe polling period is given in "
              "seconds, from 0.001 to 86400.");
}

TEST(PollingPeriod, RangeInTheUsersDecimalSeparator) {
    TLocaleScope Scope(CommaLocale);
    EXPECT_EQ(PollingPeriodMSec("0,5"), 500);
    EXPECT_THAT(MessageOf([] { PollingPeriodMSec("0"); }), HasSubstr("from 0,001 to 86400."));
}

// What opening Port raises, in the window's words.
std::string OpenFailure(const std::string& Port) {
    TXComm Comm;
    Comm.SetDeviceName(Port);
    try {
        Comm.OpenDevice();
    } catch (const EDeviceError& E) {
        return OpenFailureText(Port, E);
    }
    return "opened";
}

// A child process holds Path open and locked, as another program using the
// port does, until the object goes.
class TOtherProgram {
  public:
    explicit TOtherProgram(const std::string& Path) {
        int Ready[2];
        if (pipe(Ready) != 0)
            throw std::runtime_error("pipe failed");
        FPid = fork();
        if (FPid == 0) {
            int Fd = open(Path.c_str(), O_RDWR | O_NOCTTY);
            char Ok = Fd >= 0 && flock(Fd, LOCK_EX | LOCK_NB) == 0 ? 'y' : 'n';
            (void)!write(Ready[1], &Ok, 1);
            pause();
            _exit(0);
        }
        close(Ready[1]);
        char Ok = 'n';
        (void)!read(Ready[0], &Ok, 1);
        close(Ready[0]);
        if (Ok != 'y')
            throw std::runtime_error("the other program could not take " + Path);
    }
    ~TOtherProgram() {
        kill(FPid, SIGKILL);
        waitpid(FPid, nullptr, 0);
    }

  private:
    pid_t FPid = -1;
};

TEST(OpenFailure, SaysWhyInTheUsersTerms) {
    EXPECT_EQ(OpenFailure("/dev/no-such-serial-port"),
              "There is no serial device /dev/no-such-serial-port. Check the port name and that "
              "the adapter is plugged in.");
    // Names without "/" are looked up in /dev.
    EXPECT_THAT(OpenFailure("ttyNoSuchAdapter"),
                StartsWith("There is no serial device /dev/ttyNoSuchAdapter."));
    EXPECT_EQ(OpenFailure("/dev/null"), "/dev/null is not a serial device.");
    EXPECT_EQ(OpenFailure("/tmp"), "/tmp is not a serial device.");

    TPtyPeer Port;
    TOtherProgram Other(Port.Path());
    EXPECT_EQ(OpenFailure(Port.Path()), Port.Path() + " is busy: another program is using it.");
}

TEST(OpenFailure, PermissionDeniedPointsToTheDialoutGroup) {
    TPtyPeer Port;
    ASSERT_EQ(chmod(Port.Path().c_str(), 0), 0);
    // Root opens any node: the open is tried by a process of the user
    // "nobody" then.
    int Result[2];
    ASSERT_EQ(pipe(Result), 0);
    pid_t Pid = fork();
    if (Pid == 0) {
        std::string Text =
            geteuid() == 0 && setuid(65534) != 0 ? "cannot drop root" : OpenFailure(Port.Path());
        (void)!write(Result[1], Text.data(), Text.size());
        _exit(0);
    }
    close(Result[1]);
    std::string Text;
    char Buffer[256];
    for (ssize_t N; (N = read(Result[0], Buffer, sizeof Buffer)) > 0;)
        Text.append(Buffer, std::size_t(N));
    close(Result[0]);
    waitpid(Pid, nullptr, 0);
    if (Text == "cannot drop root")
        GTEST_SKIP() << Text;
    EXPECT_EQ(Text, "Permission denied for " + Port.Path() +
                        ". Serial ports are open to the members of the dialout group: sudo "
                        "adduser $USER dialout, then log in again.");
}

TEST(OpenFailure, OtherFailuresKeepTheComponentsText) {
    EXPECT_EQ(OpenFailureText("COM3", EDeviceError("Unable to update Timeouts.", 7, EINVAL)),
              "Unable to update Timeouts.");
    EXPECT_EQ(OpenFailureText("COM3", EDeviceError("Cannot open device COM3", 65535, ELOOP)),
              "Cannot open device COM3 (system error 40: Too many levels of symbolic links)");
}

TEST(PortFailure, TellsTheLostLineApartFromOtherFailures) {
    EXPECT_EQ(PortFailureText("/dev/ttyUSB0", true, "Unable to read from port. (system error 5)"),
              "The serial line was lost: /dev/ttyUSB0. The port is closed; the log, the plot and "
              "the displays keep their data.\nUnable to read from port. (system error 5)");
    EXPECT_THAT(PortFailureText("COM1", false, "Unable to write to port."),
                StartsWith("The serial port COM1 failed. The port is closed;"));
}

} // namespace
