// Property files: a channel's and a seven-segment display's, each loaded
// into a new object.

#include "tests/fuzz/FuzzInput.h"

#include "plot/iPlot.h"
#include "plot/iPlotChannelCustom.h"
#include "sevenseg/iSevenSegmentAnalog.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string& Name = InputAsFile(Data, Size);
    TiPlot Plot;
    LoadOrRefuse([&] { Plot.Channel(0)->LoadPropertiesFromFile(Name); });
    TiSevenSegmentAnalog Display;
    LoadOrRefuse([&] { Display.LoadPropertiesFromFile(Name); });
    return 0;
}
