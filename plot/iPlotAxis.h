#pragma once
// An axis maps the values of one dimension to pixels of the data view,
// builds and draws its ticks, labels, scale line and title, tells the
// layout how thick it is, and formats values for labels, legend and cursor.

#include "components/iGPFunctions.h"
#include "plot/iPlotAxisScale.h"
#include "plot/iPlotObjects.h"

#include "platform/GraphicsObjects.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace iPlotAxis {
Q_NAMESPACE

enum TiPlotTrackingStyle : std::uint8_t {
    iptsScaleMinMax,
    iptsScaleMax,
    iptsScaleMin,
    iptsScrollSmooth,
    iptsScrollPage,
    iptsExpandCollapse,
    iptsExpandCollapseFast
};
Q_ENUM_NS(TiPlotTrackingStyle)

enum TiPlotAlignFirstStyle : std::uint8_t { ipafsMin, ipafsMax, ipafsAuto, ipafsNone };
Q_ENUM_NS(TiPlotAlignFirstStyle)

enum TiPlotCartesianStyle : std::uint8_t { ipcsNone, ipcsMaster, ipcsChild };
Q_ENUM_NS(TiPlotCartesianStyle)

} // namespace iPlotAxis

using namespace iPlotAxis;

// What dragging an axis does.
enum class TiPlotAxisMouseMode : std::uint8_t { Scroll, Zoom };

// Where ticks, labels and title go, seen from the data view.
enum class TiPlotAxisSide : std::uint8_t { Left, Right, Above, Below };

// One kind of grid line (majors or minors) as the data view draws it.
struct TiPlotGridLines {
    bool Show = true;
    TColor Color = 0x008000;
    int Width = 0;
    TPenStyle Style = psSolid;
};

