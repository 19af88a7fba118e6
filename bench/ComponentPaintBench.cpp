// One full paint cycle of a 1000 x 600 component: a new off-screen buffer,
// the background fill and border, and the copy to the window surface.

#include "bench/QtBenchmarkMain.h"
#include "components/iCustomComponent.h"
#include "platform/PainterCanvas.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

namespace {

class TBackgroundOnly : public TiCustomComponent {
  public:
    TBackgroundOnly() {
        resize(1000, 600);
        SetBorderStyle(ibsLowered);
    }

  protected:
    void iPaintTo(TCanvas& Canvas) override { iPaintBackGround(Canvas, BackGroundColor()); }
};

// The cycle onto an image standing for the window's surface.
void BM_PaintCycleOntoImage(benchmark::State& State) {
    TBackgroundOnly Component;
    QImage Surface(1000, 600, QImage::Format_RGB32);
    TPainterCanvas Window(Surface);
    for (auto _ : State)
        Component.Paint(Window);
}
BENCHMARK(BM_PaintCycleOntoImage)->Unit(benchmark::kMicrosecond);

// The whole way through Qt: paint event, cycle, window backing store.
void BM_PaintCycleOfAShownWidget(benchmark::State& State) {
    TBackgroundOnly Component;
    Component.show();
    QApplication::processEvents();
    for (auto _ : State)
        Component.repaint();
}
BENCHMARK(BM_PaintCycleOfAShownWidget)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int Argc, char** Argv) {
    return RunQtBenchmarks<QApplication>(Argc, Argv);
}
