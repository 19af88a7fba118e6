#pragma once
// A data series of the plot: owns the storage of its points, keeps running
// statistics of everything added and refers to its X and Y axis by name.

#include "plot/iPlotDataCursor.h"
#include "plot/iPlotDataCustomList.h"
#include "plot/iPlotObjects.h"
#include "plot/iPlotReference.h"

#include <cmath>
#include <memory>

// A running sum that carries its rounding error along (Neumaier's
// compensated sum): long runs keep their mean to more digits than an 80-bit
// sum would, at the cost of two double additions per value.
class TiPlotSum {
  public:
    void Add(double V) {
        const double T = FSum + V;
        FCarry += std::abs(FSum) >= std::abs(V) ? (FSum - T) + V : (V - T) + FSum;
        FSum = T;
    }
    long double Value() const { return static_cast<long double>(FSum) + FCarry; }

  private:
    double FSum = 0, FCarry = 0;
};

// A data cursor's reading of one channel; Changed when X, Y or the status
// differ from the channel's previous reading.
struct TiPlotCursorReading {
    double X = 0, Y = 0;
    int Status = 0;
    std::string Text;
    bool Changed = false;
};

class TiPlotChannelCustom : public TiPlotManagerObject {
    Q_OBJECT
    Q_PROPERTY(std::string TitleText READ TitleText WRITE SetTitleText)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(bool TraceVisible READ TraceVisible WRITE SetTraceVisible)
    Q_PROPERTY(bool VisibleInLegend READ VisibleInLegend WRITE SetVisibleInLegend)
    Q_PROPERTY(TiPlotLineStyle TraceLineStyle READ TraceLineStyle WRITE SetTraceLineStyle)
    Q_PROPERTY(int TraceLineWidth READ TraceLineWidth WRITE SetTraceLineWidth)
    Q_PROPERTY(bool MarkersVisible READ MarkersVisible WRITE SetMarkersVisible)
    Q_PROPERTY(TiPlotMarkerStyle MarkersStyle READ MarkersStyle WRITE SetMarkersStyle)
    Q_PROPERTY(int MarkersSize READ MarkersSize WRITE SetMarkersSize)
    Q_PROPERTY(TColor MarkersPenColor READ MarkersPenColor WRITE SetMarkersPenColor)
    Q_PROPERTY(int MarkersPenWidth READ MarkersPenWidth WRITE SetMarkersPenWidth)
    Q_PROPERTY(TPenStyle MarkersPenStyle READ MarkersPenStyle WRITE SetMarkersPenStyle)
    Q_PROPERTY(TColor MarkersBrushColor READ MarkersBrushColor WRITE SetMarkersBrushColor)
    Q_PROPERTY(TBrushStyle MarkersBrushStyle READ MarkersBrushStyle WRITE SetMarkersBrushStyle)
    Q_PROPERTY(std::string XAxisName READ XAxisName WRITE SetXAxisName)
    Q_PROPERTY(std::string YAxisName READ YAxisName WRITE SetYAxisName)
    Q_PROPERTY(bool XAxisTrackingEnabled READ XAxisTrackingEnabled WRITE SetXAxisTrackingEnabled)
    Q_PROPERTY(bool YAxisTrackingEnabled READ YAxisTrackingEnabled WRITE SetYAxisTrackingEnabled)
    Q_PROPERTY(int RingBufferSize READ RingBufferSize WRITE SetRingBufferSize)
    Q_PROPERTY(TiPlotDataStyle DataStyle READ DataStyle WRITE SetDataStyle)
    // ---- Files, logging and the mouse
    Q_PROPERTY(std::string LogFileName READ LogFileName WRITE SetLogFileName)
    Q_PROPERTY(int LogBufferSize READ LogBufferSize WRITE SetLogBufferSize)
    Q_PROPERTY(bool LoggingActive READ LoggingActive)
    // ---- Drawing
    Q_PROPERTY(bool MarkersPenUseChannelColor READ MarkersPenUseChannelColor WRITE
                   SetMarkersPenUseChannelColor)
    Q_PROPERTY(bool MarkersBrushUseChannelColor READ MarkersBrushUseChannelColor WRITE
                   SetMarkersBrushUseChannelColor)
    Q_PROPERTY(
        bool MarkersAllowIndividual READ MarkersAllowIndividual WRITE SetMarkersAllowIndividual)
    Q_PROPERTY(int MarkersTurnOffLimit READ MarkersTurnOffLimit WRITE SetMarkersTurnOffLimit)
    Q_PROPERTY(TFont MarkersFont READ MarkersFont WRITE SetMarkersFont)

