#include "app/Unit1.h"

#include "app/Connection.h"
#include "app/PublisherDialog.h"
#include "components/iComponent.h"
#include "components/iGPFunctions.h"
#include "components/iPropertyFile.h"
#include "platform/Exception.h"
#include "platform/SerialDevice.h"
#include "platform/Text.h"
#include "plot/iPlot.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannel.h"
#include "sevenseg/iSevenSegmentAnalog.h"
#include "ui_Unit1.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTemporaryFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolButton>

namespace {

const char* const OpenCaption = "打开串口";
const char* const CloseCaption = "关闭串口";
const char* const LogFileName = "*.csv";

// The settings a component keeps in its stored design, as a property file
// among the program's resources.
void LoadDesign(TiComponent& Component, const QString& Resource) {
    QFile Stored(Resource);
    std::unique_ptr<QTemporaryFile> File(QTemporaryFile::createNativeFile(Stored));
    if (!File)
        throw Exception("Cannot open file \"" + Resource.toStdString() + "\"");
    Component.LoadDesignFromFile(File->fileName().toStdString());
}

// The chooser's list shows each port with its adapter (kept as the item's
// tooltip); the field itself takes the path alone.
class TPortItemDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

  protected:
    void initStyleOption(QStyleOptionViewItem* Option, const QModelIndex& Index) const override {
        QStyledItemDelegate::initStyleOption(Option, Index);
        const QString Description = Index.data(Qt::ToolTipRole).toString();
        if (!Description.isEmpty())
            Option->text += "    " + Description;
    }
};

// A label that gives up width first and then shows its text shortened in
// the middle, so that a long port name leaves the link counts in view.
class TElidedLabel : public QLabel {
  public:
    using QLabel::QLabel;
    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter Painter(this);
        const QRect Box = contentsRect();
        Painter.drawText(Box, int(alignment()),
                         fontMetrics().elidedText(text(), Qt::ElideMiddle, Box.width()));
    }
};

std::string PortPath(const std::string& Port) {
    return TSerialDevice::PathOf(Port);
}

// A pseudo-terminal's number is free once its far end closed and goes to
// the next terminal opened anywhere: waiting for it could open someone
// else's terminal. Device names, by-id names and links to a terminal come
// back with their device.
bool MayComeBack(const std::string& Path) {
    return Path.rfind("/dev/pts/", 0) != 0;
}

} // namespace

static void InitResources() {
    Q_INIT_RESOURCE(Resources);
}

TForm1::TForm1(TUserDialogs& Dialogs, QWidget* Parent)
    : QMainWindow(Parent), TPortNeighbours(FXComm1), FUi(std::make_unique<Ui::TForm1>()),
      FDialogs(Dialogs), FTimer1([this] { Guarded([this] { Timer1Timer(); }); }) {
    InitResources();
    FUi->setupUi(this);
    // The hidden title row keeps its pixel, as in the stored layout.
    QSizePolicy Policy = FUi->Panel2->sizePolicy();
    Policy.setRetainSizeWhenHidden(true);
    FUi->Panel2->setSizePolicy(Policy);
    ApplyDesignSettings();
    // The log's lines are the program's data, not edits: an undo must not
    // take samples back out, and an undo history of every line would grow
    // without end.
    FUi->Memo1->setUndoRedoEnabled(false);
    ConnectHandlers();
    FormCreate();
    SetUpPortChooser();
    SetUpStatusBar();
    SetUpPublisherControls();
}

TForm1::~TForm1() = default;

void TForm1::ApplyDesignSettings() {
    LoadDesign(*FUi->iSevenSegmentAnalog1, ":/design/iSevenSegmentAnalog1.txt");
    LoadDesign(*FUi->iSevenSegmentAnalog2, ":/design/iSevenSegmentAnalog2.txt");
    LoadDesign(*FUi->iPlot1, ":/design/iPlot1.txt");

    // The serial component has no property file: its design settings are here.
    FXComm1.SetDeviceName("COM27");
    SetUpSensorPort(FXComm1);

    FTimer1.SetEnabled(false);
    FTimer1.SetInterval(1000);
}