class TiPlotAxis : public TiPlotLayoutObject {
    Q_OBJECT
    Q_PROPERTY(bool ForceStacking READ ForceStacking WRITE SetForceStacking)
    Q_PROPERTY(double Span READ Span WRITE SetSpan)
    // The name older stored forms give the span; read, never written.
    Q_PROPERTY(double Span_2 READ Span WRITE SetSpan STORED false)
    Q_PROPERTY(double Min READ Min WRITE SetMin)
    Q_PROPERTY(bool ReverseScale READ ReverseScale WRITE SetReverseScale)
    Q_PROPERTY(int InnerMargin READ InnerMargin WRITE SetInnerMargin)
    Q_PROPERTY(int OuterMargin READ OuterMargin WRITE SetOuterMargin)
    Q_PROPERTY(double StackingEndsMargin READ StackingEndsMargin WRITE SetStackingEndsMargin)
    Q_PROPERTY(int MinorLength READ MinorLength WRITE SetMinorLength)
    Q_PROPERTY(int MajorLength READ MajorLength WRITE SetMajorLength)
    Q_PROPERTY(int MinorCount READ MinorCount WRITE SetMinorCount)
    Q_PROPERTY(bool LabelsVisible READ LabelsVisible WRITE SetLabelsVisible)
    Q_PROPERTY(double LabelsMargin READ LabelsMargin WRITE SetLabelsMargin)
    Q_PROPERTY(int LabelsPrecision READ LabelsPrecision WRITE SetLabelsPrecision)
    Q_PROPERTY(TiPrecisionStyle LabelsPrecisionStyle READ LabelsPrecisionStyle WRITE
                   SetLabelsPrecisionStyle)
    Q_PROPERTY(TFont LabelsFont READ LabelsFont WRITE SetLabelsFont)
    Q_PROPERTY(double LabelsMinLength READ LabelsMinLength WRITE SetLabelsMinLength)
    Q_PROPERTY(bool LabelsMinLengthAutoAdjust READ LabelsMinLengthAutoAdjust WRITE
                   SetLabelsMinLengthAutoAdjust)
    Q_PROPERTY(double LabelSeparation READ LabelSeparation WRITE SetLabelSeparation)
    Q_PROPERTY(double TitleMargin READ TitleMargin WRITE SetTitleMargin)
    Q_PROPERTY(TFont TitleFont READ TitleFont WRITE SetTitleFont)
    Q_PROPERTY(bool TitleShow READ TitleShow WRITE SetTitleShow)
    Q_PROPERTY(std::string Title READ Title WRITE SetTitle)
    Q_PROPERTY(bool TitleRotated READ TitleRotated WRITE SetTitleRotated)
    Q_PROPERTY(bool ScaleLineShow READ ScaleLineShow WRITE SetScaleLineShow)
    Q_PROPERTY(TColor ScaleLinesColor READ ScaleLinesColor WRITE SetScaleLinesColor)
    Q_PROPERTY(bool TrackingEnabled READ TrackingEnabled WRITE SetTrackingEnabled)
    Q_PROPERTY(TiPlotTrackingStyle TrackingStyle READ TrackingStyle WRITE SetTrackingStyle)
    Q_PROPERTY(double TrackingScrollCompressMax READ TrackingScrollCompressMax WRITE
                   SetTrackingScrollCompressMax)
    Q_PROPERTY(TiPlotAlignFirstStyle TrackingAlignFirstStyle READ TrackingAlignFirstStyle WRITE
                   SetTrackingAlignFirstStyle)
    Q_PROPERTY(TiPlotScaleType ScaleType READ ScaleType WRITE SetScaleType)
    Q_PROPERTY(std::string DateTimeFormat READ DateTimeFormat WRITE SetDateTimeFormat)
    Q_PROPERTY(TiPlotTextFormat LabelsFormatStyle READ LabelsFormatStyle WRITE SetLabelsFormatStyle)
    Q_PROPERTY(double DesiredIncrement READ DesiredIncrement WRITE SetDesiredIncrement)
    Q_PROPERTY(double CursorScaler READ CursorScaler WRITE SetCursorScaler)
    Q_PROPERTY(bool RestoreValuesOnResume READ RestoreValuesOnResume WRITE SetRestoreValuesOnResume)
    Q_PROPERTY(double ScrollMin READ ScrollMin WRITE SetScrollMin)
    Q_PROPERTY(double ScrollMax READ ScrollMax WRITE SetScrollMax)
    Q_PROPERTY(bool ScrollMinMaxEnabled READ ScrollMinMaxEnabled WRITE SetScrollMinMaxEnabled)
    Q_PROPERTY(bool MasterUIInput READ MasterUIInput WRITE SetMasterUIInput)
    Q_PROPERTY(double DesiredStart READ DesiredStart WRITE SetDesiredStart)
    Q_PROPERTY(TiPlotCartesianStyle CartesianStyle READ CartesianStyle WRITE SetCartesianStyle)
    Q_PROPERTY(
        double CartesianChildRefValue READ CartesianChildRefValue WRITE SetCartesianChildRefValue)
    Q_PROPERTY(std::string CartesianChildRefAxisName READ CartesianChildRefAxisName WRITE
                   SetCartesianChildRefAxisName)
    Q_PROPERTY(bool GridLinesVisible READ GridLinesVisible WRITE SetGridLinesVisible)
    Q_PROPERTY(bool ScaleLinesShow READ ScaleLinesShow WRITE SetScaleLinesShow)
    Q_PROPERTY(
        bool CursorUseDefaultFormat READ CursorUseDefaultFormat WRITE SetCursorUseDefaultFormat)
    Q_PROPERTY(
        std::string CursorDateTimeFormat READ CursorDateTimeFormat WRITE SetCursorDateTimeFormat)
    Q_PROPERTY(TiPlotTextFormat CursorFormatStyle READ CursorFormatStyle WRITE SetCursorFormatStyle)
    Q_PROPERTY(TiPrecisionStyle CursorPrecisionStyle READ CursorPrecisionStyle WRITE
                   SetCursorPrecisionStyle)
    Q_PROPERTY(int CursorPrecision READ CursorPrecision WRITE SetCursorPrecision)
    Q_PROPERTY(bool CursorMinLengthAutoAdjust READ CursorMinLengthAutoAdjust WRITE
                   SetCursorMinLengthAutoAdjust)
    Q_PROPERTY(double CursorMinLength READ CursorMinLength WRITE SetCursorMinLength)
    Q_PROPERTY(
        bool LegendUseDefaultFormat READ LegendUseDefaultFormat WRITE SetLegendUseDefaultFormat)
    Q_PROPERTY(TiPlotTextFormat LegendFormatStyle READ LegendFormatStyle WRITE SetLegendFormatStyle)
    Q_PROPERTY(
        std::string LegendDateTimeFormat READ LegendDateTimeFormat WRITE SetLegendDateTimeFormat)
    Q_PROPERTY(TiPrecisionStyle LegendPrecisionStyle READ LegendPrecisionStyle WRITE
                   SetLegendPrecisionStyle)
    Q_PROPERTY(int LegendPrecision READ LegendPrecision WRITE SetLegendPrecision)
    Q_PROPERTY(double LegendMinLength READ LegendMinLength WRITE SetLegendMinLength)
    Q_PROPERTY(bool LegendMinLengthAutoAdjust READ LegendMinLengthAutoAdjust WRITE
                   SetLegendMinLengthAutoAdjust)
    Q_PROPERTY(std::string AlignRefAxisName READ AlignRefAxisName WRITE SetAlignRefAxisName)
    Q_PROPERTY(TiRotationAngle LabelsRotation READ LabelsRotation WRITE SetLabelsRotation)

