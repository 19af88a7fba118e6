#include "app/CommandLine.h"

#include "app/Connection.h"

#include <QCommandLineParser>

namespace {

// The options, made once for parsing and once for the help text.
struct TOptions {
    QCommandLineOption Help{{"h", "help"}, "Show this help and exit."};
    QCommandLineOption Version{{"v", "version"}, "Show the version and exit."};
    QCommandLineOption Port{"port",
                            "The serial port: a path (/dev/ttyUSB0), a name in /dev (ttyUSB0), "
                            "COMn for /dev/ttyS(n-1), or COM0 for simulated samples.",
                            "name"};
    QCommandLineOption Period{"period",
                              QString("The polling period in seconds, from 0.001 to 86400 "
                                      "(default %1).")
                                  .arg(DefaultPeriodText),
                              "seconds"};
    QCommandLineOption Start{"start", "Open the port (--port) at start, as the open button does."};
    QCommandLineOption Headless{"headless",
                                "Poll without a window and write the log lines to standard "
                                "output or to --log; needs --port. SIGINT or SIGTERM end it."};
    QCommandLineOption Log{"log", "With --headless: append the log lines to file.", "file"};
    QCommandLineOption Journal{"journal",
                               "Keep the log's lines in a journal that survives a crash; the "
                               "next start offers to load them."};
    QCommandLineOption Mqtt{"mqtt",
                            "Publish every sample to the MQTT broker at url: mqtt://host:port "
                            "or mqtts://host:port.",
                            "url"};
    QCommandLineOption MqttTopic{"mqtt-topic",
                                 "With --mqtt: the topic prefix (default "
                                 "sensor-monitor/<hostname>); samples go to prefix/sample.",
                                 "prefix"};
    QCommandLineOption MqttCa{"mqtt-ca",
                              "With an mqtts:// broker: the certificate authority's file "
                              "(default: the system's certificates).",
                              "file"};
    QCommandLineOption MqttQueue{"mqtt-queue",
                                 "With --mqtt: how many samples wait while the broker is away "
                                 "(default 86400); then the oldest are dropped.",
                                 "n"};

    void AddTo(QCommandLineParser& Parser) const {
        // -platform is one unknown option, not seven.
        Parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        Parser.setApplicationDescription(
            "Polls one Modbus RTU sensor on a serial line, shows its values on seven-segment "
            "displays, plots them and keeps a data log.");
        Parser.addOptions({Help, Version, Port, Period, Start, Headless, Log, Journal});
        Parser.addOptions({Mqtt, MqttTopic, MqttCa, MqttQueue});
    }
};

void CheckPeriod(const QString& Period) {
    try {
        PollingPeriodMSec(Period.toStdString());
    } catch (const Exception&) {
        throw ECommandLineError("--period " + Period.toStdString() + ": " + PollingPeriodRange());
    }
}

// The option's value checked by Check; its mistake told with the option.
template <typename TCheck>
void CheckValue(const QString& Option, const QString& Value, TCheck Check) {
    try {
        Check(Value.toStdString());
    } catch (const Exception& E) {
        throw ECommandLineError(Option.toStdString() + " " + Value.toStdString() + ": " +
                                E.Message());
    }
}

void ReadMqtt(const QCommandLineParser& Parser, const TOptions& Options, TCommandLine& Line) {
    const bool Url = Parser.isSet(Options.Mqtt);
    for (const QCommandLineOption* O : {&Options.MqttTopic, &Options.MqttCa, &Options.MqttQueue})
        if (Parser.isSet(*O) && !Url)
            throw ECommandLineError("--" + O->names().first().toStdString() + " goes with --mqtt.");
    if (!Url)
        return;
    Line.MqttUrl = Parser.value(Options.Mqtt);
    Line.MqttTopic = Parser.value(Options.MqttTopic);
    Line.MqttCa = Parser.value(Options.MqttCa);
    TBrokerAddress Address;
    CheckValue("--mqtt", Line.MqttUrl,
               [&Address](const std::string& Url) { Address = ParseBrokerUrl(Url); });
    CheckValue("--mqtt-topic", Line.MqttTopic, CheckTopicPrefix);
    if (Parser.isSet(Options.MqttCa)) {
        if (!Address.Tls)
            throw ECommandLineError("--mqtt-ca goes with an mqtts:// broker address.");
        CheckValue("--mqtt-ca", Line.MqttCa, CheckCaFile);
    }
    if (Parser.isSet(Options.MqttQueue))
        CheckValue("--mqtt-queue", Parser.value(Options.MqttQueue),
                   [&Line](const std::string& Text) { Line.MqttQueue = ParseQueueSize(Text); });
}

} // namespace

