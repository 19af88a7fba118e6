#include "app/Application.h"
#include "app/Unit1.h"

int main(int Argc, char** Argv) {
    TApplication Application(Argc, Argv);
    TQtDialogs Dialogs;
    Application.SetDialogs(Dialogs);
    TForm1 Form1(Dialogs);
    Form1.show();
    return Application.exec();
}
