#include "plot/iPlotChannel.h"

TiPlotChannel::TiPlotChannel(TiPlotComponent* Owner, const TiPlotObjectEvents& Events)
    : TiPlotChannelCustom(Owner, Events) {
    TiPlotDrawAttributes& A = InitialAttributes();
    A.BarWidth = 5;
    A.BarReference = 0;
    A.BarPenColor = clRed;
    A.BarPenWidth = 0;
    A.BarBrushColor = clRed;
}
