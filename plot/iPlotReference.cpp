#include "plot/iPlotReference.h"

#include "plot/iPlotAxis.h"

TiPlotAxis* TiPlotAxisReferences::X() {
    return FX.Resolve(FHost);
}

TiPlotAxis* TiPlotAxisReferences::Y() {
    return FY.Resolve(FHost);
}

void TiPlotAxisReferences::ObjectNameChanged(const TiPlotObject* Object) {
    FX.ObjectNameChanged(Object);
    FY.ObjectNameChanged(Object);
}