  public:
    static constexpr TiPlotKind StaticKind = TiPlotKind::Channel;
    TiPlotKind Kind() const override { return StaticKind; }

    explicit TiPlotChannelCustom(TiPlotHost* Host);
    ~TiPlotChannelCustom() override;

    const std::string& TitleText() const { return FTitleText; }
    void SetTitleText(const std::string& Value) { Change(FTitleText, Value); }
    bool TraceVisible() const { return FTraceVisible; }
    void SetTraceVisible(bool Value) { Change(FTraceVisible, Value); }
    bool VisibleInLegend() const { return FVisibleInLegend; }
    void SetVisibleInLegend(bool Value) { Change(FVisibleInLegend, Value); }

    // The channel-wide drawing attributes live in the storage.
    TColor Color() const { return Attributes().Color; }
    void SetColor(TColor Value) { ChangeAttribute(&TiPlotDrawAttributes::Color, Value); }
    TiPlotLineStyle TraceLineStyle() const { return Attributes().TraceLineStyle; }
    void SetTraceLineStyle(TiPlotLineStyle Value) {
        ChangeAttribute(&TiPlotDrawAttributes::TraceLineStyle, Value);
    }
    int TraceLineWidth() const { return Attributes().TraceLineWidth; }
    void SetTraceLineWidth(int Value) {
        ChangeAttribute(&TiPlotDrawAttributes::TraceLineWidth, Value);
    }
    bool MarkersVisible() const { return Attributes().MarkersVisible; }
    void SetMarkersVisible(bool Value) {
        ChangeAttribute(&TiPlotDrawAttributes::MarkersVisible, Value);
    }
    TiPlotMarkerStyle MarkersStyle() const { return Attributes().MarkersStyle; }
    void SetMarkersStyle(TiPlotMarkerStyle Value) {
        ChangeAttribute(&TiPlotDrawAttributes::MarkersStyle, Value);
    }
    int MarkersSize() const { return Attributes().MarkersSize; }
    void SetMarkersSize(int Value) { ChangeAttribute(&TiPlotDrawAttributes::MarkersSize, Value); }
    TColor MarkersPenColor() const { return Attributes().MarkersPenColor; }
    void SetMarkersPenColor(TColor Value) {
        ChangeAttribute(&TiPlotDrawAttributes::MarkersPenColor, Value);
    }
    int MarkersPenWidth() const { return Attributes().MarkersPenWidth; }
    void SetMarkersPenWidth(int Value) {
        ChangeAttribute(&TiPlotDrawAttributes::MarkersPenWidth, Value);
    }
    TPenStyle MarkersPenStyle() const { return Attributes().MarkersPenStyle; }
    void SetMarkersPenStyle(TPenStyle Value) {
        ChangeAttribute(&TiPlotDrawAttributes::MarkersPenStyle, Value);
    }
    TColor MarkersBrushColor() const { return Attributes().MarkersBrushColor; }
    void SetMarkersBrushColor(TColor Value) {
        ChangeAttribute(&TiPlotDrawAttributes::MarkersBrushColor, Value);
    }
    TBrushStyle MarkersBrushStyle() const { return Attributes().MarkersBrushStyle; }
    void SetMarkersBrushStyle(TBrushStyle Value) {
        ChangeAttribute(&TiPlotDrawAttributes::MarkersBrushStyle, Value);
    }

    const std::string& XAxisName() const { return FAxes.XName(); }
    void SetXAxisName(const std::string& Value) { ReferenceChanged(FAxes.SetXName(Value)); }
    const std::string& YAxisName() const { return FAxes.YName(); }
    void SetYAxisName(const std::string& Value) { ReferenceChanged(FAxes.SetYName(Value)); }
    // The axes, looked up by name on first use; none while missing.
    TiPlotAxis* XAxis() { return FAxes.X(); }
    TiPlotAxis* YAxis() { return FAxes.Y(); }
    bool XAxisTrackingEnabled() const { return FXAxisTrackingEnabled; }
    void SetXAxisTrackingEnabled(bool Value) { FXAxisTrackingEnabled = Value; }
    bool YAxisTrackingEnabled() const { return FYAxisTrackingEnabled; }
    void SetYAxisTrackingEnabled(bool Value) { FYAxisTrackingEnabled = Value; }

