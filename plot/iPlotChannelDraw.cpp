// How a channel turns its points into pixels: per-paint preparation, the
// trace styles, fill, bars, markers and high-low figures.

#include "plot/iPlotAxis.h"
#include "plot/iPlotChannel.h"
#include "plot/iPlotDataView.h"
#include "plot/iPlotInterpolation.h"

#include "platform/Canvas.h"
#include "platform/Exception.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace {

TPenStyle PenStyleOf(TiPlotLineStyle Style) {
    switch (Style) {
    case iplsDash:
        return psDash;
    case iplsDot:
        return psDot;
    case iplsDashDot:
        return psDashDot;
    case iplsDashDotDot:
        return psDashDotDot;
    case iplsSolid:
        break;
    }
    return psSolid;
}

// A trace of width 1 takes the drawing service's thinnest pen.
int TracePenWidth(int Width) {
    return Width == 1 ? 0 : Width;
}

TPoint Oriented(int XPixel, int YPixel, bool XYSwap) {
    return XYSwap ? TPoint{YPixel, XPixel} : TPoint{XPixel, YPixel};
}

// Corners given along the X and Y axes, ordered on the screen.
TRect OrientedRect(int X1, int Y1, int X2, int Y2, bool XYSwap) {
    const TPoint A = Oriented(X1, Y1, XYSwap), B = Oriented(X2, Y2, XYSwap);
    return {std::min(A.X, B.X), std::min(A.Y, B.Y), std::max(A.X, B.X), std::max(A.Y, B.Y)};
}

bool Between(double V, double Low, double High) {
    return V >= Low && V <= High;
}

// Calls Segment(Index, PX, PY, X, Y) for each pair of consecutive good points
// of First .. Last: Empty points are passed over, a Null point breaks the line.
template <typename F>
void ForEachSegment(const TiPlotDataCustomList& Data, int First, int Last, F&& Segment) {
    bool Have = false;
    double PX = 0, PY = 0;
    Data.ForEachPoint(First, Last, [&](int I, double X, double Y, bool Null, bool Empty) {
        if (Empty)
            return;
        if (Null) {
            Have = false;
            return;
        }
        if (Have)
            Segment(I, PX, PY, X, Y);
        PX = X;
        PY = Y;
        Have = true;
    });
}

// The pixel column of an X value. Each column keeps the band of values
// proved to map to it, so that a run of points in one column costs a
// comparison each instead of a conversion.
class TColumnOf {
  public:
    explicit TColumnOf(const TiPlotAxisScale& Scale) : FScale(Scale) {}
    // X lies in the band of the column found last.
    bool InBand(double X) const { return X >= FLow && X <= FHigh; }
    double Low() const { return FLow; }
    double High() const { return FHigh; }
    // The band is found at a column's second point: where points are sparse,
    // each column has one and a band would never be used.
    int operator()(double X) {
        if (InBand(X))
            return FColumn;
        const int Column = FScale.ValueToPixel(X);
        if (Column == FColumn) {
            FindBand();
        } else {
            FColumn = Column;
            FLow = 1;
            FHigh = 0;
        }
        return FColumn;
    }

  private:
    // The mapping is monotonic, except for the values a logarithmic scale
    // takes as 1, so a band whose ends map to the column holds only its
    // values. The ends are the column's edges, moved inwards by a few steps
    // of the last digit where rounding puts an edge in the neighbour: a band
    // short of the edges would send every point between it and the edge
    // through a conversion of its own.
    void FindBand() {
        double A = FScale.PixelToValue(FColumn - 0.5), B = FScale.PixelToValue(FColumn + 0.5);
        if (A > B)
            std::swap(A, B);
        const bool Usable =
            (FScale.ScaleType == ipstLinear || A > 0) && Inwards(A, B) && Inwards(B, A);
        FLow = Usable ? A : 1;
        FHigh = Usable ? B : 0;
    }
    // Moves End towards Other until it maps to the column; false when a few
    // steps do not get there.
    bool Inwards(double& End, double Other) const {
        for (int Step = 0; Step < 8; ++Step) {
            if (FScale.ValueToPixel(End) == FColumn)
                return true;
            End = std::nextafter(End, Other);
        }
        return false;
    }

    const TiPlotAxisScale& FScale;
    int FColumn = 0;
    double FLow = 1, FHigh = 0;
};

} // namespace

// ---- TiPlotChannelCustom

bool TiPlotChannelCustom::SelectTracePen(TCanvas& Canvas) {
    if (!FTraceVisible)
        return false;
    Canvas.Pen().SetColor(Color());
    Canvas.Brush().SetStyle(bsClear);
    Canvas.Pen().SetStyle(PenStyleOf(TraceLineStyle()));
    Canvas.Pen().SetWidth(TracePenWidth(TraceLineWidth()));
    return true;
}

