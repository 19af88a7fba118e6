#pragma once
// The program's application object. Its default error handler shows the
// message of any exception that escapes an event in a message box, and the
// program goes on.

#include "app/UserDialogs.h"

#include <QApplication>

#include <exception>

class TApplication : public QApplication {
    Q_OBJECT
  public:
    TApplication(int& Argc, char** Argv);
    ~TApplication() override;

    // Where the messages go; the Qt message box unless replaced.
    TUserDialogs& Dialogs() const { return *FDialogs; }
    void SetDialogs(TUserDialogs& Dialogs) { FDialogs = &Dialogs; }

    bool notify(QObject* Receiver, QEvent* Event) override;
    void HandleException(const std::exception& E);

  private:
    TQtDialogs FQtDialogs;
    TUserDialogs* FDialogs = &FQtDialogs;
};
