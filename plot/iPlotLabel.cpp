#include "plot/iPlotLabel.h"

TiPlotLabel::TiPlotLabel(TiPlotComponent* Owner, const TiPlotObjectEvents& Events)
    : TiPlotLayoutObject(Owner, Events) {
    SetHorizontal(true);
    FFont.SetName("Arial");
    FFont.SetSize(14);
    FFont.SetStyle({fsBold});
    FFont.SetColor(clWhite);
}
