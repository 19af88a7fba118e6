#pragma once
// The channels of the two plot kinds: TiPlotChannel expects ordered X values
// and adds interpolation; TiXYPlotChannel takes X values in any order.

#include "plot/iPlotChannelCustom.h"

#include "platform/DateTime.h"
#include <functional>
#include <vector>

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
    // ---- Drawing
    Q_PROPERTY(bool FastDrawEnabled READ FastDrawEnabled WRITE SetFastDrawEnabled)
    Q_PROPERTY(bool FillEnabled READ FillEnabled WRITE SetFillEnabled)
    Q_PROPERTY(double FillReference READ FillReference WRITE SetFillReference)
    Q_PROPERTY(bool FillUseChannelColor READ FillUseChannelColor WRITE SetFillUseChannelColor)
    Q_PROPERTY(TBrushStyle FillStyle READ FillStyle WRITE SetFillStyle)
    Q_PROPERTY(TColor FillColor READ FillColor WRITE SetFillColor)
    Q_PROPERTY(TiPlotHighLowStyle HighLowStyle READ HighLowStyle WRITE SetHighLowStyle)
    Q_PROPERTY(bool HighLowEnabled READ HighLowEnabled WRITE SetHighLowEnabled)
    Q_PROPERTY(TColor HighLowBarColor READ HighLowBarColor WRITE SetHighLowBarColor)
    Q_PROPERTY(double HighLowBarWidth READ HighLowBarWidth WRITE SetHighLowBarWidth)
    Q_PROPERTY(bool HighLowOpenShow READ HighLowOpenShow WRITE SetHighLowOpenShow)
    Q_PROPERTY(TColor HighLowOpenColor READ HighLowOpenColor WRITE SetHighLowOpenColor)
    Q_PROPERTY(double HighLowOpenWidth READ HighLowOpenWidth WRITE SetHighLowOpenWidth)
    Q_PROPERTY(double HighLowOpenHeight READ HighLowOpenHeight WRITE SetHighLowOpenHeight)
    Q_PROPERTY(bool HighLowCloseShow READ HighLowCloseShow WRITE SetHighLowCloseShow)
    Q_PROPERTY(TColor HighLowCloseColor READ HighLowCloseColor WRITE SetHighLowCloseColor)
    Q_PROPERTY(double HighLowCloseWidth READ HighLowCloseWidth WRITE SetHighLowCloseWidth)
    Q_PROPERTY(double HighLowCloseHeight READ HighLowCloseHeight WRITE SetHighLowCloseHeight)
    Q_PROPERTY(TColor HighLowShadowColor READ HighLowShadowColor WRITE SetHighLowShadowColor)
    Q_PROPERTY(TColor HighLowBullishColor READ HighLowBullishColor WRITE SetHighLowBullishColor)
    Q_PROPERTY(TColor HighLowBearishColor READ HighLowBearishColor WRITE SetHighLowBearishColor)
    Q_PROPERTY(bool DigitalEnabled READ DigitalEnabled WRITE SetDigitalEnabled)
    Q_PROPERTY(double DigitalReferenceLow READ DigitalReferenceLow WRITE SetDigitalReferenceLow)
    Q_PROPERTY(double DigitalReferenceHigh READ DigitalReferenceHigh WRITE SetDigitalReferenceHigh)
    Q_PROPERTY(TiPlotDigitalReferenceStyle DigitalReferenceStyle READ DigitalReferenceStyle WRITE
                   SetDigitalReferenceStyle)
    Q_PROPERTY(bool BarEnabled READ BarEnabled WRITE SetBarEnabled)
    Q_PROPERTY(bool BarPenUseChannelColor READ BarPenUseChannelColor WRITE SetBarPenUseChannelColor)
    Q_PROPERTY(
        bool BarBrushUseChannelColor READ BarBrushUseChannelColor WRITE SetBarBrushUseChannelColor)

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

    // ---- Drawing
    bool FastDrawEnabled() const { return FFastDrawEnabled; }
    void SetFastDrawEnabled(bool V) { Change(FFastDrawEnabled, V); }
    bool FillEnabled() const { return FFillEnabled; }
    void SetFillEnabled(bool V) { Change(FFillEnabled, V); }
    double FillReference() const { return FFillReference; }
    void SetFillReference(double V) { Change(FFillReference, V); }
    bool FillUseChannelColor() const { return FFillUseChannelColor; }
    void SetFillUseChannelColor(bool V) { Change(FFillUseChannelColor, V); }
    TBrushStyle FillStyle() const { return FFillStyle; }
    void SetFillStyle(TBrushStyle V) { Change(FFillStyle, V); }
    TColor FillColor() const { return FFillColor; }
    void SetFillColor(TColor V) { Change(FFillColor, V); }
    TiPlotHighLowStyle HighLowStyle() const { return FHighLowStyle; }
    void SetHighLowStyle(TiPlotHighLowStyle V) { Change(FHighLowStyle, V); }
    bool HighLowEnabled() const { return FHighLowEnabled; }
    void SetHighLowEnabled(bool V) { Change(FHighLowEnabled, V); }
    TColor HighLowBarColor() const { return FHighLowBarColor; }
    void SetHighLowBarColor(TColor V) { Change(FHighLowBarColor, V); }
    double HighLowBarWidth() const { return FHighLowBarWidth; }
    void SetHighLowBarWidth(double V) { Change(FHighLowBarWidth, V); }
    bool HighLowOpenShow() const { return FHighLowOpenShow; }
    void SetHighLowOpenShow(bool V) { Change(FHighLowOpenShow, V); }
    TColor HighLowOpenColor() const { return FHighLowOpenColor; }
    void SetHighLowOpenColor(TColor V) { Change(FHighLowOpenColor, V); }
    double HighLowOpenWidth() const { return FHighLowOpenWidth; }
    void SetHighLowOpenWidth(double V) { Change(FHighLowOpenWidth, V); }
    double HighLowOpenHeight() const { return FHighLowOpenHeight; }
    void SetHighLowOpenHeight(double V) { Change(FHighLowOpenHeight, V); }
    bool HighLowCloseShow() const { return FHighLowCloseShow; }
    void SetHighLowCloseShow(bool V) { Change(FHighLowCloseShow, V); }
    TColor HighLowCloseColor() const { return FHighLowCloseColor; }
    void SetHighLowCloseColor(TColor V) { Change(FHighLowCloseColor, V); }
    double HighLowCloseWidth() const { return FHighLowCloseWidth; }
    void SetHighLowCloseWidth(double V) { Change(FHighLowCloseWidth, V); }
    double HighLowCloseHeight() const { return FHighLowCloseHeight; }
    void SetHighLowCloseHeight(double V) { Change(FHighLowCloseHeight, V); }
    TColor HighLowShadowColor() const { return FHighLowShadowColor; }
    void SetHighLowShadowColor(TColor V) { Change(FHighLowShadowColor, V); }
    TColor HighLowBullishColor() const { return FHighLowBullishColor; }
    void SetHighLowBullishColor(TColor V) { Change(FHighLowBullishColor, V); }
    TColor HighLowBearishColor() const { return FHighLowBearishColor; }
    void SetHighLowBearishColor(TColor V) { Change(FHighLowBearishColor, V); }
    bool DigitalEnabled() const { return FDigitalEnabled; }
    void SetDigitalEnabled(bool V) { Change(FDigitalEnabled, V); }
    double DigitalReferenceLow() const { return FDigitalReferenceLow; }
    void SetDigitalReferenceLow(double V) { Change(FDigitalReferenceLow, V); }
    double DigitalReferenceHigh() const { return FDigitalReferenceHigh; }
    void SetDigitalReferenceHigh(double V) { Change(FDigitalReferenceHigh, V); }
    TiPlotDigitalReferenceStyle DigitalReferenceStyle() const { return FDigitalReferenceStyle; }
    void SetDigitalReferenceStyle(TiPlotDigitalReferenceStyle V) {
        Change(FDigitalReferenceStyle, V);
    }
    bool BarEnabled() const { return FBarEnabled; }
    void SetBarEnabled(bool V) { Change(FBarEnabled, V); }
    bool BarPenUseChannelColor() const { return FBarPenUseChannelColor; }
    void SetBarPenUseChannelColor(bool V) { Change(FBarPenUseChannelColor, V); }
    bool BarBrushUseChannelColor() const { return FBarBrushUseChannelColor; }
    void SetBarBrushUseChannelColor(bool V) { Change(FBarBrushUseChannelColor, V); }

    void PrepareDraw(TCanvas& Canvas) override;
    void Draw(TCanvas& Canvas, TColor BackGroundColor) override;
    void DrawTrace(TCanvas& Canvas, bool XYSwap) override;
    void DrawMarkers(TCanvas& Canvas, bool XYSwap) override;
    // The trace value drawn in each pixel column of the X axis by the
    // curve styles in the last paint; Empty where nothing was drawn.
    struct TiPlotPixelPoint {
        bool Empty = true;
        double Y = 0;
    };
    const std::vector<TiPlotPixelPoint>& PixelList() const { return FPixelList; }
    int PixelListFirst() const { return FPixelListFirst; }
    int PixelListLast() const { return FPixelListLast; }
    int DigitalHighPixel() const { return FDigitalHighPixel; }
    int DigitalLowPixel() const { return FDigitalLowPixel; }

  private:
    struct TDigitalSequenceData;
    using TEvaluator = std::function<double(double)>;
    // Fails outside PixelListFirst .. PixelListLast.
    void SetPixelPoint(int Column, double Y);
    void SelectFillBrush(TCanvas& Canvas);
    bool FillShown() const { return FFillEnabled && FFillStyle != bsClear; }
    void DrawFill(TCanvas& Canvas, bool XYSwap);
    void DrawBars(TCanvas& Canvas, bool XYSwap);
    void DrawFastTrace(TCanvas& Canvas, bool XYSwap);
    int ScanBand(int First, int Last, double Low, double High, TiPlotMinMaxPoint& A,
                 int& Run) const;
    bool TakeSummary(int LastTaken, int End, TiPlotMinMaxPoint& A) const;
    int WalkBand(int First, int Last, double Low, double High, TiPlotMinMaxPoint& A) const;
    void DrawCurveSweep(TCanvas& Canvas, bool XYSwap, double First, double Last,
                        const TEvaluator& Evaluate);
    void DrawSpline(TCanvas& Canvas, bool XYSwap);
    void DrawInterpolated(TCanvas& Canvas, bool XYSwap);
    void DrawSteps(TCanvas& Canvas, bool XYSwap);
    void DrawDigital(TCanvas& Canvas, bool XYSwap);
    void FlushDigitalRun(TCanvas& Canvas, bool XYSwap, TDigitalSequenceData& D);
    void DrawOpenClose(TCanvas& Canvas, bool XYSwap);
    void DrawCandleSticks(TCanvas& Canvas, bool XYSwap);
    double DigitalLevel(bool High) const;

  public:
    // X values are taken as ascending, or else descending.
    bool XIncreasing() const { return FXIncreasing; }
    void SetXIncreasing(bool Value) { FXIncreasing = Value; }
    // The points the X axis shows, with the last one before and the first
    // one after its range, so that the trace reaches the edges; -1 without
    // an X axis or points.
    int CalcVisibleStart() override;
    int CalcVisibleStop() override;
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
    int CursorYAtX(double X1, int Pixel2, double& Y) override;
    std::string InverseDeltaXText(double X) override;
    bool DigitalTrace() const override { return FDigitalEnabled; }

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
    // ---- Drawing
    bool FFastDrawEnabled = true;
    bool FFillEnabled = false;
    double FFillReference = 0;
    bool FFillUseChannelColor = true;
    TBrushStyle FFillStyle = bsSolid;
    TColor FFillColor = 0;
    TiPlotHighLowStyle FHighLowStyle = iphlsOpenClose;
    bool FHighLowEnabled = false;
    TColor FHighLowBarColor = 0xFFFF00;
    double FHighLowBarWidth = 0.5;
    bool FHighLowOpenShow = true;
    TColor FHighLowOpenColor = 0x00FF00;
    double FHighLowOpenWidth = 1;
    double FHighLowOpenHeight = 1;
    bool FHighLowCloseShow = true;
    TColor FHighLowCloseColor = 0x0000FF;
    double FHighLowCloseWidth = 1;
    double FHighLowCloseHeight = 1;
    TColor FHighLowShadowColor = 0x808080;
    TColor FHighLowBullishColor = 0xFFFFFF;
    TColor FHighLowBearishColor = 0x808080;
    bool FDigitalEnabled = false;
    double FDigitalReferenceLow = 10;
    double FDigitalReferenceHigh = 90;
    TiPlotDigitalReferenceStyle FDigitalReferenceStyle = ipdrScale;
    bool FBarEnabled = false;
    bool FBarPenUseChannelColor = true;
    bool FBarBrushUseChannelColor = true;
    std::vector<TiPlotPixelPoint> FPixelList;
    int FPixelListFirst = 0;
    int FPixelListLast = -1;
    int FDigitalHighPixel = 0;
    int FDigitalLowPixel = 0;
};

// X values in any order: every point is in view.
class TiXYPlotChannel : public TiPlotChannelCustom {
    Q_OBJECT
  public:
    using TiPlotChannelCustom::TiPlotChannelCustom;

    // ---- Drawing
    void PrepareDraw(TCanvas& Canvas) override;
    void Draw(TCanvas& Canvas, TColor BackGroundColor) override;

    double GetXMaxExtent() override;
    double GetXMinExtent() override;
    double GetYMaxExtent() override;
    double GetYMinExtent() override;

    // ---- Files, logging and the mouse
    int CalcVisibleStart() override { return Count() ? 0 : -1; }
    int CalcVisibleStop() override { return Count() - 1; }

  protected:
    // X values in any order have no value at an X: the cursor's cross reads
    // Y at its horizontal pointer 2.
    int CursorYAtX(double X1, int Pixel2, double& Y) override;
};
