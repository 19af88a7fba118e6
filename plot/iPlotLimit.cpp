#include "plot/iPlotLimit.h"

TiPlotLimit::TiPlotLimit(TiPlotHost* Host) : TiPlotObject(Host), FAxes(Host) {}

void TiPlotLimit::ObjectNameChanged(TiPlotObject* Object) {
    FAxes.ObjectNameChanged(Object);
}