TPoint TiPlotChannelCustom::ValuePixel(double X, double Y, bool XYSwap) {
    return Oriented(XAxis()->ValueToPixel(X), YAxis()->ValueToPixel(Y), XYSwap);
}

int TiPlotChannelCustom::PercentPixel(double Percent, bool XYSwap) {
    const std::vector<TiPlotObject*> Views = Host()->Objects(TiPlotKind::DataView);
    if (Views.empty())
        return 0;
    const auto* View = static_cast<const TiPlotDataView*>(Views.front());
    return XYSwap ? View->PercentToPixelX(Percent) : View->PercentToPixelY(Percent);
}

void TiPlotChannelCustom::DrawTrace(TCanvas& Canvas, bool XYSwap) {
    if (!SelectTracePen(Canvas) || FVisibleStop <= FVisibleStart || FVisibleStart < 0)
        return;
    ForEachSegment(Data(), FVisibleStart, FVisibleStop,
                   [&](int I, double PX, double PY, double X, double Y) {
                       const TiPlotDrawAttributes A = PointAttributes(I);
                       Canvas.Pen().SetColor(A.Color);
                       Canvas.Pen().SetStyle(PenStyleOf(A.TraceLineStyle));
                       Canvas.Pen().SetWidth(TracePenWidth(A.TraceLineWidth));
                       DrawClippedLine(Canvas, XYSwap, PX, PY, X, Y);
                   });
}

void TiPlotChannelCustom::DrawClippedLine(TCanvas& Canvas, bool XYSwap, double X1, double Y1,
                                          double X2, double Y2, bool YInPercent) {
    TiPlotAxis* XA = XAxis();
    TiPlotAxis* YA = YAxis();
    if (!XA || !YA)
        return;
    TValuePoint A{X1, Y1}, B{X2, Y2};
    if (X1 > X2)
        std::swap(A, B);
    const double XMin = XA->Min(), XMax = XA->Max();
    const double YMin = YA->Min(), YMax = YA->Max();
    if (!((A.X < XMin && B.X > XMax) || Between(A.X, XMin, XMax) || Between(B.X, XMin, XMax)))
        return;
    if (!YInPercent && !((A.Y < YMin && B.Y > YMax) || (A.Y > YMax && B.Y < YMin) ||
                         Between(A.Y, YMin, YMax) || Between(B.Y, YMin, YMax)))
        return;
    const bool Vertical = B.X == A.X;
    const double Slope = Vertical ? 0 : (B.Y - A.Y) / (B.X - A.X);
    const double Intercept = A.Y - A.X * Slope;
    if (A.X < XMin)
        A = {XMin, Slope * XMin + Intercept};
    if (B.X > XMax)
        B = {XMax, Slope * XMax + Intercept};
    if (!YInPercent)
        for (TValuePoint* End : {&A, &B}) {
            const double Y = End->Y > YMax ? YMax : End->Y < YMin ? YMin : End->Y;
            if (Y != End->Y)
                *End = {Vertical ? End->X : (Y - Intercept) / Slope, Y};
        }
    // Ends whose pixels round out of the axis boxes draw nothing.
    const TiPlotAxisScale &XS = XA->Scale(), &YS = YA->Scale();
    const int XFrom = XS.ValueToPixel(A.X), XTo = XS.ValueToPixel(B.X);
    if (!XS.PixelInRange(XFrom) || !XS.PixelInRange(XTo))
        return;
    int YFrom, YTo;
    if (YInPercent) {
        YFrom = PercentPixel(A.Y, XYSwap);
        YTo = PercentPixel(B.Y, XYSwap);
    } else {
        YFrom = YS.ValueToPixel(A.Y);
        YTo = YS.ValueToPixel(B.Y);
        if (!YS.PixelInRange(YFrom) || !YS.PixelInRange(YTo))
            return;
    }
    const TPoint From = Oriented(XFrom, YFrom, XYSwap);
    const TPoint To = Oriented(XTo, YTo, XYSwap);
    Canvas.MoveTo(From.X, From.Y);
    Canvas.LineTo(To.X, To.Y);
}

void TiPlotChannelCustom::FillQuad(TCanvas& Canvas, bool XYSwap, TValuePoint P1, TValuePoint P2,
                                   TValuePoint P3, TValuePoint P4) {
    const TPoint Corners[] = {ValuePixel(P1.X, P1.Y, XYSwap), ValuePixel(P2.X, P2.Y, XYSwap),
                              ValuePixel(P3.X, P3.Y, XYSwap), ValuePixel(P4.X, P4.Y, XYSwap)};
    Canvas.Polygon(Corners);
}

