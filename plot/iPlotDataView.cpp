#include "plot/iPlotDataView.h"

TiPlotDataView::TiPlotDataView(TiPlotHost* Host) : TiPlotLayoutObject(Host), FGridAxes(Host) {}

void TiPlotDataView::ObjectNameChanged(TiPlotObject* Object) {
    FGridAxes.ObjectNameChanged(Object);
}
