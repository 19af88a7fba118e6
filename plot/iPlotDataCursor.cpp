#include "plot/iPlotDataCursor.h"

#include "plot/iPlotChannelCustom.h"
#include "plot/iPlotComponent.h"
#include "plot/iPlotDataView.h"

TiPlotDataCursor::TiPlotDataCursor(TiPlotComponent* Owner, const TiPlotObjectEvents& Events)
    : TiPlotManagerObject(Owner, Events) {}

void TiPlotDataCursor::SetChannelName(const std::string& Value) {
    ReferenceChanged(FChannel.SetName(Value));
}

TiPlotChannelCustom* TiPlotDataCursor::Channel() {
    return FChannel.Resolve([this](const std::string& Name) { return Owner()->FindChannel(Name); });
}

void TiPlotDataCursor::ObjectRemoved(TiPlotObject* Object) {
    FChannel.ObjectRemoved(Object);
    if (Object == static_cast<TiPlotObject*>(FDataView))
        FDataView = nullptr;
}

void TiPlotDataCursor::ObjectNameChanged(TiPlotObject* Object) {
    FChannel.ObjectNameChanged(Object);
}
