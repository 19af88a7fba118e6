#pragma once
// The rectangle the channels are drawn in, with its grid.

#include "plot/iPlotObjects.h"
#include "plot/iPlotReference.h"

class TiPlotDataView : public TiPlotLayoutObject {
    Q_OBJECT
    Q_PROPERTY(bool BackgroundTransparent READ BackgroundTransparent WRITE SetBackgroundTransparent)
    Q_PROPERTY(TColor BackgroundColor READ BackgroundColor WRITE SetBackgroundColor)
    Q_PROPERTY(std::string GridXAxisName READ GridXAxisName WRITE SetGridXAxisName)
    Q_PROPERTY(std::string GridYAxisName READ GridYAxisName WRITE SetGridYAxisName)

  public:
    static constexpr TiPlotKind StaticKind = TiPlotKind::DataView;
    TiPlotKind Kind() const override { return StaticKind; }

    explicit TiPlotDataView(TiPlotHost* Host);

    bool BackgroundTransparent() const { return FBackgroundTransparent; }
    void SetBackgroundTransparent(bool Value) { Change(FBackgroundTransparent, Value); }
    TColor BackgroundColor() const { return FBackgroundColor; }
    void SetBackgroundColor(TColor Value) { Change(FBackgroundColor, Value); }
    // Under everything drawn inside the data view.
    void PaintBackground(TCanvas& Canvas);

    const std::string& GridXAxisName() const { return FGridAxes.XName(); }
    void SetGridXAxisName(const std::string& Value) { ReferenceChanged(FGridAxes.SetXName(Value)); }
    const std::string& GridYAxisName() const { return FGridAxes.YName(); }
    void SetGridYAxisName(const std::string& Value) { ReferenceChanged(FGridAxes.SetYName(Value)); }
    // The grid's axes, looked up by name on first use; none when missing.
    TiPlotAxis* GridXAxis() { return FGridAxes.X(); }
    TiPlotAxis* GridYAxis() { return FGridAxes.Y(); }

    void ObjectNameChanged(TiPlotObject* Object) override;

  private:
    bool FBackgroundTransparent = true;
    TColor FBackgroundColor = 0x808000;
    TiPlotAxisReferences FGridAxes;
};
