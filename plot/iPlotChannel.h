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

    // X values are taken as ascending, or else descending.
    bool XIncreasing() const { return FXIncreasing; }
    void SetXIncreasing(bool Value) { FXIncreasing = Value; }
    // The points the X axis shows, with the last one before and the first
    // one after its range, so that the trace reaches the edges; -1 without
    // an X axis or points.
    int CalcVisibleStart();
    int CalcVisibleStop();
    // The newest good point's X, and the Y of the points in view.
    double GetXMaxExtent() override;
    double GetXMinExtent() override;
    double GetYMaxExtent() override;
    double GetYMinExtent() override;

  private:
    // The index where a binary search for V over the X values ends.
    int FindX(double V) const;
    // The first or last point that is neither Null nor Empty; -1 for none.
    int GoodPoint(bool Newest) const;
    TExtent VisibleYExtent();

    TiPlotInterpolationStyle FInterpolationStyle = ipistStraightLine;
    bool FXIncreasing = true;
};

// X values in any order: every point is in view.
class TiXYPlotChannel : public TiPlotChannelCustom {
    Q_OBJECT
  public:
    using TiPlotChannelCustom::TiPlotChannelCustom;

    double GetXMaxExtent() override;
    double GetXMinExtent() override;
    double GetYMaxExtent() override;
    double GetYMinExtent() override;
};