TCommandLine ParseCommandLine(const QStringList& Arguments) {
    TOptions Options;
    QCommandLineParser Parser;
    Options.AddTo(Parser);
    if (!Parser.parse(Arguments))
        throw ECommandLineError(Parser.errorText().toStdString());
    if (!Parser.positionalArguments().isEmpty())
        throw ECommandLineError("Unexpected argument '" +
                                Parser.positionalArguments().first().toStdString() + "'.");

    TCommandLine Line;
    if (Parser.isSet(Options.Help)) {
        Line.Mode = TRunMode::Help;
        return Line;
    }
    if (Parser.isSet(Options.Version)) {
        Line.Mode = TRunMode::Version;
        return Line;
    }
    Line.Port = Parser.value(Options.Port);
    Line.Period = Parser.value(Options.Period);
    Line.Start = Parser.isSet(Options.Start);
    Line.LogFile = Parser.value(Options.Log);
    Line.Journal = Parser.isSet(Options.Journal);
    if (Parser.isSet(Options.Headless))
        Line.Mode = TRunMode::Headless;

    if (Parser.isSet(Options.Port) && Line.Port.isEmpty())
        throw ECommandLineError("--port needs a port name.");
    if (Parser.isSet(Options.Period))
        CheckPeriod(Line.Period);
    if (Line.Start && Line.Port.isEmpty())
        throw ECommandLineError("--start needs --port.");
    if (Line.Mode == TRunMode::Headless && Line.Port.isEmpty())
        throw ECommandLineError("--headless needs --port.");
    if (Parser.isSet(Options.Log) && Line.Mode != TRunMode::Headless)
        throw ECommandLineError("--log goes with --headless; the window saves its log itself.");
    if (Parser.isSet(Options.Log) && Line.LogFile.isEmpty())
        throw ECommandLineError("--log needs a file name.");
    if (Line.Journal && Line.Mode == TRunMode::Headless)
        throw ECommandLineError(
            "--journal goes with the window; --headless writes out every line as it comes.");
    ReadMqtt(Parser, Options, Line);
    return Line;
}

TPublisherSettings PublisherSettingsOf(const TCommandLine& Line, TPublisherSettings Base) {
    if (Line.MqttUrl.isEmpty())
        return Base;
    Base.Enabled = true;
    Base.Url = Line.MqttUrl.toStdString();
    if (!Line.MqttTopic.isEmpty())
        Base.TopicPrefix = Line.MqttTopic.toStdString();
    // A CA file belongs to its broker.
    Base.CaFile = Line.MqttCa.toStdString();
    if (Line.MqttQueue > 0)
        Base.QueueSize = Line.MqttQueue;
    return Base;
}

bool HasWindowSystemOptions(const QStringList& Arguments) {
    // The program's own options are long ones, or -h and -v; Qt's are
    // single-dash words. A headless run takes none of Qt's window options.
    bool Found = false;
    for (qsizetype I = 1; I < Arguments.size(); ++I) {
        const QString& A = Arguments[I];
        if (A == "--headless")
            return false;
        if (A == "--")
            break;
        if (A.size() > 2 && A.startsWith('-') && !A.startsWith("--"))
            Found = true;
    }
    return Found;
}

QString HelpText() {
    TOptions Options;
    QCommandLineParser Parser;
    Options.AddTo(Parser);
    return Parser.helpText();
}

QString VersionText() {
    return QString("sensor-monitor %1\n").arg(SM_VERSION);
}
