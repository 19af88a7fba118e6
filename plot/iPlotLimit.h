#pragma once
// A limit line or band drawn in the data view.

#include "plot/iPlotObjects.h"
#include "plot/iPlotReference.h"

#include "platform/GraphicsObjects.h"

#include <cstdint>

namespace iPlotLimit {
Q_NAMESPACE

// X kinds mark positions on the X axis, Y kinds on the Y axis.
enum TiPlotLimitStyle : std::uint8_t {
    iplsLineX,
    iplsLineY,
    iplsBandX,
    iplsBandY,
    iplsPolyBandX,
    iplsPolyBandY
};
Q_ENUM_NS(TiPlotLimitStyle)

} // namespace iPlotLimit

using namespace iPlotLimit;

class TiPlotLimit : public TiPlotObject {
    Q_OBJECT
    Q_PROPERTY(TiPlotLimitStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(TBrushStyle FillStyle READ FillStyle WRITE SetFillStyle)
    Q_PROPERTY(std::string XAxisName READ XAxisName WRITE SetXAxisName)
    Q_PROPERTY(std::string YAxisName READ YAxisName WRITE SetYAxisName)

  public:
    static constexpr TiPlotKind StaticKind = TiPlotKind::Limit;
    TiPlotKind Kind() const override { return StaticKind; }

    explicit TiPlotLimit(TiPlotHost* Host);

    TiPlotLimitStyle Style() const { return FStyle; }
    void SetStyle(TiPlotLimitStyle Value) { Change(FStyle, Value); }
    TBrushStyle FillStyle() const { return FFillStyle; }
    void SetFillStyle(TBrushStyle Value) { Change(FFillStyle, Value); }
    const std::string& XAxisName() const { return FAxes.XName(); }
    void SetXAxisName(const std::string& Value) { ReferenceChanged(FAxes.SetXName(Value)); }
    const std::string& YAxisName() const { return FAxes.YName(); }
    void SetYAxisName(const std::string& Value) { ReferenceChanged(FAxes.SetYName(Value)); }
    TiPlotAxis* XAxis() { return FAxes.X(); }
    TiPlotAxis* YAxis() { return FAxes.Y(); }

    void ObjectNameChanged(TiPlotObject* Object) override;

    // Filled bands go under the grid, so that its lines stay visible.
    bool DrawnBehindGrid() const;

  private:
    TiPlotLimitStyle FStyle = iplsLineY;
    TBrushStyle FFillStyle = bsSolid;
    TiPlotAxisReferences FAxes;
};