void TForm1::ConnectHandlers() {
    OnClick(FUi->Button1, &TForm1::Button1Click);
    OnClick(FUi->Button2, &TForm1::Button2Click);
    OnClick(FUi->SpeedButton1, &TForm1::SpeedButton1Click);
    OnClick(FUi->SpeedButton2, &TForm1::SpeedButton2Click);
}

void TForm1::OnClick(QAbstractButton* Button, void (TForm1::*Handler)()) {
    connect(Button, &QAbstractButton::clicked, this,
            [this, Handler] { Guarded([this, Handler] { (this->*Handler)(); }); });
}

void TForm1::Guarded(const std::function<void()>& Handler) {
    try {
        Handler();
    } catch (const std::exception& E) {
        FDialogs.ShowMessage(E.what());
    }
}

void TForm1::FormCreate() {
    FCycle.MeasurementKind = mkTemperature;
    const bool Temperature = FCycle.MeasurementKind == mkTemperature;
    FUi->rzlabel1->setText(Temperature ? "实时温度(°C)" : "实时距离(mm)");
    for (TiSevenSegmentAnalog* D : {FUi->iSevenSegmentAnalog1, FUi->iSevenSegmentAnalog2}) {
        D->SetPrecision(Temperature ? 1 : 0);
        D->SetTop(D->Top() + 10);
    }
    COMM_init();
    iplot_init();
}

void TForm1::COMM_init() {}

void TForm1::iplot_init() {
    const bool Temperature = FCycle.MeasurementKind == mkTemperature;
    TiPlot& Plot = *FUi->iPlot1;
    Plot.ClearChannels();
    Plot.ClearXAxes();
    Plot.SetTitleText(Temperature ? "实时温度曲线" : "实时距离曲线");

    TiPlotYAxis& YAxis = *Plot.YAxis(0);
    YAxis.SetSpan(Temperature ? 40 : 4000);
    YAxis.SetMin(0);
    YAxis.SetTitle(Temperature ? "温度值(°C)" : "距离值(mm)");
    YAxis.SetTitleShow(true);

    auto& Channel0 = static_cast<TiPlotChannel&>(*Plot.Channel(Plot.NewChannel()));
    Channel0.SetTitleText(Temperature ? "温度1" : "距离1");
    Channel0.SetColor(clRed);
    Channel0.SetInterpolationStyle(ipistCubicSpline);
    Channel0.SetTraceLineWidth(2);

    TiPlotXAxis& XAxis = *Plot.XAxis(Plot.NewXAxis());
    XAxis.SetTitle("采样时间(S)");
    XAxis.SetTitleShow(true);
    XAxis.SetSpan(100);
    Channel0.SetXAxisName(XAxis.Name());
    TFont LabelsFont = XAxis.LabelsFont();
    LabelsFont.SetColor(clRed);
    XAxis.SetLabelsFont(LabelsFont);

    TiPlotChannelCustom& Channel1 = *Plot.Channel(Plot.NewChannel());
    Channel1.SetTitleText(Temperature ? "温度2" : "距离2");
    Channel1.SetColor(clYellow);
    Channel1.SetTraceLineWidth(2);
    Channel1.SetXAxisName(XAxis.Name());
}

int TForm1::PeriodMSec() const {
    return PollingPeriodMSec(FUi->Edit2->text().toStdString());
}

void TForm1::Button2Click() {
    const std::string Port = FUi->Edit1->currentText().toStdString();
    if (Port == "COM0") {
        // A refused period changes nothing.
        const int Period = PeriodMSec();
        // Simulated samples never stand beside an open port.
        if (PortInUse())
            ClosePort();
        FCycle.SimulationMode = true;
        FTimer1.SetInterval(Period);
        FTimer1.SetEnabled(true);
        ShowState("Simulated samples");
        return;
    }
    if (PortInUse()) {
        ClosePort();
        return;
    }
    try {
        OpenPort(Port, PeriodMSec());
    } catch (const std::exception& E) {
        OpenFailed(E.what());
    }
}

