#pragma once
// The program's main window: the connection control (port name, period,
// open and close or simulation), the two value displays, the plot and the
// data log with its file. The polling cycle does the work of each tick;
// the window is its neighbourhood.

#include "app/Connection.h"
#include "app/DataLog.h"
#include "app/Journal.h"
#include "app/PollingCycle.h"
#include "app/PortList.h"
#include "app/Publisher.h"
#include "app/Timer.h"
#include "app/UserDialogs.h"
#include "platform/Types.h"
#include "serial/XComDrv.h"

#include <QMainWindow>
#include <QTimer>

#include <exception>
#include <functional>
#include <memory>

namespace Ui {
class TForm1;
}
class QAbstractButton;
class QLabel;
class QToolButton;
class TiPlot;
class TiSevenSegmentAnalog;

class TForm1 : public QMainWindow, private TPortNeighbours {
    Q_OBJECT
  public:
    // Loads the stored layout and design settings, then runs FormCreate.
    explicit TForm1(TUserDialogs& Dialogs, QWidget* Parent = nullptr);
    ~TForm1() override;

    void FormCreate();
    void COMM_init();
    void iplot_init();
    void Button2Click();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void Timer1Timer();
    void Button1Click();
    void FormClose();
    void ComPort1RxFlag();

    // The command line fills the port name and the period and presses the
    // open button, as a user would.
    void SetPortName(const QString& Name);
    void SetPeriodText(const QString& Text);
    void ClickButton2();

    // Keeps the log's lines in the journal of FileName as they come; a
    // journal left by a run that did not end cleanly is offered once.
    void StartJournal(const std::string& FileName);

    // The widgets are the children of the stored layout, found by name.
    TTimer& Timer1() { return FTimer1; }
    TXComm& XComm1() { return FXComm1; }
    TPollingCycle& Cycle() { return FCycle; }

    // Publishes every sample with Settings from now on (none when they are
    // off); the settings dialog changes and stores them. A publisher that
    // does not start says why in a message.
    void StartPublisher(const TPublisherSettings& Settings);
    void OpenPublisherSettings();
    const TPublisherSettings& PublisherSettings() const { return FPublisherSettings; }
    TSamplePublisher* Publisher() const { return FPublisher.get(); }

    // True while the window waits for a lost port to come back.
    bool WaitingForPort() const { return FReconnectTimer.isActive(); }
    // How often a lost port is looked for.
    static constexpr int ReconnectCheckMSec = 1000;

  protected:
    void closeEvent(QCloseEvent* Event) override;

  private:
    void ApplyDesignSettings();
    void ConnectHandlers();
    // Runs a handler; an exception shows its message and the program goes on.
    void Guarded(const std::function<void()>& Handler);
    void OnClick(QAbstractButton* Button, void (TForm1::*Handler)());
    int PeriodMSec() const;
    void ClosePort();
    void OpenFailed(const std::string& Reason);
    // The log as the memo holds it, lines separated by LF.
    QString LogText() const;
    bool LogHasUnsavedLines() const;
    bool LogEndInView() const;
    void PlotLogLines();
    TiSevenSegmentAnalog* Display(int Index) const;

    // The port chooser, the status bar, stale values and reconnecting.
    void SetUpPortChooser();
    void FillPortChooser();
    void SetUpStatusBar();
    void ShowState(const std::string& Text);
    void ShowLink();
    bool PortInUse() const;
    void OpenPort(const std::string& Port, int PeriodMSec);
    void CloseHalfOpenPort();
    void WaitForPort();
    void TryReconnect();
    void SetDisplaysDimmed(bool Dimmed);
    void SetUpPublisherControls();
    void ShowPublisher();
    void SampleTaken(const TSample& Sample) override;

    // The log's journal.
    void RecoverJournal(const std::string& LeftOver);
    void JournalLine(const std::string& Line);
    void ClearJournal();

    void PortFailed(const std::string& Reason) override;
    void SetDisplayValue(int Display, double Value) override;
    void SetDisplayVisible(int Display, bool Visible) override;
    void AddXY(int Channel, double X, double Y) override;
    void AppendLogLine(const std::string& Line) override;
    TDateTime LocalTime() override;

    std::unique_ptr<Ui::TForm1> FUi;
    TUserDialogs& FDialogs;
    TXComm FXComm1;
    TTimer FTimer1;
    TPollingCycle FCycle{*this};
    // The log is saved in the encoding it was loaded in.
    TLogEncoding FLogEncoding = TLogEncoding::Utf8;

    TPortWatcher FPortWatcher;
    QLabel* FStateLabel = nullptr;
    QLabel* FLinkLabel = nullptr;
    // Fires when the displays' newest value has grown older than three
    // polling periods.
    QTimer FStaleTimer;
    // The displays' segment colours as designed, for undimming.
    TColor FSegmentColors[2] = {};
    bool FDimmed = false;
    QTimer FReconnectTimer;

    // Null while the journal is off.
    std::unique_ptr<TLogJournal> FJournal;

    TPublisherSettings FPublisherSettings;
    std::unique_ptr<TSamplePublisher> FPublisher;
    QToolButton* FPublisherButton = nullptr;
    QLabel* FPublisherLabel = nullptr;
    QTimer FPublisherWatch;
};