bool TiPlotChannelCustom::MarkerDrawable(int Index) {
    if (!MarkersVisible() || GetNull(Index) || GetEmpty(Index) || !XAxis() || !YAxis())
        return false;
    if (FMarkersAllowIndividual && !PointAttributes(Index).MarkersVisible)
        return false;
    return XAxis()->InRange(GetX(Index)) && YAxis()->InRange(GetY(Index));
}

void TiPlotChannelCustom::DrawMarkers(TCanvas& Canvas, bool XYSwap) {
    if (!MarkersVisible() || FVisibleStart < 0 || FVisibleStop < 0)
        return;
    Canvas.Font() = FMarkersFont;
    // Markers of long visible ranges would only hide the trace.
    if (FMarkersTurnOffLimit > 0 && std::abs(FVisibleStop - FVisibleStart) > FMarkersTurnOffLimit)
        return;
    for (int I = FVisibleStart; I <= FVisibleStop; ++I)
        if (MarkerDrawable(I))
            DrawMarker(Canvas, I, ValuePixel(GetX(I), GetY(I), XYSwap));
}

void TiPlotChannelCustom::DrawMarker(TCanvas& Canvas, int Index, TPoint Point) {
    if (!MarkersVisible())
        return;
    const bool Individual = Index >= 0 && FMarkersAllowIndividual;
    const TiPlotDrawAttributes A = Individual ? PointAttributes(Index) : Attributes();
    const int S = Index == -1 ? std::min(A.MarkersSize, 6) : A.MarkersSize;
    Canvas.Pen().SetWidth(A.MarkersPenWidth);
    Canvas.Pen().SetStyle(A.MarkersPenStyle);
    Canvas.Pen().SetColor(FMarkersPenUseChannelColor ? Color() : A.MarkersPenColor);
    Canvas.Brush().SetColor(FMarkersBrushUseChannelColor ? Color() : A.MarkersBrushColor);
    Canvas.Brush().SetStyle(MarkersBrushStyle());
    const int X = Point.X, Y = Point.Y;
    const auto Line = [&](int X1, int Y1, int X2, int Y2) {
        Canvas.MoveTo(X1, Y1);
        Canvas.LineTo(X2, Y2);
    };
    const auto Polygon = [&](std::initializer_list<TPoint> Corners) {
        Canvas.Polygon(std::span<const TPoint>(Corners.begin(), Corners.size()));
    };
    switch (A.MarkersStyle) {
    case ipmsCircle:
        Canvas.Ellipse(X - S, Y - S, X + S, Y + S);
        break;
    case ipmsSquare:
        Canvas.Rectangle(X - S, Y - S, X + S, Y + S);
        break;
    case ipmsDiamond:
        Polygon({{X + S, Y}, {X, Y + S}, {X - S, Y}, {X, Y - S}});
        break;
    case ipmsCross:
        Line(X + S, Y + S, X - S, Y - S);
        Line(X + S, Y - S, X - S, Y + S);
        break;
    case ipmsPlus:
        Line(X, Y + S, X, Y - S);
        Line(X + S, Y, X - S, Y);
        break;
    case ipmsTriangleUp:
        Polygon({{X - S, Y + S}, {X, Y}, {X + S, Y + S}});
        break;
    case ipmsTriangleDown:
        Polygon({{X - S, Y - S}, {X, Y}, {X + S, Y - S}});
        break;
    case ipmsTriangleLeft:
        Polygon({{X + S, Y - S}, {X, Y}, {X + S, Y + S}});
        break;
    case ipmsTriangleRight:
        Polygon({{X - S, Y - S}, {X, Y}, {X - S, Y + S}});
        break;
    case ipmsVerticalLine:
        Line(X, Y - S, X, Y + S);
        break;
    case ipmsHorizontalLine:
        Line(X - S, Y, X + S, Y);
        break;
    case ipmsCharacter: {
        const char Character =
            Index >= 0 ? PointAttributes(Index).MarkersCharacter : Attributes().MarkersCharacter;
        if (Character == 0)
            break;
        const std::string Text(1, Character);
        Canvas.Brush().SetStyle(bsClear);
        Canvas.TextOut(X - Canvas.TextWidth(Text) / 2, Y - Canvas.TextHeight(Text) / 2, Text);
        break;
    }
    }
}

// ---- TiPlotChannel

