#include "plot/iPlotAxis.h"

#include "platform/Arith.h"
#include "platform/Canvas.h"

#include <QScopeGuard>

#include <algorithm>
#include <cmath>

namespace {

// Sets a flag until the scope ends, also on an exception.
auto FlagScope(bool& Flag) {
    Flag = true;
    return qScopeGuard([&Flag] { Flag = false; });
}

// Characters of a UTF-8 text.
std::size_t CharacterCount(const std::string& Text) {
    return std::size_t(std::count_if(Text.begin(), Text.end(), [](char C) {
        return (static_cast<unsigned char>(C) & 0xC0) != 0x80;
    }));
}

// Legend and cursor show one line: CR LF, then CR, become one space.
std::string OneLine(std::string Text) {
    for (std::size_t At; (At = Text.find("\r\n")) != std::string::npos;)
        Text.replace(At, 2, " ");
    std::replace(Text.begin(), Text.end(), '\r', ' ');
    return Text;
}

int ZeroWidth(TCanvas& Canvas, const TFont& Font) {
    Canvas.Font() = Font;
    return GetTextMaxLineWidth(Canvas, "0");
}

} // namespace

TiPlotAxis::TiPlotAxis(TiPlotHost* Host) : TiPlotLayoutObject(Host) {
    FLabelsFont.SetColor(clWhite);
    FTitleFont.SetColor(clWhite);
    FTitleFont.SetName("Arial");
    FTitleFont.SetSize(10);
    FTitleFont.SetStyle({fsBold});
    UpdateScale();
}

void TiPlotAxis::SetForceStacking(bool Value) {
    if (ForceStacking() == Value)
        return;
    SetForceStackingField(Value);
    DoLayoutChange();
}

void TiPlotAxis::SetMin(double Value) {
    StoreScaleValue(FMin, ClampAxisMin(Value), FOnMinChange);
}

void TiPlotAxis::SetSpan(double Value) {
    StoreScaleValue(FSpan, ClampAxisSpan(Value), FOnSpanChange);
}

// Min or Span: the scale follows at once, then the listeners hear of it. A
// value that is not a number leaves the scale as it is.
void TiPlotAxis::StoreScaleValue(double& Field, double Value, const TValueChangeEvent& OnChange) {
    if (Value == Field || std::isnan(Value))
        return;
    const double OldMin = FMin, OldSpan = FSpan, Old = Field;
    Field = Value;
    UpdateScale();
    DoChange();
    if (OnChange)
        OnChange(*this, Old, Value);
    if (!FInMinSpanChange && FOnMinSpanChange)
        FOnMinSpanChange(*this, OldMin, OldSpan, FMin, FSpan);
}

void TiPlotAxis::SetMinSpan(double NewMin, double NewSpan) {
    if (FScaleType == ipstLog10) {
        NewMin = NewMin > 0 ? NewMin : 1;
        NewSpan = NewSpan > 0 ? NewSpan : 1;
    }
    // Compared as they would be stored, so that a clamped repeat is no change.
    NewMin = std::isnan(NewMin) ? FMin : ClampAxisMin(NewMin);
    NewSpan = std::isnan(NewSpan) ? FSpan : ClampAxisSpan(NewSpan);
    if (NewMin == FMin && NewSpan == FSpan)
        return;
    const double OldMin = FMin, OldSpan = FSpan;
    {
        // Both as SetMin and SetSpan would store them, with their own
        // events, but one repaint and one combined event for the two.
        const auto InChange = FlagScope(FInMinSpanChange);
        if (NewMin != FMin) {
            FMin = NewMin;
            FScale.Min = NewMin;
            if (FOnMinChange)
                FOnMinChange(*this, OldMin, NewMin);
        }
        if (NewSpan != FSpan) {
            FSpan = NewSpan;
            UpdateScale();
            if (FOnSpanChange)
                FOnSpanChange(*this, OldSpan, NewSpan);
        }
    }
    DoChange();
    if (FOnMinSpanChange)
        FOnMinSpanChange(*this, OldMin, OldSpan, NewMin, NewSpan);
}

