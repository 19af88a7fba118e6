// The main window driven through its handlers and widgets, offscreen.

#include "app/Unit1.h"
#include "app/Application.h"
#include "app/Connection.h"
#include "app/DataLog.h"
#include "app/ModbusCrc.h"
#include "app/PublisherDialog.h"
#include "plot/iPlot.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannel.h"
#include "plot/iPlotDataCursor.h"
#include "plot/iPlotLabel.h"
#include "plot/iPlotLegend.h"
#include "plot/iPlotToolBar.h"
#include "sevenseg/iSevenSegmentAnalog.h"
#include "tests/app/LoopbackPort.h"
#include "tests/support/LocaleScope.h"
#include "tests/support/PtyPeer.h"
#include "tests/support/QtTestEnvironment.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QScrollBar>
#include <QWheelEvent>

#include <csignal>
#include <fstream>
#include <optional>
#include <sstream>
#include <sys/resource.h>

[[maybe_unused]] testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new TQtTestEnvironment<TApplication>);

namespace {

using testing::ElementsAre;
using testing::HasSubstr;
using testing::StartsWith;

// Answers the window's dialogs: messages are kept, file dialogs return
// FileName or are cancelled when it is empty.
class TAnswers : public TUserDialogs {
  public:
    void ShowMessage(const std::string& Text) override { Messages.push_back(Text); }
    bool Confirm(const std::string& Text) override {
        Questions.push_back(Text);
        return Yes;
    }
    bool ExecuteSave(const std::string& InitialName, std::string& Name) override {
        return Answer(InitialName, Name);
    }
    bool ExecuteOpen(const std::string& InitialName, std::string& Name) override {
        return Answer(InitialName, Name);
    }

    std::vector<std::string> Messages, Questions;
    bool Yes = true; // the answer to every question
    std::optional<std::string> FileName;
    std::vector<std::string> InitialNames;

  private:
    bool Answer(const std::string& InitialName, std::string& Name) {
        InitialNames.push_back(InitialName);
        if (!FileName)
            return false;
        Name = *FileName;
        return true;
    }
};

std::string ReadFile(const std::string& Name) {
    std::ifstream File(Name, std::ios::binary);
    std::stringstream Text;
    Text << File.rdbuf();
    return Text.str();
}

void WriteFile(const std::string& Name, const std::string& Text) {
    std::ofstream(Name, std::ios::binary) << Text;
}

std::string WithCrc(const std::string& Frame) {
    return Frame + ModbusCrc16(Frame);
}

class MainWindow : public testing::Test {
  protected:
    template <typename T> T* W(const char* Name) {
        T* Widget = Form1.findChild<T*>(Name);
        EXPECT_NE(Widget, nullptr) << Name;
        return Widget;
    }
    std::string Caption() { return W<QPushButton>("Button2")->text().toStdString(); }
    std::string MemoText() { return W<QPlainTextEdit>("Memo1")->toPlainText().toStdString(); }
    TiPlot& Plot() { return *W<TiPlot>("iPlot1"); }
    // The points of a channel as (X, Y).
    std::vector<std::pair<double, double>> Points(int Channel) {
        std::vector<std::pair<double, double>> P;
        TiPlotChannelCustom& C = *Plot().Channel(Channel);
        for (int I = 0; I < C.Count(); ++I)
            P.emplace_back(C.GetX(I), C.GetY(I));
        return P;
    }
    void Start(const std::string& Port, const std::string& Period = "1") {
        Form1.SetPortName(QString::fromStdString(Port));
        W<QLineEdit>("Edit2")->setText(QString::fromStdString(Period));
        W<QPushButton>("Button2")->click();
    }
    std::string TempFile(const char* Name) { return Dir.filePath(Name).toStdString(); }
    std::string State() { return W<QLabel>("StateLabel")->text().toStdString(); }
    std::string Link() { return W<QLabel>("LinkLabel")->text().toStdString(); }