void TiPlotChannel::PrepareDraw(TCanvas&) {
    SetDrawReady(false);
    TiPlotAxis* XA = XAxis();
    TiPlotAxis* YA = YAxis();
    if (!XA || !YA || !Visible() || Count() == 0)
        return;
    FXIncreasing = Count() < 3 || GetX(1) >= GetX(0);
    SetVisibleRange(CalcVisibleStart(), CalcVisibleStop());
    const bool Steps = FInterpolationStyle == ipistDifferential ||
                       FInterpolationStyle == ipistDifferentialTerminated;
    if ((VisibleStart() == -1 || VisibleStop() == -1) && !Steps)
        return;
    FDigitalHighPixel = YA->ValueToPixel(DigitalLevel(true));
    FDigitalLowPixel = YA->ValueToPixel(DigitalLevel(false));
    const int P0 = XA->ValueToPixel(XA->Min()), P1 = XA->ValueToPixel(XA->Max());
    FPixelListFirst = std::min(P0, P1);
    FPixelListLast = std::max(P0, P1);
    const std::size_t Needed = std::size_t(FPixelListLast - FPixelListFirst + 1);
    if (FPixelList.size() < Needed)
        FPixelList.resize(Needed);
    std::fill(FPixelList.begin(), FPixelList.end(), TiPlotPixelPoint{});
    SetDrawReady(true);
}

// The level as a Y-axis value, percent levels converted.
double TiPlotChannel::DigitalLevel(bool High) const {
    const double Level = High ? FDigitalReferenceHigh : FDigitalReferenceLow;
    if (FDigitalReferenceStyle == ipdrScale)
        return Level;
    const TiPlotAxis* YA = const_cast<TiPlotChannel*>(this)->YAxis();
    return YA->Span() * Level / 100 + YA->Min();
}

void TiPlotChannel::Draw(TCanvas& Canvas, TColor) {
    const bool Swap = XYSwap();
    // A failure ends this channel's drawing for this paint only.
    try {
        DrawFill(Canvas, Swap);
        if (FBarEnabled)
            DrawBars(Canvas, Swap);
        DrawTrace(Canvas, Swap);
        DrawMarkers(Canvas, Swap);
        if (FHighLowEnabled && VisibleStart() >= 0) {
            // Both figures: thin solid outlines around solid fills.
            Canvas.Pen().SetWidth(0);
            Canvas.Pen().SetStyle(psSolid);
            Canvas.Brush().SetStyle(bsSolid);
            if (FHighLowStyle == iphlsOpenClose)
                DrawOpenClose(Canvas, Swap);
            else
                DrawCandleSticks(Canvas, Swap);
        }
    } catch (const std::exception&) {
    }
}

void TiPlotChannel::SetPixelPoint(int Column, double Y) {
    if (Column < FPixelListFirst || Column > FPixelListLast)
        throw Exception("Pixel List XPixel out of Range");
    FPixelList[std::size_t(Column - FPixelListFirst)] = {false, Y};
}

void TiPlotChannel::SelectFillBrush(TCanvas& Canvas) {
    Canvas.Brush().SetStyle(FFillStyle);
    Canvas.Brush().SetColor(FFillUseChannelColor ? Color() : FFillColor);
}

void TiPlotChannel::DrawFill(TCanvas& Canvas, bool XYSwap) {
    if (!FillShown() || FInterpolationStyle != ipistStraightLine || FDigitalEnabled ||
        VisibleStart() < 0 || VisibleStop() < VisibleStart())
        return;
    SelectFillBrush(Canvas);
    Canvas.Pen().SetColor(Canvas.Brush().Color());
    Canvas.Pen().SetWidth(0);
    Canvas.Pen().SetStyle(psClear);
    ForEachSegment(
        Data(), VisibleStart(), VisibleStop(), [&](int, double PX, double PY, double X, double Y) {
            FillQuad(Canvas, XYSwap, {PX, FFillReference}, {PX, PY}, {X, Y}, {X, FFillReference});
        });
}

void TiPlotChannel::DrawTrace(TCanvas& Canvas, bool XYSwap) {
    if (!SelectTracePen(Canvas))
        return;
    if (FDigitalEnabled) {
        DrawDigital(Canvas, XYSwap);
        return;
    }
    switch (FInterpolationStyle) {
    case ipistStraightLine:
        if (FFastDrawEnabled)
            DrawFastTrace(Canvas, XYSwap);
        else
            TiPlotChannelCustom::DrawTrace(Canvas, XYSwap);
        break;
    case ipistCubicSpline:
        DrawSpline(Canvas, XYSwap);
        break;
    case ipistPolynomial:
    case ipistRational:
        DrawInterpolated(Canvas, XYSwap);
        break;
    case ipistDifferential:
    case ipistDifferentialTerminated:
        DrawSteps(Canvas, XYSwap);
        break;
    }
}

