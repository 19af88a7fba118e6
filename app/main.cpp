#include "app/Application.h"
#include "app/Unit1.h"

#include <QGuiApplication>

int main(int Argc, char** Argv) {
    // The window and its drawn components are laid out in whole pixels: a
    // screen scaled by 0.75 or 1.25 would smear every drawn picture.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Round);
    TApplication Application(Argc, Argv);
    TQtDialogs Dialogs;
    Application.SetDialogs(Dialogs);
    TForm1 Form1(Dialogs);
    Dialogs.SetParent(&Form1);
    Form1.show();
    return Application.exec();
}
