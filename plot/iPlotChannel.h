#pragma once
// The channels of the two plot kinds: TiPlotChannel expects ordered X values
// and adds interpolation; TiXYPlotChannel takes X values in any order.

#include "plot/iPlotChannelCustom.h"

#include "platform/DateTime.h"

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

    // ---- Files, logging and the mouse
    // The point at X or the first one beyond it in the channel's X order;
    // -1 without X axis or points, or for an X outside the first and last
    // point.
    int IndexAtX(double X);
    // The trace's value at X, interpolated between the two points around it
    // by pixel columns of the X axis; false where there is none.
    bool GetYAtX(double X, double& Y);
    // AddXY with X the time since the channel was made, in days or seconds.
    int AddYElapsedTime(double Y);
    int AddYElapsedSeconds(double Y);
    TDateTime StartTime() const { return FStartTime; }
    // Adds the trace line to the hits, for a press of the right button only
    // (the plot hands every object the shift state of a press before it
    // asks for the object under the mouse), so that a right click near the
    // trace opens the channel's popup menu.
    bool HitTest(TPoint Point) override;

  protected:
    std::string InverseDeltaXText(double X) override;

  private:
    // The index where a binary search for V over the X values ends.
    int FindX(double V) const;
    // The first or last point that is neither Null nor Empty; -1 for none.
    int GoodPoint(bool Newest) const;
    TExtent VisibleYExtent();

    TiPlotInterpolationStyle FInterpolationStyle = ipistStraightLine;
    bool FXIncreasing = true;
    // ---- Files, logging and the mouse
    TDateTime FStartTime = Now();
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

    // ---- Files, logging and the mouse
    int CalcVisibleStart() override { return Count() ? 0 : -1; }
    int CalcVisibleStop() override { return Count() - 1; }
};
