#include "plot/iPlotLimit.h"

TiPlotLimit::TiPlotLimit(TiPlotHost* Host) : TiPlotObject(Host), FAxes(Host) {}

void TiPlotLimit::ObjectNameChanged(TiPlotObject* Object) {
    FAxes.ObjectNameChanged(Object);
}

bool TiPlotLimit::DrawnBehindGrid() const {
    switch (FStyle) {
    case iplsPolyBandX:
    case iplsPolyBandY:
        return true;
    case iplsBandX:
    case iplsBandY:
        return FFillStyle != bsClear;
    default:
        return false;
    }
}