    TAnswers Dialogs;
    TForm1 Form1{Dialogs};
    QTemporaryDir Dir;
};

struct TPlace {
    const char* Name;
    int Left, Top, Width, Height;
};

TEST_F(MainWindow, ElementsStandWhereTheStoredLayoutPutsThem) {
    Form1.show();
    EXPECT_EQ(Form1.windowTitle().toStdString(), "Tessaro-传感器实时监测软件");
    EXPECT_EQ(Form1.centralWidget()->width(), 770);
    const TPlace Places[] = {
        {"Panel3", 0, 1, 770, 48},
        {"SpeedButton1", 8, 8, 113, 33},
        {"SpeedButton2", 128, 8, 113, 33},
        {"Label1", 536, 14, 131, 25},
        {"Edit2", 656, 12, 89, 33},
        {"Panel1", 0, 49, 770, 67},
        {"rzlabel1", 24, 24, 150, 25},
        {"Button1", 416, 8, 75, 25},
        {"CheckBox1", 537, 8, 97, 17},
        // Grown to the left, into free room, for the by-id names.
        {"Edit1", 392, 22, 249, 33},
        {"Button2", 652, 23, 100, 30},
        {"PageControl1", 0, 116, 770, 556},
        // Moved down by 10 and sized for one decimal at creation.
        {"iSevenSegmentAnalog1", 170, 24, 84, 28},
        {"iSevenSegmentAnalog2", 296, 24, 84, 28},
    };
    for (const TPlace& P : Places) {
        QWidget* Widget = W<QWidget>(P.Name);
        EXPECT_EQ(Widget->geometry(), QRect(P.Left, P.Top, P.Width, P.Height)) << P.Name;
    }
    EXPECT_EQ(W<QWidget>("iPlot1")->parentWidget(), W<QWidget>("TabSheet1"));
    EXPECT_EQ(W<QWidget>("iPlot1")->size(), W<QWidget>("TabSheet1")->size());
    W<QTabWidget>("PageControl1")->setCurrentIndex(1);
    EXPECT_EQ(W<QWidget>("Memo1")->size(), W<QWidget>("TabSheet2")->size());
}

TEST_F(MainWindow, CaptionsFontsAndVisibility) {
    Form1.show();
    struct TText {
        const char* Name;
        const char* Text;
        int FontPixels;
    };
    const TText Texts[] = {
        {"SpeedButton1", "保存文件", 19},
        {"SpeedButton2", "打开文件", 19},
        {"Label1", "采集周期(秒)    ", 19},
        {"Edit2", "1", 19},
        {"rzlabel1", "实时温度(°C)", 19},
        {"Button2", "打开串口", 20},
        {"Button1", "test", 11},
        {"CheckBox1", "高速采集", 11},
        {"Panel2", "传感器实时监测软件", 31},
    };
    for (const TText& T : Texts) {
        QWidget* Widget = W<QWidget>(T.Name);
        Widget->ensurePolished();
        EXPECT_EQ(Widget->property("text").toString().toStdString(), T.Text) << T.Name;
        EXPECT_EQ(Widget->font().pixelSize(), T.FontPixels) << T.Name;
    }
    auto* Port = W<QComboBox>("Edit1");
    EXPECT_TRUE(Port->isEditable());
    EXPECT_EQ(Port->currentText().toStdString(), "COM1");
    EXPECT_EQ(Port->lineEdit()->font().pixelSize(), 19);
    for (const char* Hidden : {"Panel2", "Button1", "CheckBox1", "iSevenSegmentAnalog2"})
        EXPECT_FALSE(W<QWidget>(Hidden)->isVisible()) << Hidden;
    EXPECT_TRUE(W<QToolButton>("SpeedButton1")->autoRaise());
    EXPECT_FALSE(W<QToolButton>("SpeedButton2")->icon().isNull());
    EXPECT_EQ(Form1.windowIcon().availableSizes().value(0), QSize(32, 32));

    auto* Pages = W<QTabWidget>("PageControl1");
    EXPECT_EQ(Pages->currentIndex(), 0);
    EXPECT_EQ(Pages->tabText(0).toStdString(), "曲      线");
    EXPECT_EQ(Pages->tabText(1).toStdString(), "数      据");
    auto* Memo = W<QPlainTextEdit>("Memo1");
    EXPECT_FALSE(Memo->isReadOnly());
    EXPECT_EQ(Memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(Memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(Memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

TEST_F(MainWindow, DisplaysShowOneDecimalInLime) {
    for (const char* Name : {"iSevenSegmentAnalog1", "iSevenSegmentAnalog2"}) {
        auto* D = W<TiSevenSegmentAnalog>(Name);
        EXPECT_EQ(D->Precision(), 1) << Name;
        EXPECT_EQ(D->SegmentColor(), TColor(0x00FF00)) << Name;
    }
}

TEST_F(MainWindow, PlotIsSetUpForTemperature) {
    TiPlot& P = Plot();
    EXPECT_EQ(P.TitleText(), "实时温度曲线");
    EXPECT_TRUE(P.BackGroundGradientEnabled());
    EXPECT_EQ(P.BackGroundGradientStartColor(), clBlue);
    EXPECT_EQ(P.BackGroundGradientStopColor(), clBlack);
    EXPECT_EQ(P.TitleFont().Name(), "Arial");
    EXPECT_EQ(P.TitleFont().Height(), -19);
    EXPECT_EQ(P.TitleFont().Color(), clWhite);
    EXPECT_EQ(P.DataCursorCount(), 1);
    EXPECT_FALSE(P.DataCursor(0)->Visible());
    EXPECT_EQ(P.DataCursor(0)->Style(), ipcsValueXY);
    EXPECT_EQ(P.DataCursor(0)->Color(), clYellow);
    EXPECT_EQ(P.DataCursor(0)->Channel(), P.Channel(0)) << "it reads channel 0";
    ASSERT_EQ(P.ToolBarCount(), 1);
    EXPECT_EQ(P.ToolBar(0)->Name(), "Toolbar 1");
    EXPECT_TRUE(P.ToolBar(0)->Horizontal());
    EXPECT_TRUE(P.ToolBar(0)->FlatBorder());
    EXPECT_TRUE(P.ToolBar(0)->FlatButtons());
    EXPECT_TRUE(P.ToolBar(0)->SmallButtons());
    EXPECT_EQ(P.ToolBar(0)->ZoomInOutFactor(), 2);
    ASSERT_EQ(P.LegendCount(), 1);
    EXPECT_FALSE(P.Legend(0)->Horizontal());
    EXPECT_EQ(P.Legend(0)->Font().Color(), clWhite);
    EXPECT_EQ(P.Legend(0)->ColumnTitlesFont().Color(), clAqua);
    // Toolbar on top above the title, legend on the right.
    EXPECT_GT(P.ToolBar(0)->ZOrder(), P.Label(0)->ZOrder());

    ASSERT_EQ(P.YAxisCount(), 1);
    TiPlotYAxis& Y = *P.YAxis(0);
    EXPECT_EQ(Y.Name(), "Y-Axis 1");
    EXPECT_EQ(Y.Span(), 40);
    EXPECT_EQ(Y.Min(), 0);
    EXPECT_EQ(Y.Title(), "温度值(°C)");
    EXPECT_TRUE(Y.TitleShow());
    EXPECT_EQ(Y.LabelsFont().Color(), clWhite);
    EXPECT_EQ(Y.TitleFont().Color(), clWhite);

    ASSERT_EQ(P.XAxisCount(), 1);
    TiPlotXAxis& X = *P.XAxis(0);
    EXPECT_EQ(X.Title(), "采样时间(S)");
    EXPECT_TRUE(X.TitleShow());
    EXPECT_EQ(X.Span(), 100);
    EXPECT_EQ(X.LabelsFont().Color(), clRed);

    ASSERT_EQ(P.ChannelCount(), 2);
    auto& C0 = static_cast<TiPlotChannel&>(*P.Channel(0));
    auto& C1 = static_cast<TiPlotChannel&>(*P.Channel(1));
    EXPECT_EQ(C0.TitleText(), "温度1");
    EXPECT_EQ(C0.Color(), clRed);
    EXPECT_EQ(C0.InterpolationStyle(), ipistCubicSpline);
    EXPECT_EQ(C0.TraceLineWidth(), 2);
    EXPECT_EQ(C1.TitleText(), "温度2");
    EXPECT_EQ(C1.Color(), clYellow);
    EXPECT_EQ(C1.InterpolationStyle(), ipistStraightLine);
    EXPECT_EQ(C1.TraceLineWidth(), 2);
    for (TiPlotChannelCustom* C : {P.Channel(0), P.Channel(1)}) {
        EXPECT_EQ(C->XAxisName(), X.Name());
        EXPECT_EQ(C->YAxisName(), "Y-Axis 1");
    }
}

TEST_F(MainWindow, StartsIdle) {
    EXPECT_EQ(Caption(), "打开串口");
    EXPECT_FALSE(Form1.Timer1().Enabled());
    EXPECT_FALSE(Form1.Cycle().SimulationMode);
    EXPECT_EQ(Form1.Cycle().MeasurementKind, mkTemperature);
}

TEST_F(MainWindow, SimulationEveryHalfSecond) {
    Start("COM0", "0.5");
    EXPECT_TRUE(Form1.Cycle().SimulationMode);
    EXPECT_TRUE(Form1.Timer1().Ticking());
    EXPECT_EQ(Form1.Timer1().Interval(), 500);
    EXPECT_EQ(Caption(), "打开串口");
    for (int Wait = 0; Wait < 50 && Points(0).size() < 2; ++Wait)
        QTest::qWait(100);
    ASSERT_GE(Points(0).size(), 2u);
    const auto P = Points(0);
    EXPECT_EQ(P[0].first, 0);
    EXPECT_EQ(P[1].first, 1);
    for (const auto& [X, Y] : P) {
        EXPECT_GE(Y, 20.09);
        EXPECT_LE(Y, 29.11);
    }
    EXPECT_EQ(Points(1).size(), 0u);
    EXPECT_FALSE(W<QWidget>("iSevenSegmentAnalog2")->isVisible());
    EXPECT_THAT(MemoText(),
                testing::MatchesRegex("([0-9][0-9]:[0-9][0-9]:[0-9][0-9],2[0-9]\\.[0-9]\n)+"));
}

TEST_F(MainWindow, TheCommandLineFillsTheFieldsAndPressesTheButton) {
    EXPECT_EQ(W<QLineEdit>("Edit2")->text().toStdString(), DefaultPeriodText);
    Form1.SetPortName("COM0");
    Form1.SetPeriodText("0.25");
    EXPECT_EQ(W<QComboBox>("Edit1")->currentText().toStdString(), "COM0");
    Form1.ClickButton2();
    EXPECT_TRUE(Form1.Cycle().SimulationMode);
    EXPECT_TRUE(Form1.Timer1().Ticking());
    EXPECT_EQ(Form1.Timer1().Interval(), 250);

    // A port that does not open says why, as after a click.
    Form1.SetPortName("/dev/no-such-port");
    Form1.ClickButton2();
    ASSERT_EQ(Dialogs.Messages.size(), 1u);
    EXPECT_THAT(Dialogs.Messages[0], HasSubstr("There is no serial device /dev/no-such-port"));
}

TEST_F(MainWindow, PeriodIsRoundedToMillisecondsHalvesToEven) {
    for (auto [Period, MSec] : {std::pair{"1", 1000}, std::pair{"0.2", 200}, std::pair{"0.0015", 2},
                                std::pair{"0.0025", 2}}) {
        Start("COM0", Period);
        EXPECT_EQ(Form1.Timer1().Interval(), MSec) << Period;
        EXPECT_TRUE(Form1.Timer1().Ticking()) << Period;
    }
    EXPECT_TRUE(Dialogs.Messages.empty());
}

TEST_F(MainWindow, PeriodsThatNeverTickAreRefusedAndChangeNothing) {
    Start("COM0", "2");
    for (const char* Period : {"0", "-1", "0.0004", "100000"}) {
        Dialogs.Messages.clear();
        Start("COM0", Period);
        ASSERT_EQ(Dialogs.Messages.size(), 1u) << Period;
        EXPECT_THAT(Dialogs.Messages[0], HasSubstr("from 0.001 to 86400.")) << Period;
        EXPECT_EQ(Form1.Timer1().Interval(), 2000) << Period;
        EXPECT_TRUE(Form1.Timer1().Ticking()) << Period;
    }
}

TEST_F(MainWindow, SimulationWithABadPeriodShowsTheConversionError) {
    Start("COM0", "fast");
    EXPECT_THAT(Dialogs.Messages, ElementsAre(StartsWith("'fast' is not a valid floating point "
                                                         "value\nThe polling period is given")));
    EXPECT_FALSE(Form1.Cycle().SimulationMode);
    EXPECT_FALSE(Form1.Timer1().Enabled());
}

TEST_F(MainWindow, APortThatDoesNotExistFailsToOpenAndSaysWhy) {
    Start("/dev/no-such-serial-port");
    EXPECT_THAT(Dialogs.Messages,
                ElementsAre("串口打开失败\nThere is no serial device /dev/no-such-serial-port. "
                            "Check the port name and that the adapter is plugged in."));
    EXPECT_FALSE(Form1.Timer1().Enabled());
    EXPECT_FALSE(Form1.XComm1().IsOpen());
    EXPECT_EQ(Caption(), "打开串口");
}

TEST_F(MainWindow, ABadPeriodForAPortIsRefusedBeforeOpening) {
    TPtyPeer Sensor;
    for (const char* Period : {"1s", "0"}) {
        Dialogs.Messages.clear();
        Start(Sensor.Path(), Period);
        ASSERT_EQ(Dialogs.Messages.size(), 1u);
        EXPECT_THAT(Dialogs.Messages[0], StartsWith("串口打开失败\n"));
        EXPECT_THAT(Dialogs.Messages[0], HasSubstr("from 0.001 to 86400."));
        EXPECT_FALSE(Form1.Timer1().Enabled());
        EXPECT_FALSE(Form1.XComm1().IsOpen());
        EXPECT_EQ(Form1.XComm1().DeviceName(), "COM27") << "the port was opened";
        EXPECT_EQ(Caption(), "打开串口");
    }
}

TEST_F(MainWindow, PollsAPortAndClosingKeepsWhatWasShown) {
    TPtyPeer Sensor;
    Start(Sensor.Path());
    EXPECT_EQ(Caption(), "关闭串口");
    EXPECT_TRUE(Form1.Timer1().Enabled());
    EXPECT_EQ(Form1.XComm1().DeviceName(), Sensor.Path());

    Form1.Timer1Timer();
    EXPECT_EQ(Sensor.Receive(8), PollRequest);
    Sensor.Send(WithCrc(std::string("\x01\x03\x04\x00\xEB\x00\xF1", 7)));
    QTest::qWait(100);
    Form1.Timer1Timer();
    EXPECT_EQ(Sensor.Receive(8), PollRequest);
    EXPECT_THAT(MemoText(), testing::MatchesRegex("..:..:..,23\\.5,24\\.1\n"));
    EXPECT_TRUE(W<QWidget>("iSevenSegmentAnalog2")->isVisibleTo(&Form1));

    W<QPushButton>("Button2")->click();
    EXPECT_EQ(Caption(), "打开串口");
    EXPECT_FALSE(Form1.XComm1().IsOpen());
    EXPECT_TRUE(Form1.Timer1().Enabled());
    Form1.Timer1Timer();
    EXPECT_FLOAT_EQ(W<TiSevenSegmentAnalog>("iSevenSegmentAnalog1")->Value(), 23.5f);
    EXPECT_FLOAT_EQ(W<TiSevenSegmentAnalog>("iSevenSegmentAnalog2")->Value(), 24.1f);
    EXPECT_EQ(Points(0).size(), 1u);
    EXPECT_EQ(Points(1).size(), 1u);
    EXPECT_EQ(LogLines(MemoText()).size(), 1u);

    W<QPushButton>("Button2")->click();
    EXPECT_EQ(Caption(), "关闭串口");
}

TEST_F(MainWindow, APortOpenedAfterSimulationIsPolled) {
    Start("COM0");
    Form1.Timer1Timer();
    TPtyPeer Sensor;
    Start(Sensor.Path());
    EXPECT_EQ(Caption(), "关闭串口");
    EXPECT_FALSE(Form1.Cycle().SimulationMode);
    Form1.Timer1Timer();
    EXPECT_EQ(Sensor.Receive(8), PollRequest);
    EXPECT_EQ(Points(0).size(), 1u) << "a simulated sample beside the open port";

    // "COM0" closes the port and simulates again.
    Start("COM0");
    EXPECT_FALSE(Form1.XComm1().IsOpen());
    EXPECT_EQ(Caption(), "打开串口");
    EXPECT_TRUE(Form1.Cycle().SimulationMode);
    Form1.Timer1Timer();
    EXPECT_EQ(Points(0).size(), 2u);
}

// Opens a pseudo-terminal, directly or under a stable name (a link, as
// /dev/serial/by-id gives an adapter), takes one reply and unplugs the
// "adapter": the stable name goes with it.
class LostLine : public MainWindow {
  protected:
    void LoseTheLine(bool ByLink) {
        auto Sensor = std::make_unique<TPtyPeer>();
        Path = ByLink ? TempFile("adapter") : Sensor->Path();
        if (ByLink) {
            ASSERT_TRUE(
                QFile::link(QString::fromStdString(Sensor->Path()), QString::fromStdString(Path)));
        }
        Start(Path);
        Form1.Timer1Timer();
        Sensor->Receive(8);
        Sensor->Send(WithCrc(std::string("\x01\x03\x04\x00\xEB\x00\xF1", 7)));
        QTest::qWait(100);
        Form1.Timer1Timer();
        Memo = MemoText();
        Sensor.reset();
        if (ByLink)
            QFile::remove(QString::fromStdString(Path));
        for (int Wait = 0; Wait < 100 && !Form1.XComm1().LineLost(); ++Wait)
            QTest::qWait(10);
        for (int Tick = 0; Tick < 3; ++Tick)
            Form1.Timer1Timer();
    }
    // What stays after the loss, whatever the user answers.
    void ExpectClosedWithTheDataKept() {
        EXPECT_FALSE(Form1.XComm1().IsOpen());
        EXPECT_FALSE(Form1.Timer1().Enabled());
        EXPECT_EQ(MemoText(), Memo);
        EXPECT_EQ(Points(0).size(), 1u);
        EXPECT_FLOAT_EQ(W<TiSevenSegmentAnalog>("iSevenSegmentAnalog1")->Value(), 23.5f);
    }
    std::string Memo, Path;
};

TEST_F(LostLine, ClosesThePortAndOffersOnceToWaitForIt) {
    Dialogs.Yes = false;
    LoseTheLine(true);
    EXPECT_TRUE(Dialogs.Messages.empty());
    ASSERT_EQ(Dialogs.Questions.size(), 1u);
    EXPECT_THAT(Dialogs.Questions[0], StartsWith("The serial line was lost: " + Path));
    EXPECT_THAT(Dialogs.Questions[0], HasSubstr("\n\nWait for " + Path + " to come back"));
    ExpectClosedWithTheDataKept();
    EXPECT_FALSE(Form1.WaitingForPort());
    EXPECT_EQ(Caption(), "打开串口");
    EXPECT_EQ(State(), "Line lost: " + Path);
}

// A pseudo-terminal's number goes to the next terminal opened anywhere:
// waiting for it could open someone else's terminal.
TEST_F(LostLine, APseudoTerminalIsNotWaitedFor) {
    LoseTheLine(false);
    EXPECT_TRUE(Dialogs.Questions.empty());
    ASSERT_EQ(Dialogs.Messages.size(), 1u);
    EXPECT_THAT(Dialogs.Messages[0], StartsWith("The serial line was lost: /dev/pts/"));
    ExpectClosedWithTheDataKept();
    EXPECT_FALSE(Form1.WaitingForPort());
    EXPECT_EQ(Caption(), "打开串口");
}

TEST_F(LostLine, WaitingForThePortEndsWithTheButton) {
    LoseTheLine(true);
    ASSERT_EQ(Dialogs.Questions.size(), 1u);
    EXPECT_TRUE(Form1.WaitingForPort());
    EXPECT_EQ(State(), "Waiting for " + Path + " to come back");
    EXPECT_EQ(Caption(), "关闭串口");
    // The name does not come back: checks open nothing and ask nothing.
    QTest::qWait(TForm1::ReconnectCheckMSec + 200);
    EXPECT_TRUE(Form1.WaitingForPort());
    ExpectClosedWithTheDataKept();
    EXPECT_EQ(Dialogs.Questions.size(), 1u);
    EXPECT_TRUE(Dialogs.Messages.empty());

    W<QPushButton>("Button2")->click();
    EXPECT_FALSE(Form1.WaitingForPort());
    EXPECT_EQ(Caption(), "打开串口");
    EXPECT_EQ(State(), "Stopped waiting for " + Path);
}

// An undo in the log page would take samples back out; and a history of
// every appended line grew by about 100 bytes a line for the whole run.
TEST_F(MainWindow, LoggedLinesAreNotUndone) {
    Start("COM0", "86400");
    for (int Tick = 0; Tick < 3; ++Tick)
        Form1.Timer1Timer();
    const std::string Logged = MemoText();
    auto* Memo = W<QPlainTextEdit>("Memo1");
    EXPECT_FALSE(Memo->document()->isUndoAvailable());
    Memo->undo();
    EXPECT_EQ(MemoText(), Logged);
}

TEST_F(MainWindow, StatusBarCountsTheLinkAndStaleValuesDim) {
    const TColor Lime = 0x00FF00, Dimmed = 0x007F00;
    auto* Display1 = W<TiSevenSegmentAnalog>("iSevenSegmentAnalog1");
    auto* Display2 = W<TiSevenSegmentAnalog>("iSevenSegmentAnalog2");
    TPtyPeer Sensor;
    // Stale after three periods of 50 ms without a good value.
    Start(Sensor.Path(), "0.05");
    Form1.Timer1().SetEnabled(false); // the test ticks
    EXPECT_EQ(State(), "Polling " + Sensor.Path());
    EXPECT_EQ(Link(), "Requests 0   Good 0   CRC errors 0   Short or missing 0   Round trip -");
    const std::string Reply = WithCrc(std::string("\x01\x03\x04\x00\xEB\x00\xF1", 7));
    auto Send = [&](const std::string& Bytes) {
        Sensor.Send(Bytes);
        for (int Wait = 0; Wait < 200 && Form1.XComm1().InputQueueCount() < Bytes.size(); ++Wait)
            QTest::qWait(5);
    };
    auto Answer = [&](const std::string& Bytes) {
        Form1.Timer1Timer();
        ASSERT_EQ(Sensor.Receive(8), PollRequest);
        Send(Bytes);
    };
    Answer(Reply);
    Answer(Reply);
    Form1.Timer1Timer();
    EXPECT_THAT(Link(), StartsWith("Requests 3   Good 2   CRC errors 0   Short or missing 0   "
                                   "Round trip "));
    EXPECT_THAT(Link(), testing::Not(testing::EndsWith("-")));
    EXPECT_EQ(Display1->SegmentColor(), Lime);

    // No good value for more than three periods: both displays dim, and
    // the next good value brings them back.
    QTest::qWait(200);
    EXPECT_EQ(Display1->SegmentColor(), Dimmed);
    EXPECT_EQ(Display2->SegmentColor(), Dimmed);
    Send(Reply);
    Form1.Timer1Timer();
    EXPECT_EQ(Display1->SegmentColor(), Lime);
    EXPECT_EQ(Display2->SegmentColor(), Lime);

    // Closing and opening again starts the counts again.
    W<QPushButton>("Button2")->click();
    EXPECT_EQ(State(), "Closed " + Sensor.Path());
    W<QPushButton>("Button2")->click();
    EXPECT_THAT(Link(), StartsWith("Requests 0   Good 0"));
}

TEST_F(MainWindow, ThePortChooserKeepsWhatTheUserTyped) {
    auto* Port = W<QComboBox>("Edit1");
    EXPECT_EQ(Port->completer(), nullptr);
    Form1.SetPortName("ttyUSB1");
    QTest::keyClick(Port->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(Port->currentText().toStdString(), "ttyUSB1");
    EXPECT_EQ(Port->findText("ttyUSB1"), -1) << "a typed name joined the list";
    Start("/dev/no-such-serial-port");
    EXPECT_THAT(Dialogs.Messages, ElementsAre(HasSubstr("/dev/no-such-serial-port")));
}

TEST_F(MainWindow, SavedLogLoadsBackFromXZero) {
    for (int I = 0; I < 3; ++I)
        Form1.Button1Click();
    const std::string Memo = MemoText();
    Dialogs.FileName = TempFile("log.csv");
    W<QToolButton>("SpeedButton1")->click();
    EXPECT_THAT(Dialogs.InitialNames, ElementsAre("*.csv"));
    std::string Expected = Memo;
    for (std::size_t At = Expected.find('\n'); At != std::string::npos;
         At = Expected.find('\n', At + 2))
        Expected.insert(At, "\r");
    EXPECT_EQ(ReadFile(*Dialogs.FileName), Expected);

    W<QPlainTextEdit>("Memo1")->setPlainText("edited");
    W<QToolButton>("SpeedButton2")->click();
    EXPECT_TRUE(Dialogs.Messages.empty());
    EXPECT_EQ(MemoText(), Memo);
    const auto P = Points(0);
    ASSERT_EQ(P.size(), 6u);
    for (int I = 0; I < 3; ++I) {
        EXPECT_EQ(P[3 + I].first, I);
        EXPECT_EQ(P[3 + I].second, P[I].second);
    }
    EXPECT_EQ(Form1.Cycle().SampleCounter, 3);
}

TEST_F(MainWindow, TwoValueLinesLoadIntoBothChannels) {
    for (const char* Locale : {PeriodLocale, CommaLocale}) {
        TLocaleScope Scope(Locale);
        const bool Comma = DecimalSeparator() == ',';
        Dialogs.FileName = TempFile("two.csv");
        WriteFile(*Dialogs.FileName, Comma ? "08:05:09,23,5,24,1\r\n08:05:10,-1,0\r\n"
                                           : "08:05:09,23.5,24.1\r\n08:05:10,-1.0\r\n");
        Plot().Channel(0)->Clear();
        Plot().Channel(1)->Clear();
        W<QToolButton>("SpeedButton2")->click();
        EXPECT_TRUE(Dialogs.Messages.empty()) << Locale;
        EXPECT_THAT(Points(0), ElementsAre(std::pair(0.0, double(23.5f)), std::pair(1.0, -1.0)))
            << Locale;
        EXPECT_THAT(Points(1), ElementsAre(std::pair(0.0, double(24.1f)))) << Locale;
    }
}

TEST_F(MainWindow, LoaderTakesEveryKindOfLineEnd) {
    Dialogs.FileName = TempFile("ends.csv");
    WriteFile(*Dialogs.FileName, "00:00:01,1.0\r00:00:02,2.0\n00:00:03,3.0\r\n00:00:04,4.0");
    W<QToolButton>("SpeedButton2")->click();
    EXPECT_EQ(MemoText(), "00:00:01,1.0\n00:00:02,2.0\n00:00:03,3.0\n00:00:04,4.0");
    EXPECT_EQ(Points(0).size(), 4u);
    // A line typed without its end is ended before the next sample.
    Form1.Button1Click();
    EXPECT_THAT(MemoText(), testing::MatchesRegex("(.*\n){4}..:..:..,..\\..\n"));
}

TEST_F(MainWindow, LinesWithoutACommaAreNotPlotted) {
    Form1.Button1Click();
    Dialogs.FileName = TempFile("plain.txt");
    WriteFile(*Dialogs.FileName, "first\r\nsecond\r\n");
    W<QToolButton>("SpeedButton2")->click();
    EXPECT_EQ(MemoText(), "first\nsecond\n");
    EXPECT_EQ(Points(0).size(), 1u);
    EXPECT_EQ(Form1.Cycle().SampleCounter, 0);
}

TEST_F(MainWindow, CancellingTheLoadPlotsTheMemoAgain) {
    Form1.Button1Click();
    Form1.Button1Click();
    W<QToolButton>("SpeedButton2")->click();
    const auto P = Points(0);
    ASSERT_EQ(P.size(), 4u);
    EXPECT_EQ(P[2], std::pair(0.0, P[0].second));
    EXPECT_EQ(P[3], std::pair(1.0, P[1].second));
}

TEST_F(MainWindow, AValueThatIsNoLogValueStopsTheLoad) {
    // A value beyond a 32-bit float would be plotted as infinite.
    const std::pair<std::string, std::string> Cases[] = {
        {"warm", "'warm' is not a valid floating point value"},
        {"1e39", "'1e39' is out of the range of a log value"},
        {"-4e38", "'-4e38' is out of the range of a log value"},
    };
    for (const auto& [Bad, Message] : Cases) {
        SCOPED_TRACE(Bad);
        Dialogs.Messages.clear();
        Plot().Channel(0)->Clear();
        Dialogs.FileName = TempFile("edited.csv");
        const std::string Text = "00:00:01,1.0\r\n00:00:02," + Bad + "\r\n00:00:03,3.0\r\n";
        WriteFile(*Dialogs.FileName, Text);
        W<QToolButton>("SpeedButton2")->click();
        EXPECT_THAT(Dialogs.Messages, ElementsAre(Message));
        EXPECT_THAT(Points(0), ElementsAre(std::pair(0.0, 1.0)));
        EXPECT_EQ(MemoText(), "00:00:01,1.0\n00:00:02," + Bad + "\n00:00:03,3.0\n");
    }
}

TEST_F(MainWindow, FileErrorsChangeNothing) {
    Form1.Button1Click();
    const std::string Memo = MemoText();
    Dialogs.FileName = TempFile("missing/log.csv");
    W<QToolButton>("SpeedButton1")->click();
    W<QToolButton>("SpeedButton2")->click();
    ASSERT_EQ(Dialogs.Messages.size(), 2u);
    EXPECT_THAT(Dialogs.Messages[0], StartsWith("Cannot create file \"" + *Dialogs.FileName));
    EXPECT_THAT(Dialogs.Messages[1], StartsWith("Cannot open file \"" + *Dialogs.FileName));
    EXPECT_EQ(MemoText(), Memo);
    EXPECT_EQ(Form1.Cycle().SampleCounter, 1);
    EXPECT_EQ(Points(0).size(), 1u);
}

TEST_F(MainWindow, CancellingTheSaveWritesNothing) {
    Form1.Button1Click();
    W<QToolButton>("SpeedButton1")->click();
    EXPECT_TRUE(QDir(Dir.path()).isEmpty());
    EXPECT_TRUE(Dialogs.Messages.empty());
}

TEST_F(MainWindow, SavingOverAFileAsksFirst) {
    Dialogs.FileName = TempFile("kept.csv");
    WriteFile(*Dialogs.FileName, "00:00:01,1.0\r\n");
    Dialogs.Yes = false;
    W<QToolButton>("SpeedButton1")->click();
    EXPECT_THAT(Dialogs.Questions,
                ElementsAre("\"" + *Dialogs.FileName + "\" already exists. Replace it?"));
    EXPECT_EQ(ReadFile(*Dialogs.FileName), "00:00:01,1.0\r\n");

    Form1.Button1Click();
    Dialogs.Yes = true;
    W<QToolButton>("SpeedButton1")->click();
    EXPECT_EQ(ReadFile(*Dialogs.FileName), MemoText().insert(MemoText().size() - 1, "\r"));
    // A new file is written without a question.
    Dialogs.Questions.clear();
    Dialogs.FileName = TempFile("new.csv");
    W<QToolButton>("SpeedButton1")->click();
    EXPECT_TRUE(Dialogs.Questions.empty());
}

TEST_F(MainWindow, LoadingOverUnsavedLinesAsksFirst) {
    Dialogs.FileName = TempFile("other.csv");
    WriteFile(*Dialogs.FileName, "00:00:01,1.0\r\n");
    Form1.Button1Click();
    const std::string Unsaved = MemoText();
    Dialogs.Yes = false;
    W<QToolButton>("SpeedButton2")->click();
    ASSERT_EQ(Dialogs.Questions.size(), 1u);
    EXPECT_THAT(Dialogs.Questions[0], StartsWith("The log has lines that were not saved."));
    EXPECT_EQ(MemoText(), Unsaved);
    EXPECT_EQ(Points(0).size(), 1u);

    // Once saved, the lines are replaced without a question.
    Dialogs.Questions.clear();
    Dialogs.FileName = TempFile("saved.csv");
    W<QToolButton>("SpeedButton1")->click();
    Dialogs.FileName = TempFile("other.csv");
    W<QToolButton>("SpeedButton2")->click();
    EXPECT_TRUE(Dialogs.Questions.empty());
    EXPECT_EQ(MemoText(), "00:00:01,1.0\n");
}

TEST_F(MainWindow, AFileThatIsNotTextIsRefusedAndChangesNothing) {
    Form1.Button1Click();
    const std::string Memo = MemoText();
    std::string Binary;
    for (int I = 0; I < 4096; ++I)
        Binary += char(I * 37 % 251);
    Dialogs.FileName = TempFile("picture.png");
    WriteFile(*Dialogs.FileName, Binary);
    W<QToolButton>("SpeedButton2")->click();
    EXPECT_THAT(Dialogs.Messages, ElementsAre("Cannot load \"" + *Dialogs.FileName +
                                              "\": it is not a text file. The log is unchanged."));
    EXPECT_TRUE(Dialogs.Questions.empty());
    EXPECT_EQ(MemoText(), Memo);
    EXPECT_EQ(Points(0).size(), 1u);
    EXPECT_EQ(Form1.Cycle().SampleCounter, 1);
}

TEST_F(MainWindow, ALoadedLogIsSavedWithTheBytesOfEveryLine) {
    const std::string Files[] = {
        // UTF-8 with a byte order mark, a no-break space, a tab and Chinese.
        "\xEF\xBB\xBF"
        "00:00:01,1.0\r\n\xE6\xB8\xA9\xE5\xBA\xA6\xC2\xA0"
        "a\tb\r\n00:00:02,2.0",
        // GBK, as a Chinese Windows editor saves it.
        "\xCE\xC2\xB6\xC8 23.5\r\n00:00:01,1.0\r\n",
        // Latin-1.
        "temp\xE9rature\r\n00:00:01,1.0\r\n",
    };
    for (const std::string& File : Files) {
        const std::string In = TempFile("in.csv"), Out = TempFile("out.csv");
        WriteFile(In, File);
        Dialogs.FileName = In;
        W<QToolButton>("SpeedButton2")->click();
        Dialogs.FileName = Out;
        W<QToolButton>("SpeedButton1")->click();
        EXPECT_EQ(ReadFile(Out), File);
        EXPECT_TRUE(Dialogs.Messages.empty()) << Dialogs.Messages.front();
    }
    // Only the line ends become CR LF.
    WriteFile(TempFile("in.csv"), "a\xC2\xA0\rb\n");
    Dialogs.FileName = TempFile("in.csv");
    W<QToolButton>("SpeedButton2")->click();
    Dialogs.FileName = TempFile("out.csv");
    W<QToolButton>("SpeedButton1")->click();
    EXPECT_EQ(ReadFile(TempFile("out.csv")), "a\xC2\xA0\r\nb\r\n");
}

TEST_F(MainWindow, ASaveThatFailsHalfWayKeepsTheEarlierFile) {
    for (int I = 0; I < 200; ++I)
        Form1.Button1Click();
    Dialogs.FileName = TempFile("log.csv");
    WriteFile(*Dialogs.FileName, "00:00:01,1.0\r\n");
    // A file size limit fails the write as a full disk does.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit Before;
    getrlimit(RLIMIT_FSIZE, &Before);
    rlimit Small = Before;
    Small.rlim_cur = 1000;
    setrlimit(RLIMIT_FSIZE, &Small);
    W<QToolButton>("SpeedButton1")->click();
    setrlimit(RLIMIT_FSIZE, &Before);
    ASSERT_EQ(Dialogs.Messages.size(), 1u);
    EXPECT_THAT(Dialogs.Messages[0], StartsWith("Cannot write file \"" + *Dialogs.FileName));
    EXPECT_EQ(ReadFile(*Dialogs.FileName), "00:00:01,1.0\r\n");
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files), QStringList{"log.csv"});
}

TEST_F(MainWindow, TheLogShowsTheNewestLineUntilTheUserScrollsUp) {
    Form1.show();
    W<QTabWidget>("PageControl1")->setCurrentIndex(1);
    QScrollBar* Bar = W<QPlainTextEdit>("Memo1")->verticalScrollBar();
    for (int I = 0; I < 100; ++I)
        Form1.Button1Click();
    ASSERT_GT(Bar->maximum(), 0);
    EXPECT_EQ(Bar->value(), Bar->maximum());

    // The wheel scrolls up; new lines then leave the view where it is.
    QWheelEvent Up(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(W<QPlainTextEdit>("Memo1")->viewport(), &Up);
    const int Reading = Bar->value();
    EXPECT_LT(Reading, Bar->maximum());
    Form1.Button1Click();
    EXPECT_EQ(Bar->value(), Reading);

    // Back at the end by keyboard, it follows again.
    W<QPlainTextEdit>("Memo1")->setFocus();
    QTest::keyClick(W<QPlainTextEdit>("Memo1"), Qt::Key_End, Qt::ControlModifier);
    EXPECT_GT(Bar->value(), Reading);
    Form1.Button1Click();
    EXPECT_EQ(Bar->value(), Bar->maximum());
}

// An object whose events fail.
class TFailing : public QObject {
  protected:
    bool event(QEvent*) override { throw Exception("failed in an event"); }
};

TEST(Application, DefaultHandlerShowsTheMessageAndGoesOn) {
    auto& Application = static_cast<TApplication&>(*qApp);
    TAnswers Dialogs;
    TUserDialogs& Before = Application.Dialogs();
    Application.SetDialogs(Dialogs);
    TFailing Failing;
    QEvent Event(QEvent::User);
    QCoreApplication::sendEvent(&Failing, &Event);
    QCoreApplication::sendEvent(&Failing, &Event);
    Application.SetDialogs(Before);
    EXPECT_THAT(Dialogs.Messages, ElementsAre("failed in an event", "failed in an event"));
}

} // namespace

// The MQTT publisher's controls at the right end of the status bar.
namespace {

TEST_F(MainWindow, MqttSettingsAreEditedStoredAndShown) {
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, Dir.path());
    Form1.show();
    EXPECT_FALSE(W<QLabel>("PublisherLabel")->isVisible());
    const int Port = FreeLoopbackPort();
    const std::string Url = "mqtt://127.0.0.1:" + std::to_string(Port);
    std::string FirstError;
    QTimer::singleShot(0, [&] {
        auto* Dialog = Form1.findChild<TPublisherDialog*>("PublisherDialog");
        ASSERT_NE(Dialog, nullptr);
        Dialog->findChild<QCheckBox*>("Enabled")->setChecked(true);
        Dialog->findChild<QLineEdit*>("Url")->setText("localhost:1883");
        Dialog->accept();
        // Refused: the dialog stays and says why.
        FirstError = Dialog->findChild<QLabel*>("Error")->text().toStdString();
        Dialog->findChild<QLineEdit*>("Url")->setText(QString::fromStdString(Url));
        Dialog->findChild<QLineEdit*>("Topic")->setText("plant/boiler");
        Dialog->findChild<QSpinBox*>("QueueSize")->setValue(500);
        Dialog->accept();
    });
    W<QToolButton>("PublisherButton")->click();
    EXPECT_THAT(FirstError, HasSubstr("does not begin with mqtt:// or mqtts://"));

    const TPublisherSettings Stored = LoadPublisherSettings();
    EXPECT_TRUE(Stored.Enabled);
    EXPECT_EQ(Stored.Url, Url);
    EXPECT_EQ(Stored.TopicPrefix, "plant/boiler");
    EXPECT_EQ(Stored.QueueSize, 500u);
    ASSERT_NE(Form1.Publisher(), nullptr);
    EXPECT_EQ(Form1.Publisher()->TopicPrefix(), "plant/boiler");

    // Samples wait for the absent broker, and the status bar says so.
    Start("COM0", "0.01");
    QLabel* Label = W<QLabel>("PublisherLabel");
    for (int I = 0; I < 40 && !Label->text().contains("queued"); ++I)
        QTest::qWait(50);
    EXPECT_TRUE(Label->isVisible());
    EXPECT_THAT(Label->text().toStdString(), StartsWith("MQTT waiting for broker, "));
    EXPECT_THAT(Label->text().toStdString(), HasSubstr(" queued"));
    EXPECT_THAT(Label->toolTip().toStdString(),
                HasSubstr("MQTT: waiting for the broker at 127.0.0.1:" + std::to_string(Port)));

    TPublisherSettings Off = Stored;
    Off.Enabled = false;
    Form1.StartPublisher(Off);
    EXPECT_EQ(Form1.Publisher(), nullptr);
    EXPECT_FALSE(Label->isVisible());

    // Settings that do not start a publisher are told; the window goes on.
    TPublisherSettings NoCa = Stored;
    NoCa.Url = "mqtts://127.0.0.1";
    NoCa.CaFile = TempFile("none.pem");
    Form1.StartPublisher(NoCa);
    EXPECT_EQ(Form1.Publisher(), nullptr);
    ASSERT_FALSE(Dialogs.Messages.empty());
    EXPECT_THAT(Dialogs.Messages.back(), StartsWith("MQTT publishing is off:\nThe CA file"));
}

} // namespace