void TForm1::SetPeriodText(const QString& Text) {
    FUi->Edit2->setText(Text);
}

void TForm1::ClickButton2() {
    FUi->Button2->click();
}

void TForm1::OpenPort(const std::string& Port, int PeriodMSec) {
    OpenSensorPort(FXComm1, Port);
    // The ticks poll the sensor from now on, not the simulation.
    FCycle.SimulationMode = false;
    FCycle.PortOpened();
    FTimer1.SetInterval(PeriodMSec);
    FUi->Button2->setText(CloseCaption);
    FTimer1.SetEnabled(true);
    ShowState("Polling " + PortPath(Port));
    ShowLink();
}

bool TForm1::PortInUse() const {
    return FXComm1.IsOpen() || WaitingForPort();
}

void TForm1::ClosePort() {
    const bool Waiting = WaitingForPort();
    FReconnectTimer.stop();
    if (FXComm1.IsOpen())
        FXComm1.CloseDevice();
    FUi->Button2->setText(OpenCaption);
    const std::string Path = PortPath(FXComm1.DeviceName());
    ShowState(Waiting ? "Stopped waiting for " + Path : "Closed " + Path);
}

void TForm1::CloseHalfOpenPort() {
    // A port that opened but then failed is closed again, so that the
    // caption "open" never stands beside an open port.
    if (FXComm1.IsOpen())
        FXComm1.CloseDevice();
}

void TForm1::OpenFailed(const std::string& Reason) {
    CloseHalfOpenPort();
    FTimer1.SetEnabled(false);
    FUi->Button2->setText(OpenCaption);
    ShowState("Not opened: " + FUi->Edit1->currentText().toStdString());
    FDialogs.ShowMessage(std::string("串口打开失败") + "\n" + Reason);
}

void TForm1::SpeedButton1Click() {
    std::string FileName;
    if (!FDialogs.ExecuteSave(LogFileName, FileName))
        return;
    if (QFileInfo::exists(QString::fromStdString(FileName)) &&
        !FDialogs.Confirm("\"" + FileName + "\" already exists. Replace it?"))
        return;
    iWriteTextFile(FileName, FileTextOfLog(LogText(), FLogEncoding));
    FUi->Memo1->document()->setModified(false);
    ClearJournal();
}

void TForm1::SpeedButton2Click() {
    std::string FileName;
    if (FDialogs.ExecuteOpen(LogFileName, FileName)) {
        const TLogText Log = LogTextOfFile(iReadTextFile(FileName), FileName);
        if (LogHasUnsavedLines() &&
            !FDialogs.Confirm("The log has lines that were not saved. Replace them with \"" +
                              FileName + "\"?"))
            return;
        FUi->Memo1->setPlainText(Log.Text);
        FUi->Memo1->document()->setModified(false);
        FLogEncoding = Log.Encoding;
        ClearJournal();
    }
    FCycle.SampleCounter = 0;
    PlotLogLines();
}

QString TForm1::LogText() const {
    // The blocks' own text: the memo's plain text would turn no-break
    // spaces into spaces.
    QStringList Lines;
    for (QTextBlock B = FUi->Memo1->document()->begin(); B.isValid(); B = B.next())
        Lines << B.text();
    return Lines.join('\n');
}

bool TForm1::LogHasUnsavedLines() const {
    return FUi->Memo1->document()->isModified() && !FUi->Memo1->document()->isEmpty();
}

void TForm1::PlotLogLines() {
    std::vector<float> Values;
    for (const std::string& Line : LogLines(LogText().toStdString())) {
        if (!LogLineValues(Line, Values))
            continue;
        for (std::size_t Channel = 0; Channel < Values.size(); ++Channel)
            AddXY(int(Channel), FCycle.SampleCounter, Values[Channel]);
        ++FCycle.SampleCounter;
    }
}

void TForm1::Timer1Timer() {
    FCycle.Timer1Timer();
    if (!FCycle.SimulationMode)
        ShowLink();
}