// The good points from First on whose X lies in [Low, High], taken into A;
// how many there were. First is one of them. Run is the length of the run
// before: after a short one the points are walked, after a long one only
// First; once as many are walked as the index's answer costs, the summary
// index sums up the rest of the run.
int TiPlotChannel::ScanBand(int First, int Last, double Low, double High, TiPlotMinMaxPoint& A,
                            int& Run) const {
    // The index's answer costs about as much as walking this many points.
    constexpr int IndexedRun = 256;
    const int Walk = Run < IndexedRun ? IndexedRun : 1;
    const int Taken = WalkBand(First, std::min(Last, First + Walk - 1), Low, High, A);
    if (Taken < Walk || First + Taken > Last)
        return Run = Taken;
    const int LastTaken = First + Taken - 1;
    const int End = Data().LastIndexAtOrBefore(High, LastTaken, Last, First + Run - 1);
    if (TakeSummary(LastTaken, End, A))
        return Run = End - First + 1;
    return Run = Taken + WalkBand(First + Taken, Last, Low, High, A);
}

// The walk of ScanBand; the extremes stay in registers for the run.
int TiPlotChannel::WalkBand(int First, int Last, double Low, double High,
                            TiPlotMinMaxPoint& A) const {
    double Max = A.Max, Min = A.Min, LastY = A.Last;
    const int N =
        Data().VisitWhile(First, Last, [&](int, double X, double Y, bool Null, bool Empty) {
            if (Null || Empty || !(X >= Low && X <= High))
                return false;
            Max = Y > Max ? Y : Max;
            Min = Y < Min ? Y : Min;
            LastY = Y;
            return true;
        });
    A.Max = Max;
    A.Min = Min;
    A.Last = LastY;
    return N;
}

// The points after LastTaken up to End taken into A at once, LastTaken
// being the last point of a column's band in A and End the last point at
// or before the band's high end. Only when those points are good and their
// X ascends: then they are exactly the points the walk of the band would
// take. The comparisons are the walk's.
bool TiPlotChannel::TakeSummary(int LastTaken, int End, TiPlotMinMaxPoint& A) const {
    const TiPlotDataSummary Rest = Data().Summary(LastTaken + 1, End);
    if (Rest.Flags != 0)
        return false;
    A.Max = Rest.Max > A.Max ? Rest.Max : A.Max;
    A.Min = Rest.Min < A.Min ? Rest.Min : A.Min;
    A.Last = Data().Y(End);
    return true;
}

// Each pixel column's points reduced to one vertical line between their
// extremes, the columns joined from the last Y of one to the first Y of
// the next.
void TiPlotChannel::DrawFastTrace(TCanvas& Canvas, bool XYSwap) {
    if (VisibleStart() == VisibleStop() || VisibleStart() < 0)
        return;
    TiPlotMinMaxPoint P, Q, R;
    const auto Flush = [&] {
        for (const TiPlotMinMaxPoint* Column : {&P, &Q})
            if (!Column->Empty && Column->Max != Column->Min)
                DrawClippedLine(Canvas, XYSwap, Column->X, Column->Min, Column->X, Column->Max);
        if (!P.Empty && !Q.Empty)
            DrawClippedLine(Canvas, XYSwap, P.X, P.Last, Q.X, Q.First);
        if (!Q.Empty && !R.Empty)
            DrawClippedLine(Canvas, XYSwap, Q.X, Q.Last, R.X, R.First);
    };
    TColumnOf ColumnOf(XAxis()->Scale());
    // The accumulator of the column in ColumnOf's band: the points that
    // follow in that band would go to it through the choice below, so a run
    // of them is scanned in a tight loop instead.
    TiPlotMinMaxPoint* Current = nullptr;
    const auto Take = [&](double X, double Y, bool Null, bool Empty) {
        if (Empty)
            return;
        Current = nullptr;
        if (Null) {
            Flush();
            P.Reset();
            Q.Reset();
            R.Reset();
            return;
        }
        const int C = ColumnOf(X);
        if (P.Empty || C == P.XPixel) {
            P.Add(C, X, Y);
            Current = &P;
        } else if (Q.Empty || C == Q.XPixel) {
            Q.Add(C, X, Y);
            Current = &Q;
        } else {
            R.Add(C, X, Y);
            Flush();
            P.Assign(R);
            Q.Reset();
            R.Reset();
            Current = &P;
        }
    };
    const int Stop = VisibleStop();
    int I = VisibleStart();
    int Run = 0;
    while (I <= Stop) {
        I += Data().VisitWhile(I, Stop, [&](int, double X, double Y, bool Null, bool Empty) {
            if (Current && !(Null || Empty) && ColumnOf.InBand(X))
                return false;
            Take(X, Y, Null, Empty);
            return true;
        });
        if (I <= Stop)
            I += ScanBand(I, Stop, ColumnOf.Low(), ColumnOf.High(), *Current, Run);
    }
    Flush();
}

