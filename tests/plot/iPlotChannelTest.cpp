// The plot channel: statistics, reports to the axes, the visible range,
// values between points, hits and clicks, the cursor texts, the log and the
// files. The Qt application is the test program's (iPlotObjectsTest.cpp).

#include "plot/iPlotChannel.h"
#include "plot/iPlot.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotToolBar.h"
#include "plot/iPlotTranslation.h"
#include "tests/support/LocaleScope.h"
#include "tests/support/MessageOf.h"
#include "tests/support/TestFiles.h"

#include "platform/Bitmap.h"
#include "platform/DateTime.h"

#include <QDir>
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <iterator>
#include <sys/resource.h>
#include <utility>
#include <vector>

namespace {

// A plot that records the clicks its objects report.
class TRecordingPlot : public TiPlot {
  public:
    void ObjectClicked(TiPlotObject* Object) override { Clicked.push_back(Object); }
    void DataPointClicked(TiPlotChannelCustom* Channel, int Index) override {
        PointsClicked.push_back({Channel, Index});
    }
    char DataFileSeparatorChar() const override { return Separator; }

    std::vector<TiPlotObject*> Clicked;
    std::vector<std::pair<TiPlotChannelCustom*, int>> PointsClicked;
    char Separator = '\t';
};

// A channel of the plot whose trace is a digital one.
class TDigitalChannel : public TiPlotChannel {
  public:
    using TiPlotChannel::TiPlotChannel;

  protected:
    bool DigitalTrace() const override { return true; }
};

int LineCount(const std::string& Name) {
    const std::string Text = ReadFile(Name);
    return int(std::count(Text.begin(), Text.end(), '\n'));
}

// A plot painted once, so that its axes map values to pixels: the X axis
// maps one value to one pixel from 0.
class ChannelTest : public ::testing::Test {
  protected:
    ChannelTest() {
        TBitmap Picture(600, 400);
        Plot.SetBounds(0, 0, 600, 400);
        Plot.Paint(Picture.Canvas());
        X.SetMinSpan(0, X.PixelLength());
    }
    ~ChannelTest() override { QDir(QString::fromStdString(Dir)).removeRecursively(); }

    std::string File(const std::string& Name) const { return Dir + "/" + Name; }

