#include "plot/iPlotLimit.h"

TiPlotLimit::TiPlotLimit(TiPlotComponent* Owner, const TiPlotObjectEvents& Events)
    : TiPlotObject(Owner, Events), FAxes(Owner) {}

void TiPlotLimit::SetXAxisName(const std::string& Value) {
    if (FAxes.SetXName(Value))
        DoChange();
}

void TiPlotLimit::SetYAxisName(const std::string& Value) {
    if (FAxes.SetYName(Value))
        DoChange();
}

void TiPlotLimit::ObjectRemoved(TiPlotObject* Object) {
    FAxes.ObjectRemoved(Object);
}

void TiPlotLimit::ObjectNameChanged(TiPlotObject* Object) {
    FAxes.ObjectNameChanged(Object);
}