// One trace line and one fill line per pixel column from First to Last,
// both cut to the X axis.
void TiPlotChannel::DrawCurveSweep(TCanvas& Canvas, bool XYSwap, double First, double Last,
                                   const TEvaluator& Evaluate) {
    TiPlotAxis& XA = *XAxis();
    // Only the part in view: a run beside the axis has no columns to sweep.
    const double L = std::max(std::min(First, Last), XA.Min());
    const double R = std::min(std::max(First, Last), XA.Max());
    if (!(L <= R))
        return;
    int PL = XA.ValueToPixel(L), PR = XA.ValueToPixel(R);
    if (PR < PL)
        std::swap(PL, PR);
    SelectFillBrush(Canvas);
    const auto Column = [&](double X, double Y) {
        if (FillShown()) {
            Canvas.Pen().SetColor(Canvas.Brush().Color());
            DrawClippedLine(Canvas, XYSwap, X, FFillReference, X, Y);
            Canvas.Pen().SetColor(Color());
        }
    };
    double XPrev = XA.PixelToValue(PL);
    double YPrev = Evaluate(XPrev);
    Column(XPrev, YPrev);
    SetPixelPoint(XA.ValueToPixel(XPrev), YPrev);
    for (int C = PL + 1; C <= PR; ++C) {
        const double X = XA.PixelToValue(C), Y = Evaluate(X);
        Column(X, Y);
        DrawClippedLine(Canvas, XYSwap, XPrev, YPrev, X, Y);
        SetPixelPoint(XA.ValueToPixel(X), Y);
        XPrev = X;
        YPrev = Y;
    }
}

// Runs of good points between Null points, each its own spline.
void TiPlotChannel::DrawSpline(TCanvas& Canvas, bool XYSwap) {
    if (Count() < 2)
        return;
    std::vector<std::pair<std::vector<double>, std::vector<double>>> Runs(1);
    Data().ForEachPoint(0, Count() - 1, [&](int, double X, double Y, bool Null, bool Empty) {
        if (Empty)
            return;
        if (Null) {
            Runs.emplace_back();
            return;
        }
        Runs.back().first.push_back(X);
        Runs.back().second.push_back(Y);
    });
    for (auto& [XA, YA] : Runs) {
        if (XA.size() < 2)
            continue;
        const double First = XA.front(), Last = XA.back();
        const TiPlotCubicSpline Spline(std::move(XA), std::move(YA));
        DrawCurveSweep(Canvas, XYSwap, First, Last, [&](double X) { return Spline(X); });
    }
}

// One polynomial or rational function through every stored point.
void TiPlotChannel::DrawInterpolated(TCanvas& Canvas, bool XYSwap) {
    if (Count() < 2)
        return;
    std::vector<double> XA, YA;
    XA.reserve(std::size_t(Count()));
    YA.reserve(std::size_t(Count()));
    Data().ForEachPoint(0, Count() - 1, [&](int, double X, double Y, bool, bool) {
        XA.push_back(X);
        YA.push_back(Y);
    });
    const bool Rational = FInterpolationStyle == ipistRational;
    DrawCurveSweep(Canvas, XYSwap, XA.front(), XA.back(), [&](double X) {
        return Rational ? iPlotRationalInterpolate(XA, YA, X)
                        : iPlotPolynomialInterpolate(XA, YA, X);
    });
}

void TiPlotChannel::DrawSteps(TCanvas& Canvas, bool XYSwap) {
    if (Count() == 0)
        return;
    SelectFillBrush(Canvas);
    bool Have = false;
    double PX = 0, PY = 0;
    if (VisibleStart() == -1 || VisibleStop() == -1) {
        for (int I = Count() - 1; I >= 0 && !Have; --I)
            if (!GetNull(I) && !GetEmpty(I)) {
                Have = true;
                PX = GetX(I);
                PY = GetY(I);
            }
    } else {
        Data().ForEachPoint(VisibleStart(), VisibleStop(),
                            [&](int, double X, double Y, bool Null, bool Empty) {
                                if (Empty)
                                    return;
                                if (Have) {
                                    if (FillShown()) {
                                        Canvas.Pen().SetColor(Canvas.Brush().Color());
                                        FillQuad(Canvas, XYSwap, {PX, FFillReference}, {PX, PY},
                                                 {X, PY}, {X, FFillReference});
                                        Canvas.Pen().SetColor(Color());
                                    }
                                    DrawClippedLine(Canvas, XYSwap, PX, PY, X, PY);
                                    if (!Null)
                                        DrawClippedLine(Canvas, XYSwap, X, PY, X, Y);
                                }
                                Have = !Null;
                                PX = X;
                                PY = Y;
                            });
    }
    if (FInterpolationStyle == ipistDifferential && Have) {
        Canvas.Pen().SetColor(Color());
        DrawClippedLine(Canvas, XYSwap, PX, PY, XAxis()->Max(), PY);
    }
}

