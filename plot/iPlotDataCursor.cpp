#include "plot/iPlotDataCursor.h"

#include "plot/iPlotChannelCustom.h"
#include "plot/iPlotDataView.h"

TiPlotDataCursor::TiPlotDataCursor(TiPlotHost* Host) : TiPlotManagerObject(Host) {}

void TiPlotDataCursor::SetChannelName(const std::string& Value) {
    ReferenceChanged(FChannel.SetName(Value));
}

TiPlotChannelCustom* TiPlotDataCursor::Channel() {
    return FChannel.Resolve(Host());
}

TiPlotDataView* TiPlotDataCursor::DataView() const {
    return FDataView;
}

void TiPlotDataCursor::SetDataView(TiPlotDataView* Value) {
    FDataView = Value;
}

void TiPlotDataCursor::ObjectNameChanged(TiPlotObject* Object) {
    FChannel.ObjectNameChanged(Object);
}
