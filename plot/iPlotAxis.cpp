#include "plot/iPlotAxis.h"

TiPlotAxis::TiPlotAxis(TiPlotComponent* Owner, const TiPlotObjectEvents& Events)
    : TiPlotLayoutObject(Owner, Events) {
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

TiPlotXAxis::TiPlotXAxis(TiPlotComponent* Owner, const TiPlotObjectEvents& Events)
    : TiPlotAxis(Owner, Events) {
    SetHorizontal(true);
}

TiPlotYAxis::TiPlotYAxis(TiPlotComponent* Owner, const TiPlotObjectEvents& Events)
    : TiPlotAxis(Owner, Events) {}
