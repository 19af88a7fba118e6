#pragma once
// Reads values off the traces at a cursor position.

#include "plot/iPlotObjects.h"
#include "plot/iPlotReference.h"

#include <QObject>

#include <cstdint>

namespace iPlotDataCursor {
Q_NAMESPACE

// What the cursor measures: a value at pointer 1, or the distance (or its
// inverse) between the two pointers.
enum TiPlotDataCursorStyle : std::uint8_t {
    ipcsValueXY,
    ipcsValueX,
    ipcsValueY,
    ipcsDeltaX,
    ipcsDeltaY,
    ipcsInverseDeltaX
};
Q_ENUM_NS(TiPlotDataCursorStyle)

} // namespace iPlotDataCursor

using namespace iPlotDataCursor;

class TiPlotChannelCustom;
class TiPlotDataView;

class TiPlotDataCursor : public TiPlotManagerObject {
    Q_OBJECT
    Q_PROPERTY(std::string ChannelName READ ChannelName WRITE SetChannelName)
    Q_PROPERTY(
        bool ChannelShowAllInLegend READ ChannelShowAllInLegend WRITE SetChannelShowAllInLegend)

  public:
    static constexpr TiPlotKind StaticKind = TiPlotKind::DataCursor;
    TiPlotKind Kind() const override { return StaticKind; }

    explicit TiPlotDataCursor(TiPlotHost* Host);

    const std::string& ChannelName() const { return FChannel.Name(); }
    void SetChannelName(const std::string& Value);
    TiPlotChannelCustom* Channel();
    // Reading "<All>" channels, the legend shows the cursor's texts.
    bool ChannelShowAllInLegend() const { return FChannelShowAllInLegend; }
    void SetChannelShowAllInLegend(bool Value) { Change(FChannelShowAllInLegend, Value); }
    // The data view the cursor moves in; bound by the plot, not stored.
    TiPlotDataView* DataView() const;
    void SetDataView(TiPlotDataView* Value);

    void ObjectNameChanged(TiPlotObject* Object) override;

  private:
    TiPlotReference<TiPlotChannelCustom> FChannel;
    QPointer<TiPlotDataView> FDataView;
    bool FChannelShowAllInLegend = true;
};
