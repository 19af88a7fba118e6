#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/Headless.h"
#include "app/PublisherDialog.h"
#include "app/Unit1.h"

#include <QGuiApplication>
#include <QTimer>

#include <iostream>

namespace {

// --help or --version; the help text needs an application object.
int Answer(const TCommandLine& Line) {
    std::cout << (Line.Mode == TRunMode::Help ? HelpText() : VersionText()).toStdString();
    return 0;
}

int RunWindow(int& Argc, char** Argv) {
    // The window and its drawn components are laid out in whole pixels: a
    // screen scaled by 0.75 or 1.25 would smear every drawn picture.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Round);
    TApplication Application(Argc, Argv);
    // Qt's own options are taken out of the arguments now.
    const TCommandLine Line = ParseCommandLine(Application.arguments());
    if (Line.Mode == TRunMode::Help || Line.Mode == TRunMode::Version)
        return Answer(Line);
    TQtDialogs Dialogs;
    Application.SetDialogs(Dialogs);
    TForm1 Form1(Dialogs);
    Dialogs.SetParent(&Form1);
    if (!Line.Port.isEmpty())
        Form1.SetPortName(Line.Port);
    if (!Line.Period.isEmpty())
        Form1.SetPeriodText(Line.Period);
    Form1.StartPublisher(PublisherSettingsOf(Line, LoadPublisherSettings()));
    Form1.show();
    // Before the port opens, so that every line goes to the journal.
    if (Line.Journal)
        QTimer::singleShot(0, &Form1,
                           [&Form1] { Form1.StartJournal(TLogJournal::DefaultFileName()); });
    if (Line.Start)
        QTimer::singleShot(0, &Form1, [&Form1] { Form1.ClickButton2(); });
    return Application.exec();
}

} // namespace

int main(int Argc, char** Argv) {
    try {
        QStringList Arguments;
        for (int I = 0; I < Argc; ++I)
            Arguments << QString::fromLocal8Bit(Argv[I]);
        if (!HasWindowSystemOptions(Arguments)) {
            const TCommandLine Line = ParseCommandLine(Arguments);
            if (Line.Mode == TRunMode::Help || Line.Mode == TRunMode::Version) {
                QCoreApplication Application(Argc, Argv);
                return Answer(Line);
            }
            if (Line.Mode == TRunMode::Headless)
                return RunHeadless(Argc, Argv, Line);
        }
        return RunWindow(Argc, Argv);
    } catch (const ECommandLineError& E) {
        std::cerr << "sensor-monitor: " << E.what() << " Try sensor-monitor --help.\n";
        return 2;
    }
}
