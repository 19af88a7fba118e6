#pragma once
// A limit line or band drawn in the data view.

#include "plot/iPlotObjects.h"
#include "plot/iPlotReference.h"

class TiPlotLimit : public TiPlotObject {
    Q_OBJECT
    Q_PROPERTY(std::string XAxisName READ XAxisName WRITE SetXAxisName)
    Q_PROPERTY(std::string YAxisName READ YAxisName WRITE SetYAxisName)

  public:
    static constexpr TiPlotKind StaticKind = TiPlotKind::Limit;
    TiPlotKind Kind() const override { return StaticKind; }

    explicit TiPlotLimit(TiPlotHost* Host);

    const std::string& XAxisName() const { return FAxes.XName(); }
    void SetXAxisName(const std::string& Value) { ReferenceChanged(FAxes.SetXName(Value)); }
    const std::string& YAxisName() const { return FAxes.YName(); }
    void SetYAxisName(const std::string& Value) { ReferenceChanged(FAxes.SetYName(Value)); }
    TiPlotAxis* XAxis() { return FAxes.X(); }
    TiPlotAxis* YAxis() { return FAxes.Y(); }

    void ObjectNameChanged(TiPlotObject* Object) override;

  private:
    TiPlotAxisReferences FAxes;
};
