// The plot's configuration file and its annotation file, each loaded into
// a new plot.

#include "tests/fuzz/FuzzInput.h"

#include "plot/iPlot.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string& Name = InputAsFile(Data, Size);
    TiPlot Plot;
    LoadOrRefuse([&] { Plot.LoadPropertiesFromFile(Name); });
    LoadOrRefuse([&] { Plot.LoadAnnotationsFromFile(Name); });
    return 0;
}
