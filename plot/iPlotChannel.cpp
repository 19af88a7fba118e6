#include "plot/iPlotChannel.h"

TiPlotChannel::TiPlotChannel(TiPlotHost* Host) : TiPlotChannelCustom(Host) {
    TiPlotDrawAttributes& A = InitialAttributes();
    A.BarWidth = 5;
    A.BarReference = 0;
    A.BarPenColor = clRed;
    A.BarPenWidth = 0;
    A.BarBrushColor = clRed;
}