void TiPlotAxis::SetScaleType(TiPlotScaleType Value) {
    if (Value == FScaleType)
        return;
    FScaleType = Value;
    if (Value == ipstLog10 && !(FMin > 0))
        SetMin(1);
    UpdateScale();
    DoChange();
}

void TiPlotAxis::UpdateScale() {
    FScale = MakeAxisScale(FBox, Horizontal(), FReverseScale, FMin, FSpan, FScaleType);
}

TiPlotAxisSide TiPlotAxis::AxisSide() const {
    if (Cartesian())
        return Horizontal() ? TiPlotAxisSide::Below : TiPlotAxisSide::Right;
    if (Horizontal())
        return BeyondDataView() ? TiPlotAxisSide::Above : TiPlotAxisSide::Below;
    return BeyondDataView() ? TiPlotAxisSide::Right : TiPlotAxisSide::Left;
}

// ---- Texts ----

std::string TiPlotAxis::FormatValue(const TiPlotLabelFormat& Format, double Value) {
    std::string Text = FormatAxisValue(Format, Value, FSpan, FScaleType);
    // A logarithmic axis has no text for values that are not positive.
    const bool Formatted = !(FScaleType == ipstLog10 && Format.Style == iptfValue && !(Value > 0));
    if (Formatted && FOnCustomizeLabel)
        FOnCustomizeLabel(*this, Value, Text);
    return Text;
}

std::string TiPlotAxis::LabelText(double Value) {
    std::string Text = FormatValue(FLabels, Value);
    const double Length = double(CharacterCount(Text));
    if (FMeasuring && FLabelsMinLengthAutoAdjust && Length > FLabelsMinLength)
        FLabelsMinLength = Length;
    return Text;
}

std::string TiPlotAxis::CursorText(double Value) {
    return OneLine(FormatValue(FCursorUseDefaultFormat ? FLabels : FCursor, Value));
}

std::string TiPlotAxis::LegendText(double Value) {
    return OneLine(FormatValue(FLegendUseDefaultFormat ? FLabels : FLegend, Value));
}

std::string TiPlotAxis::PlainText(double Value) {
    TiPlotLabelFormat Format = FCursorUseDefaultFormat ? FLabels : FCursor;
    Format.Style = iptfValue;
    return OneLine(FormatValue(Format, Value));
}

int TiPlotAxis::MaxLabelWidth(TCanvas& Canvas, const TFont& Font) {
    int Width = int(Round(ZeroWidth(Canvas, Font) * FLabelsMinLength));
    std::string Widest;
    {
        const auto Measuring = FlagScope(FMeasuring);
        Widest = LabelText(FSpan + std::trunc(FMin / FSpan) * FSpan);
    }
    Canvas.Font() = Font;
    Width = std::max(Width, GetTextMaxLineWidth(Canvas, Widest));
    for (const TiPlotTick& Tick : FTicks)
        Width = std::max(Width, GetTextMaxLineWidth(Canvas, Tick.Text));
    return Width;
}

int TiPlotAxis::LegendMinWidth(TCanvas& Canvas, const TFont& Font) {
    const double Length = FLegendUseDefaultFormat ? FLabelsMinLength : FLegendMinLength;
    return int(Round(ZeroWidth(Canvas, Font) * Length));
}

int TiPlotAxis::CursorMinWidth(TCanvas& Canvas, const TFont& Font) {
    const double Length = FCursorUseDefaultFormat ? FLabelsMinLength : FCursorMinLength;
    return int(Round(ZeroWidth(Canvas, Font) * Length));
}

// ---- Measures ----

// Upright labels run along a horizontal axis, rotated ones along a vertical.
int TiPlotAxis::LabelLengthAlongAxis(TCanvas& Canvas) {
    if (Horizontal() != RotatedLabels())
        return MaxLabelWidth(Canvas, FLabelsFont);
    const std::string Text = LabelText(FMin);
    Canvas.Font() = FLabelsFont;
    return GetTextHeight(Canvas, Text);
}

int TiPlotAxis::LabelExtentAcrossAxis(TCanvas& Canvas) {
    if (Horizontal() == RotatedLabels())
        return MaxLabelWidth(Canvas, FLabelsFont);
    const std::string Text = LabelText(FMin);
    Canvas.Font() = FLabelsFont;
    return GetTextHeight(Canvas, Text);
}

