// The log's journal: the lines of a program killed while logging come back
// at the next start; a clean exit, a save or a "no" leave nothing to offer.

#include "app/Journal.h"
#include "app/Unit1.h"
#include "platform/Random.h"
#include "platform/Text.h"
#include "plot/iPlot.h"
#include "plot/iPlotChannelCustom.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QToolButton>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <optional>

namespace {

using testing::HasSubstr;
using testing::StartsWith;

class TJournalAnswers : public TUserDialogs {
  public:
    void ShowMessage(const std::string& Text) override { Messages.push_back(Text); }
    bool Confirm(const std::string& Text) override {
        Questions.push_back(Text);
        return Yes;
    }
    bool ExecuteSave(const std::string&, std::string& Name) override { return Answer(Name); }
    bool ExecuteOpen(const std::string&, std::string& Name) override { return Answer(Name); }

    std::vector<std::string> Messages, Questions;
    bool Yes = true;
    std::optional<std::string> FileName;

  private:
    bool Answer(std::string& Name) {
        if (FileName)
            Name = *FileName;
        return bool(FileName);
    }
};

std::size_t LineCount(const std::string& Text) {
    std::size_t Count = 0;
    for (std::size_t At = Text.find("\r\n"); At != std::string::npos;
         At = Text.find("\r\n", At + 2))
        ++Count;
    return Count;
}

class Journal : public testing::Test {
  protected:
    std::string MemoText(TForm1& Form) {
        return Form.findChild<QPlainTextEdit*>("Memo1")->toPlainText().toStdString();
    }
    bool Exists(const std::string& Name) { return QFileInfo::exists(QString::fromStdString(Name)); }

    QTemporaryDir Dir;
    const std::string JournalName = Dir.filePath("sensor-monitor/log-journal.csv").toStdString();
    TJournalAnswers Dialogs;
};

// The real program polls simulated samples with the journal on and is
// killed; a window started again loads every line it logged.
TEST_F(Journal, EveryLineLoggedBeforeAKillIsRecovered) {
    QProcess Monitor;
    QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
    Environment.insert("XDG_DATA_HOME", Dir.path());
    Environment.insert("QT_QPA_PLATFORM", "offscreen");
    Monitor.setProcessEnvironment(Environment);
    Monitor.start(SENSOR_MONITOR, {"--journal", "--port", "COM0", "--period", "0.01", "--start"});
    ASSERT_TRUE(Monitor.waitForStarted());
    constexpr std::size_t Wanted = 40;
    for (int Wait = 0; Wait < 1500 && LineCount(ReadFile(JournalName)) < Wanted; ++Wait)
        QThread::msleep(20);
    ::kill(pid_t(Monitor.processId()), SIGKILL);
    ASSERT_TRUE(Monitor.waitForFinished());
    ASSERT_EQ(Monitor.exitStatus(), QProcess::CrashExit);

    const std::string Left = ReadFile(JournalName);
    const std::size_t Logged = LineCount(Left);
    ASSERT_GE(Logged, Wanted);
    // No half line: every line the window logged was written out whole.
    EXPECT_EQ(Left.substr(Left.size() - 2), "\r\n");

    TForm1 Form(Dialogs);
    Form.StartJournal(JournalName);
    ASSERT_EQ(Dialogs.Questions.size(), 1u);
    EXPECT_THAT(Dialogs.Questions[0],
                HasSubstr("journal holds " + std::to_string(Logged) + " log lines"));
    // The simulated samples come in the same order in every run: no line
    // is missing, none is doubled.
    TRandom Samples;
    const std::vector<std::string> Lines = LogLines(MemoText(Form));
    ASSERT_EQ(Lines.size(), Logged);
    for (const std::string& Line : Lines)
        ASSERT_EQ(Line.substr(Line.find(',') + 1), FormatFixed(float(Samples.Next(10) + 20.1), 1))
            << Line;
    EXPECT_EQ(Form.findChild<TiPlot*>("iPlot1")->Channel(0)->Count(), int(Logged));

    // They count as not saved.
    Dialogs.Yes = false;
    Dialogs.FileName = Dir.filePath("other.csv").toStdString();
    WriteFile(*Dialogs.FileName, "00:00:01,1.0\r\n");
    Form.findChild<QToolButton*>("SpeedButton2")->click();
    ASSERT_EQ(Dialogs.Questions.size(), 2u);
    EXPECT_THAT(Dialogs.Questions[1], StartsWith("The log has lines that were not saved."));
    EXPECT_EQ(LogLines(MemoText(Form)).size(), Logged);
}

TEST_F(Journal, ANoASaveAndACleanExitLeaveNothingToOffer) {
    QDir().mkpath(Dir.filePath("sensor-monitor"));
    WriteFile(JournalName, "00:00:01,1.0\r\n00:00:02,2.0\r\n");
    {
        TForm1 Form(Dialogs);
        Dialogs.Yes = false;
        Form.StartJournal(JournalName);
        ASSERT_EQ(Dialogs.Questions.size(), 1u);
        EXPECT_EQ(MemoText(Form), "");
        EXPECT_EQ(ReadFile(JournalName), "");

        Form.Button1Click();
        Form.Button1Click();
        EXPECT_EQ(LineCount(ReadFile(JournalName)), 2u);
        Dialogs.FileName = Dir.filePath("saved.csv").toStdString();
        Form.findChild<QToolButton*>("SpeedButton1")->click();
        EXPECT_EQ(ReadFile(JournalName), "");
        Form.Button1Click();
        EXPECT_EQ(LineCount(ReadFile(JournalName)), 1u);

        // A second window would write into the same journal: it keeps none.
        TForm1 Second(Dialogs);
        Second.StartJournal(JournalName);
        ASSERT_EQ(Dialogs.Messages.size(), 1u);
        EXPECT_THAT(Dialogs.Messages[0], HasSubstr("is in use by another sensor monitor"));
        Second.Button1Click();
        EXPECT_EQ(LineCount(ReadFile(JournalName)), 1u);
        EXPECT_TRUE(Dialogs.Messages.size() == 1u);
        Form.close();
        EXPECT_FALSE(Exists(JournalName));
    }
    EXPECT_EQ(Dialogs.Questions.size(), 1u);
}

TEST_F(Journal, AnUnreadableJournalIsKeptAside) {
    QDir().mkpath(Dir.filePath("sensor-monitor"));
    WriteFile(JournalName, std::string("00:00:01,1.0\r\n\0\x01", 16));
    TForm1 Form(Dialogs);
    Form.StartJournal(JournalName);
    EXPECT_TRUE(Dialogs.Questions.empty());
    ASSERT_EQ(Dialogs.Messages.size(), 1u);
    EXPECT_THAT(Dialogs.Messages[0], HasSubstr("it is not a text file"));
    EXPECT_EQ(ReadFile(JournalName + ".unreadable").size(), 16u);
    Form.Button1Click();
    EXPECT_EQ(LineCount(ReadFile(JournalName)), 1u);
}

} // namespace
