// The plot's data files and its log: both formats written and read back,
// the layouts and number forms a file may come in, bad files that must
// change nothing, failing writes that must keep an earlier file, and the
// log's rows. The Qt application is the test program's (iPlotObjectsTest.cpp).

#include "plot/iPlot.h"
#include "plot/iPlotChannelCustom.h"
#include "tests/support/LocaleScope.h"
#include "tests/support/MessageOf.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <vector>

namespace {

struct TPoint4 {
    double X, Y;
    bool Null = false, Empty = false;
    friend bool operator==(const TPoint4&, const TPoint4&) = default;
};

std::ostream& operator<<(std::ostream& Out, const TPoint4& P) {
    return Out << "(" << P.X << ", " << P.Y << (P.Null ? ", Null" : "")
               << (P.Empty ? ", Empty" : "") << ")";
}

std::vector<TPoint4> PointsOf(const TiPlotChannelCustom& Channel) {
    std::vector<TPoint4> Points;
    for (int I = 0; I < Channel.Count(); ++I)
        Points.push_back(
            {Channel.GetX(I), Channel.GetY(I), Channel.GetNull(I), Channel.GetEmpty(I)});
    return Points;
}

void Add(TiPlotChannelCustom& Channel, const std::vector<TPoint4>& Points) {
    for (const TPoint4& P : Points) {
        Channel.AddXY(P.X, P.Y);
        Channel.SetNull(Channel.Count() - 1, P.Null);
        Channel.SetEmpty(Channel.Count() - 1, P.Empty);
    }
}

std::string Single(float V) {
    std::string Bytes(4, '\0');
    std::memcpy(Bytes.data(), &V, 4);
    return Bytes;
}

bool StartsWith(const std::string& Text, const std::string& Start) {
    return Text.rfind(Start, 0) == 0;
}

// The message of the action run without the superuser's right to write
// anywhere: run as is by a normal user, else in a child process as "nobody".
std::string MessageOfUnprivileged(const std::function<void()>& Action) {
    if (geteuid() != 0)
        return MessageOf(Action);
    int Pipe[2];
    if (pipe(Pipe) != 0)
        return "no pipe";
    const pid_t Child = fork();
    if (Child == 0) {
        close(Pipe[0]);
        const std::string Message =
            setgid(65534) == 0 && setuid(65534) == 0 ? MessageOf(Action) : "no other user";
        const bool Written =
            write(Pipe[1], Message.data(), Message.size()) == ssize_t(Message.size());
        _exit(Written ? 0 : 1);
    }
    close(Pipe[1]);
    std::string Message;
    char Buffer[256];
    for (ssize_t N; (N = read(Pipe[0], Buffer, sizeof Buffer)) > 0;)
        Message.append(Buffer, std::size_t(N));
    close(Pipe[0]);
    waitpid(Child, nullptr, 0);
    return Message;
}

// A plot with the channels "Channel 1" and "Channel 2", in the period
// locale, with a folder of its own.
class DataFileTest : public ::testing::Test {
  protected:
    DataFileTest() { QDir().mkpath(QString::fromStdString(Dir)); }
    ~DataFileTest() override { QDir(QString::fromStdString(Dir)).removeRecursively(); }

    std::string File(const std::string& Name) const { return Dir + "/" + Name; }

