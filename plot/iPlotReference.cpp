#include "plot/iPlotReference.h"

#include "plot/iPlotAxis.h"

TiPlotAxis* TiPlotAxisReferences::ResolveX() {
    return FXAxis = FX.Resolve(FHost);
}

TiPlotAxis* TiPlotAxisReferences::ResolveY() {
    return FYAxis = FY.Resolve(FHost);
}

void TiPlotAxisReferences::ObjectNameChanged(const TiPlotObject* Object) {
    FX.ObjectNameChanged(Object);
    FY.ObjectNameChanged(Object);
}