int TiPlotAxis::TickLength() const {
    if (!FScaleLinesShow)
        return 0;
    return std::max(std::max(FMajorLength, 0), FMinorLength);
}

int TiPlotAxis::TitleExtent(TCanvas& Canvas) const {
    if (!FTitleShow || Cartesian())
        return 0;
    Canvas.Font() = FTitleFont;
    const int Height = GetTextHeight(Canvas, FTitle);
    const int Across = FTitleRotated ? GetTextMaxLineWidth(Canvas, FTitle) : Height;
    return int(Round(Height * FTitleMargin + Across));
}

void TiPlotAxis::CalcPixelRange(TCanvas& Canvas) {
    int EndsMargin = 0;
    if (!Cartesian()) {
        const int LabelLength = LabelLengthAlongAxis(Canvas);
        Canvas.Font() = FLabelsFont;
        const int ZeroSize =
            Horizontal() ? GetTextMaxLineWidth(Canvas, "0") : GetTextHeight(Canvas, "0");
        EndsMargin = AxisEndsMargin(Horizontal(), FLabelsVisible, LabelLength, ZeroSize,
                                    FStackingEndsMargin);
    }
    const TiPlotAxisBox Box =
        CalcAxisBox(LayoutRect(), Horizontal(), EndsMargin, StackedBefore(), StackedAfter());
    FBox = Box.Box;
    FMouseRect = Box.MouseRect;
    UpdateScale();
}

void TiPlotAxis::CalcTicks(TCanvas& Canvas) {
    FMonthTicks = FYearTicks = false;
    FTicks.clear();
    CalcPixelRange(Canvas);
    const int LabelWidth = MaxLabelWidth(Canvas, FLabelsFont);
    Canvas.Font() = FLabelsFont;
    TiPlotTickSettings Settings;
    Settings.LabelPitch =
        LabelPitch(Horizontal(), FLabelsRotation, LabelWidth, GetTextMaxLineWidth(Canvas, "0"),
                   GetTextHeight(Canvas, "0"), FLabelSeparation);
    Settings.DesiredIncrement = FDesiredIncrement;
    Settings.DesiredStart = FDesiredStart;
    Settings.MinorCount = FMinorCount;
    Settings.LabelsVisible = FLabelsVisible;
    Settings.Labels = FLabels;
    TiPlotTicks Result = ::CalcTicks(FScale, Settings);
    FTicks = std::move(Result.Ticks);
    FMonthTicks = Result.MonthTicks;
    FYearTicks = Result.YearTicks;
    // Calendar ticks limit Min and Span to dates the calendar counts; taken
    // over silently, as they are no change of the user's.
    FMin = Result.Scale.Min;
    FSpan = Result.Scale.Span;
    FScale = Result.Scale;
    if (FOnCustomizeLabel)
        for (TiPlotTick& Tick : FTicks)
            if (!Tick.Minor)
                FOnCustomizeLabel(*this, Tick.Value, Tick.Text);
}

int TiPlotAxis::Thickness(TCanvas& Canvas) {
    const int Ticks = TickLength();
    int LabelMargin = 0;
    int LabelExtent = 0;
    if (FLabelsVisible) {
        LabelExtent = LabelExtentAcrossAxis(Canvas);
        Canvas.Font() = FLabelsFont;
        LabelMargin = int(Round(GetTextHeight(Canvas, "A") * FLabelsMargin));
    }
    FLabelsExtent = Ticks + FInnerMargin + LabelMargin + LabelExtent;
    FAxisWidth =
        FInnerMargin + FOuterMargin + Ticks + LabelMargin + LabelExtent + TitleExtent(Canvas);
    return FAxisWidth;
}

int TiPlotAxis::EndMargin(TCanvas& Canvas) {
    if (!FLabelsVisible)
        return 0;
    if (Horizontal() != RotatedLabels())
        return MaxLabelWidth(Canvas, FLabelsFont) / 2;
    Canvas.Font() = FLabelsFont;
    return GetTextHeight(Canvas, "XYZ") / 2;
}

// ---- Drawing ----