void TForm1::Button1Click() {
    FCycle.Button1Click();
}

void TForm1::FormClose() {
    // A clean exit: the journal goes.
    FJournal.reset();
}

void TForm1::ComPort1RxFlag() {}

void TForm1::closeEvent(QCloseEvent* Event) {
    FormClose();
    QMainWindow::closeEvent(Event);
}

TiSevenSegmentAnalog* TForm1::Display(int Index) const {
    return Index == 1 ? FUi->iSevenSegmentAnalog1 : FUi->iSevenSegmentAnalog2;
}

void TForm1::PortFailed(const std::string& Reason) {
    const bool Lost = FXComm1.LineLost();
    // Closed before the message, so that no tick behind it asks again.
    FXComm1.CloseDevice();
    FTimer1.SetEnabled(false);
    FUi->Button2->setText(OpenCaption);
    const std::string Path = PortPath(FXComm1.DeviceName());
    const std::string Text = PortFailureText(FXComm1.DeviceName(), Lost, Reason);
    ShowState((Lost ? "Line lost: " : "Failed: ") + Path);
    // A replugged adapter comes back under the same name (by-id names
    // survive a replug): the one message offers to wait for it.
    if (!Lost || !MayComeBack(Path)) {
        FDialogs.ShowMessage(Text);
        return;
    }
    if (FDialogs.Confirm(Text + "\n\nWait for " + Path +
                         " to come back and then go on polling? (Pressing 关闭串口 stops "
                         "waiting.)"))
        WaitForPort();
}

void TForm1::SetDisplayValue(int Display, double Value) {
    this->Display(Display)->SetValue(Value);
    SetDisplaysDimmed(false);
    // Three periods from now without a new value, the displays dim.
    FStaleTimer.start(3 * FTimer1.Interval() + 1);
}

void TForm1::SetDisplayVisible(int Display, bool Visible) {
    this->Display(Display)->setVisible(Visible);
}

void TForm1::AddXY(int Channel, double X, double Y) {
    FUi->iPlot1->Channel(Channel)->AddXY(X, Y);
}

void TForm1::AppendLogLine(const std::string& Line) {
    // The log follows the newest line unless the user scrolled it out of
    // view to read.
    const bool Follow = LogEndInView();
    JournalLine(Line);
    // Every line the program writes ends with a line break; a line typed
    // without one is ended first.
    QTextCursor End(FUi->Memo1->document());
    End.movePosition(QTextCursor::End);
    const QString Break = End.block().text().isEmpty() ? "" : "\n";
    End.insertText(Break + QString::fromStdString(Line) + "\n");
    if (Follow)
        FUi->Memo1->verticalScrollBar()->setValue(FUi->Memo1->verticalScrollBar()->maximum());
}

bool TForm1::LogEndInView() const {
    QTextCursor End(FUi->Memo1->document());
    End.movePosition(QTextCursor::End);
    return FUi->Memo1->cursorRect(End).bottom() <= FUi->Memo1->viewport()->height();
}

TDateTime TForm1::LocalTime() {
    return Now();
}

void TForm1::SetPortName(const QString& Name) {
    FUi->Edit1->setEditText(Name);
}

void TForm1::SetUpPortChooser() {
    QComboBox& Box = *FUi->Edit1;
    // Typed names stay as typed: no completion that could turn ttyUSB1
    // into ttyUSB10, and nothing typed joins the list.
    Box.setCompleter(nullptr);
    Box.setInsertPolicy(QComboBox::NoInsert);
    Box.setItemDelegate(new TPortItemDelegate(&Box));
    connect(&FPortWatcher, &TPortWatcher::Changed, this, &TForm1::FillPortChooser);
    FillPortChooser();
}

