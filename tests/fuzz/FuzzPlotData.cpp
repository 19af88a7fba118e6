// The plot's data files, text in columns and compact interval, loaded into
// a plot of two channels.

#include "tests/fuzz/FuzzInput.h"

#include "plot/iPlot.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    static TiPlot* Plot = [] {
        auto* P = new TiPlot;
        P->NewChannel();
        return P;
    }();
    Plot->ClearAllData();
    LoadOrRefuse([&] { Plot->LoadDataFromFile(InputAsFile(Data, Size)); });
    return 0;
}
