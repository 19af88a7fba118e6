// The polling cycle with a real TXComm against tools/sensor-sim on a
// pseudo-terminal; and the window against it.

#include "app/PollingCycle.h"
#include "app/Unit1.h"
#include "serial/XComDrv.h"
#include "tests/app/SensorSimProcess.h"
#include "tests/app/YesDialogs.h"
#include "tests/support/LocaleScope.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace std::chrono_literals;
using TClock = std::chrono::steady_clock;

// The window's neighbours of the cycle, with the real port.
class TPortWindow : public TPollingNeighbours {
  public:
    bool PortIsOpen() override { return Port.IsOpen(); }
    std::string PortReadString() override {
        std::string S;
        Port.ReadString(S);
        Trace.push_back("read " + std::to_string(S.size()));
        return S;
    }
    void PortWriteString(const std::string& Data) override {
        Port.WriteString(Data);
        Trace.push_back("write");
    }
    // As the window does: close, and keep the message the user would see.
    void PortFailed(const std::string& Reason) override {
        Failures.push_back(Reason);
        Port.CloseDevice();
    }
    void SetDisplayValue(int, double) override {}
    void SetDisplayVisible(int, bool) override {}
    void AddXY(int, double, double) override {}
    void AppendLogLine(const std::string& Line) override { Log.push_back(Line); }
    TDateTime LocalTime() override { return Now(); }
    void Pause(int MSec) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(MSec));
        Trace.push_back("pause " + std::to_string(MSec));
    }
    int RandomDigit() override { return 0; }

    TXComm Port;
    std::vector<std::string> Trace, Log, Failures;
};

class SerialPolling : public ::testing::Test {
  protected:
    void Start(std::vector<std::string> Options) {
        Sim = std::make_unique<TSensorSim>(std::move(Options));
        Window.Port.SetDeviceName(Sim->Path);
        Window.Port.SetSynchronize(false);
        Window.Port.OpenDevice();
        Cycle.MeasurementKind = mkTemperature;
    }
    // Waits for a whole reply, at most Limit; then one tick.
    void Tick(std::chrono::milliseconds Limit = 1000ms) {
        auto End = TClock::now() + Limit;
        while (Window.Port.IsOpen() && Window.Port.InputQueueCount() < 9 && TClock::now() < End)
            std::this_thread::sleep_for(2ms);
        Window.Trace.clear();
        Cycle.Timer1Timer();
    }
    std::vector<std::string> TickTrace() { return Window.Trace; }

    TLocaleScope Period{PeriodLocale};
    std::unique_ptr<TSensorSim> Sim;
    TPortWindow Window;
    TPollingCycle Cycle{Window};
};

const std::regex SampleLine(R"(\d\d:\d\d:\d\d,23\.5,24\.1)");

TEST_F(SerialPolling, TenTicksLogTenSamples) {
    Start({"--temp1", "23.5", "--temp2", "24.1"});
    Tick(0ms); // the first tick only asks
    EXPECT_EQ(TickTrace(), (std::vector<std::string>{"read 0", "pause 25", "write"}));
    for (int I = 0; I < 10; ++I)
        Tick();
    ASSERT_EQ(Window.Log.size(), 10u);
    for (const std::string& Line : Window.Log)
        EXPECT_TRUE(std::regex_match(Line, SampleLine)) << Line;
    EXPECT_EQ(TickTrace(), (std::vector<std::string>{"read 9", "write"}));
}

TEST_F(SerialPolling, WrongCrcDropsTheSampleAndSendsNothing) {
    Start({"--bad-crc", "3"});
    Tick(0ms);
    Tick();
    Tick(); // sends request 3
    ASSERT_EQ(Window.Log.size(), 2u);
    Tick();
    EXPECT_EQ(TickTrace(), (std::vector<std::string>{"read 9", "pause 25"}));
    EXPECT_EQ(Window.Log.size(), 2u);
    Tick(0ms);
    EXPECT_EQ(TickTrace(), (std::vector<std::string>{"read 0", "pause 25", "write"}));
    Tick();
    EXPECT_EQ(Window.Log.size(), 3u);
}

TEST_F(SerialPolling, SilenceIsAskedAgainAfterThePause) {
    Start({"--silence", "2"});
    Tick(0ms);
    Tick(); // sends request 2, which gets no answer
    ASSERT_EQ(Window.Log.size(), 1u);
    auto Before = TClock::now();
    Tick(100ms);
    EXPECT_GE(TClock::now() - Before, 125ms);
    EXPECT_EQ(TickTrace(), (std::vector<std::string>{"read 0", "pause 25", "write"}));
    Tick();
    EXPECT_EQ(Window.Log.size(), 2u);
    EXPECT_TRUE(std::regex_match(Window.Log.back(), SampleLine)) << Window.Log.back();
}

