#include "plot/iPlotReference.h"

#include "plot/iPlotAxis.h"
#include "plot/iPlotComponent.h"

TiPlotAxis* TiPlotAxisReferences::X() {
    return FX.Resolve([this](const std::string& Name) { return FOwner->FindXAxis(Name); });
}

TiPlotAxis* TiPlotAxisReferences::Y() {
    return FY.Resolve([this](const std::string& Name) { return FOwner->FindYAxis(Name); });
}

void TiPlotAxisReferences::ObjectRemoved(const TiPlotObject* Object) {
    FX.ObjectRemoved(Object);
    FY.ObjectRemoved(Object);
}

void TiPlotAxisReferences::ObjectNameChanged(const TiPlotObject* Object) {
    FX.ObjectNameChanged(Object);
    FY.ObjectNameChanged(Object);
}
