#pragma once
// The program's command line: the window (optionally with the port and the
// period filled in and the port opened), the same polling without a window,
// or the help and version texts. Read before any application object is
// made, so that --help, --version, headless runs and mistakes need no
// display.

#include "app/Publisher.h"
#include "platform/Exception.h"

#include <QString>
#include <QStringList>

enum class TRunMode { Window, Headless, Help, Version };

struct TCommandLine {
    TRunMode Mode = TRunMode::Window;
    QString Port;   // empty when not given
    QString Period; // seconds, as typed into the period field; empty when not given
    bool Start = false;
    QString LogFile;      // headless only; empty for standard output
    bool Journal = false; // window only

    // The MQTT publisher; empty and 0 where not given.
    QString MqttUrl;
    QString MqttTopic;
    QString MqttCa;
    std::size_t MqttQueue = 0;
};

// A mistake on the command line, told in one line.
class ECommandLineError : public Exception {
  public:
    using Exception::Exception;
};

// Arguments[0] is the program. ECommandLineError on unknown options,
// missing or bad values and options that do not go together.
TCommandLine ParseCommandLine(const QStringList& Arguments);

// Base (the stored settings, or the defaults without a window) with what
// the command line gave for this run: --mqtt switches publishing on.
TPublisherSettings PublisherSettingsOf(const TCommandLine& Line, TPublisherSettings Base);

// True when the arguments hold options of Qt's window system (such as
// -platform offscreen), which only the window's application object takes
// out; the program's own options are then read after it.
bool HasWindowSystemOptions(const QStringList& Arguments);

// Need a QCoreApplication.
QString HelpText();
QString VersionText();
