// Property files: a channel's and a seven-segment display's, each loaded
// into a new object.

#include "tests/fuzz/FuzzInput.h"

#include "platform/Exception.h"
#include "plot/iPlot.h"
#include "plot/iPlotChannelCustom.h"
#include "sevenseg/iSevenSegmentAnalog.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    StartOffscreenApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string& Name = InputAsFile(Data, Size);
    TiPlot Plot;
    try {
        Plot.Channel(0)->LoadPropertiesFromFile(Name);
    } catch (const Exception&) {
    }
    TiSevenSegmentAnalog Display;
    try {
        Display.LoadPropertiesFromFile(Name);
    } catch (const Exception&) {
    }
    return 0;
}