    int RingBufferSize() const { return FData->GetRingBufferSize(); }
    void SetRingBufferSize(int Value);
    TiPlotDataStyle DataStyle() const { return FDataStyle; }
    // A new style starts empty; the drawing attributes and the ring size stay.
    void SetDataStyle(TiPlotDataStyle Value);

    // Stores the point, counts it in the statistics, reports it to the axes
    // and asks for a repaint; the index the storage gave it.
    virtual int AddXY(double X, double Y);
    void Clear();
    int Count() const { return FData->Count(); }
    double GetX(int Index) const { return FData->X(Index); }
    double GetY(int Index) const { return FData->Y(Index); }
    bool GetNull(int Index) const { return FData->Null(Index); }
    bool GetEmpty(int Index) const { return FData->Empty(Index); }
    void SetNull(int Index, bool Value);
    void SetEmpty(int Index, bool Value);
    TiPlotDrawAttributes PointAttributes(int Index) const { return FData->PointAttributes(Index); }
    // Rebuilds the statistics from the stored points that are neither Null nor Empty.
    void RecalculateStatistics();

    int ItemSize() const { return FData->ItemSize(); }
    int MaxCapacity() const { return FData->MaxCapacity(); }
    int Capacity() const { return FData->Capacity(); }
    long long MemoryUsed() const { return FData->MemoryUsed(); }
    const TiPlotDataCustomList& Data() const { return *FData; }

    int StatCount() const { return FStatCount; }
    double XMin() const { return FXMin; }
    double XMax() const { return FXMax; }
    double XMean() const { return Mean(FXSum); }
    double YMin() const { return FYMin; }
    double YMax() const { return FYMax; }
    double YMean() const { return Mean(FYSum); }

    // The point's value widened by half a marker when markers show, so that
    // a tracked axis keeps whole markers in view. Exception for a Null
    // point, and for a missing axis when markers show.
    double MarkerXHigh(int Index);
    double MarkerXLow(int Index);
    double MarkerYHigh(int Index);
    double MarkerYLow(int Index);
    // The extents a zoom to fit takes in; -1e300 for the maxima and 1e300
    // for the minima without both axes, while hidden, or without points.
    virtual double GetXMaxExtent() = 0;
    virtual double GetXMinExtent() = 0;
    virtual double GetYMaxExtent() = 0;
    virtual double GetYMinExtent() = 0;

    void ObjectNameChanged(TiPlotObject* Object) override;
    // The focus stays while a legend or a data cursor reading this channel
    // takes it.
    void ObjectFocused(TiPlotObject* Object) override;

    // What the legend shows of the channel: the texts the data cursor read
    // last, and the name cell it drew last, for hit tests.
    const std::string& CursorXText() const { return FCursorXText; }
    void SetCursorXText(const std::string& Value) { FCursorXText = Value; }
    const std::string& CursorYText() const { return FCursorYText; }
    void SetCursorYText(const std::string& Value) { FCursorYText = Value; }
    const TRect& LegendRect() const { return FLegendRect; }
    void SetLegendRect(const TRect& Value) { FLegendRect = Value; }

    // ---- Files, logging and the mouse
    // The points the X axis shows; -1 when there are none.
    virtual int CalcVisibleStart() = 0;
    virtual int CalcVisibleStop() = 0;

    // Hits: the channel's legend row; a marker while toolbar 0 is in its
    // selection mode (the marker is kept for a press on it).
    bool HitTest(TPoint Point) override;
    void MouseDown(TPoint Point) override;
    // A release on the pressed marker reports a click on that data point; a
    // release on the legend row after a press there, a click on the channel.
    void MouseUp(TPoint Point) override;
    int GetMouseCursor() override { return crHandPoint; }
    int HitIndex() const { return FHitIndex; }

