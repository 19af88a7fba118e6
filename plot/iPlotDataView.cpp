#include "plot/iPlotDataView.h"

TiPlotDataView::TiPlotDataView(TiPlotComponent* Owner, const TiPlotObjectEvents& Events)
    : TiPlotLayoutObject(Owner, Events), FGridAxes(Owner) {}

void TiPlotDataView::ObjectRemoved(TiPlotObject* Object) {
    FGridAxes.ObjectRemoved(Object);
}

void TiPlotDataView::ObjectNameChanged(TiPlotObject* Object) {
    FGridAxes.ObjectNameChanged(Object);
}