struct TiPlotChannel::TDigitalSequenceData {
    bool HasStart = false;
    double StartX = 0;
    bool Level = false;
    bool HasRun = false;
    double RunEndX = 0;
    bool Changed = false;
    double ChangeX = 0;
    void Clear() { HasStart = HasRun = Changed = false; }
};

// A square wave: high where Y <> 0, low where Y = 0.
void TiPlotChannel::DrawDigital(TCanvas& Canvas, bool XYSwap) {
    TDigitalSequenceData D;
    if (VisibleStop() == VisibleStart() || VisibleStart() < 0)
        return;
    Data().ForEachPoint(VisibleStart(), VisibleStop(),
                        [&](int, double X, double Y, bool Null, bool Empty) {
                            if (Empty)
                                return;
                            if (Null) {
                                FlushDigitalRun(Canvas, XYSwap, D);
                                return;
                            }
                            const bool Level = Y != 0;
                            if (!D.HasStart) {
                                D.HasStart = true;
                                D.StartX = X;
                                D.Level = Level;
                            }
                            if (Level == D.Level) {
                                D.HasRun = true;
                                D.RunEndX = X;
                                return;
                            }
                            D.Changed = true;
                            D.ChangeX = X;
                            FlushDigitalRun(Canvas, XYSwap, D);
                            D.HasStart = true;
                            D.StartX = X;
                            D.Level = Level;
                        });
    FlushDigitalRun(Canvas, XYSwap, D);
}

void TiPlotChannel::FlushDigitalRun(TCanvas& Canvas, bool XYSwap, TDigitalSequenceData& D) {
    SelectFillBrush(Canvas);
    const bool Percent = FDigitalReferenceStyle == ipdrPercent;
    const auto V = [&](bool High) { return High ? FDigitalReferenceHigh : FDigitalReferenceLow; };
    const double EndX = D.Changed ? D.ChangeX : D.RunEndX;
    if (D.Changed || (D.HasStart && D.HasRun)) {
        if (FFillEnabled) {
            // The fill's outline takes the fill's colour, also for a run
            // without a change.
            Canvas.Pen().SetColor(Canvas.Brush().Color());
            const double Level = DigitalLevel(D.Level);
            FillQuad(Canvas, XYSwap, {D.StartX, FFillReference}, {D.StartX, Level}, {EndX, Level},
                     {EndX, FFillReference});
            Canvas.Pen().SetColor(Color());
        }
        DrawClippedLine(Canvas, XYSwap, D.StartX, V(D.Level), EndX, V(D.Level), Percent);
        if (D.Changed)
            DrawClippedLine(Canvas, XYSwap, EndX, V(D.Level), EndX, V(!D.Level), Percent);
    }
    D.Clear();
}

void TiPlotChannel::DrawMarkers(TCanvas& Canvas, bool XYSwap) {
    if (VisibleStart() < 0 || VisibleStop() < 0 || !MarkersVisible())
        return;
    if (!FDigitalEnabled) {
        TiPlotChannelCustom::DrawMarkers(Canvas, XYSwap);
        return;
    }
    Canvas.Font() = MarkersFont();
    TiPlotAxis& XA = *XAxis();
    TiPlotAxis& YA = *YAxis();
    for (int I = VisibleStart(); I <= VisibleStop(); ++I) {
        if (GetNull(I) || GetEmpty(I) || !PointAttributes(I).MarkersVisible)
            continue;
        const double X = GetX(I), Y = GetY(I);
        if (XA.InRange(X) && YA.InRange(Y))
            DrawMarker(Canvas, I,
                       Oriented(XA.ValueToPixel(X), Y != 0 ? FDigitalHighPixel : FDigitalLowPixel,
                                XYSwap));
    }
}

void TiPlotChannel::DrawBars(TCanvas& Canvas, bool XYSwap) {
    if (VisibleStart() < 0)
        return;
    TiPlotAxis& XA = *XAxis();
    TiPlotAxis& YA = *YAxis();
    for (int I = VisibleStart(); I <= VisibleStop(); ++I) {
        if (GetNull(I) || GetEmpty(I))
            continue;
        const TiPlotDrawAttributes A = PointAttributes(I);
        if (!A.BarVisible)
            continue;
        Canvas.Brush().SetColor(FBarBrushUseChannelColor ? Color() : A.BarBrushColor);
        Canvas.Pen().SetColor(FBarPenUseChannelColor ? Color() : A.BarPenColor);
        Canvas.Pen().SetWidth(A.BarPenWidth);
        Canvas.Pen().SetStyle(A.BarPenStyle);
        Canvas.Brush().SetStyle(A.BarBrushStyle);
        const double X = GetX(I);
        Canvas.Rectangle(
            OrientedRect(XA.ValueToPixel(X - A.BarWidth / 2), YA.ValueToPixel(A.BarReference),
                         XA.ValueToPixel(X + A.BarWidth / 2), YA.ValueToPixel(GetY(I)), XYSwap));
    }
}

