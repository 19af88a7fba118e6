#include "plot/iPlotAxis.h"

TiPlotAxis::TiPlotAxis(TiPlotHost* Host) : TiPlotLayoutObject(Host) {
    FLabelsFont.SetColor(clWhite);
    FTitleFont.SetColor(clWhite);
    FTitleFont.SetName("Arial");
    FTitleFont.SetSize(10);
    FTitleFont.SetStyle({fsBold});
}

void TiPlotAxis::SetForceStacking(bool Value) {
    if (ForceStacking() == Value)
        return;
    SetForceStackingField(Value);
    DoLayoutChange();
}

TiPlotXAxis::TiPlotXAxis(TiPlotHost* Host) : TiPlotAxis(Host) {
    SetHorizontal(true);
}

TiPlotYAxis::TiPlotYAxis(TiPlotHost* Host) : TiPlotAxis(Host) {}
