#include "plot/iPlotLabel.h"

TiPlotLabel::TiPlotLabel(TiPlotHost* Host) : TiPlotLayoutObject(Host) {
    SetHorizontal(true);
    FFont.SetName("Arial");
    FFont.SetSize(14);
    FFont.SetStyle({fsBold});
    FFont.SetColor(clWhite);
}