    // A value in the cursor format of the bound axis, "No X-Axis" or
    // "No Y-Axis" (translated) without it.
    std::string GetXText(double Value);
    std::string GetYText(double Value);
    // The data cursor's text for its style, from the values it measured;
    // Status 0 is a value, 1 a Null point, 2 an Empty point. The values and
    // the X and Y texts are kept for the cursor and the legend.
    std::string DataCursorText(TiPlotDataCursorStyle Style, int Status, double Y, double X);
    // What the data cursor measures for its style with its pointers at
    // these pixels (each along the axis its pointer crosses); the texts are
    // kept as DataCursorText keeps them.
    TiPlotCursorReading DataCursorQuery(TiPlotDataCursorStyle Style, int Pixel1, int Pixel2);
    double CursorX() const { return FCursorX; }
    double CursorY() const { return FCursorY; }
    int CursorStatus() const { return FCursorStatus; }

    // Logging appends the points added while it is active to LogFileName:
    // "X<separator>Y" lines, the separator the plot's data-file one. A
    // failing write raises an exception naming the file and keeps the
    // points pending, so a later flush still writes them.
    const std::string& LogFileName() const { return FLogFileName; }
    void SetLogFileName(const std::string& Value);
    // Points gathered before one write; below 2 every point is written.
    int LogBufferSize() const { return FLogBufferSize; }
    void SetLogBufferSize(int Value) { FLogBufferSize = Value; }
    bool LoggingActive() const { return FLoggingActive; }
    // With Append the file must exist; else it is created or emptied.
    void LogActivate(bool Append);
    void LogDeactivate();
    void LogFlush();
    int LogPendingCount() const { return FLogPendingCount; }

    // Point text files: "X<separator>Y" per point, "Null" for the Y of a
    // Null point, Empty points left out. A save goes to a new file that
    // replaces the old one only once complete. A load adds every point
    // through AddXY; a line that does not convert stops it with the
    // conversion's failure, the points read before it staying.
    void SaveDataToFile(const std::string& FileName);
    void LoadDataFromFile(const std::string& FileName, bool ClearFirst);
    // The separator the last load found: tab or comma.
    char LoadSeparator() const { return FLoadSeparator; }
    void SavePropertiesToFile(const std::string& FileName);
    void LoadPropertiesFromFile(const std::string& FileName);

    // ---- Drawing
    bool MarkersPenUseChannelColor() const { return FMarkersPenUseChannelColor; }
    void SetMarkersPenUseChannelColor(bool V) { Change(FMarkersPenUseChannelColor, V); }
    bool MarkersBrushUseChannelColor() const { return FMarkersBrushUseChannelColor; }
    void SetMarkersBrushUseChannelColor(bool V) { Change(FMarkersBrushUseChannelColor, V); }
    bool MarkersAllowIndividual() const { return FMarkersAllowIndividual; }
    void SetMarkersAllowIndividual(bool V) { Change(FMarkersAllowIndividual, V); }
    int MarkersTurnOffLimit() const { return FMarkersTurnOffLimit; }
    void SetMarkersTurnOffLimit(int V) { Change(FMarkersTurnOffLimit, V); }
    const TFont& MarkersFont() const { return FMarkersFont; }
    void SetMarkersFont(const TFont& V) { Change(FMarkersFont, V); }

    // The points drawn in the last paint; -1 when there is none.
    int VisibleStart() const { return FVisibleStart; }
    int VisibleStop() const { return FVisibleStop; }
    // The straight trace between the good points in view, with each
    // point's own pen.
    virtual void DrawTrace(TCanvas& Canvas, bool XYSwap);
    virtual void DrawMarkers(TCanvas& Canvas, bool XYSwap);
    // One marker centred on Point; Index -1 is the legend's sample.
    void DrawMarker(TCanvas& Canvas, int Index, TPoint Point);
    bool MarkerDrawable(int Index);
    // One segment given in axis values, cut to the axes' ranges; with
    // YInPercent its Y values are percent of the data view's height.
    void DrawClippedLine(TCanvas& Canvas, bool XYSwap, double X1, double Y1, double X2, double Y2,
                         bool YInPercent = false);
    struct TValuePoint {
        double X, Y;
    };
    // Filled with the brush and outlined with the pen, not clipped.
    void FillQuad(TCanvas& Canvas, bool XYSwap, TValuePoint P1, TValuePoint P2, TValuePoint P3,
                  TValuePoint P4);

