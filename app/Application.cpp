#include "app/Application.h"

#include "components/iComponent.h"

TApplication::TApplication(int& Argc, char** Argv) : QApplication(Argc, Argv) {
    setApplicationName("sensor-monitor");
    // What fails on a click in a drawn component is shown like any other failure.
    iSetFailureReporter([this](const std::string& Message) { FDialogs->ShowMessage(Message); });
}

TApplication::~TApplication() {
    iSetFailureReporter(nullptr);
}

bool TApplication::notify(QObject* Receiver, QEvent* Event) {
    try {
        return QApplication::notify(Receiver, Event);
    } catch (const std::exception& E) {
        HandleException(E);
        return true;
    }
}

void TApplication::HandleException(const std::exception& E) {
    FDialogs->ShowMessage(E.what());
}
