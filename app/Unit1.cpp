#include "app/Unit1.h"

#include "app/Connection.h"
#include "components/iComponent.h"
#include "components/iPropertyFile.h"
#include "plot/iPlot.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannel.h"
#include "sevenseg/iSevenSegmentAnalog.h"
#include "ui_Unit1.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QScrollBar>
#include <QTemporaryFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QThread>

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

} // namespace

static void InitResources() {
    Q_INIT_RESOURCE(Resources);
}

TForm1::TForm1(TUserDialogs& Dialogs, QWidget* Parent)
    : QMainWindow(Parent), FUi(std::make_unique<Ui::TForm1>()), FDialogs(Dialogs),
      FTimer1([this] { Guarded([this] { Timer1Timer(); }); }) {
    InitResources();
    FUi->setupUi(this);
    // The hidden title row keeps its pixel, as in the stored layout.
    QSizePolicy Policy = FUi->Panel2->sizePolicy();
    Policy.setRetainSizeWhenHidden(true);
    FUi->Panel2->setSizePolicy(Policy);
    ApplyDesignSettings();
    ConnectHandlers();
    FormCreate();
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
    const std::string Port = FUi->Edit1->text().toStdString();
    if (Port == "COM0") {
        // A refused period changes nothing.
        const int Period = PeriodMSec();
        // Simulated samples never stand beside an open port.
        if (FXComm1.IsOpen())
            ClosePort();
        FCycle.SimulationMode = true;
        FTimer1.SetInterval(Period);
        FTimer1.SetEnabled(true);
        return;
    }
    if (FXComm1.IsOpen()) {
        ClosePort();
        return;
    }
    try {
        const int Period = PeriodMSec();
        OpenSensorPort(FXComm1, Port);
        // The ticks poll the sensor from now on, not the simulation.
        FCycle.SimulationMode = false;
        FTimer1.SetInterval(Period);
        FUi->Button2->setText(CloseCaption);
        FTimer1.SetEnabled(true);
    } catch (const std::exception& E) {
        OpenFailed(E.what());
    }
}

void TForm1::SetPortName(const QString& Name) {
    FUi->Edit1->setText(Name);
}

void TForm1::SetPeriodText(const QString& Text) {
    FUi->Edit2->setText(Text);
}

void TForm1::ClickButton2() {
    FUi->Button2->click();
}

void TForm1::ClosePort() {
    FXComm1.CloseDevice();
    FUi->Button2->setText(OpenCaption);
}

void TForm1::OpenFailed(const std::string& Reason) {
    // A port that opened but then failed is closed again, so that the
    // caption "open" never stands beside an open port.
    if (FXComm1.IsOpen())
        FXComm1.CloseDevice();
    FTimer1.SetEnabled(false);
    FUi->Button2->setText(OpenCaption);
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
}

void TForm1::Button1Click() {
    FCycle.Button1Click();
}

void TForm1::FormClose() {}

void TForm1::ComPort1RxFlag() {}

void TForm1::closeEvent(QCloseEvent* Event) {
    FormClose();
    QMainWindow::closeEvent(Event);
}

TiSevenSegmentAnalog* TForm1::Display(int Index) const {
    return Index == 1 ? FUi->iSevenSegmentAnalog1 : FUi->iSevenSegmentAnalog2;
}

bool TForm1::PortIsOpen() {
    return FXComm1.IsOpen();
}

std::string TForm1::PortReadString() {
    std::string Data;
    FXComm1.ReadString(Data);
    return Data;
}

void TForm1::PortWriteString(const std::string& Data) {
    FXComm1.WriteString(Data);
}

void TForm1::PortFailed(const std::string& Reason) {
    const bool Lost = FXComm1.LineLost();
    // Closed before the message, so that no tick behind it asks again.
    FXComm1.CloseDevice();
    FTimer1.SetEnabled(false);
    FUi->Button2->setText(OpenCaption);
    FDialogs.ShowMessage(PortFailureText(FXComm1.DeviceName(), Lost, Reason));
}

void TForm1::SetDisplayValue(int Display, double Value) {
    this->Display(Display)->SetValue(Value);
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

void TForm1::Pause(int MSec) {
    QThread::msleep(MSec);
}

int TForm1::RandomDigit() {
    return FRandom.Next(10);
}