void TForm1::FillPortChooser() {
    QComboBox& Box = *FUi->Edit1;
    // The user's text and cursor survive a device coming or going.
    const QString Text = Box.currentText();
    const int Cursor = Box.lineEdit()->cursorPosition();
    Box.clear();
    for (const TPortEntry& Port : FPortWatcher.Ports()) {
        Box.addItem(Port.Path);
        Box.setItemData(Box.count() - 1, Port.Description, Qt::ToolTipRole);
    }
    Box.setCurrentIndex(-1);
    Box.setEditText(Text);
    Box.lineEdit()->setCursorPosition(Cursor);
    // The list may be wider than the field: whole names and adapters.
    Box.view()->setMinimumWidth(Box.view()->sizeHintForColumn(0) + 24);
}

void TForm1::SetUpStatusBar() {
    // The window grows by the status bar, so everything above it keeps
    // its place and size.
    QStatusBar* Bar = statusBar();
    FStateLabel = new TElidedLabel(Bar);
    FStateLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    FLinkLabel = new QLabel(Bar);
    FStateLabel->setObjectName("StateLabel");
    FLinkLabel->setObjectName("LinkLabel");
    Bar->addWidget(FStateLabel, 1);
    Bar->addPermanentWidget(FLinkLabel);
    resize(width(), height() + Bar->sizeHint().height());

    for (int I = 0; I < 2; ++I)
        FSegmentColors[I] = Display(I + 1)->SegmentColor();
    FStaleTimer.setSingleShot(true);
    connect(&FStaleTimer, &QTimer::timeout, this, [this] { SetDisplaysDimmed(true); });

    FReconnectTimer.setInterval(ReconnectCheckMSec);
    connect(&FReconnectTimer, &QTimer::timeout, this,
            [this] { Guarded([this] { TryReconnect(); }); });
}

void TForm1::ShowState(const std::string& Text) {
    FStateLabel->setText(QString::fromStdString(Text));
    FStateLabel->setToolTip(FStateLabel->text());
}

void TForm1::ShowLink() {
    FLinkLabel->setText(QString::fromStdString(LinkStatusText(FCycle.Link())));
}

void TForm1::SetDisplaysDimmed(bool Dimmed) {
    if (Dimmed == FDimmed)
        return;
    FDimmed = Dimmed;
    // A darker shade of the designed colour: the value stays readable and
    // the off segments follow it.
    for (int I = 0; I < 2; ++I)
        Display(I + 1)->SetSegmentColor(Dimmed ? DimColor(FSegmentColors[I], 2)
                                               : FSegmentColors[I]);
}

void TForm1::WaitForPort() {
    FUi->Button2->setText(CloseCaption);
    ShowState("Waiting for " + PortPath(FXComm1.DeviceName()) + " to come back");
    FReconnectTimer.start();
}

void TForm1::TryReconnect() {
    const std::string Port = FXComm1.DeviceName();
    const std::string Path = PortPath(Port);
    // A failed try waits for the next check: no storm of open attempts.
    if (!QFileInfo::exists(QString::fromStdString(Path)))
        return;
    try {
        OpenPort(Port, FTimer1.Interval());
    } catch (const std::exception& E) {
        CloseHalfOpenPort();
        FUi->Button2->setText(CloseCaption);
        ShowState("Waiting for " + Path + " to come back (" + E.what() + ")");
        return;
    }
    FReconnectTimer.stop();
    ShowState("Reconnected to " + Path);
}

void TForm1::StartJournal(const std::string& FileName) {
    std::string LeftOver;
    try {
        FJournal = std::make_unique<TLogJournal>(FileName);
        LeftOver = FJournal->LeftOver();
    } catch (const Exception& E) {
        FJournal.reset();
        FDialogs.ShowMessage(E.Message());
        return;
    }
    if (!LeftOver.empty())
        RecoverJournal(LeftOver);
}

