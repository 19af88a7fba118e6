#include "app/Headless.h"

#include "app/Connection.h"
#include "app/DataLog.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <iostream>

namespace {

std::string OneLine(std::string Text) {
    for (char& C : Text)
        if (C == '\n')
            C = ' ';
    return Text;
}

void Tell(const std::string& Message) {
    std::cerr << "sensor-monitor: " << OneLine(Message) << std::endl;
}

} // namespace

THeadless::THeadless(const std::string& Port, int PeriodMSec, const QString& LogFile,
                     const TPublisherSettings& Publishing)
    : TPortNeighbours(FXComm) {
    FCycle.MeasurementKind = mkTemperature;
    if (Publishing.Enabled) {
        FPublisher = std::make_unique<TSamplePublisher>(Publishing);
        QObject::connect(&FPublisherWatch, &QTimer::timeout, [this] { TellPublisherState(); });
        FPublisherWatch.start(PublisherWatchMSec);
    }
    if (Port == "COM0") {
        FCycle.SimulationMode = true;
    } else {
        SetUpSensorPort(FXComm);
        OpenSensorPort(FXComm, Port);
    }
    // Last: a log that does not open leaves nothing but the port, which
    // closes with its member.
    OpenLog(LogFile);
    FTimer.SetInterval(PeriodMSec);
    FTimer.SetEnabled(true);
}

THeadless::~THeadless() {
    CloseLog();
}

void THeadless::OpenLog(const QString& LogFile) {
    if (LogFile.isEmpty()) {
        FLog = stdout;
        FLogName = "standard output";
        return;
    }
    FLogName = LogFile.toStdString();
    FLog = std::fopen(QFile::encodeName(LogFile).constData(), "ab");
    if (!FLog)
        throw Exception("Cannot open the log file " + FLogName + ": " + std::strerror(errno));
}

void THeadless::CloseLog() {
    if (FLog && FLog != stdout)
        std::fclose(FLog);
    FLog = nullptr;
}

void THeadless::Stop(int ExitCode) {
    if (FStopped)
        return;
    FStopped = true;
    FTimer.SetEnabled(false);
    if (FXComm.IsOpen())
        FXComm.CloseDevice();
    CloseLog();
    QCoreApplication::exit(ExitCode);
}

void THeadless::Tick() {
    try {
        FCycle.Timer1Timer();
    } catch (const std::exception& E) {
        // As in the window: told, and the polling goes on.
        Tell(E.what());
    }
}

void THeadless::Fail(const std::string& Message) {
    Tell(Message);
    Stop(1);
}

void THeadless::PortFailed(const std::string& Reason) {
    if (FStopped) // the log failed first and closed the port
        return;
    Fail(PortFailureWhat(FXComm.DeviceName(), FXComm.LineLost()) + " " + Reason);
}

void THeadless::AppendLogLine(const std::string& Line) {
    if (FStopped)
        return;
    // Ended as in the window's saved log.
    const std::string Text = FileTextOfMemo(Line + "\n");
    if (std::fwrite(Text.data(), 1, Text.size(), FLog) != Text.size() || std::fflush(FLog) != 0)
        Fail("Cannot write the log to " + FLogName + ": " + std::strerror(errno));
}

TDateTime THeadless::LocalTime() {
    return Now();
}

void THeadless::SampleTaken(const TSample& Sample) {
    if (FPublisher && !FStopped)
        FPublisher->Publish(Sample);
}

void THeadless::TellPublisherState() {
    const TPublisherStatus Status = FPublisher->Status();
    const bool Dropping = Status.Dropped > 0;
    // Counts change with every sample: a line only when the connection
    // changes, or when the queue first overflows.
    const std::string State =
        PublisherStatusText({Status.Connected, Status.Problem, 0, 0}, FPublisher->Broker());
    if (State == FPublisherTold && Dropping == FDroppingTold)
        return;
    FPublisherTold = State;
    FDroppingTold = Dropping;
    Tell(PublisherStatusText(Status, FPublisher->Broker()));
}

int RunHeadless(int& Argc, char** Argv, const TCommandLine& Line) {
    QCoreApplication Application(Argc, Argv);
    Application.setApplicationName("sensor-monitor");
    try {
        const QString Period = Line.Period.isEmpty() ? DefaultPeriodText : Line.Period;
        THeadless Headless(Line.Port.toStdString(), PollingPeriodMSec(Period.toStdString()),
                           Line.LogFile, PublisherSettingsOf(Line, {}));
        return Application.exec();
    } catch (const std::exception& E) {
        Tell(E.what());
        return 1;
    }
}