TiPlotAxis::TFrame TiPlotAxis::Frame() const {
    const TRect& R = LayoutRect();
    switch (AxisSide()) {
    case TiPlotAxisSide::Left:
        return {R.Right, -1};
    case TiPlotAxisSide::Right:
        return {R.Left, 1};
    case TiPlotAxisSide::Above:
        return {R.Bottom, -1};
    case TiPlotAxisSide::Below:
    default:
        return {R.Top, 1};
    }
}

TPoint TiPlotAxis::At(const TFrame& F, int Along, int Across) const {
    const int Away = F.Edge + F.Out * Across;
    return Horizontal() ? TPoint{Along, Away} : TPoint{Away, Along};
}

void TiPlotAxis::Line(TCanvas& Canvas, const TFrame& F, int Along, int From, int To) const {
    const TPoint A = At(F, Along, From), B = At(F, Along, To);
    Canvas.MoveTo(A.X, A.Y);
    Canvas.LineTo(B.X, B.Y);
}

int TiPlotAxis::LabelDistance(TCanvas& Canvas) const {
    Canvas.Font() = FLabelsFont;
    const int Margin = int(Round(GetTextHeight(Canvas, "A") * FLabelsMargin));
    if (Cartesian())
        return Margin + (FMajorLength + 1) / 2;
    return Margin + FInnerMargin + (FScaleLinesShow ? FMajorLength : 0);
}

TRect TiPlotAxis::LabelRect(TCanvas& Canvas, const TiPlotTick& Tick) const {
    const TFrame F = Frame();
    const int Distance = LabelDistance(Canvas);
    const int Height = GetTextHeight(Canvas, Tick.Text);
    const int Width = GetTextMaxLineWidth(Canvas, Tick.Text);
    const bool TextAlongAxis = Horizontal() != RotatedLabels();
    const int Across = TextAlongAxis ? Height : Width;
    const int Along = TextAlongAxis ? Width : Height;
    const int Start = Tick.Pixel - Along / 2;
    const TPoint A = At(F, Start, Distance), B = At(F, Start + Along, Distance + Across);
    return NormalizedRect(A.X, A.Y, B.X, B.Y);
}

void TiPlotAxis::DrawLabels(TCanvas& Canvas) {
    Canvas.Brush().SetStyle(bsClear);
    for (const TiPlotTick& Tick : FTicks) {
        if (!Tick.Visible || Tick.Minor)
            continue;
        const TRect R = LabelRect(Canvas, Tick);
        // Inside the data view a label needs a free place.
        if (Cartesian() && FTryRegisterRect && !FTryRegisterRect(R))
            continue;
        TRect Bounds;
        iDrawRotatedText(Canvas, Tick.Text, R, FLabelsRotation, Bounds);
    }
}

void TiPlotAxis::DrawScale(TCanvas& Canvas) {
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Pen().SetStyle(psSolid);
    Canvas.Pen().SetWidth(1);
    Canvas.Pen().SetColor(FScaleLinesColor);
    const TFrame F = Frame();
    const int Inner = Cartesian() ? 0 : FInnerMargin;
    // The line reaches the box's last pixel.
    const TPoint Start = At(F, Horizontal() ? FBox.Left : FBox.Top, Inner);
    const TPoint End = At(F, (Horizontal() ? FBox.Right : FBox.Bottom) + 1, Inner);
    Canvas.MoveTo(Start.X, Start.Y);
    Canvas.LineTo(End.X, End.Y);
    for (const TiPlotTick& Tick : FTicks) {
        if (!Tick.Visible)
            continue;
        const int Length = Tick.Minor ? FMinorLength : FMajorLength;
        if (Cartesian())
            Line(Canvas, F, Tick.Pixel, -((Length + 1) / 2) - 1, (Length + 1) / 2);
        else
            Line(Canvas, F, Tick.Pixel, Inner, Inner + Length);
    }
}

