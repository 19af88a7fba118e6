// The channel's point text file.

#include "tests/fuzz/FuzzInput.h"

#include "plot/iPlot.h"
#include "plot/iPlotChannelCustom.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    static TiPlot* Plot = new TiPlot;
    LoadOrRefuse([&] { Plot->Channel(0)->LoadDataFromFile(InputAsFile(Data, Size), true); });
    return 0;
}