    TLocaleScope Locale{PeriodLocale};
    TiPlot Plot, Other;
    const bool SecondChannels = (Plot.NewChannel(), Other.NewChannel(), true);
    TiPlotChannelCustom& A = *Plot.Channel(0);
    TiPlotChannelCustom& B = *Plot.Channel(1);
    // Reads back what Plot wrote.
    TiPlotChannelCustom& OtherA = *Other.Channel(0);
    TiPlotChannelCustom& OtherB = *Other.Channel(1);
    const std::string Dir = ::testing::TempDir() + "plot-data-test-" +
                            ::testing::UnitTest::GetInstance()->current_test_info()->name();
};

// ---- Writing and reading back

TEST_F(DataFileTest, TheTextFileHasAColumnPairPerChannelAndBlankCellsPastItsEnd) {
    Add(A, {{1, 10}, {2, 0, true}, {3.5, -0.25, false, true}});
    Add(B, {{1, 7}});
    const std::string Name = File("data.txt");
    Plot.SaveDataToFile(Name);
    EXPECT_EQ(ReadFile(Name), "Channel 1(X)\tChannel 1(Y)\tChannel 2(X)\tChannel 2(Y)\r\n"
                              "1\t10\t1\t7\r\n"
                              "2\tNull\t\t\r\n"
                              "3.5\tEmpty\t\t\r\n");
}

TEST_F(DataFileTest, BothFormatsReadBackTwoChannelsOfDifferentLengths) {
    Add(A, {{0.1, 1e-7}, {2, 0, true}, {3, -5e20}, {4, 0, false, true}});
    Add(B, {{1, 2}, {2, 3}});
    struct TCase {
        TiPlotDataFileFormat Format;
        TiPlotDataFileColumnSeparator Separator;
        std::vector<TPoint4> ExpectA, ExpectB;
    };
    const TCase Cases[] = {
        {ipdffText, ipdfcsTab, PointsOf(A), PointsOf(B)},
        {ipdffText, ipdfcsComma, PointsOf(A), PointsOf(B)},
        // Singles, no flags, and X only in the first two rows.
        {ipdffCompactInterval,
         ipdfcsTab,
         {{0.1f, 1e-7f}, {2, 0}, {0, -5e20f}, {0, 0}},
         {{1, 2}, {2, 3}}},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(int(Case.Format) * 10 + int(Case.Separator));
        Plot.SetDataFileFormat(Case.Format);
        Plot.SetDataFileColumnSeparator(Case.Separator);
        int Saved = 0, Loaded = 0;
        Plot.SetEvent(&TiPlotEvents::OnAfterSaveData, [&] { ++Saved; });
        Other.SetEvent(&TiPlotEvents::OnAfterLoadData, [&] { ++Loaded; });
        const std::string Name = File("data");
        Plot.SaveDataToFile(Name);
        Other.ClearAllData();
        Other.LoadDataFromFile(Name);
        EXPECT_EQ(PointsOf(OtherA), Case.ExpectA);
        EXPECT_EQ(PointsOf(OtherB), Case.ExpectB);
        EXPECT_EQ(Saved, 1);
        EXPECT_EQ(Loaded, 1);
        EXPECT_EQ(Plot.DataFileName(), Name);
        EXPECT_EQ(Other.DataFileName(), Name);
    }
}

TEST_F(DataFileTest, ACompactIntervalFileHoldsSinglesAndAnEndMark) {
    Plot.DeleteChannel(1);
    Add(A, {{1, 10}, {2, 20}, {3, 30}});
    Plot.SetDataFileFormat(ipdffCompactInterval);
    const std::string Name = File("data.bin");
    Plot.SaveDataToFile(Name);
    EXPECT_EQ(ReadFile(Name), "Compact Interval\r\n1\r\n" + Single(1) + Single(10) + Single(2) +
                                  Single(20) + Single(30) + Single(2e38f));
}

TEST_F(DataFileTest, ACompactIntervalPairItCouldNotSaveIsNoPoint) {
    // Points below -9e37 or infinite would load and then refuse to be saved.
    const std::string Name = File("data.bin");
    WriteFile(Name, "Compact Interval\r\n1\r\n" + Single(0) + Single(-1e38f) + Single(1) +
                        Single(5) + Single(-INFINITY) + Single(6) + Single(2e38f));
    Plot.LoadDataFromFile(Name);
    EXPECT_EQ(PointsOf(A), (std::vector<TPoint4>{{1, 5}, {0, 6}}));
    Plot.SaveDataToFile(File("again.bin"));
}

TEST_F(DataFileTest, LoadedPointsFollowThePointsAlreadyThere) {
    Add(A, {{-1, -1}});
    const std::string Name = File("data.txt");
    WriteFile(Name, "a(X)\ta(Y)\r\n1\t2\r\n");
    Plot.LoadDataFromFile(Name);
    EXPECT_EQ(PointsOf(A), (std::vector<TPoint4>{{-1, -1}, {1, 2}}));
}

// ---- The forms a text file may come in

TEST_F(DataFileTest, NullAndEmptyReadInAnyLetterCase) {
    const std::string Name = File("flags.txt");
    WriteFile(Name, "a(X)\ta(Y)\n1\tnull\n2\tNuLL\n3\tempty\n4\tEmpty\n5\tEMPTY\n");
    Plot.LoadDataFromFile(Name);
    EXPECT_EQ(PointsOf(A), (std::vector<TPoint4>{{1, 0, true},
                                                 {2, 0, true},
                                                 {3, 0, false, true},
                                                 {4, 0, false, true},
                                                 {5, 0, false, true}}));
}

TEST_F(DataFileTest, PairedColumnsReadEitherDecimalSeparator) {
    struct TCase {
        const char* Locale;
        const char* Text;
    };
    const TCase Cases[] = {
        {PeriodLocale, "a(X)\ta(Y)\r\n1,5\t-2,25\r\n"},
        {PeriodLocale, "a(X)\ta(Y)\r\n1.5\t-2.25\r\n"},
        {CommaLocale, "a(X)\ta(Y)\r\n1.5\t-2.25\r\n"},
        {CommaLocale, "a(X)\ta(Y)\r\n1,5\t-2,25\r\n"},
        {CommaLocale, "a(X),a(Y)\r\n1.5,-2.25\r\n"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(std::string(Case.Locale) + " " + Case.Text);
        TLocaleScope Scope(Case.Locale);
        Plot.ClearAllData();
        WriteFile(File("data.txt"), Case.Text);
        Plot.LoadDataFromFile(File("data.txt"));
        EXPECT_EQ(PointsOf(A), (std::vector<TPoint4>{{1.5, -2.25}}));
    }
}

TEST_F(DataFileTest, ADecimalCommaIsWrittenUnlessItSeparatesTheColumns) {
    TLocaleScope Comma(CommaLocale);
    Plot.DeleteChannel(1);
    Add(A, {{1.5, 2.25}});
    Plot.SaveDataToFile(File("tab.txt"));
    EXPECT_EQ(ReadFile(File("tab.txt")), "Channel 1(X)\tChannel 1(Y)\r\n1,5\t2,25\r\n");
    Plot.SetDataFileColumnSeparator(ipdfcsComma);
    Plot.SaveDataToFile(File("comma.txt"));
    EXPECT_EQ(ReadFile(File("comma.txt")), "Channel 1(X),Channel 1(Y)\r\n1.5,2.25\r\n");
}

TEST_F(DataFileTest, BlankCellsSkipAPointOrALine) {
    const std::string Paired = File("paired.txt");
    WriteFile(Paired, "a(X)\ta(Y)\tb(X)\tb(Y)\tc(X)\tc(Y)\r\n"
                      "1\t10\t \t20\t1\t30\t9\r\n"
                      "2\t\t2\t40\r\n");
    Plot.LoadDataFromFile(Paired);
    EXPECT_EQ(PointsOf(A), (std::vector<TPoint4>{{1, 10}}));
    EXPECT_EQ(PointsOf(B), (std::vector<TPoint4>{{2, 40}})) << "columns past the plot's ignored";

    const std::string SharedX = File("shared.txt");
    WriteFile(SharedX, "(x),a(Y),b(Y)\r\n"
                       ",1,2\r\n"
                       "5,,6\r\n");
    Other.LoadDataFromFile(SharedX);
    EXPECT_TRUE(PointsOf(OtherA).empty());
    EXPECT_EQ(PointsOf(OtherB), (std::vector<TPoint4>{{5, 6}}));
}

// ---- Bad files change nothing

TEST_F(DataFileTest, ABadFileAddsNothingAndSaysWhy) {
    const std::string Compact = "Compact Interval\r\n1\r\n";
    struct TCase {
        const char* Name;
        std::string Bytes;
        std::string Message;
    };
    const TCase Cases[] = {
        {"truncated compact", Compact + Single(1) + Single(2) + Single(3).substr(0, 2),
         "Error Loading Data - Invalid Data"},
        {"compact cut inside a row", Compact + Single(1) + Single(2) + Single(3),
         "Error Loading Data - Invalid Data"},
        {"compact count not a number", "compact interval\r\nx\r\n" + Single(2e38f),
         "Error Loading Data - Invalid Data"},
        {"compact without count", "Compact Interval", "Error Loading Data - Invalid Data"},
        {"no channels and no end mark", "Compact Interval\r\n0\r\n" + Single(1),
         "Error Loading Data - Invalid Data"},
        {"binary junk", std::string("\x1f\x8b\x08\0\t\x03\n\xff\xfe\t\x81\x82\n", 13),
         "Error Loading Data - Line 2: '\?\?' is not a valid floating point value"},
        {"huge number", "a(X)\ta(Y)\r\n1\t2\r\n3\t1e999\r\n",
         "Error Loading Data - Line 3: '1e999' is not a valid floating point value"},
        {"text in a number cell", "a(X)\ta(Y)\r\n1\t2\r\nabc\t4\r\n",
         "Error Loading Data - Line 3: 'abc' is not a valid floating point value"},
        {"invalid UTF-8", "a(X)\ta(Y)\r\n1\t2\xC3\x28\r\n",
         "Error Loading Data - Line 2: '2?(' is not a valid floating point value"},
        {"UTF-16", std::string("\xFF\xFE(\0X\0)\0\t\0a\0\r\0\n\0001\0\t\0002\0\r\0\n\0", 26),
         "Error Loading Data - Line 3: '?1?' is not a valid floating point value"},
        {"missing file", "", "Error Loading Data - Cannot open file"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Plot.ClearAllData();
        Add(A, {{-1, -1}});
        const std::string Name = File("bad");
        QFile::remove(QString::fromStdString(Name));
        if (std::strcmp(Case.Name, "missing file") != 0)
            WriteFile(Name, Case.Bytes);
        bool Loaded = false;
        Plot.SetEvent(&TiPlotEvents::OnAfterLoadData, [&] { Loaded = true; });
        const std::string Message = MessageOf([&] { Plot.LoadDataFromFile(Name); });
        EXPECT_TRUE(StartsWith(Message, Case.Message)) << Message;
        EXPECT_EQ(PointsOf(A), (std::vector<TPoint4>{{-1, -1}}));
        EXPECT_TRUE(PointsOf(B).empty());
        EXPECT_FALSE(Loaded);
        EXPECT_EQ(Plot.DataFileName(), "");
    }
}

// ---- Failing writes keep the earlier file

TEST_F(DataFileTest, AFailedSaveKeepsTheEarlierFile) {
    Add(A, {{1, 2}});
    EXPECT_TRUE(StartsWith(MessageOf([&] { Plot.SaveDataToFile(Dir); }),
                           "Error Saving Data - Cannot create file \"" + Dir));

    const std::string Name = File("data.txt");
    WriteFile(Name, "earlier");
    Add(A, {{2, 1e39}});
    Plot.SetDataFileFormat(ipdffCompactInterval);
    EXPECT_EQ(MessageOf([&] { Plot.SaveDataToFile(Name); }),
              "Error Saving Data - The value 1E39 can not be stored in the Compact Interval "
              "format");
    EXPECT_EQ(ReadFile(Name), "earlier");

    Plot.SetDataFileFormat(ipdffText);
    QFile::setPermissions(QString::fromStdString(Dir),
                          QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    const std::string Message = MessageOfUnprivileged([&] { Plot.SaveDataToFile(Name); });
    QFile::setPermissions(QString::fromStdString(Dir),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(StartsWith(Message, "Error Saving Data - Cannot create file \"" + Name)) << Message;
    EXPECT_EQ(ReadFile(Name), "earlier");
}

// ---- The log

TEST_F(DataFileTest, TheLogWritesRowsInGroupsAndReadsBackWithItsSharedX) {
    const std::string Name = File("log.txt");
    Plot.SetLogFileName(Name);
    Plot.SetLogBufferSize(2);
    Plot.SetDataFileColumnSeparator(ipdfcsComma);
    Plot.LogActivate(false);
    EXPECT_TRUE(Plot.LoggingActive());
    EXPECT_EQ(ReadFile(Name), "(X),Channel 1(Y),Channel 2(Y)\r\n");
    // A row is complete once the last channel has its point.
    for (int Sample = 1; Sample <= 3; ++Sample) {
        A.AddXY(Sample, Sample * 10);
        EXPECT_EQ(Plot.LogPendingCount(), Sample == 3 ? 0 : Sample - 1);
        B.AddXY(Sample, Sample * 100);
    }
    A.SetNull(2, true);
    EXPECT_EQ(ReadFile(Name), "(X),Channel 1(Y),Channel 2(Y)\r\n1,10,100\r\n2,20,200\r\n");
    Plot.LogDeactivate();
    EXPECT_FALSE(Plot.LoggingActive());
    EXPECT_EQ(ReadFile(Name),
              "(X),Channel 1(Y),Channel 2(Y)\r\n1,10,100\r\n2,20,200\r\n3,Null,300\r\n");

    Other.LoadDataFromFile(Name);
    EXPECT_EQ(PointsOf(OtherA), (std::vector<TPoint4>{{1, 10}, {2, 20}, {3, 0, true}}));
    EXPECT_EQ(PointsOf(OtherB), (std::vector<TPoint4>{{1, 100}, {2, 200}, {3, 300}}));

    Plot.LogActivate(true);
    A.AddXY(4, 40);
    B.AddXY(4, 400);
    Plot.LogDeactivate();
    const std::string Appended = ReadFile(Name);
    EXPECT_EQ(Appended.substr(Appended.size() - 15), "300\r\n4,40,400\r\n")
        << "appended without a header";
}

TEST_F(DataFileTest, ACompactLogCarriesXInItsFirstTwoRows) {
    Plot.DeleteChannel(1);
    const std::string Name = File("log.bin");
    Plot.SetLogFileName(Name);
    Plot.SetDataFileFormat(ipdffCompactInterval);
    Plot.LogActivate(false);
    for (int I = 1; I <= 3; ++I)
        A.AddXY(I, I * 10);
    Plot.LogDeactivate();
    EXPECT_EQ(ReadFile(Name), "Compact Interval\r\n1\r\n" + Single(1) + Single(10) + Single(2) +
                                  Single(20) + Single(30));
    // Without an end mark the data ends after its last whole row.
    Other.LoadDataFromFile(Name);
    EXPECT_EQ(PointsOf(OtherA), (std::vector<TPoint4>{{1, 10}, {2, 20}, {0, 30}}));
}

TEST_F(DataFileTest, ClearingAllDataEndsTheLogWithItsPendingRows) {
    const std::string Name = File("log.txt");
    Plot.SetLogFileName(Name);
    Plot.SetLogBufferSize(10);
    Plot.LogActivate(false);
    A.AddXY(1, 2);
    B.AddXY(1, 3);
    Plot.ClearAllData();
    EXPECT_FALSE(Plot.LoggingActive());
    EXPECT_EQ(ReadFile(Name), "(X)\tChannel 1(Y)\tChannel 2(Y)\r\n1\t2\t3\r\n");
    EXPECT_EQ(A.Count(), 0);
}

TEST_F(DataFileTest, LoggingRefusals) {
    EXPECT_EQ(MessageOf([&] { Plot.LogActivate(false); }), "Log File Name not Defined");
    Plot.SetLogFileName("  ");
    EXPECT_EQ(MessageOf([&] { Plot.LogActivate(false); }), "Log File Name not Defined");
    EXPECT_EQ(MessageOf([&] { Plot.LogDeactivate(); }), "Logging not Active");
    EXPECT_TRUE(StartsWith(MessageOf([&] {
                               Plot.SetLogFileName(File("missing.txt"));
                               Plot.LogActivate(true);
                           }),
                           "Cannot open file"))
        << "appending needs the file";
    EXPECT_FALSE(Plot.LoggingActive());

    Plot.SetLogFileName(File("log.txt"));
    Plot.LogActivate(false);
    EXPECT_EQ(MessageOf([&] { Plot.LogActivate(false); }), "Logging Already Active");
    EXPECT_EQ(MessageOf([&] { Plot.SetLogFileName(File("other.txt")); }),
              "Log File Name can not be changed while logging is active.");
    EXPECT_EQ(MessageOf([&] { Plot.SetDataFileFormat(ipdffCompactInterval); }),
              "Data File Format can not be changed while logging active");
    EXPECT_EQ(MessageOf([&] { Plot.SetDataFileColumnSeparator(ipdfcsComma); }),
              "Data File Column Seperator can not be changed while logging active");
    EXPECT_EQ(Plot.LogFileName(), File("log.txt"));
    EXPECT_EQ(Plot.DataFileFormat(), ipdffText);
    EXPECT_EQ(Plot.DataFileColumnSeparator(), ipdfcsTab);
    // Setting the values they already have is no change.
    Plot.SetLogFileName(File("log.txt"));
    Plot.SetDataFileFormat(ipdffText);
}

TEST_F(DataFileTest, AFailedLogWriteKeepsTheRowsPending) {
    Plot.DeleteChannel(1);
    Plot.SetLogFileName("/dev/full");
    Plot.LogActivate(true);
    EXPECT_TRUE(StartsWith(MessageOf([&] { A.AddXY(1, 2); }), "Cannot write file \"/dev/full\""));
    EXPECT_EQ(A.Count(), 1);
    EXPECT_EQ(Plot.LogPendingCount(), 1);
    EXPECT_NE(MessageOf([&] { Plot.LogDeactivate(); }), "no exception");
    EXPECT_TRUE(Plot.LoggingActive());
}

TEST_F(DataFileTest, TheChannelsFilesUseThePlotsColumnSeparator) {
    Add(A, {{1, 2}});
    Plot.SetDataFileColumnSeparator(ipdfcsComma);
    A.SaveDataToFile(File("channel.txt"));
    EXPECT_EQ(ReadFile(File("channel.txt")), "1,2\r\n");
}

} // namespace