  public:
    // Old and new value of Min or Span.
    using TValueChangeEvent = std::function<void(TiPlotAxis& Axis, double Old, double New)>;
    using TMinSpanChangeEvent = std::function<void(TiPlotAxis& Axis, double OldMin, double OldSpan,
                                                   double NewMin, double NewSpan)>;
    // May replace the text of a label.
    using TCustomizeLabelEvent =
        std::function<void(TiPlotAxis& Axis, double Value, std::string& Text)>;
    // May replace the text of the axis' hint.
    using TCustomizeHintEvent = std::function<void(TiPlotAxis& Axis, std::string& Text)>;
    // Registers the rectangle of a label inside the data view; false when
    // the place is taken.
    using TTryRegisterRect = std::function<bool(const TRect& Rect)>;

    explicit TiPlotAxis(TiPlotHost* Host);

    void SetForceStacking(bool Value);
    double Span() const { return FSpan; }
    // Within 1e-300 .. 1e300.
    void SetSpan(double Value);
    double Min() const { return FMin; }
    // Within -1e300 .. 1e300.
    void SetMin(double Value);
    // Both with one min-span event; on a logarithmic axis values that are
    // not positive become 1.
    void SetMinSpan(double NewMin, double NewSpan);
    double Max() const { return FMin + FSpan; }
    bool ReverseScale() const { return FReverseScale; }
    void SetReverseScale(bool Value) { ChangeScale(FReverseScale, Value); }
    int InnerMargin() const { return FInnerMargin; }
    void SetInnerMargin(int Value) { Change(FInnerMargin, Value); }
    int OuterMargin() const { return FOuterMargin; }
    void SetOuterMargin(int Value) { Change(FOuterMargin, Value); }
    // In widths of "0".
    double StackingEndsMargin() const { return FStackingEndsMargin; }
    void SetStackingEndsMargin(double Value) { Change(FStackingEndsMargin, Value); }
    int MinorLength() const { return FMinorLength; }
    void SetMinorLength(int Value) { Change(FMinorLength, Value); }
    int MajorLength() const { return FMajorLength; }
    void SetMajorLength(int Value) { Change(FMajorLength, Value); }
    int MinorCount() const { return FMinorCount; }
    void SetMinorCount(int Value) { Change(FMinorCount, Value); }
    bool LabelsVisible() const { return FLabelsVisible; }
    void SetLabelsVisible(bool Value) { Change(FLabelsVisible, Value); }
    // In heights of "A".
    double LabelsMargin() const { return FLabelsMargin; }
    void SetLabelsMargin(double Value) { Change(FLabelsMargin, Value); }
    int LabelsPrecision() const { return FLabels.Precision; }
    void SetLabelsPrecision(int Value) { Change(FLabels.Precision, Value); }
    TiPrecisionStyle LabelsPrecisionStyle() const { return FLabels.PrecisionStyle; }
    void SetLabelsPrecisionStyle(TiPrecisionStyle Value) { Change(FLabels.PrecisionStyle, Value); }
    const TFont& LabelsFont() const { return FLabelsFont; }
    void SetLabelsFont(const TFont& Value) { Change(FLabelsFont, Value); }
    // In widths of "0".
    double LabelsMinLength() const { return FLabelsMinLength; }
    void SetLabelsMinLength(double Value) { Change(FLabelsMinLength, Value); }
    bool LabelsMinLengthAutoAdjust() const { return FLabelsMinLengthAutoAdjust; }
    void SetLabelsMinLengthAutoAdjust(bool Value) { Change(FLabelsMinLengthAutoAdjust, Value); }
    double LabelSeparation() const { return FLabelSeparation; }
    void SetLabelSeparation(double Value) { Change(FLabelSeparation, Value); }
    double TitleMargin() const { return FTitleMargin; }
    void SetTitleMargin(double Value) { Change(FTitleMargin, Value); }
    const TFont& TitleFont() const { return FTitleFont; }
    void SetTitleFont(const TFont& Value) { Change(FTitleFont, Value); }
    bool TitleShow() const { return FTitleShow; }
    void SetTitleShow(bool Value) { Change(FTitleShow, Value); }
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& Value) { Change(FTitle, Value); }
    bool TitleRotated() const { return FTitleRotated; }
    void SetTitleRotated(bool Value) { Change(FTitleRotated, Value); }
    // Stored only; ScaleLinesShow switches the scale line and the marks.
    bool ScaleLineShow() const { return FScaleLineShow; }
    void SetScaleLineShow(bool Value) { Change(FScaleLineShow, Value); }
    TColor ScaleLinesColor() const { return FScaleLinesColor; }
    void SetScaleLinesColor(TColor Value) { Change(FScaleLinesColor, Value); }
    bool TrackingEnabled() const { return FTrackingEnabled; }
    // Pausing saves the scale; resuming restores it with RestoreValuesOnResume.
    void SetTrackingEnabled(bool Value);
    TiPlotTrackingStyle TrackingStyle() const { return FTrackingStyle; }
    void SetTrackingStyle(TiPlotTrackingStyle Value) { Change(FTrackingStyle, Value); }
    double TrackingScrollCompressMax() const { return FTrackingScrollCompressMax; }
    void SetTrackingScrollCompressMax(double Value) { Change(FTrackingScrollCompressMax, Value); }
    TiPlotAlignFirstStyle TrackingAlignFirstStyle() const { return FTrackingAlignFirstStyle; }
    void SetTrackingAlignFirstStyle(TiPlotAlignFirstStyle Value) {
        Change(FTrackingAlignFirstStyle, Value);
    }
    TiPlotScaleType ScaleType() const { return FScaleType; }
    // A logarithmic axis starts above 0: Min becomes 1 when it is not.
    void SetScaleType(TiPlotScaleType Value);
    const std::string& DateTimeFormat() const { return FLabels.DateTimeFormat; }
    void SetDateTimeFormat(const std::string& Value) { Change(FLabels.DateTimeFormat, Value); }
    TiPlotTextFormat LabelsFormatStyle() const { return FLabels.Style; }
    void SetLabelsFormatStyle(TiPlotTextFormat Value) { Change(FLabels.Style, Value); }
    // Within 0 .. 1e300; 0 chooses the increment from the room for labels.
    double DesiredIncrement() const { return FDesiredIncrement; }
    void SetDesiredIncrement(double Value) {
        Change(FDesiredIncrement, ClampDesiredIncrement(Value));
    }
    double CursorScaler() const { return FCursorScaler; }
    void SetCursorScaler(double Value) { Change(FCursorScaler, Value); }
    bool RestoreValuesOnResume() const { return FRestoreValuesOnResume; }
    void SetRestoreValuesOnResume(bool Value) { Change(FRestoreValuesOnResume, Value); }
    double ScrollMin() const { return FScrollMin; }
    void SetScrollMin(double Value) { Change(FScrollMin, Value); }
    double ScrollMax() const { return FScrollMax; }
    void SetScrollMax(double Value) { Change(FScrollMax, Value); }
    bool ScrollMinMaxEnabled() const { return FScrollMinMaxEnabled; }
    void SetScrollMinMaxEnabled(bool Value) { Change(FScrollMinMaxEnabled, Value); }
    bool MasterUIInput() const { return FMasterUIInput; }
    void SetMasterUIInput(bool Value) { Change(FMasterUIInput, Value); }
    double DesiredStart() const { return FDesiredStart; }
    void SetDesiredStart(double Value) { Change(FDesiredStart, Value); }
    TiPlotCartesianStyle CartesianStyle() const { return FCartesianStyle; }
    void SetCartesianStyle(TiPlotCartesianStyle Value) { Change(FCartesianStyle, Value); }
    double CartesianChildRefValue() const { return FCartesianChildRefValue; }
    void SetCartesianChildRefValue(double Value) { Change(FCartesianChildRefValue, Value); }
    const std::string& CartesianChildRefAxisName() const { return FCartesianChildRefAxisName; }
    void SetCartesianChildRefAxisName(const std::string& Value) {
        Change(FCartesianChildRefAxisName, Value);
    }
    bool GridLinesVisible() const { return FGridLinesVisible; }
    void SetGridLinesVisible(bool Value) { Change(FGridLinesVisible, Value); }
    bool ScaleLinesShow() const { return FScaleLinesShow; }
    void SetScaleLinesShow(bool Value) { Change(FScaleLinesShow, Value); }
    bool CursorUseDefaultFormat() const { return FCursorUseDefaultFormat; }
    void SetCursorUseDefaultFormat(bool Value) { Change(FCursorUseDefaultFormat, Value); }
    const std::string& CursorDateTimeFormat() const { return FCursor.DateTimeFormat; }
    void SetCursorDateTimeFormat(const std::string& Value) {
        Change(FCursor.DateTimeFormat, Value);
    }
    TiPlotTextFormat CursorFormatStyle() const { return FCursor.Style; }
    void SetCursorFormatStyle(TiPlotTextFormat Value) { Change(FCursor.Style, Value); }
    TiPrecisionStyle CursorPrecisionStyle() const { return FCursor.PrecisionStyle; }
    void SetCursorPrecisionStyle(TiPrecisionStyle Value) { Change(FCursor.PrecisionStyle, Value); }
    int CursorPrecision() const { return FCursor.Precision; }
    void SetCursorPrecision(int Value) { Change(FCursor.Precision, Value); }
    bool CursorMinLengthAutoAdjust() const { return FCursorMinLengthAutoAdjust; }
    void SetCursorMinLengthAutoAdjust(bool Value) { Change(FCursorMinLengthAutoAdjust, Value); }
    double CursorMinLength() const { return FCursorMinLength; }
    void SetCursorMinLength(double Value) { Change(FCursorMinLength, Value); }
    bool LegendUseDefaultFormat() const { return FLegendUseDefaultFormat; }
    void SetLegendUseDefaultFormat(bool Value) { Change(FLegendUseDefaultFormat, Value); }
    TiPlotTextFormat LegendFormatStyle() const { return FLegend.Style; }
    void SetLegendFormatStyle(TiPlotTextFormat Value) { Change(FLegend.Style, Value); }
    const std::string& LegendDateTimeFormat() const { return FLegend.DateTimeFormat; }
    void SetLegendDateTimeFormat(const std::string& Value) {
        Change(FLegend.DateTimeFormat, Value);
    }
    TiPrecisionStyle LegendPrecisionStyle() const { return FLegend.PrecisionStyle; }
    void SetLegendPrecisionStyle(TiPrecisionStyle Value) { Change(FLegend.PrecisionStyle, Value); }
    int LegendPrecision() const { return FLegend.Precision; }
    void SetLegendPrecision(int Value) { Change(FLegend.Precision, Value); }
    double LegendMinLength() const { return FLegendMinLength; }
    void SetLegendMinLength(double Value) { Change(FLegendMinLength, Value); }
    bool LegendMinLengthAutoAdjust() const { return FLegendMinLengthAutoAdjust; }
    void SetLegendMinLengthAutoAdjust(bool Value) { Change(FLegendMinLengthAutoAdjust, Value); }
    const std::string& AlignRefAxisName() const { return FAlignRefAxisName; }
    void SetAlignRefAxisName(const std::string& Value) { Change(FAlignRefAxisName, Value); }
    TiRotationAngle LabelsRotation() const { return FLabelsRotation; }
    void SetLabelsRotation(TiRotationAngle Value) { Change(FLabelsRotation, Value); }

    void SetOnMinChange(TValueChangeEvent Handler) { FOnMinChange = std::move(Handler); }
    void SetOnSpanChange(TValueChangeEvent Handler) { FOnSpanChange = std::move(Handler); }
    void SetOnMinSpanChange(TMinSpanChangeEvent Handler) { FOnMinSpanChange = std::move(Handler); }
    void SetOnCustomizeLabel(TCustomizeLabelEvent Handler) {
        FOnCustomizeLabel = std::move(Handler);
    }
    void SetOnCustomizeHint(TCustomizeHintEvent Handler) { FOnCustomizeHint = std::move(Handler); }
    // The plot's occupied-rectangle service, for labels of a Cartesian axis
    // drawn inside the data view; without it every label is drawn.
    void SetTryRegisterRect(TTryRegisterRect Service) { FTryRegisterRect = std::move(Service); }

    // ---- The mapping, current after every change of the scale ----
    const TiPlotAxisScale& Scale() const { return FScale; }
    int ValueToPixel(double Value) const { return FScale.ValueToPixel(Value); }
    double PixelToValue(double Pixel) const { return FScale.PixelToValue(Pixel); }
    int LengthToPixels(double Length) const { return FScale.LengthToPixels(Length); }
    bool InRange(double Value) const { return FScale.InRange(Value); }
    int PixelLength() const { return FScale.PixelLength(); }
    // The layout rectangle shortened at stacked ends.
    const TRect& Box() const { return FBox; }
    const TRect& MouseRect() const { return FMouseRect; }
    TiPlotAxisSide AxisSide() const;

    // The axis box and the mapping from the layout rectangle.
    void CalcPixelRange(TCanvas& Canvas);
    // Rebuilds the ticks and their label texts; calls CalcPixelRange.
    void CalcTicks(TCanvas& Canvas);
    const std::vector<TiPlotTick>& Ticks() const { return FTicks; }
    bool MonthTicks() const { return FMonthTicks; }
    bool YearTicks() const { return FYearTicks; }

    // ---- Texts ----
    std::string LabelText(double Value);
    std::string CursorText(double Value);
    std::string LegendText(double Value);
    // A difference of values, as the cursor shows it.
    std::string PlainText(double Value);
    // The widest label in pixels, at least LabelsMinLength widths of "0".
    int MaxLabelWidth(TCanvas& Canvas, const TFont& Font);
    int LegendMinWidth(TCanvas& Canvas, const TFont& Font);
    int CursorMinWidth(TCanvas& Canvas, const TFont& Font);

    // ---- Layout and drawing ----
    int Thickness(TCanvas& Canvas) override;
    int EndMargin(TCanvas& Canvas) override;
    int AxisWidth() const { return FAxisWidth; }
    int LabelsExtent() const { return FLabelsExtent; }
    void Draw(TCanvas& Canvas, TColor BackGroundColor) override;
    // Grid lines across Rect at the visible ticks, for the data view.
    void DrawGrid(TCanvas& Canvas, const TRect& Rect, const TiPlotGridLines& Majors,
                  const TiPlotGridLines& Minors);
    // Where the label of a visible major tick goes.
    TRect LabelRect(TCanvas& Canvas, const TiPlotTick& Tick) const;
    // The point lies in MouseRect.
    bool HitTest(TPoint Point) override;
    // Another object took the focus: this axis lets it go, unless that is
    // an axis picked with Shift or Ctrl.
    void ObjectFocused(TiPlotObject* Object) override;
    // ---- Following the data and the user (iPlotAxisTracking.cpp) ----
    // A channel reports a value it added. Inline for the common case, a
    // value inside the scale after the first, which changes nothing.
    void NewTrackingData(double Value) {
        if (!FTrackingEnabled)
            return;
        if (FFirstPointDone && Value >= FMin && Value <= FMin + FSpan &&
            FTrackingStyle < iptsExpandCollapse)
            return;
        Track(Value);
    }
    // The next value counts as the first.
    void ResetTracking() { FFirstPointDone = false; }
    // The scale tracking returns to when it resumes.
    void SaveResumeValues();
    double ResumeMin() const { return FResumeMin; }
    double ResumeSpan() const { return FResumeSpan; }
    // The scale taken from the extents (or the statistics, fast) of the
    // channels bound to this axis; nothing without data.
    void ZoomToFit();
    void ZoomToFitFast();
    // By a fraction of the span.
    void ScrollBy(double Fraction);
    // The span divided by 10^Exponent about the centre.
    void ZoomBy(double Exponent);
    // The span multiplied about the centre; Exception for a factor not above
    // 0 on a linear axis.
    void Zoom(double Factor);
    // The extent of a pixel rectangle along the axis becomes the scale.
    void ZoomToRect(const TRect& Rect);
    bool Dragging() const { return FDragging; }
    void MouseDown(TPoint Point) override;
    void MouseMove(TPoint Point) override;
    void MouseUp(TPoint Point) override;
    bool MouseWheel(int WheelDelta, TShiftState Shift, TPoint Point) override;
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    // "Tracking Enabled", "Update Resume Values", "Zoom to Fit" on top.
    void AddPopupItems(std::vector<TiPlotPopupItem>& Items) override;

    // What a drag on the axis does, as the toolbar chose it.
    TiPlotAxisMouseMode MouseMode() const { return FMouseMode; }
    void SetMouseMode(TiPlotAxisMouseMode Value) { FMouseMode = Value; }
    // A hand to scroll; a sizing arrow along the axis to zoom.
    int GetMouseCursor() override;
    // Without a title shown, the title is the axis' hint.
    void MouseHover(TPoint Point) override;

  private:
    // Stores a changed part of the scale and keeps the mapping current.
    template <typename T> void ChangeScale(T& Field, const T& Value) {
        if (Field == Value)
            return;
        Field = Value;
        UpdateScale();
        DoChange();
    }
    void UpdateScale();
    // The new scale for a reported value, by the tracking style.
    void Track(double Value);
    // Scroll or zoom for a drag or a wheel turn; Ctrl swaps the two.
    TiPlotAxisMouseMode EffectiveMouseMode(TShiftState Shift) const;
    // The channels whose axis name is this axis' name.
    template <typename TVisit> void ForEachBoundChannel(TVisit Visit);
    template <typename TExtent> void FitTo(TExtent Extent);
    void StoreScaleValue(double& Field, double Value, const TValueChangeEvent& OnChange);
    bool Cartesian() const { return FCartesianStyle != ipcsNone; }
    bool RotatedLabels() const { return FLabelsRotation == ira090 || FLabelsRotation == ira270; }
    std::string FormatValue(const TiPlotLabelFormat& Format, double Value);
    int LabelLengthAlongAxis(TCanvas& Canvas);
    int LabelExtentAcrossAxis(TCanvas& Canvas);
    int TickLength() const;
    int TitleExtent(TCanvas& Canvas) const;
    int LabelDistance(TCanvas& Canvas) const;

    // The side of the axis rectangle facing the data view, and the sign of
    // the direction away from it.
    struct TFrame {
        int Edge;
        int Out;
    };
    TFrame Frame() const;
    // Point at Along (pixel along the axis) and Across (away from Edge).
    TPoint At(const TFrame& F, int Along, int Across) const;
    void Line(TCanvas& Canvas, const TFrame& F, int Along, int From, int To) const;
    void DrawLabels(TCanvas& Canvas);
    void DrawScale(TCanvas& Canvas);
    void DrawTitle(TCanvas& Canvas);

    double FSpan = 100;
    double FMin = 0;
    bool FInMinSpanChange = false;
    bool FMeasuring = false;
    TiPlotAxisScale FScale;
    TRect FBox, FMouseRect;
    std::vector<TiPlotTick> FTicks;
    bool FMonthTicks = false, FYearTicks = false;
    int FAxisWidth = 0;
    int FLabelsExtent = 0;

    bool FReverseScale = false;
    int FInnerMargin = 5, FOuterMargin = 5;
    double FStackingEndsMargin = 0.5;
    int FMinorLength = 3, FMajorLength = 7, FMinorCount = 1;
    bool FLabelsVisible = true;
    double FLabelsMargin = 0.25;
    TiPlotLabelFormat FLabels, FCursor, FLegend;
    TFont FLabelsFont;
    double FLabelsMinLength = 5;
    bool FLabelsMinLengthAutoAdjust = false;
    double FLabelSeparation = 2, FTitleMargin = 0.25;
    TFont FTitleFont;
    bool FTitleShow = false;
    std::string FTitle;
    bool FTitleRotated = false, FScaleLineShow = true;
    TColor FScaleLinesColor = 0xFFFFFF;
    bool FTrackingEnabled = true;
    TiPlotTrackingStyle FTrackingStyle = iptsScaleMinMax;
    double FTrackingScrollCompressMax = 0;
    TiPlotAlignFirstStyle FTrackingAlignFirstStyle = ipafsNone;
    TiPlotScaleType FScaleType = ipstLinear;
    double FDesiredIncrement = 0, FCursorScaler = 1;
    bool FRestoreValuesOnResume = true;
    double FScrollMin = 0, FScrollMax = 100;
    bool FScrollMinMaxEnabled = false, FMasterUIInput = false;
    double FDesiredStart = 0;
    TiPlotCartesianStyle FCartesianStyle = ipcsNone;
    double FCartesianChildRefValue = 0;
    std::string FCartesianChildRefAxisName = "<None>";
    bool FGridLinesVisible = true, FScaleLinesShow = true, FCursorUseDefaultFormat = true;
    bool FCursorMinLengthAutoAdjust = false;
    double FCursorMinLength = 5;
    bool FLegendUseDefaultFormat = true;
    double FLegendMinLength = 5;
    bool FLegendMinLengthAutoAdjust = false;
    std::string FAlignRefAxisName = "<None>";
    TiRotationAngle FLabelsRotation = ira000;
    TiPlotAxisMouseMode FMouseMode = TiPlotAxisMouseMode::Scroll;
    double FResumeMin = 0, FResumeSpan = 100, FResumeLabelsMinLength = 5;
    bool FFirstPointDone = false;
    bool FDragging = false;
    TPoint FLastMouse{};

    TValueChangeEvent FOnMinChange, FOnSpanChange;
    TMinSpanChangeEvent FOnMinSpanChange;
    TCustomizeLabelEvent FOnCustomizeLabel;
    TCustomizeHintEvent FOnCustomizeHint;
    TTryRegisterRect FTryRegisterRect;
};

class TiPlotXAxis : public TiPlotAxis {
    Q_OBJECT
  public:
    static constexpr TiPlotKind StaticKind = TiPlotKind::XAxis;
    TiPlotKind Kind() const override { return StaticKind; }

    // Scrolls smoothly with the newest value, as on a plot of ordered X.
    explicit TiPlotXAxis(TiPlotHost* Host);
};

class TiPlotYAxis : public TiPlotAxis {
    Q_OBJECT
  public:
    static constexpr TiPlotKind StaticKind = TiPlotKind::YAxis;
    TiPlotKind Kind() const override { return StaticKind; }

    explicit TiPlotYAxis(TiPlotHost* Host);
};
