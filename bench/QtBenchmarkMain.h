#pragma once
// The main of a benchmark program that needs a Qt application (the canvas
// a QGuiApplication, widgets a QApplication), on the offscreen platform
// unless the environment asks for another one:
//   int main(int Argc, char** Argv) { return RunQtBenchmarks<QGuiApplication>(Argc, Argv); }

#include <QByteArray>
#include <QtGlobal>

#include <benchmark/benchmark.h>

template <typename TApplication> int RunQtBenchmarks(int& Argc, char** Argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication Application(Argc, Argv);
    benchmark::Initialize(&Argc, Argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