void TiPlotChannel::DrawOpenClose(TCanvas& Canvas, bool XYSwap) {
    TiPlotAxis& XA = *XAxis();
    TiPlotAxis& YA = *YAxis();
    const auto Box = [&](TColor Color, int X1, int Y1, int X2, int Y2) {
        Canvas.Pen().SetColor(Color);
        Canvas.Brush().SetColor(Color);
        Canvas.Rectangle(OrientedRect(X1, Y1, X2, Y2, XYSwap));
    };
    for (int I = VisibleStart(); I <= VisibleStop(); ++I) {
        if (GetNull(I) || GetEmpty(I))
            continue;
        const int XP = XA.ValueToPixel(GetX(I));
        int HP = YA.ValueToPixel(Data().High(I));
        const int LP = YA.ValueToPixel(Data().Low(I));
        const int Wb = XA.LengthToPixels(FHighLowBarWidth), Half = Wb / 2;
        const int Right = XP + Wb - Half - 1;
        const int Left = Wb == 1 ? Right + 1 : XP - Half;
        const int Mid = (Left + Right) / 2;
        if (HP == LP)
            HP = LP + 1;
        if (FHighLowOpenShow) {
            const int Wo = XA.LengthToPixels(FHighLowOpenWidth);
            const int Ho = YA.LengthToPixels(FHighLowOpenHeight);
            const int OP = YA.ValueToPixel(Data().Open(I));
            const int OB = OP + Ho - Ho / 2, OT = Ho == 1 ? OB : OP - Ho / 2;
            Box(FHighLowOpenColor, Mid - Wo + 1, OB - 1, Wo == 1 ? Mid + 1 : Mid, OT);
        }
        if (FHighLowCloseShow) {
            const int Wc = XA.LengthToPixels(FHighLowCloseWidth);
            const int Hc = YA.LengthToPixels(FHighLowCloseHeight);
            const int CP = YA.ValueToPixel(Data().Close(I));
            const int CB = CP + Hc - Hc / 2, CT = Hc == 1 ? CB : CP - Hc / 2;
            Box(FHighLowCloseColor, Mid, CB - 1, Wc == 1 ? Mid + 1 : Mid + Wc - 1, CT);
        }
        Box(FHighLowBarColor, Left, LP, Right, HP);
    }
}

void TiPlotChannel::DrawCandleSticks(TCanvas& Canvas, bool XYSwap) {
    TiPlotAxis& XA = *XAxis();
    TiPlotAxis& YA = *YAxis();
    Canvas.Pen().SetColor(FHighLowShadowColor);
    for (int I = VisibleStart(); I <= VisibleStop(); ++I) {
        if (GetNull(I) || GetEmpty(I))
            continue;
        const int XP = XA.ValueToPixel(GetX(I));
        const TPoint High = Oriented(XP, YA.ValueToPixel(Data().High(I)), XYSwap);
        const TPoint Low = Oriented(XP, YA.ValueToPixel(Data().Low(I)), XYSwap);
        Canvas.MoveTo(High.X, High.Y);
        Canvas.LineTo(Low.X, Low.Y);
        const int Half = XA.LengthToPixels(FHighLowBarWidth) / 2;
        const double Open = Data().Open(I), Close = Data().Close(I);
        const int OP = YA.ValueToPixel(Open);
        int CP = YA.ValueToPixel(Close);
        if (CP == OP)
            CP = OP + 1;
        Canvas.Brush().SetColor(Open > Close ? FHighLowBearishColor : FHighLowBullishColor);
        Canvas.Rectangle(OrientedRect(XP - Half, OP, XP + Half + 1, CP, XYSwap));
    }
}

// ---- TiXYPlotChannel

void TiXYPlotChannel::PrepareDraw(TCanvas&) {
    SetDrawReady(false);
    if (!XAxis() || !YAxis() || !Visible() || Count() == 0)
        return;
    SetVisibleRange(0, Count() - 1);
    SetDrawReady(true);
}

void TiXYPlotChannel::Draw(TCanvas& Canvas, TColor) {
    DrawTrace(Canvas, XYSwap());
    DrawMarkers(Canvas, XYSwap());
}
