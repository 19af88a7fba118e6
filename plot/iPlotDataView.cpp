#include "plot/iPlotDataView.h"

TiPlotDataView::TiPlotDataView(TiPlotComponent* Owner, const TiPlotObjectEvents& Events)
    : TiPlotLayoutObject(Owner, Events), FGridAxes(Owner) {}

void TiPlotDataView::SetGridXAxisName(const std::string& Value) {
    if (FGridAxes.SetXName(Value))
        DoChange();
}

void TiPlotDataView::SetGridYAxisName(const std::string& Value) {
    if (FGridAxes.SetYName(Value))
        DoChange();
}

void TiPlotDataView::ObjectRemoved(TiPlotObject* Object) {
    FGridAxes.ObjectRemoved(Object);
}

void TiPlotDataView::ObjectNameChanged(TiPlotObject* Object) {
    FGridAxes.ObjectNameChanged(Object);
}
