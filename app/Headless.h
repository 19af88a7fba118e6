#pragma once
// The polling cycle without a window: the sensor's port (or simulated
// samples for COM0), a timer at the polling period, and every log line
// written to standard output or appended to a file, flushed at once, ended
// by CR LF as in the window's saved log. SIGINT and SIGTERM close the port
// and end the run with exit code 0; a lost line or a failed write ends it
// with one message on standard error and exit code 1. With a broker given,
// every sample is also published; the publisher's state is told on standard
// error as it changes.

#include "app/CommandLine.h"
#include "app/Connection.h"
#include "app/PollingCycle.h"
#include "app/Publisher.h"
#include "app/Timer.h"
#include "platform/StopSignals.h"
#include "serial/XComDrv.h"

#include <QString>

#include <cstdio>
#include <memory>

class THeadless : private TPortNeighbours {
  public:
    // Opens the log and the port, or starts the simulation for COM0, and
    // starts the timer. Exception when the log or the port does not open.
    THeadless(const std::string& Port, int PeriodMSec, const QString& LogFile,
              const TPublisherSettings& Publishing = {});
    ~THeadless() override;
    THeadless(const THeadless&) = delete;
    THeadless& operator=(const THeadless&) = delete;

    // Closes the port, flushes the log and ends the event loop with ExitCode.
    void Stop(int ExitCode);

  private:
    void OpenLog(const QString& LogFile);
    void CloseLog();
    void Tick();
    void Fail(const std::string& Message);
    void TellPublisherState();

    void PortFailed(const std::string& Reason) override;
    void SetDisplayValue(int, double) override {}
    void SetDisplayVisible(int, bool) override {}
    void AddXY(int, double, double) override {}
    void AppendLogLine(const std::string& Line) override;
    TDateTime LocalTime() override;
    void SampleTaken(const TSample& Sample) override;

    TStopSignals FStopSignals{[this](int) { Stop(0); }};
    std::FILE* FLog = nullptr;
    std::string FLogName;
    TXComm FXComm;
    TTimer FTimer{[this] { Tick(); }};
    TPollingCycle FCycle{*this};
    bool FStopped = false;
    std::unique_ptr<TSamplePublisher> FPublisher;
    // What was last told of the publisher: connected, and why not.
    std::string FPublisherTold;
    bool FDroppingTold = false;
    QTimer FPublisherWatch;
};

// The program's run without a window; its exit code.
int RunHeadless(int& Argc, char** Argv, const TCommandLine& Line);
