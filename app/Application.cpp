#include "app/Application.h"

TApplication::TApplication(int& Argc, char** Argv) : QApplication(Argc, Argv) {
    setApplicationName("sensor-monitor");
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
