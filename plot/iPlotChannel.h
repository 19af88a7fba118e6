#pragma once
// The channels of the two plot kinds: TiPlotChannel expects ordered X values
// and adds interpolation; TiXYPlotChannel takes X values in any order.

#include "plot/iPlotChannelCustom.h"

class TiPlotChannel : public TiPlotChannelCustom {
    Q_OBJECT
    Q_PROPERTY(TiPlotInterpolationStyle InterpolationStyle READ InterpolationStyle WRITE
                   SetInterpolationStyle)
    Q_PROPERTY(double BarReference READ BarReference WRITE SetBarReference)
    Q_PROPERTY(double BarWidth READ BarWidth WRITE SetBarWidth)
    Q_PROPERTY(TColor BarPenColor READ BarPenColor WRITE SetBarPenColor)
    Q_PROPERTY(int BarPenWidth READ BarPenWidth WRITE SetBarPenWidth)
    Q_PROPERTY(TPenStyle BarPenStyle READ BarPenStyle WRITE SetBarPenStyle)
    Q_PROPERTY(TColor BarBrushColor READ BarBrushColor WRITE SetBarBrushColor)
    Q_PROPERTY(TBrushStyle BarBrushStyle READ BarBrushStyle WRITE SetBarBrushStyle)

  public:
    explicit TiPlotChannel(TiPlotHost* Host);

    TiPlotInterpolationStyle InterpolationStyle() const { return FInterpolationStyle; }
    void SetInterpolationStyle(TiPlotInterpolationStyle Value) {
        Change(FInterpolationStyle, Value);
    }

    // The bar attributes live in the storage too.
    double BarReference() const { return Attributes().BarReference; }
    void SetBarReference(double V) { ChangeAttribute(&TiPlotDrawAttributes::BarReference, V); }
    double BarWidth() const { return Attributes().BarWidth; }
    void SetBarWidth(double V) { ChangeAttribute(&TiPlotDrawAttributes::BarWidth, V); }
    TColor BarPenColor() const { return Attributes().BarPenColor; }
    void SetBarPenColor(TColor V) { ChangeAttribute(&TiPlotDrawAttributes::BarPenColor, V); }
    int BarPenWidth() const { return Attributes().BarPenWidth; }
    void SetBarPenWidth(int V) { ChangeAttribute(&TiPlotDrawAttributes::BarPenWidth, V); }
    TPenStyle BarPenStyle() const { return Attributes().BarPenStyle; }
    void SetBarPenStyle(TPenStyle V) { ChangeAttribute(&TiPlotDrawAttributes::BarPenStyle, V); }
    TColor BarBrushColor() const { return Attributes().BarBrushColor; }
    void SetBarBrushColor(TColor V) { ChangeAttribute(&TiPlotDrawAttributes::BarBrushColor, V); }
    TBrushStyle BarBrushStyle() const { return Attributes().BarBrushStyle; }
    void SetBarBrushStyle(TBrushStyle V) {
        ChangeAttribute(&TiPlotDrawAttributes::BarBrushStyle, V);
    }

  private:
    TiPlotInterpolationStyle FInterpolationStyle = ipistStraightLine;
};

class TiXYPlotChannel : public TiPlotChannelCustom {
    Q_OBJECT
  public:
    using TiPlotChannelCustom::TiPlotChannelCustom;
};