void TiPlotAxis::DrawTitle(TCanvas& Canvas) {
    if (!FTitleShow || IsBlank(FTitle))
        return;
    Canvas.Font() = FTitleFont;
    Canvas.Brush().SetStyle(bsClear);
    const int Height = GetTextHeight(Canvas, FTitle);
    const int Width = GetTextMaxLineWidth(Canvas, FTitle);
    const int Extent = FTitleRotated ? Width : Height;
    const TRect& R = LayoutRect();
    const int Depth = Horizontal() ? R.Height() : R.Width();
    const int Outer = Depth - FOuterMargin;
    int From, To;
    if (Horizontal()) {
        From = FBox.Left;
        To = FBox.Right;
    } else {
        const int Length = FTitleRotated ? Height : Width;
        From = (FBox.Top + FBox.Bottom) / 2 - Length / 2;
        To = From + Length;
    }
    const TFrame F = Frame();
    const TPoint A = At(F, From, Outer - Extent), B = At(F, To, Outer);
    // Upright on a horizontal axis, reading upward along a vertical one.
    const bool Rotated = Horizontal() == FTitleRotated;
    TRect Bounds;
    iDrawRotatedText(Canvas, FTitle, NormalizedRect(A.X, A.Y, B.X, B.Y), Rotated ? ira090 : ira000,
                     Bounds);
}

void TiPlotAxis::Draw(TCanvas& Canvas, TColor) {
    if (!Visible())
        return;
    PlaceTicks(FTicks, FScale);
    if (FLabelsVisible)
        DrawLabels(Canvas);
    if (FScaleLinesShow)
        DrawScale(Canvas);
    if (!Cartesian())
        DrawTitle(Canvas);
    if (Focused())
        iDrawFocusRect(Canvas, Rect(FMouseRect.Left, FMouseRect.Top, FMouseRect.Right + 1,
                                    FMouseRect.Bottom + 1));
}

void TiPlotAxis::DrawGrid(TCanvas& Canvas, const TRect& R, const TiPlotGridLines& Majors,
                          const TiPlotGridLines& Minors) {
    if (!FGridLinesVisible)
        return;
    PlaceTicks(FTicks, FScale);
    for (const TiPlotTick& Tick : FTicks) {
        const TiPlotGridLines& Lines = Tick.Minor ? Minors : Majors;
        if (!Tick.Visible || !Lines.Show)
            continue;
        Canvas.Pen().SetStyle(Lines.Style);
        Canvas.Pen().SetWidth(Lines.Width);
        Canvas.Pen().SetColor(Lines.Color);
        // Across the rectangle, both ends included.
        if (Horizontal()) {
            Canvas.MoveTo(Tick.Pixel, R.Top);
            Canvas.LineTo(Tick.Pixel, R.Bottom + 1);
        } else {
            Canvas.MoveTo(R.Left, Tick.Pixel);
            Canvas.LineTo(R.Right + 1, Tick.Pixel);
        }
    }
}

bool TiPlotAxis::HitTest(TPoint P) {
    return P.X >= FMouseRect.Left && P.X <= FMouseRect.Right && P.Y >= FMouseRect.Top &&
           P.Y <= FMouseRect.Bottom;
}

void TiPlotAxis::ObjectFocused(TiPlotObject* Object) {
    if (Object == this)
        return;
    // Several axes hold the focus together while Shift or Ctrl is held.
    const TShiftState Shift = ShiftState();
    if (IsAxisKind(Object->Kind()) && (Shift.Contains(ssShift) || Shift.Contains(ssCtrl)))
        return;
    SetFocused(false);
}

int TiPlotAxis::GetMouseCursor() {
    if (FMouseMode == TiPlotAxisMouseMode::Scroll)
        return crHandPoint;
    return Horizontal() ? crSizeWE : crSizeNS;
}

void TiPlotAxis::MouseHover(TPoint P) {
    if (FTitleShow)
        return;
    std::string Text = FTitle;
    if (FOnCustomizeHint)
        FOnCustomizeHint(*this, Text);
    Host()->SetHint(Text, Point(P.X, P.Y - 20));
}

TiPlotXAxis::TiPlotXAxis(TiPlotHost* Host) : TiPlotAxis(Host) {
    SetHorizontal(true);
    SetTrackingStyle(iptsScrollSmooth);
    SetTrackingAlignFirstStyle(ipafsAuto);
}

TiPlotYAxis::TiPlotYAxis(TiPlotHost* Host) : TiPlotAxis(Host) {}