    TRecordingPlot Plot;
    TiPlotChannel& Channel = *static_cast<TiPlotChannel*>(Plot.Channel(0));
    TiPlotAxis& X = *Plot.XAxis(0);
    TiPlotAxis& Y = *Plot.YAxis(0);
    const std::string Dir = [] {
        // One folder per test: ctest runs the tests side by side.
        const std::string D = ::testing::TempDir() + "channel-test-" +
                              ::testing::UnitTest::GetInstance()->current_test_info()->name();
        QDir().mkpath(QString::fromStdString(D));
        return D;
    }();
};

// ---- Statistics and the axes

TEST_F(ChannelTest, StatisticsDescribeThePointsSinceTheLastClear) {
    EXPECT_EQ(Channel.YMax(), -1e300);
    EXPECT_EQ(Channel.YMin(), 1e300);
    Channel.AddXY(1, 20);
    Channel.AddXY(2, 30);
    Channel.AddXY(3, 10);
    EXPECT_EQ(std::vector<double>({Channel.XMin(), Channel.XMax(), Channel.XMean(), Channel.YMin(),
                                   Channel.YMax(), Channel.YMean()}),
              std::vector<double>({1, 3, 2, 10, 30, 20}));
    Channel.Clear();
    Channel.AddXY(5, 7);
    EXPECT_EQ(std::vector<double>({Channel.XMin(), Channel.XMax(), Channel.XMean(), Channel.YMin(),
                                   Channel.YMax(), Channel.YMean()}),
              std::vector<double>({5, 5, 5, 7, 7, 7}));
}

TEST_F(ChannelTest, AVisibleMarkerWidensTheValuesTheXAxisFollows) {
    X.SetTrackingStyle(iptsScrollSmooth);
    X.SetTrackingAlignFirstStyle(ipafsNone);
    const double Span = X.Span();
    Channel.SetMarkersVisible(true);
    Channel.SetMarkersSize(3); // 3 pixels are 3 values
    Channel.AddXY(Span + 50, 50);
    EXPECT_EQ(X.Max(), Span + 53) << "the high side was reported";
    Channel.AddXY(0, 50);
    EXPECT_EQ(X.Min(), -3) << "the low side was reported after the high one";
}

TEST_F(ChannelTest, WithoutXTrackingOnlyTheYAxisFollows) {
    Channel.SetXAxisTrackingEnabled(false);
    const double XMin = X.Min(), XSpan = X.Span();
    Channel.AddXY(5000, 5000);
    EXPECT_EQ(X.Min(), XMin);
    EXPECT_EQ(X.Span(), XSpan);
    EXPECT_GE(Y.Max(), 5000);
}

// ---- Visible range and values between points

TEST_F(ChannelTest, TheVisibleRangeTakesOnePointBeyondEachEnd) {
    for (int I = 0; I < 100; ++I)
        Channel.AddXY(I, I);
    X.SetMinSpan(10.5, 20);
    EXPECT_EQ(Channel.CalcVisibleStart(), 10);
    EXPECT_EQ(Channel.CalcVisibleStop(), 31);

    Channel.Clear();
    for (int I = 99; I >= 0; --I)
        Channel.AddXY(I, I);
    Channel.SetXIncreasing(false);
    X.SetMinSpan(10.5, 20);
    EXPECT_EQ(Channel.CalcVisibleStart(), 99 - 31);
    EXPECT_EQ(Channel.CalcVisibleStop(), 99 - 10);
}

struct TAtXCase {
    double X;
    int Index;
    bool Found;
    double Y;
};

TEST_F(ChannelTest, IndexAndValueAtXInterpolateByPixels) {
    Channel.AddXY(0, 0);
    Channel.AddXY(10, 100);
    Channel.AddXY(20, 50);
    const TAtXCase Cases[] = {
        {-1, -1, false, 0}, {21, -1, false, 0}, {0, 0, true, 0}, // the first point itself
        {5, 1, true, 50},   {10, 1, true, 100}, {15, 2, true, 75},
        {20, 2, true, 50},  {5.4, 1, true, 50}, {NAN, -1, false, 0},
    };
    for (const TAtXCase& C : Cases) {
        double Value = -1;
        EXPECT_EQ(Channel.IndexAtX(C.X), C.Index) << C.X;
        EXPECT_EQ(Channel.GetYAtX(C.X, Value), C.Found) << C.X;
        EXPECT_EQ(Value, C.Y) << C.X;
    }
    Channel.SetNull(1, true);
    double Value;
    EXPECT_FALSE(Channel.GetYAtX(5, Value)) << "no line to a Null point";

    Channel.SetXAxisName("none");
    EXPECT_EQ(Channel.IndexAtX(10), -1);
    EXPECT_FALSE(Channel.GetYAtX(10, Value));
}

TEST_F(ChannelTest, DescendingValuesAtX) {
    Channel.AddXY(20, 50);
    Channel.AddXY(10, 100);
    Channel.AddXY(0, 0);
    Channel.SetXIncreasing(false);
    const TAtXCase Cases[] = {
        {25, -1, false, 0}, {-1, -1, false, 0}, {5, 1, true, 50}, {10, 1, true, 100},
        {15, 0, true, 75},  {20, 0, true, 50}}; // between and at the first two points
    for (const TAtXCase& C : Cases) {
        double Value = -1;
        EXPECT_EQ(Channel.IndexAtX(C.X), C.Index) << C.X;
        EXPECT_EQ(Channel.GetYAtX(C.X, Value), C.Found) << C.X;
        EXPECT_EQ(Value, C.Y) << C.X;
    }
}

TEST_F(ChannelTest, ADigitalTraceHoldsThePreviousLevel) {
    TDigitalChannel Digital(&Plot);
    Digital.SetXAxisName(X.Name());
    Digital.SetYAxisName(Y.Name());
    Digital.AddXY(0, 1);
    Digital.AddXY(10, 0);
    double Value = -1;
    ASSERT_TRUE(Digital.GetYAtX(5, Value));
    EXPECT_EQ(Value, 1);
    EXPECT_EQ(Digital.DataCursorText(ipcsValueY, 0, 1, 5), "High");
    EXPECT_EQ(Digital.DataCursorText(ipcsValueY, 0, 0, 5), "Low");
    EXPECT_EQ(Digital.DataCursorText(ipcsValueY, 1, 0, 5), "Null");
}

TEST_F(ChannelTest, ElapsedTimeCountsFromTheChannelsCreation) {
    EXPECT_LE(Channel.StartTime(), Now());
    Channel.AddYElapsedSeconds(1);
    Channel.AddYElapsedTime(2);
    EXPECT_GE(Channel.GetX(0), 0);
    EXPECT_LT(Channel.GetX(0), 60) << "seconds";
    EXPECT_LT(Channel.GetX(1), 60.0 / 86400) << "days";
}

// ---- Hits and clicks

TEST_F(ChannelTest, TheLegendRowHitsAndAPressAndReleaseThereClicks) {
    Channel.SetLegendRect(TRect{10, 10, 50, 20});
    EXPECT_TRUE(Channel.HitTest(Point(10, 10)));
    EXPECT_FALSE(Channel.HitTest(Point(50, 15))) << "right edge excluded";
    Channel.SetPressed(true);
    Channel.MouseUp(Point(20, 15));
    EXPECT_EQ(Plot.Clicked, std::vector<TiPlotObject*>{&Channel});
    Channel.MouseUp(Point(60, 15));
    EXPECT_EQ(Plot.Clicked.size(), 1u) << "released outside the row";
    Channel.SetVisibleInLegend(false);
    EXPECT_FALSE(Channel.HitTest(Point(20, 15)));
}

TEST_F(ChannelTest, MarkersHitOnlyInSelectionModeAndClickTheirPoint) {
    Channel.SetMarkersVisible(true);
    Channel.SetMarkersSize(4);
    Channel.AddXY(10, 50);
    Channel.AddXY(40, 50);
    X.SetMinSpan(0, X.PixelLength());
    Y.SetMinSpan(0, 100);
    const TPoint P = Point(X.ValueToPixel(40), Y.ValueToPixel(50));
    EXPECT_FALSE(Channel.HitTest(P)) << "not in selection mode";
    Plot.ToolBar(0)->SetSelectDown(true);
    EXPECT_TRUE(Channel.HitTest(Point(P.X - 4, P.Y - 4)));
    EXPECT_FALSE(Channel.HitTest(Point(P.X + 4, P.Y))) << "right edge excluded";
    EXPECT_FALSE(Channel.HitTest(Point(P.X, P.Y + 4))) << "bottom edge excluded";
    ASSERT_TRUE(Channel.HitTest(P));
    EXPECT_EQ(Channel.HitIndex(), 1);

    Channel.MouseDown(P);
    Channel.MouseUp(Point(P.X + 1, P.Y));
    ASSERT_EQ(Plot.PointsClicked.size(), 1u);
    EXPECT_EQ(Plot.PointsClicked[0], std::make_pair<TiPlotChannelCustom*>(&Channel, 1));
    Channel.MouseDown(P);
    Channel.MouseUp(Point(P.X + 20, P.Y));
    EXPECT_EQ(Plot.PointsClicked.size(), 1u) << "released off the marker";

    Channel.SetNull(1, true);
    EXPECT_FALSE(Channel.HitTest(P)) << "a Null point has no marker";
    EXPECT_EQ(Channel.HitIndex(), -1);
}

TEST_F(ChannelTest, ARightPressNearTheTraceHitsIt) {
    Channel.AddXY(0, 50);
    Channel.AddXY(100, 50);
    Y.SetMinSpan(0, 100);
    const TPoint OnTrace = Point(X.ValueToPixel(50), Y.ValueToPixel(50));
    EXPECT_FALSE(Channel.HitTest(OnTrace)) << "only for a right press";
    TShiftState Right;
    Right.Include(ssRight);
    Channel.SetShiftState(Right);
    EXPECT_TRUE(Channel.HitTest(OnTrace));
    EXPECT_TRUE(Channel.HitTest(Point(OnTrace.X, OnTrace.Y - 10)));
    EXPECT_FALSE(Channel.HitTest(Point(OnTrace.X, OnTrace.Y + 10)));
    EXPECT_FALSE(Channel.HitTest(Point(OnTrace.X, OnTrace.Y - 11)));
    EXPECT_FALSE(Channel.HitTest(Point(X.ValueToPixel(150), OnTrace.Y))) << "beyond the points";
}

// ---- Data cursor texts

struct TCursorCase {
    TiPlotDataCursorStyle Style;
    int Status;
    double Y, X;
    const char* Text;
};

TEST_F(ChannelTest, DataCursorTexts) {
    for (auto [Axis, Decimals] : {std::pair(&X, 1), std::pair(&Y, 0)}) {
        Axis->SetCursorUseDefaultFormat(false);
        Axis->SetCursorPrecisionStyle(ipsFixedDecimalPoints);
        Axis->SetCursorPrecision(Decimals);
    }
    const TCursorCase Cases[] = {
        {ipcsValueXY, 0, 7, 2.5, "2.5, 7"},
        {ipcsValueXY, 1, 0, 2.5, "2.5, Null"},
        {ipcsValueXY, 2, 0, 2.5, "2.5, Empty"},
        {ipcsValueX, 0, 0, 2.5, "2.5"},
        {ipcsValueY, 0, 7, 0, "7"},
        {ipcsDeltaX, 0, 0, 0.5, "0.5"},
        {ipcsDeltaY, 0, 7, 0, "7"},
        {ipcsInverseDeltaX, 0, 0, 1e301, "Infinite"},
        {ipcsInverseDeltaX, 0, 0, 2, "2.0"},
    };
    for (const TCursorCase& C : Cases)
        EXPECT_EQ(Channel.DataCursorText(C.Style, C.Status, C.Y, C.X), C.Text) << C.Text;
    Channel.DataCursorText(ipcsValueXY, 0, 7, 2.5);
    EXPECT_EQ(Channel.CursorXText(), "2.5");
    EXPECT_EQ(Channel.CursorYText(), "7");
    EXPECT_EQ(std::make_tuple(Channel.CursorX(), Channel.CursorY(), Channel.CursorStatus()),
              std::make_tuple(2.5, 7.0, 0));

    Channel.SetYAxisName("none");
    EXPECT_EQ(Channel.DataCursorText(ipcsValueXY, 0, 7, 2.5), "2.5, No Y-Axis");
    EXPECT_EQ(Channel.DataCursorText(ipcsDeltaY, 0, 7, 2.5), "No Y-Axis");
    Channel.SetXAxisName("none");
    for (const TCursorCase& C : Cases)
        EXPECT_EQ(Channel.DataCursorText(C.Style, C.Status, C.Y, C.X), "No X-Axis");

    TiPlotTranslationObject& Entry = Plot.Master().TranslationManager().NewEntry();
    Entry.SetOriginalString("No X-Axis");
    Entry.SetReplacementString("Ohne X-Achse");
    EXPECT_EQ(Channel.DataCursorText(ipcsValueX, 0, 0, 0), "Ohne X-Achse");
}

// ---- Logging

struct TLogCase {
    int BufferSize;
    int Every; // lines are written in groups of this many
};

TEST_F(ChannelTest, TheLogIsWrittenInGroupsOfTheBufferSize) {
    for (const TLogCase C : {TLogCase{0, 1}, TLogCase{1, 1}, TLogCase{10, 10}}) {
        Channel.Clear();
        const std::string Name = File("log" + std::to_string(C.BufferSize) + ".txt");
        Channel.SetLogFileName(Name);
        Channel.SetLogBufferSize(C.BufferSize);
        Channel.LogActivate(false);
        for (int I = 1; I <= 25; ++I) {
            Channel.AddXY(I, I * 0.5);
            ASSERT_EQ(LineCount(Name), I / C.Every * C.Every) << C.BufferSize << " after " << I;
        }
        Channel.LogDeactivate();
        EXPECT_EQ(LineCount(Name), 25) << "the rest at the end";
        EXPECT_EQ(ReadFile(Name).substr(0, 12), "1\t0.5\r\n2\t1\r\n") << C.BufferSize;
    }
}

TEST_F(ChannelTest, LogActivationAppendsOrStartsAfreshAndClearEndsIt) {
    const std::string Name = File("log.txt");
    WriteFile(Name, "old\r\n");
    Plot.Separator = ',';
    Channel.SetLogFileName(Name);
    Channel.SetLogBufferSize(10);
    Channel.LogActivate(true);
    Channel.AddXY(1.25, -3);
    Channel.Clear();
    EXPECT_FALSE(Channel.LoggingActive());
    EXPECT_EQ(ReadFile(Name), "old\r\n1.25,-3\r\n");
    Channel.LogActivate(false);
    Channel.LogDeactivate();
    EXPECT_EQ(ReadFile(Name), "");
}

TEST_F(ChannelTest, LoggingFailures) {
    const std::string Missing = File("missing.txt");
    Channel.SetLogFileName(" ");
    EXPECT_EQ(MessageOf([&] { Channel.LogActivate(false); }), "Log File Name not Defined");
    EXPECT_EQ(MessageOf([&] { Channel.LogDeactivate(); }), "Logging not Active");
    Channel.SetLogFileName(Missing);
    EXPECT_EQ(
        MessageOf([&] { Channel.LogActivate(true); }).rfind("Cannot open file \"" + Missing, 0), 0u)
        << "appending needs the file";
    EXPECT_FALSE(Channel.LoggingActive());
    Channel.LogActivate(false);
    EXPECT_EQ(MessageOf([&] { Channel.LogActivate(false); }), "Logging Already Active");
    EXPECT_EQ(MessageOf([&] { Channel.SetLogFileName("other.txt"); }),
              "Log File Name can not be changed while logging is active.");
    EXPECT_EQ(Channel.LogFileName(), Missing);
    Channel.SetLogFileName(Missing); // the same name is no change
    Channel.LogDeactivate();
}

TEST_F(ChannelTest, AFailedLogWriteIsReportedAndKeepsThePointsPending) {
    Channel.SetLogFileName("/dev/full");
    Channel.LogActivate(true);
    EXPECT_EQ(MessageOf([&] { Channel.AddXY(1, 2); }).rfind("Cannot write file \"/dev/full\"", 0),
              0u);
    EXPECT_EQ(Channel.Count(), 1) << "the point is kept";
    EXPECT_EQ(Channel.LogPendingCount(), 1);
    EXPECT_NE(MessageOf([&] { Channel.LogDeactivate(); }), "no exception");
    EXPECT_TRUE(Channel.LoggingActive()) << "the points still wait for the log";
    Channel.SetLogFileName("/dev/full"); // unchanged: allowed
}

TEST_F(ChannelTest, ALogWriteThatStopsHalfWayLeavesNoHalfLines) {
    const std::string Name = File("partial.txt");
    const std::string Old(990, 'x');
    WriteFile(Name, Old);
    Channel.SetLogFileName(Name);
    Channel.SetLogBufferSize(10);
    Channel.LogActivate(true);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit Before;
    getrlimit(RLIMIT_FSIZE, &Before);
    rlimit Small = Before;
    Small.rlim_cur = 1000;
    setrlimit(RLIMIT_FSIZE, &Small);
    std::string Message;
    for (int I = 0; I < 10; ++I)
        Message = MessageOf([&] { Channel.AddXY(1000 + I, 2000); });
    setrlimit(RLIMIT_FSIZE, &Before);
    EXPECT_EQ(Message.rfind("Cannot write file \"" + Name, 0), 0u) << Message;
    EXPECT_EQ(ReadFile(Name), Old);
    Channel.LogDeactivate();
    EXPECT_EQ(LineCount(Name), 10) << "written once there was room";
}

// ---- Point text files

TEST_F(ChannelTest, APointFileLoadsAndSavesBack) {
    const std::string Text = "1,5\r\n2,Null\r\n3,7\r\n";
    WriteFile(File("in.txt"), Text);
    Plot.Separator = ',';
    Channel.AddXY(-1, -1);
    Channel.LoadDataFromFile(File("in.txt"), true);
    ASSERT_EQ(Channel.Count(), 3);
    EXPECT_EQ(Channel.LoadSeparator(), ',');
    EXPECT_TRUE(Channel.GetNull(1));
    EXPECT_EQ(Channel.GetY(1), 0);
    EXPECT_EQ(Channel.GetY(2), 7);
    Channel.SaveDataToFile(File("out.txt"));
    EXPECT_EQ(ReadFile(File("out.txt")), Text);

    Channel.SetEmpty(0, true);
    Plot.Separator = '\t';
    {
        TLocaleScope Comma(CommaLocale);
        Channel.AddXY(0.5, -2.25);
        Channel.SaveDataToFile(File("out.txt"));
    }
    EXPECT_EQ(ReadFile(File("out.txt")), "2\tNull\r\n3\t7\r\n0.5\t-2.25\r\n")
        << "Empty points left out, a period whatever the region";
}

TEST_F(ChannelTest, LinesWithoutSeparatorOrFirstFieldAreSkipped) {
    WriteFile(File("in.txt"), "1\t5\n2,6\n\t7\n \n4 \t 8 \nnull\n");
    Channel.LoadDataFromFile(File("in.txt"), false);
    EXPECT_EQ(Channel.LoadSeparator(), '\t');
    ASSERT_EQ(Channel.Count(), 2);
    EXPECT_EQ(std::make_pair(Channel.GetX(1), Channel.GetY(1)), std::make_pair(4.0, 8.0));
}

struct TBadFileCase {
    const char* Name;
    std::string Text;
    std::string Message;
};

TEST_F(ChannelTest, ABadLineStopsTheLoadAndKeepsThePointsBeforeIt) {
    const TBadFileCase Cases[] = {
        {"word", "1,5\n2,abc\n3,7\n", "'abc' is not a valid floating point value"},
        {"huge", "1,5\n2,1e999\n3,7\n", "'1e999' is not a valid floating point value"},
        {"truncated", "1,5\n2,", "'' is not a valid floating point value"},
        {"binary", std::string("1,5\n\x89PNG,\x02\0\x7F", 12),
         "'\x89PNG' is not a valid floating point value"},
        {"other kind", "1,5\n{\"a\": 1, \"b\": 2}\n",
         "'{\"a\": 1' is not a valid floating point value"},
    };
    for (const TBadFileCase& C : Cases) {
        WriteFile(File("bad.txt"), C.Text);
        Channel.Clear();
        Channel.AddXY(-1, -1);
        EXPECT_EQ(MessageOf([&] { Channel.LoadDataFromFile(File("bad.txt"), false); }), C.Message)
            << C.Name;
        ASSERT_EQ(Channel.Count(), 2) << C.Name;
        EXPECT_EQ(std::make_pair(Channel.GetX(1), Channel.GetY(1)), std::make_pair(1.0, 5.0));
    }
}

TEST_F(ChannelTest, AFileThatCannotBeReadChangesNothing) {
    Channel.AddXY(1, 1);
    Channel.SetLogFileName(File("log.txt"));
    Channel.LogActivate(false);
    const std::string Missing = File("missing.txt");
    EXPECT_EQ(MessageOf([&] {
                  Channel.LoadDataFromFile(Missing, true);
              }).rfind("Cannot open file \"" + Missing, 0),
              0u);
    EXPECT_EQ(Channel.Count(), 1);
    EXPECT_TRUE(Channel.LoggingActive());
    WriteFile(File("in.txt"), "2,2\n");
    Channel.LoadDataFromFile(File("in.txt"), false);
    EXPECT_FALSE(Channel.LoggingActive()) << "a load ends logging";
    EXPECT_EQ(Channel.Count(), 2);
}

TEST_F(ChannelTest, ASaveThatFailsKeepsTheEarlierFile) {
    for (int I = 0; I < 200; ++I)
        Channel.AddXY(I, I);
    const std::string Name = File("data.txt");
    WriteFile(Name, "old\r\n");
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit Before;
    getrlimit(RLIMIT_FSIZE, &Before);
    rlimit Small = Before;
    Small.rlim_cur = 1000;
    setrlimit(RLIMIT_FSIZE, &Small);
    const std::string Message = MessageOf([&] { Channel.SaveDataToFile(Name); });
    setrlimit(RLIMIT_FSIZE, &Before);
    EXPECT_EQ(Message.rfind("Cannot write file \"" + Name, 0), 0u) << Message;
    EXPECT_EQ(ReadFile(Name), "old\r\n");
    EXPECT_EQ(QDir(QString::fromStdString(Dir)).entryList(QDir::Files), QStringList{"data.txt"});

    const std::string NoDir = File("no/data.txt");
    EXPECT_EQ(
        MessageOf([&] { Channel.SaveDataToFile(NoDir); }).rfind("Cannot create file \"" + NoDir, 0),
        0u);
}

// ---- Property file

TEST_F(ChannelTest, PropertiesGoToAChannelConfigurationFile) {
    Channel.SetTitleText("Temperature");
    Channel.SetColor(clBlue);
    Channel.SetLogBufferSize(7);
    Channel.SavePropertiesToFile(File("channel.txt"));
    const std::string Text = ReadFile(File("channel.txt"));
    EXPECT_EQ(Text.rfind("File Type = Plot Channel Config\n", 0), 0u);
    EXPECT_NE(Text.find("\nChannel.TitleText = Temperature\n"), std::string::npos);
    EXPECT_EQ(Text.find("\nChannel.Name ="), std::string::npos);
    EXPECT_EQ(Text.find("LoggingActive"), std::string::npos) << "read-only";

    Plot.NewChannel();
    TiPlotChannelCustom& Other = *Plot.Channel(1);
    const std::string OtherName = Other.Name();
    Other.LoadPropertiesFromFile(File("channel.txt"));
    EXPECT_EQ(Other.TitleText(), "Temperature");
    EXPECT_EQ(Other.Color(), clBlue);
    EXPECT_EQ(Other.LogBufferSize(), 7);
    EXPECT_EQ(Other.Name(), OtherName);
}

TEST_F(ChannelTest, PropertyFileFailures) {
    WriteFile(File("plot.txt"), "File Type = Plot Config\nChannel.TitleText = x\n");
    WriteFile(File("none.txt"), "Channel.TitleText = x\n");
    WriteFile(File("unknown.txt"), "file type = plot channel config\nChannel.Nothing = 1\n");
    for (const char* Name : {"plot.txt", "none.txt"})
        EXPECT_EQ(MessageOf([&] { Channel.LoadPropertiesFromFile(File(Name)); }),
                  "Error Loading Properties - Incompatible Plot Channel Configuration File Type")
            << Name;
    EXPECT_EQ(MessageOf([&] {
                  Channel.LoadPropertiesFromFile(File("unknown.txt"));
              }).rfind("Error Loading Properties - ", 0),
              0u);
    EXPECT_EQ(Channel.TitleText(), "Channel 1");
    EXPECT_EQ(MessageOf([&] {
                  Channel.SavePropertiesToFile(File("no/channel.txt"));
              }).rfind("Error Saving Properties - Cannot create file", 0),
              0u);
}

} // namespace