void TForm1::RecoverJournal(const std::string& LeftOver) {
    const std::string& FileName = FJournal->FileName();
    TLogText Log;
    try {
        Log = LogTextOfFile(LeftOver, FileName);
    } catch (const Exception& E) {
        // Kept for the user to look at; the new journal starts empty.
        const std::string Aside = FileName + ".unreadable";
        QFile::remove(QString::fromStdString(Aside));
        QFile::rename(QString::fromStdString(FileName), QString::fromStdString(Aside));
        FDialogs.ShowMessage(E.Message() + " The journal of the last run is kept as \"" + Aside +
                             "\".");
        return;
    }
    const std::size_t Count = LogLines(Log.Text.toStdString()).size();
    if (!FDialogs.Confirm("The last run did not end cleanly. Its journal holds " +
                          IntToStr(static_cast<long long>(Count)) +
                          " log lines that were not saved.\n\nLoad them into the log? (No "
                          "discards them.)")) {
        ClearJournal();
        return;
    }
    // The journal keeps them until the log is saved.
    FUi->Memo1->setPlainText(Log.Text);
    FUi->Memo1->document()->setModified(true);
    FLogEncoding = Log.Encoding;
    FCycle.SampleCounter = 0;
    PlotLogLines();
}

void TForm1::JournalLine(const std::string& Line) {
    if (!FJournal)
        return;
    try {
        FJournal->Append(Line);
    } catch (const Exception& E) {
        // Told once; the log itself goes on.
        FJournal.reset();
        FDialogs.ShowMessage(E.Message() + " The log goes on without its journal.");
    }
}

void TForm1::ClearJournal() {
    if (FJournal)
        FJournal->Clear();
}

void TForm1::SetUpPublisherControls() {
    // At the right end of the status bar, below the designed controls.
    QStatusBar* Bar = statusBar();
    FPublisherLabel = new QLabel(Bar);
    FPublisherLabel->setObjectName("PublisherLabel");
    FPublisherButton = new QToolButton(Bar);
    FPublisherButton->setObjectName("PublisherButton");
    FPublisherButton->setText("MQTT…");
    FPublisherButton->setToolTip("Publish every sample to an MQTT broker");
    FPublisherButton->setAutoRaise(true);
    // No taller than the status bar's labels: the window above keeps its size.
    FPublisherButton->setMaximumHeight(FLinkLabel->sizeHint().height());
    Bar->addPermanentWidget(FPublisherLabel);
    Bar->addPermanentWidget(FPublisherButton);
    connect(FPublisherButton, &QToolButton::clicked, this,
            [this] { Guarded([this] { OpenPublisherSettings(); }); });
    connect(&FPublisherWatch, &QTimer::timeout, this, &TForm1::ShowPublisher);
    ShowPublisher();
}

void TForm1::StartPublisher(const TPublisherSettings& Settings) {
    FPublisherSettings = Settings;
    FPublisher.reset();
    FPublisherWatch.stop();
    try {
        if (Settings.Enabled)
            FPublisher = std::make_unique<TSamplePublisher>(Settings);
    } catch (const std::exception& E) {
        FDialogs.ShowMessage(std::string("MQTT publishing is off:\n") + E.what());
    }
    if (FPublisher)
        FPublisherWatch.start(PublisherWatchMSec);
    ShowPublisher();
}

void TForm1::OpenPublisherSettings() {
    TPublisherDialog Dialog(FPublisherSettings, this);
    if (Dialog.exec() != QDialog::Accepted)
        return;
    SavePublisherSettings(Dialog.Settings());
    StartPublisher(Dialog.Settings());
}

void TForm1::ShowPublisher() {
    if (!FPublisher) {
        FPublisherLabel->clear();
        FPublisherLabel->setToolTip("");
        FPublisherLabel->hide();
        return;
    }
    const TPublisherStatus Status = FPublisher->Status();
    // The status bar is narrow: the broker's name and the problem go to the
    // tooltip.
    const std::string Text = Status.Connected ? "MQTT connected" : "MQTT waiting for broker";
    FPublisherLabel->setText(QString::fromStdString(Text + PublisherCountsText(Status)));
    FPublisherLabel->setToolTip(
        QString::fromStdString(PublisherStatusText(Status, FPublisher->Broker())));
    FPublisherLabel->show();
}

void TForm1::SampleTaken(const TSample& Sample) {
    if (FPublisher)
        FPublisher->Publish(Sample);
}
