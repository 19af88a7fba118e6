#include "plot/iPlotLimit.h"

TiPlotLimit::TiPlotLimit(TiPlotComponent* Owner, const TiPlotObjectEvents& Events)
    : TiPlotObject(Owner, Events), FAxes(Owner) {}

void TiPlotLimit::ObjectRemoved(TiPlotObject* Object) {
    FAxes.ObjectRemoved(Object);
}

void TiPlotLimit::ObjectNameChanged(TiPlotObject* Object) {
    FAxes.ObjectNameChanged(Object);
}
