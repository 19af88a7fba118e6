// A day of simulated samples (86 400 ticks, one a second) run as fast as
// the window takes them, with the window shown on the offscreen platform.
// Prints how the heap grew and what of it the plot's points and the log
// page hold: what is left over is what else accumulates.
//
//   day_in_time [SAMPLES]

#include "app/Application.h"
#include "app/Unit1.h"
#include "plot/iPlot.h"
#include "plot/iPlotChannelCustom.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <malloc.h>
#include <string>

namespace {

class TSilentDialogs : public TUserDialogs {
  public:
    void ShowMessage(const std::string& Text) override {
        std::fprintf(stderr, "message: %s\n", Text.c_str());
    }
    bool Confirm(const std::string&) override { return false; }
    bool ExecuteSave(const std::string&, std::string&) override { return false; }
    bool ExecuteOpen(const std::string&, std::string&) override { return false; }
};

// Bytes the program holds from malloc now, large blocks (mapped on their
// own) included.
long long HeapInUse() {
    const struct mallinfo2 Info = mallinfo2();
    return (long long)(Info.uordblks + Info.hblkhd);
}

long long ResidentBytes() {
    std::ifstream Statm("/proc/self/statm");
    long long Pages = 0, Resident = 0;
    Statm >> Pages >> Resident;
    return Resident * 4096;
}

void Report(const char* What, long long Bytes, long long Count, const char* Per) {
    std::printf("%-34s %12lld bytes  %8.1f bytes per %s\n", What, Bytes,
                Count ? double(Bytes) / double(Count) : 0.0, Per);
}

} // namespace

int main(int Argc, char** Argv) {
    const long long Samples = Argc > 1 ? std::atoll(Argv[1]) : 86400;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication App(Argc, Argv);
    TSilentDialogs Dialogs;
    App.SetDialogs(Dialogs);
    TForm1 Form1(Dialogs);
    Form1.show();
    // Simulated samples, with a period that never ticks on its own: this
    // loop is the timer.
    Form1.SetPortName("COM0");
    Form1.findChild<QLineEdit*>("Edit2")->setText("86400");
    Form1.ClickButton2();
    auto* Memo = Form1.findChild<QPlainTextEdit*>("Memo1");
    TiPlotChannelCustom& Channel0 = *Form1.findChild<TiPlot*>("iPlot1")->Channel(0);

    // Warm up: the first paints, fonts and caches are made once.
    constexpr long long WarmUp = 1000;
    for (long long I = 0; I < WarmUp; ++I)
        Form1.Timer1Timer();
    App.processEvents();
    Memo->clear();
    Channel0.Clear();
    Form1.Cycle().SampleCounter = 0;
    App.processEvents();
    malloc_trim(0);
    const long long HeapStart = HeapInUse(), ResidentStart = ResidentBytes();
    // A cleared channel keeps its storage for the next points.
    const long long StorageStart = Channel0.MemoryUsed();

    const auto Start = std::chrono::steady_clock::now();
    for (long long I = 1; I <= Samples; ++I) {
        Form1.Timer1Timer();
        // The window paints and handles its events as it would between ticks.
        if (I % 100 == 0)
            App.processEvents();
        if (I % 21600 == 0)
            std::printf("%7lld samples: heap %+lld bytes, resident %+lld bytes\n", I,
                        HeapInUse() - HeapStart, ResidentBytes() - ResidentStart);
    }
    App.processEvents();
    const double Seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
    const long long Grown = HeapInUse() - HeapStart;
    const int Points = Channel0.Count(), Capacity = Channel0.Capacity();
    const int Lines = Memo->document()->blockCount() - 1;
    const long long PointBytes = Channel0.MemoryUsed() - StorageStart;

    Memo->clear();
    App.processEvents();
    const long long LogBytes = Grown - (HeapInUse() - HeapStart);
    const long long Rest = Grown - LogBytes - PointBytes;

    std::printf("\n%lld samples in %.1f s (%.0f a second); the log holds %d lines\n", Samples,
                Seconds, double(Samples) / Seconds, Lines);
    Report("heap growth over the run", Grown, Samples, "sample");
    Report("  of it the log page's text", LogBytes, Lines, "line");
    Report("  of it channel 0's points", PointBytes, Points, "point");
    std::printf("%-34s %12d bytes, capacity %d for %d points\n", "  channel 0's bytes per point",
                Channel0.ItemSize(), Capacity, Points);
    Report("  everything else", Rest, Samples, "sample");
    std::printf("a week at 1 Hz in the log page: about %.0f MB\n",
                double(LogBytes) / double(Lines) * 7 * 86400 / 1e6);
    return 0;
}
