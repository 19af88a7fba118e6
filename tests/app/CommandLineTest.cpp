// The command line read into what the program runs, without a window.

#include "app/CommandLine.h"
#include "tests/support/LocaleScope.h"

#include <gtest/gtest.h>

namespace {

QStringList Program(const QStringList& Arguments) {
    return QStringList{"sensor-monitor"} + Arguments;
}

struct TGood {
    QStringList Arguments;
    TRunMode Mode;
    const char* Port;
    const char* Period;
    bool Start;
    const char* LogFile;
};

TEST(CommandLine, GoodArgumentLists) {
    const TGood Cases[] = {
        {{}, TRunMode::Window, "", "", false, ""},
        {{"--port", "COM0"}, TRunMode::Window, "COM0", "", false, ""},
        {{"--port=ttyUSB0", "--period", "0.5", "--start"},
         TRunMode::Window,
         "ttyUSB0",
         "0.5",
         true,
         ""},
        {{"--period", "0.001"}, TRunMode::Window, "", "0.001", false, ""},
        {{"--period", "86400"}, TRunMode::Window, "", "86400", false, ""},
        {{"--headless", "--port", "COM0"}, TRunMode::Headless, "COM0", "", false, ""},
        {{"--headless", "--port", "/dev/pts/3", "--period", "0.1", "--log", "/tmp/a log.csv"},
         TRunMode::Headless,
         "/dev/pts/3",
         "0.1",
         false,
         "/tmp/a log.csv"},
        {{"-h"}, TRunMode::Help, "", "", false, ""},
        {{"--help", "--start"}, TRunMode::Help, "", "", false, ""},
        {{"-v"}, TRunMode::Version, "", "", false, ""},
        {{"--version"}, TRunMode::Version, "", "", false, ""},
    };
    for (const TGood& C : Cases) {
        const QStringList Arguments = Program(C.Arguments);
        SCOPED_TRACE(Arguments.join(' ').toStdString());
        const TCommandLine Line = ParseCommandLine(Arguments);
        EXPECT_EQ(Line.Mode, C.Mode);
        EXPECT_EQ(Line.Port.toStdString(), C.Port);
        EXPECT_EQ(Line.Period.toStdString(), C.Period);
        EXPECT_EQ(Line.Start, C.Start);
        EXPECT_EQ(Line.LogFile.toStdString(), C.LogFile);
    }
}

TEST(CommandLine, MistakesAreToldInOneLine) {
    TLocaleScope Plain("C");
    const std::string Range = "The polling period is given in seconds, from 0.001 to 86400.";
    const std::pair<QStringList, std::string> Cases[] = {
        {{"--bogus"}, "Unknown option 'bogus'."},
        {{"-platform", "offscreen", "--headless", "--port", "COM0"}, "Unknown option 'platform'."},
        {{"--port"}, "Missing value after '--port'."},
        {{"--port", ""}, "--port needs a port name."},
        {{"COM0"}, "Unexpected argument 'COM0'."},
        {{"--period", "abc"}, "--period abc: " + Range},
        {{"--period", "0"}, "--period 0: " + Range},
        {{"--period", "0.0004"}, "--period 0.0004: " + Range},
        {{"--period", "86400.001"}, "--period 86400.001: " + Range},
        {{"--period", "-1"}, "--period -1: " + Range},
        {{"--period", "nan"}, "--period nan: " + Range},
        {{"--start"}, "--start needs --port."},
        {{"--start", "--period", "2"}, "--start needs --port."},
        {{"--headless"}, "--headless needs --port."},
        {{"--headless", "--log", "x.csv"}, "--headless needs --port."},
        {{"--port", "COM0", "--log", "x.csv"},
         "--log goes with --headless; the window saves its log itself."},
        {{"--headless", "--port", "COM0", "--log", ""}, "--log needs a file name."},
        {{"--headless", "--port", "COM0", "--journal"},
         "--journal goes with the window; --headless writes out every line as it comes."},
        {{"--mqtt", "broker:1883"},
         "--mqtt broker:1883: The broker address \"broker:1883\" does not begin with mqtt:// or "
         "mqtts://. Use mqtt://host:port or mqtts://host:port."},
        {{"--mqtt", "mqtt://b:99999"},
         "--mqtt mqtt://b:99999: The broker address \"mqtt://b:99999\" has a port that is not a "
         "number from 1 to 65535. Use mqtt://host:port or mqtts://host:port."},
        {{"--mqtt-topic", "plant"}, "--mqtt-topic goes with --mqtt."},
        {{"--headless", "--port", "COM0", "--mqtt-queue", "5"}, "--mqtt-queue goes with --mqtt."},
        {{"--mqtt", "mqtt://b", "--mqtt-topic", "a/#"},
         "--mqtt-topic a/#: The topic prefix \"a/#\" holds a wildcard (+ or #), which a "
         "published topic cannot hold."},
        {{"--mqtt", "mqtt://b", "--mqtt-ca", "/etc/hostname"},
         "--mqtt-ca goes with an mqtts:// broker address."},
        {{"--mqtt", "mqtts://b", "--mqtt-ca", "/no/ca.pem"},
         "--mqtt-ca /no/ca.pem: The CA file \"/no/ca.pem\" does not exist."},
        {{"--mqtt", "mqtt://b", "--mqtt-queue", "0"},
         "--mqtt-queue 0: The queue holds from 1 to 10000000 samples; \"0\" is not such a "
         "number."},
    };
    for (const auto& [Arguments, Message] : Cases) {
        const QStringList List = Program(Arguments);
        SCOPED_TRACE(List.join(' ').toStdString());
        try {
            ParseCommandLine(List);
            ADD_FAILURE() << "accepted";
        } catch (const ECommandLineError& E) {
            EXPECT_EQ(E.Message(), Message);
        }
    }
}

TEST(CommandLine, TheJournalIsOffUnlessAskedFor) {
    EXPECT_FALSE(ParseCommandLine(Program({"--port", "COM0", "--start"})).Journal);
    EXPECT_TRUE(ParseCommandLine(Program({"--journal", "--port", "COM0", "--start"})).Journal);
}

TEST(CommandLine, MqttOptionsOverrideTheStoredSettingsForTheRun) {
    TPublisherSettings Stored;
    Stored.Url = "mqtt://stored";
    Stored.TopicPrefix = "stored/topic";
    Stored.CaFile = "/stored/ca.pem";
    Stored.QueueSize = 10;

    const TPublisherSettings Kept = PublisherSettingsOf(ParseCommandLine(Program({})), Stored);
    EXPECT_FALSE(Kept.Enabled);
    EXPECT_EQ(Kept.Url, "mqtt://stored");

    const TPublisherSettings Url =
        PublisherSettingsOf(ParseCommandLine(Program({"--mqtt", "mqtt://b:1884"})), Stored);
    EXPECT_TRUE(Url.Enabled);
    EXPECT_EQ(Url.Url, "mqtt://b:1884");
    EXPECT_EQ(Url.TopicPrefix, "stored/topic");
    // The stored CA file belongs to the stored broker.
    EXPECT_EQ(Url.CaFile, "");
    EXPECT_EQ(Url.QueueSize, 10u);

    const TPublisherSettings All = PublisherSettingsOf(
        ParseCommandLine(
            Program({"--headless", "--port", "COM0", "--mqtt", "mqtts://b", "--mqtt-topic",
                     "site/a", "--mqtt-ca", "/etc/hostname", "--mqtt-queue", "100"})),
        {});
    EXPECT_TRUE(All.Enabled);
    EXPECT_EQ(All.TopicPrefix, "site/a");
    EXPECT_EQ(All.CaFile, "/etc/hostname");
    EXPECT_EQ(All.QueueSize, 100u);
}

TEST(CommandLine, PeriodWithTheRegionalDecimalComma) {
    TLocaleScope Comma("de_DE.UTF-8");
    EXPECT_EQ(ParseCommandLine(Program({"--period", "0,5"})).Period.toStdString(), "0,5");
    EXPECT_EQ(ParseCommandLine(Program({"--period", "0.5"})).Period.toStdString(), "0.5");
}

TEST(CommandLine, QtWindowOptionsAreLeftToTheWindow) {
    const std::pair<QStringList, bool> Cases[] = {
        {{}, false},
        {{"--port", "COM0", "--start"}, false},
        {{"-h"}, false},
        {{"-v"}, false},
        {{"-platform", "offscreen"}, true},
        {{"--port", "COM0", "-style", "fusion"}, true},
        // A headless run has no window to take them.
        {{"--headless", "-platform", "offscreen"}, false},
    };
    for (const auto& [Arguments, Expected] : Cases) {
        const QStringList List = Program(Arguments);
        EXPECT_EQ(HasWindowSystemOptions(List), Expected) << List.join(' ').toStdString();
    }
}

TEST(CommandLine, HelpNamesEveryOptionAndVersionTheProgram) {
    const std::string Help = HelpText().toStdString();
    for (const char* Option : {"--help", "--version", "--port <name>", "--period <seconds>",
                               "--start", "--headless", "--log <file>", "--journal", "--mqtt <url>",
                               "--mqtt-topic <prefix>", "--mqtt-ca <file>", "--mqtt-queue <n>"})
        EXPECT_NE(Help.find(Option), std::string::npos) << Option;
    EXPECT_EQ(VersionText().toStdString(), "sensor-monitor " SM_VERSION "\n");
}

} // namespace