TEST_F(SerialPolling, ALostLineIsReportedOnceAndPollingStops) {
    // The simulated sensor ends after its second reply, and its end of the
    // line with it.
    Start({"--hang-up", "2"});
    Tick(0ms);
    Tick();
    ASSERT_EQ(Window.Log.size(), 1u);
    // The driver notices the loss on its own thread.
    for (auto End = TClock::now() + 2s; !Window.Port.LineLost() && TClock::now() < End;)
        std::this_thread::sleep_for(5ms);
    // The reply that came before the loss is still taken; the request
    // after it finds the line gone.
    Tick(0ms);
    EXPECT_EQ(Window.Log.size(), 2u);
    EXPECT_EQ(Window.Failures, std::vector<std::string>{"Unable to write to port. (system error 5: "
                                                        "Input/output error)"});
    EXPECT_FALSE(Window.Port.IsOpen());
    Tick(0ms);
    Tick(0ms);
    EXPECT_EQ(Window.Failures.size(), 1u);
    EXPECT_TRUE(TickTrace().empty()) << "a tick after the loss touched the port";
    EXPECT_EQ(Window.Log.size(), 2u);
}

TEST(SensorSim, VerboseMarksEveryFaultyReply) {
    const std::string Errors = testing::TempDir() + "sensor-sim-verbose.txt";
    {
        TSensorSim Sim(
            {"--verbose", "--bad-crc", "2", "--garbage", "3", "--short", "5", "--hang-up", "6"},
            Errors);
        TXComm Port;
        Port.SetDeviceName(Sim.Path);
        Port.SetSynchronize(false);
        Port.OpenDevice();
        for (int I = 0; I < 6; ++I) {
            Port.WriteString(PollRequest);
            std::this_thread::sleep_for(30ms);
        }
        // The simulator ends on its own after the sixth request.
        for (auto End = TClock::now() + 3s; !Port.LineLost() && TClock::now() < End;)
            std::this_thread::sleep_for(5ms);
        Port.CloseDevice();
    }
    std::ifstream File(Errors);
    std::vector<std::string> Lines;
    for (std::string Line; std::getline(File, Line);)
        Lines.push_back(Line);
    ASSERT_EQ(Lines.size(), 7u);
    EXPECT_EQ(Lines[0].find('['), std::string::npos) << Lines[0];
    EXPECT_NE(Lines[1].find("[bad CRC: both CRC bytes inverted]"), std::string::npos) << Lines[1];
    EXPECT_NE(Lines[2].find("[garbage: 3 bytes of noise before the reply]"), std::string::npos)
        << Lines[2];
    EXPECT_NE(Lines[4].find("[short: only the first 5 bytes]"), std::string::npos) << Lines[4];
    EXPECT_EQ(Lines[6], "hanging up");
}

// The simulated adapter is unplugged after its fifth request and comes back
// under the same name 300 ms later; the window waits for it and polls on.
TEST(WindowAgainstSensorSim, ReconnectsWhenTheLostPortComesBack) {
    QTemporaryDir Dir;
    const std::string Link = Dir.filePath("sensor").toStdString();
    auto Sim = std::make_unique<TSensorSim>(
        std::vector<std::string>{"--link", Link, "--reopen-after", "5", "--reopen-ms", "300"});
    ASSERT_EQ(Sim->Path, Link);
    TYesDialogs Dialogs;
    TForm1 Form1(Dialogs);
    auto State = [&] { return Form1.findChild<QLabel*>("StateLabel")->text().toStdString(); };
    auto LogLines = [&] {
        return Form1.findChild<QPlainTextEdit*>("Memo1")->toPlainText().count('\n');
    };
    Form1.SetPortName(QString::fromStdString(Link));
    Form1.findChild<QLineEdit*>("Edit2")->setText("0.05");
    Form1.findChild<QPushButton*>("Button2")->click();

    ASSERT_TRUE(WaitUntil([&] { return Form1.WaitingForPort(); }, 5s));
    ASSERT_EQ(Dialogs.Questions.size(), 1u);
    EXPECT_NE(Dialogs.Questions[0].find("The serial line was lost: " + Link), std::string::npos);
    EXPECT_EQ(State(), "Waiting for " + Link + " to come back");
    const auto Before = LogLines();
    EXPECT_GE(Before, 3);

    ASSERT_TRUE(WaitUntil([&] { return State().rfind("Reconnected", 0) == 0; }, 5s)) << State();
    EXPECT_EQ(State(), "Reconnected to " + Link);
    EXPECT_TRUE(Form1.XComm1().IsOpen());
    EXPECT_EQ(Form1.Timer1().Interval(), 50);
    EXPECT_TRUE(WaitUntil([&] { return LogLines() >= Before + 2; }, 3s));
    EXPECT_EQ(Dialogs.Questions.size(), 1u);
    EXPECT_TRUE(Dialogs.Messages.empty());

    Sim.reset();
    EXPECT_FALSE(std::filesystem::is_symlink(Link)) << "sensor-sim left its link behind";
}

} // namespace