  protected:
    // The channel's value at X1 for the data cursor: status 0 with Y, 1
    // for none (Null), 2 outside the points (Empty). Pixel2 is pointer 2.
    virtual int CursorYAtX(double X1, int Pixel2, double& Y) = 0;
    // The trace is a two-level digital one.
    virtual bool DigitalTrace() const { return false; }
    // The text of an inverse X distance (a frequency).
    virtual std::string InverseDeltaXText(double X) { return GetXText(X); }
    // Where the marker of a point is drawn, in plot pixels; both axes exist.
    TPoint MarkerPixel(int Index);
    void SetVisibleRange(int Start, int Stop) {
        FVisibleStart = Start;
        FVisibleStop = Stop;
    }
    // False (and nothing set) when the trace is hidden.
    bool SelectTracePen(TCanvas& Canvas);
    // The screen point of a value pair through both axes.
    TPoint ValuePixel(double X, double Y, bool XYSwap);
    // The data view's pixel of a percent of its height (width when swapped).
    int PercentPixel(double Percent, bool XYSwap);

  protected:
    // Both axes found and the channel visible: the extents mean something.
    bool CanMeasureExtents() { return Visible() && XAxis() && YAxis(); }
    // Largest MarkerYHigh and smallest MarkerYLow (or X) over the points
    // First..Last that are neither Null nor Empty.
    struct TExtent {
        double Low = 1e300, High = -1e300;
    };
    TExtent MarkerExtent(int First, int Last, bool X);
    const TiPlotDrawAttributes& Attributes() const { return FData->Defaults(); }
    // For constructors: no repaint request.
    TiPlotDrawAttributes& InitialAttributes() { return FData->Defaults(); }
    template <typename T> void ChangeAttribute(T TiPlotDrawAttributes::*Field, T Value) {
        Change(FData->Defaults().*Field, Value);
    }

  private:
    // Half a marker in values of the axis; 0 when markers are hidden.
    double HalfMarker(TiPlotAxis* Axis, const char* MissingAxis);
    // The same for a point, which must not be Null.
    double HalfMarker(int Index, TiPlotAxis* Axis, const char* MissingAxis);
    void ReportToAxes(int Index, double X, double Y);
    void ResetStatistics();
    // Strict comparisons, the minima written as "not at least".
    void CountInStatistics(double X, double Y) {
        if (X > FXMax)
            FXMax = X;
        if (!(X >= FXMin))
            FXMin = X;
        if (Y > FYMax)
            FYMax = Y;
        if (!(Y >= FYMin))
            FYMin = Y;
        ++FStatCount;
        FXSum.Add(X);
        FYSum.Add(Y);
    }
    // Sum / StatCount, or 0 without points; worked out when asked, so that
    // adding a point costs no division.
    double Mean(const TiPlotSum& Sum) const {
        return FStatCount ? double(Sum.Value() / FStatCount) : 0;
    }

    std::unique_ptr<TiPlotDataCustomList> FData;
    std::string FTitleText;
    TiPlotAxisReferences FAxes;
    bool FXAxisTrackingEnabled = true;
    bool FYAxisTrackingEnabled = true;
    bool FTraceVisible = true;
    bool FVisibleInLegend = true;
    TiPlotDataStyle FDataStyle = ipdsStandard;
    int FStatCount = 0;
    double FXMin, FXMax, FYMin, FYMax;
    TiPlotSum FXSum, FYSum;
    std::string FCursorXText, FCursorYText;
    TRect FLegendRect;

    // The text of one log line per point, the last Count points.
    std::string LogLines(int Count);
    int FHitIndex = -1;
    TRect FHitRect;
    bool FMarkerPressed = false;
    int FPressedIndex = -1;
    TRect FPressedRect;
    double FCursorX = 0, FCursorY = 0;
    int FCursorStatus = -1; // not read yet
    std::string FLogFileName;
    int FLogBufferSize = 0;
    bool FLoggingActive = false;
    int FLogPendingCount = 0;
    char FLoadSeparator = '\t';
    // ---- Drawing
    bool FMarkersPenUseChannelColor = true;
    bool FMarkersBrushUseChannelColor = true;
    bool FMarkersAllowIndividual = false;
    int FMarkersTurnOffLimit = 0;
    TFont FMarkersFont;
    int FVisibleStart = -1;
    int FVisibleStop = -1;
};
